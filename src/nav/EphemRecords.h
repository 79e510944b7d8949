#pragma once

#include "header/SatSystems.h"
#include "text/GPSTime.h"
#include "text/ScanObserver.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace nav {

// The four ephemeris record files: little-endian records of fixed size, no file header, in the
// order in which the ephemerides end in the navigation file. Angles in semicircles are the
// file's radians divided by pi. Padding and reserved bytes are zero.

inline constexpr std::size_t kEphemGPSSize = 184;
inline constexpr std::size_t kEphemGLOSize = 128;
inline constexpr std::size_t kEphemGEOSize = 128;
inline constexpr std::size_t kEphemGALSize = 208;

/// The satellite systems of the four files, with their satellite numbers and file names.
inline constexpr header::SatSystemFacts kGPSNumbers = header::facts(header::SatSystem::GPS);
inline constexpr header::SatSystemFacts kGLONumbers = header::facts(header::SatSystem::GLONASS);
inline constexpr header::SatSystemFacts kGEONumbers = header::facts(header::SatSystem::GEO);
inline constexpr header::SatSystemFacts kGALNumbers = header::facts(header::SatSystem::Galileo);

inline constexpr std::string_view kEphemGPSFile = kGPSNumbers.recordFile; // "EphemGPSRecs.dat"
inline constexpr std::string_view kEphemGLOFile = kGLONumbers.recordFile;
inline constexpr std::string_view kEphemGEOFile = kGEONumbers.recordFile;
inline constexpr std::string_view kEphemGALFile = kGALNumbers.recordFile;

/// A GPS ephemeris (EphemGPSRecs.dat, 184 bytes).
struct TEphemGPSRec {
    std::int32_t prn = 0;     // 0
    text::TEpochTime epoch;   // 8: epoch of clock as written (two-digit year)
    std::uint8_t prnByte = 0; // 48: low byte of the PRN
    std::int32_t tocCopy = 0; // 52: toc, seconds of the GPS week
    std::uint8_t flags = 0;   // 56: bit 0 fit interval (0), bit 1 L2 P flag, bits 2-3 L2 codes
    std::int16_t iodc = 0;    // 58
    std::int32_t toc = 0;     // 60: seconds of the GPS week
    std::int32_t ura = 0;     // 64: metres
    std::uint8_t health = 0;  // 68: 1 also when the week check failed
    std::int16_t week = 0;    // 70: after the week check
    float tgd = 0;            // 72: s
    float af2 = 0;            // 76: s/s2
    float af1 = 0;            // 80: s/s
    float af0 = 0;            // 84: s
    std::int32_t toe = 0;     // 88: seconds of the GPS week
    std::int16_t iode = 0;    // 92
    double sqrtA = 0;         // 96: m^0.5
    double e = 0;             // 104
    double m0 = 0;            // 112: semicircles
    double omega0 = 0;        // 120: semicircles
    double i0 = 0;            // 128: semicircles
    double omega = 0;         // 136: semicircles
    float deltaN = 0;         // 144: semicircles/s
    float omegaDot = 0;       // 148: semicircles/s
    float idot = 0;           // 152: semicircles/s
    float crc = 0;            // 156: m
    float crs = 0;            // 160: m
    float cuc = 0;            // 164: rad
    float cus = 0;            // 168: rad
    float cic = 0;            // 172: rad
    float cis = 0;            // 176: rad; 180-183 padding

    friend bool operator==(const TEphemGPSRec&, const TEphemGPSRec&) = default;
};

/// A Galileo ephemeris (EphemGALRecs.dat, 208 bytes); the GPS layout where the fields agree.
struct TEphemGALRec {
    std::int32_t prn = 0;              // 0
    text::TEpochTime epoch;            // 8
    std::uint8_t prnByte = 0;          // 48
    std::int32_t transmissionTime = 0; // 52: seconds (rounded)
    std::uint8_t dataSources = 0;      // 56; 58-59 reserved
    std::int32_t toc = 0;              // 60: seconds of the week
    float sisa = 0;                    // 64: metres
    std::uint8_t health = 0;           // 68: 1 also when the week check failed
    std::int16_t week = 0;             // 70: after the week check; 72-75 reserved
    float af2 = 0;                     // 76
    float af1 = 0;                     // 80
    float af0 = 0;                     // 84
    std::int32_t toe = 0;              // 88
    std::int16_t iodNav = 0;           // 92
    double sqrtA = 0;                  // 96
    double e = 0;                      // 104
    double m0 = 0;                     // 112: semicircles
    double omega0 = 0;                 // 120: semicircles
    double i0 = 0;                     // 128: semicircles
    double omega = 0;                  // 136: semicircles
    float deltaN = 0;                  // 144: semicircles/s
    float omegaDot = 0;                // 148: semicircles/s
    float idot = 0;                    // 152: semicircles/s
    float crc = 0;                     // 156
    float crs = 0;                     // 160
    float cuc = 0;                     // 164
    float cus = 0;                     // 168
    float cic = 0;                     // 172
    float cis = 0;                     // 176
    float bgdE5a = 0;                  // 180: BGD E5a/E1, s
    float bgdE5b = 0;                  // 184: BGD E5b/E1, s; 188-207 reserved

