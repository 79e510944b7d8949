#pragma once

#include "views/MeasurementsView.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace views {

inline constexpr std::string_view kPCombObsTitle = "Combinations of Observables";

/// Items of RGComObs, in order (the first is selected at start), and ChMeasurs' title for each.
inline constexpr std::array<std::string_view, 4> kComObsItems = {
    "Pseudorange Dual-frequency Ionosphere (Geometry-free)",
    "Phase Dual-frequency Ionosphere (Geometry-free)", "Multipath for P1", "Multipath for P2"};
inline constexpr std::array<std::string_view, 4> kComObsTitles = {
    "Pseudorange Dual-frequency Ionosphere (Geometry-free) [m]",
    "Phase Dual-frequency Ionosphere (Geometry-free) [cycles]", "Multipath for P1 [m]",
    "Multipath for P2 [m]"};

/// The GPS L1 and L2 frequencies in Hz and the speed of light in m/s.
inline constexpr long double kF1 = 1575420000.0L;
inline constexpr long double kF2 = 1227600000.0L;
inline constexpr long double kSpeedOfLight = 299792458.0L;

/// The observations of one satellite entry that the combinations use; a value is present when
/// the header lists its type and its magnitude exceeds 0.00001.
struct CombinationInputs {
    std::optional<long double> C1, P1, P2, L1, L2;
};

/// The inputs of one entry's cells under the header's type positions.
CombinationInputs combinationInputs(const SatelliteCells& cells, const ObsTypeLayout& layout);

/// True when the header lists the types combination `item` needs: C1 or P1 with P2 (0), L1
/// and L2 (1), C1 or P1 with P2, L1 and L2 (2, 3).
bool combinationListed(std::size_t item, const ObsTypeLayout& layout) noexcept;

/// The value of combination `item` in extended precision, none when a value it needs is
/// absent. The pseudorange P is C1 when present, otherwise P1:
///   0: P - P2 (m); 1: L1 - (f1/f2) L2 (L1 cycles);
///   2: P + (2k - 1) l1 L1 - 2k l2 L2 (m); 3: P2 + 2ak l1 L1 - (2ak + 1) l2 L2 (m),
/// with l1 = c/f1, l2 = c/f2, a = (f1/f2)^2 and k = 1/(1 - a). Ambiguities and means stay in.
std::optional<long double> combinationValue(std::size_t item, const CombinationInputs& in) noexcept;

/// Charts combination `item` of the coded satellite on ChMeasurs; only GPS satellites (letter
/// G) have combinations: any other code gives empty charts, keeps ChMeasurs' title and reads
/// nothing. ChMeasursSN stays
/// empty. A short RinexEpochs.dat is told as "Unexpected end of file Epochs" after the gauge.
MeasurementsChart chartCombination(const std::filesystem::path& rinexEpochs,
                                   const std::filesystem::path& obsRecs, std::int32_t writtenEpochs,
                                   const ObsTypeLayout& layout, std::string_view code,
                                   std::size_t item, const GaugeProgress& progress = {});

} // namespace views
