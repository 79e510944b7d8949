#include "nav/GPSNavFile.h"

#include <span>

namespace nav {

void GPSNav::handleHeaderLine(std::uint8_t code, std::string_view line, Header& h,
                              const LineReport& report) {
    switch (code) {
    case 3:
        HandleIonLine(line, std::span<float, 4>(h.ion.data(), 4), "Not valid data for ION ALPHA",
                      report);
        break;
    case 4:
        HandleIonLine(line, std::span<float, 4>(h.ion.data() + 4, 4), "Not valid data for ION BETA",
                      report);
        break;
    case 5:
        HandleDeltaUtcLine(line, h.a0, h.a1, h.t, h.w, report);
        break;
    default: // COMMENT and END OF HEADER carry nothing
        break;
    }
}

void GPSNav::finishHeader(Header& h) noexcept {
    h.leapSecondsShort = static_cast<std::int8_t>(h.leapSeconds);
}

void GPSNav::clearSatellite(Record& r) noexcept {
    r.prn = 0;
    r.prnByte = 0;
}

void GPSNav::setSatellite(Record& r, std::int32_t s) noexcept {
    r.prn = s;
    r.prnByte = static_cast<std::uint8_t>(s);
}

void GPSNav::complete(Record& r, const OrbitTable& t, const Header& /*h*/,
                      std::int32_t /*ordinal*/) noexcept {
    // The fit-interval bit (bit 0) stays 0.
    r.flags = static_cast<std::uint8_t>(Nearest(t.at(6, 2)) * 4 + Nearest(t.at(6, 4)) * 2);
    r.iodc = NearestAs<std::int16_t>(t.at(7, 4));
    const text::TGPSTime clock = ClockTime(r.epoch);
    r.toc = static_cast<std::int32_t>(clock.SecondsOfWeek());
    r.tocCopy = r.toc;
    r.toe = NearestAs<std::int32_t>(t.at(4, 1));
    r.ura = NearestAs<std::int32_t>(t.at(7, 1));
    r.health = NearestAs<std::uint8_t>(t.at(7, 2));
    const std::int32_t week = NearestAs<std::int32_t>(t.at(6, 3));
    r.week = static_cast<std::int16_t>(CheckedWeek(week, clock, r.toe, r.health));
    r.tgd = static_cast<float>(t.at(7, 3));
    r.af2 = static_cast<float>(t.at(1, 4));
    r.af1 = static_cast<float>(t.at(1, 3));
    r.af0 = static_cast<float>(t.at(1, 2));
    r.iode = NearestAs<std::int16_t>(t.at(2, 1));
    r.sqrtA = static_cast<double>(t.at(3, 4));
    r.e = static_cast<double>(t.at(3, 2));
    r.m0 = static_cast<double>(t.at(2, 4) / kPi);
    r.omega0 = static_cast<double>(t.at(4, 3) / kPi);
    r.i0 = static_cast<double>(t.at(5, 1) / kPi);
    r.omega = static_cast<double>(t.at(5, 3) / kPi);
    r.deltaN = static_cast<float>(t.at(2, 3) / kPi);
    r.omegaDot = static_cast<float>(t.at(5, 4) / kPi);
    r.idot = static_cast<float>(t.at(6, 1) / kPi);
    r.crc = static_cast<float>(t.at(5, 2));
    r.crs = static_cast<float>(t.at(2, 2));
    r.cuc = static_cast<float>(t.at(3, 1));
    r.cus = static_cast<float>(t.at(3, 3));
    r.cic = static_cast<float>(t.at(4, 2));
    r.cis = static_cast<float>(t.at(4, 4));
}

} // namespace nav
