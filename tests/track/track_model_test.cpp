#include "track/track_model.h"

#include <gtest/gtest.h>

using namespace tcmap;

namespace {

struct ClassRow {
    const char* code;
    int wind;
    SystemClass expected;
};

}  // namespace

TEST(SystemClass, StandardRuleByCodeAndWind) {
    const ClassRow rows[] = {
        {"", 0, SystemClass::Tropical},  // no wind at all
        {"", 15, SystemClass::NonTropical},
        {"XX", 23, SystemClass::NonTropical},
        {"XX", 24, SystemClass::Tropical},
        {"XX", -5, SystemClass::Tropical},
        {"MD", 40, SystemClass::NonTropical},
        {"EX", 120, SystemClass::NonTropical},
        {"SS", 50, SystemClass::Subtropical},
        {"SD", 5, SystemClass::Subtropical},
        {"TD", 10, SystemClass::Tropical},
        {"ex", 40, SystemClass::Tropical},  // codes are case-sensitive
    };
    for (const auto& row : rows) {
        EXPECT_EQ(systemClass(row.code, row.wind), row.expected) << row.code << " " << row.wind;
    }
}

TEST(SystemClass, TcvRuleNeedsTwentyFourKnotsAndNeverGivesSubtropical) {
    const ClassRow rows[] = {
        {"MD", 40, SystemClass::Tropical},    {"SS", 50, SystemClass::Tropical},
        {"TS", 23, SystemClass::NonTropical}, {"", 0, SystemClass::NonTropical},
        {"ET", 80, SystemClass::NonTropical},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(systemClass(row.code, row.wind, true), row.expected)
            << row.code << " " << row.wind;
    }
}

TEST(IsTropicalPart, StandardRuleIgnoresWindTcvRuleDoesNot) {
    const struct {
        int wind;
        const char* code;
        bool tcvRule;
        bool tropical;
    } rows[] = {
        {10, "TD", false, true},   {10, "TD", true, false},  {30, "MD", false, false},
        {30, "MD", true, true},    {0, "", false, true},     {0, "XX", false, true},
        {100, "PT", false, false}, {100, "WV", true, false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(isTropicalPart(row.wind, row.code, row.tcvRule), row.tropical)
            << row.wind << " " << row.code << " " << row.tcvRule;
    }
}

TEST(IsSynopticTime, LooksAtHourAndMinutesTogether) {
    const struct {
        const char* time;
        bool synoptic;
    } rows[] = {
        {"201410010600", true}, {"201410011800", true}, {"201410010630", false},
        {"2014100106", false},  // ends in day and hour: 0106
        {"P+0", false},         {"000", false},         {"0000", true},
    };
    for (const auto& row : rows) EXPECT_EQ(isSynopticTime(row.time), row.synoptic) << row.time;
}
