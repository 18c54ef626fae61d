// The longest common subsequence of two sequences (Myers' difference
// algorithm), for the run lists of the translation check and the lines and
// bytes of the round trip.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

namespace tessel::verify {

using MatchedPairs = std::vector<std::pair<std::size_t, std::size_t>>;

// The index pairs (i, j) of a longest common subsequence of a[0..n) and
// b[0..m), in increasing order; `equal(i, j)` compares a[i] with b[j].
// Nothing when more than `maxEdits` insertions and deletions separate them
// (the work grows with their square).
template <typename Equal>
std::optional<MatchedPairs> commonSubsequence(std::size_t n, std::size_t m, Equal equal,
                                              std::size_t maxEdits) {
    MatchedPairs pairs;
    std::size_t prefix = 0;
    while (prefix < n && prefix < m && equal(prefix, prefix)) {
        pairs.emplace_back(prefix, prefix);
        ++prefix;
    }
    std::size_t suffix = 0;
    while (suffix < n - prefix && suffix < m - prefix && equal(n - 1 - suffix, m - 1 - suffix)) {
        ++suffix;
    }
    const long na = static_cast<long>(n - prefix - suffix);
    const long nb = static_cast<long>(m - prefix - suffix);
    auto same = [&](long x, long y) {
        return equal(prefix + static_cast<std::size_t>(x), prefix + static_cast<std::size_t>(y));
    };
    if (na > 0 && nb > 0) {
        const long limit = std::min<long>(na + nb, static_cast<long>(maxEdits));
        const long offset = limit + 1;
        std::vector<long> v(static_cast<std::size_t>(2 * limit + 3), 0);
        // Row d holds the furthest x of the diagonals -d..d before step d.
        std::vector<std::vector<long>> trace;
        long found = -1;
        for (long d = 0; d <= limit && found < 0; ++d) {
            trace.emplace_back(v.begin() + (offset - d - 1), v.begin() + (offset + d + 2));
            for (long k = -d; k <= d; k += 2) {
                long x;
                if (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1])) {
                    x = v[offset + k + 1];
                } else {
                    x = v[offset + k - 1] + 1;
                }
                long y = x - k;
                while (x < na && y < nb && same(x, y)) {
                    ++x;
                    ++y;
                }
                v[offset + k] = x;
                if (x >= na && y >= nb) {
                    found = d;
                    break;
                }
            }
        }
        if (found < 0) return std::nullopt;
        // Walk back through the saved rows to collect the diagonal moves.
        MatchedPairs middle;
        long x = na;
        long y = nb;
        for (long d = found; d > 0; --d) {
            const std::vector<long>& row = trace[static_cast<std::size_t>(d)];
            auto before = [&](long diagonal) {
                return row[static_cast<std::size_t>(diagonal + d + 1)];
            };
            long k = x - y;
            long previousK;
            if (k == -d || (k != d && before(k - 1) < before(k + 1))) {
                previousK = k + 1;
            } else {
                previousK = k - 1;
            }
            long previousX = before(previousK);
            long previousY = previousX - previousK;
            while (x > previousX && y > previousY) {
                --x;
                --y;
                middle.emplace_back(prefix + static_cast<std::size_t>(x),
                                    prefix + static_cast<std::size_t>(y));
            }
            x = previousX;
            y = previousY;
        }
        while (x > 0 && y > 0) {
            --x;
            --y;
            middle.emplace_back(prefix + static_cast<std::size_t>(x),
                                prefix + static_cast<std::size_t>(y));
        }
        std::reverse(middle.begin(), middle.end());
        pairs.insert(pairs.end(), middle.begin(), middle.end());
    }
    for (std::size_t i = 0; i < suffix; ++i) {
        pairs.emplace_back(n - suffix + i, m - suffix + i);
    }
    return pairs;
}

}  // namespace tessel::verify
