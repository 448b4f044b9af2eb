// The options of `draw` and `list`: argument vectors to the fields they set
// or to the exact message that refuses them, the region with hemisphere
// letters, and the settings each option reaches in either style.
#include "app/command_options.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_setup.h"
#include "app/region_argument.h"
#include "base/file_io.h"
#include "config/job_settings.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;
using Args = std::vector<std::string>;

namespace {

ParsedCommand parseDraw(const Args& args) {
    return parseCommandOptions(CommandName::Draw, args);
}

ProgramPaths sourcePaths(const TempFolder& user) {
    ProgramPaths paths;
    paths.runFolder = user.path();
    paths.dataFolder = TCMAP_SOURCE_DIR "/data";
    return paths;
}

}  // namespace

TEST(CommandOptions, ValuesReachTheirFields) {
    const ParsedCommand parsed =
        parseDraw({"a.dat", "b.dat", "-o", "x.png", "--mode", "GLOBE", "--shard", "2/8", "-j", "3",
                   "--stats", "csv", "--index", "maps.JSON", "--lang", "en"});
    ASSERT_EQ(parsed.kind, ParsedCommand::Kind::Run) << parsed.text;
    const CommandOptions& o = parsed.options;
    EXPECT_EQ(o.inputs, (Args{"a.dat", "b.dat"}));
    EXPECT_EQ(o.output, "x.png");
    EXPECT_EQ(o.mode, DrawMode::Global);
    EXPECT_EQ(o.shard.index, 2u);
    EXPECT_EQ(o.shard.count, 8u);
    EXPECT_EQ(o.jobs, 3u);
    EXPECT_EQ(o.statsFormat, "csv");
    EXPECT_EQ(o.indexFile, "maps.JSON");
    EXPECT_EQ(o.language, "en");

    // Named settings: the value stored, in command-line order; the last of
    // one option wins, a flag's --no- form stores 0.
    const ParsedCommand named =
        parseDraw({"--legend", "lower-right", "--radii", "64,34,50", "--grid", "--no-labels",
                   "--years", "2015", "--years", "2016", "a.dat"});
    ASSERT_EQ(named.kind, ParsedCommand::Kind::Run) << named.text;
    std::vector<std::string> stored;
    for (const NamedSetting& s : named.options.named) {
        stored.push_back(std::string(s.tcv->key) + "=" + s.value);
    }
    EXPECT_EQ(stored,
              (Args{"ShowGrid1=1", "DrawLegends1=4", "DrawRad1=1", "ShowText1=0", "Years1=2016"}));
    // Of a flag's on and off forms, the last one counts.
    for (const auto& [args, value] :
         {std::pair{Args{"--no-grid", "--grid"}, "1"}, std::pair{Args{"--grid", "--no-grid"}, "0"},
          std::pair{Args{"--grid", "--no-grid", "--grid"}, "1"}}) {
        const ParsedCommand flags = parseDraw(args);
        ASSERT_EQ(flags.options.named.size(), 1u) << value;
        EXPECT_EQ(flags.options.named[0].value, value) << args.size();
    }
}

TEST(CommandOptions, RefusalsNameTheOptionAndWhatIsAccepted) {
    const struct {
        Args args;
        std::string message;
    } rows[] = {
        {{"--gird", "a.dat"}, "tcmap draw: The following argument was not expected: --gird"},
        {{"--style", "fancy"}, "tcmap draw: --style fancy: unknown style; accepted: wendrel, tcv"},
        {{"--mode", "zoom"}, "tcmap draw: --mode zoom: unknown mode; accepted: fit, region, globe"},
        {{"--legend", "middle"},
         "tcmap draw: --legend middle: unknown corner; accepted: upper-left, lower-left, "
         "upper-right, lower-right, auto, none"},
        {{"--radii", "34"},
         "tcmap draw: --radii 34: accepted: 34,50,64 or all (every threshold at every fix), last "
         "(the last fix with radii), tropical (the tropical part), none; a part of the "
         "thresholds cannot be chosen"},
        {{"--shard", "3/2"},
         "tcmap draw: --shard 3/2: accepted: I/N with 1 <= I <= N, such as 2/8"},
        {{"--shard", "0/2"},
         "tcmap draw: --shard 0/2: accepted: I/N with 1 <= I <= N, such as 2/8"},
        {{"-j", "0"}, "tcmap draw: --jobs 0: accepted: a whole number from 1 to 1024"},
        {{"--stats", "xml"}, "tcmap draw: --stats xml: accepted: json, csv"},
        {{"--index", "maps.txt"},
         "tcmap draw: --index maps.txt: the index is written as JSON or CSV by its name; "
         "accepted: a name ending in .json or .csv"},
        {{"--set", "Width1=2400"},
         "tcmap draw: --set Width1=2400: accepted: Section.Key=Value, such as "
         "Borvane4.Width1=2400"},
        {{"--region", "45N,100E,40"},
         "tcmap draw: --region 45N,100E,40: four parts are needed, accepted: "
         "NORTH,WEST,LATITUDE-EXTENT,LONGITUDE-EXTENT in degrees, such as 45N,100E,40,70 or "
         "60,100,60,80 (south and west negative)"},
    };
    for (const auto& row : rows) {
        const ParsedCommand parsed = parseDraw(row.args);
        EXPECT_EQ(parsed.kind, ParsedCommand::Kind::Usage) << row.args[0];
        EXPECT_EQ(parsed.text, row.message);
    }
    // A draw option is not a list option.
    const ParsedCommand list = parseCommandOptions(CommandName::List, {"--grid", "a.dat"});
    EXPECT_EQ(list.kind, ParsedCommand::Kind::Usage);
    EXPECT_EQ(list.text, "tcmap list: The following argument was not expected: --grid");
}

