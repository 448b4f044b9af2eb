#include "render/forecast_products.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

#include "base/text_rules.h"
#include "i18n/safe_format.h"
#include "render/forecast_geometry.h"
#include "track/forecast_aids.h"

namespace tcmap {

namespace {

// Members under the others, the official forecast over everything: what a
// forecaster reads first lies on top.
int drawingRank(const std::string& aid) {
    const AidInfo info = aidInfo(aid);
    if (info.ensembleMember) return 0;
    if (info.group == AidGroup::Official) return 2;
    return 1;
}

// Hours from 1970-01-01 00 UTC of "YYYYMMDDHH[mm]"; nullopt for another text.
std::optional<double> hoursOf(std::string_view time) {
    if (time.size() < 10) return std::nullopt;
    for (size_t i = 0; i < time.size(); ++i) {
        if (time[i] < '0' || time[i] > '9') return std::nullopt;
    }
    using namespace std::chrono;
    const year_month_day day{
        year{readInteger(time.substr(0, 4))},
        month{static_cast<unsigned>(readInteger(time.substr(4, 2)))},
        std::chrono::day{static_cast<unsigned>(readInteger(time.substr(6, 2)))}};
    if (!day.ok()) return std::nullopt;
    const double minutes = time.size() >= 12 ? readInteger(time.substr(10, 2)) : 0;
    return sys_days{day}.time_since_epoch().count() * 24.0 + readInteger(time.substr(8, 2)) +
           minutes / 60.0;
}

void append(GeoShape& to, const GeoShape& from) {
    to.insert(to.end(), from.begin(), from.end());
}

}  // namespace

bool drawsOneCycle(const JobSettings& settings) {
    return toLowerAscii(trimView(settings.forecastCycle)) != "all";
}

std::vector<SwathFix> swathFixes(const Track& track) {
    std::vector<SwathFix> fixes;
    for (const Fix& fix : track.fixes) {
        const std::optional<double> hour = hoursOf(fix.time);
        if (!hour) continue;
        SwathFix s;
        s.hour = *hour;
        s.lat = fix.latitude;
        s.lon = fix.longitude;
        for (const WindRadii& radii : fix.radii) {
            for (size_t t = 0; t < kSwathThresholdsKt.size(); ++t) {
                if (radii.thresholdKt != kSwathThresholdsKt[t]) continue;
                for (size_t q = 0; q < 4; ++q) s.radiiNm[t][q] = std::max(0, radii.quadrantsNm[q]);
            }
        }
        fixes.push_back(s);
    }
    return fixes;
}

ForecastProducts::ForecastProducts(const JobSettings& settings, const LanguagePack& lang,
                                   std::string coneRadiiPath, Report report)
    : settings_(settings),
      lang_(lang),
      coneRadiiPath_(std::move(coneRadiiPath)),
      report_(std::move(report)) {}

std::string ForecastProducts::addDeck(const std::string& path, const ForecastDeck& deck) {
    const CyclePick pick = pickCycle(deck, settings_.forecastCycle);
    if (pick.cycle == nullptr) {
        report_(safeFormat(lang_.text(TextId::ForecastCycleMissing),
                           {path, trimText(settings_.forecastCycle), cycleListText(deck)}),
                true);
        return {};
    }
    const ForecastCycle& cycle = *pick.cycle;
    const AidSelectionParse parsed = parseAidSelection(settings_.forecastAids, settings_.earlyAids);
    if (!parsed.selection) {
        if (!aidsErrorSaid_) {
            report_(safeFormat(lang_.text(TextId::ForecastBadAids), {parsed.error}), true);
        }
        aidsErrorSaid_ = true;
    } else {
        std::vector<AidTrack> chosen;
        for (const AidTrack& aid : cycle.aids) {
            if ((*parsed.selection)(aid.aid)) chosen.push_back(aid);
        }
        std::stable_sort(chosen.begin(), chosen.end(), [](const AidTrack& a, const AidTrack& b) {
            return drawingRank(a.aid) < drawingRank(b.aid);
        });
        std::string missing;
        for (const std::string& name : parsed.selection->namedAids()) {
            const bool present = std::any_of(cycle.aids.begin(), cycle.aids.end(),
                                             [&](const AidTrack& a) { return a.aid == name; });
            if (!present) missing += (missing.empty() ? "" : ", ") + name;
        }
        if (!missing.empty()) {
            report_(
                safeFormat(lang_.text(TextId::ForecastAidsMissing), {path, cycle.cycle, missing}),
                true);
        }
        for (const AidTrack& aid : chosen) {
            for (const AidPoint& p : aid.points) framePoints_.push_back({p.lat, p.lon});
        }
        report_(safeFormat(lang_.text(TextId::ForecastCycleDrawn),
                           {path, cycle.cycle, static_cast<int64_t>(chosen.size())}),
                false);
        for (AidTrack& aid : chosen) scene_.aids.push_back(std::move(aid));
        std::stable_sort(scene_.aids.begin(), scene_.aids.end(),
                         [](const AidTrack& a, const AidTrack& b) {
                             return drawingRank(a.aid) < drawingRank(b.aid);
                         });
    }
    if (settings_.cone) addCone(path, deck, cycle);
    return cycle.cycle;
}

void ForecastProducts::addLatestCone(const std::string& path, const ForecastDeck& deck) {
    const CyclePick pick = pickCycle(deck, "latest");
    if (settings_.cone && pick.cycle != nullptr) addCone(path, deck, *pick.cycle);
}

void ForecastProducts::growFrame(MapFrame& frame) const {
    const Projection map = frame.projection();
    for (const GeoPoint& p : framePoints_) {
        const double lon = std::fmod(std::fmod(p.lon + 180.0, 360.0) + 360.0, 360.0) - 180.0;
        frame.extendBounds(map.fix(p.lat, lon, frame.previousFix.x));
    }
}

void ForecastProducts::addCone(const std::string& path, const ForecastDeck& deck,
                               const ForecastCycle& cycle) {
    const std::string wanted = trimText(settings_.coneAid).empty()
                                   ? std::string(officialAid(deck.basin))
                                   : toUpperAscii(trimView(settings_.coneAid));
    const auto aid = std::find_if(cycle.aids.begin(), cycle.aids.end(),
                                  [&](const AidTrack& a) { return a.aid == wanted; });
    if (wanted.empty() || aid == cycle.aids.end()) {
        report_(safeFormat(lang_.text(TextId::ForecastNoOfficialAid),
                           {path, cycle.cycle, wanted.empty() ? std::string("official") : wanted}),
                true);
        return;
    }
    const ConeRadiiRow* row = coneRadiiFor(radiiTable(), deck.basin, deck.year);
    if (row == nullptr) {
        if (std::find(basinsWithoutRadii_.begin(), basinsWithoutRadii_.end(), deck.basin) ==
            basinsWithoutRadii_.end()) {
            basinsWithoutRadii_.push_back(deck.basin);
            report_(safeFormat(lang_.text(TextId::ForecastNoConeRadii), {deck.basin}), true);
        }
        return;
    }
    std::vector<ForecastPoint> points;
    for (const AidPoint& p : aid->points) points.push_back({p.hour, p.lat, p.lon});
    const ConeGeometry cone = forecastCone(points, row->radii);
    if (!cone.ok()) {
        report_(path + ": cycle " + cycle.cycle + ": no cone: " + cone.error, true);
        return;
    }
    for (const GeoShape* shape : {&cone.days1to3, &cone.days4to5}) {
        for (const GeoPolygon& polygon : *shape) {
            framePoints_.insert(framePoints_.end(), polygon.outer.begin(), polygon.outer.end());
        }
    }
    append(scene_.coneDays1to3, cone.days1to3);
    append(scene_.coneDays4to5, cone.days4to5);
}

const ConeRadiiTable& ForecastProducts::radiiTable() {
    if (!radii_) {
        radii_ = loadConeRadii(coneRadiiPath_);
        for (const std::string& error : radii_->errors) report_(error, true);
    }
    return *radii_;
}

void ForecastProducts::addBestTrack(const Track& track) {
    if (!settings_.swath) return;
    const std::vector<SwathFix> fixes = swathFixes(track);
    if (fixes.empty()) return;
    const SwathGeometry swath = windSwath(fixes);
    if (!swath.ok()) {
        report_(track.source + ": no wind swath: " + swath.error, true);
        return;
    }
    for (size_t i = 0; i < swath.areas.size(); ++i) append(scene_.swath[i], swath.areas[i]);
}

}  // namespace tcmap
