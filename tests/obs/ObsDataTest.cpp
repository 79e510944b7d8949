#include "ObsScanFixture.h"

#include "obs/ObsRecords.h"
#include "text/FieldText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

using obstest::Diag;
using obstest::endLine;
using obstest::epochLine;
using obstest::H;
using obstest::Obs;
using obstest::obsLine;
using obstest::Scan;
using obstest::typesLine;
using obstest::versionLine;

namespace {

const std::vector<std::string> kFiveTypes = {"L1", "L2", "C1", "P1", "P2"};

// A mixed header with five types: version (1), types (2), the extra lines, END OF HEADER.
std::vector<std::string> file(const std::vector<std::string>& extraHeader,
                              const std::vector<std::string>& data,
                              const std::vector<std::string>& types = kFiveTypes) {
    std::vector<std::string> lines = {versionLine('M'), typesLine(types)};
    lines.insert(lines.end(), extraHeader.begin(), extraHeader.end());
    lines.push_back(endLine());
    lines.insert(lines.end(), data.begin(), data.end());
    return lines;
}

std::string obs5(double base = 21234567.123) {
    return obsLine({{base}, {base + 1}, {base + 2}, {base + 3}, {base + 4}});
}

std::string epochAt(int h, int mi, double sec, int count, std::string_view sats) {
    return epochLine(9, 1, 5, h, mi, sec, 0, count, sats);
}

std::vector<obs::TEpochRec> epochRecords(Scan& s) {
    const auto bytes = s.fileBytes(s.epochs);
    std::vector<obs::TEpochRec> out;
    for (std::size_t at = 0; at + obs::kEpochRecSize <= bytes.size(); at += obs::kEpochRecSize)
        out.push_back(obs::decodeEpochRec(std::span(bytes).subspan(at, obs::kEpochRecSize)));
    return out;
}

std::vector<obs::TObsRec> obsRecords(Scan& s) {
    const auto bytes = s.fileBytes(s.observations);
    std::vector<obs::TObsRec> out;
    for (std::size_t at = 0; at + obs::kObsRecSize <= bytes.size(); at += obs::kObsRecSize)
        out.push_back(obs::decodeObsRec(std::span(bytes).subspan(at, obs::kObsRecSize)));
    return out;
}

std::string listLine(std::string_view date, std::string_view time, int sats, int number) {
    char buf[96];
    std::snprintf(buf, sizeof buf, " %s  %s          %2d   %10d", std::string(date).c_str(),
                  std::string(time).c_str(), sats, number);
    return buf;
}

const std::string kStars = "*******************************************";

} // namespace

TEST(ObsData, AcceptsARinex2EpochLine) {
    const std::string epoch = " 09  1  5  0  0  0.0000000  0  3G01G02R05";
    Scan s(file({}, {epoch, obs5(), obs5(), obs5()}));
    s.run();
    EXPECT_TRUE(s.dataOk);
    EXPECT_TRUE(s.LBData.empty()) << s.LBData.lines()[0];
    const auto recs = epochRecords(s);
    ASSERT_EQ(recs.size(), 1u);
    EXPECT_EQ(recs[0].time.year, 2009);
    EXPECT_EQ(recs[0].satCount, 3);
    EXPECT_EQ(recs[0].countR, 1);
    EXPECT_EQ(recs[0].sats[0], (obs::EpochSat{'G', 1}));
    EXPECT_EQ(recs[0].sats[1], (obs::EpochSat{'G', 2}));
    EXPECT_EQ(recs[0].sats[2], (obs::EpochSat{'R', 5}));
    EXPECT_EQ(recs[0].sats[3], (obs::EpochSat{'#', 0}));
    EXPECT_EQ(s.scanner->LBEpochs,
              std::vector<std::string>{listLine("05/01/2009", "00:00:00.000", 3, 1)});
    EXPECT_EQ(s.header.firstEpoch.year, 2009);
    EXPECT_TRUE(s.scanner->seen.has(header::SatSystem::GPS, 2));
    EXPECT_TRUE(s.scanner->seen.has(header::SatSystem::GLONASS, 5));
    EXPECT_EQ(s.scanner->nonZero[5], 3); // L1 of three satellites
}

TEST(ObsData, SixtySecondsCarryIntoTheMinuteWithOneNotePerFile) {
    const std::string first = epochAt(0, 0, 60.0, 1, "G01");
    const std::string second = epochAt(0, 1, 60.0, 1, "G01");
    Scan s(file({}, {first, obs5(), second, obs5()}));
    s.run();
    EXPECT_EQ(s.LBData.lines(),
              obstest::lines({{4, "There were 60 seconds in \"EPOCH/SAT\"", first}}));
    const auto recs = epochRecords(s);
    ASSERT_EQ(recs.size(), 2u);
    EXPECT_EQ(recs[0].time.minute, 1);
    EXPECT_EQ(recs[0].time.seconds, 0.0L);
    EXPECT_EQ(recs[1].time.minute, 2);
    EXPECT_EQ(s.scanner->LBEpochs[0], listLine("05/01/2009", "00:01:00.000", 1, 1));
}

