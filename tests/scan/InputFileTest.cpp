#include "scan/InputFile.h"

#include "RecordingObserver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace fs = std::filesystem;
using scantest::readBytes;
using scantest::RecordingObserver;
using scantest::ScratchFolder;
using scantest::writeBytes;

TEST(OpenInputFile, ConvertsOnlyFilesWhoseFirstLineEndsInABareLineFeed) {
    constexpr struct {
        std::string_view bytes;
        bool converted;
        std::string_view copy;
        const char* reason;
    } kCases[] = {
        {"a\r\nb\r\n", false, "", "CR LF pairs"},
        {"a\r\nb\nc\n", false, "", "the first line ends in CR LF, later ones do not count"},
        {"a\nb\r\nc\n", true, "a\r\nb\r\r\nc\r\n", "converted whole: CR LF becomes CR CR LF"},
        {"\nab\r\n", false, "", "a first-byte line feed is judged by the next one"},
        {"\nab\n", true, "\r\nab\r\n", "the next line feed is bare"},
        {"\n", false, "", "a lone first-byte line feed is never tested"},
        {"\n\n", true, "\r\n\r\n", "the second line feed follows a line feed"},
        {"no line feed at all\r", false, "", "no line feed: a normal file"},
        {"x\n", true, "x\r\n", "one bare line"},
        {std::string_view("\0\xff\r\x1a\n", 5), true, std::string_view("\0\xff\r\x1a\r\n", 6),
         "every other byte is copied unchanged"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        ScratchFolder folder("open");
        const std::string name = folder.file("site0010.09o");
        const std::string copyName = folder.file("site0010_0.09o");
        writeBytes(name, std::string(c.bytes));
        RecordingObserver observer;
        std::string inUse;
        ASSERT_TRUE(scan::OpenInputFile(name, inUse, observer));
        EXPECT_TRUE(observer.notices.empty());
        EXPECT_EQ(readBytes(name), c.bytes); // the input is never changed
        if (c.converted) {
            EXPECT_EQ(inUse, copyName);
            EXPECT_EQ(readBytes(copyName), c.copy);
        } else {
            EXPECT_EQ(inUse, name);
            EXPECT_FALSE(fs::exists(copyName));
        }
    }
}

TEST(OpenInputFile, CopyTakesTheFirstFreeNumber) {
    ScratchFolder folder("copyname");
    const std::string name = folder.file("site0010.09o");
    writeBytes(name, "a\n");
    writeBytes(folder.file("site0010_0.09o"), "an earlier copy");
    RecordingObserver observer;
    std::string inUse;
    ASSERT_TRUE(scan::OpenInputFile(name, inUse, observer));
    EXPECT_EQ(inUse, folder.file("site0010_1.09o"));
    EXPECT_EQ(readBytes(inUse), "a\r\n");
    EXPECT_EQ(readBytes(folder.file("site0010_0.09o")), "an earlier copy");
}

TEST(OpenInputFile, RefusesWhenEveryCopyNameIsTaken) {
    ScratchFolder folder("copyfull");
    const std::string name = folder.file("site0010.09o");
    writeBytes(name, "a\n");
    for (int n = 0; n <= 999; ++n)
        writeBytes(scan::ConvertedCopyName(name, n), "kept");
    RecordingObserver observer;
    std::string inUse;
    EXPECT_FALSE(scan::OpenInputFile(name, inUse, observer));
    const std::string last = folder.file("site0010_999.09o");
    EXPECT_EQ(observer.notices, std::vector<std::string>{"Error Opening File " + last + " ! "});
    EXPECT_EQ(readBytes(last), "kept"); // nothing is overwritten
    EXPECT_EQ(observer.events.back(), "notice Error Opening File " + last + " ! ");
    EXPECT_EQ(observer.events.at(observer.events.size() - 2), "status "); // status cleared
}

TEST(OpenInputFile, RefusesMissingAndEmptyFiles) {
    ScratchFolder folder("refuse");
    const std::string empty = folder.file("empty.09o");
    writeBytes(empty, "");
    const struct {
        std::string name;
        std::string message;
    } cases[] = {
        {folder.file("missing.09o"), "Error Opening File " + folder.file("missing.09o") + " ! "},
        {empty, "File " + empty + " is empty ! "},
        {folder.dir(), "Error Opening File " + folder.dir() + " ! "}, // a folder is no file
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingObserver observer;
        std::string inUse;
        EXPECT_FALSE(scan::OpenInputFile(c.name, inUse, observer));
        EXPECT_EQ(observer.events, std::vector<std::string>{"notice " + c.message});
    }
}

TEST(OpenInputFile, ConversionShowsItsProgress) {
    ScratchFolder folder("progress");
    const std::string name = folder.file("big.09o");
    std::string bytes;
    for (int i = 0; i < 250; ++i)
        bytes += std::string(99, 'a') + "\n"; // 25000 bytes of bare-line-feed lines
    writeBytes(name, bytes);
    RecordingObserver observer;
    std::string inUse;
    ASSERT_TRUE(scan::OpenInputFile(name, inUse, observer));
    const std::vector<std::string> expected = {
        "status Converting Unix file...",
        "progress 0.000000",
        "busy on",
        "wait shown",
        "progress 0.400000", // every 10000 bytes of the input
        "progress 0.800000",
        "status ",
        "wait hidden",
        "busy off",
        "progress 0.000000",
    };
    EXPECT_EQ(observer.events, expected);
    EXPECT_EQ(observer.repaints, 3); // at each step and at the end
    EXPECT_EQ(scan::FileSizeOf(inUse), 25250);
}

TEST(OpenInputFile, NormalFileLeavesTheWindowIdle) {
    ScratchFolder folder("idle");
    const std::string name = folder.file("site.09o");
    writeBytes(name, "a\r\n");
    RecordingObserver observer;
    std::string inUse;
    ASSERT_TRUE(scan::OpenInputFile(name, inUse, observer));
    const std::vector<std::string> expected = {"wait hidden", "busy off", "progress 0.000000"};
    EXPECT_EQ(observer.events, expected);
}

TEST(ConvertedCopyName, NumberStandsBeforeTheExtension) {
    const struct {
        std::string name;
        int n;
        std::string copy;
    } cases[] = {
        {"/data/site0010.09o", 0, "/data/site0010_0.09o"},
        {"/data/site0010.09o", 999, "/data/site0010_999.09o"},
        {"/data/site", 3, "/data/site_3"},               // no extension
        {"/data.2009/site", 0, "/data.2009/site_0"},     // a dot in the folder is no extension
        {"/data/site.tar.gz", 1, "/data/site.tar_1.gz"}, // the last dot starts it
        {"site.09o", 2, "site_2.09o"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(scan::ConvertedCopyName(c.name, c.n), c.copy);
    }
}

TEST(FileSizeOf, SizeOrMinusOne) {
    ScratchFolder folder("size");
    writeBytes(folder.file("site.09o"), "abc");
    EXPECT_EQ(scan::FileSizeOf(folder.file("site.09o")), 3);
    EXPECT_EQ(scan::FileSizeOf(folder.file("SITE.09O")), 3); // letter case does not matter
    EXPECT_EQ(scan::FileSizeOf(folder.file("missing.09o")), -1);
    EXPECT_EQ(scan::FileSizeOf(folder.dir()), -1);
}

TEST(FileSizeOf, SizesBeyondTwoGibibytes) {
    ScratchFolder folder("bigsize");
    const std::string name = folder.file("huge.09o");
    writeBytes(name, "");
    std::error_code ec;
    constexpr std::uintmax_t kFiveGiB = 5ull << 30;
    fs::resize_file(name, kFiveGiB, ec); // sparse: no disk space needed
    if (ec)
        GTEST_SKIP() << "this file system cannot hold a sparse 5 GiB file";
    EXPECT_EQ(scan::FileSizeOf(name), static_cast<std::int64_t>(kFiveGiB));
}

TEST(FindFileCaseBlind, MatchesTheFileNameWithoutRegardToCase) {
    ScratchFolder folder("caseblind");
    writeBytes(folder.file("site.09n"), "n");
    writeBytes(folder.file("both.09n"), "lower");
    writeBytes(folder.file("both.09N"), "upper");
    fs::create_directory(folder.path / "dir.09N");
    const struct {
        std::string wanted;
        std::optional<std::string> found;
        const char* reason;
    } cases[] = {
        {folder.file("site.09N"), folder.file("site.09n"), "letter case differs"},
        {folder.file("SITE.09N"), folder.file("site.09n"), "the whole name is compared"},
        {folder.file("both.09n"), folder.file("both.09n"), "an exact match comes first"},
        {folder.file("BOTH.09N"), folder.file("both.09N"), "else the first in byte order"},
        {folder.file("dir.09n"), std::nullopt, "a folder is no file"},
        {folder.file("site.09g"), std::nullopt, "no such file"},
        {folder.file("nofolder/site.09n"), std::nullopt, "no such folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        EXPECT_EQ(scan::FindFileCaseBlind(c.wanted), c.found);
    }
}

TEST(CompanionName, LastLetterReplacedInUpperCase) {
    EXPECT_EQ(scan::CompanionName("/d/site0010.09o", text::FileKind::N), "/d/site0010.09N");
    EXPECT_EQ(scan::CompanionName("/d/site0010.09O", text::FileKind::M), "/d/site0010.09M");
    EXPECT_EQ(scan::CompanionName("/d/site0010.09o", text::FileKind::L), "/d/site0010.09L");
    EXPECT_EQ(scan::CompanionName("", text::FileKind::G), "");
}

TEST(FindCompanionFile, FindsALowerCaseCompanion) {
    ScratchFolder folder("companion");
    const std::string obs = folder.file("site0010.09O");
    writeBytes(obs, "o\r\n");
    writeBytes(folder.file("site0010.09n"), "n\r\n");
    scan::RunState state;
    scan::ChooseObservationFile(state, obs);
    RecordingObserver observer;

    EXPECT_TRUE(scan::FindCompanionFile(state, text::FileKind::N, observer));
    EXPECT_TRUE(state.companionFound(text::FileKind::N));
    EXPECT_EQ(state.companionName(text::FileKind::N), folder.file("site0010.09n"));

    EXPECT_TRUE(scan::FindCompanionFile(state, text::FileKind::G, observer)); // none: fine
    EXPECT_FALSE(state.companionFound(text::FileKind::G));
    EXPECT_TRUE(observer.notices.empty());
}

TEST(FindCompanionFile, CompanionThatCannotBeOpenedIsSkipped) {
    ScratchFolder folder("companionempty");
    const std::string obs = folder.file("site0010.09o");
    writeBytes(obs, "o\r\n");
    writeBytes(folder.file("site0010.09m"), "");
    scan::RunState state;
    scan::ChooseObservationFile(state, obs);
    state.companionFound(text::FileKind::M) = true; // left from an earlier scan
    RecordingObserver observer;
    EXPECT_FALSE(scan::FindCompanionFile(state, text::FileKind::M, observer));
    EXPECT_FALSE(state.companionFound(text::FileKind::M));
    EXPECT_EQ(observer.notices,
              std::vector<std::string>{"File " + folder.file("site0010.09m") + " is empty ! "});
}

TEST(FindCompanionFile, CompanionsOfAConvertedFileAreNamedAfterTheChosenOne) {
    ScratchFolder folder("converted");
    const std::string obs = folder.file("site0010.09o");
    writeBytes(obs, "o\n");
    writeBytes(folder.file("site0010.09N"), "n\n");
    scan::RunState state;
    scan::ChooseObservationFile(state, obs);
    RecordingObserver observer;
    ASSERT_TRUE(scan::OpenObservationFile(state, observer));
    EXPECT_EQ(state.observationFileName, folder.file("site0010_0.09o"));
    EXPECT_EQ(state.chosenFileName, obs);

    ASSERT_TRUE(scan::FindCompanionFile(state, text::FileKind::N, observer));
    EXPECT_TRUE(state.companionFound(text::FileKind::N));
    EXPECT_EQ(state.companionName(text::FileKind::N), folder.file("site0010_0.09N"));
    EXPECT_EQ(readBytes(folder.file("site0010_0.09N")), "n\r\n");

    // A second scan reads the copy, which needs no conversion.
    ASSERT_TRUE(scan::OpenObservationFile(state, observer));
    EXPECT_EQ(state.observationFileName, folder.file("site0010_0.09o"));
    EXPECT_FALSE(fs::exists(folder.file("site0010_0_0.09o")));
}

TEST(OpenObservationFile, MissingFileEndsTheStep) {
    ScratchFolder folder("obsmissing");
    scan::RunState state;
    scan::ChooseObservationFile(state, folder.file("gone.09o"));
    RecordingObserver observer;
    EXPECT_FALSE(scan::OpenObservationFile(state, observer));
    EXPECT_EQ(observer.notices,
              std::vector<std::string>{"Error Opening File " + folder.file("gone.09o") + " ! "});
    EXPECT_EQ(state.observationFileName, folder.file("gone.09o"));
}

TEST(CompanionNames, SameStemPlainThenCompressed) {
    const struct {
        const char* chosen;
        std::vector<std::string> names;
    } kCases[] = {
        {"/d/site0010.21o", {"/d/site0010.21N", "/d/site0010.21N.Z", "/d/site0010.21N.gz"}},
        {"/d/site0010.21d", {"/d/site0010.21N", "/d/site0010.21N.Z", "/d/site0010.21N.gz"}},
        {"/d/site0010.21d.Z", {"/d/site0010.21N", "/d/site0010.21N.Z", "/d/site0010.21N.gz"}},
        {"/d/site0010.21o.gz", {"/d/site0010.21N", "/d/site0010.21N.Z", "/d/site0010.21N.gz"}},
        {"", {}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.chosen);
        EXPECT_EQ(scan::CompanionNames(c.chosen, text::FileKind::N), c.names);
    }
    EXPECT_EQ(scan::ExpandedName("/t/", "/d/site0010.21d.Z", text::FileKind::O),
              "/t/ExpandedO_site0010.21d");
}
