#pragma once

#include "sheets/SheetData.h"
#include "store/Error.h"

namespace ravnobor::sheets {

// Places cells into a sheet by position and keeps the limits, so no file can make the
// program allocate without bound.
class SheetBuilder {
public:
    explicit SheetBuilder(QString name) { m_sheet.name = std::move(name); }

    // Row and column from 0. Empty texts are not stored.
    void set(qint64 row, qint64 column, QString text) {
        if (text.isEmpty())
            return;
        if (row >= MaxRows)
            throw Error(QStringLiteral("На листе «%1» больше %2 строк: такую таблицу программа не читает")
                            .arg(m_sheet.name)
                            .arg(MaxRows));
        if (column >= MaxColumns)
            throw Error(QStringLiteral("На листе «%1» больше %2 столбцов: такую таблицу программа не читает")
                            .arg(m_sheet.name)
                            .arg(MaxColumns));
        if (size_t(row) >= m_sheet.rows.size())
            m_sheet.rows.resize(size_t(row) + 1);
        QStringList& cells = m_sheet.rows[size_t(row)];
        if (column >= cells.size()) {
            m_cells += column + 1 - cells.size();
            if (m_cells > MaxCells)
                throw Error(QStringLiteral("На листе «%1» слишком много ячеек: такую таблицу программа не читает")
                                .arg(m_sheet.name));
            cells.resize(column + 1);
        }
        cells[column] = std::move(text);
    }
    Sheet take() { return std::move(m_sheet); }

private:
    Sheet m_sheet;
    qint64 m_cells = 0;
};

} // namespace ravnobor::sheets
