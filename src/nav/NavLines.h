#pragma once

#include "header/SatSystems.h"
#include "text/Diagnostics.h"
#include "text/GPSTime.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace nav {

// The pieces of the navigation scanners that do not depend on the system: the rules that tell
// the systems apart, the orbit table, the per-satellite counts and the line readers.

/// pi as the scanners divide radians by it to get semicircles.
inline constexpr long double kPi = 3.141592653589793L;

/// One header kind code per accepted header line: TListHStrNav for GPS and Galileo,
/// TListHStrGLO for GLONASS, TListHStrGEO for GEO.
using TListHStrNav = std::vector<std::uint8_t>;
using TListHStrGLO = std::vector<std::uint8_t>;
using TListHStrGEO = std::vector<std::uint8_t>;

/// How the seconds of an epoch line are cut.
enum class SecondsField {
    FourCharacters, // the 4 characters after the minute word and its blank (GPS, Galileo)
    WordOrDash,     // the next word; a '-' ends it when no blank comes soon (GLONASS, GEO)
};

/// Which fields of the last broadcast-orbit line of a record are read.
enum class LastOrbitLine {
    FirstAndOptionalSecond, // field 1 required, field 2 when not blank (GPS, Galileo)
    AllFour,                // GLONASS
    FirstThree,             // field 4 not read, counts as 0 (GEO)
};

/// Everything in which the four navigation scanners differ, as data.
struct NavRules {
    text::FileKind kind;                      // which pair of diagnostics lists
    char letter;                              // the file type letter of the first line
    std::span<const std::string_view> labels; // header labels in the order they are tried
    std::uint8_t leapSecondsCode;             // kind code of LEAP SECONDS
    std::uint8_t endOfHeaderCode;             // kind code of END OF HEADER
    int orbitLines;                           // broadcast-orbit lines per record
    LastOrbitLine lastLine;
    SecondsField seconds;
    bool geoPrnRange;       // the satellite number must lie in the GEO items' range (20..58)
    bool blankLinesChecked; // blank data lines are classified instead of skipped
    bool ionoparameters;    // the data scan also enables Ionoparameters1
    std::int32_t firstSatellite, lastSatellite; // the slots of EphemCount
    std::string_view recordFileName;
};

/// Rows 1..8 of four columns: row 1 holds the epoch line's clock values in columns 2-4, row k
/// the four fields of broadcast-orbit line k - 1.
class OrbitTable {
public:
    long double at(int row, int column) const noexcept { return m_cells[index(row, column)]; }
    long double& at(int row, int column) noexcept { return m_cells[index(row, column)]; }

private:
    static std::size_t index(int row, int column) noexcept {
        return static_cast<std::size_t>((row - 1) * 4 + (column - 1)) % 32;
    }
    std::array<long double, 32> m_cells{};
};

/// Records written per satellite number in the last data scan; numbers outside the table's
/// range are never counted and read as 0.
class EphemCountTable {
public:
    constexpr EphemCountTable(std::int32_t first, std::int32_t last) noexcept
        : m_first(first), m_last(last) {}

    std::int32_t first() const noexcept { return m_first; }
    std::int32_t last() const noexcept { return m_last; }
    bool holds(std::int32_t s) const noexcept { return s >= m_first && s <= m_last; }
    std::int32_t count(std::int32_t s) const noexcept {
        return holds(s) ? m_counts[static_cast<std::size_t>(s)] : 0;
    }
    void increment(std::int32_t s) noexcept {
        if (holds(s))
            ++m_counts[static_cast<std::size_t>(s)];
    }
    void clear() noexcept { m_counts.fill(0); }

    static constexpr std::int32_t kMaxSatellite = header::kMaxSatNumber;

private:
    std::array<std::int32_t, header::kSatNumberSlots> m_counts{};
    std::int32_t m_first;
    std::int32_t m_last;
};

