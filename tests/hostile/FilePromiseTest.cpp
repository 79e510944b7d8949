#include "HostileSupport.h"
#include "Packed.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

using namespace hostile;
using testsupport::packed;

// The program never changes the files it checks and writes only into its temporary folder,
// and for a bare-line-feed input a converted copy beside it; the folder goes at close.

namespace {

/// Writes the observation file and all five companions, with the given line end.
std::vector<std::string> putAll(Rig& rig, std::string_view lineEnd, int epochs = 2) {
    auto ended = [lineEnd](std::string text) {
        std::string out;
        for (char c : text) {
            if (c == '\r')
                continue;
            if (c == '\n')
                out += lineEnd;
            else
                out.push_back(c);
        }
        return out;
    };
    Lines gal = gpsRecord("11");
    std::vector<std::string> names;
    names.push_back(rig.put("site0010.09o", ended(fileOf({obsHeader(), obsEpochs(epochs)}))));
    names.push_back(rig.put("site0010.09n", ended(fileOf({gpsHeader(), gpsRecord(" 5")}))));
    names.push_back(rig.put("site0010.09g", ended("noise that is no GLONASS file\r\n")));
    names.push_back(rig.put("site0010.09h", ended("noise that is no GEO file\r\n")));
    names.push_back(rig.put("site0010.09l", ended("noise that is no Galileo file\r\n")));
    names.push_back(
        rig.put("site0010.09m", ended(fileOf({meteoHeader(), {meteoLine(0), meteoLine(1)}}))));
    return names;
}

/// The tree of the rig's scratch folder (inputs and start folder) less the temporary folder.
Tree outside(const Rig& rig) {
    Tree t = snapshot(rig.scratch.path);
    const std::string temp =
        fs::relative(fs::path(rig.driver.run().TempDir), rig.scratch.path).string();
    const std::string tempName = temp.back() == '/' ? temp.substr(0, temp.size() - 1) : temp;
    for (auto it = t.begin(); it != t.end();) {
        if (it->first == tempName || it->first.rfind(tempName + "/", 0) == 0)
            it = t.erase(it);
        else
            ++it;
    }
    // The start folder's time changes with the temporary folder made and removed in it.
    t.erase("start");
    return t;
}

/// The diagnostics lines of the observation, GPS and meteo files, in list order.
std::vector<std::string> diagnosticsONM(const Rig& rig) {
    std::vector<std::string> lines;
    for (text::FileKind kind : {text::FileKind::O, text::FileKind::N, text::FileKind::M})
        for (const text::DiagnosticList* list :
             {&rig.driver.lists().header(kind), &rig.driver.lists().data(kind)})
            lines.insert(lines.end(), list->lines().begin(), list->lines().end());
    return lines;
}

} // namespace

TEST(FilePromise, ACompressedSetIsExpandedOnlyIntoTheTemporaryFolder) {
    Rig plain("promise-plain");
    const std::vector<std::string> plainInputs = putAll(plain, "\r\n");
    ASSERT_TRUE(plain.choose(plainInputs[0]));
    ASSERT_TRUE(plain.driver.BBScanClick());

    // The observation file in gzip with bare line feeds, the GPS file in compress, the meteo
    // file plain; the other companions are left out.
    Rig rig("promise-packed");
    const auto bytesOf = [](const std::string& path) {
        std::string s;
        std::FILE* f = std::fopen(path.c_str(), "rb");
        char b[4096];
        for (std::size_t got = 0; f != nullptr && (got = std::fread(b, 1, sizeof b, f)) > 0;)
            s.append(b, got);
        if (f != nullptr)
            std::fclose(f);
        return s;
    };
    std::string obsLf = bytesOf(plainInputs[0]);
    obsLf.erase(std::remove(obsLf.begin(), obsLf.end(), '\r'), obsLf.end());
    const std::string obs = rig.put("site0010.09o.gz", packed(obsLf, true));
    rig.put("site0010.09N.Z", packed(bytesOf(plainInputs[1]), false));
    rig.put("site0010.09m", bytesOf(plainInputs[5]));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(rig.choose(obs));
    const Tree before = outside(rig);
    ASSERT_TRUE(rig.driver.BBScanClick());
    EXPECT_EQ(outside(rig), before); // nothing new beside the inputs, nothing changed

    const scan::RunState& run = rig.driver.run();
    EXPECT_EQ(run.expansion(text::FileKind::O).from, "gzip");
    EXPECT_EQ(run.expansion(text::FileKind::N).from, "compress");
    EXPECT_FALSE(run.expansion(text::FileKind::M).expanded);
    EXPECT_EQ(rig.driver.window().file(text::FileKind::N).data,
              plain.driver.window().file(text::FileKind::N).data);
    EXPECT_EQ(rig.driver.window().file(text::FileKind::O).data,
              plain.driver.window().file(text::FileKind::O).data);
    // Line numbers are those of the expanded text: the same as in the plain files.
    EXPECT_EQ(diagnosticsONM(rig), diagnosticsONM(plain));
    ASSERT_NE(rig.driver.obsFile(), nullptr);
    EXPECT_EQ(rig.driver.obsFile()->writtenEpochs, plain.driver.obsFile()->writtenEpochs);
    EXPECT_EQ(rig.driver.EphemerisSatellites(scan::NavSystem::GPS), std::vector<int>{5});
    const std::string temp = run.TempDir;
    rig.driver.FormClose();
    EXPECT_FALSE(fs::exists(temp));
}

