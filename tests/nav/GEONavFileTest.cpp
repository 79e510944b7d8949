#include "nav/GEONavFile.h"

#include "NavTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using navtest::headerLine;
using Lines = std::vector<std::string>;

Lines geoHeader() {
    return {
        headerLine("     2.11           H: GEO NAV MSG DATA", "RINEX VERSION / TYPE"),
        headerLine("quillon             tester              20261210", "PGM / RUN BY / DATE"),
        headerLine("    11     1    15    0.100000000000D-07", "CORR TO SYSTEM TIME"),
        headerLine("    15", "LEAP SECONDS"),
        headerLine("", "END OF HEADER"),
    };
}

// Satellite 29 (PRN 129) at 2011-01-15 02:07:30, GPS week 1618.
Lines geoRecord(std::string_view prn = "29", std::string_view clock = " 0.125000000000D+00") {
    return {
        std::string(prn) + " 11  1 15  2  7 30.0" + std::string(clock) +
            "-0.250000000000D+00 0.475200000000D+06",
        "    0.515350000000D+04 0.200000000000D+01 0.250500000000D+03 0.100000000000D+01",
        "   -0.100000000000D+01-0.200000000000D+01 0.150000000000D+01 0.160000000000D+02",
        "    0.500000000000D+00 0.250000000000D+00-0.500000000000D+00 0.700000000000D+01",
    };
}

std::string fileOf(std::initializer_list<Lines> parts) {
    std::string text;
    for (const Lines& part : parts)
        for (const std::string& l : part)
            text += l + "\r\n";
    return text;
}

Lines diag(std::int64_t lineNo, std::string_view message, std::string_view raw) {
    return {text::MessageLine(lineNo, message), std::string(raw)};
}

Lines concat(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

struct GEOScan {
    explicit GEOScan(const std::string& content)
        : files(content, nav::kEphemGEOSize),
          scanner(files.reader, header, files.lists, files.records, files.observer) {
        headerOk = scanner.ScanHeader();
        dataOk = scanner.ScanData();
    }
    const Lines& headerList() const { return files.lists.header(text::FileKind::H).lines(); }
    const Lines& dataList() const { return files.lists.data(text::FileKind::H).lines(); }

    navtest::ScanFiles files;
    header::THeaderDataGEO header;
    nav::TGEOFileH scanner;
    bool headerOk = false;
    bool dataOk = false;
};

TEST(TGEOFileH, WritesARecordByteForByte) {
    GEOScan scan(fileOf({geoHeader(), geoRecord()}));
    EXPECT_EQ(scan.headerList(), Lines{});
    EXPECT_EQ(scan.dataList(), Lines{});
    const std::vector<std::byte> bytes = scan.files.recordBytes();
    ASSERT_EQ(bytes.size(), 128u);
    navtest::expectFields(bytes, {{0, "81000000"},
                                  {4, "1d000000"},
                                  {8, "01000000"},
                                  {16, "0b000000"},
                                  {20, "01000000"},
                                  {24, "0f000000"},
                                  {28, "02000000"},
                                  {32, "07000000"},
                                  {40, "00000000000000f00340"},
                                  {56, "81"},
                                  {57, "1d"},
                                  {59, "10"},
                                  {60, "e21d0000"},
                                  {64, "000000008021b440"},
                                  {72, "000000000000f0bf"},
                                  {80, "000000000000e03f"},
                                  {88, "00000040"},
                                  {92, "000000c0"},
                                  {96, "0000803e"},
                                  {100, "00807a43"},
                                  {104, "0000c03f"},
                                  {108, "000000bf"},
                                  {112, "0000003e"},
                                  {116, "000080be"},
                                  {120, "40400700"},
                                  {124, "5202"},
                                  {126, "01"}});
    EXPECT_EQ(scan.scanner.EphemCount().count(29), 1);
    EXPECT_FALSE(scan.scanner.IonoparametersEnabled());
}

TEST(TGEOFileH, ReadsTheCorrectionLikeGLONASS) {
    GEOScan scan(fileOf({geoHeader(), geoRecord()}));
    EXPECT_EQ(scan.header.corrYear, 2011);
    EXPECT_EQ(scan.header.corrMonth, 1);
    EXPECT_EQ(scan.header.corrDay, 15);
    EXPECT_NEAR(static_cast<double>(scan.header.corrToSystemTime), 1e-8, 1e-22);
    EXPECT_EQ(scan.header.leapSeconds, 15);
}

TEST(TGEOFileH, ChecksTheSatelliteNumberRange) {
    constexpr struct {
        std::string_view prn;
        bool accepted;
    } kCases[] = {{"19", false}, {"20", true},
                  {"38", true},  {"40", true}, // PRN 140 of SDCM and BDSBAS
                  {"58", true},  {"59", false}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.prn);
        const Lines r = geoRecord(c.prn);
        GEOScan scan(fileOf({geoHeader(), r}));
        EXPECT_EQ(scan.scanner.RecordsWritten(), c.accepted ? 1 : 0);
        if (c.accepted) {
            EXPECT_EQ(scan.dataList(), Lines{});
        } else {
            ASSERT_FALSE(scan.dataList().empty());
            EXPECT_EQ(Lines(scan.dataList().begin(), scan.dataList().begin() + 2),
                      diag(6, "Not valid data for GEO PRN number", r[0]));
        }
    }
}

