#pragma once

#include "scan/ScanDriver.h"
#include "scan/WindowState.h"

#include <QIcon>
#include <QMainWindow>

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;
class QStatusBar;

namespace ui {

class EphemPanel;
class EpochsPanel;
class EventsPanel;
class MeasurementsPanel;
class OccupationsPanel;
class QualityPanel;
class SatellitesPanel;
class TFormTime;
class HeaderPanel;
class IonoPanel;
class MeteoPanel;
class InputPanel;
class PieGauge;
class SummaryPanel;
class TFormAdv;
class TFormErrors;
class WaitPanel;

/// The program's icon, for the window and the task bar.
QIcon programIcon();
/// The caption FormCreate gives the main window.
QString mainWindowCaption();

/// The main window's designed size.
inline constexpr QSize kMainWindowSize{1040, 800};
/// The main window's size in a work area of `available` with the window system's frame of
/// `frame` around it: the designed size where it fits, else as much of it as fits.
QSize mainWindowSize(const QSize& available, const QSize& frame);

/// The main window: menus, the input panel, the view panels and the status bar. It holds no
/// scan logic: every click goes to the scan driver, and the window then shows the driver's
/// window state (during a scan as well, at each point where the scan repaints or polls).
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    /// FormCreate runs here: the run's temporary folder is made under workingDir (the
    /// process's working directory when empty).
    explicit TForm1(const std::filesystem::path& workingDir = {}, QWidget* parent = nullptr);
    ~TForm1() override;
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    /// Creates the errors window and the about box, after the main window; done on first use
    /// when the program entry did not.
    void CreateSecondaryWindows();

    scan::TScanDriver& driver() noexcept { return *m_driver; }
    const scan::TScanDriver& driver() const noexcept { return *m_driver; }
    /// Shows the driver's window state.
    void render();
    /// The help file the help calls name: StartDir + "Quillon.chm".
    QString helpFile() const;

    /// A file named from outside (the command line, a drop on the window): chosen as Input
    /// File would choose it, then scanned. False, with nothing done, while a scan runs.
    bool openFile(const QString& path);

    // Menu handlers.
    void InputRinexFile1Click();
    void ScanRinexFile1Click();
    void ViewSummury1Click();
    void ViewErrors1Click();
    void Header1Click();
    void TimesEpochs1Click();
    void Satellites1Click();
    void Ephemerides1Click();
    void Measurements1Click();
    void Ionoparameters1Click();
    void Externalevents1Click();
    void Occupations1Click();
    void Meteo1Click();
    /// "Quality": the quality view, computed from the record files at every opening.
    void Quality1Click();
    void QuillonHelp1Click();
    void About1Click();
    void ExitQuillon1Click();

    // Button handlers.
    void BBInputClick();
    void BBScanClick();
    void BBStopClick();
    void BBCloseSumClick();
    void BBShowErrClick();
    void BBCloseHeadClick();
    /// "Epoch number  --->  Time" on a view panel: the calculator over the scanned epochs.
    void BBTimeVClick();
    /// The Close button of a view panel: hides it and shows the input panel.
    void closeViewPanel(scan::Panel panel);

    /// F1: help at the topic of the focused control (topic 1 when none has a topic).
    void FormKeyUp();

    QMenuBar* MainMenu1;
    QAction *InputRinexFile1, *ScanRinexFile1, *ViewSummury1, *ViewErrors1;
    QAction *TimesEpochs1, *Header1, *Satellites1, *Ephemerides1, *Measurements1;
    QAction *Ionoparameters1, *Externalevents1, *Occupations1, *Meteo1, *Quality1;
    QAction *QuillonHelp1, *About1, *ExitQuillon1;

    QLabel* STFile; // "RINEX File"
    QLineEdit* EFile;
    QWidget* PViewer;
    InputPanel* PView;
    SummaryPanel* PSumm;
    HeaderPanel* PHeader;
    EpochsPanel* PVTime;
    SatellitesPanel* PSats;
    MeasurementsPanel* PMeasurs;
    EventsPanel* PEvents;
    OccupationsPanel* POccup;
    IonoPanel* PIO;
    EphemPanel* PEphemGPS;
    MeteoPanel* PMeteo;
    QualityPanel* PQuality;
    QStatusBar* StatusBar1;
    WaitPanel* PWait;

    TFormErrors* FormErrors = nullptr;
    TFormTime* FormTime = nullptr;
    TFormAdv* FormAdv = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    class WindowObserver;

    void FormCreate(const std::filesystem::path& workingDir);
    void buildMenus();
    /// Every hint of the main window and its secondary windows stays up for 500 seconds.
    void holdToolTips();
    void buildPanels();
    /// Takes a finished view panel into the viewer with its Close button and help topics.
    void addViewPanel(scan::Panel panel, QFrame* frame, QPushButton* close, int topic,
                      int closeTopic);
    /// Puts a view panel (None: the input panel) in front of the others.
    void enterViewPanel(scan::Panel panel);
    /// The same, and the panel's Close button takes the focus.
    void showViewPanel(scan::Panel panel);
    void afterScan();
    void placeWaitPanel();
    /// Sizes the window to its screen's work area (scrolling what does not fit) and centres it.
    void fitToScreen();
    QWidget* panelWidget(scan::Panel panel) const;
    QPushButton* closeButtonOf(scan::Panel panel) const;
    std::filesystem::path recordPath(scan::TempFile file) const;
    /// The time of day of each epoch of the last scan, read once per scan on first use.
    std::shared_ptr<const std::vector<std::string>> recordTimes();
    std::shared_ptr<const std::vector<std::string>> listTimes();

    QScrollArea* m_headerArea = nullptr;
    QWidget* m_content = nullptr; // the file row and the viewer, scrolled on a small screen
    QScrollArea* m_contentArea = nullptr;
    bool m_fitted = false; // fitted again with the window manager's frame
    std::shared_ptr<const std::vector<std::string>> m_recordTimes, m_listTimes;
    bool m_errorsChoiceFromScan = false; // the errors window is still to show the scan's choice
    std::unique_ptr<WindowObserver> m_observer;
    std::unique_ptr<scan::TScanDriver> m_driver;
    std::array<QAction*, scan::kMenuItemCount> m_menuItems{};
    std::array<QPushButton*, 12> m_closeButtons{}; // per scan::Panel
    std::array<QFrame*, 12> m_viewPanels{};        // the view panels, per scan::Panel
};

} // namespace ui
