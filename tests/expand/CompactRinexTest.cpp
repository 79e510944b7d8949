#include "expand/CompactRinex.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

// The compact header of a file with two observation types.
const std::vector<std::string> kHeader = {
    "1.0                 COMPACT RINEX FORMAT                    CRINEX VERS   / TYPE",
    "test                                    01-Jan-21 00:00     CRINEX PROG / DATE",
    "     2.11           OBSERVATION DATA    G (GPS)             RINEX VERSION / TYPE",
    "     2    L1    C1                                          # / TYPES OF OBSERV",
    "                                                            END OF HEADER",
};

struct Decoded {
    bool ok = true;
    std::string text; // LF line ends, the header left out
    std::string problem;
    std::uint64_t failedLine = 0;
    bool complete = false;
};

Decoded decode(const std::vector<std::string>& body, std::vector<std::string> header = kHeader) {
    expand::CompactDecoder d;
    std::string out;
    Decoded r;
    header.insert(header.end(), body.begin(), body.end());
    for (const std::string& line : header) {
        if (!d.decode(line, out)) {
            r.ok = false;
            r.problem = d.problem();
            r.failedLine = d.lineNumber();
            break;
        }
    }
    r.complete = d.complete();
    // Drop the header (its lines come out as they went in) and the carriage returns.
    const std::size_t end = out.find("END OF HEADER\r\n");
    std::string text = end == std::string::npos ? out : out.substr(end + 15);
    for (char c : text)
        if (c != '\r')
            r.text += c;
    return r;
}

TEST(CompactDecoder, CopiesTheHeaderAndDropsTheCompactLines) {
    expand::CompactDecoder d;
    std::string out;
    for (const std::string& line : kHeader)
        ASSERT_TRUE(d.decode(line, out));
    EXPECT_EQ(out, kHeader[2] + "\r\n" + kHeader[3] + "\r\n" + kHeader[4] + "\r\n");
    EXPECT_TRUE(d.complete());
}

TEST(CompactDecoder, DifferencesRiseToTheirOrderAndRebuildTheValues) {
    // L1: 1.000 1.100 1.300 1.600 2.000 (first, second, then third differences); C1 starts
    // a first-order sequence; the flags of L1 change in the third epoch only.
    const Decoded r = decode({
        "&21  1  1  0  0  0.0000000  0  1G05",
        "",
        "3&1000 1&-52  1",
        "                 3",
        "",
        "100 2",
        "                 6",
        "",
        "100 2  2",
        "                 9",
        "",
        "0 2",
        "                10",
        "",
        "0 2",
    });
    ASSERT_TRUE(r.ok) << r.problem;
    EXPECT_EQ(r.text, " 21  1  1  0  0  0.0000000  0  1G05\n"
                      "         1.000 1        -0.052\n"
                      " 21  1  1  0  0  3.0000000  0  1G05\n"
                      "         1.100 1        -0.050\n"
                      " 21  1  1  0  0  6.0000000  0  1G05\n"
                      "         1.300 2        -0.048\n"
                      " 21  1  1  0  0  9.0000000  0  1G05\n"
                      "         1.600 2        -0.046\n"
                      " 21  1  1  0  0 10.0000000  0  1G05\n"
                      "         2.000 2        -0.044\n");
    EXPECT_TRUE(r.complete);
}

TEST(CompactDecoder, EpochLineTextDifferences) {
    // Blank keeps, '&' blanks; a shorter satellite list leaves the old tail in the text, and
    // only 3 x n characters count. Thirteen satellites take a second RINEX line.
    const std::string thirteen = "G01G02G03G04G05G06G07G08G09G10G11G12G13";
    std::vector<std::string> body = {"&21  1  1  0 10  0.0000000  0 13" + thirteen, ""};
    for (int i = 0; i < 13; ++i)
        body.push_back("");
    body.push_back(std::string(17, ' ') + "3" + std::string(12, ' ') + "&2"); // 2 satellites
    body.push_back("");
    body.push_back("");
    body.push_back("");
    body.push_back(std::string(13, ' ') + "&9  4" + std::string(12, ' ') + "1"); // minute 9, 12
    body.push_back("2&123456789");
    body.push_back("");
    const Decoded r = decode(body);
    ASSERT_TRUE(r.ok) << r.problem;
    std::string expected =
        " 21  1  1  0 10  0.0000000  0 13G01G02G03G04G05G06G07G08G09G10G11G12\n" +
        std::string(32, ' ') + "G13\n" + std::string(13, '\n');
    expected += " 21  1  1  0 10  3.0000000  0  2G01G02\n\n\n";
    expected += " 21  1  1  0  9  4.0000000  0 12G01G02G03G04G05G06G07G08G09G10G11G12"
                " 0.123456789\n\n";
    EXPECT_EQ(r.text, expected);
    EXPECT_FALSE(r.complete); // eleven satellites are still to come
}

