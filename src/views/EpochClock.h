#pragma once

#include "text/GPSTime.h"

#include <filesystem>
#include <string>
#include <vector>

namespace views {

/// "hh:mm:ss" of an epoch time, with ".mmm" after it when the milliseconds are not 0; the
/// rounding and carrying are the calculator's.
std::string timeOfDayText(const text::TEpochTime& t);

/// The time of day of every record of RinexEpochs.dat, in file order: the label of epoch
/// number n is element n - 1. Empty when the file cannot be read.
std::vector<std::string> recordTimesOfDay(const std::filesystem::path& rinexEpochs);

/// The time of day of every epoch line of the epochs list, gap markers skipped, in list order:
/// the time-difference chart numbers its points by epoch line.
std::vector<std::string> listTimesOfDay(const std::vector<std::string>& epochsList);

} // namespace views
