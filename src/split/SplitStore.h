#pragma once

#include "split/SplitPlan.h"
#include "store/CaseWriter.h"
#include "store/Database.h"
#include "store/Share.h"

#include <QString>

#include <vector>

// Where the share and the suggested placement live in a case.
namespace ravnobor::split {

// Party 1's share as typed, in one more column of the settings table. Older cases lack it.
inline const QString ShareColumn = QStringLiteral("Доля 1");

bool hasShareColumn(store::Database& db);
// Adds the column to a case that lacks it; the value stays empty, that is equal shares.
void ensureShareColumn(store::Database& db);
// The stored text; empty when the case has no such column, no settings row or no value.
QString storedShareText(store::Database& db);
// The case's share: equal when nothing is stored or when the stored text is no share.
Share caseShare(store::Database& db);
// Refuses a text that is no share (Error, nothing written); adds the column when missing.
// The write is a step of the case's history.
void storeShareText(store::CaseWriter& writer, const QString& text);

// Every item of the property table in table order, priced by the chosen basis and placed
// by the chosen variant. A stored price that is no number ends it with a clear message.
std::vector<SplitItem> loadSplitItems(store::Database& db, int divisionVariant, int priceBasis);
// Writes the new places of the items that move as one step of the history: all or
// nothing. Returns how many rows were written.
int applySplitPlan(store::CaseWriter& writer, int divisionVariant, const std::vector<SplitItem>& items,
                   const SplitPlan& plan);

} // namespace ravnobor::split
