#pragma once

#include "header/HeaderData.h"
#include "meteo/MeteoFileM.h"
#include "text/GPSTime.h"
#include "text/ScanObserver.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace views {

/// The meteo series of ChMeteo, one per type of header::kMeteoTypes in its order, with their
/// titles and check boxes; only PR is checked when the program starts.
inline constexpr std::size_t kMeteoSeriesCount = header::kMeteoTypes.size();
inline constexpr std::array<std::string_view, kMeteoSeriesCount> kMeteoSeriesTitles = [] {
    std::array<std::string_view, kMeteoSeriesCount> titles{};
    for (std::size_t k = 0; k < kMeteoSeriesCount; ++k)
        titles[k] = header::kMeteoTypes[k].name;
    return titles;
}();
inline constexpr std::array<std::string_view, kMeteoSeriesCount> kMeteoCheckBoxes = {
    "CBPR", "CBTD", "CBHR", "CBZW", "CBZD", "CBZT", "CBWS", "CBWD", "CBRI", "CBHI"};
inline constexpr std::array<bool, kMeteoSeriesCount> kMeteoCheckedAtStart = {true};
/// The bottom axis of ChMeteo shows date-times in this form.
inline constexpr std::string_view kMeteoAxisFormat = "dd.MM.yyyy hh:mm:ss";

/// The date-time (days since 1899-12-30) of a Meteo.dat time block. Seconds of 60 become second
/// 0 of the next minute, carrying into the hour and the day (not the month: a day past the end
/// of its month counts on into the next one); the year is taken modulo 100, 81-99 being 19yy
/// and 0-80 20yy. None for a block that is no calendar time (month outside 1-12, day outside
/// 1-31, hour, minute or seconds out of range), which is not drawn.
std::optional<double> MeteoDateTime(const text::TEpochTime& t) noexcept;

/// One series of points: X date-times, Y the values as stored.
struct MeteoSeries {
    std::string_view title;
    std::vector<double> x;
    std::vector<double> y;
};

/// What the meteo view reads: Meteo.dat, the records the last data pass wrote and the types
/// its header listed.
struct MeteoSources {
    std::filesystem::path meteoFile;
    std::int32_t recordsWritten = 0;
    meteo::TypePresence types;
};

/// The series of ChMeteo from Meteo.dat: a type gets points only when the header listed it and
/// its box is checked, each value taken from the slot of the type's header position. Fewer
/// than two records draw nothing. "Error Opening File Meteo.dat ! " leaves every series empty;
/// "Unexpected end of file" keeps the points read before it.
std::array<MeteoSeries, kMeteoSeriesCount>
MeteoChartSeries(const MeteoSources& sources, const std::array<bool, kMeteoSeriesCount>& checked,
                 text::ScanObserver& observer);

/// The check boxes that can be used: those of the types the header listed.
std::array<bool, kMeteoSeriesCount> MeteoBoxesEnabled(const meteo::TypePresence& types) noexcept;

/// The rows of SGMeteoSens: the heading "Model", "Type", "Accuracy", "Observation type", then
/// per sensor its model, its type, the accuracy with one decimal right-aligned in 7 characters
/// and the observation type ("PR" ... "HI" or "None").
std::vector<std::array<std::string, 4>> MeteoSensorRows(const header::THeaderDataMeteo& h);

} // namespace views
