#include "views/CombinationsView.h"

#include "RecordFixture.h"

#include <gtest/gtest.h>

#include <cmath>

using views_test::cell;
using views_test::epochRec;
using views_test::TempFolder;
using views_test::writeRecords;

namespace {

constexpr std::size_t kC1 = 0, kP1 = 3, kP2 = 4, kL1 = 5, kL2 = 6;

// The textbook forms of the code multipath combinations, with a = (f1/f2)^2.
double textbookMP1(double p1, double l1, double l2) {
    const double c = 299792458.0, f1 = 1575420000.0, f2 = 1227600000.0;
    const double a = (f1 / f2) * (f1 / f2);
    return p1 - (1 + 2 / (a - 1)) * (c / f1) * l1 + (2 / (a - 1)) * (c / f2) * l2;
}
double textbookMP2(double p2, double l1, double l2) {
    const double c = 299792458.0, f1 = 1575420000.0, f2 = 1227600000.0;
    const double a = (f1 / f2) * (f1 / f2);
    return p2 - (2 * a / (a - 1)) * (c / f1) * l1 + (2 * a / (a - 1) - 1) * (c / f2) * l2;
}

// The header lists C1 P1 P2 L1 L2, in that order.
views::ObsTypeLayout fiveTypes() {
    views::ObsTypeLayout l;
    l.typeCount = 5;
    l.TypePosition[kC1] = 1;
    l.TypePosition[kP1] = 2;
    l.TypePosition[kP2] = 3;
    l.TypePosition[kL1] = 4;
    l.TypePosition[kL2] = 5;
    return l;
}

} // namespace

