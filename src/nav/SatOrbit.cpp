#include "nav/SatOrbit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace nav {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kWeek = 604800.0;
constexpr double kDay = 86400.0;

// Days from 1970-01-01 to a proleptic Gregorian date.
constexpr std::int64_t daysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) noexcept {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

constexpr std::int64_t kGpsOriginDay = daysFromCivil(1980, 1, 6);

// The GPS seconds of a UTC midnight, counted with the leap seconds before it.
constexpr double gpsAtUtcMidnight(std::int64_t y, std::int64_t m, std::int64_t d,
                                  int leapBefore) noexcept {
    return static_cast<double>((daysFromCivil(y, m, d) - kGpsOriginDay) * 86400 + leapBefore);
}

// The first GPS second at which each leap second count holds (1 at 1981-07-01 ... 18 at
// 2017-01-01).
constexpr std::array<double, 18> kLeapSteps = {
    gpsAtUtcMidnight(1981, 7, 1, 1),  gpsAtUtcMidnight(1982, 7, 1, 2),
    gpsAtUtcMidnight(1983, 7, 1, 3),  gpsAtUtcMidnight(1985, 7, 1, 4),
    gpsAtUtcMidnight(1988, 1, 1, 5),  gpsAtUtcMidnight(1990, 1, 1, 6),
    gpsAtUtcMidnight(1991, 1, 1, 7),  gpsAtUtcMidnight(1992, 7, 1, 8),
    gpsAtUtcMidnight(1993, 7, 1, 9),  gpsAtUtcMidnight(1994, 7, 1, 10),
    gpsAtUtcMidnight(1996, 1, 1, 11), gpsAtUtcMidnight(1997, 7, 1, 12),
    gpsAtUtcMidnight(1999, 1, 1, 13), gpsAtUtcMidnight(2006, 1, 1, 14),
    gpsAtUtcMidnight(2009, 1, 1, 15), gpsAtUtcMidnight(2012, 7, 1, 16),
    gpsAtUtcMidnight(2015, 7, 1, 17), gpsAtUtcMidnight(2017, 1, 1, 18),
};

// The Keplerian fields are shared by the GPS and Galileo records.
template <typename Rec>
std::optional<KeplerOrbit> keplerOf(const Rec& r, const OrbitConstants& constants) noexcept {
    const std::optional<double> toc = GpsSecondsOf(r.epoch);
    if (!toc)
        return std::nullopt;
    KeplerOrbit o;
    // The toe in the week of the clock epoch, moved by a week when that is nearer.
    const double weekStart = std::floor(*toc / kWeek) * kWeek;
    double toe = weekStart + static_cast<double>(r.toe);
    if (toe - *toc > kWeek / 2)
        toe -= kWeek;
    else if (*toc - toe > kWeek / 2)
        toe += kWeek;
    o.toe = toe;
    o.sqrtA = r.sqrtA;
    o.e = r.e;
    o.m0 = r.m0 * kPi;
    o.omega0 = r.omega0 * kPi;
    o.i0 = r.i0 * kPi;
    o.omega = r.omega * kPi;
    o.deltaN = static_cast<double>(r.deltaN) * kPi;
    o.omegaDot = static_cast<double>(r.omegaDot) * kPi;
    o.idot = static_cast<double>(r.idot) * kPi;
    o.crc = r.crc;
    o.crs = r.crs;
    o.cuc = r.cuc;
    o.cus = r.cus;
    o.cic = r.cic;
    o.cis = r.cis;
    o.constants = constants;
    return o;
}

template <typename Rec> StateVector stateOf(const Rec& r, double t0) noexcept {
    StateVector s;
    s.t0 = t0;
    s.pos = {r.x * 1000.0, r.y * 1000.0, r.z * 1000.0};
    s.vel = {static_cast<double>(r.vx) * 1000.0, static_cast<double>(r.vy) * 1000.0,
             static_cast<double>(r.vz) * 1000.0};
    s.acc = {static_cast<double>(r.ax) * 1000.0, static_cast<double>(r.ay) * 1000.0,
             static_cast<double>(r.az) * 1000.0};
    return s;
}

// The right-hand side of the PZ-90 equations in the rotating frame.
void glonassDerivative(const Ecef& p, const Ecef& v, const Ecef& lunisolar, Ecef& dv) noexcept {
    const double r2 = dot(p, p);
    const double r = std::sqrt(r2);
    const double mu = kGlonassGM / (r2 * r);
    const double j2 =
        1.5 * kGlonassJ2 * kGlonassGM * kGlonassRadius * kGlonassRadius / (r2 * r2 * r);
    const double zz = 5.0 * p.z * p.z / r2;
    const double w2 = kGlonassEarthRate * kGlonassEarthRate;
    dv.x =
        -mu * p.x - j2 * p.x * (1.0 - zz) + w2 * p.x + 2.0 * kGlonassEarthRate * v.y + lunisolar.x;
    dv.y =
        -mu * p.y - j2 * p.y * (1.0 - zz) + w2 * p.y - 2.0 * kGlonassEarthRate * v.x + lunisolar.y;
    dv.z = -mu * p.z - j2 * p.z * (3.0 - zz) + lunisolar.z;
}

} // namespace

std::optional<double> GpsSecondsOf(const text::TEpochTime& t) noexcept {
    const std::int32_t year = text::ExpandYear(t.year);
    if (year < 1980 || year > 2200 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 ||
        t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 || !(t.seconds >= 0) ||
        !(t.seconds < 61))
        return std::nullopt;
    const std::int64_t days = daysFromCivil(year, t.month, t.day) - kGpsOriginDay;
    if (days < 0)
        return std::nullopt;
    return static_cast<double>(days) * kDay + t.hour * 3600.0 + t.minute * 60.0 +
           static_cast<double>(t.seconds);
}

