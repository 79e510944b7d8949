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

// The fixtures' header around their type lines.
static std::vector<std::string> headerWith(const std::vector<std::string>& typeLines) {
    std::vector<std::string> lines = {
        H("     2.11           OBSERVATION DATA    M (MIXED)", "RINEX VERSION / TYPE"),
        H("quillon             tester              20261210", "PGM / RUN BY / DATE"),
        H("SITE", "MARKER NAME"),
        H("10901M001", "MARKER NUMBER"),
        H("RX-0042             QUILLON SIM RX      1.0", "REC # / TYPE / VERS"),
        H("  4367923.2439   502759.4648  4605585.9325", "APPROX POSITION XYZ"),
        H("        1.5000        0.0000        0.0000", "ANTENNA: DELTA H/E/N"),
        H("     1     1", "WAVELENGTH FACT L1/2"),
    };
    lines.insert(lines.end(), typeLines.begin(), typeLines.end());
    lines.push_back(H("    30.000", "INTERVAL"));
    lines.push_back(H("  2009     1     5     0     0    0.0000000     GPS", "TIME OF FIRST OBS"));
    lines.push_back(H("", "END OF HEADER"));
    return lines;
}

std::string fixtureObservationFile() {
    std::vector<std::string> lines =
        headerWith({H("     5    C1    P2    L1    L2    S1", "# / TYPES OF OBSERV")});
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

std::vector<std::string> manyTypesNames() {
    return {"S1", "D8", "L8", "L5", "L2", "D2", "L1", "D7", "S5", "D1", "D5",
            "P1", "C5", "C1", "S7", "L7", "C8", "C7", "P2", "S2", "S8", "C2"};
}

std::string manyTypesObservationFile() {
    const std::vector<std::string> names = manyTypesNames();
    std::vector<std::string> typeLines;
    for (std::size_t first = 0; first < names.size(); first += 9) {
        char count[8];
        std::snprintf(count, sizeof count, "%6zu", names.size());
        std::string line = first == 0 ? count : "      ";
        for (std::size_t j = first; j < names.size() && j < first + 9; ++j)
            line += "    " + names[j];
        typeLines.push_back(H(line, "# / TYPES OF OBSERV"));
    }
    std::vector<std::string> lines = headerWith(typeLines);
    for (int n = 0; n < 4; ++n) {
        lines.push_back(epochLine(30 * n, "  0  3G05E33S58"));
        for (int k = 0; k < 3; ++k) {
            std::string line;
            for (std::size_t p = 1; p <= names.size(); ++p) {
                const bool blank = k == 2 && (names[p - 1] == "D2" || names[p - 1] == "S2");
                char field[24];
                std::snprintf(field, sizeof field, "%14.3f %c",
                              1000.0 * (k + 1) + static_cast<double>(p) + n * 0.5,
                              names[p - 1][0] == 'D' ? ' ' : static_cast<char>('1' + (p - 1) % 9));
                line += blank ? std::string(16, ' ') : std::string(field);
                if (p % 5 == 0 || p == names.size()) {
                    while (!line.empty() && line.back() == ' ')
                        line.pop_back();
                    lines.push_back(line);
                    line.clear();
                }
            }
        }
    }
    std::string text;
    for (const std::string& l : lines)
        text += l + "\r\n";
    return text;
}

ScannedObsFile::ScannedObsFile(const std::string& text) {
    driver = std::make_unique<scan::TScanDriver>(
        scanObserver, [](const std::filesystem::path&) -> std::uint64_t { return 1ull << 40; });
    const std::string dir = folder.path().toStdString();
    scan::SetUpRun(driver->run(), ".", dir);
    const std::string file = dir + "/site0050.09o";
    {
        std::ofstream out(file, std::ios::binary);
        out << text;
    }
    scanned = driver->BBInputClick([file] { return std::optional<std::string>(file); }) &&
              driver->BBScanClick() && driver->obsFile() != nullptr;
}

std::string ScannedObsFile::path(scan::TempFile file) const {
    return driver->run().recordFileName(file);
}

} // namespace uitest
