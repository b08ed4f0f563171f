#pragma once

#include "split/ExactAmount.h"
#include "store/Money.h"
#include "store/Share.h"

#include <QLocale>
#include <QString>

namespace ravnobor::split {

// What the totals panel and the division report show about the shares: party 1's
// target (half the distributed sum with equal shares) and the equalising lines.
struct ShareTotals {
    QString targetCaption; // "Половина от суммы распределенного имущества" with equal shares
    QString targetText; // amount text of party 1's target
    QString party1Line; // "Вычесть до равенства  " / "Доплатить до равенства  " + amount
    QString party2Line;
    ExactAmount target;  // party 1's target, exact
    ExactAmount payment; // |S1 − target|, exact
    bool party1Pays = false;
};

inline const QString HalfCaption = QStringLiteral("Половина от суммы распределенного имущества");
inline const QString SubtractToEqual = QStringLiteral("Вычесть до равенства  ");
inline const QString PayUpToEqual = QStringLiteral("Доплатить до равенства  ");
inline const QString SubtractToShare = QStringLiteral("Вычесть до установленной доли  ");
inline const QString PayUpToShare = QStringLiteral("Доплатить до установленной доли  ");

// "Доля стороны 1 (1/3) от суммы распределенного имущества": the share as typed.
QString shareCaption(const Share& share);

// From the two shares' sums S1 and S2. Party 1's target is share × (S1 + S2); the party
// above its target is shown the amount to subtract, the other the amount to pay up,
// both |S1 − target|. With equal shares the texts are those of an equal division.
ShareTotals shareTotals(const ExactAmount& share1Total, const ExactAmount& share2Total, const Share& share,
                        const QString& currencySuffix, const QLocale& locale = QLocale());

} // namespace ravnobor::split
