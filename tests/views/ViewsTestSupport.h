#pragma once

#include "text/RecordFile.h"
#include "text/ScanObserver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <span>
#include <string>
#include <unistd.h>
#include <vector>

namespace viewstest {

/// Writes down the message boxes a view shows.
class NoticeRecorder final : public text::ScanObserver {
public:
    void progress(double) override {}
    void status(std::string_view) override {}
    void notice(std::string_view text) override { notices.emplace_back(text); }
    void pollInput() override {}
    bool stopRequested() const override { return false; }
    void clearStop() override {}
    void busy(bool) override {}
    void waitNotice(bool) override {}
    void epochShown(std::string_view, std::string_view) override {}
    void repaint() override {}
    void pause(int) override {}

    std::vector<std::string> notices;
};

/// A private folder for one test, removed with everything in it afterwards.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& tag)
        : path(std::filesystem::temp_directory_path() /
               ("quillon-views-" + tag + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder() { std::filesystem::remove_all(path); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::filesystem::path file(const std::string& name) const { return path / name; }

    const std::filesystem::path path;
};

/// Writes the encoded records into a new record file, as a scan leaves it.
template <class Record, class Encode>
void writeRecords(const std::filesystem::path& file, std::size_t recordSize,
                  const std::vector<Record>& records, Encode encode) {
    text::RecordFile out;
    ASSERT_TRUE(out.create(file, recordSize));
    for (const Record& r : records) {
        const auto bytes = encode(r);
        ASSERT_TRUE(out.append(std::span<const std::byte>(bytes)));
    }
    ASSERT_TRUE(out.flush());
}

} // namespace viewstest
