#include "nav/GLONavFile.h"

#include "NavTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using navtest::headerLine;
using Lines = std::vector<std::string>;

Lines gloHeader() {
    return {
        headerLine("     2.11           GLONASS NAV DATA", "RINEX VERSION / TYPE"),
        headerLine("quillon             tester              20261210", "PGM / RUN BY / DATE"),
        headerLine("  2001     1     1   -0.781250000000D-02", "CORR TO SYSTEM TIME"),
        headerLine("    13", "LEAP SECONDS"),
        headerLine("", "END OF HEADER"),
    };
}

// Slot 2 at 2001-01-01 01:00:00 UTC; the seconds run into the negative clock bias.
Lines gloRecord(std::string_view slot = " 2") {
    return {
        std::string(slot) + " 01  1  1  1  0  0.0-0.500000000000D+00 0.250000000000D+00 " +
            "0.360000000000D+04",
        "    0.515350000000D+04 0.200000000000D+01 0.250000000000D+00 0.100000000000D+01",
        "   -0.100000000000D+01-0.200000000000D+01 0.150000000000D+01-0.700000000000D+01",
        "    0.500000000000D+00 0.250500000000D+03-0.500000000000D+00 0.600000000000D+01",
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

struct GLOScan {
    explicit GLOScan(const std::string& content)
        : files(content, nav::kEphemGLOSize),
          scanner(files.reader, header, files.lists, files.records, files.observer) {
        headerOk = scanner.ScanHeader();
        dataOk = scanner.ScanData();
    }
    const Lines& headerList() const { return files.lists.header(text::FileKind::G).lines(); }
    const Lines& dataList() const { return files.lists.data(text::FileKind::G).lines(); }

    navtest::ScanFiles files;
    header::THeaderDataGLO header;
    nav::TGLOFileG scanner;
    bool headerOk = false;
    bool dataOk = false;
};

TEST(TGLOFileG, WritesARecordByteForByte) {
    GLOScan scan(fileOf({gloHeader(), gloRecord()}));
    EXPECT_EQ(scan.headerList(), Lines{});
    EXPECT_EQ(scan.dataList(), Lines{});
    const std::vector<std::byte> bytes = scan.files.recordBytes();
    ASSERT_EQ(bytes.size(), 128u);
    navtest::expectFields(bytes, {{0, "02000000"},
                                  {8, "01000000"},
                                  {12, "01000000"},
                                  {16, "01000000"},
                                  {20, "01000000"},
                                  {48, "02"},
                                  {49, "f9"},
                                  {50, "6e01"},
                                  {52, "100e0000"},
                                  {56, "100e0000"},
                                  {60, "01"},
                                  {61, "06"},
                                  {64, "000000008021b440"},
                                  {72, "000000000000f0bf"},
                                  {80, "000000000000e03f"},
                                  {88, "00000040"},
                                  {92, "000000c0"},
                                  {96, "00807a43"},
                                  {100, "0000803e"},
                                  {104, "0000c03f"},
                                  {108, "000000bf"},
                                  {112, "000000000000803f"},
                                  {120, "0000003f"},
                                  {124, "0000803e"}});
    EXPECT_EQ(scan.scanner.EphemCount().count(2), 1);
    EXPECT_TRUE(scan.scanner.EphemeridesEnabled());
    EXPECT_FALSE(scan.scanner.IonoparametersEnabled());
}

TEST(TGLOFileG, FillsTheHeaderRecord) {
    GLOScan scan(fileOf({gloHeader(), gloRecord()}));
    EXPECT_EQ(scan.header.version, "2.11");
    EXPECT_EQ(scan.header.program, "quillon");
    EXPECT_EQ(scan.header.corrYear, 2001);
    EXPECT_EQ(scan.header.corrMonth, 1);
    EXPECT_EQ(scan.header.corrDay, 1);
    EXPECT_EQ(scan.header.corrToSystemTime, -0.0078125L);
    EXPECT_EQ(scan.header.leapSeconds, 13);
    EXPECT_EQ(scan.scanner.HeaderKinds(), (std::vector<std::uint8_t>{0, 1, 3, 4, 5}));
}

TEST(TGLOFileG, WritesARecordWithoutCorrectionOrLeapSeconds) {
    const Lines header = {gloHeader()[0], gloHeader()[4]};
    GLOScan scan(fileOf({header, gloRecord()}));
    nav::TEphemGLORec r;
    ASSERT_TRUE(nav::FindEphemeris(scan.files.recordPath(), 2, 1, r, scan.files.observer));
    EXPECT_EQ(r.corrToSystemTime, 0.0);
    EXPECT_EQ(r.dayNumber, 366); // 01:00 lies before 03:00 even without leap seconds
}

TEST(TGLOFileG, TellsTheWrongFileLetter) {
    Lines header = gloHeader();
    header[0] = headerLine("     2.11           N: GPS NAV DATA", "RINEX VERSION / TYPE");
    GLOScan scan(fileOf({header, gloRecord()}));
    Lines expected = diag(1, "\"G\" is absent", header[0]);
    const Lines position = diag(1, "The position of \"G\" is not 21", header[0]); // G of GPS
    expected.insert(expected.end(), position.begin(), position.end());
    EXPECT_EQ(scan.headerList(), expected);
}

TEST(TGLOFileG, NeedsAllFourFieldsOfTheLastOrbitLine) {
    Lines r = gloRecord();
    r[3] = "    0.500000000000D+00 0.250500000000D+03-0.500000000000D+00";
    GLOScan scan(fileOf({gloHeader(), r}));
    EXPECT_EQ(scan.dataList(), diag(9, "Not D19.12 format", r[3]));
    EXPECT_EQ(scan.scanner.RecordsWritten(), 0);
}

TEST(TGLOFileG, AMissingThirdOrbitLineDropsTheRecord) {
    const Lines r = gloRecord();
    const Lines next = gloRecord(" 3");
    GLOScan scan(fileOf({gloHeader(), Lines(r.begin(), r.end() - 1), next}));
    Lines expected = diag(9, "Broadcast Orbit Message string is absent", next[0]);
    const Lines wrong = diag(9, "Wrong position of Epoch Message", next[0]);
    expected.insert(expected.end(), wrong.begin(), wrong.end());
    EXPECT_EQ(scan.dataList(), expected);
    EXPECT_EQ(scan.scanner.RecordsWritten(), 1);
    EXPECT_EQ(scan.scanner.EphemCount().count(2), 0);
    EXPECT_EQ(scan.scanner.EphemCount().count(3), 1);
}

TEST(TGLOFileG, AHeaderOnlyFileEndsTheDataScan) {
    GLOScan scan(fileOf({gloHeader()}));
    EXPECT_FALSE(scan.dataOk);
    EXPECT_EQ(scan.files.observer.notices, Lines{"There is only Header in Navigation File!"});
}

} // namespace
