#pragma once

#include "split/SplitPlan.h"

#include <QLocale>
#include <QString>

namespace ravnobor::split {

// What the dialog shows about a suggested division before anything is written.
struct SplitPreview {
    QString party1; // how many items party 1 gets and its share by the chosen basis
    QString party2;
    QString payment; // the payment and who pays whom
    QString own1;    // by own prices: what each party ends with above its fair share
    QString own2;
    QString quality; // proven the smallest payment, or the best found in the time
    QString changed; // how many items change place
};

struct PreviewNames {
    QString party1Name;
    QString party2Name;
    QString currencySuffix;
};

SplitPreview splitPreview(const SplitPlan& plan, const PreviewNames& names, const QLocale& locale = QLocale());

} // namespace ravnobor::split
