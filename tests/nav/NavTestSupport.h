#pragma once

#include "text/Diagnostics.h"
#include "text/LineReader.h"
#include "text/RecordFile.h"
#include "text/ScanObserver.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace navtest {

/// Remembers what a scan showed the user.
class RecordingObserver final : public text::ScanObserver {
public:
    void progress(double fraction) override { progressValues.push_back(fraction); }
    void status(std::string_view text) override { statusTexts.emplace_back(text); }
    void notice(std::string_view text) override { notices.emplace_back(text); }
    void pollInput() override {}
    bool stopRequested() const override { return false; }
    void clearStop() override {}
    void busy(bool on) override { busyCalls.push_back(on); }
    void waitNotice(bool) override {}
    void epochShown(std::string_view, std::string_view) override {}
    void repaint() override { ++repaints; }
    void pause(int) override {}

    std::vector<double> progressValues;
    std::vector<std::string> statusTexts;
    std::vector<std::string> notices;
    std::vector<bool> busyCalls;
    int repaints = 0;
};

/// A header line: the content padded to 60 columns, then the label.
inline std::string headerLine(std::string_view content, std::string_view label) {
    std::string line(content);
    if (line.size() < 60)
        line.append(60 - line.size(), ' ');
    line += label;
    return line;
}

inline std::string joinLines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& l : lines) {
        text += l;
        text += "\r\n";
    }
    return text;
}

/// A file of its own in the test's temporary folder, opened for a scanner, and an empty record
/// file beside it.
class ScanFiles {
public:
    ScanFiles(const std::string& content, std::size_t recordSize) {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::filesystem::path(testing::TempDir()) /
                (std::string("quillon_") + info->test_suite_name() + "_" + info->name());
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
        std::filesystem::create_directories(m_dir, ec);
        m_text = m_dir / "input.txt";
        std::ofstream(m_text, std::ios::binary) << content;
        EXPECT_TRUE(reader.open(m_text));
        EXPECT_TRUE(records.create(m_dir / "records.dat", recordSize));
    }
    ~ScanFiles() {
        reader.close();
        records.close();
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    ScanFiles(const ScanFiles&) = delete;
    ScanFiles& operator=(const ScanFiles&) = delete;

    /// The bytes of the record file so far.
    std::vector<std::byte> recordBytes() {
        records.flush();
        std::ifstream in(records.path(), std::ios::binary);
        std::vector<char> raw((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
        std::vector<std::byte> bytes(raw.size());
        for (std::size_t i = 0; i < raw.size(); ++i)
            bytes[i] = static_cast<std::byte>(raw[i]);
        return bytes;
    }
    const std::filesystem::path& recordPath() const { return records.path(); }
    const std::filesystem::path& dir() const { return m_dir; }

    text::LineReader reader;
    text::RecordFile records;
    text::DiagnosticsLists lists;
    RecordingObserver observer;

private:
    std::filesystem::path m_dir;
    std::filesystem::path m_text;
};

/// Lower-case hex of bytes, without separators.
inline std::string hex(std::span<const std::byte> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string s;
    for (std::byte b : bytes) {
        const auto v = static_cast<unsigned>(b);
        s += kDigits[v >> 4];
        s += kDigits[v & 15];
    }
    return s;
}

/// Checks that the record holds the given hex texts at their offsets and zero everywhere else.
inline void expectFields(std::span<const std::byte> record,
                         std::initializer_list<std::pair<std::size_t, std::string_view>> fields) {
    std::vector<bool> covered(record.size(), false);
    for (const auto& [offset, bytes] : fields) {
        SCOPED_TRACE("offset " + std::to_string(offset));
        const std::size_t n = bytes.size() / 2;
        ASSERT_LE(offset + n, record.size());
        EXPECT_EQ(hex(record.subspan(offset, n)), bytes);
        for (std::size_t i = 0; i < n; ++i)
            covered[offset + i] = true;
    }
    for (std::size_t i = 0; i < record.size(); ++i) {
        if (!covered[i]) {
            EXPECT_EQ(static_cast<unsigned>(record[i]), 0u) << "byte " << i << " should be zero";
        }
    }
}

} // namespace navtest
