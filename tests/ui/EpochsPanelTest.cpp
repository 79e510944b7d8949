#include "ui/EpochsPanel.h"

#include "ObsFixture.h"
#include "UiTestMain.h"

#include "ui/ChartView.h"

#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTest>

class EpochsPanelTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheScansListLabelsAndChart() {
        uitest::ScannedObsFile f;
        QVERIFY(f.scanned);
        ui::EpochsPanel panel;
        panel.resize(900, 500);
        panel.open(f.obs());

        QCOMPARE(panel.objectName(), QStringLiteral("PVTime"));
        QVERIFY(panel.isVisible());
        QCOMPARE(panel.STNEpochs->text(), QStringLiteral("Epochs (5)"));
        QCOMPARE(panel.STStart->text(), QStringLiteral("Start Epoch   05/01/2009  00:00:00.000"));
        QCOMPARE(panel.STFinish->text(), QStringLiteral("Finish Epoch  05/01/2009  00:02:30.000"));
        QCOMPARE(panel.STInterv->text(), QStringLiteral("Interval  30000 ms"));
        QCOMPARE(panel.STGap->text(), QStringLiteral("Gaps  1   Missing Epochs  1"));
        QCOMPARE(panel.STCaption->text(),
                 QStringLiteral("     Epoch Date/Time                   #SVs      #Epoch"));

        // Five epoch lines and the three marker lines of the missing epoch before the fourth.
        const QAbstractItemModel* model = panel.LBEpochs->model();
        QCOMPARE(model->rowCount(), 8);
        QCOMPARE(model->index(0, 0).data().toString(),
                 QStringLiteral(" 05/01/2009  00:00:00.000           3            1"));
        QCOMPARE(model->index(3, 0).data().toString(), QString(43, QLatin1Char('*')));
        QCOMPARE(model->index(4, 0).data().toString(),
                 QStringLiteral("******* 1 epochs missing **************"));
        QVERIFY(panel.LBEpochs->uniformItemSizes());

        QCOMPARE(panel.ChTimes->title(), QStringLiteral("Time differencies between Epochs (sec)"));
        QCOMPARE(panel.ChTimes->xAxis->label(), QStringLiteral("Epoch number"));
        QVERIFY(!panel.ChTimes->legend->visible());
        QCOMPARE(panel.ChTimes->pointCount(0), 4);
        // A day count keeps the step to about a microsecond.
        QVERIFY(qAbs(panel.ChTimes->graph(0)->data()->at(2)->value - 60.0) < 1e-5);
        QCOMPARE(panel.BBVCloseTimes->text(), QStringLiteral("Close Epochs window"));
        QCOMPARE(panel.closeButton(), panel.BBVCloseTimes);
    }

    void keepsItsListWhenTheScannerGoes() {
        ui::EpochsPanel panel;
        {
            uitest::ScannedObsFile f;
            QVERIFY(f.scanned);
            panel.open(f.obs());
        }
        QCOMPARE(panel.LBEpochs->model()->rowCount(), 8);
        QCOMPARE(panel.LBEpochs->model()->index(7, 0).data().toString().left(25),
                 QStringLiteral(" 05/01/2009  00:02:30.000"));
    }
};

UI_TEST(EpochsPanelTest);

#include "EpochsPanelTest.moc"
