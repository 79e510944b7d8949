#include "obs/ObsFileO.h"

#include "text/Columns.h"
#include "text/FieldText.h"
#include "text/GPSTime.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace obs {

namespace {

using text::column;
using text::columns;
using text::GeneralTrim;
using text::isBlank;
using text::StrictNumber;

// The labels without their trailing blanks: a label is found wherever it stands in a line.
constexpr std::array<std::string_view, 20> kTrimmedLabels = {"RINEX VERSION / TYPE",
                                                             "PGM / RUN BY / DATE",
                                                             "COMMENT",
                                                             "MARKER NAME",
                                                             "MARKER NUMBER",
                                                             "OBSERVER / AGENCY",
                                                             "REC # / TYPE / VERS",
                                                             "ANT # / TYPE",
                                                             "APPROX POSITION XYZ",
                                                             "ANTENNA: DELTA H/E/N",
                                                             "WAVELENGTH FACT L1/2",
                                                             "# / TYPES OF OBSERV",
                                                             "INTERVAL",
                                                             "TIME OF FIRST OBS",
                                                             "TIME OF LAST OBS",
                                                             "LEAP SECONDS",
                                                             "# OF SATELLITES",
                                                             "PRN / # OF OBS",
                                                             "END OF HEADER",
                                                             "RCV CLOCK OFFS APPL"};

// Every label holds two capital letters in a row; data lines almost never do, so most lines
// are settled without searching for the twenty labels.
bool hasTwoCapitals(std::string_view line) noexcept {
    const char* p = line.data();
    std::size_t n = line.size();
    bool previous = false; // the character before p was a capital
#if defined(__SSE2__)
    // Sixteen characters at a time; bit k of `capitals` marks 'A'-'Z' at p[k]. Bytes of 0x80
    // and above compare as negative and are never capitals.
    const __m128i beforeA = _mm_set1_epi8('A' - 1);
    const __m128i afterZ = _mm_set1_epi8('Z' + 1);
    while (n >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned capitals = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpgt_epi8(v, beforeA), _mm_cmplt_epi8(v, afterZ))));
        if ((capitals & ((capitals << 1) | (previous ? 1u : 0u))) != 0)
            return true;
        previous = (capitals & 0x8000u) != 0;
        p += 16;
        n -= 16;
    }
    if (n > 0 && line.size() >= 16) { // the rest, as the tail of the line's last 16 characters
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n - 16));
        const unsigned capitals = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(
                                      _mm_cmpgt_epi8(v, beforeA), _mm_cmplt_epi8(v, afterZ)))) >>
                                  (16 - n);
        return (capitals & ((capitals << 1) | (previous ? 1u : 0u))) != 0;
    }
#endif
    for (; n > 0; --n, ++p) {
        const bool capital = *p >= 'A' && *p <= 'Z';
        if (capital && previous)
            return true;
        previous = capital;
    }
    return false;
}

// Round: to the nearest integer, halves to even. Absurd values ("1E30" as a minute) are held
// at plus or minus 10^9, so that the carries of a time block cannot overflow.
std::int32_t roundInt(long double v) noexcept {
    constexpr long double kLimit = 1e9L;
    if (std::isnan(v))
        return 0;
    if (v >= kLimit)
        return static_cast<std::int32_t>(kLimit);
    if (v <= -kLimit)
        return -static_cast<std::int32_t>(kLimit);
    // Exact in extended precision: the fraction of a value below 10^9 is v - trunc(v).
    std::int32_t t = static_cast<std::int32_t>(v);
    const long double fraction = v - static_cast<long double>(t);
    if (fraction > 0.5L || (fraction == 0.5L && (t & 1) != 0))
        ++t;
    else if (fraction < -0.5L || (fraction == -0.5L && (t & 1) != 0))
        --t;
    return t;
}

// The calendar parts of a day count; a count far beyond any calendar shows as the zero date.
text::DateTimeParts shownDateTime(double dayCount) noexcept {
    if (!(std::fabs(dayCount) < 1e10))
        return text::DateTimeParts{};
    return text::DecodeDateTime(dayCount);
}

// Trunc: toward zero; clamped to the int32 range.
std::int32_t truncInt(long double v) noexcept {
    if (std::isnan(v))
        return 0;
    const long double t = std::trunc(v);
    if (t >= 2147483647.0L)
        return std::numeric_limits<std::int32_t>::max();
    if (t <= -2147483648.0L)
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(t);
}

std::uint16_t shownPart(std::int64_t v) noexcept {
    return static_cast<std::uint16_t>(std::clamp<std::int64_t>(v, 0, 65535));
}

