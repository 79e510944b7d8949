#include "ui/ChartView.h"

#include "UiTestMain.h"

#include "ui/Notice.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <memory>
#include <string>
#include <vector>

namespace {

/// A chart of 100 points from (1, 10) to (100, 1000), drawn.
std::unique_ptr<ui::ChartView> filledChart() {
    auto chart = std::make_unique<ui::ChartView>();
    chart->setWholeNumberXAxis();
    chart->addSeries(QStringLiteral("a"), Qt::black);
    std::vector<double> x, y;
    for (int i = 1; i <= 100; ++i) {
        x.push_back(i);
        y.push_back(10.0 * i);
    }
    chart->setSeriesData(0, x, y);
    chart->resize(600, 400);
    chart->show();
    chart->refresh();
    return chart;
}

void sendMouse(ui::ChartView& chart, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QMouseEvent event(type, at, chart.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(&chart, &event);
}

QAction* menuItem(QMenu* menu, const char* name) {
    return menu->findChild<QAction*>(QString::fromLatin1(name));
}

} // namespace

class ChartViewTest : public QObject {
    Q_OBJECT

private slots:
    void drawsSeriesAsSmallMarkersOnWhite() {
        ui::ChartView chart;
        const int circles = chart.addSeries(QStringLiteral("G 5"), Qt::blue);
        const int squares =
            chart.addSeries(QStringLiteral("R12"), Qt::red, ui::ChartView::Marker::Square);
        chart.resize(200, 150);
        chart.replot();
        const QImage image = chart.grab().toImage();
        QCOMPARE(image.pixelColor(2, 2), QColor(Qt::white));
        QCOMPARE(image.pixelColor(100, 60), QColor(Qt::white));
        for (int series : {circles, squares}) {
            const QCPGraph* graph = chart.graph(series);
            QCOMPARE(graph->lineStyle(), QCPGraph::lsNone);
            QVERIFY(graph->scatterStyle().size() >= 2 && graph->scatterStyle().size() <= 3);
            QVERIFY(graph->adaptiveSampling());
        }
        QCOMPARE(chart.graph(circles)->scatterStyle().shape(), QCPScatterStyle::ssDisc);
        QCOMPARE(chart.graph(squares)->scatterStyle().shape(), QCPScatterStyle::ssSquare);
        QCOMPARE(chart.graph(squares)->name(), QStringLiteral("R12"));
    }

    void takesPointsInAscendingOrder() {
        ui::ChartView chart;
        chart.addSeries(QStringLiteral("a"), Qt::black);
        chart.setSeriesData(0, {3, 1, 2}, {30, 10, 20, 99});
        QCOMPARE(chart.pointCount(0), 3); // the extra Y value is ignored
        const auto data = chart.graph(0)->data();
        QCOMPARE(data->at(0)->key, 1.0);
        QCOMPARE(data->at(0)->value, 10.0);
        QCOMPARE(data->at(2)->key, 3.0);
        chart.clearData();
        QCOMPARE(chart.pointCount(0), 0);
        QCOMPARE(chart.seriesCount(), 1);
    }

    void freeAxesFollowTheDataFixedOnesStay() {
        ui::ChartView chart;
        chart.addSeries(QStringLiteral("a"), Qt::black);
        chart.setSeriesData(0, {10, 20, 30}, {-5, 0, 5});
        chart.fixYRange(-1, 1);
        chart.refresh();
        QVERIFY(chart.xAxis->range().contains(10) && chart.xAxis->range().contains(30));
        QVERIFY(chart.xAxis->range().size() < 30);
        QCOMPARE(chart.yAxis->range().lower, -1.0);
        QCOMPARE(chart.yAxis->range().upper, 1.0);
        chart.freeYRange();
        chart.refresh();
        QVERIFY(chart.yAxis->range().contains(-5) && chart.yAxis->range().contains(5));
    }

    void titleAndLegendOnRequest() {
        ui::ChartView chart;
        const int rowsWithout = chart.plotLayout()->rowCount();
        chart.setTitle(QStringLiteral("Time differences"));
        QCOMPARE(chart.title(), QStringLiteral("Time differences"));
        QCOMPARE(chart.plotLayout()->rowCount(), rowsWithout + 1);
        chart.setTitle(QString());
        QCOMPARE(chart.title(), QString());
        QCOMPARE(chart.plotLayout()->rowCount(), rowsWithout);
        QVERIFY(!chart.legend->visible());
        chart.setLegendShown(true);
        QVERIFY(chart.legend->visible());
    }

