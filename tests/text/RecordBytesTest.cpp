#include "text/RecordBytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

std::string hex(std::span<const std::byte> bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string s;
    for (std::byte b : bytes) {
        const auto v = static_cast<unsigned>(b);
        s += digits[v >> 4];
        s += digits[v & 15];
    }
    return s;
}

} // namespace

TEST(Ext80, KnownBytePatterns) {
    constexpr struct {
        long double value;
        const char* bytes;
    } kCases[] = {
        {0.0L, "00000000000000000000"},
        {1.0L, "0000000000000080FF3F"},
        {-2.0L, "000000000000008000C0"},
        {0.5L, "0000000000000080FE3F"},
        {30.0L, "00000000000000F00340"},
        {0.1L, "CDCCCCCCCCCCCCCCFB3F"},
        {std::numeric_limits<long double>::infinity(), "0000000000000080FF7F"},
        {std::numeric_limits<long double>::denorm_min(), "01000000000000000000"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.bytes);
        const auto b = text::encodeExt80(c.value);
        EXPECT_EQ(hex(b), c.bytes);
        EXPECT_EQ(text::decodeExt80(b), c.value);
    }
}

TEST(Ext80, MatchesTheMachinesOwnExtendedFormat) {
    // On x86 the first ten bytes of a long double are the x87 format itself.
    const long double values[] = {21234567.123L,
                                  -0.0000012345L,
                                  6.02214076e23L,
                                  std::numeric_limits<long double>::max(),
                                  std::numeric_limits<long double>::min() / 8,
                                  -0.0L};
    for (long double v : values) {
        SCOPED_TRACE(static_cast<double>(v));
        std::array<std::byte, sizeof(long double)> mem{};
        std::memcpy(mem.data(), &v, sizeof v);
        const auto b = text::encodeExt80(v);
        EXPECT_EQ(hex(b), hex(std::span(mem).first(10)));
        const long double back = text::decodeExt80(b);
        EXPECT_EQ(back, v);
        EXPECT_EQ(std::signbit(back), std::signbit(v));
    }
    EXPECT_TRUE(std::isnan(text::decodeExt80(text::encodeExt80(std::nanl("")))));
}

TEST(Ext80, RoundsToTheNearestDoubleAsACastDoes) {
    const long double one = 1.0L;
    const long double ulp = std::ldexp(one, -52); // a double's step at 1
    const long double cases[] = {
        0.0L,
        -0.0L,
        1.0L,
        21234567.123L,
        -114256789.987L,
        0.1L,
        1 + ulp / 2,                                 // a tie: to the even fraction (down)
        1 + ulp + ulp / 2,                           // a tie: to the even fraction (up)
        1 + ulp / 2 + std::ldexp(one, -63),          // just above a tie
        2 - ulp / 4,                                 // rounds up across the power of two
        std::ldexp(one, 1023) * 1.9999999999999999L, // rounds up out of the double range
        std::numeric_limits<long double>::min(),     // below the double range
        std::numeric_limits<long double>::denorm_min(),
        std::numeric_limits<long double>::infinity(),
        -std::numeric_limits<long double>::infinity(),
    };
    for (long double v : cases) {
        SCOPED_TRACE(static_cast<double>(v));
        const auto b = text::encodeExt80(v);
        const double want = static_cast<double>(text::decodeExt80(b));
        const double got = text::decodeExt80ToDouble(b);
        EXPECT_EQ(std::memcmp(&got, &want, sizeof got), 0) << got << " " << want;
    }
    EXPECT_TRUE(std::isnan(text::decodeExt80ToDouble(text::encodeExt80(std::nanl("")))));
}

TEST(RecordWriter, FieldsAtTheirOffsetsLittleEndian) {
    text::RecordWriter<48> w;
    w.epochTime(0, {2009, 1, 5, 23, 59, 30.5L});
    w.i32(40, -1);
    w.u16(44, 0x1234);
    w.u8(46, 7);
    EXPECT_EQ(hex(w.bytes()), "D9070000"
                              "01000000"
                              "05000000"
                              "17000000"
                              "3B000000"
                              "00000000"
                              "00000000000000F40340"
                              "000000000000"
                              "FFFFFFFF"
                              "3412"
                              "07"
                              "00");
    text::RecordReader r(w.bytes());
    EXPECT_EQ(r.epochTime(0), (text::TEpochTime{2009, 1, 5, 23, 59, 30.5L}));
    EXPECT_EQ(r.i32(40), -1);
    EXPECT_EQ(r.u16(44), 0x1234);
    EXPECT_EQ(r.u8(46), 7);
    EXPECT_EQ(r.i32(46), 0); // a field that runs past the record reads as zero
}

TEST(RecordWriter, ShortStringsHoldLengthThenCharacters) {
    text::RecordWriter<16> w;
    w.shortString(0, 4, "AB");
    w.shortString(5, 4, "TOOLONG"); // cut to the capacity
    w.f32(10, 1.5f);
    EXPECT_EQ(hex(w.bytes()), "0241420000"
                              "04544F4F4C"
                              "0000C03F"
                              "0000");
    text::RecordReader r(w.bytes());
    EXPECT_EQ(r.shortString(0, 4), "AB");
    EXPECT_EQ(r.shortString(5, 4), "TOOL");
    EXPECT_EQ(r.f32(10), 1.5f);
}
