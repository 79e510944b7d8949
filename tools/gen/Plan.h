#pragma once

#include "tools/gen/Generator.h"
#include "tools/gen/Options.h"
#include "tools/gen/Sky.h"

#include <cstdint>
#include <string>
#include <vector>

namespace gen {

/// Everything the writers of one file set share: the options, the station, the sky, the time
/// span and which satellites the receiver saw when.
struct Plan {
    GenOptions options;
    Station station;
    std::vector<Satellite> sky;
    std::int64_t start = 0;   // GPS seconds of the first epoch slot
    std::int64_t end = 0;     // GPS seconds after the last epoch slot
    std::int64_t refTime = 0; // start rounded down to two hours: the first ephemeris time
    int leap = 0;             // GPS - UTC, s
    std::string runDate;      // "yyyymmdd hhmmss UTC" of the end of the data
    // seen[sat][bin]: the satellite was observed near the ephemeris time of the bin.
    std::vector<std::vector<char>> seenLong;  // two-hour ephemerides (GPS, Galileo)
    std::vector<std::vector<char>> seenShort; // half-hour ephemerides (GLONASS, SBAS)

    /// Bin of the two-hourly ephemeris nearest to t, and its time.
    int longBin(double t) const;
    double longTime(int bin) const;
    /// Bin of the half-hourly ephemeris nearest to t (GLONASS at 15 and 45 minutes UTC, SBAS
    /// at 0 and 30 minutes GPS time), and its GPS time.
    int shortBin(System s, double t) const;
    double shortTime(System s, int bin) const;
    int longBins() const;
    int shortBins() const;
};

/// The PGM / RUN BY / DATE line shared by all files.
void appendProgramLine(std::string& out, const Plan& plan);

bool writeNavigationFiles(const Plan& plan, const std::string& stem, GenResult& result,
                          std::string& error);
bool writeMeteoFile(const Plan& plan, const std::string& stem, GenResult& result,
                    std::string& error);

} // namespace gen
