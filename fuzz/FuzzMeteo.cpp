// The meteo scanner on arbitrary file text: the header scan and, when it passes, the data
// scan, with Meteo.dat in a scratch folder.
#include "FuzzSupport.h"

#include "header/HeaderData.h"
#include "meteo/MeteoFileM.h"
#include "text/Diagnostics.h"
#include "text/LineReader.h"
#include "text/RecordFile.h"
#include "text/ScanObserver.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static text::RecordFile records;
    if (!records.isOpen())
        fuzz::check(records.create(fuzz::scratch() / meteo::kMeteoFile, meteo::kMeteoRecordSize));
    fuzz::check(records.reset());
    const auto input = fuzz::writeInput(data, size, "fuzz0010.09m");

    text::LineReader reader;
    fuzz::check(reader.open(input));
    header::THeaderDataMeteo header;
    text::DiagnosticsLists lists;
    text::NullScanObserver observer;
    {
        meteo::TMeteoFileM scanner(reader, header, lists, records, observer);
        if (scanner.ScanHeader()) {
            scanner.ScanData();
            fuzz::check(records.recordCount() ==
                        static_cast<std::uint64_t>(scanner.MeteoRecordsWritten()));
        }
    }
    fuzz::check(lists.header(text::FileKind::M).lineCount() % 2 == 0);
    fuzz::check(lists.data(text::FileKind::M).lineCount() % 2 == 0);
    reader.close();
    return 0;
}
