#include "ObsFixture.h"
#include "UiTestMain.h"

#include "header/ObsTypes.h"
#include "scan/WindowState.h"
#include "ui/Adv.h"
#include "ui/ChartView.h"
#include "ui/EphemPanel.h"
#include "ui/EpochsPanel.h"
#include "ui/ErrorsForm.h"
#include "ui/HeaderPanel.h"
#include "ui/HelpWindow.h"
#include "ui/InputPanel.h"
#include "ui/IonoPanel.h"
#include "ui/MeasurementsPanel.h"
#include "ui/Notice.h"
#include "ui/OccupationsPanel.h"
#include "ui/PieGauge.h"
#include "ui/QualityPanel.h"
#include "ui/SatellitesPanel.h"
#include "ui/SummaryPanel.h"
#include "ui/TimeV.h"
#include "ui/Unit1.h"
#include "ui/WaitPanel.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

std::string H(std::string_view content, std::string_view label) {
    std::string s(content);
    s.resize(60, ' ');
    return s + std::string(label);
}

Lines obsFile(int epochs) {
    Lines lines = {
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
    // G05, G12 and G30 every 30 s with C1 and P2; G30 has no P2.
    for (int n = 0; n < epochs; ++n) {
        char epoch[64];
        std::snprintf(epoch, sizeof epoch, " 09  1  5 %2d %2d %10.7f  0  3G05G12G30", n / 120,
                      (n / 2) % 60, (n % 2) * 30.0);
        for (const char* l : {static_cast<const char*>(epoch), "  21234567.123    21234568.123",
                              "  22234567.123    22234568.123", "  23234567.123"})
            lines.emplace_back(l);
    }
    return lines;
}

// A GPS navigation file with one record for G05; its LEAP SECONDS line (line 6) is a finding.
Lines gpsFile() {
    return {
        H("     2.11           N: GPS NAV DATA", "RINEX VERSION / TYPE"),
        H("quillon             tester              20261210", "PGM / RUN BY / DATE"),
        H("    0.1118D-07  0.2235D-07 -0.5960D-07 -0.1192D-06", "ION ALPHA"),
        H("    0.1167D+06  0.1638D+05 -0.1311D+06 -0.3932D+06", "ION BETA"),
        H("    0.133179128170D-06 0.107469588780D-12   552960     1025", "DELTA-UTC: A0,A1,T,W"),
        H("    1X", "LEAP SECONDS"),
        H("", "END OF HEADER"),
        " 5 10  3  5 12  0  0.0 0.500000000000D+00-0.250000000000D+00 0.125000000000D+00",
        "    0.450000000000D+02 1.5D+00 6.283185307179586D+00 3.141592653589793D+00",
        "   -0.500000000000D+00 0.781250000000D-02 0.250000000000D+00 0.515350000000D+04",
        "    0.475200000000D+06 0.125000000000D+00-3.141592653589793D+00-2.0D+00",
        "    0.000000000000D+00 250.5D+00 1.5707963267948965D+00-6.283185307179586D+00",
        "    0.785398163397D+00 0.100000000000D+01 0.157300000000D+04 0.100000000000D+01",
        "    0.200000000000D+01 0.000000000000D+00-0.500000000000D+00 0.301000000000D+03",
        "    0.475000000000D+06",
    };
}

void writeFile(const QString& path, const Lines& lines) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    for (const std::string& l : lines) {
        f.write(l.data(), static_cast<qint64>(l.size()));
        f.write("\r\n");
    }
}

// An item of the menu bar's menus (the lists' Copy and Save list... are actions too).
bool isMenuItem(const QAction* a) {
    return !a->objectName().isEmpty() && !a->menu() && !a->isSeparator() &&
           qobject_cast<const QMenu*>(a->parent());
}

QStringList enabledMenus(const ui::TForm1& form) {
    QStringList names;
    for (const QAction* a : form.findChildren<QAction*>())
        if (isMenuItem(a) && a->isEnabled())
            names << a->objectName();
    names.sort();
    return names;
}

QColor colourOf(const ui::TForm1& form, const char* name) {
    const auto* label = form.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? ui::indicatorColourOf(label) : QColor();
}

QColor rgbOf(scan::Colour c) {
    return QColor::fromRgb(static_cast<QRgb>(scan::rgb(c)));
}

QString labelText(const ui::TForm1& form, const char* name) {
    const auto* label = form.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

QString editText(const ui::TForm1& form, const char* name) {
    const auto* edit = form.findChild<QLineEdit*>(QString::fromLatin1(name));
    return edit ? edit->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

QPushButton* button(const ui::TForm1& form, const char* name) {
    return form.findChild<QPushButton*>(QString::fromLatin1(name));
}

QStringList shownLines(const QListView* view) {
    QStringList lines;
    const QAbstractItemModel* model = view->model();
    for (int row = 0; row < model->rowCount(); ++row)
        lines << model->data(model->index(row, 0)).toString();
    return lines;
}

/// Counts how often a widget is shown.
class ShowCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            ++count;
        return QObject::eventFilter(watched, event);
    }
};

/// Counts the paints of the gauge while it shows a full pie, and whether its panel was in
/// front of the summary each time.
class FullGaugePaints : public QObject {
public:
    FullGaugePaints(const ui::PieGauge* gauge, const QWidget* panel, const QWidget* other)
        : m_gauge(gauge), m_panel(panel), m_other(other) {}
    int count = 0;
    bool panelInFront = true;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_gauge && event->type() == QEvent::Paint && m_gauge->percent() == 100) {
            ++count;
            panelInFront = panelInFront && m_panel->isVisible() && !m_other->isVisible();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const ui::PieGauge* m_gauge;
    const QWidget* m_panel;
    const QWidget* m_other;
};

