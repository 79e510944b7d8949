#include "views/QualityScan.h"

#include "header/SatSystems.h"
#include "obs/ObsRecords.h"
#include "scan/ScanDriver.h"
#include "text/RecordBytes.h"
#include "text/RecordFile.h"
#include "views/SkyGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>

namespace views {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr std::size_t kSatCountAt = 44;
constexpr std::size_t kFirstEntryAt = 60;
constexpr std::size_t kEntrySize = 8;
constexpr std::size_t kOccupationAt = 560;
constexpr double kTrackStep = 30.0;              // s between kept track points
constexpr double kGridNodeStep = 300.0;          // s between orbit nodes of the expected count
constexpr std::int64_t kMaxGridEpochs = 1000000; // the expected count looks at no more
constexpr std::int32_t kMaxPrn = 99;             // two digits in a satellite list

constexpr std::size_t typeCode(std::string_view name) noexcept {
    for (std::size_t i = 0; i < header::kObsTypeNames.size(); ++i)
        if (header::kObsTypeNames[i] == name)
            return i;
    return header::kObsTypeNames.size();
}
constexpr std::size_t kC1 = typeCode("C1"), kC2 = typeCode("C2"), kC5 = typeCode("C5");
constexpr std::size_t kP1 = typeCode("P1"), kP2 = typeCode("P2");
constexpr std::size_t kL1 = typeCode("L1"), kL2 = typeCode("L2"), kL5 = typeCode("L5");
constexpr std::size_t kS1 = typeCode("S1");

// The position of each system in reports, that of the table of systems: G, R, S, E; a blank
// letter is GPS, any other letter -1.
int systemIndex(char letter) noexcept {
    const std::optional<header::SatSystem> system = header::systemOfLetter(letter);
    return system ? static_cast<int>(*system) : -1;
}
constexpr std::array<char, header::kSatSystemCount> kSystemLetters = [] {
    std::array<char, header::kSatSystemCount> letters{};
    for (std::size_t i = 0; i < letters.size(); ++i)
        letters[i] = header::kSatSystems[i].letter;
    return letters;
}();

// Which types one satellite's combinations read, as 1-based positions (0: not listed).
struct TypeUse {
    std::int32_t code1P = 0, code1C = 0, code2P = 0, code2C = 0, phase1 = 0, phase2 = 0;
    std::int32_t snr = 0;
};

TypeUse typeUseOf(int system, const ObsTypeLayout& layout) noexcept {
    const auto pos = [&](std::size_t code) {
        return code < layout.TypePosition.size() ? layout.TypePosition[code] : 0;
    };
    TypeUse u;
    u.code1P = pos(kP1);
    u.code1C = pos(kC1);
    u.phase1 = pos(kL1);
    u.snr = pos(kS1);
    if (system <= 1) { // GPS and GLONASS: the second band is band 2
        u.code2P = pos(kP2);
        u.code2C = pos(kC2);
        u.phase2 = pos(kL2);
    } else { // SBAS and Galileo: band 5
        u.code2C = pos(kC5);
        u.phase2 = pos(kL5);
    }
    return u;
}

class Cells {
public:
    explicit Cells(std::span<const std::byte> bytes) noexcept : m_bytes(bytes) {}
    // The value at 1-based position p when present (magnitude above 0.00001).
    std::optional<double> value(std::int32_t p) const noexcept {
        if (p < 1)
            return std::nullopt;
        const std::size_t at = static_cast<std::size_t>(p - 1) * obs::kObsRecSize;
        if (at + obs::kObsRecSize > m_bytes.size())
            return std::nullopt;
        const double v = text::decodeExt80ToDouble(m_bytes.subspan(at).first<10>());
        if (!(std::fabs(v) > 0.00001))
            return std::nullopt;
        return v;
    }
    std::uint8_t lli(std::int32_t p) const noexcept { return byteAt(p, 10); }
    std::uint8_t strength(std::int32_t p) const noexcept { return byteAt(p, 11); }
    // Any cell of the satellite holds a non-zero value.
    bool anyValue() const noexcept {
        for (std::size_t at = 0; at + obs::kObsRecSize <= m_bytes.size(); at += obs::kObsRecSize)
            for (std::size_t b = 0; b < 10; ++b)
                if (m_bytes[at + b] != std::byte{0} &&
                    !(b == 9 && m_bytes[at + b] == std::byte{0x80}))
                    return true;
        return false;
    }

private:
    std::uint8_t byteAt(std::int32_t p, std::size_t offset) const noexcept {
        if (p < 1)
            return 0;
        const std::size_t at = static_cast<std::size_t>(p - 1) * obs::kObsRecSize + offset;
        return at < m_bytes.size() ? static_cast<std::uint8_t>(m_bytes[at]) : 0;
    }
    std::span<const std::byte> m_bytes;
};

// Sums of one series over an arc, taken from its first value so that the large constants of
// the combinations (ambiguities) cost no precision.
struct ArcSums {
    double ref = 0, sum = 0, sumSq = 0;
    std::int64_t n = 0;

