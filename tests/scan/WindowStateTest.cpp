#include "scan/WindowState.h"

#include <gtest/gtest.h>

#include <array>

using scan::MenuItem;

TEST(FileSizeText, MegabytesKilobytesAndBytes) {
    constexpr struct {
        std::int64_t size;
        const char* text;
    } kCases[] = {
        {1572864, "  1.500 MB"},  {1048576, "  1.000 MB"},
        {1048575, "1023.999 KB"}, // wider than the field of 7
        {3000, "  2.930 KB"},     {1023, "1023 byte"},
        {512, " 512 byte"},       {5LL << 30, "5120.000 MB"}, // 64-bit sizes show too
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(scan::FileSizeText(c.size), c.text);
    }
}

TEST(WindowState, StartsWithOnlyInputHelpAboutAndExit) {
    const scan::WindowState w;
    for (std::size_t i = 0; i < scan::kMenuItemCount; ++i) {
        const auto item = static_cast<MenuItem>(i);
        const bool expected = item == MenuItem::InputRinexFile1 || item == MenuItem::QuillonHelp1 ||
                              item == MenuItem::About1 || item == MenuItem::ExitQuillon1;
        SCOPED_TRACE(i);
        EXPECT_EQ(w.menu(item), expected);
    }
    EXPECT_FALSE(w.BBScanEnabled);
    EXPECT_FALSE(w.BBStopEnabled);
    EXPECT_EQ(w.errorHeaderCaptions[static_cast<std::size_t>(text::FileKind::M)],
              "Header (M-file)");
}

TEST(WindowState, DisableViewMenusLeavesTheFileAndHelpItems) {
    scan::WindowState w;
    w.menuEnabled.fill(true);
    scan::DisableViewMenus(w);
    EXPECT_TRUE(w.menu(MenuItem::InputRinexFile1));
    EXPECT_TRUE(w.menu(MenuItem::ScanRinexFile1));
    EXPECT_FALSE(w.menu(MenuItem::ViewSummury1));
    EXPECT_FALSE(w.menu(MenuItem::Meteo1));
    EXPECT_FALSE(w.menu(MenuItem::Quality1));
    EXPECT_TRUE(w.menu(MenuItem::ExitQuillon1));
}

TEST(SatelliteListText, BlankBeforeEachNumberOrNo) {
    std::array<bool, 33> seen{};
    EXPECT_EQ(scan::SatelliteListText(seen, 32), " No");
    seen[5] = seen[12] = seen[30] = true;
    EXPECT_EQ(scan::SatelliteListText(seen, 32), " 5 12 30");
    EXPECT_EQ(scan::SatelliteListText(seen, 24), " 5 12"); // only 1..count are listed
}