TEST(ObsData, JudgesTheEpochLine) {
    const struct {
        const char* reason;
        std::string line;
        std::vector<std::string> messages; // for the epoch line (line 4)
        bool written;
    } kCases[] = {
        {"seconds '0.0' are filled up to seven decimals",
         " 09  1  5  0  0  0.0        0  1G01",
         {},
         true},
        {"seconds without a point",
         " 09  1  5  0  0 0 .         0  1G01",
         {"Not F11.7 format for Sec \"EPOCH/SAT\"", "Wrong Epoch data"},
         false},
        {"a month that is not a number",
         " 09  x  5  0  0  0.0000000  0  1G01",
         {"Not valid data for Month \"EPOCH/SAT\"", "Wrong Epoch data"},
         false},
        {"satellite count not a number",
         " 09  1  5  0  0  0.0000000  0  xG01",
         {"Not valid data for Number SVs \"EPOCH/SAT\"", "Wrong Epoch data"},
         false},
        {"G33",
         epochAt(0, 0, 0, 1, "G33"),
         {"Incorrect PRN \"EPOCH/SAT\"", "Wrong Epoch data"},
         false},
        {"R24", epochAt(0, 0, 0, 1, "R24"), {}, true},
        {"R25",
         epochAt(0, 0, 0, 1, "R25"),
         {"Incorrect PRN \"EPOCH/SAT\"", "Wrong Epoch data"},
         false},
        {"S38", epochAt(0, 0, 0, 1, "S38"), {}, true},
        {"S40: SDCM and BDSBAS use PRN 140-144", epochAt(0, 0, 0, 1, "S40"), {}, true},
        {"S58, PRN 158, the last SBAS number", epochAt(0, 0, 0, 1, "S58"), {}, true},
        {"S59",
         epochAt(0, 0, 0, 1, "S59"),
         {"Incorrect PRN \"EPOCH/SAT\"", "Wrong Epoch data"},
         false},
        {"E32", epochAt(0, 0, 0, 1, "E32"), {}, true},
        {"E33 is in orbit", epochAt(0, 0, 0, 1, "E33"), {}, true},
        {"E36", epochAt(0, 0, 0, 1, "E36"), {}, true},
        {"E37",
         epochAt(0, 0, 0, 1, "E37"),
         {"Incorrect PRN \"EPOCH/SAT\"", "Wrong Epoch data"},
         false},
        {"e36 in lower case is checked as E", epochAt(0, 0, 0, 1, "e36"), {}, true},
        {"a blank system counts as GPS", epochAt(0, 0, 0, 1, " 05"), {}, true},
        {"an unknown letter is not range-checked", epochAt(0, 0, 0, 1, "X99"), {}, true},
        {"a PRN that is not a number",
         epochAt(0, 0, 0, 1, "G0x"),
         {"Not valid data for List of PRNs \"EPOCH/SAT\"", "Wrong Epoch data"},
         false},
        {"equal PRNs",
         epochAt(0, 0, 0, 2, "G05G05"),
         {"Equal PRNs \"EPOCH/SAT\"", "Wrong Epoch data"},
         false},
        {"G05 and ' 05' differ as texts", epochAt(0, 0, 0, 2, "G05 05"), {}, true},
        {"a clock offset with seven decimals",
         epochLine(9, 1, 5, 0, 0, 0, 0, 1, "G01", "  -0.1234567"),
         {"Not F12.9 format for Clock Offset \"EPOCH/SAT\""},
         true},
        {"a clock offset with five decimals, its point in column 75 as in an observation line",
         epochLine(9, 1, 5, 0, 0, 0, 0, 1, "G01", "    -0.12345"),
         {"Not F12.9 format for Clock Offset \"EPOCH/SAT\""},
         true},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        std::string line = c.line;
        std::vector<std::string> data = {line};
        const int sats = line.size() >= 32 ? line[31] - '0' : 1;
        for (int i = 0; i < (sats >= 1 && sats <= 9 ? sats : 1); ++i)
            data.push_back(obs5());
        Scan s(file({}, data));
        s.run();
        std::vector<std::string> got;
        for (std::size_t i = 0; i < s.LBData.lines().size(); i += 2)
            if (s.LBData.lines()[i].rfind("string 4 : ", 0) == 0)
                got.push_back(s.LBData.lines()[i].substr(11));
        EXPECT_EQ(got, c.messages);
        EXPECT_EQ(s.scanner->writtenEpochs, c.written ? 1 : 0);
    }
}

TEST(ObsData, UnreadableEpochFlagIsMinusOne) {
    const std::string epoch = " 09  1  5  0  0  0.0000000 x0  1G01";
    Scan s(file({}, {epoch, obs5()}));
    s.run();
    EXPECT_EQ(s.LBData.lines(),
              obstest::lines({{4, "Not valid data for Flag \"EPOCH/SAT\"", epoch}}));
    const auto recs = epochRecords(s);
    ASSERT_EQ(recs.size(), 1u);
    EXPECT_EQ(recs[0].flag, -1);
}

TEST(ObsData, ClockOffsetIsStoredWithItsText) {
    const std::string epoch = epochLine(9, 1, 5, 0, 0, 0, 0, 1, "G01", "-0.123456789");
    Scan s(file({}, {epoch, obs5()}));
    s.run();
    const auto recs = epochRecords(s);
    ASSERT_EQ(recs.size(), 1u);
    EXPECT_EQ(recs[0].clockOffset, -0.123456789L);
    EXPECT_EQ(recs[0].clockText, "-0.123456789");
}

TEST(ObsData, FourteenSatellitesTakeAContinuationLine) {
    const std::string first =
        epochLine(9, 1, 5, 0, 0, 0, 0, 14, "G01G02G03G04G05G06G07G08G09G10G11G12", " 0.000000123");
    const std::string second = std::string(32, ' ') + "R01G13";
    std::vector<std::string> data = {first, second};
    for (int i = 0; i < 14; ++i)
        data.push_back(obs5(1000.0 + i));
    Scan s(file({}, data));
    s.run();
    EXPECT_TRUE(s.LBData.empty()) << s.LBData.lines()[0];
    const auto recs = epochRecords(s);
    ASSERT_EQ(recs.size(), 1u);
    EXPECT_EQ(recs[0].satCount, 14);
    EXPECT_EQ(recs[0].sats[11], (obs::EpochSat{'G', 12}));
    EXPECT_EQ(recs[0].sats[12], (obs::EpochSat{'R', 1}));
    EXPECT_EQ(recs[0].sats[13], (obs::EpochSat{'G', 13}));
    EXPECT_EQ(recs[0].sats[14], (obs::EpochSat{'#', 0}));
    EXPECT_EQ(recs[0].clockOffset, 0.000000123L);
    EXPECT_EQ(obsRecords(s).size(), 70u);
    EXPECT_EQ(s.scanner->LBEpochs.size(), 1u);
    EXPECT_EQ(s.scanner->lastEpochLine, second);
}

TEST(ObsData, EqualPrnsAcrossTheContinuationLine) {
    const std::string second = std::string(32, ' ') + "G01G13";
    Scan s(file({}, {epochAt(0, 0, 0, 14, "G01G02G03G04G05G06G07G08G09G10G11G12"), second}));
    s.run();
    EXPECT_EQ(s.LBData.lines(), obstest::lines({{5, "Equal PRNs \"EPOCH/SAT\"", second},
                                                {5, "Wrong Epoch data", second}}));
}

TEST(ObsData, ThirtySatellitesOverThreeLines) {
    std::string all;
    char buf[8];
    for (int i = 1; i <= 30; ++i) {
        std::snprintf(buf, sizeof buf, "%c%02d", i <= 24 ? 'R' : 'G', i <= 24 ? i : i);
        all += buf;
    }
    std::vector<std::string> data = {epochAt(0, 0, 0, 30, all.substr(0, 36)),
                                     std::string(32, ' ') + all.substr(36, 36),
                                     std::string(32, ' ') + all.substr(72)};
    for (int i = 0; i < 30; ++i)
        data.push_back(obs5());
    Scan s(file({}, data));
    s.run();
    EXPECT_TRUE(s.LBData.empty()) << s.LBData.lines()[0];
    const auto recs = epochRecords(s);
    ASSERT_EQ(recs.size(), 1u);
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(recs[0].sats[static_cast<std::size_t>(i)].prn, i + 1);
    EXPECT_EQ(recs[0].countR, 24);
    EXPECT_EQ(recs[0].sats[29].system, 'G');
}

