#include "nav/NavLines.h"

#include "NavTestSupport.h"

#include "nav/GLONavFile.h"
#include "nav/GPSNavFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(Nearest, SendsHalvesToEven) {
    constexpr struct {
        long double x;
        std::int64_t expected;
    } kCases[] = {
        {0.5L, 0},                        // half goes down to the even 0
        {1.5L, 2},                        // half goes up to the even 2
        {2.5L, 2},                        // half goes down to the even 2
        {-0.5L, 0},                       // negative half to the even 0
        {-1.5L, -2},                      // negative half to the even -2
        {2.4999L, 2}, {1e30L, INT64_MAX}, // saturates instead of overflowing
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(static_cast<double>(c.x));
        EXPECT_EQ(nav::Nearest(c.x), c.expected);
    }
}

TEST(ReadD19Field, FindsFieldsByTheirExponentLetters) {
    const std::string line =
        "   -0.320188701153D-05 0.442624557763D-02 0.906549394131D-05 0.515355247879D+04";
    constexpr struct {
        int n;
        long double expected;
    } kCases[] = {
        {1, -0.320188701153e-05L},
        {2, 0.442624557763e-02L},
        {3, 0.906549394131e-05L},
        {4, 0.515355247879e+04L},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.n);
        long double x = 0;
        ASSERT_TRUE(nav::ReadD19Field(line, c.n, x));
        EXPECT_NEAR(static_cast<double>(x), static_cast<double>(c.expected),
                    1e-12 * static_cast<double>(c.expected < 0 ? -c.expected : c.expected));
    }
}

