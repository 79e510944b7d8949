#include "views/SatellitesView.h"

#include "obs/ObsRecords.h"
#include "text/RecordBytes.h"
#include "text/RecordFile.h"

namespace views {

SatellitesView computeSatellitesView(const std::filesystem::path& rinexEpochs,
                                     std::int32_t writtenEpochs, std::int32_t intervalMs,
                                     std::int32_t largestSatCount, std::int32_t smallestSatCount) {
    SatellitesView v;
    v.STIntSat = "  Interval=" + std::to_string(intervalMs) + " ms";
    constexpr std::array<std::string_view, 5> titles = {"ALL", "GPS", "GLO", "GEO", "GAL"};
    for (std::size_t s = 0; s < titles.size(); ++s)
        v.series[s].title = std::string(titles[s]);

    if (writtenEpochs > 1) {
        text::RecordFileReader file;
        if (!file.open(rinexEpochs, obs::kEpochRecSize)) {
            v.messages.emplace_back("Error Opening File RinexEpochs.dat ! ");
            return v;
        }
        const auto count = static_cast<std::size_t>(writtenEpochs);
        for (auto& s : v.series) {
            s.x.reserve(count);
            s.y.reserve(count);
        }
        for (std::int32_t i = 1; i <= writtenEpochs; ++i) {
            const auto record = file.next();
            if (record.empty()) {
                v.messages.emplace_back("Unexpected end of file");
                break;
            }
            const text::RecordReader r(record);
            const std::int32_t all = r.i32(44);
            const std::int32_t glo = r.i32(48);
            const std::int32_t geo = r.i32(52);
            const std::int32_t gal = r.i32(56);
            const double x = i;
            v.series[0].add(x, all);
            const std::int64_t gps = std::int64_t{all} - glo - geo - gal;
            v.series[1].add(x, static_cast<double>(gps) + 0.001);
            v.series[2].add(x, glo + 0.002);
            v.series[3].add(x, geo + 0.003);
            v.series[4].add(x, gal + 0.004);
        }
    }
    v.STSatMax = "  Max=" + std::to_string(largestSatCount);
    v.STSatMin = "  Min=" + std::to_string(smallestSatCount);
    return v;
}

} // namespace views
