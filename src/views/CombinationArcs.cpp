#include "views/CombinationArcs.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace views {

CombinationArcsChart chartCombinationByArcs(const QualitySources& sources, std::string_view code,
                                            std::size_t item, const QualitySettings& settings,
                                            const GaugeProgress& progress) {
    CombinationArcsChart out;
    out.chart = chartCombination(sources.rinexEpochs, sources.obsRecs, sources.writtenEpochs,
                                 sources.layout, code, item, progress);
    PointSeries& values = out.chart.values;
    if (values.size() == 0)
        return out;

    const SatCode sat = parseSatelliteCode(code);
    std::vector<std::int32_t> starts; // epoch numbers where arcs begin, increasing
    std::vector<std::int32_t> slips;
    QualityOptions options;
    options.only = nav::OrbitSat{sat.letter, sat.prn};
    options.onBreak = [&](std::int32_t epoch, double, std::string_view, ArcBreak cause) {
        starts.push_back(epoch);
        if (isSlip(cause))
            slips.push_back(epoch);
    };
    computeQuality(sources, settings, options);

    // Group k holds the values from arc start k - 1 on; group 0 those before the first arc.
    const auto groupOf = [&](double x) {
        return static_cast<std::size_t>(
            std::upper_bound(starts.begin(), starts.end(), x,
                             [](double v, std::int32_t s) { return v < s; }) -
            starts.begin());
    };
    std::vector<double> sum(starts.size() + 1, 0.0);
    std::vector<std::int64_t> count(starts.size() + 1, 0);
    // The sums start from each group's first value: combinations carry large constants.
    std::vector<double> ref(starts.size() + 1, 0.0);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::size_t g = groupOf(values.x[i]);
        if (count[g] == 0)
            ref[g] = values.y[i];
        sum[g] += values.y[i] - ref[g];
        ++count[g];
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::size_t g = groupOf(values.x[i]);
        values.y[i] = (values.y[i] - ref[g]) - sum[g] / static_cast<double>(count[g]);
    }

    out.slips.title = std::string(kSlipsSeriesTitle);
    for (std::int32_t epoch : slips) {
        const auto at = std::lower_bound(values.x.begin(), values.x.end(), epoch);
        const bool here = at != values.x.end() && *at == epoch;
        out.slips.add(epoch, here ? values.y[static_cast<std::size_t>(at - values.x.begin())] : 0);
    }
    return out;
}

} // namespace views
