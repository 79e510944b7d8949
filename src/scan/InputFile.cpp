#include "scan/InputFile.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace scan {

namespace fs = std::filesystem;

namespace {

constexpr int kLastCopyNumber = 999;
constexpr std::uint64_t kProgressStep = 10000; // bytes between two gauge updates
constexpr std::size_t kBlock = 1 << 16;
constexpr std::size_t kHeadBytes = 512; // enough for the first line of compact RINEX

char lowerAscii(char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameLetters(std::string_view a, std::string_view b) noexcept {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

/// The position where the file name starts, after the last separator.
std::size_t fileNameStart(const std::string& name) noexcept {
    const std::size_t sep = name.rfind(fs::path::preferred_separator);
    return sep == std::string::npos ? 0 : sep + 1;
}

bool isFile(const fs::path& p) {
    std::error_code ec;
    const auto status = fs::status(p, ec);
    return fs::exists(status) && !fs::is_directory(status);
}

/// Anything standing under the name takes it, a broken link included.
bool nameTaken(const std::string& name) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(name, ec));
}

/// The line-end test: the file has bare line feeds when its first line feed (the first byte
/// itself is never taken as one) follows anything but a carriage return. A file without any
/// line feed is a normal file.
bool bareLineFeedFile(std::FILE* in, int firstByte) {
    int prev = firstByte;
    for (int c = std::fgetc(in); c != EOF; c = std::fgetc(in)) {
        if (c == '\n')
            return prev != '\r';
        prev = c;
    }
    return false;
}

/// Leaves the window as it was before a conversion: no wait panel, default cursor, gauge 0.
void showIdle(text::ScanObserver& observer) {
    observer.waitNotice(false);
    observer.busy(false);
    observer.progress(0);
    observer.repaint();
}

/// Copies in to out byte for byte with every line feed written as CR LF; false when a read
/// or a write fails.
bool convert(std::FILE* in, std::FILE* out, std::int64_t size, text::ScanObserver& observer) {
    std::vector<char> block(kBlock);
    std::string converted;
    converted.reserve(2 * kBlock);
    std::uint64_t count = 0;
    for (;;) {
        const std::size_t got = std::fread(block.data(), 1, block.size(), in);
        converted.clear();
        for (std::size_t i = 0; i < got; ++i) {
            ++count;
            if (count % kProgressStep == 0 && size > 1) {
                const double fraction = static_cast<double>(count) / static_cast<double>(size);
                observer.progress(std::min(fraction, 1.0));
                observer.repaint();
            }
            if (block[i] == '\n')
                converted.push_back('\r');
            converted.push_back(block[i]);
        }
        if (std::fwrite(converted.data(), 1, converted.size(), out) != converted.size())
            return false;
        if (got < block.size())
            return std::ferror(in) == 0;
    }
}

} // namespace

std::int64_t FileSizeOf(const std::string& name) {
    const auto found = FindFileCaseBlind(name);
    if (!found)
        return -1;
    std::error_code ec;
    const auto size = fs::file_size(*found, ec);
    return ec ? -1 : static_cast<std::int64_t>(size);
}

std::optional<std::string> FindFileCaseBlind(const std::string& name) {
    if (name.empty())
        return std::nullopt;
    if (isFile(name))
        return name;
    const std::size_t start = fileNameStart(name);
    const std::string_view wanted = std::string_view(name).substr(start);
    if (wanted.empty())
        return std::nullopt;
    const std::string folder = start == 0 ? std::string(".") : name.substr(0, start);
    std::optional<std::string> best;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (!sameLetters(entry, wanted) || !isFile(it->path()))
            continue;
        if (!best || entry < best->substr(start))
            best = name.substr(0, start) + entry;
    }
    return best;
}

std::string ConvertedCopyName(const std::string& name, int n) {
    const std::size_t start = fileNameStart(name);
    const std::size_t dot = name.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot >= start;
    const std::string base = hasExtension ? name.substr(0, dot) : name;
    const std::string extension = hasExtension ? name.substr(dot) : std::string();
    return base + "_" + std::to_string(n) + extension;
}

std::string CompanionName(const std::string& fileName, text::FileKind kind) {
    if (fileName.empty())
        return {};
    return fileName.substr(0, fileName.size() - 1) + kindLetter(kind);
}

