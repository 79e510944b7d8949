#pragma once

#include "header/HeaderData.h"
#include "nav/EphemRecords.h"
#include "nav/GPSNavFile.h"
#include "nav/NavFrame.h"
#include "nav/NavLines.h"

#include <cstdint>
#include <string_view>

namespace nav {

/// What the Galileo scanner adds to the frame: the GPS header labels and orbit lines with the
/// file letter L, and the completion of a TEphemGALRec.
struct GALNav {
    using Header = header::THeaderDataGAL;
    using Record = TEphemGALRec;
    using HeaderKindList = TListHStrNav;

    static constexpr NavRules kRules{text::FileKind::L,
                                     'L',
                                     kGPSLabels,
                                     6,
                                     7,
                                     7,
                                     LastOrbitLine::FirstAndOptionalSecond,
                                     SecondsField::FourCharacters,
                                     false,
                                     false,
                                     true,
                                     kGALNumbers.firstNumber,
                                     kGALNumbers.lastNumber,
                                     kEphemGALFile};

    static void handleHeaderLine(std::uint8_t code, std::string_view line, Header& h,
                                 const LineReport& report) {
        GPSNav::handleHeaderLine(code, line, h, report);
    }
    static void finishHeader(Header& h) noexcept { GPSNav::finishHeader(h); }
    static void clearSatellite(Record& r) noexcept;
    static void setSatellite(Record& r, std::int32_t s) noexcept;
    static std::int32_t key(const Record& r) noexcept { return r.prn; }
    static void complete(Record& r, const OrbitTable& t, const Header& h,
                         std::int32_t ordinal) noexcept;
};

/// The Galileo navigation file scanner (file letter L, lists LBHeaderL and LBDataL,
/// EphemGALRecs.dat).
class TGALFileL : public NavScanner<GALNav> {
public:
    using NavScanner::NavScanner;
};

} // namespace nav
