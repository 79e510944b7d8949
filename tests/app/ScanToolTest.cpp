#include "ToolSupport.h"

#include "app/ScanReport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

namespace {

std::string H(std::string_view content, std::string_view label) {
    std::string s(content);
    s.resize(60, ' ');
    return s + std::string(label);
}

Lines obsHeader() {
    return {
        H("     2.11           OBSERVATION DATA    M (MIXED)", "RINEX VERSION / TYPE"),
        H("quillon             tester              20261210", "PGM / RUN BY / DATE"),
        H("SITE", "MARKER NAME"),
        H("  4367923.2439   502759.4648  4605585.9325", "APPROX POSITION XYZ"),
        H("        1.5000        0.0000        0.0000", "ANTENNA: DELTA H/E/N"),
        H("     1     1", "WAVELENGTH FACT L1/2"),
        H("     2    C1    P2", "# / TYPES OF OBSERV"),
        H("    30.000", "INTERVAL"),
        H("  2009     1     5     0     0    0.0000000     GPS", "TIME OF FIRST OBS"),
        H("", "END OF HEADER"),
    };
}

// Two epochs 30 s apart of G05 and R07.
Lines obsData() {
    return {" 09  1  5  0  0  0.0000000  0  2G05R07",
            "  21234567.123    21234568.123",
            "  22234567.123",
            " 09  1  5  0  0 30.0000000  0  2G05R07",
            "  21234567.123    21234568.123",
            "  22234567.123"};
}

Lines gpsFile() {
    return {
        H("     2.11           N: GPS NAV DATA", "RINEX VERSION / TYPE"),
        H("quillon             tester              20261210", "PGM / RUN BY / DATE"),
        H("    15", "LEAP SECONDS"),
        H("", "END OF HEADER"),
        " 3 10  3  5 12  0  0.0 0.500000000000D+00-0.250000000000D+00 0.125000000000D+00",
        "    0.450000000000D+02 1.5D+00 6.283185307179586D+00 3.141592653589793D+00",
        "   -0.500000000000D+00 0.781250000000D-02 0.250000000000D+00 0.515350000000D+04",
        "    0.475200000000D+06 0.125000000000D+00-3.141592653589793D+00-2.0D+00",
        "    0.000000000000D+00 250.5D+00 1.5707963267948965D+00-6.283185307179586D+00",
        "    0.785398163397D+00 0.100000000000D+01 0.157300000000D+04 0.100000000000D+01",
        "    0.200000000000D+01 0.000000000000D+00-0.500000000000D+00 0.301000000000D+03",
        "    0.475000000000D+06",
    };
}

void writeFile(const fs::path& path, std::initializer_list<Lines> parts) {
    std::ofstream out(path, std::ios::binary);
    for (const Lines& part : parts)
        for (const std::string& l : part)
            out << l << "\r\n";
}

using tooltest::Folder;
using tooltest::ToolRun;

/// Runs quillon-scan in `workDir`; standard error goes to err.txt of the folder.
ToolRun runTool(const fs::path& workDir, const std::vector<std::string>& args) {
    return tooltest::runProgram(QUILLON_SCAN_TOOL, workDir, args);
}

std::string errText(const fs::path& workDir) {
    return tooltest::readText(workDir / "err.txt");
}

/// Every entry under a folder with its bytes and modification time.
std::map<std::string, std::pair<std::string, fs::file_time_type>> treeOf(const fs::path& root) {
    std::map<std::string, std::pair<std::string, fs::file_time_type>> tree;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        std::string bytes;
        if (e.is_regular_file()) {
            std::ifstream in(e.path(), std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        tree[fs::relative(e.path(), root).string()] = {bytes, e.last_write_time()};
    }
    return tree;
}

} // namespace

TEST(QuillonScan, ChangesNoInputAndLeavesNothingBehind) {
    const struct {
        const char* reason;
        std::string_view lineEnd;
        int status;
        std::vector<std::string> made; // in the inputs' folder
        std::string_view scanned = "site0050.09o";
    } kCases[] = {
        {"CR LF inputs", "\r\n", 0, {}},
        {"bare line feeds: a copy beside each input",
         "\n",
         0,
         {"site0050_0.09n", "site0050_0.09o"}},
        {"a header only", "", 1, {}},
        {"a missing file: the scan does not run", "\r\n", 2, {}, "none0050.09o"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        Folder f("promise");
        const fs::path in = f.path / "in";
        const fs::path work = f.path / "work";
        fs::create_directories(in);
        fs::create_directories(work);
        writeFile(in / "site0050.09o", {obsHeader(), c.lineEnd.empty() ? Lines{} : obsData()});
        writeFile(in / "site0050.09n", {gpsFile()});
        if (c.lineEnd == "\n") {
            for (const char* name : {"site0050.09o", "site0050.09n"}) {
                std::ifstream read(in / name, std::ios::binary);
                std::string text((std::istreambuf_iterator<char>(read)),
                                 std::istreambuf_iterator<char>());
                read.close();
                std::erase(text, '\r');
                std::ofstream(in / name, std::ios::binary) << text;
            }
        }
        const auto before = treeOf(in);
        const ToolRun run = runTool(work, {"--json", (in / c.scanned).string()});
        EXPECT_EQ(run.status, c.status) << errText(work);
        const auto after = treeOf(in);
        for (const auto& [name, entry] : before) {
            SCOPED_TRACE(name);
            ASSERT_TRUE(after.count(name));
            EXPECT_EQ(after.at(name), entry); // the same bytes, the same time
        }
        std::vector<std::string> made;
        for (const auto& [name, entry] : after)
            if (!before.count(name))
                made.push_back(name);
        EXPECT_EQ(made, c.made);
        // The working directory keeps only the test's own err.txt: the temporary folder went.
        std::vector<std::string> left;
        for (const auto& e : fs::directory_iterator(work))
            left.push_back(e.path().filename().string());
        EXPECT_EQ(left, std::vector<std::string>{"err.txt"});
    }
}

TEST(QuillonScan, AFullDiskIsToldAndFailsTheRun) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full on this system";
    Folder f("full");
    writeFile(f.path / "site0050.09o", {obsHeader(), obsData()});
    // The kept record file is a link to /dev/full, which refuses every write with ENOSPC.
    fs::create_directories(f.path / "rec");
    fs::create_symlink("/dev/full", f.path / "rec" / "RinexEpochs.dat");
    const ToolRun run = runTool(f.path, {"--json", "--records", "rec", "site0050.09o"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(errText(f.path), "Error Writing File RinexEpochs.dat ! \n");
    const auto j = nlohmann::json::parse(run.out, nullptr, false);
    ASSERT_FALSE(j.is_discarded()) << run.out;
    EXPECT_EQ(j["files"]["O"]["data"], "red");
    EXPECT_EQ(j["messages"], nlohmann::json::array({"Error Writing File RinexEpochs.dat ! "}));
    EXPECT_TRUE(fs::is_symlink(f.path / "rec" / "RinexEpochs.dat"));
}

TEST(QuillonScan, PrintsTheSummaryFiguresAsJsonAndKeepsTheRecords) {
    Folder f("json");
    writeFile(f.path / "site0050.09o", {obsHeader(), obsData()});
    writeFile(f.path / "site0050.09n", {gpsFile()});
    const ToolRun run = runTool(f.path, {"--json", "--records", "rec", "site0050.09o"});
    ASSERT_EQ(run.status, 0) << errText(f.path);
    const auto j = nlohmann::json::parse(run.out, nullptr, false);
    ASSERT_FALSE(j.is_discarded()) << run.out;

    EXPECT_EQ(j["file"], "site0050.09o");
    EXPECT_EQ(j["epochs"], 2);
    EXPECT_EQ(j["interval_ms"], 30000);
    EXPECT_EQ(j["gaps"], 0);
    EXPECT_EQ(j["missing_epochs"], 0);
    EXPECT_EQ(j["xa"], 0);
    EXPECT_EQ(j["xb"], 0);
    EXPECT_EQ(j["max_sats"], 2);
    EXPECT_EQ(j["min_sats"], 2);
    EXPECT_EQ(j["satellites"]["GPS"], nlohmann::json::array({5}));
    EXPECT_EQ(j["satellites"]["GLO"], nlohmann::json::array({7}));
    EXPECT_EQ(j["satellites"]["GEO"], nlohmann::json::array());
    EXPECT_EQ(j["ephemerides"]["GPS"], nlohmann::json::array({3}));
    EXPECT_EQ(j["ephemerides"]["GAL"], nlohmann::json::array());
    // The 14 codes of RINEX 2.10 first, then the 12 of the bands 6, 7 and 8.
    const auto ordered = nlohmann::ordered_json::parse(run.out);
    std::vector<std::string> keys;
    for (const auto& [key, value] : ordered["observations"].items())
        keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"C1", "C2", "C5", "P1", "P2", "L1", "L2", "L5", "D1",
                                              "D2", "D5", "S1", "S2", "S5", "C6", "C7", "C8", "L6",
                                              "L7", "L8", "D6", "D7", "D8", "S6", "S7", "S8"}));
    EXPECT_EQ(j["observations"]["C1"], 4);
    EXPECT_EQ(j["observations"]["P2"], 2);
    EXPECT_EQ(j["observations"]["L1"], 0);
    EXPECT_EQ(j["observations"]["C7"], 0);
    EXPECT_EQ(j["lines"], (nlohmann::json{{"file", 16}, {"header", 10}, {"data", 6}}));
    EXPECT_EQ(j["files"]["O"], (nlohmann::json{{"header", "lime"}, {"data", "lime"}}));
    EXPECT_EQ(j["files"]["N"], (nlohmann::json{{"header", "lime"}, {"data", "lime"}}));
    EXPECT_EQ(j["files"]["M"], (nlohmann::json{{"header", "silver"}, {"data", "silver"}}));
    EXPECT_EQ(j["errors"], false);
    EXPECT_EQ(j["diagnostics"]["O"]["data"], nlohmann::json::array());
    EXPECT_EQ(j["messages"], nlohmann::json::array());

