#include "app/ScanReport.h"

#include "header/HeaderData.h"
#include "header/SatSystems.h"
#include "scan/RunSetup.h"
#include "scan/WindowState.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <utility>

namespace app {

namespace {

constexpr std::array<text::FileKind, 6> kReportOrder = {text::FileKind::O, text::FileKind::N,
                                                        text::FileKind::G, text::FileKind::H,
                                                        text::FileKind::L, text::FileKind::M};

std::string_view fileCaption(text::FileKind kind) noexcept {
    switch (kind) {
    case text::FileKind::O:
        return "Observation File";
    case text::FileKind::N:
        return "Navigation File GPS";
    case text::FileKind::G:
        return "Navigation File GLO";
    case text::FileKind::H:
        return "Navigation File GEO";
    case text::FileKind::L:
        return "Navigation File GAL";
    case text::FileKind::M:
        return "Meteo File";
    }
    return "";
}

/// The "expanded" object of the JSON report: the form and the bytes of text it gave, and
/// whether the whole file was expanded.
nlohmann::ordered_json expansionOf(const expand::Expansion& e) {
    return {{"from", e.from}, {"bytes", e.bytes}, {"complete", e.complete}};
}

std::string padded(std::string_view text, std::size_t width) {
    std::string s(text);
    if (s.size() < width)
        s.append(width - s.size(), ' ');
    return s;
}

nlohmann::ordered_json numbersOf(const obs::SatellitesSeen& seen, header::SatSystem system) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (std::int32_t n = 1; n <= header::facts(system).lastNumber; ++n)
        if (seen.has(system, n))
            list.push_back(n);
    return list;
}

nlohmann::ordered_json linesOf(const text::DiagnosticList& list) {
    nlohmann::ordered_json lines = nlohmann::ordered_json::array();
    for (const std::string& l : list.lines())
        lines.push_back(l);
    return lines;
}

} // namespace

bool ParseScanArguments(const std::vector<std::string_view>& args, ScanArguments& out,
                        std::string& error) {
    out = ScanArguments{};
    bool fileGiven = false;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        if (options && a == "--") {
            options = false;
        } else if (options && (a == "--help" || a == "-h")) {
            out.help = true;
        } else if (options && a == "--json") {
            out.json = true;
        } else if (options && a == "--records") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                error = "--records needs a folder";
                return false;
            }
            out.recordsDir = std::string(args[++i]);
        } else if (options && a.size() > 1 && a.front() == '-') {
            bool handled = false;
            if (!ParseQualityOption(args, i, out.quality, handled, error))
                return false;
            if (!handled) {
                error = "unknown option " + std::string(a);
                return false;
            }
        } else if (fileGiven) {
            error = "only one observation file can be scanned";
            return false;
        } else {
            out.obsFile = std::string(a);
            fileGiven = true;
        }
    }
    if (!fileGiven && !out.help) {
        error = "no observation file given";
        return false;
    }
    return true;
}

std::string_view KindCaption(text::FileKind kind) noexcept {
    switch (kind) {
    case text::FileKind::O:
        return "O (Observation)";
    case text::FileKind::N:
        return "N (GPS Nav)";
    case text::FileKind::G:
        return "G (GLO Nav)";
    case text::FileKind::H:
        return "H (GEO Nav)";
    case text::FileKind::L:
        return "L (GAL Nav)";
    case text::FileKind::M:
        return "M (Meteo)";
    }
    return "";
}

bool ScanClean(const scan::TScanDriver& driver) {
    if (driver.lists().anyLines())
        return false;
    for (const scan::FileIndicators& f : driver.window().files)
        if (f.header == scan::Colour::Red || f.data == scan::Colour::Red)
            return false;
    return true;
}

