#include "split/SplitPlan.h"

#include "store/Layout.h"

#include <algorithm>
#include <numeric>

namespace ravnobor::split {

namespace {

bool isFree(const SplitItem& item, bool keepPlaced) {
    return !keepPlaced || (!item.share && layout::allocationTag(item.allocation) == layout::Undistributed);
}

// A split item that stays split: it is with both parties, each with its part.
bool staysSplit(const SplitItem& item, bool keepPlaced) {
    return keepPlaced && item.share.has_value();
}

ExactAmount ofShare(const ExactAmount& amount, const Share& share) {
    return ExactAmount::ratio(amount.numerator() * share.numerator(), amount.denominator() * share.denominator());
}

// The placement so far: placed items keep their side unless everything is to be placed again.
std::vector<int> startingAllocation(const std::vector<SplitItem>& items, bool keepPlaced) {
    std::vector<int> allocation(items.size(), layout::Undistributed);
    for (size_t i = 0; i < items.size(); ++i)
        if (!isFree(items[i], keepPlaced))
            allocation[i] = layout::allocationTag(items[i].allocation);
    return allocation;
}

// Counts, both shares by the chosen basis and both parties' own-price figures.
void summarise(const std::vector<SplitItem>& items, const Share& share, SplitPlan& plan) {
    Money all1;
    Money all2;
    for (size_t i = 0; i < items.size(); ++i) {
        const SplitItem& item = items[i];
        all1 += item.price1;
        all2 += item.price2;
        if (plan.allocation[i] != layout::allocationTag(item.allocation))
            ++plan.changed;
        if (isFree(item, plan.keptPlaced))
            ++plan.freeItems;
        if (staysSplit(item, plan.keptPlaced)) {
            ++plan.count1;
            ++plan.count2;
            plan.share1 = plan.share1 + ExactAmount::partOf(*item.share, item.price);
            plan.share2 = plan.share2 + ExactAmount::otherPartOf(*item.share, item.price);
            plan.own1 = plan.own1 + ExactAmount::partOf(*item.share, item.price1);
            plan.own2 = plan.own2 + ExactAmount::otherPartOf(*item.share, item.price2);
        } else if (plan.allocation[i] == layout::ToParty1) {
            ++plan.count1;
            plan.share1 = plan.share1 + item.price;
            plan.own1 = plan.own1 + item.price1;
        } else if (plan.allocation[i] == layout::ToParty2) {
            ++plan.count2;
            plan.share2 = plan.share2 + item.price;
            plan.own2 = plan.own2 + item.price2;
        }
    }
    plan.fair1 = ExactAmount::partOf(share, all1);
    plan.fair2 = ExactAmount::otherPartOf(share, all2);
}

// ((V1 − F1) − (V2 − F2)) / 2, and what each party keeps above its fair share after it.
void settleByOwnPrices(SplitPlan& plan) {
    plan.payment = ((plan.own1 - plan.fair1) - (plan.own2 - plan.fair2)).halved();
    plan.result1 = plan.own1 - plan.payment - plan.fair1;
    plan.result2 = plan.own2 + plan.payment - plan.fair2;
}

// Items that weigh nothing go to the party with fewer items, so neither list is left bare.
void placeWeightless(const std::vector<size_t>& weightless, std::vector<int>& allocation) {
    int count1 = int(std::count(allocation.begin(), allocation.end(), int(layout::ToParty1)));
    int count2 = int(std::count(allocation.begin(), allocation.end(), int(layout::ToParty2)));
    for (size_t i : weightless) {
        const bool toParty1 = count1 <= count2;
        allocation[i] = toParty1 ? layout::ToParty1 : layout::ToParty2;
        ++(toParty1 ? count1 : count2);
    }
}

} // namespace

SplitPlan planMinimalPayment(const std::vector<SplitItem>& items, const Share& share, bool keepPlaced,
                             const SubsetSearchOptions& options) {
    SplitPlan plan;
    plan.method = SplitMethod::MinimalPayment;
    plan.keptPlaced = keepPlaced;
    plan.allocation = startingAllocation(items, keepPlaced);
    // In units of 1/denominator of a Money unit: minimise |D·(L1 + chosen) − N·T|.
    const Int128 numerator = share.numerator();
    const Int128 denominator = share.denominator();
    Int128 total = 0;
    Int128 placed1 = 0;
    std::vector<size_t> free;
    std::vector<size_t> weightless;
    std::vector<Int128> values;
    for (size_t i = 0; i < items.size(); ++i) {
        const Int128 units = items[i].price.units();
        total += units;
        if (plan.allocation[i] == layout::ToParty1)
            placed1 += units;
        // A split part is rarely whole units; the search may take it to the nearest one,
        // the payment below is exact.
        if (staysSplit(items[i], keepPlaced))
            placed1 += units * items[i].share->numerator() / items[i].share->denominator();
        if (!isFree(items[i], keepPlaced))
            continue;
        if (units == 0) {
            weightless.push_back(i);
            continue;
        }
        free.push_back(i);
        values.push_back(denominator * units);
    }
    const SubsetChoice choice = closestSubset(values, numerator * total - denominator * placed1, options);
    for (size_t k = 0; k < free.size(); ++k)
        plan.allocation[free[k]] = choice.chosen[k] ? layout::ToParty1 : layout::ToParty2;
    placeWeightless(weightless, plan.allocation);
    plan.proven = choice.proven;
    summarise(items, share, plan);
    plan.payment = plan.share1 - ofShare(plan.share1 + plan.share2, share);
    plan.result1 = plan.own1 - plan.fair1;
    plan.result2 = plan.own2 - plan.fair2;
    return plan;
}

SplitPlan planByOwnPrices(const std::vector<SplitItem>& items, const Share& share, bool keepPlaced) {
    SplitPlan plan;
    plan.method = SplitMethod::OwnPrices;
    plan.keptPlaced = keepPlaced;
    plan.allocation = startingAllocation(items, keepPlaced);
    std::vector<size_t> ties;
    for (size_t i = 0; i < items.size(); ++i) {
        if (!isFree(items[i], keepPlaced))
            continue;
        if (items[i].price1 > items[i].price2)
            plan.allocation[i] = layout::ToParty1;
        else if (items[i].price2 > items[i].price1)
            plan.allocation[i] = layout::ToParty2;
        else
            ties.push_back(i);
    }
    // A tie is worth the same to both: the largest first, each to the side that brings
    // the payment nearer to zero (to party 1 it adds half its price, to party 2 it takes half).
    std::stable_sort(ties.begin(), ties.end(),
                     [&](size_t a, size_t b) { return items[a].price1.abs() > items[b].price1.abs(); });
    SplitPlan sofar = plan;
    summarise(items, share, sofar);
    settleByOwnPrices(sofar);
    ExactAmount payment = sofar.payment;
    std::vector<size_t> weightless;
    for (size_t i : ties) {
        const ExactAmount half = ExactAmount(items[i].price1).halved();
        if (half.sign() == 0) {
            weightless.push_back(i);
            continue;
        }
        const ExactAmount toParty1 = payment + half;
        const ExactAmount toParty2 = payment - half;
        const bool party1 = toParty1.abs() < toParty2.abs();
        plan.allocation[i] = party1 ? layout::ToParty1 : layout::ToParty2;
        payment = party1 ? toParty1 : toParty2;
    }
    placeWeightless(weightless, plan.allocation);
    summarise(items, share, plan);
    settleByOwnPrices(plan);
    plan.proven = false;
    return plan;
}

} // namespace ravnobor::split
