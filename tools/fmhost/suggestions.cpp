#include "suggestions.h"

#include <algorithm>
#include <cstddef>

namespace fmhost {
namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Insertions, deletions, replacements and swaps of neighbours that turn `a`
// into `b` (the restricted Damerau-Levenshtein distance).
std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t cost = lower(a[i - 1]) == lower(b[j - 1]) ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && lower(a[i - 1]) == lower(b[j - 2]) && lower(a[i - 2]) == lower(b[j - 1]))
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

}  // namespace

std::optional<std::string> closestName(std::string_view unknown, const std::vector<std::string>& known) {
    const std::size_t limit = std::min<std::size_t>(3, unknown.size() / 3);
    std::optional<std::string> best;
    std::size_t bestDistance = limit + 1;
    for (const std::string& name : known) {
        // Names far apart in length cannot be near; skip the table for them.
        const std::size_t gap = name.size() > unknown.size() ? name.size() - unknown.size() : unknown.size() - name.size();
        if (gap > limit) continue;
        const std::size_t distance = editDistance(unknown, name);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = name;
        }
    }
    return best;
}

}  // namespace fmhost
