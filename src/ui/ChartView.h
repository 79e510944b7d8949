#pragma once

#include <QColor>
#include <QString>
#include <qcustomplot.h>

#include <optional>
#include <vector>

namespace ui {

/// A chart of the views: white background, each series drawn as separate small markers without
/// lines, axes that follow the data unless fixed, a legend on request, and optionally a
/// date-time X axis labelled in UTC.
class ChartView : public QCustomPlot {
    Q_OBJECT

public:
    enum class Marker { Circle, Square };

    explicit ChartView(QWidget* parent = nullptr);

    /// Adds a series drawn as markers of 3 pixels; returns its number (0, 1, ...).
    int addSeries(const QString& title, const QColor& colour, Marker marker = Marker::Circle);
    /// Replaces a series' points. x should be ascending (then it is taken as it is); points
    /// out of order are sorted. Extra values of the longer vector are ignored.
    void setSeriesData(int series, const std::vector<double>& x, const std::vector<double>& y);
    /// Empties every series; the series stay.
    void clearData();
    /// Removes every series.
    void removeSeries();
    int seriesCount() const { return graphCount(); }
    int pointCount(int series) const;

    /// The title above the chart; an empty title shows nothing.
    void setTitle(const QString& title);
    QString title() const;
    void setAxisTitles(const QString& x, const QString& y);
    void setLegendShown(bool shown);

    /// Fixed axis ranges; free ranges follow the data at every refresh.
    void fixXRange(double min, double max);
    void fixYRange(double min, double max);
    void freeXRange() { m_fixedX.reset(); }
    void freeYRange() { m_fixedY.reset(); }

    /// Shows X as date and time in UTC with a Qt date-time format ("hh:mm"). X values, and the
    /// fixed X range, are then the program's date-time values: days since 1899-12-30.
    void setDateTimeAxis(const QString& format);
    bool dateTimeAxis() const noexcept { return m_dateTime; }
    /// A date-time value (days since 1899-12-30) as the axis' seconds since 1970-01-01 UTC.
    static double axisSeconds(double dayCount) noexcept;

    /// Axis numbers with the user's decimal separator: "," or "." (anything else reads as ".").
    /// Numbers never get group separators.
    void setDecimalSeparator(const QString& separator);

    /// Sets the free ranges from the data and redraws.
    void refresh();

private:
    QCPTextElement* m_title = nullptr;
    std::optional<QCPRange> m_fixedX, m_fixedY;
    bool m_dateTime = false;
};

} // namespace ui
