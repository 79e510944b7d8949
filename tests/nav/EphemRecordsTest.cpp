#include "nav/EphemRecords.h"

#include "NavTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using navtest::expectFields;

// 30.0 as an x87 extended real: mantissa 0xF000000000000000, exponent 0x4003.
constexpr std::string_view kThirtySeconds = "00000000000000f00340";

text::TEpochTime epochAt(std::int32_t year, std::int32_t hour, long double seconds) {
    text::TEpochTime t;
    t.year = year;
    t.month = 3;
    t.day = 5;
    t.hour = hour;
    t.minute = 7;
    t.seconds = seconds;
    return t;
}

TEST(TEphemGPSRec, PinsEveryFieldAtItsOffset) {
    nav::TEphemGPSRec r;
    r.prn = 5;
    r.epoch = epochAt(10, 12, 30);
    r.prnByte = 5;
    r.tocCopy = 475200;
    r.flags = 6;
    r.iodc = 301;
    r.toc = 475200;
    r.ura = 2;
    r.health = 1;
    r.week = 1573;
    r.tgd = -0.5f;
    r.af2 = 0.125f;
    r.af1 = -0.25f;
    r.af0 = 0.5f;
    r.toe = 475200;
    r.iode = 45;
    r.sqrtA = 5153.5;
    r.e = 0.0078125;
    r.m0 = 1.0;
    r.omega0 = -1.0;
    r.i0 = 0.5;
    r.omega = 0.5;
    r.deltaN = 2.0f;
    r.omegaDot = -2.0f;
    r.idot = 0.25f;
    r.crc = 250.5f;
    r.crs = 1.5f;
    r.cuc = -0.5f;
    r.cus = 0.25f;
    r.cic = 0.125f;
    r.cis = -2.0f;
    const auto bytes = nav::encode(r);
    ASSERT_EQ(bytes.size(), 184u);
    expectFields(bytes, {{0, "05000000"},
                         {8, "0a000000"},
                         {12, "03000000"},
                         {16, "05000000"},
                         {20, "0c000000"},
                         {24, "07000000"},
                         {32, kThirtySeconds},
                         {48, "05"},
                         {52, "40400700"},
                         {56, "06"},
                         {58, "2d01"},
                         {60, "40400700"},
                         {64, "02000000"},
                         {68, "01"},
                         {70, "2506"},
                         {72, "000000bf"},
                         {76, "0000003e"},
                         {80, "000080be"},
                         {84, "0000003f"},
                         {88, "40400700"},
                         {92, "2d00"},
                         {96, "000000008021b440"},
                         {104, "000000000000803f"},
                         {112, "000000000000f03f"},
                         {120, "000000000000f0bf"},
                         {128, "000000000000e03f"},
                         {136, "000000000000e03f"},
                         {144, "00000040"},
                         {148, "000000c0"},
                         {152, "0000803e"},
                         {156, "00807a43"},
                         {160, "0000c03f"},
                         {164, "000000bf"},
                         {168, "0000803e"},
                         {172, "0000003e"},
                         {176, "000000c0"}});
    EXPECT_EQ(nav::decodeEphemGPS(bytes), r);
}

TEST(TEphemGALRec, PinsEveryFieldAtItsOffset) {
    nav::TEphemGALRec r;
    r.prn = 11;
    r.epoch = epochAt(9, 0, 30);
    r.prnByte = 11;
    r.transmissionTime = 475200;
    r.dataSources = 6;
    r.toc = 475200;
    r.sisa = 0.25f;
    r.health = 1;
    r.week = 1573;
    r.af2 = 0.125f;
    r.af1 = -0.25f;
    r.af0 = 0.5f;
    r.toe = 475200;
    r.iodNav = 45;
    r.sqrtA = 5153.5;
    r.e = 0.0078125;
    r.m0 = 1.0;
    r.omega0 = -1.0;
    r.i0 = 0.5;
    r.omega = 0.5;
    r.deltaN = 2.0f;
    r.omegaDot = -2.0f;
    r.idot = 0.25f;
    r.crc = 250.5f;
    r.crs = 1.5f;
    r.cuc = -0.5f;
    r.cus = 0.25f;
    r.cic = 0.125f;
    r.cis = -2.0f;
    r.bgdE5a = -0.5f;
    r.bgdE5b = 1.5f;
    const auto bytes = nav::encode(r);
    ASSERT_EQ(bytes.size(), 208u);
    expectFields(bytes, {{0, "0b000000"},
                         {8, "09000000"},
                         {12, "03000000"},
                         {16, "05000000"},
                         {24, "07000000"},
                         {32, kThirtySeconds},
                         {48, "0b"},
                         {52, "40400700"},
                         {56, "06"},
                         {60, "40400700"},
                         {64, "0000803e"},
                         {68, "01"},
                         {70, "2506"},
                         {76, "0000003e"},
                         {80, "000080be"},
                         {84, "0000003f"},
                         {88, "40400700"},
                         {92, "2d00"},
                         {96, "000000008021b440"},
                         {104, "000000000000803f"},
                         {112, "000000000000f03f"},
                         {120, "000000000000f0bf"},
                         {128, "000000000000e03f"},
                         {136, "000000000000e03f"},
                         {144, "00000040"},
                         {148, "000000c0"},
                         {152, "0000803e"},
                         {156, "00807a43"},
                         {160, "0000c03f"},
                         {164, "000000bf"},
                         {168, "0000803e"},
                         {172, "0000003e"},
                         {176, "000000c0"},
                         {180, "000000bf"},
                         {184, "0000c03f"}});
    EXPECT_EQ(nav::decodeEphemGAL(bytes), r);
}

