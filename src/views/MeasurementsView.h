#pragma once

#include "header/HeaderData.h"
#include "header/SatSystems.h"
#include "obs/ObsFileO.h"
#include "views/ChartSeries.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace views {

/// The satellite systems of the four satellite groups, in group order.
using SatSystem = header::SatSystem;

/// Items of RGMeasurs, in order; the index is the observation type code.
inline constexpr std::array<std::string_view, header::kMaxTypes> kMeasursItems =
    header::kObsTypeNames;
/// ChMeasurs' title for an observation type code: its name and the unit of the plotted values
/// ("C1 [m]", "L7 [cycles]", "D8 [Hz]", "S6 [dB*Hz]").
std::string unitLabel(std::size_t typeCode);
inline constexpr std::string_view kChMeasursSNTitle = "Signal / Noise";
inline constexpr std::string_view kMeasursBottomTitle = "Epoch number";
/// Group captions: RGMGPS, RGMGLO, RGMGEO, RGMGAL.
inline constexpr std::array<std::string_view, 4> kGroupCaptions = {" GPS ", " GLO", " GEO",
                                                                   " GAL "};

/// "G 1", "S20": the system letter and the PRN right-aligned in two characters.
std::string satelliteCode(char letter, std::int32_t prn);
/// The letter of a satellite code and its PRN (characters 2 and 3, a leading blank dropped);
/// a PRN that does not read as a number is 0.
struct SatCode {
    char letter = 'G';
    std::int32_t prn = 0;
};
SatCode parseSatelliteCode(std::string_view code) noexcept;

/// The system letter of a group: G, R, S, E.
char systemLetter(SatSystem system) noexcept;
/// The code of item `item` (0-based) of a group: number item + the system's first item
/// number (1, for GEO 20).
std::string codeOfItem(SatSystem system, std::size_t item);

/// The items of the four satellite groups: the number as text when the data scan saw that
/// satellite, else "N". GPS has 32 items, GLONASS 24, GEO 39 (S20 to S58), Galileo 36.
struct SatelliteGroups {
    std::vector<std::string> RGMGPS, RGMGLO, RGMGEO, RGMGAL;
};
SatelliteGroups satelliteItems(const obs::SatellitesSeen& seen);

/// The satellite selected when the view opens: the first present GPS item, else the first
/// present GLONASS item; with neither, no item (item < 0) and the code "G 1", which finds
/// nothing.
struct SatelliteChoice {
    SatSystem system = SatSystem::GPS;
    int item = -1;
    std::string code = "G 1";
};
SatelliteChoice openingChoice(const obs::SatellitesSeen& seen);

/// The header's type list as the observation records follow it.
struct ObsTypeLayout {
    std::int32_t typeCount = 0; // types per satellite in ObsRecs.dat
    std::array<std::int32_t, header::kMaxTypes> TypePosition{}; // 1-based, 0 when absent
};

/// The layout of the scanned file: the header's number of types and the scanner's positions.
ObsTypeLayout layoutOf(const header::THeaderData& header, const obs::TObsFileO& scan) noexcept;

/// How the progress gauge GMeas ends a charting: not at all (the files did not open), after
/// the messages, or before them.
enum class GaugeSequence : std::uint8_t { None = 0, AfterMessages = 1, BeforeMessages = 2 };

/// What ChMeasurs and ChMeasursSN show after one charting.
struct MeasurementsChart {
    std::optional<std::string> title;                    // ChMeasurs' title; none: kept
    PointSeries values;                                  // ChMeasurs
    PointSeries strength;                                // ChMeasursSN
    AxisRule strengthAxis = AxisRule::fixed(-0.5, 15.5); // ChMeasursSN's left axis
    std::vector<std::string> messages;
    GaugeSequence gauge = GaugeSequence::None;
};

/// Called with the gauge percentage every 2000 epochs while the record files are read.
using GaugeProgress = std::function<void(int percent)>;

/// How the reading loop ended.
enum class LoopEnd : std::uint8_t {
    NotRun = 0,      // one written epoch or none: nothing is read
    OpenFailed = 1,  // a record file could not be opened
    Complete = 2,    // every written epoch was read
    EpochsShort = 3, // RinexEpochs.dat ended before writtenEpochs records
    CellsShort = 4,  // ObsRecs.dat ended before the epochs' observation records
};

