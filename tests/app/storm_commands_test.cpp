// `tcmap list` and `tcmap draw --each` over a small archive whose numbers are
// worked out by hand: three storms, ALPHA (a 09Z fix that counts for the
// peak but not for ACE), BETA (a depression fix that adds no ACE) and a
// storm whose name holds a slash.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/draw_command.h"
#include "app/list_command.h"
#include "app/map_name_pattern.h"
#include "app/storm_catalog.h"
#include "app/storm_maps.h"
#include "base/file_io.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;
using Args = std::vector<std::string>;

namespace {

const std::string kArchive = TCMAP_SOURCE_DIR "/tests/data/archives/hurdat2-three-storms.txt";

struct Result {
    int exitCode = -1;
    std::string out;
    std::string err;
};

struct EnglishRun {
    TempFolder user;
    CommandContext context;
    EnglishRun() {
        user.put("Language.ini", "[Language]\nSelect=en\n");
        context.paths.runFolder = user.path();
        context.paths.dataFolder = TCMAP_SOURCE_DIR "/data";
        context.cores = 2;
    }
    Result list(const Args& args) const { return run(runListCommand, args); }
    Result draw(const Args& args) const { return run(runDrawCommand, args); }

  private:
    template <typename Command>
    Result run(Command command, const Args& args) const {
        std::ostringstream out, err;
        Result result;
        result.exitCode = command(context, args, out, err);
        result.out = out.str();
        result.err = err.str();
        return result;
    }
};

}  // namespace

