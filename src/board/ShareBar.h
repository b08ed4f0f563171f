#pragma once

#include "store/Money.h"
#include "store/Share.h"

#include <QLocale>
#include <QString>

// The balance at a glance: what the bar under the totals shows, from the kept sums.
namespace ravnobor::board {

struct ShareBarInput {
    Money share1;        // the left list's sum
    Money share2;        // the right list's sum
    Money undistributed; // the centre list's sum
    Share target;        // party 1's share of the distributed part
    QString party1Name;
    QString party2Name;
};

struct ShareBar {
    bool empty = true; // nothing distributed: an empty frame with emptyText
    // Party 1's part and its target as exact fractions of the distributed total.
    Money share1;
    Money distributed;
    Share target;
    QString party1Name;
    QString party2Name;
    QString party1Percent; // "60,0 %"
    QString party2Percent;
    QString party1Label; // "<name> 60,0 %"
    QString party2Label;
    QString undistributedLabel; // "Не распределено: 20,0 %", of all property

    // Where party 1's part ends and where the target mark stands in a bar `width` pixels wide.
    int party1Width(int width) const;
    int targetX(int width) const;
};

inline const QString EmptyShareBarText = QStringLiteral("Нет распределённого имущества");
inline const QString TargetMarkText = QStringLiteral("цель");

ShareBar shareBar(const ShareBarInput& input, const QLocale& locale = QLocale());

// part / whole as a percent with one decimal, half away from zero: "33,3 %".
QString percentText(Money part, Money whole, const QLocale& locale = QLocale());

} // namespace ravnobor::board
