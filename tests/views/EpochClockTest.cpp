#include "views/EpochClock.h"

#include "RecordFixture.h"

#include <gtest/gtest.h>

using views_test::epochRec;
using views_test::TempFolder;
using views_test::writeRecords;

TEST(EpochClock, TimeOfDayDropsOnlyZeroMilliseconds) {
    constexpr struct {
        text::TEpochTime t;
        const char* text;
        const char* why;
    } kCases[] = {
        {{2009, 5, 25, 0, 5, 30.0L}, "00:05:30", "whole seconds"},
        {{2009, 5, 25, 0, 5, 30.25L}, "00:05:30.250", "10 Hz data keep their fraction"},
        {{2009, 12, 31, 23, 59, 59.9996L}, "00:00:00", "1000 ms carry as the calculator's"},
        {{12345, 1, 1, 1, 2, 3.0L}, "01:02:03", "a wide year does not move the time"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(views::timeOfDayText(c.t), c.text);
    }
}

TEST(EpochClock, RecordTimesFollowTheFileOrder) {
    TempFolder dir;
    writeRecords(dir.epochs(), obs::kEpochRecSize,
                 std::vector<obs::TEpochRec>{epochRec(0, 0, 0, {{'G', 1}}),
                                             epochRec(0, 0, 30, {{'G', 1}}),
                                             epochRec(13, 45, 0, {{'G', 1}})});
    EXPECT_EQ(views::recordTimesOfDay(dir.epochs()),
              (std::vector<std::string>{"00:00:00", "00:00:30", "13:45:00"}));
    EXPECT_TRUE(views::recordTimesOfDay(dir.file("missing.dat")).empty());
}

TEST(EpochClock, ListTimesSkipTheGapMarkers) {
    const std::vector<std::string> list = {
        " 05/01/2009  00:00:00.000           3            1",
        "*******************************************",
        "******* 1 epochs missing **************",
        "*******************************************",
        " 05/01/2009  00:01:00.500           3            2",
    };
    EXPECT_EQ(views::listTimesOfDay(list), (std::vector<std::string>{"00:00:00", "00:01:00.500"}));
}
