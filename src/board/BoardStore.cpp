#include "board/BoardStore.h"

#include "store/Database.h"
#include "store/Error.h"
#include "store/Layout.h"

#include <QStringList>

#include <cmath>

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

BoardContent loadBoard(store::Database& db, int pricePos, int allocationPos) {
    const QStringList names = propertyColumns(db);
    columnAt(names, pricePos);
    columnAt(names, allocationPos);
    const int namePos = int(names.indexOf(layout::PropertyColumnNames[layout::ColName]));
    if (namePos < 0)
        throw Error(QStringLiteral("В таблице «%1» нет поля «%2»")
                        .arg(layout::PropertyTable, layout::PropertyColumnNames[layout::ColName]));

    BoardContent content;
    store::Statement select = db.prepare(
        QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(store::quoteIdentifier(layout::PropertyTable)));
    while (select.step()) {
        BoardRow row;
        row.key = select.integer(layout::ColKey);
        row.name = select.isNull(namePos) ? QString() : select.text(namePos);
        row.price = storedPrice(select.value(pricePos), row.name);
        const int tag = select.isNull(allocationPos) ? 0 : layout::allocationTag(select.integer(allocationPos));
        content.forTag(tag).push_back(std::move(row));
        ++content.rowCount;
    }
    return content;
}

bool storeAllocation(store::Database& db, int allocationPos, qint64 key, int tag, const QString& itemName) {
    const QStringList names = propertyColumns(db);
    const QString table = store::quoteIdentifier(layout::PropertyTable);
    const QString column = store::quoteIdentifier(columnAt(names, allocationPos));
    const QString keyColumn = store::quoteIdentifier(names[layout::ColKey]);
    store::Statement update = db.prepare(
        QStringLiteral("UPDATE %1 SET %2 = ?1 WHERE %3 = ?2 AND %2 IS NOT ?1").arg(table, column, keyColumn));
    update.bind(1, qint64(tag)).bind(2, key);
    update.run();
    if (db.changes() > 0)
        return true;
    store::Statement exists = db.prepare(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?1").arg(table, keyColumn));
    exists.bind(1, key);
    if (!exists.step())
        throw Error(QStringLiteral("Имущество «%1» не найдено в списке имущества").arg(itemName));
    return false;
}

void gatherAll(store::Database& db, int allocationPos) {
    const QStringList names = propertyColumns(db);
    const QString column = store::quoteIdentifier(columnAt(names, allocationPos));
    store::Transaction transaction(db);
    db.prepare(QStringLiteral("UPDATE %1 SET %2 = 0").arg(store::quoteIdentifier(layout::PropertyTable), column)).run();
    transaction.commit();
}

} // namespace ravnobor::board
