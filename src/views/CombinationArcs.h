#pragma once

#include "views/CombinationsView.h"
#include "views/QualityScan.h"

#include <cstddef>
#include <string_view>

namespace views {

/// The caption of the combinations panel's option; off when the program starts, so that the
/// combinations are drawn as computed.
inline constexpr std::string_view kArcMeansCaption = "Remove arc means and mark slips";
inline constexpr std::string_view kSlipsSeriesTitle = "Slips";

/// A combination chart with each arc's mean taken off and the slips marked.
struct CombinationArcsChart {
    MeasurementsChart chart; // the values as chartCombination gives them, less their arc means
    PointSeries slips;       // one point per slip: its epoch number and the value there (0 when
                             // the epoch has none)
};

/// chartCombination of the coded satellite, then split at the arcs computeQuality finds for
/// that satellite alone (a value belongs to the arc begun last at or before its epoch; values
/// before the first arc make a group of their own) with the mean of each group taken off. A
/// code chartCombination draws nothing for (not GPS) gives its empty chart and no slips.
CombinationArcsChart chartCombinationByArcs(const QualitySources& sources, std::string_view code,
                                            std::size_t item, const QualitySettings& settings = {},
                                            const GaugeProgress& progress = {});

} // namespace views
