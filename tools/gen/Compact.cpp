#include "tools/gen/Compact.h"

#include <algorithm>
#include <archive.h>
#include <archive_entry.h>
#include <cstdio>
#include <cstring>
#include <vector>

namespace gen {

namespace {

constexpr std::size_t kLabelColumn = 61;
constexpr std::size_t kEpochHead = 32;
constexpr int kObservationOrder = 3;
constexpr int kClockOrder = 2;
constexpr std::size_t kCell = 16;
constexpr int kCellsPerLine = 5;
constexpr int kSatsPerLine = 12;

std::string_view cut(std::string_view line, std::size_t first, std::size_t last) {
    if (first == 0 || last < first || first > line.size())
        return {};
    return line.substr(first - 1, last - first + 1);
}

std::string_view trimmed(std::string_view s) {
    const std::size_t a = s.find_first_not_of(' ');
    if (a == std::string_view::npos)
        return {};
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

bool hasLabel(std::string_view line, std::string_view label) {
    return cut(line, kLabelColumn, line.size()).substr(0, label.size()) == label;
}

/// A fixed-point field ("-12.345" with exactly `decimals` digits after the point) as an
/// integer of its last digit's unit; false for anything else.
bool fixedPoint(std::string_view text, int decimals, std::int64_t& value) {
    text = trimmed(text);
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos ||
        text.size() - point - 1 != static_cast<std::size_t>(decimals))
        return false;
    std::int64_t v = 0;
    int digits = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == point)
            continue;
        const char c = text[i];
        if (c < '0' || c > '9' || ++digits > 18)
            return false;
        v = v * 10 + (c - '0');
    }
    value = negative ? -v : v;
    return true;
}

/// The text difference that turns `previous` into `current` (as many characters as current).
std::string textDifference(std::string_view previous, std::string_view current) {
    std::string d(current.size(), ' ');
    for (std::size_t i = 0; i < current.size(); ++i) {
        const char was = i < previous.size() ? previous[i] : ' ';
        if (current[i] == was)
            continue;
        d[i] = current[i] == ' ' ? '&' : current[i];
    }
    while (!d.empty() && d.back() == ' ')
        d.pop_back();
    return d;
}

void rightTrim(std::string& s, std::size_t from) {
    while (s.size() > from && s.back() == ' ')
        s.pop_back();
}

} // namespace

bool CompactEncoder::fail(std::string why) {
    m_stage = Stage::Failed;
    m_error = "line " + std::to_string(m_lineNumber) + ": " + std::move(why);
    return false;
}

void CompactEncoder::difference(Arc& arc, int order, std::int64_t value, std::string& out) {
    if (!arc.running) {
        arc = Arc{};
        arc.running = true;
        arc.filled = 1;
        arc.d[0] = value;
        out += std::to_string(order);
        out += '&';
        out += std::to_string(value);
        return;
    }
    const int m = std::min(arc.filled, order);
    std::int64_t next[4] = {value, 0, 0, 0};
    for (int j = 1; j <= m; ++j)
        next[j] = next[j - 1] - arc.d[j - 1];
    for (int j = 0; j <= m; ++j)
        arc.d[j] = next[j];
    if (arc.filled < order)
        ++arc.filled;
    out += std::to_string(next[m]);
}

bool CompactEncoder::encode(std::string_view line, std::string& out) {
    ++m_lineNumber;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    switch (m_stage) {
    case Stage::Start:
        out += "1.0                 COMPACT RINEX FORMAT                    CRINEX VERS   / TYPE\n";
        out += "quillon-gen                             "
               "                    CRINEX PROG / DATE\n";
        m_stage = Stage::Header;
        [[fallthrough]];
    case Stage::Header:
    case Stage::Event:
        out.append(line);
        out += '\n';
        if (hasLabel(line, "# / TYPES OF OBSERV") && !trimmed(cut(line, 1, 6)).empty()) {
            std::int64_t n = 0;
            if (!fixedPoint(std::string(trimmed(cut(line, 1, 6))) + ".", 0, n) || n < 1 || n > 99)
                return fail("no number of observation types");
            if (static_cast<int>(n) != m_types)
                m_satellites.clear();
            m_types = static_cast<int>(n);
        }
        if (m_stage == Stage::Header && hasLabel(line, "END OF HEADER"))
            m_stage = Stage::Epoch;
        else if (m_stage == Stage::Event && --m_moreLines == 0)
            m_stage = Stage::Epoch;
        return true;
    case Stage::Epoch:
        return epochLine(line, out);
    case Stage::EpochMore: {
        const int listed = static_cast<int>(m_sats.size() / 3);
        const int here = std::min(kSatsPerLine, m_satCount - listed);
        std::string part(
            cut(line, kEpochHead + 1, kEpochHead + 3 * static_cast<std::size_t>(here)));
        part.resize(3 * static_cast<std::size_t>(here), ' ');
        m_sats += part;
        if (--m_moreLines == 0)
            return writeEpoch(out);
        return true;
    }
    case Stage::Observations: {
        m_lines.emplace_back(line);
        const int perSat = std::max(1, (m_types + kCellsPerLine - 1) / kCellsPerLine);
        if (static_cast<int>(m_lines.size()) == m_satCount * perSat)
            return observations(out);
        return true;
    }
    case Stage::Failed:
        return false;
    }
    return false;
}

