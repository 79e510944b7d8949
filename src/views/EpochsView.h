#pragma once

#include "obs/ObsFileO.h"
#include "views/ChartSeries.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace views {

/// The fixed caption above the epochs list.
inline constexpr std::string_view kEpochsCaption =
    "     Epoch Date/Time                   #SVs      #Epoch";
inline constexpr std::string_view kChTimesTitle = "Time differencies between Epochs (sec)";
inline constexpr std::string_view kChTimesBottomTitle = "Epoch number";

/// The labels of the epochs view. The list and the time-difference chart are the ones the
/// data scan built; the view only names its first and last epochs and the counts.
struct EpochsViewTexts {
    std::string STNEpochs; // "Epochs (n)", the panel's title bar
    std::string STStart;
    std::string STFinish;
    std::string STInterv;
    std::string STGap;
};

/// The labels for the scan's epochs list (epoch and gap marker lines), its nominal interval,
/// gap and missing-epoch counts and written epochs. An empty list gives the bare captions.
EpochsViewTexts computeEpochsView(std::span<const std::string> LBEpochs, std::int32_t intervalMs,
                                  std::int32_t gapCount, std::int64_t missingEpochs,
                                  std::int32_t writtenEpochs);

/// ChTimes as the data scan left it: one point per step between consecutive epochs (X the
/// later epoch's list number, Y the step in seconds, no legend) and its left axis.
struct EpochsChart {
    PointSeries ChTimes;
    AxisRule left;
};
EpochsChart epochsChart(std::span<const obs::ChartPoint> points, const obs::TimesAxis& axis);

} // namespace views
