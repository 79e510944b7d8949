#include "views/IonoView.h"

#include <gtest/gtest.h>

namespace {

TEST(IonoLabels, ShowsTheWidenedSinglesAfterTheirLabels) {
    header::THeaderDataGPS h;
    h.ion = {0.1118E-07f, 0.7451E-08f, -0.5960E-07f, -0.5960E-07f,
             0.9011E+05f, 0.1638E+05f, -0.1966E+06f, 0};
    const auto labels = views::IonoLabels(h, ".");
    constexpr struct {
        std::string_view name, caption, text;
    } kExpected[] = {
        {"STIOA0", "Alpha(0) [s]", " Alpha0=1.11800000368589E-8"},
        {"STIOA1", "Alpha(1) [s/semicircles]", " Alpha1=7.45099981713793E-9"},
        {"STIOA2", "Alpha(2) [s/semicircles**2]", " Alpha2=-5.96000013786124E-8"},
        {"STIOA3", "Alpha(3) [s/semicircles**3]", " Alpha3=-5.96000013786124E-8"},
        {"STIOB0", "Beta(0) [s]", " Beta0 =90110"},
        {"STIOB1", "Beta(1) [s/semicircles]", " Beta1 =16380"},
        {"STIOB2", "Beta(2) [s/semicircles**2]", " Beta2 =-196600"},
        {"STIOB3", "Beta(3) [s/semicircles**3]", " Beta3 =0"},
    };
    for (std::size_t i = 0; i < labels.size(); ++i) {
        SCOPED_TRACE(kExpected[i].name);
        EXPECT_EQ(labels[i].name, kExpected[i].name);
        EXPECT_EQ(labels[i].caption, kExpected[i].caption);
        EXPECT_EQ(labels[i].text, kExpected[i].text);
    }
}

TEST(IonoLabels, ShowsZeroAsTheDigitBeforeAnyHeaderWasRead) {
    for (const auto& label : views::IonoLabels(header::THeaderDataGPS{}, ",")) {
        SCOPED_TRACE(label.name);
        EXPECT_EQ(label.text.back(), '0');
        EXPECT_EQ(label.text.substr(label.text.size() - 2), "=0");
    }
}

TEST(IonoLabels, UsesTheUsersDecimalSeparator) {
    header::THeaderDataGPS h;
    h.ion[1] = 0.125f;
    h.ion[2] = 0.1118E-07f;
    const auto labels = views::IonoLabels(h, ",");
    EXPECT_EQ(labels[1].text, " Alpha1=0,125");
    EXPECT_EQ(labels[2].text, " Alpha2=1,11800000368589E-8");
}

} // namespace
