#include "track/track_model.h"

#include <gtest/gtest.h>

using namespace tcmap;

TEST(SystemClass, StandardRuleByCodeAndWind) {
    EXPECT_EQ(systemClass("", 0), SystemClass::Tropical);  // no wind at all
    EXPECT_EQ(systemClass("", 15), SystemClass::NonTropical);
    EXPECT_EQ(systemClass("XX", 23), SystemClass::NonTropical);
    EXPECT_EQ(systemClass("XX", 24), SystemClass::Tropical);
    EXPECT_EQ(systemClass("XX", -5), SystemClass::Tropical);
    EXPECT_EQ(systemClass("MD", 40), SystemClass::NonTropical);
    EXPECT_EQ(systemClass("EX", 120), SystemClass::NonTropical);
    EXPECT_EQ(systemClass("SS", 50), SystemClass::Subtropical);
    EXPECT_EQ(systemClass("SD", 5), SystemClass::Subtropical);
    EXPECT_EQ(systemClass("TD", 10), SystemClass::Tropical);
    EXPECT_EQ(systemClass("ex", 40), SystemClass::Tropical);  // codes are case-sensitive
}

TEST(SystemClass, TcvRuleNeedsTwentyFourKnotsAndNeverGivesSubtropical) {
    EXPECT_EQ(systemClass("MD", 40, true), SystemClass::Tropical);
    EXPECT_EQ(systemClass("SS", 50, true), SystemClass::Tropical);
    EXPECT_EQ(systemClass("TS", 23, true), SystemClass::NonTropical);
    EXPECT_EQ(systemClass("", 0, true), SystemClass::NonTropical);
    EXPECT_EQ(systemClass("ET", 80, true), SystemClass::NonTropical);
}

TEST(IsTropicalPart, StandardRuleIgnoresWindTcvRuleDoesNot) {
    EXPECT_TRUE(isTropicalPart(10, "TD", false));
    EXPECT_FALSE(isTropicalPart(10, "TD", true));
    EXPECT_FALSE(isTropicalPart(30, "MD", false));
    EXPECT_TRUE(isTropicalPart(30, "MD", true));
    EXPECT_TRUE(isTropicalPart(0, "", false));
    EXPECT_TRUE(isTropicalPart(0, "XX", false));
    EXPECT_FALSE(isTropicalPart(100, "PT", false));
    EXPECT_FALSE(isTropicalPart(100, "WV", true));
}

TEST(IsSynopticTime, LooksAtHourAndMinutesTogether) {
    EXPECT_TRUE(isSynopticTime("201410010600"));
    EXPECT_TRUE(isSynopticTime("201410011800"));
    EXPECT_FALSE(isSynopticTime("201410010630"));
    EXPECT_FALSE(isSynopticTime("2014100106"));  // ends in day and hour: 0106
    EXPECT_FALSE(isSynopticTime("P+0"));
    EXPECT_FALSE(isSynopticTime("000"));
    EXPECT_TRUE(isSynopticTime("0000"));
}
