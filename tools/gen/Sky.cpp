#include "tools/gen/Sky.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace gen {

namespace {

constexpr double kDeg = kPi / 180;
constexpr double kF1 = 1575.42e6, kF2 = 1227.60e6, kF5 = 1176.45e6;
constexpr double kE6 = 1278.75e6, kE5b = 1207.14e6, kE5 = 1191.795e6; // Galileo bands 6, 7, 8

// Frequency channels of the 24 GLONASS slots; antipodal slots share a channel.
constexpr std::array<int, 24> kGlonassChannel = {1,  -4, 5, 6,  1, -4, 5, 6, -2, -7, 0, -1,
                                                 -2, -7, 0, -1, 4, -3, 3, 2, 4,  -3, 3, 2};

struct GeoSlot {
    int prn;
    double lon; // degrees east
};
// Geostationary slots of PRN 120 to 158, one per number the observation files accept.
constexpr std::array<GeoSlot, 39> kGeo = {
    {{120, -15.5},  {121, -5.0},   {122, -54.0}, {123, 31.5},   {124, -30.0}, {125, -16.0},
     {126, 25.0},   {127, 55.0},   {128, 83.0},  {129, 140.0},  {130, 108.0}, {131, -117.0},
     {132, 93.5},   {133, -129.0}, {134, 177.0}, {135, -133.0}, {136, 5.0},   {137, 145.0},
     {138, -107.3}, {139, 36.0},   {140, 95.0},  {141, 167.0},  {142, -24.0}, {143, 80.0},
     {144, 110.5},  {145, 60.0},   {146, 128.0}, {147, -45.0},  {148, 10.0},  {149, -75.0},
     {150, 40.0},   {151, 155.0},  {152, -98.0}, {153, 70.0},   {154, -3.0},  {155, 118.0},
     {156, -140.0}, {157, 48.0},   {158, 162.0}}};
static_assert(kGeo.size() == static_cast<std::size_t>(header::itemCount(header::SatSystem::GEO)));

std::vector<int> choose(int count, int max, Random& rng) {
    std::vector<int> all(static_cast<std::size_t>(max));
    std::iota(all.begin(), all.end(), 1);
    for (std::size_t i = all.size(); i > 1; --i)
        std::swap(all[i - 1],
                  all[static_cast<std::size_t>(rng.integer(0, static_cast<std::int64_t>(i) - 1))]);
    all.resize(static_cast<std::size_t>(count));
    std::sort(all.begin(), all.end());
    return all;
}

void setTypes(Satellite& s) {
    for (int code = 0; code < static_cast<int>(header::kMaxTypes); ++code) {
        const int band = typeBand(code);
        bool has = s.frequency[static_cast<std::size_t>(band)] > 0;
        const char kind = typeKind(code);
        switch (s.system) {
        case System::Gps:
            if (code == 1) // C2: the newer satellites only
                has = s.prn % 3 != 0;
            if (band == 2)
                has = s.prn % 2 == 1;
            break;
        case System::Glonass:
            break;
        case System::Sbas:
        case System::Galileo:
            if (kind == 'P')
                has = false;
            break;
        }
        s.hasType[static_cast<std::size_t>(code)] = has;
    }
}

// Node longitude at the start of the week of refTime that puts an orbit's node at the
// inertial longitude `nodeInertial` (radians, measured in the Earth-fixed frame at refTime).
double weekNode(double nodeInertial, double refTime) {
    return wrapAngle(nodeInertial + kEarthRate * std::fmod(refTime, kWeek));
}

} // namespace

int typeBand(int code) {
    return static_cast<int>(header::bandColumn(static_cast<std::size_t>(code)));
}

char typeKind(int code) {
    return header::kObsTypes[static_cast<std::size_t>(code)].kind;
}

Station makeStation() {
    Station s;
    s.marker = geodeticToEcef(s.lat, s.lon, s.height);
    s.frame = localFrame(s.lat, s.lon);
    return s;
}

double satelliteClock(const Satellite& s, double t, double eccentricAnomaly) {
    double dt = s.clockBias + s.clockDrift * (t - s.orbit.toe);
    if (s.system == System::Gps || s.system == System::Galileo)
        dt += kRelativity * s.orbit.e * s.orbit.sqrtA * std::sin(eccentricAnomaly);
    return dt;
}