TEST(CommandOptions, HelpListsEveryOptionWithItsKey) {
    const ParsedCommand help = parseDraw({"--help"});
    ASSERT_EQ(help.kind, ParsedCommand::Kind::Help);
    for (const OptionRow& row : optionTable()) {
        if ((row.commands & static_cast<unsigned>(CommandName::Draw)) == 0) continue;
        EXPECT_NE(help.text.find(std::string(row.help)), std::string::npos) << row.names;
        if (!row.key.empty()) {
            EXPECT_NE(help.text.find("[key: " + std::string(row.key) + "]"), std::string::npos)
                << row.names;
        }
    }
    EXPECT_EQ(optionNames(CommandName::List),
              (Args{"--help", "--settings", "--style", "--years", "--basins", "--storms", "--set",
                    "--json", "--csv"}));
}

TEST(RegionArgument, HemisphereLettersGiveTheSigns) {
    const struct {
        std::string text;
        Args parts;
    } rows[] = {
        {"45N,100E,40,70", {"45", "100", "40", "70"}},
        {"50N,100W,40,60", {"50", "-100", "40", "60"}},
        {"10s, 170w ,30,50", {"-10", "-170", "30", "50"}},
        {"60,100,60,80", {"60", "100", "60", "80"}},
        {"90N,-180,180,360", {"90", "-180", "180", "360"}},
    };
    for (const auto& row : rows) {
        const auto parsed = parseRegionArgument(row.text);
        ASSERT_TRUE(std::holds_alternative<RegionArgument>(parsed)) << row.text;
        EXPECT_EQ(std::get<RegionArgument>(parsed).parts, row.parts) << row.text;
    }
    const struct {
        std::string text;
        std::string start;
    } wrong[] = {
        {"45X,100E,40,70", "--region 45X,100E,40,70: the north latitude '45X' is not a latitude"},
        {"-45N,100E,40,70", "--region -45N,100E,40,70: the north latitude '-45N'"},
        {"95N,100E,40,70", "--region 95N,100E,40,70: the north latitude '95N'"},
        {"45N,100N,40,70", "--region 45N,100N,40,70: the west longitude '100N'"},
        {"45N,100E,181,70", "--region 45N,100E,181,70: the latitude extent '181' must be"},
        {"45N,100E,40,361", "--region 45N,100E,40,361: the longitude extent '361' must be"},
        {"45N,100E,0,70", "--region 45N,100E,0,70: the latitude extent '0' must be"},
        {"45N,100E,40,-5", "--region 45N,100E,40,-5: the longitude extent '-5' must be"},
    };
    for (const auto& row : wrong) {
        const auto parsed = parseRegionArgument(row.text);
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << row.text;
        EXPECT_EQ(std::get<std::string>(parsed).rfind(row.start, 0), 0u)
            << std::get<std::string>(parsed);
    }
}

