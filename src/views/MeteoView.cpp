#include "views/MeteoView.h"

#include "text/NumberText.h"
#include "text/RecordFile.h"

#include <algorithm>
#include <cmath>

namespace views {

std::optional<double> MeteoDateTime(const text::TEpochTime& t) noexcept {
    long double s = t.seconds;
    if (!(s >= 0 && s < 61) || t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 ||
        t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59)
        return std::nullopt;
    std::int32_t minute = t.minute;
    std::int32_t hour = t.hour;
    std::int32_t day = t.day;
    if (std::trunc(s) == 60) {
        s = 0;
        minute += 1;
        if (minute > 59) {
            minute %= 60;
            hour += 1;
            if (hour > 23) {
                hour %= 24;
                day += 1;
            }
        }
    }
    const long double whole = std::trunc(s);
    const auto nanoseconds = static_cast<std::int64_t>(std::nearbyint((s - whole) * 1e9L));
    const auto milliseconds = static_cast<std::int32_t>(nanoseconds / 1000000);
    const std::int32_t y = t.year % 100;
    const std::int32_t fullYear = y > 80 ? 1900 + y : 2000 + y;
    // A day past the end of its month is counted on from the month's first day.
    return text::EncodeDate(fullYear, t.month, 1) + (day - 1) +
           text::EncodeTime(hour, minute, static_cast<std::int32_t>(whole), milliseconds);
}

std::array<MeteoSeries, kMeteoSeriesCount>
MeteoChartSeries(const MeteoSources& sources, const std::array<bool, kMeteoSeriesCount>& checked,
                 text::ScanObserver& observer) {
    std::array<MeteoSeries, kMeteoSeriesCount> series;
    for (std::size_t k = 0; k < series.size(); ++k)
        series[k].title = kMeteoSeriesTitles[k];
    if (sources.recordsWritten < 2)
        return series;
    text::RecordFileReader file;
    if (!file.open(sources.meteoFile, meteo::kMeteoRecordSize)) {
        observer.notice("Error Opening File Meteo.dat ! ");
        return series;
    }
    // The slot of each drawn type; a position outside the record draws nothing.
    std::array<std::size_t, kMeteoSeriesCount> slot{};
    std::array<bool, kMeteoSeriesCount> drawn{};
    for (std::size_t k = 0; k < kMeteoSeriesCount; ++k) {
        const std::size_t code = header::kMeteoTypes[k].code;
        const std::int32_t position = sources.types.position[code];
        drawn[k] = sources.types.present[code] != 0 && checked[k] && position >= 1 &&
                   position <= static_cast<std::int32_t>(meteo::kMeteoValues);
        slot[k] = drawn[k] ? static_cast<std::size_t>(position - 1) : 0;
    }
    for (std::int32_t i = 0; i < sources.recordsWritten; ++i) {
        if (file.atEnd()) {
            observer.notice("Unexpected end of file");
            break;
        }
        const meteo::MeteoRecord r = meteo::decodeMeteo(file.next());
        const std::optional<double> t = MeteoDateTime(r.epoch);
        if (!t)
            continue;
        for (std::size_t k = 0; k < kMeteoSeriesCount; ++k) {
            if (!drawn[k])
                continue;
            series[k].x.push_back(*t);
            series[k].y.push_back(static_cast<double>(r.values[slot[k]]));
        }
    }
    return series;
}

std::array<bool, kMeteoSeriesCount> MeteoBoxesEnabled(const meteo::TypePresence& types) noexcept {
    std::array<bool, kMeteoSeriesCount> enabled{};
    for (std::size_t k = 0; k < kMeteoSeriesCount; ++k)
        enabled[k] = types.present[header::kMeteoTypes[k].code] != 0;
    return enabled;
}

std::vector<std::array<std::string, 4>> MeteoSensorRows(const header::THeaderDataMeteo& h) {
    std::vector<std::array<std::string, 4>> rows;
    rows.push_back({"Model", "Type", "Accuracy", "Observation type"});
    const auto count = static_cast<std::size_t>(
        std::clamp<std::int32_t>(h.sensorCount, 0, static_cast<std::int32_t>(h.sensors.size())));
    for (std::size_t i = 0; i < count; ++i) {
        const header::MeteoSensor& s = h.sensors[i];
        rows.push_back({s.model, s.sensorType, text::FixedText(s.accuracy, 7, 1),
                        std::string(header::MeteoTypeName(s.typeCode))});
    }
    return rows;
}

} // namespace views
