#include "text/RecordFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

class RecordFileTest : public testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("quillon-rf-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    static std::array<std::byte, 16> record(std::uint32_t n) {
        std::array<std::byte, 16> r{};
        std::memcpy(r.data(), &n, sizeof n);
        return r;
    }
    static std::uint32_t number(std::span<const std::byte> r) {
        std::uint32_t n = 0;
        std::memcpy(&n, r.data(), sizeof n);
        return n;
    }
    std::filesystem::path dir;
};

} // namespace

TEST_F(RecordFileTest, AppendsManyRecordsAndReadsThemBack) {
    text::RecordFile file;
    ASSERT_TRUE(file.create(dir / "ObsRecs.dat", 16));
    constexpr std::uint32_t kCount = 200000; // several write and read buffers
    for (std::uint32_t i = 0; i < kCount; ++i)
        ASSERT_TRUE(file.append(record(i)));
    EXPECT_FALSE(file.append(std::array<std::byte, 8>{})); // wrong size
    ASSERT_TRUE(file.flush());
    EXPECT_EQ(std::filesystem::file_size(dir / "ObsRecs.dat"), kCount * 16u);

    text::RecordFileReader reader;
    ASSERT_TRUE(reader.open(dir / "ObsRecs.dat", 16));
    EXPECT_EQ(reader.recordCount(), kCount);
    std::uint32_t expected = 0;
    while (!reader.atEnd()) {
        const auto r = reader.next();
        ASSERT_EQ(r.size(), 16u);
        ASSERT_EQ(number(r), expected++);
    }
    EXPECT_EQ(expected, kCount);
    EXPECT_TRUE(reader.next().empty());

    ASSERT_TRUE(reader.seek(150000));
    EXPECT_EQ(number(reader.next()), 150000u);
    ASSERT_TRUE(reader.skip(10));
    EXPECT_EQ(number(reader.next()), 150011u);
    EXPECT_FALSE(reader.seek(kCount + 1));
}

TEST_F(RecordFileTest, ResetEmptiesTheFileAndKeepsItOpen) {
    text::RecordFile file;
    ASSERT_TRUE(file.create(dir / "EventRecs.dat", 16));
    ASSERT_TRUE(file.append(record(1)));
    ASSERT_TRUE(file.flush());
    ASSERT_TRUE(file.reset());
    EXPECT_EQ(file.recordCount(), 0u);
    EXPECT_EQ(std::filesystem::file_size(dir / "EventRecs.dat"), 0u);
    ASSERT_TRUE(file.append(record(2)));
    file.close();
    text::RecordFileReader reader;
    ASSERT_TRUE(reader.open(dir / "EventRecs.dat", 16));
    EXPECT_EQ(number(reader.next()), 2u);
}

TEST_F(RecordFileTest, FailuresAreResults) {
    text::RecordFile file;
    EXPECT_FALSE(file.create(dir / "missing" / "RinexEpochs.dat", 640));
    EXPECT_FALSE(file.append(std::array<std::byte, 640>{}));
    text::RecordFileReader reader;
    EXPECT_FALSE(reader.open(dir / "nothing.dat", 16));
    EXPECT_TRUE(reader.next().empty());
}

TEST_F(RecordFileTest, AppendsWholeRecordsAtOnce) {
    text::RecordFile file;
    ASSERT_TRUE(file.create(dir / "ObsRecs.dat", 16));
    std::vector<std::byte> block;
    for (std::uint32_t i = 0; i < 3; ++i) {
        const auto r = record(i);
        block.insert(block.end(), r.begin(), r.end());
    }
    ASSERT_TRUE(file.appendRecords(block));
    EXPECT_TRUE(file.appendRecords({}));
    EXPECT_FALSE(file.appendRecords(std::span(block).first(24))); // not whole records
    ASSERT_TRUE(file.append(record(3)));
    EXPECT_EQ(file.recordCount(), 4u);
    ASSERT_TRUE(file.flush());

    text::RecordFileReader reader;
    ASSERT_TRUE(reader.open(dir / "ObsRecs.dat", 16));
    for (std::uint32_t i = 0; i < 4; ++i) {
        const auto r = reader.next();
        const auto want = record(i);
        ASSERT_TRUE(std::equal(r.begin(), r.end(), want.begin(), want.end()));
    }
}
