#include "scan/ScanDriver.h"

#include "RecordingObserver.h"

#include "scan/RunSetup.h"
#include "scan/WindowState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using scan::Colour;
using scan::MenuItem;
using scan::NavSystem;
using scan::Panel;
using scantest::readBytes;
using scantest::ScratchFolder;
using scantest::writeBytes;
using text::FileKind;
using Lines = std::vector<std::string>;

namespace {

// ---- fixtures -------------------------------------------------------------------------------

std::string H(std::string_view content, std::string_view label) {
    std::string s(content);
    s.resize(60, ' ');
    return s + std::string(label);
}

std::string fileOf(std::initializer_list<Lines> parts) {
    std::string text;
    for (const Lines& part : parts)
        for (const std::string& l : part)
            text += l + "\r\n";
    return text;
}

Lines obsHeader() {
    return {
        H("     2.11           OBSERVATION DATA    M (MIXED)", "RINEX VERSION / TYPE"),
        H("quillon             tester              20261210", "PGM / RUN BY / DATE"),
        H("SITE", "MARKER NAME"),
        H("  4367923.2439   502759.4648  4605585.9325", "APPROX POSITION XYZ"),
        H("        1.5000        0.0000        0.0000", "ANTENNA: DELTA H/E/N"),
        H("     1     1", "WAVELENGTH FACT L1/2"),
        H("     2    C1    P2", "# / TYPES OF OBSERV"),
        H("    30.000", "INTERVAL"),
        H("  2009     1     5     0     0    0.0000000     GPS", "TIME OF FIRST OBS"),
        H("", "END OF HEADER"),
    };
}

// Epoch n (0-based) at 2009-01-05 00:00:00 + 30 s n, with G05, G12 and G30 observed, C1 and P2
// of each; satellite G30 has no P2 value.
Lines obsEpoch(int n) {
    char epoch[64];
    std::snprintf(epoch, sizeof epoch, " 09  1  5 %2d %2d %10.7f  0  3G05G12G30", n / 120,
                  (n / 2) % 60, (n % 2) * 30.0);
    return {epoch, "  21234567.123    21234568.123", "  22234567.123    22234568.123",
            "  23234567.123"};
}

Lines obsEpochs(int count) {
    Lines lines;
    for (int n = 0; n < count; ++n)
        for (std::string& l : obsEpoch(n))
            lines.push_back(std::move(l));
    return lines;
}

Lines gpsHeader() {
    return {
        H("     2.11           N: GPS NAV DATA", "RINEX VERSION / TYPE"),
        H("quillon             tester              20261210", "PGM / RUN BY / DATE"),
        H("    0.1118D-07  0.2235D-07 -0.5960D-07 -0.1192D-06", "ION ALPHA"),
        H("    0.1167D+06  0.1638D+05 -0.1311D+06 -0.3932D+06", "ION BETA"),
        H("    0.133179128170D-06 0.107469588780D-12   552960     1025", "DELTA-UTC: A0,A1,T,W"),
        H("    15", "LEAP SECONDS"),
        H("", "END OF HEADER"),
    };
}

Lines gpsRecord(std::string_view prn) {
    return {
        std::string(prn) +
            " 10  3  5 12  0  0.0 0.500000000000D+00-0.250000000000D+00 0.125000000000D+00",
        "    0.450000000000D+02 1.5D+00 6.283185307179586D+00 3.141592653589793D+00",
        "   -0.500000000000D+00 0.781250000000D-02 0.250000000000D+00 0.515350000000D+04",
        "    0.475200000000D+06 0.125000000000D+00-3.141592653589793D+00-2.0D+00",
        "    0.000000000000D+00 250.5D+00 1.5707963267948965D+00-6.283185307179586D+00",
        "    0.785398163397D+00 0.100000000000D+01 0.157300000000D+04 0.100000000000D+01",
        "    0.200000000000D+01 0.000000000000D+00-0.500000000000D+00 0.301000000000D+03",
        "    0.475000000000D+06",
    };
}

Lines gloFile() {
    return {
        H("     2.11           GLONASS NAV DATA", "RINEX VERSION / TYPE"),
        H("quillon             tester              20261210", "PGM / RUN BY / DATE"),
        H("  2001     1     1   -0.781250000000D-02", "CORR TO SYSTEM TIME"),
        H("    13", "LEAP SECONDS"),
        H("", "END OF HEADER"),
        " 2 01  1  1  1  0  0.0-0.500000000000D+00 0.250000000000D+00 0.360000000000D+04",
        "    0.515350000000D+04 0.200000000000D+01 0.250000000000D+00 0.100000000000D+01",
        "   -0.100000000000D+01-0.200000000000D+01 0.150000000000D+01-0.700000000000D+01",
        "    0.500000000000D+00 0.250500000000D+03-0.500000000000D+00 0.600000000000D+01",
    };
}

Lines geoFile() {
    return {
        H("     2.11           H: GEO NAV MSG DATA", "RINEX VERSION / TYPE"),
        H("quillon             tester              20261210", "PGM / RUN BY / DATE"),
        H("    11     1    15    0.100000000000D-07", "CORR TO SYSTEM TIME"),
        H("    15", "LEAP SECONDS"),
        H("", "END OF HEADER"),
        "29 11  1 15  2  7 30.0 0.125000000000D+00-0.250000000000D+00 0.475200000000D+06",
        "    0.515350000000D+04 0.200000000000D+01 0.250500000000D+03 0.100000000000D+01",
        "   -0.100000000000D+01-0.200000000000D+01 0.150000000000D+01 0.160000000000D+02",
        "    0.500000000000D+00 0.250000000000D+00-0.500000000000D+00 0.700000000000D+01",
    };
}

Lines galFile() {
    return {
        H("     2              L GALILEO NAVIGATION", "RINEX VERSION / TYPE"),
        H("quillon             tester              20261210", "PGM / RUN BY / DATE"),
        H("    0.1118D-07  0.2235D-07 -0.5960D-07 -0.1192D-06", "ION ALPHA"),
        H("    14", "LEAP SECONDS"),
        H("", "END OF HEADER"),
        "11 09  4  1  0  0  0.0 0.500000000000D+00-0.250000000000D+00 0.125000000000D+00",
        "    0.450000000000D+02 1.5D+00 6.283185307179586D+00 3.141592653589793D+00",
        "   -0.500000000000D+00 0.781250000000D-02 0.250000000000D+00 0.515350000000D+04",
        "    0.259200000000D+06 0.125000000000D+00-3.141592653589793D+00-2.0D+00",
        "    0.000000000000D+00 250.5D+00 1.5707963267948965D+00-6.283185307179586D+00",
        "    0.785398163397D+00 0.500000000000D+01 0.152500000000D+04 0.000000000000D+00",
        "    0.312000000000D+01 0.000000000000D+00-0.500000000000D+00 0.150000000000D+01",
        "    0.259000000000D+06",
    };
}

Lines meteoFile() {
    return {
        H("     2.11           METEOROLOGICAL DATA", "RINEX VERSION / TYPE"),
        H("quillon             tester              20261210", "PGM / RUN BY / DATE"),
        H("SITE", "MARKER NAME"),
        H("12345", "MARKER NUMBER"),
        H("     3    PR    TD    HR", "# / TYPES OF OBSERV"),
        H("QUILLON MET         BAROMETER                     0.1    PR", "SENSOR MOD/TYPE/ACC"),
        H("  -740290.0474 -5457071.7224  3207245.4169      217.5870 PR", "SENSOR POS XYZ/H"),
        H("", "END OF HEADER"),
        " 09  1  5  0  0  0 1013.2   15.1   63.2",
    };
}

const std::string kJunk = "this line is no part of any file";

/// Roomy disk, a run set up in a scratch folder, the driver and what it showed.
struct Rig {
    explicit Rig(const std::string& tag) : folder(tag), driver(observer, roomy) {
        scan::SetUpRun(driver.run(), ".", folder.path);
    }
    static std::uint64_t roomy(const fs::path&) { return 1ull << 40; }