TEST(ObsData, EightTypesTakeTwoLinesPerSatellite) {
    const std::vector<std::string> eight = {"L1", "L2", "C1", "P1", "P2", "S1", "S2", "D1"};
    const std::string second = obsLine({{45.0}, {38.0}, {-1234.567, ' ', '9'}});
    Scan s(file({}, {epochAt(0, 0, 0, 2, "G01G02"), obs5(), second, obs5(), second}, eight));
    s.run();
    EXPECT_TRUE(s.LBData.empty()) << s.LBData.lines()[0];
    const auto recs = obsRecords(s);
    ASSERT_EQ(recs.size(), 16u);
    EXPECT_EQ(recs[5].value, 45.0L);
    EXPECT_EQ(recs[7].value, -1234.567L);
    EXPECT_EQ(recs[7].strength, 9);
    EXPECT_EQ(recs[8].value, 21234567.123L);
}

TEST(ObsData, TwentyTwoTypesTakeFiveLinesPerSatellite) {
    // The header order of a mixed receiver of 2016; five values a line: 5 + 5 + 5 + 5 + 2.
    const std::vector<std::string> types = {"S1", "D8", "L8", "L5", "L2", "D2", "L1", "D7",
                                            "S5", "D1", "D5", "P1", "C5", "C1", "S7", "L7",
                                            "C8", "C7", "P2", "S2", "S8", "C2"};
    std::vector<std::string> lines = {versionLine('M')};
    for (const std::string& l : obstest::typesLines(types))
        lines.push_back(l);
    lines.push_back(endLine());
    lines.push_back(epochAt(0, 0, 0, 2, "E33S58"));
    // E33: every value, an LLI on every fourth and a strength digit on each.
    const auto value = [](int sat, int p) { return 1000.0 * sat + p + 0.125; };
    for (int first = 0; first < 22; first += 5) {
        std::string line;
        for (int p = first; p < std::min(first + 5, 22); ++p)
            line +=
                obsLine({{value(1, p), p % 4 == 3 ? '1' : ' ', static_cast<char>('1' + p % 9)}});
        lines.push_back(line);
    }
    // S58: a line without any value is empty, and lines stop after their last value.
    lines.push_back(
        obsLine({{value(2, 0)}, {value(2, 1)}, {value(2, 2)}, {value(2, 3)}, {value(2, 4)}}));
    lines.emplace_back("");
    lines.push_back(obsLine({{value(2, 10)}}));
    lines.push_back(std::string(16, ' ') + obsLine({{value(2, 16)}}));
    lines.push_back(obsLine({{value(2, 20), ' ', '7'}}));
    Scan s(lines);
    s.run();
    EXPECT_TRUE(s.LBData.empty()) << s.LBData.lines()[0];
    EXPECT_EQ(s.scanner->writtenEpochs, 1);
    const auto recs = obsRecords(s);
    ASSERT_EQ(recs.size(), 44u); // two satellites of 22 records, in the header's order
    for (int p = 0; p < 22; ++p) {
        SCOPED_TRACE(p);
        const obs::TObsRec& r = recs[static_cast<std::size_t>(p)];
        EXPECT_EQ(static_cast<double>(r.value), value(1, p));
        EXPECT_EQ(r.lli, p % 4 == 3 ? 1 : 0);
        EXPECT_EQ(r.strength, 1 + p % 9);
        const bool given = p <= 4 || p == 10 || p == 16 || p == 20;
        EXPECT_EQ(static_cast<double>(recs[22 + static_cast<std::size_t>(p)].value),
                  given ? value(2, p) : 0.0);
    }
    EXPECT_EQ(recs[22 + 20].strength, 7);
    // Counts per code: E33 gives one of each, S58 a second one for the types it has.
    const auto count = [&s](std::string_view type) {
        return s.scanner->nonZero[*header::ObsTypeCode(type)];
    };
    EXPECT_EQ(count("S1"), 2); // position 1
    EXPECT_EQ(count("D2"), 1); // position 6: S58's empty line holds 6-10
    EXPECT_EQ(count("D5"), 2); // position 11
    EXPECT_EQ(count("C5"), 1); // position 13
    EXPECT_EQ(count("C8"), 2); // position 17
    EXPECT_EQ(count("S8"), 2); // position 21
    EXPECT_EQ(count("C2"), 1); // position 22
    EXPECT_EQ(count("C6"), 0); // not listed
    EXPECT_TRUE(s.scanner->seen.has(header::SatSystem::Galileo, 33));
    EXPECT_TRUE(s.scanner->seen.has(header::SatSystem::GEO, 58));
    const auto epochs = epochRecords(s);
    ASSERT_EQ(epochs.size(), 1u);
    EXPECT_EQ(epochs[0].countE, 1);
    EXPECT_EQ(epochs[0].countS, 1);
}

TEST(ObsData, AnEmptyLastLineIsTheLastObservationLine) {
    // Ten types: the second line of the last satellite holds no value and is the file's last
    // line, an empty one.
    const std::vector<std::string> ten = {"L1", "L2", "C1", "P1", "P2",
                                          "S1", "S2", "D1", "D2", "C2"};
    std::vector<std::string> lines = {versionLine('M')};
    for (const std::string& l : obstest::typesLines(ten))
        lines.push_back(l);
    lines.push_back(endLine());
    for (const double second : {0.0, 30.0}) {
        lines.push_back(epochAt(0, 0, second, 1, "G01"));
        lines.push_back(obs5());
        lines.emplace_back("");
    }
    Scan s(lines);
    s.run();
    EXPECT_TRUE(s.LBData.empty()) << s.LBData.lines()[0];
    EXPECT_EQ(s.scanner->writtenEpochs, 2);
    EXPECT_EQ(obsRecords(s).size(), 20u);
}