/// x rounded to the nearest integer, halves to even; saturated to the int64 range (NaN is 0).
std::int64_t Nearest(long double x) noexcept;
/// x with its fraction dropped, saturated as Nearest.
std::int64_t Truncated(long double x) noexcept;

/// The rounded value in a narrower integer; out-of-range values keep their low bits.
template <class Int> Int NearestAs(long double x) noexcept {
    return static_cast<Int>(Nearest(x));
}

/// The standard real conversion of a field: leading blanks allowed, nothing after the number.
bool StandardReal(std::string_view field, long double& x) noexcept;

/// Field n (1-based) of a D19.12 text: the field boundaries come from the exponent letters,
/// each field ending two digits after its exponent sign, so a line that mixes D and E fails.
bool ReadD19Field(std::string_view text, int n, long double& x) noexcept;

/// Adds diagnostics about one line: numbered lineNo and carrying the given line text.
struct LineReport {
    text::DiagnosticList& list;
    std::int64_t lineNo;
    std::string_view line;
    void operator()(std::string_view message) const { list.add(lineNo, message, line); }
};

enum class NavLineKind { Invalid, Epoch, Orbit };

/// Orbit line: column 19 holds D, d, E or e. Epoch line: otherwise, columns 1-5 not all blank
/// and column 21 holds '.'. Anything else is invalid.
NavLineKind ClassifyNavLine(std::string_view line) noexcept;

/// What the epoch line's first 22 columns gave.
struct EpochFields {
    bool satelliteRead = false; // the satellite number converted (it is stored at once)
    std::int32_t satellite = 0; // as written, rounded
    bool accepted = false;
    text::TEpochTime epoch; // the year as written
};

/// Parses satellite number, epoch and seconds (with the 60-seconds rule, reported once per
/// file through sec60Reported), then checks the column positions. The first failure rejects
/// the line; the position checks only report.
EpochFields ParseEpochLine(std::string_view line, const NavRules& rules, bool& sec60Reported,
                           const LineReport& report);

// Header line handlers shared by the systems; each reports through `report`.

/// RINEX VERSION / TYPE: version word, the "2" in column 6, the file letter in column 21.
/// False when the version is not 2.xx ("Rinex format version is not 2").
bool HandleVersionLine(std::string_view line, char letter, std::string& version,
                       const LineReport& report);
/// PGM / RUN BY / DATE: columns 1-20, 21-40 and 41-60 without trailing blanks.
void HandleProgramLine(std::string_view line, std::string& program, std::string& runBy,
                       std::string& date);
/// LEAP SECONDS: the first run of digits; it must end in column 6.
void HandleLeapSecondsLine(std::string_view line, std::int32_t& leapSeconds,
                           const LineReport& report);
/// ION ALPHA or ION BETA: four D12.4 values in columns 3-50 into four slots.
void HandleIonLine(std::string_view line, std::span<float, 4> slots, std::string_view message,
                   const LineReport& report);
/// DELTA-UTC: A0,A1,T,W.
void HandleDeltaUtcLine(std::string_view line, double& a0, float& a1, std::int32_t& t,
                        std::uint16_t& w, const LineReport& report);
/// CORR TO SYSTEM TIME: year (expanded below 100), month, day, correction.
void HandleCorrToSystemTimeLine(std::string_view line, std::int32_t& year, std::int32_t& month,
                                std::int32_t& day, long double& correction,
                                const LineReport& report);

/// The GPS time count of an epoch whose year is taken modulo 100 and expanded; 0 for an
/// invalid date (seconds of 60 included).
text::TGPSTime ClockTime(const text::TEpochTime& epoch) noexcept;

/// The GPS and Galileo week check against the week of the clock time: a week one short with
/// toe below 8000 s is moved on by one; any other mismatch sets health to 1 (unhealthy).
std::int32_t CheckedWeek(std::int32_t week, text::TGPSTime clock, std::int32_t toe,
                         std::uint8_t& health) noexcept;

} // namespace nav
