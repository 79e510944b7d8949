#include "expand/Expand.h"

#include "expand/CompactRinex.h"

#include <algorithm>
#include <archive.h>
#include <archive_entry.h>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <system_error>
#include <vector>

namespace expand {

namespace {

constexpr std::size_t kBlock = 1 << 20;          // bytes read or inflated at a time
constexpr std::size_t kFlushAt = 1 << 22;        // bytes of text held before a write
constexpr std::uint64_t kProgressStep = 1 << 20; // input bytes between two gauge updates
constexpr std::size_t kFirstLineCap = 4096;      // bytes looked at for the first line
constexpr std::size_t kCompactLineCap = 1 << 20; // a compact line is never near this long
constexpr std::size_t kQuoted = 80;              // characters of a failing line in a message

char lowerAscii(char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool endsWithCaseBlind(std::string_view text, std::string_view end) noexcept {
    if (text.size() < end.size())
        return false;
    const std::string_view tail = text.substr(text.size() - end.size());
    return std::equal(tail.begin(), tail.end(), end.begin(),
                      [](char a, char b) { return lowerAscii(a) == lowerAscii(b); });
}

/// Reads the bytes of the input: through libarchive for a compressed file, plainly otherwise.
class Input {
public:
    Input() = default;
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;
    ~Input() {
        if (m_archive != nullptr)
            archive_read_free(m_archive);
        if (m_file != nullptr)
            std::fclose(m_file);
    }

    bool open(const std::string& path, Container container) {
        if (container == Container::None) {
            m_file = std::fopen(path.c_str(), "rb");
            if (m_file == nullptr)
                m_error = "the file cannot be read";
            return m_file != nullptr;
        }
        m_archive = archive_read_new();
        if (m_archive == nullptr) {
            m_error = "no memory for the expansion";
            return false;
        }
        // Only the filters built into the library: none of them may call an outside program.
        int filter = ARCHIVE_FATAL;
        switch (container) {
        case Container::None:
            break;
        case Container::Gzip:
            filter = archive_read_support_filter_gzip(m_archive);
            break;
        case Container::Compress:
            filter = archive_read_support_filter_compress(m_archive);
            break;
        case Container::Bzip2:
            filter = archive_read_support_filter_bzip2(m_archive);
            break;
        case Container::Xz:
            filter = archive_read_support_filter_xz(m_archive);
            break;
        }
        if (filter != ARCHIVE_OK) {
            m_error = std::string(ContainerName(container)) + " data cannot be read here";
            return false;
        }
        archive_entry* entry = nullptr;
        if (archive_read_support_format_raw(m_archive) != ARCHIVE_OK ||
            archive_read_open_filename(m_archive, path.c_str(), kBlock) != ARCHIVE_OK) {
            m_error = archiveError();
            return false;
        }
        const int header = archive_read_next_header(m_archive, &entry);
        if (header == ARCHIVE_EOF) {
            m_atEnd = true;
            return true;
        }
        if (header != ARCHIVE_OK && header != ARCHIVE_WARN) {
            m_error = archiveError();
            return false;
        }
        return true;
    }

    /// The next block; 0 at the end, -1 after a fault (error() says which).
    long read(char* buffer, std::size_t size) {
        if (m_atEnd)
            return 0;
        if (m_file != nullptr) {
            const std::size_t got = std::fread(buffer, 1, size, m_file);
            if (got == 0 && std::ferror(m_file) != 0) {
                m_error = "the file cannot be read";
                return -1;
            }
            return static_cast<long>(got);
        }
        const la_ssize_t got = archive_read_data(m_archive, buffer, size);
        if (got < 0) {
            m_error = archiveError();
            return -1;
        }
        return static_cast<long>(got);
    }

    /// Input bytes consumed so far.
    std::uint64_t consumed() const {
        if (m_file != nullptr) {
            const long at = std::ftell(m_file);
            return at < 0 ? 0 : static_cast<std::uint64_t>(at);
        }
        if (m_archive == nullptr)
            return 0;
        const la_int64_t at = archive_filter_bytes(m_archive, -1);
        return at < 0 ? 0 : static_cast<std::uint64_t>(at);
    }

    const std::string& error() const noexcept { return m_error; }

private:
    std::string archiveError() const {
        const char* text = archive_error_string(m_archive);
        return text != nullptr && *text != '\0'
                   ? std::string("the compressed data is faulty: ") + text
                   : std::string("the compressed data is faulty");
    }

    std::FILE* m_file = nullptr;
    archive* m_archive = nullptr;
    bool m_atEnd = false;
    std::string m_error;
};

/// The output text, written in large pieces. The last bytes are held back until the close, so
/// that the end of the last line can still be seen and mended.
class Output {
public:
    explicit Output(std::FILE* file) : m_file(file) { m_text.reserve(kFlushAt + kBlock); }
    std::string& text() noexcept { return m_text; }
    bool flushIfFull() { return m_text.size() < kFlushAt || write(m_text.size() - kHeldBack); }
    /// True when the text ends in an empty line (CR LF right after a line end).
    bool endsInEmptyLine() const {
        return m_text.size() >= kHeldBack &&
               std::string_view(m_text).substr(m_text.size() - kHeldBack) == "\n\r\n";
    }
    bool close() {
        write(m_text.size());
        const bool closed = std::fclose(m_file) == 0;
        m_file = nullptr;
        return closed && !m_failed;
    }
    std::uint64_t written() const noexcept { return m_written; }
    ~Output() {
        if (m_file != nullptr)
            std::fclose(m_file);
    }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

private:
    static constexpr std::size_t kHeldBack = 3; // "\n\r\n": an empty last line

    bool write(std::size_t n) {
        if (n > 0 && std::fwrite(m_text.data(), 1, n, m_file) != n)
            m_failed = true;
        m_written += n;
        m_text.erase(0, n);
        return !m_failed;
    }

    std::FILE* m_file;
    std::string m_text;
    std::uint64_t m_written = 0;
    bool m_failed = false;
};

std::string quotedLine(std::string_view line) {
    std::string q(line.substr(0, kQuoted));
    if (line.size() > kQuoted)
        q += "...";
    return q;
}

} // namespace

Container ContainerOf(std::string_view head) noexcept {
    const auto byte = [&head](std::size_t i) -> int {
        return i < head.size() ? static_cast<unsigned char>(head[i]) : -1;
    };
    if (byte(0) == 0x1F && byte(1) == 0x8B)
        return Container::Gzip;
    if (byte(0) == 0x1F && byte(1) == 0x9D)
        return Container::Compress;
    if (head.substr(0, 3) == "BZh")
        return Container::Bzip2;
    if (byte(0) == 0xFD && head.substr(1, 4) == "7zXZ" && byte(5) == 0)
        return Container::Xz;
    return Container::None;
}

std::string_view ContainerName(Container container) noexcept {
    switch (container) {
    case Container::None:
        return "";
    case Container::Gzip:
        return "gzip";
    case Container::Compress:
        return "compress";
    case Container::Bzip2:
        return "bzip2";
    case Container::Xz:
        return "xz";
    }
    return "";
}

bool NeedsExpansion(std::string_view head) noexcept {
    if (ContainerOf(head) != Container::None)
        return true;
    std::string_view first = head.substr(0, head.find('\n'));
    if (!first.empty() && first.back() == '\r')
        first.remove_suffix(1);
    return IsCompactFirstLine(first);
}

std::string WithoutCompressionSuffix(const std::string& name) {
    for (std::string_view suffix : {".Z", ".gz", ".bz2", ".xz"}) {
        if (name.size() > suffix.size() && endsWithCaseBlind(name, suffix))
            return name.substr(0, name.size() - suffix.size());
    }
    return name;
}

Expansion ExpandFile(const std::string& source, const std::string& target,
                     text::ScanObserver& observer) {
    Expansion result;
    result.source = source;
    const std::string failure = "Error Expanding File " + source + " ! ";

    std::error_code ec;
    const std::uintmax_t fileSize = std::filesystem::file_size(source, ec);
    const std::uint64_t size = ec ? 0 : static_cast<std::uint64_t>(fileSize);

    std::vector<char> block(kBlock);
    Container container = Container::None;
    {
        std::FILE* f = std::fopen(source.c_str(), "rb");
        if (f == nullptr) {
            result.problem = failure + "the file cannot be read";
            return result;
        }
        const std::size_t got = std::fread(block.data(), 1, 8, f);
        std::fclose(f);
        container = ContainerOf(std::string_view(block.data(), got));
    }
    Input input;
    if (!input.open(source, container)) {
        result.problem = failure + input.error();
        return result;
    }
    // "x": the expansion never replaces a file.
    std::FILE* out = std::fopen(target.c_str(), "wbx");
    if (out == nullptr) {
        result.problem = "Error Opening File " + target + " ! ";
        return result;
    }
    Output output(out);
    result.expanded = true;

    // The first line decides between compact RINEX and plain text.
    std::string pending;
    bool atEnd = false;
    std::string readFault;
    const auto readMore = [&]() -> bool {
        const long got = input.read(block.data(), block.size());
        if (got < 0) {
            readFault = input.error();
            atEnd = true;
            return false;
        }
        if (got == 0) {
            atEnd = true;
            return false;
        }
        pending.append(block.data(), static_cast<std::size_t>(got));
        return true;
    };
    while (pending.find('\n') == std::string::npos && pending.size() < kFirstLineCap &&
           readMore()) {
    }
    std::string_view firstLine = std::string_view(pending).substr(0, pending.find('\n'));
    if (!firstLine.empty() && firstLine.back() == '\r')
        firstLine.remove_suffix(1);
    const bool compact = IsCompactFirstLine(firstLine);
    if (compact && container != Container::None)
        result.from = std::string(kCompactForm) + " in " + std::string(ContainerName(container));
    else if (compact)
        result.from = std::string(kCompactForm);
    else
        result.from = std::string(ContainerName(container));

    std::uint64_t nextProgress = kProgressStep;
    const auto showProgress = [&]() {
        const std::uint64_t at = input.consumed();
        if (at < nextProgress || size <= 1)
            return;
        nextProgress = at + kProgressStep;
        observer.progress(std::min(1.0, static_cast<double>(at) / static_cast<double>(size)));
        observer.repaint();
    };

    std::string problem;
    if (!compact) {
        // Plain text: a line feed without a carriage return before it gains one.
        char last = '\0';
        std::string& text = output.text();
        for (;;) {
            const char* p = pending.data();
            const char* end = p + pending.size();
            while (p < end) {
                const void* nl = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
                const char* stop = nl == nullptr ? end : static_cast<const char*>(nl);
                text.append(p, static_cast<std::size_t>(stop - p));
                if (stop > p)
                    last = stop[-1];
                if (nl == nullptr)
                    break;
                if (last != '\r')
                    text += '\r';
                text += '\n';
                last = '\n';
                p = stop + 1;
            }
            pending.clear();
            if (!output.flushIfFull())
                break;
            showProgress();
            if (atEnd || !readMore())
                break;
        }
    } else {
        CompactDecoder decoder;
        std::size_t lineStart = 0;
        bool writeFailed = false;
        for (;;) {
            std::size_t nl = 0;
            while ((nl = pending.find('\n', lineStart)) != std::string::npos) {
                std::string_view line(pending.data() + lineStart, nl - lineStart);
                if (!line.empty() && line.back() == '\r')
                    line.remove_suffix(1);
                lineStart = nl + 1;
                if (!decoder.decode(line, output.text())) {
                    problem = decoder.problem() + " in compact line " +
                              std::to_string(decoder.lineNumber()) + ": " + quotedLine(line);
                    break;
                }
                // Compact text expands some fourfold: the text is written while a block is
                // decoded, so that it never grows far beyond kFlushAt.
                if (!output.flushIfFull()) {
                    writeFailed = true;
                    break;
                }
            }
            if (!problem.empty() || writeFailed)
                break;
            pending.erase(0, lineStart);
            lineStart = 0;
            if (pending.size() > kCompactLineCap) {
                problem = "compact line " + std::to_string(decoder.lineNumber() + 1) +
                          " is longer than " + std::to_string(kCompactLineCap) + " characters";
                break;
            }
            if (!output.flushIfFull())
                break;
            showProgress();
            if (atEnd || !readMore())
                break;
        }
        if (problem.empty() && readFault.empty()) {
            if (!pending.empty()) {
                // Compact text always ends its lines: a line without its end is where a
                // compressed stream stopped.
                problem = "the data stops inside compact line " +
                          std::to_string(decoder.lineNumber() + 1) + ": " + quotedLine(pending);
            } else if (!decoder.complete()) {
                problem = "the compact text ends inside its header or an epoch at compact line " +
                          std::to_string(decoder.lineNumber());
            }
        } else if (!readFault.empty()) {
            readFault += " after compact line " + std::to_string(decoder.lineNumber());
        }
        // Compact RINEX keeps no trailing blanks, so a last line of blanks only (the last
        // satellite with every observation blank) comes out empty. The reader of the text
        // takes an empty read at the end of a file as the end, as plain files with an empty
        // line after their last need, and would lose that line: here it keeps one blank.
        if (output.endsInEmptyLine())
            output.text().insert(output.text().size() - 2, 1, ' ');
    }
    const bool written = output.close();
    result.bytes = output.written();
    if (!readFault.empty())
        problem = readFault;
    if (!written)
        problem = "the expanded text cannot be written to " + target;
    result.complete = problem.empty();
    if (!result.complete)
        result.problem = failure + problem;
    return result;
}

} // namespace expand
