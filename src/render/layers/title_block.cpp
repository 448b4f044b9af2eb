#include "render/layers/title_block.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "base/text_rules.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"
#include "render/layers/agency_scene.h"
#include "render/layers/draw_status.h"
#include "render/layers/legend_layer.h"
#include "render/layers/storm_names_layer.h"

namespace tcmap {

namespace {

constexpr std::string_view kBulletSeparator = " \xE2\x80\xA2 ";  // " • "
constexpr std::string_view kDash = " \xE2\x80\x93 ";             // " – "

TextId basinTextId(std::string_view basin) {
    const std::string code = toUpperAscii(basin);
    if (code == "AL" || code == "SL") return TextId::BasinAtlantic;
    if (code == "EP") return TextId::BasinEastPacific;
    if (code == "CP") return TextId::BasinCentralPacific;
    if (code == "WP") return TextId::BasinWestPacific;
    if (code == "IO" || code == "BB" || code == "AS") return TextId::BasinNorthIndian;
    if (code == "SH" || code == "SI" || code == "SP") return TextId::BasinSouthern;
    return TextId::BasinSeveral;
}

std::string fileName(std::string_view path) {
    const size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string statisticsText(const StormStatistics& s) {
    std::vector<std::string> parts;
    if (s.peakWind > 0) parts.push_back(std::to_string(s.peakWind) + " kt");
    if (s.lowestPressure > 0) parts.push_back(std::to_string(s.lowestPressure) + " hPa");
    if (s.ace > 0) {
        char ace[32];
        std::snprintf(ace, sizeof ace, "%.1f ACE", s.ace);
        parts.emplace_back(ace);
    }
    std::string text;
    for (const std::string& part : parts) {
        if (!text.empty()) text += kBulletSeparator;
        text += part;
    }
    return text;
}

void appendPart(std::string& line, const std::string& part, std::string_view separator) {
    if (part.empty()) return;
    if (!line.empty()) line += separator;
    line += part;
}

std::string stormLabel(const MapStorm& storm) {
    if (storm.name.empty() || storm.stormId.empty()) return stormNameText(storm);
    return stormNameText(storm) + " (" + storm.stormId + ")";
}

}  // namespace

std::string dateText(std::string_view time, bool withHour) {
    if (time.size() < 8) return std::string(time);
    std::string text = std::string(time.substr(0, 4)) + "-" + std::string(time.substr(4, 2)) + "-" +
                       std::string(time.substr(6, 2));
    if (withHour && time.size() >= 10) text += " " + std::string(time.substr(8, 2));
    return text;
}

TitleLines titleLines(std::span<const MapStorm> storms, const LanguagePack& lang,
                      const std::string& titleText) {
    TitleLines lines;
    std::vector<const MapStorm*> best;
    const MapStorm* forecast = nullptr;
    std::set<std::string> sources;
    std::set<std::string> agencies;
    for (const MapStorm& storm : storms) {
        if (storm.forecast) {
            if (forecast == nullptr) forecast = &storm;
        } else {
            best.push_back(&storm);
        }
        sources.insert(fileName(storm.source));
        if (!storm.agency.empty()) agencies.insert(storm.agency);
    }

    std::string period;
    if (!best.empty()) {
        std::string first = best.front()->firstTime;
        std::string last = best.front()->lastTime;
        StormStatistics total;
        for (const MapStorm* storm : best) {
            first = std::min(first, storm->firstTime);
            last = std::max(last, storm->lastTime);
            if (storm->statistics) {
                total.peakWind = std::max(total.peakWind, storm->statistics->peakWind);
                if (storm->statistics->lowestPressure > 0 &&
                    (total.lowestPressure == 0 ||
                     storm->statistics->lowestPressure < total.lowestPressure)) {
                    total.lowestPressure = storm->statistics->lowestPressure;
                }
                total.ace += storm->statistics->ace;
            }
        }
        period = dateText(first, false) + std::string(kDash) + dateText(last, false);
        lines.details = statisticsText(total);
        if (best.size() == 1) {
            lines.headline = stormLabel(*best.front());
        } else {
            const std::string firstYear = first.substr(0, std::min<size_t>(4, first.size()));
            const std::string lastYear = last.substr(0, std::min<size_t>(4, last.size()));
            std::set<TextId> basins;
            for (const MapStorm* storm : best) basins.insert(basinTextId(storm->basin));
            const TextId basin = basins.size() == 1 ? *basins.begin() : TextId::BasinSeveral;
            const std::string years =
                firstYear == lastYear ? firstYear : firstYear + "\xE2\x80\x93" + lastYear;
            lines.headline = safeFormat(lang.text(TextId::TitleSeason), {years, lang.text(basin)});
            appendPart(
                lines.headline,
                safeFormat(lang.text(TextId::TitleStorms), {static_cast<int64_t>(best.size())}),
                kBulletSeparator);
        }
    } else if (forecast != nullptr) {
        lines.headline = stormLabel(*forecast);
    }
    appendPart(lines.headline, period, "  ");
    if (forecast != nullptr) {
        appendPart(
            lines.details,
            safeFormat(lang.text(TextId::TitleForecastFrom), {dateText(forecast->firstTime, true)}),
            kBulletSeparator);
    }
    if (!titleText.empty()) {
        lines.headline = titleText;
        lines.details.clear();
    }

    std::string source;
    for (const std::string& agency : agencies) appendPart(source, agency, ", ");
    if (sources.size() == 1) {
        appendPart(source, *sources.begin(), " ");
    } else if (sources.size() > 1) {
        appendPart(source, std::to_string(sources.size()) + " files", " ");
    }
    if (!source.empty()) lines.source = safeFormat(lang.text(TextId::TitleSource), {source});
    return lines;
}

TitleBlock layoutTitle(const TitleLines& lines, int32_t width, int32_t height,
                       LegendCorner legend) {
    TitleBlock block;
    const double em = std::min(width, height) / 36.0;
    const double pad = em / 2;
    const bool right = legend == LegendCorner::UpperLeft;
    double y = pad;
    double widest = 0;
    const std::pair<const std::string*, double> rows[] = {
        {&lines.headline, em}, {&lines.details, 0.8 * em}, {&lines.source, 0.5 * em}};
    for (const auto& [text, size] : rows) {
        if (text->empty()) continue;
        TitleLine line{*text, size, textBoxAt(*text, size, pad, y)};
        widest = std::max(widest, line.box.width);
        y = line.box.bottom();
        block.lines.push_back(std::move(line));
    }
    if (block.lines.empty()) return block;
    if (right) {
        for (TitleLine& line : block.lines) line.box.x = width - pad - line.box.width;
    }
    const double left = right ? width - 2 * pad - widest : 0;
    block.area = {left, 0, widest + 2 * pad, y + pad / 2};
    (void)height;
    return block;
}

std::optional<TitleBlock> jobTitle(const LayerInput& input) {
    const AnnotationSettings& a = input.settings.annotations;
    if (!a.title) return std::nullopt;
    // One storm seen by several agencies is one storm in the title: its
    // count, period and ACE come from the first agency's track.
    std::vector<MapStorm> counted;
    const bool repeats = input.agencies != nullptr && !input.agencies->repeatsStorm.empty();
    if (repeats) {
        for (size_t i = 0; i < input.storms.size(); ++i) {
            const bool repeated =
                i < input.agencies->repeatsStorm.size() && input.agencies->repeatsStorm[i];
            if (!repeated) counted.push_back(input.storms[i]);
        }
    }
    TitleLines lines = titleLines(repeats ? std::span<const MapStorm>(counted) : input.storms,
                                  input.lang, a.titleText);
    // Every agency's file is still a source.
    if (repeats) lines.source = titleLines(input.storms, input.lang, a.titleText).source;
    return layoutTitle(lines, input.frame.outputWidth, input.frame.outputHeight,
                       jobLegendCorner(input));
}

void drawTitleLayer(const LayerInput& input, Canvas& canvas, LayerLog& log) {
    const std::optional<TitleBlock> block = jobTitle(input);
    if (!block || block->lines.empty()) return;
    CanvasBrush backing;
    backing.setSolid(0x99000000);
    const TextBox& area = block->area;
    canvas.fillRectangle(backing, toSingle(area.x), toSingle(area.y), toSingle(area.width),
                         toSingle(area.height));
    CanvasFont font;
    for (const TitleLine& line : block->lines) {
        font.create(kAnnotationFont, toSingle(line.em), 0, CanvasUnit::World);
        drawShadowedText(canvas, line.text, font, 0xFFFFFFFF, line.box.x, line.box.y);
    }
    checkDrawStatus("4.3.0/Title", canvas, log);
}

}  // namespace tcmap
