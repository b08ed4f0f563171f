#include "store/Share.h"

#include "store/Error.h"

#include <numeric>

namespace ravnobor {

namespace {

// More digits than this could not be a share we keep, and would overflow.
constexpr int MaxDigits = 18;

std::int64_t pow10(int n) {
    std::int64_t r = 1;
    while (n-- > 0)
        r *= 10;
    return r;
}

bool isDigits(const QString& text) {
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

std::int64_t digitsValue(const QString& text) {
    std::int64_t value = 0;
    for (QChar c : text)
        value = value * 10 + (c.unicode() - u'0');
    return value;
}

QString withoutBlanks(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (!c.isSpace())
            out += c;
    return out;
}

[[noreturn]] void refuse(const QString& typed, const QString& why) {
    throw Error(QStringLiteral("Доля стороны 1 «%1» не годится: %2").arg(typed, why));
}

[[noreturn]] void refuseUnrecognised(const QString& typed) {
    refuse(typed, QStringLiteral("введите процент (например, 60 или 33,33) или дробь (например, 1/3)."));
}

[[noreturn]] void refuseOutOfRange(const QString& typed) {
    refuse(typed, QStringLiteral("доля должна быть больше 0 и меньше 100 % (дробью — больше 0 и меньше 1)."));
}

} // namespace

Share Share::parse(const QString& text) {
    const QString typed = text.trimmed();
    const QString compact = withoutBlanks(typed);
    if (compact.isEmpty())
        return Share();
    if (compact.startsWith(u'-'))
        refuseOutOfRange(typed);
    if (compact.contains(u'/'))
        return parseFraction(compact, typed);
    return parsePercent(compact, typed);
}

bool Share::isValid(const QString& text, QString* error) {
    try {
        parse(text);
        return true;
    } catch (const Error& e) {
        if (error)
            *error = e.message();
        return false;
    }
}

Share Share::parsePercent(const QString& compact, const QString& typed) {
    QString number = compact;
    const bool percentSign = number.endsWith(u'%');
    if (percentSign)
        number.chop(1);
    qsizetype sep = -1;
    for (qsizetype i = 0; i < number.size(); ++i) {
        if (number[i] == u',' || number[i] == u'.') {
            if (sep >= 0)
                refuseUnrecognised(typed);
            sep = i;
        }
    }
    QString whole = sep < 0 ? number : number.left(sep);
    QString fraction = sep < 0 ? QString() : number.mid(sep + 1);
    if ((whole.isEmpty() && fraction.isEmpty()) || !isDigits(whole) || !isDigits(fraction))
        refuseUnrecognised(typed);
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    if (whole.size() > MaxDigits)
        refuseOutOfRange(typed);
    if (fraction.size() > MaxPercentDecimals)
        refuse(typed, QStringLiteral("у процента не больше %1 знаков после запятой.").arg(MaxPercentDecimals));
    const int decimals = int(fraction.size());
    const std::int64_t scale = pow10(decimals);
    const std::int64_t wholeValue = digitsValue(whole);
    if (wholeValue >= 100)
        refuseOutOfRange(typed);
    const std::int64_t units = wholeValue * scale + digitsValue(fraction);
    if (units <= 0)
        refuseOutOfRange(typed);
    Share share = make(units, 100 * scale, typed);
    share.m_form = Form::Percent;
    share.m_percentDecimals = decimals;
    share.m_separator = sep < 0 ? QChar(u',') : number[sep];
    share.m_percentSign = percentSign;
    share.m_typedNumerator = units;
    return share;
}

Share Share::parseFraction(const QString& compact, const QString& typed) {
    const qsizetype slash = compact.indexOf(u'/');
    const QString top = compact.left(slash);
    const QString bottom = compact.mid(slash + 1);
    if (top.isEmpty() || bottom.isEmpty() || !isDigits(top) || !isDigits(bottom))
        refuseUnrecognised(typed);
    if (top.size() > MaxDigits || bottom.size() > MaxDigits)
        refuse(typed, QStringLiteral("знаменатель дроби не больше %1.").arg(MaxDenominator));
    const std::int64_t numerator = digitsValue(top);
    const std::int64_t denominator = digitsValue(bottom);
    if (denominator == 0)
        refuse(typed, QStringLiteral("знаменатель дроби не может быть нулём."));
    if (numerator == 0 || numerator >= denominator)
        refuseOutOfRange(typed);
    Share share = make(numerator, denominator, typed);
    if (share.m_denominator > MaxDenominator)
        refuse(typed, QStringLiteral("знаменатель дроби не больше %1.").arg(MaxDenominator));
    share.m_form = Form::Fraction;
    share.m_typedNumerator = numerator;
    share.m_typedDenominator = denominator;
    return share;
}

Share Share::make(std::int64_t numerator, std::int64_t denominator, const QString& typed) {
    const std::int64_t divisor = std::gcd(numerator, denominator);
    Share share;
    share.m_numerator = numerator / divisor;
    share.m_denominator = denominator / divisor;
    share.m_text = typed;
    return share;
}

QString Share::otherText() const {
    switch (m_form) {
    case Form::Equal:
        return {};
    case Form::Fraction:
        return QStringLiteral("%1/%2").arg(m_typedDenominator - m_typedNumerator).arg(m_typedDenominator);
    case Form::Percent:
        break;
    }
    const std::int64_t scale = pow10(m_percentDecimals);
    const std::int64_t units = 100 * scale - m_typedNumerator;
    QString out = QString::number(units / scale);
    if (m_percentDecimals > 0)
        out += m_separator + QString::number(units % scale).rightJustified(m_percentDecimals, u'0');
    if (m_percentSign)
        out += u'%';
    return out;
}

} // namespace ravnobor
