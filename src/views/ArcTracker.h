#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace views {

/// Why an arc of continuous phase tracking starts: the first point of a satellite, an event of
/// the file (an epoch flag 1 or a change of occupation), a gap, or a cycle slip found by the
/// loss-of-lock indicator, by the ionospheric (geometry-free) rate or by a multipath jump.
enum class ArcBreak : std::uint8_t { None, Start, Event, Gap, Lli, Iono, Multipath };
inline constexpr std::size_t kArcBreakCount = 7;

/// The word reports use for a cause: "", "start", "event", "gap", "lli", "iono", "mp".
std::string_view arcBreakWord(ArcBreak cause) noexcept;
/// True for the three causes that are cycle slips.
constexpr bool isSlip(ArcBreak cause) noexcept {
    return cause == ArcBreak::Lli || cause == ArcBreak::Iono || cause == ArcBreak::Multipath;
}

/// The thresholds of the arc rules, in the units they are checked in.
struct ArcRules {
    double gapSeconds = 300;   // a longer time since the previous point starts a new arc
    double ionoRateMmin = 4.0; // m/min of the L1 ionospheric delay from the phases
    double mpJumpM = 5.0;      // m from the mean of the arc's last ten multipath values
};

/// The two carrier frequencies a satellite's combinations use, Hz; f2 = 0 when it has one.
struct BandPair {
    double f1 = 0;
    double f2 = 0;
};

inline constexpr double kLight = 299792458.0; // m/s

/// The dual-frequency combinations of one epoch, in metres; none where a value is missing.
///   MP1 = P1 - (1 + 2/(a-1)) l1 L1 + 2/(a-1) l2 L2
///   MP2 = P2 - 2a/(a-1) l1 L1 + (2a/(a-1) - 1) l2 L2
///   I1 (phases) = (l1 L1 - l2 L2)/(a-1),  I1 (codes) = (P2 - P1)/(a-1)
/// with a = (f1/f2)^2 and li = c/fi; phases in cycles, codes in metres. MP and the phase delay
/// keep their ambiguity constants.
struct Combinations {
    std::optional<double> mp1, mp2, ionoPhase, ionoCode;
};
Combinations combine(const BandPair& bands, std::optional<double> code1,
                     std::optional<double> code2, std::optional<double> phase1,
                     std::optional<double> phase2) noexcept;

/// One epoch of one satellite: its time, values and whether a loss of lock was flagged
/// (bit 0 of the indicator on L1 or L2), and the number of file events so far.
struct ArcInput {
    double t = 0;                         // s
    std::optional<double> code1, code2;   // m
    std::optional<double> phase1, phase2; // cycles
    bool lossOfLock = false;
    std::uint64_t events = 0;
};

/// What one epoch gave: the cause when it starts an arc, the combinations, and the rate of
/// the phase ionospheric delay since the arc's previous value.
struct ArcPoint {
    bool isPoint = false; // the epoch has an L1 phase: it belongs to an arc
    ArcBreak cause = ArcBreak::None;
    Combinations values;
    std::optional<double> ionoRate; // m/min
};

/// Splits one satellite's epochs into arcs. An epoch with an L1 phase is a point of an arc;
/// the first point starts one (Start), and a later point starts a new one, checked in this
/// order: a file event since the previous point, a gap longer than the rule, a loss of lock
/// flagged at this epoch or at one without phase since the previous point, an ionospheric
/// rate over the rule, a multipath jump over the rule.
class ArcTracker {
public:
    ArcTracker(BandPair bands, ArcRules rules) noexcept : m_bands(bands), m_rules(rules) {}

    ArcPoint feed(const ArcInput& in) noexcept;

private:
    struct Ring {
        std::array<double, 10> values{};
        std::size_t count = 0, next = 0;
        void clear() noexcept { count = next = 0; }
        void add(double v) noexcept;
        std::optional<double> mean() const noexcept;
    };

    BandPair m_bands;
    ArcRules m_rules;
    bool m_started = false;
    bool m_pendingLoss = false;
    double m_lastTime = 0;
    std::uint64_t m_lastEvents = 0;
    std::optional<double> m_lastIono; // of the current arc
    double m_lastIonoTime = 0;
    Ring m_mp1, m_mp2;
};

} // namespace views
