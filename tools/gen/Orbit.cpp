#include "tools/gen/Orbit.h"

#include <cmath>

namespace gen {

double norm(Vec3 a) {
    return std::sqrt(dot(a, a));
}

double wrapAngle(double a) {
    a = std::fmod(a + kPi, 2 * kPi);
    if (a < 0)
        a += 2 * kPi;
    return a - kPi;
}

SatState evaluate(const KeplerOrbit& o, double t) {
    const double a = o.sqrtA * o.sqrtA;
    const double n = std::sqrt(kGM / (a * a * a)) + o.deltaN;
    const double tk = t - o.toe;
    const double m = o.m0 + n * tk;
    double ecc = m + o.e * std::sin(m);
    for (int k = 0; k < 4; ++k)
        ecc -= (ecc - o.e * std::sin(ecc) - m) / (1 - o.e * std::cos(ecc));
    const double sinE = std::sin(ecc);
    const double cosE = std::cos(ecc);
    const double oneMinus = 1 - o.e * cosE;
    const double root = std::sqrt(1 - o.e * o.e);
    const double nu = std::atan2(root * sinE, cosE - o.e);
    const double phi = nu + o.omega;
    const double s2 = std::sin(2 * phi);
    const double c2 = std::cos(2 * phi);
    const double u = phi + o.cus * s2 + o.cuc * c2;
    const double r = a * oneMinus + o.crs * s2 + o.crc * c2;
    const double inc = o.i0 + o.cis * s2 + o.cic * c2 + o.idot * tk;
    const double toeSow = std::fmod(o.toe, kWeek);
    const double node = o.omega0 + (o.omegaDot - kEarthRate) * tk - kEarthRate * toeSow;

    const double eDot = n / oneMinus;
    const double nuDot = eDot * root / oneMinus;
    const double uDot = nuDot * (1 + 2 * (o.cus * c2 - o.cuc * s2));
    const double rDot = a * o.e * sinE * eDot + 2 * (o.crs * c2 - o.crc * s2) * nuDot;
    const double iDot = o.idot + 2 * (o.cis * c2 - o.cic * s2) * nuDot;
    const double nodeDot = o.omegaDot - kEarthRate;

    const double cu = std::cos(u), su = std::sin(u);
    const double xp = r * cu, yp = r * su;
    const double xpDot = rDot * cu - yp * uDot;
    const double ypDot = rDot * su + xp * uDot;
    const double cn = std::cos(node), sn = std::sin(node);
    const double ci = std::cos(inc), si = std::sin(inc);

    SatState s;
    s.pos = {xp * cn - yp * ci * sn, xp * sn + yp * ci * cn, yp * si};
    s.vel = {xpDot * cn - ypDot * ci * sn + yp * si * sn * iDot - s.pos.y * nodeDot,
             xpDot * sn + ypDot * ci * cn - yp * si * iDot * cn + s.pos.x * nodeDot,
             ypDot * si + yp * ci * iDot};
    s.eccentricAnomaly = ecc;
    return s;
}

KeplerOrbit rereference(const KeplerOrbit& o, double newToe) {
    KeplerOrbit r = o;
    const double a = o.sqrtA * o.sqrtA;
    const double n = std::sqrt(kGM / (a * a * a)) + o.deltaN;
    const double dt = newToe - o.toe;
    r.toe = newToe;
    r.m0 = wrapAngle(o.m0 + n * dt);
    r.i0 = o.i0 + o.idot * dt;
    r.omega0 =
        wrapAngle(o.omega0 + (o.omegaDot - kEarthRate) * dt - kEarthRate * std::fmod(o.toe, kWeek) +
                  kEarthRate * std::fmod(newToe, kWeek));
    return r;
}

Vec3 geodeticToEcef(double lat, double lon, double height) {
    constexpr double kA = 6378137.0;
    constexpr double kF = 1 / 298.257223563;
    constexpr double kE2 = kF * (2 - kF);
    const double sl = std::sin(lat);
    const double nRad = kA / std::sqrt(1 - kE2 * sl * sl);
    return {(nRad + height) * std::cos(lat) * std::cos(lon),
            (nRad + height) * std::cos(lat) * std::sin(lon), (nRad * (1 - kE2) + height) * sl};
}

LocalFrame localFrame(double lat, double lon) {
    const double sl = std::sin(lat), cl = std::cos(lat);
    const double so = std::sin(lon), co = std::cos(lon);
    return {{-so, co, 0}, {-sl * co, -sl * so, cl}, {cl * co, cl * so, sl}};
}

} // namespace gen
