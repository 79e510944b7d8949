#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace header {

/// One observation type of RINEX 2.11: its two-letter name, what it measures and its band.
/// The kind is 'C' or 'P' (pseudorange, metres), 'L' (carrier phase, cycles), 'D' (Doppler,
/// Hz) or 'S' (signal strength, dB-Hz); the band is the frequency number 1, 2, 5, 6, 7 or 8.
struct ObsTypeFacts {
    std::string_view name;
    char kind;
    std::uint8_t band;
};

inline constexpr std::size_t kMaxTypes = 26; // observation types the program knows

/// The type codes: the position in this table. Codes 0-13 are the types of RINEX 2.10 ("C1"
/// ... "S5"); 14-25 add the bands 6, 7 and 8 of RINEX 2.11.
inline constexpr std::array<ObsTypeFacts, kMaxTypes> kObsTypes = {{
    {"C1", 'C', 1}, {"C2", 'C', 2}, {"C5", 'C', 5}, {"P1", 'P', 1}, {"P2", 'P', 2}, {"L1", 'L', 1},
    {"L2", 'L', 2}, {"L5", 'L', 5}, {"D1", 'D', 1}, {"D2", 'D', 2}, {"D5", 'D', 5}, {"S1", 'S', 1},
    {"S2", 'S', 2}, {"S5", 'S', 5}, {"C6", 'C', 6}, {"C7", 'C', 7}, {"C8", 'C', 8}, {"L6", 'L', 6},
    {"L7", 'L', 7}, {"L8", 'L', 8}, {"D6", 'D', 6}, {"D7", 'D', 7}, {"D8", 'D', 8}, {"S6", 'S', 6},
    {"S7", 'S', 7}, {"S8", 'S', 8},
}};
/// The code of an unused entry of a type list.
inline constexpr std::uint8_t kNoType = static_cast<std::uint8_t>(kMaxTypes);

/// The type names in code order.
inline constexpr std::array<std::string_view, kMaxTypes> kObsTypeNames = [] {
    std::array<std::string_view, kMaxTypes> names{};
    for (std::size_t i = 0; i < kMaxTypes; ++i)
        names[i] = kObsTypes[i].name;
    return names;
}();

/// Tables of types (summary, indicators, type choices) have a row per kind and a column per
/// band, in these orders.
inline constexpr std::string_view kObsKinds = "CPLDS";
inline constexpr std::array<std::uint8_t, 6> kObsBands = {1, 2, 5, 6, 7, 8};

constexpr std::size_t kindRow(std::size_t code) noexcept {
    return kObsKinds.find(kObsTypes[code].kind);
}
constexpr std::size_t bandColumn(std::size_t code) noexcept {
    for (std::size_t c = 0; c < kObsBands.size(); ++c)
        if (kObsBands[c] == kObsTypes[code].band)
            return c;
    return kObsBands.size();
}

/// The unit of a type's values as shown after its name: "[m]", "[cycles]", "[Hz]", "[dB*Hz]".
constexpr std::string_view unitOf(std::size_t code) noexcept {
    switch (kObsTypes[code].kind) {
    case 'L':
        return "[cycles]";
    case 'D':
        return "[Hz]";
    case 'S':
        return "[dB*Hz]";
    default:
        return "[m]";
    }
}

/// Pseudoranges and phases carry a signal strength digit worth charting.
constexpr bool hasStrength(std::size_t code) noexcept {
    const char kind = kObsTypes[code].kind;
    return kind == 'C' || kind == 'P' || kind == 'L';
}

/// The code of an observation type text ("C1" ... "S8"), or none.
std::optional<std::uint8_t> ObsTypeCode(std::string_view text) noexcept;

} // namespace header
