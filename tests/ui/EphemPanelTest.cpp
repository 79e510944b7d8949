#include "ui/EphemPanel.h"

#include "UiTestMain.h"

#include "nav/EphemRecords.h"
#include "text/RecordFile.h"
#include "ui/Notice.h"
#include "ui/QtScanObserver.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

using views::EphemSystem;

namespace {

nav::TEphemGPSRec gpsRecord(std::int32_t prn, std::int32_t hour, float af0) {
    nav::TEphemGPSRec r;
    r.prn = prn;
    r.prnByte = static_cast<std::uint8_t>(prn);
    r.epoch = {26, 12, 9, hour, 0, 0.0L};
    r.toc = 259200 + 3600 * hour;
    r.tocCopy = r.toc;
    r.week = 2396;
    r.af0 = af0;
    r.sqrtA = 5153.65;
    return r;
}

nav::TEphemGEORec geoRecord(std::int32_t prn) {
    nav::TEphemGEORec r;
    r.prn100 = prn + 100;
    r.prn = prn;
    r.ordinal = 1;
    r.epoch = {26, 12, 9, 0, 1, 4.0L};
    r.epochSeconds = 64;
    r.x = 40000.5;
    return r;
}

template <class Record>
bool writeRecords(const std::filesystem::path& path, std::size_t size,
                  std::initializer_list<Record> records) {
    text::RecordFile file;
    if (!file.create(path, size))
        return false;
    for (const Record& r : records)
        if (!file.append(nav::encode(r)))
            return false;
    return file.flush();
}

QString labelText(const QWidget& panel, const QString& name) {
    const auto* label = panel.findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("<no label %1>").arg(name);
}

// What the last scan leaves: GPS records of satellites 3 (twice) and 7 (once), one GEO record
// of satellite 20, and no GLONASS or Galileo file.
struct Fixture {
    QTemporaryDir dir;
    views::EphemSources sources;

    Fixture() {
        const std::filesystem::path folder = dir.path().toStdString();
        sources.gpsFile = folder / nav::kEphemGPSFile;
        sources.gloFile = folder / nav::kEphemGLOFile;
        sources.geoFile = folder / nav::kEphemGEOFile;
        sources.galFile = folder / nav::kEphemGALFile;
        const bool written = writeRecords(sources.gpsFile, nav::kEphemGPSSize,
                                          {gpsRecord(3, 0, 1.5e-6f), gpsRecord(7, 0, -2.5e-4f),
                                           gpsRecord(3, 2, 1.25f)}) &&
                             writeRecords(sources.geoFile, nav::kEphemGEOSize, {geoRecord(20)});
        if (!written)
            qFatal("cannot write the ephemeris fixture");
        sources.counts.gps.increment(3);
        sources.counts.gps.increment(3);
        sources.counts.gps.increment(7);
        sources.counts.geo.increment(20);
        sources.decSep = std::string(1, ',');
    }
};

bool shownControl(const ui::EphemPanel& panel, EphemSystem system) {
    return !panel.pageControl(system)->isHidden();
}

} // namespace

