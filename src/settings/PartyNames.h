#pragma once

#include <QString>
#include <QVariant>

#include <array>

// Display names of the parties, the variant line and the currency choices: text
// rules without widgets, so that they can be checked headless.
namespace ravnobor::settings {

// What the case holds about one party.
struct PartyFields {
    bool legalEntity = false;
    QString surname;
    QString firstName;
    QString patronymic;
    QString entityName;
};

// A legal entity goes by its name exactly as stored; a natural person by the
// surname and the initials, e.g. "Петров П. И.". The separators are always
// written, so empty parts leave them standing (" . .").
QString composePartyName(const PartyFields& party);

// The first character the user sees: a whole surrogate pair, together with any
// combining marks that follow it. Empty for an empty text.
QString firstWholeCharacter(const QString& text);

// A stored yes/no flag; a case file may hold anything, an empty value is "no".
bool storedFlag(const QVariant& value);

// Text for a menu item, a button or a radio button: "&" would otherwise mark a
// shortcut and vanish from the caption.
QString menuText(const QString& name);

// The third choice of the price basis keeps its own text.
inline const QString AgreedPriceEntry = QStringLiteral("Согласованная");

// The entries of the two groups of the variant dialog, as the dialog lists them.
QString variantEntry(int divisionVariant, const QString& party1Name, const QString& party2Name);
QString priceBasisEntry(int priceBasis, const QString& party1Name, const QString& party2Name);

// The line above the board: "  Вариант раздела: <variant>,  цена: <basis>".
QString variantLine(const QString& variantEntryText, const QString& priceBasisEntryText);

struct Currency {
    QString itemText; // in the currency dialog
    QString suffix;   // after every amount
};
inline const std::array<Currency, 4> Currencies = {{
    {QStringLiteral("Рубли"), QStringLiteral("руб.")},
    {QStringLiteral("Доллары"), QStringLiteral("долл.США")},
    {QStringLiteral("Евро"), QStringLiteral("ЕВРО")},
    {QStringLiteral("Гривны"), QStringLiteral("грн.")},
}};

} // namespace ravnobor::settings
