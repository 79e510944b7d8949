#pragma once

#include "obs/ObsRecords.h"
#include "views/ChartSeries.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace views {

/// The first line of LBOccup.
inline constexpr std::string_view kOccupHeading =
    "  #   Marker Name                Marker Number       Antenna Offset  Is Static   Epoch "
    "number";
inline constexpr std::string_view kChOccupTitle = "Occupations";
inline constexpr std::string_view kChOccupBottomTitle = "Epoch number";

/// The list line of the occupation in force at epoch record `epoch`: number, marker name and
/// number ("     Unknown        " when empty), antenna height with 4 decimals and decSep,
/// static or not, and the number again.
std::string occupationLine(std::int32_t epoch, const obs::TOccupation& o, std::string_view decSep);

/// The antenna height as the list shows it: fixed with 4 decimals after rounding to 8
/// significant digits, scientific beyond 8 digits before the point.
std::string antennaHeightText(long double h, std::string_view decSep);

/// What the occupations view shows: LBOccup (heading, then one line for record 1 and for every
/// record whose occupation differs from the one before), ChOccup's "Static" and "Kinematic"
/// series (square points at Y = 0, one per record), its left axis fixed to -1 .. 1 without
/// labels and titled with the receiver number, and the messages to tell in order.
struct OccupationsView {
    std::vector<std::string> LBOccup;
    PointSeries staticSeries;
    PointSeries kinematicSeries;
    std::string leftTitle;
    AxisRule left = AxisRule::fixed(-1, 1);
    std::vector<std::string> messages;
    bool opened = true; // false: RinexEpochs.dat could not be opened, and the view stops there
};

/// Reads RinexEpochs.dat (only when more than one epoch was written). The list and the chart
/// each tell a file shorter than writtenEpochs with "Unexpected end of file"; a file that
/// cannot be opened leaves the heading alone and an empty chart, and clears `opened`.
OccupationsView computeOccupationsView(const std::filesystem::path& rinexEpochs,
                                       std::int32_t writtenEpochs, std::string_view receiverNumber,
                                       std::string_view decSep);

} // namespace views
