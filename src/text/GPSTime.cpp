#include "text/GPSTime.h"

#include <array>
#include <cmath>

namespace text {

namespace {

constexpr std::uint32_t kSecondsPerDay = 86400;
constexpr std::array<std::uint32_t, 13> kDaysPerMonth = {0,  31, 28, 31, 30, 31, 30,
                                                         31, 31, 30, 31, 30, 31};

// Days from 1970-01-01 to a proleptic Gregorian date.
constexpr std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) noexcept {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct Civil {
    std::int64_t y;
    unsigned m;
    unsigned d;
};

constexpr Civil civilFromDays(std::int64_t z) noexcept {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {y + (m <= 2), m, d};
}

constexpr std::int64_t kDelphiEpoch = daysFromCivil(1899, 12, 30);

} // namespace

void AddMinute(TEpochTime& t) noexcept {
    t.minute += 1;
    if (t.minute < 60)
        return;
    t.minute %= 60;
    t.hour += 1;
    if (t.hour < 24)
        return;
    t.hour %= 24;
    t.day += 1;
    const bool leap = IsLeapYear(t.year);
    auto next = [&t](std::int32_t month, std::int32_t dayPast) {
        if (t.month == month && t.day == dayPast) {
            t.day = 1;
            t.month += 1;
        }
    };
    next(1, 32);
    if (t.month == 2 && t.day == (leap ? 30 : 29)) {
        t.day = 1;
        t.month = 3;
    }
    next(3, 32);
    next(4, 31);
    next(5, 32);
    next(6, 31);
    next(7, 32);
    next(8, 32);
    next(9, 31);
    next(10, 32);
    next(11, 31);
    if (t.month == 12 && t.day == 32) {
        t.day = 1;
        t.month = 1;
        t.year += 1;
    }
}

std::uint32_t DaysInYear(std::uint32_t year) noexcept {
    if (year == 1980)
        return 360;
    return IsLeapYear(year) ? 366 : 365;
}

std::uint32_t DaysInMonth(std::uint32_t year, std::uint8_t month) noexcept {
    if (month > 12)
        return 0;
    if (year == 1980 && month == 1)
        return 25;
    if (month == 2 && IsLeapYear(year))
        return 29;
    return kDaysPerMonth[month];
}

TGPSTime TGPSTime::fromDate(std::uint32_t year, std::uint8_t month, std::uint32_t day,
                            std::uint32_t hour, std::uint32_t minute,
                            std::uint32_t second) noexcept {
    if (year < 1980 || year > 2116 || month < 1 || month > 12 || day == 0 || day > 31)
        return TGPSTime(0);
    const bool january1980 = year == 1980 && month == 1;
    if (day > DaysInMonth(year, month) + (january1980 ? 6u : 0u))
        return TGPSTime(0);
    if (january1980 && day < 6)
        return TGPSTime(0);
    if (hour > 23 || minute > 59 || second > 59)
        return TGPSTime(0);
    std::uint32_t days = 0;
    for (std::uint32_t y = 1980; y < year; ++y)
        days += DaysInYear(y);
    for (std::uint8_t m = 1; m < month; ++m)
        days += DaysInMonth(year, m);
    days += day;
    if (january1980)
        days -= 6;
    return TGPSTime(days * kSecondsPerDay + hour * 3600u + minute * 60u + second);
}

GPSDate TGPSTime::ToDate() const noexcept {
    std::uint32_t a = m_value / kSecondsPerDay;
    GPSDate date;
    date.dayOfWeek = static_cast<std::uint8_t>(a % 7);
    std::int32_t year = 1980;
    while (a > DaysInYear(static_cast<std::uint32_t>(year))) {
        a -= DaysInYear(static_cast<std::uint32_t>(year));
        ++year;
    }
    std::uint8_t month = 1;
    while (month <= 12 && DaysInMonth(static_cast<std::uint32_t>(year), month) < a) {
        a -= DaysInMonth(static_cast<std::uint32_t>(year), month);
        ++month;
    }
    date.year = year;
    date.month = month;
    date.day = (year == 1980 && month == 1) ? a + 6 : a;
    return date;
}

std::uint8_t TGPSTime::DayOfWeekAfter(std::int32_t minutes) const noexcept {
    const std::uint32_t shifted = m_value + static_cast<std::uint32_t>(minutes) * 60u;
    return static_cast<std::uint8_t>((shifted / kSecondsPerDay) % 7);
}

std::int32_t TGPSTime::DayNumber() const noexcept {
    return DayOfWeekAfter(0) + Week().value() * 7;
}

double EncodeDate(std::int32_t year, std::int32_t month, std::int32_t day) noexcept {
    return static_cast<double>(
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
        kDelphiEpoch);
}

double EncodeTime(std::int32_t hour, std::int32_t minute, std::int32_t second,
                  std::int32_t millisecond) noexcept {
    const double ms = ((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond;
    return ms / 86400000.0;
}

DateTimeParts DecodeDateTime(double dayCount) noexcept {
    DateTimeParts parts;
    if (!std::isfinite(dayCount))
        return parts;
    const long double totalMs = std::round(static_cast<long double>(dayCount) * 86400000.0L);
    const std::int64_t ms = static_cast<std::int64_t>(totalMs);
    std::int64_t days = ms / 86400000;
    std::int64_t msOfDay = ms % 86400000;
    if (msOfDay < 0) {
        msOfDay += 86400000;
        days -= 1;
    }
    const Civil c = civilFromDays(days + kDelphiEpoch);
    parts.year = static_cast<std::int32_t>(c.y);
    parts.month = static_cast<std::int32_t>(c.m);
    parts.day = static_cast<std::int32_t>(c.d);
    parts.hour = static_cast<std::int32_t>(msOfDay / 3600000);
    parts.minute = static_cast<std::int32_t>(msOfDay / 60000 % 60);
    parts.second = static_cast<std::int32_t>(msOfDay / 1000 % 60);
    parts.millisecond = static_cast<std::int32_t>(msOfDay % 1000);
    return parts;
}

} // namespace text
