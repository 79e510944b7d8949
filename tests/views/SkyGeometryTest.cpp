#include "views/SkyGeometry.h"

#include "RecordFixture.h"

#include "text/RecordFile.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;

TEST(StationFrame, FindsTheGeodeticPlaceOfAnApproximatePosition) {
    // The sample set's station was placed at 46.5210 N, 6.5660 E, 412 m and written as XYZ.
    const auto s = views::stationFrame(4367923.2439, 502759.4648, 4605585.9325);
    ASSERT_TRUE(s);
    EXPECT_NEAR(s->latitude * 180 / kPi, 46.5210, 1e-8);
    EXPECT_NEAR(s->longitude * 180 / kPi, 6.5660, 1e-8);
    EXPECT_NEAR(s->height, 412.0, 1e-3);
    // No position at all, or one inside the Earth, is no station.
    EXPECT_FALSE(views::stationFrame(0, 0, 0));
    EXPECT_FALSE(views::stationFrame(1000, 2000, 3000));
    EXPECT_FALSE(views::stationFrame(NAN, 0, 6.4e6));
}

TEST(LookAngles, MeasuresFromTheHorizonAndFromNorthThroughEast) {
    const auto s = views::stationFrame(6378137.0, 0, 0); // on the equator at 0 E
    ASSERT_TRUE(s);
    constexpr struct {
        double x, y, z, elevation, azimuth;
        const char* why;
    } kCases[] = {
        {2.6e7, 0, 0, 90, 0, "straight up"},
        {6378137.0, 0, 1.0e7, 0, 0, "on the horizon to the north"},
        {6378137.0, 1.0e7, 0, 0, 90, "on the horizon to the east"},
        {6378137.0 + 1.0e7, 0, -1.0e7, 45, 180, "half-way up in the south"},
        {6378137.0, -1.0e7, 1.0e-3, 0, 270, "west, a hair north"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.why);
        const views::LookAngles a = views::lookAngles(*s, {c.x, c.y, c.z});
        EXPECT_NEAR(a.elevation, c.elevation, 1e-9);
        if (c.elevation < 89) {
            EXPECT_NEAR(a.azimuth, c.azimuth, 1e-7);
        }
        EXPECT_GE(a.azimuth, 0);
        EXPECT_LT(a.azimuth, 360);
        EXPECT_NEAR(views::sinElevation(*s, {c.x, c.y, c.z}), std::sin(c.elevation * kPi / 180),
                    1e-12);
    }
}

TEST(SkyTracker, FollowsTheOrbitBetweenNodesWithinAMillimetre) {
    views_test::TempFolder dir;
    nav::TEphemGPSRec r;
    r.prn = 9;
    r.epoch = {26, 12, 9, 2, 0, 0};
    r.toe = 259200 + 7200;
    r.sqrtA = 5153.6;
    r.e = 0.012;
    r.i0 = 0.3;
    r.omega0 = -0.2;
    r.omega = 0.55;
    r.m0 = -0.4;
    r.deltaN = 1.5e-9f;
    r.crs = -122;
    r.cuc = 2.9e-6f;
    {
        text::RecordFile f;
        ASSERT_TRUE(f.create(dir.file("gps.dat"), nav::kEphemGPSSize));
        ASSERT_TRUE(f.append(nav::encode(r)));
        ASSERT_TRUE(f.flush());
    }
    nav::BroadcastOrbits orbits;
    nav::BroadcastOrbits::Files files;
    files.gps = dir.file("gps.dat");
    orbits.load(files, 0);
    views::SkyTracker tracker(orbits);
    const std::size_t g09 = tracker.track({'G', 9});
    const double toe = *nav::GpsSecondsOf({2026, 12, 9, 2, 0, 0});
    // 1 Hz across an hour and a half, and a step back.
    for (double dt = -3600; dt <= 1800; dt += 7.25) {
        const std::optional<nav::Ecef> p = tracker.position(g09, toe + dt);
        ASSERT_TRUE(p);
        const nav::SatState direct = *orbits.state({'G', 9}, toe + dt);
        ASSERT_LT(nav::norm(*p - direct.pos), 1e-3) << dt;
    }
    EXPECT_LT(nav::norm(*tracker.position(g09, toe - 100) - orbits.state({'G', 9}, toe - 100)->pos),
              1e-3);
    EXPECT_FALSE(tracker.position(g09, toe + 7200));
    EXPECT_FALSE(tracker.position(tracker.track({'G', 10}), toe));
}

} // namespace
