#pragma once

#include "text/ScanObserver.h"
#include "ui/ChartView.h"
#include "views/ChartSeries.h"

#include <QString>

#include <string>
#include <string_view>
#include <vector>

class QLabel;
class QPushButton;
class QWidget;

namespace ui {

/// A core text as the window shows it (the core's texts are Latin-1).
QString shownText(std::string_view s);

/// Tells each message in order through the observer's message box.
void tellAll(text::ScanObserver& observer, const std::vector<std::string>& messages);

/// Puts a computed series into a chart's series `index`.
void showSeries(ChartView* chart, int index, const views::PointSeries& series);

/// Fixes or frees a chart's left axis.
void applyLeftAxis(ChartView* chart, const views::AxisRule& rule);

/// A chart of the observation views: object name, title, bottom axis title, legend.
ChartView* newObsChart(QWidget* parent, const char* name, std::string_view title,
                       std::string_view bottomTitle, bool legend);

/// The button that opens the epoch-to-time calculator; without caption it shows an icon.
QPushButton* newCalculatorButton(QWidget* parent, const char* name, const char* caption);

/// A push button with a caption and an object name.
QPushButton* newButton(QWidget* parent, const char* name, const char* caption);

/// A label with an object name, in the panels' fixed-pitch font when `fixed`.
QLabel* newLabel(QWidget* parent, const char* name, const QString& text, bool fixed = false);

/// The colours of the chart series, in series order.
QColor seriesColour(int index);

} // namespace ui
