#pragma once

#include "nav/EphemRecords.h"
#include "nav/NavLines.h"
#include "text/Columns.h"
#include "text/Diagnostics.h"
#include "text/FieldText.h"
#include "text/LineReader.h"
#include "text/RecordFile.h"
#include "text/ScanObserver.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace nav {

/// The navigation scanner frame, written once for the four systems. A scan reads the file in
/// two passes: the header scan classifies each header line by its label and fills the header
/// record, the data scan follows epoch lines and broadcast-orbit lines, checks every field and
/// appends one record per complete, valid ephemeris. Findings go to the system's two
/// diagnostics lists; nothing but a header-only file (or a record file that refuses a write)
/// makes a pass fail.
///
/// System supplies the differences: its rules (NavRules), its header record and ephemeris
/// record types, the handlers of its own header labels and the completion of a record.
template <class System> class NavScanner {
public:
    using Header = typename System::Header;
    using Record = typename System::Record;
    using HeaderKindList = typename System::HeaderKindList;

    /// Counts the lines of the opened file (for progress) and rewinds it.
    NavScanner(text::LineReader& file, Header& header, text::DiagnosticsLists& lists,
               text::RecordFile& records, text::ScanObserver& observer)
        : m_file(file), m_header(header), m_headerList(lists.header(rules().kind)),
          m_dataList(lists.data(rules().kind)), m_records(records), m_observer(observer) {
        std::string_view line;
        std::int64_t lines = 0;
        while (m_file.next(line))
            ++lines;
        m_totalLines = static_cast<std::int32_t>(lines);
        m_file.rewind();
    }

    /// The header scan: clears the header record and fills it again. Its findings are
    /// diagnostics; it fails (false) only on a version that is not 2.xx, and ends there.
    bool ScanHeader() {
        const NavRules& r = rules();
        m_header.Clear();
        m_headerKinds.clear();
        m_file.rewind();
        m_lineNo = 0;
        m_headerLineCount = 0;
        text::TextLine t = m_file.readLine();
        if (t.isLong())
            m_headerList.add(1, "The first string of the Header is too long", t.raw);
        while (true) {
            const int kind = labelKind(t.raw);
            if (kind < 0)
                break;
            const auto code = static_cast<std::uint8_t>(kind);
            m_headerKinds.push_back(code);
            const LineReport report{m_headerList, m_lineNo + 1, t.raw};
            const bool rinex2 = handleHeaderLine(code, t.raw, report);
            if (m_lineNo == 0 && code != 0)
                report("The first string of the Header must be <RINEX VERSION / TYPE>");
            if (!rinex2) {
                // Another version's records would only give findings of the wrong kind.
                m_headerLineCount = m_lineNo + 1;
                return false;
            }
            t = m_file.readLine();
            if (t.isLong())
                m_headerList.add(m_lineNo + 2, "Too long Header string", t.raw);
            ++m_lineNo;
        }
        const LineReport report{m_headerList, m_lineNo + 1, t.raw};
        if (m_headerKinds.empty())
            report("The first string is not a Header string");
        if (m_headerKinds.empty() || m_headerKinds.back() != r.endOfHeaderCode)
            report("The string is not true Header string or <END OF HEADER> is absent");
        System::finishHeader(m_header);
        m_headerLineCount = m_lineNo;
        return true;
    }

    /// The data scan; false only for a file with nothing after its header, or when the record
    /// file refused a record (both told in a message box); a refused record ends the scan and
    /// the records written before it stay.
    bool ScanData() {
        const NavRules& r = rules();
        m_sec60Reported = false;
        m_recordValid = false;
        System::clearSatellite(m_record);
        m_counts.clear();
        m_recordsWritten = 0;
        m_writeFailed = false;
        m_observer.busy(true);
        m_observer.status("   Processing...");
        m_file.rewind();
        std::string_view skipped;
        for (std::int32_t i = 0; i < m_headerLineCount && m_file.next(skipped); ++i) {
        }
        m_lineNo = m_headerLineCount;
        if (m_file.atEnd()) {
            m_observer.notice("There is only Header in Navigation File!");
            m_observer.busy(false);
            m_observer.status("");
            return false;
        }

        bool orbitExpected = false;
        bool endRead = false; // the last read was the empty end of the file
        // A record file that refused a write ends the scan: every record after it would be lost.
        while (!m_writeFailed && !m_file.atEnd()) {
            ++m_lineNo;
            const text::TextLine t = m_file.readLine();
            const std::string_view line = t.checked;
            const LineReport report{m_dataList, m_lineNo, line};
            if (!r.blankLinesChecked && text::GeneralTrim(line).empty())
                continue;
            if (t.isLong()) {
                report("Too long string");
                continue;
            }
            endRead = t.isEnd();
            if (endRead)
                continue;
            if (m_lineNo % 100 == 0) {
                m_observer.progress(m_totalLines == 0 ? 0.0
                                                      : static_cast<double>(m_lineNo) /
                                                            static_cast<double>(m_totalLines));
                m_observer.repaint();
            }

            const NavLineKind kind = ClassifyNavLine(line);
            bool accepted = false;
            switch (kind) {
            case NavLineKind::Epoch:
                accepted = handleEpochLine(line, report);
                break;
            case NavLineKind::Orbit:
                accepted = handleOrbitLine(line, report);
                break;
            case NavLineKind::Invalid:
                break;
            }
            if (orbitExpected && kind != NavLineKind::Orbit)
                report("Broadcast Orbit Message string is absent");
            switch (kind) {
            case NavLineKind::Invalid:
                if (!line.empty()) {
                    report("Not valid string");
                    orbitExpected = false;
                }
                break;
            case NavLineKind::Orbit:
                if (!orbitExpected)
                    report("Time Message string is absent");
                else
                    orbitExpected = accepted && m_orbitRow <= lastRow();
                break;
            case NavLineKind::Epoch:
                if (orbitExpected) {
                    report("Wrong position of Epoch Message");
                    orbitExpected = accepted;
                    // The rejected line starts another record: the one being collected can no
                    // longer be completed from lines of its own.
                    if (!accepted)
                        m_recordValid = false;
                } else if (accepted) {
                    m_recordValid = true;
                    orbitExpected = true;
                } else {
                    m_recordValid = false;
                    m_orbitRow = 2;
                }
                break;
            }
        }

        // A file that ends while orbit lines are due drops that ephemeris; the missing line is
        // told as the line after the last one.
        if (orbitExpected && !m_writeFailed)
            m_dataList.add(endRead ? m_lineNo : m_lineNo + 1,
                           "Broadcast Orbit Message string is absent", "");
        if (m_recordsWritten > 0 && !m_writeFailed && !m_records.flush())
            reportWriteFailure();
        m_observer.busy(false);
        m_observer.progress(1.0);
        m_observer.repaint();
        m_observer.progress(0.0);
        m_observer.repaint();
        m_observer.status("");
        m_ephemeridesEnabled = true;
        m_ionoparametersEnabled = r.ionoparameters;
        return !m_writeFailed;
    }

    std::int32_t TotalLines() const noexcept { return m_totalLines; }
    std::int32_t LineNo() const noexcept { return m_lineNo; }
    std::int32_t HeaderLineCount() const noexcept { return m_headerLineCount; }
    /// One kind code (the label's index in the system's table) per accepted header line.
    const HeaderKindList& HeaderKinds() const noexcept { return m_headerKinds; }
    /// Records written per satellite in the last data scan.
    const EphemCountTable& EphemCount() const noexcept { return m_counts; }
    /// Records appended in the last data scan; the summary indicator of the system turns green
    /// when there is one.
    std::int32_t RecordsWritten() const noexcept { return m_recordsWritten; }
    /// The data scan ran to the end: the menu item Ephemerides1 is to be enabled.
    bool EphemeridesEnabled() const noexcept { return m_ephemeridesEnabled; }
    /// The data scan ran to the end and the system has ionosphere values (Ionoparameters1).
    bool IonoparametersEnabled() const noexcept { return m_ionoparametersEnabled; }

private:
    static constexpr const NavRules& rules() noexcept { return System::kRules; }
    static constexpr int lastRow() noexcept { return System::kRules.orbitLines + 1; }

    // The first label of the table found anywhere in the line decides; -1 for none.
    static int labelKind(std::string_view line) noexcept {
        const auto& labels = rules().labels;
        for (std::size_t i = 0; i < labels.size(); ++i)
            if (line.find(labels[i]) != std::string_view::npos)
                return static_cast<int>(i);
        return -1;
    }

    // False for a version line that names another version than 2.xx.
    bool handleHeaderLine(std::uint8_t code, std::string_view line, const LineReport& report) {
        const NavRules& r = rules();
        if (code == 0)
            return HandleVersionLine(line, r.letter, m_header.version, report);
        if (code == 1)
            HandleProgramLine(line, m_header.program, m_header.runBy, m_header.date);
        else if (code == r.leapSecondsCode)
            HandleLeapSecondsLine(line, m_header.leapSeconds, report);
        else
            System::handleHeaderLine(code, line, m_header, report);
        return true;
    }

    // Satellite number and epoch go to the current record as soon as they parse; the clock
    // values only when all three convert.
    bool handleEpochLine(std::string_view line, const LineReport& report) {
        const EpochFields f = ParseEpochLine(line, rules(), m_sec60Reported, report);
        if (f.satelliteRead)
            System::setSatellite(m_record, f.satellite);
        if (!f.accepted)
            return false;
        m_record.epoch = f.epoch;
        const std::string_view clock = line.substr(line.size() < 22 ? line.size() : 22);
        long double values[3] = {};
        for (int i = 0; i < 3; ++i) {
            if (!ReadD19Field(clock, i + 1, values[i])) {
                m_dataList.add(report.lineNo, "Not D19.12 format", clock);
                return false;
            }
        }
        for (int i = 0; i < 3; ++i)
            m_orbit.at(1, i + 2) = values[i];
        m_orbitRow = 2;
        return true;
    }

    bool handleOrbitLine(std::string_view line, const LineReport& report) {
        if (m_orbitRow > lastRow())
            return false;
        int required = 4;
        bool optionalSecond = false;
        if (m_orbitRow == lastRow()) {
            switch (rules().lastLine) {
            case LastOrbitLine::FirstAndOptionalSecond:
                required = 1;
                optionalSecond = true;
                break;
            case LastOrbitLine::AllFour:
                break;
            case LastOrbitLine::FirstThree:
                required = 3;
                break;
            }
        }
        long double values[4] = {};
        for (int i = 0; i < required; ++i) {
            if (!readOrbitField(line, i + 1, values[i], report))
                return false;
        }
        if (optionalSecond) {
            std::string_view second = text::columns(line, 23, 41);
            text::RightTrim(second);
            if (!second.empty() && !readOrbitField(line, 2, values[1], report))
                return false;
        }
        const int stored = optionalSecond ? 2 : 4;
        for (int i = 0; i < stored; ++i)
            m_orbit.at(m_orbitRow, i + 1) = values[i];
        ++m_orbitRow;
        if (m_recordValid && m_orbitRow > lastRow())
            completeRecord();
        return true;
    }

    // A field that does not read rejects the line and the record it belongs to: a record is
    // never written with a row taken from another ephemeris.
    bool readOrbitField(std::string_view line, int n, long double& x, const LineReport& report) {
        if (ReadD19Field(line, n, x))
            return true;
        report("Not D19.12 format");
        m_recordValid = false;
        return false;
    }

    void completeRecord() {
        const std::int32_t key = System::key(m_record);
        const bool counted = m_counts.holds(key);
        const std::int32_t ordinal = counted ? m_counts.count(key) + 1 : 0;
        System::complete(m_record, m_orbit, m_header, ordinal);
        if (!m_records.append(encode(m_record))) {
            reportWriteFailure();
            return;
        }
        m_counts.increment(key);
        ++m_recordsWritten;
    }

    void reportWriteFailure() {
        if (m_writeFailed)
            return;
        m_writeFailed = true;
        m_observer.notice("Error Writing File " + std::string(rules().recordFileName) + " ! ");
    }

    text::LineReader& m_file;
    Header& m_header;
    text::DiagnosticList& m_headerList;
    text::DiagnosticList& m_dataList;
    text::RecordFile& m_records;
    text::ScanObserver& m_observer;

    std::int32_t m_totalLines = 0;
    std::int32_t m_lineNo = 0;
    std::int32_t m_headerLineCount = 0;
    HeaderKindList m_headerKinds;
    int m_orbitRow = 2;
    bool m_sec60Reported = false;
    bool m_recordValid = false;

    OrbitTable m_orbit;
    Record m_record;
    EphemCountTable m_counts{System::kRules.firstSatellite, System::kRules.lastSatellite};
    std::int32_t m_recordsWritten = 0;
    bool m_writeFailed = false;
    bool m_ephemeridesEnabled = false;
    bool m_ionoparametersEnabled = false;
};

} // namespace nav
