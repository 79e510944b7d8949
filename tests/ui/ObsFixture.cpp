#include "ObsFixture.h"

#include "scan/RunSetup.h"

#include <cstdio>
#include <fstream>
#include <optional>

namespace uitest {

static std::string H(std::string_view content, std::string_view label) {
    std::string s(content);
    s.resize(60, ' ');
    return s + std::string(label);
}

static std::string epochLine(int second, std::string_view tail) {
    char line[80];
    std::snprintf(line, sizeof line, " 09  1  5  0 %2d %10.7f%s", second / 60, second % 60 * 1.0,
                  std::string(tail).c_str());
    return line;
}

std::string fixtureObservationFile() {
    std::vector<std::string> lines = {
        H("     2.11           OBSERVATION DATA    M (MIXED)", "RINEX VERSION / TYPE"),
        H("quillon             tester              20261210", "PGM / RUN BY / DATE"),
        H("SITE", "MARKER NAME"),
        H("10901M001", "MARKER NUMBER"),
        H("RX-0042             QUILLON SIM RX      1.0", "REC # / TYPE / VERS"),
        H("  4367923.2439   502759.4648  4605585.9325", "APPROX POSITION XYZ"),
        H("        1.5000        0.0000        0.0000", "ANTENNA: DELTA H/E/N"),
        H("     1     1", "WAVELENGTH FACT L1/2"),
        H("     5    C1    P2    L1    L2    S1", "# / TYPES OF OBSERV"),
        H("    30.000", "INTERVAL"),
        H("  2009     1     5     0     0    0.0000000     GPS", "TIME OF FIRST OBS"),
        H("", "END OF HEADER"),
    };
    const int seconds[] = {0, 30, 60, 120, 150};
    int n = 0;
    for (const int s : seconds) {
        lines.push_back(epochLine(s, "  0  3G05G12R03"));
        for (int k = 0; k < 3; ++k) {
            char obs[81];
            std::snprintf(obs, sizeof obs, "%14.3f 7%14.3f 5%14.3f 8%14.3f 6%14.3f  ",
                          21000000.0 + 1000.0 * k + n, 21000003.0 + 1000.0 * k + n,
                          110000000.0 + 10.0 * n, 85700000.0 + 10.0 * n, 45.0 + k);
            lines.emplace_back(obs);
        }
        if (n < 3) // the external events of input A at 10, 40 and 70 s
            lines.push_back(epochLine(s + 10, "  5  0"));
        ++n;
    }
    std::string text;
    for (const std::string& l : lines)
        text += l + "\r\n";
    return text;
}

ScannedObsFile::ScannedObsFile() {
    driver = std::make_unique<scan::TScanDriver>(
        scanObserver, [](const std::filesystem::path&) -> std::uint64_t { return 1ull << 40; });
    const std::string dir = folder.path().toStdString();
    scan::SetUpRun(driver->run(), ".", dir);
    const std::string file = dir + "/site0050.09o";
    {
        std::ofstream out(file, std::ios::binary);
        out << fixtureObservationFile();
    }
    scanned = driver->BBInputClick([file] { return std::optional<std::string>(file); }) &&
              driver->BBScanClick() && driver->obsFile() != nullptr;
}

std::string ScannedObsFile::path(scan::TempFile file) const {
    return driver->run().recordFileName(file);
}

} // namespace uitest
