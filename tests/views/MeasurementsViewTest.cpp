#include "views/MeasurementsView.h"

#include "RecordFixture.h"

#include <gtest/gtest.h>

#include <utility>

using views_test::cell;
using views_test::epochRec;
using views_test::TempFolder;
using views_test::writeRecords;

namespace {

constexpr std::size_t kC1 = 0, kC2 = 1, kL1 = 5, kD1 = 8, kS1 = 11;

// The header lists C1 L1 S1 D1, in that order.
views::ObsTypeLayout fourTypes() {
    views::ObsTypeLayout l;
    l.typeCount = 4;
    l.TypePosition[kC1] = 1;
    l.TypePosition[kL1] = 2;
    l.TypePosition[kS1] = 3;
    l.TypePosition[kD1] = 4;
    return l;
}

std::vector<obs::TObsRec> sat(long double c1, std::uint8_t s1, long double l1, std::uint8_t sl1,
                              long double snr, long double d1) {
    return {cell(c1, s1), cell(l1, sl1), cell(snr, 7), cell(d1, 6)};
}

// Three epochs: G 1, R 1 and a blank-lettered 5; then R 1, G 1; then G 5, G 1.
struct ThreeEpochs {
    TempFolder dir;
    ThreeEpochs(bool shortCells = false) {
        writeRecords(dir.epochs(), obs::kEpochRecSize,
                     std::vector<obs::TEpochRec>{epochRec(0, 0, 0, {{'G', 1}, {'R', 1}, {' ', 5}}),
                                                 epochRec(0, 0, 30, {{'R', 1}, {'G', 1}}),
                                                 epochRec(0, 1, 0, {{'G', 5}, {'G', 1}})});
        std::vector<obs::TObsRec> cells;
        const auto add = [&](const std::vector<obs::TObsRec>& s) {
            cells.insert(cells.end(), s.begin(), s.end());
        };
        add(sat(20000000.123L, 8, 105000000.5L, 0, 45.25L, -1234.5L)); // 1: G 1
        add(sat(19000000.0L, 5, 0, 0, 40, 100));                       // 1: R 1
        add(sat(21000000.0L, 6, 110000000.0L, 9, 39, 200));            // 1: blank 5
        add(sat(19000001.0L, 5, 0, 0, 41, 101));                       // 2: R 1
        add(sat(0, 0, 105000100.25L, 3, 0, 0));                        // 2: G 1, no C1
        add(sat(21000002.0L, 6, 0, 0, 38, 0));                         // 3: G 5
        add(sat(20000002.0L, 0, 105000200.0L, 0, 44, -1230));          // 3: G 1
        if (shortCells)
            cells.resize(cells.size() - 2);
        writeRecords(dir.obsRecs(), obs::kObsRecSize, cells);
    }
    views::MeasurementsChart chart(std::string_view code, std::size_t type,
                                   std::int32_t written = 3) const {
        return views::chartMeasurement(dir.epochs(), dir.obsRecs(), written, fourTypes(), code,
                                       type);
    }
};

} // namespace

