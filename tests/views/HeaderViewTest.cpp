#include "views/HeaderView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A small header as the observation header scan leaves it: two satellites, four types.
header::THeaderData fixtureHeader() {
    header::THeaderData h;
    h.satelliteSystem = 0;
    h.markerName = "WTZR";
    h.markerNumber = "14201M010";
    h.observer = "AUTOMATIC";
    h.agency = "BKG";
    h.receiverNumber = "3001";
    h.receiverType = "LEICA GRX1200";
    h.receiverVersion = "7.50";
    h.antennaNumber = "200";
    h.antennaType = "LEIAT504";
    h.approxX = 4075580.3850L;
    h.approxY = 931853.8130L;
    h.approxZ = 4801568.2240L;
    h.antennaH = 0.071L;
    h.wavelengthL1 = 1;
    h.wavelengthL2 = 1;
    h.typeCount = 4;
    h.types[0] = 0; // C1
    h.types[1] = 5; // L1
    h.types[2] = 6; // L2
    h.types[3] = 4; // P2
    h.firstObsPresent = true;
    h.firstObs = {2009, 5, 25, 0, 0, 30.0L};
    h.timeSystem = "GPS";
    h.leapSeconds = 15;
    h.satelliteCount = 2;
    h.satellites[0] = {'G', 5};
    h.satellites[1] = {'R', 12};
    h.obsCounts[0] = {2880, 2879, 2879, 2870};
    h.obsCounts[1] = {10, 9, 8, 7};
    return h;
}

} // namespace

TEST(HeaderView, ShowsTheFixtureHeader) {
    const views::HeaderViewTexts v = views::computeHeaderView(fixtureHeader(), 30000, ",");
    EXPECT_EQ(v.satSys, "GPS");
    EXPECT_EQ(v.marName, "WTZR");
    EXPECT_EQ(v.recTyp, "LEICA GRX1200");
    EXPECT_EQ(v.apprX, "4075580,385"); // the user's decimal separator, shortest form
    EXPECT_EQ(v.antH, "0,071");
    EXPECT_EQ(v.antEe, "0");
    EXPECT_EQ(v.wlfL1, "1");
    EXPECT_EQ(v.wlfNS, "0");
    EXPECT_EQ(v.interval, "30000");
    EXPECT_EQ(v.firstObs, " 25/05/2009 00:00:30");
    EXPECT_EQ(v.lastObs, std::nullopt);
    EXPECT_EQ(v.leapSec, "15");
    EXPECT_EQ(v.numSat, "2");
    EXPECT_EQ(v.nObsTyp, "4");
    EXPECT_EQ(v.obsTyp, "  C1  L1  L2  P2");
    EXPECT_EQ(v.wfPrn, std::vector<std::string>{" SI   PRN "});
    EXPECT_EQ(v.prnObs, (std::vector<std::string>{" PRN            # OF Observation",
                                                  " G 5     2880  2879  2879  2870",
                                                  " R12       10     9     8     7"}));
}

TEST(HeaderView, NamesTheSatelliteSystem) {
    constexpr struct {
        std::uint8_t code;
        const char* name;
        const char* reason;
    } kCases[] = {
        {0, "GPS", "G or a blank"}, {1, "GLONASS", "R"},
        {2, "MIXED", "M"},          {3, "GEO", "S, a geostationary signal payload"},
        {4, "GALILEO", "E"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        header::THeaderData h;
        h.satelliteSystem = c.code;
        EXPECT_EQ(views::computeHeaderView(h, 0, ".").satSys, c.name);
    }
}

TEST(HeaderView, ListsTheWavelengthFactorSatellites) {
    header::THeaderData h;
    h.wavelengthSatCount = 2;
    h.wavelengthSats[0] = {'G', 5};
    h.wavelengthSats[1] = {'G', 14};
    const views::HeaderViewTexts v = views::computeHeaderView(h, 0, ".");
    EXPECT_EQ(v.wlfNS, "2");
    EXPECT_EQ(v.wfPrn, (std::vector<std::string>{" SI   PRN ", " G  5", " G  14"}));
}

TEST(HeaderView, FiveTypesGiveFiveCodesAndFiveColumns) {
    header::THeaderData h;
    h.typeCount = 5;
    h.types = {0, 3, 4, 5, 6, 14, 14, 14, 14, 14, 14, 14, 14, 14};
    h.satelliteCount = 1;
    h.satellites[0] = {'G', 31};
    h.obsCounts[0] = {1, 22, 333, 4444, 55555};
    const views::HeaderViewTexts v = views::computeHeaderView(h, 0, ".");
    EXPECT_EQ(v.obsTyp, "  C1  P1  P2  L1  L2");
    ASSERT_EQ(v.prnObs.size(), 2u);
    EXPECT_EQ(v.prnObs[1], " G31        1    22   333  4444 55555");
}

TEST(HeaderView, HeaderWithoutTypesLeavesTheTypeLabelsAndTheTable) {
    header::THeaderData h;
    h.satelliteCount = 3; // satellites without types give no count lines
    const views::HeaderViewTexts v = views::computeHeaderView(h, 0, ".");
    EXPECT_EQ(v.nObsTyp, std::nullopt);
    EXPECT_EQ(v.obsTyp, std::nullopt);
    EXPECT_EQ(v.prnObs, std::vector<std::string>{" PRN            # OF Observation"});
}

TEST(HeaderView, KeepsOddCountsInsideTheTables) {
    constexpr struct {
        std::int32_t wavelengthSats, satellites, types;
        std::size_t wfLines, prnLines;
        const char* reason;
    } kCases[] = {
        {61, 61, 14, 61, 61, "more entries than a header table holds"},
        {-1, 2, -1, 1, 1, "a type list still being read counts as none"},
        {0, -5, 3, 1, 1, "a negative satellite count lists nothing"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        header::THeaderData h;
        h.wavelengthSatCount = c.wavelengthSats;
        h.satelliteCount = c.satellites;
        h.typeCount = c.types;
        const views::HeaderViewTexts v = views::computeHeaderView(h, 0, ".");
        EXPECT_EQ(v.wfPrn.size(), c.wfLines);
        EXPECT_EQ(v.prnObs.size(), c.prnLines);
    }
}

TEST(HeaderView, WideCountsKeepTheirDigitsApart) {
    header::THeaderData h;
    h.typeCount = 2;
    h.types[0] = 0;
    h.types[1] = 5;
    h.satelliteCount = 1;
    h.satellites[0] = {'E', 11};
    h.obsCounts[0] = {1234567, 99999};
    const views::HeaderViewTexts v = views::computeHeaderView(h, 0, ".");
    EXPECT_EQ(v.prnObs[1], " E11    1234567 99999");
}

TEST(HeaderView, ObservationTimeIsPaddedAsTheEpochListAndHasWholeSeconds) {
    constexpr struct {
        text::TEpochTime time;
        std::string_view shown;
        const char* reason;
    } kCases[] = {
        {{2009, 12, 3, 23, 59, 59.9999999L}, " 03/12/2009 23:59:59", "seconds are truncated"},
        {{2009, 1, 1, 0, 5, 0.0L}, " 01/01/2009 00:05:00", "single digits get a leading 0"},
        {{99, 1, 1, 0, 0, 7.5L}, " 01/01/99 00:00:07", "the year is written as it is"},
        {{2009, 1, 1, 124, -3, 0.0L}, " 01/01/2009 124:-3:00", "odd header values stay whole"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        EXPECT_EQ(views::observationTimeText(c.time), c.shown);
    }
}
