#include "nav/GEONavFile.h"

namespace nav {

void GEONav::clearSatellite(Record& r) noexcept {
    r.prn100 = 0;
    r.prn = 0;
    r.ordinal = 0;
}

void GEONav::setSatellite(Record& r, std::int32_t s) noexcept {
    r.prn100 = s + 100;
    r.prn = s;
}

void GEONav::complete(Record& r, const OrbitTable& t, const Header& /*h*/,
                      std::int32_t ordinal) noexcept {
    r.ordinal = ordinal;
    r.prn100Byte = static_cast<std::uint8_t>(r.prn100);
    r.prnByte = static_cast<std::uint8_t>(r.prn);
    r.iodn = 0;
    r.ura = NearestAs<std::uint8_t>(t.at(3, 4));
    r.transmissionTime = NearestAs<std::int32_t>(t.at(1, 4));
    r.week = static_cast<std::int16_t>(ClockTime(r.epoch).Week10());
    r.epochSeconds = static_cast<std::int32_t>(r.epoch.hour * 3600 + r.epoch.minute * 60 +
                                               Nearest(r.epoch.seconds));
    r.x = static_cast<double>(t.at(2, 1));
    r.y = static_cast<double>(t.at(3, 1));
    r.z = static_cast<double>(t.at(4, 1));
    r.vx = static_cast<float>(t.at(2, 2));
    r.vy = static_cast<float>(t.at(3, 2));
    r.vz = static_cast<float>(t.at(4, 2));
    r.ax = static_cast<float>(t.at(2, 3));
    r.ay = static_cast<float>(t.at(3, 3));
    r.az = static_cast<float>(t.at(4, 3));
    r.aGf0 = static_cast<float>(t.at(1, 2));
    r.aGf1 = static_cast<float>(t.at(1, 3));
    r.health = NearestAs<std::uint8_t>(t.at(2, 4));
}

} // namespace nav