    std::string put(const std::string& name, const std::string& content) {
        const std::string path = folder.file(name);
        writeBytes(path, content);
        return path;
    }
    bool choose(const std::string& path) {
        return driver.BBInputClick([path] { return std::optional<std::string>(path); });
    }
    bool scanFile(const std::string& path) { return choose(path) && driver.BBScanClick(); }
    const scan::WindowState& w() const { return driver.window(); }
    std::string temp(std::string_view name) const {
        return driver.run().TempDir + std::string(name);
    }

    ScratchFolder folder;
    scantest::RecordingObserver observer;
    scan::TScanDriver driver;
};

std::vector<MenuItem> enabledMenus(const scan::WindowState& w) {
    std::vector<MenuItem> items;
    for (std::size_t i = 0; i < scan::kMenuItemCount; ++i)
        if (w.menuEnabled[i])
            items.push_back(static_cast<MenuItem>(i));
    return items;
}

const std::vector<MenuItem> kAlwaysOn = {MenuItem::InputRinexFile1, MenuItem::QuillonHelp1,
                                         MenuItem::About1, MenuItem::ExitQuillon1};

std::vector<MenuItem> alwaysOnPlus(std::initializer_list<MenuItem> more) {
    std::vector<MenuItem> items = kAlwaysOn;
    items.insert(items.end(), more.begin(), more.end());
    std::sort(items.begin(), items.end());
    return items;
}

struct Expected {
    FileKind kind;
    Colour header, data;
};

void expectFiles(const scan::WindowState& w, std::initializer_list<Expected> rows) {
    for (const Expected& e : rows) {
        SCOPED_TRACE(std::string(1, scan::kindLetter(e.kind)));
        EXPECT_EQ(scan::colourWord(w.file(e.kind).header), scan::colourWord(e.header));
        EXPECT_EQ(scan::colourWord(w.file(e.kind).data), scan::colourWord(e.data));
    }
}

} // namespace

