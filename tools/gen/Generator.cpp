#include "tools/gen/Generator.h"

#include "tools/gen/Calendar.h"
#include "tools/gen/Compact.h"
#include "tools/gen/Format.h"
#include "tools/gen/Plan.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>

namespace gen {

namespace {

constexpr double kDeg = kPi / 180;
constexpr double kF1 = 1575.42e6;
constexpr std::size_t kTypes = header::kMaxTypes;

struct ObsEvent {
    double time = 0; // GPS seconds (with a fraction for external events)
    int flag = 0;
    std::vector<std::string> records; // whole header lines, line end included
};

struct Track {
    bool locked = false;
    double nextCheck = -1e300; // below the mask until this time
    double tau = 0.075;        // last signal travel time, s
    std::array<double, kBands> ambiguity = {};
};

// The antenna place and its history of occupations.
struct Site {
    Vec3 base; // first marker
    LocalFrame frame;
    double height0 = 1.5; // first antenna height
    double occupationAt = std::numeric_limits<double>::infinity();
    Vec3 occupationShift; // east, north, up of the new marker
    double occupationHeight = 0;
    double moveAt = std::numeric_limits<double>::infinity();
    double moveLength = 0;
    Vec3 moveVelocity; // east, north, up, m/s
    double moveHeight = 0;

    Vec3 enu(Vec3 v) const { return frame.east * v.x + frame.north * v.y + frame.up * v.z; }
    Vec3 position(double t) const {
        Vec3 local;
        double h = height0;
        if (t >= moveAt) {
            local = local + moveVelocity * (std::min(t, moveAt + moveLength) - moveAt);
            if (t >= moveAt + moveLength)
                h = moveHeight;
        }
        if (t >= occupationAt) {
            local = local + occupationShift;
            h = occupationHeight;
        }
        local.z += h;
        return base + enu(local);
    }
    Vec3 velocity(double t) const {
        if (t >= moveAt && t < moveAt + moveLength)
            return enu(moveVelocity);
        return {};
    }
};

std::string headerLine(std::string_view text, std::string_view label) {
    std::string s;
    appendText(s, text, 60);
    appendText(s, label, 20);
    s.push_back('\n');
    return s;
}

std::string antennaLine(double h) {
    std::string s;
    appendFixed(s, h, 14, 4);
    appendFixed(s, 0, 14, 4);
    appendFixed(s, 0, 14, 4);
    endHeaderLine(s, "ANTENNA: DELTA H/E/N");
    return s;
}

double ionosphereL1(double t, double lon, double elevation) {
    // Vertical delay on L1 (m) with a daytime bulge peaking at 14 h local time.
    const double local = std::fmod(t + lon / (2 * kPi) * 86400.0, 86400.0) / 3600.0;
    const double x = 2 * kPi * (local - 14.0) / 24.0;
    const double vertical = 1.8 + 5.2 * std::max(0.0, std::cos(x));
    const double k = 0.948 * std::cos(elevation);
    return vertical / std::sqrt(1 - k * k);
}

double troposphere(double elevation) {
    const double s = std::sin(elevation);
    return 2.4 / std::sqrt(s * s + 0.0025);
}

// Signal strength digit of a carrier-to-noise density (dB-Hz): 1 minimum, 9 maximum.
char strengthDigit(double snr) {
    const int d = std::clamp(static_cast<int>(snr / 6.0), 1, 9);
    return static_cast<char>('0' + d);
}

// The columns of the side file: geometry, the code multipath of each band, the multipath and
// noise of each value written (metres; phases without their ambiguity), the L1 ionospheric
// delay, and "lock" for the first epoch of a new lock or "slip" for a cycle slip put in.
constexpr std::string_view kTruthHeader =
    "time,sat,elevation_deg,azimuth_deg,event,mp1_m,mp2_m,mp5_m,"
    "C1_m,C2_m,C5_m,P1_m,P2_m,L1_m,L2_m,L5_m,iono_l1_m\n";

void appendTruthNumber(std::string& out, double v, int decimals) {
    char text[40];
    std::snprintf(text, sizeof text, ",%.*f", decimals, v);
    out.append(text);
}

template <typename RowT>
void appendTruth(std::string& out, std::int64_t t, const Satellite& s, const RowT& r) {
    const Civil c = civilTime(t);
    char head[64];
    std::snprintf(head, sizeof head, "%04d-%02d-%02dT%02d:%02d:%02d.000,%c%02d", c.year, c.month,
                  c.day, c.hour, c.minute, c.second, systemLetter(s.system), s.prn);
    out.append(head);
    appendTruthNumber(out, r.elevation, 6);
    appendTruthNumber(out, r.azimuth, 6);
    out.append(r.slip ? ",slip" : (r.newLock ? ",lock" : ","));
    for (double mp : r.mp)
        appendTruthNumber(out, mp, 4);
    // C1 C2 C5 P1 P2 L1 L2 L5: codes 0 to 7.
    for (std::size_t k = 0; k < 8; ++k) {
        if (r.present[k])
            appendTruthNumber(out, r.error[k], 4);
        else
            out.push_back(',');
    }
    appendTruthNumber(out, r.ionoL1, 4);
    out.push_back('\n');
}

class ObservationWriter {
public:
    ObservationWriter(Plan& plan, Random& noise, Random& faults)
        : m_plan(plan), m_o(plan.options), m_noise(noise), m_faults(faults),
          m_tracks(plan.sky.size()), m_counts(plan.sky.size()) {}

