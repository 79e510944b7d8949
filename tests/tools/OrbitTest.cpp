#include "tools/gen/Orbit.h"

#include "tools/gen/Calendar.h"
#include "tools/gen/Generator.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

gen::KeplerOrbit gpsLike() {
    gen::KeplerOrbit o;
    o.toe = 2448.0 * gen::kWeek + 259200.0;
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
    return o;
}

TEST(Rereference, KeepsTheOrbitAcrossEphemerisTimesAndWeeks) {
    const gen::KeplerOrbit o = gpsLike();
    // Two hours later, and across the end of the week.
    for (double shift : {7200.0, 4 * 86400.0}) {
        SCOPED_TRACE(shift);
        const gen::KeplerOrbit r = gen::rereference(o, o.toe + shift);
        for (double dt : {-3600.0, 0.0, 5400.0}) {
            const double t = o.toe + shift + dt;
            const gen::Vec3 a = gen::evaluate(o, t).pos;
            const gen::Vec3 b = gen::evaluate(r, t).pos;
            EXPECT_LT(gen::norm(a - b), 1e-3);
        }
    }
}

TEST(Evaluate, GivesAGpsRadiusAndAVelocityMatchingThePositions) {
    const gen::KeplerOrbit o = gpsLike();
    const gen::SatState s = gen::evaluate(o, o.toe + 1000);
    EXPECT_NEAR(gen::norm(s.pos), 26.56e6, 0.4e6);
    const gen::Vec3 ahead = gen::evaluate(o, o.toe + 1000.5).pos;
    const gen::Vec3 behind = gen::evaluate(o, o.toe + 999.5).pos;
    EXPECT_LT(gen::norm((ahead - behind) - s.vel), 1e-3);
}

TEST(CivilTime, TurnsGpsSecondsBackIntoTheCalendar) {
    const std::int64_t t = gen::gpsSeconds(2024, 2, 29, 23, 59, 30);
    const gen::Civil c = gen::civilTime(t);
    EXPECT_EQ(c.year, 2024);
    EXPECT_EQ(c.month, 2);
    EXPECT_EQ(c.day, 29);
    EXPECT_EQ(c.hour, 23);
    EXPECT_EQ(c.minute, 59);
    EXPECT_EQ(c.second, 30);
    EXPECT_EQ(c.dayOfYear, 60);
    EXPECT_EQ(gen::civilTime(t + 30).dayOfYear, 61);
    EXPECT_EQ(gen::leapSeconds(t), 18);
}

TEST(FileStem, NamesTheSetBySiteDayOfYearAndYear) {
    gen::GenOptions o; // 2026-12-09, day 343
    EXPECT_EQ(gen::fileStem(o), "quil3430.26");
}

} // namespace
