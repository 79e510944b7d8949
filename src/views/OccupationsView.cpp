#include "views/OccupationsView.h"

#include "text/FieldText.h"
#include "text/NumberText.h"
#include "text/RecordFile.h"

#include <charconv>
#include <cmath>

namespace views {

namespace {

constexpr std::size_t kOccupationAt = 560; // the occupation block of an epoch record

std::string siteText(const std::string& s) {
    if (s.empty())
        return "     Unknown        ";
    std::string t = s;
    text::PadTo(20, true, t);
    return t;
}

bool differs(const obs::TOccupation& a, const obs::TOccupation& b) noexcept {
    return a.markerName != b.markerName || a.markerNumber != b.markerNumber ||
           a.isStatic != b.isStatic || std::fabs(a.antennaHeight - b.antennaHeight) > 0.000001L;
}

} // namespace

std::string antennaHeightText(long double h, std::string_view decSep) {
    std::string s;
    if (!std::isfinite(h)) {
        s = text::FixedText(h, 0, 4);
    } else if (std::fabs(h) >= 1e8L) {
        char buf[64];
        const auto res = std::to_chars(buf, buf + sizeof buf, h, std::chars_format::scientific, 7);
        s.assign(buf, res.ptr);
        for (char& c : s)
            if (c == 'e')
                c = 'E';
    } else {
        // Eight significant digits, of which at most four stand after the point.
        int intDigits = 0;
        for (long double a = std::fabs(h); a >= 1 && intDigits < 9; a /= 10)
            ++intDigits;
        const int keep = std::min(4, 8 - intDigits);
        const long double scale = std::pow(10.0L, keep);
        const long double rounded = std::nearbyint(h * scale) / scale;
        s = text::FixedText(rounded, 0, 4);
    }
    text::DotToDecSep(s, decSep);
    return s;
}

std::string occupationLine(std::int32_t epoch, const obs::TOccupation& o, std::string_view decSep) {
    std::string number = std::to_string(epoch);
    text::PadTo(10, true, number);
    std::string line = "  " + number;
    line += siteText(o.markerName);
    line += siteText(o.markerNumber);
    line += "     " + antennaHeightText(o.antennaHeight, decSep);
    line += o.isStatic ? "            yes" : "             no";
    line += "         " + std::to_string(epoch);
    return line;
}

OccupationsView computeOccupationsView(const std::filesystem::path& rinexEpochs,
                                       std::int32_t writtenEpochs, std::string_view receiverNumber,
                                       std::string_view decSep) {
    OccupationsView v;
    v.staticSeries.title = "Static";
    v.kinematicSeries.title = "Kinematic";
    v.leftTitle = std::string(receiverNumber);
    v.LBOccup.emplace_back(kOccupHeading);
    if (writtenEpochs <= 1)
        return v;
    text::RecordFileReader file;
    if (!file.open(rinexEpochs, obs::kEpochRecSize)) {
        v.messages.emplace_back("Error Opening File RinexEpochs.dat ! ");
        v.opened = false;
        return v;
    }
    obs::TOccupation previous; // empty name and number, static, height 0
    for (std::int32_t i = 1; i <= writtenEpochs; ++i) {
        const auto record = file.next();
        if (record.empty()) {
            // The list and the chart are each read to this point, and each tells it.
            v.messages.emplace_back("Unexpected end of file");
            v.messages.emplace_back("Unexpected end of file");
            break;
        }
        const obs::TOccupation o = obs::decodeOccupation(record.subspan(kOccupationAt));
        if (i == 1 || differs(o, previous))
            v.LBOccup.push_back(occupationLine(i, o, decSep));
        (o.isStatic ? v.staticSeries : v.kinematicSeries).add(i, 0);
        previous = o;
    }
    return v;
}

} // namespace views
