#include "views/EpochsView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(EpochsView, NamesFirstAndLastEpochAndCounts) {
    const std::vector<std::string> list = {
        " 25/05/2009  00:00:00.000          8            1",
        " 25/05/2009  00:00:30.000          8            2",
        "*******************************************",
        "******* 2 epochs missing **************",
        "*******************************************",
        " 25/05/2009  00:02:00.000          9            3",
    };
    const auto t = views::computeEpochsView(list, 30000, 1, 2, 3);
    EXPECT_EQ(t.STStart, "Start Epoch   25/05/2009  00:00:00.000");
    EXPECT_EQ(t.STFinish, "Finish Epoch  25/05/2009  00:02:00.000");
    EXPECT_EQ(t.STInterv, "Interval  30000 ms");
    EXPECT_EQ(t.STGap, "Gaps  1   Missing Epochs  2");
    EXPECT_EQ(t.STNEpochs, "Epochs (3)");
}

TEST(EpochsView, SingleEpochStartsAndFinishesThere) {
    const std::vector<std::string> list = {" 01/01/2010  23:59:59.500          5            1"};
    const auto t = views::computeEpochsView(list, 0, 0, 0, 1);
    EXPECT_EQ(t.STStart, "Start Epoch   01/01/2010  23:59:59.500");
    EXPECT_EQ(t.STFinish, "Finish Epoch  01/01/2010  23:59:59.500");
    EXPECT_EQ(t.STInterv, "Interval  0 ms");
    EXPECT_EQ(t.STGap, "Gaps  0   Missing Epochs  0");
    EXPECT_EQ(t.STNEpochs, "Epochs (1)");
}

TEST(EpochsView, EmptyListGivesBareCaptions) {
    const auto t = views::computeEpochsView({}, 1000, 0, 0, 0);
    EXPECT_EQ(t.STStart, "Start Epoch  ");
    EXPECT_EQ(t.STFinish, "Finish Epoch ");
    EXPECT_EQ(t.STNEpochs, "Epochs (0)");
}

TEST(EpochsView, ChartTakesTheScanPointsAndAxis) {
    const std::vector<obs::ChartPoint> points = {{2, 30}, {3, 90}, {4, -30}};
    auto c = views::epochsChart(points, obs::TimesAxis{});
    EXPECT_EQ(c.ChTimes.x, (std::vector<double>{2, 3, 4}));
    EXPECT_EQ(c.ChTimes.y, (std::vector<double>{30, 90, -30}));
    EXPECT_TRUE(c.left.automatic);
    c = views::epochsChart({}, obs::TimesAxis{false, 29, 31});
    EXPECT_EQ(c.left, views::AxisRule::fixed(29, 31));
    EXPECT_EQ(c.ChTimes.size(), 0u);
}
