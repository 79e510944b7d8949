#include "tools/gen/Calendar.h"

#include "text/GPSTime.h"
#include "tools/gen/Format.h"

#include <array>

namespace gen {

std::int64_t gpsSeconds(int year, int month, int day, int hour, int minute, int second) {
    return text::TGPSTime::fromDate(
               static_cast<std::uint32_t>(year), static_cast<std::uint8_t>(month),
               static_cast<std::uint32_t>(day), static_cast<std::uint32_t>(hour),
               static_cast<std::uint32_t>(minute), static_cast<std::uint32_t>(second))
        .value();
}

Civil civilTime(std::int64_t gps) {
    // One calendar conversion per day is enough; the time of day is plain arithmetic.
    thread_local std::int64_t cachedDay = -1;
    thread_local Civil cached;
    const std::int64_t dayNo = gps / 86400;
    if (dayNo != cachedDay) {
        const text::GPSDate d = text::TGPSTime(static_cast<std::uint32_t>(dayNo * 86400)).ToDate();
        cached.year = d.year;
        cached.month = d.month;
        cached.day = static_cast<int>(d.day);
        const std::int64_t jan1 = gpsSeconds(d.year, 1, 1, 0, 0, 0);
        cached.dayOfYear = static_cast<int>((dayNo * 86400 - jan1) / 86400) + 1;
        cachedDay = dayNo;
    }
    Civil c = cached;
    const auto sod = static_cast<int>(gps % 86400);
    c.hour = sod / 3600;
    c.minute = sod / 60 % 60;
    c.second = sod % 60;
    return c;
}

int leapSeconds(std::int64_t gps) {
    struct Step {
        int year, month, leap;
    };
    static constexpr std::array<Step, 18> kSteps = {{{1981, 7, 1},
                                                     {1982, 7, 2},
                                                     {1983, 7, 3},
                                                     {1985, 7, 4},
                                                     {1988, 1, 5},
                                                     {1990, 1, 6},
                                                     {1991, 1, 7},
                                                     {1992, 7, 8},
                                                     {1993, 7, 9},
                                                     {1994, 7, 10},
                                                     {1996, 1, 11},
                                                     {1997, 7, 12},
                                                     {1999, 1, 13},
                                                     {2006, 1, 14},
                                                     {2009, 1, 15},
                                                     {2012, 7, 16},
                                                     {2015, 7, 17},
                                                     {2017, 1, 18}}};
    int leap = 0;
    for (const Step& s : kSteps)
        if (gps >= gpsSeconds(s.year, s.month, 1, 0, 0, 0) + s.leap)
            leap = s.leap;
    return leap;
}

void appendObsTime(std::string& out, std::int64_t whole, double fraction, bool sixty) {
    const Civil c = civilTime(sixty ? whole - 60 : whole);
    out.push_back(' ');
    appendZeroPadded(out, c.year % 100, 2);
    out.push_back(' ');
    appendInt(out, c.month, 2);
    out.push_back(' ');
    appendInt(out, c.day, 2);
    out.push_back(' ');
    appendInt(out, c.hour, 2);
    out.push_back(' ');
    appendInt(out, c.minute, 2);
    appendFixed(out, (sixty ? 60 : c.second) + fraction, 11, 7);
}

void appendNavTime(std::string& out, std::int64_t whole) {
    const Civil c = civilTime(whole);
    out.push_back(' ');
    appendZeroPadded(out, c.year % 100, 2);
    out.push_back(' ');
    appendInt(out, c.month, 2);
    out.push_back(' ');
    appendInt(out, c.day, 2);
    out.push_back(' ');
    appendInt(out, c.hour, 2);
    out.push_back(' ');
    appendInt(out, c.minute, 2);
    appendFixed(out, c.second, 5, 1);
}

FileSink::~FileSink() {
    if (m_file != nullptr)
        std::fclose(m_file);
}

bool FileSink::open(const std::string& path) {
    m_file = std::fopen(path.c_str(), "wb");
    m_ok = m_file != nullptr;
    buf.clear();
    buf.reserve(1 << 23);
    return m_ok;
}

bool FileSink::flushIfLarge() {
    if (buf.size() < (1u << 22))
        return m_ok;
    if (m_file == nullptr || std::fwrite(buf.data(), 1, buf.size(), m_file) != buf.size())
        m_ok = false;
    written += buf.size();
    buf.clear();
    return m_ok;
}

bool FileSink::close() {
    if (m_file == nullptr)
        return false;
    if (std::fwrite(buf.data(), 1, buf.size(), m_file) != buf.size())
        m_ok = false;
    written += buf.size();
    buf.clear();
    if (std::fclose(m_file) != 0)
        m_ok = false;
    m_file = nullptr;
    return m_ok;
}

} // namespace gen
