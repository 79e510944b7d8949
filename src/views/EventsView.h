#pragma once

#include "text/GPSTime.h"
#include "views/ChartSeries.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace views {

inline constexpr std::string_view kChartEventsBottomTitle = "Event number";
inline constexpr std::string_view kChartEventsLeftTitle = "Time difference [s]";

/// The time of an external event as a day count (days since 1899-12-30). Its milliseconds are
/// the rounded fraction of the seconds for input A and the truncated fraction for input B.
double eventTime(const text::TEpochTime& t, bool inputA) noexcept;

/// What ChartEvents shows (empty title, legend shown): series 0 "XA" and 1 "XB", each the time
/// in seconds since the previous event of its channel against the event's number in the
/// channel, and the left axis: fixed to [Trunc(smallest) - 1, Trunc(largest) + 1] when the
/// differences of a drawn channel spread by less than 1 s (XB decides when both are drawn),
/// automatic otherwise.
struct EventsView {
    std::array<PointSeries, 2> series;
    AxisRule left;
    std::vector<std::string> messages;
};

/// Reads the checked channels' record files (a channel needs more than one event). A file that
/// cannot be opened is told and ends the filling, the other channel included; a file shorter
/// than its count ends the filling silently with the points read so far.
EventsView computeEventsView(const std::filesystem::path& extEventsXA,
                             const std::filesystem::path& extEventsXB, std::int32_t eventsA,
                             std::int32_t eventsB, bool CBXA, bool CBXB);

} // namespace views
