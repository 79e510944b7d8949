// Builds the record files of a 1 Hz daily observation file (86,400 epochs, 25 satellites,
// 8 observation types, external events on both inputs) in a scratch folder under /tmp, then
// times each observation view's computation over them and prints the figures.
//
//   views_bench [--epochs N] [--sats N] [--runs N]

#include "obs/ObsRecords.h"
#include "text/RecordFile.h"
#include "views/CombinationsView.h"
#include "views/EpochCalculator.h"
#include "views/EpochsView.h"
#include "views/EventsView.h"
#include "views/MeasurementsView.h"
#include "views/OccupationsView.h"
#include "views/SatellitesView.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The header's types: C1 P1 P2 L1 L2 D1 D2 S1 (codes 0 3 4 5 6 8 9 11).
constexpr std::size_t kTypes = 8;
constexpr std::array<std::size_t, kTypes> kTypeCodes = {0, 3, 4, 5, 6, 8, 9, 11};

struct Files {
    std::filesystem::path dir, epochs, obsRecs, xa, xb;
};

views::ObsTypeLayout layout() {
    views::ObsTypeLayout l;
    l.typeCount = static_cast<std::int32_t>(kTypes);
    for (std::size_t p = 0; p < kTypes; ++p)
        l.TypePosition[kTypeCodes[p]] = static_cast<std::int32_t>(p + 1);
    return l;
}

// Satellite k of epoch i: 20 GPS satellites, then GLONASS; the set turns every hour.
obs::EpochSat satelliteOf(std::int32_t i, std::int32_t k) {
    const std::int32_t turn = i / 3600;
    if (k < 20)
        return {k % 3 == 0 ? ' ' : 'G', (k + turn) % 32 + 1};
    return {'R', (k - 20 + turn) % 24 + 1};
}

void buildFiles(const Files& f, std::int32_t epochs, std::int32_t sats, std::int32_t events) {
    text::RecordFile e, o, a, b;
    e.create(f.epochs, obs::kEpochRecSize);
    o.create(f.obsRecs, obs::kObsRecSize);
    a.create(f.xa, obs::kExtEventRecSize);
    b.create(f.xb, obs::kExtEventRecSize);
    std::vector<std::byte> cells;
    for (std::int32_t i = 0; i < epochs; ++i) {
        obs::TEpochRec r;
        r.time = {2009, 5, 25, i / 3600, i / 60 % 60, static_cast<long double>(i % 60)};
        r.satCount = sats;
        for (std::int32_t k = 0; k < sats && k < 60; ++k) {
            r.sats[static_cast<std::size_t>(k)] = satelliteOf(i, k);
            r.countR += r.sats[static_cast<std::size_t>(k)].system == 'R';
        }
        r.occupation.markerName = "BENCH";
        r.occupation.isStatic = (i / 7200) % 2 == 0;
        e.append(obs::encode(r));
        cells.clear();
        for (std::int32_t k = 0; k < sats; ++k) {
            for (std::size_t p = 0; p < kTypes; ++p) {
                obs::TObsRec c;
                const long double t = i;
                c.value = p < 3   ? 20000000.0L + 100 * k + 0.5L * t
                          : p < 5 ? 1.0e8L + 0.3L * t
                                  : -1000.0L + k;
                if (p == 7)
                    c.value = 40 + k % 10;
                c.strength = static_cast<std::uint8_t>(1 + (k + i) % 9);
                const auto bytes = obs::encode(c);
                cells.insert(cells.end(), bytes.begin(), bytes.end());
            }
        }
        o.appendRecords(cells);
    }
    for (std::int32_t j = 0; j < events; ++j) {
        obs::TExtEventRec x;
        x.time = {2009, 5, 25, j / 3600, j / 60 % 60, (j % 60) + 0.0004L};
        a.append(obs::encode(x));
        x.inputA = false;
        x.time.seconds = (j % 60) + 0.5006L;
        b.append(obs::encode(x));
    }
    e.flush();
    o.flush();
    a.flush();
    b.flush();
}

struct Timing {
    double first = 0, best = 1e300;
};

Timing timeIt(int runs, const std::function<std::size_t()>& work, std::size_t& points) {
    Timing t;
    for (int r = 0; r < runs; ++r) {
        const auto a = Clock::now();
        points = work();
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - a).count();
        if (r == 0)
            t.first = ms;
        t.best = std::min(t.best, ms);
    }
    return t;
}

} // namespace

