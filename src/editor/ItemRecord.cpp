#include "editor/ItemRecord.h"

#include "store/Dataset.h"
#include "store/Error.h"
#include "store/Layout.h"
#include "store/NumberText.h"

#include <array>
#include <utility>

namespace ravnobor::editor {

namespace {

const QString NameColumn = QStringLiteral("Наименование");
const QString Price1Column = QStringLiteral("Цена 1");
const QString Price2Column = QStringLiteral("Цена 2");
const QString AgreedColumn = QStringLiteral("Согласованная цена");
const QString ValuationColumn = QStringLiteral("Оценка");
const QString NotesColumn = QStringLiteral("Заметки");

struct PriceField {
    const QString* column;
    QString ItemFields::*text;
    const char16_t* label;
};

const std::array<PriceField, 3> PriceFields = {{
    {&Price1Column, &ItemFields::price1, u"Первая сторона"},
    {&Price2Column, &ItemFields::price2, u"Вторая сторона"},
    {&AgreedColumn, &ItemFields::agreedPrice, u"Итоговая согласованная цена"},
}};

QString textOf(const store::Dataset& list, int row, const QString& column) {
    return list.value(row, list.columnIndex(column)).toString();
}

} // namespace

ItemFields itemForAdding() {
    const QString zero = QStringLiteral("0");
    return {QString(), zero, zero, zero, QStringLiteral("Эксперт"), QString()};
}

ItemFields readItem(const store::Dataset& list, int row, const QLocale& locale) {
    ItemFields item;
    item.name = textOf(list, row, NameColumn);
    for (const PriceField& price : PriceFields)
        item.*price.text = store::plainNumberText(list.value(row, list.columnIndex(*price.column)), locale);
    item.valuation = textOf(list, row, ValuationColumn);
    item.notes = textOf(list, row, NotesColumn);
    return item;
}

void checkItemPrices(const store::Dataset& list, const ItemFields& item) {
    for (const PriceField& price : PriceFields) {
        const QString& text = item.*price.text;
        try {
            list.convertForColumn(list.columnIndex(*price.column), text);
        } catch (const Error&) {
            throw Error(QStringLiteral("В поле «%1» должно быть число (не больше 10^15 по модулю), а введено «%2»")
                            .arg(QString::fromUtf16(price.label), text));
        }
    }
}

void writeItem(store::Dataset& list, const ItemFields& item, bool adding) {
    checkItemPrices(list, item);
    if (adding)
        list.insert();
    else
        list.edit();
    try {
        list.setFieldByName(NameColumn, item.name);
        for (const PriceField& price : PriceFields)
            list.setFieldByName(*price.column, item.*price.text);
        list.setFieldByName(ValuationColumn, item.valuation);
        list.setFieldByName(NotesColumn, item.notes);
        list.post();
    } catch (...) {
        list.cancel();
        throw;
    }
    list.updateBatch();
}

} // namespace ravnobor::editor
