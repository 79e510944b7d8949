// Writes a 1 Hz day of generated data (GPS, GLONASS, SBAS and Galileo with their navigation
// files) into a scratch folder under /tmp, scans it with the scan driver, then times the
// quality computation over the record files it left and prints the figures.
//
//   quality_bench [--interval S] [--sats G=..,R=..,S=..,E=..] [--runs N]

#include "scan/InputFile.h"
#include "scan/RunSetup.h"
#include "scan/ScanDriver.h"
#include "text/ScanObserver.h"
#include "tools/gen/Generator.h"
#include "tools/gen/Options.h"
#include "views/QualityScan.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

// User and system processor time of the process so far: on a busy machine the wall time says
// more about the other processes.
double cpuSeconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    const auto s = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return s(u.ru_utime) + s(u.ru_stime);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> genArgs = {"--interval", "1", "--types", "C1,P1,P2,L1,L2,D1,S1,S2"};
    int runs = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--runs")
            runs = std::max(1, std::atoi(argv[i + 1]));
        else if (a == "--interval" || a == "--sats")
            genArgs.insert(genArgs.end(), {a, argv[i + 1]});
    }
    const std::filesystem::path dir =
        std::filesystem::path("/tmp") / ("quality_bench_" + std::to_string(::getpid()));
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    genArgs.insert(genArgs.end(), {"--out", dir.string()});

    gen::GenOptions options;
    bool help = false;
    std::string error;
    if (!gen::parseOptions(genArgs, options, help, error)) {
        std::fprintf(stderr, "quality_bench: %s\n", error.c_str());
        return 2;
    }
    auto t0 = Clock::now();
    gen::GenResult generated;
    if (!gen::generate(options, generated, error)) {
        std::fprintf(stderr, "quality_bench: %s\n", error.c_str());
        return 2;
    }
    std::printf("generated %lld epochs of %d satellites (%.0f MB) in %.1f s\n",
                static_cast<long long>(generated.epochs), generated.satellitesSeen,
                static_cast<double>(generated.observationBytes) / 1e6, secondsSince(t0));

    text::NullScanObserver observer;
    scan::TScanDriver driver(observer);
    scan::SetUpRun(driver.run(), ".", dir);
    scan::ChooseObservationFile(driver.run(), generated.files.front());
    t0 = Clock::now();
    if (!driver.BBScanClick()) {
        std::fprintf(stderr, "quality_bench: the scan did not run\n");
        return 2;
    }
    std::printf("scanned in %.1f s\n\n", secondsSince(t0));

    const views::QualitySources sources = views::qualitySources(driver);
    std::printf("%-40s %10s %10s %12s\n", "quality computation", "first ms", "best ms",
                "best cpu ms");
    const auto time = [&](const char* name, const views::QualityOptions& o) {
        double first = 0, best = 1e300, bestCpu = 1e300;
        views::QualityReport r;
        for (int k = 0; k < runs; ++k) {
            const auto a = Clock::now();
            const double c = cpuSeconds();
            r = views::computeQuality(sources, {}, o);
            const double ms = secondsSince(a) * 1000;
            bestCpu = std::min(bestCpu, (cpuSeconds() - c) * 1000);
            if (k == 0)
                first = ms;
            best = std::min(best, ms);
        }
        std::printf("%-40s %10.1f %10.1f %12.1f\n", name, first, best, bestCpu);
        return r;
    };
    const views::QualityReport r = time("figures (quillon-scan --quality)", {});
    views::QualityOptions tracks;
    tracks.keepTracks = true;
    time("figures and the view's tracks", tracks);
    std::size_t rows = 0;
    views::QualityOptions sky;
    sky.onSky = [&](double, std::string_view, double, double) { ++rows; };
    time("figures and every sky row", sky);
    std::printf("\n%d epochs, %zu satellites, %lld satellite epochs, MP1 RMS %.3f m, %lld slips, "
                "%lld of %lld expected epochs observed\n",
                r.epochsRead, r.satellites.size(), static_cast<long long>(r.file.epochs),
                r.file.mp1Rms().value_or(0), static_cast<long long>(r.file.slips()),
                static_cast<long long>(r.file.observed), static_cast<long long>(r.file.expected));
    driver.FormClose();
    std::filesystem::remove_all(dir, ec);
    return 0;
}
