#pragma once

#include "header/HeaderData.h"
#include "meteo/MeteoFileM.h"
#include "nav/GALNavFile.h"
#include "nav/GEONavFile.h"
#include "nav/GLONavFile.h"
#include "nav/GPSNavFile.h"
#include "obs/ObsFileO.h"
#include "scan/RunSetup.h"
#include "scan/WindowState.h"
#include "text/Diagnostics.h"
#include "text/DiskSpace.h"
#include "text/LineReader.h"
#include "text/ScanObserver.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scan {

/// The open-file dialog of "Input  File": its title and filter.
inline constexpr std::string_view kOpenDialogTitle = "Select Rinex Observation File";
inline constexpr std::string_view kOpenDialogFilter =
    "Observation files (*.*O)|*.*O|All files (*.*)|*.*";
inline constexpr std::string_view kExitQuestion = "Do you really want to exit Quillon?";

/// Shows the open-file dialog; none when it is cancelled.
using FileChooser = std::function<std::optional<std::string>()>;
/// Asks a Yes/No question; true for Yes.
using YesNoQuestion = std::function<bool(std::string_view)>;

/// The observation header as its header scan left it, with the scanner's interval at that
/// moment: what the header view shows. The data scan goes on to change both (an event's new
/// site and antenna, the first epoch's time where the header's differs, the first step of a
/// file without an INTERVAL line), and the view must not show those.
struct HeaderAsRead {
    header::THeaderData header;
    std::int32_t intervalMs = 0; // milliseconds; 0 when the header gives none
};

/// The four navigation systems in summary order.
enum class NavSystem { GPS, GLO, GEO, GAL };

/// The whole order of a scan, without a window: choosing the file, the resets, the observation
/// step, the companion steps and the summary. Owns what the window and the views read after a
/// scan: the run state, the window state model, the six header records, the twelve
/// diagnostics lists and the scanner object of each file kind (kept until the next scan).
///
/// Everything the user sees while a step runs goes to the observer; the driver also keeps its
/// status, gauge, cursor and epoch texts in the window state. While the observation data scan
/// lets pending input be handled, a second Scan and a new file choice are ignored, and an exit
/// request that is answered Yes stops the scan at its next poll (see FormCloseQuery).
class TScanDriver {
public:
    /// The run state is left as it is: call SetUpRun (or fill it) before the first scan.
    /// `freeSpace` asks the free space of the record files' drive (tests hand in their own).
    explicit TScanDriver(text::ScanObserver& observer,
                         text::FreeSpaceFunction freeSpace = text::SystemFreeSpace);
    TScanDriver(const TScanDriver&) = delete;
    TScanDriver& operator=(const TScanDriver&) = delete;
    ~TScanDriver();

    // The handlers the window forwards.

    /// "Input  File": resets, then asks the chooser; true when a file was chosen. Ignored
    /// (false) while a scan runs.
    bool BBInputClick(const FileChooser& choose);
    bool InputRinexFile1Click(const FileChooser& choose) { return BBInputClick(choose); }
    /// "Scan": enables Stop and runs the scan. Ignored (false) while a scan runs.
    bool BBScanClick();
    /// "Scan Rinex file": the scan without touching Stop (the item itself stays disabled).
    bool ScanRinexFile1Click() { return m_scanning ? false : RunScan(); }
    /// Sets StopRequested; the observation data scan honours it at its next poll.
    void BBStopClick() noexcept { m_stopRequested = true; }
    /// The close question. Without a running scan: true (close now) when answered Yes. During
    /// a scan: false; a Yes stops the scan at its next poll and makes exitPending() true, and
    /// the window closes once BBScanClick has returned.
    bool FormCloseQuery(const YesNoQuestion& ask);
    /// At close: the record files and the temporary folder go.
    void FormClose();
    /// "View Summury" and the summary's "Close".
    void ViewSummury1Click();
    void BBCloseSumClick();

    /// The whole scan; false when it could not run (no file, the record files, the
    /// observation file cannot be opened).
    bool RunScan();

    // The steps of a scan, in their order.

