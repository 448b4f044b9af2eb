// What the program knows of forecast aids (a-deck techniques): their groups,
// which are early-cycle interpolated versions of another aid, which give
// intensity only, the official aid of each basin, and the user's selection of
// aids ("official,global,HWRF", "all").
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tcmap {

enum class AidGroup { Official, Consensus, Global, Regional, Ensemble, Means };

// "official", "consensus", "global", "regional", "ensemble", "means".
std::string_view aidGroupName(AidGroup group);

struct AidInfo {
    std::string name;  // upper case
    std::optional<AidGroup> group;
    // An early-cycle aid: the previous cycle's run of `source`, shifted to
    // start at this cycle's position (names ending in I, or 2 for the run
    // before that).
    bool interpolated = false;
    // The late-cycle aid an interpolated one comes from, or the mean of an
    // ensemble member's ensemble; empty when not known.
    std::string source;
    bool ensembleMember = false;
    // Forecasts intensity only: never drawn as a track (its rows copy a track
    // or carry no position at all).
    bool intensityOnly = false;
    // BEST, CARQ, WRNG: analyses and warnings in a-decks, not forecasts.
    bool notForecast = false;
};

// What is known of the aid with this technique name (any case).
AidInfo aidInfo(std::string_view technique);

// OFCL for the basins of the NHC and CPHC (AL, EP, CP), JTWC for the others
// JTWC forecasts in (WP, IO, SH and the like); empty for an unknown code.
std::string_view officialAid(std::string_view basin);

struct AidSelectionParse;

// A parsed selection of aids: a predicate over technique names.
class AidSelection {
  public:
    // True when the aid is selected and drawable as a track: named, or in a
    // selected group (interpolated ones only with interpolated aids on), never
    // an intensity-only aid or an analysis.
    bool operator()(std::string_view technique) const;

    // The aid names the text named one by one (upper case), so the caller can
    // say which of them a cycle lacks.
    const std::vector<std::string>& namedAids() const { return names_; }

  private:
    friend AidSelectionParse parseAidSelection(std::string_view text, bool interpolatedAids);
    bool all_ = false;
    bool interpolated_ = false;
    std::vector<AidGroup> groups_;
    std::vector<std::string> names_;
};

struct AidSelectionParse {
    std::optional<AidSelection> selection;
    std::string error;  // names every bad token when there is no selection
};

// Reads "official,global,HWRF" or "all": tokens separated by commas or
// spaces, groups and "all" in any case, aid names as 1 to 4 letters or digits
// (any case). A named aid is drawn even when interpolated aids are off.
// Errors: an empty text, a token that is neither a group nor an aid name, an
// intensity-only or analysis aid named for drawing.
AidSelectionParse parseAidSelection(std::string_view text, bool interpolatedAids);

}  // namespace tcmap
