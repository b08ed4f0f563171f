#pragma once

#include "store/Money.h"

#include <chrono>
#include <vector>

namespace ravnobor::split {

// Which values to take so that their sum comes as close to a target as it can.
struct SubsetChoice {
    std::vector<char> chosen; // one flag per value
    Int128 sum = 0;
    Int128 distance = 0;   // |sum − target|
    Int128 lowerBound = 0; // no choice comes closer: the step that the values allow
    bool proven = false;   // distance is the smallest possible
};

struct SubsetSearchOptions {
    std::chrono::milliseconds timeLimit{1000};
    // Up to this many non-zero values every choice is weighed (meet in the middle).
    int exhaustiveLimit = 40;
    // Beyond it, how many values each exact re-choice takes at a time.
    int groupSize = 28;
};

// Values may be negative. Exhaustive, and so proven, up to the limit of non-zero
// values; beyond it largest differencing, then exact re-choices of small random
// groups until the lower bound is reached or the time is up.
SubsetChoice closestSubset(const std::vector<Int128>& values, Int128 target, const SubsetSearchOptions& options = {});

// The distance that no choice can beat: the values' common divisor decides which
// sums exist at all.
Int128 subsetLowerBound(const std::vector<Int128>& values, Int128 target);

} // namespace ravnobor::split
