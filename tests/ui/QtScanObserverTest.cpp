#include "ui/QtScanObserver.h"

#include "UiTestMain.h"

#include "ui/Notice.h"
#include "ui/PieGauge.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

struct Window {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    ui::PieGauge* gauge = new ui::PieGauge(window.get());
    QStatusBar* statusBar = new QStatusBar(window.get());
    QWidget* wait = new QWidget(window.get());
    QLabel* date = new QLabel(QStringLiteral("00/00/0000"), window.get());
    QLabel* time = new QLabel(QStringLiteral("00:00:00.000"), window.get());

    ui::ScanWindowHooks hooks() { return {window.get(), gauge, statusBar, wait, date, time}; }
};

} // namespace

class QtScanObserverTest : public QObject {
    Q_OBJECT

private slots:
    void showsProgressStatusAndEpoch() {
        Window w;
        ui::QtScanObserver observer(w.hooks());
        observer.progress(0.375);
        observer.status("Scanning data...");
        observer.epochShown("25/05/2009", "00:00:30.000");
        QCOMPARE(w.gauge->percent(), 37);
        QCOMPARE(w.statusBar->currentMessage(), QStringLiteral("Scanning data..."));
        QCOMPARE(w.date->text(), QStringLiteral("25/05/2009"));
        QCOMPARE(w.time->text(), QStringLiteral("00:00:30.000"));
        observer.status("");
        QCOMPARE(w.statusBar->currentMessage(), QString());
    }

    void noticeGoesToTheMessageBox() {
        Window w;
        ui::NoticeRecorder recorder;
        ui::QtScanObserver observer(w.hooks());
        observer.notice("Error Opening File RinexEpochs.dat ! ");
        QCOMPARE(recorder.notices,
                 QStringList{QStringLiteral("Error Opening File RinexEpochs.dat ! ")});
    }

    void busyShowsTheHourglassOnce() {
        Window w;
        {
            ui::QtScanObserver observer(w.hooks());
            observer.busy(true);
            observer.busy(true);
            QVERIFY(QApplication::overrideCursor());
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
            observer.busy(false);
            QVERIFY(!QApplication::overrideCursor());
            observer.busy(true);
        }
        // An observer that goes while busy gives the cursor back.
        QVERIFY(!QApplication::overrideCursor());
    }

    void waitNoticeShowsAndHidesThePanel() {
        Window w;
        w.wait->hide();
        ui::QtScanObserver observer(w.hooks());
        observer.waitNotice(true);
        QVERIFY(!w.wait->isHidden());
        observer.waitNotice(false);
        QVERIFY(w.wait->isHidden());
    }

    // The Stop button's click is handled at the scan's poll, not before.
    void stopIsSeenAtThePoll() {
        Window w;
        ui::QtScanObserver observer(w.hooks());
        auto* stop = new QPushButton(QStringLiteral("Stop"), w.window.get());
        QObject::connect(stop, &QPushButton::clicked, [&observer] { observer.requestStop(); });
        QTimer::singleShot(0, stop, &QPushButton::click);
        QVERIFY(!observer.stopRequested());
        observer.pollInput();
        QVERIFY(observer.stopRequested());
        observer.clearStop();
        QVERIFY(!observer.stopRequested());
    }

    void pauseHandlesNoInput() {
        Window w;
        ui::QtScanObserver observer(w.hooks());
        bool ran = false;
        QTimer::singleShot(0, w.window.get(), [&ran] { ran = true; });
        observer.pause(5);
        QVERIFY(!ran);
        QCoreApplication::processEvents();
        QVERIFY(ran);
    }

    void goneWidgetsAreSkipped() {
        auto w = std::make_unique<Window>();
        ui::QtScanObserver observer(w->hooks());
        w.reset();
        observer.progress(0.5);
        observer.status("x");
        observer.waitNotice(true);
        observer.epochShown("a", "b");
        observer.repaint();
    }
};

UI_TEST(QtScanObserverTest);
#include "QtScanObserverTest.moc"