    bool run(const std::string& path, GenResult& result, std::string& error);

private:
    void planSite();
    void planEvents();
    void planFaults();
    void writeEvents(double upTo);
    void writeEvent(const ObsEvent& e);
    void writeEpoch(std::int64_t t, bool sixty, int faultKind);
    std::string header() const;

    Plan& m_plan;
    const GenOptions& m_o;
    Random& m_noise;
    Random& m_faults;
    Site m_site;
    std::vector<Track> m_tracks;
    std::vector<std::array<std::int64_t, kTypes>> m_counts; // by sky index and type code
    std::vector<ObsEvent> m_events;
    std::size_t m_nextEvent = 0;
    std::vector<std::pair<std::int64_t, int>> m_faultSlots; // epoch slot, bad kind
    FileSink m_sink;
    FileSink m_truth; // the side file, open when asked for
    bool m_truthOn = false;
    double m_clockBias = 0, m_clockDrift = 0;
    std::int64_t m_first = -1, m_last = -1;
    std::int64_t m_epochs = 0;
    bool m_resetAll = false;
};

void ObservationWriter::planSite() {
    m_site.base = m_plan.station.marker;
    m_site.frame = m_plan.station.frame;
    m_site.height0 = m_plan.station.antennaHeight;
    if (m_o.moving.at >= 0) {
        m_site.moveAt = static_cast<double>(m_plan.start + m_o.moving.at);
        m_site.moveLength = static_cast<double>(m_o.moving.length);
        m_site.moveVelocity = {0.6, 0.25, 0.0};
        m_site.moveHeight = 1.2;
    }
    if (m_o.occupation.at >= 0) {
        m_site.occupationAt = static_cast<double>(m_plan.start + m_o.occupation.at);
        m_site.occupationShift = {3.25, 12.5, -0.4};
        m_site.occupationHeight = 0.8765;
    }
}

void ObservationWriter::planEvents() {
    struct Occupation {
        double time;
        double height;
        const char* why;
    };
    std::vector<Occupation> occupations;
    if (m_site.moveAt < std::numeric_limits<double>::infinity()) {
        m_events.push_back({m_site.moveAt, 2, {headerLine("ANTENNA STARTS MOVING", "COMMENT")}});
        occupations.push_back(
            {m_site.moveAt + m_site.moveLength, m_site.moveHeight, "END OF KINEMATIC DATA"});
    }
    if (m_site.occupationAt < std::numeric_limits<double>::infinity())
        occupations.push_back(
            {m_site.occupationAt, m_site.occupationHeight, "NEW SITE OCCUPATION"});
    std::sort(occupations.begin(), occupations.end(),
              [](const Occupation& a, const Occupation& b) { return a.time < b.time; });
    // Each new occupation names its marker with the next letter: QUIL B, QUIL C.
    char letter = 'B';
    for (const Occupation& occ : occupations) {
        std::vector<std::string> r;
        r.push_back(headerLine(std::string("QUIL ") + letter, "MARKER NAME"));
        r.push_back(headerLine(std::string("10901M00") + static_cast<char>('1' + (letter - 'A')),
                               "MARKER NUMBER"));
        r.push_back(antennaLine(occ.height));
        r.push_back(headerLine(occ.why, "COMMENT"));
        m_events.push_back({occ.time, 3, r});
        ++letter;
    }
    for (int k = 0; k < m_o.externalEvents; ++k) {
        // Spread over the data, away from the gap, at a time between two epochs.
        const double span = static_cast<double>(m_plan.end - m_plan.start);
        double t = 0;
        for (int tries = 0; tries < 20; ++tries) {
            t = static_cast<double>(m_plan.start) +
                span * (k + m_faults.uniform(0.2, 0.8)) / m_o.externalEvents;
            const double g0 = static_cast<double>(m_plan.start + m_o.gap.at);
            if (m_o.gap.at < 0 || t < g0 || t >= g0 + static_cast<double>(m_o.gap.length))
                break;
        }
        t = std::floor(t) + std::round(m_faults.uniform(0.001, 0.999) * 1e7) / 1e7;
        m_events.push_back({t, 5, {}});
    }
    std::stable_sort(m_events.begin(), m_events.end(),
                     [](const ObsEvent& a, const ObsEvent& b) { return a.time < b.time; });
}

void ObservationWriter::planFaults() {
    const std::int64_t slots = (m_plan.end - m_plan.start) / m_o.interval;
    for (int kind = 0; kind < kBadKinds; ++kind) {
        const auto k = static_cast<BadKind>(kind);
        if (k == BadKind::Nav || k == BadKind::Meteo)
            continue;
        for (int n = 0; n < m_o.bad[static_cast<std::size_t>(kind)]; ++n)
            m_faultSlots.emplace_back(m_faults.integer(1, std::max<std::int64_t>(1, slots - 2)),
                                      kind);
    }
    std::sort(m_faultSlots.begin(), m_faultSlots.end());
}

void ObservationWriter::writeEvent(const ObsEvent& e) {
    std::string& out = m_sink.buf;
    if (e.flag == 2 || e.flag == 3 || e.flag == 5) {
        const double whole = std::floor(e.time);
        appendObsTime(out, static_cast<std::int64_t>(whole), e.time - whole, false);
    } else {
        out.append(26, ' ');
    }
    out.append("  ");
    appendInt(out, e.flag, 1);
    appendInt(out, static_cast<std::int64_t>(e.records.size()), 3);
    out.push_back('\n');
    for (const std::string& r : e.records)
        out.append(r);
    if (e.flag == 3)
        m_resetAll = true; // a new set-up: the receiver locks again
}

void ObservationWriter::writeEvents(double upTo) {
    while (m_nextEvent < m_events.size() && m_events[m_nextEvent].time <= upTo)
        writeEvent(m_events[m_nextEvent++]);
}

void ObservationWriter::writeEpoch(std::int64_t t, bool sixty, int faultKind) {
    const auto td = static_cast<double>(t);
    const double rxClock = m_clockBias + m_clockDrift * (td - static_cast<double>(m_plan.start));
    const double rxTime = td - rxClock;
    const Vec3 sta = m_site.position(rxTime);
    const Vec3 staVel = m_site.velocity(rxTime);
    const Vec3 up = m_site.frame.up;
    const double mask = m_o.mask * kDeg;

    struct Row {
        std::size_t sat;
        std::array<double, kTypes> value;
        std::array<bool, kTypes> present;
        std::array<char, kTypes> lli;
        std::array<char, kTypes> strength;
        // What went in, for the side file.
        double elevation = 0, azimuth = 0;  // degrees, geometric, from the marker at the epoch
        std::array<double, 3> mp{};         // code multipath of bands 1, 2, 5 (m)
        std::array<double, kTypes> error{}; // multipath and noise of each value (m)
        double ionoL1 = 0;                  // m
        bool newLock = false, slip = false;
    };
    thread_local std::vector<Row> rows;
    rows.clear();

    for (std::size_t i = 0; i < m_plan.sky.size(); ++i) {
        const Satellite& s = m_plan.sky[i];
        Track& tr = m_tracks[i];
        if (m_resetAll)
            tr.locked = false;
        if (td < tr.nextCheck)
            continue;
        const double tau0 = tr.tau;
        const SatState st = evaluate(s.orbit, rxTime - tau0);
        double tau = tau0;
        Vec3 d;
        double rho = 0;
        Vec3 satVel;
        for (int it = 0; it < 2; ++it) {
            const Vec3 p = st.pos - st.vel * (tau - tau0);
            const double th = kEarthRate * tau;
            const double c = std::cos(th), sn = std::sin(th);
            const Vec3 pr = {c * p.x + sn * p.y, -sn * p.x + c * p.y, p.z};
            satVel = {c * st.vel.x + sn * st.vel.y, -sn * st.vel.x + c * st.vel.y, st.vel.z};
            d = pr - sta;
            rho = norm(d);
            tau = rho / kLight;
        }
        tr.tau = tau;
        const Vec3 unit = d * (1 / rho);
        const double el = std::asin(dot(unit, up));
        if (el < mask) {
            tr.locked = false;
            // Satellites climb at most about a degree a minute.
            const double margin = (mask - el) / kDeg - 1.0;
            tr.nextCheck = margin > 0 ? td + margin * 60.0 : td;
            continue;
        }
        const double rangeRate = dot(unit, satVel - staVel);
        const double satClock = satelliteClock(s, rxTime - tau, st.eccentricAnomaly);
        const double common = rho + kLight * (rxClock - satClock) + troposphere(el);
        const double commonRate = rangeRate + kLight * (m_clockDrift - s.clockDrift);
        const double iono1 = ionosphereL1(td, m_plan.station.lon, el);
        const double lowness = std::exp(-(el / kDeg) / 12.0);

        // Occasional cycle slips, more often close to the horizon.
        const double slipRate = (1.0 + 20.0 * std::exp(-(el - mask) / kDeg / 3.0)) / 86400.0;
        bool slip = m_noise.uniform() < slipRate * m_o.interval;
        bool weakBand2 = el < mask + 5 * kDeg && m_noise.uniform() < 0.12;

        Row row{};
        row.sat = i;
        std::array<double, kBands> code{}, phase{}, doppler{}, snr{}, mpBand{}, phaseError{};
        for (std::size_t b = 0; b < kBands; ++b) {
            const double f = s.frequency[b];
            if (f <= 0)
                continue;
            const double lambda = kLight / f;
            const double iono = iono1 * (kF1 / f) * (kF1 / f);
            const double mp = 0.8 * lowness *
                              std::sin(td / (420.0 + 37.0 * static_cast<double>(s.prn)) +
                                       static_cast<double>(b) * 1.7 + static_cast<double>(i));
            if (!tr.locked)
                tr.ambiguity[b] = std::round(2 * iono / lambda) +
                                  static_cast<double>(m_noise.integer(-4000, 4000));
            else if (slip)
                tr.ambiguity[b] += static_cast<double>(m_noise.integer(1, 40) *
                                                       (m_noise.uniform() < 0.5 ? -1 : 1));
            code[b] = common + iono + mp;
            const double phaseNoise = 0.002 * m_noise.normal();
            phase[b] = (common - iono + 0.01 * mp) / lambda + tr.ambiguity[b] + phaseNoise;
            mpBand[b] = mp;
            phaseError[b] = 0.01 * mp + phaseNoise * lambda;
            doppler[b] = -commonRate / lambda + 0.03 * m_noise.normal();
            const double base = b == 0 ? 28.0 : (b == 1 ? 21.0 : 31.0);
            const double sinEl = std::sin(el);
            snr[b] =
                std::round((base + 24.0 * std::pow(sinEl, 0.7) + 0.7 * m_noise.normal()) * 4.0) /
                4.0;
        }
        if (!tr.locked)
            slip = false;
        row.newLock = !tr.locked;
        row.slip = slip;
        tr.locked = true;
        const double sigmaCode = 0.3 * (1 + 3 * lowness);
        for (int code0 : m_o.types) {
            const auto k = static_cast<std::size_t>(code0);
            if (!s.hasType[k])
                continue;
            const auto b = static_cast<std::size_t>(typeBand(code0));
            if (b == 1 && weakBand2)
                continue;
            const char kind = typeKind(code0);
            row.present[k] = true;
            row.lli[k] = ' ';
            row.strength[k] = ' ';
            switch (kind) {
            case 'C':
            case 'P': {
                const double noise = (kind == 'C' ? 1.0 : 0.6) * sigmaCode * m_noise.normal();
                row.value[k] = code[b] + noise;
                row.error[k] = mpBand[b] + noise;
                row.strength[k] = strengthDigit(snr[b]);
                break;
            }
            case 'L':
                row.value[k] = phase[b];
                row.error[k] = phaseError[b];
                row.lli[k] = slip ? '1' : ' ';
                row.strength[k] = strengthDigit(snr[b]);
                break;
            case 'D':
                row.value[k] = doppler[b];
                break;
            default:
                row.value[k] = snr[b];
                break;
            }
        }
        if (m_truthOn) {
            // The straight line from the marker at the epoch, as a user computes it from the
            // broadcast orbit and APPROX POSITION XYZ: no light time, no antenna height.
            const Vec3 dir = evaluate(s.orbit, td).pos - m_plan.station.marker;
            const LocalFrame& f = m_plan.station.frame;
            const double e = dot(dir, f.east), nn = dot(dir, f.north), u = dot(dir, f.up);
            row.elevation = std::atan2(u, std::hypot(e, nn)) / kDeg;
            double az = std::atan2(e, nn) / kDeg;
            row.azimuth = az < 0 ? az + 360 : az;
            // The side file keeps the multipath of bands 1, 2 and 5.
            std::copy_n(mpBand.begin(), row.mp.size(), row.mp.begin());
            row.ionoL1 = iono1;
        }
        rows.push_back(row);
        const int lb = m_plan.longBin(td);
        const int sb = m_plan.shortBin(s.system, td);
        if (lb >= 0 && lb < m_plan.longBins())
            m_plan.seenLong[i][static_cast<std::size_t>(lb)] = 1;
        if (sb >= 0 && sb < m_plan.shortBins())
            m_plan.seenShort[i][static_cast<std::size_t>(sb)] = 1;
    }
    m_resetAll = false;
    if (rows.empty())
        return; // a receiver writes no epoch without satellites

    std::string& out = m_sink.buf;
    const auto kindIs = [&](BadKind k) { return faultKind == static_cast<int>(k); };
    if (kindIs(BadKind::Label))
        out.append(headerLine("10901M001", "MARKER NUMBER"));

    // Epoch line and continuation lines: 12 satellites per line.
    const std::size_t n = rows.size();
    appendObsTime(out, t, 0.0, sixty);
    out.append("  0");
    appendInt(out, static_cast<std::int64_t>(n), 3);
    bool prnSpoilt = false;
    for (std::size_t j = 0; j < n; ++j) {
        if (j > 0 && j % 12 == 0) {
            if (j == 12)
                appendFixed(out, rxClock, 12, 9); // columns 69-80 of the first line
            out.push_back('\n');
            out.append(32, ' ');
        }
        const Satellite& s = m_plan.sky[rows[j].sat];
        out.push_back(systemLetter(s.system));
        int prn = s.prn;
        if (kindIs(BadKind::Prn) && !prnSpoilt) {
            // The first number after the system's range (G33, R25, S59, E37).
            prn =
                header::kSatSystems[static_cast<std::size_t>(systemIndex(s.system))].lastNumber + 1;
            prnSpoilt = true;
        }
        appendInt(out, prn, 2);
    }
    if (n <= 12) {
        out.append(36 - 3 * n, ' ');
        appendFixed(out, rxClock, 12, 9);
    }
    endLine(out);

    // Observation lines: five values per line, F14.3 with the LLI and strength digits.
    const std::size_t nt = m_o.types.size();
    bool faultDone = false;
    for (std::size_t j = 0; j < n; ++j) {
        const Row& r = rows[j];
        for (std::size_t first = 0; first < nt; first += 5) {
            std::array<char, 96> line{};
            const std::size_t count = std::min<std::size_t>(5, nt - first);
            std::size_t len = 16 * count;
            for (std::size_t f = 0; f < count; ++f) {
                const auto k = static_cast<std::size_t>(m_o.types[first + f]);
                char* p = line.data() + 16 * f;
                if (!r.present[k]) {
                    std::fill(p, p + 16, ' ');
                    continue;
                }
                putF143(p, r.value[k]);
                p[14] = r.lli[k];
                p[15] = r.strength[k];
                ++m_counts[r.sat][k];
            }
            if (!faultDone && faultKind >= 0 && first == 0) {
                faultDone = true;
                if (kindIs(BadKind::Long)) {
                    std::fill(line.data() + len, line.data() + 80, ' ');
                    const char tail[] = "  99";
                    std::copy(tail, tail + 4, line.data() + 80);
                    len = 84;
                } else if (kindIs(BadKind::Value) || kindIs(BadKind::Lli)) {
                    // The second present value of the line (the first one keeps the line
                    // recognisable as an observation line), else the first.
                    std::size_t pick = count;
                    int seen = 0;
                    for (std::size_t f = 0; f < count; ++f) {
                        const auto k = static_cast<std::size_t>(m_o.types[first + f]);
                        if (r.present[k] && ++seen <= 2)
                            pick = f;
                    }
                    if (pick < count) {
                        char* p = line.data() + 16 * pick;
                        const auto k = static_cast<std::size_t>(m_o.types[first + pick]);
                        if (kindIs(BadKind::Value)) {
                            std::string v;
                            appendFixed(v, r.value[k], 14, 4);
                            std::copy(v.begin(), v.end(), p);
                        } else {
                            p[14] = '8';
                        }
                    }
                }
            }
            while (len > 0 && line[len - 1] == ' ')
                --len;
            out.append(line.data(), len);
            out.push_back('\n');
        }
    }
    if (m_truthOn)
        for (const Row& r : rows)
            appendTruth(m_truth.buf, t, m_plan.sky[r.sat], r);
    if (m_first < 0)
        m_first = t;
    m_last = t;
    ++m_epochs;
}

std::string ObservationWriter::header() const {
    std::string h;
    const bool onlyGps = m_o.systems == std::array<bool, 4>{true, false, false, false};
    const bool onlyGlo = m_o.systems == std::array<bool, 4>{false, true, false, false};
    const bool onlyGal = m_o.systems == std::array<bool, 4>{false, false, false, true};
    h.append("     2.11           OBSERVATION DATA    ");
    appendText(h,
               onlyGps   ? "G (GPS)"
               : onlyGlo ? "R (GLONASS)"
               : onlyGal ? "E (GALILEO)"
                         : "M (MIXED)",
               20);
    endHeaderLine(h, "RINEX VERSION / TYPE");
    appendProgramLine(h, m_plan);
    h.append("SYNTHETIC DATA OF A VIRTUAL STATION, SEED " + std::to_string(m_o.seed));
    endHeaderLine(h, "COMMENT");
    h.append("QUIL");
    endHeaderLine(h, "MARKER NAME");
    h.append("10901M001");
    endHeaderLine(h, "MARKER NUMBER");
    appendText(h, "QUILLON", 20);
    h.append("VIRTUAL STATION");
    endHeaderLine(h, "OBSERVER / AGENCY");
    appendText(h, "QG-0001", 20);
    appendText(h, "QUILLON SIM RX", 20);
    h.append("1.0");
    endHeaderLine(h, "REC # / TYPE / VERS");
    appendText(h, "QA-0001", 20);
    h.append("QUILLON CHOKE NONE");
    endHeaderLine(h, "ANT # / TYPE");
    const Vec3& m = m_plan.station.marker;
    appendFixed(h, m.x, 14, 4);
    appendFixed(h, m.y, 14, 4);
    appendFixed(h, m.z, 14, 4);
    endHeaderLine(h, "APPROX POSITION XYZ");
    h.append(antennaLine(m_plan.station.antennaHeight));
    h.append("     1     1");
    endHeaderLine(h, "WAVELENGTH FACT L1/2");
    for (std::size_t first = 0; first < m_o.types.size(); first += 9) {
        if (first == 0)
            appendInt(h, static_cast<std::int64_t>(m_o.types.size()), 6);
        else
            h.append(6, ' ');
        for (std::size_t j = first; j < std::min(first + 9, m_o.types.size()); ++j) {
            h.append(4, ' ');
            h.append(header::kObsTypeNames[static_cast<std::size_t>(m_o.types[j])]);
        }
        endHeaderLine(h, "# / TYPES OF OBSERV");
    }
    appendFixed(h, m_o.interval, 10, 3);
    endHeaderLine(h, "INTERVAL");
    const auto timeLine = [&](std::int64_t t, std::string_view label) {
        const Civil c = civilTime(t);
        appendInt(h, c.year, 6);
        appendInt(h, c.month, 6);
        appendInt(h, c.day, 6);
        appendInt(h, c.hour, 6);
        appendInt(h, c.minute, 6);
        appendFixed(h, c.second, 13, 7);
        h.append("     GPS");
        endHeaderLine(h, label);
    };
    timeLine(m_first, "TIME OF FIRST OBS");
    timeLine(m_last, "TIME OF LAST OBS");
    h.append("     0");
    endHeaderLine(h, "RCV CLOCK OFFS APPL");
    appendInt(h, m_plan.leap, 6);
    endHeaderLine(h, "LEAP SECONDS");
    int seen = 0;
    for (const auto& c : m_counts)
        seen += std::any_of(c.begin(), c.end(), [](std::int64_t v) { return v > 0; }) ? 1 : 0;
    appendInt(h, seen, 6);
    endHeaderLine(h, "# OF SATELLITES");
    for (std::size_t i = 0; i < m_plan.sky.size(); ++i) {
        const auto& c = m_counts[i];
        if (std::none_of(c.begin(), c.end(), [](std::int64_t v) { return v > 0; }))
            continue;
        const Satellite& s = m_plan.sky[i];
        for (std::size_t first = 0; first < m_o.types.size(); first += 9) {
            if (first == 0) {
                h.append("   ");
                h.push_back(systemLetter(s.system));
                appendInt(h, s.prn, 2);
            } else {
                h.append(6, ' ');
            }
            // Types a satellite does not send count 0: a blank count would end the list.
            for (std::size_t j = first; j < std::min(first + 9, m_o.types.size()); ++j)
                appendInt(h, c[static_cast<std::size_t>(m_o.types[j])], 6);
            endHeaderLine(h, "PRN / # OF OBS");
        }
    }
    endHeaderLine(h, "END OF HEADER");
    return h;
}

bool ObservationWriter::run(const std::string& path, GenResult& result, std::string& error) {
    planSite();
    planEvents();
    planFaults();
    m_clockBias = m_noise.uniform(-2e-4, 2e-4);
    m_clockDrift = m_noise.uniform(-3e-9, 3e-9);
    const std::string part = path + ".part";
    if (!m_sink.open(part)) {
        error = "cannot write " + part;
        return false;
    }
    if (!m_o.truthFile.empty()) {
        if (!m_truth.open(m_o.truthFile)) {
            error = "cannot write " + m_o.truthFile;
            return false;
        }
        m_truth.buf.append(kTruthHeader);
        m_truthOn = true;
    }
    bool sixtyPending = m_o.sixtyAt >= 0;
    std::size_t nextFault = 0;
    bool inGap = false;
    for (std::int64_t slot = 0;; ++slot) {
        const std::int64_t t = m_plan.start + slot * m_o.interval;
        if (t >= m_plan.end)
            break;
        writeEvents(static_cast<double>(t));
        if (m_o.gap.at >= 0 && t >= m_plan.start + m_o.gap.at &&
            t < m_plan.start + m_o.gap.at + m_o.gap.length) {
            inGap = true;
            continue;
        }
        if (inGap) {
            m_resetAll = true; // the receiver lost every satellite during the gap
            inGap = false;
        }
        const bool sixty =
            sixtyPending && t >= m_plan.start + m_o.sixtyAt && t % 60 == 0 && t > m_plan.start;
        int fault = -1;
        if (nextFault < m_faultSlots.size() && m_faultSlots[nextFault].first <= slot)
            fault = m_faultSlots[nextFault++].second;
        const std::int64_t before = m_epochs;
        writeEpoch(t, sixty, fault);
        if (m_epochs == before && fault >= 0)
            --nextFault; // nothing written: the fault goes to the next epoch
        if (sixty && m_epochs > before)
            sixtyPending = false;
        if (!m_sink.flushIfLarge()) {
            error = "cannot write " + part;
            return false;
        }
        if (m_truthOn && !m_truth.flushIfLarge()) {
            error = "cannot write " + m_o.truthFile;
            return false;
        }
    }
    writeEvents(std::numeric_limits<double>::infinity());
    if (!m_sink.close()) {
        error = "cannot write " + part;
        return false;
    }
    if (m_truthOn && !m_truth.close()) {
        error = "cannot write " + m_o.truthFile;
        return false;
    }
    if (m_epochs == 0) {
        std::error_code ec;
        std::filesystem::remove(part, ec);
        error = "no satellite above the mask: nothing to write";
        return false;
    }
    // The header counts come from the data: write it, then append the data written before.
    FileSink fin;
    if (!fin.open(path)) {
        error = "cannot write " + path;
        return false;
    }
    fin.buf = header();
    std::FILE* in = std::fopen(part.c_str(), "rb");
    if (in == nullptr) {
        error = "cannot read " + part;
        return false;
    }
    std::vector<char> block(1 << 22);
    bool ok = true;
    while (ok) {
        const std::size_t got = std::fread(block.data(), 1, block.size(), in);
        if (got == 0)
            break;
        fin.buf.append(block.data(), got);
        ok = fin.flushIfLarge();
    }
    std::fclose(in);
    ok = fin.close() && ok;
    std::error_code ec;
    std::filesystem::remove(part, ec);
    if (!ok) {
        error = "cannot write " + path;
        return false;
    }
    result.epochs = m_epochs;
    result.observationBytes = fin.written;
    for (const auto& c : m_counts)
        result.satellitesSeen +=
            std::any_of(c.begin(), c.end(), [](std::int64_t v) { return v > 0; }) ? 1 : 0;
    return true;
}

} // namespace

int Plan::longBin(double t) const {
    return static_cast<int>(std::floor((t - static_cast<double>(refTime) + 3600.0) / 7200.0));
}
double Plan::longTime(int bin) const {
    return static_cast<double>(refTime) + 7200.0 * bin;
}
int Plan::shortBin(System s, double t) const {
    const double r = static_cast<double>(refTime);
    if (s == System::Glonass)
        return static_cast<int>(std::floor((t - r - leap) / 1800.0)) + 1;
    return static_cast<int>(std::floor((t - r + 900.0) / 1800.0));
}
double Plan::shortTime(System s, int bin) const {
    const double r = static_cast<double>(refTime);
    if (s == System::Glonass)
        return r + 900.0 + leap + 1800.0 * (bin - 1);
    return r + 1800.0 * bin;
}
int Plan::longBins() const {
    return longBin(static_cast<double>(end)) + 1;
}
int Plan::shortBins() const {
    return static_cast<int>((end - refTime) / 1800) + 2;
}

void appendProgramLine(std::string& out, const Plan& plan) {
    appendText(out, "quillon-gen 0.1", 20);
    appendText(out, "QUILLON", 20);
    out.append(plan.runDate);
    endHeaderLine(out, "PGM / RUN BY / DATE");
}

std::string fileStem(const GenOptions& o) {
    const Civil c = civilTime(gpsSeconds(o.year, o.month, o.day, o.hour, o.minute, o.second));
    std::string s = o.site;
    appendZeroPadded(s, c.dayOfYear, 3);
    s.append("0.");
    appendZeroPadded(s, c.year % 100, 2);
    return s;
}

/// Replaces the plain files of the set by the compressed forms that the options ask for.
static bool compressFiles(const GenOptions& o, GenResult& result, std::string& error) {
    if (o.compress.empty())
        return true;
    const bool compact = o.compress.rfind("crx", 0) == 0;
    const std::size_t dot = o.compress.find('.');
    const std::string outer = o.compress == "crx"        ? std::string()
                              : dot == std::string::npos ? o.compress
                                                         : o.compress.substr(dot + 1);
    std::error_code ec;
    for (std::size_t i = 0; i < result.files.size(); ++i) {
        std::string& file = result.files[i];
        if (compact && i == 0) {
            const std::string compactName = file.substr(0, file.size() - 1) + "d";
            if (!WriteCompactFile(file, compactName, error))
                return false;
            std::filesystem::remove(file, ec);
            file = compactName;
        }
        if (outer.empty())
            continue;
        const std::string packed = file + "." + outer;
        if (!WriteCompressedFile(file, packed, outer, error))
            return false;
        std::filesystem::remove(file, ec);
        file = packed;
    }
    return true;
}

bool generate(const GenOptions& o, GenResult& result, std::string& error) {
    result = GenResult{};
    Plan plan;
    plan.options = o;
    plan.start = gpsSeconds(o.year, o.month, o.day, o.hour, o.minute, o.second);
    if (plan.start <= 0) {
        error = "the start lies outside the GPS time count";
        return false;
    }
    plan.end = plan.start + o.duration;
    plan.refTime = plan.start - plan.start % 7200;
    plan.leap = leapSeconds(plan.start);
    {
        const Civil c = civilTime(plan.end);
        std::string d;
        appendZeroPadded(d, c.year, 4);
        appendZeroPadded(d, c.month, 2);
        appendZeroPadded(d, c.day, 2);
        d.push_back(' ');
        appendZeroPadded(d, c.hour, 2);
        appendZeroPadded(d, c.minute, 2);
        appendZeroPadded(d, c.second, 2);
        d.append(" UTC");
        plan.runDate = d;
    }
    plan.station = makeStation();
    Random skyRandom(o.seed * 0x100000001B3ull + 1);
    Random noise(o.seed * 0x100000001B3ull + 2);
    Random faults(o.seed * 0x100000001B3ull + 3);
    plan.sky = buildSky(o, static_cast<double>(plan.refTime), skyRandom, plan.station);
    plan.seenLong.assign(plan.sky.size(),
                         std::vector<char>(static_cast<std::size_t>(plan.longBins()), 0));
    plan.seenShort.assign(plan.sky.size(),
                          std::vector<char>(static_cast<std::size_t>(plan.shortBins()), 0));

    std::error_code ec;
    std::filesystem::create_directories(o.outDir, ec);
    const std::string stem = fileStem(o);
    const std::string obsPath = (std::filesystem::path(o.outDir) / (stem + "o")).string();
    ObservationWriter writer(plan, noise, faults);
    if (!writer.run(obsPath, result, error))
        return false;
    result.files.push_back(obsPath);
    if (!writeNavigationFiles(plan, stem, result, error))
        return false;
    if (!writeMeteoFile(plan, stem, result, error))
        return false;
    return compressFiles(o, result, error);
}

} // namespace gen