TEST(TEphemGLORec, PinsEveryFieldAtItsOffset) {
    nav::TEphemGLORec r;
    r.slot = 2;
    r.epoch = epochAt(1, 1, 30);
    r.slotByte = 2;
    r.frequency = -7;
    r.dayNumber = 366;
    r.tk = 475200;
    r.epochSeconds = 3630;
    r.health = 1;
    r.age = 6;
    r.x = 5153.5;
    r.y = -1.0;
    r.z = 0.5;
    r.vx = 2.0f;
    r.vy = -2.0f;
    r.vz = 0.25f;
    r.ax = 250.5f;
    r.ay = 1.5f;
    r.az = -0.5f;
    r.corrToSystemTime = 0.0078125;
    r.tauN = 0.125f;
    r.gammaN = -0.25f;
    const auto bytes = nav::encode(r);
    ASSERT_EQ(bytes.size(), 128u);
    expectFields(bytes, {{0, "02000000"},
                         {8, "01000000"},
                         {12, "03000000"},
                         {16, "05000000"},
                         {20, "01000000"},
                         {24, "07000000"},
                         {32, kThirtySeconds},
                         {48, "02"},
                         {49, "f9"},
                         {50, "6e01"},
                         {52, "40400700"},
                         {56, "2e0e0000"},
                         {60, "01"},
                         {61, "06"},
                         {64, "000000008021b440"},
                         {72, "000000000000f0bf"},
                         {80, "000000000000e03f"},
                         {88, "00000040"},
                         {92, "000000c0"},
                         {96, "0000803e"},
                         {100, "00807a43"},
                         {104, "0000c03f"},
                         {108, "000000bf"},
                         {112, "000000000000803f"},
                         {120, "0000003e"},
                         {124, "000080be"}});
    EXPECT_EQ(nav::decodeEphemGLO(bytes), r);
}

TEST(TEphemGEORec, PinsEveryFieldAtItsOffset) {
    nav::TEphemGEORec r;
    r.prn100 = 129;
    r.prn = 29;
    r.ordinal = 3;
    r.epoch = epochAt(11, 2, 30);
    r.prn100Byte = 129;
    r.prnByte = 29;
    r.ura = 16;
    r.epochSeconds = 7650;
    r.x = 5153.5;
    r.y = -1.0;
    r.z = 0.5;
    r.vx = 2.0f;
    r.vy = -2.0f;
    r.vz = 0.25f;
    r.ax = 250.5f;
    r.ay = 1.5f;
    r.az = -0.5f;
    r.aGf0 = 0.125f;
    r.aGf1 = -0.25f;
    r.transmissionTime = 475200;
    r.week = 594;
    r.health = 1;
    const auto bytes = nav::encode(r);
    ASSERT_EQ(bytes.size(), 128u);
    expectFields(bytes, {{0, "81000000"},
                         {4, "1d000000"},
                         {8, "03000000"},
                         {16, "0b000000"},
                         {20, "03000000"},
                         {24, "05000000"},
                         {28, "02000000"},
                         {32, "07000000"},
                         {40, kThirtySeconds},
                         {56, "81"},
                         {57, "1d"},
                         {59, "10"},
                         {60, "e21d0000"},
                         {64, "000000008021b440"},
                         {72, "000000000000f0bf"},
                         {80, "000000000000e03f"},
                         {88, "00000040"},
                         {92, "000000c0"},
                         {96, "0000803e"},
                         {100, "00807a43"},
                         {104, "0000c03f"},
                         {108, "000000bf"},
                         {112, "0000003e"},
                         {116, "000080be"},
                         {120, "40400700"},
                         {124, "5202"},
                         {126, "01"}});
    EXPECT_EQ(nav::decodeEphemGEO(bytes), r);
}