bool CompactEncoder::epochLine(std::string_view line, std::string& out) {
    const char flag = line.size() > 28 ? line[28] : ' ';
    std::int64_t count = 0;
    const std::string_view countText = trimmed(cut(line, 30, 32));
    if (line.size() < 29 ||
        (!countText.empty() && !fixedPoint(std::string(countText) + ".", 0, count)))
        return fail("an epoch line was expected");
    if (flag >= '2' && flag <= '5') {
        std::string fresh(line);
        fresh[0] = '&';
        rightTrim(fresh, 0);
        out += fresh;
        out += '\n';
        m_fresh = true;
        m_satellites.clear();
        m_clockArc = Arc{};
        m_moreLines = static_cast<int>(count);
        m_stage = m_moreLines > 0 ? Stage::Event : Stage::Epoch;
        return true;
    }
    if (flag != '0' && flag != '1' && flag != '6')
        return fail("an epoch flag that is not 0 to 6");
    m_head = std::string(cut(line, 1, kEpochHead));
    m_head.resize(kEpochHead, ' ');
    m_satCount = static_cast<int>(count);
    const int first = std::min(kSatsPerLine, m_satCount);
    m_sats =
        std::string(cut(line, kEpochHead + 1, kEpochHead + 3 * static_cast<std::size_t>(first)));
    m_sats.resize(3 * static_cast<std::size_t>(first), ' ');
    m_clock = std::string(cut(line, 69, 80));
    m_moreLines = (m_satCount + kSatsPerLine - 1) / kSatsPerLine - 1;
    if (m_moreLines > 0) {
        m_stage = Stage::EpochMore;
        return true;
    }
    return writeEpoch(out);
}

bool CompactEncoder::writeEpoch(std::string& out) {
    const std::string text = m_head + m_sats;
    if (m_fresh) {
        out += '&';
        out.append(text, 1);
        rightTrim(out, out.rfind('\n') + 1);
        m_previous = text;
        m_satellites.clear();
        m_clockArc = Arc{};
    } else {
        out += textDifference(m_previous, text);
        if (m_previous.size() < text.size())
            m_previous.resize(text.size(), ' ');
        std::copy(text.begin(), text.end(), m_previous.begin());
    }
    out += '\n';
    m_fresh = false;
    if (trimmed(m_clock).empty()) {
        m_clockArc = Arc{};
    } else {
        std::int64_t ns = 0;
        if (!fixedPoint(m_clock, 9, ns))
            return fail("a receiver clock offset not in F12.9");
        difference(m_clockArc, kClockOrder, ns, out);
    }
    out += '\n';
    ++m_epochNumber;
    m_lines.clear();
    m_stage = m_satCount > 0 ? Stage::Observations : Stage::Epoch;
    return true;
}

