#pragma once

#include "header/HeaderData.h"
#include "header/SatSystems.h"
#include "obs/ObsRecords.h"
#include "text/Diagnostics.h"
#include "text/DiskSpace.h"
#include "text/LineReader.h"
#include "text/RecordFile.h"
#include "text/ScanObserver.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace obs {

/// The five record files the data scan appends to. They are created and owned by the run
/// set-up; a null or closed file is never written.
struct ObsRecordFiles {
    text::RecordFile* epochs = nullptr;       // RinexEpochs.dat
    text::RecordFile* observations = nullptr; // ObsRecs.dat
    text::RecordFile* events = nullptr;       // EventRecs.dat
    text::RecordFile* extEventsA = nullptr;   // ExtEventRecsXA.dat
    text::RecordFile* extEventsB = nullptr;   // ExtEventRecsXB.dat
};

/// The 20 header labels in code order.
inline constexpr std::array<std::string_view, 20> kHeaderLabels = {
    "RINEX VERSION / TYPE", "PGM / RUN BY / DATE ", "COMMENT             ", "MARKER NAME         ",
    "MARKER NUMBER       ", "OBSERVER / AGENCY   ", "REC # / TYPE / VERS ", "ANT # / TYPE        ",
    "APPROX POSITION XYZ ", "ANTENNA: DELTA H/E/N", "WAVELENGTH FACT L1/2", "# / TYPES OF OBSERV ",
    "INTERVAL            ", "TIME OF FIRST OBS   ", "TIME OF LAST OBS    ", "LEAP SECONDS        ",
    "# OF SATELLITES     ", "PRN / # OF OBS      ", "END OF HEADER       ", "RCV CLOCK OFFS APPL "};

enum class Label : std::uint8_t {
    Version = 0,
    Program = 1,
    Comment = 2,
    MarkerName = 3,
    MarkerNumber = 4,
    Observer = 5,
    Receiver = 6,
    Antenna = 7,
    ApproxPosition = 8,
    AntennaDelta = 9,
    Wavelength = 10,
    ObsTypes = 11,
    Interval = 12,
    FirstObs = 13,
    LastObs = 14,
    LeapSeconds = 15,
    Satellites = 16,
    PrnObs = 17,
    EndOfHeader = 18,
    ClockOffsetApplied = 19,
};

/// The first label (in code order) whose text without trailing blanks occurs anywhere in the
/// line; none when no label occurs.
std::optional<Label> FindHeaderLabel(std::string_view line) noexcept;

/// Kinds of data lines.
enum class LineKind : std::uint8_t { Header = 0, Observation = 1, Epoch = 2, Event = 3, Other = 4 };

/// One point of the time-difference chart: the later epoch's list number and the step in s.
struct ChartPoint {
    double x = 0;
    double y = 0;
    friend bool operator==(const ChartPoint&, const ChartPoint&) = default;
};

/// The left axis of the time-difference chart after a data scan: automatic, or fixed to
/// [minimum, maximum] when every step was the same.
struct TimesAxis {
    bool automatic = true;
    double minimum = 0;
    double maximum = 0;
};

/// Satellites seen in accepted satellite lists, per system (header::kSatSystems order) and
/// number; numbers outside a system's range are never marked.
struct SatellitesSeen {
    using Numbers = std::array<bool, header::kSatNumberSlots>;
    std::array<Numbers, header::kSatSystemCount> numbers{};
    std::array<bool, header::kSatSystemCount> any{};

    void mark(header::SatSystem system, std::int32_t number) noexcept {
        if (!header::numberInRange(system, number))
            return;
        numbers[static_cast<std::size_t>(system)][static_cast<std::size_t>(number)] = true;
        any[static_cast<std::size_t>(system)] = true;
    }
    bool has(header::SatSystem system, std::int32_t number) const noexcept {
        return header::numberInRange(system, number) &&
               numbers[static_cast<std::size_t>(system)][static_cast<std::size_t>(number)];
    }
    /// The flags of a system, indexed by satellite number.
    const Numbers& of(header::SatSystem system) const noexcept {
        return numbers[static_cast<std::size_t>(system)];
    }
};

/// The scanner of one RINEX 2 observation file: a header scan that fills the header record and
/// TypePosition, then a data scan that checks every data line and writes the record files.
/// What it finds is data (diagnostics, the epochs list, chart points, counts) that the summary
/// and the views read after a step; the window is reached only through the observer.
class TObsFileO {
public:
    /// Opens the file and counts its lines. `drive` names the record files' drive in the
    /// low-disk notice.
    TObsFileO(const std::filesystem::path& file, header::THeaderData& header,
              text::DiagnosticList& LBHeader, text::DiagnosticList& LBData,
              text::ScanObserver& observer, ObsRecordFiles files, text::FreeSpaceGuard& freeSpace,
              std::string drive = "/");

    bool isOpen() const noexcept { return m_reader.isOpen(); }

    /// True when the header was read to its end (also with diagnostics, and when the file ends
    /// right after END OF HEADER); false for an empty file, an end of file inside the header, a
    /// version that is not 2.xx, or a rejected type list.
    bool ScanHeader();
    /// False when nothing follows the header, when the record files' drive fell below 10 MiB
    /// ("Disk space is less then 10 MB on drive ...") or when a record file refused a write
    /// ("Error Writing File " + its name + " ! "); the last two end the scan at once, told
    /// once, and keep what was written. True also after a stop by the user.
    bool ScanData();

