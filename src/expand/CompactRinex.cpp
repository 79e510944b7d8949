#include "expand/CompactRinex.h"

#include "text/Columns.h"

#include <algorithm>
#include <charconv>
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

/// Appends the digits of u with `decimals` of them after a point, a '-' before when negative,
/// right-aligned in `width` characters.
void appendFixed(std::string& out, std::int64_t value, int decimals, std::size_t width) {
    const bool negative = value < 0;
    // The magnitude in unsigned arithmetic: the lowest 64-bit value has no positive partner.
    std::uint64_t u =
        negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    char buffer[32];
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
    if (length < width)
        out.append(width - length, ' ');
    out.append(buffer + at, length);
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
    appendFixed(out, value, 3, 14);
}

void AppendNanoseconds(std::string& out, std::int64_t value) {
    appendFixed(out, value, 9, 12);
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
        m_satellites.clear(); // every satellite's fields change their meaning
    m_types = static_cast<int>(n);
}

bool CompactDecoder::headerLine(std::string_view line, std::string& out) {
    noteTypes(line);
    if (m_stage == Stage::Failed)
        return false;
    out.append(line);
    out += "\r\n";
    if (startsWith(labelOf(line), kEndOfHeader))
        m_stage = Stage::Epoch;
    return true;
}

bool CompactDecoder::epochLine(std::string_view line, std::string& out) {
    if (!line.empty() && line.front() == '&') {
        // A fresh epoch line: every satellite and the clock start again.
        m_epoch.assign(line);
        m_epoch.front() = ' ';
        m_satellites.clear();
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

CompactDecoder::Satellite& CompactDecoder::satelliteOf(std::string_view id) {
    const std::uint32_t key = static_cast<std::uint32_t>(static_cast<unsigned char>(id[0])) << 16 |
                              static_cast<std::uint32_t>(static_cast<unsigned char>(id[1])) << 8 |
                              static_cast<unsigned char>(id[2]);
    Satellite& s = m_satellites[key];
    const auto types = static_cast<std::size_t>(m_types);
    // A satellite missing from the previous epoch starts again.
    if (s.lastEpoch + 1 != m_epochNumber || s.arcs.size() != types) {
        s.arcs.assign(types, Arc{});
        s.flags.clear();
    }
    s.lastEpoch = m_epochNumber;
    return s;
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
    const int m = std::min(arc.filled, arc.order);
    const auto top = static_cast<std::size_t>(m);
    arc.d[top] = difference;
    for (std::size_t j = top; j-- > 0;) {
        if (__builtin_add_overflow(arc.d[j], arc.d[j + 1], &arc.d[j]))
            return fail("the value overflows 64 bits");
    }
    if (arc.filled < arc.order)
        ++arc.filled;
    value = arc.d[0];
    return true;
}

bool CompactDecoder::satelliteLine(std::string_view line, std::string& out) {
    const std::string_view id =
        std::string_view(m_epoch).substr(kEpochHead + 3 * static_cast<std::size_t>(m_satIndex), 3);
    Satellite& s = satelliteOf(id);
    const auto types = static_cast<std::size_t>(m_types);
    m_values.resize(types);
    m_blank.resize(types);

    // One field per type, each followed by a blank; what follows the last field's blank is
    // the difference of the flag characters. A line that stops early leaves the rest blank.
    std::size_t pos = 0;
    for (std::size_t t = 0; t < types; ++t) {
        std::string_view text;
        if (pos < line.size()) {
            const std::size_t blankAt = line.find(' ', pos);
            const std::size_t end = blankAt == std::string_view::npos ? line.size() : blankAt;
            text = line.substr(pos, end - pos);
            pos = end + 1;
        } else {
            pos = line.size() + 1;
        }
        bool blank = false;
        if (!field(text, s.arcs[t], m_values[t], blank))
            return false;
        m_blank[t] = blank ? 1 : 0;
    }
    if (s.flags.size() != 2 * types)
        s.flags.resize(2 * types, ' ');
    if (pos < line.size())
        applyDifference(s.flags, line.substr(pos), 2 * types);

    std::size_t start = out.size();
    for (std::size_t t = 0; t < types; ++t) {
        if (t > 0 && t % kLineCells == 0) {
            endLine(out, start);
            start = out.size();
        }
        if (m_blank[t] != 0) {
            out.append(16, ' ');
            continue;
        }
        AppendThousandths(out, m_values[t]);
        out += s.flags[2 * t];
        out += s.flags[2 * t + 1];
    }
    endLine(out, start);

    if (++m_satIndex == m_satCount)
        m_stage = Stage::Epoch;
    return true;
}

bool CompactDecoder::eventLine(std::string_view line, std::string& out) {
    noteTypes(line);
    if (m_stage == Stage::Failed)
        return false;
    out.append(line);
    out += "\r\n";
    if (--m_eventLines == 0)
        m_stage = Stage::Epoch;
    return true;
}

} // namespace expand
