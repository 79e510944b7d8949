#include "header/HeaderExport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string_view>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

header::THeaderData observationHeader() {
    header::THeaderData h;
    h.version = "2.11";
    h.satelliteSystem = 2;
    h.program = "TEQC  2008Dec10";
    h.runBy = "IGS";
    h.date = "20090106 00:27:20UTC";
    h.markerName = "SITE";
    h.markerNumber = "10503S006";
    h.observer = "Operator";
    h.agency = "Agency";
    h.receiverNumber = "3325";
    h.receiverType = "ASHTECH Z-XII3";
    h.receiverVersion = "CD00-1D02";
    h.antennaNumber = "CR13010";
    h.antennaType = "ASH701945E_M    NONE";
    h.approxX = 4027881.328L;
    h.approxY = 306998.7854L;
    h.approxZ = -4919498.8753L;
    h.antennaH = 0.0083L;
    h.antennaE = 0;
    h.antennaN = 0;
    h.wavelengthL1 = 1;
    h.wavelengthL2 = 2;
    h.wavelengthSatCount = 2;
    h.wavelengthSats[0] = {'G', 12};
    h.wavelengthSats[1] = {' ', 5};
    h.wavelengthSatFactors[0] = {1, 2};
    h.wavelengthSatFactors[1] = {2, 1};
    h.typeCount = 3;
    h.types[0] = 5; // L1
    h.types[1] = 6; // L2
    h.types[2] = 0; // C1
    h.interval = 30;
    h.firstObs = {2009, 1, 5, 0, 0, 30.0L};
    h.lastObs = {2009, 1, 5, 23, 59, 59.5L};
    h.timeSystem = "GPS";
    h.leapSeconds = 15;
    h.satelliteCount = 2;
    h.satellites[0] = {'G', 1};
    h.satellites[1] = {'R', 24};
    h.obsCounts[0] = {2870, 2870, 2869};
    h.obsCounts[1] = {120, 0, 118};
    h.firstObsPresent = true;
    h.lastObsPresent = true;
    return h;
}

class HeaderFileTest : public testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("quillon-header-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    static std::string bytesOf(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::filesystem::path dir;
};

} // namespace

TEST(ObsHeaderExport, ListsEveryItemInOrder) {
    const Lines expected = {
        "2.11",
        "MIXED",
        "TEQC  2008Dec10",
        "IGS",
        "20090106 00:27:20UTC",
        "SITE",
        "10503S006",
        "Operator",
        "Agency",
        "3325",
        "ASHTECH Z-XII3",
        "CD00-1D02",
        "CR13010",
        "ASH701945E_M    NONE",
        "  4027881.3280",
        "   306998.7854",
        " -4919498.8753",
        "        0.0083",
        "        0.0000",
        "        0.0000",
        "1",
        "2",
        "2",
        "G12 1 2", // each wavelength satellite with its L1 and L2 factors
        "G5 2 1",  // a blank system letter is GPS
        "3",
        "L1 L2 C1 ",
        "    30.000",
        "2009/1/5 0:0:30.0000000",
        "2009/1/5 23:59:59.5000000",
        "GPS",
        "15",
        "2",
        "G1 2870 2870 2869",
        "R24 120 0 118",
        "true",
        "true",
    };
    EXPECT_EQ(header::HeaderLines(observationHeader(), "."), expected);
}

TEST(ObsHeaderExport, HeaderWithoutOptionalRecords) {
    // No WAVELENGTH FACT, PRN / # OF OBS or TIME OF LAST OBS: empty tables and a cleared time.
    header::THeaderData h = observationHeader();
    h.wavelengthL1 = h.wavelengthL2 = h.wavelengthSatCount = 0;
    h.satelliteCount = 0;
    h.lastObs = text::TEpochTime{};
    h.lastObsPresent = false;
    const Lines lines = header::HeaderLines(h, ",");
    ASSERT_EQ(lines.size(), 33u);
    EXPECT_EQ(lines[20], "0");
    EXPECT_EQ(lines[21], "0");
    EXPECT_EQ(lines[22], "0");          // wavelength satellite count, no entry lines follow
    EXPECT_EQ(lines[23], "3");          // the type count
    EXPECT_EQ(lines[25], "    30.000"); // real(10, 3) keeps "." whatever the separator
    EXPECT_EQ(lines[26], "2009/1/5 0:0:30,0000000");
    EXPECT_EQ(lines[27], "0/1/1 0:0:0,0000000");
    EXPECT_EQ(lines[30], "0"); // satellite count, no entry lines follow
    EXPECT_EQ(lines[31], "true");
    EXPECT_EQ(lines.back(), "false");
}

