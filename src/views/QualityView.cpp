#include "views/QualityView.h"

#include "text/FieldText.h"
#include "text/GPSTime.h"

#include <cmath>
#include <cstdio>
#include <optional>

namespace views {

namespace {

constexpr double kPi = 3.141592653589793;

std::string real(const std::optional<double>& v, int decimals, std::string_view decSep) {
    if (!v)
        return "-";
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, *v);
    std::string s = text;
    text::DotToDecSep(s, decSep);
    return s;
}

std::array<std::string, 13> rowOf(const QualityFigures& f, std::string_view decSep) {
    const auto count = [&](ArcBreak b) {
        return std::to_string(f.breaks[static_cast<std::size_t>(b)]);
    };
    const std::optional<double> complete =
        f.expected > 0 ? std::optional<double>(100.0 * static_cast<double>(f.observed) /
                                               static_cast<double>(f.expected))
                       : std::nullopt;
    return {f.name,
            std::to_string(f.epochs),
            std::to_string(f.arcs),
            real(f.mp1Rms(), 3, decSep),
            real(f.mp2Rms(), 3, decSep),
            count(ArcBreak::Lli),
            count(ArcBreak::Iono),
            count(ArcBreak::Multipath),
            real(f.obsPerSlip(), 1, decSep),
            f.orbit ? std::to_string(f.expected) : "-",
            f.orbit ? std::to_string(f.observed) : "-",
            real(complete, 1, decSep),
            f.orbit ? std::to_string(f.below) : "-"};
}

nav::Ecef polar(double azimuthDeg, double elevationDeg) {
    const double r = 90.0 - elevationDeg;
    const double a = azimuthDeg * kPi / 180.0;
    return {r * std::sin(a), r * std::cos(a), 0};
}

} // namespace

std::vector<std::array<std::string, 13>> qualityRows(const QualityReport& report,
                                                     std::string_view decSep) {
    std::vector<std::array<std::string, 13>> rows;
    for (const QualityFigures& f : report.satellites)
        rows.push_back(rowOf(f, decSep));
    for (const QualityFigures& f : report.systems)
        rows.push_back(rowOf(f, decSep));
    if (!report.satellites.empty())
        rows.push_back(rowOf(report.file, decSep));
    return rows;
}

std::string qualitySummaryLine(const QualityReport& report, std::string_view decSep) {
    const QualitySettings& s = report.settings;
    std::string line = "Mask " + real(s.maskDeg, 1, decSep) + " deg, new arc after " +
                       std::to_string(s.gapIntervals) + " intervals of " +
                       real(report.intervalS, 3, decSep) + " s, slips: iono " +
                       real(s.ionoRateCmMin, 0, decSep) + " cm/min, MP " +
                       real(s.mpJumpM, 1, decSep) + " m; MP less ";
    line += s.mpWindow > 0 ? "a " + std::to_string(s.mpWindow) + "-epoch moving average"
                           : std::string("the arc mean");
    if (!report.station)
        line += ". No usable APPROX POSITION XYZ: no elevations, no completeness.";
    else if (!report.orbits)
        line += ". No ephemeris records: no elevations, no completeness.";
    for (const std::string& m : report.messages)
        line += " " + m;
    return line;
}

SkyPlot skyPlot(const QualityReport& report, SkyColour colour) {
    SkyPlot plot;
    const bool bySnr = colour == SkyColour::Snr;
    // From good to poor, so that the poor points are drawn last, over the others.
    const std::array<const char*, 5> titles =
        bySnr ? std::array<const char*, 5>{">= 45 dB-Hz", "40-45 dB-Hz", "30-40 dB-Hz",
                                           "< 30 dB-Hz", "no SNR"}
              : std::array<const char*, 5>{"|MP1| < 0.25 m", "0.25-0.5 m", "0.5-1 m", ">= 1 m",
                                           "no MP1"};
    plot.classes.resize(titles.size());
    for (std::size_t i = 0; i < titles.size(); ++i)
        plot.classes[i].title = titles[i];
    for (const SatTrack& track : report.tracks) {
        const TrackPoint* first = nullptr;
        for (const TrackPoint& p : track.points) {
            if (p.elevation < 0)
                continue;
            std::size_t k = 4;
            if (bySnr && p.snr >= 0)
                k = p.snr >= 45 ? 0 : p.snr >= 40 ? 1 : p.snr >= 30 ? 2 : 3;
            if (!bySnr && p.hasMp1) {
                const float m = std::fabs(p.mp1);
                k = m < 0.25f ? 0 : m < 0.5f ? 1 : m < 1.0f ? 2 : 3;
            }
            const nav::Ecef xy = polar(p.azimuth, p.elevation);
            plot.classes[k].add(xy.x, xy.y);
            if (first == nullptr)
                first = &p;
        }
        if (first != nullptr) {
            // The name where the track begins: around the horizon the names stand apart.
            const nav::Ecef xy = polar(first->azimuth, first->elevation);
            PointSeries label;
            label.title = track.name;
            label.add(xy.x, xy.y);
            plot.labels.push_back(label);
        }
    }
    // Circles at 0, 30 and 60 degrees, one point a degree, and the two axes.
    for (double el : {0.0, 30.0, 60.0})
        for (int az = 0; az < 360; ++az) {
            const nav::Ecef xy = polar(az, el);
            plot.grid.add(xy.x, xy.y);
        }
    for (int r = -90; r <= 90; r += 3) {
        plot.grid.add(r, 0);
        plot.grid.add(0, r);
    }
    const std::array<std::pair<const char*, nav::Ecef>, 4> compass = {
        {{"N", {0, 97, 0}}, {"E", {97, 0, 0}}, {"S", {0, -97, 0}}, {"W", {-97, 0, 0}}}};
    for (const auto& [name, at] : compass) {
        PointSeries label;
        label.title = name;
        label.add(at.x, at.y);
        plot.labels.push_back(label);
    }
    return plot;
}

double dateTimeOfGps(double gpsSeconds) noexcept {
    static const double origin = text::EncodeDate(1980, 1, 6);
    return origin + gpsSeconds / 86400.0;
}

QualityChartSeries qualityChart(const QualityReport& report, QualityChart chart) {
    QualityChartSeries c;
    switch (chart) {
    case QualityChart::MultipathElevation: {
        c.title = "Multipath against elevation";
        c.xTitle = "Elevation [deg]";
        c.yTitle = "MP [m]";
        c.series.resize(2);
        c.series[0].title = "MP1";
        c.series[1].title = "MP2";
        for (const SatTrack& t : report.tracks)
            for (const TrackPoint& p : t.points) {
                if (p.hasMp1)
                    c.series[0].add(p.elevation, p.mp1);
                if (p.hasMp2)
                    c.series[1].add(p.elevation, p.mp2);
            }
        break;
    }
    case QualityChart::Ionosphere: {
        c.title = "Ionospheric delay on L1 (levelled to the codes)";
        c.xTitle = "GPS time";
        c.yTitle = "Delay [m]";
        c.dateTime = true;
        // One series per system, in report order.
        for (const SatTrack& t : report.tracks) {
            const std::string system(1, t.name.empty() ? 'G' : t.name[0]);
            if (c.series.empty() || c.series.back().title != system) {
                PointSeries s;
                s.title = system;
                c.series.push_back(s);
            }
            for (const TrackPoint& p : t.points)
                if (p.hasIono)
                    c.series.back().add(dateTimeOfGps(p.t), p.iono);
        }
        break;
    }
    }
    return c;
}

} // namespace views
