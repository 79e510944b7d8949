#include "nav/GLONavFile.h"

namespace nav {

namespace {

std::int32_t daysInYear(std::int32_t y) noexcept {
    return text::IsLeapYear(y) ? 366 : 365;
}

// Day of the year, 1 for 1 January; months beyond December add nothing.
std::int32_t dayOfYear(std::int32_t y, std::int32_t month, std::int32_t day) noexcept {
    constexpr std::int32_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::int32_t n = day;
    for (std::int32_t m = 1; m < month && m <= 12; ++m)
        n += (m == 2 && text::IsLeapYear(y)) ? 29 : kDays[m - 1];
    return n;
}

} // namespace

std::int16_t GLONASSDayNumber(const text::TEpochTime& epoch, std::int32_t leapSeconds) noexcept {
    const std::int32_t y2 = epoch.year % 100;
    const std::int32_t year = y2 > 80 ? 1900 + y2 : 2000 + y2;
    std::int32_t leap = year - 3;
    for (std::int32_t k = 0; k <= 2; ++k) {
        if (text::IsLeapYear(year - k)) {
            leap = year - k;
            break;
        }
    }
    std::int32_t n = 0;
    for (std::int32_t y = leap; y < year; ++y)
        n += daysInYear(y);
    n += dayOfYear(year, epoch.month, epoch.day);
    const std::int64_t t = std::int64_t{epoch.hour} * 3600 + std::int64_t{epoch.minute} * 60 +
                           Truncated(epoch.seconds);
    if (t < 10800 - std::int64_t{leapSeconds})
        n -= 1;
    return static_cast<std::int16_t>(n);
}

void GLONav::handleHeaderLine(std::uint8_t code, std::string_view line, header::THeaderDataGLO& h,
                              const LineReport& report) {
    if (code == 3)
        HandleCorrToSystemTimeLine(line, h.corrYear, h.corrMonth, h.corrDay, h.corrToSystemTime,
                                   report);
}

void GLONav::clearSatellite(Record& r) noexcept {
    r.slot = 0;
    r.slotByte = 0;
}

void GLONav::setSatellite(Record& r, std::int32_t s) noexcept {
    r.slot = s;
    r.slotByte = static_cast<std::uint8_t>(s);
}

void GLONav::complete(Record& r, const OrbitTable& t, const Header& h,
                      std::int32_t /*ordinal*/) noexcept {
    r.frequency = NearestAs<std::int8_t>(t.at(3, 4));
    r.tk = NearestAs<std::int32_t>(t.at(1, 4));
    r.epochSeconds = static_cast<std::int32_t>(r.epoch.hour * 3600 + r.epoch.minute * 60 +
                                               Truncated(r.epoch.seconds));
    r.dayNumber = GLONASSDayNumber(r.epoch, h.leapSeconds);
    r.health = NearestAs<std::uint8_t>(t.at(2, 4));
    r.age = NearestAs<std::uint8_t>(t.at(4, 4));
    r.x = static_cast<double>(t.at(2, 1));
    r.y = static_cast<double>(t.at(3, 1));
    r.z = static_cast<double>(t.at(4, 1));
    r.vx = static_cast<float>(t.at(2, 2));
    r.vy = static_cast<float>(t.at(3, 2));
    r.vz = static_cast<float>(t.at(4, 2));
    r.ax = static_cast<float>(t.at(2, 3));
    r.ay = static_cast<float>(t.at(3, 3));
    r.az = static_cast<float>(t.at(4, 3));
    r.corrToSystemTime = static_cast<double>(-h.corrToSystemTime);
    r.tauN = static_cast<float>(-t.at(1, 2));
    r.gammaN = static_cast<float>(t.at(1, 3));
}

} // namespace nav
