#include "header/HeaderData.h"

namespace header {

void THeaderData::Clear() {
    const text::TEpochTime keptFirst = firstEpoch;
    const text::TEpochTime keptLast = lastEpoch;
    *this = THeaderData{};
    firstEpoch = keptFirst;
    lastEpoch = keptLast;
}

namespace {
constexpr std::array<std::string_view, 6> kMeteoTypeNames = {"PR", "TD", "HR", "ZW", "ZD", "ZT"};
} // namespace

std::optional<std::uint8_t> MeteoTypeCode(std::string_view text) noexcept {
    if (text == "TR")
        return std::uint8_t{1};
    for (std::size_t i = 0; i < kMeteoTypeNames.size(); ++i)
        if (text == kMeteoTypeNames[i])
            return static_cast<std::uint8_t>(i);
    return std::nullopt;
}

std::string_view MeteoTypeName(std::uint8_t code) noexcept {
    return code < kMeteoTypeNames.size() ? kMeteoTypeNames[code] : std::string_view("None");
}

std::optional<std::uint8_t> ObsTypeCode(std::string_view text) noexcept {
    for (std::size_t i = 0; i < kObsTypeNames.size(); ++i)
        if (text == kObsTypeNames[i])
            return static_cast<std::uint8_t>(i);
    return std::nullopt;
}

} // namespace header