TEST(ObsHeaderExport, ClearedRecord) {
    header::THeaderData h;
    h.Clear();
    const Lines lines = header::HeaderLines(h, ".");
    ASSERT_EQ(lines.size(), 33u);
    EXPECT_EQ(lines[1], "GPS");
    EXPECT_EQ(lines[23], "0"); // type count
    EXPECT_EQ(lines[24], "");  // no types listed
    EXPECT_EQ(lines[26], "0/1/1 0:0:0.0000000");
    EXPECT_EQ(lines[27], "0/1/1 0:0:0.0000000");
    EXPECT_EQ(lines[31], "false");
    EXPECT_EQ(lines[32], "false");
}

TEST(ObsHeaderExport, SatelliteSystemNames) {
    constexpr struct {
        std::uint8_t code;
        const char* name;
    } kCases[] = {
        {0, "GPS"},     {1, "GLONASS"},
        {2, "MIXED"},   {3, "GEO"}, // "S" in column 41: a geostationary signal payload
        {4, "GALILEO"},             // "E"
        {5, ""},                    // no name for this code: the line stays, empty
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        header::THeaderData h;
        h.satelliteSystem = c.code;
        EXPECT_EQ(header::HeaderLines(h, ".")[1], c.name);
    }
}

TEST(ObsHeaderExport, SystemLetterOfEachSystem) {
    constexpr struct {
        char system;
        char letter;
    } kCases[] = {
        {'G', 'G'},  {' ', 'G'}, // blank counts as GPS
        {'R', 'R'},  {'S', 'S'}, // SBAS keeps its letter
        {'E', 'E'},              // Galileo too
        {'\0', 'R'},             // a cleared entry
        {'X', 'R'},              // a letter the program does not know
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(1, c.system));
        EXPECT_EQ(header::ExportSystemLetter(c.system), c.letter);
    }
    header::THeaderData h = observationHeader();
    h.satellites[0] = {'S', 20};
    h.satellites[1] = {'E', 11};
    const Lines lines = header::HeaderLines(h, ".");
    EXPECT_EQ(lines[33], "S20 2870 2870 2869");
    EXPECT_EQ(lines[34], "E11 120 0 118");
}

TEST(ObsHeaderExport, TablesStopAtTheirCapacity) {
    header::THeaderData h;
    h.typeCount = 30; // more than the 26 types kept
    for (std::size_t i = 0; i < header::kMaxTypes; ++i)
        h.types[i] = static_cast<std::uint8_t>(i);
    h.satelliteCount = 70; // more than the 60 entries kept
    h.wavelengthSatCount = -1;
    const Lines lines = header::HeaderLines(h, ".");
    EXPECT_EQ(lines[22], "-1"); // the count stands as stored, no entries follow
    EXPECT_EQ(lines[23], "30");
    EXPECT_EQ(lines[24],
              "C1 C2 C5 P1 P2 L1 L2 L5 D1 D2 D5 S1 S2 S5 C6 C7 C8 L6 L7 L8 D6 D7 D8 S6 S7 S8 ");
    EXPECT_EQ(lines[30], "70");
    ASSERT_EQ(lines.size(), 31u + 60u + 2u);
    std::string cleared = "R0"; // a cleared entry with its 26 counts
    for (std::size_t i = 0; i < header::kMaxTypes; ++i)
        cleared += " 0";
    EXPECT_EQ(lines[31], cleared);
}

TEST(ObsHeaderExport, TwentyTwoTypesOfAMixedReceiver) {
    // The header's order, as a receiver of 2016 lists bands 1, 2, 5, 7 and 8.
    const std::vector<std::string_view> names = {"S1", "D8", "L8", "L5", "L2", "D2", "L1", "D7",
                                                 "S5", "D1", "D5", "P1", "C5", "C1", "S7", "L7",
                                                 "C8", "C7", "P2", "S2", "S8", "C2"};
    header::THeaderData h;
    h.typeCount = static_cast<std::int32_t>(names.size());
    std::string typeLine;
    std::string countLine = "E33";
    for (std::size_t i = 0; i < names.size(); ++i) {
        h.types[i] = *header::ObsTypeCode(names[i]);
        h.obsCounts[0][i] = static_cast<std::int32_t>(100 + i);
        typeLine += std::string(names[i]) + " ";
        countLine += " " + std::to_string(100 + i);
    }
    h.satelliteCount = 1;
    h.satellites[0] = {'E', 33};
    const Lines lines = header::HeaderLines(h, ".");
    EXPECT_EQ(lines[23], "22");
    EXPECT_EQ(lines[24], typeLine);
    EXPECT_EQ(lines[24].substr(0, 12), "S1 D8 L8 L5 ");
    EXPECT_EQ(lines[31], countLine);
}

