#pragma once

#include <QString>

#include "sheets/SheetData.h"

namespace ravnobor::sheets {

// Reads a table file once: .xlsx, .ods, or delimited text (.csv, .txt) in UTF-8 or
// Windows-1251. A file larger than 100 MB, of another kind than its name says, or
// damaged, is refused with an Error that says why.
Workbook readSpreadsheet(const QString& path);

// Whether the workbook came from delimited text (one table, no sheets to choose).
bool isDelimitedTextFile(const QString& path);

} // namespace ravnobor::sheets
