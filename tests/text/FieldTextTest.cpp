#include "text/FieldText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace std::string_view_literals;

TEST(NextWord, WalksBlankSeparatedWords) {
    std::string_view s = "  09  1";
    std::string_view w = "x";
    text::NextWord(s, w);
    EXPECT_EQ(w, "09");
    EXPECT_EQ(s, " 1"); // one blank is eaten with the word, the rest stays
    text::NextWord(s, w);
    EXPECT_EQ(w, "1");
    EXPECT_EQ(s, "");
    text::NextWord(s, w);
    EXPECT_EQ(w, "");
    EXPECT_EQ(s, "");
}

TEST(NextWord, BlankOnlyTextGivesEmptyWordAndText) {
    std::string_view s = "    ";
    std::string_view w = "x";
    text::NextWord(s, w);
    EXPECT_EQ(w, "");
    EXPECT_EQ(s, "");
}

TEST(NextWordOrDash, EndsAtDashOrNearBlankElseLeavesAlone) {
    constexpr struct {
        std::string_view text, word, rest;
        bool assigned;
    } kCases[] = {
        {"12.5-3.0", "12.5", "3.0", true},        // the dash separates and is dropped
        {"  1 -2", "1", "-2", true},              // a blank at position 2 wins over the dash
        {"123456 -2", "123456 ", "2", true},      // a blank at 7 is too far: the dash cuts
        {"1234567 8", "old", "1234567 8", false}, // blank at 8 and no dash: nothing changes
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.text);
        std::string_view s = c.text;
        std::string_view w = "old";
        text::NextWordOrDash(s, w);
        EXPECT_EQ(w, c.assigned ? c.word : "old"sv);
        EXPECT_EQ(s, c.rest);
    }
}

TEST(FirstWord, KeepsTheBlankThatEndedTheWord) {
    std::string_view w, r;
    text::FirstWord("  2.11  OBS", w, r);
    EXPECT_EQ(w, "2.11");
    EXPECT_EQ(r, "  OBS");
    text::FirstWord("C1", w, r);
    EXPECT_EQ(w, "C1");
    EXPECT_EQ(r, "");
}

TEST(IsRinex2Version, TakesTwoAndTwoPointZeroOrOneOnly) {
    constexpr struct {
        std::string_view word;
        bool rinex2;
    } kCases[] = {
        {"2.11", true},  {"2.10", true},  {"2.01", true}, {"2.1", true},   {"2.0", true},
        {"2", true},     {"2.", true},    {"2.12", true}, // a 2.1x draft is still RINEX 2
        {"3.02", false}, {"4.00", false}, {"3.2", false}, // a 2 elsewhere is no version 2
        {"2.2", false},  {"2.20", false}, {"20", false},  {"12.1", false}, {"2.111", false},
        {"2.1a", false}, {"", false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.word);
        EXPECT_EQ(text::IsRinex2Version(c.word), c.rinex2);
    }
}

TEST(RealFromText, FindsAndConvertsTheFirstNumber) {
    constexpr struct {
        std::string_view text;
        bool ok;
        long double value;
        std::string_view rest;
    } kCases[] = {
        {"abc 12.5xyz", true, 12.5L, "xyz"},
        {"x", false, 0, "x"},     // the last character stays in the rest
        {"-.5", true, -0.5L, ""}, // a sign and a point are enough
        {".", true, 0, ""},       // a lone point reads as 0
        {"1.2.3", false, 0, ""},  // two points do not convert; the run is consumed
        {"-", false, 0, ""},      // a lone sign fails
        {"5-3 ", false, 0, " "},  // a dash inside the run fails
        {"", false, 0, ""},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.text);
        long double x = 99;
        std::string_view r;
        EXPECT_EQ(text::RealFromText(c.text, x, r), c.ok);
        EXPECT_EQ(x, c.ok ? c.value : 99); // x is untouched on failure
        EXPECT_EQ(r, c.rest);
    }
}

TEST(IntFromText, SkipsToDigitsAndRefusesOverflow) {
    constexpr struct {
        std::string_view text;
        bool ok;
        std::int32_t value;
        std::string_view rest;
    } kCases[] = {
        {"  -17 3", true, 17, " 3"}, // the dash is skipped like any other character
        {"abc", false, 0, ""},
        {"99999999999", false, 0, ""}, // too long for int32
        {"2147483647x", true, 2147483647, "x"},
        {"007", true, 7, ""},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.text);
        std::int32_t n = -1;
        std::string_view r;
        EXPECT_EQ(text::IntFromText(c.text, n, r), c.ok);
        EXPECT_EQ(n, c.ok ? c.value : -1);
        EXPECT_EQ(r, c.rest);
    }
}

TEST(RightTrim, RemovesTrailingBlanksOnly) {
    std::string_view s = " a b \t  ";
    text::RightTrim(s);
    EXPECT_EQ(s, " a b \t");
    std::string all = "   ";
    text::RightTrim(all);
    EXPECT_EQ(all, "");
}