TEST(ObsHeaderExport, TypeWithoutNameKeepsItsPlace) {
    header::THeaderData h;
    h.typeCount = 2;
    h.types[0] = 1;               // C2
    h.types[1] = header::kNoType; // never filled
    EXPECT_EQ(header::HeaderLines(h, ".")[24], "C2    ");
}

TEST(NavHeaderExport, GPSHeaderHoldsTwentyThreeLines) {
    header::THeaderDataGPS h;
    h.version = "2.10";
    h.program = "CCRINEXN V1.6.0 UX";
    h.runBy = "CDDIS";
    h.date = "06-JAN-09 15:46";
    h.leapSeconds = 15;
    h.ion = {0.1118e-7f, 0.0f, -0.5960e-7f, 0.1192e-6f, 90112.0f, 0.0f, -196608.0f, 65536.0f};
    h.a0 = 0.186264514923e-8;
    h.a1 = 0.5f;
    h.t = -1; // written out as unsigned
    h.w = 1512;
    h.leapSecondsShort = -3;
    const Lines expected = {
        "2.10",
        "CCRINEXN V1.6.0 UX",
        "CDDIS",
        "06-JAN-09 15:46",
        "15",
        "0",                   // reserved 1
        "0",                   // reserved 2
        "1,11800000368589E-8", // a widened single shows its binary value
        "0",
        "-5,96000013786124E-8",
        "1,19200002757225E-7",
        "90112",
        "0",
        "-196608",
        "65536",
        "4294967295",
        "1512",
        "-3",
        "0", // reserved 3
        "0", // reserved 4
        "0", // reserved 5
        "1,86264514923E-9",
        "0,5",
    };
    EXPECT_EQ(header::HeaderLines(h, ","), expected);

    header::THeaderDataGPS cleared;
    cleared.Clear();
    const Lines empty = header::HeaderLines(cleared, ".");
    ASSERT_EQ(empty.size(), 23u);
    for (std::size_t i = 4; i < empty.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(empty[i], "0");
    }
}

TEST(NavHeaderExport, GLONASSHeaderHoldsNineLines) {
    header::THeaderDataGLO h;
    h.version = "2.01";
    h.leapSeconds = 14;
    h.program = "CCRINEXG V1.4 UX";
    h.runBy = "CDDIS";
    h.date = "06-JAN-09 16:05";
    h.corrToSystemTime = -0.135041773319e-7L;
    h.corrYear = 2009;
    h.corrMonth = 1;
    h.corrDay = 5;
    const Lines expected = {
        "2.01", "14", "CCRINEXG V1.4 UX", "CDDIS", "06-JAN-09 16:05", "-1,35041773319E-8", "2009",
        "1",    "5"};
    EXPECT_EQ(header::HeaderLines(h, ","), expected);
}

TEST(MeteoHeaderExport, TypesSensorsAndPositions) {
    header::THeaderDataMeteo h;
    h.version = "2.10";
    h.program = "TEQC";
    h.runBy = "UNAVCO";
    h.date = "20090106";
    h.markerName = "SITE";
    h.markerNumber = "10503S006";
    h.typeCount = 3;
    h.types[0] = 0;
    h.types[1] = 1;
    h.types[2] = 2;
    const Lines noSensors = {"2.10",      "TEQC",       "UNAVCO", "20090106", "SITE",
                             "10503S006", "3 PR TD HR", "0",      "0"};
    EXPECT_EQ(header::HeaderLines(h, "."), noSensors);

    h.sensorCount = 1;
    h.sensors[0] = {"PAROSCIENTIFIC      ", "740-16B             ", 0.1L, 0};
    h.positionCount = 1;
    h.positions[0] = {4027881.3L, 306998.8L, -4919498.9L, 1.5L, 0};
    const Lines lines = header::HeaderLines(h, ",");
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[7], "1");
    EXPECT_EQ(lines[8], "PAROSCIENTIFIC       740-16B              0,1 PR");
    EXPECT_EQ(lines[9], "1");
    EXPECT_EQ(lines[10], "  4027881.3000    306998.8000  -4919498.9000         1.5000 PR");
}

