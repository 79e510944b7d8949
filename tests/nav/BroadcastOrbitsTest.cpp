#include "nav/BroadcastOrbits.h"

#include "text/RecordFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class Folder {
public:
    Folder() {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::path(testing::TempDir()) /
                (std::string("quillon_orbits_") + info->test_suite_name() + "_" + info->name());
        std::error_code ec;
        fs::remove_all(m_dir, ec);
        fs::create_directories(m_dir, ec);
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    fs::path operator/(const std::string& name) const { return m_dir / name; }

private:
    fs::path m_dir;
};

template <typename Rec>
void writeRecords(const fs::path& path, std::size_t size, const std::vector<Rec>& records) {
    text::RecordFile f;
    ASSERT_TRUE(f.create(path, size));
    for (const Rec& r : records)
        ASSERT_TRUE(f.append(nav::encode(r)));
    ASSERT_TRUE(f.flush());
}

// A GPS record of satellite prn whose toe is `hour` hours into 9 December 2026 (a Wednesday:
// 259 200 s into its week); sqrtA tells the records apart.
nav::TEphemGPSRec gpsRecord(std::int32_t prn, int hour, double sqrtA) {
    nav::TEphemGPSRec r;
    r.prn = prn;
    r.epoch = {26, 12, 9, hour, 0, 0};
    r.toe = 259200 + hour * 3600;
    r.sqrtA = sqrtA;
    return r;
}

const double kDayStart = *nav::GpsSecondsOf({2026, 12, 9, 0, 0, 0});

TEST(BroadcastOrbits, TakesTheNearestRecordWithinTwoHours) {
    Folder dir;
    // Records at 2 h (twice, the second one later in the file), 4 h and 8 h; another
    // satellite's record in between.
    writeRecords<nav::TEphemGPSRec>(dir / "gps.dat", nav::kEphemGPSSize,
                                    {gpsRecord(5, 2, 5153.1), gpsRecord(7, 3, 5153.9),
                                     gpsRecord(5, 2, 5153.2), gpsRecord(5, 8, 5153.4),
                                     gpsRecord(5, 4, 5153.3)});
    nav::BroadcastOrbits orbits;
    nav::BroadcastOrbits::Files files;
    files.gps = dir / "gps.dat";
    EXPECT_TRUE(orbits.load(files, 0).empty());
    constexpr struct {
        double hours;
        int record; // file position, -1 for none
        const char* why;
    } kCases[] = {
        {-0.5, -1, "more than two hours before the first"},
        {0.0, 2, "two hours before: the first time of validity"},
        {2.9, 2, "of two records with one time the later in the file"},
        {3.0, 4, "half-way: the later record"},
        {5.9, 4, "until the end of its validity"},
        {6.0, 3, "half-way again"},
        {9.99, 3, "within two hours of the last"},
        {10.0, -1, "the end of the validity is outside"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.why);
        const double t = kDayStart + c.hours * 3600;
        const int got = orbits.recordAt({'G', 5}, t);
        EXPECT_EQ(got, c.record);
        const nav::BroadcastOrbits::RecordSpan span = orbits.spanAt({'G', 5}, t);
        EXPECT_EQ(span.record, got);
        EXPECT_LE(span.from, t);
        EXPECT_LT(t, span.to);
        // The whole span gives the same answer.
        if (std::isfinite(span.from)) {
            EXPECT_EQ(orbits.recordAt({'G', 5}, span.from), got);
        }
        if (std::isfinite(span.to)) {
            EXPECT_EQ(orbits.recordAt({'G', 5}, std::nextafter(span.to, 0.0)), got);
        }
    }
    EXPECT_EQ(orbits.recordAt({'G', 6}, kDayStart + 7200), -1);
    EXPECT_EQ(orbits.recordAt({'E', 5}, kDayStart + 7200), -1);
}

TEST(BroadcastOrbits, ReadsGlonassInUtcAndGeoInGpsTime) {
    Folder dir;
    nav::TEphemGLORec glo;
    glo.slot = 3;
    glo.frequency = -4;
    glo.epoch = {26, 12, 9, 0, 15, 0}; // UTC
    glo.x = 25000;
    writeRecords<nav::TEphemGLORec>(dir / "glo.dat", nav::kEphemGLOSize, {glo});
    nav::TEphemGEORec geo;
    geo.prn = 36;
    geo.epoch = {26, 12, 9, 0, 30, 0}; // GPS time
    geo.x = 42164;
    writeRecords<nav::TEphemGEORec>(dir / "geo.dat", nav::kEphemGEOSize, {geo});
    nav::BroadcastOrbits orbits;
    nav::BroadcastOrbits::Files files;
    files.glo = dir / "glo.dat";
    files.geo = dir / "geo.dat";
    files.gal = dir / "missing.dat";
    const std::vector<fs::path> failed = orbits.load(files, 18);
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0], dir / "missing.dat");

    const double gloTime = kDayStart + 15 * 60 + 18;
    EXPECT_EQ(orbits.recordAt({'R', 3}, gloTime - 900), 0);
    EXPECT_EQ(orbits.recordAt({'R', 3}, gloTime + 900), -1);
    EXPECT_DOUBLE_EQ(orbits.state({'R', 3}, gloTime)->pos.x, 25.0e6);
    EXPECT_EQ(orbits.glonassChannel(3), -4);
    EXPECT_FALSE(orbits.glonassChannel(4));
    EXPECT_DOUBLE_EQ(orbits.referenceTime(1), kDayStart + 1800);
    EXPECT_EQ(orbits.recordAt({'S', 36}, kDayStart + 1800 + 899), 1);
    const std::vector<nav::OrbitSat> sats = orbits.satellites();
    ASSERT_EQ(sats.size(), 2u);
    EXPECT_EQ(sats[0], (nav::OrbitSat{'R', 3}));
    EXPECT_EQ(sats[1], (nav::OrbitSat{'S', 36}));
}

} // namespace
