#pragma once

#include "store/Money.h"

#include <QString>

namespace ravnobor::documents {

// An amount written out as Russian legal documents write it: the whole units in words
// in the currency's forms, the hundredths in two digits ("четыре миллиона двести семь
// тысяч восемьсот двадцать четыре рубля 63 копейки"). The currency is named by the
// program's suffix (руб., долл.США, ЕВРО, грн.); another suffix follows the words as
// it stands. The amount is rounded to hundredths, half away from zero; its sign is dropped.
QString amountInWords(Money amount, const QString& currencySuffix);

} // namespace ravnobor::documents
