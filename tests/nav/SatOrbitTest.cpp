#include "nav/SatOrbit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kWeek = 604800.0;

TEST(GpsSecondsOf, CountsFromTheGpsOriginAndRefusesNonDates) {
    constexpr struct {
        text::TEpochTime t;
        std::optional<double> seconds;
        const char* why;
    } kCases[] = {
        {{1980, 1, 6, 0, 0, 0}, 0.0, "the origin"},
        {{2018, 5, 6, 0, 0, 0}, 2000 * kWeek, "GPS week 2000 began on 6 May 2018"},
        {{18, 5, 6, 0, 0, 0}, 2000 * kWeek, "a two-digit year as RINEX writes it"},
        {{2018, 5, 6, 1, 2, 3.25L}, 2000 * kWeek + 3723.25, "time of day with a fraction"},
        {{1980, 1, 5, 23, 59, 59}, std::nullopt, "before the origin"},
        {{2018, 13, 1, 0, 0, 0}, std::nullopt, "month 13"},
        {{2018, 5, 6, 24, 0, 0}, std::nullopt, "hour 24"},
        {{2018, 5, 6, 0, 0, -1}, std::nullopt, "negative seconds"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.why);
        const std::optional<double> got = nav::GpsSecondsOf(c.t);
        ASSERT_EQ(got.has_value(), c.seconds.has_value());
        if (got) {
            EXPECT_DOUBLE_EQ(*got, *c.seconds);
        }
    }
}

TEST(LeapSecondsAt, StepsAtTheAnnouncedDates) {
    const double jan2017 = *nav::GpsSecondsOf({2017, 1, 1, 0, 0, 0});
    EXPECT_EQ(nav::LeapSecondsAt(0), 0);
    EXPECT_EQ(nav::LeapSecondsAt(*nav::GpsSecondsOf({1981, 7, 1, 0, 0, 1})), 1);
    // The last leap second went in at the end of 2016: UTC midnight was GPS 00:00:18.
    EXPECT_EQ(nav::LeapSecondsAt(jan2017 + 17), 17);
    EXPECT_EQ(nav::LeapSecondsAt(jan2017 + 18), 18);
    EXPECT_EQ(nav::LeapSecondsAt(*nav::GpsSecondsOf({2026, 12, 9, 0, 0, 0})), 18);
}

// A circular orbit in the equator without corrections: its Earth-fixed longitude turns at the
// mean motion less the Earth's rotation.
nav::KeplerOrbit circularOrbit(const nav::OrbitConstants& c) {
    nav::KeplerOrbit o;
    o.toe = 2000 * kWeek; // at the start of a week: the node needs no week term
    o.sqrtA = std::sqrt(26560e3);
    o.constants = c;
    return o;
}

TEST(KeplerState, FollowsACircularOrbitWithEachSystemsConstants) {
    for (const nav::OrbitConstants& c : {nav::kGpsConstants, nav::kGalileoConstants}) {
        SCOPED_TRACE(c.gm);
        const nav::KeplerOrbit o = circularOrbit(c);
        const double a = o.sqrtA * o.sqrtA;
        const double n = std::sqrt(c.gm / (a * a * a));
        for (double dt : {0.0, 1800.0, -3600.0}) {
            const nav::SatState s = nav::keplerState(o, o.toe + dt);
            const double lon = (n - c.earthRate) * dt;
            EXPECT_NEAR(s.pos.x, a * std::cos(lon), 1e-6);
            EXPECT_NEAR(s.pos.y, a * std::sin(lon), 1e-6);
            EXPECT_NEAR(s.pos.z, 0, 1e-6);
        }
    }
    // The two constants move a satellite apart by about a metre in an hour.
    const nav::SatState gps =
        nav::keplerState(circularOrbit(nav::kGpsConstants), 2000 * kWeek + 3600);
    const nav::SatState gal =
        nav::keplerState(circularOrbit(nav::kGalileoConstants), 2000 * kWeek + 3600);
    EXPECT_GT(nav::norm(gps.pos - gal.pos), 0.5);
    EXPECT_LT(nav::norm(gps.pos - gal.pos), 3.0);
}

TEST(KeplerState, GivesTheVelocityOfItsPositions) {
    nav::KeplerOrbit o;
    o.toe = 2448 * kWeek + 259200;
    o.sqrtA = 5153.6;
    o.e = 0.012;
    o.i0 = 0.96;
    o.omega0 = -0.63;
    o.omega = 1.8;
    o.m0 = -1.5;
    o.deltaN = 4.6e-9;
    o.omegaDot = -8.0e-9;
    o.idot = 1.7e-10;
    o.cuc = 2.9e-6;
    o.cus = 5.5e-6;
    o.crc = 158;
    o.crs = -122;
    o.cic = 1.3e-7;
    o.cis = -1.4e-7;
    for (double dt : {-5000.0, 0.0, 6000.0}) {
        const double t = o.toe + dt;
        const nav::SatState s = nav::keplerState(o, t);
        const nav::Ecef fd =
            (nav::keplerState(o, t + 0.5).pos - nav::keplerState(o, t - 0.5).pos) * 1.0;
        EXPECT_LT(nav::norm(s.vel - fd), 1e-3);
        EXPECT_NEAR(nav::norm(s.pos), 26.5e6, 0.5e6);
    }
}

