#include "ui/MeteoPanel.h"

#include "UiTestMain.h"

#include "meteo/MeteoFileM.h"
#include "text/RecordFile.h"
#include "ui/ChartView.h"
#include "ui/Notice.h"
#include "ui/QtScanObserver.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

namespace {

// A header that lists TD, then PR, then HR: TD values sit in slot 1, PR in slot 2, HR in 3.
struct Fixture {
    QTemporaryDir dir;
    views::MeteoSources sources;
    header::THeaderDataMeteo header;

    Fixture() {
        sources.meteoFile = std::filesystem::path(dir.path().toStdString()) / meteo::kMeteoFile;
        text::RecordFile file;
        bool ok = file.create(sources.meteoFile, meteo::kMeteoRecordSize);
        for (int minute = 0; minute < 3; ++minute) {
            meteo::MeteoRecord r;
            r.epoch = {26, 12, 9, 10, minute, 0.0L};
            r.values[0] = 5.0L + minute;    // TD
            r.values[1] = 1000.0L + minute; // PR
            r.values[2] = 80.0L;            // HR
            ok = ok && file.append(meteo::encode(r));
        }
        if (!ok || !file.flush())
            qFatal("cannot write Meteo.dat");
        sources.recordsWritten = 3;
        sources.types.present[1] = 1;
        sources.types.position[1] = 1;
        sources.types.present[0] = 1;
        sources.types.position[0] = 2;
        sources.types.present[2] = 1;
        sources.types.position[2] = 3;
        header.typeCount = 3;
        header.sensorCount = 1;
        header.sensors[0].model = "PAROSCIENTIFIC      ";
        header.sensors[0].sensorType = "740-16B             ";
        header.sensors[0].accuracy = 0.1L;
        header.sensors[0].typeCode = 0;
    }
};

} // namespace

class MeteoPanelTest : public QObject {
    Q_OBJECT

private slots:
    void carriesTheGivenNames() {
        ui::MeteoPanel panel;
        QCOMPARE(panel.objectName(), QStringLiteral("PMeteo"));
        QVERIFY(panel.findChild<ui::ChartView*>("ChMeteo"));
        QVERIFY(panel.findChild<QTableWidget*>("SGMeteoSens"));
        QCOMPARE(panel.closeButton()->objectName(), QStringLiteral("BBCloseMeteo"));
        const char* names[] = {"CBPR", "CBTD", "CBHR", "CBZW", "CBZD",
                               "CBZT", "CBWS", "CBWD", "CBRI", "CBHI"};
        const char* titles[] = {"PR", "TD", "HR", "ZW", "ZD", "ZT", "WS", "WD", "RI", "HI"};
        QCOMPARE(panel.findChildren<QCheckBox*>().size(), 10);
        for (int i = 0; i < 10; ++i) {
            UI_TRACE(QString::fromLatin1(names[i]));
            const auto* box = panel.findChild<QCheckBox*>(QString::fromLatin1(names[i]));
            QVERIFY(box);
            QCOMPARE(box->text(), QString::fromLatin1(titles[i]));
            QCOMPARE(box->isChecked(), i == 0);
            QCOMPARE(panel.ChMeteo->graph(i)->name(), QString::fromLatin1(titles[i]));
        }
        QVERIFY(panel.ChMeteo->dateTimeAxis());
        // The stored times are as written in the file: labelled in UTC, whatever the desktop's
        // time zone.
        const auto ticker = panel.ChMeteo->xAxis->ticker().dynamicCast<QCPAxisTickerDateTime>();
        QVERIFY(ticker);
        QCOMPARE(ticker->dateTimeFormat(), QStringLiteral("dd.MM.yyyy hh:mm:ss"));
        QCOMPARE(ticker->dateTimeSpec(), Qt::UTC);
        QVERIFY(panel.ChMeteo->legend->visible());
        QCOMPARE(panel.ChMeteo->title(), QString());
    }

