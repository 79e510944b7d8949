#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace fuzz {

/// A folder of its own under the system's temporary folder, made at the first input and
/// removed when the process ends normally. Set TMPDIR to keep it inside a scratch folder.
class ScratchFolder {
public:
    ScratchFolder() {
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
        std::string pattern =
            ((ec ? std::filesystem::path("/tmp") : base) / "quillon_fuzz_XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort(); // nowhere to put the files: a harness without them tests nothing
        m_path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const noexcept { return m_path; }

private:
    std::filesystem::path m_path;
};

inline const std::filesystem::path& scratch() {
    static ScratchFolder folder;
    return folder.path();
}

/// Writes the input bytes as the file `name` in the scratch folder (replacing the last one).
inline std::filesystem::path writeInput(const std::uint8_t* data, std::size_t size,
                                        std::string_view name) {
    const std::filesystem::path file = scratch() / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out)
        std::abort();
    return file;
}

/// Stops the run with a crash that libFuzzer records: a broken invariant.
[[noreturn]] inline void fail() {
    __builtin_trap();
}

inline void check(bool condition) {
    if (!condition)
        fail();
}

} // namespace fuzz