    // X values are the program's date-time values; the axis counts seconds and labels in UTC.
    void dateTimeAxisLabelsInUtc() {
        ui::ChartView chart;
        chart.setDateTimeAxis(QStringLiteral("dd/MM/yyyy hh:mm"));
        chart.addSeries(QStringLiteral("a"), Qt::black);
        const double noon = 39958.5; // 25 May 2009 12:00
        chart.setSeriesData(0, {noon, noon + 1.0 / 24}, {1, 2});
        QCOMPARE(chart.graph(0)->data()->at(0)->key, 1243252800.0);
        auto ticker = chart.xAxis->ticker().dynamicCast<QCPAxisTickerDateTime>();
        QVERIFY(ticker);
        QCOMPARE(ticker->dateTimeSpec(), Qt::UTC);
        chart.fixXRange(noon, noon + 1.0 / 24);
        chart.resize(600, 300);
        chart.refresh();
        const QVector<QString> labels = chart.xAxis->tickVectorLabels();
        QVERIFY(!labels.isEmpty());
        QVERIFY2(labels.front().startsWith(QStringLiteral("25/05/2009 12:")),
                 qPrintable(labels.front()));
    }

    // The wheel zooms both axes about the pointer, a drag pans both, a double-click brings
    // the full view back.
    void wheelZoomsDragPansDoubleClickResets() {
        const auto chart = filledChart();
        QVERIFY(QTest::qWaitForWindowExposed(chart.get()));
        const QCPRange fullX = chart->xAxis->range();
        const QCPRange fullY = chart->yAxis->range();
        const QPoint centre = chart->axisRect()->rect().center();

        QWheelEvent wheel(centre, chart->mapToGlobal(centre), QPoint(), QPoint(0, 240),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(chart.get(), &wheel);
        QVERIFY(chart->xAxis->range().size() < fullX.size() * 0.9);
        QVERIFY(chart->yAxis->range().size() < fullY.size() * 0.9);

        const QCPRange zoomedX = chart->xAxis->range();
        const QCPRange zoomedY = chart->yAxis->range();
        sendMouse(*chart, QEvent::MouseButtonPress, centre, Qt::LeftButton);
        sendMouse(*chart, QEvent::MouseMove, centre + QPoint(60, -40), Qt::LeftButton);
        sendMouse(*chart, QEvent::MouseButtonRelease, centre + QPoint(60, -40), Qt::NoButton);
        QVERIFY(chart->xAxis->range().lower < zoomedX.lower); // dragged right: earlier epochs
        QVERIFY(chart->yAxis->range().lower < zoomedY.lower); // dragged up: lower values
        QCOMPARE(chart->xAxis->range().size(), zoomedX.size());

        QTest::mouseDClick(chart.get(), Qt::LeftButton, Qt::NoModifier, centre);
        QCOMPARE(chart->xAxis->range(), fullX);
        QCOMPARE(chart->yAxis->range(), fullY);
    }

    // "Save image..." writes PNG or PDF by the chosen name; "Copy" puts the picture on the
    // clipboard.
    void theContextMenuSavesAndCopiesTheChart() {
        const auto chart = filledChart();
        QTemporaryDir dir;
        ui::NoticeRecorder recorder;
        recorder.files << dir.filePath("chart") << dir.filePath("chart.pdf")
                       << dir.filePath("no/such/folder/chart.png");
        const std::unique_ptr<QMenu> menu(chart->newContextMenu());
        QCOMPARE(menuItem(menu.get(), "SaveImage1")->text(), QStringLiteral("Save image..."));
        QCOMPARE(menuItem(menu.get(), "Copy1")->text(), QStringLiteral("Copy"));
        QVERIFY(!menuItem(menu.get(), "TimeOfDay1")); // no epoch times: no switch

        struct Saved {
            QString file;
            QByteArray magic;
        };
        for (const Saved& s : {Saved{dir.filePath("chart.png"), QByteArray("\x89PNG")},
                               Saved{dir.filePath("chart.pdf"), QByteArray("%PDF")}}) {
            UI_TRACE(s.file);
            menuItem(menu.get(), "SaveImage1")->trigger();
            QFile f(s.file);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.read(s.magic.size()), s.magic);
        }
        QCOMPARE(recorder.dialogFilters.value(0),
                 QStringLiteral("PNG image (*.png)|*.png|PDF document (*.pdf)|*.pdf"));
        menuItem(menu.get(), "SaveImage1")->trigger();
        QCOMPARE(recorder.notices.size(), 1);
        QVERIFY(recorder.notices[0].startsWith(QStringLiteral("The image could not be written")));

        QApplication::clipboard()->clear();
        menuItem(menu.get(), "Copy1")->trigger();
        const QImage copied = QApplication::clipboard()->image();
        QCOMPARE(copied.size(), chart->size() * chart->devicePixelRatioF());
    }

