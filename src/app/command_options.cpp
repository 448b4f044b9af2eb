#include "app/command_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <map>

#include "app/region_argument.h"
#include "base/strict_number.h"
#include "base/text_rules.h"
#include "config/agency_settings.h"
#include "config/annotation_settings.h"
#include "track/forecast_aids.h"

namespace tcmap {

namespace {

constexpr unsigned kDraw = static_cast<unsigned>(CommandName::Draw);
constexpr unsigned kList = static_cast<unsigned>(CommandName::List);
constexpr unsigned kBoth = kDraw | kList;

namespace k = settings;

void setNamed(CommandOptions& options, const SettingKey& wendrel, const SettingKey& tcv,
              std::string value, std::string option) {
    options.named.push_back({&wendrel, &tcv, std::move(value), std::move(option)});
}

// "name1|name2" choices: the index of `value`, or nullopt.
std::optional<size_t> choiceIndex(std::string_view value, std::initializer_list<const char*> all) {
    size_t i = 0;
    for (const char* choice : all) {
        if (toLowerAscii(value) == choice) return i;
        ++i;
    }
    return std::nullopt;
}

std::string applyStyle(CommandOptions& o, const std::string& v) {
    const auto index = choiceIndex(v, {"wendrel", "tcv"});
    if (!index) return "--style " + v + ": unknown style; accepted: wendrel, tcv";
    o.sets.push_back(
        {std::string(k::kMode.section), std::string(k::kMode.key), std::to_string(*index)});
    return {};
}

std::string applyMode(CommandOptions& o, const std::string& v) {
    const auto index = choiceIndex(v, {"fit", "region", "globe"});
    if (!index) return "--mode " + v + ": unknown mode; accepted: fit, region, globe";
    constexpr DrawMode modes[] = {DrawMode::Normal, DrawMode::Regional, DrawMode::Global};
    o.mode = modes[*index];
    return {};
}

std::string applyRegion(CommandOptions& o, const std::string& v) {
    auto parsed = parseRegionArgument(v);
    if (auto* error = std::get_if<std::string>(&parsed)) return *error;
    o.regionGiven = true;
    o.sets.push_back({std::string(k::kRegionSelect.section), std::string(k::kRegionSelect.key),
                      std::get<RegionArgument>(parsed).stored});
    return {};
}

std::string applyLegend(CommandOptions& o, const std::string& v) {
    const auto index =
        choiceIndex(v, {"none", "upper-left", "lower-left", "upper-right", "lower-right", "auto"});
    if (!index) {
        return "--legend " + v +
               ": unknown corner; accepted: upper-left, lower-left, upper-right, lower-right, "
               "auto, none";
    }
    setNamed(o, k::kDrawLegends, k::kDrawLegends1, std::to_string(*index), "--legend");
    return {};
}

// The settings choose which fixes get radii, not which thresholds: every
// threshold a record gives is drawn. So the thresholds list is taken only
// whole; the words name the fixes.
std::string applyRadii(CommandOptions& o, const std::string& v) {
    std::optional<size_t> index = choiceIndex(v, {"none", "all", "last", "tropical"});
    if (!index) {
        std::vector<std::string> parts = splitText(v, ",");
        for (std::string& part : parts) part = trimText(part);
        std::sort(parts.begin(), parts.end());
        if (parts == std::vector<std::string>{"34", "50", "64"}) index = 1;
    }
    if (!index) {
        return "--radii " + v +
               ": accepted: 34,50,64 or all (every threshold at every fix), last (the last fix "
               "with radii), tropical (the tropical part), none; a part of the thresholds "
               "cannot be chosen";
    }
    setNamed(o, k::kDrawRad, k::kDrawRad1, std::to_string(*index), "--radii");
    return {};
}

std::string applyShard(CommandOptions& o, const std::string& v) {
    const std::vector<std::string> parts = splitText(v, "/");
    const std::optional<int32_t> index = parts.size() == 2 ? strictInteger(parts[0]) : std::nullopt;
    const std::optional<int32_t> count = parts.size() == 2 ? strictInteger(parts[1]) : std::nullopt;
    if (!index || !count || *count < 1 || *index < 1 || *index > *count ||
        parts[0].find('.') != std::string::npos || parts[1].find('.') != std::string::npos) {
        return "--shard " + v + ": accepted: I/N with 1 <= I <= N, such as 2/8";
    }
    o.shard = {static_cast<size_t>(*index), static_cast<size_t>(*count)};
    return {};
}

std::string applyJobs(CommandOptions& o, const std::string& v) {
    const std::optional<int32_t> jobs = strictInteger(v);
    if (!jobs || *jobs < 1 || *jobs > 1024 || v.find('.') != std::string::npos) {
        return "--jobs " + v + ": accepted: a whole number from 1 to 1024";
    }
    o.jobs = static_cast<size_t>(*jobs);
    return {};
}

std::string applyStats(CommandOptions& o, const std::string& v) {
    if (!choiceIndex(v, {"json", "csv"})) return "--stats " + v + ": accepted: json, csv";
    o.statsFormat = toLowerAscii(v);
    return {};
}

std::string applyIndex(CommandOptions& o, const std::string& v) {
    const std::string lower = toLowerAscii(v);
    if (!lower.ends_with(".json") && !lower.ends_with(".csv")) {
        return "--index " + v +
               ": the index is written as JSON or CSV by its name; accepted: a "
               "name ending in .json or .csv";
    }
    o.indexFile = v;
    return {};
}

std::string applySet(CommandOptions& o, const std::string& v) {
    const size_t equals = v.find('=');
    const size_t dot = v.find('.');
    if (equals == std::string::npos || dot == std::string::npos || dot > equals || dot == 0 ||
        dot + 1 == equals) {
        return "--set " + v + ": accepted: Section.Key=Value, such as Borvane4.Width1=2400";
    }
    o.sets.push_back({v.substr(0, dot), v.substr(dot + 1, equals - dot - 1), v.substr(equals + 1)});
    return {};
}

// A switch option: on with the option, off with its --no- form.
template <const SettingKey& Wendrel, const SettingKey& Tcv>
std::string applySwitch(CommandOptions& o, const std::string& v) {
    setNamed(o, Wendrel, Tcv, v, "--" + std::string(Tcv.key));
    return {};
}

// A key both styles read, set as it is given.
template <const SettingKey& Key>
std::string applyShared(CommandOptions& o, const std::string& v) {
    o.sets.push_back({std::string(Key.section), std::string(Key.key), v});
    return {};
}

std::string applyNoTitle(CommandOptions& o, const std::string& v) {
    if (v == "1")
        o.sets.push_back({std::string(k::kTitle.section), std::string(k::kTitle.key), "0"});
    return {};
}

template <const SettingKey& Wendrel, const SettingKey& Tcv>
std::string applyText(CommandOptions& o, const std::string& v) {
    setNamed(o, Wendrel, Tcv, v, "--" + toLowerAscii(Wendrel.key));
    return {};
}

std::string applyAids(CommandOptions& o, const std::string& v) {
    if (const AidSelectionParse parsed = parseAidSelection(v, true); !parsed.selection) {
        return "--aids " + v + ": " + parsed.error;
    }
    setNamed(o, k::kForecastAids, k::kForecastAids, v, "--aids");
    return {};
}

// An ATCF technique: 1 to 4 letters and digits.
bool looksLikeAidName(std::string_view word) {
    return !word.empty() && word.size() <= 4 &&
           word.find_first_not_of(
               "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789") ==
               std::string_view::npos;
}

// --cone alone: the official aid of the storm's basin; --cone AID: that aid.
std::string applyCone(CommandOptions& o, const std::string& v) {
    const std::string aid = trimText(v);
    const bool named = !aid.empty() && toLowerAscii(aid) != "official";
    if (named && !looksLikeAidName(aid)) {
        return "--cone " + v +
               ": accepted: --cone alone (the official forecast) or an aid name "
               "of 1 to 4 letters and digits, such as OFCL or AVNO";
    }
    setNamed(o, k::kCone, k::kCone, "1", "--cone");
    setNamed(o, k::kConeAid, k::kConeAid, named ? toUpperAscii(aid) : "", "--cone");
    return {};
}

// A value that must be one of `names`, stored lower case in a key both
// styles read.
std::string applyWord(CommandOptions& o, const std::string& v, std::string_view option,
                      const SettingKey& key, std::span<const std::string_view> names) {
    if (!isOneOf(v, names)) {
        std::string accepted;
        for (const std::string_view name : names) {
            accepted += (accepted.empty() ? "" : ", ") + std::string(name);
        }
        return std::string(option) + " " + v + ": unknown value; accepted: " + accepted;
    }
    o.sets.push_back({std::string(key.section), std::string(key.key), toLowerAscii(trimText(v))});
    return {};
}

std::string applyScale(CommandOptions& o, const std::string& v) {
    return applyWord(o, v, "--scale", k::kScale, kScaleNames);
}

std::string applyWinds(CommandOptions& o, const std::string& v) {
    return applyWord(o, v, "--winds", k::kWinds, kWindChoiceNames);
}

// Agency names as tracks give them (ATCF, CMA, JMA, or IBTrACS's USA,
// TOKYO, ...): letters and digits, separated by commas.
std::string applyAgencies(CommandOptions& o, const std::string& v) {
    std::vector<std::string> names;
    for (const std::string& part : splitText(v, ",")) {
        const std::string name = toUpperAscii(trimText(part));
        if (name.empty() ||
            name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789") != std::string::npos) {
            return "--agencies " + v +
                   ": accepted: agency names of letters and digits separated by commas, such "
                   "as ATCF,CMA,JMA";
        }
        names.push_back(name);
    }
    std::string joined;
    for (const std::string& name : names) joined += (joined.empty() ? "" : ",") + name;
    o.sets.push_back(
        {std::string(k::kAgencyList.section), std::string(k::kAgencyList.key), joined});
    return {};
}

constexpr OptionRow kOptions[] = {
    {"-o,--output", "FILE", "the map: .png, .svg or .pdf by its name; - for standard output", kDraw,
     "", false,
     [](CommandOptions& o, const std::string& v) {
         o.output = v;
         return std::string();
     }},
    {"--settings", "FILE", "settings file the options start from (default: the installed one)",
     kBoth, "", false,
     [](CommandOptions& o, const std::string& v) {
         o.settingsFile = v;
         return std::string();
     }},
    {"--style", "STYLE", "render style: wendrel or tcv", kBoth, "Borvane4.Mode", false, applyStyle},
    {"--mode", "MODE", "fit (to the storms), region, globe", kDraw, "", false, applyMode},
    {"--region", "N,W,LAT,LON",
     "north latitude, west longitude, latitude and longitude extent: 45N,100E,40,70 or "
     "60,-100,40,60; implies --mode region",
     kDraw, "Memory.RegionSelect", false, applyRegion},
    {"--grid,!--no-grid", "", "draw the latitude/longitude grid (--no-grid: none)", kDraw,
     "Borvane4.ShowGrid / ShowGrid1", false, applySwitch<k::kShowGrid, k::kShowGrid1>},
    {"--legend", "CORNER",
     "colour-scale legend: upper-left, lower-left, upper-right, lower-right, auto, none", kDraw,
     "Borvane4.DrawLegends / DrawLegends1", false, applyLegend},
    {"--radii", "WHICH",
     "wind radii: 34,50,64 or all (every fix), last (last fix with radii), tropical, none", kDraw,
     "Borvane4.DrawRad / DrawRad1", false, applyRadii},
    {"--labels,!--no-labels", "", "storm labels, TCV style (--no-labels: none)", kDraw,
     "Borvane4.ShowText1", false, applySwitch<k::kShowText1, k::kShowText1>},
    {"--title", "TEXT", "the title's text in place of the storms' name, period and peak", kDraw,
     "Annotations.TitleText", false, applyShared<k::kTitleText>},
    {"--no-title", "", "no title block", kDraw, "Annotations.Title", false, applyNoTitle},
    {"--chart", "FILE", "also the storms' intensity chart: .png, .svg or .pdf by its name", kDraw,
     "Annotations.Chart", false, applyShared<k::kChart>},
    {"--map", "FILE", "map picture", kDraw, "Borvane4.Map / Map1", false,
     [](CommandOptions& o, const std::string& v) {
         o.mapFile = v;
         return std::string();
     }},
    {"--lang", "CODE", "language of texts and messages: en, zh-cn (default: the locale's)", kDraw,
     "Language.ini Language.Select (not written)", false,
     [](CommandOptions& o, const std::string& v) {
         o.language = v;
         return std::string();
     }},
    {"--years", "YEARS", "archive storms of these years: 2015, 2004-2006, 1950,2005", kBoth,
     "Archive.Years / Years1", false, applyText<k::kYears, k::kYears1>},
    {"--basins", "BASINS", "archive storms of these ATCF basins: EP,CP", kBoth,
     "Archive.Basins / Basins1", false, applyText<k::kBasins, k::kBasins1>},
    {"--storms", "STORMS", "archive storms of these names or ids: KATRINA,EP092023", kBoth,
     "Archive.Storms / Storms1", false, applyText<k::kStorms, k::kStorms1>},
    {"--cycle", "CYCLE", "forecast cycle of a-decks: latest, all (every record), YYYYMMDDHH", kDraw,
     "Forecast.Cycle", false, applyText<k::kForecastCycle, k::kForecastCycle>},
    {"--aids", "AIDS",
     "forecast aids: names and groups (official, consensus, global, regional, ensemble, "
     "means) or all",
     kDraw, "Forecast.Aids", false, applyAids},
    {"--cone", "[AID]", "cone of uncertainty around the official forecast, or around AID", kDraw,
     "Forecast.Cone, ConeAid", false, applyCone},
    {"--swath,!--no-swath", "", "wind swath of the best track's 34/50/64-kt radii", kDraw,
     "Forecast.Swath", false, applySwitch<k::kSwath, k::kSwath>},
    {"--vector-land,!--no-vector-land", "",
     "SVG and PDF on the bundled map: land, coasts and borders as paths, not a picture", kDraw,
     "Borvane4.VectorLand", false, applySwitch<k::kVectorLand, k::kVectorLand>},
    {"--scale", "SCALE", "intensity scale of colours and legend: saffir-simpson, cma, jma", kDraw,
     "Agencies.Scale", false, applyScale},
    {"--winds", "AVERAGING",
     "convert winds to 1min, 2min or 10min means before classifying them, or as-given", kDraw,
     "Agencies.Winds", false, applyWinds},
    {"--agencies", "LIST", "draw only these agencies' best tracks: ATCF,CMA,JMA", kDraw,
     "Agencies.Agencies", false, applyAgencies},
    {"--mark-differences,!--no-mark-differences", "",
     "mark where agencies' positions of one storm differ most", kDraw, "Agencies.MarkDifferences",
     false, applySwitch<k::kMarkDifferences, k::kMarkDifferences>},
    {"--set", "SECTION.KEY=VALUE", "any other settings key (repeatable), checked like a file",
     kBoth, "Section.Key", true, applySet},
    {"--each", "PATTERN", "one map per storm at PATTERN, with {year} {id} {name} {basin} {number}",
     kDraw, "", false,
     [](CommandOptions& o, const std::string& v) {
         o.eachPattern = v;
         return std::string();
     }},
    {"-j,--jobs", "N", "maps drawn at once with --each (default: one per core)", kDraw, "", false,
     applyJobs},
    {"--index", "FILE", "with --each: the index of maps, .json or .csv", kDraw, "", false,
     applyIndex},
    {"--shard", "I/N", "draw only the I-th of N parts of the storm list", kDraw, "", false,
     applyShard},
    {"--stats", "FORMAT", "per-storm statistics and the total: json or csv", kDraw, "", false,
     applyStats},
    {"--stats-file", "FILE", "write --stats here instead of standard output", kDraw, "", false,
     [](CommandOptions& o, const std::string& v) {
         o.statsFile = v;
         return std::string();
     }},
    {"--json", "", "list as JSON", kList, "", false,
     [](CommandOptions& o, const std::string& v) {
         if (v == "1") o.listFormat = "json";
         return std::string();
     }},
    {"--csv", "", "list as CSV", kList, "", false,
     [](CommandOptions& o, const std::string& v) {
         if (v == "1") o.listFormat = "csv";
         return std::string();
     }},
};

std::string helpOf(const OptionRow& row) {
    std::string help(row.help);
    if (!row.key.empty()) help += " [key: " + std::string(row.key) + "]";
    return help;
}

const char* commandWord(CommandName command) {
    return command == CommandName::Draw ? "draw" : "list";
}

}  // namespace

std::span<const OptionRow> optionTable() {
    return kOptions;
}

ParsedCommand parseCommandOptions(CommandName command, const std::vector<std::string>& args) {
    const unsigned bit = static_cast<unsigned>(command);
    CLI::App app(command == CommandName::Draw
                     ? "Draws a track map of FILES (or one map per storm with --each)."
                     : "Lists the storms of FILES.",
                 std::string("tcmap ") + commandWord(command));
    app.get_formatter()->column_width(34);
    ParsedCommand parsed;
    // Values in command-line order per row; flags as their count (negative
    // for the --no- form).
    std::map<size_t, std::vector<std::string>> values;
    // A flag's on and off options: the last of them on the command line wins.
    std::map<size_t, std::pair<CLI::Option*, CLI::Option*>> flags;
    for (size_t i = 0; i < std::size(kOptions); ++i) {
        const OptionRow& row = kOptions[i];
        if ((row.commands & bit) == 0) continue;
        const std::string names(row.names);
        if (row.valueName.empty()) {
            // The --no- form counts down the same flag; the row's help names
            // it, so it is kept out of the list of options.
            const size_t negated = names.find(",!");
            flags[i].first = app.add_flag(names.substr(0, negated))->description(helpOf(row));
            if (negated != std::string::npos) {
                flags[i].second = app.add_flag(names.substr(negated + 2))->group("");
            }
        } else {
            app.add_option(names, values[i], helpOf(row))
                ->option_text(std::string(row.valueName))
                ->allow_extra_args(false);
        }
    }
    app.add_option("FILES", parsed.options.inputs, "track files and archives")->option_text(" ");
    // An option whose value may be left out ("[AID]") takes the next word
    // only when it looks like its value: `--cone aal182012.dat` is the cone
    // and a file. Alone, it is given its default value.
    std::vector<std::string> words = args;
    for (size_t w = 0; w < words.size(); ++w) {
        for (const OptionRow& row : kOptions) {
            if (!row.valueName.starts_with("[") || words[w] != row.names) continue;
            if (w + 1 == words.size() || !looksLikeAidName(words[w + 1])) {
                words[w] += "=official";
            }
        }
    }
    std::vector<std::string> reversed(words.rbegin(), words.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        parsed.kind = ParsedCommand::Kind::Help;
        parsed.text = app.help();
        return parsed;
    } catch (const CLI::ParseError& e) {
        parsed.kind = ParsedCommand::Kind::Usage;
        parsed.text = std::string("tcmap ") + commandWord(command) + ": " + e.what();
        return parsed;
    }
    for (size_t i = 0; i < std::size(kOptions); ++i) {
        const OptionRow& row = kOptions[i];
        std::vector<std::string> given;
        if (auto flag = flags.find(i); flag != flags.end()) {
            const std::vector<CLI::Option*> order = app.parse_order();
            for (auto it = order.rbegin(); it != order.rend(); ++it) {
                if (*it != flag->second.first && *it != flag->second.second) continue;
                given.push_back(*it == flag->second.first ? "1" : "0");
                break;
            }
        } else if (auto value = values.find(i); value != values.end() && !value->second.empty()) {
            given = row.repeatable ? value->second : std::vector<std::string>{value->second.back()};
        }
        for (const std::string& value : given) {
            if (std::string error = row.apply(parsed.options, value); !error.empty()) {
                parsed.kind = ParsedCommand::Kind::Usage;
                parsed.text = std::string("tcmap ") + commandWord(command) + ": " + error;
                return parsed;
            }
        }
    }
    return parsed;
}

std::vector<std::string> optionNames(CommandName command) {
    std::vector<std::string> names{"--help"};
    for (const OptionRow& row : kOptions) {
        if ((row.commands & static_cast<unsigned>(command)) == 0) continue;
        for (std::string name : splitText(row.names, ",")) {
            if (!name.empty() && name[0] == '!') name.erase(0, 1);
            if (name.starts_with("--")) names.push_back(name);
        }
    }
    return names;
}

}  // namespace tcmap
