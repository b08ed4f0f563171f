#pragma once

#include <QString>

#include "sheets/SheetData.h"

namespace ravnobor::sheets {

// Every sheet of an Office Open XML workbook (.xlsx). Only stored values are read: a
// formula's cached value, or nothing when it has none; links and macros are ignored.
Workbook readXlsx(const QString& path);

// The shortest plain decimal text, with a point, of a number written as XML text
// ("1.5E+3" gives "1500"); the text itself when it is no number.
QString plainNumber(const char* text);

} // namespace ravnobor::sheets
