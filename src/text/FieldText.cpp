#include "text/FieldText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace text {

namespace {

constexpr bool isDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

constexpr bool isNumberChar(char c) noexcept {
    return isDigit(c) || c == '.' || c == '-';
}

// Powers of ten that a 64-bit mantissa holds exactly (5^27 < 2^64).
constexpr int kExactPowers = 27;

constexpr std::array<long double, kExactPowers + 1> makePowers() {
    std::array<long double, kExactPowers + 1> p{};
    p[0] = 1.0L;
    for (int i = 1; i <= kExactPowers; ++i)
        p[static_cast<std::size_t>(i)] = p[static_cast<std::size_t>(i - 1)] * 10.0L;
    return p;
}
constexpr auto kPowers = makePowers();

// The shape of RealFromText's run: an optional leading '-', digits, optionally one '.' and
// digits, with at least one character after the sign.
bool isSimpleDecimal(std::string_view t) noexcept {
    std::size_t i = 0;
    if (i < t.size() && t[i] == '-')
        ++i;
    if (i == t.size())
        return false;
    while (i < t.size() && isDigit(t[i]))
        ++i;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && isDigit(t[i]))
            ++i;
    }
    return i == t.size();
}

} // namespace

void NextWord(std::string_view& s, std::string_view& w) noexcept {
    const std::size_t start = s.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        w = {};
        s = {};
        return;
    }
    const std::string_view t = s.substr(start);
    const std::size_t blank = t.find(' ');
    if (blank == std::string_view::npos) {
        w = t;
        s = {};
        return;
    }
    w = t.substr(0, blank);
    s = t.substr(blank + 1);
}

void NextWordOrDash(std::string_view& s, std::string_view& w) noexcept {
    if (s.empty()) {
        w = {};
        return;
    }
    const std::size_t start = s.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        w = {};
        s = {};
        return;
    }
    const std::string_view t = s.substr(start);
    const std::size_t blank = t.find(' ');
    if (blank != std::string_view::npos && blank < 6) { // a blank at positions 1 to 6
        w = t.substr(0, blank);
        s = t.substr(blank + 1);
        return;
    }
    const std::size_t dash = t.find('-');
    if (dash != std::string_view::npos) {
        w = t.substr(0, dash);
        s = t.substr(dash + 1);
    }
    // With neither separator, the word and the text keep what they held.
}

void FirstWord(std::string_view s, std::string_view& w, std::string_view& r) noexcept {
    const std::size_t start = s.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        w = {};
        r = {};
        return;
    }
    r = s.substr(start);
    const std::size_t blank = r.find(' ');
    const std::size_t len = blank == std::string_view::npos ? r.size() : blank;
    w = r.substr(0, len);
    r.remove_prefix(len);
}

bool RealFromText(std::string_view s, long double& x, std::string_view& r) noexcept {
    r = s;
    if (r.empty())
        return false;
    while (!isNumberChar(r.front())) {
        if (r.size() == 1)
            return false; // the last character stays in the rest
        r.remove_prefix(1);
    }
    std::size_t n = 0;
    while (n < r.size() && isNumberChar(r[n]))
        ++n;
    const std::string_view run = r.substr(0, n);
    r.remove_prefix(n);
    long double value = 0;
    if (!isSimpleDecimal(run) || !DecimalToExtended(run, value))
        return false;
    x = value;
    return true;
}

bool IntFromText(std::string_view s, std::int32_t& n, std::string_view& r) noexcept {
    r = s;
    while (!r.empty() && !isDigit(r.front()))
        r.remove_prefix(1);
    if (r.empty())
        return false;
    std::size_t len = 0;
    while (len < r.size() && isDigit(r[len]))
        ++len;
    const std::string_view run = r.substr(0, len);
    r.remove_prefix(len);
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(run.data(), run.data() + run.size(), value);
    if (ec != std::errc{} || end != run.data() + run.size())
        return false;
    n = value;
    return true;
}

