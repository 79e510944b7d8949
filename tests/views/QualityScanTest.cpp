#include "views/QualityScan.h"

#include "RecordFixture.h"

#include "text/RecordFile.h"
#include "views/CombinationArcs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using views_test::TempFolder;

constexpr double kF1 = 1575.42e6, kF2 = 1227.60e6;
constexpr double kL1 = views::kLight / kF1, kL2 = views::kLight / kF2;
constexpr double kAlpha = (kF1 / kF2) * (kF1 / kF2);

// The header's types: C1 P1 P2 L1 L2 S1.
views::ObsTypeLayout layout() {
    views::ObsTypeLayout l;
    l.typeCount = 6;
    l.TypePosition[0] = 1;  // C1
    l.TypePosition[3] = 2;  // P1
    l.TypePosition[4] = 3;  // P2
    l.TypePosition[5] = 4;  // L1
    l.TypePosition[6] = 5;  // L2
    l.TypePosition[11] = 6; // S1
    return l;
}

// One satellite's six cells at epoch j: a range, a slow ionosphere and code multipath of +m1
// and -m1 (+m2, -m2) in turn; `dual` false leaves P2 and L2 blank.
std::vector<obs::TObsRec> cellsOf(int j, double m1, double m2, bool dual = true) {
    const double rho = 2.1e7 + 100.0 * j;
    const double i1 = 3.0 + 0.001 * j;
    const double sign = j % 2 == 0 ? 1 : -1;
    std::vector<obs::TObsRec> c(6);
    c[0].value = rho + i1 + 0.3; // C1, not used while P1 is there
    c[1].value = rho + i1 + sign * m1;
    c[3].value = (rho - i1) / kL1 + 1000;
    c[5].value = 45;
    if (dual) {
        c[2].value = rho + kAlpha * i1 + sign * m2;
        c[4].value = (rho - kAlpha * i1) / kL2 - 2000;
    }
    return c;
}

struct EpochSpec {
    obs::TEpochRec epoch;
    std::vector<std::vector<obs::TObsRec>> sats;
};

struct Files {
    TempFolder dir;
    views::QualitySources sources;

    explicit Files(const std::vector<EpochSpec>& epochs) {
        text::RecordFile e, o;
        e.create(dir.epochs(), obs::kEpochRecSize);
        o.create(dir.obsRecs(), obs::kObsRecSize);
        for (const EpochSpec& s : epochs) {
            e.append(obs::encode(s.epoch));
            for (const auto& cells : s.sats)
                for (const obs::TObsRec& c : cells)
                    o.append(obs::encode(c));
        }
        e.flush();
        o.flush();
        sources.rinexEpochs = dir.epochs();
        sources.obsRecs = dir.obsRecs();
        sources.writtenEpochs = static_cast<std::int32_t>(epochs.size());
        sources.layout = layout();
        sources.intervalS = 30;
    }
};

// Epoch j at 30 s steps from 2009-05-25 00:00:00.
obs::TEpochRec epochAt(int j, const std::vector<std::pair<char, std::int32_t>>& sats) {
    return views_test::epochRec(j / 120, j / 2 % 60, 30.0L * (j % 2), sats);
}

const views::QualityFigures& satellite(const views::QualityReport& r, const std::string& name) {
    for (const views::QualityFigures& f : r.satellites)
        if (f.name == name)
            return f;
    ADD_FAILURE() << "no " << name;
    static const views::QualityFigures none;
    return none;
}

std::size_t at(views::ArcBreak b) {
    return static_cast<std::size_t>(b);
}

