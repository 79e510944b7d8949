#include "views/EphemView.h"

#include "ViewsTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using views::EphemSystem;
using viewstest::NoticeRecorder;
using viewstest::ScratchFolder;

text::TEpochTime epochOf(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour,
                         std::int32_t minute, long double seconds) {
    text::TEpochTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.seconds = seconds;
    return t;
}

struct Expected {
    std::string_view name;
    std::string_view text;
};

void expectLabels(const std::vector<views::EphemLabel>& labels,
                  const std::vector<Expected>& expected) {
    ASSERT_EQ(labels.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(labels[i].name, expected[i].name);
        EXPECT_EQ(labels[i].text, expected[i].text);
    }
}

std::string labelText(const std::vector<views::EphemLabel>& labels, std::string_view name) {
    for (const auto& l : labels)
        if (l.name == name)
            return l.text;
    ADD_FAILURE() << "no label " << name;
    return {};
}

nav::TEphemGPSRec gpsRecord() {
    nav::TEphemGPSRec r;
    r.prn = 5;
    r.epoch = epochOf(99, 3, 5, 7, 4, 0);
    r.prnByte = 5;
    r.tocCopy = 475200;
    r.flags = 0b1010; // codes on L2 2, L2 P data flag 1, fit interval 0
    r.iodc = 301;
    r.toc = 475200;
    r.ura = 2;
    r.health = 0;
    r.week = 1025;
    r.tgd = -1.1f;
    r.af2 = 0;
    r.af1 = -4.65661287308e-09f;
    r.af0 = 0.000123f;
    r.toe = 475216;
    r.iode = 45;
    r.sqrtA = 5153.65531731;
    r.e = 0.00485;
    r.m0 = -0.25;
    r.omega0 = 0.5;
    r.i0 = 0.3;
    r.omega = -0.75;
    r.deltaN = 1.5e-12f;
    r.omegaDot = -2.1e-6f;
    r.idot = 0.125f;
    r.crc = 123.456f;
    r.crs = -3.25f;
    r.cuc = 1e-5f;
    r.cus = 6.2e-10f;
    r.cic = 3e-8f;
    r.cis = 0;
    return r;
}

TEST(GPSLabels, ShowsEveryFieldAfterItsFixedText) {
    // A comma as the user's separator; singles show their binary value, small magnitudes
    // switch to the exponent form, negative values keep their sign.
    expectLabels(
        views::GPSLabels(gpsRecord(), ","),
        {
            {"STDate", " Date  05\\03\\1999"},
            {"STTime", " Time  07:04: 0.0"},
            {"STCurvFitInt", " Curve fit interval     0"},
            {"STDatFlagL2P", " Data flag for L2 P-code     1"},
            {"STCodeL2P", " Code on L2 channel     2"},
            {"STIODC", " Issue of data, clock (IODC)     301"},
            {"STRefTime", " Clock data reference time (toc) [s]     475200"},
            {"STURA", " User range accuracy (URA) [m]     2"},
            {"SThealth", " Satellite health (healthS)     0"},
            {"STwn", " Week number (wn)     1025"},
            {"STGdelay", " Estimated group delay differential (tgd) [s]     -1,10000002384186"},
            {"STaf2", "Af2 [s/(s^2)]     0"},
            {"STaf1", "Af1 [s/s]     -4,65661287307739E-9"},
            {"STaf0", "Af0 [s]     0,00012300000526011"},
            {"STtoe", " Ephemeris reference time (toe) [s]     475216"},
            {"STIODE", " Issue of data, ephemeris (IODE)     45"},
            {"STrootA", " Square root of the semi-major axis [m^0.5]     5153,65531731"},
            {"STecc", " Eccentricity     0,00485"},
            {"STm0", " Mean anomaly at reference time (wn,toe) [semi-circles]     -0,25"},
            {"STomega0", " Longitude of ascending node [semi-circles]     0,5"},
            {"STinc0", " Inclination angle at reference time [semi-circles]     0,3"},
            {"STPer", " Argument of perigee [semi-circles]     -0,75"},
            {"STdeln", " Mean motion difference from computed [semi-circles/s]     "
                       "1,4999999940063E-12"},
            {"STomDot", " Rate of right ascension [semi-circles/s]     -2,1000000742788E-6"},
            {"STiDot", " Rate of inclination angle [semi-circles/s]     0,125"},
            {"STcrc", " Cosine correction to radius [m]     123,456001281738"},
            {"STcrs", " Sine correction to radius [m]     -3,25"},
            {"STcuc", " Cosine correction to latitude [rad]     9,99999974737875E-6"},
            {"STcus", " Sine correction to latitude [rad]     6,19999995787879E-10"},
            {"STcic", " Cosine correction to inclination [rad]     2,99999989294975E-8"},
            {"STcis", " Sine correction to inclination [rad]     0"},
        });
}

