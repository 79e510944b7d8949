#pragma once

#include "tools/gen/Options.h"
#include "tools/gen/Orbit.h"
#include "tools/gen/Random.h"

#include <array>
#include <vector>

namespace gen {

/// The bands a satellite can transmit, in the order of header::kObsBands: 1, 2, 5, 6, 7, 8.
inline constexpr std::size_t kBands = header::kObsBands.size();

/// Frequency band of a type as an index of kBands: 0 for band 1 ... 5 for band 8.
int typeBand(int code);
/// The observable kind of a type: 'C', 'P', 'L', 'D' or 'S'.
char typeKind(int code);

/// One satellite of the simulated sky: its true orbit and clock and what it transmits.
struct Satellite {
    System system = System::Gps;
    int prn = 0;            // number as the observation file writes it (SBAS: PRN - 100)
    KeplerOrbit orbit;      // true orbit, referred to the first ephemeris time
    double clockBias = 0;   // s at orbit.toe
    double clockDrift = 0;  // s/s
    double tgd = 0;         // s (GPS TGD, Galileo BGD E5a/E1)
    int glonassChannel = 0; // -7..6
    int firstIssue = 0;     // issue of data of the first ephemeris
    std::array<double, kBands> frequency = {}; // Hz of bands 1, 2, 5, 6, 7, 8; 0 when not sent
    std::array<bool, header::kMaxTypes> hasType = {}; // by type code
};

/// The place of the receiver: the first marker and the antenna height above it.
struct Station {
    double lat = 46.5210 * kPi / 180;
    double lon = 6.5660 * kPi / 180;
    double height = 412.0;
    double antennaHeight = 1.5;
    Vec3 marker;
    LocalFrame frame;
};

Station makeStation();

/// The constellations chosen by the options; orbits and clocks are referred to `refTime`.
std::vector<Satellite> buildSky(const GenOptions& options, double refTime, Random& rng,
                                const Station& station);

/// True clock offset of a satellite (s) at a GPS time, including the relativistic term of an
/// eccentric orbit (eccentricAnomaly from the orbit evaluation at that time).
double satelliteClock(const Satellite& s, double t, double eccentricAnomaly);

} // namespace gen
