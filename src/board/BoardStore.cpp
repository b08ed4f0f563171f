#include "board/BoardStore.h"

#include "store/Database.h"
#include "store/Error.h"
#include "store/Layout.h"

#include <QStringList>

#include <cmath>
#include <map>

namespace ravnobor::board {

namespace {

QStringList propertyColumns(store::Database& db) {
    QStringList names;
    store::Statement info = db.prepare(QStringLiteral("SELECT name FROM pragma_table_info(?1)"));
    info.bind(1, layout::PropertyTable);
    while (info.step())
        names << info.text(0);
    if (names.isEmpty())
        throw Error(QStringLiteral("В базе данных нет таблицы «%1»").arg(layout::PropertyTable));
    return names;
}

QString columnAt(const QStringList& names, int pos) {
    if (pos < 0 || pos >= names.size())
        throw Error(QStringLiteral("В таблице «%1» нет поля с номером %2").arg(layout::PropertyTable).arg(pos));
    return names[pos];
}

} // namespace

std::optional<Money> storedPrice(const QVariant& stored, const QString& itemName) {
    if (stored.isNull())
        return std::nullopt;
    if (stored.typeId() == QMetaType::LongLong || stored.typeId() == QMetaType::Int) {
        const qint64 whole = stored.toLongLong();
        if (whole > qint64(layout::PriceLimit) || whole < -qint64(layout::PriceLimit))
            throw Error(
                QStringLiteral("Цена имущества «%1» больше 10^15 по модулю: %2").arg(itemName, QString::number(whole)));
        return Money::fromDecimalText(QString::number(whole));
    }
    if (stored.typeId() == QMetaType::Double) {
        const double value = stored.toDouble();
        if (!std::isfinite(value) || std::fabs(value) > layout::PriceLimit)
            throw Error(QStringLiteral("Цена имущества «%1» больше 10^15 по модулю или не число").arg(itemName));
        return Money::fromDouble(value);
    }
    throw Error(QStringLiteral("Цена имущества «%1» не число: «%2». Исправьте её в списке имущества")
                    .arg(itemName, stored.toString()));
}

namespace {

struct BoardColumns {
    int namePos = 0;
    int pricePos = 0;
    int allocationPos = 0;
    int sharePos = -1; // none in a working copy made without share columns
};

int variantOf(int allocationPos) {
    return (allocationPos - layout::ColAlloc1) / 3;
}

// Shares already read, by their text: a case repeats a few shares many times.
using ShareCache = std::map<QString, std::shared_ptr<const Share>>;

std::shared_ptr<const Share> storedShare(const store::Statement& select, int pos, const QString& itemName,
                                         ShareCache& cache) {
    if (pos < 0 || select.isNull(pos))
        return nullptr;
    const QString text = select.text(pos);
    if (const auto known = cache.find(text); known != cache.end())
        return known->second;
    if (text.trimmed().isEmpty())
        return nullptr;
    if (!Share::isValid(text))
        throw Error(QStringLiteral("Доля имущества «%1» не доля: «%2»").arg(itemName, text));
    return cache.emplace(text, std::make_shared<const Share>(Share::parse(text))).first->second;
}

BoardColumns boardColumns(store::Database& db, int pricePos, int allocationPos) {
    const QStringList names = propertyColumns(db);
    columnAt(names, pricePos);
    columnAt(names, allocationPos);
    const int namePos = int(names.indexOf(layout::PropertyColumnNames[layout::ColName]));
    if (namePos < 0)
        throw Error(QStringLiteral("В таблице «%1» нет поля «%2»")
                        .arg(layout::PropertyTable, layout::PropertyColumnNames[layout::ColName]));
    const int variant = variantOf(allocationPos);
    const int sharePos = variant >= 0 && variant < 2 ? int(names.indexOf(layout::itemShareColumn(variant))) : -1;
    return {namePos, pricePos, allocationPos, sharePos};
}

PlacedBoardRow readBoardRow(const store::Statement& select, const BoardColumns& columns, ShareCache& shares) {
    PlacedBoardRow placed;
    BoardRow& row = placed.row;
    row.key = select.integer(layout::ColKey);
    row.name = select.isNull(columns.namePos) ? QString() : select.text(columns.namePos);
    row.price = storedPrice(select.value(columns.pricePos), row.name);
    row.share = storedShare(select, columns.sharePos, row.name, shares);
    placed.tag = row.share || select.isNull(columns.allocationPos)
                     ? 0
                     : layout::allocationTag(select.integer(columns.allocationPos));
    return placed;
}

} // namespace

BoardContent loadBoard(store::Database& db, int pricePos, int allocationPos) {
    const BoardColumns columns = boardColumns(db, pricePos, allocationPos);
    BoardContent content;
    ShareCache shares;
    store::Statement select = db.prepare(
        QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(store::quoteIdentifier(layout::PropertyTable)));
    while (select.step()) {
        PlacedBoardRow placed = readBoardRow(select, columns, shares);
        if (placed.row.share) {
            content.left.push_back(placed.row);
            content.right.push_back(std::move(placed.row));
        } else {
            content.forTag(placed.tag).push_back(std::move(placed.row));
        }
        ++content.rowCount;
    }
    return content;
}

std::optional<PlacedBoardRow> loadBoardRow(store::Database& db, qint64 key, int pricePos, int allocationPos) {
    const BoardColumns columns = boardColumns(db, pricePos, allocationPos);
    store::Statement select = db.prepare(
        QStringLiteral("SELECT * FROM %1 WHERE rowid = ?1").arg(store::quoteIdentifier(layout::PropertyTable)));
    select.bind(1, key);
    if (!select.step())
        return std::nullopt;
    ShareCache shares;
    return readBoardRow(select, columns, shares);
}

} // namespace ravnobor::board
