#include "views/MeteoView.h"

#include "ViewsTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using viewstest::NoticeRecorder;
using viewstest::ScratchFolder;

text::TEpochTime epochOf(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour,
                         std::int32_t minute, long double seconds) {
    text::TEpochTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.seconds = seconds;
    return t;
}

TEST(MeteoDateTime, AppliesTheSixtySecondsAndYearRules) {
    constexpr struct {
        text::TEpochTime t;
        text::DateTimeParts shown;
        const char* reason;
    } kCases[] = {
        {{9, 3, 24, 0, 0, 0}, {2009, 3, 24, 0, 0, 0, 0}, "year 9 is 2009"},
        {{81, 1, 1, 0, 0, 0}, {1981, 1, 1, 0, 0, 0, 0}, "year 81 is 1981"},
        {{80, 1, 1, 0, 0, 0}, {2080, 1, 1, 0, 0, 0, 0}, "year 80 is 2080"},
        {{2009, 3, 24, 0, 0, 0}, {2009, 3, 24, 0, 0, 0, 0}, "a full year is taken modulo 100"},
        {{9, 3, 24, 12, 30, 15}, {2009, 3, 24, 12, 30, 15, 0}, "a plain time of day"},
        {{9, 3, 24, 12, 30, 60}, {2009, 3, 24, 12, 31, 0, 0}, "60 s: second 0 of the next minute"},
        {{9, 3, 24, 12, 59, 60}, {2009, 3, 24, 13, 0, 0, 0}, "the minute carries into the hour"},
        {{9, 3, 24, 23, 59, 60}, {2009, 3, 25, 0, 0, 0, 0}, "the hour carries into the day"},
        {{9, 3, 31, 23, 59, 60}, {2009, 4, 1, 0, 0, 0, 0}, "a day past the month's end"},
        {{9, 12, 31, 23, 59, 60}, {2010, 1, 1, 0, 0, 0, 0}, "and past the year's end"},
        {{9, 3, 24, 1, 2, 3.25L}, {2009, 3, 24, 1, 2, 3, 250}, "milliseconds of a fraction"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        const std::optional<double> t = views::MeteoDateTime(c.t);
        ASSERT_TRUE(t.has_value());
        const text::DateTimeParts p = text::DecodeDateTime(*t);
        EXPECT_EQ(p.year, c.shown.year);
        EXPECT_EQ(p.month, c.shown.month);
        EXPECT_EQ(p.day, c.shown.day);
        EXPECT_EQ(p.hour, c.shown.hour);
        EXPECT_EQ(p.minute, c.shown.minute);
        EXPECT_EQ(p.second, c.shown.second);
        EXPECT_EQ(p.millisecond, c.shown.millisecond);
    }
}

TEST(MeteoDateTime, GivesNothingForAnImpossibleTime) {
    constexpr struct {
        text::TEpochTime t;
        const char* reason;
    } kCases[] = {
        {{9, 13, 1, 0, 0, 0}, "month 13"},   {{9, 0, 1, 0, 0, 0}, "month 0"},
        {{9, 3, 0, 0, 0, 0}, "day 0"},       {{9, 3, 32, 0, 0, 0}, "day 32"},
        {{9, 3, 1, 24, 0, 0}, "hour 24"},    {{9, 3, 1, 0, 60, 0}, "minute 60"},
        {{9, 3, 1, 0, 0, 61}, "61 seconds"}, {{9, 3, 1, 0, 0, -1}, "negative seconds"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        EXPECT_FALSE(views::MeteoDateTime(c.t).has_value());
    }
}

// Meteo.dat written in a scratch folder with the header's type presence.
class MeteoChartTest : public ::testing::Test {
protected:
    MeteoChartTest() : folder("meteo") { sources.meteoFile = folder.file("Meteo.dat"); }

    void write(const std::vector<meteo::MeteoRecord>& records) {
        viewstest::writeRecords(sources.meteoFile, meteo::kMeteoRecordSize, records,
                                [](const meteo::MeteoRecord& r) { return meteo::encode(r); });
        sources.recordsWritten = static_cast<std::int32_t>(records.size());
    }
    void list(std::size_t code, std::int32_t position) {
        sources.types.present[code] = 1;
        sources.types.position[code] = position;
    }
    static meteo::MeteoRecord record(std::int32_t minute, long double v1, long double v2,
                                     long double v3 = 0) {
        meteo::MeteoRecord r;
        r.epoch = epochOf(9, 3, 24, 0, minute, 0);
        r.values[0] = v1;
        r.values[1] = v2;
        r.values[2] = v3;
        return r;
    }

    ScratchFolder folder;
    views::MeteoSources sources;
    NoticeRecorder observer;
    static constexpr std::array<bool, views::kMeteoSeriesCount> kAllChecked = [] {
        std::array<bool, views::kMeteoSeriesCount> all{};
        all.fill(true);
        return all;
    }();
};

TEST_F(MeteoChartTest, TakesEachTypeFromTheSlotOfItsHeaderPosition) {
    // The header lists TD, PR, HR: PR sits in slot 2, TD in slot 1.
    list(1, 1);
    list(0, 2);
    list(2, 3);
    write({record(0, 15.1L, 1013.2L, 63.2L), record(1, 15.3L, 1013.4L, 0)});
    const auto series = views::MeteoChartSeries(sources, kAllChecked, observer);

    EXPECT_EQ(series[0].title, "PR");
    EXPECT_EQ(series[0].y, (std::vector<double>{1013.2, 1013.4}));
    EXPECT_EQ(series[1].title, "TD");
    EXPECT_EQ(series[1].y, (std::vector<double>{15.1, 15.3}));
    EXPECT_EQ(series[2].y, (std::vector<double>{63.2, 0})) << "a blank value is drawn as 0";
    for (std::size_t k = 3; k < views::kMeteoSeriesCount; ++k)
        EXPECT_TRUE(series[k].x.empty()) << series[k].title;

    const std::vector<double> x = {text::EncodeDate(2009, 3, 24),
                                   text::EncodeDate(2009, 3, 24) + text::EncodeTime(0, 1, 0, 0)};
    EXPECT_EQ(series[0].x, x);
    EXPECT_EQ(series[1].x, x);
    EXPECT_TRUE(observer.notices.empty());
}

TEST_F(MeteoChartTest, DrawsOnlyListedTypesWhoseBoxIsChecked) {
    list(0, 1);
    list(1, 2);
    write({record(0, 1013.2L, 15.1L), record(1, 1013.4L, 15.3L)});
    // HR is checked but absent from the header, TD is listed but not checked.
    const auto series = views::MeteoChartSeries(sources, {true, false, true}, observer);
    EXPECT_EQ(series[0].y.size(), 2u);
    EXPECT_TRUE(series[1].y.empty());
    EXPECT_TRUE(series[2].y.empty());
}

TEST_F(MeteoChartTest, DrawsTheWindAndRainOfRinex211) {
    // WS (code 7) at position 1, WD (code 8) at 2, HI (code 10) at 3; no ZW, ZD, ZT.
    list(7, 1);
    list(8, 2);
    list(10, 3);
    write({record(0, 3.1L, 10.0L, 0), record(1, 2.1L, 7.0L, 1)});
    const auto series = views::MeteoChartSeries(sources, kAllChecked, observer);
    ASSERT_EQ(views::kMeteoSeriesCount, 10u);
    EXPECT_EQ(series[6].title, "WS");
    EXPECT_EQ(series[6].y, (std::vector<double>{3.1, 2.1}));
    EXPECT_EQ(series[7].title, "WD");
    EXPECT_EQ(series[7].y, (std::vector<double>{10.0, 7.0}));
    EXPECT_EQ(series[8].title, "RI");
    EXPECT_TRUE(series[8].y.empty()); // not listed
    EXPECT_EQ(series[9].title, "HI");
    EXPECT_EQ(series[9].y, (std::vector<double>{0, 1}));
    EXPECT_TRUE(series[0].y.empty());
    const std::array<bool, views::kMeteoSeriesCount> boxes =
        views::MeteoBoxesEnabled(sources.types);
    EXPECT_EQ(boxes, (std::array<bool, views::kMeteoSeriesCount>{false, false, false, false, false,
                                                                 false, true, true, false, true}));
    EXPECT_EQ(views::kMeteoCheckBoxes[6], "CBWS");
    EXPECT_EQ(views::kMeteoCheckBoxes[9], "CBHI");
}

TEST_F(MeteoChartTest, NeedsTwoRecords) {
    list(0, 1);
    write({record(0, 1013.2L, 0)});
    const auto series = views::MeteoChartSeries(sources, kAllChecked, observer);
    EXPECT_TRUE(series[0].x.empty());
    EXPECT_TRUE(observer.notices.empty());
}

TEST_F(MeteoChartTest, KeepsThePointsReadBeforeAnUnexpectedEnd) {
    list(0, 1);
    write({record(0, 1013.2L, 0), record(1, 1013.4L, 0)});
    sources.recordsWritten = 3;
    const auto series = views::MeteoChartSeries(sources, kAllChecked, observer);
    EXPECT_EQ(observer.notices, std::vector<std::string>{"Unexpected end of file"});
    EXPECT_EQ(series[0].y, (std::vector<double>{1013.2, 1013.4}));
}

TEST_F(MeteoChartTest, TellsAFileThatCannotBeOpened) {
    list(0, 1);
    sources.recordsWritten = 2;
    const auto series = views::MeteoChartSeries(sources, kAllChecked, observer);
    EXPECT_EQ(observer.notices, std::vector<std::string>{"Error Opening File Meteo.dat ! "});
    EXPECT_TRUE(series[0].x.empty());
}

TEST_F(MeteoChartTest, SkipsARecordThatIsNoCalendarTime) {
    list(0, 1);
    meteo::MeteoRecord bad = record(0, 999, 0);
    bad.epoch.month = 13;
    write({record(0, 1013.2L, 0), bad, record(2, 1013.4L, 0)});
    const auto series = views::MeteoChartSeries(sources, kAllChecked, observer);
    EXPECT_EQ(series[0].y, (std::vector<double>{1013.2, 1013.4}));
}

TEST(MeteoBoxesEnabled, FollowsTheTypesOfTheHeader) {
    meteo::TypePresence types;
    types.present[1] = 1;
    types.present[5] = 1;
    EXPECT_EQ(views::MeteoBoxesEnabled(types),
              (std::array<bool, views::kMeteoSeriesCount>{false, true, false, false, false, true}));
    EXPECT_EQ(views::kMeteoCheckBoxes[0], "CBPR");
    EXPECT_TRUE(views::kMeteoCheckedAtStart[0]);
}

TEST(MeteoSensorRows, ListsEverySensorUnderTheHeading) {
    header::THeaderDataMeteo h;
    h.sensorCount = 3;
    h.sensors[0] = {"PAROSCIENTIFIC      ", "740-16B             ", 0.1L, 0};
    h.sensors[1] = {"VAISALA             ", "HMP230              ", 12.3L, 1};
    h.sensors[2] = {"UNKNOWN             ", "                    ", 0, header::kNoMeteoType};
    h.sensors[3] = {"NOT COUNTED", "", 1, 2};
    const auto rows = views::MeteoSensorRows(h);
    const std::vector<std::array<std::string, 4>> expected = {
        {"Model", "Type", "Accuracy", "Observation type"},
        {"PAROSCIENTIFIC      ", "740-16B             ", "    0.1", "PR"},
        {"VAISALA             ", "HMP230              ", "   12.3", "TD"},
        {"UNKNOWN             ", "                    ", "    0.0", "None"},
    };
    EXPECT_EQ(rows, expected);
}

TEST(MeteoSensorRows, HasOnlyTheHeadingWithoutSensors) {
    EXPECT_EQ(views::MeteoSensorRows(header::THeaderDataMeteo{}).size(), 1u);
}

} // namespace
