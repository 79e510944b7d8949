#include "nav/GALNavFile.h"

namespace nav {

void GALNav::clearSatellite(Record& r) noexcept {
    r.prn = 0;
    r.prnByte = 0;
}

void GALNav::setSatellite(Record& r, std::int32_t s) noexcept {
    r.prn = s;
    r.prnByte = static_cast<std::uint8_t>(s);
}

void GALNav::complete(Record& r, const OrbitTable& t, const Header& /*h*/,
                      std::int32_t /*ordinal*/) noexcept {
    const text::TGPSTime clock = ClockTime(r.epoch);
    r.toc = static_cast<std::int32_t>(clock.SecondsOfWeek());
    r.toe = NearestAs<std::int32_t>(t.at(4, 1));
    r.health = NearestAs<std::uint8_t>(t.at(7, 2));
    const std::int32_t week = NearestAs<std::int32_t>(t.at(6, 3));
    r.week = static_cast<std::int16_t>(CheckedWeek(week, clock, r.toe, r.health));
    r.af2 = static_cast<float>(t.at(1, 4));
    r.af1 = static_cast<float>(t.at(1, 3));
    r.af0 = static_cast<float>(t.at(1, 2));
    r.iodNav = NearestAs<std::int16_t>(t.at(2, 1));
    r.crs = static_cast<float>(t.at(2, 2));
    r.cuc = static_cast<float>(t.at(3, 1));
    r.cus = static_cast<float>(t.at(3, 3));
    r.cic = static_cast<float>(t.at(4, 2));
    r.cis = static_cast<float>(t.at(4, 4));
    r.crc = static_cast<float>(t.at(5, 2));
    r.e = static_cast<double>(t.at(3, 2));
    r.sqrtA = static_cast<double>(t.at(3, 4));
    r.m0 = static_cast<double>(t.at(2, 4) / kPi);
    r.omega0 = static_cast<double>(t.at(4, 3) / kPi);
    r.i0 = static_cast<double>(t.at(5, 1) / kPi);
    r.omega = static_cast<double>(t.at(5, 3) / kPi);
    r.deltaN = static_cast<float>(t.at(2, 3) / kPi);
    r.omegaDot = static_cast<float>(t.at(5, 4) / kPi);
    r.idot = static_cast<float>(t.at(6, 1) / kPi);
    r.dataSources = NearestAs<std::uint8_t>(t.at(6, 2));
    r.sisa = static_cast<float>(t.at(7, 1)); // kept as it stands, not rounded
    r.bgdE5a = static_cast<float>(t.at(7, 3));
    r.bgdE5b = static_cast<float>(t.at(7, 4));
    r.transmissionTime = NearestAs<std::int32_t>(t.at(8, 1));
}

} // namespace nav
