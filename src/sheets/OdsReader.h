#pragma once

#include <QString>

#include "sheets/SheetData.h"

namespace ravnobor::sheets {

// Every table of an OpenDocument spreadsheet (.ods). Only stored values are read: a
// formula's cached value, or nothing when it has none.
Workbook readOds(const QString& path);

} // namespace ravnobor::sheets
