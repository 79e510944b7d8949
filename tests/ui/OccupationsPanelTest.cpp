#include "ui/OccupationsPanel.h"

#include "ObsFixture.h"
#include "UiTestMain.h"

#include "ui/ChartView.h"

#include <QListView>
#include <QPushButton>
#include <QTest>

class OccupationsPanelTest : public QObject {
    Q_OBJECT

private slots:
    void listsTheOccupationAndMarksTheEpochs() {
        uitest::ScannedObsFile f;
        QVERIFY(f.scanned);
        uitest::RecordingObserver observer;
        ui::OccupationsPanel panel;
        panel.open(f.path(scan::TempFile::RinexEpochs), f.driver->headerO, f.obs(), ",", observer);

        QCOMPARE(panel.objectName(), QStringLiteral("POccup"));
        QVERIFY(panel.isVisible());
        const QAbstractItemModel* model = panel.LBOccup->model();
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->index(0, 0).data().toString(),
                 QStringLiteral("  #   Marker Name                Marker Number       Antenna "
                                "Offset  Is Static   Epoch number"));
        const QString line = model->index(1, 0).data().toString();
        QVERIFY2(line.startsWith(QStringLiteral("  1         SITE")), qPrintable(line));
        QVERIFY2(line.contains(QStringLiteral("1,5000")), qPrintable(line));
        QVERIFY2(line.endsWith(QStringLiteral("            yes         1")), qPrintable(line));

        QCOMPARE(panel.ChOccup->title(), QStringLiteral("Occupations"));
        QCOMPARE(panel.ChOccup->xAxis->label(), QStringLiteral("Epoch number"));
        QVERIFY(panel.ChOccup->legend->visible());
        QCOMPARE(panel.ChOccup->graph(0)->name(), QStringLiteral("Static"));
        QCOMPARE(panel.ChOccup->graph(1)->name(), QStringLiteral("Kinematic"));
        QCOMPARE(panel.ChOccup->pointCount(0), 5);
        QCOMPARE(panel.ChOccup->pointCount(1), 0);
        QCOMPARE(panel.ChOccup->yAxis->range().lower, -1.0);
        QCOMPARE(panel.ChOccup->yAxis->range().upper, 1.0);
        QVERIFY(!panel.ChOccup->yAxis->tickLabels());
        QCOMPARE(panel.leftTitle(), QStringLiteral("RX-0042"));
        QCOMPARE(observer.notices, std::vector<std::string>{});
        QCOMPARE(panel.BitBtn3->text(), QString());
        QCOMPARE(panel.BitBtn3->toolTip(), QStringLiteral("Calculator (Epoch number  --->  Time)"));
        QCOMPARE(panel.closeButton()->objectName(), QStringLiteral("BBCloseOcc"));
    }
};

UI_TEST(OccupationsPanelTest);

#include "OccupationsPanelTest.moc"
