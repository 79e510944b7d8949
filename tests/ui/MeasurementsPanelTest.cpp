#include "ui/MeasurementsPanel.h"

#include "ObsFixture.h"
#include "UiTestMain.h"

#include "ui/ChartView.h"
#include "ui/PieGauge.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cmath>

using views::SatSystem;

class MeasurementsPanelTest : public QObject {
    Q_OBJECT

private:
    struct Rig {
        explicit Rig(const std::string& text = uitest::fixtureObservationFile()) : f(text) {
            panel.resize(1200, 700);
            if (f.scanned)
                panel.open(f.path(scan::TempFile::RinexEpochs), f.path(scan::TempFile::ObsRecs),
                           f.driver->headerO, f.obs(), observer);
        }
        uitest::ScannedObsFile f;
        uitest::RecordingObserver observer;
        ui::MeasurementsPanel panel;
    };

private slots:
    void groupsShowNForAbsentSatellitesAndSelectTheFirstGps() {
        Rig rig;
        QVERIFY(rig.f.scanned);
        ui::MeasurementsPanel& p = rig.panel;
        QCOMPARE(p.objectName(), QStringLiteral("PMeasurs"));
        QVERIFY(p.isVisible());
        QCOMPARE(p.RGMGPS->title(), QStringLiteral(" GPS "));
        QCOMPARE(p.RGMGLO->title(), QStringLiteral(" GLO"));
        QCOMPARE(p.RGMGEO->title(), QStringLiteral(" GEO"));
        QCOMPARE(p.RGMGAL->title(), QStringLiteral(" GAL "));
        QCOMPARE(p.RGMGPS->count(), 32);
        QCOMPARE(p.RGMGLO->count(), 24);
        QCOMPARE(p.RGMGEO->count(), 39); // S20 to S58
        QCOMPARE(p.RGMGAL->count(), 36); // E01 to E36
        struct Row {
            ui::MeasursRadioGroup* group;
            int item;
            const char* text;
        };
        const Row rows[] = {{p.RGMGPS, 0, "N"},  {p.RGMGPS, 4, "5"}, {p.RGMGPS, 11, "12"},
                            {p.RGMGPS, 31, "N"}, {p.RGMGLO, 2, "3"}, {p.RGMGLO, 0, "N"},
                            {p.RGMGEO, 0, "N"},  {p.RGMGAL, 0, "N"}};
        for (const Row& r : rows) {
            UI_TRACE(r.group->objectName() + QStringLiteral(" item ") + QString::number(r.item));
            QCOMPARE(r.group->itemText(r.item), QString::fromLatin1(r.text));
        }
        // G05 is the first present GPS satellite; the other groups have no selection.
        QCOMPARE(p.RGMGPS->itemIndex(), 4);
        QCOMPARE(p.RGMGLO->itemIndex(), -1);
        QCOMPARE(p.RGMGEO->itemIndex(), -1);
        QCOMPARE(p.RGMGAL->itemIndex(), -1);
        QCOMPARE(p.RGMeasurs->itemIndex(), 0);
        QCOMPARE(p.RGMeasurs->itemText(0), QStringLiteral("C1"));
        QCOMPARE(p.RGMeasurs->itemText(13), QStringLiteral("S5"));
        // Its C1 values and their signal strength 7.
        QCOMPARE(p.ChMeasurs->title(), QStringLiteral("C1 [m]"));
        QCOMPARE(p.ChMeasurs->pointCount(0), 5);
        QCOMPARE(p.ChMeasurs->graph(0)->data()->at(0)->value, 21000000.0);
        QCOMPARE(p.ChMeasursSN->title(), QStringLiteral("Signal / Noise"));
        QCOMPARE(p.ChMeasursSN->pointCount(0), 5);
        QCOMPARE(p.ChMeasursSN->graph(0)->data()->at(0)->value, 7.0);
        QCOMPARE(p.ChMeasursSN->yAxis->range().lower, -0.5);
        QCOMPARE(p.ChMeasursSN->yAxis->range().upper, 15.5);
        QCOMPARE(rig.observer.notices, std::vector<std::string>{});
        // The gauge showed full for 300 ms and is back at 0.
        QCOMPARE(rig.observer.pauses, std::vector<int>{300});
        QCOMPARE(p.GMeas->percent(), 0);
        QCOMPARE(p.closeButton()->text(), QStringLiteral("Close"));
    }

