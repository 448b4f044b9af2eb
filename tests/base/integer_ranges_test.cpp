// The year-list grammar of the archive filter and the settings check.
#include "base/integer_ranges.h"

#include <gtest/gtest.h>

using namespace tcmap;

TEST(IntegerRanges, ReadsNumbersAndRangesAndKeepsWhatIsNeither) {
    using Ranges = std::vector<std::pair<int32_t, int32_t>>;
    using Parts = std::vector<std::string>;
    struct Row {
        std::string_view list;
        Ranges ranges;
        Parts bad;
    };
    const Row rows[] = {
        {"2015", {{2015, 2015}}, {}},
        {"2004-2006", {{2004, 2006}}, {}},
        {"1950,2005", {{1950, 1950}, {2005, 2005}}, {}},
        {" 2006 - 2004 ,, ", {{2004, 2006}}, {}},
        {"+2015", {{2015, 2015}}, {}},
        {"-5", {{-5, -5}}, {}},
        {"2015..2016", {}, {"2015..2016"}},
        {"2015.0,20x5,2015-,1999", {{1999, 1999}}, {"2015.0", "20x5", "2015-"}},
        {"99999999999", {}, {"99999999999"}},
        {"", {}, {}},
        {" , ", {}, {}},
    };
    for (const Row& row : rows) {
        const IntegerRanges parsed = parseIntegerRanges(row.list);
        EXPECT_EQ(parsed.ranges, row.ranges) << row.list;
        EXPECT_EQ(parsed.badParts, row.bad) << row.list;
        EXPECT_EQ(parsed.hasParts(), !row.ranges.empty() || !row.bad.empty()) << row.list;
    }
    const IntegerRanges years = parseIntegerRanges("1950,2004-2006");
    EXPECT_TRUE(years.contains(2005));
    EXPECT_TRUE(years.contains(1950));
    EXPECT_FALSE(years.contains(2007));
}
