// The observation scanner on arbitrary file text: the header scan and, when it passes, the
// data scan, with record files in a scratch folder.
#include "FuzzSupport.h"

#include "header/HeaderData.h"
#include "obs/ObsFileO.h"
#include "obs/ObsRecords.h"
#include "text/Diagnostics.h"
#include "text/DiskSpace.h"
#include "text/RecordFile.h"
#include "text/ScanObserver.h"

#include <cstddef>
#include <cstdint>

namespace {

struct ObsFiles {
    ObsFiles() {
        const auto& dir = fuzz::scratch();
        fuzz::check(epochs.create(dir / "RinexEpochs.dat", obs::kEpochRecSize));
        fuzz::check(observations.create(dir / "ObsRecs.dat", obs::kObsRecSize));
        fuzz::check(events.create(dir / "EventRecs.dat", obs::kEventRecSize));
        fuzz::check(xa.create(dir / "ExtEventRecsXA.dat", obs::kExtEventRecSize));
        fuzz::check(xb.create(dir / "ExtEventRecsXB.dat", obs::kExtEventRecSize));
    }
    void reset() {
        for (text::RecordFile* f : {&epochs, &observations, &events, &xa, &xb})
            fuzz::check(f->reset());
    }
    text::RecordFile epochs, observations, events, xa, xb;
};

bool evenLines(const text::DiagnosticList& list) {
    return list.lineCount() % 2 == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ObsFiles files;
    files.reset();
    const auto input = fuzz::writeInput(data, size, "fuzz0010.09o");

    header::THeaderData header;
    text::DiagnosticList LBHeader, LBData;
    text::NullScanObserver observer;
    text::FreeSpaceGuard roomy(fuzz::scratch(),
                               [](const std::filesystem::path&) { return std::uint64_t{1} << 40; });
    obs::TObsFileO scanner(input, header, LBHeader, LBData, observer,
                           obs::ObsRecordFiles{&files.epochs, &files.observations, &files.events,
                                               &files.xa, &files.xb},
                           roomy);
    fuzz::check(scanner.isOpen());
    if (scanner.ScanHeader()) {
        scanner.ScanData();
        // Every epoch and external event counted was written, and each diagnostic is a
        // message line and its raw line.
        fuzz::check(files.epochs.recordCount() ==
                    static_cast<std::uint64_t>(scanner.writtenEpochs));
        fuzz::check(files.xa.recordCount() == static_cast<std::uint64_t>(scanner.extEventsA));
        fuzz::check(files.xb.recordCount() == static_cast<std::uint64_t>(scanner.extEventsB));
    }
    fuzz::check(evenLines(LBHeader) && evenLines(LBData));
    return 0;
}
