#include "expand/CompactRinex.h"

#include "text/Columns.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <system_error>

namespace expand {

namespace {

constexpr std::string_view kCompactFormat = "COMPACT RINEX FORMAT";
constexpr std::string_view kCompactLabel = "CRINEX VERS   / TYPE";
constexpr std::string_view kProgramLabel = "CRINEX PROG / DATE";
constexpr std::string_view kEndOfHeader = "END OF HEADER";
constexpr std::string_view kTypesLabel = "# / TYPES OF OBSERV";
constexpr std::size_t kLabelColumn = 61;
constexpr std::size_t kEpochHead = 32; // columns 1-32: time, flag and satellite count
constexpr std::size_t kClockColumn = 69;

std::string_view labelOf(std::string_view line) noexcept {
    return text::columns(line, kLabelColumn, line.size());
}

bool startsWith(std::string_view text, std::string_view start) noexcept {
    return text.substr(0, start.size()) == start;
}

std::string_view trimmed(std::string_view s) noexcept {
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

/// A whole field of digits with an optional leading '-' as a 64-bit integer; false for
/// anything else, a number that does not fit included.
bool parseInteger(std::string_view text, std::int64_t& value) noexcept {
    if (text.empty())
        return false;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

/// A text difference: a blank keeps the character below it, '&' makes it a blank, any other
/// character replaces it; a longer difference extends the text.
void applyDifference(std::string& text, std::string_view difference, std::size_t limit) {
    const std::size_t n = std::min(difference.size(), limit);
    if (text.size() < n)
        text.resize(n, ' ');
    for (std::size_t i = 0; i < n; ++i) {
        const char c = difference[i];
        if (c == '&')
            text[i] = ' ';
        else if (c != ' ')
            text[i] = c;
    }
}

void endLine(std::string& out, std::size_t lineStart) {
    while (out.size() > lineStart && out.back() == ' ')
        out.pop_back();
    out += "\r\n";
}

bool isDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

/// "00" to "99", two characters each.
struct DigitPairs {
    std::array<char, 200> c{};
    constexpr DigitPairs() {
        for (int i = 0; i < 100; ++i) {
            c[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
            c[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
        }
    }
};
constexpr DigitPairs kDigitPairs;

char* writePair(char* w, std::uint64_t twoDigits) noexcept {
    w -= 2;
    std::memcpy(w, kDigitPairs.c.data() + 2 * twoDigits, 2);
    return w;
}

constexpr std::size_t kFixedCap = 24; // the widest fixed-point text of a 64-bit value, and more

/// Writes value as a number with `decimals` digits after a point, a '-' before when negative,
/// right-aligned in `width` characters at w, and returns its end. A value that needs more
/// characters is written whole, wider than `width`, never cut.
char* writeFixed(char* w, std::int64_t value, int decimals, std::size_t width) noexcept {
    const bool negative = value < 0;
    // The magnitude in unsigned arithmetic: the lowest 64-bit value has no positive partner.
    std::uint64_t u =
        negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    char buffer[kFixedCap];
    std::size_t at = sizeof buffer;
    for (int i = 0; i < decimals; ++i) {
        buffer[--at] = static_cast<char>('0' + u % 10);
        u /= 10;
    }
    buffer[--at] = '.';
    do {
        buffer[--at] = static_cast<char>('0' + u % 10);
        u /= 10;
    } while (u != 0);
    if (negative)
        buffer[--at] = '-';
    const std::size_t length = sizeof buffer - at;
    if (length < width) {
        std::memset(w, ' ', width - length);
        w += width - length;
    }
    std::memcpy(w, buffer + at, length);
    return w + length;
}

// The values that F14.3 holds: "9999999999.999" and "-999999999.999".
constexpr std::int64_t kThousandthsMax = 9'999'999'999'999;
constexpr std::int64_t kThousandthsMin = -999'999'999'999;
constexpr std::size_t kValueWidth = 14;

/// Writes a value of thousandths as F14.3 at w and returns its end; the common case, a value
/// that fits the field with at most nine digits before the point, in 32-bit steps of two
/// digits. The 16 characters from w are written over (the field and the two after it).
inline char* writeThousandths(char* w, std::int64_t value) noexcept {
    constexpr std::uint64_t kWhole32 = 0xFFFFFFFFu;
    const bool negative = value < 0;
    const std::uint64_t u =
        negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    if (value > kThousandthsMax || value < kThousandthsMin || u / 1000 > kWhole32)
        return writeFixed(w, value, 3, kValueWidth);
    std::memcpy(w, "                ", 16);
    auto whole = static_cast<std::uint32_t>(u / 1000);
    const auto fraction = static_cast<std::uint32_t>(u % 1000);
    char* const fieldEnd = w + kValueWidth;
    char* at = writePair(fieldEnd, fraction % 100);
    *--at = static_cast<char>('0' + fraction / 100);
    *--at = '.';
    while (whole >= 100) {
        at = writePair(at, whole % 100);
        whole /= 100;
    }
    if (whole >= 10)
        at = writePair(at, whole);
    else
        *--at = static_cast<char>('0' + whole);
    if (negative)
        *--at = '-';
    return fieldEnd;
}

/// Moves w back over the blanks that end the line begun at lineStart.
char* trimLine(char* w, const char* lineStart) noexcept {
    while (w > lineStart && w[-1] == ' ')
        --w;
    return w;
}

} // namespace

bool IsCompactFirstLine(std::string_view line) noexcept {
    return text::columns(line, 21, 40) == kCompactFormat &&
           startsWith(labelOf(line), kCompactLabel);
}

bool IsCompact10FirstLine(std::string_view line) noexcept {
    return IsCompactFirstLine(line) && text::columns(line, 1, 3) == "1.0";
}

void AppendThousandths(std::string& out, std::int64_t value) {
    char buffer[kFixedCap];
    out.append(buffer, static_cast<std::size_t>(writeThousandths(buffer, value) - buffer));
}

void AppendNanoseconds(std::string& out, std::int64_t value) {
    char buffer[kFixedCap];
    out.append(buffer, static_cast<std::size_t>(writeFixed(buffer, value, 9, 12) - buffer));
}

bool CompactDecoder::fail(std::string reason) {
    m_stage = Stage::Failed;
    m_problem = std::move(reason);
    return false;
}

bool CompactDecoder::complete() const noexcept {
    return m_stage == Stage::Epoch;
}

bool CompactDecoder::decode(std::string_view line, std::string& out) {
    ++m_lineNumber;
    switch (m_stage) {
    case Stage::First:
        if (IsCompactFirstLine(line) && !IsCompact10FirstLine(line))
            return fail("compact RINEX version " +
                        std::string(trimmed(text::columns(line, 1, 20))) + " is not read");
        if (!IsCompact10FirstLine(line))
            return fail("the first line is not the first line of compact RINEX 1.0");
        m_stage = Stage::Second;
        return true;
    case Stage::Second:
        if (!startsWith(labelOf(line), kProgramLabel))
            return fail("the second line is not \"CRINEX PROG / DATE\"");
        m_stage = Stage::Header;
        return true;
    case Stage::Header:
        return headerLine(line, out);
    case Stage::Epoch:
        return epochLine(line, out);
    case Stage::Clock:
        return clockLine(line, out);
    case Stage::Satellites:
        return satelliteLine(line, out);
    case Stage::Event:
        return eventLine(line, out);
    case Stage::Failed:
        return false;
    }
    return false;
}

void CompactDecoder::noteTypes(std::string_view line) {
    if (!startsWith(labelOf(line), kTypesLabel))
        return;
    const std::string_view count = trimmed(text::columns(line, 1, 6));
    if (count.empty())
        return; // a continuation line of the type list
    std::int64_t n = 0;
    if (!parseInteger(count, n) || n < 0 || n > kMaxTypes) {
        fail("the number of observation types is not a number from 0 to " +
             std::to_string(kMaxTypes));
        return;
    }
    if (static_cast<int>(n) != m_types)
        forgetSatellites(); // every satellite's fields change their meaning
    m_types = static_cast<int>(n);
}

bool CompactDecoder::copyLine(std::string_view line, std::string& out) {
    noteTypes(line);
    if (m_stage == Stage::Failed)
        return false;
    out.append(line);
    out += "\r\n";
    return true;
}

bool CompactDecoder::headerLine(std::string_view line, std::string& out) {
    if (!copyLine(line, out))
        return false;
    if (startsWith(labelOf(line), kEndOfHeader))
        m_stage = Stage::Epoch;
    return true;
}

bool CompactDecoder::epochLine(std::string_view line, std::string& out) {
    if (!line.empty() && line.front() == '&') {
        // A fresh epoch line: every satellite and the clock start again.
        m_epoch.assign(line);
        m_epoch.front() = ' ';
        forgetSatellites();
        m_clock = Arc{};
        m_haveEpoch = true;
    } else {
        if (!m_haveEpoch)
            return fail("the first epoch line does not start with \"&\"");
        applyDifference(m_epoch, line, line.size());
    }
    const char flag = m_epoch.size() >= 29 ? m_epoch[28] : ' ';
    const std::string_view countText = trimmed(text::columns(m_epoch, 30, 32));
    std::int64_t count = 0;
    if (!countText.empty() && (!parseInteger(countText, count) || count < 0))
        return fail("the number of satellites or records is not a number");

    if (flag >= '2' && flag <= '5') {
        const std::size_t start = out.size();
        out.append(m_epoch);
        endLine(out, start);
        m_eventLines = static_cast<int>(count);
        m_stage = m_eventLines > 0 ? Stage::Event : Stage::Epoch;
        return true;
    }
    // Only the first 3 x n characters of the satellite list count; the text beyond them may
    // hold what an earlier, longer list left.
    if (m_epoch.size() < kEpochHead + 3 * static_cast<std::size_t>(count))
        return fail("the satellite list is shorter than its count of " + std::to_string(count));
    m_satCount = static_cast<int>(count);
    m_satIndex = 0;
    ++m_epochNumber;
    m_stage = Stage::Clock;
    return true;
}

bool CompactDecoder::clockLine(std::string_view line, std::string& out) {
    if (line.empty()) {
        m_clockShown = false;
        m_clock = Arc{};
    } else {
        bool blank = false;
        if (!field(line, m_clock, m_clockValue, blank))
            return false;
        m_clockShown = !blank;
    }
    writeEpochLines(out);
    m_stage = m_satCount > 0 ? Stage::Satellites : Stage::Epoch;
    return true;
}

void CompactDecoder::writeEpochLines(std::string& out) const {
    const std::string_view epoch(m_epoch);
    const std::string_view head = epoch.substr(0, kEpochHead);
    const auto sats = static_cast<std::size_t>(m_satCount);
    std::size_t start = out.size();
    out.append(head);
    if (head.size() < kEpochHead && (sats > 0 || m_clockShown))
        out.append(kEpochHead - head.size(), ' ');
    const std::size_t first = std::min<std::size_t>(sats, kListedSats);
    out.append(epoch.substr(kEpochHead, 3 * first));
    if (m_clockShown) {
        if (out.size() - start < kClockColumn - 1)
            out.append(kClockColumn - 1 - (out.size() - start), ' ');
        AppendNanoseconds(out, m_clockValue);
    }
    endLine(out, start);
    for (std::size_t done = first; done < sats; done += kListedSats) {
        start = out.size();
        out.append(kEpochHead, ' ');
        out.append(epoch.substr(kEpochHead + 3 * done,
                                3 * std::min<std::size_t>(sats - done, kListedSats)));
        endLine(out, start);
    }
}

namespace {

constexpr std::size_t kSystemSlots = 27; // blank, A-Z
constexpr std::size_t kPrnSlots = 110;   // " 0"-" 9", "00"-"99"

/// The slot of a satellite id of the common shape; kSystemSlots * kPrnSlots for any other.
std::size_t satelliteSlot(std::string_view id) noexcept {
    const char system = id[0];
    const char tens = id[1];
    const char ones = id[2];
    std::size_t s = 0;
    if (system >= 'A' && system <= 'Z')
        s = static_cast<std::size_t>(system - 'A' + 1);
    else if (system != ' ')
        return kSystemSlots * kPrnSlots;
    std::size_t prn = 0;
    if (tens == ' ')
        prn = 100;
    else if (isDigit(tens))
        prn = static_cast<std::size_t>(tens - '0') * 10;
    else
        return kSystemSlots * kPrnSlots;
    if (!isDigit(ones))
        return kSystemSlots * kPrnSlots;
    return s * kPrnSlots + prn + static_cast<std::size_t>(ones - '0');
}

/// Up to 18 digits at p as a magnitude: one that never overflows. p moves past them; false
/// when there is none or a 19th follows.
inline bool shortDigits(const char*& p, const char* end, std::uint64_t& magnitude) noexcept {
    const char* const first = p;
    std::uint64_t u = 0;
    while (p < end && isDigit(*p) && p - first < 18) {
        u = u * 10 + static_cast<std::uint64_t>(*p - '0');
        ++p;
    }
    magnitude = u;
    return p > first && (p == end || !isDigit(*p));
}

/// Takes the next difference of the arc's order into every lower one; false when a sum would
/// overflow 64 bits.
template <typename Arc> inline bool sumUp(Arc& arc, std::int64_t difference, std::int64_t& value) {
    const int m = std::min(arc.filled, arc.order);
    const auto top = static_cast<std::size_t>(m);
    arc.d[top] = difference;
    // The running sum stays in a register: d[j] += d[j + 1], from the top down.
    std::int64_t sum = difference;
    for (std::size_t j = top; j-- > 0;) {
        if (__builtin_add_overflow(arc.d[j], sum, &sum))
            return false;
        arc.d[j] = sum;
    }
    if (arc.filled < arc.order)
        ++arc.filled;
    value = sum;
    return true;
}

bool fieldEnds(const char* p, const char* end) noexcept {
    return p == end || *p == ' ';
}

} // namespace

void CompactDecoder::forgetSatellites() noexcept {
    // An epoch number skipped: no satellite was seen in the epoch before the next one, so
    // every one starts again.
    ++m_epochNumber;
}

CompactDecoder::Satellite& CompactDecoder::satelliteOf(std::string_view id) {
    const std::size_t slot = satelliteSlot(id);
    Satellite* found = nullptr;
    if (slot < kSystemSlots * kPrnSlots) {
        if (m_satellites.empty())
            m_satellites.resize(kSystemSlots * kPrnSlots);
        found = &m_satellites[slot];
    } else {
        const std::uint32_t key =
            static_cast<std::uint32_t>(static_cast<unsigned char>(id[0])) << 16 |
            static_cast<std::uint32_t>(static_cast<unsigned char>(id[1])) << 8 |
            static_cast<unsigned char>(id[2]);
        found = &m_otherSatellites[key];
    }
    Satellite& s = *found;
    const auto types = static_cast<std::size_t>(m_types);
    // A satellite missing from the previous epoch starts again.
    if (s.lastEpoch + 1 != m_epochNumber || s.arcs.size() != types) {
        s.arcs.assign(types, Arc{});
        s.flags.assign(2 * types, ' ');
    }
    s.lastEpoch = m_epochNumber;
    return s;
}

bool CompactDecoder::addDifference(Arc& arc, std::int64_t difference, std::int64_t& value) {
    if (!sumUp(arc, difference, value))
        return fail("the value overflows 64 bits");
    return true;
}

bool CompactDecoder::field(std::string_view text, Arc& arc, std::int64_t& value, bool& blank) {
    blank = text.empty();
    if (blank) {
        arc = Arc{};
        return true;
    }
    const std::size_t amp = text.find('&');
    if (amp != std::string_view::npos) {
        const std::string_view order = text.substr(0, amp);
        if (order.size() != 1 || order[0] < '1' || order[0] > '0' + kMaxOrder)
            return fail("the difference order \"" + std::string(order) +
                        "\" is not a digit from 1 to " + std::to_string(kMaxOrder));
        std::int64_t start = 0;
        if (!parseInteger(text.substr(amp + 1), start))
            return fail("the start value \"" + std::string(text.substr(amp + 1)) +
                        "\" is not a 64-bit integer");
        arc.order = order[0] - '0';
        arc.filled = 1;
        arc.d[0] = start;
        value = start;
        return true;
    }
    std::int64_t difference = 0;
    if (!parseInteger(text, difference))
        return fail("the difference \"" + std::string(text) + "\" is not a 64-bit integer");
    if (arc.order == 0)
        return fail("the difference \"" + std::string(text) + "\" follows no start value");
    return addDifference(arc, difference, value);
}

bool CompactDecoder::satelliteLine(std::string_view line, std::string& out) {
    const std::string_view id =
        std::string_view(m_epoch).substr(kEpochHead + 3 * static_cast<std::size_t>(m_satIndex), 3);
    Satellite& s = satelliteOf(id);
    const auto types = static_cast<std::size_t>(m_types);

    // One field per type, each followed by a blank; what follows the last field's blank is
    // the difference of the flag characters. A line that stops early leaves the rest blank.
    // The common shapes ("-123", "3&4567") are read here, digit by digit; any other field
    // goes through field(), which reads every shape and words what is wrong.
    const char* p = line.data();
    const char* const end = p + line.size();
    for (std::size_t t = 0; t < types; ++t) {
        Arc& arc = s.arcs[t];
        if (p == end || *p == ' ') {
            arc.order = 0;
            arc.filled = 0;
            m_blank[t] = true;
            if (p != end)
                ++p;
            continue;
        }
        m_blank[t] = false;
        const char* q = p;
        const bool negative = *q == '-';
        if (negative)
            ++q;
        std::uint64_t u = 0;
        bool read = shortDigits(q, end, u);
        if (read && fieldEnds(q, end) && arc.order != 0) {
            const auto difference = static_cast<std::int64_t>(u);
            if (!sumUp(arc, negative ? -difference : difference, m_values[t]))
                return fail("the value overflows 64 bits");
        } else if (read && q < end && *q == '&' && !negative && q - p == 1 && u >= 1 &&
                   u <= static_cast<std::uint64_t>(kMaxOrder)) {
            ++q;
            const bool startNegative = q < end && *q == '-';
            if (startNegative)
                ++q;
            std::uint64_t start = 0;
            read = shortDigits(q, end, start) && fieldEnds(q, end);
            if (read) {
                arc.order = static_cast<int>(u);
                arc.filled = 1;
                const auto value = static_cast<std::int64_t>(start);
                arc.d[0] = startNegative ? -value : value;
                m_values[t] = arc.d[0];
            }
        } else {
            read = false;
        }
        if (!read) {
            const void* blankAt = std::memchr(p, ' ', static_cast<std::size_t>(end - p));
            q = blankAt == nullptr ? end : static_cast<const char*>(blankAt);
            bool blank = false;
            if (!field(std::string_view(p, static_cast<std::size_t>(q - p)), arc, m_values[t],
                       blank))
                return false;
        }
        p = q == end ? end : q + 1;
    }
    if (p != end)
        applyDifference(s.flags, std::string_view(p, static_cast<std::size_t>(end - p)), 2 * types);

    // Room for every cell at its widest, and a line end per five cells.
    const std::size_t start = out.size();
    out.resize(start + types * (kFixedCap + 2) + 2 * (types / kLineCells + 1));
    char* const base = out.data() + start;
    char* w = base;
    const char* lineStart = w;
    for (std::size_t t = 0; t < types; ++t) {
        if (t > 0 && t % kLineCells == 0) {
            w = trimLine(w, lineStart);
            *w++ = '\r';
            *w++ = '\n';
            lineStart = w;
        }
        if (m_blank[t]) {
            std::memset(w, ' ', kValueWidth + 2);
            w += kValueWidth + 2;
            continue;
        }
        w = writeThousandths(w, m_values[t]);
        *w++ = s.flags[2 * t];
        *w++ = s.flags[2 * t + 1];
    }
    w = trimLine(w, lineStart);
    *w++ = '\r';
    *w++ = '\n';
    out.resize(start + static_cast<std::size_t>(w - base));

    if (++m_satIndex == m_satCount)
        m_stage = Stage::Epoch;
    return true;
}

bool CompactDecoder::eventLine(std::string_view line, std::string& out) {
    if (!copyLine(line, out))
        return false;
    if (--m_eventLines == 0)
        m_stage = Stage::Epoch;
    return true;
}

} // namespace expand