bool OpenInputFile(const std::string& name, std::string& nameInUse, text::ScanObserver& observer) {
    nameInUse = name;
    const std::string openError = "Error Opening File " + name + " ! ";
    std::error_code ec;
    // Only a regular file is read: a folder reads nothing, opening a fifo waits for a writer,
    // and a device such as /dev/zero never ends.
    std::FILE* in = fs::is_regular_file(name, ec) ? std::fopen(name.c_str(), "rb") : nullptr;
    if (in == nullptr) {
        observer.notice(openError);
        return false;
    }
    const int first = std::fgetc(in);
    if (first == EOF) {
        const bool readError = std::ferror(in) != 0;
        std::fclose(in);
        observer.notice(readError ? openError : "File " + name + " is empty ! ");
        return false;
    }
    const bool bare = bareLineFeedFile(in, first);
    if (std::ferror(in) != 0) {
        std::fclose(in);
        observer.notice(openError);
        return false;
    }
    if (!bare) {
        showIdle(observer);
        std::fclose(in);
        return true;
    }

    observer.status("Converting Unix file...");
    std::string copy;
    bool vacant = false;
    for (int n = 0; n <= kLastCopyNumber && !vacant; ++n) {
        copy = ConvertedCopyName(name, n);
        vacant = !nameTaken(copy);
    }
    nameInUse = copy;
    // "x": the copy is created new and never replaces a file, even one that appeared just now.
    std::FILE* out = vacant ? std::fopen(copy.c_str(), "wbx") : nullptr;
    if (out == nullptr) {
        std::fclose(in);
        observer.status("");
        observer.notice("Error Opening File " + copy + " ! ");
        return false;
    }

    std::rewind(in);
    const std::int64_t size = FileSizeOf(name);
    observer.progress(0);
    observer.busy(true);
    observer.waitNotice(true);
    bool copied = convert(in, out, size, observer);
    copied = std::fclose(out) == 0 && copied;
    std::fclose(in);
    observer.status("");
    showIdle(observer);
    if (!copied) {
        // An incomplete copy would be scanned as if it were the whole file.
        fs::remove(copy, ec);
        observer.notice("Error Writing File " + copy + " ! ");
        return false;
    }
    return true;
}

std::vector<std::string> CompanionNames(const std::string& chosenName, text::FileKind kind) {
    const std::string plain = CompanionName(expand::WithoutCompressionSuffix(chosenName), kind);
    if (plain.empty())
        return {};
    return {plain, plain + ".Z", plain + ".gz"};
}

std::string ExpandedName(const std::string& tempDir, const std::string& name, text::FileKind kind) {
    const std::string file = expand::WithoutCompressionSuffix(name.substr(fileNameStart(name)));
    return tempDir + "Expanded" + kindLetter(kind) + "_" + file;
}

bool OpenRinexFile(const std::string& name, const std::string& tempDir, text::FileKind kind,
                   std::string& nameInUse, expand::Expansion& expansion,
                   text::ScanObserver& observer) {
    expansion = expand::Expansion{};
    std::error_code ec;
    std::string head;
    if (fs::is_regular_file(name, ec)) {
        if (std::FILE* in = std::fopen(name.c_str(), "rb")) {
            head.resize(kHeadBytes);
            head.resize(std::fread(head.data(), 1, head.size(), in));
            std::fclose(in);
        }
    }
    // Missing, empty, unreadable and plain files are OpenInputFile's.
    if (!expand::NeedsExpansion(head))
        return OpenInputFile(name, nameInUse, observer);

    nameInUse = ExpandedName(tempDir, name, kind);
    fs::remove(nameInUse, ec); // an expansion left by an earlier scan of this run
    observer.status("Expanding compressed file...");
    observer.progress(0);
    observer.busy(true);
    expansion = expand::ExpandFile(name, nameInUse, observer);
    observer.status("");
    showIdle(observer);
    if (!expansion.expanded) {
        observer.notice(expansion.problem);
        return false;
    }
    if (!expansion.complete)
        observer.notice(expansion.problem);
    if (expansion.bytes == 0) {
        fs::remove(nameInUse, ec);
        if (expansion.complete)
            observer.notice("File " + name + " is empty ! ");
        return false;
    }
    return true;
}

void ChooseObservationFile(RunState& state, std::string name) {
    state.observationFileName = name;
    state.chosenFileName = std::move(name);
}

bool OpenObservationFile(RunState& state, text::ScanObserver& observer) {
    const std::string name =
        FindFileCaseBlind(state.observationFileName).value_or(state.observationFileName);
    std::string inUse;
    expand::Expansion& expansion = state.expansion(text::FileKind::O);
    const bool opened =
        OpenRinexFile(name, state.TempDir, text::FileKind::O, inUse, expansion, observer);
    if (expansion.expanded)
        state.expandedFiles.push_back(inUse);
    if (!opened)
        return false;
    state.observationFileName = inUse;
    return true;
}

bool FindCompanionFile(RunState& state, text::FileKind kind, text::ScanObserver& observer) {
    bool& found = state.companionFound(kind);
    std::string& name = state.companionName(kind);
    found = false;
    const std::vector<std::string> candidates = CompanionNames(state.chosenFileName, kind);
    name = candidates.empty() ? std::string() : candidates.front();
    std::optional<std::string> onDisk;
    for (const std::string& candidate : candidates) {
        onDisk = FindFileCaseBlind(candidate);
        if (onDisk)
            break;
    }
    if (!onDisk)
        return true;
    std::string inUse;
    expand::Expansion& expansion = state.expansion(kind);
    const bool opened = OpenRinexFile(*onDisk, state.TempDir, kind, inUse, expansion, observer);
    if (expansion.expanded)
        state.expandedFiles.push_back(inUse);
    if (!opened)
        return false;
    name = inUse;
    found = true;
    return true;
}

} // namespace scan
