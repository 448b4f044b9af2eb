#include "render/agency_comparison.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>

#include "base/compatibility.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"
#include "track/storm_matching.h"

namespace tcmap {

namespace {

// Line colours of the agencies, in the order they are first read: light on
// the dark sea, and apart from one another.
constexpr std::array<uint32_t, 6> kAgencyColours = {
    rgb(255, 255, 255), rgb(255, 120, 120), rgb(110, 200, 255),
    rgb(255, 220, 90),  rgb(160, 255, 140), rgb(230, 150, 255),
};

// Dash patterns in pen widths: solid, dashed, dotted, dash-dot.
const std::array<std::vector<float>, 4> kAgencyDashes = {{
    {},
    {4.0f, 3.0f},
    {0.5f, 2.5f},
    {5.0f, 2.5f, 0.5f, 2.5f},
}};

std::string rounded(double value) {
    return std::to_string(static_cast<long long>(std::llround(value)));
}

// The fix table row of a storm at a time, or the storm's end when it has none.
size_t rowAt(const MapStorm& storm, const FixTable& fixes, const std::string& time) {
    const size_t end = std::min(storm.firstFix + storm.fixCount, fixes.time.size());
    for (size_t row = storm.firstFix; row < end; ++row) {
        if (fixes.time[row] == time) return row;
    }
    return end;
}

}  // namespace

std::string readableTime(const std::string& time) {
    if (time.size() != 12) return time;
    return time.substr(0, 4) + "-" + time.substr(4, 2) + "-" + time.substr(6, 2) + " " +
           time.substr(8, 2) + ":" + time.substr(10, 2) + "Z";
}

AgencyComparison::AgencyComparison(const AgencySettings& settings) : settings_(settings) {
    target_ = windAveragingNamed(settings.winds).value_or(WindAveraging::AsGiven);
    factors_.tenFromOneMinute = settings.tenFromOneMinute;
    factors_.tenFromTwoMinute = settings.tenFromTwoMinute;
}

int32_t AgencyComparison::mapWind(const Track& track, int32_t wind) {
    if (target_ == WindAveraging::AsGiven) return wind;
    const int32_t converted = convertWind(wind, nativeAveraging(track.agency), target_, factors_);
    converted_ = converted_ || converted != wind;
    return converted;
}

void AgencyComparison::keep(const Track& track, size_t storm) {
    if (track.kind != TrackFileKind::BestTrackFile) return;
    if (std::find(agencies_.begin(), agencies_.end(), track.agency) == agencies_.end()) {
        agencies_.push_back(track.agency);
    }
    kept_.push_back({track, storm});
}

AgencyScene AgencyComparison::finish(const std::vector<MapStorm>& storms, const FixTable& fixes,
                                     const LanguagePack& lang,
                                     const std::function<void(const std::string&)>& writeLine) {
    AgencyScene scene;
    if (converted_) scene.windsConvertedTo = std::to_string(static_cast<int>(target_));
    // One agency's tracks are never one storm seen twice: nothing to compare.
    if (agencies_.size() < 2) return scene;

    std::vector<const Track*> tracks;
    for (const Kept& kept : kept_) tracks.push_back(&kept.track);
    StormMatchSettings match;
    match.compareWindsAs = target_;
    match.factors = factors_;
    const std::vector<StormGroup> groups = groupStorms(tracks, match);

    const auto styleOf = [&](const std::string& agency) {
        for (size_t i = 0; i < scene.styles.size(); ++i) {
            if (scene.styles[i].agency == agency) return i;
        }
        const size_t i = scene.styles.size();
        scene.styles.push_back({agency, kAgencyColours[i % kAgencyColours.size()],
                                kAgencyDashes[i % kAgencyDashes.size()]});
        return i;
    };
    const auto agencyOf = [&](size_t track) { return kept_[track].track.agency; };

    for (const StormGroup& group : groups) {
        std::vector<std::string> names;
        for (const size_t t : group.tracks) {
            if (std::find(names.begin(), names.end(), agencyOf(t)) == names.end()) {
                names.push_back(agencyOf(t));
            }
        }
        if (names.size() < 2) continue;
        if (scene.rowStyle.empty()) scene.rowStyle.assign(fixes.size(), -1);
        if (scene.repeatsStorm.empty()) scene.repeatsStorm.assign(storms.size(), false);
        std::string first;
        for (const size_t t : group.tracks) {
            const MapStorm& storm = storms[kept_[t].storm];
            if (t != group.tracks.front()) scene.repeatsStorm[kept_[t].storm] = true;
            const auto style = static_cast<int16_t>(styleOf(agencyOf(t)));
            const size_t end = std::min(storm.firstFix + storm.fixCount, scene.rowStyle.size());
            for (size_t row = storm.firstFix; row < end; ++row) scene.rowStyle[row] = style;
            if (first.empty() || storm.firstTime < first) first = storm.firstTime;
        }
        std::string joined;
        for (const std::string& name : names) joined += (joined.empty() ? "" : ", ") + name;
        writeLine(safeFormat(lang.text(TextId::AgenciesCompared), {joined, readableTime(first)}));
        const auto row = [&](TextId id, const LargestDifference& d) {
            if (!d.found) return;
            writeLine(safeFormat(lang.text(id), {rounded(d.value), readableTime(d.time),
                                                 agencyOf(d.first), agencyOf(d.second)}));
        };
        row(TextId::PositionDifference, group.positionKm);
        row(TextId::WindDifference, group.windKt);
        row(TextId::PressureDifference, group.pressureHpa);

        const LargestDifference& far = group.positionKm;
        if (settings_.markDifferences && far.found) {
            const MapStorm& a = storms[kept_[far.first].storm];
            const MapStorm& b = storms[kept_[far.second].storm];
            const size_t rowA = rowAt(a, fixes, far.time);
            const size_t rowB = rowAt(b, fixes, far.time);
            if (rowA < a.firstFix + a.fixCount && rowB < b.firstFix + b.fixCount) {
                scene.marks.push_back({rowA, rowB, rounded(far.value) + " km"});
            }
        }
    }
    return scene;
}

}  // namespace tcmap