TEST(ObsData, JudgesTheObservationLine) {
    const struct {
        const char* reason;
        std::string line;
        std::vector<std::string> messages;
        obs::TObsRec first; // the first record when the epoch is written
    } kCases[] = {
        {"value, blank LLI and strength 8",
         obsLine({{21234567.123, ' ', '8'}}),
         {},
         {21234567.123L, 0, 8}},
        {"LLI 7 and strength 9", obsLine({{1.5, '7', '9'}}), {}, {1.5L, 7, 9}},
        {"LLI 8", obsLine({{1.5, '8', '9'}}), {"Not valid LLI", "Wrong Observation data"}, {}},
        {"strength x",
         obsLine({{1.5, ' ', 'x'}}),
         {"Not valid Signal Strength", "Wrong Observation data"},
         {}},
        {"a blank field is a missing value",
         std::string(16, ' ') + obsLine({{2.0}}),
         {},
         {0.0L, 0, 0}},
        {"two decimals",
         "       123.45",
         {"Not F14.3 format for Observations", "Wrong Observation data"},
         {}},
        {"a blank among the digits",
         "    1234 5.678",
         {"Not valid Observation", "Wrong Observation data"},
         {}},
        {"a negative value", obsLine({{-0.5}}), {}, {-0.5L, 0, 0}},
        {"an empty line is an observation line", "", {}, {0.0L, 0, 0}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        // A later epoch keeps an empty line from being the file's last (which reads as its end).
        Scan s(file({}, {epochAt(0, 0, 0, 1, "G01"), c.line, epochAt(0, 0, 30, 1, "G01"), obs5()}));
        s.run();
        std::vector<std::string> got;
        for (std::size_t i = 0; i < s.LBData.lines().size(); i += 2)
            got.push_back(s.LBData.lines()[i].substr(11));
        EXPECT_EQ(got, c.messages);
        const auto recs = obsRecords(s);
        EXPECT_EQ(recs.size(), c.messages.empty() ? 10u : 5u); // the later epoch is whole
        if (c.messages.empty()) {
            EXPECT_EQ(recs[0], c.first);
        }
    }
}

TEST(ObsData, RegularFileWritesEveryEpoch) {
    Scan s(file({}, {epochAt(0, 0, 0, 2, "G01G02"), obs5(), obs5(1.0),
                     epochAt(0, 0, 30, 2, "G01G02"), obs5(), obs5()}));
    s.run();
    EXPECT_TRUE(s.LBData.empty());
    EXPECT_EQ(s.scanner->writtenEpochs, 2);
    EXPECT_EQ(s.epochs.recordCount(), 2u);
    EXPECT_EQ(s.observations.recordCount(), 20u);
    EXPECT_EQ(s.fileBytes(s.events).size(), 0u);
    EXPECT_EQ(s.fileBytes(s.xa).size(), 0u);
    EXPECT_EQ(s.fileBytes(s.xb).size(), 0u);
    EXPECT_EQ(s.scanner->dataLines, 6u);
    EXPECT_EQ(s.scanner->totalLines, 9u);
    EXPECT_EQ(s.scanner->smallestSatCount, 2);
    EXPECT_EQ(s.scanner->largestSatCount, 2);
}

TEST(ObsData, RecordFilesByteForByte) {
    const std::string epoch = epochLine(9, 1, 5, 12, 30, 15.5, 0, 2, "G01R05", "-0.123456789");
    Scan s(file({H("SITE", "MARKER NAME"),
                 H("        1.0000        0.0000        0.0000", "ANTENNA: DELTA H/E/N")},
                {epoch, obsLine({{30.0, '3', '8'}, {}, {-2.0}, {0.5}, {1.0}}), obs5(0.0)}));
    s.run();
    ASSERT_TRUE(s.LBData.empty()) << s.LBData.lines()[0];
    obs::TEpochRec e;
    e.time = {2009, 1, 5, 12, 30, 15.5L};
    e.satCount = 2;
    e.countR = 1;
    e.sats[0] = {'G', 1};
    e.sats[1] = {'R', 5};
    e.clockOffset = -0.123456789L;
    e.clockText = "-0.123456789";
    e.occupation.markerName = "SITE";
    e.occupation.antennaHeight = 1.0L;
    const auto expectedEpoch = obs::encode(e);
    const auto epochBytes = s.fileBytes(s.epochs);
    ASSERT_EQ(epochBytes.size(), 640u);
    EXPECT_TRUE(std::equal(epochBytes.begin(), epochBytes.end(), expectedEpoch.begin()));
    // Spot checks of the layout itself: year 2009 at 0, two satellites at 44, "R" 5 at 68.
    EXPECT_EQ(static_cast<int>(epochBytes[0]), 0xD9);
    EXPECT_EQ(static_cast<int>(epochBytes[44]), 2);
    EXPECT_EQ(static_cast<char>(epochBytes[69]), 'R');
    EXPECT_EQ(static_cast<int>(epochBytes[72]), 5);

    const auto obsBytes = s.fileBytes(s.observations);
    ASSERT_EQ(obsBytes.size(), 160u);
    const obs::TObsRec expected[] = {{30.0L, 3, 8}, {0, 0, 0},   {-2.0L, 0, 0}, {0.5L, 0, 0},
                                     {1.0L, 0, 0},  {0, 0, 0},   {1.0L, 0, 0},  {2.0L, 0, 0},
                                     {3.0L, 0, 0},  {4.0L, 0, 0}};
    for (std::size_t i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        const auto want = obs::encode(expected[i]);
        EXPECT_TRUE(
            std::equal(want.begin(), want.end(), obsBytes.begin() + 16 * static_cast<long>(i)));
    }
    // 30.0 with LLI 3 and strength 8.
    EXPECT_EQ(static_cast<int>(obsBytes[7]), 0xF0);
    EXPECT_EQ(static_cast<int>(obsBytes[10]), 3);
    EXPECT_EQ(static_cast<int>(obsBytes[11]), 8);
}

TEST(ObsData, HeaderOnlyFile) {
    // A complete header with nothing after it: the header passes and the data scan tells it.
    for (const bool lineEnd : {true, false}) {
        SCOPED_TRACE(lineEnd ? "line end after END OF HEADER" : "no line end at the end");
        Scan s({versionLine(), typesLine(kFiveTypes), endLine()}, "\n", lineEnd);
        s.run();
        EXPECT_TRUE(s.headerOk);
        EXPECT_TRUE(s.LBHeader.lines().empty());
        EXPECT_FALSE(s.dataOk);
        EXPECT_EQ(s.scanner->headerLineCount, 3);
        EXPECT_EQ(s.LBData.lines(),
                  obstest::lines({{3, "There is only Header in File!", endLine()}}));
        EXPECT_EQ(s.fileBytes(s.epochs).size(), 0u);
    }
    // A file that ends before END OF HEADER still ends the header scan early.
    Scan cut({versionLine(), typesLine(kFiveTypes)});
    cut.run();
    EXPECT_FALSE(cut.headerOk);
    EXPECT_EQ(cut.LBHeader.lines(),
              obstest::lines({{2, "Unexpected End of file", typesLine(kFiveTypes)}}));
}

TEST(ObsData, EpochAfterEpochDropsBoth) {
    const std::string first = epochAt(0, 0, 0, 1, "G01");
    const std::string second = epochAt(0, 0, 30, 1, "G01");
    const std::string o = obs5();
    Scan s(file({}, {first, second, o}));
    s.run();
    EXPECT_EQ(s.LBData.lines(), obstest::lines({{5, "Observation string is absent", second},
                                                {5, "Wrong position of Epoch", second},
                                                {6, "\"EPOCH/SAT\" string absent", o}}));
    EXPECT_EQ(s.scanner->writtenEpochs, 0);
    EXPECT_EQ(s.scanner->LBEpochs.size(), 2u); // both headers were read
}

TEST(ObsData, EpochWithoutSatellites) {
    const std::string epoch = epochAt(0, 0, 0, 0, "");
    Scan s(file({}, {epoch}));
    s.run();
    EXPECT_EQ(s.LBData.lines(), obstest::lines({{4, "Epoch without Satellites", epoch}}));
}

TEST(ObsData, NewOccupationEventChangesLaterEpochs) {
    const struct {
        int flag;
        bool isStatic;
    } kCases[] = {{3, true}, {2, false}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.flag);
        const std::string event = epochLine(9, 1, 5, 0, 0, 15, c.flag, 2, "");
        Scan s(file({H("OLD", "MARKER NAME")},
                    {epochAt(0, 0, 0, 1, "G01"), obs5(), event, H("NEW SITE", "MARKER NAME"),
                     H("moved", "COMMENT"), epochAt(0, 0, 30, 1, "G01"), obs5()}));
        s.run();
        EXPECT_TRUE(s.LBData.empty()) << s.LBData.lines()[0];
        const auto recs = epochRecords(s);
        ASSERT_EQ(recs.size(), 2u);
        EXPECT_EQ(recs[0].occupation.markerName, "OLD");
        EXPECT_TRUE(recs[0].occupation.isStatic);
        EXPECT_EQ(recs[1].occupation.markerName, "NEW SITE");
        EXPECT_EQ(recs[1].occupation.isStatic, c.isStatic);
        const auto bytes = s.fileBytes(s.events);
        ASSERT_EQ(bytes.size(), 48u);
        const obs::TEventRec ev = obs::decodeEventRec(bytes);
        EXPECT_EQ(ev.flag, c.flag);
        EXPECT_EQ(ev.records, 2);
        EXPECT_EQ(ev.time.year, 2009);
        EXPECT_EQ(ev.time.seconds, 15.0L);
        EXPECT_EQ(s.header.markerName, "NEW SITE");
    }
}

