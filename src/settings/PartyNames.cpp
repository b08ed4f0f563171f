#include "settings/PartyNames.h"

#include <QTextBoundaryFinder>

namespace ravnobor::settings {

QString firstWholeCharacter(const QString& text) {
    if (text.isEmpty())
        return {};
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    const qsizetype end = graphemes.toNextBoundary();
    if (end <= 0) {
        // No boundary found: never cut a surrogate pair in half.
        const bool pair = text.size() > 1 && text.at(0).isHighSurrogate() && text.at(1).isLowSurrogate();
        return text.left(pair ? 2 : 1);
    }
    return text.left(end);
}

QString composePartyName(const PartyFields& party) {
    if (party.legalEntity)
        return party.entityName;
    return party.surname + u' ' + firstWholeCharacter(party.firstName) + QStringLiteral(". ") +
           firstWholeCharacter(party.patronymic) + u'.';
}

bool storedFlag(const QVariant& value) {
    if (value.isNull())
        return false;
    switch (value.typeId()) {
    case QMetaType::QString: {
        const QString text = value.toString().trimmed();
        bool isNumber = false;
        const double number = text.toDouble(&isNumber);
        if (isNumber)
            return number != 0;
        return text.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0 ||
               text.compare(QStringLiteral("yes"), Qt::CaseInsensitive) == 0;
    }
    case QMetaType::QByteArray:
        return false;
    default:
        return value.toDouble() != 0;
    }
}

QString menuText(const QString& name) {
    QString text = name;
    text.replace(u'&', QStringLiteral("&&"));
    return text;
}

QString variantEntry(int divisionVariant, const QString& party1Name, const QString& party2Name) {
    return divisionVariant == 1 ? party2Name : party1Name;
}

QString priceBasisEntry(int priceBasis, const QString& party1Name, const QString& party2Name) {
    switch (priceBasis) {
    case 1:
        return party2Name;
    case 2:
        return AgreedPriceEntry;
    default:
        return party1Name;
    }
}

QString variantLine(const QString& variantEntryText, const QString& priceBasisEntryText) {
    return QStringLiteral("  Вариант раздела: ") + variantEntryText + QStringLiteral(",  цена: ") + priceBasisEntryText;
}

} // namespace ravnobor::settings
