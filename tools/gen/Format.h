#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace gen {

// Fixed-column number texts appended to a growing buffer. Each writer puts exactly `width`
// characters (right-aligned, blank-filled); a value too wide for its field is written as
// blanks, so a line never loses its column layout.

/// Fw.d: rounded to `decimals` places, '-' for negative values, '0' before the point.
void appendFixed(std::string& out, double value, int width, int decimals);

/// Iw: a right-aligned decimal integer.
void appendInt(std::string& out, std::int64_t value, int width);

/// I2.2-style: the value with leading zeros to `width` digits.
void appendZeroPadded(std::string& out, std::int64_t value, int width);

/// D19.12: sign or blank, "0.", twelve digits, "D", exponent sign and two digits
/// (" 0.123456789012D+04"); zero is " 0.000000000000D+00".
void appendD19(std::string& out, double value);

/// D12.4 as the ionosphere header lines use it ("  0.1118D-07").
void appendD12(std::string& out, double value);

/// The text left-aligned and cut or blank-padded to `width` characters.
void appendText(std::string& out, std::string_view text, std::size_t width);

/// Pads the current line (text after the last '\n') to 60 characters, appends the 20-character
/// label and a line end.
void endHeaderLine(std::string& out, std::string_view label);

/// Removes trailing blanks of the current line and appends a line end.
void endLine(std::string& out);

/// F14.3 for an observation value, written into exactly 14 characters at p.
void putF143(char* p, double value);

} // namespace gen
