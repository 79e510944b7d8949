#include "meteo/MeteoFileM.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

class RecordingObserver final : public text::ScanObserver {
public:
    void progress(double) override {}
    void status(std::string_view text) override { statusTexts.emplace_back(text); }
    void notice(std::string_view text) override { notices.emplace_back(text); }
    void pollInput() override {}
    bool stopRequested() const override { return false; }
    void clearStop() override {}
    void busy(bool on) override { busyCalls.push_back(on); }
    void waitNotice(bool) override {}
    void epochShown(std::string_view, std::string_view) override {}
    void repaint() override {}
    void pause(int) override {}

    Lines statusTexts;
    Lines notices;
    std::vector<bool> busyCalls;
};

std::string padded(std::string_view s, std::size_t width) {
    std::string t(s);
    if (t.size() < width)
        t.append(width - t.size(), ' ');
    return t;
}

std::string headerLine(std::string_view content, std::string_view label) {
    return padded(content, 60) + std::string(label);
}

std::string sensorLine(std::string_view model, std::string_view type, std::string_view accuracy,
                       std::string_view obsType) {
    return headerLine(padded(model, 20) + padded(type, 20) + std::string(6, ' ') +
                          std::string(accuracy) + "    " + std::string(obsType),
                      "SENSOR MOD/TYPE/ACC");
}

const std::string kPosition =
    headerLine("  -740290.0474 -5457071.7224  3207245.4169      217.5870 PR", "SENSOR POS XYZ/H");
const std::string kEnd = headerLine("", "END OF HEADER");

