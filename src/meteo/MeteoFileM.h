#pragma once

#include "header/HeaderData.h"
#include "text/Diagnostics.h"
#include "text/GPSTime.h"
#include "text/LineReader.h"
#include "text/RecordFile.h"
#include "text/ScanObserver.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace meteo {

inline constexpr std::size_t kMeteoRecordSize = 1040;
inline constexpr std::size_t kMeteoValues = 100;
inline constexpr std::string_view kMeteoFile = "Meteo.dat";

/// One meteo epoch of Meteo.dat: the epoch as written (two-digit year, whole seconds) and the
/// value of the type at each header position (a blank field is 0).
struct MeteoRecord {
    text::TEpochTime epoch;                         // 0-39
    std::array<long double, kMeteoValues> values{}; // 40 + 10 (k - 1), k = 1..100

    friend bool operator==(const MeteoRecord&, const MeteoRecord&) = default;
};

std::array<std::byte, kMeteoRecordSize> encode(const MeteoRecord& r) noexcept;
MeteoRecord decodeMeteo(std::span<const std::byte> bytes) noexcept;

/// One label code per header line.
using TListHStrMeteo = std::vector<std::uint8_t>;

/// The meteo types that the header lists, by type code (header::kMeteoTypes): present flag and
/// the 1-based position in the type list (a type listed twice keeps its later position).
struct TypePresence {
    std::array<std::uint8_t, header::kMeteoCodeSlots> present{};
    std::array<std::int32_t, header::kMeteoCodeSlots> position{};
};

/// The meteorological file scanner. The header pass checks every header line and fills
/// THeaderDataMeteo; the data pass checks the epoch and continuation lines and appends one
/// MeteoRecord per complete epoch to Meteo.dat. Findings go to LBHeaderM and LBDataM.
class TMeteoFileM {
public:
    /// Counts the lines of the opened file (for progress) and rewinds it.
    TMeteoFileM(text::LineReader& file, header::THeaderDataMeteo& header,
                text::DiagnosticsLists& lists, text::RecordFile& meteoRecords,
                text::ScanObserver& observer);

    /// False on a first line that is too long or carries no header label, on a header line
    /// that is too long and on a version that is not 2.xx; the data pass is then not to run.
    bool ScanHeader();
    /// False only for a file with nothing after its header (or a Meteo.dat that refuses a
    /// record, told in a message box; the scan ends there and the records before it stay).
    bool ScanData();

    std::int32_t TotalLines() const noexcept { return m_totalLines; }
    std::int32_t HeaderLineCount() const noexcept { return m_headerLineCount; }
    const TListHStrMeteo& HeaderKinds() const noexcept { return m_headerKinds; }
    const TypePresence& Types() const noexcept { return m_types; }
    /// Records appended to Meteo.dat by the last data pass.
    std::int32_t MeteoRecordsWritten() const noexcept { return m_recordsWritten; }
    /// The data pass ran to the end: the menu item "Meteo" is to be enabled.
    bool MeteoEnabled() const noexcept { return m_meteoEnabled; }

private:
    enum class LineClass { Header, Epoch, Continuation, Invalid };
    struct Classified {
        LineClass kind = LineClass::Invalid;
        bool acceptable = false;
        int label = -1;
    };

    std::string_view readLine(bool& tooLong);
    void handleHeaderLine(int code, std::string_view line);
    void handleVersion(std::string_view line, std::int64_t lineNo);
    void handleTypes(std::string_view line, std::int64_t lineNo);
    void handleSensor(std::string_view line, std::int64_t lineNo);
    void handlePosition(std::string_view line, std::int64_t lineNo);
    Classified classify(std::string_view line);
    bool parseEpoch(std::string_view line);
    bool parseContinuation(std::string_view line);
    bool readValue(std::string_view field, std::string_view line);
    void completeEpoch();

    text::LineReader& m_file;
    header::THeaderDataMeteo& m_header;
    text::DiagnosticList& m_headerList;
    text::DiagnosticList& m_dataList;
    text::RecordFile& m_records;
    text::ScanObserver& m_observer;

    std::int32_t m_totalLines = 0;
    std::int32_t m_lineNo = 0;
    std::int32_t m_headerLineCount = 0;
    std::string m_lastHeaderLine; // the last line the header pass accepted
    TListHStrMeteo m_headerKinds;
    bool m_tooLong = false;
    bool m_notRinex2 = false; // the version line names another version than 2.xx
    bool m_sec60Reported = false;
    std::int32_t m_typesListed = 0; // types read from # / TYPES OF OBSERV lines so far
    std::int32_t m_valuesRead = 0;
    bool m_continuationNeeded = false;
    bool m_expectContinuation = false;
    MeteoRecord m_record;
    TypePresence m_types;
    std::int32_t m_recordsWritten = 0;
    bool m_writeFailed = false;
    bool m_meteoEnabled = false;
};

} // namespace meteo
