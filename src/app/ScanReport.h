#pragma once

#include "scan/ScanDriver.h"

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>
#include <vector>

namespace app {

/// The command line of quillon-scan: [--json] [--records DIR] OBSFILE.
struct ScanArguments {
    bool json = false;
    bool help = false;
    std::string recordsDir; // empty: the temporary folder of the working directory
    std::string obsFile;
};

/// Reads the arguments (argv[0] excluded); false with a reason for anything else.
bool ParseScanArguments(const std::vector<std::string_view>& args, ScanArguments& out,
                        std::string& error);

inline constexpr std::string_view kScanUsage =
    "usage: quillon-scan [--json] [--records DIR] OBSFILE\n"
    "Scans a RINEX 2 observation file and the companions found beside it (last letter\n"
    "N, G, H, L, M) and prints the summary and every diagnostic.\n"
    "  --json          one JSON object on standard output instead of the text report\n"
    "  --records DIR   write the record files and header exports into DIR and keep them\n"
    "Exit status: 0 clean, 1 diagnostics or a failed file, 2 the scan could not run.\n";

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
