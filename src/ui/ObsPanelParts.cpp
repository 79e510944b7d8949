#include "ui/ObsPanelParts.h"

#include "views/EpochCalculator.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <array>

namespace ui {

QString shownText(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

void tellAll(text::ScanObserver& observer, const std::vector<std::string>& messages) {
    for (const std::string& m : messages)
        observer.notice(m);
}

void showSeries(ChartView* chart, int index, const views::PointSeries& series) {
    chart->setSeriesData(index, series.x, series.y);
}

void applyLeftAxis(ChartView* chart, const views::AxisRule& rule) {
    if (rule.automatic)
        chart->freeYRange();
    else
        chart->fixYRange(rule.minimum, rule.maximum);
}

ChartView* newObsChart(QWidget* parent, const char* name, std::string_view title,
                       std::string_view bottomTitle, bool legend) {
    auto* chart = new ChartView(parent);
    chart->setObjectName(QString::fromLatin1(name));
    chart->setTitle(shownText(title));
    chart->setAxisTitles(shownText(bottomTitle), QString());
    chart->setLegendShown(legend);
    chart->setWholeNumberXAxis();
    chart->setMinimumSize(320, 200);
    return chart;
}

QPushButton* newButton(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QPushButton* newCalculatorButton(QWidget* parent, const char* name, const char* caption) {
    QPushButton* button = newButton(parent, name, caption);
    button->setToolTip(shownText(views::kCalculatorHint));
    if (!*caption)
        button->setIcon(button->style()->standardIcon(QStyle::SP_FileDialogContentsView));
    return button;
}

QLabel* newLabel(QWidget* parent, const char* name, const QString& text, bool fixed) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    if (fixed)
        label->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return label;
}

QColor seriesColour(int index) {
    static const std::array<QColor, 5> colours = {QColor(200, 0, 0), QColor(0, 90, 200),
                                                  QColor(0, 150, 0), QColor(200, 120, 0),
                                                  QColor(140, 0, 170)};
    return colours[static_cast<std::size_t>(index) % colours.size()];
}

} // namespace ui
