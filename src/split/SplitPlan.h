#pragma once

#include "split/ExactAmount.h"
#include "split/SubsetSearch.h"
#include "store/Money.h"
#include "store/Share.h"

#include <QtGlobal>

#include <optional>
#include <vector>

namespace ravnobor::split {

// One item of the property list as a suggested division sees it.
struct SplitItem {
    qint64 key = 0;     // row key in the property table
    Money price;        // by the chosen price basis; empty counts 0
    Money price1;       // party 1's own price
    Money price2;       // party 2's own price
    int allocation = 0; // where it lies now: 1, 0 or −1
    // Party 1's share when the item is split between the parties (its allocation is then 0):
    // kept in place it counts with its parts; placed again it goes whole.
    std::optional<Share> share;
};

enum class SplitMethod { MinimalPayment, OwnPrices };

struct SplitPlan {
    SplitMethod method = SplitMethod::MinimalPayment;
    bool keptPlaced = true;
    std::vector<int> allocation; // every item's new place, in the order given
    int count1 = 0;              // items with party 1 afterwards
    int count2 = 0;
    int changed = 0;    // items whose place changes
    int freeItems = 0;  // items the method was free to place
    ExactAmount share1; // by the chosen price basis, split items kept in place with their parts
    ExactAmount share2;
    // What party 1 pays party 2 (negative: party 2 pays party 1). For the smallest
    // payment this is S1 − target by the chosen basis; by own prices it is
    // ((V1 − F1) − (V2 − F2)) / 2.
    ExactAmount payment;
    bool proven = false; // no placement of the free items gives a smaller payment
    // By own prices: Vi, the total of party i's own prices of what it receives; Fi, its
    // share of its own prices of everything; and what it ends with above Fi after the payment.
    ExactAmount own1;
    ExactAmount own2;
    ExactAmount fair1;
    ExactAmount fair2;
    ExactAmount result1;
    ExactAmount result2;
};

// Every free item (undistributed; every item when keepPlaced is false) goes to a party so
// that party 1's share comes as close to its target share × (S1 + S2) as the prices allow.
SplitPlan planMinimalPayment(const std::vector<SplitItem>& items, const Share& share, bool keepPlaced,
                             const SubsetSearchOptions& options = {});

// Every free item goes to the party naming the higher price for it; a tie goes where it
// makes the payment smaller. Each party then ends the same amount above its fair share.
SplitPlan planByOwnPrices(const std::vector<SplitItem>& items, const Share& share, bool keepPlaced);

} // namespace ravnobor::split
