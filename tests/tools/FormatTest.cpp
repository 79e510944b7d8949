#include "tools/gen/Format.h"

#include "text/FieldText.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

namespace {

TEST(PutF143, WritesFourteenColumnsWithThreeDecimals) {
    constexpr struct {
        double value;
        const char* text;
    } kCases[] = {
        {22621606.7724, "  22621606.772"},  // a pseudorange
        {-20304412.0075, " -20304412.008"}, // a negative phase rounds away from zero
        {0.0004, "         0.000"},         // below half a unit
        {-0.0004, "         0.000"},        // no "-0.000"
        {9999999999.999, "9999999999.999"}, // the widest value that fits
        {1e10, "              "},           // too wide: blank, columns kept
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.text);
        std::array<char, 14> f{};
        gen::putF143(f.data(), c.value);
        const std::string s(f.data(), f.size());
        EXPECT_EQ(s, c.text);
        if (s.find_first_not_of(' ') != std::string::npos) {
            EXPECT_TRUE(text::FixedFormatOK(s, 14, 3));
        }
    }
}

TEST(AppendD19, WritesTheFortranShapeAndReadsBack) {
    constexpr struct {
        double value;
        const char* text;
    } kCases[] = {
        {0.0, " 0.000000000000D+00"},               // zero has exponent +00
        {-1.59967196204e-4, "-0.159967196204D-03"}, // negative clock bias
        {5153.22329952, " 0.515322329952D+04"},     // sqrt(A)
        {259200.0, " 0.259200000000D+06"},          // toe
        {0.9999999999996, " 0.100000000000D+01"},   // rounding carries into the exponent
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.text);
        std::string s;
        gen::appendD19(s, c.value);
        EXPECT_EQ(s, c.text);
        long double x = -1;
        ASSERT_TRUE(text::FortranReal(s, x));
        EXPECT_NEAR(static_cast<double>(x), c.value, 1e-12 * std::max(1.0, std::fabs(c.value)));
    }
}

TEST(EndHeaderLine, PutsTheLabelInColumns61To80) {
    std::string s = "     1     1";
    gen::endHeaderLine(s, "WAVELENGTH FACT L1/2");
    EXPECT_EQ(s.size(), 81u);
    EXPECT_EQ(s.substr(60), "WAVELENGTH FACT L1/2\n");
}

} // namespace
