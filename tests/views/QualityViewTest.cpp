#include "views/QualityView.h"

#include "text/GPSTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace {

views::QualityReport reportWithOneTrack() {
    views::QualityReport r;
    r.station = true;
    r.orbits = true;
    r.intervalS = 30;
    views::QualityFigures g;
    g.name = "G05";
    g.system = 'G';
    g.prn = 5;
    g.epochs = 120;
    g.arcs = 2;
    g.breaks[static_cast<std::size_t>(views::ArcBreak::Lli)] = 2;
    g.mp1SumSq = 0.25 * 99;
    g.mp1Count = 100;
    g.mp1Dof = 99;
    g.orbit = true;
    g.expected = 160;
    g.observed = 120;
    r.satellites.push_back(g);
    views::QualityFigures sys = g;
    sys.name = "G";
    sys.prn = 0;
    r.systems.push_back(sys);
    r.file = sys;
    r.file.name = "all";
    views::SatTrack t;
    t.name = "G05";
    // East on the horizon, half-way up in the south, the zenith, below the horizon.
    for (const auto& [az, el, snr, mp] :
         {std::tuple{90.0f, 0.0f, 29.0f, 0.1f}, std::tuple{180.0f, 45.0f, 45.0f, 1.5f},
          std::tuple{0.0f, 90.0f, -1.0f, 0.3f}, std::tuple{0.0f, -1.0f, 50.0f, 0.0f}}) {
        views::TrackPoint p;
        p.azimuth = az;
        p.elevation = el;
        p.snr = snr;
        p.mp1 = mp;
        p.hasMp1 = mp > 0.2f;
        t.points.push_back(p);
    }
    r.tracks.push_back(t);
    return r;
}

TEST(QualityRows, WriteEachFigureWithTheUsersSeparator) {
    const auto rows = views::qualityRows(reportWithOneTrack(), ",");
    ASSERT_EQ(rows.size(), 3u); // the satellite, its system, the file
    const std::array<std::string, 13> want = {"G05", "120",  "2",   "0,500", "-",    "2", "0",
                                              "0",   "60,0", "160", "120",   "75,0", "0"};
    EXPECT_EQ(rows[0], want);
    EXPECT_EQ(rows[2][0], "all");
    views::QualityReport bare;
    bare.satellites.push_back({});
    bare.satellites[0].name = "R01";
    const auto none = views::qualityRows(bare, ".");
    EXPECT_EQ(none[0][9], "-"); // no orbit: nothing expected, observed or below
    EXPECT_EQ(none[0][11], "-");
}

TEST(QualitySummaryLine, NamesTheSettingsAndWhyThereIsNoGeometry) {
    views::QualityReport r = reportWithOneTrack();
    r.settings.mpWindow = 20;
    EXPECT_EQ(views::qualitySummaryLine(r, ","),
              "Mask 10,0 deg, new arc after 10 intervals of 30,000 s, slips: iono 400 cm/min, "
              "MP 5,0 m; MP less a 20-epoch moving average");
    r.orbits = false;
    EXPECT_NE(views::qualitySummaryLine(r, ".").find("No ephemeris records"), std::string::npos);
    r.station = false;
    EXPECT_NE(views::qualitySummaryLine(r, ".").find("No usable APPROX POSITION XYZ"),
              std::string::npos);
}

TEST(SkyPlot, PutsNorthUpEastRightAndTheZenithInTheMiddle) {
    const views::QualityReport r = reportWithOneTrack();
    const views::SkyPlot snr = views::skyPlot(r, views::SkyColour::Snr);
    ASSERT_EQ(snr.classes.size(), 5u);
    EXPECT_EQ(snr.classes[0].title, ">= 45 dB-Hz");
    // 45 dB-Hz half-way up in the south; 29 dB-Hz east on the horizon; no SNR at the zenith;
    // nothing below the horizon.
    ASSERT_EQ(snr.classes[0].size(), 1u);
    EXPECT_NEAR(snr.classes[0].x[0], 0, 1e-9);
    EXPECT_NEAR(snr.classes[0].y[0], -45, 1e-9);
    ASSERT_EQ(snr.classes[3].size(), 1u);
    EXPECT_NEAR(snr.classes[3].x[0], 90, 1e-9);
    EXPECT_NEAR(snr.classes[3].y[0], 0, 1e-5);
    ASSERT_EQ(snr.classes[4].size(), 1u);
    EXPECT_NEAR(snr.classes[4].x[0], 0, 1e-9);
    // The name where the track begins, then the four directions.
    ASSERT_EQ(snr.labels.size(), 5u);
    EXPECT_EQ(snr.labels[0].title, "G05");
    EXPECT_NEAR(snr.labels[0].x[0], 90, 1e-9);
    EXPECT_EQ(snr.labels[1].title, "N");

    const views::SkyPlot mp = views::skyPlot(r, views::SkyColour::Multipath);
    EXPECT_EQ(mp.classes[3].size(), 1u); // 1.5 m
    EXPECT_EQ(mp.classes[1].size(), 1u); // 0.3 m
    EXPECT_EQ(mp.classes[4].size(), 1u); // without MP1
}

TEST(QualityChart, PlotsMultipathAgainstElevationAndTheIonosphereAgainstTime) {
    views::QualityReport r = reportWithOneTrack();
    const views::QualityChartSeries mp =
        views::qualityChart(r, views::QualityChart::MultipathElevation);
    ASSERT_EQ(mp.series.size(), 2u);
    EXPECT_EQ(mp.series[0].size(), 2u);
    EXPECT_FALSE(mp.dateTime);
    r.tracks[0].points[0].hasIono = true;
    r.tracks[0].points[0].iono = 4.5f;
    r.tracks[0].points[0].t = 2000 * 604800.0 + 43200; // 6 May 2018, noon
    const views::QualityChartSeries iono = views::qualityChart(r, views::QualityChart::Ionosphere);
    ASSERT_EQ(iono.series.size(), 1u);
    EXPECT_EQ(iono.series[0].title, "G");
    EXPECT_TRUE(iono.dateTime);
    EXPECT_DOUBLE_EQ(iono.series[0].x[0], text::EncodeDate(2018, 5, 6) + 0.5);
    EXPECT_FLOAT_EQ(static_cast<float>(iono.series[0].y[0]), 4.5f);
}

} // namespace