TEST(CompactDecoder, ClockSequenceInNanoseconds) {
    const Decoded r = decode({
        "&21  1  1  0  0  0.0000000  0  0",
        "2&-123456",
        "                 3",
        "1000",
        "                 6",
        "",
    });
    ASSERT_TRUE(r.ok) << r.problem;
    const std::string pad(36, ' ');
    EXPECT_EQ(r.text, " 21  1  1  0  0  0.0000000  0  0" + pad + "-0.000123456\n" +
                          " 21  1  1  0  0  3.0000000  0  0" + pad + "-0.000122456\n" +
                          " 21  1  1  0  0  6.0000000  0  0\n");
}

TEST(CompactDecoder, EventRecordsComeWholeAndResetEverything) {
    // A flag 4 event changes the types to one; the satellites start again after it.
    const Decoded r = decode({
        "&21  1  1  0  0  0.0000000  0  1G05",
        "",
        "3&1000 3&2000",
        "&" + std::string(27, ' ') + "4  1",
        "     1    L1                                                # / TYPES OF OBSERV",
        "&21  1  1  0  0  3.0000000  0  1G05",
        "",
        "3&1500",
    });
    ASSERT_TRUE(r.ok) << r.problem;
    EXPECT_EQ(
        r.text,
        " 21  1  1  0  0  0.0000000  0  1G05\n"
        "         1.000           2.000\n" +
            std::string(28, ' ') +
            "4  1\n"
            "     1    L1                                                # / TYPES OF OBSERV\n"
            " 21  1  1  0  0  3.0000000  0  1G05\n"
            "         1.500\n");
}

TEST(CompactDecoder, ASatelliteThatVanishesAndReturnsStartsAgain) {
    const std::vector<std::string> start = {
        "&21  1  1  0  0  0.0000000  0  1G05",
        "",
        "3&1000 3&2000",
        std::string(17, ' ') + "3" + std::string(16, ' ') + "7", // G07 alone
        "",
        "3&5000 3&6000",
        std::string(17, ' ') + "6" + std::string(16, ' ') + "5", // G05 again
        "",
    };
    std::vector<std::string> restarted = start;
    restarted.push_back("3&1200 3&2200");
    EXPECT_TRUE(decode(restarted).ok);
    std::vector<std::string> continued = start;
    continued.push_back("200 200");
    const Decoded r = decode(continued);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.failedLine, kHeader.size() + continued.size());
    EXPECT_NE(r.problem.find("follows no start value"), std::string::npos) << r.problem;
}

TEST(CompactDecoder, SatellitesAreTheirIdsToTheLetter) {
    // "G05" and "G 5" are two satellites, an id of no common shape a third; a fresh epoch
    // line starts all of them again, so that a bare difference then follows no start value.
    const std::vector<std::string> start = {
        "&21  1  1  0  0  0.0000000  0  3G05G 5x-1",
        "",
        "3&1000 3&4000",
        "3&2000 3&5000",
        "3&3000 3&6000",
        std::string(17, ' ') + "3",
        "",
        "1 4",
        "2 5",
        "3 6",
    };
    const Decoded r = decode(start);
    ASSERT_TRUE(r.ok) << r.problem;
    EXPECT_EQ(r.text, " 21  1  1  0  0  0.0000000  0  3G05G 5x-1\n"
                      "         1.000           4.000\n"
                      "         2.000           5.000\n"
                      "         3.000           6.000\n"
                      " 21  1  1  0  0  3.0000000  0  3G05G 5x-1\n"
                      "         1.001           4.004\n"
                      "         2.002           5.005\n"
                      "         3.003           6.006\n");
    for (const char* id : {"G05", "G 5", "x-1"}) {
        SCOPED_TRACE(id);
        std::vector<std::string> fresh = start;
        fresh.push_back("&21  1  1  0  0  6.0000000  0  1" + std::string(id));
        fresh.push_back("");
        fresh.push_back("1 1");
        const Decoded f = decode(fresh);
        EXPECT_FALSE(f.ok);
        EXPECT_NE(f.problem.find("follows no start value"), std::string::npos) << f.problem;
    }
}

