// A GeoJSON collection written in parts: the features cut into runs of about
// equal work, each run written as a collection of its own, and the
// collections joined into one. The text of each part is the GIS library's;
// this only finds where its features begin and end.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace tcmap {

// Where features of these weights are cut into at most `parts` runs of about
// equal weight: the first index of every run after the first, ascending, no
// run empty. No cut for one part or fewer features than two.
std::vector<size_t> balancedCuts(const std::vector<size_t>& weights, size_t parts);

// A FeatureCollection as one GeoJSON writer lays it out: a header ending in
// "features": [ and a line break, the features one per line with ",\n"
// between them, and "\n]\n}\n". The body is empty for a collection without
// features.
struct CollectionText {
    std::string_view header;  // up to and with the line break after "features": [
    std::string_view body;    // the features
};

// The header and body of `text`; none when it is not laid out as above.
std::optional<CollectionText> collectionText(std::string_view text);

// The end that follows the last feature.
inline constexpr std::string_view kCollectionEnd = "\n]\n}\n";

}  // namespace tcmap
