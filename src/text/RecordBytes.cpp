#include "text/RecordBytes.h"

#include <bit>
#include <cmath>

namespace text {

namespace {
constexpr int kBias = 16383;
constexpr std::uint16_t kMaxExponent = 0x7FFF;
} // namespace

std::array<std::byte, 10> encodeExt80(long double value) noexcept {
    std::uint64_t mantissa = 0;
    std::uint16_t exponent = 0;
    const bool negative = std::signbit(value);
    if (std::isnan(value)) {
        exponent = kMaxExponent;
        mantissa = 0xC000000000000000ULL; // quiet NaN
    } else if (std::isinf(value)) {
        exponent = kMaxExponent;
        mantissa = 0x8000000000000000ULL;
    } else if (value != 0) {
        int e = 0;
        const long double m = std::frexp(std::fabs(value), &e); // m in [0.5, 1)
        int biased = e - 1 + kBias;
        int shift = 64;
        if (biased <= 0) { // denormal: the integer bit is clear
            shift -= 1 - biased;
            biased = 0;
        }
        mantissa = static_cast<std::uint64_t>(std::ldexp(m, shift));
        exponent = static_cast<std::uint16_t>(biased);
    }
    const std::uint16_t top = static_cast<std::uint16_t>(exponent | (negative ? 0x8000 : 0));
    std::array<std::byte, 10> out{};
    for (std::size_t i = 0; i < 8; ++i)
        out[i] = static_cast<std::byte>((mantissa >> (8 * i)) & 0xFF);
    out[8] = static_cast<std::byte>(top & 0xFF);
    out[9] = static_cast<std::byte>(top >> 8);
    return out;
}

long double decodeExt80(std::span<const std::byte, 10> bytes) noexcept {
    std::uint64_t mantissa = 0;
    for (std::size_t i = 0; i < 8; ++i)
        mantissa |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    const std::uint16_t top = static_cast<std::uint16_t>(static_cast<unsigned>(bytes[8]) |
                                                         (static_cast<unsigned>(bytes[9]) << 8));
    const bool negative = (top & 0x8000) != 0;
    const int exponent = top & 0x7FFF;
    long double value = 0;
    if (exponent == kMaxExponent) {
        value = (mantissa << 1) == 0 ? HUGE_VALL : std::nanl("");
    } else {
        const int e = (exponent == 0 ? 1 : exponent) - kBias - 63;
        value = std::ldexp(static_cast<long double>(mantissa), e);
    }
    return negative ? -value : value;
}

double decodeExt80ToDouble(std::span<const std::byte, 10> b) noexcept {
    std::uint64_t m = 0;
    for (std::size_t i = 0; i < 8; ++i)
        m |= static_cast<std::uint64_t>(b[i]) << (8 * i);
    const auto top = static_cast<std::uint32_t>(static_cast<unsigned>(b[8]) |
                                                (static_cast<unsigned>(b[9]) << 8));
    const int exponent = static_cast<int>(top & 0x7FFFu) - kBias + 1023;
    // Zeros, denormals, unnormals, infinities, NaNs and doubles' out-of-range go the long way.
    if ((m >> 63) == 0 || exponent <= 0 || exponent >= 2047)
        return static_cast<double>(decodeExt80(b));
    std::uint64_t fraction = (m << 1) >> 12; // the 52 bits after the integer bit
    const std::uint64_t rest = m & 0x7FFu;   // the 11 bits a double has no room for
    if (rest > 0x400u || (rest == 0x400u && (fraction & 1u) != 0))
        ++fraction; // a carry out of the fraction moves into the exponent, as it should
    std::uint64_t bits = (static_cast<std::uint64_t>(exponent) << 52) + fraction;
    if ((top & 0x8000u) != 0)
        bits |= std::uint64_t{1} << 63;
    return std::bit_cast<double>(bits);
}

} // namespace text
