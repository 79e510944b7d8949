#pragma once

#include "header/ObsTypes.h"
#include "text/GPSTime.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace header {

inline constexpr std::size_t kMaxSatellites = 60; // entries of a header satellite table
inline constexpr std::size_t kMaxMeteoEntries = 100;

/// A satellite of a header table: system letter (a string[1]) and PRN. A cleared entry holds
/// the character code 0.
struct SatEntry {
    char system = '\0';
    std::int32_t prn = 0;
    friend bool operator==(const SatEntry&, const SatEntry&) = default;
};

/// What an observation file's header says.
struct THeaderData {
    std::string version;
    std::uint8_t satelliteSystem = 0; // 0 GPS, 1 GLONASS, 2 mixed, 3 GEO, 4 Galileo
    std::string program, runBy, date;
    std::string markerName, markerNumber;
    std::string observer, agency;
    std::string receiverNumber, receiverType, receiverVersion;
    std::string antennaNumber, antennaType;
    long double approxX = 0, approxY = 0, approxZ = 0;    // metres
    long double antennaH = 0, antennaE = 0, antennaN = 0; // metres
    std::int32_t wavelengthL1 = 0, wavelengthL2 = 0;      // of the first WAVELENGTH FACT line
    std::int32_t wavelengthSatCount = 0;                  // satellites of all its lines
    std::array<SatEntry, kMaxSatellites> wavelengthSats{};
    /// The L1 and L2 factors of each wavelength satellite: those of the line listing it.
    std::array<std::array<std::int32_t, 2>, kMaxSatellites> wavelengthSatFactors{};
    std::int32_t typeCount = 0; // -1 while a type list is being read
    std::array<std::uint8_t, kMaxTypes> types = filledTypes();
    long double interval = 0; // seconds
    text::TEpochTime firstObs;
    text::TEpochTime lastObs;
    text::TEpochTime firstEpoch; // not cleared: overwritten by each data scan
    text::TEpochTime lastEpoch;  // not cleared
    std::string timeSystem;
    std::int32_t leapSeconds = 0;
    std::int32_t satelliteCount = 0;
    std::array<SatEntry, kMaxSatellites> satellites{};
    std::array<std::array<std::int32_t, kMaxTypes>, kMaxSatellites> obsCounts{};
    bool firstObsPresent = false;
    bool lastObsPresent = false;
    bool clockOffsetApplied = false;

    /// Back to the start values; the first and last epoch times are kept.
    void Clear();

private:
    static constexpr std::array<std::uint8_t, kMaxTypes> filledTypes() {
        std::array<std::uint8_t, kMaxTypes> t{};
        t.fill(kNoType);
        return t;
    }
};

/// What a GPS navigation file's header says; the Galileo header has the same fields.
struct THeaderDataGPS {
    std::string version, program, runBy, date;
    std::int32_t leapSeconds = 0;
    std::uint32_t reserved1 = 0;
    std::uint16_t reserved2 = 0;
    std::array<float, 8> ion{}; // alpha0-alpha3, then beta0-beta3
    double a0 = 0;
    float a1 = 0;
    std::int32_t t = 0;  // reference time of week, seconds
    std::uint16_t w = 0; // reference week
    std::int8_t leapSecondsShort = 0;
    std::uint8_t reserved3 = 0;
    std::uint16_t reserved4 = 0;
    std::int8_t reserved5 = 0;

    void Clear() { *this = THeaderDataGPS{}; }
};
struct THeaderDataGAL : THeaderDataGPS {
    void Clear() { *this = THeaderDataGAL{}; }
};

/// What a GLONASS navigation file's header says; the GEO header has the same fields.
struct THeaderDataGLO {
    std::string version;
    std::int32_t leapSeconds = 0;
    std::string program, runBy, date;
    long double corrToSystemTime = 0;
    std::int32_t corrYear = 0, corrMonth = 0, corrDay = 0;

    void Clear() { *this = THeaderDataGLO{}; }
};
struct THeaderDataGEO : THeaderDataGLO {
    void Clear() { *this = THeaderDataGEO{}; }
};

/// Meteo type codes: 0 "PR", 1 "TD", 2 "HR", 3 "ZW", 4 "ZD", 5 "ZT"; 6 marks "no type"; the
/// types of RINEX 2.11 take the codes after it: 7 "WS", 8 "WD", 9 "RI", 10 "HI".
inline constexpr std::uint8_t kNoMeteoType = 6;

struct MeteoTypeFacts {
    std::uint8_t code;
    std::string_view name;
};
/// The meteo types in the order they are listed and charted.
inline constexpr std::array<MeteoTypeFacts, 10> kMeteoTypes = {{
    {0, "PR"},  // pressure, mbar
    {1, "TD"},  // dry temperature, deg Celsius
    {2, "HR"},  // relative humidity, percent
    {3, "ZW"},  // wet zenith path delay, mm
    {4, "ZD"},  // dry component of the zenith path delay, mm
    {5, "ZT"},  // total zenith path delay, mm
    {7, "WS"},  // wind speed, m/s
    {8, "WD"},  // wind direction, degrees from north
    {9, "RI"},  // rain increment, 1/10 mm
    {10, "HI"}, // hail indicator, non-zero: hail since the last record
}};
/// Tables indexed by meteo type code have this many slots (the no-type code's stays unused).
inline constexpr std::size_t kMeteoCodeSlots = 11;

struct MeteoSensor {
    std::string model = std::string(20, ' ');
    std::string sensorType = std::string(20, ' ');
    long double accuracy = 0;
    std::uint8_t typeCode = kNoMeteoType;
};

struct MeteoPosition {
    long double x = 0, y = 0, z = 0, h = 0;
    std::uint8_t typeCode = kNoMeteoType;
};

/// What a meteo file's header says.
struct THeaderDataMeteo {
    std::string version, program, runBy, date, markerName, markerNumber;
    std::int32_t typeCount = 0, sensorCount = 0, positionCount = 0;
    std::array<std::uint8_t, kMaxMeteoEntries> types = filledMeteoTypes();
    std::array<MeteoSensor, kMaxMeteoEntries> sensors{};
    std::array<MeteoPosition, kMaxMeteoEntries> positions{};

    void Clear() { *this = THeaderDataMeteo{}; }

private:
    static constexpr std::array<std::uint8_t, kMaxMeteoEntries> filledMeteoTypes() {
        std::array<std::uint8_t, kMaxMeteoEntries> t{};
        t.fill(kNoMeteoType);
        return t;
    }
};

/// The code of an exact two-character meteo type text ("TR" is taken as "TD"), or none.
std::optional<std::uint8_t> MeteoTypeCode(std::string_view text) noexcept;
/// The text of a meteo type code, "None" for the no-type code and any unknown one.
std::string_view MeteoTypeName(std::uint8_t code) noexcept;

} // namespace header
