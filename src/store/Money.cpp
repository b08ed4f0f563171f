#include "store/Money.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>

namespace ravnobor {

namespace {

constexpr Int128 pow10(int n) {
    Int128 r = 1;
    while (n-- > 0)
        r *= 10;
    return r;
}

constexpr Int128 Scale = pow10(Money::Decimals);

// Decimal digits of a non-negative value, filled from the end of a buffer: a list of
// 100,000 prices is formatted on every reload.
QString digitsOf(Int128 value) {
    char16_t buffer[40]; // 2^127 has 39 digits
    char16_t* const end = buffer + std::size(buffer);
    char16_t* first = end;
    // Above 64 bits a division costs many times more; most amounts never get there.
    while (value > Int128(std::numeric_limits<quint64>::max())) {
        *--first = char16_t(u'0' + int(value % 10));
        value /= 10;
    }
    quint64 rest = quint64(value);
    do {
        *--first = char16_t(u'0' + rest % 10);
        rest /= 10;
    } while (rest > 0);
    return QString(reinterpret_cast<const QChar*>(first), end - first);
}

} // namespace

Money Money::fromDouble(double value) {
    if (!std::isfinite(value))
        return {};
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (res.ec != std::errc())
        return {};
    // Widened on the stack: a reload reads 100,000 prices through here.
    char16_t text[sizeof buf];
    const auto length = qsizetype(res.ptr - buf);
    std::copy(buf, res.ptr, text);
    return fromDecimalText(QStringView(text, length));
}

Money Money::fromDecimalText(QStringView text) {
    bool negative = false;
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    Int128 whole = 0;
    Int128 fraction = 0;
    int fractionDigits = 0;
    bool roundUp = false;
    bool inFraction = false;
    bool anyDigit = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'.' && !inFraction) {
            inFraction = true;
            continue;
        }
        if (!c.isDigit() || c.unicode() > 127)
            return {};
        anyDigit = true;
        const int digit = c.unicode() - u'0';
        if (!inFraction) {
            whole = whole * 10 + digit;
            if (whole > pow10(20))
                return {};
        } else if (fractionDigits < Decimals) {
            fraction = fraction * 10 + digit;
            ++fractionDigits;
        } else if (fractionDigits == Decimals) {
            roundUp = digit >= 5; // half away from zero at the last kept digit
            ++fractionDigits;
        }
    }
    if (!anyDigit)
        return {};
    fraction *= pow10(Decimals - std::min(fractionDigits, int(Decimals)));
    Int128 units = whole * Scale + fraction + (roundUp ? 1 : 0);
    return Money(negative ? -units : units);
}

QString Money::toText(const QLocale& locale) const {
    constexpr Int128 cent = pow10(Decimals - 2);
    Int128 magnitude = m_units < 0 ? -m_units : m_units;
    Int128 cents = magnitude / cent;
    if (magnitude % cent >= cent / 2)
        ++cents;
    const QString whole = digitsOf(cents / 100);
    const int frac = int(cents % 100);
    QString out;
    if (m_units < 0 && cents != 0)
        out += locale.negativeSign();
    out += whole + locale.decimalPoint() + QChar(u'0' + frac / 10) + QChar(u'0' + frac % 10);
    return out;
}

QString Money::toAmountText(const QString& currencySuffix, const QLocale& locale) const {
    return toText(locale) + u' ' + currencySuffix;
}

QString Money::toPlainText(const QLocale& locale) const {
    const Int128 magnitude = m_units < 0 ? -m_units : m_units;
    QString out;
    out.reserve(32);
    if (m_units < 0)
        out += locale.negativeSign();
    out += digitsOf(magnitude / Scale);
    quint64 frac = quint64(magnitude % Scale);
    if (frac != 0) {
        // All the decimals, zero-padded on the left, then without the trailing zeros.
        char16_t digits[Decimals];
        for (int i = Decimals - 1; i >= 0; --i) {
            digits[i] = char16_t(u'0' + frac % 10);
            frac /= 10;
        }
        int kept = Decimals;
        while (digits[kept - 1] == u'0')
            --kept;
        out += locale.decimalPoint();
        out += QStringView(digits, kept);
    }
    return out;
}

} // namespace ravnobor