Lines meteoHeader(std::string_view types = "     3    PR    TD    HR") {
    return {
        headerLine("     2.11           METEOROLOGICAL DATA", "RINEX VERSION / TYPE"),
        headerLine("quillon             tester              20261210", "PGM / RUN BY / DATE"),
        headerLine("SITE", "MARKER NAME"),
        headerLine("12345", "MARKER NUMBER"),
        headerLine(types, "# / TYPES OF OBSERV"),
        sensorLine("PAROSCIENTIFIC", "740-16B", "    0.1", "PR"),
        kPosition,
        kEnd,
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

// Writes the text to a file of its own, runs both passes (the data pass only after a
// successful header pass, as the scan does) and keeps what they left.
class MeteoScan {
public:
    explicit MeteoScan(const std::string& content, bool runData = true) {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::filesystem::path(testing::TempDir()) /
                (std::string("quillon_meteo_") + info->test_suite_name() + "_" + info->name());
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
        std::filesystem::create_directories(m_dir, ec);
        std::ofstream(m_dir / "site.09m", std::ios::binary) << content;
        EXPECT_TRUE(reader.open(m_dir / "site.09m"));
        EXPECT_TRUE(records.create(m_dir / "Meteo.dat", meteo::kMeteoRecordSize));
        scanner.emplace(reader, header, lists, records, observer);
        headerOk = scanner->ScanHeader();
        if (headerOk && runData)
            dataOk = scanner->ScanData();
        records.flush();
    }
    ~MeteoScan() {
        reader.close();
        records.close();
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }

    const Lines& headerList() const { return lists.header(text::FileKind::M).lines(); }
    const Lines& dataList() const { return lists.data(text::FileKind::M).lines(); }
    std::vector<meteo::MeteoRecord> written() {
        std::ifstream in(m_dir / "Meteo.dat", std::ios::binary);
        std::vector<char> raw((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
        std::vector<meteo::MeteoRecord> out;
        for (std::size_t at = 0; at + meteo::kMeteoRecordSize <= raw.size();
             at += meteo::kMeteoRecordSize)
            out.push_back(meteo::decodeMeteo(std::span<const std::byte>(
                reinterpret_cast<const std::byte*>(raw.data() + at), meteo::kMeteoRecordSize)));
        return out;
    }

    text::LineReader reader;
    text::RecordFile records;
    text::DiagnosticsLists lists;
    RecordingObserver observer;
    header::THeaderDataMeteo header;
    std::optional<meteo::TMeteoFileM> scanner;
    bool headerOk = false;
    bool dataOk = false;

private:
    std::filesystem::path m_dir;
};

std::string hex(std::span<const std::byte> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string s;
    for (std::byte b : bytes) {
        const auto v = static_cast<unsigned>(b);
        s += kDigits[v >> 4];
        s += kDigits[v & 15];
    }
    return s;
}

TEST(MeteoRecord, PinsTheTimeBlockAndTheValues) {
    meteo::MeteoRecord r;
    r.epoch.year = 9;
    r.epoch.month = 3;
    r.epoch.day = 24;
    r.epoch.hour = 0;
    r.epoch.minute = 1;
    r.epoch.seconds = 0;
    r.values[0] = 0.5L;
    r.values[1] = 2.0L;
    r.values[99] = -2.0L;
    const auto bytes = meteo::encode(r);
    ASSERT_EQ(bytes.size(), 1040u);
    const std::span<const std::byte> b(bytes);
    EXPECT_EQ(hex(b.subspan(0, 40)), "09000000030000001800000000000000010000000000000000000000"
                                     "000000000000000000000000");
    EXPECT_EQ(hex(b.subspan(40, 10)), "0000000000000080fe3f"); // 0.5
    EXPECT_EQ(hex(b.subspan(50, 10)), "00000000000000800040"); // 2.0
    EXPECT_EQ(hex(b.subspan(1030, 10)), "0000000000000080"
                                        "00c0"); // -2.0 in slot 100
    EXPECT_EQ(hex(b.subspan(60, 970)), std::string(1940, '0'));
    EXPECT_EQ(meteo::decodeMeteo(bytes), r);
}

TEST(TMeteoFileM, FillsTheHeaderRecord) {
    MeteoScan scan(fileOf({meteoHeader()}), false);
    EXPECT_TRUE(scan.headerOk);
    EXPECT_EQ(scan.headerList(), Lines{});
    const header::THeaderDataMeteo& h = scan.header;
    EXPECT_EQ(h.version, "2.11");
    EXPECT_EQ(h.program, "quillon");
    EXPECT_EQ(h.runBy, "tester");
    EXPECT_EQ(h.date, "20261210");
    EXPECT_EQ(h.markerName, "SITE");
    EXPECT_EQ(h.markerNumber, "12345");
    EXPECT_EQ(h.typeCount, 3);
    EXPECT_EQ(h.types[0], 0);
    EXPECT_EQ(h.types[1], 1);
    EXPECT_EQ(h.types[2], 2);
    EXPECT_EQ(h.types[3], header::kNoMeteoType);
    ASSERT_EQ(h.sensorCount, 1);
    EXPECT_EQ(h.sensors[0].model, "PAROSCIENTIFIC");
    EXPECT_EQ(h.sensors[0].sensorType, "740-16B");
    EXPECT_EQ(h.sensors[0].accuracy, 0.1L);
    EXPECT_EQ(h.sensors[0].typeCode, 0);
    ASSERT_EQ(h.positionCount, 1);
    EXPECT_EQ(h.positions[0].x, -740290.0474L);
    EXPECT_EQ(h.positions[0].h, 217.5870L);
    EXPECT_EQ(h.positions[0].typeCode, 0);
    const meteo::TypePresence& t = scan.scanner->Types();
    EXPECT_EQ(t.present, (std::array<std::uint8_t, header::kMeteoCodeSlots>{1, 1, 1}));
    EXPECT_EQ(t.position, (std::array<std::int32_t, header::kMeteoCodeSlots>{1, 2, 3}));
    EXPECT_EQ(scan.scanner->HeaderKinds(), (std::vector<std::uint8_t>{0, 1, 3, 4, 5, 6, 7, 8}));
}

TEST(TMeteoFileM, KnowsTheTypesOfRinex211) {
    Lines h = meteoHeader("     7    PR    TD    HR    WS    WD    RI    HI");
    h.insert(h.begin() + 6, {sensorLine("VAISALA", "WXT520", "    0.3", "WS"),
                             sensorLine("VAISALA", "WXT520", "    3.0", "WD"),
                             sensorLine("VAISALA", "WXT520", "    0.1", "RI"),
                             sensorLine("VAISALA", "WXT520", "    0.0", "HI")});
    const std::string epoch = " 15  1  1  0  0  0 1013.2   15.1   63.2    2.1  180.0    0.2    0.0";
    MeteoScan scan(fileOf({h, {epoch}}));
    EXPECT_TRUE(scan.headerOk);
    EXPECT_EQ(scan.headerList(), Lines{});
    EXPECT_EQ(scan.dataList(), Lines{});
    EXPECT_EQ(scan.header.typeCount, 7);
    EXPECT_EQ(scan.header.sensorCount, 5);
    EXPECT_EQ(header::MeteoTypeName(scan.header.sensors[1].typeCode), "WS");
    EXPECT_EQ(header::MeteoTypeName(scan.header.sensors[4].typeCode), "HI");
    const meteo::TypePresence& t = scan.scanner->Types();
    // Codes 0-2, then WS 7, WD 8, RI 9, HI 10; the no-type code 6 stays unused.
    EXPECT_EQ(t.present,
              (std::array<std::uint8_t, header::kMeteoCodeSlots>{1, 1, 1, 0, 0, 0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(t.position,
              (std::array<std::int32_t, header::kMeteoCodeSlots>{1, 2, 3, 0, 0, 0, 0, 4, 5, 6, 7}));
    const auto records = scan.written();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].values[3], 2.1L);
    EXPECT_EQ(records[0].values[4], 180.0L);
    EXPECT_EQ(records[0].values[5], 0.2L);
}

TEST(TMeteoFileM, RefusesAFileOfAnotherVersion) {
    Lines h = meteoHeader();
    h[0] = headerLine("     3.02           METEOROLOGICAL DATA", "RINEX VERSION / TYPE");
    MeteoScan scan(fileOf({h, {" 15  1  1  0  0  0 1013.2   15.1   63.2"}}));
    EXPECT_FALSE(scan.headerOk);
    EXPECT_EQ(scan.headerList(), concat({diag(1, "Rinex format version is not 2", h[0]),
                                         diag(1, "The position of \"2\" is not 6", h[0])}));
    EXPECT_EQ(scan.scanner->HeaderLineCount(), 1);
}

TEST(TMeteoFileM, ChecksHeaderLines) {
    struct Case {
        std::size_t replaced;
        std::string line;
        Lines messages;
        const char* reason;
    };
    const Case cases[] = {
        {4, headerLine("     3    PR    TR    HR", "# / TYPES OF OBSERV"), {}, "TR is TD"},
        {4,
         headerLine("     0", "# / TYPES OF OBSERV"),
         {"Number of Observation Types = 0"},
         "no types"},
        {4,
         headerLine("     -", "# / TYPES OF OBSERV"),
         {"Not valid data for Number of Observation Types"},
         "no count"},
        {4,
         headerLine("    3     PR    TD    HR", "# / TYPES OF OBSERV"),
         {"Wrong position of Number of Observation Types"},
         "the count one column to the left"},
        {4,
         headerLine("     3    PR    XX    HR", "# / TYPES OF OBSERV"),
         {"Not valid data for List of Observation Types"},
         "an unknown type stops the line"},
        {4,
         headerLine("     3    PR     TD   HR", "# / TYPES OF OBSERV"),
         {"Wrong position of Observation Type", "Wrong position of Observation Type"},
         "TD one column to the right, into the blanks before HR"},
        {0,
         headerLine("     2.11           NAV DATA", "RINEX VERSION / TYPE"),
         {"\"M\" is absent"},
         "no M anywhere"},
        {0,
         headerLine("    2.11            METEOROLOGICAL DATA", "RINEX VERSION / TYPE"),
         {"The position of \"2\" is not 6"},
         "the version one column to the left"},
        {5,
         sensorLine("PAROSCIENTIFIC", "740-16B", "       ", "PR"),
         {" Accuracy is absent"},
         "no accuracy"},
        {5,
         sensorLine("PAROSCIENTIFIC", "740-16B", "   0.10", "PR"),
         {"The format of Accuracy is not correct"},
         "two decimals"},
        {5,
         sensorLine("PAROSCIENTIFIC", "740-16B", "    0.1", "XX"),
         {" Observation Type is absent"},
         "a type the program does not know"},
        {5, sensorLine("VAISALA", "WXT520", "    0.3", "WS"), {}, "wind speed of RINEX 2.11"},
        {5,
         headerLine(padded("PAROSCIENTIFIC", 20) + padded("740-16B", 20) + "          0.1   PR",
                    "SENSOR MOD/TYPE/ACC"),
         {" Wrong position of Observation Type"},
         "the type one column to the left"},
        {6,
         headerLine("  -740290.0474 -5457071.7224  3207245.4169", "SENSOR POS XYZ/H"),
         {" H is absent"},
         "three coordinates"},
        {6,
         headerLine("  -740290.047 -5457071.7224  3207245.4169      217.5870  PR",
                    "SENSOR POS XYZ/H"),
         {"Wrong F14.4 Format", "Wrong F14.4 Format", "Wrong F14.4 Format"},
         "X with three decimals shifts the later fields"},
        {2, headerLine("", "COMMENT"), {}, "a comment anywhere"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        Lines header = meteoHeader();
        header[c.replaced] = c.line;
        MeteoScan scan(fileOf({header}), false);
        EXPECT_TRUE(scan.headerOk);
        Lines expected;
        for (const std::string& m : c.messages)
            expected =
                concat({expected, diag(static_cast<std::int64_t>(c.replaced) + 1, m, c.line)});
        EXPECT_EQ(scan.headerList(), expected);
    }
}

TEST(TMeteoFileM, ReadsATypeRecordedAsTRAsTD) {
    Lines header = meteoHeader("     2    PR    TR");
    MeteoScan scan(fileOf({header}), false);
    EXPECT_EQ(scan.header.types[1], 1);
    EXPECT_EQ(scan.scanner->Types().position[1], 2);
}

TEST(TMeteoFileM, EndsTheHeaderAtTheFirstUnlabelledLine) {
    const std::string epoch = " 09  3 24  0  0  0 1013.2   15.1   63.2";
    Lines noEnd = meteoHeader();
    noEnd.pop_back();
    Lines commentAfterEnd = meteoHeader();
    commentAfterEnd.push_back(headerLine("late", "COMMENT"));
    struct Case {
        Lines header;
        Lines expected;
        const char* reason;
    };
    const Case cases[] = {
        {meteoHeader(), {}, "END OF HEADER directly followed by an epoch"},
        {noEnd, diag(8, "The string is not true Header string or <END OF HEADER> is absent", epoch),
         "no END OF HEADER"},
        {commentAfterEnd,
         diag(10, "The string is not true Header string or <END OF HEADER> is absent", epoch),
         "a comment after END OF HEADER still belongs to the header"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        MeteoScan scan(fileOf({c.header, {epoch}}));
        EXPECT_TRUE(scan.headerOk);
        EXPECT_TRUE(scan.dataOk);
        EXPECT_EQ(scan.headerList(), c.expected);
        EXPECT_EQ(scan.dataList(), Lines{});
        EXPECT_EQ(scan.scanner->MeteoRecordsWritten(), 1);
    }
}

TEST(TMeteoFileM, FailsTheHeaderPassOnFatalLines) {
    const Lines good = meteoHeader();
    const std::string longLine = padded(good[2], 81);
    struct Case {
        Lines lines;
        Lines expected;
        const char* reason;
    };
    const Case cases[] = {
        {{"just text"},
         diag(1, "The first string is not a Header string", "just text"),
         "no label on the first line"},
        {{std::string(81, 'x')},
         diag(1, "The first string of the Header is too long", "*"),
         "first line too long"},
        {{good[0], good[1], longLine},
         diag(3, "Too long Header string", "*"),
         "a header line too long"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        MeteoScan scan(fileOf({c.lines}));
        EXPECT_FALSE(scan.headerOk);
        EXPECT_EQ(scan.headerList(), c.expected);
    }
}

TEST(TMeteoFileM, TellsAFirstLineThatIsNoVersionLine) {
    Lines header = meteoHeader();
    header.insert(header.begin(), headerLine("first", "COMMENT"));
    MeteoScan scan(fileOf({header}), false);
    EXPECT_EQ(scan.headerList(),
              diag(1, "The first string of the Header must be <RINEX VERSION / TYPE>", header[0]));
}

TEST(TMeteoFileM, WritesSixtySecondsAsTheNextMinute) {
    const std::string a = " 09  3 24  0  0 60 1013.2   15.1   63.2";
    const std::string b = " 09  3 24  0  1 60 1013.3   15.2   63.3";
    MeteoScan scan(fileOf({meteoHeader(), {a, b}}));
    EXPECT_EQ(scan.dataList(), diag(9, "There were 60 seconds", a));
    const auto records = scan.written();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].epoch.year, 9);
    EXPECT_EQ(records[0].epoch.month, 3);
    EXPECT_EQ(records[0].epoch.day, 24);
    EXPECT_EQ(records[0].epoch.hour, 0);
    EXPECT_EQ(records[0].epoch.minute, 1);
    EXPECT_EQ(records[0].epoch.seconds, 0.0L);
    EXPECT_EQ(records[0].values[0], 1013.2L);
    EXPECT_EQ(records[0].values[1], 15.1L);
    EXPECT_EQ(records[0].values[2], 63.2L);
    EXPECT_EQ(records[1].epoch.minute, 2);
}

TEST(TMeteoFileM, ChecksDataLines) {
    const std::string good = " 09  3 24  0  0  0 1013.2   15.1   63.2";
    struct Case {
        Lines data;
        Lines expected;
        int written;
        const char* reason;
    };
    const std::string twoDecimals = " 09  3 24  0  0  0   15.1 1013.25   63.2";
    const std::string blankValue = " 09  3 24  0  0  0 1013.2          63.2";
    const std::string shifted = " 9   3 24  0  0  0 1013.2   15.1   63.2";
    const std::string badWord = " 09  3 2x  0  0  0 1013.2   15.1   63.2";
    const std::string comment = headerLine("note", "COMMENT");
    const std::string marker = headerLine("OTHER", "MARKER NAME");
    const std::string types = headerLine("     1    PR", "# / TYPES OF OBSERV");
    const Case cases[] = {
        {{good, blankValue}, {}, 2, "a blank value field is 0"},
        {{good, "", good}, diag(10, "Date/Time data absent", ""), 2, "an empty line"},
        {{twoDecimals},
         concat({diag(9, "Not F7.1 format for Observations", twoDecimals),
                 diag(9, "Wrong Epoch data", twoDecimals)}),
         0,
         "two decimals"},
        {{shifted},
         diag(9, "Wrong position of Year", shifted),
         1,
         "a position failure only reports"},
        {{badWord},
         concat({diag(9, "Not valid data for Day", badWord), diag(9, "Wrong Epoch data", badWord)}),
         0,
         "a day that is no number"},
        {{"garbage"}, diag(9, "Not valid string", "garbage"), 0, "no known line"},
        {{good, std::string(81, ' ')}, diag(10, "Too long string", "*"), 1, "too long"},
        {{comment, good}, {}, 1, "a comment among the data"},
        {{good, marker}, diag(10, "Unexpected Header string", marker), 1, "a marker name"},
        {{good, types},
         concat(
             {diag(10, "Unexpected Header string", types), diag(10, "Wrong HEADER data", types)}),
         1,
         "another header label"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        MeteoScan scan(fileOf({meteoHeader(), c.data}));
        EXPECT_TRUE(scan.dataOk);
        EXPECT_EQ(scan.dataList(), c.expected);
        EXPECT_EQ(scan.scanner->MeteoRecordsWritten(), c.written);
        EXPECT_EQ(scan.written().size(), static_cast<std::size_t>(c.written));
    }
}

TEST(TMeteoFileM, StoresZeroForABlankField) {
    MeteoScan scan(fileOf({meteoHeader(), {" 09  3 24  0  0  0 1013.2          63.2"}}));
    const auto records = scan.written();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].values[1], 0.0L);
    EXPECT_EQ(records[0].values[2], 63.2L);
}

TEST(TMeteoFileM, WritesNineTypesAtTheContinuationLine) {
    const std::string types = "     9    PR    TD    HR    ZW    ZD    ZT    PR    TD    HR";
    const std::string epoch =
        " 09  3 24  0  0  0 1013.2   15.1   63.2    1.1    2.2    3.3 1013.3   15.3";
    const std::string continuation = "       63.3";
    MeteoScan scan(fileOf({meteoHeader(types), {epoch, continuation}}));
    EXPECT_EQ(scan.headerList(), Lines{});
    EXPECT_EQ(scan.dataList(), Lines{});
    EXPECT_EQ(scan.header.typeCount, 9);
    EXPECT_EQ(scan.scanner->Types().position[0], 7); // PR listed twice: the later position
    const auto records = scan.written();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].values[6], 1013.3L);
    EXPECT_EQ(records[0].values[8], 63.3L);
}

TEST(TMeteoFileM, DropsAnEpochWhoseContinuationIsMissing) {
    const std::string types = "     9    PR    TD    HR    ZW    ZD    ZT    PR    TD    HR";
    const std::string epoch =
        " 09  3 24  0  0  0 1013.2   15.1   63.2    1.1    2.2    3.3 1013.3   15.3";
    MeteoScan scan(fileOf({meteoHeader(types), {epoch, epoch, "       63.3"}}));
    EXPECT_EQ(scan.dataList(), concat({diag(10, "Observation string is absent", epoch),
                                       diag(10, "Wrong position of Epoch", epoch),
                                       diag(11, "Date/Time data absent", "       63.3")}));
    EXPECT_EQ(scan.written().size(), 0u);

    // A file that ends where the continuation is due tells the line after its last.
    MeteoScan cut(fileOf({meteoHeader(types), {epoch}}));
    EXPECT_EQ(cut.dataList(), diag(10, "Observation string is absent", ""));
    EXPECT_EQ(cut.written().size(), 0u);
}

TEST(TMeteoFileM, ReadsATypeListOverTwoLines) {
    Lines header = meteoHeader("    12    PR    TD    HR    ZW    ZD    ZT    PR    TD    HR");
    header.insert(header.begin() + 5,
                  headerLine("          ZW    ZD    ZT", "# / TYPES OF OBSERV"));
    const std::string epoch =
        " 09  3 24  0  0  0 1013.2   15.1   63.2    1.1    2.2    3.3 1013.3   15.3";
    const std::string continuation = "       63.3    4.4    5.5    6.6";
    MeteoScan scan(fileOf({header, {epoch, continuation}}));
    EXPECT_EQ(scan.headerList(), Lines{});
    EXPECT_EQ(scan.dataList(), Lines{});
    EXPECT_EQ(scan.header.typeCount, 12);
    EXPECT_EQ(scan.header.types[11], 5);
    EXPECT_EQ(scan.scanner->Types().position[5], 12);
    const auto records = scan.written();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].values[11], 6.6L);
}

TEST(TMeteoFileM, AHeaderOnlyFileFailsTheDataPass) {
    MeteoScan scan(fileOf({meteoHeader()}));
    EXPECT_TRUE(scan.headerOk);
    EXPECT_FALSE(scan.dataOk);
    EXPECT_EQ(scan.dataList(), diag(8, "There is only Header in File!", kEnd));
    EXPECT_FALSE(scan.scanner->MeteoEnabled());
}

TEST(TMeteoFileM, ARefusedRecordEndsTheDataPass) {
    MeteoScan scan(fileOf({meteoHeader(),
                           {" 09  3 24  0  0  0 1013.2   15.1   63.2",
                            " 09  3 24  0  0  1 1013.2   15.1   63.2", "junk"}}),
                   false);
    ASSERT_TRUE(scan.headerOk);
    scan.records.close();
    EXPECT_FALSE(scan.scanner->ScanData());
    EXPECT_EQ(scan.observer.notices, Lines{"Error Writing File Meteo.dat ! "});
    EXPECT_EQ(scan.scanner->MeteoRecordsWritten(), 0);
    EXPECT_EQ(scan.dataList(), Lines{}); // the lines after the refused record are not read
}

TEST(TMeteoFileM, EnablesTheMeteoViewAfterTheDataPass) {
    MeteoScan scan(fileOf({meteoHeader(), {" 09  3 24  0  0  0 1013.2   15.1   63.2"}}));
    EXPECT_TRUE(scan.scanner->MeteoEnabled());
    EXPECT_EQ(scan.observer.busyCalls, (std::vector<bool>{true, false}));
    EXPECT_EQ(scan.observer.statusTexts, (Lines{"   Processing...", ""}));
}

TEST(TMeteoFileM, ChecksButDoesNotStoreMoreThanHundredSensors) {
    Lines header = meteoHeader();
    Lines sensors(101, sensorLine("MODEL", "TYPE", "    0.1", "TD"));
    sensors.push_back(sensorLine("MODEL", "TYPE", "   0.10", "TD"));
    header.insert(header.begin() + 6, sensors.begin(), sensors.end());
    MeteoScan scan(fileOf({header}), false);
    EXPECT_EQ(scan.header.sensorCount, 100);
    EXPECT_EQ(scan.headerList(),
              diag(108, "The format of Accuracy is not correct", sensors.back()));
}

} // namespace