TEST(ListCommand, PrintsEachStormAsATableJsonOrCsv) {
    const EnglishRun run;
    const Result table = run.list({kArchive});
    EXPECT_EQ(table.exitCode, 0) << table.err;
    EXPECT_EQ(table.out,
              "id        name        basin  first         last          fixes  peak_wind_kt  "
              "lowest_pressure_hpa  ace\n"
              "EP012020  ALPHA       EP     202006010000  202006011200  4      100           "
              "970                  1.3725\n"
              "EP022021  BETA        EP     202107010000  202107010600  2      40            "
              "1004                 0.16\n"
              "CP012021  SLASH/NAME  CP     202108010000  202108010000  1      60            "
              "995                  0.36\n");

    const Result csv = run.list({"--csv", "--years", "2021", kArchive});
    EXPECT_EQ(csv.out,
              "id,name,basin,first,last,fixes,peak_wind_kt,lowest_pressure_hpa,ace\n"
              "EP022021,BETA,EP,202107010000,202107010600,2,40,1004,0.16\n"
              "CP012021,SLASH/NAME,CP,202108010000,202108010000,1,60,995,0.36\n");

    const Result json = run.list({"--json", "--basins", "CP", kArchive});
    EXPECT_EQ(json.out,
              "[\n  {\n    \"id\": \"CP012021\",\n    \"name\": \"SLASH/NAME\",\n    \"basin\": "
              "\"CP\",\n    \"first\": \"202108010000\",\n    \"last\": \"202108010000\",\n    "
              "\"fixes\": 1,\n    \"peak_wind_kt\": 60,\n    \"lowest_pressure_hpa\": 995,\n    "
              "\"ace\": 0.36\n  }\n]\n");

    const Result missing = run.list({kArchive, "/nonexistent/b.dat"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "tcmap list: /nonexistent/b.dat: not a readable file\n");
    EXPECT_EQ(run.list({}).exitCode, 2);
}

TEST(MapNamePattern, PlaceholdersAndUnsafeCharacters) {
    StormFacts storm;
    storm.id = "CP012021";
    storm.name = "SLASH/NAME";
    storm.basin = "CP";
    storm.number = "01";
    storm.year = "2021";
    const struct {
        std::string pattern;
        std::string name;
    } rows[] = {
        {"out/{year}/{id}-{name}.png", "out/2021/CP012021-SLASH_NAME.png"},
        {"{basin}{number}.svg", "CP01.svg"},
        {"a/{name}", "a/SLASH_NAME"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(checkMapNamePattern(row.pattern), "");
        EXPECT_EQ(expandMapName(row.pattern, storm), row.name);
    }
    const struct {
        std::string value;
        std::string safe;
    } parts[] = {{"..", "_."}, {"", "_"}, {"A B\\C\n", "A_B_C_"}, {"台风", "______"}};
    for (const auto& part : parts) EXPECT_EQ(safeNamePart(part.value), part.safe) << part.value;
    EXPECT_EQ(checkMapNamePattern("out/{yaer}.png"),
              "--each out/{yaer}.png: unknown placeholder {yaer}; accepted placeholders: {year} "
              "{id} {name} {basin} {number}");
    EXPECT_EQ(checkMapNamePattern("out/{id.png"),
              "--each out/{id.png: a '{' without its '}'; accepted placeholders: {year} {id} "
              "{name} {basin} {number}");
}

TEST(StormShards, AreDisjointAndTogetherTheWholeList) {
    const StormCatalog catalog =
        readStormCatalog({TCMAP_SOURCE_DIR "/tests/data/archives/hurdat2-nepac-2015.txt", kArchive},
                         ArchiveSelection());
    ASSERT_GT(catalog.storms.size(), 20u);
    for (const size_t count : {1u, 2u, 3u, 7u, 50u}) {
        std::multiset<const Track*> seen;
        for (size_t index = 1; index <= count; ++index) {
            for (const CatalogStorm& storm : shardOf(catalog.storms, index, count)) {
                seen.insert(storm.track.get());
            }
        }
        std::multiset<const Track*> whole;
        for (const CatalogStorm& storm : catalog.storms) whole.insert(storm.track.get());
        EXPECT_EQ(seen, whole) << count;  // each storm exactly once
    }
    // The same arguments give the same part on every machine.
    const auto ids = [&](size_t index) {
        Args part;
        for (const CatalogStorm& storm : shardOf(catalog.storms, index, 3)) {
            part.push_back(storm.track->stormId);
        }
        return part;
    };
    EXPECT_EQ(ids(2), ids(2));
    EXPECT_EQ(ids(1).front(), catalog.storms[0].track->stormId);
    EXPECT_EQ(ids(2).front(), catalog.storms[1].track->stormId);
}

// A map that cannot be written leaves the others drawn and its path
// untouched, and the index and the exit code say so.
TEST(DrawEach, OneFailedStormDoesNotStopTheOthers) {
    const EnglishRun run;
    TempFolder out;
    out.put("BETA", "a file where BETA's folder would go");
    const std::string pattern = out.path() + "/{name}/{id}.png";
    const std::string index = out.file("maps.csv");
    const Result result =
        run.draw({kArchive, "--each", pattern, "--index", index, "--stats", "csv", "-j", "3"});
    EXPECT_EQ(result.exitCode, 1) << result.err;
    EXPECT_TRUE(isRegularFile(out.file("ALPHA/EP012020.png")));
    EXPECT_TRUE(isRegularFile(out.file("SLASH_NAME/CP012021.png")));
    EXPECT_EQ(readFileOrEmpty(out.file("BETA")), "a file where BETA's folder would go");
    EXPECT_NE(result.err.find("1 of 3 maps failed"), std::string::npos) << result.err;

    const std::string csv = readFileOrEmpty(index);
    EXPECT_NE(csv.find(out.path() + "/ALPHA/EP012020.png,EP012020,ALPHA,EP,202006010000,"
                                    "202006011200,4,100,970,1.3725,ok\n"),
              std::string::npos)
        << csv;
    EXPECT_NE(csv.find(out.path() + "/BETA/EP022021.png,EP022021,BETA,"), std::string::npos);
    EXPECT_EQ(csv.find("BETA,EP,202107010000,202107010600,2,40,1004,0.16,ok"), std::string::npos);
    // Statistics on standard output, with the total; progress went to errors.
    EXPECT_EQ(result.out,
              "id,name,basin,first,last,fixes,peak_wind_kt,lowest_pressure_hpa,ace\n"
              "EP012020,ALPHA,EP,202006010000,202006011200,4,100,970,1.3725\n"
              "EP022021,BETA,EP,202107010000,202107010600,2,40,1004,0.16\n"
              "CP012021,SLASH/NAME,CP,202108010000,202108010000,1,60,995,0.36\n"
              "total,,,,,,100,970,1.8925\n");
}

// Maps drawn on several threads at once are the bytes of maps drawn one
// after another.
TEST(DrawEach, ThreadsDrawTheBytesOfOneThread) {
    const EnglishRun run;
    TempFolder one, three;
    ASSERT_EQ(run.draw({kArchive, "--each", one.path() + "/{id}.png", "-j", "1"}).exitCode, 0);
    ASSERT_EQ(run.draw({kArchive, "--each", three.path() + "/{id}.png", "-j", "3"}).exitCode, 0);
    for (const char* id : {"EP012020", "EP022021", "CP012021"}) {
        const std::string name = std::string(id) + ".png";
        const std::string bytes = readFileOrEmpty(one.file(name));
        EXPECT_GT(bytes.size(), 1000u) << id;
        EXPECT_EQ(bytes, readFileOrEmpty(three.file(name))) << id;
    }
}

TEST(DrawEach, TwoStormsOfOneFileStopTheRunBeforeDrawing) {
    const EnglishRun run;
    TempFolder out;
    const Result result = run.draw({kArchive, "--each", out.path() + "/{year}.png"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, "tcmap draw: --each " + out.path() + "/{year}.png: EP022021 BETA (" +
                              kArchive + ") and CP012021 SLASH/NAME (" + kArchive +
                              ") both map to " + out.path() +
                              "/2021.png; add {id} or {year} to the pattern to tell them apart\n");
    EXPECT_FALSE(pathExists(out.file("2020.png")));
}

TEST(DrawCommand, AFailedMapLeavesItsPathAlone) {
    const EnglishRun run;
    TempFolder out;
    const std::string old = out.put("map.png", "yesterday's map");
    const Result none = run.draw({kArchive, "--storms", "NOSUCH", "-o", old});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(readFileOrEmpty(old), "yesterday's map");
    EXPECT_NE(none.err.find("tcmap draw: no map written to " + old + ": "), std::string::npos)
        << none.err;

    const Result drawn = run.draw({kArchive, "--years", "2020", "--stats", "json", "-o", old});
    EXPECT_EQ(drawn.exitCode, 0) << drawn.err;
    EXPECT_EQ(readFileOrEmpty(old).substr(1, 3), "PNG");
    EXPECT_NE(drawn.out.find("\"total\": {\n    \"peak_wind_kt\": 100,\n    "
                             "\"lowest_pressure_hpa\": 970,\n    \"ace\": 1.3725"),
              std::string::npos)
        << drawn.out;

    const struct {
        Args args;
        std::string start;
    } usage[] = {
        {{kArchive}, "tcmap draw: give -o FILE for one map, or --each PATTERN"},
        {{kArchive, "-o", "a.png", "--each", "b.png"}, "tcmap draw: -o and --each exclude"},
        {{kArchive, "-o", "a.png", "--index", "m.json"}, "tcmap draw: --index needs --each"},
        {{kArchive, "-o", kArchive}, "tcmap draw: "},
        {{kArchive, "-o", "-", "--stats", "csv"},
         "tcmap draw: -o - and --stats both write to standard output; give --stats-file FILE"},
    };
    for (const auto& row : usage) {
        const Result result = run.draw(row.args);
        EXPECT_EQ(result.exitCode, 2) << row.start;
        EXPECT_EQ(result.err.rfind(row.start, 0), 0u) << result.err;
    }
    EXPECT_EQ(readFileOrEmpty(kArchive).substr(0, 8), "EP012020");
}
