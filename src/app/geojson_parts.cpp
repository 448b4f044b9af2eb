#include "app/geojson_parts.h"

#include <algorithm>
#include <numeric>

namespace tcmap {

std::vector<size_t> balancedCuts(const std::vector<size_t>& weights, size_t parts) {
    std::vector<size_t> cuts;
    const size_t count = weights.size();
    if (parts < 2 || count < 2) return cuts;
    std::vector<size_t> before(count + 1, 0);  // the weight of the first i features
    std::partial_sum(weights.begin(), weights.end(), before.begin() + 1);
    const double total = static_cast<double>(before.back());
    for (size_t k = 1; k < parts; ++k) {
        const double share = total * static_cast<double>(k) / static_cast<double>(parts);
        // The first cut that holds the share, or the one before it when that
        // comes nearer; never the ends, never a run without a feature.
        size_t at = static_cast<size_t>(
            std::lower_bound(before.begin() + 1, before.begin() + static_cast<long>(count), share) -
            before.begin());
        if (at > 1 &&
            share - static_cast<double>(before[at - 1]) < static_cast<double>(before[at]) - share) {
            --at;
        }
        at = std::max(at, cuts.empty() ? size_t{1} : cuts.back() + 1);
        if (at >= count) break;
        cuts.push_back(at);
    }
    return cuts;
}

std::optional<CollectionText> collectionText(std::string_view text) {
    constexpr std::string_view kFeaturesStart = "\"features\": [\n";
    const size_t start = text.find(kFeaturesStart);
    if (start == std::string_view::npos) return std::nullopt;
    const size_t bodyStart = start + kFeaturesStart.size();
    // An empty collection ends right after its header's line break.
    const std::string_view rest = text.substr(bodyStart);
    if (rest == kCollectionEnd.substr(1)) return CollectionText{text.substr(0, bodyStart), {}};
    if (rest.size() < kCollectionEnd.size() || !rest.ends_with(kCollectionEnd)) {
        return std::nullopt;
    }
    return CollectionText{text.substr(0, bodyStart),
                          rest.substr(0, rest.size() - kCollectionEnd.size())};
}

}  // namespace tcmap