    EXPECT_EQ(fs::file_size(f.path / "rec" / "RinexEpochs.dat"), 2u * 640u);
    EXPECT_EQ(fs::file_size(f.path / "rec" / "EphemGPSRecs.dat"), 184u);
    EXPECT_TRUE(fs::exists(f.path / "rec" / "HeaderGPS.dat"));
}

TEST(QuillonScan, ListsDiagnosticsAndMessagesAndExitsWithOne) {
    Folder f("diag");
    Lines data = obsData();
    data.insert(data.begin() + 3, "a line that is no data line");
    data.push_back(std::string(90, '1')); // a long line: listed, and the message box follows
    writeFile(f.path / "site0050.09o", {obsHeader(), data});
    const ToolRun run = runTool(f.path, {"--json", "site0050.09o"});
    ASSERT_EQ(run.status, 1) << errText(f.path);
    const auto j = nlohmann::json::parse(run.out, nullptr, false);
    ASSERT_FALSE(j.is_discarded()) << run.out;
    const auto& lines = j["diagnostics"]["O"]["data"];
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].get<std::string>().rfind("string 14 : ", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1], "a line that is no data line");
    EXPECT_EQ(j["errors"], true);
    EXPECT_EQ(j["files"]["O"]["data"], "fuchsia");
    EXPECT_EQ(j["messages"], nlohmann::json::array({"There were long strings!"}));
    EXPECT_EQ(errText(f.path), "There were long strings!\n");
    // Without --records the temporary folder of the working directory is gone.
    EXPECT_FALSE(fs::exists(f.path / "TempQuillon"));
}