class EphemPanelTest : public QObject {
    Q_OBJECT

private slots:
    void carriesTheButtonsAndLabelsByName() {
        ui::EphemPanel panel;
        QCOMPARE(panel.objectName(), QStringLiteral("PEphemGPS"));
        // GPS 1-32, GLONASS 1-24, GEO 20-58 (PRN 120-158), Galileo 1-36.
        QCOMPARE(panel.findChildren<QRadioButton*>().size(), 32 + 24 + 39 + 36);
        const std::pair<const char*, int> firstAndLast[] = {
            {"RBG1", 1},   {"RBG32", 32}, {"RBR1", 1}, {"RBR24", 24}, {"RBS20", 20},
            {"RBS38", 38}, {"RBS58", 58}, {"RBE1", 1}, {"RBE32", 32}, {"RBE36", 36}};
        for (const auto& [name, number] : firstAndLast) {
            UI_TRACE(QString::fromLatin1(name));
            const auto* button = panel.findChild<QRadioButton*>(QString::fromLatin1(name));
            QVERIFY(button);
            QCOMPARE(button->text(), QString::number(number));
            QVERIFY(!button->isEnabled());
        }
        QVERIFY(!panel.findChild<QRadioButton*>("RBS19"));
        QCOMPARE(panel.findChild<QPushButton*>("BBLess")->toolTip(),
                 QStringLiteral("Previous ephemeris"));
        QCOMPARE(panel.findChild<QPushButton*>("BBMore")->toolTip(),
                 QStringLiteral("Next ephemeris"));
        QCOMPARE(panel.closeButton()->objectName(), QStringLiteral("BBCloseEph"));
        QCOMPARE(panel.closeButton()->text(), QStringLiteral("Close"));

        // Every label of a page control sits on its page; the four controls start hidden.
        for (const EphemSystem system : views::kEphemSystems) {
            const QTabWidget* control = panel.findChild<QTabWidget*>(
                QString::fromLatin1(views::PageControlName(system).data()));
            QVERIFY(control);
            QVERIFY(control->isHidden());
            const auto captions = views::PageCaptions(system);
            QCOMPARE(control->count(), static_cast<int>(captions.size()));
            for (int page = 0; page < control->count(); ++page)
                QCOMPARE(control->tabText(page),
                         QString::fromLatin1(captions[static_cast<std::size_t>(page)].data()));
        }
        const std::pair<const char*, int> placed[] = {
            {"STDate", 0}, {"STRefTime", 1}, {"STaf0", 1}, {"STecc", 2}, {"STcis", 3}};
        for (const auto& [name, page] : placed) {
            UI_TRACE(QString::fromLatin1(name));
            QVERIFY(panel.PCEphGPS->widget(page)->findChild<QLabel*>(QString::fromLatin1(name)));
        }
        QVERIFY(panel.PCEphGLO->widget(2)->findChild<QLabel*>("STtau"));
        QVERIFY(panel.PCEphGEO->widget(1)->findChild<QLabel*>("STw3GEO"));
        QVERIFY(panel.PCEphGAL->widget(3)->findChild<QLabel*>("STcisgal"));
    }

    void opensOnTheFirstGPSSatelliteWithRecords() {
        Fixture f;
        ui::NoticeRecorder notices;
        ui::QtScanObserver observer({});
        ui::EphemPanel panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        panel.open(f.sources, observer);

        for (std::int32_t k = 1; k <= 32; ++k) {
            UI_TRACE(QStringLiteral("RBG%1").arg(k));
            QCOMPARE(panel.satelliteButton(EphemSystem::GPS, k)->isEnabled(), k == 3 || k == 7);
            QCOMPARE(panel.satelliteButton(EphemSystem::GPS, k)->isChecked(), k == 3);
        }
        QVERIFY(panel.satelliteButton(EphemSystem::GEO, 20)->isEnabled());
        QVERIFY(!panel.satelliteButton(EphemSystem::GEO, 21)->isEnabled());
        QVERIFY(!panel.satelliteButton(EphemSystem::GLONASS, 3)->isEnabled());
        QCOMPARE(labelText(panel, "STEphem"), QStringLiteral("GPS Ephemeris  sv=3   N=1"));
        QVERIFY(shownControl(panel, EphemSystem::GPS));
        QVERIFY(!shownControl(panel, EphemSystem::GEO));
        QCOMPARE(labelText(panel, "STDate"), QStringLiteral(" Date  09\\12\\2026"));
        QCOMPARE(labelText(panel, "STTime"), QStringLiteral(" Time  00:00: 0.0"));
        QCOMPARE(labelText(panel, "STaf0"), QStringLiteral("Af0 [s]     1,50000005305628E-6"));
        QCOMPARE(labelText(panel, "STwn"), QStringLiteral(" Week number (wn)     2396"));
        QVERIFY(!panel.BBLess->isEnabled());
        QVERIFY(panel.BBMore->isEnabled());
        QVERIFY(notices.notices.isEmpty());
    }

    void stepsThroughTheRecordsOfTheSatellite() {
        Fixture f;
        ui::NoticeRecorder notices;
        ui::QtScanObserver observer({});
        ui::EphemPanel panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        panel.open(f.sources, observer);

        QTest::mouseClick(panel.BBMore, Qt::LeftButton);
        QCOMPARE(labelText(panel, "STEphem"), QStringLiteral("GPS Ephemeris  sv=3   N=2"));
        QCOMPARE(labelText(panel, "STTime"), QStringLiteral(" Time  02:00: 0.0"));
        QCOMPARE(labelText(panel, "STaf0"), QStringLiteral("Af0 [s]     1,25"));
        QVERIFY(!panel.BBMore->isEnabled());
        QVERIFY(panel.BBLess->isEnabled());

        // Each step reads the file again: a record changed underneath shows as it is now.
        QVERIFY(
            writeRecords(f.sources.gpsFile, nav::kEphemGPSSize,
                         {gpsRecord(3, 0, 0.5f), gpsRecord(7, 0, 0.0f), gpsRecord(3, 2, 1.25f)}));
        QTest::mouseClick(panel.BBLess, Qt::LeftButton);
        QCOMPARE(labelText(panel, "STEphem"), QStringLiteral("GPS Ephemeris  sv=3   N=1"));
        QCOMPARE(labelText(panel, "STaf0"), QStringLiteral("Af0 [s]     0,5"));
        QVERIFY(!panel.BBLess->isEnabled());
        QVERIFY(panel.BBMore->isEnabled());

        // Satellite 7 has one record: neither step button can be used.
        QTest::mouseClick(panel.satelliteButton(EphemSystem::GPS, 7), Qt::LeftButton);
        QCOMPARE(labelText(panel, "STEphem"), QStringLiteral("GPS Ephemeris  sv=7   N=1"));
        QVERIFY(panel.satelliteButton(EphemSystem::GPS, 7)->isChecked());
        QVERIFY(!panel.satelliteButton(EphemSystem::GPS, 3)->isChecked());
        QVERIFY(!panel.BBLess->isEnabled());
        QVERIFY(!panel.BBMore->isEnabled());
        QVERIFY(notices.notices.isEmpty());
    }