    void newTypesAndSatellitesCanBeChosenAndCharted() {
        Rig rig(uitest::manyTypesObservationFile());
        QVERIFY(rig.f.scanned);
        ui::MeasurementsPanel& p = rig.panel;
        // Every type of RINEX 2.11 in code order; G05 opens with C1.
        QCOMPARE(p.RGMeasurs->count(), 26);
        QCOMPARE(p.RGMeasurs->itemText(14), QStringLiteral("C6"));
        QCOMPARE(p.RGMeasurs->itemText(25), QStringLiteral("S8"));
        QCOMPARE(p.RGMGAL->itemText(32), QStringLiteral("33"));
        QCOMPARE(p.RGMGEO->itemText(38), QStringLiteral("58"));
        QCOMPARE(p.RGMGPS->itemIndex(), 4);
        QCOMPARE(p.ChMeasurs->pointCount(0), 4);
        QCOMPARE(p.ChMeasurs->graph(0)->data()->at(0)->value, 1014.0); // C1 is position 14
        struct Choice {
            ui::MeasursRadioGroup* group;
            int item;
            const char* title;
            int points;
            double first, strength;
        };
        const Choice choices[] = {
            {p.RGMGAL, 32, "C1 [m]", 4, 2014.0, 5},    // E33
            {p.RGMeasurs, 15, "C7 [m]", 4, 2018.0, 9}, // C7, position 18
            {p.RGMeasurs, 19, "L8 [cycles]", 4, 2003.0, 3},
            {p.RGMeasurs, 22, "D8 [Hz]", 4, 2002.0, -1}, // Doppler: no strength points
            {p.RGMeasurs, 24, "S7 [dB*Hz]", 4, 2015.0, -1},
            {p.RGMeasurs, 14, "C6 [m]", 0, 0, -1}, // not in the header
            {p.RGMGEO, 38, "C6 [m]", 0, 0, -1},    // S58
            {p.RGMeasurs, 16, "C8 [m]", 4, 3017.0, 8},
            {p.RGMeasurs, 9, "D2 [Hz]", 0, 0, -1}, // blank for S58
        };
        for (const Choice& c : choices) {
            UI_TRACE(QString::fromLatin1(c.title));
            c.group->item(c.item)->click();
            QCOMPARE(p.ChMeasurs->title(), QString::fromLatin1(c.title));
            QCOMPARE(p.ChMeasurs->pointCount(0), c.points);
            if (c.points > 0)
                QCOMPARE(p.ChMeasurs->graph(0)->data()->at(0)->value, c.first);
            QCOMPARE(p.ChMeasursSN->pointCount(0), c.strength < 0 ? 0 : c.points);
            if (c.strength >= 0 && c.points > 0)
                QCOMPARE(p.ChMeasursSN->graph(0)->data()->at(0)->value, c.strength);
        }
        QCOMPARE(rig.observer.notices, std::vector<std::string>{});
    }

    void typeAndSatelliteChoicesRechart() {
        Rig rig;
        QVERIFY(rig.f.scanned);
        ui::MeasurementsPanel& p = rig.panel;
        // S1 (item 11) has no signal strength chart.
        p.RGMeasurs->item(11)->click();
        QCOMPARE(p.ChMeasurs->title(), QStringLiteral("S1 [dB*Hz]"));
        QCOMPARE(p.ChMeasurs->pointCount(0), 5);
        QCOMPARE(p.ChMeasurs->graph(0)->data()->at(0)->value, 45.0);
        QCOMPARE(p.ChMeasursSN->pointCount(0), 0);
        // R03, the third satellite of each epoch.
        p.RGMGLO->item(2)->click();
        QCOMPARE(p.RGMGPS->itemIndex(), -1);
        QCOMPARE(p.RGMGLO->itemIndex(), 2);
        QCOMPARE(p.ChMeasurs->graph(0)->data()->at(0)->value, 47.0);
        // An "N" item only empties the charts.
        p.RGMGAL->item(0)->click();
        QCOMPARE(p.RGMGLO->itemIndex(), -1);
        QCOMPARE(p.ChMeasurs->pointCount(0), 0);
        QCOMPARE(p.ChMeasurs->title(), QStringLiteral("S1 [dB*Hz]"));
    }

