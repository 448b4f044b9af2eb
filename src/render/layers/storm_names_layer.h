// Each storm's name beside the first fix of its track (or its strongest fix
// when the first lies outside the picture), placed greedily: the first of a
// few positions around the fix that stays inside the picture and clear of the
// names placed before, the legend and the title. A name with no free
// position is left out rather than drawn over another.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "render/layers/annotation_text.h"
#include "render/layers/layer.h"

namespace tcmap {

struct PlacedName {
    std::string text;
    TextBox box;
};

// "Ian" for "IAN": archive and ATCF names are upper case; names in other
// scripts stay as they are. An empty name gives the storm id.
std::string stormNameText(const MapStorm& storm);

// The names of the input's best-track storms, in em size `em`, around their
// anchors and clear of `obstacles`; left of the anchor first where TCV
// labels take its right.
std::vector<PlacedName> placeStormNames(const LayerInput& input, std::span<const TextBox> obstacles,
                                        double em);

// The layer, when the settings ask for storm names.
void drawStormNamesLayer(const LayerInput& input, Canvas& canvas, LayerLog& log);

}  // namespace tcmap
