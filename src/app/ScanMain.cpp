// quillon-scan: the scan of the window program, run without a window.

#include "app/ScanReport.h"
#include "scan/InputFile.h"
#include "scan/RunSetup.h"
#include "scan/ScanDriver.h"
#include "text/ScanObserver.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kClean = 0;
constexpr int kFindings = 1;
constexpr int kNotRun = 2;

/// Message boxes go to standard error as they come, and are kept for the JSON report.
class ConsoleObserver final : public text::ScanObserver {
public:
    void progress(double) override {}
    void status(std::string_view) override {}
    void notice(std::string_view text) override {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
        messages.emplace_back(text);
    }
    void pollInput() override {}
    bool stopRequested() const override { return false; }
    void clearStop() override {}
    void busy(bool) override {}
    void waitNotice(bool) override {}
    void epochShown(std::string_view, std::string_view) override {}
    void repaint() override {}
    void pause(int) override {}

    std::vector<std::string> messages;
};

void put(std::FILE* out, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), out);
}

/// The kept record folder as TempDir: absolute, created when missing, ending in a separator.
std::optional<std::string> recordFolder(const std::string& dir) {
    std::error_code ec;
    const fs::path path = fs::absolute(fs::path(dir), ec);
    if (ec)
        return std::nullopt;
    fs::create_directories(path, ec);
    if (!fs::is_directory(path, ec))
        return std::nullopt;
    std::string text = path.lexically_normal().string();
    if (text.empty() || text.back() != '/')
        text += '/';
    return text;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    app::ScanArguments options;
    std::string error;
    if (!app::ParseScanArguments(args, options, error)) {
        std::fprintf(stderr, "quillon-scan: %s\n", error.c_str());
        put(stderr, app::kScanUsage);
        return kNotRun;
    }
    if (options.help) {
        put(stdout, app::kScanUsage);
        return kClean;
    }

    ConsoleObserver observer;
    scan::TScanDriver driver(observer);
    scan::RunState& run = driver.run();
    const bool keep = !options.recordsDir.empty();
    if (keep) {
        const std::optional<std::string> folder = recordFolder(options.recordsDir);
        if (!folder) {
            std::fprintf(stderr, "quillon-scan: cannot create the folder %s\n",
                         options.recordsDir.c_str());
            return kNotRun;
        }
        std::error_code ec;
        run.DecSep = scan::ReadDecSep();
        run.StartDir = scan::StartDirOf(fs::current_path(ec));
        run.TempDir = *folder;
    } else {
        scan::SetUpRun(run);
    }

    // The file is chosen without the reset of a file choice: on a fresh run it would only
    // try the record files a first time, and tell a failure twice.
    scan::ChooseObservationFile(run, options.obsFile);
    const bool ran = driver.BBScanClick();

    views::QualityReport quality;
    bool qualityOk = true;
    if (ran && options.quality.wanted()) {
        std::string qualityError;
        qualityOk = app::RunQuality(driver, options.quality, quality, qualityError);
        if (!qualityOk)
            std::fprintf(stderr, "quillon-scan: %s\n", qualityError.c_str());
    }

    if (options.json) {
        nlohmann::ordered_json report =
            ran ? app::JsonReport(driver, observer.messages)
                : nlohmann::ordered_json{{"file", run.observationFileName},
                                         {"messages", observer.messages}};
        report["ran"] = ran;
        if (ran && options.quality.quality)
            report["quality"] = app::QualityJson(quality);
        put(stdout, app::JsonText(report) + "\n");
    } else if (ran) {
        put(stdout, app::TextReport(driver));
        if (options.quality.quality)
            put(stdout, "\n" + app::QualityText(quality));
    }
    std::fflush(stdout);
    const int status = !ran || !qualityOk ? kNotRun : app::ScanClean(driver) ? kClean : kFindings;

    if (keep) {
        for (text::RecordFile& f : run.recordFiles)
            f.close();
    } else {
        driver.FormClose();
    }
    return status;
}
