#include "meteo/MeteoFileM.h"

#include "text/Columns.h"
#include "text/FieldText.h"
#include "text/RecordBytes.h"

#include <cmath>
#include <optional>

namespace meteo {

namespace {

constexpr std::array<std::string_view, 9> kLabels = {
    "RINEX VERSION / TYPE", "PGM / RUN BY / DATE", "COMMENT",
    "MARKER NAME",          "MARKER NUMBER",       "# / TYPES OF OBSERV",
    "SENSOR MOD/TYPE/ACC",  "SENSOR POS XYZ/H",    "END OF HEADER"};

enum Label : int {
    kVersion = 0,
    kProgram = 1,
    kComment = 2,
    kMarkerName = 3,
    kMarkerNumber = 4,
    kTypes = 5,
    kSensor = 6,
    kPosition = 7,
    kEndOfHeader = 8,
};

constexpr std::int32_t kTypesPerLine = 9;

// The label in columns 61-80, compared without trailing blanks; -1 for none.
int labelOf(std::string_view line) noexcept {
    std::string_view label = text::columns(line, 61, 80);
    text::RightTrim(label);
    for (std::size_t i = 0; i < kLabels.size(); ++i)
        if (label == kLabels[i])
            return static_cast<int>(i);
    return -1;
}

std::string trimmedColumns(std::string_view line, std::size_t first, std::size_t last) {
    std::string_view field = text::columns(line, first, last);
    text::RightTrim(field);
    return std::string(field);
}

std::string upperCased(std::string_view s) {
    std::string u(s);
    for (char& c : u)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return u;
}

std::int32_t nearestInt(long double x) noexcept {
    const long double r = std::nearbyint(x); // halves to even
    if (!(r > -2147483648.0L && r < 2147483647.0L))
        return 0;
    return static_cast<std::int32_t>(r);
}

} // namespace

std::array<std::byte, kMeteoRecordSize> encode(const MeteoRecord& r) noexcept {
    text::RecordWriter<kMeteoRecordSize> w;
    w.epochTime(0, r.epoch);
    for (std::size_t k = 0; k < kMeteoValues; ++k)
        w.ext80(40 + 10 * k, r.values[k]);
    return w.bytes();
}

MeteoRecord decodeMeteo(std::span<const std::byte> bytes) noexcept {
    const text::RecordReader rd(bytes);
    MeteoRecord r;
    r.epoch = rd.epochTime(0);
    for (std::size_t k = 0; k < kMeteoValues; ++k)
        r.values[k] = rd.ext80(40 + 10 * k);
    return r;
}

TMeteoFileM::TMeteoFileM(text::LineReader& file, header::THeaderDataMeteo& header,
                         text::DiagnosticsLists& lists, text::RecordFile& meteoRecords,
                         text::ScanObserver& observer)
    : m_file(file), m_header(header), m_headerList(lists.header(text::FileKind::M)),
      m_dataList(lists.data(text::FileKind::M)), m_records(meteoRecords), m_observer(observer) {
    std::string_view line;
    std::int64_t lines = 0;
    while (m_file.next(line))
        ++lines;
    m_totalLines = static_cast<std::int32_t>(lines);
    m_file.rewind();
}

// The checked text of the next line: "*" for a line longer than 80 characters, empty at the
// end of the file.
std::string_view TMeteoFileM::readLine(bool& tooLong) {
    const text::TextLine t = m_file.readLine();
    tooLong = t.isLong();
    if (tooLong)
        m_tooLong = true;
    return t.isEnd() ? t.raw : t.checked;
}

bool TMeteoFileM::ScanHeader() {
    m_header.Clear();
    m_tooLong = false;
    m_sec60Reported = false;
    m_lineNo = 0;
    m_headerLineCount = 0;
    m_headerKinds.clear();
    m_types = TypePresence{};
    m_recordsWritten = 0;
    m_typesListed = 0;
    m_notRinex2 = false;
    m_lastHeaderLine.clear();
    m_file.rewind();

    bool tooLong = false;
    std::string line(readLine(tooLong));
    if (tooLong) {
        m_headerList.add(1, "The first string of the Header is too long", line);
        return false;
    }
    while (true) {
        const int code = labelOf(line);
        if (code < 0) {
            if (m_headerKinds.empty()) {
                m_headerList.add(m_lineNo + 1, "The first string is not a Header string", line);
                return false;
            }
            if (m_headerKinds.back() != kEndOfHeader)
                m_headerList.add(m_lineNo + 1,
                                 "The string is not true Header string or <END OF HEADER> is "
                                 "absent",
                                 line);
            m_headerLineCount = m_lineNo;
            return true;
        }
        m_headerKinds.push_back(static_cast<std::uint8_t>(code));
        handleHeaderLine(code, line);
        if (m_lineNo == 0 && code != kVersion)
            m_headerList.add(1, "The first string of the Header must be <RINEX VERSION / TYPE>",
                             line);
        m_lastHeaderLine = line;
        // Another version's records would only give findings of the wrong kind.
        if (m_notRinex2) {
            m_headerLineCount = m_lineNo + 1;
            return false;
        }
        line = std::string(readLine(tooLong));
        if (tooLong) {
            m_headerList.add(m_lineNo + 2, "Too long Header string", line);
            return false;
        }
        ++m_lineNo;
    }
}

void TMeteoFileM::handleHeaderLine(int code, std::string_view line) {
    const std::int64_t lineNo = m_lineNo + 1;
    switch (code) {
    case kVersion:
        handleVersion(line, lineNo);
        break;
    case kProgram:
        m_header.program = trimmedColumns(line, 1, 20);
        m_header.runBy = trimmedColumns(line, 21, 40);
        m_header.date = trimmedColumns(line, 41, 60);
        break;
    case kMarkerName:
        m_header.markerName = trimmedColumns(line, 1, 60);
        break;
    case kMarkerNumber:
        m_header.markerNumber = trimmedColumns(line, 1, 20);
        break;
    case kTypes:
        handleTypes(line, lineNo);
        break;
    case kSensor:
        handleSensor(line, lineNo);
        break;
    case kPosition:
        handlePosition(line, lineNo);
        break;
    default: // COMMENT and END OF HEADER carry nothing
        break;
    }
}

void TMeteoFileM::handleVersion(std::string_view line, std::int64_t lineNo) {
    std::string_view word;
    std::string_view rest;
    text::FirstWord(line, word, rest);
    m_header.version = std::string(word);
    if (!text::IsRinex2Version(word)) {
        m_headerList.add(lineNo, "Rinex format version is not 2", line);
        m_notRinex2 = true;
    }
    const std::size_t two = line.find('2');
    if (two != std::string_view::npos && two + 1 != 6)
        m_headerList.add(lineNo, "The position of \"2\" is not 6", line);
    std::string_view type;
    std::string_view after;
    text::FirstWord(rest, type, after);
    if (upperCased(type).find('M') == std::string::npos)
        m_headerList.add(lineNo, "\"M\" is absent", line);
    const std::size_t m = upperCased(line).find('M');
    if (m != std::string::npos && m + 1 != 21)
        m_headerList.add(lineNo, "The position of \"M\" is not 21", line);
}

// A list of more than nine types goes on in further # / TYPES OF OBSERV lines whose count
// columns are blank; each holds up to nine more types in the same columns.
void TMeteoFileM::handleTypes(std::string_view line, std::int64_t lineNo) {
    const bool continuation = m_typesListed > 0 && m_typesListed < m_header.typeCount &&
                              text::isBlank(text::columns(line, 1, 6));
    std::string_view rest;
    if (continuation) {
        rest = text::columns(line, 1, 60);
    } else {
        m_valuesRead = 0;
        m_typesListed = 0;
        m_header.typeCount = -1;
        std::int32_t count = 0;
        if (!text::IntFromText(line, count, rest)) {
            m_headerList.add(lineNo, "Not valid data for Number of Observation Types", line);
            return;
        }
        m_header.typeCount = count;
        if (count == 0) {
            m_headerList.add(lineNo, "Number of Observation Types = 0", line);
            return;
        }
        if (!text::StrictNumber(text::columns(line, 1, 6)).valid())
            m_headerList.add(lineNo, "Wrong position of Number of Observation Types", line);
    }
    const std::int32_t onLine = std::min(m_header.typeCount - m_typesListed, kTypesPerLine);
    for (std::int32_t j = 1; j <= onLine; ++j) {
        std::string_view word;
        if (j == kTypesPerLine) {
            word = text::GeneralTrim(text::columns(line, 55, 60));
        } else {
            std::string_view after;
            text::FirstWord(rest, word, after);
            rest = after;
        }
        const std::optional<std::uint8_t> code = header::MeteoTypeCode(word);
        if (!code) {
            m_headerList.add(lineNo, "Not valid data for List of Observation Types", line);
            return;
        }
        const std::int32_t position = m_typesListed + 1; // 1-based in the whole list
        m_types.present[*code] = 1;
        m_types.position[*code] = position;
        if (static_cast<std::size_t>(position) <= header::kMaxMeteoEntries)
            m_header.types[static_cast<std::size_t>(position - 1)] = *code;
        m_typesListed = position;
        const auto first = static_cast<std::size_t>(7 + 6 * (j - 1));
        if (!text::isBlank(text::columns(line, first, first + 3)) ||
            !header::MeteoTypeCode(text::columns(line, first + 4, first + 5)))
            m_headerList.add(lineNo, "Wrong position of Observation Type", line);
    }
}

void TMeteoFileM::handleSensor(std::string_view line, std::int64_t lineNo) {
    // Sensors beyond the table's 100 entries are checked but not stored.
    header::MeteoSensor unstored;
    header::MeteoSensor* sensor = &unstored;
    if (static_cast<std::size_t>(m_header.sensorCount) < header::kMaxMeteoEntries)
        sensor = &m_header.sensors[static_cast<std::size_t>(m_header.sensorCount++)];
    auto kept20 = [](std::string s) {
        if (s.size() > 20)
            s.resize(20);
        text::RightTrim(s);
        return s;
    };
    sensor->model = kept20(trimmedColumns(line, 1, 20));
    sensor->sensorType = kept20(trimmedColumns(line, 21, 60));
    long double accuracy = 0;
    std::string_view rest;
    if (!text::RealFromText(line.substr(std::min<std::size_t>(40, line.size())), accuracy, rest)) {
        m_headerList.add(lineNo, " Accuracy is absent", line);
        return;
    }
    sensor->accuracy = accuracy;
    if (!text::FixedFormatOK(text::columns(line, 47, 53), 7, 1))
        m_headerList.add(lineNo, "The format of Accuracy is not correct", line);
    std::string_view word;
    std::string_view after;
    text::FirstWord(rest, word, after);
    const std::optional<std::uint8_t> code = header::MeteoTypeCode(word);
    if (!code) {
        m_headerList.add(lineNo, " Observation Type is absent", line);
        return;
    }
    sensor->typeCode = *code;
    if (!header::MeteoTypeCode(text::columns(line, 58, 59)))
        m_headerList.add(lineNo, " Wrong position of Observation Type", line);
}

void TMeteoFileM::handlePosition(std::string_view line, std::int64_t lineNo) {
    header::MeteoPosition unstored;
    header::MeteoPosition* position = &unstored;
    if (static_cast<std::size_t>(m_header.positionCount) < header::kMaxMeteoEntries)
        position = &m_header.positions[static_cast<std::size_t>(m_header.positionCount++)];
    struct Coordinate {
        long double* value;
        std::string_view message;
    };
    const Coordinate coordinates[] = {{&position->x, " X is absent"},
                                      {&position->y, " Y is absent"},
                                      {&position->z, " Z is absent"},
                                      {&position->h, " H is absent"}};
    std::string_view rest = line;
    for (const Coordinate& c : coordinates) {
        std::string_view after;
        if (!text::RealFromText(rest, *c.value, after)) {
            m_headerList.add(lineNo, c.message, line);
            return;
        }
        rest = after;
    }
    std::string_view word;
    std::string_view after;
    text::FirstWord(rest, word, after);
    const std::optional<std::uint8_t> code = header::MeteoTypeCode(word);
    if (!code) {
        m_headerList.add(lineNo, " Observation Type is absent", line);
        return;
    }
    position->typeCode = *code;
    if (!header::MeteoTypeCode(text::columns(line, 58, 59)))
        m_headerList.add(lineNo, " Wrong position of Observation Type", line);
    for (std::size_t first = 1; first <= 43; first += 14)
        if (!text::FixedFormatOK(text::columns(line, first, first + 13), 14, 4))
            m_headerList.add(lineNo, "Wrong F14.4 Format", line);
}

bool TMeteoFileM::ScanData() {
    m_sec60Reported = false;
    m_recordsWritten = 0;
    m_writeFailed = false;
    m_expectContinuation = false;
    m_observer.busy(true);
    m_observer.status("   Processing...");
    m_file.rewind();
    std::string_view skipped;
    for (std::int32_t i = 0; i < m_headerLineCount && m_file.next(skipped); ++i) {
    }
    m_lineNo = m_headerLineCount;
    if (m_file.atEnd()) {
        m_dataList.add(m_headerLineCount, "There is only Header in File!", m_lastHeaderLine);
        m_observer.busy(false);
        m_observer.status("");
        return false;
    }

    bool endRead = false; // the last read was the empty end of the file
    // A record file that refused a write ends the scan: every record after it would be lost.
    while (!m_writeFailed && !m_file.atEnd()) {
        ++m_lineNo;
        const text::TextLine t = m_file.readLine();
        if (t.isLong()) {
            m_tooLong = true;
            m_dataList.add(m_lineNo, "Too long string", t.checked);
            continue;
        }
        endRead = t.isEnd();
        if (endRead)
            continue;
        const std::string_view line = t.checked;
        if (m_lineNo % 1000 == 0) {
            m_observer.progress(m_totalLines == 0 ? 0.0
                                                  : static_cast<double>(m_lineNo) /
                                                        static_cast<double>(m_totalLines));
            m_observer.repaint();
        }
        const Classified c = classify(line);
        auto report = [this, line](std::string_view message) {
            m_dataList.add(m_lineNo, message, line);
        };
        if (m_expectContinuation && c.kind != LineClass::Continuation)
            report("Observation string is absent");
        switch (c.kind) {
        case LineClass::Invalid:
            m_expectContinuation = false;
            report("Not valid string");
            break;
        case LineClass::Continuation:
            if (!m_expectContinuation) {
                report("Date/Time data absent");
                m_continuationNeeded = false;
            } else if (!c.acceptable) {
                report("Wrong Observation data");
                m_expectContinuation = false;
                m_continuationNeeded = false;
            } else {
                completeEpoch();
            }
            break;
        case LineClass::Epoch:
            if (m_expectContinuation) {
                report("Wrong position of Epoch");
                m_expectContinuation = false;
            } else if (!c.acceptable) {
                report("Wrong Epoch data");
            } else {
                completeEpoch();
            }
            break;
        case LineClass::Header:
            if (c.label == kComment)
                break;
            report("Unexpected Header string");
            if (c.label != kMarkerName && c.label != kMarkerNumber)
                report("Wrong HEADER data");
            break;
        }
    }

    // A file that ends before an epoch's continuation line drops that epoch; the missing line
    // is told as the line after the last one.
    if (m_expectContinuation && !m_writeFailed)
        m_dataList.add(endRead ? m_lineNo : m_lineNo + 1, "Observation string is absent", "");
    if (m_recordsWritten > 0 && !m_records.flush() && !m_writeFailed) {
        m_writeFailed = true;
        m_observer.notice("Error Writing File " + std::string(kMeteoFile) + " ! ");
    }
    m_observer.progress(1.0);
    m_observer.repaint();
    m_observer.progress(0.0);
    m_observer.repaint();
    m_observer.busy(false);
    m_observer.status("");
    m_meteoEnabled = true;
    return !m_writeFailed;
}

TMeteoFileM::Classified TMeteoFileM::classify(std::string_view line) {
    Classified c;
    c.label = labelOf(line);
    if (c.label >= 0) {
        c.kind = LineClass::Header;
        c.acceptable = c.label == kComment || c.label == kMarkerName || c.label == kMarkerNumber;
        return c;
    }
    const auto blankAt = [line](std::size_t col) { return text::column(line, col) == ' '; };
    if (line.size() > 23 && blankAt(1) && blankAt(4) && blankAt(7) && blankAt(10) && blankAt(13) &&
        blankAt(16) && text::column(line, 24) == '.') {
        c.kind = LineClass::Epoch;
        c.acceptable = parseEpoch(line);
        return c;
    }
    if (line.empty() || (line.size() > 9 && text::isBlank(text::columns(line, 1, 4)) &&
                         text::column(line, 10) == '.')) {
        c.kind = LineClass::Continuation;
        c.acceptable = parseContinuation(line);
        return c;
    }
    return c;
}

bool TMeteoFileM::parseEpoch(std::string_view line) {
    const auto report = [this, line](std::string_view message) {
        m_dataList.add(m_lineNo, message, line);
    };
    struct Part {
        std::int32_t* field;
        std::string_view message;
    };
    text::TEpochTime epoch;
    std::int32_t seconds = 0;
    const Part parts[] = {
        {&epoch.year, "Not valid data for Year"},  {&epoch.month, "Not valid data for Month"},
        {&epoch.day, "Not valid data for Day"},    {&epoch.hour, "Not valid data for Hour"},
        {&epoch.minute, "Not valid data for Min"}, {&seconds, "Not valid data for Sec"},
    };
    std::string_view rest = line;
    std::string_view word;
    for (const Part& part : parts) {
        text::NextWord(rest, word);
        const text::StrictResult r = text::StrictNumber(word);
        if (!r.valid()) {
            report(part.message);
            return false;
        }
        *part.field = nearestInt(r.value);
    }
    epoch.seconds = seconds;
    if (word.find("60") != std::string_view::npos) {
        epoch.seconds = 0;
        text::AddMinute(epoch);
        if (!m_sec60Reported) {
            report("There were 60 seconds");
            m_sec60Reported = true;
        }
    }
    struct Position {
        std::size_t first;
        std::string_view message;
    };
    constexpr Position positions[] = {
        {1, "Wrong position of Year"}, {4, "Wrong position of Month"},
        {7, "Wrong position of Day"},  {10, "Wrong position of Hour"},
        {13, "Wrong position of Min"}, {16, "Wrong position of Sec"},
    };
    for (const Position& p : positions)
        if (!text::StrictNumber(text::columns(line, p.first, p.first + 2)).valid())
            report(p.message);

    m_record.epoch = epoch;
    const std::int32_t types = m_header.typeCount;
    const std::int32_t n = std::min(types, 8);
    m_continuationNeeded = types >= 9;
    m_valuesRead = 0;
    bool acceptable = true;
    for (std::int32_t k = 1; k <= n; ++k) {
        const auto first = static_cast<std::size_t>(19 + 7 * (k - 1));
        if (!readValue(text::columns(line, first, first + 6), line))
            acceptable = false;
    }
    return acceptable;
}

bool TMeteoFileM::parseContinuation(std::string_view line) {
    const std::int32_t n = std::min(m_header.typeCount - m_valuesRead, 10);
    bool acceptable = true;
    for (std::int32_t k = 1; k <= n; ++k) {
        const auto first = static_cast<std::size_t>(5 + 7 * (k - 1));
        if (!readValue(text::columns(line, first, first + 6), line))
            acceptable = false;
    }
    if (m_valuesRead == m_header.typeCount) {
        m_valuesRead = 0;
        m_continuationNeeded = false;
    } else {
        m_continuationNeeded = true;
    }
    return acceptable;
}

// One F7.1 value into the next slot; a blank field is 0.
bool TMeteoFileM::readValue(std::string_view field, std::string_view line) {
    text::RightTrim(field);
    long double value = 0;
    bool ok = true;
    if (!field.empty()) {
        const text::StrictResult r = text::StrictNumber(field);
        if (!text::FixedFormatOK(field, 7, 1)) {
            m_dataList.add(m_lineNo, "Not F7.1 format for Observations", line);
            ok = false;
        } else if (!r.valid()) {
            m_dataList.add(m_lineNo, "Not valid Observation", line);
            ok = false;
        } else {
            value = r.value;
        }
    }
    if (static_cast<std::size_t>(m_valuesRead) < kMeteoValues)
        m_record.values[static_cast<std::size_t>(m_valuesRead)] = value;
    ++m_valuesRead;
    return ok;
}

void TMeteoFileM::completeEpoch() {
    if (m_continuationNeeded) {
        m_expectContinuation = true;
        return;
    }
    m_expectContinuation = false;
    if (!m_records.append(encode(m_record))) {
        if (!m_writeFailed) {
            m_writeFailed = true;
            m_observer.notice("Error Writing File " + std::string(kMeteoFile) + " ! ");
        }
        return;
    }
    ++m_recordsWritten;
}

} // namespace meteo
