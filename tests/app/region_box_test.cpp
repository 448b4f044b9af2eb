// The numeric view of a Regional job's rectangle: which fixes lie in it,
// across both seams of the map, and how the stored text becomes the fields.
#include "app/region_box.h"

#include <gtest/gtest.h>

#include "track/track.h"

using namespace tcmap;

namespace {

std::vector<Track> oneFixAt(double latitude, double longitude) {
    Track track;
    Fix fix;
    fix.latitude = latitude;
    fix.longitude = longitude;
    track.fixes.push_back(fix);
    return {track};
}

}  // namespace

TEST(RegionBox, AFixInsideIsFoundAcrossBothSeams) {
    const struct {
        const char* why;
        RegionBox box;
        double latitude, longitude;
        bool inside;
    } rows[] = {
        {"western Pacific", {60, 100, 60, 80}, 20, 130, true},
        {"east of the east edge", {60, 100, 60, 80}, 20, -170, false},
        {"on the east edge (180)", {60, 100, 60, 80}, 20, 180, true},
        {"on the west edge", {60, 100, 60, 80}, 0, 100, true},
        {"south of the south edge", {60, 100, 60, 80}, -0.1, 120, false},
        {"north of the north edge", {60, 100, 60, 80}, 60.1, 120, false},
        {"across 180: west of it", {30, 170, 30, 30}, 10, 175, true},
        {"across 180: east of it", {30, 170, 30, 30}, 10, -165, true},
        {"across 180: past the box", {30, 170, 30, 30}, 10, -155, false},
        {"west edge given west", {60, -100, 60, 100}, 25, -89, true},
        {"west edge given west, fix east", {60, -100, 60, 100}, 25, 5, false},
        {"across 0", {60, -10, 60, 20}, 30, 5, true},
        {"across 0, west of Greenwich", {60, -10, 60, 20}, 30, -5, true},
        {"0W is Greenwich", {60, -10, 60, 20}, 30, -0.0, true},
        {"west edge past 180E", {0, 300, 20, 10}, -10, -55, true},
        {"southern box", {0, 90, 40, 70}, -15, 120, true},
        {"whole world", {90, 0, 180, 360}, -89, -179, true},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(regionHoldsFix(oneFixAt(row.latitude, row.longitude), row.box), row.inside)
            << row.why;
    }
    EXPECT_FALSE(regionHoldsFix(std::vector<Track>{}, RegionBox{}));
    // The job's four texts, as the Regional job reads them.
    EXPECT_TRUE(
        regionHoldsFix(oneFixAt(10, -165), std::vector<std::string>{"30", "170", "30", "30"}));
    EXPECT_FALSE(
        regionHoldsFix(oneFixAt(10, 100), std::vector<std::string>{"30", "-80", "30", "30"}));
}

// Each basin's box holds a storm typical of that basin and not one of the
// basin on the far side of the world.
TEST(RegionBox, EachBasinPresetHoldsItsOwnStorms) {
    const struct {
        TextId basin;
        double latitude, longitude;        // a storm of the basin
        double farLatitude, farLongitude;  // a storm it must leave out
    } rows[] = {
        {TextId::RegionNorthAtlantic, 25.0, -89.0, 20.0, 130.0},
        {TextId::RegionNortheastPacific, 15.0, -110.0, 25.0, -70.0},
        {TextId::RegionNorthwestPacific, 20.0, 130.0, 25.0, -89.0},
        {TextId::RegionNorthIndian, 15.0, 88.0, -15.0, 60.0},
        {TextId::RegionSouthIndian, -15.0, 60.0, 15.0, 88.0},
        {TextId::RegionAustralian, -15.0, 120.0, -18.0, -150.0},
        {TextId::RegionSouthPacific, -17.0, -150.0, 20.0, 130.0},
    };
    ASSERT_EQ(basinPresets().size(), std::size(rows));
    for (size_t index = 0; index < std::size(rows); ++index) {
        const BasinPreset& preset = basinPresets()[index];
        EXPECT_EQ(preset.nameId, rows[index].basin);
        EXPECT_TRUE(
            regionHoldsFix(oneFixAt(rows[index].latitude, rows[index].longitude), preset.box))
            << index;
        EXPECT_FALSE(
            regionHoldsFix(oneFixAt(rows[index].farLatitude, rows[index].farLongitude), preset.box))
            << index;
        EXPECT_LE(preset.box.lonExtent, kMaxLongitudeExtent);
        EXPECT_GE(preset.box.north - preset.box.latExtent, -90.0);
    }
}

TEST(RegionBox, StoredTextBecomesFieldsAndBack) {
    const struct {
        const char* stored;
        const char* shown;  // regionText of the box the window shows
    } rows[] = {
        {"60,100,60,80", "60,100,60,80"},
        {"60, 100, 60, 80", "60,100,60,80"},
        {"-10.5,300.25,1e1,2", "-10.5,-59.75,10,2"},
        {"40,-180,40,100", "40,180,40,100"},  // the same meridian, written east
        {"0,-0,10,10", "0,0,10,10"},
        {"30,540,10,10", "30,180,10,10"},
        {"1,2,3", "60,100,60,80"},  // not four parts: the default region
        {"", "60,100,60,80"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(regionText(regionBoxFromText(row.stored)), row.shown) << row.stored;
    }
}