TEST(QuillonScan, TextReportShowsTheSummaryAndTheLists) {
    Folder f("text");
    Lines header = obsHeader();
    header.pop_back(); // the file ends inside its header
    writeFile(f.path / "site0050.09o", {header});
    const ToolRun run = runTool(f.path, {"site0050.09o"});
    EXPECT_EQ(run.status, 1);
    for (std::string_view expected :
         {"RINEX File site0050.09o\n", "   Epochs           0\n", "    Minimum  100\n",
          " Errors \n    Yes\n", "    Observation File     header red      data red\n",
          "    Meteo File           header silver   data silver\n",
          "O (Observation) - Header of file site0050.09o\n",
          " Measurements\n    C1 0    C2 0    C5 0    P1 0    P2 0    L1 0    L2 0\n"
          "    L5 0    D1 0    D2 0    D5 0    S1 0    S2 0    S5 0\n"
          "    C6 0    C7 0    C8 0    L6 0    L7 0    L8 0\n"
          "    D6 0    D7 0    D8 0    S6 0    S7 0    S8 0\n Errors \n"}) {
        SCOPED_TRACE(expected);
        EXPECT_NE(run.out.find(expected), std::string::npos) << run.out;
    }
}

TEST(QuillonScan, ExitsWithTwoWhenTheScanCannotRun) {
    Folder f("norun");
    writeFile(f.path / "empty.09o", {});
    const struct {
        std::vector<std::string> args;
        std::string_view err; // the start of standard error
        const char* reason;
    } kCases[] = {
        {{"none.09o"}, "Error Opening File none.09o ! ", "a missing file"},
        {{"empty.09o"}, "File empty.09o is empty ! ", "an empty file"},
        {{}, "quillon-scan: no observation file given", "no file"},
        {{"--jsn", "empty.09o"}, "quillon-scan: unknown option --jsn", "a misspelt option"},
        {{"a.09o", "b.09o"}, "quillon-scan: only one observation file", "two files"},
        {{"empty.09o", "--records"}, "quillon-scan: --records needs a folder", "no folder"},
        {{"--records", "empty.09o/rec", "empty.09o"},
         "quillon-scan: cannot create the folder empty.09o/rec",
         "a record folder under a file"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        const ToolRun run = runTool(f.path, c.args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(errText(f.path).rfind(c.err, 0), 0u) << errText(f.path);
    }
    const ToolRun json = runTool(f.path, {"--json", "none.09o"});
    EXPECT_EQ(json.status, 2);
    const auto j = nlohmann::json::parse(json.out, nullptr, false);
    EXPECT_EQ(j["ran"], false);
    EXPECT_EQ(j["messages"], nlohmann::json::array({"Error Opening File none.09o ! "}));
}

TEST(ParseScanArguments, ReadsOptionsInAnyOrder) {
    app::ScanArguments a;
    std::string error;
    ASSERT_TRUE(app::ParseScanArguments({"x.09o", "--records", "out", "--json"}, a, error));
    EXPECT_TRUE(a.json);
    EXPECT_EQ(a.recordsDir, "out");
    EXPECT_EQ(a.obsFile, "x.09o");
    ASSERT_TRUE(app::ParseScanArguments({"--", "-odd.09o"}, a, error));
    EXPECT_EQ(a.obsFile, "-odd.09o");
}