TEST(ReadD19Field, JudgesEachField) {
    constexpr struct {
        std::string_view text;
        int n;
        bool ok;
        const char* reason;
    } kCases[] = {
        {"    .500000000000d+01 -.625937500000d+02", 2, true, "lower-case d is read"},
        {"    .500000000000d+01 -.625937500000e+02", 1, false,
         "a d and an e: the later letter cuts the first field"},
        {"    .500000000000E+01 -.625937500000D+02", 1, false, "mixed D and E: the later wins"},
        {"    .500000000000D+01 -.625937500000D+02", 2, true, "fields need not be 19 wide"},
        {"    .500000000000F+01", 1, false, "F is no exponent letter"},
        {"    .500000000000D 01", 1, false, "the exponent needs its sign"},
        {"    .500000000000", 1, false, "a plain number has no exponent"},
        {"1.5D+01 2.5D+01", 2, true, "short fields one after the other"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        long double x = 0;
        EXPECT_EQ(nav::ReadD19Field(c.text, c.n, x), c.ok);
    }
}

TEST(ClassifyNavLine, LooksAtColumns19And21) {
    constexpr struct {
        std::string_view line;
        nav::NavLineKind kind;
        const char* reason;
    } kCases[] = {
        {"     .500000000000D+01", nav::NavLineKind::Orbit, "D in column 19"},
        {"     .500000000000e+01", nav::NavLineKind::Orbit, "lower-case e in column 19"},
        {" 1 11 01 14 22 00 00.0 -.2001D-03", nav::NavLineKind::Epoch, "point in column 21"},
        {"                  00.0", nav::NavLineKind::Invalid, "columns 1-5 blank"},
        {" 1 11 01 14 22 00 00", nav::NavLineKind::Invalid, "shorter than 21 characters"},
        {"", nav::NavLineKind::Invalid, "empty line"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        EXPECT_EQ(nav::ClassifyNavLine(c.line), c.kind);
    }
}

struct EpochCase {
    std::string_view line;
    const nav::NavRules* rules;
    bool accepted;
    std::vector<std::string> messages;
    const char* reason;
};

TEST(ParseEpochLine, ReportsTheFirstFailureAndThePositions) {
    const nav::NavRules* gps = &nav::GPSNav::kRules;
    const nav::NavRules* glo = &nav::GLONav::kRules;
    const EpochCase cases[] = {
        {" 1 11 01 14 22 00 00.0", gps, true, {}, "a well-formed GPS epoch"},
        {"x1 11 01 14 22 00 00.0", gps, false, {"Not valid data for PRN number"}, "bad PRN"},
        {" 1 1a 01 14 22 00 00.0",
         gps,
         false,
         {"Not valid data for Year \"EPOCH/SAT\""},
         "bad year"},
        {" 1 11 0x 14 22 00 00.0",
         gps,
         false,
         {"Not valid data for Month \"EPOCH/SAT\""},
         "bad month"},
        {" 1 11 01 1x 22 00 00.0", gps, false, {"Not valid data for Day \"EPOCH/SAT\""}, "bad day"},
        {" 1 11 01 14 2x 00 00.0",
         gps,
         false,
         {"Not valid data for Hour \"EPOCH/SAT\""},
         "bad hour"},
        {" 1 11 01 14 22 0x 00.0",
         gps,
         false,
         {"Not valid data for Min \"EPOCH/SAT\""},
         "bad minute"},
        {" 1 11 01 14 22 00 0.00",
         gps,
         false,
         {"Not F5.1 format for Sec \"EPOCH/SAT\""},
         "two decimals"},
        {" 1 11 01 14 22 00 0:0.0",
         gps,
         false,
         {"Not F5.1 format for Sec \"EPOCH/SAT\""},
         "a colon among the seconds"},
        {"  1 11 01 14 22 00 0.0",
         gps,
         true,
         {"Wrong position of PRN number"},
         "fields one column to the right: only the first position is told"},
        {" 1 11 01 14 22 00  0.",
         gps,
         true,
         {"Not F5.1 format for Sec"},
         "a '0' is added after a final point of the word, not of the columns"},
        {" 3 09  4  1  0 15  0.0-0.342596322298E-04",
         glo,
         true,
         {},
         "GLONASS seconds run into a negative clock value"},
        {" 3 09  4  1  0 15  0.0-0.342596322298E-04",
         gps,
         true,
         {},
         "GPS takes four characters, which stop before the dash"},
    };
    for (const EpochCase& c : cases) {
        SCOPED_TRACE(c.reason);
        text::DiagnosticList list;
        bool sec60 = false;
        const nav::EpochFields f =
            nav::ParseEpochLine(c.line, *c.rules, sec60, nav::LineReport{list, 9, c.line});
        EXPECT_EQ(f.accepted, c.accepted);
        std::vector<std::string> expected;
        for (const std::string& m : c.messages) {
            expected.push_back("string 9 : " + m);
            expected.emplace_back(c.line);
        }
        EXPECT_EQ(list.lines(), expected);
    }
}

TEST(ParseEpochLine, SixtySecondsMoveToTheNextMinuteAndAreToldOnce) {
    text::DiagnosticList list;
    bool sec60 = false;
    const std::string line = " 1 11 12 31 23 59 60.0";
    nav::EpochFields f =
        nav::ParseEpochLine(line, nav::GPSNav::kRules, sec60, nav::LineReport{list, 4, line});
    ASSERT_TRUE(f.accepted);
    EXPECT_EQ(f.epoch.year, 12);
    EXPECT_EQ(f.epoch.month, 1);
    EXPECT_EQ(f.epoch.day, 1);
    EXPECT_EQ(f.epoch.hour, 0);
    EXPECT_EQ(f.epoch.minute, 0);
    EXPECT_EQ(f.epoch.seconds, 0.0L);
    EXPECT_TRUE(sec60);
    f = nav::ParseEpochLine(line, nav::GPSNav::kRules, sec60, nav::LineReport{list, 12, line});
    EXPECT_TRUE(f.accepted);
    EXPECT_EQ(list.lines(), (std::vector<std::string>{
                                "string 4 : There were 60 seconds in \"EPOCH/SAT\"", line}));
}

TEST(ParseEpochLine, KeepsTheSatelliteNumberOfARejectedLine) {
    text::DiagnosticList list;
    bool sec60 = false;
    const std::string line = "12 11 01 14 xx 00 00.0";
    const nav::EpochFields f =
        nav::ParseEpochLine(line, nav::GPSNav::kRules, sec60, nav::LineReport{list, 1, line});
    EXPECT_FALSE(f.accepted);
    EXPECT_TRUE(f.satelliteRead);
    EXPECT_EQ(f.satellite, 12);
}

TEST(HandleVersionLine, MakesItsFourChecksIndependently) {
    struct Case {
        std::string line;
        std::vector<std::string> messages;
        const char* reason;
        bool rinex2 = true;
    };
    const Case cases[] = {
        {navtest::headerLine("     2.11           N: GPS NAV DATA", "RINEX VERSION / TYPE"),
         {},
         "a correct line"},
        {navtest::headerLine("     2.10           N: GPS NAV DATA", "RINEX VERSION / TYPE"),
         {},
         "version 2.10"},
        {navtest::headerLine("    2.11            N: GPS NAV DATA", "RINEX VERSION / TYPE"),
         {"string 3 : The position of \"2\" is not 6"},
         "the version one column to the left"},
        {navtest::headerLine("     3.11           G: GLONASS", "RINEX VERSION / TYPE"),
         {"string 3 : Rinex format version is not 2", "string 3 : \"N\" is absent",
          "string 3 : The position of \"N\" is not 21"},
         "version 3 and a GLONASS type: the first N is the one of GLONASS",
         false},
        {navtest::headerLine("     3.02           N: GNSS NAV DATA    G", "RINEX VERSION / TYPE"),
         {"string 3 : Rinex format version is not 2", "string 3 : The position of \"2\" is not 6"},
         "version 3.02 holds a 2, but is no version 2",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        std::string version;
        text::DiagnosticList list;
        EXPECT_EQ(nav::HandleVersionLine(c.line, 'N', version, nav::LineReport{list, 3, c.line}),
                  c.rinex2);
        std::vector<std::string> messages;
        for (std::size_t i = 0; i < list.lines().size(); i += 2)
            messages.push_back(list.lines()[i]);
        EXPECT_EQ(messages, c.messages);
    }
}

TEST(HandleLeapSecondsLine, ReadsTheFirstDigitsAndWantsI6) {
    constexpr struct {
        std::string_view content;
        std::int32_t value;
        std::string_view message;
        const char* reason;
    } kCases[] = {
        {"    15", 15, "", "I6 ending in column 6"},
        {"   -15", 15, "", "a sign is skipped"},
        {"   15 ", 15, "Format of Leap seconds is not I6", "ends in column 5"},
        {"      ", 0, "Not valid data for Leap seconds", "no digits at all"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        const std::string line = navtest::headerLine(c.content, "LEAP SECONDS");
        std::int32_t leap = 0;
        text::DiagnosticList list;
        nav::HandleLeapSecondsLine(line, leap, nav::LineReport{list, 3, line});
        EXPECT_EQ(leap, c.value);
        if (c.message.empty()) {
            EXPECT_TRUE(list.empty());
        } else {
            EXPECT_EQ(list.lines(),
                      (std::vector<std::string>{"string 3 : " + std::string(c.message), line}));
        }
    }
}

TEST(HandleCorrToSystemTimeLine, ExpandsOnlyTwoDigitYears) {
    constexpr struct {
        std::string_view year;
        std::int32_t expected;
    } kCases[] = {{"  1998", 1998}, {"    98", 1998}, {"    05", 2005}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.year);
        const std::string line = navtest::headerLine(
            std::string(c.year) + "     4     1    0.158790498972E-06", "CORR TO SYSTEM TIME");
        std::int32_t y = 0, m = 0, d = 0;
        long double corr = 0;
        text::DiagnosticList list;
        nav::HandleCorrToSystemTimeLine(line, y, m, d, corr, nav::LineReport{list, 5, line});
        EXPECT_TRUE(list.empty());
        EXPECT_EQ(y, c.expected);
        EXPECT_EQ(m, 4);
        EXPECT_EQ(d, 1);
        EXPECT_NEAR(static_cast<double>(corr), 0.158790498972e-06, 1e-20);
    }
}

TEST(HandleCorrToSystemTimeLine, StopsAtTheFirstBadField) {
    constexpr struct {
        std::string_view content;
        std::string_view message;
    } kCases[] = {
        {"  20x9     4     1    0.158790498972E-06",
         "Not valid data for Year \"Corr To System Time\""},
        {"  2009     x     1    0.158790498972E-06",
         "Not valid data for Month \"Corr To System Time\""},
        {"  2009     4     x    0.158790498972E-06",
         "Not valid data for Day \"Corr To System Time\""},
        {"  2009     4     1    0.158790498972", "Not valid data for <Corr To System Time>"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.message);
        const std::string line = navtest::headerLine(c.content, "CORR TO SYSTEM TIME");
        std::int32_t y = 0, m = 0, d = 0;
        long double corr = 0;
        text::DiagnosticList list;
        nav::HandleCorrToSystemTimeLine(line, y, m, d, corr, nav::LineReport{list, 5, line});
        EXPECT_EQ(list.lines(),
                  (std::vector<std::string>{"string 5 : " + std::string(c.message), line}));
    }
}

TEST(CheckedWeek, MovesAWeekOnlyForAnEarlyToe) {
    // 2010-03-07 00:00:00, the first second of GPS week 1574.
    const text::TGPSTime clock = text::TGPSTime::fromDate(2010, 3, 7, 0, 0, 0);
    constexpr struct {
        std::int32_t week;
        std::int32_t toe;
        std::int32_t stored;
        std::uint8_t health;
        const char* reason;
    } kCases[] = {
        {1574, 0, 1574, 0, "the same week"},
        {1573, 7200, 1574, 0, "one week short with toe below 8000 s"},
        {1573, 8000, 1573, 1, "one week short with toe of 8000 s: unhealthy"},
        {1575, 0, 1575, 1, "a week ahead: unhealthy"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        std::uint8_t health = 0;
        EXPECT_EQ(nav::CheckedWeek(c.week, clock, c.toe, health), c.stored);
        EXPECT_EQ(health, c.health);
    }
}

TEST(GLONASSDayNumber, CountsFromTheLastLeapYear) {
    constexpr struct {
        std::int32_t year, month, day, hour;
        std::int32_t leap;
        std::int16_t expected;
        const char* reason;
    } kCases[] = {
        {1, 1, 1, 1, 13, 366, "01:00 lies before 03:00 less the leap seconds: one day less"},
        {1, 1, 1, 3, 13, 367, "03:00 is past 02:59:47"},
        {0, 3, 1, 12, 0, 61, "in the leap year itself"},
        {3, 12, 31, 12, 0, 1461, "the last day of the interval"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        text::TEpochTime t;
        t.year = c.year;
        t.month = c.month;
        t.day = c.day;
        t.hour = c.hour;
        EXPECT_EQ(nav::GLONASSDayNumber(t, c.leap), c.expected);
    }
}

} // namespace