std::string_view rightTrimmed(std::string_view s) noexcept {
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

std::string rightTrimmedText(std::string_view s) {
    return std::string(rightTrimmed(s));
}

bool containsUpper(std::string_view s, std::string_view what, std::size_t* at = nullptr) {
    std::string upper(s);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    const std::size_t p = upper.find(what);
    if (at != nullptr)
        *at = p;
    return p != std::string::npos;
}

// The one-column indicator fields: a digit, or '.' which the strict reading takes as 0.
bool indicatorValue(char c, std::uint8_t maximum, std::uint8_t& value) noexcept {
    if (c == '.') {
        value = 0;
        return true;
    }
    if (c < '0' || c > '9')
        return false;
    value = static_cast<std::uint8_t>(c - '0');
    return value <= maximum;
}

// The usual shape of an F14.3 value: blanks, an optional '-', digits, '.', three digits. Such
// a field passes the fixed-format and the strict check alike, and the strict reading gives
// the digits divided by 1000 in one correctly rounded division, as here. Other shapes go the
// long way through both checks.
// Eight ASCII digits, the first in the lowest byte, to their value.
constexpr std::uint64_t eightDigits(std::uint64_t chars) noexcept {
    chars = (chars & 0x0F0F0F0F0F0F0F0Full) * 2561 >> 8;
    chars = (chars & 0x00FF00FF00FF00FFull) * 6553601 >> 16;
    return (chars & 0x0000FFFF0000FFFFull) * 42949672960001ull >> 32;
}

// The high bit of every byte of x (all below 0x80) that is a digit.
constexpr std::uint64_t digitBytes(std::uint64_t x) noexcept {
    constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0ull;
    constexpr std::uint64_t kZeros = 0x3030303030303030ull;
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    const std::uint64_t t =
        ((x & kHigh) ^ kZeros) | (((x + 0x0606060606060606ull) & kHigh) ^ kZeros);
    return ~(((t & kLow7) + kLow7) | t | kLow7); // t is zero in exactly the digit bytes
}

// A full 14-column F14.3 field whose integer part is blanks, an optional '-' and digits, read
// eight characters at a time. False for any other shape, which the loop below then judges.
bool fullWidthFixed3(const char* p, std::int64_t& m, bool& negative) noexcept {
    const unsigned d1 = static_cast<unsigned>(p[11]) - '0';
    const unsigned d2 = static_cast<unsigned>(p[12]) - '0';
    const unsigned d3 = static_cast<unsigned>(p[13]) - '0';
    if (d1 > 9 || d2 > 9 || d3 > 9)
        return false;
    const std::int64_t decimals = static_cast<std::int64_t>(d1 * 100 + d2 * 10 + d3);
    std::uint64_t x = 0; // columns 3-10 of the field
    std::memcpy(&x, p + 2, 8);
    if ((x & 0x8080808080808080ull) != 0)
        return false;
    const std::uint64_t digits = digitBytes(x);
    if (digits == 0x8080808080808080ull) { // eight digits, perhaps more in columns 1-2
        const char h0 = p[0];
        const char h1 = p[1];
        std::int64_t head = 0;
        negative = false;
        if (h1 == ' ' || h1 == '-') {
            if (h0 != ' ')
                return false;
            negative = h1 == '-';
        } else if (h1 >= '0' && h1 <= '9') {
            head = h1 - '0';
            if (h0 >= '0' && h0 <= '9')
                head += 10 * (h0 - '0');
            else if (h0 == '-')
                negative = true;
            else if (h0 != ' ')
                return false;
        } else {
            return false;
        }
        m = (head * 100000000 + static_cast<std::int64_t>(eightDigits(x))) * 1000 + decimals;
        return true;
    }
    if (digits == 0 || p[0] != ' ' || p[1] != ' ')
        return false;
    // The digits must be the last k characters, the j = 8 - k before them blanks or a '-'.
    const int j = (std::countr_zero(digits) - 7) / 8;
    if (digits != 0x8080808080808080ull << (8 * j))
        return false;
    const std::uint64_t prefixMask = (std::uint64_t{1} << (8 * j)) - 1;
    const std::uint64_t prefix = x & prefixMask;
    const std::uint64_t blanks = 0x2020202020202020ull & prefixMask;
    negative = false;
    if (prefix != blanks) {
        if (prefix != (blanks ^ (std::uint64_t{'-' ^ ' '} << (8 * (j - 1)))))
            return false;
        negative = true;
    }
    const std::uint64_t chars = (x & ~prefixMask) | (0x3030303030303030ull & prefixMask);
    m = static_cast<std::int64_t>(eightDigits(chars)) * 1000 + decimals;
    return true;
}

bool plainFixed3(std::string_view f, long double& value, bool& nonZeroValue) noexcept {
    const std::size_t n = f.size();
    if (n < 5 || f[n - 4] != '.')
        return false;
    if constexpr (std::endian::native == std::endian::little) {
        std::int64_t m = 0;
        bool negative = false;
        if (n == 14 && fullWidthFixed3(f.data(), m, negative)) {
            const long double v = m == 0 ? 0.0L : static_cast<long double>(m) / 1000.0L;
            value = negative ? -v : v;
            nonZeroValue = m != 0;
            return true;
        }
    }
    // The '.' at n - 4 is neither a blank nor a digit, so it ends both loops below.
    const char* p = f.data();
    std::size_t i = 0;
    while (p[i] == ' ')
        ++i;
    bool negative = false;
    if (p[i] == '-') {
        negative = true;
        ++i;
    }
    if (i == n - 4)
        return false;   // no digit before the point
    std::int64_t m = 0; // at most 13 digits
    for (; p[i] != '.'; ++i) {
        const unsigned d = static_cast<unsigned>(p[i]) - '0';
        if (d > 9)
            return false;
        m = m * 10 + static_cast<std::int64_t>(d);
    }
    if (i != n - 4)
        return false; // an earlier point
    const unsigned d1 = static_cast<unsigned>(p[n - 3]) - '0';
    const unsigned d2 = static_cast<unsigned>(p[n - 2]) - '0';
    const unsigned d3 = static_cast<unsigned>(p[n - 1]) - '0';
    if (d1 > 9 || d2 > 9 || d3 > 9)
        return false;
    m = m * 1000 + static_cast<std::int64_t>(d1 * 100 + d2 * 10 + d3);
    const long double v = m == 0 ? 0.0L : static_cast<long double>(m) / 1000.0L;
    value = negative ? -v : v;
    nonZeroValue = m != 0; // the smallest non-zero value, 0.001, is above 0.00001
    return true;
}

// The usual satellite number: two digits, or a blank and a digit. The strict reading of the
// trimmed field gives the same number; every other field goes the long way.
bool twoDigitNumber(std::string_view f, std::int32_t& value) noexcept {
    if (f.size() != 2 || f[1] < '0' || f[1] > '9')
        return false;
    if (f[0] == ' ') {
        value = f[1] - '0';
        return true;
    }
    if (f[0] < '0' || f[0] > '9')
        return false;
    value = (f[0] - '0') * 10 + (f[1] - '0');
    return true;
}

constexpr std::size_t kMaxTableEntries = 1u << 16; // observations held for one epoch

constexpr std::array<std::byte, kObsRecSize> kZeroObsRec{};

const char* const kStarLine = "*******************************************";

} // namespace

std::optional<Label> FindHeaderLabel(std::string_view line) noexcept {
    if (!hasTwoCapitals(line))
        return std::nullopt;
    for (std::size_t code = 0; code < kTrimmedLabels.size(); ++code)
        if (line.find(kTrimmedLabels[code]) != std::string_view::npos)
            return static_cast<Label>(code);
    return std::nullopt;
}

TObsFileO::TObsFileO(const std::filesystem::path& file, header::THeaderData& header,
                     text::DiagnosticList& LBHeader, text::DiagnosticList& LBData,
                     text::ScanObserver& observer, ObsRecordFiles files,
                     text::FreeSpaceGuard& freeSpace, std::string drive)
    : m_header(header), m_LBHeader(LBHeader), m_LBData(LBData), m_observer(observer),
      m_files(files), m_freeSpace(freeSpace), m_drive(std::move(drive)) {
    totalLines = text::CountLines(file);
    m_reader.open(file);
}

// ---------------------------------------------------------------------------------------------
// Header scan

bool TObsFileO::ScanHeader() {
    m_typeContinuation = false;
    m_typesRead = 0;
    m_notRinex2 = false;
    m_waveLines = 0;
    m_wavePending = 0;
    m_waveFactors = {};
    m_prnObsContinuation = false;
    m_prnObsSat = 1;
    m_prnObsType = 1;
    TypePosition.fill(0);
    intervalMs = 0;
    intervalSpan = 0;
    occupation = TOccupation{};
    m_header.Clear();
    headerLineCount = 0;
    HeaderKinds.clear();
    longLines = false;
    m_lastHeaderLine.clear();

    if (!m_reader.rewind()) {
        m_LBHeader.add(1, "Unexpected End of file", "");
        return false;
    }
    text::TextLine t = m_reader.readLine();
    if (t.isEnd()) {
        m_LBHeader.add(1, "Unexpected End of file", t.raw);
        return false;
    }
    std::string current(t.raw);
    bool currentLong = t.isLong();
    if (currentLong) {
        longLines = true;
        m_LBHeader.add(1, "Too long Header string", current);
    }
    if (!FindHeaderLabel(current)) {
        m_LBHeader.add(1, "Not a valid Header string", current);
        m_LBHeader.add(1, "\"END OF HEADER\" string is absent", current);
        return true;
    }
    bool firstLine = true;
    while (true) {
        const std::optional<Label> label = FindHeaderLabel(current);
        if (!label) {
            if (HeaderKinds.empty() ||
                HeaderKinds.back() != static_cast<std::uint8_t>(Label::EndOfHeader))
                m_LBHeader.add(headerLineCount + 1, "\"END OF HEADER\" string is absent", current);
            return true;
        }
        HeaderKinds.push_back(static_cast<std::uint8_t>(*label));
        bool failed = false;
        handleHeaderLine(*label, current, m_LBHeader, headerLineCount + 1, failed);
        if (failed) {
            m_observer.notice("Bad Header string : " +
                              (currentLong ? std::string(text::TextLine::kLong) : current));
            return false;
        }
        if (firstLine && *label != Label::Version)
            m_LBHeader.add(1, "The first string of the Header must be \"RINEX VERSION / TYPE\"",
                           current);
        firstLine = false;
        // The handled line counts as a header line also when the file ends after it.
        ++headerLineCount;
        m_lastHeaderLine = current;
        // Another version's labels and data lines would only give findings of the wrong kind.
        if (m_notRinex2)
            return false;
        t = m_reader.readLine();
        if (t.isEnd()) {
            // A header that is complete leaves the empty data part to the data scan.
            if (*label == Label::EndOfHeader)
                return true;
            m_LBHeader.add(headerLineCount, "Unexpected End of file", current);
            return false;
        }
        current.assign(t.raw);
        currentLong = t.isLong();
        if (currentLong) {
            longLines = true;
            m_LBHeader.add(headerLineCount + 1, "Too long Header string", current);
        }
    }
}

