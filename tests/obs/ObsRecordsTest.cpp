#include "obs/ObsRecords.h"

#include <gtest/gtest.h>

#include <span>
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

std::string zeros(std::size_t bytes) {
    return std::string(2 * bytes, '0');
}

// 2009-01-05 12:30:15.5 as an epoch time block.
text::TEpochTime sampleTime() {
    text::TEpochTime t;
    t.year = 2009;
    t.month = 1;
    t.day = 5;
    t.hour = 12;
    t.minute = 30;
    t.seconds = 15.5L;
    return t;
}
const std::string kSampleTimeHex = "D9070000"
                                   "01000000"
                                   "05000000"
                                   "0C000000"
                                   "1E000000"
                                   "00000000"
                                   "00000000000000F80240" // 15.5
                                   "000000000000";

} // namespace

TEST(TObsRec, PinsItsBytes) {
    const struct {
        obs::TObsRec rec;
        const char* bytes;
        const char* reason;
    } kCases[] = {
        {{0.0L, 0, 0}, "00000000000000000000000000000000", "a missing observation is all zeros"},
        {{30.0L, 3, 8}, "00000000000000F00340030800000000", "value, LLI 3, strength 8"},
        {{-2.0L, 7, 9}, "000000000000008000C0070900000000", "a negative value keeps its sign bit"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        const auto bytes = obs::encode(c.rec);
        EXPECT_EQ(hex(bytes), c.bytes);
        EXPECT_EQ(obs::decodeObsRec(bytes), c.rec);
    }
}

TEST(TObsRec, RoundTripsAnObservationValue) {
    const obs::TObsRec rec{21234567.123L, 0, 8};
    EXPECT_EQ(obs::decodeObsRec(obs::encode(rec)), rec);
}

TEST(TEventRec, PinsItsBytes) {
    obs::TEventRec rec;
    rec.time = sampleTime();
    rec.flag = 3;
    rec.records = 2;
    const auto bytes = obs::encode(rec);
    EXPECT_EQ(hex(bytes), kSampleTimeHex + "03000000" + "02000000");
    EXPECT_EQ(obs::decodeEventRec(bytes), rec);
}

TEST(TEventRec, NeverFilledTimeIsYearZeroFirstOfJanuary) {
    const auto bytes = obs::encode(obs::TEventRec{});
    EXPECT_EQ(hex(bytes), "00000000"
                          "01000000"
                          "01000000" +
                              zeros(36));
}

TEST(TExtEventRec, PinsItsBytesForBothInputs) {
    obs::TExtEventRec a;
    a.time = sampleTime();
    EXPECT_EQ(hex(obs::encode(a)), kSampleTimeHex + "01" + zeros(7));
    obs::TExtEventRec b = a;
    b.inputA = false;
    EXPECT_EQ(hex(obs::encode(b)), kSampleTimeHex + "00" + zeros(7));
    EXPECT_EQ(obs::decodeExtEventRec(obs::encode(a)), a);
    EXPECT_EQ(obs::decodeExtEventRec(obs::encode(b)), b);
}

TEST(TOccupation, PinsItsBytes) {
    obs::TOccupation o;
    o.markerName = "AB";
    o.markerNumber = "7";
    o.antennaHeight = 1.0L;
    o.isStatic = true;
    const auto bytes = obs::encode(o);
    EXPECT_EQ(hex(bytes), "02"
                          "4142" +
                              zeros(18) + // name, string[20]
                              "01"
                              "37" +
                              zeros(19) +              // number, string[20]
                              zeros(6) +               // padding
                              "0000000000000080FF3F" + // 1.0
                              "01" + zeros(5));
    EXPECT_EQ(obs::decodeOccupation(bytes), o);
}

TEST(TOccupation, KeepsTwentyCharactersOfTheName) {
    obs::TOccupation o;
    o.markerName = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    EXPECT_EQ(obs::decodeOccupation(obs::encode(o)).markerName, "ABCDEFGHIJKLMNOPQRST");
}

TEST(TEpochRec, PinsItsBytes) {
    obs::TEpochRec rec;
    rec.time = sampleTime();
    rec.flag = 1;
    rec.satCount = 2;
    rec.countR = 1;
    rec.sats[0] = {' ', 5};
    rec.sats[1] = {'R', 24};
    rec.clockOffset = -2.0L;
    rec.occupation.markerName = "S";
    rec.clockText = "   -2.000000";
    const auto bytes = obs::encode(rec);
    const std::string h = hex(bytes);
    EXPECT_EQ(h.substr(0, 80), kSampleTimeHex);
    EXPECT_EQ(h.substr(80, 40), "01000000"
                                "02000000"
                                "01000000"
                                "00000000"
                                "00000000");
    EXPECT_EQ(h.substr(120, 16), "0120000005000000");     // " " 5
    EXPECT_EQ(h.substr(136, 16), "0152000018000000");     // "R" 24
    EXPECT_EQ(h.substr(152, 16), "0123000000000000");     // unused: "#" 0
    EXPECT_EQ(h.substr(2 * 532, 16), "0123000000000000"); // entry 60
    EXPECT_EQ(h.substr(2 * 540, 8), "00000000");
    EXPECT_EQ(h.substr(2 * 544, 32), "000000000000008000C0"
                                     "000000000000");
    EXPECT_EQ(h.substr(2 * 560, 4), "0153"); // occupation name "S"
    EXPECT_EQ(h.substr(2 * 618, 2), "01");   // static
    EXPECT_EQ(h.substr(2 * 624, 32), "0C202020"
                                     "2D322E303030303030"
                                     "000000"); // 12 characters, then padding
    EXPECT_EQ(obs::decodeEpochRec(bytes), rec);
}

TEST(TEpochRec, ClearedRecordHoldsTwelveBlanksAsClockText) {
    const obs::TEpochRec rec;
    const auto bytes = obs::encode(rec);
    EXPECT_EQ(hex(std::span(bytes).subspan(624, 13)), "0C202020202020202020202020");
    EXPECT_EQ(obs::decodeEpochRec(bytes), rec);
}
