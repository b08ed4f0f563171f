#pragma once

#include "store/Money.h"
#include "store/Share.h"

#include <QLocale>
#include <QString>

namespace ravnobor::split {

// An amount that a share makes inexact as Money: a count of Money units over a
// positive denominator. Shares keep denominators small, so nothing here overflows
// for any case the program can hold; it is rounded only when shown.
class ExactAmount {
public:
    ExactAmount() = default;
    ExactAmount(Money money) : m_numerator(money.units()) {} // implicit: a Money is one exactly
    static ExactAmount ratio(Int128 units, Int128 denominator);

    // share × amount, and (1 − share) × amount.
    static ExactAmount partOf(const Share& share, Money amount);
    static ExactAmount otherPartOf(const Share& share, Money amount);

    Int128 numerator() const { return m_numerator; }
    Int128 denominator() const { return m_denominator; }
    int sign() const { return m_numerator > 0 ? 1 : (m_numerator < 0 ? -1 : 0); }

    ExactAmount operator+(const ExactAmount& other) const;
    ExactAmount operator-(const ExactAmount& other) const;
    ExactAmount operator-() const { return ratio(-m_numerator, m_denominator); }
    ExactAmount halved() const { return ratio(m_numerator, 2 * m_denominator); }
    ExactAmount abs() const { return sign() < 0 ? -*this : *this; }
    bool operator==(const ExactAmount& other) const;
    bool operator<(const ExactAmount& other) const { return (*this - other).sign() < 0; }
    bool operator>(const ExactAmount& other) const { return (*this - other).sign() > 0; }

    // The nearest whole cent, halves away from zero.
    Money roundedToCents() const;
    ExactAmount coarsened() const;
    QString toText(const QLocale& locale = QLocale()) const { return roundedToCents().toText(locale); }
    QString toAmountText(const QString& currencySuffix, const QLocale& locale = QLocale()) const {
        return roundedToCents().toAmountText(currencySuffix, locale);
    }

private:
    Int128 m_numerator = 0;
    Int128 m_denominator = 1;
};

} // namespace ravnobor::split