void TObsFileO::handleHeaderLine(Label label, std::string_view line, text::DiagnosticList& list,
                                 std::int64_t lineNo, bool& failed) {
    header::THeaderData& h = m_header;
    switch (label) {
    case Label::Version:
        handleVersion(line, list, lineNo);
        return;
    case Label::Program:
        h.program = rightTrimmedText(columns(line, 1, 20));
        h.runBy = rightTrimmedText(columns(line, 21, 40));
        h.date = rightTrimmedText(columns(line, 41, 60));
        return;
    case Label::Comment:
        return;
    case Label::MarkerName:
        h.markerName = rightTrimmedText(columns(line, 1, 60));
        occupation.markerName = h.markerName.substr(0, 20);
        return;
    case Label::MarkerNumber:
        h.markerNumber = rightTrimmedText(columns(line, 1, 20));
        occupation.markerNumber = h.markerNumber;
        return;
    case Label::Observer:
        h.observer = rightTrimmedText(columns(line, 1, 20));
        h.agency = rightTrimmedText(columns(line, 21, 40));
        return;
    case Label::Receiver:
        h.receiverNumber = rightTrimmedText(columns(line, 1, 20));
        h.receiverType = rightTrimmedText(columns(line, 21, 40));
        h.receiverVersion = rightTrimmedText(columns(line, 41, 60));
        return;
    case Label::Antenna:
        h.antennaNumber = rightTrimmedText(columns(line, 1, 20));
        h.antennaType = rightTrimmedText(columns(line, 21, 40));
        return;
    case Label::ApproxPosition:
        handleApproxPosition(line, list, lineNo);
        return;
    case Label::AntennaDelta:
        handleAntennaDelta(line, list, lineNo);
        return;
    case Label::Wavelength:
        handleWavelength(line, list, lineNo);
        return;
    case Label::ObsTypes:
        failed = !handleObsTypes(line, list, lineNo);
        return;
    case Label::Interval:
        handleInterval(line, list, lineNo);
        return;
    case Label::FirstObs:
        handleObsTime(line, true, list, lineNo);
        return;
    case Label::LastObs:
        handleObsTime(line, false, list, lineNo);
        return;
    case Label::LeapSeconds:
    case Label::ClockOffsetApplied: {
        const std::string_view field = rightTrimmed(columns(line, 1, 60));
        if (field.empty())
            return;
        const text::StrictResult r = StrictNumber(GeneralTrim(field));
        if (!r.valid()) {
            list.add(lineNo,
                     label == Label::LeapSeconds ? "Not valid data for Leap Seconds"
                                                 : "Not valid data for RCV CLOCK OFFS APPL",
                     line);
            return;
        }
        if (label == Label::LeapSeconds)
            h.leapSeconds = roundInt(r.value);
        else if (roundInt(r.value) == 1)
            h.clockOffsetApplied = true;
        return;
    }
    case Label::Satellites: {
        const std::string_view field = rightTrimmed(columns(line, 1, 60));
        const text::StrictResult r = StrictNumber(GeneralTrim(field));
        if (field.empty() || !r.valid()) {
            list.add(lineNo, "Not valid data for Number of Satellites", line);
            return;
        }
        h.satelliteCount = roundInt(r.value);
        if (!StrictNumber(GeneralTrim(columns(line, 1, 6))).valid())
            list.add(lineNo, "Incorrect position of Number of Satellites", line);
        return;
    }
    case Label::PrnObs:
        handlePrnObs(line, list, lineNo);
        return;
    case Label::EndOfHeader:
        return;
    }
}

void TObsFileO::handleVersion(std::string_view line, text::DiagnosticList& list,
                              std::int64_t lineNo) {
    std::string_view word;
    std::string_view rest;
    text::FirstWord(line, word, rest);
    m_header.version = std::string(word);
    if (!text::IsRinex2Version(word)) {
        list.add(lineNo, "Rinex format version is not 2", line);
        m_notRinex2 = true;
    }
    const std::size_t two = line.find('2');
    if (two != std::string_view::npos && two + 1 != 6)
        list.add(lineNo, "The position of \"2\" is not 6", line);
    std::string_view second;
    std::string_view after;
    text::FirstWord(rest, second, after);
    if (!containsUpper(second, "OBSERVATION"))
        list.add(lineNo, "\"Observation Data\" is absent", line);
    std::size_t at = 0;
    if (containsUpper(line, "OBSERVATION DATA", &at) && at + 1 != 21)
        list.add(lineNo, "The position of \"Observation Data\" is not 21", line);
    // G GPS, R GLONASS, S geostationary signal payload, E Galileo, M mixed, T Transit; a
    // blank is GPS.
    if (line.size() < 41) {
        m_header.satelliteSystem = 0;
        return;
    }
    switch (line[40]) {
    case 'M':
        m_header.satelliteSystem = 2;
        return;
    case 'R':
        m_header.satelliteSystem = 1;
        return;
    case 'S':
        m_header.satelliteSystem = 3;
        return;
    case 'E':
        m_header.satelliteSystem = 4;
        return;
    case 'G':
    case 'T':
    case ' ':
        m_header.satelliteSystem = 0;
        return;
    default:
        list.add(lineNo, "Satellite System is not true", line);
        m_header.satelliteSystem = 0;
        return;
    }
}

void TObsFileO::handleApproxPosition(std::string_view line, text::DiagnosticList& list,
                                     std::int64_t lineNo) {
    static constexpr std::array<std::string_view, 3> kNames = {"X", "Y", "Z"};
    static constexpr std::array<std::string_view, 3> kMissing = {"X, Y, Z", "Y, Z", "Z"};
    std::array<long double*, 3> targets = {&m_header.approxX, &m_header.approxY, &m_header.approxZ};
    std::string_view rest = line;
    for (std::size_t i = 0; i < 3; ++i) {
        long double x = 0;
        std::string_view after;
        if (!text::RealFromText(rest, x, after)) {
            list.add(lineNo, std::string(kMissing[i]) + " Position is absent", line);
            return;
        }
        rest = after;
        *targets[i] = x;
        const std::string_view field = columns(line, 14 * i + 1, 14 * i + 14);
        if (!text::FixedFormatOK(field, 14, 4))
            list.add(lineNo, "The format of " + std::string(kNames[i]) + " position is not correct",
                     line);
        if (!StrictNumber(GeneralTrim(field)).valid())
            list.add(lineNo, "Not valid data for " + std::string(kNames[i]) + " position", line);
    }
}

void TObsFileO::handleAntennaDelta(std::string_view line, text::DiagnosticList& list,
                                   std::int64_t lineNo) {
    static constexpr std::array<std::string_view, 3> kNames = {"H", "E", "N"};
    static constexpr std::array<std::string_view, 3> kMissing = {"H, E, N", "E, N", "N"};
    std::array<long double*, 3> targets = {&m_header.antennaH, &m_header.antennaE,
                                           &m_header.antennaN};
    std::string_view rest = line;
    for (std::size_t i = 0; i < 3; ++i) {
        long double x = 0;
        std::string_view after;
        if (!text::RealFromText(rest, x, after)) {
            list.add(lineNo, std::string(kMissing[i]) + " Antenna height is absent", line);
            return;
        }
        rest = after;
        *targets[i] = x;
        if (i == 0)
            occupation.antennaHeight = x;
        if (!text::FixedFormatOK(columns(line, 14 * i + 1, 14 * i + 14), 14, 4))
            list.add(lineNo,
                     "The format of " + std::string(kNames[i]) + "-Antenna height is not correct",
                     line);
    }
}

