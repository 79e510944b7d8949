#pragma once

#include <cstddef>
#include <string_view>

namespace text {

/// Columns first..last (1-based, inclusive) of a line; a line that ends early gives a short
/// or empty field, never a throw.
constexpr std::string_view columns(std::string_view line, std::size_t first,
                                   std::size_t last) noexcept {
    if (first == 0 || last < first || first > line.size())
        return {};                                   // the line ends before the field
    return line.substr(first - 1, last - first + 1); // substr clamps a short tail
}

/// The character in column c (1-based), or '\0' when the line is shorter.
constexpr char column(std::string_view line, std::size_t c) noexcept {
    return (c == 0 || c > line.size()) ? '\0' : line[c - 1];
}

/// True when every character of the field is a blank (an empty field is blank).
constexpr bool isBlank(std::string_view field) noexcept {
    for (char ch : field)
        if (ch != ' ')
            return false;
    return true;
}

} // namespace text
