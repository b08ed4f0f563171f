#include "board/BoardColumnModel.h"

#include <QLocale>
#include <QMimeData>

namespace ravnobor::board {

BoardColumnModel::BoardColumnModel(int tag, QObject* parent) : QAbstractTableModel(parent), m_tag(tag) {}

void BoardColumnModel::replaceRows(std::vector<BoardRow> rows) {
    Money sum;
    for (const BoardRow& r : rows)
        sum += priceOf(r);
    beginResetModel();
    m_rows.assign(std::move(rows));
    m_sum = sum;
    endResetModel();
}

void BoardColumnModel::append(BoardRow row) {
    const int at = count();
    beginInsertRows({}, at, at);
    m_sum += priceOf(row);
    m_rows.push_back(std::move(row));
    endInsertRows();
}

BoardRow BoardColumnModel::take(int row) {
    beginRemoveRows({}, row, row);
    BoardRow taken = m_rows.take(row);
    m_sum -= priceOf(taken);
    endRemoveRows();
    return taken;
}

void BoardColumnModel::replace(int row, BoardRow item) {
    m_sum -= priceOf(m_rows[row]);
    m_sum += priceOf(item);
    m_rows.set(row, std::move(item));
    emit dataChanged(index(row, NameColumn), index(row, PriceColumn));
}

int BoardColumnModel::rowOfKey(qint64 key) const {
    return m_rows.find(key);
}

void BoardColumnModel::setPriceCaption(const QString& caption) {
    if (caption == m_priceCaption)
        return;
    m_priceCaption = caption;
    emit headerDataChanged(Qt::Horizontal, PriceColumn, PriceColumn);
}

QString BoardColumnModel::priceText(int row) const {
    const std::optional<Money>& price = m_rows[row].price;
    return price ? price->toPlainText(QLocale()) : QString();
}

int BoardColumnModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

int BoardColumnModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant BoardColumnModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count())
        return {};
    if (role == Qt::DisplayRole)
        return index.column() == NameColumn ? m_rows[index.row()].name : priceText(index.row());
    if (role == Qt::TextAlignmentRole && index.column() == PriceColumn)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant BoardColumnModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return section == NameColumn ? QStringLiteral("Имущество") : m_priceCaption;
    if (role == Qt::TextAlignmentRole && section == PriceColumn)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags BoardColumnModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

QStringList BoardColumnModel::mimeTypes() const {
    return {MimeType};
}

QMimeData* BoardColumnModel::mimeData(const QModelIndexList& indexes) const {
    if (indexes.isEmpty() || !indexes.first().isValid() || indexes.first().row() >= count())
        return nullptr;
    auto* mime = new QMimeData;
    mime->setData(MimeType, encodeBoardDrag({m_dragToken, m_tag, row(indexes.first().row()).key}));
    return mime;
}

QByteArray encodeBoardDrag(const BoardDrag& drag) {
    return drag.token + '\n' + QByteArray::number(drag.sourceTag) + '\n' + QByteArray::number(drag.key);
}

std::optional<BoardDrag> decodeBoardDrag(const QMimeData* mime) {
    if (!mime || !mime->hasFormat(BoardColumnModel::MimeType))
        return std::nullopt;
    const QList<QByteArray> parts = mime->data(BoardColumnModel::MimeType).split('\n');
    if (parts.size() != 3 || parts[0].isEmpty())
        return std::nullopt;
    bool tagOk = false;
    bool keyOk = false;
    BoardDrag drag{parts[0], parts[1].toInt(&tagOk), parts[2].toLongLong(&keyOk)};
    if (!tagOk || !keyOk || drag.sourceTag < -1 || drag.sourceTag > 1)
        return std::nullopt;
    return drag;
}

} // namespace ravnobor::board
