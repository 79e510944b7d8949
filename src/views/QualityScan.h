#pragma once

#include "nav/BroadcastOrbits.h"
#include "views/ArcTracker.h"
#include "views/MeasurementsView.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scan {
class TScanDriver;
}

namespace views {

/// The choices of a quality computation.
struct QualitySettings {
    double maskDeg = 10;        // elevation mask
    int gapIntervals = 10;      // a gap longer than this many intervals starts a new arc
    double ionoRateCmMin = 400; // ionospheric rate threshold, as is common for 30 s data
    double mpJumpM = 5;         // multipath jump threshold
    int mpWindow = 0;           // epochs of the moving average taken off MP; 0: the arc mean
};

/// What a quality computation reads: the record files the scan left and a few header facts.
struct QualitySources {
    std::filesystem::path rinexEpochs, obsRecs;
    nav::BroadcastOrbits::Files ephemerides;
    std::int32_t writtenEpochs = 0;
    ObsTypeLayout layout;
    double approxX = 0, approxY = 0, approxZ = 0; // APPROX POSITION XYZ, m
    double intervalS = 0;                         // nominal interval, 0 when unknown
    int leapSeconds = 0;                          // GPS - UTC a header gave; 0: from the date
    bool utcEpochs = false; // the epochs are in GLONASS time (UTC), not GPS time
};

/// The sources after a scan of the driver.
QualitySources qualitySources(const scan::TScanDriver& driver);

/// Figures of one satellite, of one system, or of the whole file.
struct QualityFigures {
    std::string name; // "G01", "S36"; a system: "G", "R", "S", "E"; the file: "all"
    char system = 'G';
    std::int32_t prn = 0;                              // 0 for a system or the file
    std::int64_t epochs = 0;                           // epochs with an observation
    std::int64_t arcs = 0;                             // arcs of L1 phase tracking
    std::array<std::int64_t, kArcBreakCount> breaks{}; // by ArcBreak
    double mp1SumSq = 0, mp2SumSq = 0;                 // m2, of the residuals
    std::int64_t mp1Count = 0, mp2Count = 0;           // residuals
    std::int64_t mp1Dof = 0, mp2Dof = 0;               // residuals less one per arc mean
    double ionoRateSumSq = 0;                          // (m/min)2
    std::int64_t ionoRateCount = 0;
    double ionoSum = 0; // m, of the levelled L1 delays
    std::int64_t ionoCount = 0;
    bool orbit = false;            // an ephemeris record gave this satellite a position
    std::int64_t expected = 0;     // epochs of the file's time grid above the mask
    std::int64_t observed = 0;     // epochs with observations above the mask
    std::int64_t below = 0;        // epochs with observations below the mask
    std::int64_t withoutOrbit = 0; // epochs with observations but no position

    std::int64_t slips() const noexcept;
    std::optional<double> mp1Rms() const noexcept;      // m
    std::optional<double> mp2Rms() const noexcept;      // m
    std::optional<double> ionoRateRms() const noexcept; // cm/min
    std::optional<double> ionoMean() const noexcept;    // m
    std::optional<double> obsPerSlip() const noexcept;  // epochs per slip; none without slips
    void add(const QualityFigures& other) noexcept;
};

/// One thinned point of a satellite's track for the sky plot and the multipath chart.
struct TrackPoint {
    double t = 0;           // GPS seconds
    float azimuth = 0;      // degrees
    float elevation = 0;    // degrees
    float snr = -1;         // dB-Hz; -1 when there is none
    float mp1 = 0, mp2 = 0; // residuals, m
    bool hasMp1 = false, hasMp2 = false;
    float iono = 0; // levelled L1 delay, m
    bool hasIono = false;
};
struct SatTrack {
    std::string name;
    std::vector<TrackPoint> points;
};

struct QualityReport {
    QualitySettings settings;
    double intervalS = 0;
    int leapSeconds = 0;
    bool station = false; // the header gave a usable position
    bool orbits = false;  // ephemeris records were read
    std::int32_t epochsRead = 0;
    std::vector<QualityFigures> satellites; // G, R, S, E, by number
    std::vector<QualityFigures> systems;    // the systems observed, same order
    QualityFigures file;
    std::vector<SatTrack> tracks;      // with keepTracks, in satellite order
    std::vector<std::string> messages; // record files that could not be read whole
};

/// Callbacks and limits of one computation.
struct QualityOptions {
    /// One call per observed satellite and epoch with a position: GPS time, "G01", degrees.
    std::function<void(double t, std::string_view sat, double azimuth, double elevation)> onSky;
    /// One call per arc start: 1-based epoch record number, GPS time, "G01", the cause.
    std::function<void(std::int32_t epoch, double t, std::string_view sat, ArcBreak cause)> onBreak;
    /// Keep thinned tracks (one point per 30 s at most) for the view.
    bool keepTracks = false;
    /// Look at one satellite only (code letter and number), without geometry.
    std::optional<nav::OrbitSat> only;
    GaugeProgress progress;
};

/// Reads RinexEpochs.dat and ObsRecs.dat once, with the ephemeris record files for the
/// geometry, and computes per satellite: elevation and azimuth at each epoch, the arcs and
/// slips by cause, MP1 and MP2 with the arc mean (or the moving average) removed, the
/// ionospheric delay and its rate, and the completeness above the mask against the epochs the
/// orbits expect on the file's time grid. The figures of the systems and the file are the sums
/// of their satellites'.
QualityReport computeQuality(const QualitySources& sources, const QualitySettings& settings,
                             const QualityOptions& options = {});

/// A GPS time as ISO 8601 with milliseconds: "2026-12-09T00:00:30.000".
std::string isoGpsTime(double gpsSeconds);
/// "G01", "R05", "S36": the system letter and the number in two digits at least.
std::string satelliteName(char system, std::int32_t prn);

/// The carrier pair of a satellite: GPS L1/L2, GLONASS G1/G2 of its channel, Galileo E1/E5a,
/// SBAS L1/L5; f2 = 0 for a GLONASS slot whose channel is not known.
BandPair bandPairOf(char system, std::optional<int> glonassChannel) noexcept;

} // namespace views
