#include "app/QualityReport.h"

#include "scan/InputFile.h"
#include "scan/ScanDriver.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

namespace app {

namespace {

using json = nlohmann::ordered_json;

std::optional<double> numberOf(std::string_view text) {
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

json optionalNumber(const std::optional<double>& v, int decimals) {
    if (!v)
        return nullptr;
    const double scale = std::pow(10.0, decimals);
    return std::round(*v * scale) / scale;
}

json figuresJson(const views::QualityFigures& f) {
    json j = json::object();
    j["epochs"] = f.epochs;
    j["arcs"] = f.arcs;
    j["mp1_rms_m"] = optionalNumber(f.mp1Rms(), 4);
    j["mp2_rms_m"] = optionalNumber(f.mp2Rms(), 4);
    j["mp1_values"] = f.mp1Count;
    j["mp2_values"] = f.mp2Count;
    const auto count = [&](views::ArcBreak b) { return f.breaks[static_cast<std::size_t>(b)]; };
    j["slips"] = {{"lli", count(views::ArcBreak::Lli)},
                  {"iono", count(views::ArcBreak::Iono)},
                  {"mp", count(views::ArcBreak::Multipath)},
                  {"total", f.slips()}};
    j["breaks"] = {{"gap", count(views::ArcBreak::Gap)}, {"event", count(views::ArcBreak::Event)}};
    j["obs_per_slip"] = optionalNumber(f.obsPerSlip(), 1);
    j["iod_rms_cm_min"] = optionalNumber(f.ionoRateRms(), 2);
    j["iono_l1_mean_m"] = optionalNumber(f.ionoMean(), 3);
    j["orbit"] = f.orbit;
    j["expected"] = f.expected;
    j["observed"] = f.observed;
    j["below_mask"] = f.below;
    j["without_orbit"] = f.withoutOrbit;
    return j;
}

std::string fixed(const std::optional<double>& v, int width, int decimals) {
    char text[64];
    if (!v)
        std::snprintf(text, sizeof text, "%*s", width, "-");
    else
        std::snprintf(text, sizeof text, "%*.*f", width, decimals, *v);
    return text;
}

std::string integer(std::int64_t v, int width) {
    char text[32];
    std::snprintf(text, sizeof text, "%*lld", width, static_cast<long long>(v));
    return text;
}

std::string row(const views::QualityFigures& f) {
    const auto count = [&](views::ArcBreak b) { return f.breaks[static_cast<std::size_t>(b)]; };
    std::string s = "   ";
    s += f.name;
    s.append(f.name.size() < 5 ? 5 - f.name.size() : 1, ' ');
    s += integer(f.epochs, 7) + integer(f.arcs, 6);
    s += fixed(f.mp1Rms(), 9, 3) + fixed(f.mp2Rms(), 9, 3);
    s += integer(count(views::ArcBreak::Lli), 6) + integer(count(views::ArcBreak::Iono), 6) +
         integer(count(views::ArcBreak::Multipath), 6);
    s += fixed(f.obsPerSlip(), 10, 1);
    s += integer(f.expected, 10) + integer(f.observed, 10);
    const std::optional<double> complete =
        f.expected > 0 ? std::optional<double>(100.0 * static_cast<double>(f.observed) /
                                               static_cast<double>(f.expected))
                       : std::nullopt;
    s += fixed(complete, 9, 1);
    s += integer(f.below, 8);
    return s;
}

bool writeSky(std::FILE* out, double t, std::string_view sat, double az, double el) {
    // Four decimals; an azimuth that rounds up to 360 reads as 0.
    double a = std::round(az * 1e4) / 1e4;
    if (a >= 360.0)
        a -= 360.0;
    return std::fprintf(out, "%s,%.*s,%.4f,%.4f\n", views::isoGpsTime(t).c_str(),
                        static_cast<int>(sat.size()), sat.data(), a, el) > 0;
}

} // namespace

bool ParseQualityOption(const std::vector<std::string_view>& args, std::size_t& i,
                        QualityArguments& out, bool& handled, std::string& error) {
    const std::string_view a = args[i];
    handled = true;
    if (a == "--quality") {
        out.quality = true;
        return true;
    }
    const bool file = a == "--sky" || a == "--breaks";
    const bool number = a == "--mask" || a == "--gap" || a == "--iono-rate" || a == "--mp-jump" ||
                        a == "--mp-window";
    if (!file && !number) {
        handled = false;
        return true;
    }
    if (i + 1 >= args.size() || args[i + 1].empty()) {
        error = std::string(a) + (file ? " needs a file" : " needs a number");
        return false;
    }
    const std::string_view value = args[++i];
    if (a == "--sky") {
        out.skyFile = std::string(value);
        return true;
    }
    if (a == "--breaks") {
        out.breaksFile = std::string(value);
        return true;
    }
    const std::optional<double> v = numberOf(value);
    const bool whole = v && *v == std::floor(*v);
    views::QualitySettings& s = out.settings;
    if (a == "--mask" && v && *v >= -90 && *v <= 90) {
        s.maskDeg = *v;
    } else if (a == "--gap" && whole && *v >= 1 && *v <= 1000000) {
        s.gapIntervals = static_cast<int>(*v);
    } else if (a == "--iono-rate" && v && *v > 0) {
        s.ionoRateCmMin = *v;
    } else if (a == "--mp-jump" && v && *v > 0) {
        s.mpJumpM = *v;
    } else if (a == "--mp-window" && whole && *v >= 0 && *v <= 1000000) {
        s.mpWindow = static_cast<int>(*v);
    } else {
        error = std::string(a) + " cannot take " + std::string(value);
        return false;
    }
    return true;
}

json QualityJson(const views::QualityReport& r) {
    json q = json::object();
    const views::QualitySettings& s = r.settings;
    q["settings"] = {{"elevation_mask_deg", s.maskDeg},     {"gap_intervals", s.gapIntervals},
                     {"iono_rate_cm_min", s.ionoRateCmMin}, {"mp_jump_m", s.mpJumpM},
                     {"mp_window_epochs", s.mpWindow},      {"interval_s", r.intervalS},
                     {"leap_seconds", r.leapSeconds},       {"light_time", false}};
    q["station"] = r.station;
    q["orbits"] = r.orbits;
    json sats = json::object();
    for (const views::QualityFigures& f : r.satellites)
        sats[f.name] = figuresJson(f);
    q["satellites"] = std::move(sats);
    json systems = json::object();
    for (const views::QualityFigures& f : r.systems)
        systems[f.name] = figuresJson(f);
    q["systems"] = std::move(systems);
    q["file"] = figuresJson(r.file);
    q["messages"] = r.messages;
    return q;
}

std::string QualityText(const views::QualityReport& r) {
    std::string out;
    const auto line = [&out](std::string_view text) {
        out += text;
        out += '\n';
    };
    const views::QualitySettings& s = r.settings;
    char settings[200];
    std::snprintf(
        settings, sizeof settings,
        "   mask %g deg, new arc after %d intervals, iono %g cm/min, MP jump %g m, %s", s.maskDeg,
        s.gapIntervals, s.ionoRateCmMin, s.mpJumpM,
        s.mpWindow > 0
            ? ("MP less a " + std::to_string(s.mpWindow) + "-epoch moving average").c_str()
            : "MP less the arc mean");
    line(" Quality");
    line(settings);
    if (!r.station)
        line("   no usable APPROX POSITION XYZ: no elevations, no completeness");
    else if (!r.orbits)
        line("   no ephemeris records: no elevations, no completeness");
    if (r.satellites.empty()) {
        line("   no observations");
        for (const std::string& m : r.messages)
            line("   " + m);
        return out;
    }
    line("   Sat   Epochs  Arcs  MP1 [m]  MP2 [m]   LLI  Iono    MP  Obs/slip  Expected  "
         "Observed Complete   Below");
    for (const views::QualityFigures& f : r.satellites)
        line(row(f));
    for (const views::QualityFigures& f : r.systems)
        line(row(f));
    line(row(r.file));
    for (const std::string& m : r.messages)
        line("   " + m);
    return out;
}

bool RunQuality(const scan::TScanDriver& driver, const QualityArguments& args,
                views::QualityReport& report, std::string& error) {
    std::FILE* sky = nullptr;
    std::FILE* breaks = nullptr;
    // The files of the scan are never written over: the chosen file and its companions (in
    // any letter case), and the converted copies that were read in their place.
    const scan::RunState& run = driver.run();
    std::vector<std::string> inputs = {run.chosenFileName, run.observationFileName};
    for (std::size_t k = 0; k < scan::kCompanionKinds.size(); ++k) {
        const std::string name = scan::CompanionName(run.chosenFileName, scan::kCompanionKinds[k]);
        inputs.push_back(scan::FindFileCaseBlind(name).value_or(name));
        if (run.CompanionFound[k])
            inputs.push_back(run.companionNames[k]);
    }
    const auto isInput = [&](const std::string& path) {
        std::error_code ec;
        for (const std::string& in : inputs)
            if (!in.empty() && std::filesystem::equivalent(path, in, ec))
                return true;
        return false;
    };
    const auto open = [&](const std::string& path, std::FILE*& f, const char* head) {
        if (path.empty())
            return true;
        if (isInput(path)) {
            error = path + " is a file of the scan: not written";
            return false;
        }
        f = std::fopen(path.c_str(), "w");
        if (f == nullptr || std::fputs(head, f) < 0) {
            error = "cannot write " + path;
            return false;
        }
        return true;
    };
    bool ok = open(args.skyFile, sky, "time,sat,azimuth_deg,elevation_deg\n") &&
              open(args.breaksFile, breaks, "time,sat,cause\n");
    if (ok) {
        views::QualityOptions options;
        bool written = true;
        if (sky != nullptr)
            options.onSky = [&](double t, std::string_view sat, double az, double el) {
                written = writeSky(sky, t, sat, az, el) && written;
            };
        if (breaks != nullptr)
            options.onBreak = [&](std::int32_t, double t, std::string_view sat,
                                  views::ArcBreak cause) {
                const std::string_view word = views::arcBreakWord(cause);
                written = std::fprintf(breaks, "%s,%.*s,%.*s\n", views::isoGpsTime(t).c_str(),
                                       static_cast<int>(sat.size()), sat.data(),
                                       static_cast<int>(word.size()), word.data()) > 0 &&
                          written;
            };
        report = views::computeQuality(views::qualitySources(driver), args.settings, options);
        if (!written) {
            error = "cannot write " + (sky != nullptr ? args.skyFile : args.breaksFile);
            ok = false;
        }
    }
    for (auto [f, path] : {std::pair{sky, &args.skyFile}, std::pair{breaks, &args.breaksFile}})
        if (f != nullptr && std::fclose(f) != 0 && ok) {
            error = "cannot write " + *path;
            ok = false;
        }
    return ok;
}

} // namespace app
