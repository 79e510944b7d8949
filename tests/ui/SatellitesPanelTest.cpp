#include "ui/SatellitesPanel.h"

#include "ObsFixture.h"
#include "UiTestMain.h"

#include "ui/ChartView.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

class SatellitesPanelTest : public QObject {
    Q_OBJECT

private slots:
    void chartsTheSatellitesPerSystem() {
        uitest::ScannedObsFile f;
        QVERIFY(f.scanned);
        uitest::RecordingObserver observer;
        ui::SatellitesPanel panel;
        panel.open(f.path(scan::TempFile::RinexEpochs), f.obs(), observer);

        QCOMPARE(panel.objectName(), QStringLiteral("PSats"));
        QVERIFY(panel.isVisible());
        QCOMPARE(observer.notices, std::vector<std::string>{});
        QCOMPARE(panel.ChartSat->title(), QStringLiteral("Number of satellitess"));
        QCOMPARE(panel.ChartSat->xAxis->label(), QStringLiteral("Epoch number"));
        QVERIFY(panel.ChartSat->legend->visible());
        struct Row {
            const char* title;
            double y;
        };
        const Row rows[] = {
            {"ALL", 3}, {"GPS", 2.001}, {"GLO", 1.002}, {"GEO", 0.003}, {"GAL", 0.004}};
        for (int i = 0; i < 5; ++i) {
            UI_TRACE(QString::fromLatin1(rows[i].title));
            QCOMPARE(panel.ChartSat->graph(i)->name(), QString::fromLatin1(rows[i].title));
            QCOMPARE(panel.ChartSat->pointCount(i), 5);
            QCOMPARE(panel.ChartSat->graph(i)->data()->at(4)->key, 5.0);
            QCOMPARE(panel.ChartSat->graph(i)->data()->at(4)->value, rows[i].y);
        }
        QCOMPARE(panel.STIntSat->text(), QStringLiteral("  Interval=30000 ms"));
        QCOMPARE(panel.STSatMax->text(), QStringLiteral("  Max=3"));
        QCOMPARE(panel.STSatMin->text(), QStringLiteral("  Min=3"));
        QCOMPARE(panel.BitBtn5->text(), QStringLiteral("Epoch number  --->  Time"));
        QCOMPARE(panel.BitBtn5->toolTip(), QStringLiteral("Calculator (Epoch number  --->  Time)"));
        QCOMPARE(panel.closeButton()->objectName(), QStringLiteral("BBCloseSat"));
    }

    void tellsAMissingRecordFile() {
        uitest::ScannedObsFile f;
        QVERIFY(f.scanned);
        uitest::RecordingObserver observer;
        ui::SatellitesPanel panel;
        panel.open(f.path(scan::TempFile::RinexEpochs) + ".gone", f.obs(), observer);
        QCOMPARE(observer.notices,
                 std::vector<std::string>{"Error Opening File RinexEpochs.dat ! "});
        QCOMPARE(panel.ChartSat->pointCount(0), 0);
        QCOMPARE(panel.STSatMax->text(), QStringLiteral("  Max="));
    }
};

UI_TEST(SatellitesPanelTest);

#include "SatellitesPanelTest.moc"
