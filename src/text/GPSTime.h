#pragma once

#include <cstdint>

namespace text {

/// The calendar time that opens every epoch, event, ephemeris and meteo record. The year holds
/// two digits while a line is being checked and four once the scanner expanded it.
struct TEpochTime {
    std::int32_t year = 0;
    std::int32_t month = 1;  // 1-12
    std::int32_t day = 1;    // 1-31
    std::int32_t hour = 0;   // 0-23
    std::int32_t minute = 0; // 0-59
    long double seconds = 0; // 0 to below 60

    friend bool operator==(const TEpochTime&, const TEpochTime&) = default;
};

/// Two-digit RINEX years: 81-99 become 1981-1999, 0-80 become 2000-2080; larger values stay.
constexpr std::int32_t ExpandYear(std::int32_t y) noexcept {
    if (y >= 100)
        return y;
    return y > 80 ? 1900 + y : 2000 + y;
}

constexpr bool IsLeapYear(std::int64_t year) noexcept {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

/// Advances by one minute with the carries into hour, day, month and year; a day already out
/// of range for its month passes through unchanged.
void AddMinute(TEpochTime& t) noexcept;

/// One second in the shared date-time type (days since 1899-12-30 in a double).
inline constexpr double OneSecond = 1.0 / 86400.0;

/// 360 for 1980 (the count starts on the 6th of January), 366 for leap years, else 365.
std::uint32_t DaysInYear(std::uint32_t year) noexcept;
/// 25 for January 1980, 29 for February of a leap year, else the table value (0 for month 0).
std::uint32_t DaysInMonth(std::uint32_t year, std::uint8_t month) noexcept;

/// A GPS week already extended past the 1024-week rollover: weeks below 512 gain 1024.
class TGPSWeek {
public:
    explicit constexpr TGPSWeek(std::int32_t week) noexcept
        : m_week(week < 512 ? week + 1024 : week) {}
    constexpr std::int32_t value() const noexcept { return m_week; }

private:
    std::int32_t m_week;
};

struct GPSDate {
    std::int32_t year = 1980;
    std::uint8_t month = 1;
    std::uint32_t day = 6;
    std::uint8_t dayOfWeek = 0; // 0 = Sunday
};

/// GPS time as an unsigned count of seconds since 1980-01-06 00:00:00; no leap seconds.
/// The count wraps past 2^32 - 1 seconds in early 2116.
class TGPSTime {
public:
    explicit constexpr TGPSTime(std::uint32_t seconds = 0) noexcept : m_value(seconds) {}

    /// Value 0 for an invalid date (before 1980-01-06, after 2116, month, day, hour, minute
    /// or second out of range).
    static TGPSTime fromDate(std::uint32_t year, std::uint8_t month, std::uint32_t day,
                             std::uint32_t hour, std::uint32_t minute,
                             std::uint32_t second) noexcept;

    constexpr std::uint32_t value() const noexcept { return m_value; }
    std::uint32_t SecondsOfWeek() const noexcept { return m_value % 604800u; }
    TGPSWeek Week() const noexcept {
        return TGPSWeek(static_cast<std::int32_t>(m_value / 604800u));
    }
    std::uint32_t Week10() const noexcept { return (m_value / 604800u) % 1024u; }
    GPSDate ToDate() const noexcept;
    std::uint8_t DayOfWeekAfter(std::int32_t minutes) const noexcept;
    std::int32_t DayNumber() const noexcept;

private:
    std::uint32_t m_value;
};

/// Date-time day counts: days since 1899-12-30, the fraction being the time of day.
double EncodeDate(std::int32_t year, std::int32_t month, std::int32_t day) noexcept;
double EncodeTime(std::int32_t hour, std::int32_t minute, std::int32_t second,
                  std::int32_t millisecond) noexcept;

struct DateTimeParts {
    std::int32_t year = 1899;
    std::int32_t month = 12;
    std::int32_t day = 30;
    std::int32_t hour = 0;
    std::int32_t minute = 0;
    std::int32_t second = 0;
    std::int32_t millisecond = 0;
};

/// Splits a day count into calendar date and time of day, rounded to the millisecond; a time
/// of day that rounds to 24:00:00.000 carries into the next day.
DateTimeParts DecodeDateTime(double dayCount) noexcept;

} // namespace text
