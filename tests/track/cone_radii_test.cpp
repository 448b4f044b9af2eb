#include "track/cone_radii.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text_rules.h"

using namespace tcmap;

namespace {

const std::string kHeader = "basin,year,12,24,36\n";

}  // namespace

TEST(ConeRadii, TheShippedFileIsCompleteAndSane) {
    // The copy the build lays into the run folder, as the program reads it.
    const ConeRadiiTable table = loadConeRadii(std::string(TCMAP_RUN_DIR) + "/forecast/cone_radii.csv");
    EXPECT_TRUE(table.errors.empty()) << table.errors.front();
    ASSERT_GE(table.rows.size(), 6u);
    for (const char* basin : {"AL", "EP", "CP"}) {
        EXPECT_NE(coneRadiiFor(table, basin, 2023), nullptr) << basin;
    }
    const std::vector<int> hours = {12, 24, 36, 48, 60, 72, 96, 120};
    for (const auto& row : table.rows) {
        ASSERT_EQ(row.radii.size(), hours.size()) << row.basin << row.year;
        for (size_t i = 0; i < hours.size(); ++i) {
            EXPECT_EQ(row.radii[i].hour, hours[i]);
            // Errors grow with lead time: a smaller radius later is a typo.
            if (i > 0) {
                EXPECT_GT(row.radii[i].nm, row.radii[i - 1].nm) << row.basin << row.year;
            }
        }
        EXPECT_GT(row.radii.front().nm, 15.0) << row.basin << row.year;
        EXPECT_LT(row.radii.back().nm, 300.0) << row.basin << row.year;
    }
}

TEST(ConeRadii, TheLatestYearNotAfterTheStormElseTheEarliest) {
    const ConeRadiiTable table = parseConeRadii(kHeader +
                                                "AL,2023,1,2,3\n"
                                                "AL,2025,4,5,6\n"
                                                "al,2024,7,8,9\n"
                                                "EP,2024,1,2,3\n");
    ASSERT_TRUE(table.errors.empty());
    struct Row {
        const char* basin;
        int year;
        int wantYear;  // 0: none
    };
    for (const Row& row : std::vector<Row>{{"AL", 2012, 2023},
                                           {"AL", 2023, 2023},
                                           {"al", 2024, 2024},
                                           {"AL", 2025, 2025},
                                           {"AL", 2031, 2025},
                                           {"EP", 2023, 2024},
                                           {"EP", 2030, 2024},
                                           {"CP", 2024, 0},
                                           {"WP", 2024, 0}}) {
        const ConeRadiiRow* found = coneRadiiFor(table, row.basin, row.year);
        EXPECT_EQ(found ? found->year : 0, row.wantYear) << row.basin << " " << row.year;
        if (found) {
            EXPECT_EQ(found->basin, toUpperAscii(row.basin));
        }
    }
    EXPECT_EQ(coneRadiiFor(table, "AL", 2024)->radii[2].nm, 9.0);
    EXPECT_EQ(coneRadiiFor(table, "AL", 2024)->radii[2].hour, 36);
}

TEST(ConeRadii, BadLinesAreNamedAndTheGoodOnesKept) {
    struct Row {
        const char* line;
        const char* mentioned;
    };
    const std::vector<Row> rows = {
        {"AL,2024,26,41", "4 fields, the header has 5"},
        {"AL,2024,26,41,55,70", "6 fields"},
        {"AL,2024,26,4x,55", "at 24 h, \"4x\""},
        {"AL,2024,26,-1,55", "at 24 h"},
        {"AL,2024,26,,55", "at 24 h"},
        {"AL,2024,26,nan,55", "at 24 h"},
        {"AL,2024,26,41,5500", "at 36 h"},
        {"A1,2024,26,41,55", "\"A1\" is not a two-letter basin"},
        {"AL,20x4,26,41,55", "\"20x4\" is not a year"},
        {"EP,2023,1,2,3", "EP 2023 is already given"},
    };
    for (const Row& row : rows) {
        const ConeRadiiTable table = parseConeRadii(
            "# radii\r\n" + kHeader + "EP,2023,1,2,3\r\n\r\n" + row.line + "\r\nCP,2023,4,5,6\r\n",
            "radii.csv");
        ASSERT_EQ(table.errors.size(), 1u) << row.line;
        EXPECT_EQ(table.errors[0].rfind("radii.csv line 5: ", 0), 0u) << table.errors[0];
        EXPECT_NE(table.errors[0].find(row.mentioned), std::string::npos) << table.errors[0];
        ASSERT_EQ(table.rows.size(), 2u) << row.line;
        EXPECT_EQ(table.rows[1].radii[2].nm, 6.0);
    }
}

TEST(ConeRadii, AFileWithoutAUsableHeaderHasNoRows) {
    for (const char* text :
         {"", "# only a comment\n", "AL,2024,26,41,55\n", "basin,year,12,12,24\nAL,2024,1,2,3\n",
          "basin,year,12,x\nAL,2024,1,2\n", "basin,year\n"}) {
        const ConeRadiiTable table = parseConeRadii(text);
        EXPECT_TRUE(table.rows.empty()) << text;
        EXPECT_EQ(table.errors.size(), 1u) << text;
    }
    const ConeRadiiTable missing = loadConeRadii("/nonexistent/cone_radii.csv");
    EXPECT_TRUE(missing.rows.empty());
    ASSERT_EQ(missing.errors.size(), 1u);
    EXPECT_NE(missing.errors[0].find("/nonexistent/cone_radii.csv"), std::string::npos);
}