TEST(TGEOFileH, ReadsSecondsRunIntoANegativeClockBias) {
    const Lines r = geoRecord("29", "-0.125000000000D+00");
    GEOScan scan(fileOf({geoHeader(), r}));
    EXPECT_EQ(scan.dataList(), Lines{});
    nav::TEphemGEORec rec;
    ASSERT_TRUE(nav::FindEphemeris(scan.files.recordPath(), 29, 1, rec, scan.files.observer));
    EXPECT_EQ(rec.aGf0, -0.125f);
    EXPECT_EQ(rec.epoch.seconds, 30.0L);
}

TEST(TGEOFileH, NumbersTheRecordsOfEachSatellite) {
    GEOScan scan(
        fileOf({geoHeader(), geoRecord("33"), geoRecord("20"), geoRecord("33"), geoRecord("33")}));
    EXPECT_EQ(scan.scanner.EphemCount().count(33), 3);
    EXPECT_EQ(scan.scanner.EphemCount().count(20), 1);
    nav::TEphemGEORec rec;
    ASSERT_TRUE(nav::FindEphemeris(scan.files.recordPath(), 33, 3, rec, scan.files.observer));
    EXPECT_EQ(rec.ordinal, 3);
    EXPECT_EQ(rec.prn100, 133);
}

TEST(TGEOFileH, CountsTheSatellitesOfSdcmAndBdsbas) {
    GEOScan scan(fileOf({geoHeader(), geoRecord("40"), geoRecord("58")}));
    EXPECT_EQ(scan.dataList(), Lines{});
    EXPECT_EQ(scan.scanner.EphemCount().count(40), 1);
    EXPECT_EQ(scan.scanner.EphemCount().count(58), 1);
    nav::TEphemGEORec rec;
    ASSERT_TRUE(nav::FindEphemeris(scan.files.recordPath(), 58, 1, rec, scan.files.observer));
    EXPECT_EQ(rec.prn100, 158);
}

TEST(TGEOFileH, CountsBlankLines) {
    const Lines r = geoRecord();
    const Lines r2 = geoRecord("37");
    Lines emptyInside = r;
    emptyInside.insert(emptyInside.begin() + 2, "");
    Lines blanksInside = r;
    blanksInside.insert(blanksInside.begin() + 2, "   ");
    const std::string bmsg = "Broadcast Orbit Message string is absent";
    const std::string tmsg = "Time Message string is absent";
    struct Case {
        std::string name;
        std::string content;
        Lines expected;
        int written;
    };
    const Case cases[] = {
        {"an empty line between records", fileOf({geoHeader(), r, {""}, r2}), {}, 2},
        {"an empty line inside a record", fileOf({geoHeader(), emptyInside}), diag(8, bmsg, ""), 1},
        {"blanks between records", fileOf({geoHeader(), r, {"   "}, r2}),
         diag(10, "Not valid string", "   "), 2},
        {"blanks inside a record", fileOf({geoHeader(), blanksInside}),
         concat({diag(8, bmsg, "   "), diag(8, "Not valid string", "   "), diag(9, tmsg, r[2]),
                 diag(10, tmsg, r[3])}),
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GEOScan scan(c.content);
        EXPECT_EQ(scan.dataList(), c.expected);
        EXPECT_EQ(scan.scanner.RecordsWritten(), c.written);
    }
}

TEST(TGEOFileH, DoesNotReadTheLastFieldOfTheThirdOrbitLine) {
    Lines r = geoRecord();
    r[3] = "    0.500000000000D+00 0.250000000000D+00-0.500000000000D+00 IODN";
    GEOScan scan(fileOf({geoHeader(), r}));
    EXPECT_EQ(scan.dataList(), Lines{});
    EXPECT_EQ(scan.scanner.RecordsWritten(), 1);
}

} // namespace
