#include "text/LineReader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

class LineReaderTest : public testing::Test {
protected:
    void SetUp() override {
        path = std::filesystem::temp_directory_path() /
               ("quillon-lr-" + std::to_string(::getpid()) + ".txt");
    }
    void TearDown() override { std::filesystem::remove(path); }

    void write(const std::string& content) { std::ofstream(path, std::ios::binary) << content; }
    std::vector<std::string> checkedLines() {
        text::LineReader reader;
        EXPECT_TRUE(reader.open(path));
        std::vector<std::string> out;
        for (int guard = 0; guard < 100; ++guard) {
            const auto line = reader.readLine();
            out.emplace_back(line.checked);
            if (line.isEnd())
                break;
        }
        return out;
    }
    std::filesystem::path path;
};

using Lines = std::vector<std::string>;

} // namespace

TEST_F(LineReaderTest, LineEndsAndTheEndOfTheFile) {
    constexpr struct {
        const char* content;
        const char* why;
    } kCases[] = {
        {"a\r\nb\r\n", "CR LF"},
        {"a\nb\n", "bare LF"},
        {"a\nb", "no line end after the last line"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.why);
        write(c.content);
        EXPECT_EQ(checkedLines(), (Lines{"a", "b", "End"}));
    }
    write("a\n\n");
    EXPECT_EQ(checkedLines(), (Lines{"a", "End"})); // an empty last line reads as the end
    write("a\n\nb\n");
    EXPECT_EQ(checkedLines(), (Lines{"a", "", "b", "End"}));
    write("");
    EXPECT_EQ(checkedLines(), (Lines{"End"}));
}

TEST_F(LineReaderTest, LongLinesReadAsStarWithTheirRawText) {
    const std::string longLine(81, 'x');
    write(std::string(80, 'y') + "\n" + longLine + "\nz\n");
    text::LineReader reader;
    ASSERT_TRUE(reader.open(path));
    EXPECT_EQ(reader.readLine().checked.size(), 80u);
    const auto line = reader.readLine();
    EXPECT_TRUE(line.isLong());
    EXPECT_EQ(line.raw, longLine);
    EXPECT_EQ(reader.readLine().checked, "z");
    ASSERT_TRUE(reader.rewind());
    EXPECT_EQ(reader.readLine().checked, std::string(80, 'y'));
}

TEST_F(LineReaderTest, LineBeyondTheCapIsCutAndItsRestSkipped) {
    std::string huge(text::LineReader::kLineCap + 12345, 'q');
    write(huge + "\nnext\n");
    text::LineReader reader;
    ASSERT_TRUE(reader.open(path));
    const auto line = reader.readLine();
    EXPECT_TRUE(line.isLong());
    EXPECT_EQ(line.raw.size(), text::LineReader::kLineCap);
    EXPECT_FALSE(reader.atEnd());
    EXPECT_EQ(reader.readLine().checked, "next");
    EXPECT_TRUE(reader.readLine().isEnd());
}

TEST_F(LineReaderTest, CountLinesCountsALastLineWithoutLineFeed) {
    write("a\nb\nc");
    EXPECT_EQ(text::CountLines(path), 3u);
    write("a\nb\n");
    EXPECT_EQ(text::CountLines(path), 2u);
    write("");
    EXPECT_EQ(text::CountLines(path), 0u);
}

TEST_F(LineReaderTest, LinesReadingEndOrStarAreOrdinaryLines) {
    write("End\n*\n");
    text::LineReader reader;
    ASSERT_TRUE(reader.open(path));
    const auto end = reader.readLine();
    EXPECT_FALSE(end.isEnd());
    EXPECT_EQ(end.checked, "End");
    const auto star = reader.readLine();
    EXPECT_FALSE(star.isLong());
    EXPECT_TRUE(reader.readLine().isEnd());
}

// A fifo would wait for a writer and a device never ends: only regular files are read.
TEST_F(LineReaderTest, OpensOnlyRegularFiles) {
    const std::filesystem::path dir = path.string() + ".d";
    const std::filesystem::path fifo = path.string() + ".fifo";
    std::filesystem::create_directory(dir);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        const char* why;
        std::filesystem::path target;
    } kCases[] = {
        {"a folder", dir},
        {"a fifo without a writer", fifo},
        {"a device", "/dev/zero"},
        {"nothing", path.string() + ".missing"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.why);
        text::LineReader reader;
        EXPECT_FALSE(reader.open(c.target));
        EXPECT_FALSE(reader.isOpen());
    }
    std::filesystem::remove(fifo);
    std::filesystem::remove(dir);
    write("line\n");
    text::LineReader reader;
    EXPECT_TRUE(reader.open(path));
}
