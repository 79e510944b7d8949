#pragma once

#include "header/HeaderData.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace views {

/// What the header view shows for an observation header: one text per label and the lines of
/// its two lists. A label whose value the header does not hold is empty (std::nullopt) and
/// keeps the text it showed before.
struct HeaderViewTexts {
    std::string satSys; // ST_SatSys: "GPS", "GLONASS" or "MIXED"
    std::string observer, agency;
    std::string recNum, recTyp, recVer;
    std::string apprX, apprY, apprZ; // metres
    std::string marName, marNumb;
    std::string antNum, antTyp, antH, antEe, antEn; // metres
    std::string wlfL1, wlfL2, wlfNS;
    std::string interval; // milliseconds
    std::optional<std::string> firstObs, lastObs;
    std::string timeSys, leapSec, numSat;
    std::optional<std::string> nObsTyp, obsTyp;
    std::vector<std::string> wfPrn;  // LB_WFPRN, heading line first
    std::vector<std::string> prnObs; // LB_PRNObs, heading line first
};

inline constexpr std::string_view kWfPrnHeading = " SI   PRN ";
inline constexpr std::string_view kPrnObsHeading = " PRN            # OF Observation";

/// The header view's texts for an observation header. intervalMs is the observation scanner's
/// interval in milliseconds; reals are shown in general format with decSep. Counts beyond the
/// header tables (more satellites or types than a header can hold, negative counts) are held
/// to the tables.
HeaderViewTexts computeHeaderView(const header::THeaderData& h, std::int32_t intervalMs,
                                  std::string_view decSep);

/// " " + day/month/year hour:minute:whole seconds, each part but the year with a leading 0
/// when it has one digit, as the epoch list writes times: " 25/05/2009 00:00:30".
std::string observationTimeText(const text::TEpochTime& t);

} // namespace views
