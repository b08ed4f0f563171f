#pragma once

#include <QLocale>
#include <QString>

namespace ravnobor::store {
class Dataset;
}

// One item of property as the record dialog shows it: every field plain text.
namespace ravnobor::editor {

struct ItemFields {
    QString name;
    QString price1;
    QString price2;
    QString agreedPrice;
    QString valuation;
    QString notes;
    bool operator==(const ItemFields&) const = default;
};

// The fields a new item starts with: prices "0", valuation "Эксперт".
ItemFields itemForAdding();

// The fields of one row of the list dataset, each column read by name; prices as the
// board's texts (1234,5) so that writing them back stores exactly the same number.
ItemFields readItem(const store::Dataset& list, int row, const QLocale& locale = QLocale());

// Refuses a price that the list cannot take before anything is written: the Error
// names the dialog's field and the text typed into it.
void checkItemPrices(const store::Dataset& list, const ItemFields& item);

// Writes the six columns by name, in the dialog's order, into a new row (adding) or
// the current row (editing), posts the row and commits. Nothing is left half-written:
// a failure cancels the row before the Error goes on.
void writeItem(store::Dataset& list, const ItemFields& item, bool adding);

} // namespace ravnobor::editor