TEST(GALLabels, ShowsTheGalileoFieldsAndTheSharedOrbitLabels) {
    nav::TEphemGALRec r;
    r.prn = 11;
    r.epoch = epochOf(5, 12, 31, 23, 50, 30);
    r.dataSources = 2;
    r.toc = 3600;
    r.sisa = 3.12f;
    r.health = 1;
    r.week = 1234;
    r.af0 = -3e-8f;
    r.toe = 3600;
    r.iodNav = 77;
    r.sqrtA = 5440.6;
    r.cis = 0.125f;
    r.transmissionTime = 999; // not shown
    r.bgdE5a = 1.0f;          // not shown
    const std::vector<views::EphemLabel> labels = views::GALLabels(r, ".");
    ASSERT_EQ(labels.size(), 27u);
    expectLabels({labels.begin(), labels.begin() + 7},
                 {
                     {"STDateGAL", " Date  31\\12\\2005"},
                     {"STTimeGAL", " Time  23:50:30.0"},
                     {"STFlagsGAL", " Flags     2"},
                     {"STRefTimegal", " Clock data reference time (toc) [s]     3600"},
                     {"STURAgal", " User range accuracy (URA) [m]     3.11999988555908"},
                     {"SThealthgal", " Satellite health     1"},
                     {"STwngal", " Week number (continuous)     1234"},
                 });
    EXPECT_EQ(labelText(labels, "STaf0gal"), "Af0 [s]     -2.99999989294975E-8");
    EXPECT_EQ(labelText(labels, "STIODEgal"), " Issue of data, ephemeris (IODE)     77");
    EXPECT_EQ(labelText(labels, "STrootAgal"),
              " Square root of the semi-major axis [m^0.5]     5440.6");
    EXPECT_EQ(labels.back().name, "STcisgal");
    EXPECT_EQ(labels.back().text, " Sine correction to inclination [rad]     0.125");
}

TEST(GLOLabels, ShowsEveryFieldAfterItsFixedText) {
    nav::TEphemGLORec r;
    r.slot = 4;
    r.epoch = epochOf(10, 1, 2, 12, 45, 0);
    r.frequency = -7;
    r.dayNumber = 367; // not shown
    r.tk = 45000;
    r.epochSeconds = 45900;
    r.health = 0;
    r.age = 3;
    r.x = -14524.3740234;
    r.y = 40000.5;
    r.z = 1e20;
    r.vx = -1.1f;
    r.vy = 2.5f;
    r.vz = 0;
    r.ax = 0.00125f;
    r.ay = -0.5f;
    r.az = 0;
    r.corrToSystemTime = -1.86264514923e-09;
    r.tauN = 6.2e-10f;
    r.gammaN = 0;
    expectLabels(views::GLOLabels(r, "."),
                 {
                     {"STDateGLO", " Date  02\\01\\2010"},
                     {"STTimeGLO", " Time  12:45: 0.0  (UTC)"},
                     {"STfrqNum", " SV frequency channel number [-7..24]     -7"},
                     {"STtk", " Frame start time within current day [s]     45000"},
                     {"STtb", " Ephemeris reference time [s]     45900"},
                     {"STage", " Age of operational information [days]     3"},
                     {"STtauSys", " Time correction to GLONASS time scale     -1.86264514923E-9"},
                     {"STtau", " Correction to satellite clock [s]     6.19999995787879E-10"},
                     {"STgamma", " Rate of satellite clock offset [s/s]     0"},
                     {"STr1", " r[1]     -14524.3740234"},
                     {"STr2", " r[2]     40000.5"},
                     {"STr3", " r[3]     1E20"},
                     {"STv1", " v[1]     -1.10000002384186"},
                     {"STv2", " v[2]     2.5"},
                     {"STv3", " v[3]     0"},
                     {"STw1", " w[1]     0.00124999997206032"},
                     {"STw2", " w[2]     -0.5"},
                     {"STw3", " w[3]     0"},
                     {"STHeal0", " SV health     0"},
                 });
}

