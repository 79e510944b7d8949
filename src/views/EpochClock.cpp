#include "views/EpochClock.h"

#include "obs/ObsRecords.h"
#include "text/RecordBytes.h"
#include "text/RecordFile.h"
#include "views/EpochCalculator.h"

#include <string_view>

namespace views {

// "hh:mm:ss.mmm" without a ".000" tail.
static std::string withoutZeroMillis(std::string_view time) {
    if (time.size() > 4 && time.substr(time.size() - 4) == ".000")
        time.remove_suffix(4);
    return std::string(time);
}

std::string timeOfDayText(const text::TEpochTime& t) {
    // The calculator's text: the date, two blanks, then the time.
    const std::string full = epochTimeText(t);
    const std::size_t gap = full.find("  ");
    return withoutZeroMillis(gap == std::string::npos ? std::string_view(full)
                                                      : std::string_view(full).substr(gap + 2));
}

std::vector<std::string> recordTimesOfDay(const std::filesystem::path& rinexEpochs) {
    std::vector<std::string> times;
    text::RecordFileReader file;
    if (!file.open(rinexEpochs, obs::kEpochRecSize))
        return times;
    times.reserve(static_cast<std::size_t>(file.recordCount()));
    for (auto record = file.next(); !record.empty(); record = file.next())
        times.push_back(timeOfDayText(text::RecordReader(record).epochTime(0)));
    return times;
}

std::vector<std::string> listTimesOfDay(const std::vector<std::string>& epochsList) {
    // An epoch line is a blank, the date, two blanks and the 12-character time; gap markers
    // begin with '*'.
    std::vector<std::string> times;
    for (const std::string& line : epochsList) {
        if (line.empty() || line.front() == '*')
            continue;
        const std::size_t gap = line.find("  ", 1);
        const std::string_view rest =
            gap == std::string::npos ? std::string_view() : std::string_view(line).substr(gap + 2);
        times.push_back(withoutZeroMillis(rest.substr(0, 12)));
    }
    return times;
}

} // namespace views
