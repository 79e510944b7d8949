#pragma once

#include "header/HeaderData.h"
#include "nav/EphemRecords.h"
#include "nav/NavFrame.h"
#include "nav/NavLines.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace nav {

inline constexpr std::array<std::string_view, 8> kGPSLabels = {
    "RINEX VERSION / TYPE", "PGM / RUN BY / DATE", "COMMENT",      "ION ALPHA", "ION BETA",
    "DELTA-UTC: A0,A1,T,W", "LEAP SECONDS",        "END OF HEADER"};

/// What the GPS scanner adds to the frame: ionosphere and UTC header lines, seven orbit lines
/// and the completion of a TEphemGPSRec.
struct GPSNav {
    using Header = header::THeaderDataGPS;
    using Record = TEphemGPSRec;
    using HeaderKindList = TListHStrNav;

    static constexpr NavRules kRules{text::FileKind::N,
                                     'N',
                                     kGPSLabels,
                                     6,
                                     7,
                                     7,
                                     LastOrbitLine::FirstAndOptionalSecond,
                                     SecondsField::FourCharacters,
                                     false,
                                     false,
                                     true,
                                     kGPSNumbers.firstNumber,
                                     kGPSNumbers.lastNumber,
                                     kEphemGPSFile};

    /// ION ALPHA, ION BETA and DELTA-UTC (also used by the Galileo scanner).
    static void handleHeaderLine(std::uint8_t code, std::string_view line, Header& h,
                                 const LineReport& report);
    static void finishHeader(Header& h) noexcept;
    static void clearSatellite(Record& r) noexcept;
    static void setSatellite(Record& r, std::int32_t s) noexcept;
    static std::int32_t key(const Record& r) noexcept { return r.prn; }
    static void complete(Record& r, const OrbitTable& t, const Header& h,
                         std::int32_t ordinal) noexcept;
};

/// The GPS navigation file scanner (file letter N, lists LBHeaderN and LBDataN,
/// EphemGPSRecs.dat).
class TNavFileN : public NavScanner<GPSNav> {
public:
    using NavScanner::NavScanner;
};

} // namespace nav
