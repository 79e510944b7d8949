#pragma once

namespace gen {

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kLight = 299792458.0;           // m/s
inline constexpr double kGM = 3.986005e14;              // m^3/s^2, as GPS receivers use it
inline constexpr double kEarthRate = 7.2921151467e-5;   // rad/s
inline constexpr double kWeek = 604800.0;               // s
inline constexpr double kRelativity = -4.442807633e-10; // s/m^0.5

struct Vec3 {
    double x = 0;
    double y = 0;
    double z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(Vec3 a, double k) {
    return {a.x * k, a.y * k, a.z * k};
}
inline double dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
double norm(Vec3 a);

/// Broadcast-style Keplerian elements with their reference time. Angles in radians, toe in
/// GPS seconds since 1980-01-06 (its seconds of week enter the node longitude as broadcast
/// receivers compute it).
struct KeplerOrbit {
    double toe = 0;
    double sqrtA = 0; // m^0.5
    double e = 0;
    double i0 = 0;
    double omega0 = 0;   // longitude of the node at the start of the week of toe
    double omega = 0;    // argument of perigee
    double m0 = 0;       // mean anomaly at toe
    double deltaN = 0;   // rad/s
    double omegaDot = 0; // rad/s
    double idot = 0;     // rad/s
    double cuc = 0, cus = 0, crc = 0, crs = 0, cic = 0, cis = 0;
};

/// Earth-fixed position (m), velocity (m/s) and eccentric anomaly at a GPS time.
struct SatState {
    Vec3 pos;
    Vec3 vel;
    double eccentricAnomaly = 0;
};

SatState evaluate(const KeplerOrbit& o, double t);

/// The same orbit referred to another reference time: evaluating either gives the same
/// position at every time, as consecutive broadcast ephemerides of one satellite do.
KeplerOrbit rereference(const KeplerOrbit& o, double newToe);

/// Angle folded into [-pi, pi).
double wrapAngle(double a);

/// WGS-84 geodetic latitude and longitude (radians) and height (m) to Earth-fixed metres.
Vec3 geodeticToEcef(double lat, double lon, double height);

/// The local east, north and up unit vectors of a geodetic place.
struct LocalFrame {
    Vec3 east, north, up;
};
LocalFrame localFrame(double lat, double lon);

} // namespace gen
