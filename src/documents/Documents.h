#pragma once

#include "documents/DocumentData.h"
#include "documents/WordDocument.h"

#include <QLocale>

#include <optional>

namespace ravnobor::store {
class Dataset;
}

// The program's three kinds of document, written step by step with the document
// layer's operations into a document made from their template.
namespace ravnobor::documents {

// The division variant report, into a document from Отчет.dotx.
void fillDivisionReport(WordDocument& document, const DivisionReportData& data, const QLocale& locale = QLocale());

// The general property list, into a document from Список.dotx.
void fillGeneralList(WordDocument& document, const GeneralListData& data, const QLocale& locale = QLocale());
// Every row of the list dataset from its first row on; leaves the dataset closed.
std::vector<PropertyListItem> readPropertyItems(store::Dataset& listDataset);

// One party's list into a blank document: a heading naming the party, a paragraph per
// item with its price at the right margin, and the total of the items.
void fillPartyList(WordDocument& document, const PartyListData& data, const QLocale& locale = QLocale());

// A stored column's plain text: a number as its shortest decimal text with the locale's
// separator (1500, 1234,5, as store::plainNumberText gives it), text exactly as stored (a
// name "1.10" stays "1.10"), nothing for an empty column. Quick for the usual stored price:
// the general list types three per item.
class ColumnText {
public:
    explicit ColumnText(const QLocale& locale);
    // With `number`, a stored double also yields its exact value (as Money::fromDouble gives
    // it) from the same digits; it stays empty for anything else.
    QString operator()(const QVariant& stored, std::optional<Money>* number = nullptr) const;

private:
    QLocale m_locale;
    QString m_point;
    QString m_minus;
};

// A display name between two double quotes, as the documents print it.
QString quotedName(const QString& name);

} // namespace ravnobor::documents
