#include "scan/WindowState.h"

#include "text/NumberText.h"

namespace scan {

std::string_view colourWord(Colour c) noexcept {
    switch (c) {
    case Colour::Silver:
        return "silver";
    case Colour::Lime:
        return "lime";
    case Colour::Fuchsia:
        return "fuchsia";
    case Colour::Red:
        return "red";
    case Colour::Yellow:
        return "yellow";
    }
    return "silver";
}

std::array<bool, kMenuItemCount> WindowState::initialMenus() noexcept {
    std::array<bool, kMenuItemCount> m{};
    m[static_cast<std::size_t>(MenuItem::InputRinexFile1)] = true;
    m[static_cast<std::size_t>(MenuItem::QuillonHelp1)] = true;
    m[static_cast<std::size_t>(MenuItem::About1)] = true;
    m[static_cast<std::size_t>(MenuItem::ExitQuillon1)] = true;
    return m;
}

std::array<std::string, 6> WindowState::initialCaptions() {
    std::array<std::string, 6> c;
    for (text::FileKind kind : text::kFileKinds)
        c[static_cast<std::size_t>(kind)] = std::string(designedHeaderCaption(kind));
    return c;
}

std::string_view designedHeaderCaption(text::FileKind kind) noexcept {
    switch (kind) {
    case text::FileKind::O:
        return "Header (O-file)";
    case text::FileKind::N:
        return "Header (N-file)";
    case text::FileKind::G:
        return "Header (G-file)";
    case text::FileKind::M:
        return "Header (M-file)";
    case text::FileKind::H:
        return "Header (H-file)";
    case text::FileKind::L:
        return "Header (L-file)";
    }
    return "";
}

std::string FileSizeText(std::int64_t size) {
    if (size >= 1048576)
        return text::FixedText(static_cast<long double>(size) / 1048576.0L, 7, 3) + " MB";
    if (size >= 1024)
        return text::FixedText(static_cast<long double>(size) / 1024.0L, 7, 3) + " KB";
    std::string t = std::to_string(size);
    if (t.size() < 4)
        t.insert(0, 4 - t.size(), ' ');
    return t + " byte";
}

void DisableViewMenus(WindowState& w) noexcept {
    for (MenuItem item :
         {MenuItem::ViewErrors1, MenuItem::ViewSummury1, MenuItem::TimesEpochs1, MenuItem::Header1,
          MenuItem::Satellites1, MenuItem::Ephemerides1, MenuItem::Measurements1,
          MenuItem::Ionoparameters1, MenuItem::Externalevents1, MenuItem::Occupations1,
          MenuItem::Meteo1, MenuItem::Quality1})
        w.menu(item) = false;
}

void HideViewPanels(WindowState& w) noexcept {
    w.panel = Panel::None;
}

void ResetIndicators(WindowState& w) {
    HideViewPanels(w);
    w.STEnd = "Filesize";
    w.codeIndicators.fill(Colour::Silver);
    w.systemIndicators.fill(Colour::Silver);
    w.ephemIndicators.fill(Colour::Silver);
    w.STEEis = Colour::Silver;
    w.STDateis = "00/00/0000";
    w.STTimeis = "00:00:00.000";
}

} // namespace scan