TEST(ObsData, MarkerNameBetweenEpochsIsUnexpected) {
    const std::string marker = H("ELSEWHERE", "MARKER NAME");
    Scan s(file({},
                {epochAt(0, 0, 0, 1, "G01"), obs5(), marker, epochAt(0, 0, 30, 1, "G01"), obs5()}));
    s.run();
    EXPECT_EQ(s.LBData.lines(), obstest::lines({{6, "Unexpected Header string", marker}}));
    EXPECT_EQ(s.header.markerName, "ELSEWHERE");
    EXPECT_EQ(epochRecords(s).at(1).occupation.markerName, "ELSEWHERE");
}

TEST(ObsData, OtherHeaderLinesOutsideAndInsideEventBlocks) {
    const std::string interval = H("    30.000", "INTERVAL");
    const std::string event = epochLine(9, 1, 5, 0, 0, 15, 4, 1, "");
    // Label lines right after END OF HEADER still belong to the header, so an epoch comes first.
    Scan s(file({}, {epochAt(0, 0, 0, 1, "G01"), obs5(), interval, event, interval,
                     epochAt(0, 0, 30, 1, "G01"), obs5()}));
    s.run();
    EXPECT_EQ(s.LBData.lines(), obstest::lines({{6, "Unexpected Header string", interval},
                                                {6, "Wrong HEADER data", interval}}));
    EXPECT_EQ(s.scanner->writtenEpochs, 2);
    EXPECT_EQ(s.fileBytes(s.events).size(), 0u); // flag 4 writes no record
}

TEST(ObsData, CommentBetweenEpochsIsIgnored) {
    Scan s(file({}, {epochAt(0, 0, 0, 1, "G01"), obs5(), H("a note", "COMMENT"),
                     epochAt(0, 0, 30, 1, "G01"), obs5()}));
    s.run();
    EXPECT_TRUE(s.LBData.empty());
    EXPECT_EQ(s.scanner->writtenEpochs, 2);
}

TEST(ObsData, AnyOtherLineIsNotValid) {
    const std::string junk = "what is this";
    Scan s(file({}, {junk, epochAt(0, 0, 0, 1, "G01"), obs5()}));
    s.run();
    EXPECT_EQ(s.LBData.lines(), obstest::lines({{4, "Not valid string", junk}}));
    EXPECT_EQ(s.scanner->writtenEpochs, 1);
}

TEST(ObsData, AntennaLineInTheDataPartReportsIntoTheDataList) {
    const std::string antenna = H("        2.5000", "ANTENNA: DELTA H/E/N");
    Scan s(file(
        {}, {epochAt(0, 0, 0, 1, "G01"), obs5(), antenna, epochAt(0, 0, 30, 1, "G01"), obs5()}));
    s.run();
    EXPECT_TRUE(s.LBHeader.empty());
    EXPECT_EQ(s.LBData.lines(), obstest::lines({{6, "E, N Antenna height is absent", antenna},
                                                {6, "Unexpected Header string", antenna}}));
    EXPECT_EQ(epochRecords(s).at(1).occupation.antennaHeight, 2.5L);
}