// A named option sets the key of the chosen style; --set and the checks of
// the settings file refuse what a file would be warned about.
TEST(CommandSetup, NamedOptionsSetTheKeyOfTheChosenStyle) {
    TempFolder user;
    user.put("Language.ini", "[Language]\nSelect=en\n");
    const ProgramPaths paths = sourcePaths(user);
    for (const bool tcv : {false, true}) {
        const ParsedCommand parsed =
            parseDraw({"--style", tcv ? "tcv" : "wendrel", "--storms", "DORA", "--grid", "--set",
                       "Borvane4.Width1=2400", "--region", "50N,100W,40,60", "a.dat"});
        ASSERT_EQ(parsed.kind, ParsedCommand::Kind::Run) << parsed.text;
        const auto settled = settleCommand(parsed.options, CommandName::Draw, paths, "");
        ASSERT_TRUE(std::holds_alternative<CommandSetup>(settled))
            << std::get<std::string>(settled);
        const CommandSetup& setup = std::get<CommandSetup>(settled);
        EXPECT_EQ(setup.style.tcv, tcv);
        const JobSettings settings = readJobSettings(setup.settings, tcv);
        EXPECT_EQ(settings.archiveStorms, "DORA");
        EXPECT_TRUE(settings.showGrid);
        EXPECT_EQ(settings.minWidth, tcv ? 2400 : 1920);
        EXPECT_EQ(setup.mode, DrawMode::Regional);
        EXPECT_EQ(setup.region, (Args{"50", "-100", "40", "60"}));
        // The installed settings, never the user's.
        EXPECT_EQ(setup.settings.path, TCMAP_SOURCE_DIR "/data/Settings.ini");
    }

    const struct {
        Args args;
        std::string message;
    } refused[] = {
        {{"--set", "Borvane4.ShowGird1=1"},
         "--set Borvane4.ShowGird1=1: [Borvane4] ShowGird1 is not a known key (did you mean "
         "ShowGrid1?)"},
        {{"--set", "Borvane4.Width1=1600px"},
         "--set Borvane4.Width1=1600px: [Borvane4] Width1=1600px: expected a whole number from 1 "
         "to 32767"},
        {{"--years", "2015..2016"}, ""},
        {{"--lang", "fr"}, "--lang fr: no language file fr.lang; accepted: en, zh-cn"},
        {{"--lang", "../data/en"},
         "--lang ../data/en: no language file ../data/en.lang; accepted: en, zh-cn"},
        {{"--settings", user.file("missing.ini")},
         "--settings " + user.file("missing.ini") +
             ": no such settings file; accepted: an existing settings file"},
        {{"--map", user.file("missing.png")},
         "--map " + user.file("missing.png") + ": no such file; accepted: a PNG, JPEG or BMP map"},
    };
    for (const auto& row : refused) {
        Args args = row.args;
        args.push_back("a.dat");
        const ParsedCommand parsed = parseDraw(args);
        ASSERT_EQ(parsed.kind, ParsedCommand::Kind::Run) << parsed.text;
        const auto settled = settleCommand(parsed.options, CommandName::Draw, paths, "");
        ASSERT_TRUE(std::holds_alternative<std::string>(settled)) << row.args[0];
        const std::string& message = std::get<std::string>(settled);
        if (row.message.empty()) {
            EXPECT_EQ(message.rfind("--years 2015..2016: [Archive] Years=2015..2016: expected", 0),
                      0u)
                << message;
        } else {
            EXPECT_EQ(message, row.message);
        }
    }
}

TEST(CommandSetup, TheLocaleChoosesTheLanguageOnlyWhileNoneIsChosen) {
    TempFolder fresh;
    fresh.put("Language.ini", "[lang_list]\nCharset=UTF-8\n");
    TempFolder chosen;
    chosen.put("Language.ini", "[Language]\nSelect=en\n");
    const struct {
        const TempFolder* user;
        std::string locale;
        Args args;
        std::string language;
    } rows[] = {
        {&fresh, "zh_TW.UTF-8", {}, "zh-cn"},
        {&fresh, "en_US.UTF-8", {}, "en"},
        {&fresh, "", {}, "en"},
        {&fresh, "zh_CN.UTF-8", {"--lang", "EN"}, "en"},
        {&chosen, "zh_CN.UTF-8", {}, "en"},
    };
    for (const auto& row : rows) {
        Args args = row.args;
        args.push_back("a.dat");
        const auto settled = settleCommand(parseDraw(args).options, CommandName::Draw,
                                           sourcePaths(*row.user), row.locale);
        ASSERT_TRUE(std::holds_alternative<CommandSetup>(settled));
        EXPECT_EQ(std::get<CommandSetup>(settled).language.code, row.language) << row.locale;
    }
    // Nothing was written: the window still asks on its first start.
    EXPECT_EQ(readFileOrEmpty(fresh.file("Language.ini")), "[lang_list]\nCharset=UTF-8\n");
}

