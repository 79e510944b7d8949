#include "tools/gen/Calendar.h"
#include "tools/gen/Format.h"
#include "tools/gen/Plan.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <set>

namespace gen {

namespace {

struct NavFile {
    System system;
    char letter;
    const char* type; // columns 21-40 of the first line
};
constexpr std::array<NavFile, 4> kNavFiles = {{{System::Gps, 'n', "N: GPS NAV DATA"},
                                               {System::Glonass, 'g', "G: GLONASS NAV DATA"},
                                               {System::Sbas, 'h', "H: GEO NAV MSG DATA"},
                                               {System::Galileo, 'l', "L: GALILEO NAV DATA"}}};

// One broadcast-orbit line: three blanks and up to four D19.12 fields (missing ones blank).
void orbitLine(std::string& out, std::initializer_list<double> fields) {
    out.append("   ");
    for (double v : fields)
        appendD19(out, v);
    endLine(out);
}

double quantize(double v, double unit) {
    return std::round(v / unit) * unit;
}

double secondsOfWeek(double t) {
    return std::fmod(t, kWeek);
}

void header(std::string& out, const Plan& plan, const NavFile& f) {
    out.append(f.system == System::Galileo ? "     2.12           " : "     2.11           ");
    out.append(f.type);
    endHeaderLine(out, "RINEX VERSION / TYPE");
    appendProgramLine(out, plan);
    out.append("SYNTHETIC BROADCAST EPHEMERIDES");
    endHeaderLine(out, "COMMENT");
    switch (f.system) {
    case System::Gps: {
        out.append("  ");
        for (double a : {1.1176e-08, 7.4506e-09, -5.9605e-08, -5.9605e-08})
            appendD12(out, a);
        endHeaderLine(out, "ION ALPHA");
        out.append("  ");
        for (double b : {9.0112e+04, 1.6384e+04, -1.9661e+05, -6.5536e+04})
            appendD12(out, b);
        endHeaderLine(out, "ION BETA");
        [[fallthrough]];
    }
    case System::Galileo: {
        out.append("   ");
        appendD19(out, -9.313225746155e-10);
        appendD19(out, -8.881784197001e-16);
        appendInt(out, 405504, 9);
        appendInt(out, plan.start / 604800, 9);
        endHeaderLine(out, "DELTA-UTC: A0,A1,T,W");
        break;
    }
    case System::Glonass: {
        const Civil c = civilTime(plan.start);
        appendInt(out, c.year, 6);
        appendInt(out, c.month, 6);
        appendInt(out, c.day, 6);
        out.append("   ");
        appendD19(out, -1.862645149231e-09);
        endHeaderLine(out, "CORR TO SYSTEM TIME");
        break;
    }
    case System::Sbas:
        break;
    }
    appendInt(out, plan.leap, 6);
    endHeaderLine(out, "LEAP SECONDS");
    endHeaderLine(out, "END OF HEADER");
}

void keplerRecord(std::string& out, const Plan& plan, const Satellite& s, int bin) {
    const double toe = plan.longTime(bin);
    const KeplerOrbit e = rereference(s.orbit, toe);
    const double af0 = s.clockBias + s.clockDrift * (toe - s.orbit.toe);
    const double sow = secondsOfWeek(toe);
    const double week = std::floor(toe / kWeek);
    const bool gal = s.system == System::Galileo;
    const double issue = gal ? (s.firstIssue + bin) % 1024 : (s.firstIssue + bin) % 256;
    appendInt(out, s.prn, 2);
    appendNavTime(out, static_cast<std::int64_t>(toe));
    appendD19(out, af0);
    appendD19(out, s.clockDrift);
    appendD19(out, 0.0);
    endLine(out);
    orbitLine(out, {issue, e.crs, e.deltaN, e.m0});
    orbitLine(out, {e.cuc, e.e, e.cus, e.sqrtA});
    orbitLine(out, {sow, e.cic, e.omega0, e.cis});
    orbitLine(out, {e.i0, e.crc, e.omega, e.omegaDot});
    if (gal) {
        orbitLine(out, {e.idot, 517.0, week, 0.0});
        orbitLine(out, {3.12, 0.0, s.tgd, s.tgd * 1.1});
        orbitLine(out, {sow - 600.0});
    } else {
        orbitLine(out, {e.idot, 1.0, week, 0.0});
        orbitLine(out, {2.0, 0.0, s.tgd, issue});
        orbitLine(out, {sow - 7182.0, 4.0});
    }
}

void stateRecord(std::string& out, const Plan& plan, const Satellite& s, int bin, Random& rng) {
    const double t = plan.shortTime(s.system, bin); // GPS time
    const SatState st = evaluate(s.orbit, t);
    const double clock = s.clockBias + s.clockDrift * (t - s.orbit.toe);
    const bool glo = s.system == System::Glonass;
    const double label = glo ? t - plan.leap : t; // GLONASS records are labelled in UTC
    appendInt(out, s.prn, 2);
    appendNavTime(out, static_cast<std::int64_t>(label));
    appendD19(out, glo ? quantize(clock, 9.313225746155e-10) : clock);
    appendD19(out, s.clockDrift);
    appendD19(out, glo ? std::fmod(secondsOfWeek(label) - 900.0 + kWeek, kWeek) : secondsOfWeek(t));
    endLine(out);
    const double pUnit = glo ? 1.0 / 2048.0 : 0.00008;
    const double vUnit = glo ? 1.0 / 1048576.0 : 1e-6;
    const double aUnit = 9.313225746155e-10;
    const std::array<double, 3> pos = {st.pos.x / 1000, st.pos.y / 1000, st.pos.z / 1000};
    const std::array<double, 3> vel = {st.vel.x / 1000, st.vel.y / 1000, st.vel.z / 1000};
    // GLONASS records carry only the small luni-solar part (the receiver's equations add the
    // Earth's field); GEO records carry the whole Earth-fixed acceleration of the orbit.
    const Vec3 acc = (evaluate(s.orbit, t + 1).vel - evaluate(s.orbit, t - 1).vel) * 0.5;
    const std::array<double, 3> geoAcc = {acc.x / 1000, acc.y / 1000, acc.z / 1000};
    const std::array<double, 3> fourth = {0.0, glo ? static_cast<double>(s.glonassChannel) : 4.0,
                                          glo ? 0.0 : static_cast<double>(bin % 256)};
    for (std::size_t k = 0; k < 3; ++k) {
        const double lunisolar = static_cast<double>(rng.integer(-3, 3)) * aUnit;
        orbitLine(out, {quantize(pos[k], pUnit), quantize(vel[k], vUnit),
                        glo ? lunisolar : quantize(geoAcc[k], aUnit), fourth[k]});
    }
}

// Replaces the exponent letter of the second field of the record's second line.
void spoilRecord(std::string& out, std::size_t recordStart) {
    const std::size_t line2 = out.find('\n', recordStart);
    if (line2 == std::string::npos)
        return;
    const std::size_t pos = line2 + 1 + 3 + 19 + 15;
    if (pos < out.size() && out[pos] == 'D')
        out[pos] = 'X';
}

} // namespace

bool writeNavigationFiles(const Plan& plan, const std::string& stem, GenResult& result,
                          std::string& error) {
    const GenOptions& o = plan.options;
    Random rng(o.seed * 0x100000001B3ull + 4);
    // Which file takes the malformed navigation fields: the first one written.
    int spoilFile = -1;
    for (std::size_t f = 0; f < kNavFiles.size() && spoilFile < 0; ++f)
        if (o.systems[static_cast<std::size_t>(systemIndex(kNavFiles[f].system))])
            spoilFile = static_cast<int>(f);
    for (std::size_t f = 0; f < kNavFiles.size(); ++f) {
        const NavFile& nf = kNavFiles[f];
        if (!o.systems[static_cast<std::size_t>(systemIndex(nf.system))])
            continue;
        const std::string path = (std::filesystem::path(o.outDir) / (stem + nf.letter)).string();
        FileSink sink;
        if (!sink.open(path)) {
            error = "cannot write " + path;
            return false;
        }
        header(sink.buf, plan, nf);
        const bool kepler = nf.system == System::Gps || nf.system == System::Galileo;
        const int bins = kepler ? plan.longBins() : plan.shortBins();
        std::vector<std::size_t> recordStarts;
        for (int b = 0; b < bins; ++b) {
            for (std::size_t i = 0; i < plan.sky.size(); ++i) {
                const Satellite& s = plan.sky[i];
                if (s.system != nf.system)
                    continue;
                const auto& seen = kepler ? plan.seenLong[i] : plan.seenShort[i];
                if (seen[static_cast<std::size_t>(b)] == 0)
                    continue;
                recordStarts.push_back(sink.buf.size());
                if (kepler)
                    keplerRecord(sink.buf, plan, s, b);
                else
                    stateRecord(sink.buf, plan, s, b, rng);
            }
        }
        if (static_cast<int>(f) == spoilFile && !recordStarts.empty()) {
            // Distinct records, so that each malformed field is a finding of its own.
            const auto wanted = std::min<std::size_t>(
                static_cast<std::size_t>(o.bad[static_cast<std::size_t>(BadKind::Nav)]),
                recordStarts.size());
            std::set<std::size_t> picked;
            while (picked.size() < wanted)
                picked.insert(static_cast<std::size_t>(
                    rng.integer(0, static_cast<std::int64_t>(recordStarts.size()) - 1)));
            for (std::size_t k : picked)
                spoilRecord(sink.buf, recordStarts[k]);
        }
        if (!sink.close()) {
            error = "cannot write " + path;
            return false;
        }
        result.files.push_back(path);
    }
    return true;
}

} // namespace gen
