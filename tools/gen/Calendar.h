#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace gen {

/// A calendar time of day with whole seconds.
struct Civil {
    int year = 1980, month = 1, day = 6, hour = 0, minute = 0, second = 0;
    int dayOfYear = 1;
};

/// GPS seconds since 1980-01-06 of a calendar time (0 for a date the count cannot hold).
std::int64_t gpsSeconds(int year, int month, int day, int hour, int minute, int second);

/// The calendar time of a GPS second count.
Civil civilTime(std::int64_t gps);

/// GPS minus UTC in seconds at a GPS time (the leap seconds since 1980).
int leapSeconds(std::int64_t gps);

/// Appends " yy mm dd hh mm" and the seconds as F11.7 (an epoch or event time of an
/// observation file); `sixty` writes a full minute as 60 seconds of the minute before.
void appendObsTime(std::string& out, std::int64_t whole, double fraction, bool sixty);

/// Appends the I2 (year I2.2) date and time words and F5.1 seconds of a navigation record.
void appendNavTime(std::string& out, std::int64_t whole);

/// A buffered output file written with large blocks.
class FileSink {
public:
    FileSink() = default;
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;
    ~FileSink();

    bool open(const std::string& path);
    /// Writes the buffer when it is large; false once any write failed.
    bool flushIfLarge();
    /// Writes what is left and closes; false when anything could not be written.
    bool close();

    std::string buf;
    std::uint64_t written = 0;

private:
    std::FILE* m_file = nullptr;
    bool m_ok = true;
};

} // namespace gen