// ---- whole scans ----------------------------------------------------------------------------

TEST(TScanDriver, ScansAnObservationFileAlone) {
    Rig rig("drv-alone");
    const std::string o = rig.put("site0050.09o", fileOf({obsHeader(), obsEpochs(3)}));
    ASSERT_TRUE(rig.scanFile(o));
    const scan::WindowState& w = rig.w();

    EXPECT_EQ(rig.observer.notices, Lines{});
    expectFiles(w, {{FileKind::O, Colour::Lime, Colour::Lime},
                    {FileKind::N, Colour::Silver, Colour::Silver},
                    {FileKind::G, Colour::Silver, Colour::Silver},
                    {FileKind::H, Colour::Silver, Colour::Silver},
                    {FileKind::L, Colour::Silver, Colour::Silver},
                    {FileKind::M, Colour::Silver, Colour::Silver}});
    EXPECT_EQ(w.panel, Panel::PSumm);
    EXPECT_TRUE(w.PViewerInFront);
    EXPECT_EQ(enabledMenus(w),
              alwaysOnPlus({MenuItem::ViewSummury1, MenuItem::TimesEpochs1, MenuItem::Header1,
                            MenuItem::Satellites1, MenuItem::Measurements1, MenuItem::Occupations1,
                            MenuItem::Quality1}));
    EXPECT_FALSE(w.BBShowErrEnabled);
    EXPECT_TRUE(w.BBScanEnabled);
    EXPECT_TRUE(w.BBStopEnabled);
    EXPECT_EQ(w.STSumErr.text, "No");
    EXPECT_EQ(w.STSumErr.colour, Colour::Yellow);

    EXPECT_EQ(w.ESumFile, o);
    ASSERT_EQ(fs::file_size(o), 1155u);
    EXPECT_EQ(w.STEnd, "  1.128 KB");
    EXPECT_EQ(w.STSumStartEp.substr(0, 20), "Start   05/01/2009  ");
    EXPECT_EQ(w.STSumFinish.substr(0, 33), "Finish  05/01/2009  00:01:00.000 ");
    EXPECT_EQ(w.STSumNumEp, "Epochs           3");
    EXPECT_EQ(w.STSumInterval, "Interval          30000 ms");
    EXPECT_EQ(w.STSumGap, "Gaps               0");
    EXPECT_EQ(w.STSumXA, " XA   0");
    EXPECT_EQ(w.STSumXB, " XB   0");
    EXPECT_EQ(w.STSumMaxSat, " Maximum  3");
    EXPECT_EQ(w.STSumMinSat, " Minimum  3");
    EXPECT_EQ(w.ESumGPS, " 5 12 30");
    EXPECT_EQ(w.ESumGLO, " No");
    EXPECT_EQ(w.ESumGEO, " No");
    EXPECT_EQ(w.ESumGAL, " No");
    EXPECT_EQ(w.EGPSEph, " No");
    EXPECT_EQ(w.EGALEph, " No");
    // C1 of three satellites and P2 of two, in three epochs; the other codes read 0.
    std::array<std::string, header::kMaxTypes> counts;
    counts.fill("0");
    counts[0] = "9";
    counts[4] = "6";
    EXPECT_EQ(w.codeCounts, counts);
    EXPECT_EQ(w.ST_NFileStr, "22");
    EXPECT_EQ(w.ST_NHeaderStr, "10");
    EXPECT_EQ(w.ST_NDataStr, "12");
    // The input panel: the header's codes and the systems seen.
    EXPECT_EQ(w.codeIndicators[0], Colour::Lime);
    EXPECT_EQ(w.codeIndicators[4], Colour::Lime);
    EXPECT_EQ(w.codeIndicators[1], Colour::Silver);
    EXPECT_EQ(w.systemIndicators, (std::array<Colour, 4>{Colour::Lime, Colour::Silver,
                                                         Colour::Silver, Colour::Silver}));
    EXPECT_EQ(w.errorHeaderCaptions[0], "Header of file " + o);
    EXPECT_TRUE(fs::exists(rig.temp("Header.dat")));
    EXPECT_EQ(fs::file_size(rig.temp("RinexEpochs.dat")), 3u * 640u);
    EXPECT_EQ(w.status, "");
}

