#include "ui/ChartView.h"

#include "UiTestMain.h"

#include <QTest>

#include <vector>

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
