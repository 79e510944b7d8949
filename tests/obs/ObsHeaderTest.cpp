#include "ObsScanFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using obstest::Diag;
using obstest::endLine;
using obstest::epochLine;
using obstest::H;
using obstest::Scan;
using obstest::typesLine;
using obstest::versionLine;

namespace {

const std::vector<std::string> kFiveTypes = {"L1", "L2", "C1", "P1", "P2"};

std::string firstEpoch() {
    return epochLine(9, 1, 5, 0, 0, 0.0, 0, 1, "G01");
}
std::string firstObs() {
    return obstest::obsLine({{21234567.123}, {0.5}, {1.0}, {2.0}, {3.0}});
}

// Version line, five types, the lines under test from line 3 on, END OF HEADER, one epoch.
std::vector<std::string> headerWith(const std::vector<std::string>& extra, char system = 'G') {
    std::vector<std::string> lines = {versionLine(system), typesLine(kFiveTypes)};
    lines.insert(lines.end(), extra.begin(), extra.end());
    lines.push_back(endLine());
    lines.push_back(firstEpoch());
    lines.push_back(firstObs());
    return lines;
}

} // namespace

TEST(ObsHeader, ValidHeaderGivesNoDiagnostics) {
    Scan s(headerWith({H("SITE A", "MARKER NAME"), H("    30.000", "INTERVAL")}));
    s.run();
    EXPECT_TRUE(s.headerOk);
    EXPECT_TRUE(s.LBHeader.empty());
    EXPECT_TRUE(s.LBData.empty());
    EXPECT_EQ(s.scanner->headerLineCount, 5); // up to and including END OF HEADER
    EXPECT_EQ(s.scanner->HeaderKinds, (std::vector<std::uint8_t>{0, 11, 3, 12, 18}));
    EXPECT_EQ(s.header.markerName, "SITE A");
    EXPECT_EQ(s.scanner->occupation.markerName, "SITE A");
}