const QStringList kAlwaysOn = {"About1", "ExitQuillon1", "InputRinexFile1", "QuillonHelp1"};

/// A working folder of its own (the run's temporary folder goes there), the window, and the
/// stand-ins for message boxes, file dialog and help.
struct Rig {
    Rig() {
        form = std::make_unique<ui::TForm1>(std::filesystem::path(work.path().toStdString()));
        form->CreateSecondaryWindows();
        form->show();
    }
    QString put(const QString& name, const Lines& lines) const {
        const QString path = QDir(work.path()).filePath(name);
        writeFile(path, lines);
        return path;
    }
    QString tempDir() const { return QString::fromStdString(form->driver().run().TempDir); }
    /// Input File with the given answer of the dialog, then Scan.
    void chooseAndScan(const QString& file) {
        recorder.files << file;
        QTest::mouseClick(button(*form, "BBInput"), Qt::LeftButton);
        QTest::mouseClick(button(*form, "BBScan"), Qt::LeftButton);
    }

    QTemporaryDir work;
    ui::NoticeRecorder recorder;
    ui::HelpRecorder help;
    std::unique_ptr<ui::TForm1> form;
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    // The decimal separator read at start-up reaches the numbers on every chart's axes.
    void chartAxesTakeTheDecimalSeparatorOfTheLocale() {
        const QByteArray old = qgetenv("LC_ALL");
        qputenv("LC_ALL", "de_DE.UTF-8");
        Rig rig;
        if (old.isNull())
            qunsetenv("LC_ALL");
        else
            qputenv("LC_ALL", old);
        if (rig.form->driver().run().DecSep != ",")
            QSKIP("no de_DE.UTF-8 locale on this machine (see locale -a)");
        const QList<ui::ChartView*> charts = rig.form->findChildren<ui::ChartView*>();
        QVERIFY(!charts.isEmpty());
        for (const ui::ChartView* chart : charts) {
            UI_TRACE(qPrintable(chart->objectName()));
            QCOMPARE(chart->locale().decimalPoint(), QStringLiteral(","));
        }
    }

    void startsWithItsCaptionMenusAndAnEmptyInputPanel() {
        Rig rig;
        ui::TForm1& form = *rig.form;
        QCOMPARE(form.windowTitle(), QStringLiteral("   Quillon   (beta version 1.0.6)") +
                                         QString(42, QLatin1Char(' ')) +
                                         QStringLiteral("Velmora [4] — Quillon"));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QCOMPARE(enabledMenus(form), kAlwaysOn);
        QVERIFY(!button(form, "BBScan")->isEnabled());
        QVERIFY(!button(form, "BBStop")->isEnabled());
        QVERIFY(button(form, "BBInput")->isEnabled());
        QCOMPARE(button(form, "BBInput")->text(), QStringLiteral("Input  File"));
        QCOMPARE(button(form, "BBInput")->toolTip(), QStringLiteral("Open file(s) *.*O"));
        QVERIFY(form.findChild<QWidget*>("PView")->isVisible());
        for (const char* panel : {"PSumm", "PHeader", "PVTime", "PSats", "PMeasurs", "PEvents",
                                  "POccup", "PIO", "PEphemGPS", "PMeteo", "PQuality", "PWait"}) {
            UI_TRACE(panel);
            QVERIFY(form.findChild<QWidget*>(panel));
            QVERIFY(!form.findChild<QWidget*>(panel)->isVisible());
        }
        // "Quality" comes after the given items of the View menu.
        const QList<QAction*> viewItems =
            form.findChild<QMenu*>(QStringLiteral("View1"))->actions();
        QCOMPARE(viewItems.back()->objectName(), QStringLiteral("Quality1"));
        QCOMPARE(viewItems.back()->text(), QStringLiteral("Quality"));
        QCOMPARE(viewItems[viewItems.size() - 2]->objectName(), QStringLiteral("Meteo1"));
        QCOMPARE(labelText(form, "STEnd"), QStringLiteral("Filesize"));
        QCOMPARE(labelText(form, "STDateis"), QStringLiteral("00/00/0000"));
        QCOMPARE(labelText(form, "STTimeis"), QStringLiteral("00:00:00.000"));
        for (const char* lamp :
             {"STC1is", "STS5is", "STgpsis", "STgalis", "STEphgpsis", "STEEis"}) {
            UI_TRACE(lamp);
            QCOMPARE(colourOf(form, lamp), rgbOf(scan::Colour::Silver));
        }
        // The run's temporary folder lies in the working folder.
        QCOMPARE(rig.tempDir(), QDir(rig.work.path()).filePath("TempQuillon") + "/");
        QVERIFY(QDir(rig.tempDir()).exists());
    }

