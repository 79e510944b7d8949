#include "ui/EventsPanel.h"

#include "ObsFixture.h"
#include "UiTestMain.h"

#include "ui/ChartView.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

class EventsPanelTest : public QObject {
    Q_OBJECT

private slots:
    void chartsTheCheckedInputs() {
        uitest::ScannedObsFile f;
        QVERIFY(f.scanned);
        QCOMPARE(f.obs().extEventsA, 3);
        uitest::RecordingObserver observer;
        ui::EventsPanel panel;
        panel.open(f.path(scan::TempFile::ExtEventRecsXA), f.path(scan::TempFile::ExtEventRecsXB),
                   f.obs(), observer);

        QCOMPARE(panel.objectName(), QStringLiteral("PEvents"));
        QVERIFY(panel.isVisible());
        QVERIFY(panel.CBXA->isChecked());
        QVERIFY(!panel.CBXB->isChecked());
        QCOMPARE(panel.ChartEvents->title(), QString());
        QCOMPARE(panel.ChartEvents->xAxis->label(), QStringLiteral("Event number"));
        QCOMPARE(panel.ChartEvents->yAxis->label(), QStringLiteral("Time difference [s]"));
        QVERIFY(panel.ChartEvents->legend->visible());
        QCOMPARE(panel.ChartEvents->graph(0)->name(), QStringLiteral("XA"));
        QCOMPARE(panel.ChartEvents->graph(1)->name(), QStringLiteral("XB"));
        QCOMPARE(panel.ChartEvents->pointCount(0), 2);
        QCOMPARE(panel.ChartEvents->graph(0)->data()->at(0)->key, 2.0);
        QVERIFY(qAbs(panel.ChartEvents->graph(0)->data()->at(0)->value - 30.0) < 1e-5);
        // Equal spacing fixes the left axis around the level.
        QCOMPARE(panel.ChartEvents->yAxis->range().lower, 29.0);
        QCOMPARE(panel.ChartEvents->yAxis->range().upper, 31.0);
        QCOMPARE(observer.notices, std::vector<std::string>{});

        panel.CBXA->click();
        QCOMPARE(panel.ChartEvents->pointCount(0), 0);
        panel.CBXB->click();
        QCOMPARE(panel.ChartEvents->pointCount(1), 0); // no input B events in the file
        QCOMPARE(panel.BBTimeV->text(), QStringLiteral("Epoch number  --->  Time"));
        QCOMPARE(panel.closeButton()->objectName(), QStringLiteral("BBCloseEE"));
    }
};

UI_TEST(EventsPanelTest);

#include "EventsPanelTest.moc"
