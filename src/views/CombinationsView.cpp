#include "views/CombinationsView.h"

#include <cmath>

namespace views {

namespace {

constexpr std::size_t kC1 = 0, kP1 = 3, kP2 = 4, kL1 = 5, kL2 = 6; // type codes

bool listed(const ObsTypeLayout& layout, std::size_t type) noexcept {
    return layout.TypePosition[type] > 0;
}

std::optional<long double> present(const SatelliteCells& cells, const ObsTypeLayout& layout,
                                   std::size_t type) noexcept {
    const std::int32_t p = layout.TypePosition[type];
    if (p <= 0)
        return std::nullopt;
    const long double v = cells.value(p);
    if (std::fabs(v) > 0.00001L)
        return v;
    return std::nullopt;
}

} // namespace

CombinationInputs combinationInputs(const SatelliteCells& cells, const ObsTypeLayout& layout) {
    CombinationInputs in;
    in.C1 = present(cells, layout, kC1);
    in.P1 = present(cells, layout, kP1);
    in.P2 = present(cells, layout, kP2);
    in.L1 = present(cells, layout, kL1);
    in.L2 = present(cells, layout, kL2);
    return in;
}

bool combinationListed(std::size_t item, const ObsTypeLayout& layout) noexcept {
    const bool code = listed(layout, kC1) || listed(layout, kP1);
    const bool phases = listed(layout, kL1) && listed(layout, kL2);
    switch (item) {
    case 0:
        return code && listed(layout, kP2);
    case 1:
        return phases;
    case 2:
    case 3:
        return code && listed(layout, kP2) && phases;
    default:
        return false;
    }
}

std::optional<long double> combinationValue(std::size_t item,
                                            const CombinationInputs& in) noexcept {
    const std::optional<long double> P = in.C1 ? in.C1 : in.P1;
    const long double lambda1 = kSpeedOfLight / kF1;
    const long double lambda2 = kSpeedOfLight / kF2;
    const long double alpha = (kF1 / kF2) * (kF1 / kF2);
    const long double k = 1.0L / (1.0L - alpha);
    switch (item) {
    case 0:
        if (!P || !in.P2)
            return std::nullopt;
        return *P - *in.P2;
    case 1:
        if (!in.L1 || !in.L2)
            return std::nullopt;
        return *in.L1 - (kF1 / kF2) * *in.L2;
    case 2:
        if (!P || !in.P2 || !in.L1 || !in.L2)
            return std::nullopt;
        return *P + (2 * k - 1) * lambda1 * *in.L1 - 2 * k * lambda2 * *in.L2;
    case 3:
        if (!P || !in.P2 || !in.L1 || !in.L2)
            return std::nullopt;
        return *in.P2 + 2 * alpha * k * lambda1 * *in.L1 - (2 * alpha * k + 1) * lambda2 * *in.L2;
    default:
        return std::nullopt;
    }
}

MeasurementsChart chartCombination(const std::filesystem::path& rinexEpochs,
                                   const std::filesystem::path& obsRecs, std::int32_t writtenEpochs,
                                   const ObsTypeLayout& layout, std::string_view code,
                                   std::size_t item, const GaugeProgress& progress) {
    MeasurementsChart chart;
    if (parseSatelliteCode(code).letter != 'G')
        return chart; // no combinations for GLONASS, GEO and Galileo; the title stays
    chart.title = item < kComObsTitles.size() ? std::string(kComObsTitles[item]) : std::string();
    const bool drawable = combinationListed(item, layout);
    if (writtenEpochs > 1) {
        chart.values.x.reserve(static_cast<std::size_t>(writtenEpochs));
        chart.values.y.reserve(static_cast<std::size_t>(writtenEpochs));
    }
    const LoopEnd end = readSatelliteCells(
        rinexEpochs, obsRecs, writtenEpochs, layout.typeCount, code, progress,
        [&](std::int32_t i, const SatelliteCells& cells) {
            if (!drawable)
                return;
            if (const auto y = combinationValue(item, combinationInputs(cells, layout)))
                chart.values.add(i, static_cast<double>(*y));
        });
    switch (end) {
    case LoopEnd::NotRun:
        chart.gauge = GaugeSequence::None;
        break;
    case LoopEnd::Complete:
        chart.gauge = GaugeSequence::AfterMessages;
        break;
    case LoopEnd::OpenFailed:
        chart.messages.emplace_back("Error Opening File RinexEpochs.dat ! ");
        chart.gauge = GaugeSequence::None;
        break;
    case LoopEnd::EpochsShort:
        chart.messages.emplace_back("Unexpected end of file Epochs");
        chart.gauge = GaugeSequence::BeforeMessages;
        break;
    case LoopEnd::CellsShort:
        chart.messages.emplace_back("Unexpected end of file SVs");
        chart.gauge = GaugeSequence::AfterMessages;
        break;
    }
    return chart;
}

} // namespace views
