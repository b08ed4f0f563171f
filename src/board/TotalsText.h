#pragma once

#include "split/ExactAmount.h"
#include "store/Money.h"
#include "store/Share.h"

#include <QLocale>
#include <QString>

// The texts of the totals panel, built from the three column sums.
namespace ravnobor::board {

struct TotalsInput {
    split::ExactAmount undistributed; // U, the centre list
    split::ExactAmount share1;        // S1, the left list, split items with party 1's part
    split::ExactAmount share2;        // S2, the right list
    QString currencySuffix;
    QString party1Name;
    QString party2Name;
};

struct TotalsTexts {
    QString edit17;       // total of all property
    QString edit18;       // distributed
    QString edit19;       // undistributed
    QString edit20;       // half of the distributed part; party 1's target under an unequal share
    QString halfCaption;  // the caption of Edit20
    QString label14;      // party 1's name
    QString label8;       // party 2's name
    QString edit16;       // party 1's share
    QString edit9;        // party 2's share
    QString edit12;       // party 1's equalising line
    QString edit10;       // party 2's equalising line
    QString priceCaption; // column 1 of every list
};

inline const QString SubtractText = QStringLiteral("Вычесть до равенства  ");
inline const QString PayUpText = QStringLiteral("Доплатить до равенства  ");

TotalsTexts totalsTexts(const TotalsInput& input, const QLocale& locale = QLocale());
// With party 1's share of the distributed part set by the case (equal shares give the texts above).
TotalsTexts totalsTexts(const TotalsInput& input, const split::Share& share, const QLocale& locale = QLocale());

} // namespace ravnobor::board
