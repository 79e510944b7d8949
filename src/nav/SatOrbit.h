#pragma once

#include "nav/EphemRecords.h"
#include "text/GPSTime.h"

#include <cmath>
#include <optional>

namespace nav {

/// A point or a vector in the Earth-fixed frame, metres (or m/s, m/s2).
struct Ecef {
    double x = 0;
    double y = 0;
    double z = 0;

    friend Ecef operator+(Ecef a, Ecef b) noexcept { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
    friend Ecef operator-(Ecef a, Ecef b) noexcept { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
    friend Ecef operator*(Ecef a, double k) noexcept { return {a.x * k, a.y * k, a.z * k}; }
};

inline double dot(Ecef a, Ecef b) noexcept {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline double norm(Ecef a) noexcept {
    return std::sqrt(dot(a, a));
}

/// Position (m) and velocity (m/s) of a satellite in the Earth-fixed frame at one time.
struct SatState {
    Ecef pos;
    Ecef vel;
};

/// The gravitational constant and Earth rotation rate a system's broadcast orbits are
/// computed with.
struct OrbitConstants {
    double gm = 0;        // m3/s2
    double earthRate = 0; // rad/s
};
/// GPS (IS-GPS-200) and Galileo (OS SIS ICD) values.
inline constexpr OrbitConstants kGpsConstants{3.986005e14, 7.2921151467e-5};
inline constexpr OrbitConstants kGalileoConstants{3.986004418e14, 7.2921151467e-5};

/// GLONASS orbits are integrated in PZ-90: GM, the equatorial radius, the second zonal
/// harmonic and the rotation rate of the GLONASS interface document.
inline constexpr double kGlonassGM = 3.986004418e14;     // m3/s2
inline constexpr double kGlonassRadius = 6378136.0;      // m
inline constexpr double kGlonassJ2 = 1.08262575e-3;      // dimensionless
inline constexpr double kGlonassEarthRate = 7.292115e-5; // rad/s
inline constexpr double kGlonassMaxStep = 60.0;          // s, one Runge-Kutta step at most

/// GPS time in seconds since 1980-01-06 00:00:00 of a calendar time read as GPS time; the year
/// may hold two digits (expanded as RINEX does). None for a date the GPS time count cannot hold.
std::optional<double> GpsSecondsOf(const text::TEpochTime& t) noexcept;

/// GPS - UTC in seconds at a GPS time (the leap seconds announced up to the end of 2016, the
/// last one so far); 0 before the first one in mid-1981.
int LeapSecondsAt(double gpsSeconds) noexcept;

/// A broadcast Keplerian orbit in radians, its reference time as GPS seconds.
struct KeplerOrbit {
    double toe = 0; // GPS seconds
    double sqrtA = 0, e = 0, m0 = 0, omega0 = 0, i0 = 0, omega = 0;
    double deltaN = 0, omegaDot = 0, idot = 0; // rad/s
    double crc = 0, crs = 0, cuc = 0, cus = 0, cic = 0, cis = 0;
    OrbitConstants constants = kGpsConstants;
};

/// The orbit of a GPS or Galileo record. The reference time is the record's toe in the week
/// that puts it nearest to the record's clock epoch, so that a wrong week field cannot move the
/// orbit; none when the clock epoch is no valid date.
std::optional<KeplerOrbit> keplerOrbitOf(const TEphemGPSRec& r) noexcept;
std::optional<KeplerOrbit> keplerOrbitOf(const TEphemGALRec& r) noexcept;

/// The Earth-fixed state at GPS time t: Kepler's equation, the harmonic corrections and the
/// Earth's rotation, as the two interface documents give them. No light-time correction.
SatState keplerState(const KeplerOrbit& o, double t) noexcept;

/// A broadcast state vector: position, velocity and constant acceleration at a GPS time.
struct StateVector {
    double t0 = 0; // GPS seconds
    Ecef pos, vel, acc;
};

/// The state of a GLONASS record (km to m); the record's epoch is UTC and becomes GPS time by
/// adding leapSeconds. None when the epoch is no valid date.
std::optional<StateVector> glonassStateOf(const TEphemGLORec& r, int leapSeconds) noexcept;
/// The state of a GEO record, whose epoch is GPS time.
std::optional<StateVector> geoStateOf(const TEphemGEORec& r) noexcept;

/// The GLONASS state at GPS time t: fourth-order Runge-Kutta integration of the PZ-90 equations
/// of motion (central term, J2, the rotating frame's centrifugal and Coriolis terms and the
/// broadcast luni-solar acceleration held constant), in equal steps of at most 60 s.
SatState glonassState(const StateVector& s, double t) noexcept;

/// The GEO state at GPS time t: position + velocity dt + acceleration dt2 / 2.
SatState geoState(const StateVector& s, double t) noexcept;

} // namespace nav
