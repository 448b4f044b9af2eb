#include "render/layers/time_years.h"

#include <gtest/gtest.h>

#include "i18n/language_pack.h"

using namespace tcmap;

TEST(TimeYears, WhenLabelsCarryTheYear) {
    struct Row {
        const char* what;
        TimeYears setting;
        std::vector<std::pair<std::string, TrackFileKind>> fixes;
        bool carries;
    };
    const auto best = TrackFileKind::BestTrackFile;
    const auto forecast = TrackFileKind::ForecastFile;
    const Row rows[] = {
        {"never, across years",
         TimeYears::Never,
         {{"201412311800", best}, {"201501010000", best}},
         false},
        {"always, in one year", TimeYears::Always, {{"201410241200", best}}, true},
        {"several years",
         TimeYears::WhenSeveralYears,
         {{"201412311800", best}, {"201501010000", best}},
         true},
        {"one year",
         TimeYears::WhenSeveralYears,
         {{"201410241200", best}, {"201410250000", best}},
         false},
        // A forecast's times are hours after its cycle, not dates.
        {"a forecast's hours are no year",
         TimeYears::WhenSeveralYears,
         {{"201410241200", best}, {"12", forecast}},
         false},
        {"no fix", TimeYears::WhenSeveralYears, {}, false},
    };
    const LanguagePack lang{TCMAP_SOURCE_DIR "/data", "en", "UTF-8", false};
    const OutputGeometry frame;
    for (const Row& row : rows) {
        JobSettings settings;
        settings.annotations.timeYears = row.setting;
        FixTable fixes;
        for (const auto& [time, kind] : row.fixes) {
            fixes.x.push_back(0);
            fixes.time.push_back(time);
            fixes.kind.push_back(static_cast<int32_t>(kind));
        }
        const LayerInput input{settings, true, frame, fixes, {}, lang, ""};
        EXPECT_EQ(timesCarryYear(input), row.carries) << row.what;
    }
}

TEST(TimeYears, DatedLabels) {
    const struct {
        const char* time;
        const char* label;
    } rows[] = {
        {"201410241200", "2014-10-24 12Z"},
        {"2014102418", "2014-10-24 18Z"},
        {"2014", "2014"},
    };
    for (const auto& row : rows) EXPECT_EQ(datedTimeLabel(row.time), row.label) << row.time;
}
