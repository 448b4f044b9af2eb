#include "track/forecast_aids.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "base/text_rules.h"

namespace tcmap {

namespace {

struct GroupMember {
    std::string_view name;
    AidGroup group;
};

// Late-cycle aids by group. Interpolated versions (AVNI, HWFI, ...) join the
// group of the aid they come from; ensemble members are matched by pattern.
// The order matters where two aids share the first three letters (OFCL before
// OFCP, GFDL before GFDN): the first is the source of their interpolated name.
constexpr std::array<GroupMember, 53> kGroupMembers = {{
    {"OFCL", AidGroup::Official},  {"OFCP", AidGroup::Official},  {"JTWC", AidGroup::Official},
    {"TVCN", AidGroup::Consensus}, {"TVCA", AidGroup::Consensus}, {"TVCE", AidGroup::Consensus},
    {"TVCX", AidGroup::Consensus}, {"TVCC", AidGroup::Consensus}, {"TVDG", AidGroup::Consensus},
    {"TV15", AidGroup::Consensus}, {"HCCA", AidGroup::Consensus}, {"FSSE", AidGroup::Consensus},
    {"GUNA", AidGroup::Consensus}, {"CGUN", AidGroup::Consensus}, {"CONU", AidGroup::Consensus},
    {"CCON", AidGroup::Consensus}, {"TCON", AidGroup::Consensus}, {"TCCN", AidGroup::Consensus},
    {"IVCN", AidGroup::Consensus}, {"IVCR", AidGroup::Consensus}, {"IV15", AidGroup::Consensus},
    {"ICON", AidGroup::Consensus}, {"AVNO", AidGroup::Global},    {"EMX", AidGroup::Global},
    {"ECMF", AidGroup::Global},    {"EGRR", AidGroup::Global},    {"UKM", AidGroup::Global},
    {"UKX", AidGroup::Global},     {"CMC", AidGroup::Global},     {"NVGM", AidGroup::Global},
    {"NGX", AidGroup::Global},     {"NGPS", AidGroup::Global},    {"JGSM", AidGroup::Global},
    {"FIM9", AidGroup::Global},    {"HWRF", AidGroup::Regional},  {"HMON", AidGroup::Regional},
    {"HFSA", AidGroup::Regional},  {"HFSB", AidGroup::Regional},  {"CTCX", AidGroup::Regional},
    {"COTC", AidGroup::Regional},  {"GFDL", AidGroup::Regional},  {"GFDN", AidGroup::Regional},
    {"GFDT", AidGroup::Regional},  {"NAM", AidGroup::Regional},   {"AHW4", AidGroup::Regional},
    {"UWN8", AidGroup::Regional},  {"APSU", AidGroup::Regional},  {"AEMN", AidGroup::Means},
    {"CEMN", AidGroup::Means},     {"UEMN", AidGroup::Means},     {"EEMN", AidGroup::Means},
    {"NEMN", AidGroup::Means},     {"GPMN", AidGroup::Means},
}};

// Interpolated names whose first three letters are not those of their source.
constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kIrregularStems = {{
    {"HWF", "HWRF"},
    {"HMN", "HMON"},
    {"HFA", "HFSA"},
    {"HFB", "HFSB"},
    {"OFP", "OFCP"},
    {"GFT", "GFDT"},
    {"FM9", "FIM9"},
}};

// Names that end in I or 2 without being interpolated (ensemble members such
// as AP02 are recognised by their own pattern).
constexpr std::array<std::string_view, 1> kNotInterpolated = {"IVRI"};

// Statistical and consensus intensity forecasts and rapid-intensification
// probabilities: no track of their own.
constexpr std::array<std::string_view, 16> kIntensityOnly = {
    "SHIP", "DSHP", "LGEM", "SHF5", "SHFR", "DSF5", "SPC3", "ICON",
    "IVCN", "IVCR", "IV15", "IVRI", "RI25", "RI30", "RI35", "RI40",
};

constexpr std::array<std::string_view, 3> kNotForecasts = {"BEST", "CARQ", "WRNG"};

// Ensemble members: two letters and the member number; the ensemble's mean.
constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kEnsembles = {{
    {"AP", "AEMN"},  // GFS ensemble (AC00 its control run)
    {"CP", "CEMN"},  // Canadian ensemble (CC00 its control run)
    {"EN", "EEMN"},  // ECMWF ensemble, negative perturbations
    {"EP", "EEMN"},  // ECMWF ensemble, positive perturbations
    {"NP", "NEMN"},  // NAVGEM ensemble
    {"UE", "UEMN"},  // UKMET ensemble
    {"GP", "GPMN"},
}};

constexpr std::array<std::string_view, 7> kGroupNames = {
    "official", "consensus", "global", "regional", "ensemble", "means", "all"};

template <size_t N>
bool listed(const std::array<std::string_view, N>& list, std::string_view name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

std::optional<AidGroup> listedGroup(std::string_view name) {
    for (const auto& member : kGroupMembers) {
        if (member.name == name) return member.group;
    }
    return std::nullopt;
}

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// The mean of the ensemble a member belongs to, or "" for no member.
std::string_view ensembleOf(std::string_view name) {
    if (name == "AC00") return "AEMN";
    if (name == "CC00") return "CEMN";
    if (name.size() != 4 || !isDigit(name[2]) || !isDigit(name[3])) return {};
    for (const auto& [prefix, mean] : kEnsembles) {
        if (name.substr(0, 2) == prefix) return mean;
    }
    return {};
}

// The late-cycle source of an interpolated name's three-letter stem.
std::string sourceOfStem(std::string_view stem) {
    for (const auto& [irregular, source] : kIrregularStems) {
        if (irregular == stem) return std::string(source);
    }
    for (const auto& member : kGroupMembers) {
        if (member.name.substr(0, 3) == stem) return std::string(member.name);
    }
    return {};
}

bool isAidName(std::string_view token) {
    return !token.empty() && token.size() <= 4 &&
           std::all_of(token.begin(), token.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

std::string quotedList(const std::vector<std::string>& items) {
    std::string text;
    for (const auto& item : items) text += (text.empty() ? "'" : ", '") + item + "'";
    return text;
}

}  // namespace

std::string_view aidGroupName(AidGroup group) {
    return kGroupNames[static_cast<size_t>(group)];
}

AidInfo aidInfo(std::string_view technique) {
    AidInfo info;
    info.name = toUpperAscii(technique);
    const std::string_view name = info.name;
    info.notForecast = listed(kNotForecasts, name);
    info.intensityOnly = listed(kIntensityOnly, name);
    info.group = listedGroup(name);
    if (info.group || info.notForecast) return info;
    if (const std::string_view mean = ensembleOf(name); !mean.empty()) {
        info.group = AidGroup::Ensemble;
        info.ensembleMember = true;
        info.source = std::string(mean);
        return info;
    }
    // The early-cycle rule: four characters ending in I (interpolated from the
    // previous cycle) or 2 (from the cycle before that).
    if (name.size() == 4 && (name.back() == 'I' || name.back() == '2') &&
        !listed(kNotInterpolated, name)) {
        info.interpolated = true;
        info.source = sourceOfStem(name.substr(0, 3));
        if (!info.source.empty()) info.group = listedGroup(info.source);
    }
    return info;
}

std::string_view officialAid(std::string_view basin) {
    const std::string code = toUpperAscii(basin);
    if (code == "AL" || code == "EP" || code == "CP") return "OFCL";
    if (code == "WP" || code == "IO" || code == "SH" || code == "BB" || code == "AA") return "JTWC";
    return {};
}

bool AidSelection::operator()(std::string_view technique) const {
    const AidInfo info = aidInfo(technique);
    if (info.intensityOnly || info.notForecast) return false;
    if (std::find(names_.begin(), names_.end(), info.name) != names_.end()) return true;
    if (info.interpolated && !interpolated_) return false;
    if (all_) return true;
    return info.group && std::find(groups_.begin(), groups_.end(), *info.group) != groups_.end();
}

AidSelectionParse parseAidSelection(std::string_view text, bool interpolatedAids) {
    AidSelectionParse parse;
    AidSelection selection;
    selection.interpolated_ = interpolatedAids;
    std::vector<std::string> unknown;
    std::vector<std::string> notTracks;
    bool any = false;
    std::string token;
    const auto take = [&] {
        if (token.empty()) return;
        any = true;
        const std::string lower = toLowerAscii(token);
        const auto group = std::find(kGroupNames.begin(), kGroupNames.end(), lower);
        if (lower == "all") {
            selection.all_ = true;
        } else if (group != kGroupNames.end()) {
            selection.groups_.push_back(static_cast<AidGroup>(group - kGroupNames.begin()));
        } else if (!isAidName(token)) {
            unknown.push_back(token);
        } else if (const AidInfo info = aidInfo(token); info.intensityOnly || info.notForecast) {
            notTracks.push_back(info.name);
        } else if (std::find(selection.names_.begin(), selection.names_.end(), info.name) ==
                   selection.names_.end()) {
            selection.names_.push_back(info.name);
        }
        token.clear();
    };
    for (const char c : text) {
        if (c == ',' || c == ';' || std::isspace(static_cast<unsigned char>(c)) != 0) {
            take();
        } else {
            token += c;
        }
    }
    take();

    if (!any) {
        parse.error =
            "no aids selected: name aids (HWRF), groups (official, consensus, global, regional, "
            "ensemble, means) or all";
    }
    if (!unknown.empty()) {
        parse.error = "unknown aid or group " + quotedList(unknown) +
                      ": groups are official, consensus, global, regional, ensemble, means and "
                      "all; aid names are 1 to 4 letters or digits";
    }
    if (!notTracks.empty()) {
        parse.error += (parse.error.empty() ? "" : "; ") + quotedList(notTracks) +
                       (notTracks.size() == 1 ? " has" : " have") +
                       " no track of its own (intensity only or an analysis)";
    }
    if (parse.error.empty()) parse.selection = std::move(selection);
    return parse;
}

}  // namespace tcmap
