#pragma once

#include <string>
#include <string_view>

namespace text {

/// The general format of shown numbers: the shortest text of up to 15 significant digits,
/// fixed notation from 0.00001 up to below 10^15, otherwise mantissa, "E" and the exponent
/// without leading zeros ("1.5E-7", "2E20"). decSep stands for the decimal point; an empty
/// separator falls back to ".".
std::string GeneralText(long double x, std::string_view decSep);

/// Fixed-point text with `decimals` decimals and "." as the decimal point, right-aligned in a
/// field of `width` characters (wider when needed): real(w, d).
std::string FixedText(long double x, int width, int decimals);

} // namespace text