TEST(CombinationsView, WorkedValues) {
    views::CombinationInputs in;
    in.C1 = 20000000.000L;
    in.P2 = 20000003.000L;
    in.L1 = 1000.000L;
    in.L2 = 779.000L;
    struct Case {
        std::size_t item;
        double expected;
        double tolerance;
        const char* why;
    };
    const Case cases[] = {
        {0, -3.0, 1e-9, "P - P2"},
        {1, 0.2833333333333333, 1e-9, "1000 - 1.28333... x 779"},
        {2, textbookMP1(20000000.0, 1000.0, 779.0), 1e-6, "multipath P1, textbook form"},
        {3, textbookMP2(20000003.0, 1000.0, 779.0), 1e-6, "multipath P2, textbook form"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const auto y = views::combinationValue(c.item, in);
        ASSERT_TRUE(y.has_value());
        EXPECT_NEAR(static_cast<double>(*y), c.expected, c.tolerance);
    }
}

TEST(CombinationsView, CodeIsC1ElseP1AndNeedsEveryValue) {
    views::CombinationInputs onlyP1;
    onlyP1.P1 = 20000001.0L;
    onlyP1.P2 = 20000003.0L;
    EXPECT_DOUBLE_EQ(static_cast<double>(*views::combinationValue(0, onlyP1)), -2.0);
    onlyP1.C1 = 20000000.5L;
    EXPECT_DOUBLE_EQ(static_cast<double>(*views::combinationValue(0, onlyP1)), -2.5);

    views::CombinationInputs noP2;
    noP2.C1 = 20000000.0L;
    noP2.L1 = 1000.0L;
    noP2.L2 = 779.0L;
    EXPECT_FALSE(views::combinationValue(0, noP2));
    EXPECT_TRUE(views::combinationValue(1, noP2));
    EXPECT_FALSE(views::combinationValue(2, noP2));
    EXPECT_FALSE(views::combinationValue(3, noP2));
}

TEST(CombinationsView, ChartsAGpsSatelliteEpochByEpoch) {
    TempFolder dir;
    writeRecords(dir.epochs(), obs::kEpochRecSize,
                 std::vector<obs::TEpochRec>{epochRec(0, 0, 0, {{'R', 2}, {' ', 4}}),
                                             epochRec(0, 0, 1, {{'G', 4}}),
                                             epochRec(0, 0, 2, {{'G', 4}})});
    writeRecords(
        dir.obsRecs(), obs::kObsRecSize,
        std::vector<obs::TObsRec>{
            cell(1),        cell(1),        cell(1),           cell(1),    cell(1), // R 2
            cell(20000000), cell(20000001), cell(20000003),    cell(1000), cell(779),
            cell(0),        cell(20000001), cell(20000003.5L), cell(1000), cell(779),   // no C1
            cell(20000000), cell(20000001), cell(20000003),    cell(0),    cell(779)}); // no L1
    struct Case {
        std::size_t item;
        std::vector<double> x, y;
    };
    const Case cases[] = {
        {0, {1, 2, 3}, {-3, -2.5, -3}},
        {1, {1, 2}, {0.2833333333333333, 0.2833333333333333}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(views::kComObsItems[c.item]);
        const auto chart =
            views::chartCombination(dir.epochs(), dir.obsRecs(), 3, fiveTypes(), "G 4", c.item);
        EXPECT_EQ(chart.title, views::kComObsTitles[c.item]);
        EXPECT_EQ(chart.values.x, c.x);
        ASSERT_EQ(chart.values.y.size(), c.y.size());
        for (std::size_t i = 0; i < c.y.size(); ++i)
            EXPECT_NEAR(chart.values.y[i], c.y[i], 1e-7);
        EXPECT_EQ(chart.strength.size(), 0u);
        EXPECT_TRUE(chart.messages.empty());
        EXPECT_EQ(chart.gauge, views::GaugeSequence::AfterMessages);
    }
    const auto mp = views::chartCombination(dir.epochs(), dir.obsRecs(), 3, fiveTypes(), "G 4", 2);
    EXPECT_EQ(mp.values.x, (std::vector<double>{1, 2}));
    EXPECT_NEAR(mp.values.y[1], textbookMP1(20000001.0, 1000.0, 779.0), 1e-6);

    const auto glonass =
        views::chartCombination(dir.epochs(), dir.obsRecs(), 3, fiveTypes(), "R 2", 0);
    EXPECT_EQ(glonass.values.size(), 0u);
    EXPECT_FALSE(glonass.title.has_value()); // the values chart keeps its title
    EXPECT_EQ(glonass.gauge, views::GaugeSequence::None);

    const auto shortEpochs =
        views::chartCombination(dir.epochs(), dir.obsRecs(), 4, fiveTypes(), "G 4", 0);
    EXPECT_EQ(shortEpochs.messages, std::vector<std::string>{"Unexpected end of file Epochs"});
    EXPECT_EQ(shortEpochs.gauge, views::GaugeSequence::BeforeMessages);
    EXPECT_EQ(shortEpochs.values.size(), 3u);
}

TEST(CombinationsView, AHeaderWithoutP2DrawsOnlyThePhaseCombination) {
    TempFolder dir;
    writeRecords(
        dir.epochs(), obs::kEpochRecSize,
        std::vector<obs::TEpochRec>{epochRec(0, 0, 0, {{'G', 1}}), epochRec(0, 0, 1, {{'G', 1}})});
    writeRecords(dir.obsRecs(), obs::kObsRecSize,
                 std::vector<obs::TObsRec>{cell(20000000), cell(1000), cell(779), cell(20000000),
                                           cell(1000), cell(779)});
    views::ObsTypeLayout l; // C1 L1 L2
    l.typeCount = 3;
    l.TypePosition[kC1] = 1;
    l.TypePosition[kL1] = 2;
    l.TypePosition[kL2] = 3;
    const std::size_t drawn[] = {0, 2, 0, 0};
    for (std::size_t item = 0; item < 4; ++item) {
        SCOPED_TRACE(views::kComObsItems[item]);
        const auto chart = views::chartCombination(dir.epochs(), dir.obsRecs(), 2, l, "G 1", item);
        EXPECT_EQ(chart.values.size(), drawn[item]);
    }
}

TEST(CombinationsView, ShortObservationFileAndOneEpoch) {
    TempFolder dir;
    writeRecords(
        dir.epochs(), obs::kEpochRecSize,
        std::vector<obs::TEpochRec>{epochRec(0, 0, 0, {{'G', 1}}), epochRec(0, 0, 1, {{'G', 1}})});
    writeRecords(
        dir.obsRecs(), obs::kObsRecSize,
        std::vector<obs::TObsRec>{cell(20000000), cell(1), cell(20000003), cell(1000), cell(779)});
    const auto shortCells =
        views::chartCombination(dir.epochs(), dir.obsRecs(), 2, fiveTypes(), "G 1", 0);
    EXPECT_EQ(shortCells.messages, std::vector<std::string>{"Unexpected end of file SVs"});
    EXPECT_EQ(shortCells.gauge, views::GaugeSequence::AfterMessages);
    EXPECT_EQ(shortCells.values.x, std::vector<double>{1});

    const auto one = views::chartCombination(dir.epochs(), dir.obsRecs(), 1, fiveTypes(), "G 1", 0);
    EXPECT_TRUE(one.messages.empty());
    EXPECT_EQ(one.values.size(), 0u);
    EXPECT_EQ(one.gauge, views::GaugeSequence::None);
}