TEST(ComputeQuality, SplitsArcsAtGapsAndTakesEachArcsMeanOffMultipath) {
    // G05 on two frequencies for 40 epochs, 20 minutes of nothing, 20 epochs more; G07 on L1
    // only throughout.
    std::vector<EpochSpec> epochs;
    for (int j = 0; j < 100; ++j) {
        if (j >= 40 && j < 80)
            continue;
        epochs.push_back({epochAt(j, {{'G', 5}, {'G', 7}}),
                          {cellsOf(j, 0.5, 0.2), cellsOf(j, 0.5, 0.2, false)}});
    }
    Files f(epochs);
    std::vector<std::tuple<std::int32_t, std::string, views::ArcBreak>> breaks;
    views::QualityOptions options;
    options.onBreak = [&](std::int32_t epoch, double, std::string_view sat, views::ArcBreak b) {
        breaks.emplace_back(epoch, std::string(sat), b);
    };
    const views::QualityReport r = views::computeQuality(f.sources, {}, options);
    EXPECT_FALSE(r.station);
    ASSERT_EQ(r.satellites.size(), 2u);

    const views::QualityFigures& g05 = satellite(r, "G05");
    EXPECT_EQ(g05.epochs, 60);
    EXPECT_EQ(g05.arcs, 2);
    EXPECT_EQ(g05.breaks[at(views::ArcBreak::Start)], 1);
    EXPECT_EQ(g05.breaks[at(views::ArcBreak::Gap)], 1);
    EXPECT_EQ(g05.slips(), 0);
    EXPECT_FALSE(g05.obsPerSlip());
    // +-0.5 m about each arc's mean, 60 values less two means.
    EXPECT_NEAR(*g05.mp1Rms(), std::sqrt(60 * 0.25 / 58), 1e-6);
    EXPECT_NEAR(*g05.mp2Rms(), std::sqrt(60 * 0.04 / 58), 1e-6);
    EXPECT_NEAR(*g05.ionoMean(), 3.0 + 0.001 * (19.5 * 40 + 89.5 * 20) / 60, 1e-3);
    EXPECT_NEAR(*g05.ionoRateRms(), 0.001 * 2 * 100, 1e-4); // cm/min
    EXPECT_EQ(g05.withoutOrbit, 60); // no position in the header: no geometry at all
    EXPECT_EQ(g05.observed + g05.below + g05.expected, 0);

    const views::QualityFigures& g07 = satellite(r, "G07");
    EXPECT_EQ(g07.arcs, 2);
    EXPECT_FALSE(g07.mp1Rms());
    EXPECT_FALSE(g07.ionoRateRms());

    ASSERT_EQ(r.systems.size(), 1u);
    EXPECT_EQ(r.systems[0].name, "G");
    EXPECT_EQ(r.systems[0].epochs, 120);
    EXPECT_EQ(r.file.arcs, 4);
    EXPECT_NEAR(*r.file.mp1Rms(), *g05.mp1Rms(), 1e-9);

    using B = views::ArcBreak;
    const decltype(breaks) want = {
        {1, "G05", B::Start}, {1, "G07", B::Start}, {41, "G05", B::Gap}, {41, "G07", B::Gap}};
    EXPECT_EQ(breaks, want);
}

TEST(ComputeQuality, TakesAMovingAverageOffMultipathWhenAsked) {
    std::vector<EpochSpec> epochs;
    for (int j = 0; j < 40; ++j)
        epochs.push_back({epochAt(j, {{'G', 5}}), {cellsOf(j, 0.5, 0.2)}});
    Files f(epochs);
    views::QualitySettings s;
    s.mpWindow = 3;
    const views::QualityReport r = views::computeQuality(f.sources, s);
    // Inside the arc the mean of three values is -+a/3, so the residual is 4a/3; at the two
    // ends the mean of two values is 0.
    const double a = 0.5;
    EXPECT_NEAR(*satellite(r, "G05").mp1Rms(),
                std::sqrt((38 * (16.0 / 9) * a * a + 2 * a * a) / 40), 1e-6);
}

TEST(ComputeQuality, EndsEveryArcAtANewOccupationAndAPowerFailure) {
    std::vector<EpochSpec> epochs;
    for (int j = 0; j < 30; ++j) {
        EpochSpec e{epochAt(j, {{'G', 5}, {' ', 9}}), {cellsOf(j, 0, 0), cellsOf(j, 0, 0)}};
        if (j >= 10)
            e.epoch.occupation.markerName = "NEW SITE";
        if (j == 20)
            e.epoch.flag = 1;
        epochs.push_back(e);
    }
    Files f(epochs);
    const views::QualityReport r = views::computeQuality(f.sources, {});
    for (const char* sat : {"G05", "G09"}) {
        SCOPED_TRACE(sat);
        const views::QualityFigures& g = satellite(r, sat);
        EXPECT_EQ(g.arcs, 3);
        EXPECT_EQ(g.breaks[at(views::ArcBreak::Event)], 2);
        EXPECT_EQ(g.slips(), 0);
    }
}