bool CompactEncoder::observations(std::string& out) {
    const auto types = static_cast<std::size_t>(m_types);
    const int perSat = std::max(1, (m_types + kCellsPerLine - 1) / kCellsPerLine);
    for (int i = 0; i < m_satCount; ++i) {
        const std::string id = m_sats.substr(3 * static_cast<std::size_t>(i), 3);
        Satellite& s = m_satellites[id];
        if (s.lastEpoch + 1 != m_epochNumber || s.arcs.size() != types) {
            s.arcs.assign(types, Arc{});
            s.flags.assign(2 * types, ' ');
        }
        s.lastEpoch = m_epochNumber;
        std::string flags = s.flags;
        const std::size_t start = out.size();
        for (std::size_t t = 0; t < types; ++t) {
            const std::string& l =
                m_lines[static_cast<std::size_t>(i * perSat) + t / kCellsPerLine];
            const std::size_t col = (t % kCellsPerLine) * kCell + 1;
            const std::string_view cell = cut(l, col, col + kCell - 1);
            if (t > 0)
                out += ' ';
            if (trimmed(cell.substr(0, std::min<std::size_t>(14, cell.size()))).empty()) {
                s.arcs[t] = Arc{};
                continue; // a blank value: its flags are never shown
            }
            std::int64_t v = 0;
            if (!fixedPoint(cell.substr(0, 14), 3, v))
                return fail("an observation value not in F14.3 for " + id);
            difference(s.arcs[t], kObservationOrder, v, out);
            flags[2 * t] = cell.size() > 14 ? cell[14] : ' ';
            flags[2 * t + 1] = cell.size() > 15 ? cell[15] : ' ';
        }
        out += ' ';
        out += textDifference(s.flags, flags);
        rightTrim(out, start);
        out += '\n';
        s.flags = flags;
    }
    m_stage = Stage::Epoch;
    return true;
}

bool WriteCompactFile(const std::string& rinexPath, const std::string& compactPath,
                      std::string& error) {
    std::FILE* in = std::fopen(rinexPath.c_str(), "rb");
    if (in == nullptr) {
        error = "cannot read " + rinexPath;
        return false;
    }
    std::FILE* out = std::fopen(compactPath.c_str(), "wb");
    if (out == nullptr) {
        std::fclose(in);
        error = "cannot write " + compactPath;
        return false;
    }
    CompactEncoder encoder;
    std::vector<char> block(1 << 16);
    std::string pending;
    std::string text;
    bool ok = true;
    std::size_t got = 0;
    while (ok && (got = std::fread(block.data(), 1, block.size(), in)) > 0) {
        pending.append(block.data(), got);
        std::size_t start = 0;
        std::size_t nl = 0;
        while (ok && (nl = pending.find('\n', start)) != std::string::npos) {
            ok = encoder.encode(std::string_view(pending).substr(start, nl - start), text);
            start = nl + 1;
        }
        pending.erase(0, start);
        if (std::fwrite(text.data(), 1, text.size(), out) != text.size())
            ok = false;
        text.clear();
    }
    if (ok && !pending.empty())
        ok = encoder.encode(pending, text);
    ok = ok && std::fwrite(text.data(), 1, text.size(), out) == text.size();
    if (ok && !encoder.complete()) {
        ok = false;
        error = "the file ends inside an epoch";
    } else if (!ok) {
        error = encoder.error().empty() ? "cannot write " + compactPath
                                        : "compact RINEX cannot carry " + encoder.error();
    }
    std::fclose(in);
    ok = std::fclose(out) == 0 && ok;
    return ok;
}

bool WriteCompressedFile(const std::string& source, const std::string& target,
                         std::string_view form, std::string& error) {
    std::FILE* in = std::fopen(source.c_str(), "rb");
    if (in == nullptr) {
        error = "cannot read " + source;
        return false;
    }
    archive* a = archive_write_new();
    const int filter =
        form == "gz" ? archive_write_add_filter_gzip(a) : archive_write_add_filter_compress(a);
    bool ok = filter == ARCHIVE_OK && archive_write_set_format_raw(a) == ARCHIVE_OK &&
              archive_write_set_bytes_in_last_block(a, 1) == ARCHIVE_OK &&
              archive_write_open_filename(a, target.c_str()) == ARCHIVE_OK;
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, "data");
    archive_entry_set_filetype(entry, AE_IFREG);
    ok = ok && archive_write_header(a, entry) == ARCHIVE_OK;
    std::vector<char> block(1 << 16);
    std::size_t got = 0;
    while (ok && (got = std::fread(block.data(), 1, block.size(), in)) > 0)
        ok = archive_write_data(a, block.data(), got) == static_cast<la_ssize_t>(got);
    if (!ok) {
        const char* why = archive_error_string(a);
        error = "cannot write " + target + (why != nullptr ? std::string(": ") + why : "");
    }
    ok = archive_write_close(a) == ARCHIVE_OK && ok;
    archive_entry_free(entry);
    archive_write_free(a);
    std::fclose(in);
    if (!ok && error.empty())
        error = "cannot write " + target;
    return ok;
}

} // namespace gen
