#pragma once

// Compressed fixtures for the tests of expanded files: libarchive packs the bytes in memory.

#include <archive.h>
#include <archive_entry.h>
#include <string>
#include <string_view>

namespace testsupport {

/// The bytes compressed with gzip (true) or Unix compress (false), as one member.
inline std::string packed(std::string_view text, bool gzip) {
    archive* a = archive_write_new();
    if (gzip)
        archive_write_add_filter_gzip(a);
    else
        archive_write_add_filter_compress(a);
    archive_write_set_format_raw(a);
    archive_write_set_bytes_in_last_block(a, 1);
    std::string out(text.size() * 2 + 1024, '\0');
    std::size_t used = 0;
    archive_write_open_memory(a, out.data(), out.size(), &used);
    archive_entry* e = archive_entry_new();
    archive_entry_set_pathname(e, "data");
    archive_entry_set_filetype(e, AE_IFREG);
    archive_write_header(a, e);
    archive_write_data(a, text.data(), text.size());
    archive_write_close(a);
    archive_entry_free(e);
    archive_write_free(a);
    out.resize(used);
    return out;
}

} // namespace testsupport