    void add(double v) noexcept {
        if (n == 0)
            ref = v;
        const double d = v - ref;
        sum += d;
        sumSq += d * d;
        ++n;
    }
    double mean() const noexcept { return ref + sum / static_cast<double>(n); }
    double total() const noexcept { return ref * static_cast<double>(n) + sum; }
    // The sum of squares about the mean.
    double scatter() const noexcept { return sumSq - sum * sum / static_cast<double>(n); }
};

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// A track point of the arc being built, with what its residuals need.
struct KeptPoint {
    std::size_t track = 0;           // index into the satellite's track
    double mp1 = kNone, mp2 = kNone; // the raw combinations, NaN when absent
    double ionoPhase = kNone;
    std::int64_t at1 = -1, at2 = -1; // positions in the arc's MP series (moving averages)
};

// The arc being built: sums for the figures, the kept track points, and the whole MP series
// only when a moving average is to be taken off.
struct Arc {
    ArcSums mp1, mp2, ionoPhase, codeLessPhase;
    std::vector<KeptPoint> kept;
    std::vector<double> series1, series2;

    void clear() { *this = Arc{}; }
};

struct SatWork {
    QualityFigures fig;
    ArcTracker arcs;
    TypeUse use;
    std::optional<std::size_t> sky; // SkyTracker handle
    Arc arc;
    SatTrack track;
    double lastKept = -std::numeric_limits<double>::infinity();

    SatWork(QualityFigures f, BandPair bands, ArcRules rules, TypeUse u)
        : fig(std::move(f)), arcs(bands, rules), use(u) {}
};

// Residuals of an MP series from a centred moving average of `window` values; calls put with
// each position and residual and returns the sum of squares.
template <typename Put> double movingResiduals(const std::vector<double>& v, int window, Put put) {
    const std::size_t n = v.size();
    std::vector<double> prefix(n + 1, 0.0);
    const double ref = n > 0 ? v[0] : 0;
    for (std::size_t i = 0; i < n; ++i)
        prefix[i + 1] = prefix[i] + (v[i] - ref);
    const auto half = static_cast<std::size_t>(window / 2);
    double sumSq = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t lo = i > half ? i - half : 0;
        const std::size_t hi = std::min(n, i + half + 1);
        const double mean = (prefix[hi] - prefix[lo]) / static_cast<double>(hi - lo);
        const double r = (v[i] - ref) - mean;
        sumSq += r * r;
        put(i, r);
    }
    return sumSq;
}

// One MP series of a closed arc into the figures and the kept points. One value alone says
// nothing about its scatter and is left out.
template <typename Field, typename At, typename Out>
void closeSeries(const ArcSums& sums, const std::vector<double>& series, int window,
                 std::vector<KeptPoint>& kept, std::vector<TrackPoint>& points, Field field, At at,
                 Out out, double& sumSq, std::int64_t& count, std::int64_t& dof) {
    if (sums.n < 2)
        return;
    count += sums.n;
    if (window <= 0) {
        sumSq += sums.scatter();
        dof += sums.n - 1;
        const double mean = sums.mean();
        for (const KeptPoint& k : kept)
            if (!std::isnan(k.*field))
                out(points[k.track], k.*field - mean);
        return;
    }
    dof += sums.n;
    std::vector<double> residual(series.size());
    sumSq += movingResiduals(series, window, [&](std::size_t i, double r) { residual[i] = r; });
    for (const KeptPoint& k : kept)
        if (k.*at >= 0)
            out(points[k.track], residual[static_cast<std::size_t>(k.*at)]);
}

