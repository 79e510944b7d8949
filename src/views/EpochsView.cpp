#include "views/EpochsView.h"

namespace views {

namespace {

// The first 25 characters of an epoch line: a blank, the date, two blanks and the time.
std::string epochHead(const std::string& line) {
    return line.substr(0, 25);
}

} // namespace

EpochsViewTexts computeEpochsView(std::span<const std::string> LBEpochs, std::int32_t intervalMs,
                                  std::int32_t gapCount, std::int64_t missingEpochs,
                                  std::int32_t writtenEpochs) {
    EpochsViewTexts t;
    t.STStart = "Start Epoch  ";
    t.STFinish = "Finish Epoch ";
    if (!LBEpochs.empty()) {
        t.STStart += epochHead(LBEpochs.front());
        t.STFinish += epochHead(LBEpochs.back());
    }
    t.STInterv = "Interval  " + std::to_string(intervalMs) + " ms";
    t.STGap =
        "Gaps  " + std::to_string(gapCount) + "   Missing Epochs  " + std::to_string(missingEpochs);
    t.STNEpochs = "Epochs (" + std::to_string(writtenEpochs) + ")";
    return t;
}

EpochsChart epochsChart(std::span<const obs::ChartPoint> points, const obs::TimesAxis& axis) {
    EpochsChart c;
    c.ChTimes.x.reserve(points.size());
    c.ChTimes.y.reserve(points.size());
    for (const auto& p : points)
        c.ChTimes.add(p.x, p.y);
    if (!axis.automatic)
        c.left = AxisRule::fixed(axis.minimum, axis.maximum);
    return c;
}

} // namespace views