TEST(CompactDecoder, ReadsNumbersOfEveryLengthThatFit) {
    // Nineteen digits and the lowest 64-bit value are read whole.
    const Decoded r = decode({
        "&21  1  1  0  0  0.0000000  0  1G05",
        "",
        "1&-9223372036854775808 1&5",
        std::string(17, ' ') + "3",
        "",
        "9223372036854775807 -3",
    });
    ASSERT_TRUE(r.ok) << r.problem;
    EXPECT_EQ(r.text, " 21  1  1  0  0  0.0000000  0  1G05\n"
                      "-9223372036854775.808           0.005\n"
                      " 21  1  1  0  0  3.0000000  0  1G05\n"
                      "        -0.001           0.002\n");
}

TEST(CompactDecoder, RefusesWhatItCannotDecode) {
    constexpr struct {
        const char* line;
        const char* why;
    } kCases[] = {
        {"3&1000 1x", "a difference that is no number"},
        {"3&1000 3&99999999999999999999999999999999999999", "a start value of 40 digits"},
        {"3&1000 3&1E300", "a start value in exponent form"},
        {"0&1000", "a difference order of 0"},
        {"10&1000", "a difference order of two digits"},
        {"&1000", "no difference order"},
        {"3& 3&1", "an empty start value"},
        {"3&9223372036854775807 3&1\n1", "a value that overflows 64 bits"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.why);
        std::vector<std::string> body = {"&21  1  1  0  0  0.0000000  0  1G05", ""};
        const std::string_view text(c.line);
        const std::size_t nl = text.find('\n');
        body.emplace_back(text.substr(0, nl));
        if (nl != std::string_view::npos) {
            body.push_back("                 3");
            body.push_back("");
            body.emplace_back(text.substr(nl + 1));
        }
        const Decoded r = decode(body);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.failedLine, kHeader.size() + body.size());
        EXPECT_FALSE(r.problem.empty());
    }
}

TEST(CompactDecoder, RefusesBadFrames) {
    constexpr struct {
        const char* line;
        const char* why;
    } kCases[] = {
        {" 21  1  1  0  0  0.0000000  0  1G05", "the first epoch line is no fresh line"},
        {"&21  1  1  0  0  0.0000000  0  3G05", "three satellites counted, one listed"},
        {"&21  1  1  0  0  0.0000000  0 x1G05", "a satellite count that is no number"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.why);
        const Decoded r = decode({c.line});
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.failedLine, kHeader.size() + 1);
    }
    std::vector<std::string> v3 = kHeader;
    v3[0].replace(0, 3, "3.0");
    const Decoded r = decode({}, v3);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.problem.find("version 3.0"), std::string::npos) << r.problem;
}

TEST(CompactDecoder, IsIncompleteInsideAnEpoch) {
    const Decoded r = decode({"&21  1  1  0  0  0.0000000  0  2G05G07", "", "3&1000"});
    EXPECT_TRUE(r.ok);
    EXPECT_FALSE(r.complete);
}

TEST(AppendThousandths, WritesF14Point3) {
    constexpr struct {
        std::int64_t value;
        const char* text;
    } kCases[] = {
        {0, "         0.000"},
        {-52, "        -0.052"},
        {126298057858, " 126298057.858"},
        {9999999999999, "9999999999.999"},                   // the widest that fits
        {10000000000000, "10000000000.000"},                 // wider than the field, whole
        {-999999999999, "-999999999.999"},                   // the widest negative that fits
        {-1000000000000, "-1000000000.000"},                 // wider, whole
        {-9223372036854775807 - 1, "-9223372036854775.808"}, // wider than the field, whole
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.text);
        std::string out;
        expand::AppendThousandths(out, c.value);
        EXPECT_EQ(out, c.text);
    }
}

} // namespace
