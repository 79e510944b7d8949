#pragma once

#include "text/ScanObserver.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace scantest {

/// Writes down everything a step shows, in order; message boxes also go to notices.
class RecordingObserver final : public text::ScanObserver {
public:
    void progress(double fraction) override {
        events.push_back("progress " + std::to_string(fraction));
        fractions.push_back(fraction);
    }
    void status(std::string_view text) override { events.push_back("status " + std::string(text)); }
    void notice(std::string_view text) override {
        events.push_back("notice " + std::string(text));
        notices.emplace_back(text);
    }
    void pollInput() override { events.emplace_back("pollInput"); }
    bool stopRequested() const override { return false; }
    void clearStop() override {}
    void busy(bool on) override { events.push_back(on ? "busy on" : "busy off"); }
    void waitNotice(bool shown) override { events.push_back(shown ? "wait shown" : "wait hidden"); }
    void epochShown(std::string_view, std::string_view) override {}
    void repaint() override { ++repaints; }
    void pause(int) override {}

    std::vector<std::string> events;
    std::vector<std::string> notices;
    std::vector<double> fractions;
    int repaints = 0;
};

/// A private folder for one test, removed with everything in it afterwards.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& tag)
        : path(std::filesystem::temp_directory_path() /
               ("quillon-" + tag + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder() { std::filesystem::remove_all(path); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    /// The folder with a trailing separator, as StartDir holds it.
    std::string dir() const { return path.string() + "/"; }
    std::string file(const std::string& name) const { return (path / name).string(); }

    const std::filesystem::path path;
};

inline void writeBytes(const std::string& name, const std::string& bytes) {
    std::ofstream out(name, std::ios::binary);
    out << bytes;
}

inline std::string readBytes(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace scantest
