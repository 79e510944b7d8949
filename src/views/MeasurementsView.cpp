#include "views/MeasurementsView.h"

#include "text/RecordBytes.h"
#include "text/RecordFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace views {

namespace {

constexpr std::size_t kSatEntries = 60;   // entries an epoch record holds
constexpr std::size_t kSatCountAt = 44;   // number of satellites of the epoch
constexpr std::size_t kFirstEntryAt = 60; // satellite entry 1: string[1] letter, int32 PRN
constexpr std::size_t kEntrySize = 8;

std::int32_t readI32(const std::byte* p) noexcept {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
        static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

// A blank system letter in an epoch's list counts as GPS.
bool entryMatches(const std::byte* entry, const SatCode& code) noexcept {
    if (readI32(entry + 4) != code.prn)
        return false;
    if (static_cast<std::uint8_t>(entry[0]) == 0)
        return false; // no letter at all
    const char letter = static_cast<char>(entry[1]);
    return letter == code.letter || (letter == ' ' && code.letter == 'G');
}

std::vector<std::string> groupItems(const obs::SatellitesSeen& seen, SatSystem system) {
    std::vector<std::string> items;
    const header::SatSystemFacts& f = header::facts(system);
    for (std::int32_t prn = f.firstItem; prn <= f.lastNumber; ++prn)
        items.push_back(seen.has(system, prn) ? std::to_string(prn) : "N");
    return items;
}

int firstPresent(const std::vector<std::string>& items) noexcept {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] != "N")
            return static_cast<int>(i);
    return -1;
}

} // namespace

std::string satelliteCode(char letter, std::int32_t prn) {
    std::string number = std::to_string(prn);
    if (number.size() < 2)
        number.insert(0, 2 - number.size(), ' ');
    return std::string(1, letter) + number;
}

SatCode parseSatelliteCode(std::string_view code) noexcept {
    SatCode c;
    if (code.empty())
        return c;
    c.letter = code[0];
    std::string_view digits = code.substr(1, 2);
    if (!digits.empty() && digits[0] == ' ')
        digits.remove_prefix(1);
    std::int32_t prn = 0;
    const auto res = std::from_chars(digits.data(), digits.data() + digits.size(), prn);
    c.prn = res.ec == std::errc() && res.ptr == digits.data() + digits.size() ? prn : 0;
    return c;
}

std::string unitLabel(std::size_t typeCode) {
    if (typeCode >= header::kMaxTypes)
        return {};
    return std::string(header::kObsTypes[typeCode].name) + " " +
           std::string(header::unitOf(typeCode));
}

char systemLetter(SatSystem system) noexcept {
    return header::facts(system).letter;
}

std::string codeOfItem(SatSystem system, std::size_t item) {
    const auto index = static_cast<std::int32_t>(item);
    return satelliteCode(systemLetter(system), index + header::facts(system).firstItem);
}

SatelliteGroups satelliteItems(const obs::SatellitesSeen& seen) {
    SatelliteGroups g;
    g.RGMGPS = groupItems(seen, SatSystem::GPS);
    g.RGMGLO = groupItems(seen, SatSystem::GLONASS);
    g.RGMGEO = groupItems(seen, SatSystem::GEO);
    g.RGMGAL = groupItems(seen, SatSystem::Galileo);
    return g;
}

SatelliteChoice openingChoice(const obs::SatellitesSeen& seen) {
    const SatelliteGroups g = satelliteItems(seen);
    SatelliteChoice c;
    if (const int gps = firstPresent(g.RGMGPS); gps >= 0) {
        c.system = SatSystem::GPS;
        c.item = gps;
    } else if (const int glo = firstPresent(g.RGMGLO); glo >= 0) {
        c.system = SatSystem::GLONASS;
        c.item = glo;
    } else {
        return c;
    }
    c.code = codeOfItem(c.system, static_cast<std::size_t>(c.item));
    return c;
}

