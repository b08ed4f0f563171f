#include "sheets/ImportNumber.h"

#include "store/Layout.h"

#include <array>
#include <cmath>

namespace ravnobor::sheets {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\u00A0' || c == u'\u202F' || c == u'\u2009' || c == u'\t';
}

QString stripBlanks(QString text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && isBlank(text[start]))
        ++start;
    while (end > start && isBlank(text[end - 1]))
        --end;
    return text.mid(start, end - start);
}

// Drops one currency mark at either end.
QString withoutCurrency(QString text) {
    static const std::array<QString, 8> marks = {QStringLiteral("руб."), QStringLiteral("руб"), QStringLiteral("грн."),
                                                 QStringLiteral("грн"),  QStringLiteral("р."),  QStringLiteral("₽"),
                                                 QStringLiteral("$"),    QStringLiteral("€")};
    for (const QString& mark : marks) {
        if (text.endsWith(mark, Qt::CaseInsensitive))
            return stripBlanks(text.chopped(mark.size()));
        if (text.startsWith(mark, Qt::CaseInsensitive))
            return stripBlanks(text.mid(mark.size()));
    }
    return text;
}

// Digit groups split by `group`: every group after the first has three digits.
bool validGroups(const QString& digits, QChar group) {
    const QStringList parts = digits.split(group);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const qsizetype size = parts[i].size();
        if (size == 0 || size > 3 || (i > 0 && size != 3))
            return false;
    }
    return true;
}

bool allDigits(const QString& text) {
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// The body without sign and blanks: "1250000,50", "1,250,000.50", "12".
QString decimalOf(const QString& body) {
    const qsizetype comma = body.lastIndexOf(u',');
    const qsizetype point = body.lastIndexOf(u'.');
    QString whole = body;
    QString fraction;
    QChar group;
    if (comma >= 0 && point >= 0) {
        const qsizetype decimal = std::max(comma, point);
        group = comma > point ? u'.' : u',';
        whole = body.left(decimal);
        fraction = body.mid(decimal + 1);
        if (!validGroups(whole, group))
            return {};
        whole.remove(group);
    } else if (comma >= 0 || point >= 0) {
        const QChar separator = comma >= 0 ? u',' : u'.';
        if (body.count(separator) > 1)
            return {};
        const qsizetype at = std::max(comma, point);
        whole = body.left(at);
        fraction = body.mid(at + 1);
        if (whole.isEmpty())
            whole = QStringLiteral("0");
    }
    if (!allDigits(whole) || (!fraction.isEmpty() && !allDigits(fraction)) ||
        (fraction.isEmpty() && (comma >= 0 || point >= 0)))
        return {};
    return fraction.isEmpty() ? whole : whole + u'.' + fraction;
}

bool isGroupMark(QChar c) {
    return isBlank(c) || c == u'\'' || c == u'\u2019';
}

// The number with its group marks (blanks and apostrophes) dropped, when they stand
// between digit groups: every group after a mark starts with three digits.
QString withoutGroupMarks(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!isGroupMark(c)) {
            out += c;
            continue;
        }
        if (i == 0 || !text[i - 1].isDigit())
            return {};
        qsizetype digits = 0;
        while (i + 1 + digits < text.size() && text[i + 1 + digits].isDigit())
            ++digits;
        if (digits != 3)
            return {};
    }
    return out;
}

} // namespace

QString canonicalDecimal(const QString& text) {
    QString body = withoutCurrency(stripBlanks(text));
    bool negative = false;
    if (body.startsWith(u'(') && body.endsWith(u')')) {
        negative = true;
        body = withoutCurrency(stripBlanks(body.mid(1, body.size() - 2)));
    }
    if (!negative && (body.startsWith(u'-') || body.startsWith(u'\u2212'))) {
        negative = true;
        body = withoutCurrency(stripBlanks(body.mid(1)));
    } else if (!negative && body.startsWith(u'+')) {
        body = stripBlanks(body.mid(1));
    }
    const QString decimal = decimalOf(withoutGroupMarks(body));
    if (decimal.isEmpty())
        return {};
    return negative ? u'-' + decimal : decimal;
}

ImportedNumber importNumber(const QString& text) {
    if (stripBlanks(text).isEmpty())
        return {};
    const QString decimal = canonicalDecimal(text);
    if (decimal.isEmpty())
        return {QVariant(), ImportedNumber::NotNumber};
    bool ok = false;
    const double value = decimal.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return {QVariant(), ImportedNumber::NotNumber};
    if (std::abs(value) > layout::PriceLimit)
        return {QVariant(), ImportedNumber::OutOfRange};
    return {QVariant(value == 0 ? 0.0 : value), ImportedNumber::None};
}

} // namespace ravnobor::sheets
