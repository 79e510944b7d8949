#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <vector>

namespace text {

inline constexpr std::size_t kMaxLineLength = 80;

/// A text line as a scanner sees it: the raw line and its checked form, which is "End" at the
/// end of the file (nothing read, or an empty last line), "*" for a line longer than 80
/// characters, and the raw line otherwise.
struct TextLine {
    enum class Form { Line, Long, End };
    std::string_view raw;
    std::string_view checked;
    Form form = Form::End;
    bool isEnd() const noexcept { return form == Form::End; }
    bool isLong() const noexcept { return form == Form::Long; }

    static constexpr std::string_view kEnd = "End";
    static constexpr std::string_view kLong = "*";
};

/// Reads a text file line by line through one large buffer, handing out each line as a view
/// that is valid until the next read. A line ends at a line feed; a carriage return right
/// before it is dropped. A line longer than the buffer cap is cut there and its rest skipped.
class LineReader {
public:
    LineReader() = default;
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    /// Opens a regular file; false at once for anything else under the name (a folder, a fifo,
    /// a device) and for a file that cannot be read.
    bool open(const std::filesystem::path& path);
    bool isOpen() const noexcept { return m_file != nullptr; }
    void close();
    /// Back to the first line.
    bool rewind();
    /// True when no character is left to read.
    bool atEnd();
    /// The next line without its line end; false when the file is at its end.
    bool next(std::string_view& line);
    /// The next line with its checked form.
    TextLine readLine();
    /// Bytes consumed so far (lines handed out and their line ends).
    std::uint64_t position() const noexcept { return m_consumed; }

    /// Largest raw line held in memory; longer lines are cut to this length.
    static constexpr std::size_t kLineCap = 16u << 20;

private:
    bool fill();
    void skipTail();

    std::FILE* m_file = nullptr;
    std::vector<char> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_eof = false;
    bool m_skipRest = false; // the tail of a cut line is still to be skipped
    std::uint64_t m_consumed = 0;
};

/// Number of lines of a file: line feeds, plus one for a last line without one. 0 for a file
/// that cannot be read.
std::uint64_t CountLines(const std::filesystem::path& path);

} // namespace text