// Each WAVELENGTH FACT line holds its L1 and L2 factors, the number of satellites they apply
// to and up to seven of them (3X,A1,I2 from column 19). The first line gives the default
// factors; every satellite keeps the factors of its own line. A line that announces more than
// seven satellites goes on in the satellite columns of the next line of this label when that
// line's columns 1-18 are blank.
void TObsFileO::handleWavelength(std::string_view line, text::DiagnosticList& list,
                                 std::int64_t lineNo) {
    header::THeaderData& h = m_header;
    std::int32_t listed = 0; // satellites this line holds
    if (m_wavePending > 0 && isBlank(columns(line, 1, 18))) {
        listed = std::min(7, m_wavePending);
    } else {
        m_wavePending = 0;
        const text::StrictResult l1 = StrictNumber(GeneralTrim(columns(line, 1, 6)));
        const std::int32_t f1 = l1.valid() ? roundInt(l1.value) : 0;
        if (!l1.valid() || (f1 != 1 && f1 != 2)) {
            list.add(lineNo, "Not valid data for L1 Wavwlength Factor", line);
            return;
        }
        const text::StrictResult l2 = StrictNumber(GeneralTrim(columns(line, 7, 12)));
        const std::int32_t f2 = l2.valid() ? roundInt(l2.value) : -1;
        if (!l2.valid() || f2 < 0 || f2 > 2) {
            if (m_waveLines++ == 0)
                h.wavelengthL1 = f1;
            list.add(lineNo, "Not valid data for L2 Wavwlength Factor", line);
            return;
        }
        if (m_waveLines++ == 0) {
            h.wavelengthL1 = f1;
            h.wavelengthL2 = f2;
        }
        const std::string_view countText = GeneralTrim(columns(line, 13, 18));
        std::int32_t count = 0;
        if (!countText.empty()) {
            const text::StrictResult c = StrictNumber(countText);
            if (!c.valid()) {
                list.add(lineNo, "Not valid data for Number of Satellites", line);
                return;
            }
            count = std::max(0, roundInt(c.value));
        }
        m_waveFactors = {f1, f2};
        listed = std::min(7, count);
        m_wavePending = count;
    }
    for (std::int32_t j = 1; j <= listed; ++j) {
        const std::size_t k = static_cast<std::size_t>(h.wavelengthSatCount) + 1;
        ++h.wavelengthSatCount;
        --m_wavePending;
        const std::size_t first = 19 + 6 * static_cast<std::size_t>(j - 1);
        const std::string_view entry = columns(line, first, first + 5);
        if (!isBlank(columns(entry, 1, 3)))
            list.add(lineNo, "Not valid data for List of PRNs", line);
        if (k <= header::kMaxSatellites) {
            h.wavelengthSats[k - 1].system = column(entry, 4);
            h.wavelengthSatFactors[k - 1] = m_waveFactors;
        }
        const text::StrictResult prn = StrictNumber(GeneralTrim(columns(entry, 5, 6)));
        if (!prn.valid())
            list.add(lineNo, "Not valid data for List of PRNs", line);
        else if (k <= header::kMaxSatellites)
            h.wavelengthSats[k - 1].prn = roundInt(prn.value);
    }
}

bool TObsFileO::handleObsTypes(std::string_view line, text::DiagnosticList& list,
                               std::int64_t lineNo) {
    header::THeaderData& h = m_header;
    std::string_view words = line;
    if (!m_typeContinuation) {
        m_typesRead = 0;
        h.typeCount = -1;
        std::int32_t count = 0;
        std::string_view rest;
        if (!text::IntFromText(line, count, rest)) {
            list.add(lineNo, "Not valid data for Number of Observation Types", line);
            return false;
        }
        h.typeCount = count;
        if (count == 0) {
            list.add(lineNo, "Number of Observation Types = 0", line);
            return false;
        }
        if (!StrictNumber(GeneralTrim(columns(line, 1, 6))).valid())
            list.add(lineNo, "Wrong position of Number of Observation Types", line);
        words = rest;
    }
    const std::int32_t n = std::min(9, h.typeCount - m_typesRead);
    for (std::int32_t j = 1; j <= n; ++j) {
        const std::size_t c = 7 + 6 * static_cast<std::size_t>(j - 1);
        std::string_view word;
        if (j == 9) { // the ninth type runs into the label
            word = GeneralTrim(words.substr(0, std::min<std::size_t>(6, words.size())));
            words.remove_prefix(std::min<std::size_t>(6, words.size()));
        } else {
            std::string_view rest;
            text::FirstWord(words, word, rest);
            words = rest;
        }
        const std::optional<std::uint8_t> code = header::ObsTypeCode(word);
        if (!code) {
            list.add(lineNo, "Not valid data for List of Observation Types", line);
            return false;
        }
        ++m_typesRead;
        const std::int32_t p = m_typesRead;
        if (p <= static_cast<std::int32_t>(header::kMaxTypes))
            h.types[static_cast<std::size_t>(p - 1)] = *code;
        TypePosition[*code] = p;
        if (!rightTrimmed(columns(line, c, c + 3)).empty() ||
            !header::ObsTypeCode(columns(line, c + 4, c + 5)))
            list.add(lineNo, "Wrong position of Observation Type", line);
    }
    m_typeContinuation = m_typesRead != h.typeCount;
    return true;
}

void TObsFileO::handleInterval(std::string_view line, text::DiagnosticList& list,
                               std::int64_t lineNo) {
    long double interval = 0;
    std::string_view rest;
    if (!text::RealFromText(line, interval, rest)) {
        list.add(lineNo, "Not valid data for Interval", line);
        return;
    }
    m_header.interval = interval;
    const long double whole = std::trunc(interval);
    const long double ms = whole * 1000.0L + std::nearbyint((interval - whole) * 1000.0L);
    intervalMs = roundInt(ms);
    intervalSpan = static_cast<double>(intervalMs) / 86400000.0;
}

void TObsFileO::handleObsTime(std::string_view line, bool first, text::DiagnosticList& list,
                              std::int64_t lineNo) {
    static constexpr std::array<std::string_view, 6> kNames = {"Year", "Month",  "Day",
                                                               "Hour", "Minute", "Second"};
    const std::string which = first ? " of the First Observation" : " of the Last Observation";
    text::TEpochTime& t = first ? m_header.firstObs : m_header.lastObs;
    std::array<std::int32_t*, 5> fields = {&t.year, &t.month, &t.day, &t.hour, &t.minute};
    std::string_view rest = line;
    for (std::size_t k = 0; k < 5; ++k) {
        std::int32_t v = 0;
        std::string_view after;
        if (!text::IntFromText(rest, v, after)) {
            list.add(lineNo, "Not valid data for " + std::string(kNames[k]) + which, line);
            return;
        }
        rest = after;
        *fields[k] = v;
    }
    long double seconds = 0;
    std::string_view after;
    if (!text::RealFromText(rest, seconds, after)) {
        list.add(lineNo, "Not valid data for Second" + which, line);
        return;
    }
    t.seconds = seconds;

    const std::string_view secondsField = columns(line, 31, 43);
    if (first) {
        for (std::size_t k = 0; k < 5; ++k)
            if (!StrictNumber(GeneralTrim(columns(line, 6 * k + 1, 6 * k + 6))).valid())
                list.add(lineNo, "Incorrect position of the " + std::string(kNames[k]) + which,
                         line);
        if (!text::FixedFormatOK(secondsField, 13, 7))
            list.add(lineNo, "Incorrect position of the Second" + which, line);
        if (!StrictNumber(GeneralTrim(secondsField)).valid())
            list.add(lineNo, "Incorrect position of the Second" + which, line);
    } else {
        bool ok = true;
        for (std::size_t k = 0; k < 5 && ok; ++k) {
            if (!StrictNumber(GeneralTrim(columns(line, 6 * k + 1, 6 * k + 6))).valid()) {
                list.add(lineNo, "Incorrect position of the " + std::string(kNames[k]) + which,
                         line);
                ok = false;
            }
        }
        if (ok && !text::FixedFormatOK(secondsField, 13, 7)) {
            list.add(lineNo, "Not F13.7 format for Seconds of the Last Observation", line);
            ok = false;
        }
        if (ok && !StrictNumber(GeneralTrim(secondsField)).valid())
            list.add(lineNo, "Incorrect position of the Second" + which, line);
    }
    const std::string_view system = columns(line, 49, 51);
    m_header.timeSystem = std::string(system);
    const bool unnamed = system == "   " && m_header.satelliteSystem == 2;
    if (first) {
        if (unnamed)
            list.add(lineNo, "Incorrect Time system", line);
        m_header.firstObsPresent = true;
        return;
    }
    if (unnamed) {
        list.add(lineNo, "Time system is not specified", line);
        return;
    }
    m_header.lastObsPresent = true;
}