    void drawsTheCheckedTypesFromTheirSlots() {
        Fixture f;
        ui::NoticeRecorder notices;
        ui::QtScanObserver observer({});
        ui::MeteoPanel panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        panel.open(f.sources, f.header, observer);

        const bool enabled[] = {true, true, true, false, false, false};
        for (int i = 0; i < 6; ++i) {
            UI_TRACE(QStringLiteral("box %1").arg(i));
            QCOMPARE(panel.checkBoxes()[static_cast<std::size_t>(i)]->isEnabled(), enabled[i]);
        }
        // Only PR is checked: its values come from slot 2.
        QCOMPARE(panel.ChMeteo->pointCount(0), 3);
        for (int i = 1; i < 6; ++i)
            QCOMPARE(panel.ChMeteo->pointCount(i), 0);
        const auto pr = panel.ChMeteo->graph(0)->data();
        QCOMPARE(pr->at(0)->value, 1000.0);
        QCOMPARE(pr->at(2)->value, 1002.0);
        const double first = *views::MeteoDateTime({26, 12, 9, 10, 0, 0.0L});
        QCOMPARE(pr->at(0)->key, ui::ChartView::axisSeconds(first));
        // A minute apart on the axis (its seconds come from day counts: not exact to the bit).
        QVERIFY(qAbs(pr->at(1)->key - pr->at(0)->key - 60.0) < 1e-3);

        // Checking TD adds its series from slot 1; unchecking PR empties PR.
        QTest::mouseClick(panel.checkBoxes()[1], Qt::LeftButton);
        QCOMPARE(panel.ChMeteo->pointCount(1), 3);
        // Pressure has an axis of its own: temperature keeps the left one to itself.
        QCOMPARE(panel.ChMeteo->graph(0)->valueAxis(), panel.ChMeteo->yAxis2);
        QCOMPARE(panel.ChMeteo->graph(1)->valueAxis(), panel.ChMeteo->yAxis);
        QVERIFY(panel.ChMeteo->yAxis2->visible());
        QVERIFY(panel.ChMeteo->yAxis2->range().contains(1000) &&
                panel.ChMeteo->yAxis2->range().contains(1002));
        QVERIFY2(panel.ChMeteo->yAxis->range().upper < 100,
                 qPrintable(QString::number(panel.ChMeteo->yAxis->range().upper)));
        QCOMPARE(panel.ChMeteo->graph(1)->data()->at(1)->value, 6.0);
        QTest::mouseClick(panel.checkBoxes()[0], Qt::LeftButton);
        QCOMPARE(panel.ChMeteo->pointCount(0), 0);
        QCOMPARE(panel.ChMeteo->pointCount(1), 3);
        QVERIFY(notices.notices.isEmpty());

        // The boxes keep their state for the next opening.
        panel.open(f.sources, f.header, observer);
        QVERIFY(!panel.checkBoxes()[0]->isChecked());
        QCOMPARE(panel.ChMeteo->pointCount(1), 3);
    }

    void readsMeteoDatAgainAtOpeningAndOnZTMenuRequest() {
        Fixture f;
        ui::NoticeRecorder notices;
        ui::QtScanObserver observer({});
        ui::MeteoPanel panel;
        panel.open(f.sources, f.header, observer);
        QCOMPARE(panel.ChMeteo->pointCount(0), 3);
        // Meteo.dat is read again, not kept: two records counted now give two points.
        f.sources.recordsWritten = 2;
        panel.open(f.sources, f.header, observer);
        QCOMPARE(panel.ChMeteo->pointCount(0), 2);
        f.sources.recordsWritten = 3;
        panel.open(f.sources, f.header, observer);
        std::filesystem::resize_file(f.sources.meteoFile, 2 * meteo::kMeteoRecordSize);
        emit panel.checkBoxes()[5]->customContextMenuRequested(QPoint());
        QCOMPARE(notices.notices, QStringList{QStringLiteral("Unexpected end of file")});
        QCOMPARE(panel.ChMeteo->pointCount(0), 2);
    }

    void listsTheSensors() {
        Fixture f;
        ui::NoticeRecorder notices;
        ui::QtScanObserver observer({});
        ui::MeteoPanel panel;
        panel.open(f.sources, f.header, observer);
        const QTableWidget* grid = panel.SGMeteoSens;
        QCOMPARE(grid->columnCount(), 4);
        QCOMPARE(grid->rowCount(), 1);
        const QString heading[] = {"Model", "Type", "Accuracy", "Observation type"};
        for (int c = 0; c < 4; ++c)
            QCOMPARE(grid->horizontalHeaderItem(c)->text(), heading[c]);
        QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("PAROSCIENTIFIC      "));
        QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("740-16B             "));
        QCOMPARE(grid->item(0, 2)->text(), QStringLiteral("    0.1"));
        QCOMPARE(grid->item(0, 3)->text(), QStringLiteral("PR"));

        // A later header with no sensors leaves no stale row.
        f.header.sensorCount = 0;
        panel.open(f.sources, f.header, observer);
        QCOMPARE(grid->rowCount(), 0);
    }

    void tellsAMeteoFileThatCannotBeOpened() {
        Fixture f;
        f.sources.meteoFile = f.sources.meteoFile.parent_path() / "gone" / "Meteo.dat";
        ui::NoticeRecorder notices;
        ui::QtScanObserver observer({});
        ui::MeteoPanel panel;
        panel.open(f.sources, f.header, observer);
        QCOMPARE(notices.notices, QStringList{QStringLiteral("Error Opening File Meteo.dat ! ")});
        for (int i = 0; i < 6; ++i)
            QCOMPARE(panel.ChMeteo->pointCount(i), 0);
        QCOMPARE(panel.SGMeteoSens->rowCount(), 1);
    }
};

UI_TEST(MeteoPanelTest);
#include "MeteoPanelTest.moc"
