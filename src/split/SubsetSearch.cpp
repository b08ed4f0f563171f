#include "split/SubsetSearch.h"

#include <algorithm>
#include <cstdint>
#include <queue>
#include <random>

namespace ravnobor::split {

namespace {

using Clock = std::chrono::steady_clock;

Int128 absolute(Int128 v) {
    return v < 0 ? -v : v;
}

Int128 gcd(Int128 a, Int128 b) {
    a = absolute(a);
    b = absolute(b);
    while (b != 0) {
        const Int128 t = a % b;
        a = b;
        b = t;
    }
    return a;
}

// Every subset sum of up to 31 values, ascending, each with the mask of the values taken.
struct SortedSums {
    std::vector<Int128> sums;
    std::vector<std::uint32_t> masks;
};

SortedSums sortedSubsetSums(const std::vector<Int128>& values) {
    const size_t total = size_t(1) << values.size();
    SortedSums out{std::vector<Int128>(total), std::vector<std::uint32_t>(total)};
    SortedSums next{std::vector<Int128>(total), std::vector<std::uint32_t>(total)};
    size_t m = 1; // out holds the sums of the first k values in its first m places
    for (size_t k = 0; k < values.size(); ++k, m *= 2) {
        // Adding one value to every sum keeps them sorted; merge the two runs.
        const Int128 v = values[k];
        const std::uint32_t bit = std::uint32_t(1) << k;
        size_t i = 0, j = 0, o = 0;
        while (i < m || j < m) {
            if (j == m || (i < m && out.sums[i] <= out.sums[j] + v)) {
                next.sums[o] = out.sums[i];
                next.masks[o++] = out.masks[i++];
            } else {
                next.sums[o] = out.sums[j] + v;
                next.masks[o++] = out.masks[j++] | bit;
            }
        }
        std::swap(out, next);
    }
    return out;
}

struct Pick {
    std::uint32_t maskA = 0;
    std::uint32_t maskB = 0;
    Int128 sum = 0;
};

// Meet in the middle: the closest sum of a subset of the values to the target, exactly.
Pick closestByHalves(const std::vector<Int128>& values, Int128 target) {
    const size_t half = values.size() / 2;
    const SortedSums a = sortedSubsetSums({values.begin(), values.begin() + std::ptrdiff_t(half)});
    const SortedSums b = sortedSubsetSums({values.begin() + std::ptrdiff_t(half), values.end()});
    Pick best;
    Int128 bestDistance = -1;
    size_t i = 0;
    std::ptrdiff_t j = std::ptrdiff_t(b.sums.size()) - 1;
    while (i < a.sums.size() && j >= 0) {
        const Int128 sum = a.sums[i] + b.sums[size_t(j)];
        const Int128 distance = absolute(sum - target);
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = {a.masks[i], b.masks[size_t(j)], sum};
            if (distance == 0)
                break;
        }
        if (sum < target)
            ++i;
        else
            --j;
    }
    return best;
}

std::vector<char> unpack(const Pick& pick, size_t count) {
    const size_t half = count / 2;
    std::vector<char> chosen(count, 0);
    for (size_t k = 0; k < count; ++k)
        chosen[k] = k < half ? (pick.maskA >> k) & 1 : (pick.maskB >> (k - half)) & 1;
    return chosen;
}

// Largest differencing with a phantom value that stands for the target: the values
// are split into two sides whose difference, less the phantom, is as small as it gets.
std::vector<char> differencing(const std::vector<Int128>& values, Int128 target) {
    Int128 total = 0;
    for (Int128 v : values)
        total += v;
    const Int128 phantom = 2 * target - total; // chosen − rest should equal it
    struct Node {
        Int128 magnitude;
        int id;
        bool operator<(const Node& other) const { return magnitude < other.magnitude; }
    };
    std::vector<Node> nodes;
    nodes.reserve(values.size() + 1);
    for (size_t i = 0; i < values.size(); ++i)
        nodes.push_back({absolute(values[i]), int(i)});
    const int phantomId = int(values.size());
    nodes.push_back({absolute(phantom), phantomId});
    std::priority_queue<Node> heap(std::less<Node>(), std::move(nodes));
    std::vector<std::pair<int, int>> opposite; // (kept, removed): the two lie on opposite sides
    opposite.reserve(values.size());
    while (heap.size() > 1) {
        const Node larger = heap.top();
        heap.pop();
        const Node smaller = heap.top();
        heap.pop();
        opposite.emplace_back(larger.id, smaller.id);
        heap.push({larger.magnitude - smaller.magnitude, larger.id});
    }
    std::vector<signed char> colour(values.size() + 1, 0);
    colour[size_t(heap.top().id)] = 1;
    for (auto it = opposite.rbegin(); it != opposite.rend(); ++it)
        colour[size_t(it->second)] = static_cast<signed char>(-colour[size_t(it->first)]);
    // The phantom must land on the side of the values not chosen.
    const int flip = phantom > 0 ? -colour[size_t(phantomId)] : (phantom < 0 ? colour[size_t(phantomId)] : 1);
    std::vector<char> chosen(values.size(), 0);
    for (size_t i = 0; i < values.size(); ++i) {
        const int sign = values[i] < 0 ? -1 : 1;
        chosen[i] = flip * colour[i] * sign > 0;
    }
    return chosen;
}

Int128 sumOf(const std::vector<Int128>& values, const std::vector<char>& chosen) {
    Int128 sum = 0;
    for (size_t i = 0; i < values.size(); ++i)
        if (chosen[i])
            sum += values[i];
    return sum;
}

// Re-chooses small random groups exactly, the rest held fixed; never gets worse.
// Returns true when a group held every value, so that the result is the optimum.
bool improveByGroups(const std::vector<Int128>& values, Int128 target, Int128 lowerBound, size_t groupLimit,
                     Clock::time_point deadline, std::vector<char>& chosen, Int128& sum) {
    const size_t groupSize = std::min(values.size(), std::clamp<size_t>(groupLimit, 1, 40));
    std::mt19937_64 random(20261210);
    std::vector<size_t> order(values.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::vector<Int128> group(groupSize);
    while (absolute(sum - target) > lowerBound && Clock::now() < deadline) {
        // A partial shuffle picks the group.
        for (size_t k = 0; k < groupSize; ++k)
            std::swap(order[k], order[k + random() % (order.size() - k)]);
        Int128 rest = sum;
        for (size_t k = 0; k < groupSize; ++k) {
            group[k] = values[order[k]];
            if (chosen[order[k]])
                rest -= group[k];
        }
        const Pick pick = closestByHalves(group, target - rest);
        if (absolute(rest + pick.sum - target) < absolute(sum - target)) {
            const std::vector<char> picked = unpack(pick, groupSize);
            for (size_t k = 0; k < groupSize; ++k)
                chosen[order[k]] = picked[k];
            sum = rest + pick.sum;
        }
        if (groupSize == values.size())
            return true;
    }
    return groupSize == values.size() && absolute(sum - target) <= lowerBound;
}

} // namespace

Int128 subsetLowerBound(const std::vector<Int128>& values, Int128 target) {
    Int128 step = 0;
    for (Int128 v : values)
        step = gcd(step, v);
    if (step == 0)
        return absolute(target);
    Int128 remainder = target % step;
    if (remainder < 0)
        remainder += step;
    return std::min(remainder, step - remainder);
}

SubsetChoice closestSubset(const std::vector<Int128>& values, Int128 target, const SubsetSearchOptions& options) {
    const Clock::time_point deadline = Clock::now() + options.timeLimit;
    // Zero values change no sum; they stay out of the search.
    std::vector<Int128> nonZero;
    std::vector<size_t> where;
    for (size_t i = 0; i < values.size(); ++i) {
        if (values[i] != 0) {
            nonZero.push_back(values[i]);
            where.push_back(i);
        }
    }
    SubsetChoice out;
    out.lowerBound = subsetLowerBound(nonZero, target);
    std::vector<char> chosen;
    Int128 sum = 0;
    // Masks of one half hold at most 20 values.
    if (int(nonZero.size()) <= std::min(options.exhaustiveLimit, 40)) {
        const Pick pick = closestByHalves(nonZero, target);
        chosen = unpack(pick, nonZero.size());
        sum = pick.sum;
        out.proven = true;
    } else {
        chosen = differencing(nonZero, target);
        sum = sumOf(nonZero, chosen);
        out.proven = improveByGroups(nonZero, target, out.lowerBound, size_t(std::max(options.groupSize, 1)), deadline,
                                     chosen, sum);
    }
    out.chosen.assign(values.size(), 0);
    for (size_t k = 0; k < where.size(); ++k)
        out.chosen[where[k]] = chosen[k];
    out.sum = sum;
    out.distance = absolute(sum - target);
    out.proven = out.proven || out.distance == out.lowerBound;
    return out;
}

} // namespace ravnobor::split