void closeArc(SatWork& w, int window) {
    Arc& arc = w.arc;
    QualityFigures& f = w.fig;
    auto& points = w.track.points;
    closeSeries(
        arc.mp1, arc.series1, window, arc.kept, points, &KeptPoint::mp1, &KeptPoint::at1,
        [](TrackPoint& p, double r) {
            p.mp1 = static_cast<float>(r);
            p.hasMp1 = true;
        },
        f.mp1SumSq, f.mp1Count, f.mp1Dof);
    closeSeries(
        arc.mp2, arc.series2, window, arc.kept, points, &KeptPoint::mp2, &KeptPoint::at2,
        [](TrackPoint& p, double r) {
            p.mp2 = static_cast<float>(r);
            p.hasMp2 = true;
        },
        f.mp2SumSq, f.mp2Count, f.mp2Dof);
    // The phase delay levelled to the codes' mean over the arc.
    if (arc.codeLessPhase.n > 0 && arc.ionoPhase.n > 0) {
        const double offset = arc.codeLessPhase.mean();
        f.ionoSum += arc.ionoPhase.total() + offset * static_cast<double>(arc.ionoPhase.n);
        f.ionoCount += arc.ionoPhase.n;
        for (const KeptPoint& k : arc.kept) {
            if (std::isnan(k.ionoPhase))
                continue;
            points[k.track].iono = static_cast<float>(k.ionoPhase + offset);
            points[k.track].hasIono = true;
        }
    }
    arc.clear();
}

// One point of an arc: into the sums, and into the kept points when its track point was kept.
void addToArc(Arc& arc, const Combinations& v, std::int64_t trackPoint, int window) {
    std::int64_t at1 = -1, at2 = -1;
    if (v.mp1) {
        arc.mp1.add(*v.mp1);
        if (window > 0) {
            at1 = static_cast<std::int64_t>(arc.series1.size());
            arc.series1.push_back(*v.mp1);
        }
    }
    if (v.mp2) {
        arc.mp2.add(*v.mp2);
        if (window > 0) {
            at2 = static_cast<std::int64_t>(arc.series2.size());
            arc.series2.push_back(*v.mp2);
        }
    }
    if (v.ionoPhase) {
        arc.ionoPhase.add(*v.ionoPhase);
        if (v.ionoCode)
            arc.codeLessPhase.add(*v.ionoCode - *v.ionoPhase);
    }
    if (trackPoint >= 0)
        arc.kept.push_back({static_cast<std::size_t>(trackPoint), v.mp1.value_or(kNone),
                            v.mp2.value_or(kNone), v.ionoPhase.value_or(kNone), at1, at2});
}

// The smallest positive step between the first epochs: the interval when no header gave one.
double firstStep(const std::filesystem::path& rinexEpochs, std::int32_t epochs) {
    text::RecordFileReader reader;
    if (!reader.open(rinexEpochs, obs::kEpochRecSize))
        return 0;
    double best = 0, previous = 0;
    bool havePrevious = false;
    for (std::int32_t i = 0; i < std::min(epochs, 100); ++i) {
        const auto rec = reader.next();
        if (rec.empty())
            break;
        const std::optional<double> t = nav::GpsSecondsOf(text::RecordReader(rec).epochTime(0));
        if (!t)
            continue;
        const double tt = *t;
        if (havePrevious && tt > previous && (best == 0 || tt - previous < best))
            best = tt - previous;
        previous = tt;
        havePrevious = true;
    }
    return best;
}

} // namespace

std::int64_t QualityFigures::slips() const noexcept {
    return breaks[static_cast<std::size_t>(ArcBreak::Lli)] +
           breaks[static_cast<std::size_t>(ArcBreak::Iono)] +
           breaks[static_cast<std::size_t>(ArcBreak::Multipath)];
}

std::optional<double> QualityFigures::mp1Rms() const noexcept {
    if (mp1Dof <= 0)
        return std::nullopt;
    return std::sqrt(mp1SumSq / static_cast<double>(mp1Dof));
}

std::optional<double> QualityFigures::mp2Rms() const noexcept {
    if (mp2Dof <= 0)
        return std::nullopt;
    return std::sqrt(mp2SumSq / static_cast<double>(mp2Dof));
}

