#include "text/DiskSpace.h"

#include <limits>
#include <utility>

namespace text {

namespace {
constexpr std::uint64_t kMeasureEvery = 1u << 20;
} // namespace

std::uint64_t SystemFreeSpace(const std::filesystem::path& where) {
    std::error_code ec;
    const auto info = std::filesystem::space(where, ec);
    if (ec)
        return std::numeric_limits<std::uint64_t>::max();
    return info.available;
}

FreeSpaceGuard::FreeSpaceGuard(std::filesystem::path where, FreeSpaceFunction freeSpace)
    : m_where(std::move(where)), m_freeSpace(std::move(freeSpace)) {}

bool FreeSpaceGuard::low(std::uint64_t bytes) {
    if (!m_measured || m_sinceMeasure >= kMeasureEvery) {
        m_low = m_freeSpace && m_freeSpace(m_where) < kLowDiskSpace;
        m_measured = true;
        m_sinceMeasure = 0;
    }
    m_sinceMeasure += bytes;
    return m_low;
}

} // namespace text
