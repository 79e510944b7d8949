#pragma once

#include "nav/BroadcastOrbits.h"
#include "nav/SatOrbit.h"

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace views {

/// The receiver's place: its Earth-fixed position and the local east, north and up directions
/// of its WGS-84 geodetic latitude and longitude.
struct StationFrame {
    nav::Ecef pos;
    double latitude = 0;  // rad, geodetic
    double longitude = 0; // rad
    double height = 0;    // m above the ellipsoid
    nav::Ecef east, north, up;
};

/// The frame of an APPROX POSITION XYZ; none for a position less than 6000 km from the
/// Earth's centre (a header that gives 0 0 0 or no position at all) or not finite.
std::optional<StationFrame> stationFrame(double x, double y, double z) noexcept;

/// Elevation above the local horizon and azimuth from north through east, in degrees
/// (azimuth 0 to below 360). The direction is the straight line at one instant: no light time.
struct LookAngles {
    double elevation = 0;
    double azimuth = 0;
};
LookAngles lookAngles(const StationFrame& station, const nav::Ecef& satellite) noexcept;
/// The sine of the elevation alone (cheaper, for mask tests).
double sinElevation(const StationFrame& station, const nav::Ecef& satellite) noexcept;
/// The elevation is at least the one whose sine is sinMask (without a square root).
bool atOrAboveMask(const StationFrame& station, const nav::Ecef& satellite,
                   double sinMask) noexcept;

/// Satellite positions along increasing times: each satellite's state is computed at nodes
/// every `nodeStep` seconds of GPS time with the record chosen for the asked time, and
/// positions between two nodes come from the cubic Hermite curve through their positions and
/// velocities (with 30 s nodes under a millimetre off the orbit; exact at the nodes; the error
/// grows with the fourth power of the step). Asking for times in increasing order per satellite
/// costs about one orbit evaluation per node.
class SkyTracker {
public:
    static constexpr double kNodeStep = 30.0; // s

    explicit SkyTracker(const nav::BroadcastOrbits& orbits, double nodeStep = kNodeStep) noexcept
        : m_orbits(orbits), m_step(nodeStep) {}

    /// A handle for one satellite's positions (made once per satellite).
    std::size_t track(nav::OrbitSat sat);
    /// The position at GPS time t; none when no record is valid then.
    std::optional<nav::Ecef> position(std::size_t track, double t);

private:
    struct Track {
        nav::OrbitSat sat;
        nav::BroadcastOrbits::RecordSpan span{-1, 1, 0}; // empty: looked up at first use
        bool nodesSet = false;
        double t0 = 0, t1 = 0;
        nav::SatState s0, s1;
    };
    const nav::BroadcastOrbits& m_orbits;
    double m_step;
    std::vector<Track> m_tracks;
    std::unordered_map<std::uint32_t, std::size_t> m_byKey;
};

} // namespace views