ObsTypeLayout layoutOf(const header::THeaderData& header, const obs::TObsFileO& scan) noexcept {
    ObsTypeLayout l;
    l.typeCount = std::max(0, header.typeCount);
    l.TypePosition = scan.TypePosition;
    return l;
}

long double SatelliteCells::value(std::int32_t p) const noexcept {
    if (p < 1)
        return 0;
    return text::RecordReader(m_cells).ext80(static_cast<std::size_t>(p - 1) * obs::kObsRecSize);
}

std::uint8_t SatelliteCells::strength(std::int32_t p) const noexcept {
    if (p < 1)
        return 0;
    return text::RecordReader(m_cells).u8(static_cast<std::size_t>(p - 1) * obs::kObsRecSize + 11);
}

LoopEnd
readSatelliteCells(const std::filesystem::path& rinexEpochs, const std::filesystem::path& obsRecs,
                   std::int32_t writtenEpochs, std::int32_t typeCount, std::string_view code,
                   const GaugeProgress& progress,
                   const std::function<void(std::int32_t, const SatelliteCells&)>& onEntry) {
    if (writtenEpochs <= 1)
        return LoopEnd::NotRun;
    const std::size_t types = static_cast<std::size_t>(std::max(0, typeCount));
    // ObsRecs.dat is read one satellite at a time: a satellite's cells make one block.
    const std::size_t blockSize = std::max<std::size_t>(types, 1) * obs::kObsRecSize;
    text::RecordFileReader epochs;
    text::RecordFileReader cells;
    if (!epochs.open(rinexEpochs, obs::kEpochRecSize) || !cells.open(obsRecs, blockSize))
        return LoopEnd::OpenFailed;
    const SatCode wanted = parseSatelliteCode(code);
    const std::uint64_t blocks = types == 0 ? 0 : cells.recordCount();
    std::uint64_t position = 0; // satellite blocks read or passed over so far

    for (std::int32_t i = 1; i <= writtenEpochs; ++i) {
        if (i % 2000 == 0 && progress)
            progress(static_cast<int>(std::int64_t{i} * 100 / writtenEpochs));
        const auto record = epochs.next();
        if (record.empty())
            return LoopEnd::EpochsShort;
        const std::int32_t sats = std::max(0, text::RecordReader(record).i32(kSatCountAt));
        for (std::size_t k = 0; k < static_cast<std::size_t>(sats); ++k) {
            if (types > 0 && position >= blocks)
                return LoopEnd::CellsShort;
            const bool match = k < kSatEntries &&
                               entryMatches(record.data() + kFirstEntryAt + k * kEntrySize, wanted);
            if (!match) {
                if (types > 0)
                    ++position; // passed over in one run when the next match needs it
                continue;
            }
            if (types == 0) {
                onEntry(i, SatelliteCells({}));
                continue;
            }
            if (position > cells.index() && !cells.skip(position - cells.index()))
                return LoopEnd::CellsShort;
            const auto block = cells.next();
            if (block.empty())
                return LoopEnd::CellsShort;
            ++position;
            onEntry(i, SatelliteCells(block));
        }
    }
    return LoopEnd::Complete;
}