std::optional<double> QualityFigures::ionoRateRms() const noexcept {
    if (ionoRateCount <= 0)
        return std::nullopt;
    return 100.0 * std::sqrt(ionoRateSumSq / static_cast<double>(ionoRateCount));
}

std::optional<double> QualityFigures::ionoMean() const noexcept {
    if (ionoCount <= 0)
        return std::nullopt;
    return ionoSum / static_cast<double>(ionoCount);
}

std::optional<double> QualityFigures::obsPerSlip() const noexcept {
    const std::int64_t s = slips();
    if (s <= 0)
        return std::nullopt;
    return static_cast<double>(epochs) / static_cast<double>(s);
}

void QualityFigures::add(const QualityFigures& o) noexcept {
    epochs += o.epochs;
    arcs += o.arcs;
    for (std::size_t i = 0; i < breaks.size(); ++i)
        breaks[i] += o.breaks[i];
    mp1SumSq += o.mp1SumSq;
    mp2SumSq += o.mp2SumSq;
    mp1Count += o.mp1Count;
    mp2Count += o.mp2Count;
    mp1Dof += o.mp1Dof;
    mp2Dof += o.mp2Dof;
    ionoRateSumSq += o.ionoRateSumSq;
    ionoRateCount += o.ionoRateCount;
    ionoSum += o.ionoSum;
    ionoCount += o.ionoCount;
    orbit = orbit || o.orbit;
    expected += o.expected;
    observed += o.observed;
    below += o.below;
    withoutOrbit += o.withoutOrbit;
}

std::string satelliteName(char system, std::int32_t prn) {
    std::string s(1, system);
    if (prn >= 0 && prn < 10)
        s.push_back('0');
    s += std::to_string(prn);
    return s;
}

std::string isoGpsTime(double gpsSeconds) {
    const auto ms = static_cast<std::int64_t>(std::llround(gpsSeconds * 1000.0));
    std::int64_t days = ms / 86400000;
    std::int64_t rest = ms % 86400000;
    if (rest < 0) {
        rest += 86400000;
        --days;
    }
    // Civil date of a day count from 1980-01-06 (day 3658 after 1970-01-01).
    const std::int64_t z = days + 3657 + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    char text[128];
    std::snprintf(text, sizeof text, "%04lld-%02lld-%02lldT%02lld:%02lld:%02lld.%03lld",
                  static_cast<long long>(y), static_cast<long long>(m), static_cast<long long>(d),
                  static_cast<long long>(rest / 3600000), static_cast<long long>(rest / 60000 % 60),
                  static_cast<long long>(rest / 1000 % 60), static_cast<long long>(rest % 1000));
    return text;
}

BandPair bandPairOf(char system, std::optional<int> glonassChannel) noexcept {
    constexpr double kL1 = 1575.42e6, kL2 = 1227.60e6, kL5 = 1176.45e6;
    switch (systemIndex(system)) {
    case 0:
        return {kL1, kL2};
    case 1:
        if (!glonassChannel)
            return {0, 0};
        return {1602.0e6 + *glonassChannel * 0.5625e6, 1246.0e6 + *glonassChannel * 0.4375e6};
    case 2:
    case 3:
        return {kL1, kL5};
    default:
        return {0, 0};
    }
}