int LeapSecondsAt(double gpsSeconds) noexcept {
    int leap = 0;
    for (double step : kLeapSteps)
        if (gpsSeconds >= step)
            ++leap;
    return leap;
}

std::optional<KeplerOrbit> keplerOrbitOf(const TEphemGPSRec& r) noexcept {
    return keplerOf(r, kGpsConstants);
}

std::optional<KeplerOrbit> keplerOrbitOf(const TEphemGALRec& r) noexcept {
    return keplerOf(r, kGalileoConstants);
}

SatState keplerState(const KeplerOrbit& o, double t) noexcept {
    const double gm = o.constants.gm;
    const double we = o.constants.earthRate;
    const double a = o.sqrtA * o.sqrtA;
    const double n = std::sqrt(gm / (a * a * a)) + o.deltaN;
    const double tk = t - o.toe;
    const double m = o.m0 + n * tk;
    // Kepler's equation by Newton's method, from E = M.
    double ecc = m;
    for (int k = 0; k < 10; ++k) {
        const double step = (ecc - o.e * std::sin(ecc) - m) / (1.0 - o.e * std::cos(ecc));
        ecc -= step;
        if (std::fabs(step) < 1e-13)
            break;
    }
    const double sinE = std::sin(ecc);
    const double cosE = std::cos(ecc);
    const double oneMinus = 1.0 - o.e * cosE;
    const double root = std::sqrt(1.0 - o.e * o.e);
    const double nu = std::atan2(root * sinE, cosE - o.e);
    const double phi = nu + o.omega;
    const double s2 = std::sin(2.0 * phi);
    const double c2 = std::cos(2.0 * phi);
    const double u = phi + o.cus * s2 + o.cuc * c2;
    const double r = a * oneMinus + o.crs * s2 + o.crc * c2;
    const double inc = o.i0 + o.idot * tk + o.cis * s2 + o.cic * c2;
    const double toeOfWeek = o.toe - std::floor(o.toe / kWeek) * kWeek;
    const double node = o.omega0 + (o.omegaDot - we) * tk - we * toeOfWeek;

    // Rates of the same quantities, for the velocity.
    const double eDot = n / oneMinus;
    const double nuDot = eDot * root / oneMinus;
    const double uDot = nuDot * (1.0 + 2.0 * (o.cus * c2 - o.cuc * s2));
    const double rDot = a * o.e * sinE * eDot + 2.0 * (o.crs * c2 - o.crc * s2) * nuDot;
    const double incDot = o.idot + 2.0 * (o.cis * c2 - o.cic * s2) * nuDot;
    const double nodeDot = o.omegaDot - we;

    const double cu = std::cos(u), su = std::sin(u);
    const double xp = r * cu, yp = r * su;
    const double xpDot = rDot * cu - yp * uDot;
    const double ypDot = rDot * su + xp * uDot;
    const double cn = std::cos(node), sn = std::sin(node);
    const double ci = std::cos(inc), si = std::sin(inc);

    SatState s;
    s.pos = {xp * cn - yp * ci * sn, xp * sn + yp * ci * cn, yp * si};
    s.vel = {xpDot * cn - ypDot * ci * sn + yp * si * sn * incDot - s.pos.y * nodeDot,
             xpDot * sn + ypDot * ci * cn - yp * si * cn * incDot + s.pos.x * nodeDot,
             ypDot * si + yp * ci * incDot};
    return s;
}

std::optional<StateVector> glonassStateOf(const TEphemGLORec& r, int leapSeconds) noexcept {
    const std::optional<double> utc = GpsSecondsOf(r.epoch);
    if (!utc)
        return std::nullopt;
    return stateOf(r, *utc + leapSeconds);
}

std::optional<StateVector> geoStateOf(const TEphemGEORec& r) noexcept {
    const std::optional<double> t = GpsSecondsOf(r.epoch);
    if (!t)
        return std::nullopt;
    return stateOf(r, *t);
}

SatState glonassState(const StateVector& s, double t) noexcept {
    const double span = t - s.t0;
    const int steps = std::max(1, static_cast<int>(std::ceil(std::fabs(span) / kGlonassMaxStep)));
    const double h = span / steps;
    Ecef p = s.pos, v = s.vel;
    for (int k = 0; k < steps; ++k) {
        Ecef a1, a2, a3, a4;
        glonassDerivative(p, v, s.acc, a1);
        const Ecef p2 = p + v * (h / 2), v2 = v + a1 * (h / 2);
        glonassDerivative(p2, v2, s.acc, a2);
        const Ecef p3 = p + v2 * (h / 2), v3 = v + a2 * (h / 2);
        glonassDerivative(p3, v3, s.acc, a3);
        const Ecef p4 = p + v3 * h, v4 = v + a3 * h;
        glonassDerivative(p4, v4, s.acc, a4);
        p = p + (v + v2 * 2.0 + v3 * 2.0 + v4) * (h / 6);
        v = v + (a1 + a2 * 2.0 + a3 * 2.0 + a4) * (h / 6);
    }
    return {p, v};
}

SatState geoState(const StateVector& s, double t) noexcept {
    const double dt = t - s.t0;
    return {s.pos + s.vel * dt + s.acc * (dt * dt / 2), s.vel + s.acc * dt};
}

} // namespace nav
