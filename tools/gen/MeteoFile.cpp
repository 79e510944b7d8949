#include "tools/gen/Calendar.h"
#include "tools/gen/Format.h"
#include "tools/gen/Plan.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>

namespace gen {

bool writeMeteoFile(const Plan& plan, const std::string& stem, GenResult& result,
                    std::string& error) {
    const GenOptions& o = plan.options;
    const std::string path = (std::filesystem::path(o.outDir) / (stem + "m")).string();
    FileSink sink;
    if (!sink.open(path)) {
        error = "cannot write " + path;
        return false;
    }
    std::string& out = sink.buf;
    out.append("     2.11           METEOROLOGICAL DATA");
    endHeaderLine(out, "RINEX VERSION / TYPE");
    appendProgramLine(out, plan);
    out.append("QUIL");
    endHeaderLine(out, "MARKER NAME");
    out.append("10901M001");
    endHeaderLine(out, "MARKER NUMBER");
    out.append("     3    PR    TD    HR");
    endHeaderLine(out, "# / TYPES OF OBSERV");
    struct Sensor {
        const char* model;
        const char* type;
        double accuracy;
        const char* obs;
    };
    const Sensor sensors[] = {{"QUILLON MET", "BAROMETER", 0.1, "PR"},
                              {"QUILLON MET", "THERMOMETER", 0.1, "TD"},
                              {"QUILLON MET", "HYGROMETER", 1.0, "HR"}};
    for (const Sensor& s : sensors) {
        appendText(out, s.model, 20);
        appendText(out, s.type, 20);
        out.append(6, ' ');
        appendFixed(out, s.accuracy, 7, 1);
        out.append(4, ' ');
        out.append(s.obs);
        endHeaderLine(out, "SENSOR MOD/TYPE/ACC");
    }
    // The sensors stand beside the antenna, a little lower.
    const Vec3 p = plan.station.marker;
    const double h = plan.station.height - 0.8;
    for (const Sensor& s : sensors) {
        appendFixed(out, p.x, 14, 4);
        appendFixed(out, p.y, 14, 4);
        appendFixed(out, p.z, 14, 4);
        appendFixed(out, h, 14, 4);
        out.push_back(' ');
        out.append(s.obs);
        endHeaderLine(out, "SENSOR POS XYZ/H");
    }
    endHeaderLine(out, "END OF HEADER");

    Random rng(o.seed * 0x100000001B3ull + 5);
    std::set<std::int64_t> spoilt;
    const std::int64_t records = (plan.end - plan.start + o.meteoInterval - 1) / o.meteoInterval;
    const auto wanted =
        std::min<std::int64_t>(o.bad[static_cast<std::size_t>(BadKind::Meteo)], records);
    while (static_cast<std::int64_t>(spoilt.size()) < wanted)
        spoilt.insert(rng.integer(0, records - 1));
    const double pressure0 = 1013.25 * std::pow(1 - 2.25577e-5 * plan.station.height, 5.25588);
    const double pressureSwing = rng.uniform(-4, 4);
    const double warmth = rng.uniform(2, 12);
    double walk = 0;
    std::int64_t k = 0;
    for (std::int64_t t = plan.start; t < plan.end; t += o.meteoInterval, ++k) {
        const double day = static_cast<double>(t - plan.start) / 86400.0;
        const double local =
            std::fmod(static_cast<double>(t) + plan.station.lon / (2 * kPi) * 86400.0, 86400.0) /
            3600.0;
        const double daily = std::cos(2 * kPi * (local - 15.0) / 24.0);
        walk += 0.02 * rng.normal();
        const double pr = pressure0 + pressureSwing * day + 0.6 * std::cos(4 * kPi * local / 24) +
                          walk + 0.05 * rng.normal();
        const double td = warmth + 5.5 * daily + 0.15 * rng.normal();
        const double hr = std::clamp(62.0 - 22.0 * daily + 1.0 * rng.normal(), 5.0, 100.0);
        const Civil c = civilTime(t);
        for (int v : {c.year % 100, c.month, c.day, c.hour, c.minute, c.second})
            appendInt(out, v, 3);
        appendFixed(out, pr, 7, 1);
        if (spoilt.count(k) != 0)
            appendFixed(out, td, 7, 2); // two decimals where F7.1 is due
        else
            appendFixed(out, td, 7, 1);
        appendFixed(out, hr, 7, 1);
        out.push_back('\n');
        if (!sink.flushIfLarge())
            break;
    }
    if (!sink.close()) {
        error = "cannot write " + path;
        return false;
    }
    result.files.push_back(path);
    return true;
}

} // namespace gen
