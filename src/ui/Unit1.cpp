#include "ui/Unit1.h"

#include "scan/RunSetup.h"
#include "ui/Adv.h"
#include "ui/Application.h"
#include "ui/ChartView.h"
#include "ui/EphemPanel.h"
#include "ui/EpochsPanel.h"
#include "ui/ErrorsForm.h"
#include "ui/EventsPanel.h"
#include "ui/HeaderPanel.h"
#include "ui/HelpWindow.h"
#include "ui/InputPanel.h"
#include "ui/IonoPanel.h"
#include "ui/MeasurementsPanel.h"
#include "ui/MeteoPanel.h"
#include "ui/Notice.h"
#include "ui/OccupationsPanel.h"
#include "ui/PieGauge.h"
#include "ui/QtScanObserver.h"
#include "ui/QualityPanel.h"
#include "ui/SatellitesPanel.h"
#include "ui/SummaryPanel.h"
#include "ui/TimeV.h"
#include "ui/WaitPanel.h"
#include "views/EphemView.h"
#include "views/EpochClock.h"
#include "views/MeteoView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>
#include <string>
#include <system_error>

namespace ui {

namespace {

constexpr int kMenuTopic = 3;
constexpr int kCalculatorTopic = 9;     // the buttons that open the calculator, and its Close
constexpr int kChoicesTopic = 16;       // the measurement and combination choices
constexpr int kCalculatorBoxTopic = 31; // the calculator's number, track bar, arrows, time
constexpr int kToolTipMs = 500 * 1000;

constexpr std::size_t panelIndex(scan::Panel p) noexcept {
    return static_cast<std::size_t>(p);
}

QString fromPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace

QIcon programIcon() {
    // The installed icon's picture, drawn here since the program reads no SVG: calm turquoise
    // water with two white waves.
    QIcon icon;
    for (int side : {16, 32, 64}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient sea(0, 0, 0, side);
        sea.setColorAt(0, QColor(0x7f, 0xe3, 0xe0));
        sea.setColorAt(1, QColor(0x0f, 0x8f, 0x9c));
        p.setPen(Qt::NoPen);
        p.setBrush(sea);
        const qreal r = side / 6.0;
        p.drawRoundedRect(QRectF(0.5, 0.5, side - 1.0, side - 1.0), r, r);
        p.setPen(QPen(Qt::white, std::max(1.0, side / 28.0), Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        for (const qreal y : {0.62, 0.8}) {
            QPainterPath wave;
            wave.moveTo(side * 0.12, side * y);
            for (int k = 0; k < 4; ++k) {
                const qreal x0 = side * (0.12 + 0.19 * k);
                wave.quadTo(x0 + side * 0.095, side * (y - 0.07), x0 + side * 0.19, side * y);
            }
            p.drawPath(wave);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xf2, 0xc2, 0x30));
        p.drawEllipse(QPointF(side * 0.68, side * 0.3), side * 0.11, side * 0.11);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QSize mainWindowSize(const QSize& available, const QSize& frame) {
    return kMainWindowSize.boundedTo((available - frame).expandedTo(QSize(320, 240)));
}

QString mainWindowCaption() {
    return QStringLiteral("   Quillon   (beta version ") + QString::fromLatin1(kVersion) +
           QStringLiteral(")") + QString(42, QLatin1Char(' ')) + QStringLiteral("Velmora [4]");
}

/// The scan shows itself through the Qt observer; before each repaint and each poll for input
/// the window also takes the driver's state, so labels set by a step (the file size, the menus
/// a reset disabled) are current when the window is drawn or clicked.
class TForm1::WindowObserver final : public text::ScanObserver {
public:
    WindowObserver(TForm1& form, ScanWindowHooks hooks) : m_form(form), m_qt(std::move(hooks)) {}

    void progress(double fraction) override { m_qt.progress(fraction); }
    void status(std::string_view text) override { m_qt.status(text); }
    void notice(std::string_view text) override { m_qt.notice(text); }
    void pollInput() override {
        m_form.render();
        m_qt.pollInput();
    }
    bool stopRequested() const override { return m_qt.stopRequested(); }
    void clearStop() override { m_qt.clearStop(); }
    void busy(bool on) override { m_qt.busy(on); }
    void waitNotice(bool shown) override { m_qt.waitNotice(shown); }
    void epochShown(std::string_view date, std::string_view time) override {
        m_qt.epochShown(date, time);
    }
    void repaint() override {
        m_form.render();
        m_qt.repaint();
    }
    void pause(int milliseconds) override { m_qt.pause(milliseconds); }

private:
    TForm1& m_form;
    QtScanObserver m_qt;
};

TForm1::TForm1(const std::filesystem::path& workingDir, QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    // Fixed size, no maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    buildMenus();
    buildPanels();
    setFixedSize(kMainWindowSize);

    ScanWindowHooks hooks;
    hooks.window = this;
    hooks.gauge = PView->GScan;
    hooks.statusBar = StatusBar1;
    hooks.waitPanel = PWait;
    hooks.dateLabel = PView->STDateis;
    hooks.timeLabel = PView->STTimeis;
    m_observer = std::make_unique<WindowObserver>(*this, hooks);
    m_driver = std::make_unique<scan::TScanDriver>(*m_observer);

    FormCreate(workingDir);
    // A file dropped on the window is chosen and scanned.
    setAcceptDrops(true);
    // The main window sees every key first, so F1 works from any control.
    qApp->installEventFilter(this);
    render();
}

TForm1::~TForm1() {
    qApp->removeEventFilter(this);
}

void TForm1::FormCreate(const std::filesystem::path& workingDir) {
    std::filesystem::path dir = workingDir;
    if (dir.empty()) {
        std::error_code ec;
        dir = std::filesystem::current_path(ec);
    }
    // The decimal separator, StartDir and TempDir; the record file names stay empty and the
    // record files are created at the first reset.
    scan::SetUpRun(m_driver->run(), scan::ReadDecSep(), dir);
    const QString decSep = QString::fromStdString(m_driver->run().DecSep);
    for (ChartView* chart : findChildren<ChartView*>())
        chart->setDecimalSeparator(decSep);
    holdToolTips();
    PView->GScan->setFraction(0);
    setWindowTitle(windowCaption(mainWindowCaption()));
    setWindowIcon(programIcon());
}

void TForm1::CreateSecondaryWindows() {
    if (!FormErrors)
        FormErrors = new TFormErrors(m_driver->lists(), this);
    if (!FormTime) {
        FormTime = new TFormTime(this);
        for (QWidget* w :
             {static_cast<QWidget*>(FormTime->ENumEp), static_cast<QWidget*>(FormTime->TBTime),
              FormTime->UDTime, static_cast<QWidget*>(FormTime->EDateTime)})
            setHelpTopic(w, kCalculatorBoxTopic);
        setHelpTopic(FormTime->BitBtn28, kCalculatorTopic);
    }
    if (!FormAdv) {
        FormAdv = new TFormAdv(this);
        connect(FormAdv, &TFormAdv::helpRequested, this, [this](QWidget* owner) {
            openHelpTopic(owner, helpFile(), helpTopicOf(focusWidget()));
        });
    }
    holdToolTips(); // the calculator's hints as well
}

void TForm1::holdToolTips() {
    for (QWidget* w : findChildren<QWidget*>())
        if (!w->toolTip().isEmpty())
            w->setToolTipDuration(kToolTipMs);
}

QString TForm1::helpFile() const {
    return helpFilePath(fromPath(m_driver->run().StartDir));
}

void TForm1::buildMenus() {
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    auto add = [this](QMenu* menu, scan::MenuItem item, const char* caption, const char* name,
                      void (TForm1::*handler)()) {
        QAction* action = menu->addAction(QString::fromLatin1(caption));
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        m_menuItems[static_cast<std::size_t>(item)] = action;
        return action;
    };
    using scan::MenuItem;
    QMenu* file = MainMenu1->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("File1"));
    InputRinexFile1 = add(file, MenuItem::InputRinexFile1, "Input Rinex file", "InputRinexFile1",
                          &TForm1::InputRinexFile1Click);
    ScanRinexFile1 = add(file, MenuItem::ScanRinexFile1, "Scan Rinex file", "ScanRinexFile1",
                         &TForm1::ScanRinexFile1Click);
    file->addSeparator();
    ViewSummury1 = add(file, MenuItem::ViewSummury1, "View Summury", "ViewSummury1",
                       &TForm1::ViewSummury1Click);
    ViewErrors1 =
        add(file, MenuItem::ViewErrors1, "View Errors", "ViewErrors1", &TForm1::ViewErrors1Click);

    QMenu* view = MainMenu1->addMenu(QStringLiteral("View"));
    view->setObjectName(QStringLiteral("View1"));
    TimesEpochs1 = add(view, MenuItem::TimesEpochs1, "Times (Epochs)", "TimesEpochs1",
                       &TForm1::TimesEpochs1Click);
    Header1 = add(view, MenuItem::Header1, "Header", "Header1", &TForm1::Header1Click);
    Satellites1 =
        add(view, MenuItem::Satellites1, "Satellites", "Satellites1", &TForm1::Satellites1Click);
    Ephemerides1 = add(view, MenuItem::Ephemerides1, "Ephemerides", "Ephemerides1",
                       &TForm1::Ephemerides1Click);
    Measurements1 = add(view, MenuItem::Measurements1, "Measurements", "Measurements1",
                        &TForm1::Measurements1Click);
    Ionoparameters1 = add(view, MenuItem::Ionoparameters1, "Iono parameters", "Ionoparameters1",
                          &TForm1::Ionoparameters1Click);
    Externalevents1 = add(view, MenuItem::Externalevents1, "External events", "Externalevents1",
                          &TForm1::Externalevents1Click);
    Occupations1 = add(view, MenuItem::Occupations1, "Occupations", "Occupations1",
                       &TForm1::Occupations1Click);
    Meteo1 = add(view, MenuItem::Meteo1, "Meteo", "Meteo1", &TForm1::Meteo1Click);
    Quality1 = add(view, MenuItem::Quality1, "Quality", "Quality1", &TForm1::Quality1Click);

    QMenu* help = MainMenu1->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("Help1"));
    QuillonHelp1 = add(help, MenuItem::QuillonHelp1, "Quillon Help", "QuillonHelp1",
                       &TForm1::QuillonHelp1Click);
    About1 = add(help, MenuItem::About1, "About", "About1", &TForm1::About1Click);

    QMenu* exit = MainMenu1->addMenu(QStringLiteral("Exit"));
    exit->setObjectName(QStringLiteral("Exit1"));
    ExitQuillon1 = add(exit, MenuItem::ExitQuillon1, "Exit Quillon", "ExitQuillon1",
                       &TForm1::ExitQuillon1Click);
    for (QAction* a : m_menuItems)
        if (a != Meteo1)
            a->setProperty("helpTopic", kMenuTopic);
}

void TForm1::addViewPanel(scan::Panel panel, QFrame* frame, QPushButton* close, int topic,
                          int closeTopic) {
    setHelpTopic(frame, topic);
    setHelpTopic(close, closeTopic);
    connect(close, &QPushButton::clicked, this, [this, panel] { closeViewPanel(panel); });
    frame->hide();
    m_viewPanels[panelIndex(panel)] = frame;
    m_closeButtons[panelIndex(panel)] = close;
}

void TForm1::buildPanels() {
    // The file row and the viewer keep their designed size; on a screen too small for the
    // window they scroll between the menu bar and the status bar, which stay in view.
    auto* central = new QWidget;
    central->setObjectName(QStringLiteral("PMain"));
    m_content = central;
    m_contentArea = new QScrollArea(this);
    m_contentArea->setObjectName(QStringLiteral("SBMain"));
    m_contentArea->setFrameShape(QFrame::NoFrame);
    m_contentArea->setWidgetResizable(true);
    m_contentArea->setWidget(central);
    setCentralWidget(m_contentArea);

    STFile = new QLabel(QStringLiteral("RINEX File"), central);
    STFile->setObjectName(QStringLiteral("STFile"));
    EFile = new QLineEdit(central);
    EFile->setObjectName(QStringLiteral("EFile"));
    EFile->setReadOnly(true);
    setHelpTopic(EFile, 1);
    STFile->setBuddy(EFile);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(STFile);
    fileRow->addWidget(EFile, 1);

    // Every panel of the viewer lies in the same place; one at a time is shown.
    PViewer = new QWidget(central);
    PViewer->setObjectName(QStringLiteral("PViewer"));
    auto* stack = new QGridLayout(PViewer);
    stack->setContentsMargins(0, 0, 0, 0);
    PView = new InputPanel(PViewer);
    PSumm = new SummaryPanel(PViewer);
    PSumm->hide();
    // The header view holds more than the window's height: it scrolls when it must.
    PHeader = new HeaderPanel;
    m_headerArea = new QScrollArea(PViewer);
    m_headerArea->setObjectName(QStringLiteral("SBHeader"));
    m_headerArea->setFrameShape(QFrame::NoFrame);
    m_headerArea->setWidgetResizable(true);
    m_headerArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_headerArea->setWidget(PHeader);
    m_headerArea->hide();
    setHelpTopic(PHeader->BBCloseHead, 4);
    using scan::Panel;
    PVTime = new EpochsPanel(PViewer);
    addViewPanel(Panel::PVTime, PVTime, PVTime->closeButton(), 3, 3);
    PSats = new SatellitesPanel(PViewer);
    addViewPanel(Panel::PSats, PSats, PSats->closeButton(), 5, 35);
    PMeasurs = new MeasurementsPanel(PViewer);
    addViewPanel(Panel::PMeasurs, PMeasurs, PMeasurs->closeButton(), 9, 9);
    PEvents = new EventsPanel(PViewer);
    addViewPanel(Panel::PEvents, PEvents, PEvents->closeButton(), 13, 13);
    POccup = new OccupationsPanel(PViewer);
    addViewPanel(Panel::POccup, POccup, POccup->closeButton(), 14, 49);
    for (QPushButton* calc : {PSats->calculatorButton(), PMeasurs->calculatorButton(),
                              PEvents->calculatorButton(), POccup->calculatorButton()}) {
        connect(calc, &QPushButton::clicked, this, &TForm1::BBTimeVClick);
        setHelpTopic(calc, kCalculatorTopic);
    }
    // The controls inside the panels whose topic is not their panel's.
    for (QWidget* choice :
         {static_cast<QWidget*>(PMeasurs->RGMeasurs), static_cast<QWidget*>(PMeasurs->RGMGPS),
          static_cast<QWidget*>(PMeasurs->RGMGLO), static_cast<QWidget*>(PMeasurs->RGMGEO),
          static_cast<QWidget*>(PMeasurs->RGMGAL), static_cast<QWidget*>(PMeasurs->BBComObs),
          static_cast<QWidget*>(PMeasurs->GMeas), static_cast<QWidget*>(PMeasurs->RGComObs),
          static_cast<QWidget*>(PMeasurs->BBOkComObs),
          static_cast<QWidget*>(PMeasurs->BBCloseComObs)})
        setHelpTopic(choice, kChoicesTopic);
    setHelpTopic(PMeasurs->PCombObs, 4);
    setHelpTopic(PSats->ChartSat, 35);
    setHelpTopic(POccup->LBOccup, 14);
    setHelpTopic(POccup->ChOccup, 14);

    // The epoch-number axes can show the epochs' time of day: the records' times, and for the
    // time differences the epoch lines' (the chart numbers its points by list line).
    const ChartView::EpochTimes records = [this] { return recordTimes(); };
    for (ChartView* chart :
         {PSats->ChartSat, PMeasurs->ChMeasurs, PMeasurs->ChMeasursSN, POccup->ChOccup})
        chart->setEpochTimes(records);
    PVTime->ChTimes->setEpochTimes([this] { return listTimes(); });
    PIO = new IonoPanel(PViewer);
    addViewPanel(Panel::PIO, PIO, PIO->closeButton(), 30, 30);
    PEphemGPS = new EphemPanel(PViewer);
    addViewPanel(Panel::PEphemGPS, PEphemGPS, PEphemGPS->closeButton(), 10, 10);
    PMeteo = new MeteoPanel(PViewer);
    addViewPanel(Panel::PMeteo, PMeteo, PMeteo->closeButton(), 13, 13);
    PQuality = new QualityPanel(PViewer);
    addViewPanel(Panel::PQuality, PQuality, PQuality->closeButton(), 9, 9);
    m_closeButtons[panelIndex(Panel::PSumm)] = PSumm->BBCloseSum;
    m_closeButtons[panelIndex(Panel::PHeader)] = PHeader->BBCloseHead;
    for (QWidget* w : {static_cast<QWidget*>(PView), static_cast<QWidget*>(PSumm),
                       static_cast<QWidget*>(m_headerArea), static_cast<QWidget*>(PVTime),
                       static_cast<QWidget*>(PSats), static_cast<QWidget*>(PMeasurs),
                       static_cast<QWidget*>(PEvents), static_cast<QWidget*>(POccup),
                       static_cast<QWidget*>(PIO), static_cast<QWidget*>(PEphemGPS),
                       static_cast<QWidget*>(PMeteo), static_cast<QWidget*>(PQuality)})
        stack->addWidget(w, 0, 0);

    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(8, 6, 8, 4);
    layout->setSpacing(6);
    layout->addLayout(fileRow);
    layout->addWidget(PViewer, 1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false); // the window has a fixed size
    setStatusBar(StatusBar1);

    // The wait notice floats over everything, in the middle of what the window shows.
    PWait = new WaitPanel(central);
    PWait->hide();

    connect(PView->BBInput, &QPushButton::clicked, this, &TForm1::BBInputClick);
    connect(PView->BBScan, &QPushButton::clicked, this, &TForm1::BBScanClick);
    connect(PView->BBStop, &QPushButton::clicked, this, &TForm1::BBStopClick);
    connect(PSumm->BBCloseSum, &QPushButton::clicked, this, &TForm1::BBCloseSumClick);
    connect(PSumm->BBShowErr, &QPushButton::clicked, this, &TForm1::BBShowErrClick);
    connect(PHeader->BBCloseHead, &QPushButton::clicked, this, &TForm1::BBCloseHeadClick);
}

QWidget* TForm1::panelWidget(scan::Panel panel) const {
    switch (panel) {
    case scan::Panel::None:
        return PView;
    case scan::Panel::PSumm:
        return PSumm;
    case scan::Panel::PHeader:
        return m_headerArea;
    case scan::Panel::PVTime:
    case scan::Panel::PSats:
    case scan::Panel::PMeasurs:
    case scan::Panel::PEvents:
    case scan::Panel::POccup:
    case scan::Panel::PIO:
    case scan::Panel::PEphemGPS:
    case scan::Panel::PMeteo:
    case scan::Panel::PQuality:
        return m_viewPanels[panelIndex(panel)];
    }
    return PView;
}

QPushButton* TForm1::closeButtonOf(scan::Panel panel) const {
    return m_closeButtons[panelIndex(panel)];
}

void TForm1::render() {
    const scan::WindowState& w = m_driver->window();
    for (std::size_t i = 0; i < scan::kMenuItemCount; ++i)
        m_menuItems[i]->setEnabled(w.menuEnabled[i]);
    EFile->setText(fromPath(w.EFile));
    PView->render(w);
    PSumm->render(w);
    QWidget* shown = panelWidget(w.panel);
    for (QObject* child : PViewer->children())
        if (auto* panel = qobject_cast<QWidget*>(child))
            panel->setVisible(panel == shown);
    shown->raise();
    if (w.status.empty())
        StatusBar1->clearMessage();
    else
        StatusBar1->showMessage(QString::fromStdString(w.status));
    PWait->setVisible(w.waitShown);
    if (w.waitShown)
        PWait->raise();
}

void TForm1::placeWaitPanel() {
    PWait->adjustSize();
    // In the middle of what the window shows of its content.
    const QRect shown(-m_content->pos(), m_contentArea->viewport()->size());
    PWait->move(shown.center() - QPoint(PWait->width() / 2, PWait->height() / 2));
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    placeWaitPanel();
}

void TForm1::fitToScreen() {
    const QScreen* s = screen();
    if (!s)
        return;
    const QRect area = s->availableGeometry();
    // The frame is known once the window manager has framed the window; 0 before.
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize size = mainWindowSize(area.size(), frame);
    // The content keeps the size it has in a window of the designed size.
    const int bars = (menuBar()->isVisible() ? menuBar()->sizeHint().height() : 0) +
                     StatusBar1->sizeHint().height();
    // A vertical scroll bar takes its width from the content, never a horizontal one as well.
    const int scrollBar = size.height() < kMainWindowSize.height()
                              ? style()->pixelMetric(QStyle::PM_ScrollBarExtent)
                              : 0;
    m_content->setMinimumSize(kMainWindowSize - QSize(scrollBar, bars));
    if (size != this->size())
        setFixedSize(size);
    QRect framed(QPoint(), size + frame);
    framed.moveCenter(area.center());
    framed.moveTopLeft(
        QPoint(std::max(framed.left(), area.left()), std::max(framed.top(), area.top())));
    if (framed.topLeft() != frameGeometry().topLeft())
        move(framed.topLeft());
}

void TForm1::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    // The window manager's frame and work area are known after the first placing.
    if (!m_fitted && isVisible() && frameGeometry().size() != geometry().size()) {
        m_fitted = true;
        fitToScreen();
    }
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    fitToScreen();
    placeWaitPanel();
    // FormShow: the focus goes to Input File.
    if (PView->BBInput->isVisible() && PView->BBInput->isEnabled())
        PView->BBInput->setFocus();
}

void TForm1::closeEvent(QCloseEvent* event) {
    const bool close = m_driver->FormCloseQuery([this](std::string_view question) {
        return askYesNo(this, QString::fromLatin1(question.data(),
                                                  static_cast<qsizetype>(question.size()))) ==
               Answer::Yes;
    });
    if (!close) {
        // A Yes during a scan stops it; the window closes when the scan has returned.
        event->ignore();
        return;
    }
    // FormClose: the record files and the temporary folder go.
    m_driver->FormClose();
    event->accept();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (key->key() == Qt::Key_F1 && widget && widget->window() == this) {
            if (!key->isAutoRepeat())
                FormKeyUp();
            return true;
        }
        // F1 on an open menu of the menu bar: the topic of the highlighted item.
        if (auto* menu = qobject_cast<QMenu*>(watched);
            key->key() == Qt::Key_F1 && menu && MainMenu1->actions().contains(menu->menuAction())) {
            if (!key->isAutoRepeat()) {
                const QAction* item = menu->activeAction();
                const int topic = item ? item->property("helpTopic").toInt() : 0;
                openHelpTopic(PView->BBInput, helpFile(), topic != 0 ? topic : kFirstHelpTopic);
            }
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::FormKeyUp() {
    const int topic = helpTopicOf(focusWidget());
    openHelpTopic(PView->BBInput, helpFile(), topic != 0 ? topic : kFirstHelpTopic);
}

// ---- the input panel -------------------------------------------------------------------------

void TForm1::BBInputClick() {
    if (m_driver->scanning())
        return;
    const bool chosen = m_driver->BBInputClick([this]() -> std::optional<std::string> {
        const QString file =
            chooseOpenFile(this, QString::fromLatin1(scan::kOpenDialogTitle.data()), QString(),
                           QString::fromLatin1(scan::kOpenDialogFilter.data()));
        if (file.isEmpty())
            return std::nullopt;
        return QFile::encodeName(file).toStdString();
    });
    render();
    if (chosen && PView->BBInput->isEnabled())
        PView->BBInput->setFocus();
}

bool TForm1::openFile(const QString& path) {
    if (m_driver->scanning() || path.isEmpty())
        return false;
    // The dialog hands out whole paths; so does this.
    const std::string chosen = QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString();
    const bool taken = m_driver->BBInputClick([&chosen] { return std::optional(chosen); });
    render();
    if (!taken)
        return false;
    BBScanClick();
    return true;
}

// One local file at a time can be dropped.
static QString droppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls()[0].isLocalFile())
        return {};
    return data->urls()[0].toLocalFile();
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (!m_driver->scanning() && !droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
    const QString file = droppedFile(event->mimeData());
    if (file.isEmpty() || m_driver->scanning())
        return;
    event->acceptProposedAction();
    openFile(file);
}

void TForm1::InputRinexFile1Click() {
    BBInputClick();
}

void TForm1::afterScan() {
    const scan::TScanDriver& d = *m_driver;
    m_errorsChoiceFromScan = true;
    m_recordTimes.reset(); // the epochs of this scan
    m_listTimes.reset();
    if (d.window().headerViewFilled)
        PHeader->FillHeaderView(d.headerAsRead().header, d.headerAsRead().intervalMs,
                                fromPath(d.run().DecSep));
    render();
    if (PView->BBInput->isVisible() && PView->BBInput->isEnabled())
        PView->BBInput->setFocus();
    if (d.exitPending())
        close();
}

void TForm1::BBScanClick() {
    if (m_driver->scanning())
        return;
    m_driver->BBScanClick();
    afterScan();
}

void TForm1::ScanRinexFile1Click() {
    if (m_driver->scanning())
        return;
    m_driver->ScanRinexFile1Click();
    afterScan();
}

void TForm1::BBStopClick() {
    m_driver->BBStopClick();
}

// ---- the view panels --------------------------------------------------------------------------

void TForm1::enterViewPanel(scan::Panel panel) {
    scan::WindowState& w = m_driver->window();
    scan::HideViewPanels(w);
    w.PViewerInFront = true;
    w.panel = panel;
    render();
}

void TForm1::showViewPanel(scan::Panel panel) {
    enterViewPanel(panel);
    if (QPushButton* close = closeButtonOf(panel); close && close->isEnabled())
        close->setFocus();
}

void TForm1::closeViewPanel(scan::Panel panel) {
    scan::WindowState& w = m_driver->window();
    if (w.panel == panel)
        w.panel = scan::Panel::None;
    render();
}

void TForm1::ViewSummury1Click() {
    m_driver->ViewSummury1Click();
    render();
    if (PSumm->BBCloseSum->isEnabled())
        PSumm->BBCloseSum->setFocus();
}

void TForm1::BBCloseSumClick() {
    m_driver->BBCloseSumClick();
    render();
}

void TForm1::Header1Click() {
    showViewPanel(scan::Panel::PHeader);
}

void TForm1::BBCloseHeadClick() {
    closeViewPanel(scan::Panel::PHeader);
}

void TForm1::TimesEpochs1Click() {
    if (const obs::TObsFileO* o = m_driver->obsFile())
        PVTime->open(*o);
    showViewPanel(scan::Panel::PVTime);
}

void TForm1::Satellites1Click() {
    if (const obs::TObsFileO* o = m_driver->obsFile())
        PSats->open(recordPath(scan::TempFile::RinexEpochs), *o, *m_observer);
    showViewPanel(scan::Panel::PSats);
}

std::filesystem::path TForm1::recordPath(scan::TempFile file) const {
    return m_driver->run().recordFileName(file);
}

std::shared_ptr<const std::vector<std::string>> TForm1::recordTimes() {
    if (!m_recordTimes)
        m_recordTimes = std::make_shared<const std::vector<std::string>>(
            views::recordTimesOfDay(recordPath(scan::TempFile::RinexEpochs)));
    return m_recordTimes;
}

std::shared_ptr<const std::vector<std::string>> TForm1::listTimes() {
    if (!m_listTimes) {
        const obs::TObsFileO* o = m_driver->obsFile();
        m_listTimes = std::make_shared<const std::vector<std::string>>(
            o ? views::listTimesOfDay(o->LBEpochs) : std::vector<std::string>());
    }
    return m_listTimes;
}

void TForm1::BBTimeVClick() {
    CreateSecondaryWindows();
    const obs::TObsFileO* o = m_driver->obsFile();
    FormTime->BBTimeVClick(recordPath(scan::TempFile::RinexEpochs), o ? o->writtenEpochs : 0,
                           *m_observer);
}

void TForm1::Ephemerides1Click() {
    const scan::TScanDriver& d = *m_driver;
    views::EphemSources sources;
    sources.gpsFile = d.run().recordFileName(scan::TempFile::EphemGPSRecs);
    sources.gloFile = d.run().recordFileName(scan::TempFile::EphemGLORecs);
    sources.geoFile = d.run().recordFileName(scan::TempFile::EphemGEORecs);
    sources.galFile = d.run().recordFileName(scan::TempFile::EphemGALRecs);
    sources.counts.gps = d.EphemCount(scan::NavSystem::GPS);
    sources.counts.glo = d.EphemCount(scan::NavSystem::GLO);
    sources.counts.geo = d.EphemCount(scan::NavSystem::GEO);
    sources.counts.gal = d.EphemCount(scan::NavSystem::GAL);
    sources.geoHeader = d.headerGEO;
    sources.decSep = d.run().DecSep;
    PEphemGPS->open(sources, *m_observer);
    showViewPanel(scan::Panel::PEphemGPS);
}

void TForm1::Measurements1Click() {
    // The panel is in front before it charts: every repaint of the reading loop, and the
    // gauge, show it.
    enterViewPanel(scan::Panel::PMeasurs);
    if (const obs::TObsFileO* o = m_driver->obsFile())
        PMeasurs->open(recordPath(scan::TempFile::RinexEpochs), recordPath(scan::TempFile::ObsRecs),
                       m_driver->headerO, *o, *m_observer);
    showViewPanel(scan::Panel::PMeasurs);
}

void TForm1::Ionoparameters1Click() {
    PIO->open(m_driver->headerGPS, QString::fromStdString(m_driver->run().DecSep));
    showViewPanel(scan::Panel::PIO);
}

void TForm1::Externalevents1Click() {
    if (const obs::TObsFileO* o = m_driver->obsFile())
        PEvents->open(recordPath(scan::TempFile::ExtEventRecsXA),
                      recordPath(scan::TempFile::ExtEventRecsXB), *o, *m_observer);
    showViewPanel(scan::Panel::PEvents);
}

void TForm1::Occupations1Click() {
    // The other views go first; a record file that cannot be read stops the view there.
    enterViewPanel(scan::Panel::None);
    const obs::TObsFileO* o = m_driver->obsFile();
    if (!o || !POccup->open(recordPath(scan::TempFile::RinexEpochs), m_driver->headerO, *o,
                            m_driver->run().DecSep, *m_observer))
        return;
    showViewPanel(scan::Panel::POccup);
}

void TForm1::Meteo1Click() {
    const scan::TScanDriver& d = *m_driver;
    views::MeteoSources sources;
    sources.meteoFile = d.run().recordFileName(scan::TempFile::Meteo);
    if (const meteo::TMeteoFileM* m = d.meteoFileM()) {
        sources.recordsWritten = m->MeteoRecordsWritten();
        sources.types = m->Types();
    }
    PMeteo->open(sources, d.headerMeteo, *m_observer);
    showViewPanel(scan::Panel::PMeteo);
}

void TForm1::Quality1Click() {
    PQuality->open(views::qualitySources(*m_driver), m_driver->run().DecSep, *m_observer);
    showViewPanel(scan::Panel::PQuality);
}

void TForm1::ViewErrors1Click() {
    CreateSecondaryWindows();
    // The summary stays behind the errors window.
    scan::WindowState& w = m_driver->window();
    scan::HideViewPanels(w);
    w.PViewerInFront = true;
    w.panel = scan::Panel::PSumm;
    render();
    for (text::FileKind kind : text::kFileKinds)
        FormErrors->setHeaderCaption(
            kind, fromPath(w.errorHeaderCaptions[static_cast<std::size_t>(kind)]));
    // The scan chose the kind to show; after that the user's own choice stays.
    if (m_errorsChoiceFromScan) {
        FormErrors->checkChoice(w.errorsChoice);
        m_errorsChoiceFromScan = false;
    }
    FormErrors->refresh();
    FormErrors->exec();
}

void TForm1::BBShowErrClick() {
    ViewErrors1Click();
}

// ---- help, about, exit ------------------------------------------------------------------------

void TForm1::QuillonHelp1Click() {
    openHelpTopic(PView->BBInput, helpFile(), kFirstHelpTopic);
}

void TForm1::About1Click() {
    CreateSecondaryWindows();
    FormAdv->StaticText1->setText(QString::fromLatin1(kVersionText));
    FormAdv->StaticText3->setText(QString::fromLatin1(kBuildDate));
    FormAdv->exec();
}

void TForm1::ExitQuillon1Click() {
    close();
}

} // namespace ui
