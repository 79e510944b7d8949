#include "ObsFixture.h"
#include "UiTestMain.h"

#include "ui/Notice.h"
#include "ui/Unit1.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <memory>

namespace {

// Every visible widget of a panel has at least the size its layout asks for: nothing is
// squeezed or cut off.
void expectNothingSqueezed(const QWidget* panel) {
    // Texts the panel just took are laid out first.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    for (const QWidget* w : panel->findChildren<QWidget*>()) {
        if (!w->isVisible() || !w->parentWidget() || !w->parentWidget()->layout() || w->isWindow())
            continue;
        UI_TRACE(w->objectName() + " in " + panel->objectName());
        const QSize wanted = w->minimumSizeHint().boundedTo(w->maximumSize());
        QVERIFY2(w->width() >= wanted.width() && w->height() >= wanted.height(),
                 qPrintable(QStringLiteral("%1x%2 < %3x%4")
                                .arg(w->width())
                                .arg(w->height())
                                .arg(wanted.width())
                                .arg(wanted.height())));
    }
}

} // namespace

/// Runs on a 1366 x 768 screen (the test's own platform configuration): the window fits the
/// screen, and every panel is reachable by scrolling, uncut, with the status bar in view.
class SmallScreenTest : public QObject {
    Q_OBJECT

private slots:
    void theWindowSizeFollowsTheWorkArea_data() {
        QTest::addColumn<QSize>("available");
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QSize>("size");
        QTest::newRow("a large screen keeps the designed size")
            << QSize(1920, 1080) << QSize(4, 30) << QSize(1040, 800);
        QTest::newRow("exactly room for it")
            << QSize(1044, 830) << QSize(4, 30) << QSize(1040, 800);
        QTest::newRow("a laptop's work area below a panel")
            << QSize(1366, 740) << QSize(4, 30) << QSize(1040, 710);
        QTest::newRow("a narrow screen") << QSize(1024, 768) << QSize(0, 0) << QSize(1024, 768);
    }
    void theWindowSizeFollowsTheWorkArea() {
        QFETCH(QSize, available);
        QFETCH(QSize, frame);
        QFETCH(QSize, size);
        QCOMPARE(ui::mainWindowSize(available, frame), size);
    }

    void everyPanelIsReachableOnASmallScreen() {
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (screen->availableGeometry().height() >= 860)
            QSKIP("this test wants a screen lower than the window (see tests/ui/CMakeLists.txt)");
        QTemporaryDir work;
        ui::NoticeRecorder recorder;
        ui::TForm1 form(std::filesystem::path(work.path().toStdString()));
        form.CreateSecondaryWindows();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QRect area = screen->availableGeometry();
        QVERIFY(area.contains(form.frameGeometry()));
        QCOMPARE(form.width(), 1040);
        QVERIFY(form.height() < 800);

        const QString obs = QDir(work.path()).filePath(QStringLiteral("site0050.09o"));
        {
            QFile f(obs);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray::fromStdString(uitest::fixtureObservationFile()));
        }
        QVERIFY(form.openFile(obs));

        auto* scroller = form.findChild<QScrollArea*>(QStringLiteral("SBMain"));
        QVERIFY(scroller);
        QVERIFY(scroller->verticalScrollBar()->maximum() > 0);
        const QStatusBar* status = form.StatusBar1;
        QVERIFY(status->isVisible());
        QVERIFY(form.rect().contains(status->geometry()));

        struct View {
            const char* item;
            const char* panel;
            const char* close;
        };
        for (const View& v : {View{"ViewSummury1", "PSumm", "BBCloseSum"},
                              View{"Header1", "PHeader", "BBCloseHead"},
                              View{"TimesEpochs1", "PVTime", "BBVCloseTimes"},
                              View{"Satellites1", "PSats", "BBCloseSat"},
                              View{"Measurements1", "PMeasurs", "BBCloseMeas"},
                              View{"Occupations1", "POccup", "BBCloseOcc"},
                              View{"Externalevents1", "PEvents", "BBCloseEE"}}) {
            UI_TRACE(v.panel);
            auto* item = form.findChild<QAction*>(QString::fromLatin1(v.item));
            if (!item->isEnabled())
                continue;
            item->trigger();
            const auto* panel = form.findChild<QWidget*>(QString::fromLatin1(v.panel));
            QVERIFY(panel->isVisible());
            expectNothingSqueezed(panel);
            auto* close = form.findChild<QPushButton*>(QString::fromLatin1(v.close));
            scroller->ensureWidgetVisible(close);
            const QRect shown(close->mapTo(scroller->viewport(), QPoint()), close->size());
            QVERIFY(scroller->viewport()->rect().contains(shown));
            QTest::mouseClick(close, Qt::LeftButton);
            QVERIFY(!panel->isVisible());
        }
        QVERIFY(recorder.notices.isEmpty());
    }
};

UI_TEST(SmallScreenTest);
#include "SmallScreenTest.moc"
