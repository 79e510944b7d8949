#pragma once

#include "views/ChartSeries.h"
#include "views/QualityScan.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace views {

inline constexpr std::string_view kQualityTitle = "Data quality";

/// The columns of the grid SGQuality (two lines where a caption is long).
inline constexpr std::array<std::string_view, 13> kQualityColumns = {
    "Sat",        "Epochs",        "Arcs",       "MP1\n[m]",         "MP2\n[m]",
    "Slips\nLLI", "Slips\niono",   "Slips\nMP",  "Epochs\nper slip", "Expected",
    "Observed",   "Complete\n[%]", "Below\nmask"};

/// One line of text per satellite, then per system, then "all"; "-" where a figure has no
/// value. Reals with the user's decimal separator.
std::vector<std::array<std::string, 13>> qualityRows(const QualityReport& report,
                                                     std::string_view decSep);

/// The line above the grid: the settings, and why there is no geometry when there is none.
std::string qualitySummaryLine(const QualityReport& report, std::string_view decSep);

/// What colours the sky plot's tracks.
enum class SkyColour : std::uint8_t { Snr = 0, Multipath = 1 };
inline constexpr std::array<std::string_view, 2> kSkyColourItems = {"SNR", "MP1"};

/// The sky plot in plot coordinates: the zenith at the origin, the horizon on the circle of
/// radius 90, north up and east to the right (x = (90 - el) sin az, y = (90 - el) cos az).
struct SkyPlot {
    std::vector<PointSeries> classes; // the track points by class, titled for the legend
    PointSeries grid;                 // the circles of 0, 30 and 60 degrees and the axes
    std::vector<PointSeries> labels;  // the satellites' names and "N", "E", "S", "W", a point each
};

/// The tracks of the report by SNR (45 dB-Hz and more, 40 to 45, 30 to 40, below 30, none) or
/// by the size of MP1 (below 0.25, 0.25 to 0.5, 0.5 to 1, 1 m and more, none): good classes
/// first. Each satellite's name stands where its first track begins.
SkyPlot skyPlot(const QualityReport& report, SkyColour colour);

/// What the second chart shows.
enum class QualityChart : std::uint8_t { MultipathElevation = 0, Ionosphere = 1 };
inline constexpr std::array<std::string_view, 2> kQualityChartItems = {"MP against elevation",
                                                                       "Ionosphere against time"};

/// The second chart: MP1 and MP2 residuals against elevation (X degrees, Y metres), or the
/// levelled L1 ionospheric delay of each system against time (X date-times, days since
/// 1899-12-30; Y metres).
struct QualityChartSeries {
    std::string title;
    std::string xTitle, yTitle;
    bool dateTime = false;
    std::vector<PointSeries> series;
};
QualityChartSeries qualityChart(const QualityReport& report, QualityChart chart);

/// The date-time (days since 1899-12-30) of a GPS time.
double dateTimeOfGps(double gpsSeconds) noexcept;

} // namespace views
