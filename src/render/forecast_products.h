// Builds what the forecaster's map adds to a job (render/layers/forecast_scene.h)
// from its a-decks and best tracks, as the settings of [Forecast] ask: the
// aids of one cycle, the cone around its official forecast and the wind
// swath. Every problem is a message for the job log; none stops the job.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "config/job_settings.h"
#include "i18n/language_pack.h"
#include "render/forecast_geometry.h"
#include "render/layers/forecast_scene.h"
#include "render/map_frame.h"
#include "track/cone_radii.h"
#include "track/forecast_deck.h"
#include "track/track.h"

namespace tcmap {

// True when the settings ask for one cycle of each a-deck rather than every
// record drawn as a track.
bool drawsOneCycle(const JobSettings& settings);

// Best-track fixes with their 34/50/64-kt radii as the swath takes them:
// hours from 1970, fixes without any radii given as radii 0.
std::vector<SwathFix> swathFixes(const Track& track);

class ForecastProducts {
  public:
    using Report = std::function<void(const std::string& message, bool warning)>;

    ForecastProducts(const JobSettings& settings, const LanguagePack& lang,
                     std::string coneRadiiPath, Report report);

    // The chosen cycle of an a-deck: its aids, the cone around its official
    // aid. Returns the cycle drawn (YYYYMMDDHH); empty when the deck has no
    // such cycle.
    std::string addDeck(const std::string& path, const ForecastDeck& deck);

    // Every record of an a-deck is drawn as a track: only the cone, around
    // the latest cycle's official forecast, when asked for.
    void addLatestCone(const std::string& path, const ForecastDeck& deck);

    // Grows a Normal job's frame to show the aids and cones, after every file
    // is read: the best tracks' own frame rules may start the bounds afresh.
    void growFrame(MapFrame& frame) const;

    // A best track's wind swath, when asked for.
    void addBestTrack(const Track& track);

    const ForecastScene& scene() const { return scene_; }

  private:
    void addCone(const std::string& path, const ForecastDeck& deck, const ForecastCycle& cycle);
    const ConeRadiiTable& radiiTable();

    const JobSettings& settings_;
    const LanguagePack& lang_;
    std::string coneRadiiPath_;
    Report report_;
    std::optional<ConeRadiiTable> radii_;
    bool aidsErrorSaid_ = false;
    std::vector<std::string> basinsWithoutRadii_;
    ForecastScene scene_;
    std::vector<GeoPoint> framePoints_;
};

}  // namespace tcmap
