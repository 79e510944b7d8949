// One navigation scanner on arbitrary file text: the header scan, then the data scan as the
// companion step runs them, with the ephemeris record file in a scratch folder. Compiled once
// per system, chosen by QUILLON_FUZZ_NAV ('N', 'G', 'H' or 'L').
#include "FuzzSupport.h"

#include "header/HeaderData.h"
#include "nav/EphemRecords.h"
#include "nav/GALNavFile.h"
#include "nav/GEONavFile.h"
#include "nav/GLONavFile.h"
#include "nav/GPSNavFile.h"
#include "text/Diagnostics.h"
#include "text/LineReader.h"
#include "text/RecordFile.h"
#include "text/ScanObserver.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

#if QUILLON_FUZZ_NAV == 'N'
using Scanner = nav::TNavFileN;
using Header = header::THeaderDataGPS;
constexpr std::size_t kRecordSize = nav::kEphemGPSSize;
constexpr text::FileKind kKind = text::FileKind::N;
constexpr std::string_view kName = "fuzz0010.09n";
#elif QUILLON_FUZZ_NAV == 'G'
using Scanner = nav::TGLOFileG;
using Header = header::THeaderDataGLO;
constexpr std::size_t kRecordSize = nav::kEphemGLOSize;
constexpr text::FileKind kKind = text::FileKind::G;
constexpr std::string_view kName = "fuzz0010.09g";
#elif QUILLON_FUZZ_NAV == 'H'
using Scanner = nav::TGEOFileH;
using Header = header::THeaderDataGEO;
constexpr std::size_t kRecordSize = nav::kEphemGEOSize;
constexpr text::FileKind kKind = text::FileKind::H;
constexpr std::string_view kName = "fuzz0010.09h";
#elif QUILLON_FUZZ_NAV == 'L'
using Scanner = nav::TGALFileL;
using Header = header::THeaderDataGAL;
constexpr std::size_t kRecordSize = nav::kEphemGALSize;
constexpr text::FileKind kKind = text::FileKind::L;
constexpr std::string_view kName = "fuzz0010.09l";
#else
#error "QUILLON_FUZZ_NAV names the navigation file letter"
#endif

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static text::RecordFile records;
    if (!records.isOpen())
        fuzz::check(records.create(fuzz::scratch() / "Ephem.dat", kRecordSize));
    fuzz::check(records.reset());
    const auto input = fuzz::writeInput(data, size, kName);

    text::LineReader reader;
    fuzz::check(reader.open(input));
    Header header;
    text::DiagnosticsLists lists;
    text::NullScanObserver observer;
    {
        Scanner scanner(reader, header, lists, records, observer);
        if (scanner.ScanHeader())
            scanner.ScanData();
    }
    fuzz::check(!records.failed());
    fuzz::check(lists.header(kKind).lineCount() % 2 == 0);
    fuzz::check(lists.data(kKind).lineCount() % 2 == 0);
    reader.close();
    return 0;
}
