#pragma once

#include <QString>
#include <QVariant>

namespace ravnobor::sheets {

// A price read from a cell: null for an empty cell, a double within the store's bounds,
// or a problem.
struct ImportedNumber {
    enum Problem { None, NotNumber, OutOfRange };
    QVariant value;
    Problem problem = None;
};

// Reads the forms people write: a comma or a point as the decimal separator; blanks,
// no-break and narrow no-break spaces and apostrophes between digit groups; commas as
// groups when a point follows them (and points when a comma follows them); a leading
// or trailing currency mark; a minus or parentheses for a debt.
ImportedNumber importNumber(const QString& text);

// The plain decimal text with a point that the number text stands for, or an empty text.
QString canonicalDecimal(const QString& text);

} // namespace ravnobor::sheets
