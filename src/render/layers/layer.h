// The one shape of a map layer: it draws from the layer input onto the
// canvas and reports through the layer log, with pens, brushes and fonts of
// its own. The draw job lists the layers in their order in one place.
#pragma once

#include <span>
#include <string>

#include "config/job_settings.h"
#include "render/canvas/canvas.h"
#include "render/layers/agency_scene.h"
#include "render/layers/fix_table.h"
#include "render/layers/layer_log.h"
#include "render/layers/map_storms.h"
#include "render/layers/output_geometry.h"
#include "track/track.h"

namespace tcmap {

class LanguagePack;

// What every layer draws from.
struct LayerInput {
    const JobSettings& settings;
    bool tcv;  // TCV render style (else Wendrel)
    const OutputGeometry& frame;
    const FixTable& fixes;
    std::span<const RadiiRecord> radii;  // the wind radii the settings pick, in file order
    const LanguagePack& lang;
    std::string gridDataPath;
    std::span<const MapStorm> storms = {};  // in the order they were read
    const Picture* background = nullptr;    // the output as painted before the layers
    const AgencyScene* agencies = nullptr;  // null: no agency styles, no converted winds
};

using Layer = void (*)(const LayerInput& input, Canvas& canvas, LayerLog& log);

}  // namespace tcmap
