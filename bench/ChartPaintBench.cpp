// Times one chart's first paint: a ChartView with 5 series of 86,400 points each (a 1 Hz
// day) rendered to a pixmap on the offscreen platform, after the series were filled.
//
//   chart_paint_bench [--points N] [--runs N]

#include "ui/ChartView.h"

#include <QApplication>
#include <QPixmap>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int points = 86400;
    int runs = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--points") == 0)
            points = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::atoi(argv[i + 1]);
    }
    QApplication app(argc, argv);

    std::vector<std::vector<double>> ys(5);
    std::vector<double> x(static_cast<std::size_t>(points));
    for (std::size_t i = 0; i < x.size(); ++i) {
        x[i] = static_cast<double>(i + 1);
        for (std::size_t s = 0; s < ys.size(); ++s)
            ys[s].push_back(10.0 * static_cast<double>(s) +
                            std::sin(static_cast<double>(i) / 600.0) +
                            0.001 * static_cast<double>(i % 7));
    }

    std::printf("chart first paint: 5 series x %d points, 1000 x 600 pixels\n", points);
    for (int run = 0; run < runs; ++run) {
        ui::ChartView chart;
        chart.resize(1000, 600);
        chart.setTitle(QStringLiteral("Number of satellitess"));
        chart.setAxisTitles(QStringLiteral("Epoch number"), QString());
        chart.setLegendShown(true);
        const char* titles[] = {"ALL", "GPS", "GLO", "GEO", "GAL"};
        const Qt::GlobalColor colours[] = {Qt::red, Qt::blue, Qt::darkGreen, Qt::darkYellow,
                                           Qt::magenta};
        for (int s = 0; s < 5; ++s)
            chart.addSeries(QString::fromLatin1(titles[s]), QColor(colours[s]));

        const Clock::time_point fillStart = Clock::now();
        for (int s = 0; s < 5; ++s)
            chart.setSeriesData(s, x, ys[static_cast<std::size_t>(s)]);
        const double fillMs = msSince(fillStart);

        QPixmap pixmap(chart.size());
        const Clock::time_point paintStart = Clock::now();
        chart.refresh();
        chart.render(&pixmap);
        const double paintMs = msSince(paintStart);

        const Clock::time_point againStart = Clock::now();
        chart.render(&pixmap);
        const double againMs = msSince(againStart);
        std::printf("  run %d: fill %8.2f ms   first paint %8.2f ms   second paint %8.2f ms\n",
                    run + 1, fillMs, paintMs, againMs);
    }
    return 0;
}