TEST(FilePromise, ACompactFileWhoseLastObservationIsBlankScansAsItsPlainPartner) {
    // Six types: two lines per satellite; the last satellite's sixth observation is blank,
    // so the plain file ends in a line of 16 blanks, which compact RINEX keeps as nothing.
    Lines header = obsHeader();
    for (std::string& line : header)
        if (line.find("# / TYPES OF OBSERV") != std::string::npos)
            line = H("     6    C1    P2    L1    L2    S1    S2", "# / TYPES OF OBSERV");
    const std::string values[6] = {"21234567.123", "21234568.123", "111588777.321",
                                   "86952301.789", "45.250",       "41.500"};
    Lines plainLines = header;
    std::string compact =
        "1.0                 COMPACT RINEX FORMAT                    CRINEX VERS   / TYPE\n"
        "quillon-test                            05-Jan-09 00:00     CRINEX PROG / DATE\n";
    for (const std::string& line : header)
        compact += line + "\n";
    const char* const epochs[2] = {" 09  1  5  0  0  0.0000000  0  2G05G12",
                                   " 09  1  5  0  0 30.0000000  0  2G05G12"};
    for (int n = 0; n < 2; ++n) {
        plainLines.emplace_back(epochs[n]);
        compact += (n == 0 ? "&" + std::string(epochs[0] + 1) : std::string(16, ' ') + "3");
        compact += "\n\n"; // and no receiver clock
        for (int sat = 0; sat < 2; ++sat) {
            const bool blankLast = n == 1 && sat == 1;
            std::string first;
            std::string fields;
            for (int t = 0; t < 5; ++t) {
                first += std::string(14 - values[t].size(), ' ') + values[t] + "  ";
                std::string digits = values[t];
                digits.erase(digits.find('.'), 1);
                fields += (t > 0 ? " 3&" : "3&") + digits;
            }
            plainLines.push_back(first.substr(0, first.size() - 2));
            plainLines.push_back(blankLast ? std::string(16, ' ')
                                           : std::string(14 - values[5].size(), ' ') + values[5]);
            compact += fields + (blankLast ? "" : " 3&41500") + "\n";
        }
    }
    Rig plain("blank-last-plain");
    ASSERT_TRUE(plain.scan(plain.put("site0050.09o", fileOf({plainLines}))));
    Rig rig("blank-last-compact");
    ASSERT_TRUE(rig.scan(rig.put("site0050.09d", compact)));

    EXPECT_EQ(rig.driver.run().expansion(text::FileKind::O).from, "compact RINEX 1.0");
    EXPECT_TRUE(rig.driver.run().expansion(text::FileKind::O).complete);
    EXPECT_EQ(diagnosticsONM(rig), diagnosticsONM(plain));
    EXPECT_TRUE(diagnosticsONM(rig).empty());
    ASSERT_NE(rig.driver.obsFile(), nullptr);
    EXPECT_EQ(rig.driver.obsFile()->writtenEpochs, 2);
    EXPECT_EQ(rig.driver.obsFile()->writtenEpochs, plain.driver.obsFile()->writtenEpochs);
    EXPECT_EQ(rig.ind(text::FileKind::O).data, plain.ind(text::FileKind::O).data);
}

