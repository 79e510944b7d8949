#pragma once

#include "header/HeaderData.h"
#include "obs/ObsFileO.h"
#include "text/Diagnostics.h"
#include "text/DiskSpace.h"
#include "text/RecordFile.h"
#include "text/ScanObserver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace obstest {

/// Content in columns 1-60 and a label in 61-80.
inline std::string H(std::string_view content, std::string_view label) {
    std::string s(content);
    s.resize(60, ' ');
    std::string l(label);
    l.resize(20, ' ');
    return s + l;
}

inline std::string versionLine(char system = 'G') {
    std::string s = "     2.11";
    s.resize(20, ' ');
    s += "OBSERVATION DATA";
    s.resize(40, ' ');
    s += system;
    return H(s, "RINEX VERSION / TYPE");
}

/// "     5    L1    L2    C1    P1    P2" and so on: the count and up to nine types.
inline std::string typesLine(const std::vector<std::string>& types, int count = -1) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%6d", count < 0 ? static_cast<int>(types.size()) : count);
    std::string s = buf;
    for (const auto& t : types)
        s += "    " + t;
    return H(s, "# / TYPES OF OBSERV");
}

/// The type list over as many "# / TYPES OF OBSERV" lines as it needs: nine types a line, the
/// count in columns 1-6 of the first line only.
inline std::vector<std::string> typesLines(const std::vector<std::string>& types, int count = -1) {
    std::vector<std::string> lines;
    for (std::size_t first = 0; first == 0 || first < types.size(); first += 9) {
        const auto end = types.begin() + static_cast<long>(std::min(first + 9, types.size()));
        std::string line =
            typesLine(std::vector<std::string>(types.begin() + static_cast<long>(first), end),
                      count < 0 ? static_cast<int>(types.size()) : count);
        if (first > 0)
            line.replace(0, 6, "      ");
        lines.push_back(line);
    }
    return lines;
}

inline std::string endLine() {
    return H("", "END OF HEADER");
}

/// An epoch line in the RINEX 2 layout; sats is the satellite list as written ("G01G02").
inline std::string epochLine(int yy, int mo, int dd, int h, int mi, double sec, int flag, int count,
                             std::string_view sats, std::string_view clock = "") {
    char buf[64];
    std::snprintf(buf, sizeof buf, " %02d%3d%3d%3d%3d%11.7f%3d%3d", yy, mo, dd, h, mi, sec, flag,
                  count);
    std::string s = std::string(buf) + std::string(sats);
    if (!clock.empty()) {
        s.resize(68, ' ');
        s += clock;
    }
    return s;
}

/// An observation line: each value F14.3 followed by its LLI and strength characters.
struct Obs {
    double value;
    char lli = ' ';
    char strength = ' ';
};
inline std::string obsLine(std::initializer_list<Obs> values) {
    std::string s;
    char buf[32];
    for (const auto& v : values) {
        std::snprintf(buf, sizeof buf, "%14.3f", v.value);
        s += buf;
        s += v.lli;
        s += v.strength;
    }
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

/// Records what the scan shows; can ask to stop at the n-th input poll.
class RecordingObserver final : public text::ScanObserver {
public:
    void progress(double f) override { progressValues.push_back(f); }
    void status(std::string_view t) override { statusTexts.emplace_back(t); }
    void notice(std::string_view t) override { notices.emplace_back(t); }
    void pollInput() override { ++polls; }
    bool stopRequested() const override { return stopAtPoll > 0 && polls >= stopAtPoll; }
    void clearStop() override { ++stopsCleared; }
    void busy(bool on) override { busyStates.push_back(on); }
    void waitNotice(bool) override {}
    void epochShown(std::string_view d, std::string_view t) override {
        shownEpochs.push_back(std::string(d) + " " + std::string(t));
    }
    void repaint() override { ++repaints; }
    void pause(int ms) override { pauses.push_back(ms); }

    std::vector<double> progressValues;
    std::vector<std::string> statusTexts, notices, shownEpochs;
    std::vector<bool> busyStates;
    std::vector<int> pauses;
    int polls = 0, stopAtPoll = 0, stopsCleared = 0, repaints = 0;
};

/// One scan of a file made of the given lines, with record files in a scratch folder.
class Scan {
public:
    explicit Scan(const std::vector<std::string>& lines, std::string_view lineEnd = "\n",
                  bool lastLineEnd = true) {
        std::string body;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            body += lines[i];
            if (i + 1 < lines.size() || lastLineEnd)
                body += lineEnd;
        }
        init(body);
    }

    /// The header scan, then the data scan when the header passed.
    Scan& run(bool dataEvenIfHeaderFailed = false) {
        headerOk = scanner->ScanHeader();
        if (headerOk || dataEvenIfHeaderFailed)
            dataOk = scanner->ScanData();
        return *this;
    }

    std::vector<std::byte> fileBytes(text::RecordFile& f) {
        f.flush();
        std::ifstream in(f.path(), std::ios::binary);
        std::vector<char> chars((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        std::vector<std::byte> out(chars.size());
        for (std::size_t i = 0; i < chars.size(); ++i)
            out[i] = static_cast<std::byte>(chars[i]);
        return out;
    }

    ~Scan() {
        scanner.reset();
        for (auto* f : {&epochs, &observations, &events, &xa, &xb})
            f->close();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    std::filesystem::path dir;
    header::THeaderData header;
    text::DiagnosticList LBHeader, LBData;
    RecordingObserver observer;
    text::RecordFile epochs, observations, events, xa, xb;
    std::uint64_t freeBytes = 1ull << 40;
    std::unique_ptr<text::FreeSpaceGuard> guard;
    std::unique_ptr<obs::TObsFileO> scanner;
    bool headerOk = false, dataOk = false;

private:
    void init(const std::string& body) {
        static int counter = 0;
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::temp_directory_path() /
              ("obs_tests_" + std::to_string(::getpid()) + "_" + std::to_string(++counter) + "_" +
               (info ? info->name() : "x"));
        std::filesystem::create_directories(dir);
        const auto file = dir / "site0010.09o";
        {
            std::ofstream out(file, std::ios::binary);
            out << body;
        }
        epochs.create(dir / "RinexEpochs.dat", obs::kEpochRecSize);
        observations.create(dir / "ObsRecs.dat", obs::kObsRecSize);
        events.create(dir / "EventRecs.dat", obs::kEventRecSize);
        xa.create(dir / "ExtEventRecsXA.dat", obs::kExtEventRecSize);
        xb.create(dir / "ExtEventRecsXB.dat", obs::kExtEventRecSize);
        guard = std::make_unique<text::FreeSpaceGuard>(
            dir, [this](const std::filesystem::path&) { return freeBytes; });
        scanner = std::make_unique<obs::TObsFileO>(
            file, header, LBHeader, LBData, observer,
            obs::ObsRecordFiles{&epochs, &observations, &events, &xa, &xb}, *guard, "C:\\");
    }
};

/// "string N : message" then the raw line, for each expected diagnostic.
struct Diag {
    int line;
    std::string message;
    std::string raw;
};
inline std::vector<std::string> lines(const std::vector<Diag>& diags) {
    std::vector<std::string> out;
    for (const auto& d : diags) {
        out.push_back("string " + std::to_string(d.line) + " : " + d.message);
        out.push_back(d.raw);
    }
    return out;
}

} // namespace obstest
