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

/// A small observation file, written into a temporary folder and scanned with the scan
/// driver: five epochs 30 s apart with one missing (00:00:00, 00:00:30, 00:01:00, then
/// 00:02:00, 00:02:30) of G05, G12 and R03 with C1 P2 L1 L2 S1, and three external events of
/// input A 30 s apart.
struct ScannedObsFile {
    ScannedObsFile();

    bool scanned = false;
    std::string path(scan::TempFile file) const;
    const obs::TObsFileO& obs() const { return *driver->obsFile(); }

    QTemporaryDir folder;
    RecordingObserver scanObserver;
    std::unique_ptr<scan::TScanDriver> driver;
};

/// The text of the fixture's observation file.
std::string fixtureObservationFile();

} // namespace uitest
