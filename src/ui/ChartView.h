#pragma once

#include <QColor>
#include <QString>
#include <qcustomplot.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QMenu;

namespace ui {

/// A chart of the views: white background, each series drawn as separate small markers without
/// lines, axes that follow the data unless fixed, a legend on request, and optionally a
/// date-time X axis labelled in UTC.
///
/// The user explores it: the wheel zooms and a drag pans both axes, a double-click goes back to
/// the full view, and the context menu saves the chart as a PNG or PDF image, copies it, and
/// switches an epoch-number axis to the epochs' time of day.
class ChartView : public QCustomPlot {
    Q_OBJECT

public:
    enum class Marker { Circle, Square };
    /// The time of day of each epoch, for epoch numbers 1, 2, ...; asked when the axis shows
    /// times and at each refresh while it does.
    using EpochTimes = std::function<std::shared_ptr<const std::vector<std::string>>()>;

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
    /// The bottom axis' title while it shows the epochs' time of day.
    static QString timeOfDayTitle();
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

    /// X ticks only at whole numbers (epoch and event numbers).
    void setWholeNumberXAxis();
    /// Makes the whole-number X axis an epoch-number axis that the context menu can switch to
    /// the epochs' time of day.
    void setEpochTimes(EpochTimes times);
    /// Shows the time of day of the epochs instead of their numbers (false: the numbers).
    void setTimeOfDay(bool shown);
    bool timeOfDay() const noexcept { return m_timeOfDay; }

    /// Puts a series on the right axis, which then shows with its own range and title.
    void setSeriesOnRightAxis(int series, const QString& axisTitle);

    /// Sets the free ranges from the data and redraws.
    void refresh();
    /// Back to the ranges of the last refresh: the whole data or the fixed ranges.
    void showFullView();

    /// The context menu: "Save image...", "Copy", "Full view", and "Time of day" on an
    /// epoch-number axis. The caller owns it.
    QMenu* newContextMenu();
    /// "Save image...": asks for a file; a name ending in .pdf is written as PDF, any other as
    /// PNG (".png" is added to a name without a suffix).
    void saveImage();
    /// Writes the chart as PNG or PDF, by the name's suffix; false when it cannot be written.
    bool writeImage(const QString& path);
    /// "Copy": the chart's picture to the clipboard.
    void copyImage();

private:
    void fitRanges();
    void takeEpochTimes();

    QCPTextElement* m_title = nullptr;
    std::optional<QCPRange> m_fixedX, m_fixedY;
    bool m_dateTime = false;
    bool m_timeOfDay = false;
    EpochTimes m_epochTimes;
    QString m_xTitle; // the bottom axis' given title, shown again with the epoch numbers
    QSharedPointer<QCPAxisTicker> m_wholeTicker;
};

} // namespace ui
