#include "expand/Expand.h"

#include "Packed.h"

#include "text/ScanObserver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace {

namespace fs = std::filesystem;
using testsupport::packed;

std::string readAll(const fs::path& p) {
    std::string s;
    if (std::FILE* f = std::fopen(p.c_str(), "rb")) {
        char buffer[4096];
        std::size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            s.append(buffer, got);
        std::fclose(f);
    }
    return s;
}

void writeAll(const fs::path& p, std::string_view bytes) {
    std::FILE* f = std::fopen(p.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// A compact file of one epoch with two satellites.
const std::string kCompact =
    "1.0                 COMPACT RINEX FORMAT                    CRINEX VERS   / TYPE\n"
    "test                                    01-Jan-21 00:00     CRINEX PROG / DATE\n"
    "     2.11           OBSERVATION DATA    G (GPS)             RINEX VERSION / TYPE\n"
    "     1    L1                                                # / TYPES OF OBSERV\n"
    "                                                            END OF HEADER\n"
    "&21  1  1  0  0  0.0000000  0  2G05G07\n"
    "\n"
    "3&1000\n"
    "3&2000\n";
const std::string kExpanded =
    "     2.11           OBSERVATION DATA    G (GPS)             RINEX VERSION / TYPE\r\n"
    "     1    L1                                                # / TYPES OF OBSERV\r\n"
    "                                                            END OF HEADER\r\n"
    " 21  1  1  0  0  0.0000000  0  2G05G07\r\n"
    "         1.000\r\n"
    "         2.000\r\n";

class ExpandFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("expand_test_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    expand::Expansion run(std::string_view bytes) {
        writeAll(dir / "in", bytes);
        fs::remove(dir / "out");
        return expand::ExpandFile((dir / "in").string(), (dir / "out").string(), observer);
    }

    fs::path dir;
    text::NullScanObserver observer;
};

TEST(ContainerOf, ToldByTheFirstBytes) {
    EXPECT_EQ(expand::ContainerOf("\x1f\x8b\x08"), expand::Container::Gzip);
    EXPECT_EQ(expand::ContainerOf("\x1f\x9d\x90"), expand::Container::Compress);
    EXPECT_EQ(expand::ContainerOf("BZh9"), expand::Container::Bzip2);
    EXPECT_EQ(expand::ContainerOf(std::string_view("\xfd"
                                                   "7zXZ\0",
                                                   6)),
              expand::Container::Xz);
    EXPECT_EQ(expand::ContainerOf("     2.11           OBSERVATION"), expand::Container::None);
    EXPECT_EQ(expand::ContainerOf("\x1f"), expand::Container::None);
    EXPECT_TRUE(expand::NeedsExpansion(kCompact));
    EXPECT_FALSE(expand::NeedsExpansion("     2.11           OBSERVATION DATA"));
}

TEST(WithoutCompressionSuffix, DropsOneSuffixInAnyCase) {
    EXPECT_EQ(expand::WithoutCompressionSuffix("/d/site0010.21d.Z"), "/d/site0010.21d");
    EXPECT_EQ(expand::WithoutCompressionSuffix("site0010.21o.GZ"), "site0010.21o");
    EXPECT_EQ(expand::WithoutCompressionSuffix("site0010.21o"), "site0010.21o");
    EXPECT_EQ(expand::WithoutCompressionSuffix(".gz"), ".gz");
}

TEST_F(ExpandFile, EveryFormGivesTheSameText) {
    const std::string plainLf =
        "     2.11           OBSERVATION DATA    G (GPS)             RINEX VERSION / TYPE\n";
    const struct {
        std::string bytes;
        const char* from;
        std::string text;
    } kCases[] = {
        {kCompact, "compact RINEX 1.0", kExpanded},
        {packed(kCompact, true), "compact RINEX 1.0 in gzip", kExpanded},
        {packed(kCompact, false), "compact RINEX 1.0 in compress", kExpanded},
        // Two gzip members one after the other read as one text.
        {packed(kCompact.substr(0, 100), true) + packed(kCompact.substr(100), true),
         "compact RINEX 1.0 in gzip", kExpanded},
        // Plain text: a bare line feed gains a carriage return, a CR LF stays as it is.
        {packed(plainLf + "x\r\n", true), "gzip",
         plainLf.substr(0, plainLf.size() - 1) + "\r\nx\r\n"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.from);
        const expand::Expansion e = run(c.bytes);
        EXPECT_TRUE(e.expanded);
        EXPECT_TRUE(e.complete) << e.problem;
        EXPECT_EQ(e.from, c.from);
        EXPECT_EQ(readAll(dir / "out"), c.text);
        EXPECT_EQ(e.bytes, c.text.size());
    }
}

TEST_F(ExpandFile, FaultsStopTheExpansionAndNameTheFileAndLine) {
    const std::string gz = packed(kCompact, true);
    std::string corrupt = gz;
    for (std::size_t i = 12; i < corrupt.size() - 8; ++i)
        corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5a);
    std::string badLine = kCompact;
    badLine.replace(badLine.find("3&2000"), 6, "3&2x00");
    const std::string compress = packed(kCompact, false);
    const struct {
        std::string bytes;
        const char* why;
        const char* said;
    } kCases[] = {
        {gz.substr(0, gz.size() - 10), "a truncated gzip", "faulty"},
        {corrupt, "a corrupt gzip", "faulty"},
        {badLine, "a compact line that cannot be decoded", "compact line 9: 3&2x00"},
        {compress.substr(0, compress.size() - 6), "a compress stream that stops", "compact line"},
        {kCompact.substr(0, kCompact.size() - 7), "compact text that ends inside an epoch",
         "compact line"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.why);
        // A fault within the first block leaves nothing expanded.
        const expand::Expansion e = run(c.bytes);
        EXPECT_FALSE(e.complete);
        EXPECT_EQ(e.problem.rfind("Error Expanding File " + (dir / "in").string() + " ! ", 0), 0u)
            << e.problem;
        EXPECT_NE(e.problem.find(c.said), std::string::npos) << e.problem;
        // What was expanded up to the fault is there and told.
        EXPECT_EQ(readAll(dir / "out").size(), e.bytes);
        EXPECT_EQ(kExpanded.compare(0, e.bytes, readAll(dir / "out")), 0);
    }
}

