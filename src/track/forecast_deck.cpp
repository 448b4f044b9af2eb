#include "track/forecast_deck.h"

#include <algorithm>
#include <cmath>

#include "base/text_rules.h"
#include "track/record_fields.h"

namespace tcmap {

namespace {

using namespace atcf;

constexpr size_t kFieldsUsed = kWind + 1;

bool isAnalysis(std::string_view technique) {
    return technique == "BEST" || technique == "CARQ" || technique == "WRNG";
}

// "245N" -> 24.5, "1030W" -> -103.0; NaN for a field without digits.
double tenths(std::string_view field, char negative) {
    if (field.empty()) return std::nan("");
    const char last = static_cast<char>(field.back() & ~0x20);
    const double value = readNumber(field) / 10.0;
    return last == negative ? -value : value;
}

bool isCycleText(std::string_view text) {
    return text.size() == 10 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

class DeckBuilder {
  public:
    void add(std::string_view line) {
        const RecordFields f(line, kFieldsUsed);
        if (f.size() < kLongitude + 1) return;
        const std::string technique = toUpperAscii(f.trimmed(kTechnique));
        if (technique.empty() || isAnalysis(technique)) return;
        const std::string_view cycleText = f.trimmed(kDateTime);
        if (!isCycleText(cycleText)) return;
        if (deck_.basin.empty()) {
            deck_.basin = toUpperAscii(f.trimmed(kBasin));
            deck_.number = std::string(f.trimmed(kNumber));
            deck_.year = static_cast<int>(readInteger(cycleText.substr(0, 4)));
        }
        ForecastCycle& cycle = deck_.cycles[std::string(cycleText)];
        if (cycle.cycle.empty()) cycle.cycle = cycleText;
        AidTrack& aid = aidOf(cycle, technique);
        if (hasNoPosition(f)) return;
        const double lat = tenths(f.trimmed(kLatitude), 'S');
        const double lon = tenths(f.trimmed(kLongitude), 'W');
        if (!(std::abs(lat) <= 90.0) || !(std::abs(lon) <= 360.0)) return;
        const int hour = static_cast<int>(readInteger(f.trimmed(kForecastHour)));
        if (hour < 0) return;
        const bool seen = std::any_of(aid.points.begin(), aid.points.end(),
                                      [&](const AidPoint& p) { return p.hour == hour; });
        if (seen) return;
        aid.points.push_back({hour, lat, lon, static_cast<int>(readInteger(f.trimmed(kWind)))});
    }

    ForecastDeck finish() {
        for (auto& [time, cycle] : deck_.cycles) {
            std::vector<AidTrack> kept;
            for (AidTrack& aid : cycle.aids) {
                if (aid.points.empty()) {
                    cycle.positionless.push_back(aid.aid);
                    continue;
                }
                std::stable_sort(
                    aid.points.begin(), aid.points.end(),
                    [](const AidPoint& a, const AidPoint& b) { return a.hour < b.hour; });
                kept.push_back(std::move(aid));
            }
            cycle.aids = std::move(kept);
        }
        return std::move(deck_);
    }

  private:
    static AidTrack& aidOf(ForecastCycle& cycle, const std::string& technique) {
        // Aids of one cycle come in blocks, so the last one is nearly always it.
        for (auto it = cycle.aids.rbegin(); it != cycle.aids.rend(); ++it) {
            if (it->aid == technique) return *it;
        }
        cycle.aids.push_back(AidTrack{technique, {}});
        return cycle.aids.back();
    }

    ForecastDeck deck_;
};

}  // namespace

bool holdsForecastRecords(LineSource& lines, size_t maxLines) {
    std::string_view line;
    for (size_t read = 0; read < maxLines && lines.next(line); ++read) {
        const RecordFields f(line, kTechnique + 1);
        if (f.size() <= kTechnique) continue;
        const std::string technique = toUpperAscii(f.trimmed(kTechnique));
        if (!technique.empty() && !isAnalysis(technique)) return true;
    }
    return false;
}

bool fileHoldsForecastRecords(const std::string& path) {
    FileLines lines(path);
    return holdsForecastRecords(lines);
}

ForecastDeck readForecastDeck(LineSource& lines) {
    DeckBuilder builder;
    std::string_view line;
    while (lines.next(line)) builder.add(line);
    return builder.finish();
}

ForecastDeck readForecastDeckFile(const std::string& path) {
    FileLines lines(path);
    return readForecastDeck(lines);
}

CyclePick pickCycle(const ForecastDeck& deck, std::string_view wanted) {
    CyclePick pick;
    if (deck.cycles.empty()) {
        pick.error = "it holds no forecast cycle";
        return pick;
    }
    const std::string lower = toLowerAscii(trimView(wanted));
    if (lower.empty() || lower == "latest") {
        pick.cycle = &deck.cycles.rbegin()->second;
        return pick;
    }
    if (auto it = deck.cycles.find(lower); it != deck.cycles.end()) {
        pick.cycle = &it->second;
        return pick;
    }
    pick.error =
        "it has no cycle " + std::string(trimView(wanted)) + "; its cycles: " + cycleListText(deck);
    return pick;
}

std::string cycleListText(const ForecastDeck& deck) {
    constexpr size_t kNamedAtMost = 12;
    std::string text;
    size_t i = 0;
    const size_t count = deck.cycles.size();
    for (const auto& [time, cycle] : deck.cycles) {
        // The first and last few: the ends are what a forecaster looks for.
        const bool shown =
            count <= kNamedAtMost || i < kNamedAtMost / 2 || i >= count - kNamedAtMost / 2;
        if (shown) {
            if (!text.empty())
                text += (i == count - kNamedAtMost / 2 && count > kNamedAtMost) ? " ... " : ", ";
            text += time;
        }
        ++i;
    }
    if (count > kNamedAtMost) text += " (" + std::to_string(count) + " cycles)";
    return text;
}

}  // namespace tcmap