TEST(ObsHeader, ChecksEachLabelsColumns) {
    const struct {
        const char* reason;
        std::string line;
        std::vector<std::string> messages; // each for line 3
    } kCases[] = {
        {"no number at all", H("    abc", "INTERVAL"), {"Not valid data for Interval"}},
        {"Z missing",
         H("  4789028.4701   176610.0133", "APPROX POSITION XYZ"),
         {"Z Position is absent"}},
        {"nothing at all", H("", "APPROX POSITION XYZ"), {"X, Y, Z Position is absent"}},
        {"Y and Z shifted by one column",
         H("  4789028.4701    176610.0133  4195017.0310", "APPROX POSITION XYZ"),
         {"The format of Y position is not correct", "The format of Z position is not correct",
          "Not valid data for Z position"}},
        {"only the height",
         H("        0.9030", "ANTENNA: DELTA H/E/N"),
         {"E, N Antenna height is absent"}},
        {"height with two decimals",
         H("          0.90        0.0000        0.0000", "ANTENNA: DELTA H/E/N"),
         {"The format of H-Antenna height is not correct"}},
        {"L1 factor 3",
         H("     3     1", "WAVELENGTH FACT L1/2"),
         {"Not valid data for L1 Wavwlength Factor"}},
        {"L2 factor 3",
         H("     1     3", "WAVELENGTH FACT L1/2"),
         {"Not valid data for L2 Wavwlength Factor"}},
        {"satellite count not a number",
         H("     1     1     x", "WAVELENGTH FACT L1/2"),
         {"Not valid data for Number of Satellites"}},
        {"leap seconds not a number",
         H("    1x", "LEAP SECONDS"),
         {"Not valid data for Leap Seconds"}},
        {"blank leap seconds are ignored", H("", "LEAP SECONDS"), {}},
        {"clock offset flag not a number",
         H("     y", "RCV CLOCK OFFS APPL"),
         {"Not valid data for RCV CLOCK OFFS APPL"}},
        {"no satellite count",
         H("", "# OF SATELLITES"),
         {"Not valid data for Number of Satellites"}},
        {"satellite count beyond column 6",
         H("        14", "# OF SATELLITES"),
         {"Incorrect position of Number of Satellites"}},
        {"PRN not behind three blanks",
         H("  G01   815   815   815   815   815", "PRN / # OF OBS"),
         {"Not valid data for \"PRN / # OF OBS\""}},
        {"PRN not a number",
         H("   G0x   815", "PRN / # OF OBS"),
         {"Bad PRN in \"PRN / # OF OBS\""}},
        {"count not a number",
         H("   G01   815   8x5", "PRN / # OF OBS"),
         {"Bad \"# OF OBS\" or its position in \"PRN / # OF OBS\""}},
        {"first observation day missing",
         H("  2009     1", "TIME OF FIRST OBS"),
         {"Not valid data for Day of the First Observation"}},
        {"first observation year running into the month's columns",
         H("   2009    1     5     0     0    0.0000000     GPS", "TIME OF FIRST OBS"),
         {"Incorrect position of the Month of the First Observation"}},
        {"first observation seconds without decimals",
         H("  2009     1     5     0     0    0", "TIME OF FIRST OBS"),
         {"Incorrect position of the Second of the First Observation"}},
        {"last observation seconds shifted: the first failing check only",
         H("  2009     1     5    23    59    59.000000     GPS", "TIME OF LAST OBS"),
         {"Not F13.7 format for Seconds of the Last Observation"}},
        {"a comment naming another label is a comment", H("SEE MARKER NAME", "COMMENT"), {}},
        {"the type count beyond column 6",
         typesLine({"L1"}, 1).replace(0, 7, "      1"),
         {"Wrong position of Number of Observation Types", "Wrong position of Observation Type"}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        Scan s(headerWith({c.line}));
        s.run();
        EXPECT_TRUE(s.headerOk);
        std::vector<Diag> expected;
        for (const auto& m : c.messages)
            expected.push_back({3, m, c.line});
        EXPECT_EQ(s.LBHeader.lines(), obstest::lines(expected));
    }
}

TEST(ObsHeader, StoresWhatTheLinesSay) {
    Scan s(headerWith({
        H("PROG                RUNNER              20090105", "PGM / RUN BY / DATE"),
        H("12345", "MARKER NUMBER"),
        H("  4789028.4701   176610.0133  4195017.0310", "APPROX POSITION XYZ"),
        H("        1.5000        0.1000        0.2000", "ANTENNA: DELTA H/E/N"),
        H("  2009     1     5     0     0    0.0000000     GPS", "TIME OF FIRST OBS"),
        H("    15", "LEAP SECONDS"),
        H("     1", "RCV CLOCK OFFS APPL"),
        H("     2", "# OF SATELLITES"),
        H("   G01   815   815   815   815   814", "PRN / # OF OBS"),
        H("    05     1     2     3     4     5", "PRN / # OF OBS"),
    }));
    s.run();
    EXPECT_TRUE(s.LBHeader.empty()) << (s.LBHeader.empty() ? "" : s.LBHeader.lines()[0]);
    const header::THeaderData& h = s.header;
    EXPECT_EQ(h.program, "PROG");
    EXPECT_EQ(h.runBy, "RUNNER");
    EXPECT_EQ(h.date, "20090105");
    EXPECT_EQ(h.markerNumber, "12345");
    EXPECT_EQ(h.approxY, 176610.0133L);
    EXPECT_EQ(h.antennaH, 1.5L);
    EXPECT_EQ(s.scanner->occupation.antennaHeight, 1.5L);
    EXPECT_EQ(h.firstObs.year, 2009);
    EXPECT_TRUE(h.firstObsPresent);
    EXPECT_EQ(h.timeSystem, "GPS");
    EXPECT_EQ(h.leapSeconds, 15);
    EXPECT_TRUE(h.clockOffsetApplied);
    EXPECT_EQ(h.satelliteCount, 2);
    EXPECT_EQ(h.satellites[0], (header::SatEntry{'G', 1}));
    EXPECT_EQ(h.satellites[1], (header::SatEntry{'G', 5})); // a blank system reads as G
    EXPECT_EQ(h.obsCounts[0][4], 814);
    EXPECT_EQ(h.obsCounts[1][0], 1);
    EXPECT_EQ(h.obsCounts[1][4], 5);
}

TEST(ObsHeader, ReadsTheVersionLine) {
    const struct {
        const char* reason;
        std::string line;
        std::vector<std::string> messages;
        std::uint8_t system;
        bool passes = true; // the header scan returns true
    } kCases[] = {
        {"a mixed file", versionLine('M'), {}, 2},
        {"GLONASS", versionLine('R'), {}, 1},
        {"a geostationary signal payload (RINEX 2.10)", versionLine('S'), {}, 3},
        {"Galileo (RINEX 2.11)", versionLine('E'), {}, 4},
        {"Transit counts as GPS", versionLine('T'), {}, 0},
        {"a blank system is GPS", versionLine(' '), {}, 0},
        {"version 2.10",
         H("     2.10           OBSERVATION DATA    G", "RINEX VERSION / TYPE"),
         {},
         0},
        {"version 2",
         H("     2              OBSERVATION DATA    G", "RINEX VERSION / TYPE"),
         {},
         0},
        {"version 2.0 of an old writer",
         H("     2.0            OBSERVATION DATA    G", "RINEX VERSION / TYPE"),
         {},
         0},
        {"version 3: no 2 anywhere, so no position message",
         H("     3.01           OBSERVATION DATA    G", "RINEX VERSION / TYPE"),
         {"Rinex format version is not 2"},
         0,
         false},
        {"version 3.02 holds a 2, but not as version 2",
         H("     3.02           OBSERVATION DATA    M", "RINEX VERSION / TYPE"),
         {"Rinex format version is not 2", "The position of \"2\" is not 6"},
         2,
         false},
        {"version 4.00",
         H("     4.00           OBSERVATION DATA    M", "RINEX VERSION / TYPE"),
         {"Rinex format version is not 2"},
         2,
         false},
        {"2.2 is no version of RINEX 2",
         H("     2.2            OBSERVATION DATA    G", "RINEX VERSION / TYPE"),
         {"Rinex format version is not 2"},
         0,
         false},
        {"version in column 1",
         H("2.11                OBSERVATION DATA    G", "RINEX VERSION / TYPE"),
         {"The position of \"2\" is not 6"},
         0},
        {"a navigation file",
         H("     2.11           NAVIGATION DATA     G", "RINEX VERSION / TYPE"),
         {"\"Observation Data\" is absent"},
         0},
        {"type shifted",
         H("     2.11            OBSERVATION DATA   G", "RINEX VERSION / TYPE"),
         {"The position of \"Observation Data\" is not 21"},
         0},
        {"unknown system",
         H("     2.11           OBSERVATION DATA    C", "RINEX VERSION / TYPE"),
         {"Satellite System is not true"},
         0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        std::vector<std::string> lines = headerWith({});
        lines[0] = c.line;
        Scan s(lines);
        s.run();
        std::vector<Diag> expected;
        for (const auto& m : c.messages)
            expected.push_back({1, m, c.line});
        EXPECT_EQ(s.LBHeader.lines(), obstest::lines(expected));
        EXPECT_EQ(s.header.satelliteSystem, c.system);
        EXPECT_EQ(s.headerOk, c.passes);
        // A file of another version is not scanned further: no data scan, no data findings.
        if (!c.passes) {
            EXPECT_EQ(s.scanner->headerLineCount, 1);
            EXPECT_FALSE(s.dataOk);
            EXPECT_TRUE(s.LBData.lines().empty());
        }
    }
}

TEST(ObsHeader, FirstLineMustBeTheVersionLine) {
    const std::string types = typesLine(kFiveTypes);
    Scan s({types, versionLine(), endLine(), firstEpoch(), firstObs()});
    s.run();
    EXPECT_TRUE(s.headerOk);
    EXPECT_EQ(s.LBHeader.lines(),
              obstest::lines(
                  {{1, "The first string of the Header must be \"RINEX VERSION / TYPE\"", types}}));
}

TEST(ObsHeader, MissingEndOfHeaderIsReportedAtTheFirstDataLine) {
    Scan s({versionLine(), typesLine(kFiveTypes), firstEpoch(), firstObs()});
    s.run();
    EXPECT_TRUE(s.headerOk);
    EXPECT_EQ(s.scanner->headerLineCount, 2);
    EXPECT_EQ(s.LBHeader.lines(),
              obstest::lines({{3, "\"END OF HEADER\" string is absent", firstEpoch()}}));
    EXPECT_EQ(s.scanner->writtenEpochs, 1); // the header is still accepted
}

TEST(ObsHeader, EmptyFileEndsTheScan) {
    Scan s(std::vector<std::string>{}, "\n", false);
    s.run();
    EXPECT_FALSE(s.headerOk);
    EXPECT_EQ(s.LBHeader.lines(), obstest::lines({{1, "Unexpected End of file", ""}}));
    EXPECT_TRUE(s.LBData.empty()); // no data scan
}

TEST(ObsHeader, EndOfFileInsideTheHeader) {
    const std::string types = typesLine(kFiveTypes);
    Scan s({versionLine(), types});
    s.run();
    EXPECT_FALSE(s.headerOk);
    EXPECT_EQ(s.LBHeader.lines(), obstest::lines({{2, "Unexpected End of file", types}}));
}

TEST(ObsHeader, FirstLineWithoutLabel) {
    Scan s({"just some text", firstEpoch()});
    s.run();
    EXPECT_TRUE(s.headerOk);
    EXPECT_EQ(s.scanner->headerLineCount, 0);
    EXPECT_EQ(s.LBHeader.lines(),
              obstest::lines({{1, "Not a valid Header string", "just some text"},
                              {1, "\"END OF HEADER\" string is absent", "just some text"}}));
}

TEST(ObsHeader, FiveTypesGiveTheirPositions) {
    Scan s(headerWith({}));
    s.run();
    const auto& tp = s.scanner->TypePosition;
    // C1 C2 C5 P1 P2 L1 L2 L5 D1 D2 D5 S1 S2 S5
    EXPECT_EQ(tp, (std::array<std::int32_t, header::kMaxTypes>{3, 0, 0, 4, 5, 1, 2}));
    EXPECT_EQ(s.header.typeCount, 5);
    EXPECT_EQ(s.header.types[0], 5); // L1
}

TEST(ObsHeader, TwelveTypesOverTwoLinesWithTheNinthInColumns55To60) {
    const std::string first = typesLine({"L1", "L2", "C1", "P1", "P2", "D1", "D2", "S1", "S2"}, 12);
    ASSERT_EQ(first.substr(54, 6), "    S2");
    const std::string second = H("          C2    L5    C5", "# / TYPES OF OBSERV");
    std::vector<std::string> lines = {versionLine(), first, second, endLine()};
    Scan s(lines);
    s.run();
    EXPECT_TRUE(s.LBHeader.lines().empty());
    EXPECT_EQ(s.scanner->TypePosition, (std::array<std::int32_t, header::kMaxTypes>{
                                           3, 10, 12, 4, 5, 1, 2, 11, 6, 7, 0, 8, 9, 0}));
    EXPECT_EQ(s.header.typeCount, 12);
}

TEST(ObsHeader, UnknownTypeStopsTheScanWithAMessageBox) {
    const std::string types = typesLine({"L1", "X1"});
    Scan s({versionLine(), types, endLine(), firstEpoch(), firstObs()});
    s.run();
    EXPECT_FALSE(s.headerOk);
    EXPECT_EQ(s.observer.notices, std::vector<std::string>{"Bad Header string : " + types});
    EXPECT_EQ(s.LBHeader.lines(),
              obstest::lines({{2, "Not valid data for List of Observation Types", types}}));
    EXPECT_EQ(s.scanner->writtenEpochs, 0);
}

TEST(ObsHeader, TypeListsOfRinex211) {
    using Names = std::vector<std::string>;
    const Names all(header::kObsTypeNames.begin(), header::kObsTypeNames.end());
    // The order of a mixed receiver of 2016: bands 1, 2, 5, 7 and 8.
    const Names receiver = {"S1", "D8", "L8", "L5", "L2", "D2", "L1", "D7", "S5", "D1", "D5",
                            "P1", "C5", "C1", "S7", "L7", "C8", "C7", "P2", "S2", "S8", "C2"};
    Names twice = all;
    twice.push_back("C1");
    const struct {
        const char* reason;
        Names types;
        bool passes;
    } kCases[] = {
        {"22 types over three lines", receiver, true},
        {"all 26 types over three lines", all, true},
        {"bands 6, 7 and 8 alone",
         {"C6", "L6", "D6", "S6", "C7", "L7", "D7", "S7", "C8", "L8"},
         true},
        {"a type listed twice: accepted, its later position counts", twice, true},
        {"X1 is no type", {"L1", "L2", "X1"}, false},
        {"P7 is no type: P codes exist on bands 1 and 2 only", {"C1", "P7"}, false},
        {"C9 is no type", {"C1", "C9"}, false},
        {"the lower-case l1 is no type", {"C1", "l1"}, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        std::vector<std::string> lines = {versionLine('M')};
        const std::vector<std::string> typeLines = obstest::typesLines(c.types);
        lines.insert(lines.end(), typeLines.begin(), typeLines.end());
        lines.push_back(endLine());
        Scan s(lines);
        s.run();
        EXPECT_EQ(s.headerOk, c.passes);
        if (!c.passes) {
            // The line of the unknown type fails: message box, one finding, no data scan.
            ASSERT_EQ(s.observer.notices.size(), 1u);
            EXPECT_EQ(s.observer.notices[0].rfind("Bad Header string : ", 0), 0u);
            EXPECT_EQ(s.LBHeader.lines(),
                      obstest::lines(
                          {{2, "Not valid data for List of Observation Types", typeLines[0]}}));
            continue;
        }
        EXPECT_TRUE(s.LBHeader.lines().empty());
        EXPECT_EQ(s.header.typeCount, static_cast<std::int32_t>(c.types.size()));
        for (std::size_t p = 0; p < c.types.size() && p < header::kMaxTypes; ++p)
            EXPECT_EQ(header::kObsTypeNames[s.header.types[p]], c.types[p]);
        for (std::size_t code = 0; code < header::kMaxTypes; ++code) {
            // The last position of each type, 0 for a type the list does not hold.
            std::int32_t want = 0;
            for (std::size_t p = 0; p < c.types.size(); ++p)
                if (c.types[p] == header::kObsTypeNames[code])
                    want = static_cast<std::int32_t>(p) + 1;
            EXPECT_EQ(s.scanner->TypePosition[code], want) << header::kObsTypeNames[code];
        }
    }
}

TEST(ObsHeader, NoTypesStopsTheScan) {
    const std::string types = typesLine({}, 0);
    Scan s({versionLine(), types, endLine(), firstEpoch()});
    s.run();
    EXPECT_FALSE(s.headerOk);
    EXPECT_EQ(s.LBHeader.lines(), obstest::lines({{2, "Number of Observation Types = 0", types}}));
}

TEST(ObsHeader, IntervalInMilliseconds) {
    const struct {
        const char* text;
        std::int32_t ms;
    } kCases[] = {{"    30.000", 30000}, {"     0.05", 50}, {"    90", 90000}, {"  1.5", 1500}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.text);
        Scan s(headerWith({H(c.text, "INTERVAL")}));
        s.scanner->ScanHeader();
        EXPECT_EQ(s.scanner->intervalMs, c.ms);
    }
}

TEST(ObsHeader, LongLineIsHandledByItsLabelAndReported) {
    const std::string longLine = H("LONG SITE", "MARKER NAME") + "12345"; // 85 characters
    Scan s(headerWith({longLine}));
    s.run();
    EXPECT_TRUE(s.scanner->longLines);
    EXPECT_EQ(s.header.markerName, "LONG SITE");
    EXPECT_EQ(s.LBHeader.lines(), obstest::lines({{3, "Too long Header string", longLine}}));
}

TEST(ObsHeader, LastObservationWithoutTimeSystemInAMixedFile) {
    const std::string last = H("  2009     1     5    23    59   30.0000000", "TIME OF LAST OBS");
    Scan s(headerWith({last}, 'M'));
    s.run();
    EXPECT_EQ(s.LBHeader.lines(), obstest::lines({{3, "Time system is not specified", last}}));
    EXPECT_FALSE(s.header.lastObsPresent);
    EXPECT_TRUE(s.LBData.empty()); // so the last epoch is not compared
}

TEST(ObsHeader, FirstObservationWithoutTimeSystemInAMixedFile) {
    const std::string first = H("  2009     1     5     0     0    0.0000000", "TIME OF FIRST OBS");
    Scan s(headerWith({first}, 'M'));
    s.run();
    EXPECT_EQ(s.LBHeader.lines(), obstest::lines({{3, "Incorrect Time system", first}}));
    EXPECT_TRUE(s.header.firstObsPresent);
}

TEST(ObsHeader, WavelengthLinesCarryTheirSatellites) {
    const auto wl = [](std::string_view content) { return H(content, "WAVELENGTH FACT L1/2"); };
    using Sats = std::vector<header::SatEntry>;
    using Factors = std::vector<std::array<std::int32_t, 2>>;
    const struct {
        const char* reason;
        std::vector<std::string> lines;
        std::vector<std::string> messages; // all for the last of the lines
        std::array<std::int32_t, 2> defaults;
        Sats sats;
        Factors factors;
    } kCases[] = {
        {"the default line alone", {wl("     1     1")}, {}, {1, 1}, {}, {}},
        {"a single frequency receiver", {wl("     1     0")}, {}, {1, 0}, {}, {}},
        {"satellites after the default, on their own line",
         {wl("     1     1"), wl("     1     2     3   G14   G18   G19")},
         {},
         {1, 1},
         {{'G', 14}, {'G', 18}, {'G', 19}},
         {{1, 2}, {1, 2}, {1, 2}}},
        {"two satellite lines, seven and two, each with its factors",
         {wl("     1     1"), wl("     1     2     7   G 1   G 5   G11   G14   G15   G18   G22"),
          wl("     2     1     2   G25   G30")},
         {},
         {1, 1},
         {{'G', 1},
          {'G', 5},
          {'G', 11},
          {'G', 14},
          {'G', 15},
          {'G', 18},
          {'G', 22},
          {'G', 25},
          {'G', 30}},
         {{1, 2}, {1, 2}, {1, 2}, {1, 2}, {1, 2}, {1, 2}, {1, 2}, {2, 1}, {2, 1}}},
        {"more than seven satellites go on in the next line's satellite columns",
         {wl("     2     1     9   G01   G02   G03   G04   G05   G06   G07"),
          wl("                     G08   E09")},
         {},
         {2, 1},
         {{'G', 1}, {'G', 2}, {'G', 3}, {'G', 4}, {'G', 5}, {'G', 6}, {'G', 7}, {'G', 8}, {'E', 9}},
         Factors(9, {2, 1})},
        {"an entry that is not 3X,A1,I2",
         {wl("     1     1"), wl("     1     2     3   G14  xG 1   G x")},
         {"Not valid data for List of PRNs", "Not valid data for List of PRNs"},
         {1, 1},
         {{'G', 14}, {'G', 1}, {'G', 0}},
         {{1, 2}, {1, 2}, {1, 2}}},
        {"a count with fewer satellites than it says",
         {wl("     1     1"), wl("     1     2     2   G14")},
         {"Not valid data for List of PRNs"},
         {1, 1},
         {{'G', 14}, {' ', 0}},
         {{1, 2}, {1, 2}}},
        {"an L1 factor of 3",
         {wl("     3     1")},
         {"Not valid data for L1 Wavwlength Factor"},
         {0, 0},
         {},
         {}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        Scan s(headerWith(c.lines));
        s.run();
        std::vector<Diag> expected;
        for (const auto& m : c.messages)
            expected.push_back({static_cast<int>(2 + c.lines.size()), m, c.lines.back()});
        EXPECT_EQ(s.LBHeader.lines(), obstest::lines(expected));
        EXPECT_EQ(s.header.wavelengthL1, c.defaults[0]);
        EXPECT_EQ(s.header.wavelengthL2, c.defaults[1]);
        ASSERT_EQ(s.header.wavelengthSatCount, static_cast<std::int32_t>(c.sats.size()));
        for (std::size_t k = 0; k < c.sats.size(); ++k) {
            SCOPED_TRACE(k);
            EXPECT_EQ(s.header.wavelengthSats[k], c.sats[k]);
            EXPECT_EQ(s.header.wavelengthSatFactors[k], c.factors[k]);
        }
    }
}

TEST(ObsHeader, PrnObsCountsMayBeBlank) {
    // Eleven types: nine counts on a satellite's line, two on its continuation line. A blank
    // count is a count not given; a PRN in columns 4-6 starts the next satellite.
    const auto prn = [](std::string_view content) { return H(content, "PRN / # OF OBS"); };
    using Counts = std::vector<std::vector<std::int32_t>>;
    const struct {
        const char* reason;
        std::vector<std::string> lines;
        std::vector<header::SatEntry> sats;
        Counts counts; // the eleven counts of each satellite
        std::vector<std::string> messages;
    } kCases[] = {
        {"every count given",
         {prn("   G01     1     2     3     4     5     6     7     8     9"),
          prn("          10    11"),
          prn("   R02    21    22    23    24    25    26    27    28    29"),
          prn("          30    31")},
         {{'G', 1}, {'R', 2}},
         {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31}},
         {}},
        {"blank counts in the middle of both lines",
         {prn("   G02  1183              1167  1161        1161  1161  1183"), prn("        1161"),
          prn("   G03  1012  1014  1013   978   977  1013   977   977  1012"),
          prn("         977  1013")},
         {{'G', 2}, {'G', 3}},
         {{1183, 0, 0, 1167, 1161, 0, 1161, 1161, 1183, 1161, 0},
          {1012, 1014, 1013, 978, 977, 1013, 977, 977, 1012, 977, 1013}},
         {}},
        {"a satellite without its continuation line",
         {prn("   G04     1     2     3     4     5     6     7     8     9"),
          prn("   G05     1     2     3     4     5     6     7     8     9"),
          prn("          10    11")},
         {{'G', 4}, {'G', 5}},
         {{1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
         {}},
        {"a first line that stops early: the rest of its line is blank",
         {prn("   E11     5"), prn("           7"), prn("   S20     1")},
         {{'E', 11}, {'S', 20}},
         {{5, 0, 0, 0, 0, 0, 0, 0, 0, 7, 0}, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
         {}},
        {"a count that is no number ends its line, the satellites keep their entries",
         {prn("   G06     1     x     3"), prn("          10    11"), prn("   G07     1")},
         {{'G', 6}, {'G', 7}},
         {{1, 0, 0, 0, 0, 0, 0, 0, 0, 10, 11}, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
         {"Bad \"# OF OBS\" or its position in \"PRN / # OF OBS\""}},
    };
    const std::vector<std::string> types = {"L1", "L2", "C1", "P1", "P2", "D1", "D2", "S1", "S2"};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        std::vector<std::string> lines = {versionLine('M'), typesLine(types, 11),
                                          H("          C2    L5", "# / TYPES OF OBSERV")};
        lines.insert(lines.end(), c.lines.begin(), c.lines.end());
        lines.push_back(endLine());
        Scan s(lines);
        s.run();
        std::vector<std::string> got;
        for (std::size_t i = 0; i < s.LBHeader.lines().size(); i += 2)
            got.push_back(s.LBHeader.lines()[i].substr(s.LBHeader.lines()[i].find(" : ") + 3));
        EXPECT_EQ(got, c.messages);
        for (std::size_t k = 0; k < c.sats.size(); ++k) {
            SCOPED_TRACE(k);
            EXPECT_EQ(s.header.satellites[k], c.sats[k]);
            const auto& stored = s.header.obsCounts[k];
            EXPECT_EQ(std::vector<std::int32_t>(stored.begin(), stored.begin() + 11), c.counts[k]);
            EXPECT_EQ(stored[11], 0); // nothing beyond the type count
        }
        EXPECT_EQ(s.header.satellites[c.sats.size()], header::SatEntry{}) << "no other satellite";
    }
}

TEST(ObsHeader, PrnObsCountsOfTwentySixTypesTakeThreeLines) {
    std::vector<std::string> names(header::kObsTypeNames.begin(), header::kObsTypeNames.end());
    std::vector<std::string> lines = {versionLine('M')};
    for (std::size_t first = 0; first < names.size(); first += 9) {
        const std::vector<std::string> part(
            names.begin() + static_cast<long>(first),
            names.begin() + static_cast<long>(std::min(first + 9, names.size())));
        std::string line = typesLine(part, 26);
        if (first > 0)
            line.replace(0, 6, "      ");
        lines.push_back(line);
    }
    lines.push_back(
        H("   E33     1     2     3     4     5     6     7     8     9", "PRN / # OF OBS"));
    lines.push_back(
        H("          10    11    12    13    14    15    16    17    18", "PRN / # OF OBS"));
    lines.push_back(H("          19    20    21    22    23    24    25    26", "PRN / # OF OBS"));
    lines.push_back(H("   S58", "PRN / # OF OBS"));
    lines.push_back(endLine());
    Scan s(lines);
    s.run();
    EXPECT_TRUE(s.LBHeader.lines().empty());
    EXPECT_EQ(s.header.typeCount, 26);
    for (std::size_t code = 0; code < header::kMaxTypes; ++code) {
        SCOPED_TRACE(names[code]);
        EXPECT_EQ(s.header.types[code], code);
        EXPECT_EQ(s.scanner->TypePosition[code], static_cast<std::int32_t>(code) + 1);
        EXPECT_EQ(s.header.obsCounts[0][code], static_cast<std::int32_t>(code) + 1);
    }
    EXPECT_EQ(s.header.satellites[0], (header::SatEntry{'E', 33}));
    EXPECT_EQ(s.header.satellites[1], (header::SatEntry{'S', 58}));
}

TEST(ObsHeader, PrnObservationCountsContinueOnTheNextLine) {
    const std::vector<std::string> types = {"L1", "L2", "C1", "P1", "P2", "D1", "D2", "S1", "S2"};
    std::vector<std::string> lines = {
        versionLine(),
        typesLine(types, 11),
        H("          C2    L5", "# / TYPES OF OBSERV"),
        H("   G01     1     2     3     4     5     6     7     8     9", "PRN / # OF OBS"),
        H("          10    11", "PRN / # OF OBS"),
        H("   R02    21", "PRN / # OF OBS"),
        endLine()};
    Scan s(lines);
    EXPECT_TRUE(s.scanner->ScanHeader());
    EXPECT_TRUE(s.LBHeader.lines().empty());
    EXPECT_EQ(s.header.obsCounts[0][8], 9);
    EXPECT_EQ(s.header.obsCounts[0][10], 11);
    EXPECT_EQ(s.header.satellites[1], (header::SatEntry{'R', 2}));
    EXPECT_EQ(s.header.obsCounts[1][0], 21);
}

TEST(FindHeaderLabel, FindsALabelAtAnyColumn) {
    for (std::size_t at = 0; at <= 60; ++at) {
        SCOPED_TRACE(at);
        for (const auto& [label, code] :
             {std::pair{std::string("COMMENT"), obs::Label::Comment},
              std::pair{std::string("END OF HEADER"), obs::Label::EndOfHeader}}) {
            const std::string line = std::string(at, ' ') + label + std::string(5, '1');
            EXPECT_EQ(obs::FindHeaderLabel(line), code);
            EXPECT_EQ(obs::FindHeaderLabel(std::string(at, '1') + label), code); // at the end
            EXPECT_EQ(obs::FindHeaderLabel(std::string(at, 'x') + label), code);
        }
    }
}

TEST(FindHeaderLabel, FirstLabelInCodeOrderWins) {
    EXPECT_EQ(obs::FindHeaderLabel(H("SITE COMMENT", "MARKER NAME")), obs::Label::Comment);
    EXPECT_EQ(obs::FindHeaderLabel(" 09  1  5  0  0  0.0000000  0  3G01G02R05"), std::nullopt);
    EXPECT_EQ(obs::FindHeaderLabel("END OF HEADE"), std::nullopt);
    EXPECT_EQ(obs::FindHeaderLabel("\xC9"
                                   "COMMENT"),
              obs::Label::Comment);
}
