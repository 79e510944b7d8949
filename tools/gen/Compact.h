#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace gen {

/// Writes RINEX 2 observation text as compact RINEX 1.0, line by line: the epoch line as a
/// text difference, the receiver clock and every observation as third-order (clock: second
/// order) differences of integers, and the flag characters as text differences. An event
/// (flags 2-5) is written whole after a fresh epoch line and starts everything again.
class CompactEncoder {
public:
    /// Encodes one RINEX line (without its line end), appending compact lines ending in LF.
    /// False for a line that compact RINEX cannot carry (a value not in F14.3, a line where an
    /// epoch line belongs); error() says which.
    bool encode(std::string_view line, std::string& out);
    /// True when the text may end here (no epoch half read).
    bool complete() const noexcept { return m_stage == Stage::Header || m_stage == Stage::Epoch; }
    const std::string& error() const noexcept { return m_error; }

private:
    struct Arc {
        bool running = false;
        int filled = 0;
        std::int64_t d[4] = {};
    };
    struct Satellite {
        std::vector<Arc> arcs;
        std::string flags;
        std::uint64_t lastEpoch = 0;
    };
    enum class Stage { Start, Header, Epoch, EpochMore, Observations, Event, Failed };

    bool fail(std::string why);
    bool epochLine(std::string_view line, std::string& out);
    bool writeEpoch(std::string& out);
    bool observations(std::string& out);
    static void difference(Arc& arc, int order, std::int64_t value, std::string& out);

    Stage m_stage = Stage::Start;
    std::string m_error;
    std::uint64_t m_lineNumber = 0;
    int m_types = 0;
    std::string m_head;  // columns 1-32 of the epoch line being read
    std::string m_sats;  // its satellite list
    std::string m_clock; // its clock field
    int m_satCount = 0;
    int m_moreLines = 0;
    std::vector<std::string> m_lines; // the observation lines of the epoch
    std::string m_previous;           // the compact epoch text as the decoder holds it
    bool m_fresh = true;
    Arc m_clockArc;
    std::uint64_t m_epochNumber = 0;
    std::unordered_map<std::string, Satellite> m_satellites;
};

/// Encodes a RINEX observation file into compact RINEX 1.0; false with a reason.
bool WriteCompactFile(const std::string& rinexPath, const std::string& compactPath,
                      std::string& error);

/// Writes `source` compressed as gzip ("gz") or Unix compress ("Z") into `target`; false
/// with a reason.
bool WriteCompressedFile(const std::string& source, const std::string& target,
                         std::string_view form, std::string& error);

} // namespace gen
