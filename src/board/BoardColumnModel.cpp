#include "board/BoardColumnModel.h"

#include <QLocale>
#include <QMimeData>

#include <map>

namespace ravnobor::board {

BoardColumnModel::BoardColumnModel(int tag, QObject* parent) : QAbstractTableModel(parent), m_tag(tag) {}

void BoardColumnModel::replaceRows(std::vector<BoardRow> rows) {
    beginResetModel();
    m_sum = Money();
    m_partSum = split::ExactAmount();
    // Split items are summed share by share: a few exact fractions instead of one per item.
    std::map<std::pair<std::int64_t, std::int64_t>, Money> byShare;
    for (const BoardRow& r : rows) {
        if (!r.share)
            m_sum += priceOf(r);
        else if (r.price)
            byShare[{r.share->numerator(), r.share->denominator()}] += *r.price;
    }
    for (const auto& [share, prices] : byShare) {
        const std::int64_t part = m_tag < 0 ? share.second - share.first : share.first;
        m_partSum = m_partSum + split::ExactAmount::ratio(prices.units() * part, share.second);
    }
    m_rows.assign(std::move(rows));
    endResetModel();
}

void BoardColumnModel::addToSum(const BoardRow& row, int sign) {
    if (!row.share) {
        m_sum += sign > 0 ? priceOf(row) : -priceOf(row);
        return;
    }
    if (row.price)
        m_partSum = sign > 0 ? m_partSum + partOf(row) : m_partSum - partOf(row);
}

split::ExactAmount BoardColumnModel::partOf(const BoardRow& row) const {
    const Money price = row.price.value_or(Money());
    if (!row.share)
        return price;
    return m_tag < 0 ? split::ExactAmount::otherPartOf(*row.share, price)
                     : split::ExactAmount::partOf(*row.share, price);
}

QString shareLabel(const Share& share, bool party1) {
    QString text = party1 ? share.text() : share.otherText();
    if (!share.isPercent())
        return text;
    if (text.endsWith(u'%'))
        text.chop(1);
    return text.trimmed() + QStringLiteral(" %");
}

QString BoardColumnModel::caption(int row) const {
    const BoardRow& item = m_rows[row];
    if (!item.share)
        return item.name;
    return item.name + QStringLiteral(" (") + shareLabel(*item.share, m_tag >= 0) + u')';
}

void BoardColumnModel::append(BoardRow row) {
    const int at = count();
    beginInsertRows({}, at, at);
    addToSum(row, 1);
    m_rows.push_back(std::move(row));
    endInsertRows();
}

void BoardColumnModel::insertInKeyOrder(BoardRow row) {
    const int at = m_rows.keyOrderRow(row.key);
    beginInsertRows({}, at, at);
    addToSum(row, 1);
    m_rows.insert(at, std::move(row));
    endInsertRows();
}

BoardRow BoardColumnModel::take(int row) {
    beginRemoveRows({}, row, row);
    BoardRow taken = m_rows.take(row);
    addToSum(taken, -1);
    endRemoveRows();
    return taken;
}

void BoardColumnModel::replace(int row, BoardRow item) {
    addToSum(m_rows[row], -1);
    addToSum(item, 1);
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
    const BoardRow& item = m_rows[row];
    if (!item.price)
        return {};
    if (item.share)
        return partOf(item).roundedToCents().toPlainText(QLocale());
    return item.price->toPlainText(QLocale());
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
        return index.column() == NameColumn ? caption(index.row()) : priceText(index.row());
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
