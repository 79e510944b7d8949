#include "views/EpochCalculator.h"

#include "obs/ObsRecords.h"
#include "text/RecordBytes.h"
#include "text/RecordFile.h"

#include <algorithm>
#include <cmath>

namespace views {

namespace {

std::string twoDigits(std::int64_t n) {
    std::string s = std::to_string(n);
    return s.size() == 1 ? "0" + s : s;
}

} // namespace

std::string epochTimeText(const text::TEpochTime& t) {
    text::TEpochTime shown = t;
    const long double seconds = std::isfinite(t.seconds) ? t.seconds : 0;
    auto whole = static_cast<std::int64_t>(std::trunc(seconds));
    auto ms = static_cast<std::int64_t>(std::nearbyint((seconds - std::trunc(seconds)) * 1000));
    if (ms >= 1000) {
        ms -= 1000;
        whole += 1;
        if (whole == 60) {
            whole = 0;
            text::AddMinute(shown);
        }
    }
    std::string millis = std::to_string(ms);
    millis.insert(0, millis.size() < 3 ? 3 - millis.size() : 0, '0');
    return twoDigits(shown.day) + "/" + twoDigits(shown.month) + "/" + twoDigits(shown.year) +
           "  " + twoDigits(shown.hour) + ":" + twoDigits(shown.minute) + ":" + twoDigits(whole) +
           "." + millis;
}

std::vector<std::string> EpochCalculator::load(const std::filesystem::path& rinexEpochs,
                                               std::int32_t countedEpochs) {
    std::vector<std::string> messages;
    m_times.clear();
    m_current = 0;
    text::RecordFileReader file;
    if (!file.open(rinexEpochs, obs::kEpochRecSize)) {
        messages.emplace_back("Error Opening File RinexEpochs.dat ! ");
    } else {
        m_times.reserve(static_cast<std::size_t>(file.recordCount()));
        for (auto record = file.next(); !record.empty(); record = file.next())
            m_times.push_back(text::RecordReader(record).epochTime(0));
    }
    if (m_times.empty())
        messages.emplace_back("There is no Epochs");
    if (count() != countedEpochs)
        messages.emplace_back("Number of epochs in Temp file differs from true one");
    if (!m_times.empty())
        m_current = 1;
    return messages;
}

std::string EpochCalculator::ENumEp() const {
    return m_current > 0 ? std::to_string(m_current) : std::string();
}

std::string EpochCalculator::EDateTime() const {
    if (m_current < 1 || m_current > count())
        return {};
    return epochTimeText(m_times[static_cast<std::size_t>(m_current - 1)]);
}

void EpochCalculator::TBTimeChange(std::int32_t position) noexcept {
    if (m_times.empty())
        return;
    m_current = std::clamp(position, 1, count());
}

bool EpochCalculator::stepRight() noexcept {
    if (!canStepRight())
        return false;
    ++m_current;
    return true;
}

bool EpochCalculator::stepLeft() noexcept {
    if (!canStepLeft())
        return false;
    --m_current;
    return true;
}

void EpochCalculator::close() noexcept {
    m_times.clear();
    m_current = 0;
}

} // namespace views