std::string TextReport(const scan::TScanDriver& driver) {
    const scan::WindowState& w = driver.window();
    std::string out;
    const auto line = [&out](std::string_view text) {
        out += text;
        out += '\n';
    };
    line("RINEX File " + w.ESumFile);
    line("Filesize   " + w.STEnd);
    line(" Epochs ");
    for (const std::string* s :
         {&w.STSumStartEp, &w.STSumFinish, &w.STSumNumEp, &w.STSumInterval, &w.STSumGap})
        line("   " + *s);
    line(" Satellites ");
    line("   " + w.STSumMaxSat);
    line("   " + w.STSumMinSat);
    line("    GPS " + w.ESumGPS);
    line("    GLO " + w.ESumGLO);
    line("    GEO " + w.ESumGEO);
    line("    GAL " + w.ESumGAL);
    line(" Ephemeris ");
    line("    GPS " + w.EGPSEph);
    line("    GLO " + w.EGLOEph);
    line("    GEO " + w.EGEOEph);
    line("    GAL " + w.EGALEph);
    line(" Events ");
    line("   " + w.STSumXA);
    line("   " + w.STSumXB);
    line(" Measurements");
    // The types of RINEX 2.10 in two lines of seven, those of the bands 6, 7 and 8 in two of six.
    constexpr std::array<std::size_t, 4> kLineEnds = {7, 14, 20, header::kMaxTypes};
    std::string codes;
    for (std::size_t i = 0; i < header::kMaxTypes; ++i) {
        codes += "    " + std::string(header::kObsTypeNames[i]) + " " + w.codeCounts[i];
        if (std::find(kLineEnds.begin(), kLineEnds.end(), i + 1) != kLineEnds.end()) {
            line(codes);
            codes.clear();
        }
    }
    line(" Errors ");
    line("    " + w.STSumErr.text);
    line(" Files ");
    for (text::FileKind kind : kReportOrder) {
        const scan::FileIndicators& f = w.file(kind);
        const expand::Expansion& expanded = driver.run().expansion(kind);
        line("    " + padded(fileCaption(kind), 20) + " header " +
             padded(scan::colourWord(f.header), 8) + " data " +
             std::string(scan::colourWord(f.data)) +
             (expanded.expanded ? "  expanded from " + expanded.from : std::string()));
    }
    line(" Strings in File   " + w.ST_NFileStr);
    line(" Strings in Header " + w.ST_NHeaderStr);
    line(" Strings in Data   " + w.ST_NDataStr);

    for (text::FileKind kind : kReportOrder) {
        const std::string letter(1, scan::kindLetter(kind));
        const std::pair<std::string, const text::DiagnosticList*> parts[] = {
            {w.errorHeaderCaptions[static_cast<std::size_t>(kind)], &driver.lists().header(kind)},
            {"Data (" + letter + "-file)", &driver.lists().data(kind)}};
        for (const auto& [caption, list] : parts) {
            if (list->empty())
                continue;
            line("");
            line(std::string(KindCaption(kind)) + " - " + caption);
            for (const std::string& l : list->lines())
                line(l);
        }
    }
    return out;
}

nlohmann::ordered_json JsonReport(const scan::TScanDriver& driver,
                                  const std::vector<std::string>& messages) {
    using json = nlohmann::ordered_json;
    const scan::WindowState& w = driver.window();
    json r = json::object();
    const scan::RunState& run = driver.run();
    const expand::Expansion& expanded = run.expansion(text::FileKind::O);
    // An expanded file keeps the chosen name; the text scanned lives in the temporary folder.
    r["file"] = expanded.expanded ? expanded.source : run.observationFileName;
    r["size"] = w.STEnd;
    if (expanded.expanded)
        r["expanded"] = expansionOf(expanded);

    const obs::TObsFileO* o = driver.obsFile();
    r["epochs"] = o ? o->writtenEpochs : 0;
    r["interval_ms"] = o ? o->intervalMs : 0;
    r["gaps"] = o ? o->gapCount : 0;
    r["missing_epochs"] = o ? o->missingEpochs : 0;
    r["xa"] = o ? o->extEventsA : 0;
    r["xb"] = o ? o->extEventsB : 0;
    r["max_sats"] = o ? o->largestSatCount : 0;
    r["min_sats"] = o ? o->smallestSatCount : 100;
    r["start"] = o && !o->LBEpochs.empty() ? json(o->LBEpochs.front()) : json(nullptr);
    r["finish"] = o && !o->LBEpochs.empty() ? json(o->LBEpochs.back()) : json(nullptr);

    json sats = json::object();
    for (const header::SatSystemFacts& f : header::kSatSystems)
        sats[std::string(f.shortName)] = o ? numbersOf(o->seen, f.system) : json::array();
    r["satellites"] = std::move(sats);

    json ephem = json::object();
    const std::pair<const char*, scan::NavSystem> systems[] = {{"GPS", scan::NavSystem::GPS},
                                                               {"GLO", scan::NavSystem::GLO},
                                                               {"GEO", scan::NavSystem::GEO},
                                                               {"GAL", scan::NavSystem::GAL}};
    for (const auto& [name, system] : systems)
        ephem[name] = driver.EphemerisSatellites(system);
    r["ephemerides"] = std::move(ephem);

    json counts = json::object();
    for (std::size_t i = 0; i < header::kMaxTypes; ++i)
        counts[std::string(header::kObsTypeNames[i])] = o ? o->nonZero[i] : 0;
    r["observations"] = std::move(counts);

    r["lines"] = {{"file", o ? o->totalLines : 0},
                  {"header", o ? static_cast<std::uint32_t>(o->headerLineCount) : 0u},
                  {"data", o ? o->dataLines : 0}};

    json files = json::object();
    json diagnostics = json::object();
    for (text::FileKind kind : kReportOrder) {
        const std::string letter(1, scan::kindLetter(kind));
        const scan::FileIndicators& f = w.file(kind);
        files[letter] = {{"header", scan::colourWord(f.header)},
                         {"data", scan::colourWord(f.data)}};
        if (kind != text::FileKind::O && run.expansion(kind).expanded)
            files[letter]["expanded"] = expansionOf(run.expansion(kind));
        diagnostics[letter] = {{"header", linesOf(driver.lists().header(kind))},
                               {"data", linesOf(driver.lists().data(kind))}};
    }
    r["files"] = std::move(files);
    r["errors"] = w.STSumErr.text == "Yes";
    r["diagnostics"] = std::move(diagnostics);
    r["messages"] = messages;
    return r;
}

std::string JsonText(const nlohmann::ordered_json& report) {
    return report.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

} // namespace app
