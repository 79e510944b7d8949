#include "nav/GALNavFile.h"

#include "NavTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using navtest::headerLine;
using Lines = std::vector<std::string>;

Lines galHeader() {
    return {
        headerLine("     2              L GALILEO NAVIGATION", "RINEX VERSION / TYPE"),
        headerLine("quillon             tester              20261210", "PGM / RUN BY / DATE"),
        headerLine("    0.1118D-07  0.2235D-07 -0.5960D-07 -0.1192D-06", "ION ALPHA"),
        headerLine("    14", "LEAP SECONDS"),
        headerLine("", "END OF HEADER"),
    };
}

// Satellite 11 at 2009-04-01 00:00:00 (GPS week 1525, second 259200).
Lines galRecord(std::string_view toe = " 0.259200000000D+06",
                std::string_view week = " 0.152500000000D+04",
                std::string_view epoch = "11 09  4  1  0  0  0.0") {
    return {
        std::string(epoch) + " 0.500000000000D+00-0.250000000000D+00 0.125000000000D+00",
        "    0.450000000000D+02 1.5D+00 6.283185307179586D+00 3.141592653589793D+00",
        "   -0.500000000000D+00 0.781250000000D-02 0.250000000000D+00 0.515350000000D+04",
        "   " + std::string(toe) + " 0.125000000000D+00-3.141592653589793D+00-2.0D+00",
        "    0.000000000000D+00 250.5D+00 1.5707963267948965D+00-6.283185307179586D+00",
        "    0.785398163397D+00 0.500000000000D+01" + std::string(week) + " 0.000000000000D+00",
        "    0.312000000000D+01 0.000000000000D+00-0.500000000000D+00 0.150000000000D+01",
        "    0.259000000000D+06",
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

struct GALScan {
    explicit GALScan(const std::string& content)
        : files(content, nav::kEphemGALSize),
          scanner(files.reader, header, files.lists, files.records, files.observer) {
        headerOk = scanner.ScanHeader();
        dataOk = scanner.ScanData();
    }
    const Lines& headerList() const { return files.lists.header(text::FileKind::L).lines(); }
    const Lines& dataList() const { return files.lists.data(text::FileKind::L).lines(); }

    navtest::ScanFiles files;
    header::THeaderDataGAL header;
    nav::TGALFileL scanner;
    bool headerOk = false;
    bool dataOk = false;
};

TEST(TGALFileL, CountsGalileoUpToE36) {
    GALScan scan(fileOf(
        {galHeader(),
         galRecord(" 0.259200000000D+06", " 0.152500000000D+04", "33 09  4  1  0  0  0.0"),
         galRecord(" 0.259200000000D+06", " 0.152500000000D+04", "36 09  4  1  0  0  0.0")}));
    EXPECT_EQ(scan.dataList(), Lines{});
    EXPECT_EQ(scan.scanner.EphemCount().count(33), 1);
    EXPECT_EQ(scan.scanner.EphemCount().count(36), 1);
    EXPECT_EQ(scan.scanner.EphemCount().last(), 36);
}

TEST(TGALFileL, WritesARecordByteForByte) {
    GALScan scan(fileOf({galHeader(), galRecord()}));
    EXPECT_EQ(scan.headerList(), Lines{});
    EXPECT_EQ(scan.dataList(), Lines{});
    const std::vector<std::byte> bytes = scan.files.recordBytes();
    ASSERT_EQ(bytes.size(), 208u);
    navtest::expectFields(bytes, {{0, "0b000000"},
                                  {8, "09000000"},
                                  {12, "04000000"},
                                  {16, "01000000"},
                                  {48, "0b"},
                                  {52, "b8f30300"},
                                  {56, "05"},
                                  {60, "80f40300"},
                                  {64, "14ae4740"},
                                  {70, "f505"},
                                  {76, "0000003e"},
                                  {80, "000080be"},
                                  {84, "0000003f"},
                                  {88, "80f40300"},
                                  {92, "2d00"},
                                  {96, "000000008021b440"},
                                  {104, "000000000000803f"},
                                  {112, "000000000000f03f"},
                                  {120, "000000000000f0bf"},
                                  {136, "000000000000e03f"},
                                  {144, "00000040"},
                                  {148, "000000c0"},
                                  {152, "0000803e"},
                                  {156, "00807a43"},
                                  {160, "0000c03f"},
                                  {164, "000000bf"},
                                  {168, "0000803e"},
                                  {172, "0000003e"},
                                  {176, "000000c0"},
                                  {180, "000000bf"},
                                  {184, "0000c03f"}});
    EXPECT_EQ(scan.scanner.EphemCount().count(11), 1);
    EXPECT_TRUE(scan.scanner.IonoparametersEnabled());
    EXPECT_FLOAT_EQ(scan.header.ion[0], 0.1118e-07f);
    EXPECT_EQ(scan.header.leapSecondsShort, 14);
}

TEST(TGALFileL, ChecksTheWeek) {
    struct Case {
        std::string toe, week;
        std::int16_t stored;
        std::uint8_t health;
        const char* reason;
    };
    const Case cases[] = {
        {" 0.720000000000D+04", " 0.152400000000D+04", 1525, 0, "one short, toe below 8000 s"},
        {" 0.900000000000D+04", " 0.152400000000D+04", 1524, 1, "one short, toe 9000 s"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        GALScan scan(fileOf({galHeader(), galRecord(c.toe, c.week)}));
        nav::TEphemGALRec r;
        ASSERT_TRUE(nav::FindEphemeris(scan.files.recordPath(), 11, 1, r, scan.files.observer));
        EXPECT_EQ(r.week, c.stored);
        EXPECT_EQ(r.health, c.health);
    }
}

TEST(TGALFileL, TellsAGPSFileLetter) {
    struct Case {
        std::string line;
        Lines messages;
    };
    const Case cases[] = {
        {headerLine("     2.11           N: GPS NAV DATA", "RINEX VERSION / TYPE"),
         {"\"L\" is absent"}},
        {headerLine("     2.11           N: GPS NAV DATA LIKE", "RINEX VERSION / TYPE"),
         {"\"L\" is absent", "The position of \"L\" is not 21"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Lines header = galHeader();
        header[0] = c.line;
        GALScan scan(fileOf({header, galRecord()}));
        Lines expected;
        for (const std::string& m : c.messages) {
            const Lines d = diag(1, m, c.line);
            expected.insert(expected.end(), d.begin(), d.end());
        }
        EXPECT_EQ(scan.headerList(), expected);
    }
}

} // namespace