    friend bool operator==(const TEphemGALRec&, const TEphemGALRec&) = default;
};

/// A GLONASS ephemeris (EphemGLORecs.dat, 128 bytes).
struct TEphemGLORec {
    std::int32_t slot = 0;         // 0
    text::TEpochTime epoch;        // 8: UTC, as written
    std::uint8_t slotByte = 0;     // 48
    std::int8_t frequency = 0;     // 49: frequency channel number
    std::int16_t dayNumber = 0;    // 50: day within the four-year interval
    std::int32_t tk = 0;           // 52: message frame time, seconds of the day
    std::int32_t epochSeconds = 0; // 56: seconds of the day, fraction dropped
    std::uint8_t health = 0;       // 60
    std::uint8_t age = 0;          // 61: days; 62 reserved, 63 padding
    double x = 0, y = 0, z = 0;    // 64, 72, 80: km
    float vx = 0, vy = 0, vz = 0;  // 88, 92, 96: km/s
    float ax = 0, ay = 0, az = 0;  // 100, 104, 108: km/s2
    double corrToSystemTime = 0;   // 112: the header's correction, negated
    float tauN = 0;                // 120: s, the epoch line's clock bias negated
    float gammaN = 0;              // 124

    friend bool operator==(const TEphemGLORec&, const TEphemGLORec&) = default;
};

/// A GEO/SBAS ephemeris (EphemGEORecs.dat, 128 bytes).
struct TEphemGEORec {
    std::int32_t prn100 = 0;           // 0: satellite number + 100 (120..158)
    std::int32_t prn = 0;              // 4: satellite number as written (20..58), the key
    std::int32_t ordinal = 0;          // 8: 1, 2, ... among the records of its satellite
    text::TEpochTime epoch;            // 16
    std::uint8_t prn100Byte = 0;       // 56
    std::uint8_t prnByte = 0;          // 57
    std::uint8_t iodn = 0;             // 58: not read from the file
    std::uint8_t ura = 0;              // 59
    std::int32_t epochSeconds = 0;     // 60: seconds of the day, seconds rounded
    double x = 0, y = 0, z = 0;        // 64, 72, 80: km
    float vx = 0, vy = 0, vz = 0;      // 88, 92, 96: km/s
    float ax = 0, ay = 0, az = 0;      // 100, 104, 108: km/s2
    float aGf0 = 0;                    // 112: s
    float aGf1 = 0;                    // 116: s/s
    std::int32_t transmissionTime = 0; // 120: seconds of the GPS week
    std::int16_t week = 0;             // 124: GPS week modulo 1024
    std::uint8_t health = 0;           // 126; 127 padding

    friend bool operator==(const TEphemGEORec&, const TEphemGEORec&) = default;
};

std::array<std::byte, kEphemGPSSize> encode(const TEphemGPSRec& r) noexcept;
std::array<std::byte, kEphemGALSize> encode(const TEphemGALRec& r) noexcept;
std::array<std::byte, kEphemGLOSize> encode(const TEphemGLORec& r) noexcept;
std::array<std::byte, kEphemGEOSize> encode(const TEphemGEORec& r) noexcept;

TEphemGPSRec decodeEphemGPS(std::span<const std::byte> bytes) noexcept;
TEphemGALRec decodeEphemGAL(std::span<const std::byte> bytes) noexcept;
TEphemGLORec decodeEphemGLO(std::span<const std::byte> bytes) noexcept;
TEphemGEORec decodeEphemGEO(std::span<const std::byte> bytes) noexcept;

/// The n-th record (n >= 1, in file order) whose key is satellite s: the PRN or slot at offset
/// 0, for GEO the number as written at offset 4. Every call reads the file again from its
/// start. A file that cannot be opened is told through observer.notice ("Error Opening File
/// EphemGPSRecs.dat ! ") and gives false; fewer than n records of s give false silently.
bool FindEphemeris(const std::filesystem::path& file, std::int32_t s, std::int32_t n,
                   TEphemGPSRec& record, text::ScanObserver& observer);
bool FindEphemeris(const std::filesystem::path& file, std::int32_t s, std::int32_t n,
                   TEphemGLORec& record, text::ScanObserver& observer);
bool FindEphemeris(const std::filesystem::path& file, std::int32_t s, std::int32_t n,
                   TEphemGEORec& record, text::ScanObserver& observer);
bool FindEphemeris(const std::filesystem::path& file, std::int32_t s, std::int32_t n,
                   TEphemGALRec& record, text::ScanObserver& observer);

} // namespace nav
