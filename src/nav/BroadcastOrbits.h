#pragma once

#include "nav/SatOrbit.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <unordered_map>
#include <vector>

namespace nav {

/// How far from its reference time a record is used: GPS and Galileo two hours (half of the
/// four-hour fit interval), GLONASS and GEO fifteen minutes; the end itself is outside.
inline constexpr double kKeplerValidity = 7200.0; // s
inline constexpr double kStateValidity = 900.0;   // s

/// A satellite of the ephemeris record files: system letter G, R, S or E and its number as the
/// observation file writes it (S: the PRN less 100).
struct OrbitSat {
    char system = 'G';
    std::int32_t prn = 0;
    friend bool operator==(const OrbitSat&, const OrbitSat&) = default;
};

/// The broadcast orbits of the four ephemeris record files, each satellite's records ordered by
/// reference time. Position look-ups take the record nearest in time within its validity.
class BroadcastOrbits {
public:
    struct Files {
        std::filesystem::path gps, glo, geo, gal; // a path left empty is not read
    };

    /// Reads the four files. GLONASS epochs are UTC and become GPS time with `leapSeconds`
    /// (the GPS - UTC of the time of each record when 0). A file that cannot be opened counts
    /// as empty and is named in the result; records whose epoch is no date are left out.
    std::vector<std::filesystem::path> load(const Files& files, int leapSeconds);

    /// The record for satellite `sat` at GPS time t: the one whose reference time is nearest
    /// (the later one of two as near; of several with one time, the last in file order) and
    /// within its validity; -1 when there is none.
    int recordAt(OrbitSat sat, double t) const noexcept { return spanAt(sat, t).record; }

    /// The record at t and the times [from, to) around t that get the same answer.
    struct RecordSpan {
        int record = -1;
        double from = 0, to = 0;
    };
    RecordSpan spanAt(OrbitSat sat, double t) const noexcept;
    /// The state that record computes at GPS time t.
    SatState state(int record, double t) const noexcept;
    std::optional<SatState> state(OrbitSat sat, double t) const noexcept;
    double referenceTime(int record) const noexcept;

    /// Satellites with at least one record, in file-system order G, R, S, E and by number.
    std::vector<OrbitSat> satellites() const;
    /// The frequency channel number of a GLONASS slot from its last record; none without one.
    std::optional<int> glonassChannel(std::int32_t slot) const noexcept;
    std::size_t recordCount() const noexcept { return m_records.size(); }

private:
    enum class Kind : std::uint8_t { Kepler, Glonass, Geo };
    struct Record {
        Kind kind = Kind::Kepler;
        OrbitSat sat;
        double t0 = 0; // GPS seconds
        KeplerOrbit kepler;
        StateVector vector;
        int channel = 0; // GLONASS frequency channel
    };
    static std::uint32_t keyOf(OrbitSat sat) noexcept;
    void add(Record r);
    void index();

    std::vector<Record> m_records;
    std::unordered_map<std::uint32_t, std::vector<int>> m_bySat; // by reference time
};

} // namespace nav