// One satellite per line, its counts in fields of 6 columns from column 7, nine to a line; a
// satellite with more types goes on in continuation lines whose columns 1-6 are blank. A blank
// count is a count not given (0); a PRN in columns 4-6 starts the next satellite, also when
// the previous one listed fewer counts than there are types.
void TObsFileO::handlePrnObs(std::string_view line, text::DiagnosticList& list,
                             std::int64_t lineNo) {
    header::THeaderData& h = m_header;
    if (m_prnObsContinuation && !isBlank(columns(line, 4, 6))) {
        ++m_prnObsSat;
        m_prnObsType = 1;
        m_prnObsContinuation = false;
    }
    const std::size_t sat = static_cast<std::size_t>(m_prnObsSat);
    const bool stored = m_prnObsSat >= 1 && sat <= header::kMaxSatellites;
    if (!m_prnObsContinuation) {
        if (!rightTrimmed(columns(line, 1, 3)).empty()) {
            list.add(lineNo, "Not valid data for \"PRN / # OF OBS\"", line);
            return;
        }
        if (line.size() < 4) {
            list.add(lineNo, "Bad PRN in \"PRN / # OF OBS\"", line);
            return;
        }
        const char system = line[3] == ' ' ? 'G' : line[3];
        if (stored)
            h.satellites[sat - 1].system = system;
        const text::StrictResult prn = StrictNumber(GeneralTrim(columns(line, 5, 6)));
        if (!prn.valid()) {
            list.add(lineNo, "Bad PRN in \"PRN / # OF OBS\"", line);
            return;
        }
        if (stored)
            h.satellites[sat - 1].prn = roundInt(prn.value);
    }
    const std::int32_t onLine = std::min(9, h.typeCount - (m_prnObsType - 1));
    for (std::int32_t j = 0; j < onLine; ++j) {
        const std::size_t c = 7 + 6 * static_cast<std::size_t>(j);
        const std::string_view field = rightTrimmed(columns(line, c, c + 5));
        if (!field.empty()) {
            const text::StrictResult count = StrictNumber(field);
            if (!count.valid()) {
                // The rest of the line is not read, but its fields keep their places: the
                // satellites after it keep their own entries.
                list.add(lineNo, "Bad \"# OF OBS\" or its position in \"PRN / # OF OBS\"", line);
                m_prnObsType += onLine - j;
                break;
            }
            const std::size_t type = static_cast<std::size_t>(m_prnObsType);
            if (stored && type <= header::kMaxTypes)
                h.obsCounts[sat - 1][type - 1] = roundInt(count.value);
        }
        ++m_prnObsType;
    }
    if (m_prnObsType > h.typeCount) {
        ++m_prnObsSat;
        m_prnObsType = 1;
        m_prnObsContinuation = false;
    } else {
        m_prnObsContinuation = true;
    }
}

// ---------------------------------------------------------------------------------------------
// Data scan

void TObsFileO::dataDiag(std::string_view message) {
    m_LBData.add(m_lineNo, message, m_line);
}

bool TObsFileO::append(text::RecordFile* file, std::span<const std::byte> record) {
    if (file == nullptr || !file->isOpen())
        return false;
    if (!file->append(record)) {
        noteWriteFailure(*file);
        return false;
    }
    return true;
}

void TObsFileO::noteWriteFailure(const text::RecordFile& file) {
    if (writeFailed)
        return;
    writeFailed = true;
    m_failedFile = file.path().filename().string();
}

void TObsFileO::clearContinuations() noexcept {
    m_prnContinuation = false;
    m_obsContinuation = false;
}

void TObsFileO::showEpoch() {
    const text::TEpochTime& t = m_epoch.time;
    const long double whole = std::trunc(t.seconds);
    const std::string date =
        text::DateText(shownPart(t.day), shownPart(t.month), shownPart(t.year));
    const std::string time =
        text::TimeText(shownPart(t.hour), shownPart(t.minute), shownPart(truncInt(whole)),
                       shownPart(truncInt((t.seconds - whole) * 1000.0L)));
    m_observer.epochShown(date, time);
}

bool TObsFileO::ScanData() {
    smallestStep = 1000000;
    largestStep = -1000000;
    timesAxis = TimesAxis{};
    m_sixtyReported = false;
    LBEpochs.clear();
    ChTimes.clear();
    epochLineNumber = 0;
    gapCount = 0;
    missingEpochs = 0;
    writtenEpochs = 0;
    extEventsA = 0;
    extEventsB = 0;
    smallestSatCount = 100;
    largestSatCount = 0;
    nonZero.fill(0);
    seen = SatellitesSeen{};
    lastEpochLine.clear();
    stopped = false;
    diskLow = false;
    writeFailed = false;
    m_failedFile.clear();
    m_prnContinuation = false;
    m_prnsRead = 0;
    m_obsContinuation = false;
    m_satIndex = 0;
    m_typeIndex = 0;
    m_epochSats = 0;
    m_blockSize = 0;
    m_blockRead = 0;
    m_blockFlag = 0;
    m_inputB = false;
    m_previousTime = 0;
    m_currentTime = 0;
    clearEpoch();
    m_event = TEventRec{};
    m_extEvent = TExtEventRec{};

    m_observer.clearStop();
    m_observer.busy(true);
    m_observer.status("   Processing...");

    m_reader.rewind();
    std::string_view skipped;
    for (std::int32_t i = 0; i < headerLineCount && m_reader.next(skipped); ++i) {
    }
    m_lineNo = headerLineCount;
    m_expect = Expect::Epoch;
    m_firstEpochPending = true;
    if (m_reader.atEnd()) {
        m_LBData.add(headerLineCount, "There is only Header in File!", m_lastHeaderLine);
        m_observer.busy(false);
        m_observer.status("");
        return false;
    }

    bool noticeShown = false;
    while (!m_reader.atEnd()) {
        // A record file that refused a write would lose every epoch after it.
        if (writeFailed)
            break;
        if (diskLow) {
            m_observer.notice("Disk space is less then 10 MB on drive " + m_drive.substr(0, 1));
            noticeShown = true;
            break;
        }
        ++m_lineNo;
        const text::TextLine t = m_reader.readLine();
        if (t.isEnd()) {
            // An empty last line that an epoch still needs is its last observation line, all
            // of whose values are blank (writers drop the trailing blanks).
            if (m_expect == Expect::Observations)
                handleDataLine(t.raw);
            else
                --m_lineNo;
            break;
        }
        if (t.isLong()) {
            longLines = true;
            continue;
        }
        if (m_lineNo % 5000 == 0) {
            m_observer.pollInput();
            if (m_observer.stopRequested()) {
                stopped = true;
                break;
            }
            showEpoch();
            m_observer.progress(totalLines == 0 ? 0.0
                                                : static_cast<double>(m_lineNo) /
                                                      static_cast<double>(totalLines));
        }
        handleDataLine(t.raw);
    }
    // A file that ends inside an epoch (its satellite list or observations still due) drops
    // that epoch; the missing line is told as the line after the last one.
    if (!stopped && !diskLow && !writeFailed &&
        (m_expect == Expect::Observations || m_prnContinuation))
        m_LBData.add(m_lineNo + 1, "Observation string is absent", "");
    // A disk that fell low with the last record is still told.
    if (diskLow && !noticeShown)
        m_observer.notice("Disk space is less then 10 MB on drive " + m_drive.substr(0, 1));

    for (text::RecordFile* f : {m_files.epochs, m_files.observations, m_files.events,
                                m_files.extEventsA, m_files.extEventsB})
        if (f != nullptr && f->isOpen() && !f->flush())
            noteWriteFailure(*f);
    if (writeFailed)
        m_observer.notice("Error Writing File " + m_failedFile + " ! ");

    showEpoch();
    totalLines = static_cast<std::uint64_t>(m_lineNo);
    dataLines = static_cast<std::uint64_t>(m_lineNo - headerLineCount);
    m_observer.progress(1.0);
    m_observer.repaint();
    m_observer.busy(false);
    m_observer.pause(500);
    m_observer.progress(0.0);
    m_observer.status("");

    // A scan that a refused write cut short has no last epoch to compare.
    if (m_header.lastObsPresent && !stopped && !writeFailed) {
        const text::TEpochTime& e = m_epoch.time;
        text::TEpochTime& h = m_header.lastObs;
        if (e.year != h.year || e.month != h.month || e.day != h.day || e.hour != h.hour ||
            e.minute != h.minute || roundInt(e.seconds) != roundInt(h.seconds)) {
            m_LBData.addPlain(
                "Time of Last Epoch is different from the Time of LAST EPOCH in Header",
                lastEpochLine);
            h = e;
        }
    }

    if (std::fabs(largestStep - smallestStep) < 0.001L) {
        timesAxis.automatic = false;
        timesAxis.minimum = static_cast<double>(std::trunc(largestStep)) - 1.0;
        timesAxis.maximum = static_cast<double>(std::trunc(largestStep)) + 1.0;
    }
    m_observer.clearStop();
    // Records missing for lack of disk space or a refused write fail the step; what was
    // written stays.
    return !writeFailed && !diskLow;
}

