#include "text/DiskSpace.h"

#include <gtest/gtest.h>

TEST(FreeSpaceGuard, AsksAgainAfterEveryMebibyte) {
    int asked = 0;
    std::uint64_t free = 11u << 20;
    text::FreeSpaceGuard guard("/tmp", [&](const std::filesystem::path&) {
        ++asked;
        return free;
    });
    EXPECT_FALSE(guard.low(640));
    free = 9u << 20;                   // the disk fills up meanwhile
    EXPECT_FALSE(guard.low(1u << 20)); // not measured again yet
    EXPECT_TRUE(guard.low(640));       // a MiB was written since: below 10 MiB now
    EXPECT_EQ(asked, 2);
}

TEST(FreeSpaceGuard, LowDiskOnTheFirstRecord) {
    text::FreeSpaceGuard guard(
        "/tmp", [](const std::filesystem::path&) { return text::kLowDiskSpace - 1; });
    EXPECT_TRUE(guard.low(16));
}