bool IsRinex2Version(std::string_view word) noexcept {
    if (word.empty() || word[0] != '2')
        return false;
    if (word.size() == 1)
        return true;
    if (word[1] != '.')
        return false;
    if (word.size() == 2)
        return true;
    if (word[2] != '0' && word[2] != '1')
        return false;
    return word.size() == 3 || (word.size() == 4 && word[3] >= '0' && word[3] <= '9');
}

void RightTrim(std::string_view& s) noexcept {
    const std::size_t last = s.find_last_not_of(' ');
    s = last == std::string_view::npos ? std::string_view{} : s.substr(0, last + 1);
}

void RightTrim(std::string& s) {
    const std::size_t last = s.find_last_not_of(' ');
    s.erase(last == std::string::npos ? 0 : last + 1);
}

std::string_view GeneralTrim(std::string_view s) noexcept {
    std::size_t first = 0;
    while (first < s.size() && static_cast<unsigned char>(s[first]) <= 32)
        ++first;
    std::size_t last = s.size();
    while (last > first && static_cast<unsigned char>(s[last - 1]) <= 32)
        --last;
    return s.substr(first, last - first);
}

void PadTo(std::int32_t n, bool atEnd, std::string& s) {
    if (n <= 0 || s.size() >= static_cast<std::size_t>(n))
        return;
    const std::size_t missing = static_cast<std::size_t>(n) - s.size();
    if (atEnd)
        s.append(missing, ' ');
    else
        s.insert(0, missing, ' ');
}

static std::string zeroPadded(unsigned value, std::size_t digits) {
    std::string t = std::to_string(value);
    if (t.size() < digits)
        t.insert(0, digits - t.size(), '0');
    return t;
}

std::string TimeText(std::uint16_t h, std::uint16_t m, std::uint16_t s, std::uint16_t ms) {
    return zeroPadded(h, 2) + ":" + zeroPadded(m, 2) + ":" + zeroPadded(s, 2) + "." +
           zeroPadded(ms, 3);
}

std::string DateText(std::uint16_t d, std::uint16_t m, std::uint16_t y) {
    return zeroPadded(d, 2) + "/" + zeroPadded(m, 2) + "/" + std::to_string(y);
}

void DotToDecSep(std::string& s, std::string_view decSep) {
    if (s.find('.') == std::string::npos)
        return;
    std::string out;
    out.reserve(s.size() + 4);
    for (char c : s) {
        if (c == '.')
            out.append(decSep);
        else
            out.push_back(c);
    }
    s = std::move(out);
}

bool FortranReal(std::string_view s, long double& x) noexcept {
    const std::string_view t = GeneralTrim(s);
    std::size_t p = 0; // 1-based position of the exponent letter, 0 when absent
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] == 'D' || t[i] == 'd') {
            p = i + 1;
            break;
        }
    }
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] == 'E' || t[i] == 'e') {
            if (i + 1 > p)
                p = i + 1;
            break;
        }
    }
    if (p < 1 || t.size() - p < 3)
        return false;
    const StrictResult mantissa = StrictNumber(t.substr(0, p - 1));
    if (!mantissa.valid())
        return false;
    x = mantissa.value;
    const char sign = t[p];
    if (sign != '+' && sign != '-')
        return false;
    const char d1 = t[p + 1];
    const char d2 = t[p + 2];
    if (!isDigit(d1) || !isDigit(d2))
        return false;
    int e = (d1 - '0') * 10 + (d2 - '0');
    if (sign == '-')
        e = -e;
    for (int i = 0; i < e; ++i)
        x *= 10.0L;
    for (int i = 0; i > e; --i)
        x /= 10.0L;
    return true;
}

