#include "scan/ScanDriver.h"

#include "header/HeaderExport.h"
#include "header/SatSystems.h"
#include "scan/InputFile.h"

#include <cassert>
#include <cstdint>
#include <filesystem>
#include <system_error>
#include <utility>

namespace scan {

namespace fs = std::filesystem;

/// What the scanners show goes to the window's observer and into the window state; the Stop
/// request is the driver's own.
class TScanDriver::StepObserver final : public text::ScanObserver {
public:
    explicit StepObserver(TScanDriver& driver) : m_driver(driver) {}

    void progress(double fraction) override {
        m_driver.m_window.gauge = fraction;
        m_driver.m_observer.progress(fraction);
    }
    void status(std::string_view text) override {
        m_driver.m_window.status = std::string(text);
        m_driver.m_observer.status(text);
    }
    void notice(std::string_view text) override { m_driver.m_observer.notice(text); }
    void pollInput() override { m_driver.m_observer.pollInput(); }
    bool stopRequested() const override {
        return m_driver.m_stopRequested || m_driver.m_observer.stopRequested();
    }
    void clearStop() override {
        m_driver.m_stopRequested = false;
        m_driver.m_observer.clearStop();
    }
    void busy(bool on) override {
        m_driver.m_window.busy = on;
        m_driver.m_observer.busy(on);
    }
    void waitNotice(bool shown) override {
        m_driver.m_window.waitShown = shown;
        m_driver.m_observer.waitNotice(shown);
    }
    void epochShown(std::string_view date, std::string_view time) override {
        m_driver.m_window.STDateis = std::string(date);
        m_driver.m_window.STTimeis = std::string(time);
        m_driver.m_observer.epochShown(date, time);
    }
    void repaint() override { m_driver.m_observer.repaint(); }
    void pause(int milliseconds) override { m_driver.m_observer.pause(milliseconds); }

private:
    TScanDriver& m_driver;
};

namespace {

/// Marks a scan as running for as long as it lives.
class RunningScan {
public:
    RunningScan(bool& flag, bool& shown) : m_flag(flag), m_shown(shown) {
        m_flag = true;
        m_shown = true;
    }
    ~RunningScan() {
        m_flag = false;
        m_shown = false;
    }
    RunningScan(const RunningScan&) = delete;
    RunningScan& operator=(const RunningScan&) = delete;

private:
    bool& m_flag;
    bool& m_shown;
};

constexpr std::size_t systemIndex(NavSystem s) noexcept {
    return static_cast<std::size_t>(s);
}

// The navigation systems follow the order of the table of satellite systems.
constexpr header::SatSystem satSystemOf(NavSystem s) noexcept {
    return header::kSatSystems[systemIndex(s)].system;
}
static_assert(satSystemOf(NavSystem::GEO) == header::SatSystem::GEO);
static_assert(satSystemOf(NavSystem::GAL) == header::SatSystem::Galileo);

constexpr int lastSatellite(NavSystem s) noexcept {
    return header::facts(satSystemOf(s)).lastNumber;
}

Colour listColour(const text::DiagnosticList& list) noexcept {
    return list.empty() ? Colour::Lime : Colour::Fuchsia;
}

const nav::EphemCountTable kNoEphemerides{1, 0};

} // namespace

TScanDriver::TScanDriver(text::ScanObserver& observer, text::FreeSpaceFunction freeSpace)
    : m_observer(observer), m_stepObserver(std::make_unique<StepObserver>(*this)),
      m_freeSpace(std::move(freeSpace)) {}

TScanDriver::~TScanDriver() = default;

bool TScanDriver::BBInputClick(const FileChooser& choose) {
    if (m_scanning)
        return false;
    m_window.EFile.clear();
    m_window.BBShowErrEnabled = false;
    ResetIndicators();
    ResetScanState();
    HideViewPanels();
    m_window.BBStopEnabled = false;
    m_window.BBScanEnabled = false;
    std::optional<std::string> chosen = choose ? choose() : std::nullopt;
    if (!chosen || chosen->empty())
        return false;
    ChooseObservationFile(m_run, *chosen);
    m_window.EFile = *chosen;
    m_window.BBScanEnabled = true;
    return true;
}

bool TScanDriver::BBScanClick() {
    if (m_scanning)
        return false;
    m_window.BBStopEnabled = true;
    return RunScan();
}

bool TScanDriver::FormCloseQuery(const YesNoQuestion& ask) {
    if (m_scanning) {
        if (!m_exitPending && ask && ask(kExitQuestion)) {
            m_exitPending = true;
            m_stopRequested = true;
        }
        return false;
    }
    if (m_exitPending)
        return true; // the question was answered Yes during the scan
    return ask && ask(kExitQuestion);
}

void TScanDriver::FormClose() {
    m_obs.reset();
    for (text::LineReader& file : m_companionFiles)
        file.close();
    DeleteTempFiles(m_run);
}

void TScanDriver::ViewSummury1Click() {
    HideViewPanels();
    m_window.PViewerInFront = true;
    m_window.panel = Panel::PSumm;
}

void TScanDriver::BBCloseSumClick() {
    if (m_window.panel == Panel::PSumm)
        m_window.panel = Panel::None;
}

bool TScanDriver::RunScan() {
    if (m_scanning)
        return false;
    const RunningScan running(m_scanning, m_window.scanning);
    m_window.PViewerInFront = false;
    ResetScanState();
    if (!m_run.RecordFilesCreated)
        return false; // CreateRecordFiles told why; the next scan tries again
    // The scanners and views of an earlier scan must never meet the records of this one.
    m_obs.reset();
    m_navN.reset();
    m_gloG.reset();
    m_geoH.reset();
    m_galL.reset();
    m_meteoM.reset();
    for (text::LineReader& file : m_companionFiles)
        file.close();
    if (!EmptyRecordFiles(m_run, *m_stepObserver))
        return false;
    RemoveExpandedFiles(m_run);
    for (std::size_t i = kRecordFileCount; i < kTempFileCount; ++i) {
        std::error_code ec;
        fs::remove(fs::path(m_run.recordFileNames[i]), ec);
    }
    m_window.codeIndicators.fill(Colour::Silver);
    m_window.systemIndicators.fill(Colour::Silver);
    m_window.ephemIndicators.fill(Colour::Silver);

    if (!ClearErrorLists())
        return false;
    if (!OpenObservationFile(m_run, *m_stepObserver))
        return false;
    ScanObservationFile();
    FinishObservationScan();

    // An exit asked for during the observation scan closes the program without the
    // companion steps.
    if (!m_exitPending) {
        for (text::FileKind kind : kCompanionKinds) {
            if (!FindCompanionFile(m_run, kind, *m_stepObserver) || !m_run.companionFound(kind))
                continue;
            ScanCompanionFile(kind);
            saveCompanionHeader(kind);
        }
    }
    EndScan();
    return true;
}

void TScanDriver::ResetIndicators() {
    scan::ResetIndicators(m_window);
    m_run.chosenFileName.clear();
    m_run.observationFileName.clear();
}

void TScanDriver::ResetScanState() {
    for (text::FileKind kind :
         {text::FileKind::N, text::FileKind::G, text::FileKind::H, text::FileKind::L})
        m_run.companionFound(kind) = false;
    m_window.EGPSEph = " No";
    m_window.EGLOEph = " No";
    m_window.EGEOEph = " No";
    m_window.EGALEph = " No";
    for (FileIndicators& f : m_window.files)
        f = FileIndicators{};
    DisableViewMenus();
    HideViewPanels();
    if (!m_run.RecordFilesCreated)
        CreateRecordFiles(m_run, *m_stepObserver);
}

void TScanDriver::DisableViewMenus() {
    scan::DisableViewMenus(m_window);
}

void TScanDriver::HideViewPanels() {
    scan::HideViewPanels(m_window);
}

bool TScanDriver::ClearErrorLists() {
    const std::string& name = m_run.observationFileName;
    m_window.errorHeaderCaptions[static_cast<std::size_t>(text::FileKind::O)] =
        "Header of file " + name;
    if (name.empty() || name == "*.*O" || name == "*.*") {
        m_stepObserver->notice("Select file first");
        return false;
    }
    // A companion that is not there this time must not keep the caption of an earlier one.
    for (text::FileKind kind : kCompanionKinds)
        m_window.errorHeaderCaptions[static_cast<std::size_t>(kind)] =
            std::string(designedHeaderCaption(kind));
    m_lists.clearAll();
    m_window.STSumErr = {"No", Colour::Yellow};
    return true;
}

void TScanDriver::ScanObservationFile() {
    const std::string& name = m_run.observationFileName;
    const expand::Expansion& expansion = m_run.expansion(text::FileKind::O);
    m_window.STEnd = FileSizeText(FileSizeOf(expansion.expanded ? expansion.source : name));
    m_stepObserver->repaint();

    m_freeSpaceGuard = std::make_unique<text::FreeSpaceGuard>(fs::path(m_run.TempDir), m_freeSpace);
    const obs::ObsRecordFiles files{
        &m_run.recordFile(TempFile::RinexEpochs), &m_run.recordFile(TempFile::ObsRecs),
        &m_run.recordFile(TempFile::EventRecs), &m_run.recordFile(TempFile::ExtEventRecsXA),
        &m_run.recordFile(TempFile::ExtEventRecsXB)};
    m_obs.reset();
    m_obs = std::make_unique<obs::TObsFileO>(
        fs::path(name), headerO, m_lists.header(text::FileKind::O), m_lists.data(text::FileKind::O),
        *m_stepObserver, files, *m_freeSpaceGuard,
        m_run.TempDir.empty() ? std::string("/") : m_run.TempDir);

    FileIndicators& ind = m_window.file(text::FileKind::O);
    m_headerFailed = !m_obs->isOpen() || !m_obs->ScanHeader();
    if (m_headerFailed) {
        ind.header = Colour::Red;
    } else {
        for (std::size_t i = 0; i < header::kMaxTypes; ++i)
            if (m_obs->TypePosition[i] != 0)
                m_window.codeIndicators[i] = Colour::Lime;
    }
    header::SaveHeaderFile(headerO, m_run.recordFileName(TempFile::Header), m_run.DecSep);
    ind.header = listColour(m_lists.header(text::FileKind::O));
    m_window.headerViewFilled = !m_headerFailed;
    m_dataFailed = false;
    if (m_headerFailed)
        return;
    m_headerAsRead = {headerO, m_obs->intervalMs};
    m_dataFailed = !m_obs->ScanData();
    if (m_dataFailed)
        ind.data = Colour::Red;
    const obs::SatellitesSeen& seen = m_obs->seen;
    for (std::size_t i = 0; i < header::kSatSystemCount; ++i)
        if (seen.any[i])
            m_window.systemIndicators[i] = Colour::Lime;
}

void TScanDriver::FinishObservationScan() {
    assert(m_obs && "FinishObservationScan follows ScanObservationFile");
    if (m_obs->longLines)
        m_stepObserver->notice("There were long strings!");
    FileIndicators& ind = m_window.file(text::FileKind::O);
    // A data scan that failed (a refused record write, a low disk) stays red: its records are
    // not the whole file.
    if (!m_dataFailed)
        ind.data = listColour(m_lists.data(text::FileKind::O));
    // An expansion that stopped early gave only part of the file.
    const expand::Expansion& expansion = m_run.expansion(text::FileKind::O);
    if (expansion.expanded && !expansion.complete)
        ind.data = Colour::Red;
    const bool epochs = !m_obs->LBEpochs.empty();
    if (!epochs) {
        ind.header = Colour::Red;
        ind.data = Colour::Red;
    }
    updateErrorsIndicator();
    if (!m_lists.header(text::FileKind::O).empty() || !m_lists.data(text::FileKind::O).empty())
        chooseErrors(text::FileKind::O);
    m_window.menu(MenuItem::ViewSummury1) = true;
    if (epochs) {
        for (MenuItem item : {MenuItem::Header1, MenuItem::TimesEpochs1, MenuItem::Satellites1,
                              MenuItem::Measurements1, MenuItem::Occupations1, MenuItem::Quality1})
            m_window.menu(item) = true;
        m_window.menu(MenuItem::Externalevents1) = false;
    }
    if (m_obs->extEventsA > 0 || m_obs->extEventsB > 0)
        m_window.menu(MenuItem::Externalevents1) = true;

    m_stepObserver->status("Making Summary...");
    AddObservationSummary();
    m_window.PViewerInFront = true;
    m_window.panel = Panel::PSumm;
    m_stepObserver->status("");
    m_stepObserver->repaint();
}

void TScanDriver::AddObservationSummary() {
    assert(m_obs && "the summary reads the observation scanner");
    const obs::TObsFileO& o = *m_obs;
    WindowState& w = m_window;
    w.ESumFile = displayName(text::FileKind::O, m_run.observationFileName);
    if (!o.LBEpochs.empty()) {
        w.STSumStartEp = "Start  " + o.LBEpochs.front();
        w.STSumFinish = "Finish " + o.LBEpochs.back();
    } else {
        // No epochs: the labels must not go on showing an earlier file's span.
        w.STSumStartEp = " Start Epoch";
        w.STSumFinish = " Finish Epoch";
    }
    w.STSumNumEp = "Epochs           " + std::to_string(o.writtenEpochs);
    w.STSumInterval = "Interval          " + std::to_string(o.intervalMs) + " ms";
    w.STSumGap = "Gaps               " + std::to_string(o.gapCount);
    w.STSumXA = " XA   " + std::to_string(o.extEventsA);
    w.STSumXB = " XB   " + std::to_string(o.extEventsB);
    w.STSumMaxSat = " Maximum  " + std::to_string(o.largestSatCount);
    w.STSumMinSat = " Minimum  " + std::to_string(o.smallestSatCount);
    const auto seenText = [&o](header::SatSystem system) {
        return SatelliteListText(o.seen.of(system), header::facts(system).lastNumber);
    };
    w.ESumGPS = seenText(header::SatSystem::GPS);
    w.ESumGLO = seenText(header::SatSystem::GLONASS);
    w.ESumGEO = seenText(header::SatSystem::GEO);
    w.ESumGAL = seenText(header::SatSystem::Galileo);
    for (std::size_t i = 0; i < header::kMaxTypes; ++i)
        w.codeCounts[i] = std::to_string(o.nonZero[i]);
    // ShowLineCounts
    w.ST_NFileStr = std::to_string(o.totalLines);
    w.ST_NHeaderStr = std::to_string(static_cast<std::uint32_t>(o.headerLineCount));
    w.ST_NDataStr = std::to_string(o.dataLines);
}

template <class Scanner, class Header>
bool TScanDriver::scanNavFile(text::FileKind kind, std::unique_ptr<Scanner>& scanner,
                              Header& header, TempFile records, NavSystem system) {
    text::LineReader& file = m_companionFiles[companionIndex(kind)];
    FileIndicators& ind = m_window.file(kind);
    scanner = std::make_unique<Scanner>(file, header, m_lists, m_run.recordFile(records),
                                        *m_stepObserver);
    if (!scanner->ScanHeader()) {
        ind.header = Colour::Red;
        return false;
    }
    ind.header = listColour(m_lists.header(kind));
    const bool dataRead = scanner->ScanData();
    if (scanner->EphemeridesEnabled())
        m_window.menu(MenuItem::Ephemerides1) = true;
    if (scanner->IonoparametersEnabled())
        m_window.menu(MenuItem::Ionoparameters1) = true;
    if (scanner->RecordsWritten() > 0)
        m_window.ephemIndicators[systemIndex(system)] = Colour::Lime;
    if (!dataRead) {
        ind.data = Colour::Red;
        return false;
    }
    ind.data = listColour(m_lists.data(kind));
    return true;
}

bool TScanDriver::ScanCompanionFile(text::FileKind kind) {
    assert(kind != text::FileKind::O && "the observation file has its own step");
    const std::string& name = m_run.companionName(kind);
    m_window.errorHeaderCaptions[static_cast<std::size_t>(kind)] =
        "Header of file " + displayName(kind, name);
    m_lists.header(kind).clear();
    m_lists.data(kind).clear();

    text::LineReader& file = m_companionFiles[companionIndex(kind)];
    file.close();
    if (!file.open(fs::path(name))) {
        m_stepObserver->notice("Error Opening File " + name + " ! ");
        return false;
    }

    bool passed = false;
    std::optional<NavSystem> system;
    switch (kind) {
    case text::FileKind::O:
        break;
    case text::FileKind::N:
        system = NavSystem::GPS;
        passed = scanNavFile(kind, m_navN, headerGPS, TempFile::EphemGPSRecs, *system);
        break;
    case text::FileKind::G:
        system = NavSystem::GLO;
        passed = scanNavFile(kind, m_gloG, headerGLO, TempFile::EphemGLORecs, *system);
        break;
    case text::FileKind::H:
        system = NavSystem::GEO;
        passed = scanNavFile(kind, m_geoH, headerGEO, TempFile::EphemGEORecs, *system);
        break;
    case text::FileKind::L:
        system = NavSystem::GAL;
        passed = scanNavFile(kind, m_galL, headerGAL, TempFile::EphemGALRecs, *system);
        break;
    case text::FileKind::M: {
        FileIndicators& ind = m_window.file(kind);
        m_meteoM = std::make_unique<meteo::TMeteoFileM>(
            file, headerMeteo, m_lists, m_run.recordFile(TempFile::Meteo), *m_stepObserver);
        if (!m_meteoM->ScanHeader()) {
            ind.header = Colour::Red;
            break;
        }
        ind.header = listColour(m_lists.header(kind));
        const bool dataRead = m_meteoM->ScanData();
        if (m_meteoM->MeteoEnabled())
            m_window.menu(MenuItem::Meteo1) = true;
        if (!dataRead) {
            ind.data = Colour::Red;
            break;
        }
        ind.data = listColour(m_lists.data(kind));
        passed = true;
        break;
    }
    }
    file.close();
    const expand::Expansion& expansion = m_run.expansion(kind);
    if (expansion.expanded && !expansion.complete)
        m_window.file(kind).data = Colour::Red;

    // Diagnostics of a failed step are shown as well: a red indicator must lead to its list.
    if (companionLists(kind))
        chooseErrors(kind);
    updateErrorsIndicator();
    if (!passed)
        return false;

    m_stepObserver->repaint();
    m_stepObserver->status("Adding Summary...");
    if (system)
        AddEphemerisSummary(*system);
    m_window.PViewerInFront = true;
    m_window.panel = Panel::PSumm;
    m_stepObserver->status("");
    return true;
}

void TScanDriver::AddEphemerisSummary(NavSystem system) {
    updateErrorsIndicator();
    const nav::EphemCountTable& counts = EphemCount(system);
    std::array<bool, header::kSatNumberSlots> withRecords{};
    const int last = lastSatellite(system);
    for (int n = 1; n <= last; ++n)
        withRecords[static_cast<std::size_t>(n)] = counts.count(n) != 0;
    std::string text = SatelliteListText(withRecords, last);
    switch (system) {
    case NavSystem::GPS:
        m_window.EGPSEph = std::move(text);
        break;
    case NavSystem::GLO:
        m_window.EGLOEph = std::move(text);
        break;
    case NavSystem::GEO:
        m_window.EGEOEph = std::move(text);
        break;
    case NavSystem::GAL:
        m_window.EGALEph = std::move(text);
        break;
    }
}

void TScanDriver::EndScan() {
    m_window.PViewerInFront = true;
}

const nav::EphemCountTable& TScanDriver::EphemCount(NavSystem system) const noexcept {
    switch (system) {
    case NavSystem::GPS:
        return m_navN ? m_navN->EphemCount() : kNoEphemerides;
    case NavSystem::GLO:
        return m_gloG ? m_gloG->EphemCount() : kNoEphemerides;
    case NavSystem::GEO:
        return m_geoH ? m_geoH->EphemCount() : kNoEphemerides;
    case NavSystem::GAL:
        return m_galL ? m_galL->EphemCount() : kNoEphemerides;
    }
    return kNoEphemerides;
}

std::vector<int> TScanDriver::EphemerisSatellites(NavSystem system) const {
    std::vector<int> satellites;
    const nav::EphemCountTable& counts = EphemCount(system);
    for (int n = 1; n <= lastSatellite(system); ++n)
        if (counts.count(n) != 0)
            satellites.push_back(n);
    return satellites;
}

std::string TScanDriver::displayName(text::FileKind kind, const std::string& nameInUse) const {
    const expand::Expansion& expansion = m_run.expansion(kind);
    if (!expansion.expanded)
        return nameInUse;
    return expansion.source + " (expanded from " + expansion.from + ", " +
           std::to_string(expansion.bytes) + " bytes)";
}

void TScanDriver::updateErrorsIndicator() {
    const bool noEpochs = !m_obs || m_obs->LBEpochs.empty();
    if (m_lists.anyLines() || noEpochs)
        m_window.STSumErr = {"Yes", Colour::Red};
    else
        m_window.STSumErr = {"No", Colour::Yellow};
}

void TScanDriver::chooseErrors(text::FileKind kind) {
    m_window.menu(MenuItem::ViewErrors1) = true;
    m_window.errorsChoice = kind;
    m_window.BBShowErrEnabled = true;
}

bool TScanDriver::companionLists(text::FileKind kind) const {
    return !m_lists.header(kind).empty() || !m_lists.data(kind).empty();
}

void TScanDriver::saveCompanionHeader(text::FileKind kind) {
    const std::string& decSep = m_run.DecSep;
    switch (kind) {
    case text::FileKind::O:
        header::SaveHeaderFile(headerO, m_run.recordFileName(TempFile::Header), decSep);
        break;
    case text::FileKind::N:
        header::SaveHeaderFile(headerGPS, m_run.recordFileName(TempFile::HeaderGPS), decSep);
        break;
    case text::FileKind::G:
        header::SaveHeaderFile(headerGLO, m_run.recordFileName(TempFile::HeaderGLO), decSep);
        break;
    case text::FileKind::H:
        header::SaveHeaderFile(headerGEO, m_run.recordFileName(TempFile::HeaderGEO), decSep);
        break;
    case text::FileKind::L:
        header::SaveHeaderFile(headerGAL, m_run.recordFileName(TempFile::HeaderGAL), decSep);
        break;
    case text::FileKind::M:
        header::SaveHeaderFile(headerMeteo, m_run.recordFileName(TempFile::HeaderMeteo), decSep);
        break;
    }
}

} // namespace scan
