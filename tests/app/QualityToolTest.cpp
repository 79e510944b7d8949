// quillon-scan --quality on data the generator wrote, against the side file of what the
// generator put in: the multipath and noise, the cycle slips and the geometry.

#include "ToolSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using tooltest::Folder;

std::vector<std::string> splitCsv(const std::string& line) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = line.find(',', start);
        cells.push_back(line.substr(start, comma - start));
        if (comma == std::string::npos)
            return cells;
        start = comma + 1;
    }
}

std::optional<double> cellNumber(const std::string& cell) {
    if (cell.empty())
        return std::nullopt;
    double v = 0;
    std::from_chars(cell.data(), cell.data() + cell.size(), v);
    return v;
}

// The rows of a CSV file with a header line, as column name to cell.
std::vector<std::map<std::string, std::string>> readCsv(const fs::path& path) {
    std::istringstream in(tooltest::readText(path));
    std::string line;
    std::getline(in, line);
    const std::vector<std::string> names = splitCsv(line);
    std::vector<std::map<std::string, std::string>> rows;
    while (std::getline(in, line)) {
        const std::vector<std::string> cells = splitCsv(line);
        std::map<std::string, std::string> row;
        for (std::size_t i = 0; i < names.size() && i < cells.size(); ++i)
            row[names[i]] = cells[i];
        rows.push_back(std::move(row));
    }
    return rows;
}

// The frequency channel of each GLONASS slot in a navigation file (second orbit line, field 4).
std::map<int, int> glonassChannels(const fs::path& path) {
    std::istringstream in(tooltest::readText(path));
    std::string line;
    while (std::getline(in, line) && line.find("END OF HEADER") == std::string::npos) {
    }
    std::map<int, int> channels;
    std::vector<std::string> record;
    while (std::getline(in, line)) {
        record.push_back(line);
        if (record.size() < 4)
            continue;
        std::string field = record[2].substr(60, 19);
        for (char& c : field)
            if (c == 'D')
                c = 'E';
        const std::size_t first = field.find_first_not_of(' ');
        double v = 0;
        std::from_chars(field.data() + first, field.data() + field.size(), v);
        channels[std::stoi(record[0].substr(0, 2))] = static_cast<int>(std::lround(v));
        record.clear();
    }
    return channels;
}

struct Bands {
    double f1 = 0, f2 = 0;
};

Bands bandsOf(const std::string& sat, const std::map<int, int>& channels) {
    const int prn = std::stoi(sat.substr(1));
    switch (sat[0]) {
    case 'G':
        return {1575.42e6, 1227.60e6};
    case 'R': {
        const int k = channels.at(prn);
        return {1602.0e6 + k * 0.5625e6, 1246.0e6 + k * 0.4375e6};
    }
    default:
        return {1575.42e6, 1176.45e6};
    }
}

// The multipath and noise the generator put into MP1 and MP2 at each epoch, split into its arcs
// of locks and slips, with the arc mean (window 0) or a centred moving average taken off.
struct TruthMp {
    double sumSq1 = 0, sumSq2 = 0;
    long dof1 = 0, dof2 = 0;
    std::optional<double> rms1() const {
        return dof1 > 0 ? std::optional(std::sqrt(sumSq1 / static_cast<double>(dof1)))
                        : std::nullopt;
    }
    std::optional<double> rms2() const {
        return dof2 > 0 ? std::optional(std::sqrt(sumSq2 / static_cast<double>(dof2)))
                        : std::nullopt;
    }
};

void addArc(const std::vector<double>& v, int window, double& sumSq, long& dof) {
    const std::size_t n = v.size();
    if (n < 2)
        return;
    for (std::size_t i = 0; i < n; ++i) {
        std::size_t lo = 0, hi = n;
        if (window > 0) {
            const std::size_t half = static_cast<std::size_t>(window / 2);
            lo = i > half ? i - half : 0;
            hi = std::min(n, i + half + 1);
        }
        double mean = 0;
        for (std::size_t j = lo; j < hi; ++j)
            mean += v[j];
        mean /= static_cast<double>(hi - lo);
        sumSq += (v[i] - mean) * (v[i] - mean);
    }
    dof += static_cast<long>(window > 0 ? n : n - 1);
}

