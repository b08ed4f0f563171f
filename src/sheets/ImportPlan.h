#pragma once

#include <QString>
#include <QVariant>

#include <array>
#include <vector>

#include "sheets/SheetData.h"

namespace ravnobor::store {
class CaseWriter;
}

namespace ravnobor::sheets {

// The fields of an item that an import fills, in the order of the dialog's combos.
enum ImportField : int { FieldName, FieldPrice1, FieldPrice2, FieldAgreed, FieldValuation, FieldNotes, FieldCount };

// The name a skip reason gives the field: "Наименование", "Цена 1", ...
QString fieldLabel(ImportField field);

// Which column (from 0) fills each field; -1 for none.
struct ImportMapping {
    std::array<int, FieldCount> column{-1, -1, -1, -1, -1, -1};
    bool header = false; // the first row holds headings, not an item
};

struct ImportItem {
    QString name;
    std::array<QVariant, 3> prices; // null for an empty cell
    QString valuation;
    QString notes;
};

struct SkippedRow {
    int row = 0; // in the file, from 1
    QString reason;
};

struct ImportPlan {
    std::vector<ImportItem> items;
    std::vector<SkippedRow> skipped;
};

// Whether the first row looks like headings: it names a field, or it holds no number
// where the second row holds one.
bool guessHeader(const Sheet& sheet);

// The columns whose headings name a field ("Наименование", "1 стороны", a party's
// display name, "Оценка", ...); the rest stay -1. Without headings nothing is guessed.
ImportMapping guessMapping(const Sheet& sheet, bool header, const QString& party1, const QString& party2);

// The items the rows give, and the rows skipped with their reasons. Rows without any
// text are passed over silently.
ImportPlan planImport(const Sheet& sheet, const ImportMapping& mapping);

// Appends the items after the existing ones, undistributed in both variants, as one
// step "импорт (N)" of the case's history. Nothing is written when anything fails.
void writeImport(store::CaseWriter& writer, const std::vector<ImportItem>& items, const void* origin = nullptr);

} // namespace ravnobor::sheets
