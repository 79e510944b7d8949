#pragma once

#include "header/HeaderData.h"

#include <array>
#include <string>
#include <string_view>

namespace views {

/// The title of PIO.
inline constexpr std::string_view kIonoTitle = "Ionosphere   parameters";

/// One value label of PIO with the caption beside it.
struct IonoLabel {
    std::string_view name;    // STIOA0 ... STIOB3
    std::string_view caption; // "Alpha(0) [s]" ...
    std::string text;         // " Alpha0=" + value ...
};

/// The eight ionosphere labels from the GPS header record (also after a Galileo-only scan):
/// each 4-byte value widened and shown in the general format with decSep (0.1118E-07 shows as
/// 1.11800000368589E-8, zero as 0).
std::array<IonoLabel, 8> IonoLabels(const header::THeaderDataGPS& h, std::string_view decSep);

} // namespace views
