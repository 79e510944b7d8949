#include "text/NumberText.h"

#include <gtest/gtest.h>

TEST(GeneralText, ShortestTextOfFifteenDigits) {
    constexpr struct {
        long double x;
        const char* sep;
        const char* text;
    } kCases[] = {
        {0, ".", "0"},
        {12.5L, ",", "12,5"},
        {-3, ".", "-3"},
        {1.1f, ".", "1.10000002384186"}, // a widened single shows its binary value
        {0.1L, ".", "0.1"},
        {0.00001L, ".", "0.00001"}, // still fixed
        {0.000009L, ".", "9E-6"},   // below 0.00001: exponent form
        {0.1118e-7L, ",", "1,118E-8"},
        {123456789012345.0L, ".", "123456789012345"},
        {1e15L, ".", "1E15"}, // from 10^15 on: exponent form
        {-2.5e20L, ".", "-2.5E20"},
        {999999999999999.9L, ".", "1E15"},            // rounding to 15 digits reaches 10^15
        {3.141592653589793L, "", "3.14159265358979"}, // an empty separator reads as "."
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(text::GeneralText(c.x, c.sep), c.text);
    }
}

TEST(FixedText, RightAlignsWithPointDecimals) {
    EXPECT_EQ(text::FixedText(4027881.3280L, 14, 4), "  4027881.3280");
    EXPECT_EQ(text::FixedText(-0.5L, 10, 3), "    -0.500");
    EXPECT_EQ(text::FixedText(30, 10, 3), "    30.000");
    EXPECT_EQ(text::FixedText(123456789012.5L, 5, 1), "123456789012.5"); // wider when needed
    EXPECT_EQ(text::FixedText(-0.0L, 6, 2), "  0.00");
}