// A record file of GPS records with the given PRNs; toe tells them apart.
class FindEphemerisTest : public testing::Test {
protected:
    void write(std::initializer_list<std::int32_t> prns) {
        std::int32_t toe = 0;
        for (std::int32_t prn : prns) {
            nav::TEphemGPSRec r;
            r.prn = prn;
            r.toe = ++toe;
            ASSERT_TRUE(files.records.append(nav::encode(r)));
        }
        files.records.flush();
    }
    navtest::ScanFiles files{"", nav::kEphemGPSSize};
};

TEST_F(FindEphemerisTest, FirstRecordOfASatelliteBehindOthers) {
    write({3, 7, 3, 5, 3});
    nav::TEphemGPSRec r;
    ASSERT_TRUE(nav::FindEphemeris(files.recordPath(), 5, 1, r, files.observer));
    EXPECT_EQ(r.toe, 4);
    ASSERT_TRUE(nav::FindEphemeris(files.recordPath(), 3, 3, r, files.observer));
    EXPECT_EQ(r.toe, 5);
    EXPECT_TRUE(files.observer.notices.empty());
}

TEST_F(FindEphemerisTest, MoreThanThereAreIsNotFoundSilently) {
    write({3, 7, 3});
    nav::TEphemGPSRec r;
    EXPECT_FALSE(nav::FindEphemeris(files.recordPath(), 3, 3, r, files.observer));
    EXPECT_FALSE(nav::FindEphemeris(files.recordPath(), 9, 1, r, files.observer));
    EXPECT_TRUE(files.observer.notices.empty());
}

TEST_F(FindEphemerisTest, RecordsWithTheSameEpochAreBothKept) {
    write({4, 4});
    nav::TEphemGPSRec r;
    ASSERT_TRUE(nav::FindEphemeris(files.recordPath(), 4, 2, r, files.observer));
    EXPECT_EQ(r.toe, 2);
}

TEST_F(FindEphemerisTest, SeesRecordsAppendedAfterAnEarlierLookUp) {
    write({4});
    nav::TEphemGPSRec r;
    EXPECT_FALSE(nav::FindEphemeris(files.recordPath(), 4, 2, r, files.observer));
    write({4});
    EXPECT_TRUE(nav::FindEphemeris(files.recordPath(), 4, 2, r, files.observer));
}

TEST_F(FindEphemerisTest, GEORecordsAreKeyedByTheNumberAsWritten) {
    navtest::ScanFiles geo{"", nav::kEphemGEOSize};
    nav::TEphemGEORec w;
    w.prn100 = 120;
    w.prn = 20;
    ASSERT_TRUE(geo.records.append(nav::encode(w)));
    geo.records.flush();
    nav::TEphemGEORec r;
    EXPECT_TRUE(nav::FindEphemeris(geo.recordPath(), 20, 1, r, geo.observer));
    EXPECT_EQ(r.prn100, 120);
    EXPECT_FALSE(nav::FindEphemeris(geo.recordPath(), 120, 1, r, geo.observer));
}

TEST_F(FindEphemerisTest, AMissingFileIsToldWithItsFixedName) {
    struct Case {
        std::string_view expected;
        bool (*find)(const std::filesystem::path&, text::ScanObserver&);
    };
    const Case cases[] = {
        {"Error Opening File EphemGPSRecs.dat ! ",
         [](const std::filesystem::path& p, text::ScanObserver& o) {
             nav::TEphemGPSRec r;
             return nav::FindEphemeris(p, 1, 1, r, o);
         }},
        {"Error Opening File EphemGLORecs.dat ! ",
         [](const std::filesystem::path& p, text::ScanObserver& o) {
             nav::TEphemGLORec r;
             return nav::FindEphemeris(p, 1, 1, r, o);
         }},
        {"Error Opening File EphemGEORecs.dat ! ",
         [](const std::filesystem::path& p, text::ScanObserver& o) {
             nav::TEphemGEORec r;
             return nav::FindEphemeris(p, 20, 1, r, o);
         }},
        {"Error Opening File EphemGALRecs.dat ! ",
         [](const std::filesystem::path& p, text::ScanObserver& o) {
             nav::TEphemGALRec r;
             return nav::FindEphemeris(p, 1, 1, r, o);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        navtest::RecordingObserver observer;
        EXPECT_FALSE(c.find(files.dir() / "no such file.dat", observer));
        ASSERT_EQ(observer.notices.size(), 1u);
        EXPECT_EQ(observer.notices[0], c.expected);
    }
}

} // namespace
