#include "tools/gen/Options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ParseOptions, AcceptsOrRejectsEachValue) {
    const struct {
        std::vector<std::string> args;
        bool ok;
        const char* reason;
    } kCases[] = {
        {{}, true, "all defaults"},
        {{"--interval", "1"}, true, "1 s is the shortest interval"},
        {{"--interval", "30"}, true, "30 s is the longest interval"},
        {{"--interval", "0"}, false, "below 1 s"},
        {{"--interval", "31"}, false, "above 30 s"},
        {{"--types", "C1,L1,X1"}, false, "X1 is not one of the 26 types"},
        {{"--types", "C1,C5,C7,C8,L1,L5,L7,L8,D1,D5,D7,D8,S1,S5,S7,S8,C6,L6,D6,S6"},
         true,
         "the Galileo bands of RINEX 2.11"},
        {{"--types", "P7"}, false, "there is no P code on band 7"},
        {{"--types", "C1,C1"}, false, "a type listed twice"},
        {{"--systems", "GRSE"}, true, "every system"},
        {{"--systems", "GC"}, false, "C is not a RINEX 2 system here"},
        {{"--sats", "R=25"}, false, "GLONASS has 24 slots"},
        {{"--sats", "S=19,E=32"}, true, "19 SBAS, 32 Galileo"},
        {{"--sats", "S=39,E=36"}, true, "every SBAS number S20-S58, Galileo E01-E36"},
        {{"--sats", "S=40"}, false, "SBAS ends at S58"},
        {{"--sats", "E=37"}, false, "Galileo ends at E36"},
        {{"--start", "2026-02-29"}, false, "2026 is no leap year"},
        {{"--start", "2024-02-29T23:59:59"}, true, "a leap day"},
        {{"--duration", "90m"}, true, "minutes"},
        {{"--occupation", "9h20m"}, true, "hours and minutes"},
        {{"--duration", "2x"}, false, "x is no unit"},
        {{"--gap", "6h"}, false, "a gap needs its length"},
        {{"--bad", "long:2,nav:1"}, true, "two kinds"},
        {{"--bad", "short:1"}, false, "unknown kind"},
        {{"--site", "ab"}, false, "site names have four characters"},
        {{"--whatever", "1"}, false, "unknown option"},
        {{"--seed"}, false, "missing value"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        gen::GenOptions o;
        bool help = false;
        std::string error;
        EXPECT_EQ(gen::parseOptions(c.args, o, help, error), c.ok) << error;
        EXPECT_EQ(error.empty(), c.ok);
    }
}

TEST(ParseOptions, ReadsTypesInFileOrderAndTheMeteoInterval) {
    gen::GenOptions o;
    bool help = false;
    std::string error;
    ASSERT_TRUE(gen::parseOptions(
        {"--types", "L1,C1,S5", "--interval", "15", "--meteo-interval", "100"}, o, help, error));
    EXPECT_EQ(o.types, (std::vector<int>{5, 0, 13}));
    ASSERT_TRUE(gen::parseOptions({"--types", "C7,S8"}, o, help, error));
    EXPECT_EQ(o.types, (std::vector<int>{15, 25}));
    EXPECT_EQ(o.meteoInterval, 90); // a whole number of epochs
}

} // namespace
