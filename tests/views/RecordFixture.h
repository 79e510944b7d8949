#pragma once

// Small record files written with the record encoders into a folder of their own.

#include "obs/ObsRecords.h"
#include "text/RecordFile.h"

#include <atomic>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>
#include <utility>
#include <vector>

namespace views_test {

class TempFolder {
public:
    TempFolder() {
        static std::atomic<int> serial{0};
        m_dir = std::filesystem::temp_directory_path() /
                ("views_tests_" + std::to_string(::getpid()) + "_" + std::to_string(serial++));
        std::filesystem::create_directories(m_dir);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::filesystem::path file(const std::string& name) const { return m_dir / name; }
    std::filesystem::path epochs() const { return file("RinexEpochs.dat"); }
    std::filesystem::path obsRecs() const { return file("ObsRecs.dat"); }
    std::filesystem::path xa() const { return file("ExtEventRecsXA.dat"); }
    std::filesystem::path xb() const { return file("ExtEventRecsXB.dat"); }

private:
    std::filesystem::path m_dir;
};

template <class Record>
inline void writeRecords(const std::filesystem::path& path, std::size_t size,
                         const std::vector<Record>& records) {
    text::RecordFile f;
    f.create(path, size);
    for (const auto& r : records)
        f.append(obs::encode(r));
    f.flush();
    f.close();
}

/// An epoch of 2009-05-25 at the given time with the given satellite list.
inline obs::TEpochRec epochRec(std::int32_t hour, std::int32_t minute, long double seconds,
                               const std::vector<std::pair<char, std::int32_t>>& sats) {
    obs::TEpochRec e;
    e.time = {2009, 5, 25, hour, minute, seconds};
    e.satCount = static_cast<std::int32_t>(sats.size());
    for (std::size_t k = 0; k < sats.size() && k < obs::kEpochSatSlots; ++k) {
        e.sats[k] = {sats[k].first, sats[k].second};
        e.countR += sats[k].first == 'R';
        e.countS += sats[k].first == 'S';
        e.countE += sats[k].first == 'E';
    }
    return e;
}

inline obs::TObsRec cell(long double value, std::uint8_t strength = 0) {
    obs::TObsRec c;
    c.value = value;
    c.strength = strength;
    return c;
}

} // namespace views_test