void TObsFileO::handleDataLine(std::string_view line) {
    m_line = line;
    bool accepted = false;
    const LineKind kind = ClassifyDataLine(line, accepted);
    if (m_expect == Expect::Observations && kind != LineKind::Observation)
        dataDiag("Observation string is absent");
    switch (kind) {
    case LineKind::Event:
        if (m_expect != Expect::Epoch || m_prnContinuation) {
            dataDiag("Wrong position of Event");
            m_expect = Expect::Epoch;
            clearContinuations();
        } else if (!accepted) {
            dataDiag("Wrong Event data");
            m_expect = Expect::Epoch;
        } else if (m_event.records > 0) {
            m_blockSize = m_event.records;
            m_blockRead = 0;
            m_blockFlag = m_event.flag;
            m_expect = Expect::EventRecords;
        } else {
            WriteEvent();
            m_expect = Expect::Epoch;
        }
        return;
    case LineKind::Other:
        dataDiag("Not valid string");
        m_expect = Expect::Epoch;
        clearContinuations();
        return;
    case LineKind::Observation:
        if (m_expect != Expect::Observations) {
            dataDiag("\"EPOCH/SAT\" string absent");
            m_expect = Expect::Epoch;
            clearContinuations();
        } else if (!accepted) {
            dataDiag("Wrong Observation data");
            m_expect = Expect::Epoch;
            clearContinuations();
        } else if (m_obsContinuation) {
            m_expect = Expect::Observations;
        } else {
            WriteEpoch();
            m_expect = Expect::Epoch;
        }
        return;
    case LineKind::Epoch:
        lastEpochLine.assign(line);
        m_obsContinuation = false;
        if (m_expect != Expect::Epoch) {
            dataDiag("Wrong position of Epoch");
            m_expect = Expect::Epoch;
            clearContinuations();
        } else if (accepted && m_prnContinuation) {
            m_expect = Expect::Epoch;
        } else if (accepted && m_epochSats > 0) {
            m_expect = Expect::Observations;
        } else if (accepted) {
            dataDiag("Epoch without Satellites");
            m_expect = Expect::Epoch;
        } else {
            dataDiag("Wrong Epoch data");
            m_expect = Expect::Epoch;
            clearContinuations();
        }
        return;
    case LineKind::Header: {
        const bool inBlock = m_expect == Expect::EventRecords;
        if (!inBlock) {
            if (columns(line, 61, 80).find("COMMENT") == std::string_view::npos) {
                dataDiag("Unexpected Header string");
                m_expect = Expect::Epoch;
                clearContinuations();
            }
            // Header labels other than the four handled ones have no place between epochs.
            if (!accepted) {
                dataDiag("Wrong HEADER data");
                m_expect = Expect::Epoch;
            }
            return;
        }
        if (m_blockRead == 0 && m_blockFlag == 4 && line.find("XA") == std::string_view::npos)
            m_inputB = true;
        ++m_blockRead;
        if (m_blockRead >= m_blockSize) {
            m_expect = Expect::Epoch;
            WriteEvent();
        }
        return;
    }
    }
}

LineKind TObsFileO::ClassifyDataLine(std::string_view line, bool& accepted) {
    accepted = false;
    const auto eventShape = [line] {
        return isBlank(columns(line, 33, 80)) && !isBlank(columns(line, 29, 32));
    };
    if (const std::optional<Label> label = FindHeaderLabel(line)) {
        switch (*label) {
        case Label::Comment:
            accepted = true;
            return LineKind::Header;
        case Label::MarkerName:
        case Label::MarkerNumber:
        case Label::AntennaDelta: {
            bool failed = false;
            handleHeaderLine(*label, line, m_LBData, m_lineNo, failed);
            accepted = true;
            return LineKind::Header;
        }
        case Label::Version:
        case Label::Program:
        case Label::Observer:
        case Label::Receiver:
        case Label::Antenna:
        case Label::ApproxPosition:
        case Label::Wavelength:
        case Label::ObsTypes:
        case Label::Interval:
        case Label::FirstObs:
        case Label::LastObs:
        case Label::LeapSeconds:
        case Label::Satellites:
        case Label::PrnObs:
        case Label::EndOfHeader:
        case Label::ClockOffsetApplied:
            break;
        }
        if (eventShape()) {
            accepted = CheckEventLine(line);
            return LineKind::Event;
        }
        return LineKind::Header;
    }
    // The epoch shape comes first: a valid observation line never has a point in column 19,
    // while an epoch line whose clock offset is not F12.9 may have one in column 75.
    const char flag = column(line, 29);
    const bool epochShape =
        line.size() >= 29 && column(line, 19) == '.' && (flag == '0' || flag == '1');
    const bool pointAtObservation = column(line, 11) == '.' || column(line, 27) == '.' ||
                                    column(line, 43) == '.' || column(line, 59) == '.' ||
                                    column(line, 75) == '.';
    if (!epochShape && (pointAtObservation || line.empty() ||
                        (m_expect == Expect::Observations && rightTrimmed(line).empty()))) {
        accepted = CheckObservationLine(line);
        return LineKind::Observation;
    }
    if (epochShape ||
        (m_prnContinuation && isBlank(columns(line, 1, 32)) && !isBlank(columns(line, 33, 35)))) {
        accepted = CheckEpochLine(line);
        return LineKind::Epoch;
    }
    if (eventShape()) {
        accepted = CheckEventLine(line);
        return LineKind::Event;
    }
    return LineKind::Other;
}

