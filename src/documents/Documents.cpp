#include "documents/Documents.h"

#include "documents/AmountWords.h"

#include "split/ShareTotals.h"
#include "store/Dataset.h"
#include "store/Error.h"
#include "store/Layout.h"
#include "store/NumberText.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace ravnobor::documents {

QString quotedName(const QString& name) {
    return u'"' + name + u'"';
}

ColumnText::ColumnText(const QLocale& locale)
    : m_locale(locale), m_point(locale.decimalPoint()), m_minus(locale.negativeSign()) {}

QString ColumnText::operator()(const QVariant& stored, std::optional<Money>* number) const {
    if (stored.typeId() == QMetaType::QString)
        return stored.toString();
    if (stored.typeId() == QMetaType::Double) {
        // The shortest fixed text of the double is what the exact money value would print,
        // as long as it has no more decimals than money keeps; anything else takes the long way.
        const double value = stored.toDouble();
        char buffer[64];
        const auto [end, error] = std::isfinite(value) && std::fabs(value) <= layout::PriceLimit
                                      ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
                                      : std::to_chars_result{buffer, std::errc::value_too_large};
        const std::string_view digits(buffer, size_t(end - buffer));
        const size_t point = digits.find('.');
        if (error == std::errc() && digits != "-0" &&
            (point == std::string_view::npos || digits.size() - point - 1 <= size_t(Money::Decimals))) {
            if (number) {
                char16_t wide[sizeof buffer];
                std::copy(digits.begin(), digits.end(), wide);
                *number = Money::fromDecimalText(QStringView(wide, qsizetype(digits.size())));
            }
            QString text;
            text.reserve(qsizetype(digits.size()) + 1);
            for (char c : digits) {
                if (c == '-')
                    text += m_minus;
                else if (c == '.')
                    text += m_point;
                else
                    text += QLatin1Char(c);
            }
            return text;
        }
    }
    return store::plainNumberText(stored, m_locale);
}

// ---- division variant report

namespace {

// Number, name and price of row i of one side, or three empty cells past its end.
void typeBoardSide(WordDocument& document, size_t i, const std::vector<BoardLine>& items) {
    const bool present = i < items.size();
    if (present)
        document.typeText(QString::number(i + 1));
    document.moveRightCell();
    if (present)
        document.typeText(items[i].name);
    document.moveRightCell();
    if (present)
        document.typeText(items[i].price);
    document.moveRightCell();
}

void typeBold(WordDocument& document, const QString& text) {
    document.toggleBold();
    document.typeText(text);
}

// The picture under the totals; without one its place stays an empty paragraph.
void typeChart(WordDocument& document, const DivisionReportData& data) {
    const QString place = QStringLiteral("<Диаграмма>");
    constexpr qint64 EmuPerPixel = 9525; // at 96 dots per inch
    if (data.chartPng.isEmpty())
        document.replaceInDocument(place, QString());
    else
        document.replaceWithPicture(place, data.chartPng, data.chartWidth * EmuPerPixel,
                                    data.chartHeight * EmuPerPixel);
}

} // namespace

void fillDivisionReport(WordDocument& document, const DivisionReportData& data, const QLocale& locale) {
    const auto amount = [&](const split::ExactAmount& m) { return m.toAmountText(data.currencySuffix, locale); };

    document.replaceInDocument(QStringLiteral("<Заголовок>"), data.variantLine);
    document.replaceInDocument(QStringLiteral("<Сторона1>"), data.party1Name);
    document.replaceInDocument(QStringLiteral("<Сторона2>"), data.party2Name);
    // Under the title, before the variant line.
    if (!data.description.isEmpty()) {
        document.moveDown();
        document.typeText(data.description);
        document.typeParagraph();
    }

    document.goToFirstTable();
    document.moveDown();
    document.moveDown();
    document.moveLeftCell();

    const size_t rows = std::max(data.party1Items.size(), data.party2Items.size());
    for (size_t i = 0; i < rows; ++i) {
        document.setReplaceSelection(true);
        typeBoardSide(document, i, data.party1Items);
        document.moveRightCell(); // the empty cell between the shares
        typeBoardSide(document, i, data.party2Items);
    }

    // The totals row.
    document.moveRightCell();
    typeBold(document, QStringLiteral("ИТОГО"));
    document.moveRightCell();
    typeBold(document, amount(data.share1Total));
    for (int i = 0; i < 3; ++i)
        document.moveRightCell();
    typeBold(document, QStringLiteral("ИТОГО"));
    document.moveRightCell();
    typeBold(document, amount(data.share2Total));

    const split::ExactAmount difference = (data.share1Total - data.share2Total).abs();
    bool firstIsLarger = data.share1Total > data.share2Total;
    Money payment = difference.halved().roundedToCents();
    // An unequal share: the party above its target pays the amount by which it is above.
    if (!data.share.isEqual()) {
        const split::ShareTotals shares =
            split::shareTotals(data.share1Total, data.share2Total, data.share, data.currencySuffix, locale);
        firstIsLarger = shares.party1Pays;
        payment = shares.payment.roundedToCents();
    }
    document.replaceInDocument(QStringLiteral("<Сторона1>"), quotedName(data.party1Name));
    document.replaceInDocument(QStringLiteral("#5#"), amount(data.share1Total));
    document.replaceInDocument(QStringLiteral("<Сторона2>"), quotedName(data.party2Name));
    document.replaceInDocument(QStringLiteral("#7#"), amount(data.share2Total));
    document.replaceInDocument(QStringLiteral("#8#"), amount(data.undistributedTotal));
    document.replaceInDocument(QStringLiteral("<Сторона1>"), quotedName(data.party1Name));
    document.replaceInDocument(QStringLiteral("<Сторона2>"), quotedName(data.party2Name));
    document.replaceInDocument(QStringLiteral("#11#"), amount(difference));
    document.replaceInDocument(QStringLiteral("<Сторона 1>"),
                               quotedName(firstIsLarger ? data.party1Name : data.party2Name));
    document.replaceInDocument(QStringLiteral("<Сторона 2>"),
                               quotedName(firstIsLarger ? data.party2Name : data.party1Name));
    document.replaceInDocument(QStringLiteral("#14#"), amount(payment));
    document.replaceInDocument(QStringLiteral("#15#"), amountInWords(payment, data.currencySuffix));
    typeChart(document, data);
}

