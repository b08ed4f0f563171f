#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// A table read from a spreadsheet or from pasted text: every cell as the text the
// import reads. A number cell holds its stored value's shortest plain decimal text
// with a point; a date cell holds its date as text.
namespace ravnobor::sheets {

struct Sheet {
    QString name;
    std::vector<QStringList> rows; // row i is the file's row i + 1; a row ends at its last non-empty cell
};

struct Workbook {
    std::vector<Sheet> sheets;
};

// The limits of what the import reads: beyond them a file is refused, not read in part.
inline constexpr qint64 MaxFileSize = 100ll * 1024 * 1024;
inline constexpr int MaxRows = 1000000;
inline constexpr int MaxColumns = 16384;
inline constexpr qint64 MaxCells = 30000000;

// The cell text with trailing empty cells dropped.
inline void trimRow(QStringList& row) {
    while (!row.isEmpty() && row.constLast().isEmpty())
        row.removeLast();
}

} // namespace ravnobor::sheets
