#include "header/HeaderExport.h"

#include "header/SatSystems.h"
#include "text/FieldText.h"
#include "text/NumberText.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace header {

namespace {

std::string decimal(std::int64_t n) {
    return std::to_string(n);
}

std::string fixed14(long double x) {
    return text::FixedText(x, 14, 4);
}

/// How many entries of a table of `capacity` a count lists.
std::size_t listed(std::int32_t count, std::size_t capacity) noexcept {
    if (count <= 0)
        return 0;
    return std::min(static_cast<std::size_t>(count), capacity);
}

std::string satelliteText(const SatEntry& s) {
    return std::string(1, ExportSystemLetter(s.system)) + decimal(s.prn);
}

std::string_view satelliteSystemName(std::uint8_t code) noexcept {
    switch (code) {
    case 0:
        return "GPS";
    case 1:
        return "GLONASS";
    case 2:
        return "MIXED";
    case 3:
        return "GEO";
    case 4:
        return "GALILEO";
    }
    return {}; // no system known for this code: the line stays empty
}

/// A type code without a name (kNoType) keeps its place as two blanks.
std::string_view obsTypeName(std::uint8_t code) noexcept {
    return code < kObsTypeNames.size() ? kObsTypeNames[code] : std::string_view("  ");
}

std::string_view boolText(bool b) noexcept {
    return b ? "true" : "false";
}

} // namespace

char ExportSystemLetter(char system) noexcept {
    const std::optional<SatSystem> known = systemOfLetter(system);
    return known ? facts(*known).letter : 'R';
}

std::string ExportTimeText(const text::TEpochTime& t, std::string_view decSep) {
    std::string seconds = text::FixedText(t.seconds, 0, 7);
    text::DotToDecSep(seconds, decSep.empty() ? std::string_view(".") : decSep);
    return decimal(t.year) + "/" + decimal(t.month) + "/" + decimal(t.day) + " " + decimal(t.hour) +
           ":" + decimal(t.minute) + ":" + seconds;
}

std::vector<std::string> HeaderLines(const THeaderData& h, std::string_view decSep) {
    std::vector<std::string> lines;
    lines.push_back(h.version);
    lines.emplace_back(satelliteSystemName(h.satelliteSystem));
    for (const std::string* s :
         {&h.program, &h.runBy, &h.date, &h.markerName, &h.markerNumber, &h.observer, &h.agency,
          &h.receiverNumber, &h.receiverType, &h.receiverVersion, &h.antennaNumber, &h.antennaType})
        lines.push_back(*s);
    for (long double x : {h.approxX, h.approxY, h.approxZ, h.antennaH, h.antennaE, h.antennaN})
        lines.push_back(fixed14(x));
    lines.push_back(decimal(h.wavelengthL1));
    lines.push_back(decimal(h.wavelengthL2));
    lines.push_back(decimal(h.wavelengthSatCount));
    // Each satellite with the factors of the WAVELENGTH FACT line that lists it.
    for (std::size_t i = 0; i < listed(h.wavelengthSatCount, kMaxSatellites); ++i)
        lines.push_back(satelliteText(h.wavelengthSats[i]) + " " +
                        decimal(h.wavelengthSatFactors[i][0]) + " " +
                        decimal(h.wavelengthSatFactors[i][1]));

    const std::size_t types = listed(h.typeCount, kMaxTypes);
    lines.push_back(decimal(h.typeCount));
    std::string typeLine;
    for (std::size_t i = 0; i < types; ++i) {
        typeLine.append(obsTypeName(h.types[i]));
        typeLine.push_back(' ');
    }
    lines.push_back(typeLine);

    lines.push_back(text::FixedText(h.interval, 10, 3));
    lines.push_back(ExportTimeText(h.firstObs, decSep));
    lines.push_back(ExportTimeText(h.lastObs, decSep));
    lines.push_back(h.timeSystem);
    lines.push_back(decimal(h.leapSeconds));
    lines.push_back(decimal(h.satelliteCount));
    for (std::size_t i = 0; i < listed(h.satelliteCount, kMaxSatellites); ++i) {
        std::string line = satelliteText(h.satellites[i]);
        for (std::size_t j = 0; j < types; ++j) {
            line.push_back(' ');
            line.append(decimal(h.obsCounts[i][j]));
        }
        lines.push_back(line);
    }
    lines.emplace_back(boolText(h.firstObsPresent));
    lines.emplace_back(boolText(h.lastObsPresent));
    return lines;
}

