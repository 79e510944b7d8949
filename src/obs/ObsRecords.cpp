#include "obs/ObsRecords.h"

#include "text/RecordBytes.h"

#include <cstring>
#include <string_view>

namespace obs {

namespace {

constexpr std::size_t kOccupationAt = 560;

// On x87 machines the first ten bytes of a long double are the record's extended field itself
// (RecordBytes.h asserts the format), so a value is copied instead of rebuilt through
// frexp/ldexp: this is the innermost write of the observation scan. Elsewhere the portable
// encoder builds the same bytes.
template <std::size_t N>
void putExt80(text::RecordWriter<N>& w, std::size_t at, const long double& v) noexcept {
    // By reference: the bytes are copied from where the value is held, not through a fresh
    // 10-byte store that would have to be read straight back.
#if defined(__x86_64__) || defined(__i386__)
    static_assert(sizeof(long double) >= 10);
    std::memcpy(w.bytes().data() + at, &v, 10);
#else
    w.ext80(at, v);
#endif
}

void putOccupation(text::RecordWriter<kEpochRecSize>& w, const TOccupation& o) noexcept {
    const auto block = encode(o);
    std::memcpy(w.bytes().data() + kOccupationAt, block.data(), block.size());
}

} // namespace

std::array<std::byte, kOccupationSize> encode(const TOccupation& o) noexcept {
    text::RecordWriter<kOccupationSize> w;
    w.shortString(0, 20, o.markerName);    // 0-20: marker name, string[20]
    w.shortString(21, 20, o.markerNumber); // 21-41: marker number; 42-47 padding
    w.ext80(48, o.antennaHeight);          // 48-57: antenna height H
    w.u8(58, o.isStatic ? 1 : 0);          // 58: static flag; 59-63 padding
    return w.bytes();
}

std::array<std::byte, kEpochRecSize> encode(const TEpochRec& r) noexcept {
    text::RecordWriter<kEpochRecSize> w;
    w.epochTime(0, r.time); // 0-39: epoch time
    w.i32(40, r.flag);      // 40: epoch flag
    w.i32(44, r.satCount);  // 44: satellites
    w.i32(48, r.countR);    // 48: GLONASS entries
    w.i32(52, r.countS);    // 52: SBAS entries
    w.i32(56, r.countE);    // 56: Galileo entries
    for (std::size_t k = 0; k < kEpochSatSlots; ++k) {
        const std::size_t at = 60 + 8 * k; // entry: string[1] system, 2 padding, int32 number
        w.shortString(at, 1, std::string_view(&r.sats[k].system, 1));
        w.i32(at + 4, r.sats[k].prn);
    }
    w.ext80(544, r.clockOffset);         // 540-543 padding; 544-553: clock offset; 554-559 padding
    putOccupation(w, r.occupation);      // 560-623: occupation
    w.shortString(624, 12, r.clockText); // 624-636: clock offset text; 637-639 padding
    return w.bytes();
}

std::array<std::byte, kObsRecSize> encode(const TObsRec& r) noexcept {
#if defined(__x86_64__) || defined(__i386__)
    // The hottest record: built from two 64-bit words, since small byte stores read back as
    // one word stall. Bytes 0-7 mantissa, 8-9 sign and exponent, 10 LLI, 11 strength, 12-15 0.
    std::uint64_t mantissa = 0;
    std::uint16_t top = 0;
    std::memcpy(&mantissa, &r.value, 8);
    std::memcpy(&top, reinterpret_cast<const unsigned char*>(&r.value) + 8, 2);
    const std::uint64_t high = static_cast<std::uint64_t>(top) |
                               static_cast<std::uint64_t>(r.lli) << 16 |
                               static_cast<std::uint64_t>(r.strength) << 24;
    std::array<std::byte, kObsRecSize> out;
    std::memcpy(out.data(), &mantissa, 8);
    std::memcpy(out.data() + 8, &high, 8);
    return out;
#else
    text::RecordWriter<kObsRecSize> w;
    putExt80(w, 0, r.value); // 0-9: observation value
    w.u8(10, r.lli);         // 10: loss-of-lock indicator
    w.u8(11, r.strength);    // 11: signal strength; 12-15 padding
    return w.bytes();
#endif
}

std::array<std::byte, kEventRecSize> encode(const TEventRec& r) noexcept {
    text::RecordWriter<kEventRecSize> w;
    w.epochTime(0, r.time); // 0-39: event time
    w.i32(40, r.flag);      // 40: event flag
    w.i32(44, r.records);   // 44: records that followed
    return w.bytes();
}

std::array<std::byte, kExtEventRecSize> encode(const TExtEventRec& r) noexcept {
    text::RecordWriter<kExtEventRecSize> w;
    w.epochTime(0, r.time);     // 0-39: event time
    w.u8(40, r.inputA ? 1 : 0); // 40: input, 1 = A; 41-47 padding
    return w.bytes();
}

TOccupation decodeOccupation(std::span<const std::byte> bytes) {
    const text::RecordReader r(bytes);
    TOccupation o;
    o.markerName = r.shortString(0, 20);
    o.markerNumber = r.shortString(21, 20);
    o.antennaHeight = r.ext80(48);
    o.isStatic = r.u8(58) != 0;
    return o;
}

TEpochRec decodeEpochRec(std::span<const std::byte> bytes) {
    const text::RecordReader r(bytes);
    TEpochRec e;
    e.time = r.epochTime(0);
    e.flag = r.i32(40);
    e.satCount = r.i32(44);
    e.countR = r.i32(48);
    e.countS = r.i32(52);
    e.countE = r.i32(56);
    for (std::size_t k = 0; k < kEpochSatSlots; ++k) {
        const std::size_t at = 60 + 8 * k;
        const std::string system = r.shortString(at, 1);
        e.sats[k].system = system.empty() ? '\0' : system[0];
        e.sats[k].prn = r.i32(at + 4);
    }
    e.clockOffset = r.ext80(544);
    if (bytes.size() > kOccupationAt)
        e.occupation = decodeOccupation(bytes.subspan(kOccupationAt));
    e.clockText = r.shortString(624, 12);
    return e;
}

TObsRec decodeObsRec(std::span<const std::byte> bytes) noexcept {
    const text::RecordReader r(bytes);
    TObsRec o;
    o.value = r.ext80(0);
    o.lli = r.u8(10);
    o.strength = r.u8(11);
    return o;
}

TEventRec decodeEventRec(std::span<const std::byte> bytes) noexcept {
    const text::RecordReader r(bytes);
    TEventRec e;
    e.time = r.epochTime(0);
    e.flag = r.i32(40);
    e.records = r.i32(44);
    return e;
}

TExtEventRec decodeExtEventRec(std::span<const std::byte> bytes) noexcept {
    const text::RecordReader r(bytes);
    TExtEventRec e;
    e.time = r.epochTime(0);
    e.inputA = r.u8(40) != 0;
    return e;
}

} // namespace obs
