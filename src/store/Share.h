#pragma once

#include <QString>

#include <cstdint>

namespace ravnobor {

// Party 1's share of the distributed property, kept as an exact fraction.
// Typed as a percent ("60", "33,33", "33.33") or as a fraction ("1/3"); blanks are
// ignored and an empty text means equal shares.
class Share {
public:
    // The largest denominator kept, so that share × a whole case's sum stays exact.
    static constexpr std::int64_t MaxDenominator = 1000000;
    static constexpr int MaxPercentDecimals = 4;

    Share() = default; // equal shares

    // Throws an Error with a Russian message for anything that is not a share
    // strictly between 0 and 1.
    static Share parse(const QString& text);
    // True when the text parses; otherwise the message is put into *error.
    static bool isValid(const QString& text, QString* error = nullptr);

    std::int64_t numerator() const { return m_numerator; }
    std::int64_t denominator() const { return m_denominator; }
    // Party 2's share as a fraction: (denominator - numerator) / denominator.
    std::int64_t otherNumerator() const { return m_denominator - m_numerator; }
    bool isEqual() const { return 2 * m_numerator == m_denominator; }
    // Typed as a percent ("60", "33,33 %") rather than as a fraction.
    bool isPercent() const { return m_form == Form::Percent; }
    // The text as the user typed it, blanks around it dropped; empty for equal shares.
    const QString& text() const { return m_text; }
    // Party 2's share written the way party 1's was typed: "2/3" for "1/3", "66,67" for "33,33".
    QString otherText() const;

private:
    static Share parsePercent(const QString& compact, const QString& typed);
    static Share parseFraction(const QString& compact, const QString& typed);
    static Share make(std::int64_t numerator, std::int64_t denominator, const QString& typed);

    std::int64_t m_numerator = 1;
    std::int64_t m_denominator = 2;
    QString m_text;
    // How it was typed, so that party 2's share reads the same way.
    enum class Form { Equal, Percent, Fraction } m_form = Form::Equal;
    int m_percentDecimals = 0;
    QChar m_separator = u',';
    bool m_percentSign = false;
    std::int64_t m_typedNumerator = 0;
    std::int64_t m_typedDenominator = 0;
};

} // namespace ravnobor

// The suggested division and its windows speak of the share as their own.
namespace ravnobor::split {
using ravnobor::Share;
} // namespace ravnobor::split
