#include "views/SkyGeometry.h"

#include <cmath>

namespace views {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kWgsA = 6378137.0;
constexpr double kWgsF = 1.0 / 298.257223563;
constexpr double kWgsE2 = kWgsF * (2.0 - kWgsF);

std::uint32_t keyOf(nav::OrbitSat sat) noexcept {
    return (static_cast<std::uint32_t>(static_cast<unsigned char>(sat.system)) << 24) |
           (static_cast<std::uint32_t>(sat.prn) & 0xFFFFFFu);
}

} // namespace

std::optional<StationFrame> stationFrame(double x, double y, double z) noexcept {
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z))
        return std::nullopt;
    const double p = std::hypot(x, y);
    if (std::hypot(p, z) < 6.0e6)
        return std::nullopt;
    StationFrame s;
    s.pos = {x, y, z};
    s.longitude = std::atan2(y, x);
    // Latitude and height by fixed-point iteration; a few rounds reach the micrometre.
    double lat = std::atan2(z, p * (1.0 - kWgsE2));
    double h = 0;
    for (int k = 0; k < 8; ++k) {
        const double sl = std::sin(lat);
        const double n = kWgsA / std::sqrt(1.0 - kWgsE2 * sl * sl);
        h = std::fabs(std::cos(lat)) > 1e-9 ? p / std::cos(lat) - n
                                            : std::fabs(z) - n * (1.0 - kWgsE2);
        lat = std::atan2(z, p * (1.0 - kWgsE2 * n / (n + h)));
    }
    s.latitude = lat;
    s.height = h;
    const double sl = std::sin(lat), cl = std::cos(lat);
    const double so = std::sin(s.longitude), co = std::cos(s.longitude);
    s.east = {-so, co, 0};
    s.north = {-sl * co, -sl * so, cl};
    s.up = {cl * co, cl * so, sl};
    return s;
}

LookAngles lookAngles(const StationFrame& station, const nav::Ecef& satellite) noexcept {
    const nav::Ecef d = satellite - station.pos;
    const double e = nav::dot(d, station.east);
    const double n = nav::dot(d, station.north);
    const double u = nav::dot(d, station.up);
    LookAngles a;
    a.elevation = std::atan2(u, std::hypot(e, n)) * 180.0 / kPi;
    double az = std::atan2(e, n) * 180.0 / kPi;
    if (az < 0)
        az += 360.0;
    if (az >= 360.0)
        az -= 360.0;
    a.azimuth = az;
    return a;
}

double sinElevation(const StationFrame& station, const nav::Ecef& satellite) noexcept {
    const nav::Ecef d = satellite - station.pos;
    const double range = nav::norm(d);
    return range > 0 ? nav::dot(d, station.up) / range : 1.0;
}

bool atOrAboveMask(const StationFrame& station, const nav::Ecef& satellite,
                   double sinMask) noexcept {
    const nav::Ecef d = satellite - station.pos;
    const double u = nav::dot(d, station.up);
    const double limit = sinMask * sinMask * nav::dot(d, d);
    if (sinMask >= 0)
        return u >= 0 && u * u >= limit;
    return u >= 0 || u * u <= limit;
}

std::size_t SkyTracker::track(nav::OrbitSat sat) {
    const auto [it, added] = m_byKey.try_emplace(keyOf(sat), m_tracks.size());
    if (added) {
        Track t;
        t.sat = sat;
        m_tracks.push_back(t);
    }
    return it->second;
}

std::optional<nav::Ecef> SkyTracker::position(std::size_t track, double t) {
    Track& k = m_tracks[track];
    if (!(t >= k.span.from && t < k.span.to)) {
        const int before = k.span.record;
        k.span = m_orbits.spanAt(k.sat, t);
        if (k.span.record != before)
            k.nodesSet = false;
    }
    if (k.span.record < 0)
        return std::nullopt;
    if (!k.nodesSet || t < k.t0 || t > k.t1) {
        const double t0 = std::floor(t / m_step) * m_step;
        const double t1 = t0 + m_step;
        // Moving on by one node keeps the later node already computed.
        if (k.nodesSet && t0 == k.t1)
            k.s0 = k.s1;
        else
            k.s0 = m_orbits.state(k.span.record, t0);
        k.s1 = m_orbits.state(k.span.record, t1);
        k.nodesSet = true;
        k.t0 = t0;
        k.t1 = t1;
    }
    if (t == k.t0)
        return k.s0.pos;
    const double h = k.t1 - k.t0;
    const double s = (t - k.t0) / h;
    const double s2 = s * s, s3 = s2 * s;
    const double h00 = 2 * s3 - 3 * s2 + 1;
    const double h10 = s3 - 2 * s2 + s;
    const double h01 = -2 * s3 + 3 * s2;
    const double h11 = s3 - s2;
    return k.s0.pos * h00 + k.s0.vel * (h10 * h) + k.s1.pos * h01 + k.s1.vel * (h11 * h);
}

} // namespace views
