#pragma once

#include "board/BoardRows.h"
#include "split/ExactAmount.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace ravnobor::board {

// The items of one board column in list order, with their count and price sum kept
// up to date on every change, so the totals and the status line never walk a list.
class BoardColumnModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NameColumn = 0, PriceColumn = 1, ColumnCount = 2 };
    static inline const QString MimeType = QStringLiteral("application/x-ravnobor-board-item");

    BoardColumnModel(int tag, QObject* parent = nullptr);

    int tag() const { return m_tag; }
    int count() const { return m_rows.size(); }
    // The exact sum of the list's prices, split items counted with this side's part.
    split::ExactAmount sum() const { return m_partSum + m_sum; }
    const BoardRow& row(int row) const { return m_rows[row]; }
    // The price as the list shows it, a split item's part rounded to cents; empty when there is none.
    QString priceText(int row) const;
    // The name as the list shows it: a split item's with this side's share, "Дача (60 %)".
    QString caption(int row) const;
    // This side's exact part of the item's price.
    split::ExactAmount partOf(const BoardRow& row) const;
    // A copy of the items in list order.
    std::vector<BoardRow> rows() const { return m_rows.toVector(); }

    void replaceRows(std::vector<BoardRow> rows);
    void append(BoardRow row);
    // Among the others in table order; a split item's rows come to the side lists so.
    void insertInKeyOrder(BoardRow row);
    BoardRow take(int row);
    void replace(int row, BoardRow item);
    // The row of the item with that key, or -1. Looks from the end, where moved items land.
    int rowOfKey(qint64 key) const;

    void setPriceCaption(const QString& caption);
    const QString& priceCaption() const { return m_priceCaption; }
    // Ties the column's drags to the window that owns it.
    void setDragToken(const QByteArray& token) { m_dragToken = token; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }

private:
    static Money priceOf(const BoardRow& row) { return row.share ? Money() : row.price.value_or(Money()); }
    void addToSum(const BoardRow& row, int sign);

    int m_tag;
    BoardRows m_rows;
    Money m_sum;                  // whole items
    split::ExactAmount m_partSum; // parts of split items
    QString m_priceCaption = QStringLiteral("Цена");
    QByteArray m_dragToken;
};

// A share as a caption shows it: as typed, a percent followed by " %".
QString shareLabel(const Share& share, bool party1);

// What a drag from a board column carries: the window's token, the column's tag and
// the dragged item's row key.
struct BoardDrag {
    QByteArray token;
    int sourceTag = 0;
    qint64 key = 0;
};
QByteArray encodeBoardDrag(const BoardDrag& drag);
// Empty when the data is not a board drag.
std::optional<BoardDrag> decodeBoardDrag(const QMimeData* mime);

} // namespace ravnobor::board
