#include "documents/AmountWords.h"

#include <QStringList>

#include <array>

namespace ravnobor::documents {

namespace {

enum class Gender { Masculine, Feminine };

// The three forms a number takes a noun in: 1 рубль, 2 рубля, 5 рублей.
struct Noun {
    QString one, few, many;
    Gender gender;
};

struct CurrencyWords {
    Noun whole;
    Noun fraction;
};

const Noun Kopeck{QStringLiteral("копейка"), QStringLiteral("копейки"), QStringLiteral("копеек"), Gender::Feminine};
const Noun Cent{QStringLiteral("цент"), QStringLiteral("цента"), QStringLiteral("центов"), Gender::Masculine};

const std::array<std::pair<QString, CurrencyWords>, 4> Currencies = {{
    {QStringLiteral("руб."),
     {{QStringLiteral("рубль"), QStringLiteral("рубля"), QStringLiteral("рублей"), Gender::Masculine}, Kopeck}},
    {QStringLiteral("долл.США"),
     {{QStringLiteral("доллар США"), QStringLiteral("доллара США"), QStringLiteral("долларов США"), Gender::Masculine},
      Cent}},
    {QStringLiteral("ЕВРО"),
     {{QStringLiteral("евро"), QStringLiteral("евро"), QStringLiteral("евро"), Gender::Masculine}, Cent}},
    {QStringLiteral("грн."),
     {{QStringLiteral("гривна"), QStringLiteral("гривны"), QStringLiteral("гривен"), Gender::Feminine}, Kopeck}},
}};

// The powers of a thousand, each a noun of its own.
const std::array<Noun, 5> Scales = {{
    {QStringLiteral("тысяча"), QStringLiteral("тысячи"), QStringLiteral("тысяч"), Gender::Feminine},
    {QStringLiteral("миллион"), QStringLiteral("миллиона"), QStringLiteral("миллионов"), Gender::Masculine},
    {QStringLiteral("миллиард"), QStringLiteral("миллиарда"), QStringLiteral("миллиардов"), Gender::Masculine},
    {QStringLiteral("триллион"), QStringLiteral("триллиона"), QStringLiteral("триллионов"), Gender::Masculine},
    {QStringLiteral("квадриллион"), QStringLiteral("квадриллиона"), QStringLiteral("квадриллионов"), Gender::Masculine},
}};

const QString& form(const Noun& noun, qint64 n) {
    const qint64 lastTwo = n % 100;
    const qint64 last = n % 10;
    if (lastTwo >= 11 && lastTwo <= 14)
        return noun.many;
    if (last == 1)
        return noun.one;
    if (last >= 2 && last <= 4)
        return noun.few;
    return noun.many;
}

// 1..999 in words, for a noun of this gender.
void appendHundreds(QStringList& words, int n, Gender gender) {
    static const char* const hundreds[] = {"",        "сто",      "двести",  "триста",    "четыреста",
                                           "пятьсот", "шестьсот", "семьсот", "восемьсот", "девятьсот"};
    static const char* const tens[] = {"",          "",           "двадцать",  "тридцать",    "сорок",
                                       "пятьдесят", "шестьдесят", "семьдесят", "восемьдесят", "девяносто"};
    static const char* const teens[] = {"десять",     "одиннадцать", "двенадцать", "тринадцать",   "четырнадцать",
                                        "пятнадцать", "шестнадцать", "семнадцать", "восемнадцать", "девятнадцать"};
    static const char* const units[] = {"",     "один",  "два",  "три",    "четыре",
                                        "пять", "шесть", "семь", "восемь", "девять"};
    if (n >= 100)
        words << QString::fromUtf8(hundreds[n / 100]);
    const int rest = n % 100;
    if (rest >= 10 && rest < 20) {
        words << QString::fromUtf8(teens[rest - 10]);
        return;
    }
    if (rest >= 20)
        words << QString::fromUtf8(tens[rest / 10]);
    const int unit = rest % 10;
    if (unit == 1 && gender == Gender::Feminine)
        words << QStringLiteral("одна");
    else if (unit == 2 && gender == Gender::Feminine)
        words << QStringLiteral("две");
    else if (unit > 0)
        words << QString::fromUtf8(units[unit]);
}

// A whole number in words, for a noun of this gender; "ноль" for 0.
QStringList numberWords(qint64 n, Gender gender) {
    if (n == 0)
        return {QStringLiteral("ноль")};
    std::array<int, 6> groups{}; // units, thousands, millions, ...
    for (int& group : groups) {
        group = int(n % 1000);
        n /= 1000;
    }
    QStringList words;
    for (int scale = int(groups.size()) - 1; scale >= 1; --scale) {
        if (groups[size_t(scale)] == 0)
            continue;
        const Noun& noun = Scales[size_t(scale - 1)];
        appendHundreds(words, groups[size_t(scale)], noun.gender);
        words << form(noun, groups[size_t(scale)]);
    }
    if (groups[0] > 0)
        appendHundreds(words, groups[0], gender);
    return words;
}

} // namespace

QString amountInWords(Money amount, const QString& currencySuffix) {
    constexpr Int128 UnitsPerHundredth = 1000000; // Money keeps eight decimals
    const Int128 units = amount.abs().units();
    const auto hundredths = qint64((units + UnitsPerHundredth / 2) / UnitsPerHundredth);
    const qint64 whole = hundredths / 100;
    const qint64 fraction = hundredths % 100;
    const QString fractionDigits = QStringLiteral("%1").arg(fraction, 2, 10, QLatin1Char('0'));
    for (const auto& [suffix, currency] : Currencies) {
        if (suffix != currencySuffix)
            continue;
        QStringList words = numberWords(whole, currency.whole.gender);
        words << form(currency.whole, whole) << fractionDigits << form(currency.fraction, fraction);
        return words.join(u' ');
    }
    QStringList words = numberWords(whole, Gender::Masculine);
    words << currencySuffix << fractionDigits;
    return words.join(u' ');
}

} // namespace ravnobor::documents