int main(int argc, char** argv) {
    std::int32_t epochs = 86400, sats = 25, runs = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--epochs") == 0)
            epochs = std::max(2, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--sats") == 0)
            sats = std::clamp(std::atoi(argv[i + 1]), 1, 60);
        else if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::max(1, std::atoi(argv[i + 1]));
    }
    const std::int32_t events = 3600;
    Files f;
    f.dir = std::filesystem::path("/tmp") / ("views_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(f.dir);
    f.epochs = f.dir / "RinexEpochs.dat";
    f.obsRecs = f.dir / "ObsRecs.dat";
    f.xa = f.dir / "ExtEventRecsXA.dat";
    f.xb = f.dir / "ExtEventRecsXB.dat";

    const auto b0 = Clock::now();
    buildFiles(f, epochs, sats, events);
    const double buildS = std::chrono::duration<double>(Clock::now() - b0).count();
    std::error_code ec;
    std::printf("record files: %d epochs x %d satellites x %zu types, built in %.1f s\n", epochs,
                sats, kTypes, buildS);
    std::printf("  RinexEpochs.dat %8.1f MB\n",
                static_cast<double>(std::filesystem::file_size(f.epochs, ec)) / 1e6);
    std::printf("  ObsRecs.dat     %8.1f MB\n",
                static_cast<double>(std::filesystem::file_size(f.obsRecs, ec)) / 1e6);
    std::printf("  ExtEventRecsXA/XB.dat %d events each\n\n", events);

    std::vector<std::string> list;
    list.reserve(static_cast<std::size_t>(epochs));
    for (std::int32_t i = 1; i <= epochs; ++i)
        list.push_back(" 25/05/2009  00:00:00.000         25   " + std::to_string(i));
    const auto l = layout();
    std::printf("%-44s %10s %10s %9s\n", "computation (per call, re-reading files)", "first ms",
                "best ms", "points");
    const auto row = [&](const char* name, const std::function<std::size_t()>& work) {
        std::size_t points = 0;
        const Timing t = timeIt(runs, work, points);
        std::printf("%-44s %10.1f %10.1f %9zu\n", name, t.first, t.best, points);
    };
    row("epochs labels",
        [&] { return views::computeEpochsView(list, 1000, 0, 0, epochs).STStart.size(); });
    row("satellites (5 series)", [&] {
        const auto v = views::computeSatellitesView(f.epochs, epochs, 1000, sats, sats);
        std::size_t n = 0;
        for (const auto& s : v.series)
            n += s.size();
        return n;
    });
    for (const auto& [name, code, type] :
         {std::tuple{"measurements C1 of G 2", "G 2", std::size_t{0}},
          std::tuple{"measurements L1 of G 1 (blank letter)", "G 1", std::size_t{5}},
          std::tuple{"measurements S1 of R 3", "R 3", std::size_t{11}},
          std::tuple{"measurements C1 of E 1 (absent)", "E 1", std::size_t{0}}}) {
        row(name, [&, c = code, t = type] {
            const auto m = views::chartMeasurement(f.epochs, f.obsRecs, epochs, l, c, t);
            return m.values.size() + m.strength.size();
        });
    }
    for (std::size_t item = 0; item < 4; ++item) {
        const std::string name = "combination " + std::to_string(item) + " of G 2";
        row(name.c_str(), [&] {
            return views::chartCombination(f.epochs, f.obsRecs, epochs, l, "G 2", item)
                .values.size();
        });
    }
    row("external events XA and XB", [&] {
        const auto v = views::computeEventsView(f.xa, f.xb, events, events, true, true);
        return v.series[0].size() + v.series[1].size();
    });
    row("occupations (list and chart)", [&] {
        const auto v = views::computeOccupationsView(f.epochs, epochs, "REC1", ".");
        return v.staticSeries.size() + v.kinematicSeries.size();
    });
    row("calculator load", [&] {
        views::EpochCalculator calc;
        calc.load(f.epochs, epochs);
        return static_cast<std::size_t>(calc.count());
    });
    std::filesystem::remove_all(f.dir, ec);
    return 0;
}