nav::TEphemGEORec geoRecord(std::int32_t prn) {
    nav::TEphemGEORec r;
    r.prn100 = prn + 100;
    r.prn = prn;
    r.ordinal = 1;
    r.epoch = epochOf(80, 6, 9, 23, 58, 56);
    r.prn100Byte = static_cast<std::uint8_t>(prn + 100);
    r.prnByte = static_cast<std::uint8_t>(prn);
    r.ura = 4;
    r.epochSeconds = 86336;
    r.x = 40000.5;
    r.vy = -1.1f;
    r.az = 0.00125f;
    r.aGf0 = -3e-8f;
    r.aGf1 = 0;
    r.transmissionTime = 345600;
    r.week = 500;
    r.health = 0;
    return r;
}

TEST(GEOLabels, ShowsEveryFieldAndAnUnknownReferenceDate) {
    header::THeaderDataGEO h; // no CORR TO SYSTEM TIME: reference date all 0
    h.corrToSystemTime = 0.5L;
    expectLabels(
        views::GEOLabels(geoRecord(20), h, "."),
        {
            {"STDateGEO", " Date  09\\06\\2080"},
            {"STTimeGEO", " Time  23:58:56.0"},
            {"STuraGEO", "  Accuracy code (URA)     4"},
            {"STtkGEO", " Time of reference for system time corr (year, month, day)     Unknown"},
            {"STtbGEO", "Message frame time (sec of day GPS)     86336"},
            {"STtowGEO", " Reference time (sec of GPS week)      345600"},
            {"STtauSysGEO", " Time correction to GEO time scale     0.5"},
            {"STaGf0", " SV clock bias (sec)              (aGf0)     -2.99999989294975E-8"},
            {"STaGf1", " SV relative frequency bias       (aGf1)     0"},
            {"STr1GEO", " r[1]     40000.5"},
            {"STr2GEO", " r[2]     0"},
            {"STr3GEO", " r[3]     0"},
            {"STv1GEO", " v[1]     0"},
            {"STv2GEO", " v[2]     -1.10000002384186"},
            {"STv3GEO", " v[3]     0"},
            {"STw1GEO", " w[1]     0"},
            {"STw2GEO", " w[2]     0"},
            {"STw3GEO", " w[3]     0.00124999997206032"},
            {"STHealthGEO", " Health status                         0"},
            {"STiodnGEO", " Issue of data (IODN)       0"},
        });
}

