#pragma once

#include "editor/GridColumns.h"
#include "editor/ItemRecord.h"
#include "store/Money.h"

#include <QAbstractTableModel>

#include <array>

namespace ravnobor::store {
class Dataset;
struct CaseChange;
} // namespace ravnobor::store

namespace ravnobor::editor {

// The list dataset as the twelve grid columns, with the price sums of the footer.
// Reads come from the dataset's rows in memory; a changed cell writes through at
// once. The sums follow every post and delete without walking the list again.
class PropertyListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    using Headings = std::array<QString, GridColumnCount>;

    PropertyListModel(store::Dataset& list, Headings& headings, QObject* parent = nullptr);

    // Opens the list dataset and sums its prices.
    void open();
    // Settles a new row, commits and closes the list dataset.
    void close();
    bool isOpen() const { return m_open; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The text a user typed into a cell. A price must be a number in the user's
    // locale and an allocation an integer; otherwise an Error says so and the row
    // keeps its value. A text equal to the stored value writes nothing.
    void setCellText(int row, int column, const QString& text);
    // Writes who made the valuation and posts the row.
    void writeValuation(int row, const QString& text);

    // The blank row started in place; it stands after the stored rows until posted.
    bool hasNewRow() const { return m_newRow; }
    int newRowIndex() const { return m_count; }
    bool isNewRowTouched() const { return m_newRow && m_newRowTouched; }
    void startNewRow();
    void postNewRow();
    void cancelNewRow();
    void settleNewRow(); // posts a row that was typed into, cancels an untouched one

    int itemCount() const { return m_count; } // stored rows
    bool isStoredRow(int row) const { return row >= 0 && row < m_count; }
    ItemFields item(int row) const;
    int addItem(const ItemFields& item); // returns the new row
    void updateItem(int row, const ItemFields& item);
    void removeItem(int row);

    // The grid's current row; the dataset's cursor follows it.
    void setCurrentRow(int row);
    int currentRow() const { return m_current; }
    // After rows came or went: the cursor follows without settling a new row.
    void followCurrentRow(int row);

    Money priceSum(int gridColumn) const;
    // "Всего:" under the names, the exact sums under the prices, nothing elsewhere.
    QString footerText(int gridColumn) const;
    void headingChanged(int gridColumn);

    store::Dataset& dataset() { return m_list; }
    // Shows a change of the case that the grid did not make itself (an undo, a redo).
    void follow(const store::CaseChange& change);

signals:
    void sumsChanged();
    void valueRefused(const QString& message);

private:
    QVariant stored(int row, int column) const;
    int positionOf(int column) const { return m_positions[size_t(column)]; }
    void addToSums(int row, int sign);
    void resolvePositions();

    store::Dataset& m_list;
    Headings& m_headings;
    std::array<int, GridColumnCount> m_positions{};
    std::array<Money, 3> m_sums{};
    int m_count = 0;
    int m_current = -1;
    bool m_open = false;
    bool m_newRow = false;
    bool m_newRowTouched = false;
    bool m_changingRows = false;
};

// The one footer row of the grid, read from the list model.
class PropertyFooterModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PropertyFooterModel(PropertyListModel& list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    PropertyListModel& m_list;
};

} // namespace ravnobor::editor
