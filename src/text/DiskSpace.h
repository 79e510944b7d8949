#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>

namespace text {

/// Free bytes on the drive that holds a path; tests hand in their own.
using FreeSpaceFunction = std::function<std::uint64_t(const std::filesystem::path&)>;

/// The free space as the file system reports it; a drive that cannot be asked counts as roomy.
std::uint64_t SystemFreeSpace(const std::filesystem::path& where);

inline constexpr std::uint64_t kLowDiskSpace = 10u * 1024u * 1024u; // 10 MiB

/// Tells before a record write whether the drive of the record files has less than 10 MiB
/// free. The drive is asked again after every MiB written, so the check stays cheap per record.
class FreeSpaceGuard {
public:
    explicit FreeSpaceGuard(std::filesystem::path where,
                            FreeSpaceFunction freeSpace = SystemFreeSpace);
    /// True when the free space is below 10 MiB, judged before `bytes` more are written.
    bool low(std::uint64_t bytes);

private:
    std::filesystem::path m_where;
    FreeSpaceFunction m_freeSpace;
    std::uint64_t m_sinceMeasure = 0;
    bool m_measured = false;
    bool m_low = false;
};

} // namespace text
