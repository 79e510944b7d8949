#pragma once

#include "app/QualityReport.h"
#include "scan/ScanDriver.h"

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>
#include <vector>

namespace app {

/// The command line of quillon-scan: [--json] [--records DIR] [quality options] OBSFILE.
struct ScanArguments {
    bool json = false;
    bool help = false;
    std::string recordsDir; // empty: the temporary folder of the working directory
    std::string obsFile;
    QualityArguments quality;
};

/// Reads the arguments (argv[0] excluded); false with a reason for anything else.
bool ParseScanArguments(const std::vector<std::string_view>& args, ScanArguments& out,
                        std::string& error);

inline constexpr std::string_view kScanUsage =
    "usage: quillon-scan [--json] [--records DIR] [quality options] OBSFILE\n"
    "Scans a RINEX 2 observation file and the companions found beside it (last letter\n"
    "N, G, H, L, M) and prints the summary and every diagnostic.\n"
    "  --json          one JSON object on standard output instead of the text report\n"
    "  --records DIR   write the record files and header exports into DIR and keep them\n"
    "  --quality       multipath, slips, completeness and the ionosphere per satellite\n"
    "  --sky FILE      write time,sat,azimuth_deg,elevation_deg rows (CSV) to FILE\n"
    "  --breaks FILE   write time,sat,cause rows of every arc start (CSV) to FILE\n"
    "  --mask DEG      elevation mask of the completeness (10)\n"
    "  --gap N         a gap longer than N intervals starts a new arc (10)\n"
    "  --iono-rate CM  ionospheric rate in cm/min that counts as a slip (400)\n"
    "  --mp-jump M     multipath jump in metres that counts as a slip (5)\n"
    "  --mp-window N   take a moving average of N epochs off MP instead of the arc mean\n"
    "Exit status: 0 clean, 1 diagnostics or a failed file, 2 the scan could not run or a\n"
    "file asked for could not be written.\n";

/// The errors window's name of a file kind: "O (Observation)", "N (GPS Nav)" ...
std::string_view KindCaption(text::FileKind kind) noexcept;

/// True when the scan found nothing to complain about: no list holds a line and no file
/// indicator is red.
bool ScanClean(const scan::TScanDriver& driver);

/// The summary panel, the file indicators as words and every non-empty diagnostics list.
std::string TextReport(const scan::TScanDriver& driver);

/// The figures of the summary, the file results, the diagnostics and the message-box texts.
nlohmann::ordered_json JsonReport(const scan::TScanDriver& driver,
                                  const std::vector<std::string>& messages);

/// The JSON text: invalid UTF-8 from a file's raw lines is replaced, never thrown about.
std::string JsonText(const nlohmann::ordered_json& report);

} // namespace app
