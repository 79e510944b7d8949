#include "nav/GPSNavFile.h"

#include "NavTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using navtest::headerLine;
using Lines = std::vector<std::string>;

Lines gpsHeader() {
    return {
        headerLine("     2.11           N: GPS NAV DATA", "RINEX VERSION / TYPE"),
        headerLine("quillon             tester              20261210", "PGM / RUN BY / DATE"),
        headerLine("    0.1118D-07  0.2235D-07 -0.5960D-07 -0.1192D-06", "ION ALPHA"),
        headerLine("    0.1167D+06  0.1638D+05 -0.1311D+06 -0.3932D+06", "ION BETA"),
        headerLine("    0.133179128170D-06 0.107469588780D-12   552960     1025",
                   "DELTA-UTC: A0,A1,T,W"),
        headerLine("    15", "LEAP SECONDS"),
        headerLine("", "END OF HEADER"),
    };
}

// One ephemeris of satellite 5 at 2010-03-05 12:00:00 (GPS week 1573, second 475200) whose
// values have exact binary forms; the radian fields are multiples of pi.
Lines gpsRecord(std::string_view prn = " 5", std::string_view epoch = " 10  3  5 12  0  0.0") {
    return {
        std::string(prn) + std::string(epoch) +
            " 0.500000000000D+00-0.250000000000D+00 0.125000000000D+00",
        "    0.450000000000D+02 1.5D+00 6.283185307179586D+00 3.141592653589793D+00",
        "   -0.500000000000D+00 0.781250000000D-02 0.250000000000D+00 0.515350000000D+04",
        "    0.475200000000D+06 0.125000000000D+00-3.141592653589793D+00-2.0D+00",
        "    0.000000000000D+00 250.5D+00 1.5707963267948965D+00-6.283185307179586D+00",
        "    0.785398163397D+00 0.100000000000D+01 0.157300000000D+04 0.100000000000D+01",
        "    0.200000000000D+01 0.000000000000D+00-0.500000000000D+00 0.301000000000D+03",
        "    0.475000000000D+06",
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

struct GPSScan {
    explicit GPSScan(const std::string& content)
        : files(content, nav::kEphemGPSSize),
          scanner(files.reader, header, files.lists, files.records, files.observer) {
        headerOk = scanner.ScanHeader();
        dataOk = scanner.ScanData();
    }
    const Lines& headerList() const { return files.lists.header(text::FileKind::N).lines(); }
    const Lines& dataList() const { return files.lists.data(text::FileKind::N).lines(); }

    navtest::ScanFiles files;
    header::THeaderDataGPS header;
    nav::TNavFileN scanner;
    bool headerOk = false;
    bool dataOk = false;
};

TEST(TNavFileN, WritesARecordByteForByte) {
    GPSScan scan(fileOf({gpsHeader(), gpsRecord()}));
    EXPECT_TRUE(scan.headerOk);
    EXPECT_TRUE(scan.dataOk);
    EXPECT_EQ(scan.headerList(), Lines{});
    EXPECT_EQ(scan.dataList(), Lines{});
    const std::vector<std::byte> bytes = scan.files.recordBytes();
    ASSERT_EQ(bytes.size(), 184u);
    navtest::expectFields(bytes, {{0, "05000000"},
                                  {8, "0a000000"},
                                  {12, "03000000"},
                                  {16, "05000000"},
                                  {20, "0c000000"},
                                  {48, "05"},
                                  {52, "40400700"},
                                  {56, "06"},
                                  {58, "2d01"},
                                  {60, "40400700"},
                                  {64, "02000000"},
                                  {70, "2506"},
                                  {72, "000000bf"},
                                  {76, "0000003e"},
                                  {80, "000080be"},
                                  {84, "0000003f"},
                                  {88, "40400700"},
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
                                  {176, "000000c0"}});
    EXPECT_EQ(scan.scanner.EphemCount().count(5), 1);
    EXPECT_EQ(scan.scanner.RecordsWritten(), 1);
    EXPECT_TRUE(scan.scanner.EphemeridesEnabled());
    EXPECT_TRUE(scan.scanner.IonoparametersEnabled());
}

TEST(TNavFileN, FillsTheHeaderRecord) {
    GPSScan scan(fileOf({gpsHeader(), gpsRecord()}));
    const header::THeaderDataGPS& h = scan.header;
    EXPECT_EQ(h.version, "2.11");
    EXPECT_EQ(h.program, "quillon");
    EXPECT_EQ(h.runBy, "tester");
    EXPECT_EQ(h.date, "20261210");
    const float ion[8] = {0.1118e-07f, 0.2235e-07f, -0.5960e-07f, -0.1192e-06f,
                          0.1167e+06f, 0.1638e+05f, -0.1311e+06f, -0.3932e+06f};
    for (std::size_t i = 0; i < 8; ++i)
        EXPECT_FLOAT_EQ(h.ion[i], ion[i]) << "slot " << i;
    EXPECT_DOUBLE_EQ(h.a0, 0.133179128170e-06);
    EXPECT_FLOAT_EQ(h.a1, 0.107469588780e-12f);
    EXPECT_EQ(h.t, 552960);
    EXPECT_EQ(h.w, 1025);
    EXPECT_EQ(h.leapSeconds, 15);
    EXPECT_EQ(h.leapSecondsShort, 15);
    EXPECT_EQ(scan.scanner.HeaderLineCount(), 7);
    EXPECT_EQ(scan.scanner.HeaderKinds(), (std::vector<std::uint8_t>{0, 1, 3, 4, 5, 6, 7}));
}

TEST(TNavFileN, ChecksHeaderLines) {
    struct Case {
        int replaced; // index of the header line replaced, -1 to insert before the first
        std::string line;
        Lines messages; // at the line's own number
        const char* reason;
    };
    const Case cases[] = {
        {2,
         headerLine(" -0.1118D-07  0.2235D-07 -0.5960D-07 -0.1192D-06", "ION ALPHA"),
         {"Not valid data for ION ALPHA"},
         "a sign in column 2"},
        {2,
         headerLine("    0.1118000   0.2235D-07 -0.5960D-07 -0.1192D-06", "ION ALPHA"),
         {"Not valid data for ION ALPHA"},
         "a value without exponent"},
        {3,
         headerLine("    0.1167D+06  0.1638D+05 -0.1311D+06 -0.3932X+06", "ION BETA"),
         {"Not valid data for ION BETA"},
         "a bad exponent letter in the fourth value"},
        {4,
         headerLine("  1 0.133179128170D-06 0.107469588780D-12   552960     1025",
                    "DELTA-UTC: A0,A1,T,W"),
         {"Not valid data for DELTA-UTC"},
         "a digit in columns 1-3"},
        {4,
         headerLine("    0.133179128170D-06 0.107469588780D-12   55296x     1025",
                    "DELTA-UTC: A0,A1,T,W"),
         {"Not valid data for DELTA-UTC"},
         "T is no number"},
        {0,
         headerLine("     2.11           L: GPS NAV DATA", "RINEX VERSION / TYPE"),
         {"\"N\" is absent", "The position of \"N\" is not 21"},
         "the wrong file letter; the first N is then the one of NAV"},
        {5,
         headerLine("    1x", "LEAP SECONDS"),
         {"Format of Leap seconds is not I6"},
         "the digits end in column 5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        Lines header = gpsHeader();
        header[static_cast<std::size_t>(c.replaced)] = c.line;
        GPSScan scan(fileOf({header, gpsRecord()}));
        Lines expected;
        for (const std::string& m : c.messages)
            expected = concat({expected, diag(c.replaced + 1, m, c.line)});
        EXPECT_EQ(scan.headerList(), expected);
        EXPECT_EQ(scan.dataList(), Lines{});
    }
}

TEST(TNavFileN, KeepsIonValuesReadBeforeABadOne) {
    Lines header = gpsHeader();
    header[2] = headerLine("    0.1118D-07  0.2235D-07 -0.5960D-0x -0.1192D-06", "ION ALPHA");
    GPSScan scan(fileOf({header, gpsRecord()}));
    EXPECT_FLOAT_EQ(scan.header.ion[0], 0.1118e-07f);
    EXPECT_FLOAT_EQ(scan.header.ion[1], 0.2235e-07f);
    EXPECT_EQ(scan.header.ion[2], 0.0f);
    EXPECT_EQ(scan.header.ion[3], 0.0f);
}

TEST(TNavFileN, IonAlphaWithASignInColumnOneStoresNothing) {
    Lines header = gpsHeader();
    header[2] = headerLine("-   0.1118D-07  0.2235D-07 -0.5960D-07 -0.1192D-06", "ION ALPHA");
    GPSScan scan(fileOf({header, gpsRecord()}));
    EXPECT_EQ(scan.header.ion[0], 0.0f);
    EXPECT_EQ(scan.headerList(), diag(3, "Not valid data for ION ALPHA", header[2]));
}

TEST(TNavFileN, FollowsTheHeaderStructure) {
    const std::string version = gpsHeader()[0];
    const std::string end = gpsHeader()[6];
    const std::string comment = headerLine("COMMENT with END OF HEADER inside", "COMMENT");
    const std::string epoch = gpsRecord()[0];
    const std::string longComment = headerLine("", "COMMENT") + std::string(14, ' ');
    struct Case {
        Lines header;
        Lines expected;
        const char* reason;
    };
    const Case cases[] = {
        {{version, end}, {}, "the smallest header"},
        {{headerLine("", "COMMENT"), version, end},
         diag(1, "The first string of the Header must be <RINEX VERSION / TYPE>",
              headerLine("", "COMMENT")),
         "a comment comes first"},
        {{version},
         diag(2, "The string is not true Header string or <END OF HEADER> is absent", epoch),
         "no END OF HEADER: the epoch line ends the header"},
        {{version, comment},
         diag(3, "The string is not true Header string or <END OF HEADER> is absent", epoch),
         "END OF HEADER inside a comment is a comment"},
        {{version, longComment, end},
         diag(2, "Too long Header string", longComment),
         "an 81-character header line is still a header line"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        GPSScan scan(fileOf({c.header, gpsRecord()}));
        EXPECT_EQ(scan.headerList(), c.expected);
        EXPECT_EQ(scan.dataList(), Lines{});
        EXPECT_EQ(scan.scanner.RecordsWritten(), 1);
    }
}

TEST(TNavFileN, AFileOfAnotherVersionFailsItsHeader) {
    Lines header = gpsHeader();
    header[0] = headerLine("     3.02           N: GNSS NAV DATA    G", "RINEX VERSION / TYPE");
    const std::string notTwo = text::MessageLine(1, "Rinex format version is not 2");
    GPSScan scan(fileOf({header, gpsRecord()}));
    EXPECT_FALSE(scan.headerOk);
    ASSERT_FALSE(scan.headerList().empty());
    EXPECT_EQ(scan.headerList()[0], notTwo);
    EXPECT_EQ(scan.scanner.HeaderLineCount(), 1);
}

TEST(TNavFileN, AFirstLineWithoutLabelGetsBothMessages) {
    const Lines record = gpsRecord();
    GPSScan scan(fileOf({record}));
    EXPECT_EQ(scan.headerList(),
              concat({diag(1, "The first string is not a Header string", record[0]),
                      diag(1, "The string is not true Header string or <END OF HEADER> is absent",
                           record[0])}));
    EXPECT_EQ(scan.scanner.RecordsWritten(), 1);
}

TEST(TNavFileN, AFirstLineTooLongIsTold) {
    Lines header = gpsHeader();
    header[0] += "  ";
    GPSScan scan(fileOf({header, gpsRecord()}));
    EXPECT_EQ(scan.headerList(), diag(1, "The first string of the Header is too long", header[0]));
}

TEST(TNavFileN, AHeaderOnlyFileEndsTheDataScan) {
    GPSScan scan(fileOf({gpsHeader()}));
    EXPECT_TRUE(scan.headerOk);
    EXPECT_FALSE(scan.dataOk);
    EXPECT_EQ(scan.files.observer.notices, Lines{"There is only Header in Navigation File!"});
    EXPECT_EQ(scan.dataList(), Lines{});
    EXPECT_FALSE(scan.scanner.EphemeridesEnabled());
    EXPECT_EQ(scan.files.observer.busyCalls, (std::vector<bool>{true, false}));
    EXPECT_EQ(scan.files.observer.statusTexts, (Lines{"   Processing...", ""}));
}

TEST(TNavFileN, FollowsTheRecordSequence) {
    const Lines r = gpsRecord();
    const Lines r2 = gpsRecord(" 6");
    Lines badExponent = r;
    badExponent[3] = "    0.475200000000D+06 0.125000000000D+00-3.141592653589793D+00-2.0F+00";
    Lines mixed = r;
    mixed[2] = "   -0.500000000000D+00 0.781250000000E-02 0.250000000000D+00 0.515350000000D+04";
    Lines lowerCase = r;
    lowerCase[2] =
        "   -0.500000000000d+00 0.781250000000d-02 0.250000000000d+00 0.515350000000d+04";
    Lines lowerE = r;
    lowerE[2] = "   -0.500000000000e+00 0.781250000000e-02 0.250000000000e+00 0.515350000000e+04";
    Lines badEpoch = r;
    badEpoch[0] = " 5 10  3  5 1x  0  0.0 0.500000000000D+00-0.250000000000D+00 0.125000000000D+00";
    Lines badFit = r;
    badFit[7] = "    0.475000000000D+06 0.4x";
    Lines withFit = r;
    withFit[7] = "    0.475000000000D+06 0.400000000000D+01";
    Lines missingLast(r.begin(), r.end() - 1);
    Lines tooLong = r;
    tooLong.insert(tooLong.begin() + 3, std::string(81, '1'));
    Lines withBlank = r;
    withBlank.insert(withBlank.begin() + 3, "   ");
    Lines withText = r;
    withText.insert(withText.begin() + 3, "some text");
    Lines badClock = r;
    badClock[0] = " 5 10  3  5 12  0  0.0 0.500000000000D+00-0.250000000000D+00 0.125000000000";

    struct Case {
        std::string name;
        std::string content;
        Lines expected;
        int written;
    };
    const std::string tmsg = "Time Message string is absent";
    const std::string bmsg = "Broadcast Orbit Message string is absent";
    const Case cases[] = {
        {"two records", fileOf({gpsHeader(), r, r2}), {}, 2},
        {"lower-case d", fileOf({gpsHeader(), lowerCase}), {}, 1},
        {"lower-case e", fileOf({gpsHeader(), lowerE}), {}, 1},
        {"a fit interval", fileOf({gpsHeader(), withFit}), {}, 1},
        {"a blank line inside the record is skipped", fileOf({gpsHeader(), withBlank}), {}, 1},
        {"missing last orbit line", fileOf({gpsHeader(), missingLast, r2}),
         concat({diag(15, bmsg, r2[0]), diag(15, "Wrong position of Epoch Message", r2[0])}), 1},
        {"bad exponent letter", fileOf({gpsHeader(), badExponent}),
         concat({diag(11, "Not D19.12 format", badExponent[3]), diag(12, tmsg, r[4]),
                 diag(13, tmsg, r[5]), diag(14, tmsg, r[6]), diag(15, "Not D19.12 format", r[7]),
                 diag(15, tmsg, r[7])}),
         0},
        {"mixed D and E", fileOf({gpsHeader(), mixed, r2}),
         concat({diag(10, "Not D19.12 format", mixed[2]), diag(11, tmsg, r[3]),
                 diag(12, tmsg, r[4]), diag(13, tmsg, r[5]), diag(14, tmsg, r[6]),
                 diag(15, "Not D19.12 format", r[7]), diag(15, tmsg, r[7])}),
         1},
        {"rejected epoch line", fileOf({gpsHeader(), badEpoch}),
         concat({diag(8, "Not valid data for Hour \"EPOCH/SAT\"", badEpoch[0]), diag(9, tmsg, r[1]),
                 diag(10, tmsg, r[2]), diag(11, tmsg, r[3]), diag(12, tmsg, r[4]),
                 diag(13, tmsg, r[5]), diag(14, tmsg, r[6]), diag(15, tmsg, r[7])}),
         0},
        {"clock value without exponent", fileOf({gpsHeader(), badClock}),
         concat({diag(8, "Not D19.12 format", badClock[0].substr(22)), diag(9, tmsg, r[1]),
                 diag(10, tmsg, r[2]), diag(11, tmsg, r[3]), diag(12, tmsg, r[4]),
                 diag(13, tmsg, r[5]), diag(14, tmsg, r[6]), diag(15, tmsg, r[7])}),
         0},
        {"malformed fit interval", fileOf({gpsHeader(), badFit}),
         diag(15, "Not D19.12 format", badFit[7]), 0},
        {"too long data line", fileOf({gpsHeader(), tooLong}), diag(11, "Too long string", "*"), 1},
        {"a line of text inside the record: the record's own lines still complete it",
         fileOf({gpsHeader(), withText}),
         concat({diag(11, bmsg, "some text"), diag(11, "Not valid string", "some text"),
                 diag(12, tmsg, r[3]), diag(13, tmsg, r[4]), diag(14, tmsg, r[5]),
                 diag(15, tmsg, r[6]), diag(16, tmsg, r[7])}),
         1},
        {"an extra orbit line after a record", fileOf({gpsHeader(), r, {r[7]}}),
         diag(16, tmsg, r[7]), 1},
        {"the file ends inside a record: the missing line is told",
         fileOf({gpsHeader(), r, Lines(r2.begin(), r2.begin() + 4)}), diag(20, bmsg, ""), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GPSScan scan(c.content);
        EXPECT_TRUE(scan.dataOk);
        EXPECT_EQ(scan.dataList(), c.expected);
        EXPECT_EQ(scan.scanner.RecordsWritten(), c.written);
        EXPECT_EQ(scan.files.recordBytes().size(), 184u * static_cast<std::size_t>(c.written));
    }
}

// A record broken off by a rejected epoch line would otherwise be completed with the orbit
// lines of the next ephemeris: it is dropped instead.
TEST(TNavFileN, NeverMixesTwoEphemeridesInOneRecord) {
    const Lines r = gpsRecord();
    Lines second = gpsRecord(" 6", " 10  3  5 1x  0  0.0");
    Lines firstHalf(r.begin(), r.begin() + 4);
    Lines secondHalf(second.begin() + 4, second.end());
    GPSScan scan(fileOf({gpsHeader(), firstHalf, {second[0]}, secondHalf}));
    EXPECT_EQ(scan.scanner.RecordsWritten(), 0);
    EXPECT_EQ(scan.dataList().front(),
              text::MessageLine(12, "Not valid data for Hour \"EPOCH/SAT\""));
}

// After a bad orbit line the rows of a record whose epoch line is missing would fill the
// table up: the broken record is not completed from them.
TEST(TNavFileN, NeverCompletesARecordAfterABadOrbitLine) {
    Lines bad = gpsRecord();
    bad[3] = "    0.475200000000D+06 0.125000000000D+00-3.141592653589793D+00-2.0F+00";
    const Lines next = gpsRecord(" 6");
    GPSScan scan(fileOf({gpsHeader(), bad, Lines(next.begin() + 1, next.end())}));
    EXPECT_EQ(scan.scanner.RecordsWritten(), 0);
    EXPECT_EQ(scan.dataList()[0], text::MessageLine(11, "Not D19.12 format"));
}

TEST(TNavFileN, TellsSixtySecondsOncePerFile) {
    const Lines a = gpsRecord(" 5", " 10  3  5 23 59 60.0");
    const Lines b = gpsRecord(" 6", " 10  3  5 23 59 60.0");
    GPSScan scan(fileOf({gpsHeader(), a, b}));
    EXPECT_EQ(scan.dataList(), diag(8, "There were 60 seconds in \"EPOCH/SAT\"", a[0]));
    ASSERT_EQ(scan.scanner.RecordsWritten(), 2);
    nav::TEphemGPSRec rec;
    ASSERT_TRUE(nav::FindEphemeris(scan.files.recordPath(), 6, 1, rec, scan.files.observer));
    EXPECT_EQ(rec.epoch.day, 6);
    EXPECT_EQ(rec.epoch.hour, 0);
    EXPECT_EQ(rec.epoch.minute, 0);
    EXPECT_EQ(rec.epoch.seconds, 0.0L);
    EXPECT_EQ(rec.toc, 6 * 86400); // Saturday 00:00
}

TEST(TNavFileN, ChecksTheWeekAgainstTheClockEpoch) {
    // The clock epoch 2010-03-07 00:00:00 lies in week 1574.
    struct Case {
        std::string toe;
        std::string week;
        std::int16_t storedWeek;
        std::uint8_t health;
        const char* reason;
    };
    const Case cases[] = {
        {" 0.720000000000D+04", " 0.157400000000D+04", 1574, 0, "the same week"},
        {" 0.720000000000D+04", " 0.157300000000D+04", 1574, 0, "one short, toe below 8000 s"},
        {" 0.800000000000D+04", " 0.157300000000D+04", 1573, 1, "one short, toe 8000 s"},
        {" 0.720000000000D+04", " 0.157200000000D+04", 1572, 1, "two short"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        Lines r = gpsRecord(" 5", " 10  3  7  0  0  0.0");
        r[3] = "   " + c.toe + " 0.125000000000D+00-3.141592653589793D+00-2.0D+00";
        r[5] = "    0.785398163397D+00 0.100000000000D+01" + c.week + " 0.100000000000D+01";
        GPSScan scan(fileOf({gpsHeader(), r}));
        EXPECT_EQ(scan.dataList(), Lines{});
        nav::TEphemGPSRec rec;
        ASSERT_TRUE(nav::FindEphemeris(scan.files.recordPath(), 5, 1, rec, scan.files.observer));
        EXPECT_EQ(rec.week, c.storedWeek);
        EXPECT_EQ(rec.health, c.health);
        EXPECT_EQ(rec.toc, 0);
    }
}

TEST(TNavFileN, WritesButDoesNotCountASatelliteOutsideItsTable) {
    GPSScan scan(fileOf({gpsHeader(), gpsRecord("33"), gpsRecord(" 0")}));
    EXPECT_EQ(scan.scanner.RecordsWritten(), 2);
    EXPECT_EQ(scan.files.recordBytes().size(), 2u * 184u);
    EXPECT_EQ(scan.scanner.EphemCount().count(33), 0);
    EXPECT_EQ(scan.scanner.EphemCount().count(0), 0);
}

TEST(TNavFileN, ARecordFileThatRefusesWritesFailsTheScan) {
    navtest::ScanFiles files(fileOf({gpsHeader(), gpsRecord(), gpsRecord(" 6")}),
                             nav::kEphemGPSSize);
    files.records.close();
    header::THeaderDataGPS header;
    nav::TNavFileN scanner(files.reader, header, files.lists, files.records, files.observer);
    scanner.ScanHeader();
    EXPECT_FALSE(scanner.ScanData());
    EXPECT_EQ(files.observer.notices, Lines{"Error Writing File EphemGPSRecs.dat ! "});
    EXPECT_EQ(scanner.RecordsWritten(), 0);
    EXPECT_EQ(scanner.EphemCount().count(5), 0);
}

TEST(TNavFileN, ARefusedRecordEndsTheDataScan) {
    navtest::ScanFiles files(fileOf({gpsHeader(), gpsRecord(), gpsRecord(" 6"), {"junk"}}),
                             nav::kEphemGPSSize);
    files.records.close();
    header::THeaderDataGPS header;
    nav::TNavFileN scanner(files.reader, header, files.lists, files.records, files.observer);
    scanner.ScanHeader();
    EXPECT_FALSE(scanner.ScanData());
    EXPECT_EQ(files.observer.notices, Lines{"Error Writing File EphemGPSRecs.dat ! "});
    // Nothing after the first record's last line is read: the junk line is not listed.
    EXPECT_EQ(scanner.LineNo(), scanner.HeaderLineCount() + 8);
    EXPECT_EQ(files.lists.data(text::FileKind::N).lines(), Lines{});
}

TEST(TNavFileN, ShowsProgressEveryHundredLines) {
    std::vector<Lines> parts;
    std::string content = fileOf({gpsHeader()});
    for (int i = 0; i < 25; ++i) // 7 + 200 lines
        content += fileOf({gpsRecord()});
    GPSScan scan(content);
    const std::vector<double>& p = scan.files.observer.progressValues;
    ASSERT_EQ(p.size(), 4u);
    EXPECT_DOUBLE_EQ(p[0], 100.0 / 207.0);
    EXPECT_DOUBLE_EQ(p[1], 200.0 / 207.0);
    EXPECT_EQ(p[2], 1.0);
    EXPECT_EQ(p[3], 0.0);
    EXPECT_EQ(scan.scanner.EphemCount().count(5), 25);
}

} // namespace