TEST(PadTo, PadsFrontOrEndAndLeavesLongTexts) {
    std::string s = "ab";
    text::PadTo(5, false, s);
    EXPECT_EQ(s, "   ab");
    s = "ab";
    text::PadTo(4, true, s);
    EXPECT_EQ(s, "ab  ");
    s = "ab";
    text::PadTo(1, true, s);
    EXPECT_EQ(s, "ab");
}

TEST(TimeAndDateText, PadWithZeros) {
    EXPECT_EQ(text::TimeText(7, 5, 9, 40), "07:05:09.040");
    EXPECT_EQ(text::TimeText(12, 30, 0, 5), "12:30:00.005");
    EXPECT_EQ(text::TimeText(100, 5, 9, 1234), "100:05:09.1234"); // wider values are not cut
    EXPECT_EQ(text::DateText(5, 1, 2009), "05/01/2009");
    EXPECT_EQ(text::DateText(31, 12, 5), "31/12/5");
}

TEST(DotToDecSep, ReplacesEveryPointWithTheSeparator) {
    std::string s = "12.5.1";
    text::DotToDecSep(s, ",");
    EXPECT_EQ(s, "12,5,1");
    long double x = 0;
    std::string_view r;
    EXPECT_TRUE(text::RealFromText("12.5", x, r)); // reading never depends on the separator
    EXPECT_EQ(x, 12.5L);
}

TEST(FortranReal, ReadsDAndEExponents) {
    constexpr struct {
        std::string_view text;
        bool ok;
        long double x; // value after the call; 7 means untouched
    } kCases[] = {
        {"0.1D+02", true, 0.1L * 10 * 10},
        {"-1.5E-03", true, -1.5L / 10 / 10 / 10},
        {"  0.5d-01 ", true, 0.5L / 10}, // trimmed, lower-case letter
        {"1.5D+1", false, 7},            // fewer than 3 characters after the letter
        {"1.5D*01", false, 1.5L},        // the mantissa is kept when the sign is wrong
        {"1.5D+0x", false, 1.5L},        // exponent digits must be digits
        {"12.5", false, 7},              // no exponent letter
        {"D+01", false, 7},              // empty mantissa
        {"1.0D+123", true, 1.0e12L},     // only two exponent digits are read
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.text);
        long double x = 7;
        EXPECT_EQ(text::FortranReal(c.text, x), c.ok);
        EXPECT_EQ(x, c.x);
    }
}

TEST(FortranReal, LaterExponentLetterWins) {
    long double x = 0;
    // E stands after D: the mantissa "1D5" is not a strict number.
    EXPECT_FALSE(text::FortranReal("1D5E+01", x));
    EXPECT_TRUE(text::FortranReal("1E5D+01", x)); // D later: mantissa "1E5"
    EXPECT_EQ(x, 1e5L * 10);
}

TEST(StrictNumber, JudgesTheWholeField) {
    constexpr struct {
        std::string_view text;
        int errorPos;
        long double value;
    } kCases[] = {
        {"", 1, 0},                     // nothing to read: one past the end
        {" ", 2, 0},                    // blank only
        {"-", 2, 0},                    // a lone sign
        {"1 ", 2, 0},                   // a trailing blank is an error at its own column
        {"1,5", 2, 0},                  // ',' is never a decimal point
        {"1 2", 2, 0}, {"1D+02", 2, 0}, // D is not an exponent here
        {"1E", 3, 0},                   // an exponent needs a digit
        {" 1", 0, 1},  {"+1", 0, 1},     {"12.", 0, 12},     {".5", 0, 0.5L},
        {".", 0, 0},   {"1E5", 0, 1e5L}, {"1e-5", 0, 1e-5L}, {"  -21234567.123", 0, -21234567.123L},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.text);
        const auto r = text::StrictNumber(c.text);
        EXPECT_EQ(r.errorPos, c.errorPos);
        if (c.errorPos == 0) {
            EXPECT_EQ(r.value, c.value);
        }
    }
}

TEST(StrictNumber, ValuesAreCorrectlyRoundedExtended) {
    // The F14.3 values of observation files: digits over a power of ten, one rounding.
    EXPECT_EQ(text::StrictNumber("21234567.123").value, 21234567123.0L / 1000.0L);
    EXPECT_EQ(text::StrictNumber("0.1").value, 0.1L);
    EXPECT_EQ(text::StrictNumber("123456789012345678901234567890").value,
              123456789012345678901234567890.0L);
    EXPECT_EQ(text::StrictNumber("1E99999").value, HUGE_VALL);
}

TEST(FixedFormatOK, JudgesTheShapeOnTheFieldsOwnLength) {
    constexpr struct {
        std::string_view field;
        int decimals;
        bool ok;
    } kCases[] = {
        {"  123.456", 3, true},
        {"123.45", 3, false}, // the point stands among the last three characters
        {"12a.456", 3, false},
        {".456", 3, true},      // nothing before the point is fine
        {"456", 3, false},      // too short
        {" -1 2.4 6", 3, true}, // blanks may stand among the digits
        {"12.-45", 3, false},   // no sign among the decimals
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(text::FixedFormatOK(c.field, 14, c.decimals), c.ok);
    }
}
