#include "tools/gen/Generator.h"

#include "text/Columns.h"
#include "text/FieldText.h"
#include "tools/gen/Options.h"

#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using text::columns;

std::vector<std::string> readLines(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    std::vector<std::string> lines;
    std::string all = ss.str();
    std::size_t start = 0;
    while (start < all.size()) {
        const std::size_t end = all.find('\n', start);
        lines.push_back(all.substr(start, end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

std::string readBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

int toInt(std::string_view s) {
    const std::string_view t = text::GeneralTrim(s);
    int v = -1;
    std::from_chars(t.data(), t.data() + t.size(), v);
    return v;
}

// Generates a file set into a fresh folder; extra arguments as on the command line.
fs::path makeSet(const std::string& name, std::vector<std::string> args) {
    const fs::path dir = fs::path(::testing::TempDir()) / ("quillon-gen-" + name);
    std::error_code ec;
    fs::remove_all(dir, ec);
    args.insert(args.begin(), {"--out", dir.string()});
    gen::GenOptions o;
    bool help = false;
    std::string error;
    EXPECT_TRUE(gen::parseOptions(args, o, help, error)) << error;
    gen::GenResult r;
    EXPECT_TRUE(gen::generate(o, r, error)) << error;
    return dir;
}

fs::path fileOf(const fs::path& dir, char letter) {
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().string().back() == letter)
            return e.path();
    return {};
}

bool isLabelled(const std::string& line) {
    static const std::set<std::string> kLabels = {"MARKER NAME", "MARKER NUMBER",
                                                  "ANTENNA: DELTA H/E/N", "COMMENT"};
    std::string label(columns(line, 61, 80));
    while (!label.empty() && label.back() == ' ')
        label.pop_back();
    return kLabels.count(label) != 0;
}

// What a walk over an observation file found, in the terms the scanner checks.
struct ObsWalk {
    std::vector<int> types;                         // header type list, as names' codes
    std::map<std::string, std::vector<int>> header; // PRN / # OF OBS
    int headerSatellites = -1;                      // # OF SATELLITES
    std::string firstObs, lastObs;                  // columns 1-43 of the header lines
    std::string interval;
    std::map<std::string, std::vector<int>> counted; // non-blank values per satellite, type
    std::vector<std::string> epochTimes;             // columns 2-26 of each epoch line
    std::vector<long> epochSeconds;                  // seconds of day (60 kept as written)
    int continuationLines = 0, longLines = 0, badValues = 0, badLli = 0, badStrength = 0;
    int badEpochColumns = 0, badPrns = 0, strayLabels = 0, sixties = 0, maxObsLines = 0;
    std::map<int, int> events;                      // flag -> count
    std::vector<std::set<std::string>> occupations; // labels of each flag-3 block
};

ObsWalk walkObservations(const fs::path& p) {
    ObsWalk w;
    const std::vector<std::string> lines = readLines(p);
    std::size_t i = 0;
    std::string lastPrn;
    for (; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        const std::string label(columns(l, 61, 80));
        if (label.rfind("# / TYPES OF OBSERV", 0) == 0) {
            for (std::size_t c = 11; c + 1 <= 60; c += 6) {
                const std::string t(columns(l, c, c + 1));
                for (std::size_t k = 0; k < header::kObsTypeNames.size(); ++k)
                    if (t == header::kObsTypeNames[k])
                        w.types.push_back(static_cast<int>(k));
            }
        } else if (label.rfind("PRN / # OF OBS", 0) == 0) {
            if (!text::isBlank(columns(l, 4, 6)))
                lastPrn = std::string(columns(l, 4, 6));
            for (std::size_t c = 7; c + 5 <= 60; c += 6)
                if (!text::isBlank(columns(l, c, c + 5)))
                    w.header[lastPrn].push_back(toInt(columns(l, c, c + 5)));
        } else if (label.rfind("# OF SATELLITES", 0) == 0) {
            w.headerSatellites = toInt(columns(l, 1, 6));
        } else if (label.rfind("TIME OF FIRST OBS", 0) == 0) {
            w.firstObs = std::string(columns(l, 1, 43));
        } else if (label.rfind("TIME OF LAST OBS", 0) == 0) {
            w.lastObs = std::string(columns(l, 1, 43));
        } else if (label.rfind("INTERVAL", 0) == 0) {
            w.interval = std::string(columns(l, 1, 10));
        } else if (label.rfind("END OF HEADER", 0) == 0) {
            ++i;
            break;
        }
    }
    const std::size_t nt = w.types.size();
    while (i < lines.size()) {
        const std::string& l = lines[i];
        if (l.size() > 80)
            ++w.longLines;
        if (isLabelled(l)) {
            ++w.strayLabels;
            ++i;
            continue;
        }
        const char flag = text::column(l, 29);
        if (flag >= '2' && flag <= '5') {
            const int records = toInt(columns(l, 30, 32));
            ++w.events[flag - '0'];
            std::set<std::string> labels;
            for (int r = 0; r < records; ++r) {
                const std::string& rec = lines[i + 1 + static_cast<std::size_t>(r)];
                EXPECT_TRUE(isLabelled(rec)) << rec;
                labels.insert(std::string(text::GeneralTrim(columns(rec, 61, 80))));
            }
            if (flag == '3')
                w.occupations.push_back(labels);
            i += 1 + static_cast<std::size_t>(records);
            continue;
        }
        // An epoch line: I2 words in their columns, F11.7 seconds, flag, count, satellites.
        bool ok = text::column(l, 19) == '.' && (flag == '0' || flag == '1');
        for (std::size_t c : {1u, 4u, 7u, 10u, 13u})
            ok = ok && text::column(l, c) == ' ';
        ok = ok && text::FixedFormatOK(columns(l, 16, 26), 11, 7);
        if (!ok) {
            ADD_FAILURE() << "not an epoch line: " << l;
            ++w.badEpochColumns;
            ++i;
            continue;
        }
        const int n = toInt(columns(l, 30, 32));
        if (!text::isBlank(columns(l, 69, 80))) {
            EXPECT_TRUE(text::FixedFormatOK(columns(l, 69, 80), 12, 9)) << l;
        }
        if (columns(l, 17, 18) == "60")
            ++w.sixties;
        w.epochTimes.push_back(std::string(columns(l, 2, 26)));
        w.epochSeconds.push_back(toInt(columns(l, 11, 12)) * 3600L +
                                 toInt(columns(l, 14, 15)) * 60L + toInt(columns(l, 16, 23)));
        std::vector<std::string> sats;
        std::string epochLine = l;
        for (int k = 0; k < n; ++k) {
            if (k > 0 && k % 12 == 0) {
                epochLine = lines[++i];
                ++w.continuationLines;
                EXPECT_TRUE(text::isBlank(columns(epochLine, 1, 32))) << epochLine;
            }
            const std::size_t c = 33 + 3 * static_cast<std::size_t>(k % 12);
            const std::string sat(columns(epochLine, c, c + 2));
            const int prn = toInt(sat.substr(1));
            const auto sys = header::systemOfLetter(sat[0]);
            if (!sys || !header::numberInRange(*sys, prn))
                ++w.badPrns;
            sats.push_back(sat);
        }
        ++i;
        for (const std::string& sat : sats) {
            auto& count = w.counted[sat];
            count.resize(nt, 0);
            int obsLines = 0;
            for (std::size_t first = 0; first < nt; first += 5, ++i) {
                ++obsLines;
                const std::string& o = lines[i];
                if (o.size() > 80)
                    ++w.longLines;
                for (std::size_t f = 0; f < 5 && first + f < nt; ++f) {
                    const std::size_t c = 1 + 16 * f;
                    const std::string_view value = columns(o, c, c + 13);
                    if (text::isBlank(value))
                        continue;
                    if (!text::FixedFormatOK(value, 14, 3) ||
                        !text::StrictNumber(text::GeneralTrim(value)).valid())
                        ++w.badValues;
                    const char lli = text::column(o, c + 14);
                    const char ss = text::column(o, c + 15);
                    if (lli != '\0' && lli != ' ' && (lli < '0' || lli > '7'))
                        ++w.badLli;
                    if (ss != '\0' && ss != ' ' && (ss < '1' || ss > '9'))
                        ++w.badStrength;
                    ++count[first + f];
                }
            }
            w.maxObsLines = std::max(w.maxObsLines, obsLines);
        }
    }
    return w;
}

std::vector<std::string> dataLines(const fs::path& p) {
    std::vector<std::string> lines = readLines(p);
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (columns(lines[i], 61, 73) == "END OF HEADER")
            return {lines.begin() + static_cast<std::ptrdiff_t>(i) + 1, lines.end()};
    return {};
}

// A D19.12 field: sign or blank, "0.", twelve digits, D, exponent sign, two digits.
bool isD19(std::string_view f) {
    if (f.size() != 19 || (f[0] != ' ' && f[0] != '-') || f.substr(1, 2) != "0.")
        return false;
    for (std::size_t k = 3; k < 15; ++k)
        if (f[k] < '0' || f[k] > '9')
            return false;
    long double x = 0;
    return f[15] == 'D' && (f[16] == '+' || f[16] == '-') && text::FortranReal(f, x);
}

struct NavWalk {
    int records = 0;
    int badFields = 0;
    std::set<std::string> minutes; // columns 15-17 of the epoch lines
};

NavWalk walkNavigation(const fs::path& p, std::size_t orbitLines, std::size_t lastFields) {
    NavWalk w;
    const std::vector<std::string> lines = dataLines(p);
    EXPECT_EQ(lines.size() % (orbitLines + 1), 0u) << p;
    for (std::size_t i = 0; i + orbitLines < lines.size(); i += orbitLines + 1) {
        const std::string& e = lines[i];
        EXPECT_EQ(text::column(e, 21), '.') << e;
        EXPECT_TRUE(text::FixedFormatOK(columns(e, 18, 22), 5, 1)) << e;
        w.minutes.insert(std::string(columns(e, 15, 17)));
        ++w.records;
        for (std::size_t f = 0; f < 3; ++f)
            w.badFields += isD19(columns(e, 23 + 19 * f, 41 + 19 * f)) ? 0 : 1;
        for (std::size_t k = 1; k <= orbitLines; ++k) {
            const std::string& o = lines[i + k];
            EXPECT_TRUE(text::isBlank(columns(o, 1, 3))) << o;
            const std::size_t fields = k == orbitLines ? lastFields : 4;
            for (std::size_t f = 0; f < fields; ++f)
                w.badFields += isD19(columns(o, 4 + 19 * f, 22 + 19 * f)) ? 0 : 1;
        }
    }
    return w;
}

class FullSet : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // Each test may run in a process of its own: one folder per process.
        s_dir = makeSet("full-" + std::to_string(::getpid()),
                        {"--duration", "3h", "--types", "C1,C2,C5,P1,P2,L1,L2,L5,D1,D2,D5,S1,S2,S5",
                         "--gap", "40m,10m", "--occupation", "50m", "--moving", "100m,10m",
                         "--events", "3", "--sixty", "20m", "--sats", "G=32,R=24,S=2,E=12"});
    }
    static void TearDownTestSuite() {
        std::error_code ec;
        fs::remove_all(s_dir, ec);
    }
    static fs::path s_dir;
};
fs::path FullSet::s_dir;

// Removes a generated folder when the test ends.
struct Cleanup {
    ~Cleanup() {
        std::error_code ec;
        for (const fs::path& d : dirs)
            fs::remove_all(d, ec);
    }
    std::vector<fs::path> dirs;
};

TEST_F(FullSet, WritesSixFilesWithLinesOfAtMost80Characters) {
    int files = 0;
    for (const auto& e : fs::directory_iterator(s_dir)) {
        ++files;
        const std::vector<std::string> lines = readLines(e.path());
        EXPECT_GT(lines.size(), 10u) << e.path();
        for (const std::string& l : lines)
            ASSERT_LE(l.size(), 80u) << e.path() << ": " << l;
    }
    EXPECT_EQ(files, 6);
    EXPECT_EQ(fileOf(s_dir, 'o').filename(), "quil3430.26o");
}

TEST_F(FullSet, ObservationHeaderCountsMatchTheData) {
    const ObsWalk w = walkObservations(fileOf(s_dir, 'o'));
    ASSERT_EQ(w.types.size(), 14u); // read from two type lines
    EXPECT_EQ(w.interval, "    30.000");
    EXPECT_EQ(w.headerSatellites, static_cast<int>(w.counted.size()));
    EXPECT_EQ(w.header.size(), w.counted.size());
    for (const auto& [sat, counts] : w.counted) {
        SCOPED_TRACE(sat);
        ASSERT_EQ(w.header.count(sat), 1u);
        EXPECT_EQ(w.header.at(sat), counts);
    }
    // Header times against the first and last epoch lines (" 26 12  9  0  0  0.0000000").
    ASSERT_FALSE(w.epochTimes.empty());
    EXPECT_EQ(w.firstObs, "  2026    12     9     0     0    0.0000000");
    EXPECT_EQ(w.lastObs, "  2026    12     9     2    59   30.0000000");
    EXPECT_EQ(w.epochTimes.back(), "26 12  9  2 59 30.0000000");
}

TEST_F(FullSet, ObservationLinesKeepTheirColumns) {
    const ObsWalk w = walkObservations(fileOf(s_dir, 'o'));
    EXPECT_EQ(w.badEpochColumns, 0);
    EXPECT_EQ(w.badValues, 0);
    EXPECT_EQ(w.badLli, 0);
    EXPECT_EQ(w.badStrength, 0);
    EXPECT_EQ(w.badPrns, 0);
    EXPECT_EQ(w.strayLabels, 0);
    EXPECT_EQ(w.longLines, 0);
    EXPECT_GT(w.continuationLines, 0); // more than 12 satellites in an epoch
    EXPECT_EQ(w.maxObsLines, 3);       // 14 types: 5 + 5 + 4 values
}

TEST_F(FullSet, CarriesTheAskedForEvents) {
    const ObsWalk w = walkObservations(fileOf(s_dir, 'o'));
    EXPECT_EQ(w.events.at(2), 1); // moving antenna
    EXPECT_EQ(w.events.at(3), 2); // end of the moving part, new occupation
    EXPECT_EQ(w.events.at(5), 3); // external events
    for (const auto& labels : w.occupations) {
        EXPECT_EQ(labels.count("MARKER NAME"), 1u);
        EXPECT_EQ(labels.count("ANTENNA: DELTA H/E/N"), 1u);
    }
    EXPECT_EQ(w.sixties, 1);
    // One gap of ten minutes: the only step longer than the interval.
    int gaps = 0;
    for (std::size_t k = 1; k < w.epochSeconds.size(); ++k) {
        const long step = w.epochSeconds[k] - w.epochSeconds[k - 1];
        if (step != 30)
            ++gaps;
        if (step != 30) {
            EXPECT_EQ(step, 630);
        }
    }
    EXPECT_EQ(gaps, 1);
}

TEST_F(FullSet, NavigationFilesHoldWholeRecordsOfD19Fields) {
    const struct {
        char letter;
        std::size_t orbitLines, lastFields;
        std::set<std::string> minutes;
    } kFiles[] = {
        {'n', 7, 2, {"  0"}},        // GPS: every two hours
        {'l', 7, 1, {"  0"}},        // Galileo: as GPS
        {'g', 3, 4, {" 15", " 45"}}, // GLONASS: every half hour, UTC
        {'h', 3, 4, {"  0", " 30"}}, // SBAS: every half hour
    };
    for (const auto& f : kFiles) {
        SCOPED_TRACE(f.letter);
        const NavWalk w = walkNavigation(fileOf(s_dir, f.letter), f.orbitLines, f.lastFields);
        EXPECT_GT(w.records, 0);
        EXPECT_EQ(w.badFields, 0);
        EXPECT_EQ(w.minutes, f.minutes);
    }
}

TEST_F(FullSet, MeteoRecordsAreF71Fields) {
    const std::vector<std::string> lines = dataLines(fileOf(s_dir, 'm'));
    EXPECT_EQ(lines.size(), 3u * 12u); // every five minutes for three hours
    for (const std::string& l : lines) {
        SCOPED_TRACE(l);
        for (std::size_t c : {1u, 4u, 7u, 10u, 13u, 16u})
            EXPECT_EQ(text::column(l, c), ' ');
        for (std::size_t f = 0; f < 3; ++f)
            EXPECT_TRUE(text::FixedFormatOK(columns(l, 19 + 7 * f, 25 + 7 * f), 7, 1));
    }
}

TEST(Generate, WritesEveryTypeAndSatelliteNumberOfRinex211) {
    std::string allTypes;
    for (std::string_view name : header::kObsTypeNames)
        allTypes += std::string(allTypes.empty() ? "" : ",") + std::string(name);
    const fs::path dir = makeSet("all-types", {"--duration", "3h", "--types", allTypes, "--sats",
                                               "G=32,R=24,S=39,E=36", "--mask", "0"});
    const Cleanup cleanup{{dir}};
    const ObsWalk w = walkObservations(fileOf(dir, 'o'));
    ASSERT_EQ(w.types.size(), header::kMaxTypes); // read from three type lines
    EXPECT_EQ(w.maxObsLines, 6);                  // 26 values: five lines of 5 and one of 1
    EXPECT_EQ(w.badPrns, 0);
    EXPECT_EQ(w.badValues, 0);
    EXPECT_EQ(w.headerSatellites, static_cast<int>(w.counted.size()));
    for (const auto& [sat, counts] : w.counted) {
        SCOPED_TRACE(sat);
        ASSERT_EQ(w.header.count(sat), 1u);
        EXPECT_EQ(w.header.at(sat), counts);
    }
    // Galileo sends bands 6, 7 and 8; the numbers of today's satellites appear.
    const auto sent = [&w](std::string_view sat, std::string_view type) {
        const auto code = static_cast<std::size_t>(*header::ObsTypeCode(type));
        const auto it = w.counted.find(std::string(sat));
        return it != w.counted.end() && it->second[code] > 0;
    };
    bool newGalileo = false, newSbas = false, galileoBand7 = false;
    for (const auto& [sat, counts] : w.counted) {
        newGalileo = newGalileo || (sat[0] == 'E' && toInt(sat.substr(1)) > 32);
        newSbas = newSbas || (sat[0] == 'S' && toInt(sat.substr(1)) > 38);
        galileoBand7 = galileoBand7 || (sat[0] == 'E' && sent(sat, "C7") && sent(sat, "L8") &&
                                        sent(sat, "D6") && sent(sat, "S7"));
        if (sat[0] == 'G') {
            EXPECT_FALSE(sent(sat, "C7")) << "GPS has no band 7";
        }
    }
    EXPECT_TRUE(newGalileo) << "E33 to E36";
    EXPECT_TRUE(newSbas) << "S39 to S58";
    EXPECT_TRUE(galileoBand7);
}

TEST(Generate, IsDeterministicForASeed) {
    const fs::path a = makeSet("seed-a", {"--duration", "1h", "--seed", "7"});
    const fs::path b = makeSet("seed-b", {"--duration", "1h", "--seed", "7"});
    const fs::path c = makeSet("seed-c", {"--duration", "1h", "--seed", "8"});
    const Cleanup cleanup{{a, b, c}};
    for (char letter : {'o', 'n', 'g', 'h', 'l', 'm'}) {
        SCOPED_TRACE(letter);
        EXPECT_EQ(readBytes(fileOf(a, letter)), readBytes(fileOf(b, letter)));
    }
    EXPECT_NE(readBytes(fileOf(a, 'o')), readBytes(fileOf(c, 'o')));
}

TEST(Generate, WritesEachKindOfMalformedLineAsAsked) {
    const struct {
        const char* kind;
        int ObsWalk::*count; // null: counted in a companion file
    } kCases[] = {
        {"long", &ObsWalk::longLines},    // a line longer than 80 characters
        {"value", &ObsWalk::badValues},   // F14.4 where F14.3 is due
        {"lli", &ObsWalk::badLli},        // LLI 8
        {"prn", &ObsWalk::badPrns},       // G33 and the like
        {"label", &ObsWalk::strayLabels}, // MARKER NUMBER outside an event
        {"nav", nullptr},                 // an exponent letter X
        {"meteo", nullptr},               // F7.2 where F7.1 is due
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.kind);
        const fs::path dir = makeSet(std::string("bad-") + c.kind,
                                     {"--duration", "2h", "--bad", std::string(c.kind) + ":2"});
        const Cleanup cleanup{{dir}};
        if (c.count != nullptr) {
            const ObsWalk w = walkObservations(fileOf(dir, 'o'));
            EXPECT_EQ(w.*c.count, 2);
            continue;
        }
        if (std::string(c.kind) == "nav") {
            EXPECT_EQ(walkNavigation(fileOf(dir, 'n'), 7, 2).badFields, 2);
            continue;
        }
        int bad = 0;
        for (const std::string& l : dataLines(fileOf(dir, 'm')))
            bad += text::FixedFormatOK(columns(l, 26, 32), 7, 1) ? 0 : 1;
        EXPECT_EQ(bad, 2);
    }
}

} // namespace
