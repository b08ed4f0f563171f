#pragma once

#include <QLocale>
#include <QString>

// An exact decimal amount: a 128-bit integer count of 10^-8 units. Prices carry at
// most a few decimals and are bounded, so sums and halves stay exact at any case size.
namespace ravnobor {

__extension__ typedef __int128 Int128;

class Money {
public:
    static constexpr int Decimals = 8;

    constexpr Money() = default;

    // The stored number's shortest decimal text decides the value, never its binary digits.
    static Money fromDouble(double value);
    // A plain decimal text with a point: "-12.5", "1000", "0.000001". Returns zero on junk.
    static Money fromDecimalText(QStringView text);
    static Money fromUnits(Int128 units) { return Money(units); }

    Int128 units() const { return m_units; }
    bool isZero() const { return m_units == 0; }

    Money operator+(Money other) const { return Money(m_units + other.m_units); }
    Money operator-(Money other) const { return Money(m_units - other.m_units); }
    Money operator-() const { return Money(-m_units); }
    Money& operator+=(Money other) {
        m_units += other.m_units;
        return *this;
    }
    Money& operator-=(Money other) {
        m_units -= other.m_units;
        return *this;
    }
    auto operator<=>(const Money&) const = default;

    // Exact while the value has fewer than Decimals decimals, which every price has.
    Money half() const { return Money(m_units / 2); }
    Money abs() const { return Money(m_units < 0 ? -m_units : m_units); }

    // Two decimals, half away from zero, no grouping, the locale's separator, never "-0,00".
    QString toText(const QLocale& locale = QLocale()) const;
    // The amount text: number, one blank, currency suffix.
    QString toAmountText(const QString& currencySuffix, const QLocale& locale = QLocale()) const;
    // Shortest exact decimal text ("1500", "1234,5") with the locale's separator.
    QString toPlainText(const QLocale& locale = QLocale()) const;

private:
    explicit constexpr Money(Int128 units) : m_units(units) {}
    Int128 m_units = 0;
};

} // namespace ravnobor