TEST(KeplerOrbitOf, TakesTheToeInTheWeekNearestTheClockEpoch) {
    nav::TEphemGPSRec r;
    r.sqrtA = 5153.6;
    r.m0 = 0.25;
    // The clock epoch on Sunday 00:00 of a week; toe 604 000 s belongs to the week before.
    r.epoch = {2018, 5, 6, 0, 0, 0};
    r.toe = 604000;
    r.week = 1234; // a wrong week field does not move the orbit
    const std::optional<nav::KeplerOrbit> o = nav::keplerOrbitOf(r);
    ASSERT_TRUE(o);
    EXPECT_DOUBLE_EQ(o->toe, 2000 * kWeek - 800);
    EXPECT_DOUBLE_EQ(o->m0, 0.25 * kPi); // semicircles to radians
    r.epoch.month = 13;
    EXPECT_FALSE(nav::keplerOrbitOf(r));
}

// An equatorial circle of the rotating frame, radius r: with J2 its mean motion is
// sqrt(GM/r^3 (1 + 1.5 J2 (ae/r)^2)).
TEST(GlonassState, KeepsACircularEquatorialOrbitWithJ2) {
    const double r = 25510e3;
    const double n = std::sqrt(nav::kGlonassGM / (r * r * r) *
                               (1 + 1.5 * nav::kGlonassJ2 * std::pow(nav::kGlonassRadius / r, 2)));
    const double w = n - nav::kGlonassEarthRate;
    nav::StateVector s;
    s.t0 = 1.0e9;
    s.pos = {r, 0, 0};
    s.vel = {0, w * r, 0};
    for (double dt : {0.0, 450.0, 900.0, -900.0}) {
        SCOPED_TRACE(dt);
        const nav::SatState got = nav::glonassState(s, s.t0 + dt);
        EXPECT_NEAR(got.pos.x, r * std::cos(w * dt), 2e-3);
        EXPECT_NEAR(got.pos.y, r * std::sin(w * dt), 2e-3);
        EXPECT_NEAR(got.vel.y, w * r * std::cos(w * dt), 1e-5);
    }
}

TEST(GlonassState, AddsTheBroadcastLuniSolarAcceleration) {
    const double r = 25510e3;
    const double n = std::sqrt(nav::kGlonassGM / (r * r * r) *
                               (1 + 1.5 * nav::kGlonassJ2 * std::pow(nav::kGlonassRadius / r, 2)));
    nav::StateVector s;
    s.t0 = 1.0e9;
    s.pos = {r, 0, 0};
    s.vel = {0, (n - nav::kGlonassEarthRate) * r, 0};
    s.acc = {0, 0, 2.0e-6};
    // Out of the plane the orbit swings about the plane at sqrt(GM/r^3 + 4.5 J2 GM ae^2/r^5).
    const double wz = std::sqrt(nav::kGlonassGM / (r * r * r) *
                                (1 + 4.5 * nav::kGlonassJ2 * std::pow(nav::kGlonassRadius / r, 2)));
    const double t = 900;
    const double z = s.acc.z / (wz * wz) * (1 - std::cos(wz * t));
    EXPECT_NEAR(nav::glonassState(s, s.t0 + t).pos.z, z, 1e-3);
    EXPECT_GT(z, 0.8);
}

TEST(GeoState, IsTheQuadraticOfTheRecord) {
    nav::StateVector s;
    s.t0 = 100;
    s.pos = {42164e3, 10, -20};
    s.vel = {1, 2, 3};
    s.acc = {0.5, -0.25, 0};
    const nav::SatState got = nav::geoState(s, 104);
    EXPECT_DOUBLE_EQ(got.pos.x, 42164e3 + 4 + 4);
    EXPECT_DOUBLE_EQ(got.pos.y, 10 + 8 - 2);
    EXPECT_DOUBLE_EQ(got.pos.z, -20 + 12);
    EXPECT_DOUBLE_EQ(got.vel.x, 3);
}

TEST(GlonassStateOf, TurnsTheUtcEpochIntoGpsTime) {
    nav::TEphemGLORec r;
    r.epoch = {26, 12, 9, 0, 15, 0};
    r.x = 1000;
    r.vy = 2.5f;
    const std::optional<nav::StateVector> s = nav::glonassStateOf(r, 18);
    ASSERT_TRUE(s);
    EXPECT_DOUBLE_EQ(s->t0, *nav::GpsSecondsOf({2026, 12, 9, 0, 15, 18}));
    EXPECT_DOUBLE_EQ(s->pos.x, 1.0e6); // km to m
    EXPECT_DOUBLE_EQ(s->vel.y, 2500);
}

} // namespace
