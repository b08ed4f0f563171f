#include "split/ExactAmount.h"

namespace ravnobor::split {

namespace {

Int128 gcd(Int128 a, Int128 b) {
    if (a < 0)
        a = -a;
    if (b < 0)
        b = -b;
    while (b != 0) {
        const Int128 t = a % b;
        a = b;
        b = t;
    }
    return a;
}

constexpr Int128 UnitsPerCent = 1000000; // Money keeps 8 decimals

} // namespace

ExactAmount ExactAmount::ratio(Int128 units, Int128 denominator) {
    if (denominator < 0) {
        units = -units;
        denominator = -denominator;
    }
    const Int128 divisor = gcd(units, denominator);
    ExactAmount out;
    if (divisor > 1) {
        units /= divisor;
        denominator /= divisor;
    }
    out.m_numerator = units;
    out.m_denominator = denominator;
    return out;
}

ExactAmount ExactAmount::partOf(const Share& share, Money amount) {
    return ratio(amount.units() * share.numerator(), share.denominator());
}

ExactAmount ExactAmount::otherPartOf(const Share& share, Money amount) {
    return ratio(amount.units() * share.otherNumerator(), share.denominator());
}

ExactAmount ExactAmount::operator+(const ExactAmount& other) const {
    if (m_denominator == other.m_denominator)
        return ratio(m_numerator + other.m_numerator, m_denominator);
    const Int128 common = gcd(m_denominator, other.m_denominator);
    const Int128 left = other.m_denominator / common;
    const Int128 right = m_denominator / common;
    return ratio(m_numerator * left + other.m_numerator * right, m_denominator * left);
}

ExactAmount ExactAmount::operator-(const ExactAmount& other) const {
    return *this + (-other);
}

bool ExactAmount::operator==(const ExactAmount& other) const {
    return m_numerator == other.m_numerator && m_denominator == other.m_denominator;
}

Money ExactAmount::roundedToCents() const {
    const Int128 magnitude = m_numerator < 0 ? -m_numerator : m_numerator;
    const Int128 step = m_denominator * UnitsPerCent;
    Int128 cents = magnitude / step;
    if (2 * (magnitude % step) >= step)
        ++cents;
    return Money::fromUnits((m_numerator < 0 ? -cents : cents) * UnitsPerCent);
}

} // namespace ravnobor::split
