#include "split/SplitStore.h"

#include "store/Error.h"
#include "store/Layout.h"
#include "store/NumberText.h"

#include <map>

namespace ravnobor::split {

namespace {

// The first settings row, the one every reader and writer of the settings works on.
const QString FirstSettingsRow = QStringLiteral("(SELECT rowid FROM %1 ORDER BY rowid LIMIT 1)");

Money priceOf(const QVariant& stored, const QString& column, const QVariant& name) {
    return store::storedPriceMoney(stored, column, name.toString(), QStringLiteral("раздел не предложен"));
}

} // namespace

bool hasShareColumn(store::Database& db) {
    store::Statement info = db.prepare(QStringLiteral("SELECT name FROM pragma_table_info(?1)"));
    info.bind(1, layout::SettingsTable);
    while (info.step())
        if (info.text(0) == ShareColumn)
            return true;
    return false;
}

void ensureShareColumn(store::Database& db) {
    if (!hasShareColumn(db))
        db.execute(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 TEXT")
                       .arg(store::quoteIdentifier(layout::SettingsTable), store::quoteIdentifier(ShareColumn)));
}

QString storedShareText(store::Database& db) {
    if (!hasShareColumn(db))
        return {};
    const QString table = store::quoteIdentifier(layout::SettingsTable);
    store::Statement select =
        db.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ").arg(store::quoteIdentifier(ShareColumn), table) +
                   FirstSettingsRow.arg(table));
    return select.step() && !select.isNull(0) ? select.text(0) : QString();
}

Share caseShare(store::Database& db) {
    const QString text = storedShareText(db);
    return Share::isValid(text) ? Share::parse(text) : Share();
}

void storeShareText(store::CaseWriter& writer, const QString& text) {
    Share::parse(text);
    store::Database& db = writer.database();
    ensureShareColumn(db);
    const QString typed = text.trimmed();
    const QVariant value = typed.isEmpty() ? QVariant() : QVariant(typed);
    writer.updateSettings({{ShareColumn, value}}, QStringLiteral("исходные данные"));
}

std::vector<SplitItem> loadSplitItems(store::Database& db, int divisionVariant, int priceBasis) {
    const int allocationPos = layout::allocationColumn(divisionVariant);
    const int pricePos = layout::priceColumn(priceBasis);
    store::Statement select = db.prepare(
        QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(store::quoteIdentifier(layout::PropertyTable)));
    if (select.columnCount() < layout::PropertyColumnCount)
        throw Error(QStringLiteral("В таблице «%1» меньше %2 столбцов")
                        .arg(layout::PropertyTable)
                        .arg(layout::PropertyColumnCount));
    const QString& priceName = layout::PropertyColumnNames[size_t(pricePos)];
    // The item shares of the variant, by key; none in a case made before them.
    std::map<qint64, Share> shares;
    store::Statement columns = db.prepare(QStringLiteral("SELECT 1 FROM pragma_table_info(?1) WHERE name = ?2"));
    columns.bind(1, layout::PropertyTable).bind(2, layout::itemShareColumn(divisionVariant));
    if (columns.step()) {
        store::Statement split =
            db.prepare(QStringLiteral("SELECT rowid, %1 FROM %2 WHERE %1 IS NOT NULL AND trim(%1) <> ''")
                           .arg(store::quoteIdentifier(layout::itemShareColumn(divisionVariant)),
                                store::quoteIdentifier(layout::PropertyTable)));
        while (split.step())
            shares.emplace(split.integer(0), Share::parse(split.text(1)));
    }
    std::vector<SplitItem> items;
    while (select.step()) {
        const QVariant name = select.value(layout::ColName);
        SplitItem item;
        item.key = select.integer(layout::ColKey);
        item.price = priceOf(select.value(pricePos), priceName, name);
        item.price1 = priceOf(select.value(layout::ColPrice1), layout::PropertyColumnNames[layout::ColPrice1], name);
        item.price2 = priceOf(select.value(layout::ColPrice2), layout::PropertyColumnNames[layout::ColPrice2], name);
        item.allocation = layout::allocationTag(select.isNull(allocationPos) ? 0 : select.integer(allocationPos));
        if (const auto found = shares.find(item.key); found != shares.end()) {
            item.share = found->second;
            item.allocation = layout::Undistributed;
        }
        items.push_back(item);
    }
    return items;
}

int applySplitPlan(store::CaseWriter& writer, int divisionVariant, const std::vector<SplitItem>& items,
                   const SplitPlan& plan) {
    std::vector<std::pair<qint64, int>> placement;
    for (size_t i = 0; i < items.size(); ++i)
        if (plan.allocation[i] != items[i].allocation)
            placement.emplace_back(items[i].key, plan.allocation[i]);
    if (!placement.empty())
        writer.placeItems(divisionVariant, placement, QStringLiteral("предложенный раздел"));
    return int(placement.size());
}

} // namespace ravnobor::split