TEST(FilePromise, AScanChangesNoInputAndWritesOnlyIntoItsTemporaryFolder) {
    const struct {
        std::string_view lineEnd;
        std::vector<std::string> copies; // the converted copies expected beside the inputs
        const char* reason;
    } kCases[] = {
        {"\r\n", {}, "CR LF files are read as they are"},
        {"\n",
         {"changed in", "new in/site0010_0.09g", "new in/site0010_0.09h", "new in/site0010_0.09l",
          "new in/site0010_0.09m", "new in/site0010_0.09n", "new in/site0010_0.09o"},
         "bare line feeds: a converted copy beside each input (the folder changes with them)"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        Rig rig("promise");
        const std::vector<std::string> inputs = putAll(rig, c.lineEnd);
        // Modification times are of the file system's resolution: let the clock move on first.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_TRUE(rig.choose(inputs[0]));
        const Tree before = outside(rig);
        const Tree inputsBefore = snapshot(rig.inputs);
        ASSERT_TRUE(rig.driver.BBScanClick());
        std::vector<std::string> made = changes(before, outside(rig));
        std::sort(made.begin(), made.end());
        EXPECT_EQ(made, c.copies);
        for (const auto& [name, entry] : inputsBefore) {
            SCOPED_TRACE(name);
            EXPECT_EQ(snapshot(rig.inputs).at(name), entry); // bytes and time unchanged
        }
        const std::string temp = rig.driver.run().TempDir;
        ASSERT_TRUE(fs::is_directory(temp));
        rig.driver.FormClose();
        EXPECT_FALSE(fs::exists(temp));
        EXPECT_EQ(fs::directory_iterator(rig.start), fs::directory_iterator());
    }
}

TEST(FilePromise, TheTemporaryFolderGoesAfterAStoppedScan) {
    Rig rig("promise-stop");
    const std::vector<std::string> inputs = putAll(rig, "\r\n", 3000); // 9010 lines
    rig.observer.stopAtPoll = 1;                                       // at line 5000
    ASSERT_TRUE(rig.choose(inputs[0]));
    const Tree inputsBefore = snapshot(rig.inputs);
    ASSERT_TRUE(rig.driver.BBScanClick());
    EXPECT_EQ(rig.observer.polls, 1);
    EXPECT_EQ(rig.w().ST_NFileStr, "5000"); // ended as if the file had ended there
    const std::string temp = rig.driver.run().TempDir;
    rig.driver.FormClose();
    EXPECT_FALSE(fs::exists(temp));
    EXPECT_EQ(changes(inputsBefore, snapshot(rig.inputs)), std::vector<std::string>{});
    EXPECT_EQ(fs::directory_iterator(rig.start), fs::directory_iterator());
}

TEST(FilePromise, TheTemporaryFolderGoesAfterAFailedScan) {
    const struct {
        const char* reason;
        std::function<std::string(Rig&)> input;
    } kCases[] = {
        {"a missing file", [](Rig& rig) { return rig.in("none0010.09o"); }},
        {"an empty file", [](Rig& rig) { return rig.put("empty010.09o", ""); }},
        {"a failed header",
         [](Rig& rig) { return rig.put("head0010.09o", "not a RINEX header\r\n"); }},
        {"a header only", [](Rig& rig) { return rig.put("only0010.09o", fileOf({obsHeader()})); }},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reason);
        Rig rig("promise-fail");
        const std::string name = c.input(rig);
        ASSERT_TRUE(rig.choose(name));
        const Tree inputsBefore = snapshot(rig.inputs);
        rig.driver.BBScanClick();
        const std::string temp = rig.driver.run().TempDir;
        rig.driver.FormClose();
        EXPECT_FALSE(fs::exists(temp));
        EXPECT_EQ(changes(inputsBefore, snapshot(rig.inputs)), std::vector<std::string>{});
        EXPECT_EQ(fs::directory_iterator(rig.start), fs::directory_iterator());
    }
}
