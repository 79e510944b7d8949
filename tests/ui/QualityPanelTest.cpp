#include "ui/QualityPanel.h"

#include "ObsFixture.h"
#include "UiTestMain.h"

#include "scan/RunSetup.h"
#include "tools/gen/Generator.h"
#include "tools/gen/Options.h"
#include "ui/ChartView.h"

#include <QDoubleSpinBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace {

// Two hours of generated data of the four systems with their navigation files, scanned.
struct GeneratedSet {
    QTemporaryDir dir;
    uitest::RecordingObserver observer;
    std::unique_ptr<scan::TScanDriver> driver;
    bool scanned = false;

    GeneratedSet() {
        gen::GenOptions o;
        bool help = false;
        std::string error;
        gen::GenResult result;
        if (!gen::parseOptions({"--out", dir.path().toStdString(), "--duration", "2h", "--sats",
                                "G=8,R=6,S=1,E=3", "--types", "C1,C5,P1,P2,L1,L2,L5,S1"},
                               o, help, error) ||
            !gen::generate(o, result, error))
            return;
        driver = std::make_unique<scan::TScanDriver>(
            observer, [](const std::filesystem::path&) -> std::uint64_t { return 1ull << 40; });
        scan::SetUpRun(driver->run(), ".", dir.path().toStdString());
        const std::string file = result.files.front();
        scanned = driver->BBInputClick([file] { return std::optional<std::string>(file); }) &&
                  driver->BBScanClick();
    }
};

} // namespace

class QualityPanelTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheFiguresTheSkyAndTheMultipath() {
        GeneratedSet set;
        QVERIFY(set.scanned);
        uitest::RecordingObserver observer;
        ui::QualityPanel panel;
        panel.resize(1000, 760);
        panel.show();
        panel.open(views::qualitySources(*set.driver), ",", observer);
        QCOMPARE(panel.objectName(), QStringLiteral("PQuality"));
        QCOMPARE(observer.notices, std::vector<std::string>{});

        // One row per satellite, then per system, then the file.
        const views::QualityReport& r = panel.report();
        QVERIFY(r.station && r.orbits);
        const int rows = static_cast<int>(r.satellites.size() + r.systems.size() + 1);
        QCOMPARE(panel.SGQuality->rowCount(), rows);
        QCOMPARE(r.systems.size(), std::size_t{4});
        QCOMPARE(panel.SGQuality->horizontalHeaderItem(3)->text(), QStringLiteral("MP1\n[m]"));
        QCOMPARE(panel.SGQuality->item(0, 0)->text().left(1), QStringLiteral("G"));
        QCOMPARE(panel.SGQuality->item(rows - 1, 0)->text(), QStringLiteral("all"));
        QVERIFY2(panel.SGQuality->item(rows - 1, 3)->text().contains(QLatin1Char(',')),
                 qPrintable(panel.SGQuality->item(rows - 1, 3)->text()));
        QVERIFY(panel.STQuality->text().startsWith(QStringLiteral("Mask 10,0 deg")));

        // The sky: a grid, five classes by SNR, names and the four directions.
        QCOMPARE(panel.ChSky->seriesCount(), 6);
        int tracked = 0;
        for (int s = 1; s < 6; ++s)
            tracked += panel.ChSky->pointCount(s);
        QVERIFY(tracked > 100);
        QCOMPARE(panel.ChSky->graph(1)->name(), QStringLiteral(">= 45 dB-Hz"));
        QCOMPARE(panel.ChSky->itemCount(), static_cast<int>(r.tracks.size()) + 4);
        QTest::mouseClick(panel.findChild<QRadioButton*>(QStringLiteral("RGSkyColour1")),
                          Qt::LeftButton);
        QCOMPARE(panel.ChSky->graph(1)->name(), QStringLiteral("|MP1| < 0.25 m"));

        QVERIFY(panel.ChQualityMP->isVisibleTo(&panel));
        QCOMPARE(panel.ChQualityMP->graph(0)->name(), QStringLiteral("MP1"));
        QVERIFY(panel.ChQualityMP->pointCount(0) > 100);
        QTest::mouseClick(panel.findChild<QRadioButton*>(QStringLiteral("RGQualityChart1")),
                          Qt::LeftButton);
        QVERIFY(panel.ChQualityIono->isVisibleTo(&panel));
        QVERIFY(!panel.ChQualityMP->isVisibleTo(&panel));
        QCOMPARE(panel.ChQualityIono->seriesCount(), 4); // G, R, S and E on two frequencies
        QVERIFY(panel.ChQualityIono->dateTimeAxis());

        // A higher mask expects fewer epochs once applied.
        const std::int64_t before = r.file.expected;
        panel.EMask->setValue(40);
        QCOMPARE(panel.report().file.expected, before);
        QTest::mouseClick(panel.BBQualityApply, Qt::LeftButton);
        QVERIFY(panel.report().file.expected < before);
        QCOMPARE(panel.report().settings.maskDeg, 40.0);
    }

    void anEmptyScanShowsAnEmptyGrid() {
        uitest::ScannedObsFile f; // no navigation files, no position to speak of
        QVERIFY(f.scanned);
        uitest::RecordingObserver observer;
        ui::QualityPanel panel;
        panel.open(views::qualitySources(*f.driver), ".", observer);
        QVERIFY(!panel.report().orbits);
        QVERIFY(panel.STQuality->text().contains(QStringLiteral("no completeness")));
        QCOMPARE(panel.SGQuality->item(0, 9)->text(), QStringLiteral("-")); // nothing expected
        QCOMPARE(panel.ChSky->seriesCount(), 6);
        QCOMPARE(panel.ChSky->pointCount(1), 0);
    }
};

UI_TEST(QualityPanelTest);

#include "QualityPanelTest.moc"