StrictResult StrictNumber(std::string_view s) noexcept {
    StrictResult result;
    const std::size_t n = s.size();
    std::size_t i = 0;
    while (i < n && s[i] == ' ')
        ++i;
    const std::size_t numberStart = i;
    if (i < n && (s[i] == '+' || s[i] == '-'))
        ++i;
    if (i == n) {
        result.errorPos = static_cast<std::int32_t>(n + 1);
        return result;
    }
    while (i < n && isDigit(s[i]))
        ++i;
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && isDigit(s[i]))
            ++i;
    }
    if (i < n && (s[i] == 'E' || s[i] == 'e')) {
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-'))
            ++i;
        if (i == n || !isDigit(s[i])) {
            result.errorPos = static_cast<std::int32_t>(i + 1);
            return result;
        }
        while (i < n && isDigit(s[i]))
            ++i;
    }
    if (i != n) {
        result.errorPos = static_cast<std::int32_t>(i + 1);
        return result;
    }
    if (!DecimalToExtended(s.substr(numberStart), result.value))
        result.errorPos = static_cast<std::int32_t>(n + 1);
    return result;
}

bool FixedFormatOK(std::string_view f, std::int32_t /*w*/, std::int32_t d) noexcept {
    if (d < 0)
        return false;
    const std::size_t decimals = static_cast<std::size_t>(d);
    const std::size_t len = f.size();
    if (len < decimals + 1)
        return false;
    for (std::size_t i = len - decimals; i < len; ++i)
        if (!isDigit(f[i]) && f[i] != ' ')
            return false;
    if (f[len - decimals - 1] != '.')
        return false;
    for (std::size_t i = 0; i + 1 < len - decimals; ++i)
        if (!isDigit(f[i]) && f[i] != ' ' && f[i] != '-')
            return false;
    return true;
}

bool DecimalToExtended(std::string_view s, long double& x) noexcept {
    std::size_t i = 0;
    const std::size_t n = s.size();
    bool negative = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    std::uint64_t mantissa = 0;
    int significant = 0;    // digits held in the mantissa
    long long exponent = 0; // decimal exponent applied to the mantissa
    bool dropped = false;   // significant digits beyond what the mantissa holds
    auto takeDigit = [&](char c, bool afterPoint) {
        if (mantissa == 0 && c == '0') {
            if (afterPoint)
                --exponent;
            return;
        }
        if (significant < 19) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
            ++significant;
            if (afterPoint)
                --exponent;
            return;
        }
        if (c != '0')
            dropped = true;
        if (!afterPoint)
            ++exponent;
    };
    while (i < n && isDigit(s[i]))
        takeDigit(s[i++], false);
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && isDigit(s[i]))
            takeDigit(s[i++], true);
    }
    if (i < n && (s[i] == 'E' || s[i] == 'e')) {
        ++i;
        bool expNegative = false;
        if (i < n && (s[i] == '+' || s[i] == '-')) {
            expNegative = s[i] == '-';
            ++i;
        }
        if (i == n || !isDigit(s[i]))
            return false;
        long long e = 0;
        while (i < n && isDigit(s[i])) {
            if (e < 100000)
                e = e * 10 + (s[i] - '0');
            ++i;
        }
        exponent += expNegative ? -e : e;
    }
    if (i != n)
        return false;
    // "." and "E5" carry no digit and read as 0.
    long double value = 0;
    if (mantissa == 0) {
        value = 0;
    } else if (!dropped && exponent >= 0 && exponent <= kExactPowers) {
        // One multiplication of exact operands: correctly rounded.
        value = static_cast<long double>(mantissa) * kPowers[static_cast<std::size_t>(exponent)];
    } else if (!dropped && exponent < 0 && -exponent <= kExactPowers) {
        value = static_cast<long double>(mantissa) / kPowers[static_cast<std::size_t>(-exponent)];
    } else {
        // Rare long or extreme texts: the library's correctly rounded conversion.
        std::string_view digits = s.substr(s.size() > 0 && (s[0] == '+' || s[0] == '-') ? 1 : 0);
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (ec == std::errc::result_out_of_range)
            value = exponent > 0 ? std::numeric_limits<long double>::infinity() : 0.0L;
        else if (ec != std::errc{} || end != digits.data() + digits.size())
            return false;
    }
    x = negative ? -value : value;
    return true;
}

} // namespace text
