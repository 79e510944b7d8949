#pragma once

#include "views/QualityScan.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace app {

/// The quality options of quillon-scan.
struct QualityArguments {
    bool quality = false;   // --quality: the JSON object and the text block
    std::string skyFile;    // --sky FILE.csv
    std::string breaksFile; // --breaks FILE.csv
    views::QualitySettings settings;

    /// Any of the options asks for the computation.
    bool wanted() const noexcept { return quality || !skyFile.empty() || !breaksFile.empty(); }
};

/// Reads the quality option at args[i] and its value; `handled` tells whether args[i] was
/// one. False with a reason for a missing or unusable value.
bool ParseQualityOption(const std::vector<std::string_view>& args, std::size_t& i,
                        QualityArguments& out, bool& handled, std::string& error);

/// The "quality" object of the JSON report.
nlohmann::ordered_json QualityJson(const views::QualityReport& report);

/// The quality block of the text report.
std::string QualityText(const views::QualityReport& report);

/// Computes the quality of the driver's last scan and writes the files asked for; false with
/// a reason when one of them cannot be written.
bool RunQuality(const scan::TScanDriver& driver, const QualityArguments& args,
                views::QualityReport& report, std::string& error);

} // namespace app