std::map<std::string, TruthMp> truthMp(const std::vector<std::map<std::string, std::string>>& rows,
                                       const std::map<int, int>& channels, int window) {
    std::map<std::string, std::pair<std::vector<double>, std::vector<double>>> arcs;
    std::map<std::string, TruthMp> out;
    const auto close = [&](const std::string& sat) {
        auto& [a1, a2] = arcs[sat];
        addArc(a1, window, out[sat].sumSq1, out[sat].dof1);
        addArc(a2, window, out[sat].sumSq2, out[sat].dof2);
        a1.clear();
        a2.clear();
    };
    for (const auto& r : rows) {
        const std::string& sat = r.at("sat");
        if (!r.at("event").empty())
            close(sat);
        const bool band5 = sat[0] == 'E' || sat[0] == 'S';
        const std::optional<double> c1 =
            cellNumber(r.at("P1_m")) ? cellNumber(r.at("P1_m")) : cellNumber(r.at("C1_m"));
        const std::optional<double> c2 =
            band5
                ? cellNumber(r.at("C5_m"))
                : (cellNumber(r.at("P2_m")) ? cellNumber(r.at("P2_m")) : cellNumber(r.at("C2_m")));
        const std::optional<double> l1 = cellNumber(r.at("L1_m"));
        const std::optional<double> l2 = cellNumber(r.at(band5 ? "L5_m" : "L2_m"));
        if (!l1 || !l2)
            continue;
        const Bands b = bandsOf(sat, channels);
        const double alpha = (b.f1 / b.f2) * (b.f1 / b.f2);
        const double k = 1 / (alpha - 1);
        if (c1)
            arcs[sat].first.push_back(*c1 - (1 + 2 * k) * *l1 + 2 * k * *l2);
        if (c2)
            arcs[sat].second.push_back(*c2 - 2 * alpha * k * *l1 + (2 * alpha * k - 1) * *l2);
    }
    for (auto& [sat, a] : arcs)
        close(sat);
    return out;
}

class QualityTool : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_folder = new Folder("quality");
        const fs::path dir = s_folder->path;
        // A day of all four systems, P1 and P2 beside C1, Galileo and SBAS on L5 too.
        const tooltest::ToolRun gen = tooltest::runProgram(
            QUILLON_GEN_TOOL, dir,
            {"--out", dir.string(), "--sats", "G=24,R=18,S=2,E=8", "--types",
             "C1,C5,P1,P2,L1,L2,L5,S1", "--seed", "7", "--truth", (dir / "truth.csv").string()});
        ASSERT_EQ(gen.status, 0) << tooltest::readText(dir / "err.txt");
        s_truth = readCsv(dir / "truth.csv");
        s_channels = glonassChannels(dir / "quil3430.26g");
    }
    static void TearDownTestSuite() {
        delete s_folder;
        s_folder = nullptr;
    }

    // quillon-scan --quality --json with the extra arguments; the quality object.
    static nlohmann::json scan(const std::vector<std::string>& extra) {
        std::vector<std::string> args = {"--quality", "--json"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back((s_folder->path / "quil3430.26o").string());
        const tooltest::ToolRun run = tooltest::runProgram(QUILLON_SCAN_TOOL, s_folder->path, args);
        EXPECT_EQ(run.status, 0) << tooltest::readText(s_folder->path / "err.txt");
        return nlohmann::json::parse(run.out)["quality"];
    }

    static Folder* s_folder;
    static std::vector<std::map<std::string, std::string>> s_truth;
    static std::map<int, int> s_channels;
};

Folder* QualityTool::s_folder = nullptr;
std::vector<std::map<std::string, std::string>> QualityTool::s_truth;
std::map<int, int> QualityTool::s_channels;

void expectMpWithinTenPercent(const nlohmann::json& sats,
                              const std::map<std::string, TruthMp>& truth) {
    int compared = 0;
    for (const auto& [sat, t] : truth) {
        SCOPED_TRACE(sat);
        const nlohmann::json& q = sats.at(sat);
        for (const auto& [key, want] :
             {std::pair{"mp1_rms_m", t.rms1()}, std::pair{"mp2_rms_m", t.rms2()}}) {
            ASSERT_TRUE(want.has_value() == !q.at(key).is_null()) << key;
            if (!want)
                continue;
            EXPECT_NEAR(q.at(key).get<double>(), *want, 0.1 * *want) << key;
            ++compared;
        }
    }
    EXPECT_GT(compared, 90); // every system with two frequencies took part
}

