#pragma once

#include "text/ScanObserver.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace expand {

/// The compressed forms a file may come in, told by its first bytes.
enum class Container { None, Gzip, Compress, Bzip2, Xz };

/// The container that the first bytes of a file show: gzip (1F 8B), Unix compress (1F 9D),
/// bzip2 ("BZh"), xz (FD "7zXZ" 00); None for anything else.
Container ContainerOf(std::string_view head) noexcept;
/// "gzip", "compress", "bzip2", "xz"; "" for None.
std::string_view ContainerName(Container container) noexcept;

/// True when a file that starts with these bytes is read through an expansion: it is
/// compressed, or its first line is that of compact RINEX.
bool NeedsExpansion(std::string_view head) noexcept;

/// The file name less a compression suffix (".Z", ".gz", ".bz2", ".xz", in any letter case):
/// "site0010.21d.Z" gives "site0010.21d".
std::string WithoutCompressionSuffix(const std::string& name);

/// What an expansion did.
struct Expansion {
    bool expanded = false;   // the text read is an expansion of `source`
    std::string source;      // the file expanded
    std::string from;        // "gzip", "compress", "compact RINEX 1.0", "compact RINEX 1.0 in gzip"
    std::uint64_t bytes = 0; // bytes of expanded text written
    bool complete = false;   // the whole input was expanded
    /// When not complete: "Error Expanding File " + source + " ! " and why, naming the
    /// compact line where the input is compact RINEX.
    std::string problem;
};

/// Expands `source` (compressed, compact or both) into the new file `target`, every line
/// ending in CR LF, and shows its progress. The expansion stops at the first fault of the
/// compressed data or the first compact line that cannot be decoded; what was expanded up to
/// there stays in `target`. `target` is never an existing file: when it cannot be created,
/// nothing is written and `problem` says so.
Expansion ExpandFile(const std::string& source, const std::string& target,
                     text::ScanObserver& observer);

} // namespace expand