TEST(TScanDriver, ListsTodaysGalileoAndSbasSatellites) {
    Rig rig("drv-today");
    Lines data;
    for (const char* time : {" 09  1  5  0  0  0.0000000", " 09  1  5  0  0 30.0000000"}) {
        data.push_back(std::string(time) + "  0  4E33E36S40S58");
        for (int k = 0; k < 4; ++k)
            data.emplace_back("  21234567.123    21234568.123");
    }
    const std::string o = rig.put("site0050.09o", fileOf({obsHeader(), data}));
    Lines geo = geoFile();
    geo[5].replace(0, 2, "58"); // PRN 158
    rig.put("site0050.09H", fileOf({geo}));
    Lines gal = galFile();
    gal[5].replace(0, 2, "36");
    rig.put("site0050.09L", fileOf({gal}));
    ASSERT_TRUE(rig.scanFile(o));
    const scan::WindowState& w = rig.w();
    EXPECT_EQ(rig.observer.notices, Lines{});
    EXPECT_TRUE(rig.driver.lists().header(FileKind::O).empty());
    EXPECT_TRUE(rig.driver.lists().data(FileKind::O).empty());
    EXPECT_EQ(w.ESumGPS, " No");
    EXPECT_EQ(w.ESumGEO, " 40 58");
    EXPECT_EQ(w.ESumGAL, " 33 36");
    EXPECT_EQ(w.EGEOEph, " 58");
    EXPECT_EQ(w.EGALEph, " 36");
    EXPECT_EQ(rig.driver.EphemerisSatellites(NavSystem::GEO), (std::vector<int>{58}));
    EXPECT_EQ(rig.driver.EphemerisSatellites(NavSystem::GAL), (std::vector<int>{36}));
    EXPECT_EQ(w.systemIndicators,
              (std::array<Colour, 4>{Colour::Silver, Colour::Silver, Colour::Lime, Colour::Lime}));
    EXPECT_EQ(w.codeCounts[0], "8"); // C1 of four satellites in two epochs
}