std::vector<std::string> HeaderLines(const THeaderDataGPS& h, std::string_view decSep) {
    std::vector<std::string> lines = {h.version, h.program, h.runBy, h.date};
    lines.push_back(decimal(h.leapSeconds));
    lines.push_back(decimal(h.reserved1));
    lines.push_back(decimal(h.reserved2));
    for (float p : h.ion)
        lines.push_back(text::GeneralText(static_cast<long double>(p), decSep));
    lines.push_back(decimal(static_cast<std::uint32_t>(h.t)));
    lines.push_back(decimal(h.w));
    lines.push_back(decimal(h.leapSecondsShort));
    lines.push_back(decimal(h.reserved3));
    lines.push_back(decimal(h.reserved4));
    lines.push_back(decimal(h.reserved5));
    lines.push_back(text::GeneralText(static_cast<long double>(h.a0), decSep));
    lines.push_back(text::GeneralText(static_cast<long double>(h.a1), decSep));
    return lines;
}

std::vector<std::string> HeaderLines(const THeaderDataGLO& h, std::string_view decSep) {
    return {h.version,
            decimal(h.leapSeconds),
            h.program,
            h.runBy,
            h.date,
            text::GeneralText(h.corrToSystemTime, decSep),
            decimal(h.corrYear),
            decimal(h.corrMonth),
            decimal(h.corrDay)};
}

std::vector<std::string> HeaderLines(const THeaderDataMeteo& h, std::string_view decSep) {
    std::vector<std::string> lines = {h.version, h.program,    h.runBy,
                                      h.date,    h.markerName, h.markerNumber};
    std::string typeLine = decimal(h.typeCount);
    for (std::size_t i = 0; i < listed(h.typeCount, kMaxMeteoEntries); ++i) {
        typeLine.push_back(' ');
        typeLine.append(MeteoTypeName(h.types[i]));
    }
    lines.push_back(typeLine);

    lines.push_back(decimal(h.sensorCount));
    for (std::size_t i = 0; i < listed(h.sensorCount, kMaxMeteoEntries); ++i) {
        const MeteoSensor& s = h.sensors[i];
        lines.push_back(s.model + " " + s.sensorType + " " + text::GeneralText(s.accuracy, decSep) +
                        " " + std::string(MeteoTypeName(s.typeCode)));
    }

    lines.push_back(decimal(h.positionCount));
    for (std::size_t i = 0; i < listed(h.positionCount, kMaxMeteoEntries); ++i) {
        const MeteoPosition& p = h.positions[i];
        lines.push_back(fixed14(p.x) + " " + fixed14(p.y) + " " + fixed14(p.z) + " " +
                        fixed14(p.h) + " " + std::string(MeteoTypeName(p.typeCode)));
    }
    return lines;
}

bool WriteHeaderLines(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes.append(line);
        bytes.append("\r\n");
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

bool SaveHeaderFile(const THeaderData& h, const std::filesystem::path& path,
                    std::string_view decSep) {
    return WriteHeaderLines(path, HeaderLines(h, decSep));
}

bool SaveHeaderFile(const THeaderDataGPS& h, const std::filesystem::path& path,
                    std::string_view decSep) {
    return WriteHeaderLines(path, HeaderLines(h, decSep));
}

bool SaveHeaderFile(const THeaderDataGAL& h, const std::filesystem::path& path,
                    std::string_view decSep) {
    return WriteHeaderLines(path, HeaderLines(static_cast<const THeaderDataGPS&>(h), decSep));
}

bool SaveHeaderFile(const THeaderDataGLO& h, const std::filesystem::path& path,
                    std::string_view decSep) {
    return WriteHeaderLines(path, HeaderLines(h, decSep));
}

bool SaveHeaderFile(const THeaderDataGEO& h, const std::filesystem::path& path,
                    std::string_view decSep) {
    return WriteHeaderLines(path, HeaderLines(static_cast<const THeaderDataGLO&>(h), decSep));
}

bool SaveHeaderFile(const THeaderDataMeteo& h, const std::filesystem::path& path,
                    std::string_view decSep) {
    return WriteHeaderLines(path, HeaderLines(h, decSep));
}

} // namespace header