TEST(ComputeQuality, CountsSlipsByCause) {
    std::vector<EpochSpec> epochs;
    for (int j = 0; j < 60; ++j) {
        std::vector<obs::TObsRec> c = cellsOf(j, 0.3, 0.3);
        if (j >= 20)
            c[3].value += 20; // an L1 slip the phase delay sees
        if (j == 40)
            c[3].lli = 1; // a receiver's loss of lock
        if (j >= 50)
            c[2].value += 9; // a P2 step
        epochs.push_back({epochAt(j, {{'G', 5}}), {c}});
    }
    Files f(epochs);
    const views::QualityReport r = views::computeQuality(f.sources, {});
    const views::QualityFigures& g = satellite(r, "G05");
    EXPECT_EQ(g.breaks[at(views::ArcBreak::Iono)], 1);
    EXPECT_EQ(g.breaks[at(views::ArcBreak::Lli)], 1);
    EXPECT_EQ(g.breaks[at(views::ArcBreak::Multipath)], 1);
    EXPECT_EQ(g.slips(), 3);
    EXPECT_EQ(g.arcs, 4);
    EXPECT_DOUBLE_EQ(*g.obsPerSlip(), 20.0);
    // Stricter rules find nothing more, looser ones fewer.
    views::QualitySettings loose;
    loose.ionoRateCmMin = 2000;
    loose.mpJumpM = 20;
    const views::QualityReport looser = views::computeQuality(f.sources, loose);
    const views::QualityFigures& l = satellite(looser, "G05");
    EXPECT_EQ(l.slips(), 1);
}

TEST(ComputeQuality, ReadsOneSatelliteAloneAndTellsShortRecordFiles) {
    std::vector<EpochSpec> epochs;
    for (int j = 0; j < 10; ++j)
        epochs.push_back({epochAt(j, {{'G', 5}, {'r', 7}}), {cellsOf(j, 0, 0), cellsOf(j, 0, 0)}});
    Files f(epochs);
    const views::QualityReport all = views::computeQuality(f.sources, {});
    ASSERT_EQ(all.satellites.size(), 2u);
    EXPECT_EQ(all.satellites[1].name, "R07"); // a lower-case letter as written
    // GLONASS without its channel from a navigation file: no multipath.
    EXPECT_FALSE(all.satellites[1].mp1Rms());

    views::QualityOptions one;
    one.only = nav::OrbitSat{'G', 5};
    const views::QualityReport r = views::computeQuality(f.sources, {}, one);
    ASSERT_EQ(r.satellites.size(), 1u);
    EXPECT_EQ(r.satellites[0].epochs, 10);

    f.sources.writtenEpochs = 12; // the scan counted more epochs than the files hold
    EXPECT_EQ(views::computeQuality(f.sources, {}).messages,
              std::vector<std::string>{"Unexpected end of file"});
    std::filesystem::resize_file(f.dir.obsRecs(), 6 * 16 * 15);
    f.sources.writtenEpochs = 10;
    EXPECT_EQ(views::computeQuality(f.sources, {}).messages,
              std::vector<std::string>{"Unexpected end of file SVs"});
}

TEST(ComputeQuality, ComparesTheEpochsSeenWithThoseTheOrbitExpects) {
    // A GPS satellite whose orbit passes over the station near its reference time.
    nav::TEphemGPSRec r;
    r.prn = 5;
    r.epoch = {9, 5, 25, 0, 10, 0};
    r.toe = 86400 + 600; // Monday 00:10
    r.sqrtA = 5153.6;
    r.i0 = 0.3;
    r.omega0 = 0.1;
    std::vector<EpochSpec> epochs;
    for (int j = 0; j < 40; ++j) {
        if (j >= 10 && j < 15)
            continue; // five epochs the receiver missed
        epochs.push_back({epochAt(j, {{'G', 5}}), {cellsOf(j, 0.5, 0.5)}});
    }
    Files f(epochs);
    {
        text::RecordFile gps;
        gps.create(f.dir.file("gps.dat"), nav::kEphemGPSSize);
        gps.append(nav::encode(r));
        gps.flush();
    }
    f.sources.ephemerides.gps = f.dir.file("gps.dat");
    // The station under the satellite at its reference time.
    const auto orbit = nav::keplerOrbitOf(r);
    ASSERT_TRUE(orbit);
    const nav::Ecef sat = nav::keplerState(*orbit, orbit->toe).pos;
    const double k = 6378137.0 / nav::norm(sat);
    f.sources.approxX = sat.x * k;
    f.sources.approxY = sat.y * k;
    f.sources.approxZ = sat.z * k;

    double highest = 0;
    views::QualityOptions options;
    options.onSky = [&](double, std::string_view, double, double el) {
        highest = std::max(highest, el);
    };
    options.keepTracks = true;
    const views::QualityReport q = views::computeQuality(f.sources, {}, options);
    EXPECT_TRUE(q.station);
    EXPECT_TRUE(q.orbits);
    EXPECT_GT(highest, 89.0);
    const views::QualityFigures& g = satellite(q, "G05");
    EXPECT_EQ(g.expected, 40);
    EXPECT_EQ(g.observed, 35);
    EXPECT_EQ(g.below, 0);
    ASSERT_EQ(q.tracks.size(), 1u);
    ASSERT_EQ(q.tracks[0].points.size(), 35u);
    EXPECT_TRUE(q.tracks[0].points[0].hasMp1);
    EXPECT_NEAR(std::fabs(q.tracks[0].points[0].mp1), 0.5, 0.05);
    EXPECT_FLOAT_EQ(q.tracks[0].points[0].snr, 45);
    // A higher mask than the satellite reaches: nothing expected, everything below.
    views::QualitySettings high;
    high.maskDeg = 89.99;
    const views::QualityReport higher = views::computeQuality(f.sources, high);
    const views::QualityFigures& h = satellite(higher, "G05");
    EXPECT_LT(h.expected, 40);
    EXPECT_EQ(h.observed + h.below, 35);
}

