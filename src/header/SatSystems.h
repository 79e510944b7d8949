#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace header {

/// The satellite systems of RINEX 2, in the order the program lists them everywhere: summary
/// lists, indicators, satellite groups, ephemeris button groups, reports.
enum class SatSystem : std::uint8_t { GPS = 0, GLONASS = 1, GEO = 2, Galileo = 3 };
inline constexpr std::size_t kSatSystemCount = 4;

/// What the program knows of one satellite system. Numbers are the two-digit satellite numbers
/// of the files (Gnn, Rnn, Snn, Enn); an SBAS number is its PRN less 100 (S20 is PRN 120).
struct SatSystemFacts {
    SatSystem system;
    char letter;                   // in satellite codes: 'G', 'R', 'S', 'E'
    std::string_view name;         // "GPS", "GLONASS", "GEO", "Galileo"
    std::string_view shortName;    // "GPS", "GLO", "GEO", "GAL": captions, report keys
    std::int32_t firstNumber;      // numbers accepted in epoch lines
    std::int32_t lastNumber;       //   and counted, stored, listed and shown
    std::int32_t firstItem;        // the first number with a button or a group item (GEO 20);
                                   //   GEO navigation files start there too
    char navLetter;                // last letter of its navigation file: N, G, H, L
    std::string_view recordFile;   // its ephemeris record file
    std::string_view buttonPrefix; // the ephemerides view's buttons: RBG1 ... RBE36
};

/// GPS 1-32 and GLONASS slots 1-24; SBAS up to S58 (PRN 158: SDCM and BDSBAS use 140-144);
/// Galileo E01-E36.
inline constexpr std::array<SatSystemFacts, kSatSystemCount> kSatSystems = {{
    {SatSystem::GPS, 'G', "GPS", "GPS", 1, 32, 1, 'N', "EphemGPSRecs.dat", "RBG"},
    {SatSystem::GLONASS, 'R', "GLONASS", "GLO", 1, 24, 1, 'G', "EphemGLORecs.dat", "RBR"},
    {SatSystem::GEO, 'S', "GEO", "GEO", 1, 58, 20, 'H', "EphemGEORecs.dat", "RBS"},
    {SatSystem::Galileo, 'E', "Galileo", "GAL", 1, 36, 1, 'L', "EphemGALRecs.dat", "RBE"},
}};

/// The largest satellite number of any system: tables indexed by number have this + 1 slots.
inline constexpr std::int32_t kMaxSatNumber =
    std::max({kSatSystems[0].lastNumber, kSatSystems[1].lastNumber, kSatSystems[2].lastNumber,
              kSatSystems[3].lastNumber});
inline constexpr std::size_t kSatNumberSlots = static_cast<std::size_t>(kMaxSatNumber) + 1;

constexpr const SatSystemFacts& facts(SatSystem system) noexcept {
    return kSatSystems[static_cast<std::size_t>(system)];
}

/// The system of a satellite code's letter (upper case); a blank counts as GPS. None for any
/// other letter, which the program keeps without a range check.
constexpr std::optional<SatSystem> systemOfLetter(char letter) noexcept {
    if (letter == ' ')
        return SatSystem::GPS;
    for (const SatSystemFacts& f : kSatSystems)
        if (f.letter == letter)
            return f.system;
    return std::nullopt;
}

/// True for the numbers a system's satellites carry in observation files.
constexpr bool numberInRange(SatSystem system, std::int32_t number) noexcept {
    return number >= facts(system).firstNumber && number <= facts(system).lastNumber;
}

/// The buttons or group items of a system: numbers firstItem to lastNumber.
constexpr std::int32_t itemCount(SatSystem system) noexcept {
    return facts(system).lastNumber - facts(system).firstItem + 1;
}

} // namespace header
