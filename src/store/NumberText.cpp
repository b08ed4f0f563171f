#include "store/NumberText.h"

#include "store/Error.h"
#include "store/Layout.h"
#include "store/Money.h"

#include <cmath>

namespace ravnobor::store {

QString plainNumberText(const QVariant& stored, const QLocale& locale) {
    if (stored.isNull())
        return {};
    if (stored.typeId() == QMetaType::LongLong || stored.typeId() == QMetaType::Int)
        return QString::number(stored.toLongLong()).replace(u'-', locale.negativeSign());
    bool ok = false;
    const double value = stored.toDouble(&ok);
    if (!ok)
        return stored.toString();
    return Money::fromDouble(value).toPlainText(locale);
}

namespace {

std::optional<double> readNumber(const QString& trimmed, const QLocale& locale) {
    bool ok = false;
    double value = locale.toDouble(trimmed, &ok);
    if (!ok && locale.decimalPoint() == QStringLiteral(",") && locale.groupSeparator() != QStringLiteral(".")) {
        QString withComma = trimmed;
        withComma.replace(u'.', u',');
        value = locale.toDouble(withComma, &ok);
    }
    if (!ok || !std::isfinite(value) || std::fabs(value) > layout::PriceLimit)
        return std::nullopt;
    return value;
}

} // namespace

QVariant priceFromText(const QString& text, const QString& columnName, const QLocale& locale) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return QVariant();
    if (const auto value = readNumber(trimmed, locale))
        return QVariant(*value);
    throw Error(QStringLiteral("В поле «%1» должно быть число (не больше 10^15 по модулю), а введено «%2»")
                    .arg(columnName, text));
}

QVariant integerFromText(const QString& text, const QString& columnName) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return QVariant();
    bool ok = false;
    const qint64 value = trimmed.toLongLong(&ok);
    if (!ok)
        throw Error(QStringLiteral("В поле «%1» должно быть целое число, а введено «%2»").arg(columnName, text));
    return QVariant(value);
}

Money storedPriceMoney(const QVariant& stored, const QString& column, const QString& itemName,
                       const QString& consequence) {
    if (stored.isNull() || (stored.typeId() == QMetaType::QString && stored.toString().trimmed().isEmpty()))
        return {};
    if (!isAcceptablePrice(stored))
        throw Error(QStringLiteral("Цена «%1» в поле «%2» у предмета «%3» не является числом, %4")
                        .arg(stored.toString(), column, itemName, consequence));
    return Money::fromDouble(stored.toDouble());
}

bool isAcceptablePrice(const QVariant& stored) {
    if (stored.isNull())
        return true;
    bool ok = false;
    const double value = stored.toDouble(&ok);
    return ok && std::isfinite(value) && std::fabs(value) <= layout::PriceLimit;
}

} // namespace ravnobor::store
