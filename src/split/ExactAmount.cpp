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

// The amount in millionths of a unit, rounded half away from zero: for sums whose exact
// denominator would no longer fit, a step far below the cent that display rounds to.
ExactAmount ExactAmount::coarsened() const {
    constexpr Int128 Fine = 1000000;
    const Int128 whole = m_numerator / m_denominator;
    const Int128 rest = m_numerator % m_denominator; // |rest| < denominator
    Int128 scaled = 0;
    if (__builtin_mul_overflow(rest, Fine, &scaled)) // a denominator beyond 10^32: keep the whole units
        return ratio(whole, 1);
    Int128 fraction = scaled / m_denominator;
    if (2 * (scaled % m_denominator >= 0 ? scaled % m_denominator : -(scaled % m_denominator)) >= m_denominator)
        fraction += scaled < 0 ? -1 : 1;
    return ratio(whole * Fine + fraction, Fine);
}

ExactAmount ExactAmount::operator+(const ExactAmount& other) const {
    Int128 sum = 0;
    if (m_denominator == other.m_denominator && !__builtin_add_overflow(m_numerator, other.m_numerator, &sum))
        return ratio(sum, m_denominator);
    const Int128 common = gcd(m_denominator, other.m_denominator);
    const Int128 left = other.m_denominator / common;
    const Int128 right = m_denominator / common;
    Int128 a = 0;
    Int128 b = 0;
    Int128 denominator = 0;
    if (!__builtin_mul_overflow(m_numerator, left, &a) && !__builtin_mul_overflow(other.m_numerator, right, &b) &&
        !__builtin_add_overflow(a, b, &sum) && !__builtin_mul_overflow(m_denominator, left, &denominator))
        return ratio(sum, denominator);
    // Many unrelated shares: exact to a millionth of a unit rather than wrong. Both
    // denominators then divide a million, so this sum fits.
    return coarsened() + other.coarsened();
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
