#pragma once

#include "scan/RunSetup.h"
#include "scan/ScanDriver.h"
#include "text/ScanObserver.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace hostile {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// ---- RINEX fixtures -------------------------------------------------------------------------

/// A header line: content padded to 60 columns, then the label.
inline std::string H(std::string_view content, std::string_view label) {
    std::string s(content);
    s.resize(60, ' ');
    return s + std::string(label);
}

/// The lines of all parts, each ended by CR LF.
inline std::string fileOf(std::initializer_list<Lines> parts) {
    std::string text;
    for (const Lines& part : parts)
        for (const std::string& l : part)
            text += l + "\r\n";
    return text;
}

inline Lines obsHeader() {
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

/// Epoch n (0-based) 30 s after the one before, with G05 and G12, C1 and P2 of each.
inline Lines obsEpoch(int n) {
    char epoch[64];
    std::snprintf(epoch, sizeof epoch, " 09  1  5 %2d %2d %10.7f  0  2G05G12", n / 120 % 24,
                  (n / 2) % 60, (n % 2) * 30.0);
    return {epoch, "  21234567.123    21234568.123", "  22234567.123    22234568.123"};
}

inline Lines obsEpochs(int count) {
    Lines lines;
    for (int n = 0; n < count; ++n)
        for (std::string& l : obsEpoch(n))
            lines.push_back(std::move(l));
    return lines;
}

inline Lines gpsHeader() {
    return {
        H("     2.11           N: GPS NAV DATA", "RINEX VERSION / TYPE"),
        H("quillon             tester              20261210", "PGM / RUN BY / DATE"),
        H("    0.1118D-07  0.2235D-07 -0.5960D-07 -0.1192D-06", "ION ALPHA"),
        H("    0.1167D+06  0.1638D+05 -0.1311D+06 -0.3932D+06", "ION BETA"),
        H("    0.133179128170D-06 0.107469588780D-12   552960     1025", "DELTA-UTC: A0,A1,T,W"),
        H("    15", "LEAP SECONDS"),
        H("", "END OF HEADER"),
    };
}

/// One GPS ephemeris of satellite prn (two characters) at 12:00 on the given day of March 2010.
inline Lines gpsRecord(std::string_view prn, int day = 5) {
    char epoch[96];
    std::snprintf(epoch, sizeof epoch,
                  "%.2s 10  3%3d 12  0  0.0 0.500000000000D+00-0.250000000000D+00 "
                  "0.125000000000D+00",
                  std::string(prn).c_str(), day % 100);
    return {
        epoch,
        "    0.450000000000D+02 1.5D+00 6.283185307179586D+00 3.141592653589793D+00",
        "   -0.500000000000D+00 0.781250000000D-02 0.250000000000D+00 0.515350000000D+04",
        "    0.475200000000D+06 0.125000000000D+00-3.141592653589793D+00-2.0D+00",
        "    0.000000000000D+00 250.5D+00 1.5707963267948965D+00-6.283185307179586D+00",
        "    0.785398163397D+00 0.100000000000D+01 0.157300000000D+04 0.100000000000D+01",
        "    0.200000000000D+01 0.000000000000D+00-0.500000000000D+00 0.301000000000D+03",
        "    0.475000000000D+06",
    };
}

inline Lines meteoHeader() {
    return {
        H("     2.11           METEOROLOGICAL DATA", "RINEX VERSION / TYPE"),
        H("quillon             tester              20261210", "PGM / RUN BY / DATE"),
        H("SITE", "MARKER NAME"),
        H("     3    PR    TD    HR", "# / TYPES OF OBSERV"),
        H("QUILLON MET         BAROMETER                     0.1    PR", "SENSOR MOD/TYPE/ACC"),
        H("", "END OF HEADER"),
    };
}

/// Meteo epoch n, one second after the one before.
inline std::string meteoLine(int n) {
    char line[64];
    std::snprintf(line, sizeof line, " 09  1  5 %2d %2d %2d 1013.2   15.1   63.2", n / 3600 % 24,
                  n / 60 % 60, n % 60);
    return line;
}

// ---- files ------------------------------------------------------------------------------------

inline void writeBytes(const fs::path& name, std::string_view bytes) {
    std::ofstream out(name, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string readBytes(const fs::path& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// A private folder for one test, removed with everything in it afterwards.
class Scratch {
public:
    explicit Scratch(const std::string& tag)
        : path(fs::temp_directory_path() /
               ("quillon-hostile-" + tag + "-" + std::to_string(::getpid()))) {
        std::error_code ec;
        fs::remove_all(path, ec);
        fs::create_directories(path);
    }
    ~Scratch() {
        std::error_code ec;
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path, ec);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    std::string file(const std::string& name) const { return (path / name).string(); }

    const fs::path path;
};

/// What stands in a folder tree: per relative path its kind, size, bytes digest and
/// modification time, so that a comparison shows any file made, changed or touched.
struct Entry {
    char kind = '?'; // f file, d folder, l link, p fifo, o other
    std::uintmax_t size = 0;
    std::size_t digest = 0;
    fs::file_time_type mtime{};
    bool operator==(const Entry&) const = default;
};
using Tree = std::map<std::string, Entry>;

inline Tree snapshot(const fs::path& root) {
    Tree tree;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::file_status st = it->symlink_status(ec);
        Entry e;
        e.kind = fs::is_symlink(st)        ? 'l'
                 : fs::is_directory(st)    ? 'd'
                 : fs::is_fifo(st)         ? 'p'
                 : fs::is_regular_file(st) ? 'f'
                                           : 'o';
        if (e.kind == 'f') {
            e.size = fs::file_size(it->path(), ec);
            e.digest = std::hash<std::string>{}(readBytes(it->path()));
        }
        if (e.kind != 'l')
            e.mtime = fs::last_write_time(it->path(), ec);
        tree[fs::relative(it->path(), root, ec).string()] = e;
    }
    return tree;
}

/// The names in `after` that are not in `before`, and those that differ or went.
inline std::vector<std::string> changes(const Tree& before, const Tree& after) {
    std::vector<std::string> out;
    for (const auto& [name, e] : after) {
        const auto it = before.find(name);
        if (it == before.end())
            out.push_back("new " + name);
        else if (!(it->second == e))
            out.push_back("changed " + name);
    }
    for (const auto& [name, e] : before)
        if (after.find(name) == after.end())
            out.push_back("gone " + name);
    return out;
}

// ---- the driver ---------------------------------------------------------------------------------

/// Keeps the message boxes; asks for a stop at a chosen poll of the data scan.
class Observer final : public text::ScanObserver {
public:
    void progress(double) override {}
    void status(std::string_view) override {}
    void notice(std::string_view text) override { notices.emplace_back(text); }
    void pollInput() override {
        ++polls;
        if (stopAtPoll != 0 && polls == stopAtPoll)
            stop = true;
    }
    bool stopRequested() const override { return stop; }
    void clearStop() override { stop = false; }
    void busy(bool) override {}
    void waitNotice(bool) override {}
    void epochShown(std::string_view, std::string_view) override {}
    void repaint() override {}
    void pause(int) override {}

    std::vector<std::string> notices;
    int polls = 0;
    int stopAtPoll = 0; // 0: never
    bool stop = false;
};

/// A driver set up with its working directory in a scratch folder, beside the inputs folder.
struct Rig {
    explicit Rig(const std::string& tag, text::FreeSpaceFunction freeSpace = roomy)
        : scratch(tag), inputs(scratch.path / "in"), start(scratch.path / "start"),
          driver(observer, std::move(freeSpace)) {
        fs::create_directories(inputs);
        fs::create_directories(start);
        scan::SetUpRun(driver.run(), ".", start);
    }
    static std::uint64_t roomy(const fs::path&) { return 1ull << 40; }

    std::string put(const std::string& name, std::string_view content) const {
        const fs::path path = inputs / name;
        writeBytes(path, content);
        return path.string();
    }
    std::string in(const std::string& name) const { return (inputs / name).string(); }
    bool choose(const std::string& path) {
        return driver.BBInputClick([path] { return std::optional<std::string>(path); });
    }
    /// Chooses the file and scans it; the result of the scan.
    bool scan(const std::string& path) { return choose(path) && driver.BBScanClick(); }
    const scan::WindowState& w() const { return driver.window(); }
    const scan::FileIndicators& ind(text::FileKind kind) const {
        return driver.window().files[static_cast<std::size_t>(kind)];
    }
    std::uintmax_t recordBytes(scan::TempFile f) const {
        std::error_code ec;
        const auto size = fs::file_size(driver.run().recordFileName(f), ec);
        return ec ? 0 : size;
    }

    Scratch scratch;
    fs::path inputs;
    fs::path start;
    Observer observer;
    scan::TScanDriver driver;
};

// ---- guards ------------------------------------------------------------------------------------

/// Opens a fifo for writing and closes it again whenever a reader blocks on it, once the grace
/// time has passed: a scan that waits for a writer is released (and the test can fail) instead
/// of hanging. rescued() tells whether that was needed.
class FifoRescue {
public:
    explicit FifoRescue(std::vector<std::string> fifos,
                        std::chrono::milliseconds grace = std::chrono::seconds(5))
        : m_fifos(std::move(fifos)), m_thread([this, grace] { run(grace); }) {}
    ~FifoRescue() {
        m_done = true;
        m_thread.join();
    }
    FifoRescue(const FifoRescue&) = delete;
    FifoRescue& operator=(const FifoRescue&) = delete;
    bool rescued() const { return m_rescued; }

private:
    void run(std::chrono::milliseconds grace) {
        const auto until = std::chrono::steady_clock::now() + grace;
        while (!m_done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (std::chrono::steady_clock::now() < until)
                continue;
            for (const std::string& f : m_fifos) {
                // Succeeds only while a reader has the fifo open.
                const int fd = ::open(f.c_str(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    m_rescued = true;
                    ::close(fd);
                }
            }
        }
    }

    std::vector<std::string> m_fifos;
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_rescued{false};
    std::thread m_thread;
};

/// The peak resident size of the process so far, in bytes.
inline std::uint64_t peakBytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::uint64_t>(usage.ru_maxrss) * 1024u;
}

/// Sanitizers keep shadow memory and quarantines: peak sizes then say nothing of the program.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kPeakMeaningful = false;
#else
inline constexpr bool kPeakMeaningful = true;
#endif

} // namespace hostile
