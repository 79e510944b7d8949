#pragma once

#include "header/HeaderData.h"
#include "nav/EphemRecords.h"
#include "nav/GLONavFile.h"
#include "nav/NavFrame.h"
#include "nav/NavLines.h"

#include <cstdint>
#include <string_view>

namespace nav {

/// What the GEO scanner adds to the frame: the satellite number range, blank data lines that
/// count, the GLONASS header labels and the completion of a TEphemGEORec.
struct GEONav {
    using Header = header::THeaderDataGEO;
    using Record = TEphemGEORec;
    using HeaderKindList = TListHStrGEO;

    static constexpr NavRules kRules{text::FileKind::H,
                                     'H',
                                     kGLOLabels,
                                     4,
                                     5,
                                     3,
                                     LastOrbitLine::FirstThree,
                                     SecondsField::WordOrDash,
                                     true,
                                     true,
                                     false,
                                     kGEONumbers.firstNumber,
                                     kGEONumbers.lastNumber,
                                     kEphemGEOFile};

    static void handleHeaderLine(std::uint8_t code, std::string_view line, Header& h,
                                 const LineReport& report) {
        GLONav::handleHeaderLine(code, line, h, report);
    }
    static void finishHeader(Header&) noexcept {}
    static void clearSatellite(Record& r) noexcept;
    static void setSatellite(Record& r, std::int32_t s) noexcept;
    /// The satellite number as written (20..58), not the one plus 100.
    static std::int32_t key(const Record& r) noexcept { return r.prn; }
    static void complete(Record& r, const OrbitTable& t, const Header& h,
                         std::int32_t ordinal) noexcept;
};

/// The GEO/SBAS navigation file scanner (file letter H, lists LBHeaderH and LBDataH,
/// EphemGEORecs.dat).
class TGEOFileH : public NavScanner<GEONav> {
public:
    using NavScanner::NavScanner;
};

} // namespace nav
