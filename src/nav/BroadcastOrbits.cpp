#include "nav/BroadcastOrbits.h"

#include "text/RecordFile.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <span>

namespace nav {

namespace {

// Calls onRecord with every record of a file; false when it cannot be opened.
template <typename F>
bool readRecords(const std::filesystem::path& path, std::size_t size, F onRecord) {
    if (path.empty())
        return true;
    text::RecordFileReader reader;
    if (!reader.open(path, size))
        return false;
    for (auto bytes = reader.next(); !bytes.empty(); bytes = reader.next())
        onRecord(bytes);
    return true;
}

constexpr int systemOrder(char system) noexcept {
    switch (system) {
    case 'G':
        return 0;
    case 'R':
        return 1;
    case 'S':
        return 2;
    default:
        return 3;
    }
}

} // namespace

std::uint32_t BroadcastOrbits::keyOf(OrbitSat sat) noexcept {
    return (static_cast<std::uint32_t>(static_cast<unsigned char>(sat.system)) << 24) |
           (static_cast<std::uint32_t>(sat.prn) & 0xFFFFFFu);
}

void BroadcastOrbits::add(Record r) {
    m_records.push_back(r);
}

std::vector<std::filesystem::path> BroadcastOrbits::load(const Files& files, int leapSeconds) {
    m_records.clear();
    m_bySat.clear();
    std::vector<std::filesystem::path> failed;
    const auto note = [&](bool ok, const std::filesystem::path& path) {
        if (!ok)
            failed.push_back(path);
    };
    note(readRecords(files.gps, kEphemGPSSize,
                     [&](std::span<const std::byte> b) {
                         const TEphemGPSRec r = decodeEphemGPS(b);
                         if (const auto o = keplerOrbitOf(r))
                             add({Kind::Kepler, {'G', r.prn}, o->toe, *o, {}, 0});
                     }),
         files.gps);
    note(readRecords(files.glo, kEphemGLOSize,
                     [&](std::span<const std::byte> b) {
                         const TEphemGLORec r = decodeEphemGLO(b);
                         const std::optional<double> utc = GpsSecondsOf(r.epoch);
                         if (!utc)
                             return;
                         const int leap = leapSeconds > 0 ? leapSeconds : LeapSecondsAt(*utc);
                         if (const auto s = glonassStateOf(r, leap))
                             add({Kind::Glonass, {'R', r.slot}, s->t0, {}, *s, r.frequency});
                     }),
         files.glo);
    note(readRecords(files.geo, kEphemGEOSize,
                     [&](std::span<const std::byte> b) {
                         const TEphemGEORec r = decodeEphemGEO(b);
                         if (const auto s = geoStateOf(r))
                             add({Kind::Geo, {'S', r.prn}, s->t0, {}, *s, 0});
                     }),
         files.geo);
    note(readRecords(files.gal, kEphemGALSize,
                     [&](std::span<const std::byte> b) {
                         const TEphemGALRec r = decodeEphemGAL(b);
                         if (const auto o = keplerOrbitOf(r))
                             add({Kind::Kepler, {'E', r.prn}, o->toe, *o, {}, 0});
                     }),
         files.gal);
    index();
    return failed;
}

void BroadcastOrbits::index() {
    for (std::size_t i = 0; i < m_records.size(); ++i)
        m_bySat[keyOf(m_records[i].sat)].push_back(static_cast<int>(i));
    for (auto& [key, list] : m_bySat)
        std::stable_sort(list.begin(), list.end(), [this](int a, int b) {
            return m_records[static_cast<std::size_t>(a)].t0 <
                   m_records[static_cast<std::size_t>(b)].t0;
        });
}

BroadcastOrbits::RecordSpan BroadcastOrbits::spanAt(OrbitSat sat, double t) const noexcept {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const auto found = m_bySat.find(keyOf(sat));
    if (found == m_bySat.end())
        return {-1, -kInf, kInf};
    const std::vector<int>& list = found->second;
    const auto timeOf = [this](int i) { return m_records[static_cast<std::size_t>(i)].t0; };
    const auto n = static_cast<std::ptrdiff_t>(list.size());
    // g: the first record after t; the group of records at one time is answered by its last.
    const std::ptrdiff_t g = std::upper_bound(list.begin(), list.end(), t,
                                              [&](double v, int i) { return v < timeOf(i); }) -
                             list.begin();
    const auto lastOfGroup = [&](std::ptrdiff_t first) {
        std::ptrdiff_t k = first;
        while (k + 1 < n && timeOf(list[static_cast<std::size_t>(k + 1)]) ==
                                timeOf(list[static_cast<std::size_t>(first)]))
            ++k;
        return k;
    };
    const auto firstOfGroup = [&](std::ptrdiff_t last) {
        std::ptrdiff_t k = last;
        while (k > 0 && timeOf(list[static_cast<std::size_t>(k - 1)]) ==
                            timeOf(list[static_cast<std::size_t>(last)]))
            --k;
        return k;
    };
    const auto at = [&](std::ptrdiff_t k) { return timeOf(list[static_cast<std::size_t>(k)]); };
    const bool hasPrev = g > 0;
    const bool hasNext = g < n;
    const double mid = hasPrev && hasNext ? (at(g - 1) + at(g)) / 2 : 0;
    std::ptrdiff_t chosen = 0;
    double lo = -kInf, hi = kInf;
    if (hasPrev && (!hasNext || t < mid)) {
        chosen = g - 1; // already the last of its group
        const std::ptrdiff_t first = firstOfGroup(chosen);
        if (first > 0)
            lo = (at(first - 1) + at(chosen)) / 2;
        if (hasNext)
            hi = mid;
    } else {
        chosen = lastOfGroup(g);
        if (hasPrev)
            lo = mid;
        if (chosen + 1 < n)
            hi = (at(chosen) + at(chosen + 1)) / 2;
    }
    const int record = list[static_cast<std::size_t>(chosen)];
    const Record& r = m_records[static_cast<std::size_t>(record)];
    const double validity = r.kind == Kind::Kepler ? kKeplerValidity : kStateValidity;
    const double validFrom = r.t0 - validity, validTo = r.t0 + validity;
    if (t < validFrom)
        return {-1, lo, validFrom};
    if (t >= validTo)
        return {-1, validTo, hi};
    return {record, std::max(lo, validFrom), std::min(hi, validTo)};
}

SatState BroadcastOrbits::state(int record, double t) const noexcept {
    const Record& r = m_records[static_cast<std::size_t>(record)];
    switch (r.kind) {
    case Kind::Kepler:
        return keplerState(r.kepler, t);
    case Kind::Glonass:
        return glonassState(r.vector, t);
    case Kind::Geo:
        return geoState(r.vector, t);
    }
    return {};
}

std::optional<SatState> BroadcastOrbits::state(OrbitSat sat, double t) const noexcept {
    const int record = recordAt(sat, t);
    if (record < 0)
        return std::nullopt;
    return state(record, t);
}

double BroadcastOrbits::referenceTime(int record) const noexcept {
    return m_records[static_cast<std::size_t>(record)].t0;
}

std::vector<OrbitSat> BroadcastOrbits::satellites() const {
    std::vector<OrbitSat> sats;
    sats.reserve(m_bySat.size());
    for (const auto& [key, list] : m_bySat)
        sats.push_back(m_records[static_cast<std::size_t>(list.front())].sat);
    std::sort(sats.begin(), sats.end(), [](OrbitSat a, OrbitSat b) {
        if (a.system != b.system)
            return systemOrder(a.system) < systemOrder(b.system);
        return a.prn < b.prn;
    });
    return sats;
}

std::optional<int> BroadcastOrbits::glonassChannel(std::int32_t slot) const noexcept {
    const auto found = m_bySat.find(keyOf({'R', slot}));
    if (found == m_bySat.end())
        return std::nullopt;
    // The last record in file order: the latest word on the channel.
    const int last = *std::max_element(found->second.begin(), found->second.end());
    return m_records[static_cast<std::size_t>(last)].channel;
}

} // namespace nav
