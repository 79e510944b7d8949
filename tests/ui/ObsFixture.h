#pragma once

#include "scan/ScanDriver.h"
#include "text/ScanObserver.h"

#include <QTemporaryDir>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace uitest {

/// Records the messages a panel tells; shows nothing else.
class RecordingObserver final : public text::ScanObserver {
public:
    void progress(double) override {}
    void status(std::string_view) override {}
    void notice(std::string_view text) override { notices.emplace_back(text); }
    void pollInput() override {}
    bool stopRequested() const override { return false; }
    void clearStop() override {}
    void busy(bool) override {}
    void waitNotice(bool) override {}
    void epochShown(std::string_view, std::string_view) override {}
    void repaint() override {}
    void pause(int milliseconds) override { pauses.push_back(milliseconds); }

    std::vector<std::string> notices;
    std::vector<int> pauses;
};

/// The text of the fixture's observation file.
std::string fixtureObservationFile();
/// A file of the types of a mixed receiver of 2016: 22 types over three type lines (bands 1,
/// 2, 5, 7 and 8, no C6 ... S6), five observation lines per satellite, four epochs 30 s apart
/// of G05, E33 and S58. The value of type position p (1-based) of satellite k (0-based) in
/// epoch n is 1000 (k + 1) + p + n / 2, with strength digit 1 + (p - 1) mod 9 (0 for Doppler);
/// D2 and S2 are blank for S58.
std::string manyTypesObservationFile();
/// The type names of manyTypesObservationFile, in header order.
std::vector<std::string> manyTypesNames();

/// A small observation file, written into a temporary folder and scanned with the scan
/// driver: five epochs 30 s apart with one missing (00:00:00, 00:00:30, 00:01:00, then
/// 00:02:00, 00:02:30) of G05, G12 and R03 with C1 P2 L1 L2 S1, and three external events of
/// input A 30 s apart.
struct ScannedObsFile {
    explicit ScannedObsFile(const std::string& text = fixtureObservationFile());

    bool scanned = false;
    std::string path(scan::TempFile file) const;
    const obs::TObsFileO& obs() const { return *driver->obsFile(); }

    QTemporaryDir folder;
    RecordingObserver scanObserver;
    std::unique_ptr<scan::TScanDriver> driver;
};

} // namespace uitest
