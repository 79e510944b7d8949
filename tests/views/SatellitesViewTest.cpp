#include "views/SatellitesView.h"

#include "RecordFixture.h"

#include <gtest/gtest.h>

using views_test::epochRec;
using views_test::TempFolder;
using views_test::writeRecords;

namespace {

std::vector<std::pair<char, std::int32_t>> mixedList() {
    // 8 GPS (two with a blank letter, one with an odd letter) and 5 GLONASS satellites.
    return {{'G', 1}, {' ', 2}, {'G', 3}, {'R', 1}, {'R', 2}, {'G', 4}, {' ', 5},
            {'R', 3}, {'G', 6}, {'R', 4}, {'X', 7}, {'R', 5}, {'G', 8}};
}

} // namespace

TEST(SatellitesView, ChartsCountsWithTheirOffsets) {
    TempFolder dir;
    writeRecords(dir.epochs(), obs::kEpochRecSize,
                 std::vector<obs::TEpochRec>{
                     epochRec(0, 0, 0, mixedList()),
                     epochRec(0, 0, 30, {{'G', 1}, {'S', 20}, {'E', 11}, {'E', 12}})});
    const auto v = views::computeSatellitesView(dir.epochs(), 2, 30000, 13, 4);
    EXPECT_TRUE(v.messages.empty());
    EXPECT_EQ(v.STIntSat, "  Interval=30000 ms");
    EXPECT_EQ(v.STSatMax, "  Max=13");
    EXPECT_EQ(v.STSatMin, "  Min=4");
    const char* titles[] = {"ALL", "GPS", "GLO", "GEO", "GAL"};
    const double first[] = {13, 8.001, 5.002, 0.003, 0.004};
    const double second[] = {4, 1.001, 0.002, 1.003, 2.004};
    for (std::size_t s = 0; s < 5; ++s) {
        SCOPED_TRACE(titles[s]);
        EXPECT_EQ(v.series[s].title, titles[s]);
        ASSERT_EQ(v.series[s].size(), 2u);
        EXPECT_EQ(v.series[s].x, (std::vector<double>{1, 2}));
        EXPECT_DOUBLE_EQ(v.series[s].y[0], first[s]);
        EXPECT_DOUBLE_EQ(v.series[s].y[1], second[s]);
    }
}

TEST(SatellitesView, OneEpochDrawsNothingButSetsTheLabels) {
    TempFolder dir;
    writeRecords(dir.epochs(), obs::kEpochRecSize,
                 std::vector<obs::TEpochRec>{epochRec(0, 0, 0, mixedList())});
    const auto v = views::computeSatellitesView(dir.epochs(), 1, 1000, 13, 13);
    EXPECT_TRUE(v.messages.empty());
    for (const auto& s : v.series)
        EXPECT_EQ(s.size(), 0u);
    EXPECT_EQ(v.STIntSat, "  Interval=1000 ms");
    EXPECT_EQ(v.STSatMax, "  Max=13");
}

TEST(SatellitesView, ShortFileKeepsThePointsRead) {
    TempFolder dir;
    writeRecords(dir.epochs(), obs::kEpochRecSize,
                 std::vector<obs::TEpochRec>{epochRec(0, 0, 0, {{'G', 1}}),
                                             epochRec(0, 0, 1, {{'G', 1}, {'G', 2}})});
    const auto v = views::computeSatellitesView(dir.epochs(), 3, 1000, 2, 1);
    EXPECT_EQ(v.messages, std::vector<std::string>{"Unexpected end of file"});
    EXPECT_EQ(v.series[0].y, (std::vector<double>{1, 2}));
    EXPECT_EQ(v.STSatMax, "  Max=2");
}

TEST(SatellitesView, MissingFileIsToldAndKeepsMaxMin) {
    TempFolder dir;
    const auto v = views::computeSatellitesView(dir.epochs(), 5, 1000, 2, 1);
    EXPECT_EQ(v.messages, std::vector<std::string>{"Error Opening File RinexEpochs.dat ! "});
    EXPECT_EQ(v.STIntSat, "  Interval=1000 ms");
    EXPECT_FALSE(v.STSatMax.has_value());
    EXPECT_FALSE(v.STSatMin.has_value());
}