TEST(ObsData, JudgesTheEventLine) {
    const struct {
        const char* reason;
        std::string line;
        std::vector<std::string> messages;
    } kCases[] = {
        {"flag 4 with three records and no time", std::string(28, ' ') + "4  3", {}},
        {"flag 6",
         std::string(28, ' ') + "6  0",
         {"Not valid data for Event Flag", "Wrong Event data"}},
        {"records not a number",
         std::string(28, ' ') + "4  x",
         {"Not valid data for Number of Records to follow", "Wrong Event data"}},
        {"a bad event time",
         " 09  x  5  0  0 15.0000000  3  0",
         {"Not valid data for Month \"EPOCH/SAT\"", "Not valid data for Event Time",
          "Wrong Event data"}},
        {"an event time that ends after the minute, without a seconds word",
         " 09  1  5  0  0             5  0",
         {"Not F11.7 format for Sec \"EPOCH/SAT\"", "Not valid data for Event Time",
          "Wrong Event data"}},
        {"an event while a satellite list continues", "", {}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        std::vector<std::string> data = {c.line};
        if (c.line.size() >= 32 && c.line[31] == '3')
            data = {c.line, H("1", "COMMENT"), H("2", "COMMENT"), H("3", "COMMENT")};
        if (c.line.empty())
            data = {epochAt(0, 0, 0, 13, "G01G02G03G04G05G06G07G08G09G10G11G12"),
                    std::string(28, ' ') + "4  0"};
        data.push_back(epochAt(0, 1, 0, 1, "G01"));
        data.push_back(obs5());
        Scan s(file({}, data));
        s.run();
        std::vector<std::string> got;
        for (std::size_t i = 0; i < s.LBData.lines().size(); i += 2)
            got.push_back(s.LBData.lines()[i].substr(11));
        if (c.line.empty())
            EXPECT_EQ(got, (std::vector<std::string>{"Wrong position of Event"}));
        else
            EXPECT_EQ(got, c.messages);
        EXPECT_EQ(s.scanner->writtenEpochs, 1);
    }
}

TEST(ObsData, ExternalEventsGoToInputAUnlessMarked) {
    const std::string ext = epochLine(9, 1, 5, 0, 0, 10, 5, 0, "");
    const std::string mark = epochLine(9, 1, 5, 0, 0, 11, 4, 1, "");
    Scan s(file({}, {ext, mark, H("EXTERNAL EVENT XB", "COMMENT"), ext,
                     epochLine(9, 1, 5, 0, 0, 12, 4, 1, ""), H("INPUT XA", "COMMENT"), ext, ext}));
    s.run();
    EXPECT_TRUE(s.LBData.empty()) << s.LBData.lines()[0];
    EXPECT_EQ(s.scanner->extEventsA, 3);
    EXPECT_EQ(s.scanner->extEventsB, 1);
    const auto b = s.fileBytes(s.xb);
    ASSERT_EQ(b.size(), 48u);
    const obs::TExtEventRec rec = obs::decodeExtEventRec(b);
    EXPECT_FALSE(rec.inputA);
    EXPECT_EQ(rec.time.seconds, 10.0L);
    EXPECT_TRUE(obs::decodeExtEventRec(s.fileBytes(s.xa)).inputA);
}

TEST(ObsData, LongObservationLineIsSkipped) {
    const std::string second = epochAt(0, 0, 30, 1, "G01");
    Scan s(file({},
                {epochAt(0, 0, 0, 1, "G01"), obs5() + std::string(30, ' ') + "1", second, obs5()}));
    s.run();
    EXPECT_TRUE(s.scanner->longLines);
    EXPECT_EQ(s.LBData.lines().at(0), "string 6 : Observation string is absent");
    EXPECT_EQ(s.LBData.lines().at(2), "string 6 : Wrong position of Epoch");
    EXPECT_EQ(s.scanner->writtenEpochs, 0);
}

TEST(ObsData, LastEpochAgainstTimeOfLastObs) {
    const struct {
        int minute;
        bool differs;
    } kCases[] = {{59, false}, {58, true}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.minute);
        const std::string last = epochAt(23, c.minute, 30, 1, "G01");
        Scan s(file({H("  2009     1     5    23    59   30.0000000     GPS", "TIME OF LAST OBS")},
                    {epochAt(23, 0, 0, 1, "G01"), obs5(), last, obs5()}));
        s.run();
        if (c.differs) {
            EXPECT_EQ(s.LBData.lines(),
                      (std::vector<std::string>{
                          "Time of Last Epoch is different from the Time of LAST EPOCH in Header",
                          last}));
            EXPECT_EQ(s.header.lastObs.minute, 58);
        } else {
            EXPECT_TRUE(s.LBData.empty());
        }
    }
}

TEST(ObsData, FirstEpochAgainstTimeOfFirstObs) {
    const std::string epoch = epochAt(0, 0, 30, 1, "G01");
    Scan s(file({H("  2009     1     5     0     0    0.0000000     GPS", "TIME OF FIRST OBS")},
                {epoch, obs5()}));
    s.run();
    EXPECT_EQ(s.LBData.lines(),
              obstest::lines({{5, "It is not the Time of FIRST EPOCH in Header", epoch}}));
    EXPECT_EQ(s.header.firstObs.year, 2009);
    EXPECT_EQ(s.header.firstObs.seconds, 30.0L);
}

TEST(ObsData, GapsGetMarkerLines) {
    Scan s(file({H("    30.000", "INTERVAL")},
                {epochAt(0, 0, 0, 1, "G01"), obs5(), epochAt(0, 0, 30, 1, "G01"), obs5(),
                 epochAt(0, 2, 0, 1, "G01"), obs5()}));
    s.run();
    const std::vector<std::string> expected = {listLine("05/01/2009", "00:00:00.000", 1, 1),
                                               listLine("05/01/2009", "00:00:30.000", 1, 2),
                                               kStars,
                                               "******* 2 epochs missing **************",
                                               kStars,
                                               listLine("05/01/2009", "00:02:00.000", 1, 3)};
    EXPECT_EQ(s.scanner->LBEpochs, expected);
    EXPECT_EQ(s.scanner->gapCount, 1);
    EXPECT_EQ(s.scanner->missingEpochs, 2);
    ASSERT_EQ(s.scanner->ChTimes.size(), 2u);
    EXPECT_EQ(s.scanner->ChTimes[0].x, 2.0);
    EXPECT_NEAR(s.scanner->ChTimes[0].y, 30.0, 1e-5); // day counts carry about 1e-6 s
    EXPECT_EQ(s.scanner->ChTimes[1].x, 3.0);
    EXPECT_NEAR(s.scanner->ChTimes[1].y, 90.0, 1e-5);
    EXPECT_TRUE(s.scanner->timesAxis.automatic);
}

TEST(ObsData, GapRuleAroundOneAndAHalfIntervals) {
    const struct {
        double step;
        int gaps;
        std::size_t listLines;
    } kCases[] = {{45.0, 1, 2}, {32.7, 0, 2}, {33.3, 1, 2}, {-30.0, 0, 2}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.step);
        // The second epoch at 00:10:00 + step.
        const int total = 600 * 1000 + static_cast<int>(c.step * 1000);
        Scan t(file({H("    30.000", "INTERVAL")},
                    {epochAt(0, 10, 0, 1, "G01"), obs5(),
                     epochAt(0, total / 60000, (total % 60000) / 1000.0, 1, "G01"), obs5()}));
        t.run();
        EXPECT_EQ(t.scanner->gapCount, c.gaps);
        EXPECT_EQ(t.scanner->missingEpochs, 0);
        EXPECT_EQ(t.scanner->LBEpochs.size(), c.listLines);
        EXPECT_NEAR(t.scanner->ChTimes.at(0).y, c.step, 1e-5);
    }
}