// ---- general property list

namespace {

// A stored price as a number for the sums; empty counts 0. A value that is no number
// (a case file from elsewhere may hold one) ends the document with a clear message.
Money priceValue(const QVariant& stored, const QString& column, const PropertyListItem& item) {
    return store::storedPriceMoney(stored, column, item.name.toString(), QStringLiteral("список не составлен"));
}

} // namespace

std::vector<PropertyListItem> readPropertyItems(store::Dataset& list) {
    list.open(); // reads afresh and stands on the first row, wherever the cursor was
    const auto column = [&](int pos) { return list.columnIndex(layout::PropertyColumnNames[size_t(pos)]); };
    const int name = column(layout::ColName), price1 = column(layout::ColPrice1), price2 = column(layout::ColPrice2),
              agreed = column(layout::ColAgreedPrice), valuation = column(layout::ColValuation),
              notes = column(layout::ColNotes);
    std::vector<PropertyListItem> items;
    items.reserve(size_t(list.recordCount()));
    for (int row = 0; row < list.recordCount(); ++row) {
        items.push_back({list.value(row, name), list.value(row, price1), list.value(row, price2),
                         list.value(row, agreed), list.value(row, valuation), list.value(row, notes)});
    }
    list.close();
    return items;
}

void fillGeneralList(WordDocument& document, const GeneralListData& data, const QLocale& locale) {
    const QString quoted1 = quotedName(data.party1Name);
    const QString quoted2 = quotedName(data.party2Name);
    document.replaceInDocument(QStringLiteral("<Сторона 1>"), quoted1);
    document.replaceInDocument(QStringLiteral("<Сторона 2>"), quoted2);
    document.replaceInDocument(QStringLiteral("<Сторона 1>"), data.party1Name);
    document.replaceInDocument(QStringLiteral("<Сторона 2>"), data.party2Name);
    // Under the title and the line that completes it.
    if (!data.description.isEmpty()) {
        document.moveDown();
        document.moveToParagraphEnd();
        document.typeParagraph();
        document.typeText(data.description);
    }

    document.goToFirstTable();
    document.moveDown();

    Money sum1, sum2, sumAgreed;
    const ColumnText columnText(locale);
    const auto typeCell = [&](const QVariant& value) {
        document.typeText(columnText(value));
        document.moveRightCell();
    };
    const auto typePrice = [&](const QVariant& value, Money& sum, int column, const PropertyListItem& item) {
        std::optional<Money> number;
        document.typeText(columnText(value, &number));
        document.moveRightCell();
        sum += number ? *number : priceValue(value, layout::PropertyColumnNames[size_t(column)], item);
    };
    int number = 1;
    for (const PropertyListItem& item : data.items) {
        document.typeText(QString::number(number));
        document.moveRightCell();
        typeCell(item.name);
        typePrice(item.price1, sum1, layout::ColPrice1, item);
        typePrice(item.price2, sum2, layout::ColPrice2, item);
        typePrice(item.agreedPrice, sumAgreed, layout::ColAgreedPrice, item);
        typeCell(item.valuation);
        typeCell(item.notes);
        ++number;
    }

    const auto amount = [&](const split::ExactAmount& m) { return m.toAmountText(data.currencySuffix, locale); };
    document.replaceInDocument(QStringLiteral("<Сторона 1>"), quoted1);
    document.replaceInDocument(QStringLiteral("<Сумма 1>"), amount(sum1));
    document.replaceInDocument(QStringLiteral("<Сторона 2>"), quoted2);
    document.replaceInDocument(QStringLiteral("<Сумма 2>"), amount(sum2));
    document.replaceInDocument(QStringLiteral("<Сумма Согл>"), amount(sumAgreed));
}

// ---- party lists

void fillPartyList(WordDocument& document, const PartyListData& data, const QLocale& locale) {
    const QString& currencySuffix = data.currencySuffix;
    typeBold(document, QStringLiteral("Имущество, передаваемое стороне ") + data.partyName);
    document.toggleBold();
    document.typeParagraph();
    // The price stands at the right margin behind dots, however long the name.
    document.setRightTabStopWithDots();
    for (const BoardLine& item : data.items) {
        if (item.price.isEmpty()) {
            document.typeText(item.name + u'\t'); // no price, so no currency either
        } else {
            document.typeText(item.name + u'\t' + item.price + QStringLiteral("\r\n"));
            document.typeBackspace();
            document.typeText(u' ' + currencySuffix);
        }
        document.typeParagraph();
    }
    document.typeText(QStringLiteral("Итого: ") + data.total.toAmountText(currencySuffix, locale));
}

} // namespace ravnobor::documents