TEST_F(QualityTool, FindsTheMultipathAndNoisePutIn) {
    const nlohmann::json q = scan({});
    expectMpWithinTenPercent(q.at("satellites"), truthMp(s_truth, s_channels, 0));
}

TEST_F(QualityTool, FindsTheMultipathLessAMovingAverage) {
    const nlohmann::json q = scan({"--mp-window", "21"});
    EXPECT_EQ(q.at("settings").at("mp_window_epochs"), 21);
    expectMpWithinTenPercent(q.at("satellites"), truthMp(s_truth, s_channels, 21));
}

TEST_F(QualityTool, FindsEverySlipPutInAndNoOther) {
    const fs::path breaks = s_folder->path / "breaks.csv";
    const nlohmann::json q = scan({"--breaks", breaks.string()});
    std::set<std::pair<std::string, std::string>> put, found, locks, starts;
    for (const auto& r : s_truth) {
        if (r.at("event") == "slip")
            put.insert({r.at("time"), r.at("sat")});
        if (r.at("event") == "lock")
            locks.insert({r.at("time"), r.at("sat")});
    }
    for (const auto& r : readCsv(breaks)) {
        const std::string& cause = r.at("cause");
        (cause == "lli" || cause == "iono" || cause == "mp" ? found : starts)
            .insert({r.at("time"), r.at("sat")});
    }
    ASSERT_GT(put.size(), 30u);
    EXPECT_EQ(found, put);
    // Every new lock starts an arc (a first point, a gap or an event), and nothing else does.
    EXPECT_EQ(starts, locks);
    EXPECT_EQ(q.at("file").at("slips").at("total"), static_cast<int>(put.size()));
}

TEST_F(QualityTool, CountsTheEpochsTheOrbitsExpect) {
    const nlohmann::json q = scan({});
    std::map<std::string, long> rows;
    for (const auto& r : s_truth)
        ++rows[r.at("sat")];
    for (const auto& [sat, n] : rows) {
        SCOPED_TRACE(sat);
        const nlohmann::json& s = q.at("satellites").at(sat);
        EXPECT_EQ(s.at("epochs"), n);
        // The generator's mask looks at the apparent direction (with the light time): an epoch
        // at the mask may fall either side of it.
        EXPECT_LE(s.at("below_mask").get<long>(), 1);
        EXPECT_NEAR(s.at("observed").get<double>(), s.at("expected").get<double>(), 2.0);
    }
}

TEST_F(QualityTool, PrintsItsBlockAndRefusesWhatItCannotDo) {
    const fs::path dir = s_folder->path;
    const std::string obs = (dir / "quil3430.26o").string();
    tooltest::ToolRun run = tooltest::runProgram(QUILLON_SCAN_TOOL, dir, {"--quality", obs});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("\n Quality\n   mask 10 deg"), std::string::npos);
    EXPECT_NE(run.out.find("\n   all "), std::string::npos);

    run = tooltest::runProgram(QUILLON_SCAN_TOOL, dir, {"--mask", "ten", obs});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(tooltest::readText(dir / "err.txt").find("--mask cannot take ten"),
              std::string::npos);
    run = tooltest::runProgram(QUILLON_SCAN_TOOL, dir, {"--mp-window", "2.5", obs});
    EXPECT_EQ(run.status, 2);
    run = tooltest::runProgram(QUILLON_SCAN_TOOL, dir, {"--sky", obs});
    EXPECT_EQ(run.status, 2) << "the observation file is taken as the CSV file's name";

    // An input named as an output file stays as it was.
    const std::string nav = (dir / "quil3430.26n").string();
    const std::string before = tooltest::readText(nav);
    run = tooltest::runProgram(QUILLON_SCAN_TOOL, dir, {"--breaks", nav, obs});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(tooltest::readText(dir / "err.txt").find("is a file of the scan"), std::string::npos);
    EXPECT_EQ(tooltest::readText(nav), before);

    run = tooltest::runProgram(QUILLON_SCAN_TOOL, dir,
                               {"--sky", (dir / "no-such-folder" / "sky.csv").string(), obs});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(tooltest::readText(dir / "err.txt").find("cannot write"), std::string::npos);
}

} // namespace