std::vector<Satellite> buildSky(const GenOptions& o, double refTime, Random& rng,
                                const Station& station) {
    std::vector<Satellite> sky;
    const auto count = [&](System s) {
        return o.systems[static_cast<std::size_t>(systemIndex(s))]
                   ? o.satellites[static_cast<std::size_t>(systemIndex(s))]
                   : 0;
    };
    const double nodeBase = rng.uniform(-kPi, kPi);

    // GPS: six planes 60 degrees apart, inclined 55 degrees, 12-hour orbits.
    {
        const std::vector<int> prns = choose(count(System::Gps), maxSatellites(System::Gps), rng);
        const int perPlane = std::max(1, static_cast<int>((prns.size() + 5) / 6));
        for (std::size_t k = 0; k < prns.size(); ++k) {
            Satellite s;
            s.system = System::Gps;
            s.prn = prns[k];
            const int plane = static_cast<int>(k % 6);
            const int slot = static_cast<int>(k / 6);
            KeplerOrbit& e = s.orbit;
            e.toe = refTime;
            e.sqrtA = rng.uniform(5153.2, 5154.0);
            e.e = rng.uniform(0.002, 0.016);
            e.i0 = rng.uniform(54.2, 56.3) * kDeg;
            e.omega0 = weekNode(nodeBase + plane * 60 * kDeg, refTime);
            e.omega = rng.uniform(-kPi, kPi);
            const double u = 2 * kPi * slot / perPlane + plane * 15 * kDeg + rng.uniform(-0.1, 0.1);
            e.m0 = wrapAngle(u - e.omega);
            e.deltaN = rng.uniform(3.8e-9, 5.3e-9);
            e.omegaDot = rng.uniform(-8.7e-9, -7.7e-9);
            e.idot = rng.uniform(-5e-10, 5e-10);
            e.cuc = rng.uniform(-6e-6, 6e-6);
            e.cus = rng.uniform(2e-6, 1.1e-5);
            e.crc = rng.uniform(150, 350);
            e.crs = rng.uniform(-130, 130);
            e.cic = rng.uniform(-2e-7, 2e-7);
            e.cis = rng.uniform(-2e-7, 2e-7);
            s.clockBias = rng.uniform(-4e-4, 4e-4);
            s.clockDrift = rng.uniform(-1e-11, 1e-11);
            s.tgd =
                std::round(rng.uniform(-1.2e-8, 1.2e-8) / 4.656612873077e-10) * 4.656612873077e-10;
            s.firstIssue = static_cast<int>(rng.integer(1, 250));
            s.frequency = {kF1, kF2, kF5, 0, 0, 0};
            setTypes(s);
            sky.push_back(s);
        }
    }
    // GLONASS: three planes of eight slots, inclined 64.8 degrees.
    {
        const std::vector<int> slots =
            choose(count(System::Glonass), maxSatellites(System::Glonass), rng);
        for (int slotNo : slots) {
            Satellite s;
            s.system = System::Glonass;
            s.prn = slotNo;
            const int plane = (slotNo - 1) / 8;
            const int pos = (slotNo - 1) % 8;
            KeplerOrbit& e = s.orbit;
            e.toe = refTime;
            e.sqrtA = std::sqrt(25508.0e3 + rng.uniform(-2e3, 2e3));
            e.e = rng.uniform(0.0003, 0.002);
            e.i0 = rng.uniform(64.3, 65.3) * kDeg;
            e.omega0 = weekNode(nodeBase + 0.7 + plane * 120 * kDeg, refTime);
            e.omega = rng.uniform(-kPi, kPi);
            e.m0 = wrapAngle(pos * 45 * kDeg + plane * 15 * kDeg - e.omega);
            e.omegaDot = -6.0e-9;
            s.clockBias =
                std::round(rng.uniform(-2e-4, 2e-4) / 9.313225746155e-10) * 9.313225746155e-10;
            s.clockDrift = static_cast<double>(rng.integer(-1, 1)) * 9.094947017729e-13;
            s.glonassChannel = kGlonassChannel[static_cast<std::size_t>(slotNo - 1)];
            s.frequency = {1602.0e6 + s.glonassChannel * 0.5625e6,
                           1246.0e6 + s.glonassChannel * 0.4375e6,
                           0,
                           0,
                           0,
                           0};
            setTypes(s);
            sky.push_back(s);
        }
    }
    // SBAS: the geostationary satellites closest in longitude to the station.
    {
        std::vector<GeoSlot> geo(kGeo.begin(), kGeo.end());
        const double lonDeg = station.lon / kDeg;
        std::stable_sort(geo.begin(), geo.end(), [&](const GeoSlot& a, const GeoSlot& b) {
            return std::fabs(wrapAngle((a.lon - lonDeg) * kDeg)) <
                   std::fabs(wrapAngle((b.lon - lonDeg) * kDeg));
        });
        geo.resize(static_cast<std::size_t>(count(System::Sbas)));
        std::sort(geo.begin(), geo.end(),
                  [](const GeoSlot& a, const GeoSlot& b) { return a.prn < b.prn; });
        for (const GeoSlot& g : geo) {
            Satellite s;
            s.system = System::Sbas;
            s.prn = g.prn - 100;
            KeplerOrbit& e = s.orbit;
            e.toe = refTime;
            e.sqrtA = std::sqrt(std::cbrt(kGM / (kEarthRate * kEarthRate)));
            e.e = rng.uniform(0.0001, 0.0005);
            e.i0 = rng.uniform(0.05, 2.5) * kDeg;
            e.omega0 = rng.uniform(-kPi, kPi);
            e.omega = rng.uniform(-kPi, kPi);
            // Earth-fixed longitude of a circular, equatorial orbit: node + u - rotation.
            e.m0 = wrapAngle(g.lon * kDeg - e.omega0 + kEarthRate * std::fmod(refTime, kWeek) -
                             e.omega);
            s.clockBias = rng.uniform(-1e-7, 1e-7);
            s.clockDrift = rng.uniform(-1e-11, 1e-11);
            s.frequency = {kF1, 0, g.prn % 2 == 0 ? kF5 : 0, 0, 0, 0};
            setTypes(s);
            sky.push_back(s);
        }
    }
    // Galileo: three planes 120 degrees apart, inclined 56 degrees, 14-hour orbits.
    {
        const std::vector<int> prns =
            choose(count(System::Galileo), maxSatellites(System::Galileo), rng);
        const int perPlane = std::max(1, static_cast<int>((prns.size() + 2) / 3));
        for (std::size_t k = 0; k < prns.size(); ++k) {
            Satellite s;
            s.system = System::Galileo;
            s.prn = prns[k];
            const int plane = static_cast<int>(k % 3);
            const int slot = static_cast<int>(k / 3);
            KeplerOrbit& e = s.orbit;
            e.toe = refTime;
            e.sqrtA = rng.uniform(5440.4, 5440.8);
            e.e = rng.uniform(0.0001, 0.0006);
            e.i0 = rng.uniform(55.5, 56.5) * kDeg;
            e.omega0 = weekNode(nodeBase + 1.3 + plane * 120 * kDeg, refTime);
            e.omega = rng.uniform(-kPi, kPi);
            e.m0 = wrapAngle(2 * kPi * slot / perPlane + plane * 40 * kDeg - e.omega);
            e.deltaN = rng.uniform(2.8e-9, 3.4e-9);
            e.omegaDot = rng.uniform(-5.7e-9, -5.3e-9);
            e.idot = rng.uniform(-3e-10, 3e-10);
            e.cuc = rng.uniform(-3e-6, 3e-6);
            e.cus = rng.uniform(2e-6, 9e-6);
            e.crc = rng.uniform(150, 280);
            e.crs = rng.uniform(-80, 80);
            e.cic = rng.uniform(-1e-7, 1e-7);
            e.cis = rng.uniform(-1e-7, 1e-7);
            s.clockBias = rng.uniform(-6e-4, 6e-4);
            s.clockDrift = rng.uniform(-5e-12, 5e-12);
            s.tgd = rng.uniform(-5e-9, 5e-9);
            s.firstIssue = static_cast<int>(rng.integer(1, 900));
            s.frequency = {kF1, 0, kF5, kE6, kE5b, kE5};
            setTypes(s);
            sky.push_back(s);
        }
    }
    return sky;
}

} // namespace gen