    void selectingAGEOSatelliteShowsOnlyTheGEOPage() {
        Fixture f;
        ui::NoticeRecorder notices;
        ui::QtScanObserver observer({});
        ui::EphemPanel panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        panel.open(f.sources, observer);

        QTest::mouseClick(panel.satelliteButton(EphemSystem::GEO, 20), Qt::LeftButton);
        QVERIFY(shownControl(panel, EphemSystem::GEO));
        QVERIFY(!shownControl(panel, EphemSystem::GPS));
        QVERIFY(!shownControl(panel, EphemSystem::GLONASS));
        QVERIFY(!shownControl(panel, EphemSystem::Galileo));
        QVERIFY(panel.satelliteButton(EphemSystem::GEO, 20)->isChecked());
        QVERIFY(!panel.satelliteButton(EphemSystem::GPS, 3)->isChecked());
        QCOMPARE(labelText(panel, "STEphem"), QStringLiteral("GEO Ephemeris  sv=20   N=1"));
        QCOMPARE(labelText(panel, "STtkGEO"),
                 QStringLiteral(" Time of reference for system time corr (year, month, day)     "
                                "Unknown"));
        QCOMPARE(labelText(panel, "STr1GEO"), QStringLiteral(" r[1]     40000,5"));
        QVERIFY(!panel.BBMore->isEnabled());

        // Back to a GPS satellite: only the GPS page again.
        QTest::mouseClick(panel.satelliteButton(EphemSystem::GPS, 3), Qt::LeftButton);
        QVERIFY(shownControl(panel, EphemSystem::GPS));
        QVERIFY(!shownControl(panel, EphemSystem::GEO));
        QVERIFY(!panel.satelliteButton(EphemSystem::GEO, 20)->isChecked());
    }

    void tellsARecordThatIsNotThere() {
        Fixture f;
        // The counts promise a second record of satellite 7 that the file does not hold.
        f.sources.counts.gps.increment(7);
        ui::NoticeRecorder notices;
        ui::QtScanObserver observer({});
        ui::EphemPanel panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        panel.open(f.sources, observer);
        QTest::mouseClick(panel.satelliteButton(EphemSystem::GPS, 7), Qt::LeftButton);
        const QString before = labelText(panel, "STaf0");
        QTest::mouseClick(panel.BBMore, Qt::LeftButton);
        QCOMPARE(notices.notices,
                 QStringList{QStringLiteral("Ephemeris 2 for SV G7  is not found")});
        QCOMPARE(labelText(panel, "STaf0"), before);
        QCOMPARE(labelText(panel, "STEphem"), QStringLiteral("GPS Ephemeris  sv=7   N=1"));
    }

    void showsNoPageWhenOnlyGEOHasRecords() {
        Fixture f;
        f.sources.counts.gps.clear();
        ui::NoticeRecorder notices;
        ui::QtScanObserver observer({});
        ui::EphemPanel panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        panel.open(f.sources, observer);
        for (const EphemSystem system : views::kEphemSystems)
            QVERIFY(!shownControl(panel, system));
        QCOMPARE(labelText(panel, "STEphem"), QString());
        QVERIFY(!panel.satelliteButton(EphemSystem::GPS, 3)->isEnabled());
        QVERIFY(panel.satelliteButton(EphemSystem::GEO, 20)->isEnabled());
        QVERIFY(!panel.satelliteButton(EphemSystem::GEO, 20)->isChecked());
    }
};

UI_TEST(EphemPanelTest);
#include "EphemPanelTest.moc"