TEST(CombinationArcs, TakeEachArcsMeanOffAndMarkTheSlips) {
    // G05 for 40 epochs with a loss of lock at epoch 21 (record 21), a gap, 20 epochs more.
    std::vector<EpochSpec> epochs;
    for (int j = 0; j < 100; ++j) {
        if (j >= 40 && j < 80)
            continue;
        std::vector<obs::TObsRec> c = cellsOf(j, 0.5, 0.2);
        if (j >= 20)
            c[3].value += 7; // the slip the receiver flagged: seven L1 cycles
        if (j == 20)
            c[3].lli = 1;
        epochs.push_back({epochAt(j, {{'G', 5}, {'R', 7}}), {c, cellsOf(j, 0, 0)}});
    }
    Files f(epochs);
    const views::MeasurementsChart plain =
        views::chartCombination(f.sources.rinexEpochs, f.sources.obsRecs, f.sources.writtenEpochs,
                                f.sources.layout, "G 5", 3);
    const views::CombinationArcsChart byArcs = views::chartCombinationByArcs(f.sources, "G 5", 3);
    ASSERT_EQ(byArcs.chart.values.size(), plain.values.size());
    EXPECT_EQ(byArcs.chart.title, plain.title);
    // Each arc's values of "Multipath for P2" now scatter about zero: +-0.2 m.
    for (const auto& [first, last] : {std::pair{0, 20}, std::pair{20, 40}, std::pair{40, 60}}) {
        double sum = 0;
        for (int i = first; i < last; ++i) {
            sum += byArcs.chart.values.y[static_cast<std::size_t>(i)];
            EXPECT_NEAR(std::fabs(byArcs.chart.values.y[static_cast<std::size_t>(i)]), 0.2, 1e-3);
        }
        EXPECT_NEAR(sum, 0, 1e-6);
    }
    // The flagged slip is marked where it is, at its value; the gap is no slip.
    ASSERT_EQ(byArcs.slips.size(), 1u);
    EXPECT_EQ(byArcs.slips.x[0], 21);
    EXPECT_DOUBLE_EQ(byArcs.slips.y[0], byArcs.chart.values.y[20]);
    EXPECT_EQ(byArcs.slips.title, "Slips");
    // Satellites without combinations stay empty.
    const views::CombinationArcsChart glonass = views::chartCombinationByArcs(f.sources, "R 7", 2);
    EXPECT_EQ(glonass.chart.values.size(), 0u);
    EXPECT_EQ(glonass.slips.size(), 0u);
}

TEST(IsoGpsTime, WritesMillisecondsAndCarriesRounding) {
    const double day = *nav::GpsSecondsOf({2026, 12, 9, 0, 0, 0});
    EXPECT_EQ(views::isoGpsTime(day), "2026-12-09T00:00:00.000");
    EXPECT_EQ(views::isoGpsTime(day + 30.0004), "2026-12-09T00:00:30.000");
    EXPECT_EQ(views::isoGpsTime(day - 0.0004), "2026-12-09T00:00:00.000");
    EXPECT_EQ(views::isoGpsTime(day - 0.25), "2026-12-08T23:59:59.750");
    EXPECT_EQ(views::isoGpsTime(0), "1980-01-06T00:00:00.000");
    EXPECT_EQ(views::satelliteName('S', 36), "S36");
    EXPECT_EQ(views::satelliteName('E', 3), "E03");
}

} // namespace
