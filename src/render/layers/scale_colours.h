// The colour of a fix and the legend rows on the job's intensity scale:
// Saffir-Simpson keeps the colour tables the program has always drawn with;
// the CMA and JMA scales colour by their own bands.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "config/job_settings.h"
#include "i18n/text_id.h"

namespace tcmap {

struct IntensityScale;

// The job's scale; Saffir-Simpson for a name no scale has.
const IntensityScale& jobScale(const JobSettings& settings);

// Program colour (0x00BBGGRR) of a wind and system type.
uint32_t fixColour(const JobSettings& settings, bool tcv, int32_t wind, std::string_view typeCode);

struct ScaleLegendRow {
    int32_t wind;
    std::string_view typeCode;  // TCV style only
    TextId textId;
};

// The rows of the colour legend, weakest first.
std::vector<ScaleLegendRow> scaleLegendRows(const JobSettings& settings, bool tcv);

}  // namespace tcmap
