#include "HostileSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <sys/stat.h>
#include <sys/types.h>

using namespace hostile;
using scan::Colour;
using text::FileKind;

namespace {

/// `size` bytes of noise from a fixed seed, so that every run meets the same file.
std::string randomBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(byte(gen));
    return bytes;
}

std::string validObs(int epochs = 2) {
    return fileOf({obsHeader(), obsEpochs(epochs)});
}

/// True when any line of the list starts with `prefix`.
bool listHas(const text::DiagnosticList& list, std::string_view text) {
    const auto& lines = list.lines();
    return std::any_of(lines.begin(), lines.end(),
                       [text](const std::string& l) { return l.find(text) != std::string::npos; });
}

std::string makeFifo(const Rig& rig, const std::string& name) {
    const std::string path = rig.in(name);
    EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0) << std::strerror(errno);
    return path;
}

constexpr FileKind kCompanions[] = {FileKind::N, FileKind::G, FileKind::H, FileKind::L,
                                    FileKind::M};

char letterOf(FileKind kind) {
    return scan::kindLetter(kind);
}

} // namespace

// ---- what the observation file holds --------------------------------------------------------

namespace {

struct ObsCase {
    const char* reason;
    std::function<std::string()> bytes;
    std::vector<std::string> notices; // the message boxes, in order
    Colour header, data;              // STFileOH, STFileO
    std::string_view diagnostic;      // a text in one of the two observation lists ("" none)
    int epochs;                       // epoch records written
};

std::string withNulInHeaderAndData() {
    Lines header = obsHeader();
    // In the header a NUL separates words like a blank: the interval reads as "30.".
    header[2][2] = '\0';
    header[7][7] = '\0';
    Lines data = obsEpochs(3);
    data[1][5] = '\0';  // a digit of the first epoch's C1 value
    data[3][20] = '\0'; // a digit of the second epoch's seconds
    return fileOf({header, data});
}

std::string crOnly() {
    std::string text = validObs();
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != '\n')
            out.push_back(text[i]);
    return out;
}

std::string truncatedInAnEpoch() {
    std::string text = validObs(3);
    // The third epoch: its line and half of its first observation line.
    const std::size_t cut = text.rfind("  21234567.123") + 7;
    return text.substr(0, cut);
}

std::string truncatedAfterAnEpochLine() {
    std::string text = validObs(3);
    return text.substr(0, text.rfind("  21234567.123"));
}

std::string hugeDigits(std::string_view where) {
    const std::string digits(400, '9');
    Lines header = obsHeader();
    Lines data = obsEpochs(2);
    if (where == "value")
        data[1] = "  " + digits + ".123    21234568.123";
    else if (where == "header")
        header[7] = H("", "INTERVAL") + digits; // the label stays where it belongs
    else if (where == "interval")
        header[7] = H("9999999999", "INTERVAL"); // all nines, in the field's width
    else if (where == "count")
        header[6] = H("999999    C1    P2", "# / TYPES OF OBSERV");
    else if (where == "fit")
        data[1] = "99999999999999    99999999999999"; // F14.3 filled with nines, no point
    return fileOf({header, data});
}

/// An epoch that announces 999 satellites and lists them all on continuation lines, each with
/// its observation line, then an ordinary epoch.
std::string nineHundredNinetyNine(bool listed) {
    Lines data;
    std::string line = " 09  1  5  0  0  0.0000000  0999";
    for (int s = 0; s < (listed ? 999 : 12); ++s) {
        if (s > 0 && s % 12 == 0) {
            data.push_back(line);
            line = std::string(32, ' ');
        }
        char prn[4];
        std::snprintf(prn, sizeof prn, "G%02d", s % 32 + 1);
        line += prn;
    }
    data.push_back(line);
    for (int s = 0; s < (listed ? 999 : 12); ++s)
        data.push_back("  21234567.123    21234568.123");
    for (std::string& l : obsEpoch(1))
        data.push_back(std::move(l));
    return fileOf({obsHeader(), data});
}

} // namespace