TEST(TScanDriver, ScansAllFiveCompanionsInTheirOrder) {
    Rig rig("drv-five");
    const std::string o = rig.put("site0050.09o", fileOf({obsHeader(), obsEpochs(2)}));
    rig.put("site0050.09N", fileOf({gpsHeader(), gpsRecord(" 3"), gpsRecord("17")}));
    Lines glo = gloFile();
    glo.push_back(kJunk); // diagnostics in G and L: the errors window ends on L
    rig.put("site0050.09G", fileOf({glo}));
    rig.put("site0050.09H", fileOf({geoFile()}));
    Lines gal = galFile();
    gal.push_back(kJunk);
    rig.put("site0050.09L", fileOf({gal}));
    rig.put("site0050.09M", fileOf({meteoFile()}));
    ASSERT_TRUE(rig.scanFile(o));
    const scan::WindowState& w = rig.w();

    EXPECT_EQ(rig.observer.notices, Lines{});
    expectFiles(w, {{FileKind::O, Colour::Lime, Colour::Lime},
                    {FileKind::N, Colour::Lime, Colour::Lime},
                    {FileKind::G, Colour::Lime, Colour::Fuchsia},
                    {FileKind::H, Colour::Lime, Colour::Lime},
                    {FileKind::L, Colour::Lime, Colour::Fuchsia},
                    {FileKind::M, Colour::Lime, Colour::Lime}});
    EXPECT_EQ(w.EGPSEph, " 3 17");
    EXPECT_EQ(w.EGLOEph, " 2");
    EXPECT_EQ(w.EGEOEph, " 29");
    EXPECT_EQ(w.EGALEph, " 11");
    EXPECT_EQ(rig.driver.EphemerisSatellites(NavSystem::GPS), (std::vector<int>{3, 17}));
    EXPECT_EQ(w.ephemIndicators,
              (std::array<Colour, 4>{Colour::Lime, Colour::Lime, Colour::Lime, Colour::Lime}));
    EXPECT_EQ(w.errorsChoice, FileKind::L);
    EXPECT_TRUE(w.BBShowErrEnabled);
    EXPECT_EQ(w.STSumErr.text, "Yes");
    EXPECT_EQ(w.STSumErr.colour, Colour::Red);
    EXPECT_EQ(enabledMenus(w),
              alwaysOnPlus({MenuItem::ViewSummury1, MenuItem::ViewErrors1, MenuItem::TimesEpochs1,
                            MenuItem::Header1, MenuItem::Satellites1, MenuItem::Ephemerides1,
                            MenuItem::Measurements1, MenuItem::Ionoparameters1,
                            MenuItem::Occupations1, MenuItem::Meteo1, MenuItem::Quality1}));
    EXPECT_EQ(w.panel, Panel::PSumm);
    EXPECT_EQ(w.errorHeaderCaptions[static_cast<std::size_t>(FileKind::H)],
              "Header of file " + rig.folder.file("site0050.09H"));
    for (std::string_view name : {"Header.dat", "HeaderGPS.dat", "HeaderGLO.dat", "HeaderGEO.dat",
                                  "HeaderGAL.dat", "HeaderMeteo.dat"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(fs::exists(rig.temp(name)));
    }
    EXPECT_EQ(fs::file_size(rig.temp("EphemGPSRecs.dat")), 2u * 184u);
    EXPECT_EQ(fs::file_size(rig.temp("Meteo.dat")), 1040u);
    // The companion texts are opened in the order O, N, G, H, L, M.
    EXPECT_EQ(rig.driver.run().companionNames[0], rig.folder.file("site0050.09N"));
    ASSERT_NE(rig.driver.navFileN(), nullptr);
    ASSERT_NE(rig.driver.meteoFileM(), nullptr);
}

TEST(TScanDriver, ObservationDiagnosticsOutliveACleanNavigationFile) {
    Rig rig("drv-odiag");
    Lines data = obsEpochs(2);
    data.push_back(kJunk);
    const std::string o = rig.put("site0050.09o", fileOf({obsHeader(), data}));
    rig.put("site0050.09n", fileOf({gpsHeader(), gpsRecord(" 3")}));
    ASSERT_TRUE(rig.scanFile(o));
    const scan::WindowState& w = rig.w();

    expectFiles(w, {{FileKind::O, Colour::Lime, Colour::Fuchsia},
                    {FileKind::N, Colour::Lime, Colour::Lime}});
    EXPECT_EQ(w.STSumErr.text, "Yes");
    EXPECT_EQ(w.STSumErr.colour, Colour::Red);
    EXPECT_EQ(w.errorsChoice, FileKind::O);
    EXPECT_TRUE(w.BBShowErrEnabled);
    EXPECT_EQ(rig.driver.lists().data(FileKind::O).lines().at(1), kJunk);
    EXPECT_EQ(w.EGPSEph, " 3");
}

TEST(TScanDriver, NavigationHeaderFindingsAndAHeaderOnlyNavigationFile) {
    Rig rig("drv-navhead");
    const std::string o = rig.put("site0050.09o", fileOf({obsHeader(), obsEpochs(2)}));
    Lines n = gpsHeader();
    n[5] = H("    1X", "LEAP SECONDS");   // a header finding
    rig.put("site0050.09n", fileOf({n})); // and nothing after the header
    ASSERT_TRUE(rig.scanFile(o));
    const scan::WindowState& w = rig.w();

    EXPECT_EQ(rig.observer.notices, Lines{"There is only Header in Navigation File!"});
    expectFiles(w, {{FileKind::O, Colour::Lime, Colour::Lime},
                    {FileKind::N, Colour::Fuchsia, Colour::Red}});
    EXPECT_EQ(w.EGPSEph, " No");
    EXPECT_EQ(w.errorsChoice, FileKind::N);
    EXPECT_TRUE(w.menu(MenuItem::ViewErrors1));
    EXPECT_TRUE(w.BBShowErrEnabled);
    EXPECT_EQ(w.STSumErr.text, "Yes");
    EXPECT_FALSE(w.menu(MenuItem::Ephemerides1));
    EXPECT_TRUE(fs::exists(rig.temp("HeaderGPS.dat")));
}

TEST(TScanDriver, AFailedCompanionHeaderTurnsItsIndicatorRedAndStillExportsTheHeader) {
    Rig rig("drv-mhead");
    const std::string o = rig.put("site0050.09o", fileOf({obsHeader(), obsEpochs(2)}));
    Lines m = meteoFile();
    m[0] = std::string(81, 'x'); // a first line that is too long fails the meteo header
    rig.put("site0050.09m", fileOf({m}));
    ASSERT_TRUE(rig.scanFile(o));
    const scan::WindowState& w = rig.w();

    expectFiles(
        w, {{FileKind::O, Colour::Lime, Colour::Lime}, {FileKind::M, Colour::Red, Colour::Silver}});
    EXPECT_TRUE(fs::exists(rig.temp("HeaderMeteo.dat")));
    EXPECT_FALSE(w.menu(MenuItem::Meteo1));
    // Diagnostics of the M file alone count for the Errors indicator and open the window.
    EXPECT_EQ(w.STSumErr.text, "Yes");
    EXPECT_EQ(w.STSumErr.colour, Colour::Red);
    EXPECT_EQ(w.errorsChoice, FileKind::M);
    EXPECT_TRUE(w.menu(MenuItem::ViewErrors1));
}

TEST(TScanDriver, AHeaderOnlyObservationFileHasNoEpochs) {
    Rig rig("drv-oheader");
    const std::string o = rig.put("site0050.09o", fileOf({obsHeader()}));
    rig.put("site0050.09n", fileOf({gpsHeader(), gpsRecord(" 5")}));
    ASSERT_TRUE(rig.scanFile(o));
    const scan::WindowState& w = rig.w();

    expectFiles(
        w, {{FileKind::O, Colour::Red, Colour::Red}, {FileKind::N, Colour::Lime, Colour::Lime}});
    // A clean navigation file does not turn the indicator back: there are no epochs.
    EXPECT_EQ(w.STSumErr.text, "Yes");
    EXPECT_EQ(w.STSumErr.colour, Colour::Red);
    EXPECT_EQ(w.STSumNumEp, "Epochs           0");
    EXPECT_EQ(w.STSumGap, "Gaps               0");
    EXPECT_EQ(w.STSumMaxSat, " Maximum  0");
    EXPECT_EQ(w.STSumMinSat, " Minimum  100");
    EXPECT_EQ(w.STSumStartEp, " Start Epoch");
    EXPECT_EQ(w.EGPSEph, " 5");
    EXPECT_EQ(enabledMenus(w), alwaysOnPlus({MenuItem::ViewSummury1, MenuItem::ViewErrors1,
                                             MenuItem::Ephemerides1, MenuItem::Ionoparameters1}));
    EXPECT_EQ(w.panel, Panel::PSumm);
}

TEST(TScanDriver, AFailedObservationHeaderSkipsTheDataButNotTheCompanions) {
    Rig rig("drv-ofail");
    Lines header = obsHeader();
    header.pop_back(); // the file ends inside its header
    const std::string o = rig.put("site0050.09o", fileOf({header}));
    rig.put("site0050.09n", fileOf({gpsHeader(), gpsRecord(" 5")}));
    ASSERT_TRUE(rig.scanFile(o));
    const scan::WindowState& w = rig.w();

    expectFiles(
        w, {{FileKind::O, Colour::Red, Colour::Red}, {FileKind::N, Colour::Lime, Colour::Lime}});
    EXPECT_FALSE(w.headerViewFilled);
    EXPECT_EQ(w.codeIndicators[0], Colour::Silver);
    EXPECT_EQ(w.STSumErr.text, "Yes");
    EXPECT_EQ(w.STSumNumEp, "Epochs           0");
    EXPECT_FALSE(w.menu(MenuItem::Header1));
    EXPECT_TRUE(w.menu(MenuItem::ViewSummury1));
    EXPECT_TRUE(fs::exists(rig.temp("Header.dat")));
    EXPECT_EQ(fs::file_size(rig.temp("RinexEpochs.dat")), 0u);
}

// ---- choosing, refusing, resetting -----------------------------------------------------------

TEST(TScanDriver, CancellingTheDialogLeavesNoFileChosen) {
    Rig rig("drv-cancel");
    EXPECT_FALSE(rig.driver.BBInputClick([] { return std::optional<std::string>(); }));
    EXPECT_FALSE(rig.w().BBScanEnabled);
    EXPECT_EQ(rig.w().EFile, "");
    EXPECT_FALSE(rig.driver.RunScan());
    EXPECT_EQ(rig.observer.notices, Lines{"Select file first"});
}

TEST(TScanDriver, AMissingObservationFileEndsTheScanWithMenusOff) {
    Rig rig("drv-missing");
    const std::string o = rig.folder.file("none0050.09o");
    ASSERT_TRUE(rig.choose(o));
    EXPECT_EQ(rig.w().EFile, o);
    EXPECT_TRUE(rig.w().BBScanEnabled);
    EXPECT_FALSE(rig.driver.BBScanClick());
    EXPECT_EQ(rig.observer.notices, Lines{"Error Opening File " + o + " ! "});
    EXPECT_EQ(enabledMenus(rig.w()), kAlwaysOn);
    EXPECT_EQ(rig.w().panel, Panel::None);
}

TEST(TScanDriver, EveryScanStartsFromEmptyRecordFiles) {
    Rig rig("drv-empty");
    const std::string o = rig.put("site0050.09o", fileOf({obsHeader(), obsEpochs(3)}));
    ASSERT_TRUE(rig.scanFile(o));
    ASSERT_TRUE(rig.driver.BBScanClick()); // the same file again
    EXPECT_EQ(fs::file_size(rig.temp("RinexEpochs.dat")), 3u * 640u);
    EXPECT_EQ(rig.w().STSumNumEp, "Epochs           3");

    Lines header = obsHeader();
    header.pop_back();
    const std::string bad = rig.put("bad00050.09o", fileOf({header}));
    ASSERT_TRUE(rig.scanFile(bad));
    EXPECT_EQ(fs::file_size(rig.temp("RinexEpochs.dat")), 0u);
    EXPECT_EQ(fs::file_size(rig.temp("ObsRecs.dat")), 0u);
    EXPECT_EQ(rig.w().STSumStartEp, " Start Epoch"); // not the earlier file's span
}

TEST(TScanDriver, RecordFilesThatCannotBeCreatedRefuseTheScanUntilTheyCan) {
    Rig rig("drv-refuse");
    const std::string o = rig.put("site0050.09o", fileOf({obsHeader(), obsEpochs(1)}));
    // A file where the temporary folder should be.
    const std::string blocked = rig.driver.run().TempDir;
    fs::remove_all(blocked);
    writeBytes(blocked.substr(0, blocked.size() - 1), "x");
    const std::string message = "Error Opening File RinexEpochs.dat ! ";

    ASSERT_TRUE(rig.choose(o));
    EXPECT_EQ(rig.observer.notices, Lines{message});
    EXPECT_FALSE(rig.driver.BBScanClick());
    EXPECT_EQ(rig.observer.notices, (Lines{message, message}));
    EXPECT_EQ(rig.w().panel, Panel::None);

    fs::remove(blocked.substr(0, blocked.size() - 1));
    EXPECT_TRUE(rig.driver.BBScanClick());
    EXPECT_EQ(rig.observer.notices.size(), 2u);
    EXPECT_EQ(rig.w().STSumNumEp, "Epochs           1");
}

TEST(TScanDriver, ChoosingAFileResetsTheWindow) {
    Rig rig("drv-choose");
    const std::string o = rig.put("site0050.09o", fileOf({obsHeader(), obsEpochs(1)}));
    rig.put("site0050.09n", fileOf({gpsHeader(), gpsRecord(" 5")}));
    ASSERT_TRUE(rig.scanFile(o));
    ASSERT_EQ(rig.w().EGPSEph, " 5");
    ASSERT_TRUE(rig.choose(o));
    const scan::WindowState& w = rig.w();
    EXPECT_EQ(w.EGPSEph, " No");
    EXPECT_EQ(w.STEnd, "Filesize");
    EXPECT_EQ(w.panel, Panel::None);
    EXPECT_FALSE(w.BBStopEnabled);
    EXPECT_FALSE(w.BBShowErrEnabled);
    EXPECT_EQ(enabledMenus(w), kAlwaysOn);
    expectFiles(w, {{FileKind::O, Colour::Silver, Colour::Silver},
                    {FileKind::N, Colour::Silver, Colour::Silver}});
    EXPECT_EQ(w.ephemIndicators[0], Colour::Silver);
}

TEST(TScanDriver, SummaryPanelSwitching) {
    Rig rig("drv-panel");
    const std::string o = rig.put("site0050.09o", fileOf({obsHeader(), obsEpochs(1)}));
    ASSERT_TRUE(rig.scanFile(o));
    rig.driver.BBCloseSumClick();
    EXPECT_EQ(rig.w().panel, Panel::None);
    const std::string shown = rig.w().STSumNumEp;
    rig.driver.ViewSummury1Click();
    EXPECT_EQ(rig.w().panel, Panel::PSumm);
    EXPECT_EQ(rig.w().STSumNumEp, shown);
}

// ---- a running scan -------------------------------------------------------------------------

namespace {

/// Runs a handler at the first chance the data scan gives to handle input.
class PollingObserver final : public text::ScanObserver {
public:
    void progress(double) override {}
    void status(std::string_view) override {}
    void notice(std::string_view text) override { notices.emplace_back(text); }
    void pollInput() override {
        ++polls;
        if (polls == 1 && onFirstPoll)
            onFirstPoll();
    }
    bool stopRequested() const override { return false; }
    void clearStop() override {}
    void busy(bool) override {}
    void waitNotice(bool) override {}
    void epochShown(std::string_view, std::string_view) override {}
    void repaint() override {}
    void pause(int) override {}

    std::function<void()> onFirstPoll;
    std::vector<std::string> notices;
    int polls = 0;
};

struct PollRig {
    explicit PollRig(const std::string& tag) : folder(tag), driver(observer, Rig::roomy) {
        scan::SetUpRun(driver.run(), ".", folder.path);
        // 3000 epochs of four lines: the data scan polls at 5000, 10000 ... lines.
        obsPath = folder.file("long0050.09o");
        writeBytes(obsPath, fileOf({obsHeader(), obsEpochs(3000)}));
        writeBytes(folder.file("long0050.09n"), fileOf({gpsHeader(), gpsRecord(" 5")}));
        driver.BBInputClick([this] { return std::optional<std::string>(obsPath); });
    }
    ScratchFolder folder;
    PollingObserver observer;
    scan::TScanDriver driver;
    std::string obsPath;
};

} // namespace

TEST(TScanDriver, StopEndsTheDataScanAtItsNextPoll) {
    PollRig rig("drv-stop");
    rig.observer.onFirstPoll = [&] { rig.driver.BBStopClick(); };
    ASSERT_TRUE(rig.driver.BBScanClick());
    EXPECT_EQ(rig.observer.polls, 1);
    const scan::WindowState& w = rig.driver.window();
    // Line 5000 is the first line of epoch 1248 (10 header lines, four lines an epoch).
    EXPECT_EQ(w.STSumNumEp, "Epochs           1247");
    EXPECT_FALSE(rig.driver.stopRequested());
    expectFiles(w, {{FileKind::N, Colour::Lime, Colour::Lime}}); // the companions still run
}

TEST(TScanDriver, ARunningScanIgnoresScanAndFileChoice) {
    PollRig rig("drv-guard");
    bool chooserAsked = false;
    bool nestedScan = true, nestedChoice = true;
    rig.observer.onFirstPoll = [&] {
        EXPECT_TRUE(rig.driver.window().scanning);
        nestedScan = rig.driver.BBScanClick();
        nestedChoice = rig.driver.BBInputClick([&] {
            chooserAsked = true;
            return std::optional<std::string>("other.09o");
        });
    };
    ASSERT_TRUE(rig.driver.BBScanClick());
    EXPECT_FALSE(nestedScan);
    EXPECT_FALSE(nestedChoice);
    EXPECT_FALSE(chooserAsked);
    EXPECT_FALSE(rig.driver.window().scanning);
    EXPECT_EQ(rig.driver.window().EFile, rig.obsPath);
    EXPECT_EQ(rig.driver.window().STSumNumEp, "Epochs           3000");
    EXPECT_EQ(fs::file_size(rig.driver.run().TempDir + "RinexEpochs.dat"), 3000u * 640u);
}

TEST(TScanDriver, AnExitAnsweredYesDuringAScanStopsItAndThenCloses) {
    PollRig rig("drv-exit");
    std::vector<std::string> questions;
    bool closeNow = true;
    rig.observer.onFirstPoll = [&] {
        closeNow = rig.driver.FormCloseQuery([&](std::string_view q) {
            questions.emplace_back(q);
            return true;
        });
    };
    ASSERT_TRUE(rig.driver.BBScanClick());
    EXPECT_FALSE(closeNow);
    EXPECT_EQ(questions, Lines{"Do you really want to exit Quillon?"});
    EXPECT_TRUE(rig.driver.exitPending());
    EXPECT_EQ(rig.driver.window().STSumNumEp, "Epochs           1247");
    expectFiles(rig.driver.window(), {{FileKind::N, Colour::Silver, Colour::Silver}});
    // Once the scan has ended the window closes without asking again.
    EXPECT_TRUE(rig.driver.FormCloseQuery([](std::string_view) { return false; }));
    const std::string temp = rig.driver.run().TempDir;
    rig.driver.FormClose();
    EXPECT_FALSE(fs::exists(temp));
}

TEST(TScanDriver, AnExitAnsweredNoDuringAScanChangesNothing) {
    PollRig rig("drv-exitno");
    rig.observer.onFirstPoll = [&] {
        EXPECT_FALSE(rig.driver.FormCloseQuery([](std::string_view) { return false; }));
    };
    ASSERT_TRUE(rig.driver.BBScanClick());
    EXPECT_FALSE(rig.driver.exitPending());
    EXPECT_EQ(rig.driver.window().STSumNumEp, "Epochs           3000");
    expectFiles(rig.driver.window(), {{FileKind::N, Colour::Lime, Colour::Lime}});
}

// The data scan changes the header record (an event's new site, the first epoch's time) and
// the interval (the first step of a file without INTERVAL); the header view's source keeps the
// header as its scan read it.
TEST(TScanDriver, TheHeaderViewSourceIsTheHeaderAsRead) {
    Rig rig("drv-asread");
    Lines header = {
        H("     2.11           OBSERVATION DATA    G (GPS)", "RINEX VERSION / TYPE"),
        H("quillon             tester              20261210", "PGM / RUN BY / DATE"),
        H("QUIL", "MARKER NAME"),
        H("10901M001", "MARKER NUMBER"),
        H("        1.5000        0.0000        0.0000", "ANTENNA: DELTA H/E/N"),
        H("     1     1", "WAVELENGTH FACT L1/2"),
        H("     2    C1    P2", "# / TYPES OF OBSERV"),
        H("  2009     1     5     0     5    0.0000000     GPS", "TIME OF FIRST OBS"),
        H("", "END OF HEADER"),
    };
    const Lines event = {
        " 09  1  5  0  0 15.0000000  3  3",
        H("QUIL B", "MARKER NAME"),
        H("10901M002", "MARKER NUMBER"),
        H("        0.8765        0.0000        0.0000", "ANTENNA: DELTA H/E/N"),
    };
    const Lines first = obsEpochs(1);
    const Lines second = obsEpoch(1);
    const std::string o = rig.put("site0050.09o", fileOf({header, first, event, second}));
    ASSERT_TRUE(rig.scanFile(o));
    ASSERT_TRUE(rig.w().headerViewFilled);
    ASSERT_EQ(rig.driver.obsFile()->writtenEpochs, 2);

    // What the data scan made of the record: the view must not show it.
    const header::THeaderData& changed = rig.driver.headerO;
    EXPECT_EQ(changed.markerName, "QUIL B");
    EXPECT_EQ(rig.driver.obsFile()->intervalMs, 30000);

    const scan::HeaderAsRead& read = rig.driver.headerAsRead();
    EXPECT_EQ(read.header.markerName, "QUIL");
    EXPECT_EQ(read.header.markerNumber, "10901M001");
    EXPECT_EQ(read.header.antennaH, 1.5L);
    EXPECT_EQ(read.intervalMs, 0);
    EXPECT_TRUE(read.header.firstObsPresent);
    EXPECT_EQ(read.header.firstObs.minute, 5);
}