TEST(ObsData, WithoutIntervalTheFirstStepIsTheInterval) {
    Scan s(file({}, {epochAt(0, 0, 0, 1, "G01"), obs5(), epochAt(0, 0, 15, 1, "G01"), obs5(),
                     epochAt(1, 0, 0, 1, "G01"), obs5()}));
    s.run();
    EXPECT_EQ(s.scanner->intervalMs, 15000);
    EXPECT_EQ(s.scanner->gapCount, 0);
    EXPECT_EQ(s.scanner->LBEpochs.size(), 3u);
}

TEST(ObsData, TimesAxisIsFixedWhenAllStepsAreEqual) {
    Scan one(file({}, {epochAt(0, 0, 0, 1, "G01"), obs5()}));
    one.run();
    EXPECT_TRUE(one.scanner->timesAxis.automatic);
    EXPECT_TRUE(one.scanner->ChTimes.empty());

    Scan two(file({}, {epochAt(0, 0, 0, 1, "G01"), obs5(), epochAt(0, 0, 30, 1, "G01"), obs5()}));
    two.run();
    EXPECT_FALSE(two.scanner->timesAxis.automatic);
    EXPECT_EQ(two.scanner->timesAxis.minimum, 29.0);
    EXPECT_EQ(two.scanner->timesAxis.maximum, 31.0);
}

TEST(ObsData, RejectedEpochAddsNothingToTheList) {
    Scan s(file({}, {epochAt(0, 0, 0, 1, "G01"), obs5(), epochAt(0, 0, 30, 1, "G33"), obs5(),
                     epochAt(0, 1, 0, 1, "G01"), obs5()}));
    s.run();
    EXPECT_EQ(s.scanner->LBEpochs.size(), 2u);
    ASSERT_EQ(s.scanner->ChTimes.size(), 1u);
    EXPECT_EQ(s.scanner->ChTimes[0].x, 2.0);
    EXPECT_NEAR(s.scanner->ChTimes[0].y, 60.0, 1e-5);
}

TEST(ObsData, ShowsProgressAndCanBeStopped) {
    std::vector<std::string> data;
    for (int e = 0; e < 3000; ++e) {
        data.push_back(epochAt(e / 3600 % 24, e / 60 % 60, e % 60, 1, "G01"));
        data.push_back(obs5());
    }
    Scan s(
        file({H("  2009     1     5    23    59   30.0000000     GPS", "TIME OF LAST OBS")}, data));
    s.observer.stopAtPoll = 1;
    s.run();
    EXPECT_TRUE(s.dataOk);
    EXPECT_TRUE(s.scanner->stopped);
    EXPECT_EQ(s.scanner->totalLines, 5000u);
    EXPECT_EQ(s.observer.polls, 1);
    EXPECT_TRUE(s.LBData.empty()); // no last-epoch comparison after a stop
    EXPECT_EQ(s.observer.statusTexts, (std::vector<std::string>{"   Processing...", ""}));
    EXPECT_EQ(s.observer.busyStates, (std::vector<bool>{true, false}));
    EXPECT_EQ(s.observer.pauses, std::vector<int>{500});
    EXPECT_EQ(s.observer.progressValues, (std::vector<double>{1.0, 0.0}));
    EXPECT_EQ(s.observer.shownEpochs.back(), "05/01/2009 00:41:37.000");
    EXPECT_EQ(s.observer.stopsCleared, 2);
}

TEST(ObsData, ProgressEveryFiveThousandLines) {
    std::vector<std::string> data;
    for (int e = 0; e < 3000; ++e) {
        data.push_back(epochAt(e / 3600 % 24, e / 60 % 60, e % 60, 1, "G01"));
        data.push_back(obs5());
    }
    Scan s(file({}, data));
    s.run();
    EXPECT_EQ(s.observer.polls, 1);
    ASSERT_EQ(s.observer.progressValues.size(), 3u);
    EXPECT_DOUBLE_EQ(s.observer.progressValues[0], 5000.0 / 6003.0);
    EXPECT_EQ(s.observer.shownEpochs.size(), 2u);
    EXPECT_EQ(s.scanner->writtenEpochs, 3000);
}

TEST(ObsData, LowDiskStopsBeforeTheNextLine) {
    Scan s(file({}, {epochAt(0, 0, 0, 1, "G01"), obs5(), epochAt(0, 0, 30, 1, "G01"), obs5()}));
    s.freeBytes = 1u << 20;
    s.run();
    EXPECT_TRUE(s.scanner->diskLow);
    EXPECT_EQ(s.observer.notices,
              std::vector<std::string>{"Disk space is less then 10 MB on drive C"});
    EXPECT_EQ(s.scanner->writtenEpochs, 1); // the record is still written
    EXPECT_EQ(s.scanner->totalLines, 5u);
    EXPECT_FALSE(s.dataOk); // the records are not the whole file
}

namespace {

/// Makes the record file a link to /dev/full, which Linux opens but whose every write fails
/// with ENOSPC: a full disk under the file's own name.
bool fillDisk(text::RecordFile& f, std::size_t recordSize) {
    const std::filesystem::path path = f.path();
    std::error_code ec;
    f.close();
    std::filesystem::remove(path, ec);
    std::filesystem::create_symlink("/dev/full", path, ec);
    return !ec && f.create(path, recordSize);
}

} // namespace

TEST(ObsData, ARefusedRecordWriteEndsTheScanAndKeepsWhatWasWritten) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full on this system";
    // 2000 epochs of 640 bytes: the epoch file's 1 MiB buffer goes to the disk at epoch 1639.
    std::vector<std::string> data;
    for (int e = 0; e < 2000; ++e) {
        data.push_back(epochAt(e / 3600 % 24, e / 60 % 60, e % 60, 1, "G01"));
        data.push_back(obs5());
    }
    Scan s(file({}, data));
    ASSERT_TRUE(fillDisk(s.epochs, obs::kEpochRecSize));
    s.run();
    EXPECT_FALSE(s.dataOk);
    EXPECT_TRUE(s.scanner->writeFailed);
    EXPECT_EQ(s.observer.notices,
              std::vector<std::string>{"Error Writing File RinexEpochs.dat ! "});
    EXPECT_EQ(s.scanner->writtenEpochs, 1638);
    EXPECT_EQ(s.scanner->totalLines, static_cast<std::uint64_t>(s.scanner->headerLineCount) +
                                         2u * 1639u); // no line after the refused epoch
    // The observations of the epochs before it are on the disk.
    EXPECT_EQ(s.fileBytes(s.observations).size(), 1638u * 5u * obs::kObsRecSize);
    EXPECT_EQ(s.LBData.lines(), std::vector<std::string>{});
}