// The completion installed with the package offers every option of the
// table, and nothing the table does not have.
TEST(CommandOptions, TheBashCompletionFollowsTheTable) {
    const std::string script = readFileOrEmpty(TCMAP_SOURCE_DIR "/packaging/tcmap.bash-completion");
    ASSERT_FALSE(script.empty());
    const auto offered = [&](const char* variable) {
        const size_t start = script.find(std::string(variable) + "=\"");
        const size_t end = script.find('"', start + std::string(variable).size() + 2);
        std::set<std::string> names;
        std::istringstream words(script.substr(start + std::string(variable).size() + 2,
                                               end - start - std::string(variable).size() - 2));
        for (std::string word; words >> word;) {
            if (word.starts_with("--")) names.insert(word);
        }
        return names;
    };
    for (const auto& [command, variable] : {std::pair{CommandName::Draw, "draw_options"},
                                            std::pair{CommandName::List, "list_options"}}) {
        const Args names = optionNames(command);
        EXPECT_EQ(offered(variable), std::set<std::string>(names.begin(), names.end())) << variable;
    }
}

TEST(CommandOptions, ForecastOptionsSetTheirKeys) {
    const struct {
        Args args;
        std::vector<std::string> stored;  // key=value in order
    } rows[] = {
        {{"--cycle", "2012102800"}, {"Cycle=2012102800"}},
        {{"--aids", "official,HWRF"}, {"Aids=official,HWRF"}},
        {{"--cone"}, {"Cone=1", "ConeAid="}},  // and a.dat stays a file
        {{"--cone", "avno"}, {"Cone=1", "ConeAid=AVNO"}},
        {{"--cone=official"}, {"Cone=1", "ConeAid="}},
        {{"--swath"}, {"Swath=1"}},
        {{"--no-swath"}, {"Swath=0"}},
        {{"--vector-land"}, {"VectorLand=1"}},
        {{"--no-vector-land"}, {"VectorLand=0"}},
    };
    for (const auto& row : rows) {
        Args args = row.args;
        args.push_back("a.dat");
        const ParsedCommand parsed = parseDraw(args);
        ASSERT_EQ(parsed.kind, ParsedCommand::Kind::Run) << row.args[0] << ": " << parsed.text;
        std::vector<std::string> stored;
        for (const NamedSetting& s : parsed.options.named) {
            EXPECT_EQ(s.tcv, s.wendrel) << "one key for both styles";
            stored.push_back(std::string(s.tcv->key) + "=" + s.value);
        }
        EXPECT_EQ(stored, row.stored) << row.args[0];
        EXPECT_EQ(parsed.options.inputs, (Args{"a.dat"}));
    }
    const struct {
        Args args;
        std::string start;
    } refused[] = {
        {{"--cone=sandy.dat"}, "tcmap draw: --cone sandy.dat: accepted: --cone alone"},
        {{"--aids", "global,??"}, "tcmap draw: --aids global,??: "},
    };
    for (const auto& row : refused) {
        const ParsedCommand parsed = parseDraw(row.args);
        EXPECT_EQ(parsed.kind, ParsedCommand::Kind::Usage) << row.args[0];
        EXPECT_TRUE(parsed.text.starts_with(row.start)) << parsed.text;
    }
}

// `draw` shows the forecaster's map by default; the shipped settings, which
// batch mode reads, keep today's maps.
TEST(CommandSetup, DrawTurnsTheForecastProductsOnAndBatchModeKeepsThemOff) {
    std::vector<std::string> defaults;
    for (const SettingOverride& entry : drawCommandDefaults()) {
        defaults.push_back(entry.section + "." + entry.key + "=" + entry.value);
    }
    // After the annotations' keys, which the test below checks.
    ASSERT_GE(defaults.size(), 3u);
    EXPECT_EQ(
        std::vector<std::string>(defaults.end() - 3, defaults.end()),
        (std::vector<std::string>{"Forecast.Cycle=latest", "Forecast.Cone=1", "Forecast.Swath=1"}));
    for (const bool tcv : {false, true}) {
        for (const std::string& path :
             {std::string(TCMAP_SOURCE_DIR) + "/data/Settings.ini", std::string("/nonexistent")}) {
            const JobSettings s = readJobSettings(path, tcv);
            EXPECT_EQ(s.forecastCycle, "all") << path;
            EXPECT_EQ(s.forecastAids, "all");
            EXPECT_TRUE(s.earlyAids);
            EXPECT_FALSE(s.cone);
            EXPECT_FALSE(s.swath);
        }
    }
}