    void combinationsChartGpsSatellitesOnly() {
        Rig rig;
        QVERIFY(rig.f.scanned);
        ui::MeasurementsPanel& p = rig.panel;
        QVERIFY(!p.PCombObs->isVisible());
        p.BBComObs->click();
        QVERIFY(p.PCombObs->isVisible());
        QCOMPARE(p.RGComObs->itemText(0),
                 QStringLiteral("Pseudorange Dual-frequency Ionosphere (Geometry-free)"));
        QCOMPARE(p.RGComObs->itemIndex(), 0);
        QCOMPARE(p.BBOkComObs->text(), QStringLiteral("Ok"));
        QCOMPARE(p.BBCloseComObs->text(), QStringLiteral("Cancel"));
        p.BBOkComObs->click();
        QVERIFY(!p.PCombObs->isVisible());
        QCOMPARE(p.RGMeasurs->itemIndex(), -1);
        QCOMPARE(p.ChMeasurs->title(),
                 QStringLiteral("Pseudorange Dual-frequency Ionosphere (Geometry-free) [m]"));
        QCOMPARE(p.ChMeasurs->pointCount(0), 5);
        QCOMPARE(p.ChMeasurs->graph(0)->data()->at(0)->value, -3.0);
        QCOMPARE(p.ChMeasursSN->pointCount(0), 0);
        // Another GPS satellite charts the combination; a GLONASS one leaves the charts empty.
        p.RGMGPS->item(11)->click();
        QCOMPARE(p.ChMeasurs->pointCount(0), 5);
        p.RGMGLO->item(2)->click();
        QCOMPARE(p.ChMeasurs->pointCount(0), 0);
        // Choosing a type returns to the measurements.
        p.RGMeasurs->item(0)->click();
        QCOMPARE(p.ChMeasurs->title(), QStringLiteral("C1 [m]"));
        QCOMPARE(p.ChMeasurs->pointCount(0), 5);
        // Cancel changes nothing.
        p.BBComObs->click();
        p.BBCloseComObs->click();
        QVERIFY(!p.PCombObs->isVisible());
        QCOMPARE(p.ChMeasurs->title(), QStringLiteral("C1 [m]"));
    }

    void combinationsTakeTheArcMeansOffWhenAsked() {
        Rig rig;
        QVERIFY(rig.f.scanned);
        ui::MeasurementsPanel& p = rig.panel;
        // Off at start: the combinations are drawn as computed.
        QVERIFY(!p.CBArcMeans->isChecked());
        QCOMPARE(p.CBArcMeans->text(), QStringLiteral("Remove arc means and mark slips"));
        QCOMPARE(p.ChMeasurs->graph(1)->name(), QStringLiteral("Slips"));
        p.BBComObs->click();
        p.CBArcMeans->click();
        p.BBOkComObs->click();
        // P - P2 is -3 m throughout: one arc whose mean is -3 m.
        QCOMPARE(p.ChMeasurs->pointCount(0), 5);
        for (int i = 0; i < 5; ++i)
            QVERIFY(std::fabs(p.ChMeasurs->graph(0)->data()->at(i)->value) < 1e-6);
        QCOMPARE(p.ChMeasurs->pointCount(1), 0); // and no slips
        // Without the option again, the values are as computed.
        p.BBComObs->click();
        p.CBArcMeans->click();
        p.BBOkComObs->click();
        QCOMPARE(p.ChMeasurs->graph(0)->data()->at(0)->value, -3.0);
    }
};

UI_TEST(MeasurementsPanelTest);

#include "MeasurementsPanelTest.moc"
