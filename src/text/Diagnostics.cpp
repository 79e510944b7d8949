#include "text/Diagnostics.h"

namespace text {

std::string MessageLine(std::int64_t lineNo, std::string_view message) {
    std::string line = "string ";
    line += std::to_string(lineNo);
    line += " : ";
    line += message;
    return line;
}

void DiagnosticList::add(std::int64_t lineNo, std::string_view message, std::string_view raw) {
    m_lines.push_back(MessageLine(lineNo, message));
    m_lines.emplace_back(raw.substr(0, kMaxRawKept));
}

void DiagnosticList::addPlain(std::string_view messageLine, std::string_view raw) {
    m_lines.emplace_back(messageLine);
    m_lines.emplace_back(raw.substr(0, kMaxRawKept));
}

void DiagnosticsLists::clearAll() noexcept {
    for (auto& list : m_header)
        list.clear();
    for (auto& list : m_data)
        list.clear();
}

bool DiagnosticsLists::anyLines() const noexcept {
    for (const auto& list : m_header)
        if (!list.empty())
            return true;
    for (const auto& list : m_data)
        if (!list.empty())
            return true;
    return false;
}

} // namespace text
