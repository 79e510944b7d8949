#pragma once

#include "text/GPSTime.h"

#include <array>
#include <bit>
#include <cassert>
#include <cfloat>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace text {

static_assert(LDBL_MANT_DIG == 64, "extended fields need the x87 80-bit long double");

/// The 10-byte x87 extended real, little-endian: 64-bit mantissa with explicit integer bit,
/// then 15-bit biased exponent and sign. Built from the value, not from its memory.
std::array<std::byte, 10> encodeExt80(long double value) noexcept;
long double decodeExt80(std::span<const std::byte, 10> bytes) noexcept;
/// The same value rounded to the nearest double (ties to even), as a cast of decodeExt80 gives
/// it; normal numbers go straight from their bits, which is several times faster.
double decodeExt80ToDouble(std::span<const std::byte, 10> bytes) noexcept;

/// Fills a fixed-size record field by field at explicit offsets; unwritten bytes stay zero.
template <std::size_t N> class RecordWriter {
public:
    void u8(std::size_t at, std::uint8_t v) noexcept { put(at, v, 1); }
    void i8(std::size_t at, std::int8_t v) noexcept { put(at, static_cast<std::uint8_t>(v), 1); }
    void u16(std::size_t at, std::uint16_t v) noexcept { put(at, v, 2); }
    void u32(std::size_t at, std::uint32_t v) noexcept { put(at, v, 4); }
    void i32(std::size_t at, std::int32_t v) noexcept { put(at, static_cast<std::uint32_t>(v), 4); }
    void f32(std::size_t at, float v) noexcept { put(at, std::bit_cast<std::uint32_t>(v), 4); }
    void f64(std::size_t at, double v) noexcept { put(at, std::bit_cast<std::uint64_t>(v), 8); }
    void boolean(std::size_t at, bool v) noexcept { u8(at, v ? 1 : 0); }
    void ext80(std::size_t at, long double v) noexcept {
        assert(at + 10 <= N && "field beyond the record");
        const auto b = encodeExt80(v);
        for (std::size_t i = 0; i < 10; ++i)
            m_bytes[at + i] = b[i];
    }
    /// A short string of capacity n: a length byte, then n character bytes (zero after the text).
    void shortString(std::size_t at, std::size_t capacity, std::string_view s) noexcept {
        assert(at + capacity + 1 <= N && "field beyond the record");
        const std::size_t len = s.size() < capacity ? s.size() : capacity;
        m_bytes[at] = static_cast<std::byte>(len);
        for (std::size_t i = 0; i < len; ++i)
            m_bytes[at + 1 + i] = static_cast<std::byte>(s[i]);
    }
    /// The 40-byte epoch time block.
    void epochTime(std::size_t at, const TEpochTime& t) noexcept {
        i32(at + 0, t.year);
        i32(at + 4, t.month);
        i32(at + 8, t.day);
        i32(at + 12, t.hour);
        i32(at + 16, t.minute);
        ext80(at + 24, t.seconds); // 20-23 and 34-39 padding
    }
    const std::array<std::byte, N>& bytes() const noexcept { return m_bytes; }
    std::array<std::byte, N>& bytes() noexcept { return m_bytes; }

private:
    void put(std::size_t at, std::uint64_t v, std::size_t size) noexcept {
        assert(at + size <= N && "field beyond the record");
        for (std::size_t i = 0; i < size; ++i)
            m_bytes[at + i] = static_cast<std::byte>((v >> (8 * i)) & 0xFF);
    }
    std::array<std::byte, N> m_bytes{};
};

/// Reads the fields of one record at explicit offsets. A field beyond the record reads as zero.
class RecordReader {
public:
    explicit RecordReader(std::span<const std::byte> bytes) noexcept : m_bytes(bytes) {}

    std::uint8_t u8(std::size_t at) const noexcept { return static_cast<std::uint8_t>(get(at, 1)); }
    std::int8_t i8(std::size_t at) const noexcept {
        return static_cast<std::int8_t>(static_cast<std::uint8_t>(get(at, 1)));
    }
    std::uint16_t u16(std::size_t at) const noexcept {
        return static_cast<std::uint16_t>(get(at, 2));
    }
    std::uint32_t u32(std::size_t at) const noexcept {
        return static_cast<std::uint32_t>(get(at, 4));
    }
    std::int32_t i32(std::size_t at) const noexcept {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(get(at, 4)));
    }
    float f32(std::size_t at) const noexcept {
        return std::bit_cast<float>(static_cast<std::uint32_t>(get(at, 4)));
    }
    double f64(std::size_t at) const noexcept { return std::bit_cast<double>(get(at, 8)); }
    bool boolean(std::size_t at) const noexcept { return u8(at) != 0; }
    long double ext80(std::size_t at) const noexcept {
        if (at + 10 > m_bytes.size())
            return 0;
        return decodeExt80(m_bytes.subspan(at).first<10>());
    }
    /// The text of a short string; a length byte above the capacity is clamped to it.
    std::string shortString(std::size_t at, std::size_t capacity) const {
        if (at >= m_bytes.size())
            return {};
        std::size_t len = u8(at);
        if (len > capacity)
            len = capacity;
        std::string s;
        s.reserve(len);
        for (std::size_t i = 0; i < len && at + 1 + i < m_bytes.size(); ++i)
            s.push_back(static_cast<char>(m_bytes[at + 1 + i]));
        return s;
    }
    TEpochTime epochTime(std::size_t at) const noexcept {
        TEpochTime t;
        t.year = i32(at + 0);
        t.month = i32(at + 4);
        t.day = i32(at + 8);
        t.hour = i32(at + 12);
        t.minute = i32(at + 16);
        t.seconds = ext80(at + 24);
        return t;
    }

private:
    std::uint64_t get(std::size_t at, std::size_t size) const noexcept {
        if (at + size > m_bytes.size())
            return 0;
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < size; ++i)
            v |= static_cast<std::uint64_t>(m_bytes[at + i]) << (8 * i);
        return v;
    }
    std::span<const std::byte> m_bytes;
};

} // namespace text