TEST_F(ExpandFile, AnEmptyLastLineKeepsOneBlank) {
    // Compact RINEX drops trailing blanks, so a last satellite whose observation is blank
    // comes out as an empty line; as the last line of the text it keeps one blank (an empty
    // last read is the end of a file to the reader), anywhere else it stays empty.
    const std::string head = kCompact.substr(0, kCompact.find("&21"));
    const std::string expandedHead = kExpanded.substr(0, kExpanded.find(" 21"));
    const auto epoch = [](int second) {
        char line[64];
        std::snprintf(line, sizeof line, " 21  1  1  0  0 %2d.0000000  0  2G05G07", second % 60);
        return std::string(line);
    };
    const struct {
        int epochs;
        bool lastBlank;
        const char* why;
    } kCases[] = {
        {1, true, "the last line blank"},
        {1, false, "a blank line that is not the last"},
        {200000, true, "the last line blank after the text was written in several pieces"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.why);
        std::string compact = head;
        std::string expected = expandedHead;
        for (int n = 0; n < c.epochs; ++n) {
            std::string e = epoch(n);
            // The seconds as a text difference: '&' where the tens become blank.
            const std::string seconds = {e[16] == ' ' ? '&' : e[16], e[17]};
            compact += (n == 0 ? "&" + e.substr(1) : std::string(16, ' ') + seconds) + "\n\n";
            expected += e + "\r\n";
            const bool blankLast = c.lastBlank && n + 1 == c.epochs;
            // G05 blank, then G07 1.000 (or blank in the last epoch).
            compact += "\n";
            expected += "\r\n";
            compact += blankLast ? "\n" : "3&1000\n";
            expected += blankLast ? " \r\n" : "         1.000\r\n";
        }
        const expand::Expansion e = run(packed(compact, true));
        EXPECT_TRUE(e.complete) << e.problem;
        const std::string text = readAll(dir / "out");
        EXPECT_EQ(text.size(), expected.size());
        EXPECT_TRUE(text == expected)
            << text.substr(text.size() - std::min<std::size_t>(80, text.size()));
        EXPECT_EQ(e.bytes, expected.size());
    }
}

TEST_F(ExpandFile, NeverReplacesAFile) {
    writeAll(dir / "in", kCompact);
    writeAll(dir / "out", "kept");
    const expand::Expansion e =
        expand::ExpandFile((dir / "in").string(), (dir / "out").string(), observer);
    EXPECT_FALSE(e.expanded);
    EXPECT_EQ(e.problem, "Error Opening File " + (dir / "out").string() + " ! ");
    EXPECT_EQ(readAll(dir / "out"), "kept");
}

} // namespace
