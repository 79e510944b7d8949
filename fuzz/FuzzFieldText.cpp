// The routines that read file text, on arbitrary bytes, with the invariants their callers
// rely on: words are pieces of the text, a strictly valid number converts to the value the
// plain conversion gives and survives its shown form, and extended reals survive the
// record codec.
#include "FuzzSupport.h"

#include "text/FieldText.h"
#include "text/NumberText.h"
#include "text/RecordBytes.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

namespace {

using fuzz::check;

// True when part lies inside whole (views cut from it).
bool within(std::string_view part, std::string_view whole) {
    return part.empty() || (part.data() >= whole.data() &&
                            part.data() + part.size() <= whole.data() + whole.size());
}

bool sameValue(long double a, long double b) {
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

void words(std::string_view text) {
    std::string_view s = text, w;
    while (!s.empty()) {
        const std::size_t before = s.size();
        text::NextWord(s, w);
        check(within(w, text) && within(s, text));
        check(w.find(' ') == std::string_view::npos);
        check(s.size() < before);
    }
    s = text;
    w = {};
    while (!s.empty()) {
        const std::string_view beforeS = s, beforeW = w;
        text::NextWordOrDash(s, w);
        check(within(w, text) && within(s, text));
        if (s.data() == beforeS.data() && s.size() == beforeS.size()) {
            // Neither a near blank nor a dash: nothing is assigned.
            check(w.data() == beforeW.data() && w.size() == beforeW.size());
            break;
        }
        check(s.size() < beforeS.size());
    }
    std::string_view first, rest;
    text::FirstWord(text, first, rest);
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        check(first.empty() && rest.empty());
    } else {
        check(first.data() == text.data() + start);
        check(first.data() + first.size() == rest.data() || rest.empty());
        check(first.size() + rest.size() == text.size() - start);
        check(first.find(' ') == std::string_view::npos);
        check(rest.empty() || rest.front() == ' ');
    }
}

void trims(std::string_view text) {
    const std::string_view t = text::GeneralTrim(text);
    check(within(t, text));
    if (!t.empty()) {
        check(static_cast<unsigned char>(t.front()) > 32);
        check(static_cast<unsigned char>(t.back()) > 32);
    }
    std::string_view r = text;
    text::RightTrim(r);
    check(r.empty() || r.back() != ' ');
    std::string owned(text);
    text::RightTrim(owned);
    check(owned == r);
}

// The shown forms of a value read from the text: the general form must read back as a strict
// number close to the value (15 digits), a fixed form must have the fixed-field shape.
void shown(long double x) {
    const std::string general = text::GeneralText(x, ".");
    if (!std::isfinite(x)) {
        check(general == (std::isnan(x) ? "NAN" : (x < 0 ? "-INF" : "INF")));
        return;
    }
    const text::StrictResult back = text::StrictNumber(general);
    check(back.valid());
    const long double tolerance = std::fabs(x) * 1e-14L;
    check(std::fabs(back.value - x) <= tolerance || (std::fabs(x) < 1e-4900L));
    check(text::GeneralText(x, ",").find('.') == std::string::npos);
    if (std::fabs(x) < 1e30L) {
        for (int decimals : {0, 3, 7}) {
            const std::string fixed = text::FixedText(x, 14, decimals);
            check(fixed.size() >= 14);
            if (decimals > 0)
                check(text::FixedFormatOK(fixed, 14, decimals));
        }
    }
}

void numbers(std::string_view text) {
    const text::StrictResult strict = text::StrictNumber(text);
    check(strict.errorPos >= 0 && static_cast<std::size_t>(strict.errorPos) <= text.size() + 1);
    if (strict.valid()) {
        check(!std::isnan(strict.value));
        const std::string_view number = text.substr(text.find_first_not_of(' '));
        long double plain = 0;
        check(text::DecimalToExtended(number, plain));
        check(sameValue(plain, strict.value));
        shown(strict.value);
    }

    long double fortran = 12345;
    const bool fortranOk = text::FortranReal(text, fortran);
    check(!std::isnan(fortran));
    if (fortranOk)
        shown(fortran);

    long double real = 12345;
    std::string_view rest;
    if (text::RealFromText(text, real, rest)) {
        check(!std::isnan(real));
        shown(real);
    } else {
        check(real == 12345);
    }
    check(within(rest, text));

    std::int32_t n = -7;
    if (text::IntFromText(text, n, rest))
        check(n >= 0);
    else
        check(n == -7);
    check(within(rest, text));

    long double decimal = 0;
    if (text::DecimalToExtended(text, decimal))
        check(!std::isnan(decimal));

    for (std::int32_t d : {0, 1, 3, 7, 20}) {
        const bool ok = text::FixedFormatOK(text, 0, d);
        if (ok) {
            check(text.size() >= static_cast<std::size_t>(d) + 1);
            check(text[text.size() - static_cast<std::size_t>(d) - 1] == '.');
        }
    }
}

// Any ten bytes decode to some value; a finite value survives encoding and decoding.
void extended(std::span<const std::uint8_t> data) {
    if (data.size() < 10)
        return;
    std::array<std::byte, 10> raw{};
    std::memcpy(raw.data(), data.data(), 10);
    const long double x = text::decodeExt80(raw);
    const long double again = text::decodeExt80(text::encodeExt80(x));
    check(sameValue(x, again));
    if (std::isfinite(x))
        check(text::encodeExt80(again) == text::encodeExt80(x));
}

void roundTrip(long double x) {
    if (!std::isfinite(x))
        return;
    check(sameValue(text::decodeExt80(text::encodeExt80(x)), x));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    words(text);
    trims(text);
    numbers(text);
    numbers(text::GeneralTrim(text));
    extended(std::span<const std::uint8_t>(data, size));
    const text::StrictResult strict = text::StrictNumber(text::GeneralTrim(text));
    if (strict.valid())
        roundTrip(strict.value);
    return 0;
}