TEST(HostileObservationFile, EndsWithDiagnosticsOrAMessage) {
    const ObsCase kCases[] = {
        {"64 KiB of noise",
         [] { return randomBytes(64 << 10, 20261210); },
         {"There were long strings!"},
         Colour::Red,
         Colour::Red,
         "",
         0},
        {"NUL bytes inside header and data lines",
         withNulInHeaderAndData,
         {},
         Colour::Lime,
         Colour::Fuchsia,
         "Wrong Observation data",
         1},
        {"one line of 10 MB without a line feed",
         [] { return std::string(10'000'000, 'x'); },
         {"There were long strings!"},
         Colour::Red,
         Colour::Red,
         "",
         0},
        {"one line of 10 MB with a line feed",
         [] { return std::string(10'000'000, 'x') + "\r\n"; },
         {"There were long strings!"},
         Colour::Red,
         Colour::Red,
         "",
         0},
        {"lines ending in CR only: one long line",
         crOnly,
         {"There were long strings!"},
         Colour::Red,
         Colour::Red,
         "",
         0},
        {"truncated inside an epoch",
         truncatedInAnEpoch,
         {},
         Colour::Lime,
         Colour::Fuchsia,
         "Observation string is absent",
         2},
        // The observations due after the last epoch line are told missing.
        {"truncated right after an epoch line",
         truncatedAfterAnEpochLine,
         {},
         Colour::Lime,
         Colour::Fuchsia,
         "Observation string is absent",
         2},
        {"400 digits in a value field: a long line",
         [] { return hugeDigits("value"); },
         {"There were long strings!"},
         Colour::Lime,
         Colour::Fuchsia,
         "Wrong position of Epoch",
         0},
        {"400 digits after a header label",
         [] { return hugeDigits("header"); },
         {"There were long strings!"},
         Colour::Fuchsia,
         Colour::Lime,
         "",
         2},
        {"an interval of ten nines",
         [] { return hugeDigits("interval"); },
         {},
         Colour::Lime,
         Colour::Lime,
         "",
         2},
        {"a type count of six nines",
         [] { return hugeDigits("count"); },
         {"Bad Header string : " + H("999999    C1    P2", "# / TYPES OF OBSERV")},
         Colour::Red,
         Colour::Red,
         "",
         0},
        {"values of fourteen nines",
         [] { return hugeDigits("fit"); },
         {},
         Colour::Lime,
         Colour::Fuchsia,
         "",
         1},
        {"999 satellites announced, 12 listed",
         [] { return nineHundredNinetyNine(false); },
         {},
         Colour::Lime,
         Colour::Fuchsia,
         "",
         1},
        {"999 satellites announced and listed",
         [] { return nineHundredNinetyNine(true); },
         {},
         Colour::Lime,
         Colour::Fuchsia,
         "",
         1},
    };
    for (const ObsCase& c : kCases) {
        SCOPED_TRACE(c.reason);
        Rig rig("obs");
        const std::string name = rig.put("site0010.09o", c.bytes());
        EXPECT_TRUE(rig.scan(name));
        EXPECT_EQ(rig.observer.notices, c.notices);
        EXPECT_EQ(rig.w().file(FileKind::O).header, c.header);
        EXPECT_EQ(rig.w().file(FileKind::O).data, c.data);
        if (!c.diagnostic.empty()) {
            EXPECT_TRUE(listHas(rig.driver.lists().header(FileKind::O), c.diagnostic) ||
                        listHas(rig.driver.lists().data(FileKind::O), c.diagnostic));
        }
        EXPECT_EQ(rig.recordBytes(scan::TempFile::RinexEpochs),
                  static_cast<std::uintmax_t>(c.epochs) * 640u);
        EXPECT_EQ(rig.w().STSumNumEp, "Epochs           " + std::to_string(c.epochs));
    }
}

TEST(HostileObservationFile, AHundredThousandCommentsBeforeTheData) {
    Rig rig("comments");
    const std::string name = rig.in("site0010.09o");
    {
        std::ofstream out(name, std::ios::binary);
        Lines header = obsHeader();
        for (std::size_t i = 0; i + 1 < header.size(); ++i)
            out << header[i] << "\r\n";
        const std::string comment = H("a comment that says nothing", "COMMENT") + "\r\n";
        for (int i = 0; i < 100000; ++i)
            out << comment;
        out << header.back() << "\r\n";
        for (const std::string& l : obsEpochs(3))
            out << l << "\r\n";
    }
    const std::uint64_t before = peakBytes();
    ASSERT_TRUE(rig.scan(name));
    const std::uint64_t grown = peakBytes() - before;
    EXPECT_EQ(rig.observer.notices, std::vector<std::string>{});
    EXPECT_EQ(rig.w().ST_NHeaderStr, "100010");
    EXPECT_EQ(rig.w().STSumNumEp, "Epochs           3");
    EXPECT_EQ(rig.w().file(FileKind::O).header, Colour::Lime);
    EXPECT_EQ(rig.w().file(FileKind::O).data, Colour::Lime);
    // The 8 MB of comments are read, never kept: a line-kind byte each is all that stays.
    if (kPeakMeaningful) {
        EXPECT_LT(grown, 16u << 20) << "peak grew by " << grown << " bytes";
    }
}

