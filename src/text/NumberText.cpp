#include "text/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace text {

std::string GeneralText(long double x, std::string_view decSep) {
    const std::string_view point = decSep.empty() ? std::string_view(".") : decSep;
    if (std::isnan(x))
        return "NAN";
    if (std::isinf(x))
        return x < 0 ? "-INF" : "INF";
    if (x == 0)
        return "0";
    std::string out;
    if (x < 0)
        out.push_back('-');
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 14);
    // buf holds "d.ddddddddddddddde[+-]x..."
    const std::string_view sci(buf, static_cast<std::size_t>(res.ptr - buf));
    const std::size_t ePos = sci.find('e');
    std::string digits;
    digits.push_back(sci[0]);
    digits.append(sci.substr(2, ePos - 2));
    int exponent = std::atoi(std::string(sci.substr(ePos + 1)).c_str());
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    if (exponent >= 15 || exponent < -5) {
        out.push_back(digits[0]);
        if (digits.size() > 1) {
            out.append(point);
            out.append(digits, 1);
        }
        out.push_back('E');
        if (exponent < 0)
            out.push_back('-');
        out.append(std::to_string(std::abs(exponent)));
        return out;
    }
    if (exponent >= 0) {
        const std::size_t intDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= intDigits) {
            out.append(digits);
            out.append(intDigits - digits.size(), '0');
            return out;
        }
        out.append(digits, 0, intDigits);
        out.append(point);
        out.append(digits, intDigits);
        return out;
    }
    out.push_back('0');
    out.append(point);
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out.append(digits);
    return out;
}

std::string FixedText(long double x, int width, int decimals) {
    if (decimals < 0)
        decimals = 0;
    if (x == 0)
        x = 0; // no "-0.000"
    std::string out;
    if (std::isnan(x) || std::isinf(x)) {
        out = std::isnan(x) ? "NAN" : (x < 0 ? "-INF" : "INF");
    } else {
        // Wide enough for the largest extended value with its decimals.
        std::string buf(5000 + static_cast<std::size_t>(decimals), '\0');
        const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), x,
                                       std::chars_format::fixed, decimals);
        out.assign(buf.data(), res.ptr);
    }
    if (width > 0 && out.size() < static_cast<std::size_t>(width))
        out.insert(0, static_cast<std::size_t>(width) - out.size(), ' ');
    return out;
}

} // namespace text