TEST(GEOLabels, ShowsAKnownReferenceDateAsPlainIntegers) {
    constexpr struct {
        std::int32_t year, month, day;
        std::string_view shown;
        const char* reason;
    } kCases[] = {
        {2009, 3, 24, "2009-3-24", "a whole date"},
        {0, 0, 24, "0-0-24", "one field set is enough to leave Unknown"},
        {0, 0, 0, "Unknown", "all three 0"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        header::THeaderDataGEO h;
        h.corrYear = c.year;
        h.corrMonth = c.month;
        h.corrDay = c.day;
        EXPECT_EQ(labelText(views::GEOLabels(geoRecord(20), h, "."), "STtkGEO"),
                  " Time of reference for system time corr (year, month, day)     " +
                      std::string(c.shown));
    }
}

TEST(EphemLabel, EverySystemFillsEachPageOfItsControl) {
    const struct {
        EphemSystem system;
        std::vector<views::EphemLabel> labels;
    } kCases[] = {
        {EphemSystem::GPS, views::GPSLabels(gpsRecord(), ".")},
        {EphemSystem::GLONASS, views::GLOLabels(nav::TEphemGLORec{}, ".")},
        {EphemSystem::GEO, views::GEOLabels(geoRecord(20), header::THeaderDataGEO{}, ".")},
        {EphemSystem::Galileo, views::GALLabels(nav::TEphemGALRec{}, ".")},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(views::PageControlName(c.system));
        std::vector<int> perPage(views::PageCaptions(c.system).size());
        for (const auto& l : c.labels) {
            ASSERT_GE(l.page, 0) << l.name;
            ASSERT_LT(static_cast<std::size_t>(l.page), perPage.size()) << l.name;
            ++perPage[static_cast<std::size_t>(l.page)];
        }
        for (const int n : perPage)
            EXPECT_GT(n, 0);
    }
}

TEST(EphemDateText, ExpandsTwoDigitYears) {
    constexpr struct {
        std::int32_t year;
        std::string_view shown;
        const char* reason;
    } kCases[] = {
        {99, " Date  05\\03\\1999", "81-99 are 19yy"},
        {81, " Date  05\\03\\1981", "the first year of the 1900s"},
        {80, " Date  05\\03\\2080", "the last year of the 2000s"},
        {5, " Date  05\\03\\2005", "one digit"},
        {0, " Date  05\\03\\2000", "zero"},
        {2010, " Date  05\\03\\2010", "a year already in full stays"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        EXPECT_EQ(views::EphemDateText(epochOf(c.year, 3, 5, 0, 0, 0)), c.shown);
    }
}

TEST(EphemTimeText, ShowsSecondsInFourCharactersWithOneDecimal) {
    constexpr struct {
        long double seconds;
        std::string_view shown;
        const char* reason;
    } kCases[] = {
        {0, " Time  08:09: 0.0", "zero after a blank"},
        {30, " Time  08:09:30.0", "two digits fill the field"},
        {9.96L, " Time  08:09:10.0", "rounded to one decimal"},
        {5.5L, " Time  08:09: 5.5", "one decimal kept"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        EXPECT_EQ(views::EphemTimeText(epochOf(9, 1, 1, 8, 9, c.seconds), false), c.shown);
    }
    EXPECT_EQ(views::EphemTimeText(epochOf(9, 1, 1, 23, 0, 0), true), " Time  23:00: 0.0  (UTC)");
}

TEST(EphemTitle, NamesSystemSatelliteAndPosition) {
    EXPECT_EQ(views::EphemTitle(EphemSystem::GPS, 3, 1), "GPS Ephemeris  sv=3   N=1");
    EXPECT_EQ(views::EphemTitle(EphemSystem::GLONASS, 24, 2), "GLONASS Ephemeris  sv=24   N=2");
    EXPECT_EQ(views::EphemTitle(EphemSystem::GEO, 20, 10), "GEO Ephemeris  sv=20   N=10");
    EXPECT_EQ(views::EphemTitle(EphemSystem::Galileo, 1, 1), "GAL Ephemeris  sv=1   N=1");
}

TEST(NotFoundText, EndsWithTwoBlanksBeforeIsNotFound) {
    EXPECT_EQ(views::NotFoundText(EphemSystem::GPS, 3, 5), "Ephemeris 3 for SV G5  is not found");
    EXPECT_EQ(views::NotFoundText(EphemSystem::GLONASS, 1, 24),
              "Ephemeris 1 for SV R24  is not found");
    EXPECT_EQ(views::NotFoundText(EphemSystem::GEO, 2, 20), "Ephemeris 2 for SV S20  is not found");
    EXPECT_EQ(views::NotFoundText(EphemSystem::Galileo, 1, 7),
              "Ephemeris 1 for SV E7  is not found");
}

TEST(SatelliteButtonName, FollowsTheGroups) {
    EXPECT_EQ(views::SatelliteButtonName(EphemSystem::GPS, 1), "RBG1");
    EXPECT_EQ(views::SatelliteButtonName(EphemSystem::GLONASS, 24), "RBR24");
    EXPECT_EQ(views::SatelliteButtonName(EphemSystem::GEO, 20), "RBS20");
    EXPECT_EQ(views::SatelliteButtonName(EphemSystem::Galileo, 36), "RBE36");
    EXPECT_EQ(views::SatelliteButtonName(EphemSystem::GEO, 58), "RBS58");
    EXPECT_EQ(views::SatelliteButtonName(EphemSystem::None, 1), "");
    EXPECT_EQ(views::FirstButton(EphemSystem::GEO), 20);
    EXPECT_EQ(views::LastButton(EphemSystem::GEO), 58); // PRN 158
    EXPECT_EQ(views::LastButton(EphemSystem::Galileo), 36);
    EXPECT_EQ(views::LastButton(EphemSystem::GLONASS), 24);
    EXPECT_EQ(views::LastButton(EphemSystem::GPS), 32);
}

// A view over record files written in a scratch folder, as a scan leaves them.
class EphemViewTest : public ::testing::Test {
protected:
    EphemViewTest() : folder("ephem") {
        sources.gpsFile = folder.file("EphemGPSRecs.dat");
        sources.gloFile = folder.file("EphemGLORecs.dat");
        sources.geoFile = folder.file("EphemGEORecs.dat");
        sources.galFile = folder.file("EphemGALRecs.dat");
        writeGPS({});
        writeGLO({});
        writeGEO({});
        writeGAL({});
    }

    // The file and the counts a scan would leave for these records.
    void writeGPS(const std::vector<nav::TEphemGPSRec>& records) {
        viewstest::writeRecords(sources.gpsFile, nav::kEphemGPSSize, records,
                                [](const nav::TEphemGPSRec& r) { return nav::encode(r); });
        sources.counts.gps.clear();
        for (const auto& r : records)
            sources.counts.gps.increment(r.prn);
    }
    void writeGLO(const std::vector<nav::TEphemGLORec>& records) {
        viewstest::writeRecords(sources.gloFile, nav::kEphemGLOSize, records,
                                [](const nav::TEphemGLORec& r) { return nav::encode(r); });
        sources.counts.glo.clear();
        for (const auto& r : records)
            sources.counts.glo.increment(r.slot);
    }
    void writeGEO(const std::vector<nav::TEphemGEORec>& records) {
        viewstest::writeRecords(sources.geoFile, nav::kEphemGEOSize, records,
                                [](const nav::TEphemGEORec& r) { return nav::encode(r); });
        sources.counts.geo.clear();
        for (const auto& r : records)
            sources.counts.geo.increment(r.prn);
    }
    void writeGAL(const std::vector<nav::TEphemGALRec>& records) {
        viewstest::writeRecords(sources.galFile, nav::kEphemGALSize, records,
                                [](const nav::TEphemGALRec& r) { return nav::encode(r); });
        sources.counts.gal.clear();
        for (const auto& r : records)
            sources.counts.gal.increment(r.prn);
    }

    static nav::TEphemGPSRec gps(std::int32_t prn, std::int16_t iodc) {
        nav::TEphemGPSRec r = gpsRecord();
        r.prn = prn;
        r.prnByte = static_cast<std::uint8_t>(prn);
        r.iodc = iodc;
        return r;
    }
    static nav::TEphemGALRec gal(std::int32_t prn) {
        nav::TEphemGALRec r;
        r.prn = prn;
        r.epoch = epochOf(20, 1, 1, 0, 0, 0);
        return r;
    }

    std::string gpsLabel(std::string_view name) const {
        return labelText(view.labels(EphemSystem::GPS), name);
    }

    ScratchFolder folder;
    views::EphemSources sources;
    views::EphemView view;
    NoticeRecorder observer;
};

TEST_F(EphemViewTest, OpensOnTheFirstGPSSatelliteWithRecords) {
    // Satellite 7's record comes first in the file; 3 has two.
    writeGPS({gps(7, 70), gps(3, 31), gps(3, 32)});
    view.open(sources, observer);

    for (std::int32_t k = 1; k <= 32; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(view.buttonEnabled(EphemSystem::GPS, k), k == 3 || k == 7);
    }
    EXPECT_FALSE(view.buttonEnabled(EphemSystem::GLONASS, 3));
    EXPECT_EQ(view.selectedButton(EphemSystem::GPS), 3);
    EXPECT_EQ(view.pageShown(), EphemSystem::GPS);
    EXPECT_EQ(view.title(), "GPS Ephemeris  sv=3   N=1");
    EXPECT_EQ(gpsLabel("STIODC"), " Issue of data, clock (IODC)     31");
    EXPECT_FALSE(view.lessEnabled());
    EXPECT_TRUE(view.moreEnabled());
    EXPECT_TRUE(observer.notices.empty());
}

TEST_F(EphemViewTest, StepsThroughTheRecordsOfOneSatellite) {
    writeGPS({gps(3, 31), gps(9, 90), gps(3, 32), gps(3, 33)});
    view.open(sources, observer);

    view.more(sources, observer);
    EXPECT_EQ(view.title(), "GPS Ephemeris  sv=3   N=2");
    EXPECT_EQ(gpsLabel("STIODC"), " Issue of data, clock (IODC)     32");
    EXPECT_TRUE(view.lessEnabled());
    EXPECT_TRUE(view.moreEnabled());

    view.more(sources, observer);
    EXPECT_EQ(view.title(), "GPS Ephemeris  sv=3   N=3");
    EXPECT_EQ(gpsLabel("STIODC"), " Issue of data, clock (IODC)     33");
    EXPECT_FALSE(view.moreEnabled()) << "the last record";
    EXPECT_TRUE(view.lessEnabled());

    view.less(sources, observer);
    view.less(sources, observer);
    EXPECT_EQ(view.position(), 1);
    EXPECT_EQ(gpsLabel("STIODC"), " Issue of data, clock (IODC)     31");
    EXPECT_FALSE(view.lessEnabled()) << "the first record";
    EXPECT_TRUE(view.moreEnabled());
    EXPECT_TRUE(observer.notices.empty());
}

TEST_F(EphemViewTest, ReadsTheFileAgainAtEveryStep) {
    writeGPS({gps(3, 31), gps(3, 32)});
    view.open(sources, observer);
    // The file changes underneath the view: nothing of it was kept.
    viewstest::writeRecords(sources.gpsFile, nav::kEphemGPSSize,
                            std::vector{gps(3, 41), gps(3, 42)},
                            [](const nav::TEphemGPSRec& r) { return nav::encode(r); });
    view.more(sources, observer);
    EXPECT_EQ(gpsLabel("STIODC"), " Issue of data, clock (IODC)     42");
}

TEST_F(EphemViewTest, ASatelliteWithOneRecordDisablesBothStepButtons) {
    writeGPS({gps(3, 31), gps(3, 32), gps(7, 70)});
    view.open(sources, observer);
    view.select(EphemSystem::GPS, 7, sources, observer);
    EXPECT_EQ(view.title(), "GPS Ephemeris  sv=7   N=1");
    EXPECT_FALSE(view.lessEnabled());
    EXPECT_FALSE(view.moreEnabled());
}

TEST_F(EphemViewTest, TellsARecordThatIsNotThere) {
    // The counts promise a second record of satellite 5 that the file does not hold.
    writeGPS({gps(5, 51)});
    sources.counts.gps.increment(5);
    view.open(sources, observer);
    view.more(sources, observer);

    ASSERT_EQ(observer.notices.size(), 1u);
    EXPECT_EQ(observer.notices[0], "Ephemeris 2 for SV G5  is not found");
    EXPECT_EQ(view.title(), "GPS Ephemeris  sv=5   N=1") << "the texts stay";
    EXPECT_EQ(gpsLabel("STIODC"), " Issue of data, clock (IODC)     51");
}

TEST_F(EphemViewTest, ShowsNothingBeyondTheCount) {
    writeGPS({gps(5, 51), gps(5, 52)});
    view.open(sources, observer);
    view.ShowEphemeris(EphemSystem::GPS, 5, 3, sources, observer);
    EXPECT_TRUE(observer.notices.empty());
    EXPECT_EQ(view.title(), "GPS Ephemeris  sv=5   N=1");
}

TEST_F(EphemViewTest, TellsARecordFileThatCannotBeOpened) {
    writeGPS({gps(5, 51)});
    std::filesystem::remove(sources.gpsFile);
    view.open(sources, observer);
    EXPECT_EQ(observer.notices, (std::vector<std::string>{"Error Opening File EphemGPSRecs.dat ! ",
                                                          "Ephemeris 1 for SV G5  is not found"}));
    EXPECT_EQ(view.title(), "");
    EXPECT_TRUE(view.labels(EphemSystem::GPS).empty());
}

TEST_F(EphemViewTest, FallsBackToGLONASSWithoutGPSRecords) {
    nav::TEphemGLORec r;
    r.slot = 12;
    writeGLO({r});
    view.open(sources, observer);
    EXPECT_EQ(view.selectedButton(EphemSystem::GLONASS), 12);
    EXPECT_EQ(view.pageShown(), EphemSystem::GLONASS);
    EXPECT_EQ(view.title(), "GLONASS Ephemeris  sv=12   N=1");
}

TEST_F(EphemViewTest, NeverSelectsGEOOrGalileoByItself) {
    writeGEO({geoRecord(20)});
    writeGAL({gal(4)});
    view.open(sources, observer);
    EXPECT_TRUE(view.buttonEnabled(EphemSystem::GEO, 20));
    EXPECT_TRUE(view.buttonEnabled(EphemSystem::Galileo, 4));
    EXPECT_EQ(view.pageShown(), EphemSystem::None);
    EXPECT_EQ(view.currentSystem(), EphemSystem::None);
    EXPECT_EQ(view.selectedButton(EphemSystem::GEO), 0);
    EXPECT_EQ(view.title(), "");
}

TEST_F(EphemViewTest, SelectingGEOAfterGalileoShowsOnlyTheGEOPage) {
    writeGEO({geoRecord(20), geoRecord(22)});
    writeGAL({gal(4)});
    view.open(sources, observer);
    view.select(EphemSystem::Galileo, 4, sources, observer);
    EXPECT_EQ(view.pageShown(), EphemSystem::Galileo);
    EXPECT_EQ(view.title(), "GAL Ephemeris  sv=4   N=1");

    view.select(EphemSystem::GEO, 22, sources, observer);
    EXPECT_EQ(view.pageShown(), EphemSystem::GEO);
    EXPECT_EQ(view.selectedButton(EphemSystem::GEO), 22);
    EXPECT_EQ(view.selectedButton(EphemSystem::Galileo), 0);
    // The title shows the number at offset 0 less 100.
    EXPECT_EQ(view.title(), "GEO Ephemeris  sv=22   N=1");
    EXPECT_EQ(labelText(view.labels(EphemSystem::GEO), "STuraGEO"), "  Accuracy code (URA)     4");
}

TEST_F(EphemViewTest, ShowsTheSatellitesInServiceToday) {
    // SDCM and BDSBAS broadcast as PRN 140-144; Galileo E33 is in orbit.
    writeGEO({geoRecord(40), geoRecord(58)});
    writeGAL({gal(33), gal(36)});
    view.open(sources, observer);
    for (const auto& [system, number] : {std::pair{EphemSystem::GEO, 40},
                                         {EphemSystem::GEO, 58},
                                         {EphemSystem::Galileo, 33},
                                         {EphemSystem::Galileo, 36}}) {
        SCOPED_TRACE(number);
        EXPECT_TRUE(view.buttonEnabled(system, number));
    }
    EXPECT_FALSE(view.buttonEnabled(EphemSystem::Galileo, 37));
    view.select(EphemSystem::GEO, 58, sources, observer);
    EXPECT_EQ(view.title(), "GEO Ephemeris  sv=58   N=1");
    view.select(EphemSystem::Galileo, 36, sources, observer);
    EXPECT_EQ(view.title(), "GAL Ephemeris  sv=36   N=1");
    EXPECT_TRUE(observer.notices.empty());
}

TEST_F(EphemViewTest, IgnoresNumbersOutsideTheSystemsRange) {
    writeGPS({gps(3, 31)});
    view.open(sources, observer);
    view.select(EphemSystem::GLONASS, 25, sources, observer);
    view.select(EphemSystem::GPS, 0, sources, observer);
    EXPECT_EQ(view.pageShown(), EphemSystem::GPS);
    EXPECT_EQ(view.title(), "GPS Ephemeris  sv=3   N=1");
    EXPECT_TRUE(observer.notices.empty());
}

TEST_F(EphemViewTest, ReopeningShowsTheKeptPositionFromTheFileAsItIsNow) {
    writeGPS({gps(3, 31), gps(3, 32), gps(3, 33)});
    view.open(sources, observer);
    view.more(sources, observer);

    // A new scan wrote other records for the same satellite.
    writeGPS({gps(3, 41), gps(3, 42), gps(3, 43)});
    view.open(sources, observer);
    EXPECT_EQ(view.title(), "GPS Ephemeris  sv=3   N=2");
    EXPECT_EQ(gpsLabel("STIODC"), " Issue of data, clock (IODC)     42");
    EXPECT_TRUE(view.lessEnabled());
    EXPECT_TRUE(view.moreEnabled());

    // Now with one record only: back to the first.
    writeGPS({gps(3, 51)});
    view.open(sources, observer);
    EXPECT_EQ(view.title(), "GPS Ephemeris  sv=3   N=1");
    EXPECT_FALSE(view.lessEnabled());
    EXPECT_FALSE(view.moreEnabled());
}

TEST_F(EphemViewTest, ReopeningDropsASelectionWhoseSatelliteLostItsRecords) {
    writeGAL({gal(4)});
    view.open(sources, observer);
    view.select(EphemSystem::Galileo, 4, sources, observer);

    writeGAL({});
    view.open(sources, observer);
    EXPECT_FALSE(view.buttonEnabled(EphemSystem::Galileo, 4));
    EXPECT_EQ(view.selectedButton(EphemSystem::Galileo), 0);
    EXPECT_EQ(view.pageShown(), EphemSystem::None);
    EXPECT_EQ(view.title(), "");
    EXPECT_FALSE(view.moreEnabled());
}

} // namespace
