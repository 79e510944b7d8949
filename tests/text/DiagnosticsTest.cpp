#include "text/Diagnostics.h"

#include <gtest/gtest.h>

using text::FileKind;

TEST(DiagnosticList, AddsMessageLineThenRawLine) {
    text::DiagnosticList list;
    const std::string raw = "    30.000                                                  INTERVAL";
    list.add(7, "Not valid data for Interval", raw);
    list.add(7, "Second problem", raw);
    ASSERT_EQ(list.lineCount(), 4u);
    EXPECT_EQ(list.lines()[0], "string 7 : Not valid data for Interval");
    EXPECT_EQ(list.lines()[1], raw);
    EXPECT_EQ(list.lines()[2], "string 7 : Second problem");
    EXPECT_EQ(list.lines()[3], raw);
}

TEST(DiagnosticList, KeepsTheStartOfAHugeRawLine) {
    text::DiagnosticList list;
    const std::string raw = std::string(text::kMaxRawKept, 'a') + std::string(1 << 20, 'b');
    list.add(1, "Too long Header string", raw);
    list.addPlain("Time of Last Epoch", raw);
    EXPECT_EQ(list.lines()[1], std::string(text::kMaxRawKept, 'a'));
    EXPECT_EQ(list.lines()[3], std::string(text::kMaxRawKept, 'a'));
}

TEST(DiagnosticsLists, TwelveListsAndAnyLines) {
    text::DiagnosticsLists lists;
    EXPECT_FALSE(lists.anyLines());
    lists.AddDataDiagnostic(FileKind::M, "Time of Last Epoch", " 09  1  5");
    EXPECT_TRUE(lists.anyLines());
    EXPECT_TRUE(lists.header(FileKind::M).empty());
    EXPECT_EQ(lists.data(FileKind::M).lines()[0], "Time of Last Epoch"); // no number prefix
    EXPECT_TRUE(lists.data(FileKind::O).empty());
    lists.clearAll();
    EXPECT_FALSE(lists.anyLines());
}
