#include "tools/gen/Format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace gen {

namespace {

// Writes the digits of u right to left ending before q; returns the new front.
char* digitsBackwards(char* q, std::uint64_t u) {
    do {
        *--q = static_cast<char>('0' + u % 10);
        u /= 10;
    } while (u != 0);
    return q;
}

constexpr std::array<double, 10> kPow10 = {1, 10, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

// Mantissa digits (`digits` of them, the first non-zero) and the exponent e such that the
// value is 0.d1d2... x 10^e; false when the value is not finite.
bool scientificDigits(double value, int digits, char* mantissa, int& exponent) {
    if (!std::isfinite(value))
        return false;
    if (value == 0) {
        for (int i = 0; i < digits; ++i)
            mantissa[i] = '0';
        exponent = 0;
        return true;
    }
    std::array<char, 40> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(value),
                                   std::chars_format::scientific, digits - 1);
    const char* p = buf.data();
    int n = 0;
    for (; p < res.ptr && *p != 'e'; ++p)
        if (*p != '.')
            mantissa[n++] = *p;
    int e = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, e);
    exponent = e + 1;
    return n == digits;
}

void appendExponentForm(std::string& out, double value, int width, int digits) {
    std::array<char, 20> m{};
    int e = 0;
    if (!scientificDigits(value, digits, m.data(), e) || e > 99 || e < -99) {
        out.append(static_cast<std::size_t>(width), ' ');
        return;
    }
    const int used = 2 + digits + 4; // "0." digits "D+dd"
    out.append(static_cast<std::size_t>(width - used - 1), ' ');
    out.push_back(value < 0 ? '-' : ' ');
    out.append("0.");
    out.append(m.data(), static_cast<std::size_t>(digits));
    out.push_back('D');
    out.push_back(e < 0 ? '-' : '+');
    const int a = std::abs(e);
    out.push_back(static_cast<char>('0' + a / 10));
    out.push_back(static_cast<char>('0' + a % 10));
}

} // namespace

void appendFixed(std::string& out, double value, int width, int decimals) {
    std::array<char, 32> buf{};
    char* const end = buf.data() + buf.size();
    const double scaled = std::round(value * kPow10[static_cast<std::size_t>(decimals)]);
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 9e18) {
        out.append(static_cast<std::size_t>(width), ' ');
        return;
    }
    const auto v = static_cast<std::int64_t>(scaled);
    std::uint64_t u = v < 0 ? static_cast<std::uint64_t>(-v) : static_cast<std::uint64_t>(v);
    char* q = end;
    for (int i = 0; i < decimals; ++i) {
        *--q = static_cast<char>('0' + u % 10);
        u /= 10;
    }
    if (decimals > 0)
        *--q = '.';
    q = digitsBackwards(q, u);
    if (v < 0)
        *--q = '-';
    const auto len = static_cast<int>(end - q);
    if (len > width) {
        out.append(static_cast<std::size_t>(width), ' ');
        return;
    }
    out.append(static_cast<std::size_t>(width - len), ' ');
    out.append(q, static_cast<std::size_t>(len));
}

void appendInt(std::string& out, std::int64_t value, int width) {
    std::array<char, 24> buf{};
    char* const end = buf.data() + buf.size();
    const std::uint64_t u =
        value < 0 ? static_cast<std::uint64_t>(-value) : static_cast<std::uint64_t>(value);
    char* q = digitsBackwards(end, u);
    if (value < 0)
        *--q = '-';
    const auto len = static_cast<int>(end - q);
    if (len > width) {
        out.append(static_cast<std::size_t>(width), ' ');
        return;
    }
    out.append(static_cast<std::size_t>(width - len), ' ');
    out.append(q, static_cast<std::size_t>(len));
}

void appendZeroPadded(std::string& out, std::int64_t value, int width) {
    std::array<char, 24> buf{};
    char* const end = buf.data() + buf.size();
    char* q = digitsBackwards(end, static_cast<std::uint64_t>(value < 0 ? -value : value));
    while (end - q < width)
        *--q = '0';
    out.append(end - width, static_cast<std::size_t>(width));
}

void appendD19(std::string& out, double value) {
    appendExponentForm(out, value, 19, 12);
}

void appendD12(std::string& out, double value) {
    appendExponentForm(out, value, 12, 4);
}

void appendText(std::string& out, std::string_view text, std::size_t width) {
    if (text.size() > width)
        text = text.substr(0, width);
    out.append(text);
    out.append(width - text.size(), ' ');
}

void endHeaderLine(std::string& out, std::string_view label) {
    const std::size_t start = out.rfind('\n') == std::string::npos ? 0 : out.rfind('\n') + 1;
    const std::size_t len = out.size() - start;
    if (len < 60)
        out.append(60 - len, ' ');
    else
        out.resize(start + 60);
    appendText(out, label, 20);
    out.push_back('\n');
}

void endLine(std::string& out) {
    std::size_t n = out.size();
    while (n > 0 && out[n - 1] == ' ')
        --n;
    out.resize(n);
    out.push_back('\n');
}

void putF143(char* p, double value) {
    const double scaled = std::round(value * 1000.0);
    char* q = p + 14;
    if (!std::isfinite(scaled) || scaled >= 1e13 || scaled <= -1e12) {
        while (q > p)
            *--q = ' ';
        return;
    }
    const auto v = static_cast<std::int64_t>(scaled);
    std::uint64_t u = v < 0 ? static_cast<std::uint64_t>(-v) : static_cast<std::uint64_t>(v);
    for (int i = 0; i < 3; ++i) {
        *--q = static_cast<char>('0' + u % 10);
        u /= 10;
    }
    *--q = '.';
    q = digitsBackwards(q, u);
    if (v < 0)
        *--q = '-';
    while (q > p)
        *--q = ' ';
}

} // namespace gen