TEST(HostileObservationFile, ALongLineIsHeldOnlyUpToTheReaderCap) {
    if (!kPeakMeaningful)
        GTEST_SKIP() << "peak sizes mean nothing under the address sanitizer";
    Rig rig("bigline");
    const std::string name = rig.in("site0010.09o");
    {
        // 40 MB in one data line, between two epochs.
        std::ofstream out(name, std::ios::binary);
        out << fileOf({obsHeader(), obsEpochs(1)});
        const std::string block(1 << 20, '7');
        for (int i = 0; i < 40; ++i)
            out << block;
        out << "\r\n" << fileOf({obsEpoch(1)});
    }
    const std::uint64_t before = peakBytes();
    ASSERT_TRUE(rig.scan(name));
    const std::uint64_t grown = peakBytes() - before;
    EXPECT_EQ(rig.observer.notices, std::vector<std::string>{"There were long strings!"});
    EXPECT_EQ(rig.w().STSumNumEp, "Epochs           2");
    // The reader holds a long line up to its cap of 16 MiB (and a copy while its buffer grows)
    // and skips the rest; the line counter reads in fixed blocks.
    EXPECT_LT(grown, 40u << 20) << "peak grew by " << grown << " bytes";
}

TEST(HostileObservationFile, LongHeaderLinesAreNotCopiedIntoTheirDiagnostics) {
    if (!kPeakMeaningful)
        GTEST_SKIP() << "peak sizes mean nothing under the address sanitizer";
    Rig rig("longheader");
    const std::string name = rig.in("site0010.09o");
    {
        // 32 comment lines of 1 MiB each: every one is a header line and "Too long".
        std::ofstream out(name, std::ios::binary);
        Lines header = obsHeader();
        for (std::size_t i = 0; i + 1 < header.size(); ++i)
            out << header[i] << "\r\n";
        const std::string comment = H("", "COMMENT") + std::string((1 << 20) - 80, 'c') + "\r\n";
        for (int i = 0; i < 32; ++i)
            out << comment;
        out << header.back() << "\r\n" << fileOf({obsEpochs(2)});
    }
    const std::uint64_t before = peakBytes();
    ASSERT_TRUE(rig.scan(name));
    const std::uint64_t grown = peakBytes() - before;
    EXPECT_EQ(rig.observer.notices, std::vector<std::string>{"There were long strings!"});
    EXPECT_EQ(rig.driver.lists().header(FileKind::O).lineCount(), 64u);
    EXPECT_EQ(rig.w().STSumNumEp, "Epochs           2");
    EXPECT_LT(grown, 16u << 20) << "peak grew by " << grown << " bytes";
}

TEST(HostileObservationFile, NineHundredNinetyNineSatellitesKeepMemoryFlat) {
    if (!kPeakMeaningful)
        GTEST_SKIP() << "peak sizes mean nothing under the address sanitizer";
    Rig rig("sats");
    const std::string name = rig.put("site0010.09o", nineHundredNinetyNine(true));
    const std::uint64_t before = peakBytes();
    ASSERT_TRUE(rig.scan(name));
    EXPECT_LT(peakBytes() - before, 8u << 20);
}

// ---- companions -------------------------------------------------------------------------------

