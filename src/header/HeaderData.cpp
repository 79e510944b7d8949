#include "header/HeaderData.h"

namespace header {

void THeaderData::Clear() {
    const text::TEpochTime keptFirst = firstEpoch;
    const text::TEpochTime keptLast = lastEpoch;
    *this = THeaderData{};
    firstEpoch = keptFirst;
    lastEpoch = keptLast;
}

std::optional<std::uint8_t> MeteoTypeCode(std::string_view text) noexcept {
    if (text == "TR")
        return std::uint8_t{1};
    for (const MeteoTypeFacts& t : kMeteoTypes)
        if (text == t.name)
            return t.code;
    return std::nullopt;
}

std::string_view MeteoTypeName(std::uint8_t code) noexcept {
    for (const MeteoTypeFacts& t : kMeteoTypes)
        if (code == t.code)
            return t.name;
    return "None";
}

std::optional<std::uint8_t> ObsTypeCode(std::string_view text) noexcept {
    for (std::size_t i = 0; i < kObsTypes.size(); ++i)
        if (text == kObsTypes[i].name)
            return static_cast<std::uint8_t>(i);
    return std::nullopt;
}

} // namespace header
