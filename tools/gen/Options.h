#pragma once

#include "header/ObsTypes.h"
#include "header/SatSystems.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace gen {

/// The satellite systems in the order their satellites are listed: GPS, GLONASS, SBAS, Galileo
/// (the order of header::kSatSystems).
enum class System { Gps, Glonass, Sbas, Galileo };
inline constexpr std::array<System, 4> kSystems = {System::Gps, System::Glonass, System::Sbas,
                                                   System::Galileo};
char systemLetter(System s);
int systemIndex(System s);
/// The satellites a system can have in a file set: GPS 32, GLONASS 24, SBAS 39 (S20-S58),
/// Galileo 36.
int maxSatellites(System s);

/// The kinds of deliberately malformed lines.
enum class BadKind {
    Long,  // an observation line longer than 80 characters
    Value, // an observation value not in F14.3
    Lli,   // a loss-of-lock indicator of 8
    Prn,   // a satellite number beyond its system's range in an epoch line (G33)
    Label, // a MARKER NUMBER line between two epochs without an event
    Nav,   // a navigation field with an exponent letter other than D or E
    Meteo, // a meteo value with two decimals in an F7.1 field
};
inline constexpr int kBadKinds = 7;

struct TimeSpan {
    std::int64_t at = -1; // seconds after the start, -1 when not asked for
    std::int64_t length = 0;
};

struct GenOptions {
    std::string outDir = ".";
    std::string site = "quil";
    // Start of the data: calendar time in GPS time.
    int year = 2026, month = 12, day = 9, hour = 0, minute = 0, second = 0;
    std::int64_t duration = 86400; // s
    int interval = 30;             // s, 1-30
    std::array<bool, 4> systems = {true, true, true, true};
    // Constellation size per system; the defaults add up to the 60 satellites that the
    // program's header record keeps.
    std::array<int, 4> satellites = {31, 22, 2, 5};
    std::vector<int> types; // type codes of header::kObsTypes in file order
    std::uint64_t seed = 1;
    double mask = 10;          // elevation mask, degrees
    int meteoInterval = 300;   // s, a multiple of the interval
    TimeSpan gap;              // no epochs in [at, at + length)
    TimeSpan occupation;       // flag 3 event at `at`
    TimeSpan moving;           // flag 2 at `at`, kinematic for `length`, then flag 3
    int externalEvents = 0;    // flag 5 events spread over the data
    std::int64_t sixtyAt = -1; // first full-minute epoch from here written with 60 seconds
    std::array<int, kBadKinds> bad = {};
    /// How the set is written: "" plain; "crx" the observation file as compact RINEX (.yyd);
    /// "gz" or "Z" every file compressed; "crx.gz" or "crx.Z" both.
    std::string compress;
    std::string truthFile; // side file of the geometry, errors and slips put in; "" for none
};

/// Reads the command line (without the program name). False with a message for the user on
/// any unknown option or value out of range; `help` is set by -h/--help.
bool parseOptions(const std::vector<std::string>& args, GenOptions& options, bool& help,
                  std::string& error);

/// The option summary printed by --help.
std::string usageText();

} // namespace gen
