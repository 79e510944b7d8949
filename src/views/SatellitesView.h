#pragma once

#include "views/ChartSeries.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace views {

inline constexpr std::string_view kChartSatTitle = "Number of satellitess";
inline constexpr std::string_view kChartSatBottomTitle = "Epoch number";

/// What the satellites view shows: ChartSat's five series (ALL, GPS, GLO, GEO, GAL, legend
/// shown, axes automatic), its labels and the messages to tell in order.
struct SatellitesView {
    std::string STIntSat;
    std::optional<std::string> STSatMax; // none: the label keeps its text
    std::optional<std::string> STSatMin;
    std::array<PointSeries, 5> series;
    std::vector<std::string> messages;
};

/// Reads RinexEpochs.dat (only when more than one epoch was written) and charts the number of
/// satellites per epoch record, in all and per system; the system series are lifted by 0.001
/// to 0.004 so that equal counts stay apart. GPS is what R, S and E leave of the count. A file
/// that cannot be opened leaves the chart empty and the Max/Min labels as they were; a file
/// shorter than writtenEpochs keeps the points read so far.
SatellitesView computeSatellitesView(const std::filesystem::path& rinexEpochs,
                                     std::int32_t writtenEpochs, std::int32_t intervalMs,
                                     std::int32_t largestSatCount, std::int32_t smallestSatCount);

} // namespace views