bool TObsFileO::ReadEpochTime(std::string_view text, text::TEpochTime& t) {
    static constexpr std::array<std::string_view, 5> kMessages = {
        "Not valid data for Year \"EPOCH/SAT\"", "Not valid data for Month \"EPOCH/SAT\"",
        "Not valid data for Day \"EPOCH/SAT\"", "Not valid data for Hour \"EPOCH/SAT\"",
        "Not valid data for Min \"EPOCH/SAT\""};
    m_prnsRead = 0;
    std::array<std::int32_t*, 5> fields = {&t.year, &t.month, &t.day, &t.hour, &t.minute};
    std::string_view rest = text;
    std::string_view word;
    for (std::size_t k = 0; k < 5; ++k) {
        text::NextWord(rest, word);
        const text::StrictResult r = StrictNumber(GeneralTrim(word));
        if (!r.valid()) {
            dataDiag(kMessages[k]);
            return false;
        }
        *fields[k] = roundInt(r.value);
    }
    text::NextWord(rest, word);
    // The seconds word with a blank in front and zeros filled up to seven decimals.
    std::array<char, 128> buffer{};
    std::size_t len = 0;
    buffer[len++] = ' ';
    const std::size_t copied = std::min(word.size(), buffer.size() - 16);
    // copy_n, not memcpy: a line that ends after the minute leaves an empty word without data.
    std::copy_n(word.data(), copied, buffer.data() + len);
    len += copied;
    const std::size_t point = std::string_view(buffer.data(), len).find('.');
    const std::size_t p = point == std::string_view::npos ? 0 : point + 1;
    while (len < p + 7 && len < buffer.size())
        buffer[len++] = '0';
    const std::string_view w(buffer.data(), len);
    if (!text::FixedFormatOK(w, static_cast<std::int32_t>(len), 7)) {
        dataDiag("Not F11.7 format for Sec \"EPOCH/SAT\"");
        return false;
    }
    const text::StrictResult s = StrictNumber(GeneralTrim(w));
    if (!s.valid()) {
        dataDiag("Not valid data for Sec \"EPOCH/SAT\"");
        return false;
    }
    t.seconds = s.value;
    if (w.find("60.") != std::string_view::npos) {
        t.seconds = 0;
        text::AddMinute(t);
        if (!m_sixtyReported) {
            dataDiag("There were 60 seconds in \"EPOCH/SAT\"");
            m_sixtyReported = true;
        }
    }
    return true;
}

void TObsFileO::clearEpoch() {
    m_epoch.time = text::TEpochTime{};
    m_epoch.flag = 0;
    m_epoch.satCount = 0;
    m_epoch.countR = 0;
    m_epoch.countS = 0;
    m_epoch.countE = 0;
    m_epoch.sats.fill(EpochSat{});
    m_epoch.clockOffset = 0;
    m_epoch.clockText.assign(12, ' ');
    m_satList.clear();
}

bool TObsFileO::CheckEpochLine(std::string_view line) {
    const bool firstLine = !m_prnContinuation;
    if (firstLine) {
        clearEpoch();
        if (!ReadEpochTime(line, m_epoch.time))
            return false;
        const text::StrictResult flag = StrictNumber(GeneralTrim(columns(line, 27, 29)));
        if (!flag.valid()) {
            dataDiag("Not valid data for Flag \"EPOCH/SAT\"");
            m_epoch.flag = -1;
        } else {
            m_epoch.flag = roundInt(flag.value);
        }
        const text::StrictResult count = StrictNumber(GeneralTrim(columns(line, 30, 32)));
        if (!count.valid()) {
            dataDiag("Not valid data for Number SVs \"EPOCH/SAT\"");
            return false;
        }
        m_epoch.satCount = roundInt(count.value);
        largestSatCount = std::max(largestSatCount, m_epoch.satCount);
        smallestSatCount = std::min(smallestSatCount, m_epoch.satCount);
        m_epochSats = m_epoch.satCount;
        const std::size_t types = static_cast<std::size_t>(std::max(0, m_header.typeCount));
        const std::size_t sats = static_cast<std::size_t>(std::max(0, m_epochSats));
        m_tableSats = types == 0 ? sats : std::min(sats, kMaxTableEntries / types);
        m_table.resize(m_tableSats * types);
    }
    std::int32_t n = m_epoch.satCount - m_prnsRead;
    if (n > 12) {
        n = 12;
        m_prnContinuation = true;
    }
    for (std::int32_t i = 0; i < n; ++i) {
        const std::size_t c = 33 + 3 * static_cast<std::size_t>(i);
        const char system = column(line, c);
        const std::size_t slot = static_cast<std::size_t>(m_prnsRead);
        if (slot < kEpochSatSlots)
            m_epoch.sats[slot].system = system;
        std::int32_t prn = 0;
        if (!twoDigitNumber(columns(line, c + 1, c + 2), prn)) {
            const text::StrictResult number =
                StrictNumber(GeneralTrim(columns(line, c + 1, c + 2)));
            if (!number.valid()) {
                dataDiag("Not valid data for List of PRNs \"EPOCH/SAT\"");
                return false;
            }
            prn = roundInt(number.value);
        }
        if (slot < kEpochSatSlots)
            m_epoch.sats[slot].prn = prn;
        m_satList.push_back(EpochSat{system, prn});
        const char upper =
            (system >= 'a' && system <= 'z') ? static_cast<char>(system - 32) : system;
        // Other letters are kept unchecked and count as GPS in the record.
        if (const std::optional<header::SatSystem> known = header::systemOfLetter(upper)) {
            if (!header::numberInRange(*known, prn)) {
                dataDiag("Incorrect PRN \"EPOCH/SAT\"");
                return false;
            }
            seen.mark(*known, prn);
            switch (*known) {
            case header::SatSystem::GPS:
                break;
            case header::SatSystem::GLONASS:
                ++m_epoch.countR;
                break;
            case header::SatSystem::GEO:
                ++m_epoch.countS;
                break;
            case header::SatSystem::Galileo:
                ++m_epoch.countE;
                break;
            }
        }
        ++m_prnsRead;
    }
    if (m_prnsRead == m_epoch.satCount) {
        m_prnContinuation = false;
        if (hasEqualPrns()) {
            dataDiag("Equal PRNs \"EPOCH/SAT\"");
            return false;
        }
    }
    if (!firstLine)
        return true;

    const std::string_view clockText = columns(line, 69, 80);
    m_epoch.clockText.assign(clockText);
    m_epoch.clockOffset = 0;
    const std::string_view clock = rightTrimmed(clockText);
    if (!clock.empty()) {
        if (!text::FixedFormatOK(clock, 12, 9)) {
            dataDiag("Not F12.9 format for Clock Offset \"EPOCH/SAT\"");
        } else {
            const text::StrictResult r = StrictNumber(clock);
            if (!r.valid())
                dataDiag("Not valid data for Clock Offset \"EPOCH/SAT\"");
            else
                m_epoch.clockOffset = r.value;
        }
    }
    epochAccepted();
    return true;
}