    // Results of the header scan.
    std::uint64_t totalLines = 0;          // lines of the file: counted at creation, then read
    std::int32_t headerLineCount = 0;      // header lines accepted
    std::vector<std::uint8_t> HeaderKinds; // label code per header line
    bool longLines = false;                // a line longer than 80 characters was met
    std::array<std::int32_t, header::kMaxTypes> TypePosition{}; // 1-based, 0 when absent
    std::int32_t intervalMs = 0;                                // nominal interval in milliseconds
    double intervalSpan = 0;                                    // the same as a day fraction

    // Results of the data scan.
    std::uint64_t dataLines = 0;
    std::vector<std::string> LBEpochs; // epoch lines and gap marker lines
    std::vector<ChartPoint> ChTimes;   // time differences between consecutive epochs
    TimesAxis timesAxis;
    std::int32_t epochLineNumber = 0;
    std::int32_t gapCount = 0;
    std::int64_t missingEpochs = 0;
    long double smallestStep = 1000000;
    long double largestStep = -1000000;
    std::int32_t writtenEpochs = 0;
    std::int32_t extEventsA = 0;
    std::int32_t extEventsB = 0;
    std::int32_t smallestSatCount = 100;
    std::int32_t largestSatCount = 0;
    std::array<std::int64_t, header::kMaxTypes> nonZero{}; // non-zero values per type code
    SatellitesSeen seen;
    std::string lastEpochLine; // checked text of the last epoch line
    bool stopped = false;      // the user stopped the data scan
    bool diskLow = false;      // the record files' drive fell below 10 MiB
    bool writeFailed = false;  // a record file refused a write: the scan ended there
    TOccupation occupation;    // the occupation in force

private:
    enum class Expect : std::uint8_t { EventRecords = 0, Observations = 1, Epoch = 2 };

    // Header handlers; diagnostics go to `list` with line number `lineNo`.
    void handleHeaderLine(Label label, std::string_view line, text::DiagnosticList& list,
                          std::int64_t lineNo, bool& failed);
    void handleVersion(std::string_view line, text::DiagnosticList& list, std::int64_t lineNo);
    void handleApproxPosition(std::string_view line, text::DiagnosticList& list,
                              std::int64_t lineNo);
    void handleAntennaDelta(std::string_view line, text::DiagnosticList& list, std::int64_t lineNo);
    void handleWavelength(std::string_view line, text::DiagnosticList& list, std::int64_t lineNo);
    bool handleObsTypes(std::string_view line, text::DiagnosticList& list, std::int64_t lineNo);
    void handleInterval(std::string_view line, text::DiagnosticList& list, std::int64_t lineNo);
    void handleObsTime(std::string_view line, bool first, text::DiagnosticList& list,
                       std::int64_t lineNo);
    void handlePrnObs(std::string_view line, text::DiagnosticList& list, std::int64_t lineNo);

    // Data scan.
    LineKind ClassifyDataLine(std::string_view line, bool& accepted);
    bool ReadEpochTime(std::string_view text, text::TEpochTime& t);
    bool CheckEpochLine(std::string_view line);
    bool CheckObservationLine(std::string_view line);
    bool CheckEventLine(std::string_view line);
    void handleDataLine(std::string_view checked);
    void epochAccepted();
    void WriteEpoch();
    void WriteEvent();
    void clearContinuations() noexcept;
    void clearEpoch();
    bool hasEqualPrns() const noexcept;
    void showEpoch();
    void dataDiag(std::string_view message);
    bool append(text::RecordFile* file, std::span<const std::byte> record);
    void noteWriteFailure(const text::RecordFile& file);

    text::LineReader m_reader;
    header::THeaderData& m_header;
    text::DiagnosticList& m_LBHeader;
    text::DiagnosticList& m_LBData;
    text::ScanObserver& m_observer;
    ObsRecordFiles m_files;
    text::FreeSpaceGuard& m_freeSpace;
    std::string m_drive;
    std::string m_failedFile; // the record file that refused a write first

    // Header scan state.
    bool m_typeContinuation = false;
    std::int32_t m_typesRead = 0;
    bool m_notRinex2 = false;                    // the version line names another version
    std::int32_t m_waveLines = 0;                // WAVELENGTH FACT lines read
    std::int32_t m_wavePending = 0;              // satellites a line announced beyond its seven
    std::array<std::int32_t, 2> m_waveFactors{}; // the factors those satellites take
    bool m_prnObsContinuation = false;
    std::int32_t m_prnObsSat = 1;
    std::int32_t m_prnObsType = 1;
    std::string m_lastHeaderLine;

    // Data scan state.
    std::int64_t m_lineNo = 0; // data line number
    std::string_view m_line;   // the raw line being handled
    Expect m_expect = Expect::Epoch;
    bool m_firstEpochPending = true;
    bool m_prnContinuation = false;
    std::int32_t m_prnsRead = 0;
    bool m_obsContinuation = false;
    std::int32_t m_satIndex = 0;
    std::int32_t m_typeIndex = 0;
    std::int32_t m_epochSats = 0; // satellites of the current epoch
    std::int32_t m_blockSize = 0;
    std::int32_t m_blockRead = 0;
    std::int32_t m_blockFlag = 0;
    bool m_inputB = false;
    bool m_sixtyReported = false;
    double m_previousTime = 0;
    double m_currentTime = 0;
    TEpochRec m_epoch;
    std::vector<EpochSat> m_satList; // the whole satellite list, also beyond 60 entries
    std::vector<TObsRec> m_table;    // satellites x types of the current epoch
    std::size_t m_tableSats = 0;     // satellites the table holds
    TObsRec m_spareRec;              // takes the values of satellites beyond the table
    TEventRec m_event;
    TExtEventRec m_extEvent;
    std::vector<std::byte> m_obsBytes; // the epoch's observation records, encoded
};

} // namespace obs
