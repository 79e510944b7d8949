#pragma once

#include "text/GPSTime.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace obs {

inline constexpr std::size_t kOccupationSize = 64;
inline constexpr std::size_t kEpochRecSize = 640;
inline constexpr std::size_t kObsRecSize = 16;
inline constexpr std::size_t kEventRecSize = 48;
inline constexpr std::size_t kExtEventRecSize = 48;

/// Satellite entries an epoch record has room for.
inline constexpr std::size_t kEpochSatSlots = 60;

/// The site in use, copied into every epoch record.
struct TOccupation {
    std::string markerName;   // first 20 characters of the latest MARKER NAME
    std::string markerNumber; // latest MARKER NUMBER (20 characters kept)
    long double antennaHeight = 0;
    bool isStatic = true; // false after an event "start moving antenna"

    friend bool operator==(const TOccupation&, const TOccupation&) = default;
};

/// One satellite of an epoch's list: the system letter as written (a blank stays a blank) and
/// the number. Unused entries hold "#" and 0.
struct EpochSat {
    char system = '#';
    std::int32_t prn = 0;
    friend bool operator==(const EpochSat&, const EpochSat&) = default;
};

/// One accepted epoch of RinexEpochs.dat.
struct TEpochRec {
    text::TEpochTime time;
    std::int32_t flag = 0;     // epoch flag, -1 when unreadable
    std::int32_t satCount = 0; // satellites of the epoch line
    std::int32_t countR = 0;   // entries with system "R"
    std::int32_t countS = 0;   // entries with system "S"
    std::int32_t countE = 0;   // entries with system "E"
    std::array<EpochSat, kEpochSatSlots> sats{};
    long double clockOffset = 0; // seconds; 0 when blank or invalid
    TOccupation occupation;
    std::string clockText = std::string(12, ' '); // columns 69-80 as they stand

    friend bool operator==(const TEpochRec&, const TEpochRec&) = default;
};

/// One observation value of ObsRecs.dat; a missing observation is value 0 with indicators 0.
struct TObsRec {
    long double value = 0;
    std::uint8_t lli = 0;      // loss-of-lock indicator 0-7
    std::uint8_t strength = 0; // signal strength 0-9

    friend bool operator==(const TObsRec&, const TObsRec&) = default;
};

/// An event with flag 2 (start moving antenna) or 3 (new site occupation) of EventRecs.dat.
struct TEventRec {
    text::TEpochTime time;
    std::int32_t flag = 0;
    std::int32_t records = 0; // header records that followed the event line

    friend bool operator==(const TEventRec&, const TEventRec&) = default;
};

/// An external event (flag 5) of ExtEventRecsXA.dat or ExtEventRecsXB.dat.
struct TExtEventRec {
    text::TEpochTime time;
    bool inputA = true; // false: input B

    friend bool operator==(const TExtEventRec&, const TExtEventRec&) = default;
};

std::array<std::byte, kOccupationSize> encode(const TOccupation& o) noexcept;
std::array<std::byte, kEpochRecSize> encode(const TEpochRec& r) noexcept;
std::array<std::byte, kObsRecSize> encode(const TObsRec& r) noexcept;
std::array<std::byte, kEventRecSize> encode(const TEventRec& r) noexcept;
std::array<std::byte, kExtEventRecSize> encode(const TExtEventRec& r) noexcept;

/// Decoders read the record at the start of bytes; a short span reads missing fields as zero.
TOccupation decodeOccupation(std::span<const std::byte> bytes);
TEpochRec decodeEpochRec(std::span<const std::byte> bytes);
TObsRec decodeObsRec(std::span<const std::byte> bytes) noexcept;
TEventRec decodeEventRec(std::span<const std::byte> bytes) noexcept;
TExtEventRec decodeExtEventRec(std::span<const std::byte> bytes) noexcept;

} // namespace obs
