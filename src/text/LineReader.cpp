#include "text/LineReader.h"

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace text {

namespace {
constexpr std::size_t kBlock = 128 << 10;
} // namespace

LineReader::~LineReader() {
    close();
}

// Opens a regular file for reading. Anything else standing under the name is refused without
// waiting: opening a fifo would wait for a writer, and a device such as /dev/zero never ends.
static std::FILE* openRegularFile(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st {};
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "rb");
    if (file == nullptr)
        ::close(fd);
    return file;
}

bool LineReader::open(const std::filesystem::path& path) {
    close();
    m_file = openRegularFile(path);
    if (m_file == nullptr)
        return false;
    std::setvbuf(m_file, nullptr, _IONBF, 0);
    m_buffer.resize(kBlock);
    m_pos = m_end = 0;
    m_eof = false;
    m_skipRest = false;
    m_consumed = 0;
    return true;
}

void LineReader::close() {
    if (m_file != nullptr)
        std::fclose(m_file);
    m_file = nullptr;
    m_pos = m_end = 0;
    m_eof = true;
}

bool LineReader::rewind() {
    if (m_file == nullptr)
        return false;
    if (std::fseek(m_file, 0, SEEK_SET) != 0)
        return false;
    m_pos = m_end = 0;
    m_eof = false;
    m_skipRest = false;
    m_consumed = 0;
    return true;
}

bool LineReader::fill() {
    if (m_file == nullptr || m_eof)
        return false;
    if (m_pos > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_pos, m_end - m_pos);
        m_end -= m_pos;
        m_pos = 0;
    }
    if (m_end == m_buffer.size()) {
        if (m_buffer.size() >= kLineCap)
            return false; // the caller cuts the line
        m_buffer.resize(m_buffer.size() * 2);
    }
    const std::size_t got = std::fread(m_buffer.data() + m_end, 1, m_buffer.size() - m_end, m_file);
    if (got == 0) {
        m_eof = true;
        return false;
    }
    m_end += got;
    return true;
}

void LineReader::skipTail() {
    while (m_skipRest) {
        const void* nl = std::memchr(m_buffer.data() + m_pos, '\n', m_end - m_pos);
        if (nl != nullptr) {
            const std::size_t at =
                static_cast<std::size_t>(static_cast<const char*>(nl) - m_buffer.data());
            m_consumed += at + 1 - m_pos;
            m_pos = at + 1;
            m_skipRest = false;
            return;
        }
        m_consumed += m_end - m_pos;
        m_pos = m_end;
        if (!fill())
            m_skipRest = false;
    }
}

bool LineReader::atEnd() {
    skipTail();
    while (m_pos >= m_end) {
        if (!fill())
            return true;
    }
    return false;
}

bool LineReader::next(std::string_view& line) {
    skipTail();
    std::size_t scanned = m_pos; // bytes before this hold no line feed
    while (true) {
        const void* nl = std::memchr(m_buffer.data() + scanned, '\n', m_end - scanned);
        if (nl != nullptr) {
            const std::size_t at =
                static_cast<std::size_t>(static_cast<const char*>(nl) - m_buffer.data());
            std::size_t len = at - m_pos;
            if (len > 0 && m_buffer[at - 1] == '\r')
                --len;
            line = std::string_view(m_buffer.data() + m_pos, len);
            m_consumed += at + 1 - m_pos;
            m_pos = at + 1;
            return true;
        }
        const std::size_t held = m_end - m_pos;
        if (fill()) {
            scanned = m_pos + held;
            continue;
        }
        if (m_pos == m_end)
            return false;
        // The last line without a line feed, or a line too long to hold whose rest is skipped.
        m_skipRest = m_end - m_pos >= kLineCap;
        line = std::string_view(m_buffer.data() + m_pos, m_end - m_pos);
        m_consumed += m_end - m_pos;
        m_pos = m_end;
        return true;
    }
}

TextLine LineReader::readLine() {
    TextLine t;
    std::string_view raw;
    if (!next(raw)) {
        t.checked = TextLine::kEnd;
        t.form = TextLine::Form::End;
        return t;
    }
    t.raw = raw;
    if (raw.empty() && atEnd()) {
        t.checked = TextLine::kEnd;
        t.form = TextLine::Form::End;
    } else if (raw.size() > kMaxLineLength) {
        t.checked = TextLine::kLong;
        t.form = TextLine::Form::Long;
    } else {
        t.checked = raw;
        t.form = TextLine::Form::Line;
    }
    return t;
}

std::uint64_t CountLines(const std::filesystem::path& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr)
        return 0;
    std::vector<char> block(128 * 1024);
    std::uint64_t lines = 0;
    char last = '\n';
    std::size_t got = 0;
    while ((got = std::fread(block.data(), 1, block.size(), f)) > 0) {
        const char* p = block.data();
        const char* end = p + got;
        while ((p = static_cast<const char*>(
                    std::memchr(p, '\n', static_cast<std::size_t>(end - p)))) != nullptr) {
            ++lines;
            ++p;
        }
        last = block[got - 1];
    }
    std::fclose(f);
    if (last != '\n')
        ++lines;
    return lines;
}

} // namespace text