TEST(ObsData, ARecordWriteRefusedAtTheEndIsToldOnce) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full on this system";
    Scan s(file({}, {epochAt(0, 0, 0, 1, "G01"), obs5(), epochAt(0, 0, 30, 1, "G01"), obs5()}));
    ASSERT_TRUE(fillDisk(s.observations, obs::kObsRecSize));
    s.run();
    EXPECT_FALSE(s.dataOk);
    EXPECT_EQ(s.observer.notices, std::vector<std::string>{"Error Writing File ObsRecs.dat ! "});
    EXPECT_EQ(s.fileBytes(s.epochs).size(), 2u * obs::kEpochRecSize);
}

TEST(ObsData, AnInterruptedSatelliteListDoesNotSwallowTheNextEpoch) {
    Scan s(file({}, {epochAt(0, 0, 0, 13, "G01G02G03G04G05G06G07G08G09G10G11G12"), "junk",
                     epochAt(0, 0, 30, 1, "G05"), obs5()}));
    s.run();
    const auto recs = epochRecords(s);
    ASSERT_EQ(recs.size(), 1u);
    EXPECT_EQ(recs[0].time.seconds, 30.0L);
    EXPECT_EQ(recs[0].sats[0], (obs::EpochSat{'G', 5}));
}

TEST(ObsData, AbsurdEpochFieldsAreListedWithoutHarm) {
    const std::string epoch = " 1E9 1 5 23 1E9 60.0000000  0  1G01"; // year and minute 10^9
    Scan s(file({}, {epochAt(0, 0, 0, 1, "G01"), obs5(), epoch, obs5()}));
    s.run();
    EXPECT_EQ(s.scanner->writtenEpochs, 2);
    EXPECT_EQ(s.scanner->LBEpochs.size(), 2u);
}

TEST(ObsData, ObservationFieldsMatchTheStrictRoutines) {
    // Whatever shortcut reads a value, the fixed-format and strict checks decide and give it.
    const char* const kFields[] = {
        "  21234567.123", "        -0.000", "        -0.001", "        12.345", "      1.234.56",
        "     1 2345.67", "       -12.345", "      --12.345", "         -.123", "          .123",
        "1234567890.123", "     +1234.567", "    1e3456.789", "     12345.6 7", "      12345.-7",
        "   0000012.000", " - 12345.678",   "       12.3450", "           0.1", "  99999999.9 9",
    };
    for (const char* f : kFields) {
        SCOPED_TRACE(f);
        const std::string_view field = f;
        std::string_view trimmed = field;
        text::RightTrim(trimmed);
        const bool fixedOk = text::FixedFormatOK(trimmed, 14, 3);
        const text::StrictResult strict = text::StrictNumber(trimmed);
        std::string line(field);
        line.resize(16, ' ');
        Scan s(file({}, {epochAt(0, 0, 0, 1, "G01"), line, epochAt(0, 0, 30, 1, "G01")}));
        s.run();
        const bool accepted = fixedOk && strict.valid();
        const auto recs = obsRecords(s);
        ASSERT_EQ(recs.size(), accepted ? 5u : 0u);
        if (accepted) {
            EXPECT_EQ(recs[0].value, strict.value);
            EXPECT_EQ(std::signbit(recs[0].value), std::signbit(strict.value));
        }
    }
}

TEST(ObsData, RandomObservationFieldsMatchTheStrictRoutines) {
    // Fields of blanks, signs, digits and points, mostly with the point at column 11.
    std::mt19937 random(20091);
    const std::string alphabet = "   --0123456789.+x";
    std::vector<std::string> fields;
    for (int i = 0; i < 400; ++i) {
        std::string f(14, ' ');
        const std::size_t digitsFrom = random() % 12;
        for (std::size_t k = 0; k < 14; ++k)
            f[k] = k < digitsFrom ? alphabet[random() % 5] : alphabet[5 + random() % 10];
        if (random() % 4 != 0)
            f[10] = '.';
        if (random() % 3 == 0)
            f[random() % 14] = alphabet[random() % alphabet.size()];
        fields.push_back(f);
    }
    int acceptedFields = 0;
    for (std::size_t k = 0; k < fields.size(); ++k) {
        SCOPED_TRACE(fields[k]);
        std::string_view trimmed = fields[k];
        text::RightTrim(trimmed);
        const text::StrictResult strict = text::StrictNumber(trimmed);
        const bool accepted = text::FixedFormatOK(trimmed, 14, 3) && strict.valid();
        Scan s(
            file({}, {epochAt(0, 0, 0, 1, "G01"), fields[k] + "  ", epochAt(0, 0, 30, 1, "G01")}));
        s.run();
        const auto recs = obsRecords(s);
        ASSERT_EQ(recs.size(), accepted ? 5u : 0u);
        if (accepted) {
            ++acceptedFields;
            EXPECT_EQ(recs[0].value, strict.value);
            EXPECT_EQ(std::signbit(recs[0].value), std::signbit(strict.value));
        }
    }
    EXPECT_GT(acceptedFields, 50); // the table reaches both sides of the rule
}

TEST(ObsData, AFileEndingInsideAnEpochTellsTheMissingLine) {
    const std::string one = epochAt(0, 0, 0, 1, "G01");
    const std::string thirteen = epochAt(0, 0, 0, 13, "G01G02G03G04G05G06G07G08G09G10G11G12");
    const struct {
        std::string_view why;
        std::vector<std::string> data;
        std::vector<Diag> diagnostics;
    } kCases[] = {
        {"the observations of the last epoch are due",
         {one},
         {{5, "Observation string is absent", ""}}},
        {"the satellite list goes on", {thirteen}, {{5, "Observation string is absent", ""}}},
        {"the last epoch is complete", {one, obs5()}, {}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.why);
        Scan s(file({}, c.data));
        s.run();
        EXPECT_EQ(s.LBData.lines(), obstest::lines(c.diagnostics));
        EXPECT_EQ(s.scanner->writtenEpochs, c.diagnostics.empty() ? 1 : 0);
    }
}
