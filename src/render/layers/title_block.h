// The title block: who and what the map shows, in one or two lines in a top
// corner, with the source of the tracks in small type below. One storm gives
// its name, id and period; several give the season and basin; the second
// line holds the peak wind, the lowest pressure and the ACE, and a
// forecast's cycle. A title text from the settings takes the place of the
// first two lines.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "config/job_settings.h"
#include "render/layers/annotation_text.h"
#include "render/layers/layer.h"

namespace tcmap {

class LanguagePack;

struct TitleLines {
    std::string headline;  // "IAN (AL092022)  2022-09-23 – 2022-10-01"
    std::string details;   // "140 kt • 937 hPa • 17.5 ACE"; may be empty
    std::string source;    // "Source: ATCF bal092022.dat"; may be empty
};

TitleLines titleLines(std::span<const MapStorm> storms, const LanguagePack& lang,
                      const std::string& titleText);

// "2022-09-23" of a time that starts with the year, month and day; with
// `withHour`, "2022-09-23 06". A shorter time is given back as it is.
std::string dateText(std::string_view time, bool withHour);

struct TitleLine {
    std::string text;
    double em = 0;
    TextBox box;
};

struct TitleBlock {
    std::vector<TitleLine> lines;
    TextBox area;  // the backing behind all lines
};

// The block on a picture of `width` x `height`: top left, or top right when
// the legend takes the top-left corner.
TitleBlock layoutTitle(const TitleLines& lines, int32_t width, int32_t height, LegendCorner legend);

// The title block this job draws, or nothing when the settings want none.
std::optional<TitleBlock> jobTitle(const LayerInput& input);

// The layer, when the settings ask for a title.
void drawTitleLayer(const LayerInput& input, Canvas& canvas, LayerLog& log);

}  // namespace tcmap