    void ResetIndicators();
    /// The reset of the scan state; creates the record files when they are not there yet.
    void ResetScanState();
    void DisableViewMenus();
    void HideViewPanels();
    /// False (after "Select file first") when no file is chosen.
    bool ClearErrorLists();
    void ScanObservationFile();
    void FinishObservationScan();
    /// One companion step for N, G, H, L or M; false when its header or data scan failed.
    bool ScanCompanionFile(text::FileKind kind);
    void AddObservationSummary();
    void AddEphemerisSummary(NavSystem system);
    void EndScan();

    // What the window and the views read.

    RunState& run() noexcept { return m_run; }
    const RunState& run() const noexcept { return m_run; }
    WindowState& window() noexcept { return m_window; }
    const WindowState& window() const noexcept { return m_window; }
    text::DiagnosticsLists& lists() noexcept { return m_lists; }
    const text::DiagnosticsLists& lists() const noexcept { return m_lists; }

    bool scanning() const noexcept { return m_scanning; }
    bool stopRequested() const noexcept { return m_stopRequested; }
    bool exitPending() const noexcept { return m_exitPending; }

    header::THeaderData headerO;
    header::THeaderDataGPS headerGPS;
    header::THeaderDataGLO headerGLO;
    header::THeaderDataGEO headerGEO;
    header::THeaderDataGAL headerGAL;
    header::THeaderDataMeteo headerMeteo;

    /// The header view's source, taken after the last successful observation header scan and
    /// before its data scan (window().headerViewFilled tells whether the last scan took it).
    const HeaderAsRead& headerAsRead() const noexcept { return m_headerAsRead; }

    /// The scanners of the last scan; null for a kind that was not scanned.
    const obs::TObsFileO* obsFile() const noexcept { return m_obs.get(); }
    const nav::TNavFileN* navFileN() const noexcept { return m_navN.get(); }
    const nav::TGLOFileG* gloFileG() const noexcept { return m_gloG.get(); }
    const nav::TGEOFileH* geoFileH() const noexcept { return m_geoH.get(); }
    const nav::TGALFileL* galFileL() const noexcept { return m_galL.get(); }
    const meteo::TMeteoFileM* meteoFileM() const noexcept { return m_meteoM.get(); }

    /// Records written per satellite of a system in the last scan; all zero for a system whose
    /// navigation file was not scanned.
    const nav::EphemCountTable& EphemCount(NavSystem system) const noexcept;
    /// The satellites of a system with at least one ephemeris record, in increasing order.
    std::vector<int> EphemerisSatellites(NavSystem system) const;

private:
    class StepObserver;

    void updateErrorsIndicator();
    void chooseErrors(text::FileKind kind);
    bool companionLists(text::FileKind kind) const;
    void saveCompanionHeader(text::FileKind kind);
    template <class Scanner, class Header>
    bool scanNavFile(text::FileKind kind, std::unique_ptr<Scanner>& scanner, Header& header,
                     TempFile records, NavSystem system);

    text::ScanObserver& m_observer;
    std::unique_ptr<StepObserver> m_stepObserver;
    text::FreeSpaceFunction m_freeSpace;
    std::unique_ptr<text::FreeSpaceGuard> m_freeSpaceGuard;

    RunState m_run;
    WindowState m_window;
    text::DiagnosticsLists m_lists;

    HeaderAsRead m_headerAsRead;
    std::unique_ptr<obs::TObsFileO> m_obs;
    std::array<text::LineReader, 5> m_companionFiles; // kCompanionKinds order
    std::unique_ptr<nav::TNavFileN> m_navN;
    std::unique_ptr<nav::TGLOFileG> m_gloG;
    std::unique_ptr<nav::TGEOFileH> m_geoH;
    std::unique_ptr<nav::TGALFileL> m_galL;
    std::unique_ptr<meteo::TMeteoFileM> m_meteoM;

    bool m_scanning = false;
    bool m_stopRequested = false;
    bool m_exitPending = false;
    bool m_headerFailed = false;
    bool m_dataFailed = false; // the observation data scan returned false
};

} // namespace scan