QualitySources qualitySources(const scan::TScanDriver& driver) {
    QualitySources s;
    const scan::RunState& run = driver.run();
    s.rinexEpochs = run.recordFileName(scan::TempFile::RinexEpochs);
    s.obsRecs = run.recordFileName(scan::TempFile::ObsRecs);
    // A system without records in the last scan has nothing to read.
    const auto ephem = [&](scan::TempFile f, scan::NavSystem system) -> std::filesystem::path {
        if (driver.EphemerisSatellites(system).empty())
            return {};
        return run.recordFileName(f);
    };
    s.ephemerides.gps = ephem(scan::TempFile::EphemGPSRecs, scan::NavSystem::GPS);
    s.ephemerides.glo = ephem(scan::TempFile::EphemGLORecs, scan::NavSystem::GLO);
    s.ephemerides.geo = ephem(scan::TempFile::EphemGEORecs, scan::NavSystem::GEO);
    s.ephemerides.gal = ephem(scan::TempFile::EphemGALRecs, scan::NavSystem::GAL);
    const header::THeaderData& h = driver.headerO;
    s.approxX = static_cast<double>(h.approxX);
    s.approxY = static_cast<double>(h.approxY);
    s.approxZ = static_cast<double>(h.approxZ);
    if (const obs::TObsFileO* o = driver.obsFile()) {
        s.writtenEpochs = o->writtenEpochs;
        s.layout = layoutOf(h, *o);
        s.intervalS = o->intervalMs / 1000.0;
    }
    // The observation header's leap seconds first, then the navigation headers'.
    for (std::int32_t leap :
         {h.leapSeconds, driver.headerGLO.leapSeconds, driver.headerGPS.leapSeconds,
          driver.headerGAL.leapSeconds, driver.headerGEO.leapSeconds})
        if (s.leapSeconds <= 0 && leap > 0 && leap < 100)
            s.leapSeconds = leap;
    // A GLONASS-only file counts its epochs in GLONASS time (UTC) unless it says otherwise.
    s.utcEpochs = h.timeSystem == "GLO" || (h.timeSystem.empty() && h.satelliteSystem == 1);
    return s;
}