TEST(MeteoHeaderExport, TypesOfRinex211) {
    header::THeaderDataMeteo h;
    h.typeCount = 7;
    for (const auto& [i, name] :
         {std::pair{0, "PR"}, {1, "TD"}, {2, "HR"}, {3, "WS"}, {4, "WD"}, {5, "RI"}, {6, "HI"}})
        h.types[static_cast<std::size_t>(i)] = *header::MeteoTypeCode(name);
    h.sensorCount = 1;
    h.sensors[0] = {"VAISALA", "WXT520", 0.3L, *header::MeteoTypeCode("WS")};
    const Lines lines = header::HeaderLines(h, ".");
    EXPECT_EQ(lines[6], "7 PR TD HR WS WD RI HI");
    EXPECT_EQ(lines[8], "VAISALA WXT520 0.3 WS");
    // The codes of RINEX 2.10 keep their meaning; the new types follow the no-type code 6.
    EXPECT_EQ(header::MeteoTypeCode("ZT"), 5);
    EXPECT_EQ(header::MeteoTypeCode("WS"), 7);
    EXPECT_EQ(header::MeteoTypeCode("HI"), 10);
    EXPECT_EQ(header::MeteoTypeName(header::kNoMeteoType), "None");
}

TEST(MeteoHeaderExport, UnknownTypeCodeReadsNone) {
    header::THeaderDataMeteo h;
    h.typeCount = 1; // the type list was never filled
    EXPECT_EQ(header::HeaderLines(h, ".")[6], "1 None");
}

TEST_F(HeaderFileTest, WritesCarriageReturnLineFeedLines) {
    header::THeaderDataGLO h;
    h.version = "2.01";
    const auto path = dir / header::kGLOHeaderFile;
    {
        std::ofstream old(path, std::ios::binary);
        old << "an earlier export that is longer than the new one\n";
    }
    ASSERT_TRUE(header::SaveHeaderFile(h, path, "."));
    EXPECT_EQ(bytesOf(path), "2.01\r\n0\r\n\r\n\r\n\r\n0\r\n0\r\n0\r\n0\r\n");
}

TEST_F(HeaderFileTest, EveryRecordWritesItsLines) {
    header::THeaderDataGAL gal;
    gal.version = "2.12";
    header::THeaderDataGEO geo;
    geo.version = "2.11";
    header::THeaderDataMeteo meteo;
    meteo.version = "2.10";
    ASSERT_TRUE(header::SaveHeaderFile(observationHeader(), dir / header::kObsHeaderFile, "."));
    ASSERT_TRUE(header::SaveHeaderFile(gal, dir / header::kGALHeaderFile, "."));
    ASSERT_TRUE(header::SaveHeaderFile(geo, dir / header::kGEOHeaderFile, "."));
    ASSERT_TRUE(header::SaveHeaderFile(meteo, dir / header::kMeteoHeaderFile, "."));

    const std::string obs = bytesOf(dir / "Header.dat");
    EXPECT_EQ(obs.substr(0, 12), "2.11\r\nMIXED\r");
    EXPECT_EQ(obs.substr(obs.size() - 12), "true\r\ntrue\r\n");
    const std::string galBytes = bytesOf(dir / "HeaderGAL.dat");
    EXPECT_EQ(galBytes.substr(0, 6), "2.12\r\n");
    EXPECT_EQ(std::count(galBytes.begin(), galBytes.end(), '\n'), 23);
    EXPECT_EQ(bytesOf(dir / "HeaderGEO.dat"), "2.11\r\n0\r\n\r\n\r\n\r\n0\r\n0\r\n0\r\n0\r\n");
    EXPECT_EQ(bytesOf(dir / "HeaderMeteo.dat"), "2.10\r\n\r\n\r\n\r\n\r\n\r\n0\r\n0\r\n0\r\n");
}

TEST_F(HeaderFileTest, FolderMissingIsAFailureNotAThrow) {
    header::THeaderDataGPS h;
    EXPECT_FALSE(header::SaveHeaderFile(h, dir / "gone" / header::kGPSHeaderFile, "."));
    EXPECT_FALSE(std::filesystem::exists(dir / "gone"));
}