    // All 26 counts and indicators, in rows of their kind and columns of their band, inside
    // the fixed window.
    void everyTypeHasItsCountAndIndicator() {
        Rig rig;
        ui::TForm1& form = *rig.form;
        const std::string text = uitest::manyTypesObservationFile();
        Lines lines;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t end = text.find("\r\n", at);
            lines.push_back(text.substr(at, end - at));
            at = end + 2;
        }
        rig.chooseAndScan(rig.put("site0050.09o", lines));
        QCOMPARE(rig.recorder.notices, QStringList{});
        QVERIFY(form.PSumm->isVisible());
        const std::vector<std::string> listed = uitest::manyTypesNames();
        std::vector<QRect> cells;
        for (std::string_view name : header::kObsTypeNames) {
            const QString code = QString::fromLatin1(name.data(), 2);
            UI_TRACE(code);
            const bool inFile = std::find(listed.begin(), listed.end(), name) != listed.end();
            // Three satellites in four epochs; S58 has no D2 and no S2.
            const QString count = !inFile ? "0" : (name == "D2" || name == "S2") ? "8" : "12";
            QCOMPARE(labelText(form, ("ST" + code).toLatin1().constData()), count);
            QCOMPARE(colourOf(form, ("ST" + code + "is").toLatin1().constData()),
                     rgbOf(inFile ? scan::Colour::Lime : scan::Colour::Silver));
            const auto* label = form.findChild<QLabel*>("ST" + code);
            const auto* caption = form.findChild<QLabel*>("LB" + code + "Code");
            QVERIFY(label && caption);
            QVERIFY(label->isVisible());
            for (const QWidget* w :
                 {static_cast<const QWidget*>(label), static_cast<const QWidget*>(caption)}) {
                const QRect r(w->mapTo(form.PSumm, QPoint(0, 0)), w->size());
                QVERIFY(QRect(QPoint(0, 0), form.PSumm->size()).contains(r));
                for (const QRect& other : cells)
                    QVERIFY(!r.intersects(other));
                cells.push_back(r);
            }
            // The count has room for its digits.
            QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(label->text()));
        }
        QCOMPARE(editText(form, "ESumGAL"), QStringLiteral(" 33"));
        QCOMPARE(editText(form, "ESumGEO"), QStringLiteral(" 58"));
    }

    void aCancelledDialogLeavesScanDisabled() {
        Rig rig;
        QTest::mouseClick(button(*rig.form, "BBInput"), Qt::LeftButton);
        QCOMPARE(rig.recorder.dialogCaptions, QStringList{"Select Rinex Observation File"});
        QVERIFY(!button(*rig.form, "BBScan")->isEnabled());
        QCOMPARE(editText(*rig.form, "EFile"), QString());
    }

    void aScanThroughTheButtonsEndsWithTheSummary() {
        Rig rig;
        ui::TForm1& form = *rig.form;
        const QString obs = rig.put("site0050.09o", obsFile(3));
        rig.put("site0050.09n", gpsFile());
        rig.recorder.files << obs;
        QTest::mouseClick(button(form, "BBInput"), Qt::LeftButton);
        QCOMPARE(editText(form, "EFile"), obs);
        QVERIFY(button(form, "BBScan")->isEnabled());
        QVERIFY(!button(form, "BBStop")->isEnabled());
        QCOMPARE(enabledMenus(form), kAlwaysOn); // Scan Rinex file stays disabled
        QTest::mouseClick(button(form, "BBScan"), Qt::LeftButton);

        QCOMPARE(rig.recorder.notices, QStringList{});
        QVERIFY(form.PSumm->isVisible());
        QVERIFY(!form.PView->isVisible());
        struct Text {
            const char* name;
            QString shown;
        };
        const std::vector<Text> texts = {
            {"STSumStartEp",
             "Start  " + QString::fromStdString(form.driver().obsFile()->LBEpochs.front())},
            {"STSumNumEp", "Epochs           3"},
            {"STSumInterval", "Interval          30000 ms"},
            {"STSumGap", "Gaps               0"},
            {"STSumMaxSat", " Maximum  3"},
            {"STSumMinSat", " Minimum  3"},
            {"STSumXA", " XA   0"},
            {"STSumXB", " XB   0"},
            {"STC1", "9"},
            {"STP2", "6"},
            {"STL1", "0"},
            {"STSumErr", "Yes"},
            {"ST_NFileStr", "22"},
            {"ST_NHeaderStr", "10"},
            {"ST_NDataStr", "12"},
            {"STEnd", QString::fromStdString(scan::FileSizeText(QFileInfo(obs).size()))},
        };
        for (const Text& t : texts) {
            UI_TRACE(t.name);
            QCOMPARE(labelText(form, t.name), t.shown);
        }
        QCOMPARE(editText(form, "ESumFile"), obs);
        QCOMPARE(editText(form, "ESumGPS"), QStringLiteral(" 5 12 30"));
        QCOMPARE(editText(form, "ESumGLO"), QStringLiteral(" No"));
        QCOMPARE(editText(form, "EGPSEph"), QStringLiteral(" 5"));
        QCOMPARE(editText(form, "EGLOEph"), QStringLiteral(" No"));

        struct Lamp {
            const char* name;
            scan::Colour colour;
        };
        const std::vector<Lamp> lamps = {
            {"STFileO", scan::Colour::Lime},    {"STFileOH", scan::Colour::Lime},
            {"STFileN", scan::Colour::Lime},    {"STFileNH", scan::Colour::Fuchsia},
            {"STFileG", scan::Colour::Silver},  {"STFileMH", scan::Colour::Silver},
            {"STSumErr", scan::Colour::Red},    {"STC1is", scan::Colour::Lime},
            {"STP2is", scan::Colour::Lime},     {"STL1is", scan::Colour::Silver},
            {"STgpsis", scan::Colour::Lime},    {"STglois", scan::Colour::Silver},
            {"STEphgpsis", scan::Colour::Lime}, {"STEphglois", scan::Colour::Silver},
        };
        for (const Lamp& l : lamps) {
            UI_TRACE(l.name);
            QCOMPARE(colourOf(form, l.name), rgbOf(l.colour));
        }

        // The menus follow the scan; Scan Rinex file never becomes enabled.
        const QStringList menus = enabledMenus(form);
        for (const char* on :
             {"ViewSummury1", "ViewErrors1", "TimesEpochs1", "Header1", "Satellites1",
              "Measurements1", "Occupations1", "Ephemerides1", "Quality1"}) {
            UI_TRACE(on);
            QVERIFY(menus.contains(on));
        }
        for (const char* off : {"ScanRinexFile1", "Externalevents1", "Meteo1"}) {
            UI_TRACE(off);
            QVERIFY(!menus.contains(off));
        }
        QVERIFY(button(form, "BBShowErr")->isEnabled());
        QVERIFY(button(form, "BBStop")->isEnabled());
        QCOMPARE(form.StatusBar1->currentMessage(), QString());

        // The header view was filled by the scan.
        form.Header1->trigger();
        QVERIFY(form.PHeader->isVisible());
        QVERIFY(!form.PSumm->isVisible());
        QCOMPARE(form.PHeader->ST_MarName->text().trimmed(), QStringLiteral("SITE"));
        QTest::mouseClick(form.PHeader->BBCloseHead, Qt::LeftButton);
        QVERIFY(form.PView->isVisible());

        // Closing the summary and choosing it again shows the same texts.
        form.ViewSummury1->trigger();
        QVERIFY(form.PSumm->isVisible());
        QTest::mouseClick(button(form, "BBCloseSum"), Qt::LeftButton);
        QVERIFY(!form.PSumm->isVisible());
        QVERIFY(form.PView->isVisible());
        form.ViewSummury1->trigger();
        QCOMPARE(labelText(form, "STSumNumEp"), QStringLiteral("Epochs           3"));

        // A new file choice resets the menus and the indicators.
        QTest::mouseClick(button(form, "BBInput"), Qt::LeftButton); // cancelled
        QCOMPARE(enabledMenus(form), kAlwaysOn);
        QVERIFY(!button(form, "BBStop")->isEnabled());
        QVERIFY(!button(form, "BBShowErr")->isEnabled());
        QCOMPARE(colourOf(form, "STC1is"), rgbOf(scan::Colour::Silver));
        QCOMPARE(colourOf(form, "STFileNH"), rgbOf(scan::Colour::Silver));
    }

    // 1500 epochs of 4 lines: the scan lets input through at line 5000, where Stop is seen.
    void eachObservationViewOpensAloneAndClosesToTheInputPanel() {
        Rig rig;
        ui::TForm1& form = *rig.form;
        const QString obs = rig.put("site0050.09o", obsFile(3));
        rig.chooseAndScan(obs);
        struct View {
            QAction* item;
            QWidget* panel;
            const char* close;
        };
        const std::vector<View> views = {
            {form.TimesEpochs1, form.PVTime, "BBVCloseTimes"},
            {form.Satellites1, form.PSats, "BBCloseSat"},
            {form.Measurements1, form.PMeasurs, "BBCloseMeas"},
            {form.Occupations1, form.POccup, "BBCloseOcc"},
            {form.Quality1, form.PQuality, "BBCloseQuality"},
        };
        for (const View& v : views) {
            UI_TRACE(v.close);
            QVERIFY(v.item->isEnabled());
            v.item->trigger();
            QVERIFY(v.panel->isVisible());
            QVERIFY(!form.PSumm->isVisible());
            QVERIFY(!form.PView->isVisible());
            for (const View& other : views)
                if (other.panel != v.panel)
                    QVERIFY(!other.panel->isVisible());
            QTest::mouseClick(button(form, v.close), Qt::LeftButton);
            QVERIFY(!v.panel->isVisible());
            QVERIFY(form.PView->isVisible());
        }
        QCOMPARE(rig.recorder.notices, QStringList{});

        // The satellites view's calculator button opens the calculator over the epochs.
        form.Satellites1->trigger();
        QTest::mouseClick(button(form, "BitBtn5"), Qt::LeftButton);
        QVERIFY(form.FormTime && form.FormTime->isVisible());
        QCOMPARE(form.FormTime->calculator().count(), 3);
    }

    void theEphemeridesAndIonoViewsOpenFromTheirMenuItems() {
        Rig rig;
        ui::TForm1& form = *rig.form;
        const QString obs = rig.put("site0050.09o", obsFile(3));
        rig.put("site0050.09n", gpsFile());
        rig.chooseAndScan(obs);
        QVERIFY(form.Ephemerides1->isEnabled());

        form.Ephemerides1->trigger();
        QVERIFY(form.PEphemGPS->isVisible());
        QVERIFY(!form.PSumm->isVisible());
        const auto* rb5 = form.findChild<QRadioButton*>(QStringLiteral("RBG5"));
        QVERIFY(rb5 && rb5->isEnabled() && rb5->isChecked()); // the only GPS satellite
        QVERIFY(!form.findChild<QRadioButton*>(QStringLiteral("RBG6"))->isEnabled());
        QTest::mouseClick(button(form, "BBCloseEph"), Qt::LeftButton);
        QVERIFY(!form.PEphemGPS->isVisible());
        QVERIFY(form.PView->isVisible());

        QVERIFY(form.Ionoparameters1->isEnabled());
        form.Ionoparameters1->trigger();
        QVERIFY(form.PIO->isVisible());
        QTest::mouseClick(button(form, "BBCloseIono"), Qt::LeftButton);
        QVERIFY(form.PView->isVisible());
    }

    void stopDuringTheScanEndsItAtTheNextPoll() {
        Rig rig;
        ui::TForm1& form = *rig.form;
        const QString obs = rig.put("site0050.09o", obsFile(1500));
        bool polled = false;
        QTimer::singleShot(0, &form, [&] {
            polled = true;
            // What the window shows while the scan runs.
            QVERIFY(QApplication::overrideCursor());
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
            QCOMPARE(labelText(form, "STEnd"),
                     QString::fromStdString(scan::FileSizeText(QFileInfo(obs).size())));
            QVERIFY(!form.ViewSummury1->isEnabled());
            QVERIFY(form.PView->isVisible());
            QVERIFY(button(form, "BBStop")->isEnabled());
            QTest::mouseClick(button(form, "BBStop"), Qt::LeftButton);
        });
        rig.chooseAndScan(obs);
        QVERIFY(polled);
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(form.PSumm->isVisible());
        // The poll comes at line 5000: 10 header lines and 1247 whole epochs of 4 lines.
        QCOMPARE(labelText(form, "STSumNumEp"), QStringLiteral("Epochs           1247"));
        QCOMPARE(rig.recorder.notices, QStringList{});
    }

    // Closing the window during a scan asks, stops the scan, and closes once it has returned.
    void exitDuringTheScanClosesWhenTheScanHasEnded() {
        Rig rig;
        ui::TForm1& form = *rig.form;
        const QString obs = rig.put("site0050.09o", obsFile(1500));
        const QString temp = rig.tempDir();
        rig.recorder.answer = ui::Answer::Yes;
        bool stillOpen = false;
        QTimer::singleShot(0, &form, [&] {
            form.ExitQuillon1->trigger();
            stillOpen = form.isVisible(); // not while the scan runs
        });
        rig.chooseAndScan(obs);
        QVERIFY(stillOpen);
        QCOMPARE(rig.recorder.questions, QStringList{"Do you really want to exit Quillon?"});
        QVERIFY(!form.isVisible());
        QVERIFY(!QDir(temp).exists());
    }

    // A file with bare line feeds is scanned from a converted copy, with the wait notice up.
    void aUnixFileShowsTheWaitNoticeAndTheCopysName() {
        Rig rig;
        ui::TForm1& form = *rig.form;
        const QString obs = QDir(rig.work.path()).filePath("site0050.09o");
        {
            QFile f(obs);
            QVERIFY(f.open(QIODevice::WriteOnly));
            for (const std::string& l : obsFile(3))
                f.write((l + "\n").c_str());
        }
        ShowCounter shows;
        form.PWait->installEventFilter(&shows);
        rig.chooseAndScan(obs);
        QCOMPARE(shows.count, 1);
        QVERIFY(!form.PWait->isVisible());
        QCOMPARE(form.StatusBar1->currentMessage(), QString());
        const QString copy = QDir(rig.work.path()).filePath("site0050_0.09o");
        QVERIFY(QFileInfo::exists(copy));
        QCOMPARE(editText(form, "ESumFile"), copy);
        QCOMPARE(editText(form, "EFile"), obs);
        QCOMPARE(labelText(form, "STSumNumEp"), QStringLiteral("Epochs           3"));
    }

    void theErrorsWindowOpensOnTheLastKindWithDiagnostics() {
        Rig rig;
        ui::TForm1& form = *rig.form;
        const QString obs = rig.put("site0050.09o", obsFile(2));
        const QString nav = rig.put("site0050.09n", gpsFile());
        rig.chooseAndScan(obs);
        QVERIFY(button(form, "BBShowErr")->isEnabled());

        bool seen = false;
        QTimer::singleShot(0, &form, [&] {
            ui::TFormErrors* errors = form.FormErrors;
            seen = errors->isVisible() && errors->isModal();
            QCOMPARE(errors->shownKind(), text::FileKind::N);
            QVERIFY(errors->PN->isVisible());
            QCOMPARE(errors->STHeaderN->text(), "Header of file " + nav);
            QCOMPARE(errors->STHeader->text(), "Header of file " + obs);
            const QStringList lines = shownLines(errors->LBHeaderN);
            QCOMPARE(lines.size(), 2);
            QVERIFY2(lines[0].startsWith("string 6 : "), qPrintable(lines[0]));
            QCOMPARE(lines[1].left(6), QStringLiteral("    1X"));
            QVERIFY(shownLines(errors->LBData).isEmpty());
            QTest::mouseClick(errors->BBClose, Qt::LeftButton);
        });
        QTest::mouseClick(button(form, "BBShowErr"), Qt::LeftButton);
        QVERIFY(seen);
        QVERIFY(!form.FormErrors->isVisible());
        QVERIFY(form.PSumm->isVisible());
    }

    void f1OpensTheTopicOfTheFocusedControl() {
        Rig rig;
        ui::TForm1& form = *rig.form;
        QVERIFY(QTest::qWaitForWindowActive(&form));
        rig.chooseAndScan(rig.put("site0050.09o", obsFile(2)));
        const QString helpFile = QDir(rig.work.path()).filePath("Quillon.chm");

        struct Row {
            const char* control;
            const char* how; // the menu item that shows the control's panel first, if any
            int topic;
        };
        const std::vector<Row> rows = {
            {"BBScan", "", 1},
            {"BBCloseSum", "ViewSummury1", 2},
            {"BBVCloseTimes", "TimesEpochs1", 3},
            {"BBCloseHead", "Header1", 4},
        };
        for (const Row& r : rows) {
            UI_TRACE(r.control);
            if (*r.how)
                form.findChild<QAction*>(r.how)->trigger();
            else
                QTest::mouseClick(form.PSumm->BBCloseSum, Qt::LeftButton);
            QPushButton* control = button(form, r.control);
            QVERIFY(control->isVisible());
            control->setFocus();
            QCOMPARE(form.focusWidget(), control);
            rig.help.topics.clear();
            QTest::keyClick(control, Qt::Key_F1);
            QCOMPARE(rig.help.topics, QList<int>{r.topic});
            QCOMPARE(rig.help.files.value(0), helpFile);
            QCOMPARE(rig.help.owners.value(0), form.PView->BBInput);
        }

        // Without a focused control F1 opens the first topic.
        QTest::mouseClick(form.PHeader->BBCloseHead, Qt::LeftButton);
        if (QWidget* focused = form.focusWidget())
            focused->clearFocus();
        QCOMPARE(form.focusWidget(), nullptr);
        rig.help.topics.clear();
        QTest::keyClick(&form, Qt::Key_F1);
        QCOMPARE(rig.help.topics, QList<int>{1});

        // "Quillon Help" opens topic 1 whatever has the focus.
        rig.help.topics.clear();
        form.QuillonHelp1->trigger();
        QCOMPARE(rig.help.topics, QList<int>{1});
    }

    void theAboutBoxShowsTheVersionAndAsksHelpForTheMainWindowsFocus() {
        Rig rig;
        ui::TForm1& form = *rig.form;
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.PView->BBScan->setEnabled(true);
        form.PView->BBStop->setFocus();
        bool seen = false;
        QTimer::singleShot(0, &form, [&] {
            ui::TFormAdv* about = form.FormAdv;
            seen = about->isVisible();
            QCOMPARE(about->windowTitle(), QStringLiteral("About Quillon — Quillon"));
            QCOMPARE(about->StaticText1->text(), QStringLiteral("Version 1.0.6"));
            QCOMPARE(about->StaticText3->text(), QStringLiteral("25 May 2009"));
            QTest::keyClick(about->BB, Qt::Key_F1);
            QTest::mouseClick(about->BB, Qt::LeftButton);
        });
        form.About1->trigger();
        QVERIFY(seen);
        QCOMPARE(rig.help.topics, QList<int>{1});
        QCOMPARE(rig.help.owners.value(0), form.FormAdv->BB);
    }

    void theExitQuestionKeepsTheWindowOnNoAndRemovesTheTempFolderOnYes() {
        Rig rig;
        ui::TForm1& form = *rig.form;
        rig.chooseAndScan(rig.put("site0050.09o", obsFile(2)));
        const QString temp = rig.tempDir();
        QVERIFY(QFileInfo::exists(temp + "RinexEpochs.dat"));

        rig.recorder.answer = ui::Answer::No;
        form.ExitQuillon1->trigger();
        QCOMPARE(rig.recorder.questions, QStringList{"Do you really want to exit Quillon?"});
        QVERIFY(form.isVisible());
        QVERIFY(QDir(temp).exists());

        rig.recorder.answer = ui::Answer::Yes;
        QVERIFY(form.close());
        QCOMPARE(rig.recorder.questions.size(), 2);
        QVERIFY(!form.isVisible());
        QVERIFY(!QDir(temp).exists());
    }

    // The promise of the files: a scan stopped half-way and a close leave the inputs as they
    // were and nothing else in the working folder.
    void aStoppedScanAndACloseLeaveOnlyTheUnchangedInputs() {
        Rig rig;
        ui::TForm1& form = *rig.form;
        const QString obs = rig.put("site0050.09o", obsFile(1500));
        rig.put("site0050.09n", gpsFile());
        const QDir work(rig.work.path());
        const QStringList inputs = work.entryList(QDir::Files);
        QCOMPARE(inputs, (QStringList{"site0050.09n", "site0050.09o"}));
        QList<QByteArray> bytes;
        QList<QDateTime> times;
        for (const QString& name : inputs) {
            QFile f(work.filePath(name));
            QVERIFY(f.open(QIODevice::ReadOnly));
            bytes << f.readAll();
            times << QFileInfo(f).lastModified();
        }
        QTimer::singleShot(0, &form,
                           [&] { QTest::mouseClick(button(form, "BBStop"), Qt::LeftButton); });
        rig.chooseAndScan(obs);
        QCOMPARE(labelText(form, "STSumNumEp"), QStringLiteral("Epochs           1247"));
        const QString temp = rig.tempDir();
        QVERIFY(QFileInfo::exists(temp + "EphemGPSRecs.dat"));

        rig.recorder.answer = ui::Answer::Yes;
        QVERIFY(form.close());
        QVERIFY(!QDir(temp).exists());
        QCOMPARE(work.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), inputs);
        for (qsizetype i = 0; i < inputs.size(); ++i) {
            UI_TRACE(inputs[i]);
            QFile f(work.filePath(inputs[i]));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), bytes[i]);
            QCOMPARE(QFileInfo(f).lastModified(), times[i]);
        }
    }

    // With no display name set, the caption is what the window system shows; every window
    // gives its caption exactly and appends the program's name.
    void everyCaptionEndsWithTheProgramsName() {
        Rig rig;
        ui::TForm1& form = *rig.form;
        const QString dash = QStringLiteral(" \u2014 Quillon");
        ui::HelpWindow help;
        const std::vector<std::pair<const QWidget*, QString>> windows = {
            {&form, ui::mainWindowCaption()},
            {form.FormErrors, " Errors"},
            {form.FormTime, "   Epoch number  --->  Time"},
            {form.FormAdv, "About Quillon"},
            {&help, "Quillon Help"},
        };
        for (const auto& [window, given] : windows) {
            UI_TRACE(given);
            QCOMPARE(window->windowTitle(), given + dash);
        }
    }

    // The header view shows the header as its scan read it: the data scan's event (a new
    // site and antenna), its first epoch (00:00:00 where the header says 00:05:00) and its
    // first step (no INTERVAL line) change the header record, not the view.
    void theHeaderViewShowsTheHeaderAsRead() {
        Rig rig;
        ui::TForm1& form = *rig.form;
        Lines lines = obsFile(3);
        lines[2] = H("QUIL", "MARKER NAME");
        lines[7] = H("10901M001", "MARKER NUMBER");
        lines[8] = H("  2009     1     5     0     5    0.0000000     GPS", "TIME OF FIRST OBS");
        const Lines event = {
            " 09  1  5  0  0 15.0000000  3  3", H("QUIL B", "MARKER NAME"),
            H("10901M002", "MARKER NUMBER"),
            H("        0.8765        0.0000        0.0000", "ANTENNA: DELTA H/E/N")};
        lines.insert(lines.begin() + 14, event.begin(), event.end());
        rig.chooseAndScan(rig.put("site0050.09o", lines));
        QCOMPARE(labelText(form, "STSumNumEp"), QStringLiteral("Epochs           3"));
        QCOMPARE(form.driver().headerO.markerName, std::string("QUIL B"));

        form.Header1->trigger();
        const ui::HeaderPanel& h = *form.PHeader;
        QCOMPARE(h.ST_MarName->text(), QStringLiteral("QUIL"));
        QCOMPARE(h.ST_MarNumb->text(), QStringLiteral("10901M001"));
        QCOMPARE(h.ST_AntH->text(), QStringLiteral("1.5"));
        QCOMPARE(h.ST_Interval->text(), QStringLiteral("0"));
        QCOMPARE(h.ST_FirstObs->text(), QStringLiteral(" 05/01/2009 00:05:00"));
    }

    // The first opening of Measurements shows its panel while it charts: the full gauge is
    // painted on it, never behind the summary.
    void measurementsAreInFrontWhileTheyChart() {
        Rig rig;
        ui::TForm1& form = *rig.form;
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        rig.chooseAndScan(rig.put("site0050.09o", obsFile(3)));
        QVERIFY(form.PSumm->isVisible());
        FullGaugePaints paints(form.PMeasurs->GMeas, form.PMeasurs, form.PSumm);
        form.PMeasurs->GMeas->installEventFilter(&paints);
        form.Measurements1->trigger();
        QVERIFY(paints.count > 0);
        QVERIFY(paints.panelInFront);
        QCOMPARE(form.PMeasurs->GMeas->percent(), 0);
        QVERIFY(form.PMeasurs->isVisible());
    }

    // Every row of the help topic table: the topic each control carries (what F1 opens for
    // it), and F1 itself on a focusable control of each row that the main window shows.
    void f1TopicsOfEveryControl() {
        Rig rig;
        ui::TForm1& form = *rig.form;
        QVERIFY(QTest::qWaitForWindowActive(&form));
        const QString obs = rig.put("site0050.09o", obsFile(3));
        rig.put("site0050.09n", gpsFile());
        rig.chooseAndScan(obs);
        struct Row {
            int topic;
            const char* how; // the menu item that shows the row's panel, "" for the input panel
            std::vector<const char*> controls;
            const char* pressF1; // a focusable control of the main window, or nullptr
        };
        const std::vector<Row> rows = {
            {1,
             "",
             {"BBInput", "BBScan", "BBStop", "EFile", "GScan", "STC1is", "STS5is", "STgpsis",
              "STEphgalis", "STEEis", "STEnd", "BB"},
             "BBInput"},
            {2,
             "ViewSummury1",
             {"BBCloseSum", "BBShowErr", "ESumFile", "ESumGPS", "EGPSEph", "STSumNumEp", "PView"},
             "BBCloseSum"},
            {3, "TimesEpochs1", {"PVTime", "LBEpochs", "BBVCloseTimes"}, "LBEpochs"},
            {4,
             "Header1",
             {"BBCloseHead", "GBEpochs", "GBFiles", "STFileO", "STFileLH", "PCombObs"},
             "BBCloseHead"},
            {5, "Satellites1", {"PSats"}, nullptr},
            {9,
             "Measurements1",
             {"BBTimeV", "BitBtn3", "BitBtn5", "BitBtn9", "PMeasurs", "ChMeasurs", "ChMeasursSN",
              "BBCloseMeas", "BitBtn28"},
             "BitBtn9"},
            {10, "Ephemerides1", {"PEphemGPS", "BBCloseEph", "BBMore", "RBG5"}, "BBCloseEph"},
            {13,
             "",
             {"PMeteo", "CBPR", "CBZT", "BBCloseMeteo", "PEvents", "CBXA", "CBXB", "BBCloseEE"},
             nullptr},
            {14, "Occupations1", {"LBOccup", "ChOccup"}, "LBOccup"},
            {16,
             "Measurements1",
             {"RGMeasurs", "RGMGPS", "RGMGLO", "RGMGEO", "RGMGAL", "BBComObs", "GMeas", "RGComObs",
              "BBOkComObs", "BBCloseComObs"},
             "BBComObs"},
            {30, "Ionoparameters1", {"PIO", "BBCloseIono"}, "BBCloseIono"},
            {31, "", {"ENumEp", "TBTime", "UDTime", "UDTimeLeft", "EDateTime"}, nullptr},
            {35, "Satellites1", {"ChartSat", "BBCloseSat"}, "BBCloseSat"},
            {49, "Occupations1", {"BBCloseOcc"}, "BBCloseOcc"},
        };
        for (const Row& r : rows) {
            UI_TRACE(QString::number(r.topic));
            for (const char* name : r.controls) {
                UI_TRACE(name);
                const auto* control = form.findChild<QWidget*>(QString::fromLatin1(name));
                QVERIFY(control);
                QCOMPARE(ui::helpTopicOf(control), r.topic);
            }
            if (!r.pressF1)
                continue;
            if (*r.how)
                form.findChild<QAction*>(r.how)->trigger();
            else
                form.closeViewPanel(form.driver().window().panel);
            auto* control = form.findChild<QWidget*>(QString::fromLatin1(r.pressF1));
            QVERIFY(control->isVisible());
            control->setFocus();
            rig.help.topics.clear();
            QTest::keyClick(control, Qt::Key_F1);
            QCOMPARE(rig.help.topics, QList<int>{r.topic});
        }

        // Every menu item but "Meteo" carries topic 3; F1 on an open menu opens the topic of
        // its highlighted item.
        for (QAction* item : form.findChildren<QAction*>()) {
            if (!isMenuItem(item))
                continue;
            UI_TRACE(item->objectName());
            QCOMPARE(item->property("helpTopic").toInt(), item == form.Meteo1 ? 0 : 3);
        }
        QMenu* view = form.findChild<QMenu*>(QStringLiteral("View1"));
        view->popup(form.mapToGlobal(QPoint(40, 40)));
        QVERIFY(QTest::qWaitForWindowExposed(view));
        view->setActiveAction(form.Satellites1);
        rig.help.topics.clear();
        QTest::keyClick(view, Qt::Key_F1);
        QCOMPARE(rig.help.topics, QList<int>{3});
        view->close();
    }

    // The scan chooses the kind the errors window shows; the user's own choice then stays
    // through closing and opening again.
    void theErrorsWindowKeepsTheUsersChoice() {
        Rig rig;
        ui::TForm1& form = *rig.form;
        rig.put("site0050.09n", gpsFile());
        rig.chooseAndScan(rig.put("site0050.09o", obsFile(2)));
        QList<text::FileKind> shown;
        QTimer::singleShot(0, &form, [&] {
            shown << form.FormErrors->shownKind();
            QTest::mouseClick(form.FormErrors->RBObs, Qt::LeftButton);
            QTest::mouseClick(form.FormErrors->BBClose, Qt::LeftButton);
        });
        form.ViewErrors1->trigger();
        QTimer::singleShot(0, &form, [&] {
            shown << form.FormErrors->shownKind();
            QTest::mouseClick(form.FormErrors->BBClose, Qt::LeftButton);
        });
        form.ViewErrors1->trigger();
        QCOMPARE(shown, (QList<text::FileKind>{text::FileKind::N, text::FileKind::O}));
        QVERIFY(form.FormErrors->RBObs->isChecked());
    }

    // The calculator's hints stay up as long as the main window's.
    void theCalculatorsHintsStayUpForLong() {
        Rig rig;
        const QList<QWidget*> hinted = {rig.form->FormTime->UDTime, rig.form->FormTime->UDTimeLeft,
                                        rig.form->FormTime->UDTimeRight, rig.form->PView->BBScan};
        for (const QWidget* w : hinted) {
            UI_TRACE(w->objectName());
            QVERIFY(!w->toolTip().isEmpty());
            QCOMPARE(w->toolTipDuration(), 500 * 1000);
        }
    }

    // A RinexEpochs.dat that cannot be opened is told, and the occupations view stops before
    // its panel is shown.
    void occupationsStopWhenTheirRecordFileCannotBeOpened() {
        Rig rig;
        ui::TForm1& form = *rig.form;
        rig.chooseAndScan(rig.put("site0050.09o", obsFile(3)));
        QVERIFY(QFile::remove(rig.tempDir() + "RinexEpochs.dat"));
        form.Occupations1->trigger();
        QCOMPARE(rig.recorder.notices, QStringList{"Error Opening File RinexEpochs.dat ! "});
        QVERIFY(!form.POccup->isVisible());
        QVERIFY(!form.PSumm->isVisible());
        QVERIFY(form.PView->isVisible());
    }

    // A file named on the command line, or dropped on the window, is chosen as Input File
    // chooses it (a whole path) and scanned; the dialog is not asked.
    void aFileFromOutsideIsChosenAndScanned() {
        Rig rig;
        ui::TForm1& form = *rig.form;
        const QString obs = rig.put("site0050.09o", obsFile(3));
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(rig.work.path());
        const bool opened = form.openFile(QStringLiteral("site0050.09o"));
        QDir::setCurrent(cwd);
        QVERIFY(opened);
        QVERIFY(rig.recorder.dialogCaptions.isEmpty());
        QCOMPARE(editText(form, "EFile"), obs);
        QVERIFY(form.PSumm->isVisible());
        QCOMPARE(labelText(form, "STSumNumEp"), QStringLiteral("Epochs           3"));

        // A drop: one local file is taken, anything else is refused.
        const QString other = rig.put("site0060.09o", obsFile(2));
        QMimeData two;
        two.setUrls({QUrl::fromLocalFile(obs), QUrl::fromLocalFile(other)});
        QDragEnterEvent refused(QPoint(20, 20), Qt::CopyAction, &two, Qt::LeftButton,
                                Qt::NoModifier);
        QApplication::sendEvent(&form, &refused);
        QVERIFY(!refused.isAccepted());

        QMimeData one;
        one.setUrls({QUrl::fromLocalFile(other)});
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &one, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &one, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form, &drop);
        QCOMPARE(editText(form, "EFile"), other);
        QCOMPARE(labelText(form, "STSumNumEp"), QStringLiteral("Epochs           2"));
        QCOMPARE(rig.recorder.notices, QStringList{});
    }

    void answeringYesWithoutAScanRemovesTheEmptyTempFolder() {
        Rig rig;
        const QString temp = rig.tempDir();
        QVERIFY(QDir(temp).exists());
        rig.recorder.answer = ui::Answer::Yes;
        rig.form->ExitQuillon1->trigger();
        QVERIFY(!rig.form->isVisible());
        QVERIFY(!QDir(temp).exists());
    }
};

UI_TEST(MainWindowTest);
#include "MainWindowTest.moc"
