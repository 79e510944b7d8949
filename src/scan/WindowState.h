#pragma once

#include "header/HeaderData.h"
#include "header/SatSystems.h"
#include "text/Diagnostics.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace scan {

/// The colours of the window's indicators.
enum class Colour { Silver, Lime, Fuchsia, Red, Yellow };

/// 0xRRGGBB of an indicator colour.
constexpr std::uint32_t rgb(Colour c) noexcept {
    switch (c) {
    case Colour::Silver:
        return 0xC0C0C0;
    case Colour::Lime:
        return 0x00FF00;
    case Colour::Fuchsia:
        return 0xFF00FF;
    case Colour::Red:
        return 0xFF0000;
    case Colour::Yellow:
        return 0xFFFF00;
    }
    return 0xC0C0C0;
}

/// The word a text report uses for a colour ("silver", "lime", ...).
std::string_view colourWord(Colour c) noexcept;

/// The menu items of the main window, in menu order.
enum class MenuItem {
    InputRinexFile1,
    ScanRinexFile1,
    ViewSummury1,
    ViewErrors1,
    TimesEpochs1,
    Header1,
    Satellites1,
    Ephemerides1,
    Measurements1,
    Ionoparameters1,
    Externalevents1,
    Occupations1,
    Meteo1,
    Quality1, // "Quality", after the given View items
    QuillonHelp1,
    About1,
    ExitQuillon1,
};
inline constexpr std::size_t kMenuItemCount = 17;

/// The view panels of the viewer container; None means the input panel PView is shown.
enum class Panel {
    None,
    PSumm,
    PHeader,
    PVTime,
    PSats,
    PMeasurs,
    PEvents,
    POccup,
    PIO,
    PEphemGPS,
    PMeteo,
    PQuality,
};

/// A label that shows a text on a coloured background.
struct Indicator {
    std::string text;
    Colour colour = Colour::Silver;
};

/// The header and data indicators of one file kind on the summary panel (STFileOH, STFileO ...).
struct FileIndicators {
    Colour header = Colour::Silver;
    Colour data = Colour::Silver;
};

/// Everything of the main window and the errors window that a scan changes. The window layer
/// only renders it and forwards clicks; every rule of a scan is a change of this model.
struct WindowState {
    // Menus and buttons.
    std::array<bool, kMenuItemCount> menuEnabled = initialMenus();
    bool BBInputEnabled = true;
    bool BBScanEnabled = false;
    bool BBStopEnabled = false;
    bool BBShowErrEnabled = false;

    // The input panel.
    std::string EFile;
    std::string STEnd = "Filesize";
    std::string STDateis = "00/00/0000";
    std::string STTimeis = "00:00:00.000";
    std::array<Colour, header::kMaxTypes> codeIndicators{};         // STC1is ... STS5is
    std::array<Colour, header::kSatSystemCount> systemIndicators{}; // STgpsis ... STgalis
    std::array<Colour, header::kSatSystemCount> ephemIndicators{};  // STEphgpsis ... STEphgalis
    Colour STEEis = Colour::Silver;
    std::string status;     // StatusBar1
    double gauge = 0;       // GScan, 0..1
    bool busy = false;      // hourglass cursor
    bool waitShown = false; // PWait

    // Which panel is in front.
    Panel panel = Panel::None;
    bool PViewerInFront = false;   // the viewer container, in front at the end of a scan
    bool headerViewFilled = false; // the header view shows the last scan's observation header
    bool scanning = false;         // a scan runs: Scan and Input File are ignored until it ends

    // The summary panel.
    std::string ESumFile;
    std::string STSumStartEp = " Start Epoch";
    std::string STSumFinish = " Finish Epoch";
    std::string STSumNumEp = " Number of Epochs";
    std::string STSumInterval = " Interval";
    std::string STSumGap = " Gaps";
    std::string STSumMaxSat = " Maximum";
    std::string STSumMinSat = " Minimum";
    std::string ESumGPS, ESumGLO, ESumGEO, ESumGAL;
    std::string EGPSEph = " No", EGLOEph = " No", EGEOEph = " No", EGALEph = " No";
    std::string STSumXA = " XA";
    std::string STSumXB = " XB";
    std::array<std::string, header::kMaxTypes> codeCounts{}; // STC1 ... STS5
    Indicator STSumErr{"No", Colour::Yellow};
    /// Per file kind, in text::FileKind order (O, N, G, M, H, L).
    std::array<FileIndicators, 6> files{};
    std::string ST_NFileStr = "Strings in File";
    std::string ST_NHeaderStr = "Strings in Header";
    std::string ST_NDataStr = "Strings in Data";

    // The errors window: header captions per file kind and the chosen kind.
    std::array<std::string, 6> errorHeaderCaptions = initialCaptions();
    text::FileKind errorsChoice = text::FileKind::O;

    bool& menu(MenuItem item) noexcept { return menuEnabled[static_cast<std::size_t>(item)]; }
    bool menu(MenuItem item) const noexcept { return menuEnabled[static_cast<std::size_t>(item)]; }
    FileIndicators& file(text::FileKind kind) noexcept {
        return files[static_cast<std::size_t>(kind)];
    }
    const FileIndicators& file(text::FileKind kind) const noexcept {
        return files[static_cast<std::size_t>(kind)];
    }

private:
    static std::array<bool, kMenuItemCount> initialMenus() noexcept;
    static std::array<std::string, 6> initialCaptions();
};

/// The designed header caption of a file kind's errors panel ("Header (O-file)" ...).
std::string_view designedHeaderCaption(text::FileKind kind) noexcept;

/// The file size text of STEnd: MB or KB with three decimals in a field of 7, else bytes in
/// a field of 4 ("  1.500 MB", "  2.930 KB", " 512 byte").
std::string FileSizeText(std::int64_t size);

/// " 5 12 30" for the numbers 1..count whose flag is set, " No" when none is.
template <typename Flags> std::string SatelliteListText(const Flags& seen, int count) {
    std::string text;
    for (int n = 1; n <= count; ++n)
        if (seen[static_cast<std::size_t>(n)]) {
            text += ' '; // appended apart: GCC 12 -O3 sees a false overlap in " " + ...
            text += std::to_string(n);
        }
    return text.empty() ? std::string(" No") : text;
}

/// Disables "View Errors", "View Summury" and every item of the View menu.
void DisableViewMenus(WindowState& w) noexcept;
/// Hides the view panels: the input panel is shown.
void HideViewPanels(WindowState& w) noexcept;
/// The reset of the input panel when a file is chosen.
void ResetIndicators(WindowState& w);

} // namespace scan
