#include "ui/HeaderPanel.h"

#include "UiTestMain.h"

#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTest>

namespace {

header::THeaderData fixtureHeader() {
    header::THeaderData h;
    h.satelliteSystem = 2;
    h.markerName = "WTZR";
    h.markerNumber = "14201M010";
    h.observer = "AUTOMATIC";
    h.agency = "BKG";
    h.receiverNumber = "3001";
    h.receiverType = "LEICA GRX1200";
    h.receiverVersion = "7.50";
    h.antennaNumber = "200";
    h.antennaType = "LEIAT504";
    h.approxX = 4075580.385L;
    h.approxY = 931853.813L;
    h.approxZ = 4801568.224L;
    h.antennaH = 0.071L;
    h.wavelengthL1 = 1;
    h.wavelengthL2 = 2;
    h.wavelengthSatCount = 1;
    h.wavelengthSats[0] = {'G', 5};
    h.typeCount = 4;
    h.types[0] = 0;
    h.types[1] = 5;
    h.types[2] = 6;
    h.types[3] = 4;
    h.firstObsPresent = true;
    h.firstObs = {2009, 5, 25, 0, 0, 30.0L};
    h.timeSystem = "GPS";
    h.leapSeconds = 15;
    h.satelliteCount = 1;
    h.satellites[0] = {'G', 5};
    h.obsCounts[0] = {2880, 2879, 2879, 2870};
    return h;
}

QString labelText(const ui::HeaderPanel& panel, const char* name) {
    const auto* label = panel.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<no label %1>").arg(QString::fromLatin1(name));
}

QStringList shownLines(const QListView* view) {
    QStringList lines;
    for (int row = 0; row < view->model()->rowCount(); ++row)
        lines << view->model()->index(row, 0).data().toString();
    return lines;
}

} // namespace

class HeaderPanelTest : public QObject {
    Q_OBJECT

private slots:
    void carriesTheGivenCaptions() {
        ui::HeaderPanel panel;
        QCOMPARE(panel.objectName(), QStringLiteral("PHeader"));
        QCOMPARE(labelText(panel, "STTitle"), QStringLiteral("Header   Information"));
        QCOMPARE(panel.findChild<QPushButton*>("BBCloseHead")->text(),
                 QStringLiteral("Close Header Information"));
        const std::pair<const char*, const char*> groups[] = {
            {"GBReceiver", " Receiver "},
            {"GBPosition", "Position"},
            {"GBMarker", " Marker "},
            {"GBAntenna", " Antenna "},
            {"GBEccentricities", " Eccentricities "},
            {"GBWavelength", " Wavelength Factors "},
            {"GBObservations", "Observations"},
            {"GBObsTypes", " Observation Types "},
            {"GBSatellites", " Satellites "},
        };
        for (const auto& [name, title] : groups) {
            UI_TRACE(QString::fromLatin1(name));
            QCOMPARE(panel.findChild<QGroupBox*>(name)->title(), QString::fromLatin1(title));
        }
        // Each value label sits beside its caption.
        const std::pair<const char*, const char*> captions[] = {
            {"ST_SatSys", " Satellite System"},
            {"ST_Agency", "Agency"},
            {"ST_ApprX", "  X [m]"},
            {"ST_MarNumb", "Number"},
            {"ST_AntEn", " North"},
            {"ST_WLF_NS", " Number of SVs"},
            {"ST_Interval", " Interval [ms]"},
            {"ST_NumSat", " Number of  SVs"},
        };
        for (const auto& [name, caption] : captions) {
            UI_TRACE(QString::fromLatin1(name));
            const auto* value = panel.findChild<QLabel*>(name);
            QVERIFY(value);
            bool found = false;
            for (const QLabel* label : panel.findChildren<QLabel*>())
                found = found || (label->buddy() == value && label->text() == caption);
            QVERIFY(found);
        }
    }

    void showsTheFixtureHeader() {
        ui::HeaderPanel panel;
        panel.FillHeaderView(fixtureHeader(), 30000, QStringLiteral(","));
        const std::pair<const char*, const char*> expected[] = {
            {"ST_SatSys", "MIXED"},
            {"ST_Observer", "AUTOMATIC"},
            {"ST_Agency", "BKG"},
            {"ST_RecNum", "3001"},
            {"ST_RecTyp", "LEICA GRX1200"},
            {"ST_RecVer", "7.50"},
            {"ST_ApprX", "4075580,385"},
            {"ST_ApprY", "931853,813"},
            {"ST_ApprZ", "4801568,224"},
            {"ST_MarName", "WTZR"},
            {"ST_MarNumb", "14201M010"},
            {"ST_AntNum", "200"},
            {"ST_AntTyp", "LEIAT504"},
            {"ST_AntH", "0,071"},
            {"ST_AntEe", "0"},
            {"ST_AntEn", "0"},
            {"ST_WLF_L1", "1"},
            {"ST_WLF_L2", "2"},
            {"ST_WLF_NS", "1"},
            {"ST_Interval", "30000"},
            {"ST_FirstObs", " 25/05/2009 00:00:30"},
            {"ST_LastObs", ""},
            {"ST_TimeSys", "GPS"},
            {"ST_LeapSec", "15"},
            {"ST_NObsTyp", "4"},
            {"ST_ObsTyp", "  C1  L1  L2  P2"},
            {"ST_NumSat", "1"},
        };
        for (const auto& [name, text] : expected) {
            UI_TRACE(QString::fromLatin1(name));
            QCOMPARE(labelText(panel, name), QString::fromLatin1(text));
        }
        QCOMPARE(shownLines(panel.findChild<QListView*>("LB_WFPRN")),
                 (QStringList{" SI   PRN ", " G  5"}));
        QCOMPARE(
            shownLines(panel.findChild<QListView*>("LB_PRNObs")),
            (QStringList{" PRN            # OF Observation", " G 5     2880  2879  2879  2870"}));
    }

    // A later header without those records leaves the times and types of the earlier one.
    void aLaterHeaderKeepsWhatItLacks() {
        ui::HeaderPanel panel;
        panel.FillHeaderView(fixtureHeader(), 30000, QStringLiteral("."));
        header::THeaderData bare;
        bare.markerName = "NEXT";
        panel.FillHeaderView(bare, 0, QStringLiteral("."));
        QCOMPARE(labelText(panel, "ST_MarName"), QStringLiteral("NEXT"));
        QCOMPARE(labelText(panel, "ST_FirstObs"), QStringLiteral(" 25/05/2009 00:00:30"));
        QCOMPARE(labelText(panel, "ST_ObsTyp"), QStringLiteral("  C1  L1  L2  P2"));
        QCOMPARE(labelText(panel, "ST_Interval"), QStringLiteral("0"));
        QCOMPARE(shownLines(panel.findChild<QListView*>("LB_WFPRN")), QStringList{" SI   PRN "});
        QCOMPARE(shownLines(panel.findChild<QListView*>("LB_PRNObs")),
                 QStringList{" PRN            # OF Observation"});
    }
};

UI_TEST(HeaderPanelTest);
#include "HeaderPanelTest.moc"