bool TObsFileO::hasEqualPrns() const noexcept {
    const std::size_t n = m_satList.size();
    for (std::size_t i = 1; i < n; ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (m_satList[i] == m_satList[j])
                return true;
    return false;
}

void TObsFileO::epochAccepted() {
    text::TEpochTime& t = m_epoch.time;
    if (m_firstEpochPending) {
        bool differs = false;
        if (m_header.firstObsPresent) {
            const text::TEpochTime& h = m_header.firstObs;
            differs = h.year % 100 != t.year || h.month != t.month || h.day != t.day ||
                      h.hour != t.hour || h.minute != t.minute ||
                      roundInt(h.seconds) != roundInt(t.seconds);
        }
        if (differs)
            dataDiag("It is not the Time of FIRST EPOCH in Header");
        t.year = text::ExpandYear(t.year);
        if (differs)
            m_header.firstObs = t;
    } else {
        t.year = text::ExpandYear(t.year);
    }

    const long double wholeSeconds = std::trunc(t.seconds);
    const std::int32_t ms = roundInt((t.seconds - wholeSeconds) * 1000.0L);
    // A fraction that rounds to 1000 ms simply carries into the next second.
    m_currentTime = text::EncodeDate(t.year, t.month, t.day) +
                    text::EncodeTime(t.hour, t.minute, truncInt(wholeSeconds), ms);

    if (m_firstEpochPending) {
        m_firstEpochPending = false;
        m_previousTime = m_currentTime;
        m_header.firstEpoch = t;
        m_header.lastEpoch = t; // the latest accepted epoch so far
    } else {
        const double d = (m_currentTime - m_previousTime) / text::OneSecond;
        ChTimes.push_back(ChartPoint{static_cast<double>(epochLineNumber) + 1.0, d});
        smallestStep = std::min<long double>(smallestStep, d);
        largestStep = std::max<long double>(largestStep, d);
        if (intervalMs == 0)
            intervalMs = roundInt(static_cast<long double>(d) * 1000.0L);
        if (d * 1000.0 > (intervalMs + 0.000001) * 1.1 && std::fabs(intervalSpan) > 1e-10) {
            ++gapCount;
            const double ratio = (m_currentTime - m_previousTime) / intervalSpan + 0.1;
            const std::int64_t n =
                static_cast<std::int64_t>(std::clamp(std::trunc(ratio), -9.0e15, 9.0e15)) - 1;
            missingEpochs += n;
            if (n > 0) {
                LBEpochs.emplace_back(kStarLine);
                LBEpochs.push_back("******* " + std::to_string(n) +
                                   " epochs missing **************");
                LBEpochs.emplace_back(kStarLine);
            }
        }
        m_previousTime = m_currentTime;
        m_header.lastEpoch = t;
    }

    ++epochLineNumber;
    const text::DateTimeParts p = shownDateTime(m_currentTime);
    std::string entry;
    entry.reserve(64);
    entry += ' ';
    entry += text::DateText(shownPart(p.day), shownPart(p.month), shownPart(p.year));
    entry += "  ";
    entry += text::TimeText(shownPart(p.hour), shownPart(p.minute), shownPart(p.second),
                            shownPart(p.millisecond));
    entry += "          ";
    std::string sats = std::to_string(m_epoch.satCount);
    text::PadTo(2, false, sats);
    entry += sats;
    entry += "   ";
    std::string number = std::to_string(epochLineNumber);
    text::PadTo(10, false, number);
    entry += number;
    LBEpochs.push_back(std::move(entry));
}

bool TObsFileO::CheckObservationLine(std::string_view line) {
    if (!m_obsContinuation) {
        m_satIndex = 0;
        m_typeIndex = 0;
    }
    const std::int32_t types = std::max(0, m_header.typeCount);
    std::int32_t n = types - m_typeIndex;
    if (n >= 6)
        n = 5;
    for (std::int32_t j = 0; j < n; ++j) {
        const std::size_t c = 1 + 16 * static_cast<std::size_t>(j);
        // The record is filled where it is kept: copying a fresh extended value would stall.
        const std::size_t sat = static_cast<std::size_t>(m_satIndex);
        const std::size_t typeIndex = static_cast<std::size_t>(m_typeIndex);
        TObsRec& rec = sat < m_tableSats
                           ? m_table[sat * static_cast<std::size_t>(types) + typeIndex]
                           : m_spareRec;
        rec = TObsRec{};
        const std::string_view field = rightTrimmed(columns(line, c, c + 13));
        long double value = 0;
        bool nonZeroValue = false;
        if (!field.empty() && !plainFixed3(field, value, nonZeroValue)) {
            if (!text::FixedFormatOK(field, 14, 3)) {
                dataDiag("Not F14.3 format for Observations");
                return false;
            }
            const text::StrictResult r = StrictNumber(field);
            if (!r.valid()) {
                dataDiag("Not valid Observation");
                return false;
            }
            value = r.value;
            nonZeroValue = std::fabs(value) > 0.00001L;
        }
        rec.value = value;
        const char lli = column(line, c + 14);
        if (lli != '\0' && lli != ' ' && !indicatorValue(lli, 7, rec.lli)) {
            dataDiag("Not valid LLI");
            return false;
        }
        const char strength = column(line, c + 15);
        if (strength != '\0' && strength != ' ' && !indicatorValue(strength, 9, rec.strength)) {
            dataDiag("Not valid Signal Strength");
            return false;
        }
        if (nonZeroValue && typeIndex < header::kMaxTypes) {
            const std::uint8_t code = m_header.types[typeIndex];
            if (code < header::kMaxTypes)
                ++nonZero[code];
        }
        ++m_typeIndex;
    }
    if (m_typeIndex == types) {
        m_typeIndex = 0;
        ++m_satIndex;
    }
    m_obsContinuation = m_satIndex != m_epochSats;
    return true;
}

bool TObsFileO::CheckEventLine(std::string_view line) {
    m_event = TEventRec{};
    const text::StrictResult flag = StrictNumber(GeneralTrim(columns(line, 29, 29)));
    if (!flag.valid() || flag.value < 1.9L || flag.value > 5.1L) {
        dataDiag("Not valid data for Event Flag");
        return false;
    }
    m_event.flag = roundInt(flag.value);
    const std::string_view recordsText = columns(line, 31, 32);
    if (recordsText != " " && !recordsText.empty()) {
        const text::StrictResult records = StrictNumber(GeneralTrim(recordsText));
        if (!records.valid() || records.value < -0.1L) {
            dataDiag("Not valid data for Number of Records to follow");
            return false;
        }
        m_event.records = roundInt(records.value);
    }
    if (m_event.flag == 2 || m_event.flag == 3 || m_event.flag == 5) {
        const std::string_view time = rightTrimmed(columns(line, 1, 27));
        if (!time.empty()) {
            if (!ReadEpochTime(time, m_event.time)) {
                dataDiag("Not valid data for Event Time");
                return false;
            }
            m_event.time.year = text::ExpandYear(m_event.time.year);
        }
        if (m_event.flag == 5) {
            m_extEvent = TExtEventRec{};
            m_extEvent.time = m_event.time;
        }
    }
    m_epoch.satCount = 0;
    m_epochSats = 0;
    return true;
}

void TObsFileO::WriteEpoch() {
    const std::size_t sats = static_cast<std::size_t>(std::max(0, m_epoch.satCount));
    const std::size_t types = static_cast<std::size_t>(std::max(0, m_header.typeCount));
    if (m_freeSpace.low(kEpochRecSize + kObsRecSize * sats * types))
        diskLow = true;
    m_epoch.occupation = occupation;
    if (!append(m_files.epochs, encode(m_epoch)))
        return;
    ++writtenEpochs;
    // The epoch's observation records go out in one piece, satellite by satellite.
    m_obsBytes.resize(sats * types * kObsRecSize);
    std::byte* out = m_obsBytes.data();
    for (std::size_t k = 0; k < sats; ++k) {
        for (std::size_t p = 0; p < types; ++p, out += kObsRecSize) {
            if (k >= m_tableSats) { // beyond what one epoch holds: written as missing
                std::memcpy(out, kZeroObsRec.data(), kObsRecSize);
                continue;
            }
            const auto bytes = encode(m_table[k * types + p]);
            std::memcpy(out, bytes.data(), kObsRecSize);
        }
    }
    text::RecordFile* file = m_files.observations;
    if (file != nullptr && file->isOpen() && !file->appendRecords(m_obsBytes))
        noteWriteFailure(*file);
}

void TObsFileO::WriteEvent() {
    switch (m_event.flag) {
    case 2:
    case 3:
        if (m_freeSpace.low(kEventRecSize))
            diskLow = true;
        occupation.isStatic = m_event.flag == 3;
        append(m_files.events, encode(m_event));
        m_inputB = false;
        return;
    case 5: {
        if (m_freeSpace.low(kExtEventRecSize))
            diskLow = true;
        m_extEvent.inputA = !m_inputB;
        if (append(m_inputB ? m_files.extEventsB : m_files.extEventsA, encode(m_extEvent)))
            ++(m_inputB ? extEventsB : extEventsA);
        m_inputB = false;
        return;
    }
    default:
        return; // flag 4 blocks write nothing
    }
}

} // namespace obs