MeasurementsChart chartMeasurement(const std::filesystem::path& rinexEpochs,
                                   const std::filesystem::path& obsRecs, std::int32_t writtenEpochs,
                                   const ObsTypeLayout& layout, std::string_view code,
                                   std::size_t typeCode, const GaugeProgress& progress) {
    MeasurementsChart chart;
    const bool known = typeCode < header::kMaxTypes;
    chart.title = unitLabel(typeCode);
    const std::int32_t p = known ? layout.TypePosition[typeCode] : 0;
    // Pseudoranges and phases carry a signal strength worth showing.
    const bool withStrength = known && header::hasStrength(typeCode);
    if (writtenEpochs > 1) {
        chart.values.x.reserve(static_cast<std::size_t>(writtenEpochs));
        chart.values.y.reserve(static_cast<std::size_t>(writtenEpochs));
    }
    const LoopEnd end =
        readSatelliteCells(rinexEpochs, obsRecs, writtenEpochs, layout.typeCount, code, progress,
                           [&](std::int32_t i, const SatelliteCells& cells) {
                               if (p <= 0)
                                   return;
                               const long double v = cells.value(p);
                               if (std::fabs(v) > 0.00001L)
                                   chart.values.add(i, static_cast<double>(v));
                               if (!withStrength)
                                   return;
                               const std::uint8_t s = cells.strength(p);
                               if (s > 0)
                                   chart.strength.add(i, s);
                           });
    switch (end) {
    case LoopEnd::NotRun:
    case LoopEnd::Complete:
        chart.gauge = GaugeSequence::AfterMessages;
        break;
    case LoopEnd::OpenFailed:
        chart.messages.emplace_back("Error Opening File RinexEpochs.dat ! ");
        chart.gauge = GaugeSequence::None;
        break;
    case LoopEnd::EpochsShort:
        chart.messages.emplace_back("Unexpected end of file");
        chart.gauge = GaugeSequence::AfterMessages;
        break;
    case LoopEnd::CellsShort:
        chart.messages.emplace_back("Unexpected end of file SVs");
        chart.gauge = GaugeSequence::AfterMessages;
        break;
    }
    return chart;
}

ChartRequest MeasurementsSelection::open(const obs::SatellitesSeen& seen) {
    m_measurementMode = true;
    m_type = 0; // C1
    m_groups = satelliteItems(seen);
    const SatelliteChoice choice = openingChoice(seen);
    if (choice.item >= 0) {
        m_items.fill(-1);
        m_system = choice.system;
        m_items[static_cast<std::size_t>(choice.system)] = choice.item;
    }
    return {ChartRequest::Kind::Measurement, choice.code, 0};
}

ChartRequest MeasurementsSelection::typeChosen(std::size_t typeCode) {
    m_measurementMode = true;
    m_type = static_cast<int>(typeCode);
    return {ChartRequest::Kind::Measurement, selectedCode(), typeCode};
}

ChartRequest MeasurementsSelection::satelliteChosen(SatSystem system, std::size_t item,
                                                    std::size_t comObsItem) {
    m_items.fill(-1);
    m_items[static_cast<std::size_t>(system)] = static_cast<int>(item);
    m_system = system;
    const auto& items = groupOf(system);
    if (item < items.size() && items[item] == "N")
        return {};
    if (m_measurementMode)
        return {ChartRequest::Kind::Measurement, selectedCode(),
                static_cast<std::size_t>(std::max(0, m_type))};
    if (system != SatSystem::GPS)
        return {};
    return {ChartRequest::Kind::Combination, selectedCode(), comObsItem};
}

ChartRequest MeasurementsSelection::combinationOk(std::size_t comObsItem) {
    m_measurementMode = false;
    m_type = -1;
    if (m_system != SatSystem::GPS)
        return {};
    return {ChartRequest::Kind::Combination, selectedCode(), comObsItem};
}

const std::vector<std::string>& MeasurementsSelection::groupOf(SatSystem system) const noexcept {
    switch (system) {
    case SatSystem::GPS:
        return m_groups.RGMGPS;
    case SatSystem::GLONASS:
        return m_groups.RGMGLO;
    case SatSystem::GEO:
        return m_groups.RGMGEO;
    case SatSystem::Galileo:
        return m_groups.RGMGAL;
    }
    return m_groups.RGMGPS;
}

// A group without a selected item gives PRN 0, which no epoch entry holds (for GEO the item
// arithmetic would name PRN 19, a real satellite).
std::string MeasurementsSelection::selectedCode() const {
    const int item = m_items[static_cast<std::size_t>(m_system)];
    if (item < 0)
        return satelliteCode(systemLetter(m_system), 0);
    return codeOfItem(m_system, static_cast<std::size_t>(item));
}

} // namespace views