TEST(HostileCompanion, NoiseInEachCompanionIsListedAndTheRestGoesOn) {
    for (FileKind kind : kCompanions) {
        SCOPED_TRACE(std::string(1, letterOf(kind)));
        Rig rig("noise");
        const std::string obs = rig.put("site0010.09o", validObs());
        rig.put(std::string("site0010.09") + letterOf(kind), randomBytes(64 << 10, 7));
        ASSERT_TRUE(rig.scan(obs));
        EXPECT_EQ(rig.w().file(FileKind::O).data, Colour::Lime);
        EXPECT_FALSE(rig.driver.lists().header(kind).empty());
        EXPECT_NE(rig.w().file(kind).header, Colour::Silver);
        EXPECT_EQ(rig.w().STSumErr.text, "Yes");
        for (FileKind other : kCompanions) {
            if (other != kind) {
                EXPECT_EQ(rig.w().file(other).header, Colour::Silver);
            }
        }
    }
}

TEST(HostileCompanion, ANavigationFileTruncatedInsideAnEphemeris) {
    Rig rig("navcut");
    const std::string obs = rig.put("site0010.09o", validObs());
    Lines second = gpsRecord("12");
    second.resize(4);
    second.back().resize(30);
    rig.put("site0010.09n", fileOf({gpsHeader(), gpsRecord(" 5"), second}));
    ASSERT_TRUE(rig.scan(obs));
    EXPECT_EQ(rig.recordBytes(scan::TempFile::EphemGPSRecs), 184u); // the whole one only
    EXPECT_EQ(rig.driver.EphemerisSatellites(scan::NavSystem::GPS), std::vector<int>{5});
    EXPECT_EQ(rig.w().file(FileKind::N).header, Colour::Lime);
    EXPECT_EQ(rig.w().file(FileKind::N).data, Colour::Fuchsia);
    EXPECT_EQ(rig.observer.notices, std::vector<std::string>{});
}

TEST(HostileCompanion, HugeExponentsInANavigationFile) {
    Rig rig("navexp");
    const std::string obs = rig.put("site0010.09o", validObs());
    Lines record = gpsRecord(" 5");
    record[1] = "    0.1D+99999         0.1D-99999      9.99999999999D+9999-9.99999999999D+9999";
    rig.put("site0010.09n", fileOf({gpsHeader(), record, gpsRecord(" 7")}));
    ASSERT_TRUE(rig.scan(obs));
    EXPECT_EQ(rig.driver.EphemerisSatellites(scan::NavSystem::GPS), std::vector<int>{7});
    EXPECT_EQ(rig.w().file(FileKind::N).data, Colour::Fuchsia);
}

TEST(HostileCompanion, NumbersAsLargeAsTheirFieldsInCompanionHeadersAndData) {
    Rig rig("compnum");
    const std::string obs = rig.put("site0010.09o", validObs());
    Lines gps = gpsHeader();
    gps[2] = H("    0.1D+99999  0.1D-99999 -9.9D+9999  9.9999D+999", "ION ALPHA");
    gps[4] =
        H("   -9.999999999999D+999-9.999999999999D+999999999999999999", "DELTA-UTC: A0,A1,T,W");
    gps[5] = H("999999", "LEAP SECONDS");
    Lines record = gpsRecord(" 5");
    record[0] = "99 99 99 99 99 99 99.9-9.999999999999D+99-9.999999999999D+99-9.999999999999D+99";
    rig.put("site0010.09n", fileOf({gps, record, gpsRecord(" 7")}));
    Lines met = meteoHeader();
    met[3] = H("999999    PR    TD    HR", "# / TYPES OF OBSERV");
    rig.put("site0010.09m", fileOf({met, {" 99 99 99 99 99 99 9999999999999999999999999"}}));
    ASSERT_TRUE(rig.scan(obs));
    EXPECT_EQ(rig.w().file(FileKind::N).header, Colour::Fuchsia);
    // Satellite 99 on day 99 of month 99 passes the epoch line's number checks; it is written
    // but, outside the satellite table, not counted.
    EXPECT_EQ(rig.recordBytes(scan::TempFile::EphemGPSRecs), 2u * 184u);
    EXPECT_EQ(rig.driver.EphemerisSatellites(scan::NavSystem::GPS), std::vector<int>{7});
    EXPECT_NE(rig.w().file(FileKind::M).header, Colour::Silver);
    EXPECT_EQ(rig.w().STSumErr.text, "Yes");
}

// ---- what stands under the name -------------------------------------------------------------

