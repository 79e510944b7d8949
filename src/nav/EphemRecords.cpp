#include "nav/EphemRecords.h"

#include "text/RecordBytes.h"
#include "text/RecordFile.h"

#include <string>

namespace nav {

namespace {

// GPS and Galileo records share the Keplerian orbit at offsets 96-179.
template <typename Writer, typename Rec> void writeOrbit(Writer& w, const Rec& r) noexcept {
    w.f64(96, r.sqrtA);
    w.f64(104, r.e);
    w.f64(112, r.m0);
    w.f64(120, r.omega0);
    w.f64(128, r.i0);
    w.f64(136, r.omega);
    w.f32(144, r.deltaN);
    w.f32(148, r.omegaDot);
    w.f32(152, r.idot);
    w.f32(156, r.crc);
    w.f32(160, r.crs);
    w.f32(164, r.cuc);
    w.f32(168, r.cus);
    w.f32(172, r.cic);
    w.f32(176, r.cis);
}

template <typename Rec> void readOrbit(const text::RecordReader& rd, Rec& r) noexcept {
    r.sqrtA = rd.f64(96);
    r.e = rd.f64(104);
    r.m0 = rd.f64(112);
    r.omega0 = rd.f64(120);
    r.i0 = rd.f64(128);
    r.omega = rd.f64(136);
    r.deltaN = rd.f32(144);
    r.omegaDot = rd.f32(148);
    r.idot = rd.f32(152);
    r.crc = rd.f32(156);
    r.crs = rd.f32(160);
    r.cuc = rd.f32(164);
    r.cus = rd.f32(168);
    r.cic = rd.f32(172);
    r.cis = rd.f32(176);
}

} // namespace

std::array<std::byte, kEphemGPSSize> encode(const TEphemGPSRec& r) noexcept {
    text::RecordWriter<kEphemGPSSize> w;
    w.i32(0, r.prn);
    w.epochTime(8, r.epoch);
    w.u8(48, r.prnByte);
    w.i32(52, r.tocCopy);
    w.u8(56, r.flags);
    w.u16(58, static_cast<std::uint16_t>(r.iodc));
    w.i32(60, r.toc);
    w.i32(64, r.ura);
    w.u8(68, r.health);
    w.u16(70, static_cast<std::uint16_t>(r.week));
    w.f32(72, r.tgd);
    w.f32(76, r.af2);
    w.f32(80, r.af1);
    w.f32(84, r.af0);
    w.i32(88, r.toe);
    w.u16(92, static_cast<std::uint16_t>(r.iode));
    writeOrbit(w, r);
    return w.bytes();
}

TEphemGPSRec decodeEphemGPS(std::span<const std::byte> bytes) noexcept {
    const text::RecordReader rd(bytes);
    TEphemGPSRec r;
    r.prn = rd.i32(0);
    r.epoch = rd.epochTime(8);
    r.prnByte = rd.u8(48);
    r.tocCopy = rd.i32(52);
    r.flags = rd.u8(56);
    r.iodc = static_cast<std::int16_t>(rd.u16(58));
    r.toc = rd.i32(60);
    r.ura = rd.i32(64);
    r.health = rd.u8(68);
    r.week = static_cast<std::int16_t>(rd.u16(70));
    r.tgd = rd.f32(72);
    r.af2 = rd.f32(76);
    r.af1 = rd.f32(80);
    r.af0 = rd.f32(84);
    r.toe = rd.i32(88);
    r.iode = static_cast<std::int16_t>(rd.u16(92));
    readOrbit(rd, r);
    return r;
}

std::array<std::byte, kEphemGALSize> encode(const TEphemGALRec& r) noexcept {
    text::RecordWriter<kEphemGALSize> w;
    w.i32(0, r.prn);
    w.epochTime(8, r.epoch);
    w.u8(48, r.prnByte);
    w.i32(52, r.transmissionTime);
    w.u8(56, r.dataSources);
    w.i32(60, r.toc);
    w.f32(64, r.sisa);
    w.u8(68, r.health);
    w.u16(70, static_cast<std::uint16_t>(r.week));
    w.f32(76, r.af2);
    w.f32(80, r.af1);
    w.f32(84, r.af0);
    w.i32(88, r.toe);
    w.u16(92, static_cast<std::uint16_t>(r.iodNav));
    writeOrbit(w, r);
    w.f32(180, r.bgdE5a);
    w.f32(184, r.bgdE5b);
    return w.bytes();
}

TEphemGALRec decodeEphemGAL(std::span<const std::byte> bytes) noexcept {
    const text::RecordReader rd(bytes);
    TEphemGALRec r;
    r.prn = rd.i32(0);
    r.epoch = rd.epochTime(8);
    r.prnByte = rd.u8(48);
    r.transmissionTime = rd.i32(52);
    r.dataSources = rd.u8(56);
    r.toc = rd.i32(60);
    r.sisa = rd.f32(64);
    r.health = rd.u8(68);
    r.week = static_cast<std::int16_t>(rd.u16(70));
    r.af2 = rd.f32(76);
    r.af1 = rd.f32(80);
    r.af0 = rd.f32(84);
    r.toe = rd.i32(88);
    r.iodNav = static_cast<std::int16_t>(rd.u16(92));
    readOrbit(rd, r);
    r.bgdE5a = rd.f32(180);
    r.bgdE5b = rd.f32(184);
    return r;
}

std::array<std::byte, kEphemGLOSize> encode(const TEphemGLORec& r) noexcept {
    text::RecordWriter<kEphemGLOSize> w;
    w.i32(0, r.slot);
    w.epochTime(8, r.epoch);
    w.u8(48, r.slotByte);
    w.i8(49, r.frequency);
    w.u16(50, static_cast<std::uint16_t>(r.dayNumber));
    w.i32(52, r.tk);
    w.i32(56, r.epochSeconds);
    w.u8(60, r.health);
    w.u8(61, r.age);
    w.f64(64, r.x);
    w.f64(72, r.y);
    w.f64(80, r.z);
    w.f32(88, r.vx);
    w.f32(92, r.vy);
    w.f32(96, r.vz);
    w.f32(100, r.ax);
    w.f32(104, r.ay);
    w.f32(108, r.az);
    w.f64(112, r.corrToSystemTime);
    w.f32(120, r.tauN);
    w.f32(124, r.gammaN);
    return w.bytes();
}

TEphemGLORec decodeEphemGLO(std::span<const std::byte> bytes) noexcept {
    const text::RecordReader rd(bytes);
    TEphemGLORec r;
    r.slot = rd.i32(0);
    r.epoch = rd.epochTime(8);
    r.slotByte = rd.u8(48);
    r.frequency = rd.i8(49);
    r.dayNumber = static_cast<std::int16_t>(rd.u16(50));
    r.tk = rd.i32(52);
    r.epochSeconds = rd.i32(56);
    r.health = rd.u8(60);
    r.age = rd.u8(61);
    r.x = rd.f64(64);
    r.y = rd.f64(72);
    r.z = rd.f64(80);
    r.vx = rd.f32(88);
    r.vy = rd.f32(92);
    r.vz = rd.f32(96);
    r.ax = rd.f32(100);
    r.ay = rd.f32(104);
    r.az = rd.f32(108);
    r.corrToSystemTime = rd.f64(112);
    r.tauN = rd.f32(120);
    r.gammaN = rd.f32(124);
    return r;
}

std::array<std::byte, kEphemGEOSize> encode(const TEphemGEORec& r) noexcept {
    text::RecordWriter<kEphemGEOSize> w;
    w.i32(0, r.prn100);
    w.i32(4, r.prn);
    w.i32(8, r.ordinal);
    w.epochTime(16, r.epoch);
    w.u8(56, r.prn100Byte);
    w.u8(57, r.prnByte);
    w.u8(58, r.iodn);
    w.u8(59, r.ura);
    w.i32(60, r.epochSeconds);
    w.f64(64, r.x);
    w.f64(72, r.y);
    w.f64(80, r.z);
    w.f32(88, r.vx);
    w.f32(92, r.vy);
    w.f32(96, r.vz);
    w.f32(100, r.ax);
    w.f32(104, r.ay);
    w.f32(108, r.az);
    w.f32(112, r.aGf0);
    w.f32(116, r.aGf1);
    w.i32(120, r.transmissionTime);
    w.u16(124, static_cast<std::uint16_t>(r.week));
    w.u8(126, r.health);
    return w.bytes();
}

TEphemGEORec decodeEphemGEO(std::span<const std::byte> bytes) noexcept {
    const text::RecordReader rd(bytes);
    TEphemGEORec r;
    r.prn100 = rd.i32(0);
    r.prn = rd.i32(4);
    r.ordinal = rd.i32(8);
    r.epoch = rd.epochTime(16);
    r.prn100Byte = rd.u8(56);
    r.prnByte = rd.u8(57);
    r.iodn = rd.u8(58);
    r.ura = rd.u8(59);
    r.epochSeconds = rd.i32(60);
    r.x = rd.f64(64);
    r.y = rd.f64(72);
    r.z = rd.f64(80);
    r.vx = rd.f32(88);
    r.vy = rd.f32(92);
    r.vz = rd.f32(96);
    r.ax = rd.f32(100);
    r.ay = rd.f32(104);
    r.az = rd.f32(108);
    r.aGf0 = rd.f32(112);
    r.aGf1 = rd.f32(116);
    r.transmissionTime = rd.i32(120);
    r.week = static_cast<std::int16_t>(rd.u16(124));
    r.health = rd.u8(126);
    return r;
}

namespace {

// One look-up: a fresh pass over the file from its start, buffered by the reader.
template <class Record, class Decode>
bool findRecord(const std::filesystem::path& file, std::string_view fixedName,
                std::size_t recordSize, std::size_t keyOffset, std::int32_t s, std::int32_t n,
                Record& record, text::ScanObserver& observer, Decode decode) {
    text::RecordFileReader reader;
    if (!reader.open(file, recordSize)) {
        observer.notice("Error Opening File " + std::string(fixedName) + " ! ");
        return false;
    }
    if (n < 1)
        return false;
    std::int32_t i = 0;
    while (!reader.atEnd()) {
        const std::span<const std::byte> bytes = reader.next();
        if (bytes.empty())
            break;
        if (text::RecordReader(bytes).i32(keyOffset) != s)
            continue;
        if (++i == n) {
            record = decode(bytes);
            return true;
        }
    }
    return false;
}

} // namespace

bool FindEphemeris(const std::filesystem::path& file, std::int32_t s, std::int32_t n,
                   TEphemGPSRec& record, text::ScanObserver& observer) {
    return findRecord(file, kEphemGPSFile, kEphemGPSSize, 0, s, n, record, observer,
                      decodeEphemGPS);
}

bool FindEphemeris(const std::filesystem::path& file, std::int32_t s, std::int32_t n,
                   TEphemGLORec& record, text::ScanObserver& observer) {
    return findRecord(file, kEphemGLOFile, kEphemGLOSize, 0, s, n, record, observer,
                      decodeEphemGLO);
}

bool FindEphemeris(const std::filesystem::path& file, std::int32_t s, std::int32_t n,
                   TEphemGEORec& record, text::ScanObserver& observer) {
    return findRecord(file, kEphemGEOFile, kEphemGEOSize, 4, s, n, record, observer,
                      decodeEphemGEO);
}

bool FindEphemeris(const std::filesystem::path& file, std::int32_t s, std::int32_t n,
                   TEphemGALRec& record, text::ScanObserver& observer) {
    return findRecord(file, kEphemGALFile, kEphemGALSize, 0, s, n, record, observer,
                      decodeEphemGAL);
}

} // namespace nav
