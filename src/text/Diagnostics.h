#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace text {

/// The six RINEX file kinds, named after the last letter of the file name.
enum class FileKind { O, N, G, M, H, L };

inline constexpr std::array<FileKind, 6> kFileKinds = {FileKind::O, FileKind::N, FileKind::G,
                                                       FileKind::M, FileKind::H, FileKind::L};

/// The most of a raw line that a diagnostic keeps: a line of megabytes would otherwise be
/// copied whole into every diagnostic about it.
inline constexpr std::size_t kMaxRawKept = 4096;

/// One list of diagnostics. A diagnostic is two lines: "string " + line number + " : " +
/// message, then the raw line exactly as read (its first kMaxRawKept bytes).
class DiagnosticList {
public:
    /// Appends a numbered diagnostic.
    void add(std::int64_t lineNo, std::string_view message, std::string_view raw);
    /// Appends a message line as it stands (no number prefix) and the raw line.
    void addPlain(std::string_view messageLine, std::string_view raw);

    const std::vector<std::string>& lines() const noexcept { return m_lines; }
    bool empty() const noexcept { return m_lines.empty(); }
    std::size_t lineCount() const noexcept { return m_lines.size(); }
    void clear() noexcept { m_lines.clear(); }

private:
    std::vector<std::string> m_lines;
};

/// "string " + line number + " : " + message.
std::string MessageLine(std::int64_t lineNo, std::string_view message);

/// The twelve lists of a run: a header list and a data list per file kind.
class DiagnosticsLists {
public:
    DiagnosticList& header(FileKind kind) noexcept { return m_header[index(kind)]; }
    DiagnosticList& data(FileKind kind) noexcept { return m_data[index(kind)]; }
    const DiagnosticList& header(FileKind kind) const noexcept { return m_header[index(kind)]; }
    const DiagnosticList& data(FileKind kind) const noexcept { return m_data[index(kind)]; }

    void AddHeaderDiagnostic(FileKind kind, std::string_view messageLine, std::string_view raw) {
        header(kind).addPlain(messageLine, raw);
    }
    void AddDataDiagnostic(FileKind kind, std::string_view messageLine, std::string_view raw) {
        data(kind).addPlain(messageLine, raw);
    }

    void clearAll() noexcept;
    /// True when any of the twelve lists holds a line.
    bool anyLines() const noexcept;

private:
    static constexpr std::size_t index(FileKind kind) noexcept {
        return static_cast<std::size_t>(kind);
    }
    std::array<DiagnosticList, 6> m_header;
    std::array<DiagnosticList, 6> m_data;
};

} // namespace text