TEST(HostileInput, AFolderOrAFifoAsTheObservationFileIsRefused) {
    Rig rig("notfile");
    fs::create_directories(rig.inputs / "folder.09o");
    const std::string fifo = makeFifo(rig, "fifo0010.09o");
    const FifoRescue rescue({fifo});
    for (const std::string& name : {rig.in("folder.09o"), fifo}) {
        SCOPED_TRACE(name);
        rig.observer.notices.clear();
        EXPECT_FALSE(rig.scan(name));
        EXPECT_EQ(rig.observer.notices,
                  std::vector<std::string>{"Error Opening File " + name + " ! "});
        EXPECT_EQ(rig.w().file(FileKind::O).data, Colour::Silver);
    }
    EXPECT_FALSE(rescue.rescued()) << "the scan waited for a writer on the fifo";
}

TEST(HostileInput, ADeviceThatNeverEndsIsRefused) {
    Rig rig("device");
    const std::string name = rig.in("zero0010.09o");
    fs::create_symlink("/dev/zero", name);
    EXPECT_FALSE(rig.scan(name));
    EXPECT_EQ(rig.observer.notices, std::vector<std::string>{"Error Opening File " + name + " ! "});
}

TEST(HostileInput, AFolderAFifoOrABrokenLinkAsACompanion) {
    struct Case {
        const char* reason;
        std::function<void(Rig&, const std::string&)> make;
        bool noticed; // "Error Opening File ..." for it; otherwise it counts as absent
    };
    const Case kCases[] = {
        {"a folder", [](Rig&, const std::string& n) { fs::create_directories(n); }, false},
        {"a fifo",
         [](Rig& rig, const std::string& n) { makeFifo(rig, fs::path(n).filename().string()); },
         true},
        {"a broken link",
         [](Rig&, const std::string& n) { fs::create_symlink("nothing-here.09n", n); }, false},
    };
    for (const Case& c : kCases) {
        for (FileKind kind : {FileKind::N, FileKind::M}) {
            SCOPED_TRACE(std::string(c.reason) + " as " + letterOf(kind));
            Rig rig("oddcomp");
            const std::string obs = rig.put("site0010.09o", validObs());
            const std::string companion = rig.in(std::string("site0010.09") + letterOf(kind));
            c.make(rig, companion);
            const FifoRescue rescue({companion});
            ASSERT_TRUE(rig.scan(obs));
            EXPECT_FALSE(rescue.rescued()) << "the scan waited for a writer on the fifo";
            const std::vector<std::string> expected =
                c.noticed ? std::vector<std::string>{"Error Opening File " + companion + " ! "}
                          : std::vector<std::string>{};
            EXPECT_EQ(rig.observer.notices, expected);
            EXPECT_EQ(rig.w().file(kind).header, Colour::Silver);
            EXPECT_EQ(rig.w().file(kind).data, Colour::Silver);
            EXPECT_EQ(rig.w().file(FileKind::O).data, Colour::Lime);
        }
    }
}

TEST(HostileInput, AFileWithoutReadPermission) {
    Rig rig("noread");
    const std::string name = rig.put("site0010.09o", validObs());
    fs::permissions(name, fs::perms::none);
    if (std::FILE* probe = std::fopen(name.c_str(), "rb")) {
        std::fclose(probe);
        GTEST_SKIP() << "this user reads files whatever their permission bits say (root)";
    }
    EXPECT_FALSE(rig.scan(name));
    EXPECT_EQ(rig.observer.notices, std::vector<std::string>{"Error Opening File " + name + " ! "});
}

TEST(HostileInput, AFileDeletedBetweenChoosingAndScanning) {
    Rig rig("deleted");
    const std::string name = rig.put("site0010.09o", validObs());
    ASSERT_TRUE(rig.choose(name));
    fs::remove(name);
    EXPECT_FALSE(rig.driver.BBScanClick());
    EXPECT_EQ(rig.observer.notices, std::vector<std::string>{"Error Opening File " + name + " ! "});
    EXPECT_FALSE(rig.driver.window().menu(scan::MenuItem::ViewSummury1));
}

TEST(HostileInput, ABrokenLinkAsTheObservationFile) {
    Rig rig("brokenlink");
    const std::string name = rig.in("site0010.09o");
    fs::create_symlink("gone.09o", name);
    EXPECT_FALSE(rig.scan(name));
    EXPECT_EQ(rig.observer.notices, std::vector<std::string>{"Error Opening File " + name + " ! "});
}
