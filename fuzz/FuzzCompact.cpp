// The compact RINEX decoder on any text: it never crashes, stops at the first line it
// cannot decode and from then on refuses every line. The first eight bytes, as a value of
// thousandths, also go through the F14.3 writer, whose text must read back as that value.
#include "FuzzSupport.h"
#include "expand/CompactRinex.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

// A valid start, so that most inputs reach the epochs.
const char* const kHeader[] = {
    "1.0                 COMPACT RINEX FORMAT                    CRINEX VERS   / TYPE",
    "fuzz                                    01-Jan-21 00:00     CRINEX PROG / DATE",
    "     3    L1    C1    S1                                    # / TYPES OF OBSERV",
    "                                                            END OF HEADER",
};

void checkThousandths(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(std::int64_t))
        return;
    std::int64_t value = 0;
    std::memcpy(&value, data, sizeof value);
    std::string text;
    expand::AppendThousandths(text, value);
    fuzz::check(text.size() >= 14);
    const std::size_t first = text.find_first_not_of(' ');
    fuzz::check(first != std::string::npos && text.size() - first >= 5);
    std::string digits = text.substr(first);
    fuzz::check(digits[digits.size() - 4] == '.');
    digits.erase(digits.size() - 4, 1);
    std::int64_t back = 0;
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), back);
    fuzz::check(ec == std::errc() && ptr == digits.data() + digits.size() && back == value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkThousandths(data, size);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    expand::CompactDecoder decoder;
    std::string out;
    for (const char* line : kHeader)
        fuzz::check(decoder.decode(line, out));
    bool failed = false;
    std::size_t start = 0;
    while (start <= bytes.size()) {
        const std::size_t nl = bytes.find('\n', start);
        const std::size_t end = nl == std::string_view::npos ? bytes.size() : nl;
        const std::size_t before = out.size();
        const bool ok = decoder.decode(bytes.substr(start, end - start), out);
        fuzz::check(!(failed && ok));
        fuzz::check(ok || !decoder.problem().empty());
        if (!ok)
            fuzz::check(out.size() == before); // a failing line adds nothing
        failed = failed || !ok;
        if (out.size() > (1u << 20))
            out.clear();
        if (nl == std::string_view::npos)
            break;
        start = nl + 1;
    }
    return 0;
}