// `draw` turns every annotation on; the options name the title and the chart
// or turn the title off; the installed settings file, read by batch mode,
// keeps them all off.
TEST(CommandSetup, DrawAnnotatesItsMapsWhereBatchModeDoesNot) {
    TempFolder user;
    user.put("Language.ini", "[Language]\nSelect=en\n");
    const ProgramPaths paths = sourcePaths(user);
    const struct {
        Args args;
        bool title;
        std::string titleText;
        std::string chart;
    } rows[] = {
        {{"a.dat"}, true, "", ""},
        {{"--title", "Ian 2022", "--chart", "ian.svg", "a.dat"}, true, "Ian 2022", "ian.svg"},
        {{"--no-title", "a.dat"}, false, "", ""},
    };
    for (const auto& row : rows) {
        const ParsedCommand parsed = parseDraw(row.args);
        ASSERT_EQ(parsed.kind, ParsedCommand::Kind::Run) << parsed.text;
        const auto settled = settleCommand(parsed.options, CommandName::Draw, paths, "");
        ASSERT_TRUE(std::holds_alternative<CommandSetup>(settled))
            << std::get<std::string>(settled);
        const AnnotationSettings a =
            readJobSettings(std::get<CommandSetup>(settled).settings, false).annotations;
        EXPECT_EQ(a.title, row.title) << row.args[0];
        EXPECT_EQ(a.titleText, row.titleText);
        EXPECT_EQ(a.chartOutput, row.chart);
        EXPECT_TRUE(a.gridNumbers && a.stormNames && a.legendContrast && a.proportionalLegend);
        EXPECT_EQ(a.timeYears, TimeYears::WhenSeveralYears);
    }
    const AnnotationSettings installed =
        readJobSettings(TCMAP_SOURCE_DIR "/data/Settings.ini", true).annotations;
    EXPECT_FALSE(installed.gridNumbers || installed.title || installed.stormNames ||
                 installed.legendContrast || installed.proportionalLegend);
    EXPECT_EQ(installed.timeYears, TimeYears::Never);
    EXPECT_TRUE(installed.chartOutput.empty());
}

TEST(CommandOptions, AgencyOptionsSetTheirKeysAndRefuseUnknownValues) {
    const struct {
        Args args;
        std::string stored;  // Section.Key=Value
    } rows[] = {
        {{"--scale", "CMA"}, "Agencies.Scale=cma"},
        {{"--scale", "saffir-simpson"}, "Agencies.Scale=saffir-simpson"},
        {{"--winds", "10min"}, "Agencies.Winds=10min"},
        {{"--winds", "As-Given"}, "Agencies.Winds=as-given"},
        {{"--agencies", "atcf, cma,JMA"}, "Agencies.Agencies=ATCF,CMA,JMA"},
    };
    for (const auto& row : rows) {
        Args args = row.args;
        args.push_back("a.dat");
        const ParsedCommand parsed = parseDraw(args);
        ASSERT_EQ(parsed.kind, ParsedCommand::Kind::Run) << row.args[0] << ": " << parsed.text;
        ASSERT_EQ(parsed.options.sets.size(), 1u) << row.args[0];
        const SettingOverride& set = parsed.options.sets.front();
        EXPECT_EQ(set.section + "." + set.key + "=" + set.value, row.stored);
    }
    const struct {
        Args args;
        std::string message;
    } refused[] = {
        {{"--scale", "beaufort"},
         "tcmap draw: --scale beaufort: unknown value; accepted: saffir-simpson, cma, jma"},
        {{"--winds", "3min"},
         "tcmap draw: --winds 3min: unknown value; accepted: as-given, 1min, 2min, 10min"},
        {{"--agencies", "CMA;JMA"},
         "tcmap draw: --agencies CMA;JMA: accepted: agency names of letters and digits "
         "separated by commas, such as ATCF,CMA,JMA"},
        {{"--agencies", "CMA,,JMA"},
         "tcmap draw: --agencies CMA,,JMA: accepted: agency names of letters and digits "
         "separated by commas, such as ATCF,CMA,JMA"},
    };
    for (const auto& row : refused) {
        const ParsedCommand parsed = parseDraw(row.args);
        EXPECT_EQ(parsed.kind, ParsedCommand::Kind::Usage) << row.args[0];
        EXPECT_EQ(parsed.text, row.message);
    }
}