    // An epoch-number axis switches to the epochs' time of day and back.
    void anEpochAxisShowsTheTimeOfDay() {
        const auto chart = filledChart();
        chart->setAxisTitles(QStringLiteral("Epoch number"), QString());
        int asked = 0;
        chart->setEpochTimes([&asked] {
            ++asked;
            auto times = std::make_shared<std::vector<std::string>>();
            for (int i = 0; i < 100; ++i)
                times->push_back("00:" + std::to_string(10 + i / 2) + (i % 2 ? ":30" : ":00"));
            return std::shared_ptr<const std::vector<std::string>>(std::move(times));
        });
        chart->fixXRange(1, 5);
        chart->refresh();
        QCOMPARE(asked, 0); // nothing is read while the axis shows numbers
        QCOMPARE(chart->xAxis->tickVectorLabels().value(0), QStringLiteral("1"));

        const std::unique_ptr<QMenu> menu(chart->newContextMenu());
        QAction* times = menuItem(menu.get(), "TimeOfDay1");
        QVERIFY(times && times->isCheckable() && !times->isChecked());
        times->trigger();
        QVERIFY(chart->timeOfDay());
        QCOMPARE(chart->xAxis->label(), QStringLiteral("Time of day"));
        const QVector<double> ticks = chart->xAxis->tickVector();
        const QVector<QString> labels = chart->xAxis->tickVectorLabels();
        QVERIFY(!ticks.isEmpty());
        for (int i = 0; i < ticks.size(); ++i) {
            UI_TRACE(QString::number(ticks[i]));
            const int epoch = qRound(ticks[i]);
            const QString expected =
                QStringLiteral("00:%1:%2")
                    .arg(10 + (epoch - 1) / 2)
                    .arg((epoch - 1) % 2 ? QStringLiteral("30") : QStringLiteral("00"));
            QCOMPARE(labels[i], expected);
        }
        QCOMPARE(asked, 1);
        chart->refresh(); // a new fill asks again: a new scan has new epochs
        QCOMPARE(asked, 2);

        chart->setTimeOfDay(false);
        QCOMPARE(chart->xAxis->label(), QStringLiteral("Epoch number"));
        QCOMPARE(chart->xAxis->tickVectorLabels().value(0), QStringLiteral("1"));
    }

    // Axis numbers follow the user's decimal separator and never group thousands.
    void axisNumbersUseTheDecimalSeparator() {
        ui::ChartView chart;
        chart.addSeries(QStringLiteral("a"), Qt::black);
        chart.setSeriesData(0, {0, 1}, {0, 1});
        chart.fixYRange(0.5, 1.5);
        chart.fixXRange(1000, 3000);
        chart.resize(600, 300);
        chart.setDecimalSeparator(QStringLiteral(","));
        chart.refresh();
        const QString y = chart.yAxis->tickVectorLabels().join(QLatin1Char(' '));
        QVERIFY2(y.contains(QStringLiteral("0,6")) || y.contains(QStringLiteral("0,8")),
                 qPrintable(y));
        QVERIFY2(!y.contains(QLatin1Char('.')), qPrintable(y));
        const QString x = chart.xAxis->tickVectorLabels().join(QLatin1Char(' '));
        QVERIFY2(x.contains(QStringLiteral("2000")), qPrintable(x));
        chart.setDecimalSeparator(QStringLiteral("."));
        chart.refresh();
        QVERIFY2(chart.yAxis->tickVectorLabels().join(QLatin1Char(' ')).contains(QLatin1Char('.')),
                 qPrintable(chart.yAxis->tickVectorLabels().join(QLatin1Char(' '))));
    }
};

UI_TEST(ChartViewTest);
#include "ChartViewTest.moc"
