#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace text {

// The shared routines that cut and judge the fixed-column fields of RINEX lines. Texts are
// byte strings; "blank" is the space character only. The in/out texts are views into a line
// owned by the caller and never outlive it.

/// Cuts the first blank-separated word off s: leading blanks are skipped, the word and exactly
/// one blank after it are removed. An empty or all-blank s gives an empty word and empty s.
void NextWord(std::string_view& s, std::string_view& w) noexcept;

/// NextWord that also ends a word at a '-' (dropped) when no blank stands in positions 1-6;
/// with neither, w and s are left as they were.
void NextWordOrDash(std::string_view& s, std::string_view& w) noexcept;

/// Copies the first word of s into w without consuming; r keeps the blank that ended the word.
void FirstWord(std::string_view s, std::string_view& w, std::string_view& r) noexcept;

/// Finds the first run of digits, '.' and '-' in s and converts it ('.' is always the decimal
/// point). False when no run is found or it does not convert; r stands after the run.
bool RealFromText(std::string_view s, long double& x, std::string_view& r) noexcept;

/// Finds the first run of digits in s (a '-' is skipped like any other character) and converts
/// it to int32. False when there is none or it is too long for int32 (n unchanged).
bool IntFromText(std::string_view s, std::int32_t& n, std::string_view& r) noexcept;

/// True for the version word of a RINEX 2 file: "2", "2." or 2.0x and 2.1x with one digit or
/// none after the "0" or "1" ("2.0", "2.01", "2.10", "2.11"). "3.02", "2.2" or "20" are not.
bool IsRinex2Version(std::string_view word) noexcept;

/// Removes trailing blanks only.
void RightTrim(std::string_view& s) noexcept;
void RightTrim(std::string& s);

/// Removes every character of code 32 or less at both ends.
std::string_view GeneralTrim(std::string_view s) noexcept;

/// Adds blanks at the end (atEnd) or at the front until s is n characters long.
void PadTo(std::int32_t n, bool atEnd, std::string& s);

/// "hh:mm:ss.mmm", each part zero-padded to 2 (milliseconds 3) digits; wider values stay whole.
std::string TimeText(std::uint16_t h, std::uint16_t m, std::uint16_t s, std::uint16_t ms);

/// "dd/mm/yyyy" with day and month zero-padded to two digits and the year as plain decimal.
std::string DateText(std::uint16_t d, std::uint16_t m, std::uint16_t y);

/// Replaces every '.' of s by the whole decimal separator text.
void DotToDecSep(std::string& s, std::string_view decSep);

/// Reads a real with a Fortran D or E exponent ("-0.123456789012D-04"): the later exponent
/// letter wins, the exponent is a sign and exactly two digits (more are ignored), and it is
/// applied by repeated multiplication or division by 10. False for a plain number; x then keeps
/// its value, or the mantissa once that was read.
bool FortranReal(std::string_view s, long double& x) noexcept;

/// The strict reading of a whole field: blanks, optional sign, digits, optional '.' and digits,
/// optional exponent; nothing may follow. errorPos is the 1-based position of the first
/// offending character (one past the end for a text that ends too early), 0 when valid.
struct StrictResult {
    long double value = 0;
    std::int32_t errorPos = 0;
    constexpr bool valid() const noexcept { return errorPos == 0; }
};
StrictResult StrictNumber(std::string_view s) noexcept;

/// True when f has the shape of a fixed-point field with d decimals: the last d characters are
/// digits or blanks, a '.' before them, and only digits, blanks or '-' before that. w is unused.
bool FixedFormatOK(std::string_view f, std::int32_t w, std::int32_t d) noexcept;

/// The decimal value of an optional sign, digits, optional '.' and digits, optional exponent,
/// correctly rounded to extended precision; false for any other text. The project's routines
/// judge the shape first; this one only converts, independently of the locale.
bool DecimalToExtended(std::string_view s, long double& x) noexcept;

} // namespace text
