#include "views/OccupationsView.h"

#include "RecordFixture.h"

#include <gtest/gtest.h>

using views_test::epochRec;
using views_test::TempFolder;
using views_test::writeRecords;

namespace {

std::vector<obs::TEpochRec> site(std::int32_t count, const std::string& name,
                                 const std::string& number, long double height) {
    std::vector<obs::TEpochRec> epochs;
    for (std::int32_t i = 0; i < count; ++i) {
        auto e = epochRec(0, 0, i, {{'G', 1}});
        e.occupation.markerName = name;
        e.occupation.markerNumber = number;
        e.occupation.antennaHeight = height;
        epochs.push_back(e);
    }
    return epochs;
}

} // namespace

TEST(OccupationsView, LineLayout) {
    obs::TOccupation o;
    o.markerName = "GRAZ";
    o.markerNumber = "11001M002";
    o.antennaHeight = 1.5L;
    EXPECT_EQ(views::occupationLine(1, o, "."),
              "  1         GRAZ                11001M002                1.5000            yes"
              "         1");
    o.markerName.clear();
    o.markerNumber.clear();
    o.isStatic = false;
    EXPECT_EQ(views::occupationLine(120, o, ","),
              "  120            Unknown             Unknown             1,5000             no"
              "         120");
}

TEST(OccupationsView, AntennaHeightText) {
    struct Case {
        long double h;
        const char* text;
        const char* why;
    };
    const Case cases[] = {
        {0, "0.0000", "zero"},
        {1.23456L, "1.2346", "four decimals"},
        {-0.05L, "-0.0500", "negative"},
        {123456.789L, "123456.7900", "eight significant digits"},
        {12345678.9L, "12345679.0000", "eight digits before the point"},
        {123456789.0L, "1.2345679E+08", "more than eight digits: scientific"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(views::antennaHeightText(c.h, "."), c.text);
    }
}

TEST(OccupationsView, ListsChangesAndChartsStaticAndKinematic) {
    TempFolder dir;
    auto epochs = site(200, "PILLAR", "", 0.5L);
    for (std::size_t i = 119; i < 180; ++i)
        epochs[i].occupation.isStatic = false;         // records 120 to 180
    epochs[189].occupation.antennaHeight = 0.5000005L; // not a change
    epochs[194].occupation.antennaHeight = 0.501L;     // a change from record 195 on
    for (std::size_t i = 195; i < 200; ++i)
        epochs[i].occupation.antennaHeight = 0.501L;
    writeRecords(dir.epochs(), obs::kEpochRecSize, epochs);
    const auto v = views::computeOccupationsView(dir.epochs(), 200, "3001", ".");
    EXPECT_TRUE(v.messages.empty());
    ASSERT_EQ(v.LBOccup.size(), 5u);
    EXPECT_EQ(v.LBOccup[0], "  #   Marker Name                Marker Number       Antenna Offset"
                            "  Is Static   Epoch number");
    const char* ends[] = {"            yes         1", "             no         120",
                          "            yes         181", "            yes         195"};
    for (std::size_t k = 0; k < 4; ++k) {
        SCOPED_TRACE(ends[k]);
        const std::string& line = v.LBOccup[k + 1];
        EXPECT_EQ(line.substr(line.size() - std::string(ends[k]).size()), ends[k]);
    }
    EXPECT_EQ(v.staticSeries.title, "Static");
    EXPECT_EQ(v.kinematicSeries.title, "Kinematic");
    EXPECT_EQ(v.kinematicSeries.size(), 61u);
    EXPECT_EQ(v.kinematicSeries.x.front(), 120);
    EXPECT_EQ(v.kinematicSeries.x.back(), 180);
    EXPECT_EQ(v.staticSeries.size(), 139u);
    EXPECT_EQ(v.staticSeries.y, std::vector<double>(139, 0));
    EXPECT_EQ(v.leftTitle, "3001");
    EXPECT_EQ(v.left, views::AxisRule::fixed(-1, 1));
}

TEST(OccupationsView, FirstRecordIsListedEvenWhenUnchanged) {
    TempFolder dir;
    writeRecords(dir.epochs(), obs::kEpochRecSize, site(3, "", "", 0));
    const auto v = views::computeOccupationsView(dir.epochs(), 3, "", ".");
    ASSERT_EQ(v.LBOccup.size(), 2u);
    EXPECT_EQ(v.LBOccup[1].substr(0, 52), "  1              Unknown             Unknown        ");
}

TEST(OccupationsView, OneEpochShortAndMissingFiles) {
    TempFolder dir;
    writeRecords(dir.epochs(), obs::kEpochRecSize, site(2, "A", "B", 0));
    auto v = views::computeOccupationsView(dir.epochs(), 1, "R", ".");
    EXPECT_EQ(v.LBOccup.size(), 1u);
    EXPECT_EQ(v.staticSeries.size() + v.kinematicSeries.size(), 0u);
    EXPECT_TRUE(v.messages.empty());

    v = views::computeOccupationsView(dir.epochs(), 3, "R", ".");
    EXPECT_EQ(v.messages,
              (std::vector<std::string>{"Unexpected end of file", "Unexpected end of file"}));
    EXPECT_EQ(v.LBOccup.size(), 2u);
    EXPECT_EQ(v.staticSeries.size(), 2u);

    v = views::computeOccupationsView(dir.file("none.dat"), 3, "R", ".");
    EXPECT_EQ(v.messages, std::vector<std::string>{"Error Opening File RinexEpochs.dat ! "});
    EXPECT_EQ(v.LBOccup.size(), 1u);
}
