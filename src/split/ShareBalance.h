#pragma once

#include "split/ExactAmount.h"
#include "store/Money.h"
#include "store/Share.h"

#include <QString>

#include <optional>

namespace ravnobor::split {

// The share of one item that brings the equalising payment to zero, counting every
// other item where it stands.
struct ShareBalance {
    bool possible = false;
    QString shareText;     // a reduced fraction, or a percent with 4 decimals
    ExactAmount needed;    // party 1's part of the item that balances exactly
    ExactAmount remainder; // the payment that a rounded percent leaves
};

// share1Without and share2Without are the parties' sums without this item; the case
// share sets party 1's target of the distributed sum with the item in it.
ShareBalance balanceShare(const ExactAmount& share1Without, const ExactAmount& share2Without,
                          const std::optional<Money>& price, const Share& caseShare);

// "Этим предметом доли не уравнять: нужно <amount> из <price>".
QString unbalancedText(const ShareBalance& balance, const std::optional<Money>& price, const QString& currencySuffix,
                       const QLocale& locale = QLocale());

} // namespace ravnobor::split
