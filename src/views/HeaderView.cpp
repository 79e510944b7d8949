#include "views/HeaderView.h"

#include "text/NumberText.h"

#include <algorithm>
#include <cmath>

namespace views {

static std::string satelliteSystemName(std::uint8_t code) {
    switch (code) {
    case 1:
        return "GLONASS";
    case 2:
        return "MIXED";
    case 3:
        return "GEO";
    case 4:
        return "GALILEO";
    default:
        return "GPS";
    }
}

// A cleared table entry holds the character code 0, shown as a blank.
static char systemLetter(char c) {
    return c == '\0' ? ' ' : c;
}

static std::size_t heldCount(std::int32_t n, std::size_t tableSize) {
    if (n <= 0)
        return 0;
    return std::min(static_cast<std::size_t>(n), tableSize);
}

static std::string rightAligned(std::string s, std::size_t width) {
    if (s.size() < width)
        s.insert(0, width - s.size(), ' ');
    return s;
}

// A number of 0 to 9 gets a leading 0; others (a header can hold any) are written whole.
static std::string twoDigits(long long n) {
    std::string s = std::to_string(n);
    return n >= 0 && n <= 9 ? "0" + s : s;
}

std::string observationTimeText(const text::TEpochTime& t) {
    // Seconds are truncated; a value that is not a number shows as 0.
    const long double s = t.seconds;
    const long long whole = std::isfinite(s) && s > 0 ? static_cast<long long>(std::trunc(s)) : 0;
    // Appended piece by piece: GCC 12 at -O3 reports a false -Wrestrict on a chain of
    // operator+ that starts with a literal.
    std::string text = " ";
    text += twoDigits(t.day);
    text += '/';
    text += twoDigits(t.month);
    text += '/';
    text += std::to_string(t.year);
    text += ' ';
    text += twoDigits(t.hour);
    text += ':';
    text += twoDigits(t.minute);
    text += ':';
    text += twoDigits(whole);
    return text;
}

static std::string typeCode(std::uint8_t code) {
    if (code < header::kObsTypeNames.size())
        return std::string(header::kObsTypeNames[code]);
    return "??";
}

// Counts have 6 columns each; a count wider than that keeps all its digits after one blank, so
// that the columns of a line stay apart.
static std::string countColumn(std::int32_t count) {
    const std::string digits = std::to_string(count);
    if (digits.size() > 6)
        return " " + digits;
    return rightAligned(digits, 6);
}

HeaderViewTexts computeHeaderView(const header::THeaderData& h, std::int32_t intervalMs,
                                  std::string_view decSep) {
    HeaderViewTexts v;
    v.satSys = satelliteSystemName(h.satelliteSystem);
    v.marName = h.markerName;
    v.marNumb = h.markerNumber;
    v.observer = h.observer;
    v.agency = h.agency;
    v.recNum = h.receiverNumber;
    v.recTyp = h.receiverType;
    v.recVer = h.receiverVersion;
    v.antNum = h.antennaNumber;
    v.antTyp = h.antennaType;
    v.apprX = text::GeneralText(h.approxX, decSep);
    v.apprY = text::GeneralText(h.approxY, decSep);
    v.apprZ = text::GeneralText(h.approxZ, decSep);
    v.antH = text::GeneralText(h.antennaH, decSep);
    v.antEe = text::GeneralText(h.antennaE, decSep);
    v.antEn = text::GeneralText(h.antennaN, decSep);
    v.wlfL1 = std::to_string(h.wavelengthL1);
    v.wlfL2 = std::to_string(h.wavelengthL2);
    v.wlfNS = std::to_string(h.wavelengthSatCount);
    v.interval = std::to_string(intervalMs);
    if (h.firstObsPresent)
        v.firstObs = observationTimeText(h.firstObs);
    if (h.lastObsPresent)
        v.lastObs = observationTimeText(h.lastObs);
    v.timeSys = h.timeSystem;
    v.leapSec = std::to_string(h.leapSeconds);
    v.numSat = std::to_string(h.satelliteCount);

    v.wfPrn.emplace_back(kWfPrnHeading);
    const std::size_t wavelengthSats = heldCount(h.wavelengthSatCount, h.wavelengthSats.size());
    for (std::size_t i = 0; i < wavelengthSats; ++i) {
        const header::SatEntry& sat = h.wavelengthSats[i];
        v.wfPrn.push_back(std::string(" ") + systemLetter(sat.system) + "  " +
                          std::to_string(sat.prn));
    }

    const std::size_t types = heldCount(h.typeCount, h.types.size());
    if (types != 0) {
        v.nObsTyp = std::to_string(h.typeCount);
        std::string codes;
        for (std::size_t j = 0; j < types; ++j)
            codes += "  " + typeCode(h.types[j]);
        v.obsTyp = codes;
    }

    v.prnObs.emplace_back(kPrnObsHeading);
    const std::size_t satellites = heldCount(h.satelliteCount, h.satellites.size());
    if (types == 0)
        return v;
    for (std::size_t i = 0; i < satellites; ++i) {
        const header::SatEntry& sat = h.satellites[i];
        std::string line = std::string(" ") + systemLetter(sat.system) +
                           rightAligned(std::to_string(sat.prn), 2) + "   ";
        for (std::size_t j = 0; j < types; ++j)
            line += countColumn(h.obsCounts[i][j]);
        v.prnObs.push_back(std::move(line));
    }
    return v;
}

} // namespace views
