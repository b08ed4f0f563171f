#pragma once

#include <QLocale>
#include <QString>
#include <QVariant>

#include "store/Money.h"

// Conversions between stored numbers and the texts a user reads and types.
namespace ravnobor::store {

// The shortest plain decimal text of a stored number: no grouping, no exponent,
// the locale's separator (1500, 1234,5, 0,1). A null value gives an empty text.
QString plainNumberText(const QVariant& stored, const QLocale& locale = QLocale());

// A typed price: blanks around it ignored, the locale's separator (and a point where
// the locale's separator is a comma and a point is not its group separator).
// Empty text gives a null value; anything that is not a finite number within the
// price limit throws an Error that names the column and the text.
QVariant priceFromText(const QString& text, const QString& columnName, const QLocale& locale = QLocale());

// A typed allocation: an integer or empty; anything else throws an Error naming the column.
QVariant integerFromText(const QString& text, const QString& columnName);

// A stored price as exact money for sums: empty (null or blank) counts 0. A value that
// is no usable price (a case file from elsewhere may hold one) throws an Error naming
// the value, the column and the item, followed by what the command therefore did not do.
Money storedPriceMoney(const QVariant& stored, const QString& column, const QString& itemName,
                       const QString& consequence);

// True when a stored value is a usable price: null, or a finite number within the limit.
bool isAcceptablePrice(const QVariant& stored);

} // namespace ravnobor::store
