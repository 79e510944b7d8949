#include "nav/NavLines.h"

#include "text/Columns.h"
#include "text/FieldText.h"

#include <cmath>
#include <limits>

namespace nav {

namespace {

constexpr long double kTwoTo63 = 9223372036854775808.0L;

std::int64_t saturated(long double r) noexcept {
    if (std::isnan(r))
        return 0;
    if (r >= kTwoTo63)
        return std::numeric_limits<std::int64_t>::max();
    if (r <= -kTwoTo63)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(r);
}

char upper(char c) noexcept {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string upperCased(std::string_view s) {
    std::string u(s);
    for (char& c : u)
        c = upper(c);
    return u;
}

// The 1-based position of the later of the first D and the first E (either case), 0 when the
// text holds neither.
std::size_t exponentLetter(std::string_view s) noexcept {
    std::size_t d = 0;
    std::size_t e = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = upper(s[i]);
        if (c == 'D' && d == 0)
            d = i + 1;
        if (c == 'E' && e == 0)
            e = i + 1;
    }
    return d > e ? d : e;
}

bool isOrbitLetter(char c) noexcept {
    return c == 'D' || c == 'd' || c == 'E' || c == 'e';
}

} // namespace

std::int64_t Nearest(long double x) noexcept {
    if (std::isnan(x))
        return 0;
    return saturated(std::nearbyint(x)); // the default rounding mode sends halves to even
}

std::int64_t Truncated(long double x) noexcept {
    if (std::isnan(x))
        return 0;
    return saturated(std::trunc(x));
}

bool StandardReal(std::string_view field, long double& x) noexcept {
    const text::StrictResult r = text::StrictNumber(field);
    if (!r.valid())
        return false;
    x = r.value;
    return true;
}

bool ReadD19Field(std::string_view text, int n, long double& x) noexcept {
    std::string_view rest = text;
    std::size_t p = 0;
    for (int i = 1; i <= n; ++i) {
        p = exponentLetter(rest);
        if (i < n)
            rest.remove_prefix(std::min(p + 3, rest.size()));
    }
    long double value = 0;
    if (!text::FortranReal(rest.substr(0, p + 3), value))
        return false;
    x = value;
    return true;
}

NavLineKind ClassifyNavLine(std::string_view line) noexcept {
    if (isOrbitLetter(text::column(line, 19)))
        return NavLineKind::Orbit;
    if (!text::isBlank(text::columns(line, 1, 5)) && text::column(line, 21) == '.')
        return NavLineKind::Epoch;
    return NavLineKind::Invalid;
}

EpochFields ParseEpochLine(std::string_view line, const NavRules& rules, bool& sec60Reported,
                           const LineReport& report) {
    EpochFields f;
    std::string_view rest = line;
    std::string_view word;
    auto nextNumber = [&rest, &word](std::int32_t& out) {
        text::NextWord(rest, word);
        long double v = 0;
        if (!StandardReal(word, v))
            return false;
        out = NearestAs<std::int32_t>(v);
        return true;
    };

    if (!nextNumber(f.satellite)) {
        report("Not valid data for PRN number");
        return f;
    }
    f.satelliteRead = true;
    constexpr header::SatSystemFacts kGEO = header::facts(header::SatSystem::GEO);
    if (rules.geoPrnRange && (f.satellite < kGEO.firstItem || f.satellite > kGEO.lastNumber)) {
        report("Not valid data for GEO PRN number");
        return f;
    }
    struct Part {
        std::int32_t* field;
        std::string_view message;
    };
    const Part parts[] = {
        {&f.epoch.year, "Not valid data for Year \"EPOCH/SAT\""},
        {&f.epoch.month, "Not valid data for Month \"EPOCH/SAT\""},
        {&f.epoch.day, "Not valid data for Day \"EPOCH/SAT\""},
        {&f.epoch.hour, "Not valid data for Hour \"EPOCH/SAT\""},
        {&f.epoch.minute, "Not valid data for Min \"EPOCH/SAT\""},
    };
    for (const Part& part : parts) {
        if (!nextNumber(*part.field)) {
            report(part.message);
            return f;
        }
    }

    std::string seconds = " ";
    switch (rules.seconds) {
    case SecondsField::FourCharacters:
        seconds += rest.substr(0, 4);
        break;
    case SecondsField::WordOrDash:
        // With neither a blank nor a dash the word keeps what it held: the minute.
        text::NextWordOrDash(rest, word);
        seconds += word;
        break;
    }
    const std::size_t point = seconds.find('.');
    if (point != std::string::npos && point + 1 == seconds.size())
        seconds += '0';
    if (!text::FixedFormatOK(seconds, 5, 1)) {
        report("Not F5.1 format for Sec \"EPOCH/SAT\"");
        return f;
    }
    if (!StandardReal(seconds, f.epoch.seconds)) {
        report("Not valid data for Sec \"EPOCH/SAT\"");
        return f;
    }
    if (seconds.find("60") != std::string::npos) {
        f.epoch.seconds = 0;
        text::AddMinute(f.epoch);
        if (!sec60Reported) {
            report("There were 60 seconds in \"EPOCH/SAT\"");
            sec60Reported = true;
        }
    }
    f.accepted = true;

    struct Position {
        std::size_t first, last;
        std::string_view message;
    };
    constexpr Position positions[] = {
        {1, 2, "Wrong position of PRN number"}, {3, 5, "Wrong position of Year"},
        {6, 8, "Wrong position of Month"},      {9, 11, "Wrong position of Day"},
        {12, 14, "Wrong position of Hour"},     {15, 17, "Wrong position of Min"},
    };
    long double unused = 0;
    for (const Position& pos : positions) {
        if (!StandardReal(text::columns(line, pos.first, pos.last), unused)) {
            report(pos.message);
            return f;
        }
    }
    const std::string_view secondsColumns = text::columns(line, 18, 22);
    if (!text::FixedFormatOK(secondsColumns, 5, 1))
        report("Not F5.1 format for Sec");
    else if (!StandardReal(secondsColumns, unused))
        report("Wrong position of Sec");
    return f;
}

bool HandleVersionLine(std::string_view line, char letter, std::string& version,
                       const LineReport& report) {
    std::string_view word;
    std::string_view rest;
    text::FirstWord(line, word, rest);
    version = std::string(word);
    const bool rinex2 = text::IsRinex2Version(word);
    if (!rinex2)
        report("Rinex format version is not 2");
    const std::size_t two = line.find('2');
    if (two != std::string_view::npos && two + 1 != 6)
        report("The position of \"2\" is not 6");
    std::string_view type;
    std::string_view after;
    text::FirstWord(rest, type, after);
    const std::string quoted = std::string("\"") + letter + "\"";
    if (upperCased(type).find(letter) == std::string::npos)
        report(quoted + " is absent");
    const std::size_t at = upperCased(line).find(letter);
    if (at != std::string::npos && at + 1 != 21)
        report("The position of " + quoted + " is not 21");
    return rinex2;
}

void HandleProgramLine(std::string_view line, std::string& program, std::string& runBy,
                       std::string& date) {
    auto trimmed = [line](std::size_t first, std::size_t last) {
        std::string_view field = text::columns(line, first, last);
        text::RightTrim(field);
        return std::string(field);
    };
    program = trimmed(1, 20);
    runBy = trimmed(21, 40);
    date = trimmed(41, 60);
}

void HandleLeapSecondsLine(std::string_view line, std::int32_t& leapSeconds,
                           const LineReport& report) {
    std::int32_t value = 0;
    std::string_view rest;
    if (!text::IntFromText(line, value, rest)) {
        report("Not valid data for Leap seconds");
        return;
    }
    leapSeconds = value;
    const std::string digits = std::to_string(value);
    const std::size_t at = line.find(digits);
    if (at != std::string_view::npos && at + 1 + digits.size() != 7)
        report("Format of Leap seconds is not I6");
}

void HandleIonLine(std::string_view line, std::span<float, 4> slots, std::string_view message,
                   const LineReport& report) {
    if (!text::isBlank(text::columns(line, 1, 2))) {
        report(message);
        return;
    }
    for (std::size_t i = 0; i < 4; ++i) {
        long double x = 0;
        if (!text::FortranReal(text::columns(line, 3 + 12 * i, 14 + 12 * i), x)) {
            report(message);
            return;
        }
        slots[i] = static_cast<float>(x);
    }
}

void HandleDeltaUtcLine(std::string_view line, double& a0, float& a1, std::int32_t& t,
                        std::uint16_t& w, const LineReport& report) {
    constexpr std::string_view message = "Not valid data for DELTA-UTC";
    if (!text::isBlank(text::columns(line, 1, 3))) {
        report(message);
        return;
    }
    long double x = 0;
    if (!text::FortranReal(text::columns(line, 4, 22), x)) {
        report(message);
        return;
    }
    a0 = static_cast<double>(x);
    if (!text::FortranReal(text::columns(line, 23, 41), x)) {
        report(message);
        return;
    }
    a1 = static_cast<float>(x);
    if (!StandardReal(text::columns(line, 42, 50), x)) {
        report(message);
        return;
    }
    t = static_cast<std::int32_t>(Truncated(x));
    if (!StandardReal(text::columns(line, 51, 59), x)) {
        report(message);
        return;
    }
    w = static_cast<std::uint16_t>(Truncated(x));
}

void HandleCorrToSystemTimeLine(std::string_view line, std::int32_t& year, std::int32_t& month,
                                std::int32_t& day, long double& correction,
                                const LineReport& report) {
    long double x = 0;
    if (!StandardReal(text::columns(line, 1, 6), x)) {
        report("Not valid data for Year \"Corr To System Time\"");
        return;
    }
    const std::int32_t y = NearestAs<std::int32_t>(x);
    year = y < 100 ? (y > 80 ? 1900 + y : 2000 + y) : y;
    if (!StandardReal(text::columns(line, 7, 12), x)) {
        report("Not valid data for Month \"Corr To System Time\"");
        return;
    }
    month = NearestAs<std::int32_t>(x);
    if (!StandardReal(text::columns(line, 13, 18), x)) {
        report("Not valid data for Day \"Corr To System Time\"");
        return;
    }
    day = NearestAs<std::int32_t>(x);
    if (!text::FortranReal(text::columns(line, 20, 44), x)) {
        report("Not valid data for <Corr To System Time>");
        return;
    }
    correction = x;
}

text::TGPSTime ClockTime(const text::TEpochTime& epoch) noexcept {
    if (epoch.month < 1 || epoch.month > 12)
        return text::TGPSTime(0);
    const std::int32_t y = epoch.year % 100;
    const std::int32_t year = y > 80 ? 1900 + y : 2000 + y;
    const std::int64_t second = Nearest(epoch.seconds);
    return text::TGPSTime::fromDate(
        static_cast<std::uint32_t>(year), static_cast<std::uint8_t>(epoch.month),
        static_cast<std::uint32_t>(epoch.day), static_cast<std::uint32_t>(epoch.hour),
        static_cast<std::uint32_t>(epoch.minute),
        second < 0 || second > 59 ? 60u : static_cast<std::uint32_t>(second));
}

std::int32_t CheckedWeek(std::int32_t week, text::TGPSTime clock, std::int32_t toe,
                         std::uint8_t& health) noexcept {
    const std::int32_t clockWeek = clock.Week().value();
    if (week == clockWeek)
        return week;
    if (week + 1 == clockWeek && toe < 8000)
        return week + 1;
    health = 1;
    return week;
}

} // namespace nav