TEST(MeasurementsView, ChartsValuesAndStrengthsOfTheChosenSatellite) {
    const ThreeEpochs f;
    struct Case {
        const char* why;
        std::string_view code;
        std::size_t type;
        const char* title;
        std::vector<double> x, y, snX, snY;
    };
    const Case cases[] = {
        {"C1 of G 1: the blank C1 of epoch 2 is not drawn",
         "G 1",
         kC1,
         "C1 [m]",
         {1, 3},
         {20000000.123, 20000002.0},
         {1},
         {8}},
        {"L1 of G 1: a point without strength has no S/N point",
         "G 1",
         kL1,
         "L1 [cycles]",
         {1, 2, 3},
         {105000000.5, 105000100.25, 105000200.0},
         {2},
         {3}},
        {"S1 is drawn alone", "G 1", kS1, "S1 [dB*Hz]", {1, 3}, {45.25, 44}, {}, {}},
        {"Doppler is drawn alone", "G 1", kD1, "D1 [Hz]", {1, 3}, {-1234.5, -1230}, {}, {}},
        {"a blank letter is found as GPS",
         "G 5",
         kC1,
         "C1 [m]",
         {1, 3},
         {21000000.0, 21000002.0},
         {1, 3},
         {6, 6}},
        {"GLONASS by its letter",
         "R 1",
         kC1,
         "C1 [m]",
         {1, 2},
         {19000000.0, 19000001.0},
         {1, 2},
         {5, 5}},
        {"a blank letter never matches GLONASS", "R 5", kC1, "C1 [m]", {}, {}, {}, {}},
        {"a type the header lacks gives empty charts", "G 1", kC2, "C2 [m]", {}, {}, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const auto chart = f.chart(c.code, c.type);
        EXPECT_EQ(chart.title, c.title);
        EXPECT_EQ(chart.values.x, c.x);
        ASSERT_EQ(chart.values.y.size(), c.y.size());
        for (std::size_t i = 0; i < c.y.size(); ++i)
            EXPECT_DOUBLE_EQ(chart.values.y[i], c.y[i]);
        EXPECT_EQ(chart.strength.x, c.snX);
        EXPECT_EQ(chart.strength.y, c.snY);
        EXPECT_TRUE(chart.messages.empty());
        EXPECT_EQ(chart.gauge, views::GaugeSequence::AfterMessages);
        EXPECT_EQ(chart.strengthAxis, views::AxisRule::fixed(-0.5, 15.5));
    }
}

TEST(MeasurementsView, DrawsOnlyValuesAboveTheAbsenceRule) {
    struct Case {
        long double value;
        bool drawn;
        const char* why;
    };
    const Case cases[] = {
        {0, false, "a blank observation is stored as 0"},
        {0.00001L, false, "exactly the limit counts as absent"},
        {-0.000009L, false, "small negative values are absent too"},
        {0.000011L, true, "just above the limit"},
        {-0.001L, true, "a negative value is drawn"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        TempFolder dir;
        writeRecords(dir.epochs(), obs::kEpochRecSize,
                     std::vector<obs::TEpochRec>{epochRec(0, 0, 0, {{'G', 3}}),
                                                 epochRec(0, 0, 1, {{'G', 3}})});
        writeRecords(dir.obsRecs(), obs::kObsRecSize,
                     std::vector<obs::TObsRec>{cell(c.value, 1), cell(c.value, 0)});
        views::ObsTypeLayout l;
        l.typeCount = 1;
        l.TypePosition[kL1] = 1;
        const auto chart = views::chartMeasurement(dir.epochs(), dir.obsRecs(), 2, l, "G 3", kL1);
        EXPECT_EQ(chart.values.size(), c.drawn ? 2u : 0u);
        EXPECT_EQ(chart.strength.x, std::vector<double>{1}); // strength 1 counts on its own
    }
}

TEST(MeasurementsView, ShortFilesAreToldAndKeepThePointsRead) {
    {
        SCOPED_TRACE("ObsRecs.dat ends inside epoch 3");
        const ThreeEpochs f(true);
        const auto chart = f.chart("G 1", kC1);
        EXPECT_EQ(chart.messages, std::vector<std::string>{"Unexpected end of file SVs"});
        EXPECT_EQ(chart.values.x, std::vector<double>{1});
        EXPECT_EQ(chart.gauge, views::GaugeSequence::AfterMessages);
    }
    {
        SCOPED_TRACE("RinexEpochs.dat holds fewer records than were counted");
        const ThreeEpochs f;
        const auto chart = f.chart("G 1", kC1, 4);
        EXPECT_EQ(chart.messages, std::vector<std::string>{"Unexpected end of file"});
        EXPECT_EQ(chart.values.x, (std::vector<double>{1, 3}));
        EXPECT_EQ(chart.gauge, views::GaugeSequence::AfterMessages);
    }
    {
        SCOPED_TRACE("no record files");
        TempFolder dir;
        const auto chart =
            views::chartMeasurement(dir.epochs(), dir.obsRecs(), 3, fourTypes(), "G 1", kC1);
        EXPECT_EQ(chart.messages,
                  std::vector<std::string>{"Error Opening File RinexEpochs.dat ! "});
        EXPECT_EQ(chart.gauge, views::GaugeSequence::None);
    }
}

TEST(MeasurementsView, OneWrittenEpochReadsNothingButRunsTheGauge) {
    TempFolder dir; // no files at all: they are not even opened
    const auto chart =
        views::chartMeasurement(dir.epochs(), dir.obsRecs(), 1, fourTypes(), "G 1", kC1);
    EXPECT_TRUE(chart.messages.empty());
    EXPECT_EQ(chart.values.size(), 0u);
    EXPECT_EQ(chart.title, "C1 [m]");
    EXPECT_EQ(chart.gauge, views::GaugeSequence::AfterMessages);
}

TEST(MeasurementsView, EntriesBeyondSixtyArePassedOver) {
    TempFolder dir;
    std::vector<std::pair<char, std::int32_t>> many;
    for (std::int32_t k = 1; k <= 62; ++k)
        many.emplace_back('R', k);
    auto first = epochRec(0, 0, 0, many);
    writeRecords(dir.epochs(), obs::kEpochRecSize,
                 std::vector<obs::TEpochRec>{first, epochRec(0, 0, 1, {{'G', 9}})});
    std::vector<obs::TObsRec> cells(62, cell(1.5L));
    cells.push_back(cell(7.25L));
    writeRecords(dir.obsRecs(), obs::kObsRecSize, cells);
    views::ObsTypeLayout l;
    l.typeCount = 1;
    l.TypePosition[kC1] = 1;
    const auto chart = views::chartMeasurement(dir.epochs(), dir.obsRecs(), 2, l, "G 9", kC1);
    EXPECT_TRUE(chart.messages.empty());
    EXPECT_EQ(chart.values.x, std::vector<double>{2});
    EXPECT_EQ(chart.values.y, std::vector<double>{7.25});
}

TEST(MeasurementsView, ReportsTheGaugeEveryTwoThousandEpochs) {
    TempFolder dir;
    std::vector<obs::TEpochRec> epochs(5000, epochRec(0, 0, 0, {{'G', 1}}));
    writeRecords(dir.epochs(), obs::kEpochRecSize, epochs);
    writeRecords(dir.obsRecs(), obs::kObsRecSize, std::vector<obs::TObsRec>(5000, cell(2)));
    views::ObsTypeLayout l;
    l.typeCount = 1;
    l.TypePosition[kC1] = 1;
    std::vector<int> shown;
    const auto chart = views::chartMeasurement(dir.epochs(), dir.obsRecs(), 5000, l, "G 1", kC1,
                                               [&](int percent) { shown.push_back(percent); });
    EXPECT_EQ(shown, (std::vector<int>{40, 80}));
    EXPECT_EQ(chart.values.size(), 5000u);
}

TEST(MeasurementsView, ChartsTheNewTypesOfTodaysSatellites) {
    // The header lists C7 L8 D6 S7; two epochs of E36 and S58.
    const auto code = [](std::string_view type) {
        return static_cast<std::size_t>(*header::ObsTypeCode(type));
    };
    views::ObsTypeLayout l;
    l.typeCount = 4;
    l.TypePosition[code("C7")] = 1;
    l.TypePosition[code("L8")] = 2;
    l.TypePosition[code("D6")] = 3;
    l.TypePosition[code("S7")] = 4;
    TempFolder dir;
    writeRecords(dir.epochs(), obs::kEpochRecSize,
                 std::vector<obs::TEpochRec>{epochRec(0, 0, 0, {{'E', 36}, {'S', 58}}),
                                             epochRec(0, 0, 30, {{'S', 58}, {'E', 36}})});
    writeRecords(
        dir.obsRecs(), obs::kObsRecSize,
        std::vector<obs::TObsRec>{
            cell(23000000.5L, 7), cell(120000000.25L, 6), cell(-900.5L, 5), cell(47, 0),   // 1: E36
            cell(38000000.0L, 4), cell(0, 0), cell(0, 0), cell(40, 0),                     // 1: S58
            cell(38000001.0L, 3), cell(0, 0), cell(0, 0), cell(41, 0),                     // 2: S58
            cell(23000001.5L, 8), cell(120000100.25L, 9), cell(-901.5L, 2), cell(48, 0)}); // 2: E36
    const struct {
        std::string_view sat, type, title;
        std::vector<double> y, strength;
    } kCases[] = {
        {"E36", "C7", "C7 [m]", {23000000.5, 23000001.5}, {7, 8}},
        {"E36", "L8", "L8 [cycles]", {120000000.25, 120000100.25}, {6, 9}},
        {"E36", "D6", "D6 [Hz]", {-900.5, -901.5}, {}}, // Doppler: no signal strength
        {"E36", "S7", "S7 [dB*Hz]", {47, 48}, {}},
        {"S58", "C7", "C7 [m]", {38000000.0, 38000001.0}, {4, 3}},
        {"S58", "L8", "L8 [cycles]", {}, {}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.sat) + " " + std::string(c.type));
        const auto chart =
            views::chartMeasurement(dir.epochs(), dir.obsRecs(), 2, l, c.sat, code(c.type));
        EXPECT_EQ(chart.title, c.title);
        EXPECT_EQ(chart.values.y, c.y);
        EXPECT_EQ(chart.strength.y, c.strength);
    }
}

TEST(MeasurementsView, GroupItemsShowSeenSatellitesOrN) {
    using header::SatSystem;
    obs::SatellitesSeen seen;
    for (const auto& [system, number] : {std::pair{SatSystem::GPS, 3},
                                         {SatSystem::GPS, 32},
                                         {SatSystem::GEO, 5},
                                         {SatSystem::GEO, 20},
                                         {SatSystem::GEO, 38},
                                         {SatSystem::GEO, 58},
                                         {SatSystem::GLONASS, 24},
                                         {SatSystem::Galileo, 36}})
        seen.mark(system, number);
    const auto g = views::satelliteItems(seen);
    ASSERT_EQ(g.RGMGPS.size(), 32u);
    ASSERT_EQ(g.RGMGLO.size(), 24u);
    ASSERT_EQ(g.RGMGEO.size(), 39u); // S20 to S58
    ASSERT_EQ(g.RGMGAL.size(), 36u); // E01 to E36
    EXPECT_EQ(g.RGMGPS[0], "N");
    EXPECT_EQ(g.RGMGPS[2], "3");
    EXPECT_EQ(g.RGMGPS[31], "32");
    EXPECT_EQ(g.RGMGLO[23], "24");
    EXPECT_EQ(g.RGMGEO[0], "20"); // GEO item 0 is PRN 20; PRN 5 has no item
    EXPECT_EQ(g.RGMGEO[18], "38");
    EXPECT_EQ(g.RGMGEO[38], "58");
    EXPECT_EQ(std::count(g.RGMGEO.begin(), g.RGMGEO.end(), "N"), 36);
    EXPECT_EQ(g.RGMGAL[35], "36");
    EXPECT_EQ(std::count(g.RGMGAL.begin(), g.RGMGAL.end(), "N"), 35);
}

TEST(MeasurementsView, OpensOnTheFirstPresentGpsElseGlonassSatellite) {
    obs::SatellitesSeen seen;
    seen.mark(header::SatSystem::GLONASS, 7);
    seen.mark(header::SatSystem::Galileo, 1);
    auto c = views::openingChoice(seen);
    EXPECT_EQ(c.system, views::SatSystem::GLONASS);
    EXPECT_EQ(c.item, 6);
    EXPECT_EQ(c.code, "R 7");
    seen.mark(header::SatSystem::GPS, 12);
    seen.mark(header::SatSystem::GPS, 30);
    c = views::openingChoice(seen);
    EXPECT_EQ(c.system, views::SatSystem::GPS);
    EXPECT_EQ(c.item, 11);
    EXPECT_EQ(c.code, "G12");
    c = views::openingChoice(obs::SatellitesSeen{});
    EXPECT_EQ(c.item, -1);
    EXPECT_EQ(c.code, "G 1");
}

TEST(MeasurementsView, SatelliteCodes) {
    EXPECT_EQ(views::codeOfItem(views::SatSystem::GPS, 0), "G 1");
    EXPECT_EQ(views::codeOfItem(views::SatSystem::GLONASS, 4), "R 5");
    EXPECT_EQ(views::codeOfItem(views::SatSystem::GEO, 0), "S20");
    EXPECT_EQ(views::codeOfItem(views::SatSystem::GEO, 18), "S38");
    EXPECT_EQ(views::codeOfItem(views::SatSystem::GEO, 38), "S58");
    EXPECT_EQ(views::codeOfItem(views::SatSystem::Galileo, 35), "E36");
    EXPECT_EQ(views::codeOfItem(views::SatSystem::Galileo, 2), "E 3");
    const auto c = views::parseSatelliteCode("E12");
    EXPECT_EQ(c.letter, 'E');
    EXPECT_EQ(c.prn, 12);
    EXPECT_EQ(views::parseSatelliteCode("G 7").prn, 7);
    EXPECT_EQ(views::parseSatelliteCode("Gx7").prn, 0);
}

TEST(MeasurementsSelection, FollowsThePanelsChoices) {
    using Kind = views::ChartRequest::Kind;
    obs::SatellitesSeen seen;
    seen.mark(header::SatSystem::GPS, 4);
    seen.mark(header::SatSystem::GPS, 9);
    seen.mark(header::SatSystem::GLONASS, 2);
    views::MeasurementsSelection sel;

    auto r = sel.open(seen);
    EXPECT_EQ(r.kind, Kind::Measurement);
    EXPECT_EQ(r.code, "G 4");
    EXPECT_EQ(r.index, kC1);
    EXPECT_EQ(sel.selectedItem(views::SatSystem::GPS), 3);
    EXPECT_EQ(sel.groups().RGMGPS[3], "4");

    r = sel.typeChosen(kL1);
    EXPECT_EQ(r.kind, Kind::Measurement);
    EXPECT_EQ(r.code, "G 4");
    EXPECT_EQ(r.index, kL1);

    r = sel.satelliteChosen(views::SatSystem::GLONASS, 1, 0);
    EXPECT_EQ(r.kind, Kind::Measurement);
    EXPECT_EQ(r.code, "R 2");
    EXPECT_EQ(r.index, kL1);
    EXPECT_EQ(sel.selectedItem(views::SatSystem::GPS), -1);

    r = sel.satelliteChosen(views::SatSystem::GLONASS, 0, 0);
    EXPECT_EQ(r.kind, Kind::Clear); // an "N" item only clears the charts
    EXPECT_EQ(sel.selectedItem(views::SatSystem::GLONASS), 0);

    r = sel.combinationOk(1);
    EXPECT_EQ(r.kind, Kind::Clear); // GLONASS has no combinations
    EXPECT_FALSE(sel.measurementMode());
    EXPECT_EQ(sel.selectedType(), -1);

    r = sel.satelliteChosen(views::SatSystem::GPS, 8, 2);
    EXPECT_EQ(r.kind, Kind::Combination);
    EXPECT_EQ(r.code, "G 9");
    EXPECT_EQ(r.index, 2u);
    r = sel.satelliteChosen(views::SatSystem::Galileo, 0, 2);
    EXPECT_EQ(r.kind, Kind::Clear);
    r = sel.satelliteChosen(views::SatSystem::GPS, 3, 3);
    r = sel.combinationOk(3);
    EXPECT_EQ(r.kind, Kind::Combination);
    EXPECT_EQ(r.code, "G 4");

    r = sel.typeChosen(kC1);
    EXPECT_TRUE(sel.measurementMode());
    EXPECT_EQ(r.kind, Kind::Measurement);
    EXPECT_EQ(r.code, "G 4");
}

TEST(MeasurementsSelection, NothingSeenChartsG1AndATypeWithoutSatelliteFindsNothing) {
    views::MeasurementsSelection sel;
    const auto r = sel.open(obs::SatellitesSeen{});
    EXPECT_EQ(r.code, "G 1");
    EXPECT_EQ(sel.selectedItem(views::SatSystem::GPS), -1);
    EXPECT_EQ(sel.typeChosen(kC2).code, "G 0");
}
