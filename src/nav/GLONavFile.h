#pragma once

#include "header/HeaderData.h"
#include "nav/EphemRecords.h"
#include "nav/NavFrame.h"
#include "nav/NavLines.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace nav {

inline constexpr std::array<std::string_view, 6> kGLOLabels = {
    "RINEX VERSION / TYPE", "PGM / RUN BY / DATE", "COMMENT",
    "CORR TO SYSTEM TIME",  "LEAP SECONDS",        "END OF HEADER"};

/// The day of the epoch within its four-year interval, counted from 1 January of the latest
/// leap year not after the epoch's year; one less when the epoch lies before 03:00 minus the
/// leap seconds (the start of the day in Moscow time).
std::int16_t GLONASSDayNumber(const text::TEpochTime& epoch, std::int32_t leapSeconds) noexcept;

/// What the GLONASS scanner adds to the frame: the CORR TO SYSTEM TIME line, three orbit lines
/// of position, velocity and acceleration, and the completion of a TEphemGLORec.
struct GLONav {
    using Header = header::THeaderDataGLO;
    using Record = TEphemGLORec;
    using HeaderKindList = TListHStrGLO;

    static constexpr NavRules kRules{text::FileKind::G,
                                     'G',
                                     kGLOLabels,
                                     4,
                                     5,
                                     3,
                                     LastOrbitLine::AllFour,
                                     SecondsField::WordOrDash,
                                     false,
                                     false,
                                     false,
                                     kGLONumbers.firstNumber,
                                     kGLONumbers.lastNumber,
                                     kEphemGLOFile};

    /// CORR TO SYSTEM TIME (also used by the GEO scanner).
    static void handleHeaderLine(std::uint8_t code, std::string_view line,
                                 header::THeaderDataGLO& h, const LineReport& report);
    static void finishHeader(header::THeaderDataGLO&) noexcept {}
    static void clearSatellite(Record& r) noexcept;
    static void setSatellite(Record& r, std::int32_t s) noexcept;
    static std::int32_t key(const Record& r) noexcept { return r.slot; }
    static void complete(Record& r, const OrbitTable& t, const Header& h,
                         std::int32_t ordinal) noexcept;
};

/// The GLONASS navigation file scanner (file letter G, lists LBHeaderG and LBDataG,
/// EphemGLORecs.dat).
class TGLOFileG : public NavScanner<GLONav> {
public:
    using NavScanner::NavScanner;
};

} // namespace nav
