#include "text/GPSTime.h"

#include <gtest/gtest.h>

using text::TGPSTime;

TEST(TGPSTime, CountsFromTheStartOfWeekZero) {
    const auto t = TGPSTime::fromDate(1980, 1, 6, 0, 0, 0);
    EXPECT_EQ(t.value(), 0u);
    EXPECT_EQ(t.Week().value(), 1024); // week 0 reads as after the rollover
    EXPECT_EQ(t.Week10(), 0u);
    EXPECT_EQ(t.ToDate().dayOfWeek, 0);
}

TEST(TGPSTime, DatesRoundTripThroughToDate) {
    constexpr struct {
        std::uint32_t y;
        std::uint8_t m;
        std::uint32_t d;
        std::uint32_t days;
    } kCases[] = {
        {1980, 1, 31, 25}, {1980, 2, 1, 26},    {1980, 12, 31, 360},
        {1981, 1, 1, 361}, {2000, 2, 29, 7359}, {2009, 1, 5, 10592},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.y << "-" << int(c.m) << "-" << c.d);
        const auto t = TGPSTime::fromDate(c.y, c.m, c.d, 0, 0, 0);
        EXPECT_EQ(t.value(), c.days * 86400u);
        const auto back = t.ToDate();
        EXPECT_EQ(back.year, static_cast<std::int32_t>(c.y));
        EXPECT_EQ(back.month, c.m);
        EXPECT_EQ(back.day, c.d);
    }
}

TEST(TGPSTime, WeekRolloverAndSecondsOfWeek) {
    const auto rollover = TGPSTime::fromDate(1999, 8, 22, 0, 0, 0);
    EXPECT_EQ(rollover.value(), 1024u * 604800u);
    EXPECT_EQ(rollover.Week10(), 0u);
    EXPECT_EQ(rollover.Week().value(), 1024);
    const auto t = TGPSTime::fromDate(2009, 1, 5, 12, 0, 0);
    EXPECT_EQ(t.SecondsOfWeek(), 129600u); // 2009-01-04 was a Sunday
    EXPECT_EQ(t.DayNumber(), 1 + 1513 * 7);
    EXPECT_EQ(t.DayOfWeekAfter(12 * 60), 2);
}

TEST(TGPSTime, InvalidDatesGiveZero) {
    constexpr struct {
        std::uint32_t y;
        std::uint8_t mo;
        std::uint32_t d, h, mi, s;
        const char* why;
    } kCases[] = {
        {1980, 1, 5, 0, 0, 0, "before the start"},
        {1979, 12, 31, 0, 0, 0, "year before 1980"},
        {2117, 1, 1, 0, 0, 0, "year after 2116"},
        {2009, 13, 1, 0, 0, 0, "month 13"},
        {2009, 1, 0, 0, 0, 0, "day 0"},
        {1981, 2, 29, 0, 0, 0, "not a leap year"},
        {2009, 1, 1, 24, 0, 0, "hour 24"},
        {2009, 1, 1, 0, 60, 0, "minute 60"},
        {2009, 1, 1, 0, 0, 60, "second 60"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(TGPSTime::fromDate(c.y, c.mo, c.d, c.h, c.mi, c.s).value(), 0u);
    }
}

TEST(TGPSWeek, ExtendsTenBitWeeksBelow512) {
    EXPECT_EQ(text::TGPSWeek(100).value(), 1124);
    EXPECT_EQ(text::TGPSWeek(600).value(), 600);
    EXPECT_EQ(text::TGPSWeek(-1).value(), 1023);
}

TEST(AddMinute, CarriesIntoHourDayMonthAndYear) {
    constexpr struct {
        text::TEpochTime in, out;
        const char* why;
    } kCases[] = {
        {{1999, 12, 31, 23, 59, 0}, {2000, 1, 1, 0, 0, 0}, "new year"},
        {{8, 2, 28, 23, 59, 0}, {8, 2, 29, 0, 0, 0}, "two-digit leap year 8"},
        {{9, 2, 28, 23, 59, 0}, {9, 3, 1, 0, 0, 0}, "year 9 is not leap"},
        {{2009, 4, 30, 23, 59, 0}, {2009, 5, 1, 0, 0, 0}, "30-day month"},
        {{2009, 1, 5, 10, 59, 0}, {2009, 1, 5, 11, 0, 0}, "hour only"},
        {{2009, 4, 31, 23, 59, 0}, {2009, 4, 32, 0, 0, 0}, "bad day passes through"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.why);
        auto t = c.in;
        text::AddMinute(t);
        EXPECT_EQ(t, c.out);
    }
}

TEST(DateTime, EncodesAndDecodesDayCounts) {
    EXPECT_EQ(text::EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(text::EncodeDate(2009, 1, 5), 39818.0);
    EXPECT_DOUBLE_EQ(text::OneSecond, text::EncodeTime(0, 0, 1, 0));
    const auto p =
        text::DecodeDateTime(text::EncodeDate(2009, 1, 5) + text::EncodeTime(23, 59, 30, 250));
    EXPECT_EQ(p.year, 2009);
    EXPECT_EQ(p.day, 5);
    EXPECT_EQ(p.hour, 23);
    EXPECT_EQ(p.second, 30);
    EXPECT_EQ(p.millisecond, 250);
}

TEST(DateTime, MillisecondsThatRoundTo1000CarryIntoTheNextDay) {
    const double almostMidnight = text::EncodeDate(2009, 1, 5) + (86400.0 - 0.0004) / 86400.0;
    const auto p = text::DecodeDateTime(almostMidnight);
    EXPECT_EQ(p.day, 6);
    EXPECT_EQ(p.hour, 0);
    EXPECT_EQ(p.second, 0);
    EXPECT_EQ(p.millisecond, 0);
}
