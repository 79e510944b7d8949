#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace expand {

/// The name of the one compact form that is expanded.
inline constexpr std::string_view kCompactForm = "compact RINEX 1.0";

/// True for the first line of a compact RINEX file of any version: "COMPACT RINEX FORMAT"
/// from column 21 and the label "CRINEX VERS   / TYPE" from column 61.
bool IsCompactFirstLine(std::string_view line) noexcept;
/// True for the first line of a compact RINEX 1.0 file: a compact first line with "1.0" in
/// columns 1-3.
bool IsCompact10FirstLine(std::string_view line) noexcept;

/// Expands compact RINEX 1.0 text line by line into the RINEX 2 observation text it stands
/// for. Every number from the file is a 64-bit integer and every step on it is checked: a
/// field that does not fit, or a sum that would overflow, is a line that cannot be decoded.
class CompactDecoder {
public:
    /// Decodes one compact line (without its line end) and appends the RINEX lines it gives to
    /// out, each ending in CR LF. False at a line that cannot be decoded (problem() says why)
    /// and for every line after it.
    bool decode(std::string_view line, std::string& out);
    /// True when the text may end here: the header is complete and no epoch is half read.
    bool complete() const noexcept;
    /// Why the text cannot be expanded further; empty while it can.
    const std::string& problem() const noexcept { return m_problem; }
    /// Compact lines handed to decode so far (the failing one included).
    std::uint64_t lineNumber() const noexcept { return m_lineNumber; }

    static constexpr int kMaxOrder = 9;    // highest difference order accepted
    static constexpr int kMaxTypes = 99;   // observation types a file may list
    static constexpr int kLineCells = 5;   // observations per RINEX data line
    static constexpr int kListedSats = 12; // satellites on one RINEX epoch line

private:
    /// One sequence of differences: d[0] is the last value, d[j] its j-th difference.
    struct Arc {
        int order = 0; // 0: no sequence runs
        int filled = 0;
        std::array<std::int64_t, kMaxOrder + 1> d{};
    };
    struct Satellite {
        std::vector<Arc> arcs;
        std::string flags; // the loss-of-lock and strength characters, two per type
        std::uint64_t lastEpoch = 0;
    };
    enum class Stage { First, Second, Header, Epoch, Clock, Satellites, Event, Failed };

    bool fail(std::string reason);
    /// A header or event line, copied as it is after its type count was noted.
    bool copyLine(std::string_view line, std::string& out);
    bool headerLine(std::string_view line, std::string& out);
    bool epochLine(std::string_view line, std::string& out);
    bool clockLine(std::string_view line, std::string& out);
    bool satelliteLine(std::string_view line, std::string& out);
    bool eventLine(std::string_view line, std::string& out);
    void noteTypes(std::string_view line);
    bool field(std::string_view text, Arc& arc, std::int64_t& value, bool& blank);
    bool addDifference(Arc& arc, std::int64_t difference, std::int64_t& value);
    void writeEpochLines(std::string& out) const;
    Satellite& satelliteOf(std::string_view id);
    void forgetSatellites() noexcept;

    Stage m_stage = Stage::First;
    std::string m_problem;
    std::uint64_t m_lineNumber = 0;
    int m_types = 0;

    std::string m_epoch; // the epoch line as the last difference left it
    bool m_haveEpoch = false;
    int m_satCount = 0;
    int m_satIndex = 0;
    int m_eventLines = 0;
    std::uint64_t m_epochNumber = 0;
    Arc m_clock;
    bool m_clockShown = false;
    std::int64_t m_clockValue = 0;

    // Satellites by system letter (blank or A-Z) and the two PRN characters (blank or digit,
    // then digit), made on first use; an id of any other shape goes to m_otherSatellites.
    std::vector<Satellite> m_satellites;
    std::unordered_map<std::uint32_t, Satellite> m_otherSatellites;
    std::array<std::int64_t, kMaxTypes> m_values{}; // one epoch's values of one satellite
    std::array<bool, kMaxTypes> m_blank{};
};

/// Appends a value of thousandths as the RINEX F14.3 field ("-0.052" right-aligned in 14).
void AppendThousandths(std::string& out, std::int64_t value);
/// Appends a value of nanoseconds as the RINEX F12.9 clock field.
void AppendNanoseconds(std::string& out, std::int64_t value);

} // namespace expand