QualityReport computeQuality(const QualitySources& src, const QualitySettings& settings,
                             const QualityOptions& options) {
    QualityReport report;
    report.settings = settings;
    report.leapSeconds = src.leapSeconds;
    report.file.name = "all";
    report.file.system = ' ';

    nav::BroadcastOrbits orbits;
    const bool geometry = !options.only.has_value();
    if (geometry) {
        for (const std::filesystem::path& p : orbits.load(src.ephemerides, src.leapSeconds))
            report.messages.push_back("Error Opening File " + p.filename().string() + " ! ");
    } else if (options.only->system == 'R') {
        nav::BroadcastOrbits::Files glo;
        glo.glo = src.ephemerides.glo; // the channel of the slot
        orbits.load(glo, src.leapSeconds);
    }
    report.orbits = orbits.recordCount() > 0 && geometry;
    const std::optional<StationFrame> station =
        geometry ? stationFrame(src.approxX, src.approxY, src.approxZ) : std::nullopt;
    report.station = station.has_value();
    SkyTracker sky(orbits);

    double interval = src.intervalS;
    const auto leapAt = [&](double t) {
        return src.leapSeconds > 0 ? src.leapSeconds : nav::LeapSecondsAt(t);
    };
    if (!(interval > 0) && src.writtenEpochs > 1)
        interval = firstStep(src.rinexEpochs, src.writtenEpochs);
    report.intervalS = interval;
    ArcRules rules;
    rules.gapSeconds =
        interval > 0 ? settings.gapIntervals * interval : std::numeric_limits<double>::infinity();
    rules.ionoRateMmin = settings.ionoRateCmMin / 100.0;
    rules.mpJumpM = settings.mpJumpM;
    const double sinMask = std::sin(settings.maskDeg * kPi / 180.0);

    const std::size_t types = static_cast<std::size_t>(std::max(0, src.layout.typeCount));
    const std::size_t blockSize = std::max<std::size_t>(types, 1) * obs::kObsRecSize;
    text::RecordFileReader epochs, cells;
    if (src.writtenEpochs <= 0)
        return report;
    if (!epochs.open(src.rinexEpochs, obs::kEpochRecSize) || !cells.open(src.obsRecs, blockSize)) {
        report.messages.emplace_back("Error Opening File RinexEpochs.dat ! ");
        return report;
    }

    std::vector<SatWork> work;
    std::array<int, 4 * (kMaxPrn + 1)> slot{};
    slot.fill(-1);
    std::array<TypeUse, 4> uses{};
    for (int s = 0; s < 4; ++s)
        uses[static_cast<std::size_t>(s)] = typeUseOf(s, src.layout);
    const auto workOf = [&](int sys, std::int32_t prn) -> SatWork& {
        int& k = slot[static_cast<std::size_t>(sys * (kMaxPrn + 1) + prn)];
        if (k < 0) {
            const char letter = kSystemLetters[static_cast<std::size_t>(sys)];
            QualityFigures f;
            f.name = satelliteName(letter, prn);
            f.system = letter;
            f.prn = prn;
            const std::optional<int> channel =
                letter == 'R' ? orbits.glonassChannel(prn) : std::nullopt;
            k = static_cast<int>(work.size());
            work.emplace_back(f, bandPairOf(letter, channel), rules,
                              uses[static_cast<std::size_t>(sys)]);
            work.back().track.name = f.name;
            if (station)
                work.back().sky = sky.track({letter, prn});
        }
        return work[static_cast<std::size_t>(k)];
    };

    std::uint64_t events = 0;
    std::array<std::byte, obs::kOccupationSize> lastOccupation{};
    double tFirst = 0, tLast = 0;
    bool anyTime = false;
    const std::uint64_t blocks = types == 0 ? 0 : cells.recordCount();
    std::uint64_t blocksRead = 0;

    for (std::int32_t i = 1; i <= src.writtenEpochs; ++i) {
        if (options.progress && i % 2000 == 0)
            options.progress(static_cast<int>(std::int64_t{i} * 100 / src.writtenEpochs));
        const auto record = epochs.next();
        if (record.empty()) {
            report.messages.emplace_back("Unexpected end of file");
            break;
        }
        const text::RecordReader rd(record);
        const std::int32_t sats = std::max(0, rd.i32(kSatCountAt));
        std::optional<double> time = nav::GpsSecondsOf(rd.epochTime(0));
        if (time && src.utcEpochs)
            *time += leapAt(*time);
        // A power failure (flag 1) or a new occupation ends every arc.
        const auto occupation = record.subspan(kOccupationAt, obs::kOccupationSize);
        if (i > 1 && (rd.i32(40) == 1 || std::memcmp(occupation.data(), lastOccupation.data(),
                                                     obs::kOccupationSize) != 0))
            ++events;
        std::memcpy(lastOccupation.data(), occupation.data(), obs::kOccupationSize);
        if (time) {
            if (!anyTime)
                tFirst = *time;
            tLast = *time;
            anyTime = true;
        }
        ++report.epochsRead;

        for (std::size_t k = 0; k < static_cast<std::size_t>(sats); ++k) {
            if (types > 0 && blocksRead >= blocks) {
                report.messages.emplace_back("Unexpected end of file SVs");
                i = src.writtenEpochs;
                break;
            }
            const std::span<const std::byte> block =
                types > 0 ? cells.next() : std::span<const std::byte>{};
            if (types > 0)
                ++blocksRead;
            if (!time || k >= obs::kEpochSatSlots)
                continue;
            const std::size_t at = kFirstEntryAt + k * kEntrySize;
            char letter = static_cast<char>(rd.u8(at + 1));
            if (letter >= 'a' && letter <= 'z')
                letter = static_cast<char>(letter - 'a' + 'A');
            const std::int32_t prn = rd.i32(at + 4);
            const int sys = systemIndex(letter);
            if (sys < 0 || prn < 1 || prn > kMaxPrn)
                continue;
            if (options.only &&
                (kSystemLetters[static_cast<std::size_t>(sys)] != options.only->system ||
                 prn != options.only->prn))
                continue;
            const Cells c(block);
            if (!c.anyValue())
                continue;
            SatWork& w = workOf(sys, prn);
            QualityFigures& f = w.fig;
            ++f.epochs;

            // Geometry: the mask test needs only the sine of the elevation; the angles are
            // worked out for the rows and points that show them.
            std::optional<nav::Ecef> pos;
            if (w.sky)
                pos = sky.position(*w.sky, *time);
            const bool keepPoint =
                options.keepTracks && pos && *time - w.lastKept >= kTrackStep - 1e-6;
            std::optional<LookAngles> look;
            if (pos) {
                f.orbit = true;
                if (atOrAboveMask(*station, *pos, sinMask))
                    ++f.observed;
                else
                    ++f.below;
                if (options.onSky || keepPoint)
                    look = lookAngles(*station, *pos);
                if (options.onSky)
                    options.onSky(*time, f.name, look->azimuth, look->elevation);
            } else {
                ++f.withoutOrbit;
            }

            // Arcs and combinations.
            const TypeUse& u = w.use;
            ArcInput in;
            in.t = *time;
            in.code1 = c.value(u.code1P);
            if (!in.code1)
                in.code1 = c.value(u.code1C);
            in.code2 = c.value(u.code2P);
            if (!in.code2)
                in.code2 = c.value(u.code2C);
            in.phase1 = c.value(u.phase1);
            in.phase2 = c.value(u.phase2);
            in.lossOfLock = ((c.lli(u.phase1) | c.lli(u.phase2)) & 1) != 0;
            in.events = events;
            const ArcPoint p = w.arcs.feed(in);
            if (p.isPoint && p.cause != ArcBreak::None) {
                closeArc(w, settings.mpWindow);
                ++f.arcs;
                ++f.breaks[static_cast<std::size_t>(p.cause)];
                if (options.onBreak)
                    options.onBreak(i, *time, f.name, p.cause);
            }
            if (p.ionoRate) {
                f.ionoRateSumSq += *p.ionoRate * *p.ionoRate;
                ++f.ionoRateCount;
            }

            // The thinned track point of this epoch.
            std::int64_t kept = -1;
            if (keepPoint) {
                TrackPoint tp;
                tp.t = *time;
                tp.azimuth = static_cast<float>(look->azimuth);
                tp.elevation = static_cast<float>(look->elevation);
                if (const std::optional<double> s = c.value(u.snr))
                    tp.snr = static_cast<float>(*s);
                else if (const std::uint8_t d = c.strength(u.phase1); d >= 1 && d <= 9)
                    tp.snr = static_cast<float>(6 * d + 3); // digit d: 6d to 6d + 5 dB-Hz
                kept = static_cast<std::int64_t>(w.track.points.size());
                w.track.points.push_back(tp);
                w.lastKept = *time;
            }
            if (p.isPoint)
                addToArc(w.arc, p.values, kept, settings.mpWindow);
        }
    }
    for (SatWork& w : work)
        closeArc(w, settings.mpWindow);
    if (report.leapSeconds <= 0 && anyTime)
        report.leapSeconds = nav::LeapSecondsAt(tFirst);

    // Completeness: the file's time grid against the orbits.
    if (geometry && station && anyTime && interval > 0) {
        const double span = tLast - tFirst;
        const auto gridEpochs = static_cast<std::int64_t>(std::floor(span / interval + 1e-6)) + 1;
        if (gridEpochs <= kMaxGridEpochs) {
            // Coarser nodes: a metre off the orbit moves no epoch across the mask.
            SkyTracker grid(orbits, kGridNodeStep);
            for (const nav::OrbitSat& s : orbits.satellites()) {
                const int sys = systemIndex(s.system);
                if (sys < 0 || s.prn < 1 || s.prn > kMaxPrn)
                    continue;
                const std::size_t handle = grid.track(s);
                std::int64_t expected = 0;
                for (std::int64_t g = 0; g < gridEpochs; ++g) {
                    const double t = tFirst + static_cast<double>(g) * interval;
                    if (const std::optional<nav::Ecef> pos = grid.position(handle, t))
                        if (atOrAboveMask(*station, *pos, sinMask))
                            ++expected;
                }
                if (expected == 0 &&
                    slot[static_cast<std::size_t>(sys * (kMaxPrn + 1) + s.prn)] < 0)
                    continue; // never above the mask and never observed
                SatWork& w = workOf(sys, s.prn);
                w.fig.expected = expected;
                w.fig.orbit = true;
            }
        }
    }

    // Satellites in report order, then the sums.
    std::vector<std::size_t> order(work.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const QualityFigures& x = work[a].fig;
        const QualityFigures& y = work[b].fig;
        if (x.system != y.system)
            return systemIndex(x.system) < systemIndex(y.system);
        return x.prn < y.prn;
    });
    for (std::size_t k : order) {
        SatWork& w = work[k];
        report.satellites.push_back(w.fig);
        if (report.systems.empty() || report.systems.back().system != w.fig.system) {
            QualityFigures sys;
            sys.name = std::string(1, w.fig.system);
            sys.system = w.fig.system;
            report.systems.push_back(sys);
        }
        report.systems.back().add(w.fig);
        report.file.add(w.fig);
        if (options.keepTracks)
            report.tracks.push_back(std::move(w.track));
    }
    return report;
}

} // namespace views
