#pragma once

#include <QChar>
#include <QString>

#include "sheets/SheetData.h"

namespace ravnobor::sheets {

// The delimiter of a CSV text among ";", "," and tab: the one that splits the first
// records into the same number of several fields most often; ";" when none does.
QChar guessDelimiter(const QString& text);

// Splits CSV text by the usual rules: a field in double quotes may hold the delimiter,
// line breaks and doubled quotes. Throws an Error past the row or cell limits.
Sheet readDelimited(const QString& text, QChar delimiter);

// True when pasted text looks like cells copied from a spreadsheet: a tab or several lines.
bool looksLikeCells(const QString& text);

} // namespace ravnobor::sheets
