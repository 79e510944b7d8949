#pragma once

#include "text/GPSTime.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace views {

inline constexpr std::string_view kTFormTimeCaption = "   Epoch number  --->  Time";
inline constexpr std::string_view kCalculatorHint = "Calculator (Epoch number  --->  Time)";
inline constexpr int kTBTimeTickEvery = 100;

/// "dd/mm/yyyy  hh:mm:ss.mmm" of an epoch time: each part with a leading 0 when it has one
/// digit, milliseconds rounded (halves to even) to three digits. Milliseconds that round to
/// 1000 carry into the seconds (and, from 59.9995 s, into the minute).
std::string epochTimeText(const text::TEpochTime& t);

/// The epoch-to-time calculator: the epoch times of RinexEpochs.dat, loaded at each opening,
/// and the current epoch number that the track bar TBTime and the arrows UDTime move.
class EpochCalculator {
public:
    /// Empties the table and reads the time of every record of RinexEpochs.dat; returns the
    /// messages to tell in order ("There is no Epochs", "Number of epochs in Temp file differs
    /// from true one", a file that cannot be opened). With records the current epoch is 1.
    std::vector<std::string> load(const std::filesystem::path& rinexEpochs,
                                  std::int32_t countedEpochs);

    /// Epochs loaded: the track bar runs from 1 to this number.
    std::int32_t count() const noexcept { return static_cast<std::int32_t>(m_times.size()); }
    /// 1 to count(); 0 when nothing is loaded.
    std::int32_t current() const noexcept { return m_current; }
    /// ENumEp's text: the current epoch number; empty when nothing is loaded.
    std::string ENumEp() const;
    /// EDateTime's text: the current epoch's date and time; empty when nothing is loaded.
    std::string EDateTime() const;

    /// The track bar moved to `position` (held to 1 .. count()).
    void TBTimeChange(std::int32_t position) noexcept;
    /// An arrow of UDTime: the right one steps up to count(), the left one down to 1; false
    /// when the arrow changed nothing.
    bool stepRight() noexcept;
    bool stepLeft() noexcept;
    bool canStepRight() const noexcept { return m_current < count(); }
    bool canStepLeft() const noexcept { return m_current > 1; }

    /// Close (BitBtn28): empties the table.
    void close() noexcept;

private:
    std::vector<text::TEpochTime> m_times;
    std::int32_t m_current = 0;
};

} // namespace views
