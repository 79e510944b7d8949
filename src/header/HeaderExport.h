#pragma once

#include "header/HeaderData.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace header {

// The text exports of the six header records. Nothing reads them back; they list what each
// header said, one item per line in a fixed order. Integers are plain decimal, real(w, d)
// fields use "." and general numbers and the seconds of a time use the user's decimal
// separator (an empty separator falls back to ".").

inline constexpr std::string_view kObsHeaderFile = "Header.dat";
inline constexpr std::string_view kGPSHeaderFile = "HeaderGPS.dat";
inline constexpr std::string_view kGLOHeaderFile = "HeaderGLO.dat";
inline constexpr std::string_view kMeteoHeaderFile = "HeaderMeteo.dat";
inline constexpr std::string_view kGEOHeaderFile = "HeaderGEO.dat";
inline constexpr std::string_view kGALHeaderFile = "HeaderGAL.dat";

/// The system letter of a header satellite entry: "G" for ' ' and 'G', the letter itself for
/// 'R', 'S' and 'E', "R" for anything else.
char ExportSystemLetter(char system) noexcept;

/// year "/" month "/" day " " hour ":" minute ":" seconds, the integers without padding and
/// the seconds with 7 decimals and decSep: "2009/1/5 0:0:30.0000000".
std::string ExportTimeText(const text::TEpochTime& t, std::string_view decSep);

/// The lines of "Header.dat". Tables list at most their capacity (60 satellites, 26 types)
/// even when a count says more; a negative count lists nothing.
std::vector<std::string> HeaderLines(const THeaderData& h, std::string_view decSep);
/// The 23 lines of "HeaderGPS.dat" (also "HeaderGAL.dat").
std::vector<std::string> HeaderLines(const THeaderDataGPS& h, std::string_view decSep);
/// The 9 lines of "HeaderGLO.dat" (also "HeaderGEO.dat").
std::vector<std::string> HeaderLines(const THeaderDataGLO& h, std::string_view decSep);
/// The lines of "HeaderMeteo.dat"; tables list at most 100 entries.
std::vector<std::string> HeaderLines(const THeaderDataMeteo& h, std::string_view decSep);

/// Writes lines, each ended by CR LF, as the file at path, replacing an earlier one. False
/// when the file cannot be created or written; never throws.
bool WriteHeaderLines(const std::filesystem::path& path, const std::vector<std::string>& lines);

/// Exports a header record to path (normally TempDir + its fixed file name).
bool SaveHeaderFile(const THeaderData& h, const std::filesystem::path& path,
                    std::string_view decSep);
bool SaveHeaderFile(const THeaderDataGPS& h, const std::filesystem::path& path,
                    std::string_view decSep);
bool SaveHeaderFile(const THeaderDataGAL& h, const std::filesystem::path& path,
                    std::string_view decSep);
bool SaveHeaderFile(const THeaderDataGLO& h, const std::filesystem::path& path,
                    std::string_view decSep);
bool SaveHeaderFile(const THeaderDataGEO& h, const std::filesystem::path& path,
                    std::string_view decSep);
bool SaveHeaderFile(const THeaderDataMeteo& h, const std::filesystem::path& path,
                    std::string_view decSep);

} // namespace header