/// The satellite's observation records of one epoch: typeCount cells of 16 bytes.
class SatelliteCells {
public:
    explicit SatelliteCells(std::span<const std::byte> cells) noexcept : m_cells(cells) {}
    /// The value of the cell at 1-based type position p; 0 for position 0 or beyond the cells.
    long double value(std::int32_t p) const noexcept;
    /// The signal-strength indicator of that cell, 0 when there is none.
    std::uint8_t strength(std::int32_t p) const noexcept;

private:
    std::span<const std::byte> m_cells;
};

/// Reads RinexEpochs.dat and ObsRecs.dat from their starts (only when more than one epoch was
/// written) and calls onEntry(i, cells) for every entry of epoch record i that is the coded
/// satellite: same PRN and same letter, a blank letter counting as G. The cells of every other
/// satellite are passed over in runs, without being decoded. Entries beyond the 60 an epoch
/// record holds never match, but their cells are passed over as well.
LoopEnd readSatelliteCells(const std::filesystem::path& rinexEpochs,
                           const std::filesystem::path& obsRecs, std::int32_t writtenEpochs,
                           std::int32_t typeCount, std::string_view code,
                           const GaugeProgress& progress,
                           const std::function<void(std::int32_t, const SatelliteCells&)>& onEntry);

/// Charts observation type `typeCode` (0 "C1" ... 25 "S8") of the coded satellite: values
/// whose magnitude exceeds 0.00001 on ChMeasurs, and for pseudoranges and phases their
/// signal-strength indicators 1 to 9 on ChMeasursSN. A type the header does not list gives
/// empty charts and no message.
MeasurementsChart chartMeasurement(const std::filesystem::path& rinexEpochs,
                                   const std::filesystem::path& obsRecs, std::int32_t writtenEpochs,
                                   const ObsTypeLayout& layout, std::string_view code,
                                   std::size_t typeCode, const GaugeProgress& progress = {});

/// What a selection change on the measurements panel asks for: clear both charts and draw
/// nothing (ChMeasurs keeps its title), chart observation type `index` of `code`, or chart
/// combination `index` of `code`.
struct ChartRequest {
    enum class Kind : std::uint8_t { Clear = 0, Measurement = 1, Combination = 2 };
    Kind kind = Kind::Clear;
    std::string code;
    std::size_t index = 0;
};

/// The selections of the measurements panel: the type group RGMeasurs, the four satellite
/// groups (at most one has a selected item), the measurement mode and the selected system.
class MeasurementsSelection {
public:
    /// Opening the view: measurement mode, C1 selected, the groups' items rewritten from the
    /// satellites seen, and the first present GPS (else GLONASS) satellite selected and charted.
    ChartRequest open(const obs::SatellitesSeen& seen);
    /// A type chosen in RGMeasurs: back to measurement mode; charts the selected satellite
    /// without looking at "N" (an absent satellite simply gives empty charts).
    ChartRequest typeChosen(std::size_t typeCode);
    /// An item of a satellite group chosen; the other groups lose their selection. An "N" item
    /// only clears the charts. Without measurement mode a GPS satellite charts combination
    /// `comObsItem` (the item RGComObs shows) and any other satellite only clears.
    ChartRequest satelliteChosen(SatSystem system, std::size_t item, std::size_t comObsItem);
    /// Ok on the combinations panel: measurement mode ends and RGMeasurs loses its selection;
    /// a GPS selection charts combination `comObsItem`, any other only clears.
    ChartRequest combinationOk(std::size_t comObsItem);

    bool measurementMode() const noexcept { return m_measurementMode; }
    SatSystem selectedSystem() const noexcept { return m_system; }
    /// The selected type code of RGMeasurs, -1 when none.
    int selectedType() const noexcept { return m_type; }
    /// The selected item of a group, -1 when it has none.
    int selectedItem(SatSystem system) const noexcept {
        return m_items[static_cast<std::size_t>(system)];
    }
    /// The item texts of the four groups as the last opening wrote them.
    const SatelliteGroups& groups() const noexcept { return m_groups; }

private:
    const std::vector<std::string>& groupOf(SatSystem system) const noexcept;
    std::string selectedCode() const;

    bool m_measurementMode = true;
    SatSystem m_system = SatSystem::GPS;
    int m_type = 0;
    std::array<int, 4> m_items{-1, -1, -1, -1};
    SatelliteGroups m_groups;
};

} // namespace views
