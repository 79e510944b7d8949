#include "tools/gen/Options.h"

#include <charconv>
#include <optional>
#include <string_view>

namespace gen {

static const header::SatSystemFacts& factsOf(System s) {
    return header::kSatSystems[static_cast<std::size_t>(s)];
}

char systemLetter(System s) {
    return factsOf(s).letter;
}

int systemIndex(System s) {
    return static_cast<int>(s);
}

int maxSatellites(System s) {
    return header::itemCount(factsOf(s).system);
}

namespace {

constexpr std::array<const char*, kBadKinds> kBadNames = {"long",  "value", "lli",  "prn",
                                                          "label", "nav",   "meteo"};

template <typename T> bool number(std::string_view s, T& v) {
    const auto res = std::from_chars(s.data(), s.data() + s.size(), v);
    return res.ec == std::errc() && res.ptr == s.data() + s.size();
}

// Seconds written as whole numbers with optional units s, m, h or d ("3600", "90m",
// "9h20m", "1d"); a number without a unit counts seconds.
bool seconds(std::string_view s, std::int64_t& v) {
    if (s.empty())
        return false;
    std::int64_t total = 0;
    while (!s.empty()) {
        std::size_t n = 0;
        while (n < s.size() && s[n] >= '0' && s[n] <= '9')
            ++n;
        std::int64_t part = 0;
        if (n == 0 || n > 9 || !number(s.substr(0, n), part))
            return false;
        s.remove_prefix(n);
        std::int64_t unit = 1;
        if (!s.empty()) {
            switch (s.front()) {
            case 's':
                unit = 1;
                break;
            case 'm':
                unit = 60;
                break;
            case 'h':
                unit = 3600;
                break;
            case 'd':
                unit = 86400;
                break;
            default:
                return false;
            }
            s.remove_prefix(1);
        }
        total += part * unit;
    }
    v = total;
    return true;
}

bool span(std::string_view s, TimeSpan& t, bool needLength) {
    const auto comma = s.find(',');
    if (comma == std::string_view::npos) {
        t.length = 0;
        return !needLength && seconds(s, t.at);
    }
    return seconds(s.substr(0, comma), t.at) && seconds(s.substr(comma + 1), t.length) &&
           t.length > 0;
}

std::vector<std::string_view> split(std::string_view s, char sep) {
    std::vector<std::string_view> parts;
    while (true) {
        const auto p = s.find(sep);
        parts.push_back(s.substr(0, p));
        if (p == std::string_view::npos)
            return parts;
        s.remove_prefix(p + 1);
    }
}

bool systemFromLetter(char c, int& index) {
    for (System s : kSystems)
        if (systemLetter(s) == c) {
            index = systemIndex(s);
            return true;
        }
    return false;
}

bool start(std::string_view s, GenOptions& o) {
    // YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS
    if (s.size() != 10 && s.size() != 19)
        return false;
    if (s[4] != '-' || s[7] != '-')
        return false;
    if (!number(s.substr(0, 4), o.year) || !number(s.substr(5, 2), o.month) ||
        !number(s.substr(8, 2), o.day))
        return false;
    o.hour = o.minute = o.second = 0;
    if (s.size() == 19) {
        if (s[10] != 'T' || s[13] != ':' || s[16] != ':')
            return false;
        if (!number(s.substr(11, 2), o.hour) || !number(s.substr(14, 2), o.minute) ||
            !number(s.substr(17, 2), o.second))
            return false;
    }
    static constexpr std::array<int, 12> kDays = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (o.year < 1981 || o.year > 2079 || o.month < 1 || o.month > 12 || o.day < 1 ||
        o.day > kDays[static_cast<std::size_t>(o.month - 1)])
        return false;
    const bool leap = (o.year % 4 == 0 && o.year % 100 != 0) || o.year % 400 == 0;
    if (o.month == 2 && o.day == 29 && !leap)
        return false;
    return o.hour <= 23 && o.minute <= 59 && o.second <= 59;
}

} // namespace

std::string usageText() {
    return "quillon-gen: writes a consistent RINEX 2.11 file set (O, N, G, H, L, M) for one\n"
           "virtual station.\n\n"
           "  -o, --out DIR          output folder (default .)\n"
           "  --site NAME            four-character site name (default quil)\n"
           "  --start DATE[THH:MM:SS] first epoch, GPS time (default 2026-12-09)\n"
           "  --duration T           length of the data, s or with unit m h d (default 24h)\n"
           "  --interval S           epoch interval, 1 to 30 s (default 30)\n"
           "  --systems LETTERS      any of G R S E (default GRSE)\n"
           "  --sats G=31,R=22,S=2,E=5  satellites per system (the defaults; at most G=32,\n"
           "                         R=24, S=39, E=36)\n"
           "  --types C1,P1,...      observation types, any of the 26 of RINEX 2.11: C1 C2 C5\n"
           "                         P1 P2 L1 L2 L5 D1 D2 D5 S1 S2 S5 C6 C7 C8 L6 L7 L8 D6\n"
           "                         D7 D8 S6 S7 S8 (default C1,P1,P2,L1,L2,D1,S1,S2); band 6\n"
           "                         is Galileo E6, 7 E5b, 8 E5a+b\n"
           "  --seed N               seed of every random choice (default 1)\n"
           "  --mask DEG             elevation mask (default 10)\n"
           "  --meteo-interval S     meteo record interval (default 300)\n"
           "  --gap AT,LENGTH        no epochs for LENGTH from AT after the start\n"
           "  --occupation AT        new site occupation (flag 3) at AT\n"
           "  --moving AT,LENGTH     moving antenna (flag 2) at AT, new occupation after LENGTH\n"
           "  --events N             N external events (flag 5)\n"
           "  --sixty AT             the first full-minute epoch from AT written as 60 seconds\n"
           "  --bad KIND:N,...       N malformed lines of a kind: long value lli prn label nav\n"
           "                         meteo\n"
           "  --compress FORM        write the set compressed: crx (observation file as\n"
           "                         compact RINEX, .yyd), gz, Z, crx.gz or crx.Z\n"
           "  --truth FILE           also write what went into the observations (CSV): per\n"
           "                         satellite and epoch the geometry, the multipath, the\n"
           "                         error of each value, the ionosphere, new locks and slips\n"
           "  -h, --help             this text\n";
}

bool parseOptions(const std::vector<std::string>& args, GenOptions& o, bool& help,
                  std::string& error) {
    help = false;
    bool typesGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        if (a == "-h" || a == "--help") {
            help = true;
            return true;
        }
        if (i + 1 >= args.size()) {
            error = "unknown option or missing value: " + args[i];
            return false;
        }
        const std::string_view v = args[++i];
        const auto bad = [&] {
            error = "bad value for " + std::string(a) + ": " + std::string(v);
            return false;
        };
        if (a == "-o" || a == "--out") {
            o.outDir = v;
        } else if (a == "--compress") {
            if (v != "crx" && v != "gz" && v != "Z" && v != "crx.gz" && v != "crx.Z")
                return bad();
            o.compress = v;
        } else if (a == "--site") {
            if (v.size() != 4)
                return bad();
            o.site.clear();
            for (char c : v) {
                if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
                    return bad();
                o.site.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
            }
        } else if (a == "--start") {
            if (!start(v, o))
                return bad();
        } else if (a == "--duration") {
            if (!seconds(v, o.duration) || o.duration < 1 || o.duration > 7 * 86400)
                return bad();
        } else if (a == "--interval") {
            if (!number(v, o.interval) || o.interval < 1 || o.interval > 30)
                return bad();
        } else if (a == "--systems") {
            o.systems = {false, false, false, false};
            for (char c : v) {
                int k = 0;
                if (!systemFromLetter(c, k))
                    return bad();
                o.systems[static_cast<std::size_t>(k)] = true;
            }
            if (v.empty())
                return bad();
        } else if (a == "--sats") {
            for (std::string_view part : split(v, ',')) {
                int k = 0;
                int n = 0;
                if (part.size() < 3 || part[1] != '=' || !systemFromLetter(part[0], k) ||
                    !number(part.substr(2), n) || n < 1 ||
                    n > maxSatellites(kSystems[static_cast<std::size_t>(k)]))
                    return bad();
                o.satellites[static_cast<std::size_t>(k)] = n;
            }
        } else if (a == "--types") {
            o.types.clear();
            typesGiven = true;
            for (std::string_view part : split(v, ',')) {
                const std::optional<std::uint8_t> known = header::ObsTypeCode(part);
                if (!known)
                    return bad();
                const int code = *known;
                for (int t : o.types)
                    if (t == code)
                        return bad();
                o.types.push_back(code);
            }
        } else if (a == "--seed") {
            if (!number(v, o.seed))
                return bad();
        } else if (a == "--mask") {
            int m = 0;
            if (!number(v, m) || m < 0 || m > 60)
                return bad();
            o.mask = m;
        } else if (a == "--meteo-interval") {
            if (!number(v, o.meteoInterval) || o.meteoInterval < 1 || o.meteoInterval > 86400)
                return bad();
        } else if (a == "--gap") {
            if (!span(v, o.gap, true))
                return bad();
        } else if (a == "--occupation") {
            if (!span(v, o.occupation, false))
                return bad();
        } else if (a == "--moving") {
            if (!span(v, o.moving, true))
                return bad();
        } else if (a == "--events") {
            if (!number(v, o.externalEvents) || o.externalEvents < 0 || o.externalEvents > 10000)
                return bad();
        } else if (a == "--sixty") {
            if (!seconds(v, o.sixtyAt))
                return bad();
        } else if (a == "--truth") {
            if (v.empty())
                return bad();
            o.truthFile = v;
        } else if (a == "--bad") {
            for (std::string_view part : split(v, ',')) {
                const auto colon = part.find(':');
                const std::string_view name = part.substr(0, colon);
                int n = 1;
                if (colon != std::string_view::npos &&
                    (!number(part.substr(colon + 1), n) || n < 0))
                    return bad();
                int kind = -1;
                for (std::size_t k = 0; k < kBadNames.size(); ++k)
                    if (name == kBadNames[k])
                        kind = static_cast<int>(k);
                if (kind < 0)
                    return bad();
                o.bad[static_cast<std::size_t>(kind)] = n;
            }
        } else {
            error = "unknown option: " + args[i - 1];
            return false;
        }
    }
    if (!typesGiven)
        o.types = {0, 3, 4, 5, 6, 8, 11, 12};
    if (o.types.empty()) {
        error = "no observation types";
        return false;
    }
    if (o.meteoInterval < o.interval)
        o.meteoInterval = o.interval;
    o.meteoInterval -= o.meteoInterval % o.interval;
    return true;
}

} // namespace gen
