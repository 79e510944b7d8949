#include "scan/RunSetup.h"

#include <cassert>
#include <langinfo.h>
#include <locale.h>

namespace scan {

namespace fs = std::filesystem;

namespace {

constexpr bool tempFilesInOrder() {
    for (std::size_t i = 0; i < kTempFiles.size(); ++i)
        if (tempFileIndex(kTempFiles[i].file) != i)
            return false;
    return true;
}
static_assert(tempFilesInOrder(), "kTempFiles lists the files in TempFile order");

// The order in which the files of the temporary folder are deleted at close.
constexpr std::array<TempFile, kTempFileCount> kDeleteOrder = {
    TempFile::EphemGPSRecs,   TempFile::EphemGLORecs, TempFile::EphemGEORecs,
    TempFile::EphemGALRecs,   TempFile::RinexEpochs,  TempFile::ExtEventRecsXA,
    TempFile::ExtEventRecsXB, TempFile::EventRecs,    TempFile::Meteo,
    TempFile::ObsRecs,        TempFile::Header,       TempFile::HeaderGPS,
    TempFile::HeaderGLO,      TempFile::HeaderMeteo,  TempFile::HeaderGEO,
    TempFile::HeaderGAL,
};

constexpr std::string_view kTempFolder = "TempQuillon";
constexpr int kLastTempNumber = 99999;

const std::string kSeparator(1, fs::path::preferred_separator);

/// A name is taken by anything that stands there: a folder, a file, even a broken link.
bool nameTaken(const std::string& name) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(name, ec));
}

std::string useFolder(const std::string& folder) {
    std::error_code ec;
    fs::create_directory(folder, ec);
    return folder + kSeparator;
}

/// Tells the failure at record file i and leaves no record file open: a scan must not write
/// into a set of which a part is missing or stale.
bool refuseRecordFiles(RunState& state, std::size_t i, text::ScanObserver& observer) {
    observer.notice("Error Opening File " + std::string(kTempFiles[i].name) + " ! ");
    for (text::RecordFile& f : state.recordFiles)
        f.close();
    state.RecordFilesCreated = false;
    return false;
}

void makeTempDir(const RunState& state) {
    std::error_code ec;
    if (!state.TempDir.empty())
        fs::create_directories(state.TempDir, ec);
}

} // namespace

std::size_t companionIndex(text::FileKind kind) noexcept {
    switch (kind) {
    case text::FileKind::N:
        return 0;
    case text::FileKind::G:
        return 1;
    case text::FileKind::H:
        return 2;
    case text::FileKind::L:
        return 3;
    case text::FileKind::M:
        return 4;
    case text::FileKind::O:
        break;
    }
    assert(false && "the observation file is no companion");
    return 0;
}

char kindLetter(text::FileKind kind) noexcept {
    switch (kind) {
    case text::FileKind::O:
        return 'O';
    case text::FileKind::N:
        return 'N';
    case text::FileKind::G:
        return 'G';
    case text::FileKind::M:
        return 'M';
    case text::FileKind::H:
        return 'H';
    case text::FileKind::L:
        return 'L';
    }
    return 'O';
}

text::RecordFile& RunState::recordFile(TempFile f) noexcept {
    assert(tempFileIndex(f) < kRecordFileCount && "the header exports are no record files");
    return recordFiles[tempFileIndex(f)];
}

std::string DecSepOfLocale(const char* localeName) {
    // A locale object of its own: the process's locale (and that of other threads) stays.
    locale_t numeric = ::newlocale(LC_NUMERIC_MASK, localeName, locale_t{});
    if (numeric == locale_t{})
        return ".";
    const char* radix = ::nl_langinfo_l(RADIXCHAR, numeric);
    std::string sep = radix != nullptr ? radix : "";
    ::freelocale(numeric);
    // Without a separator numbers would read as one run of digits.
    return sep.empty() ? std::string(".") : sep;
}

std::string ReadDecSep() {
    return DecSepOfLocale(""); // "" takes the names from LC_ALL, LC_NUMERIC and LANG
}

std::string StartDirOf(const fs::path& workingDir) {
    std::string dir = workingDir.string();
    if (!dir.empty() && dir.back() != fs::path::preferred_separator)
        dir += kSeparator;
    return dir;
}

std::string ChooseTempDir(const std::string& startDir) {
    const std::string plain = startDir + std::string(kTempFolder);
    if (!nameTaken(plain))
        return useFolder(plain);
    std::string numbered;
    for (int n = 0; n <= kLastTempNumber; ++n) {
        numbered = plain + "_" + std::to_string(n);
        if (!nameTaken(numbered))
            return useFolder(numbered);
    }
    return numbered + kSeparator;
}

void SetUpRun(RunState& state, std::string decSep, const fs::path& workingDir) {
    state.DecSep = std::move(decSep);
    state.StartDir = StartDirOf(workingDir);
    state.TempDir = ChooseTempDir(state.StartDir);
    for (std::string& name : state.recordFileNames)
        name.clear();
    state.RecordFilesCreated = false;
}

void SetUpRun(RunState& state) {
    std::error_code ec;
    fs::path working = fs::current_path(ec);
    if (ec)
        working.clear(); // the folder then lies in the working directory, named relatively
    SetUpRun(state, ReadDecSep(), working);
}

bool CreateRecordFiles(RunState& state, text::ScanObserver& observer) {
    state.RecordFilesCreated = false;
    for (std::size_t i = 0; i < kTempFileCount; ++i)
        state.recordFileNames[i] = state.TempDir + std::string(kTempFiles[i].name);
    if (state.TempDir.empty())
        return refuseRecordFiles(state, 0, observer); // never set up: no folder to write to
    makeTempDir(state);
    for (std::size_t i = 0; i < kRecordFileCount; ++i)
        if (!state.recordFiles[i].create(state.recordFileNames[i], kTempFiles[i].recordSize))
            return refuseRecordFiles(state, i, observer);
    state.RecordFilesCreated = true;
    return true;
}

bool EmptyRecordFiles(RunState& state, text::ScanObserver& observer) {
    if (!state.RecordFilesCreated)
        return CreateRecordFiles(state, observer);
    makeTempDir(state);
    for (std::size_t i = 0; i < kRecordFileCount; ++i)
        if (!state.recordFiles[i].reset())
            return refuseRecordFiles(state, i, observer);
    return true;
}

void RemoveExpandedFiles(RunState& state) {
    std::error_code ec;
    for (const std::string& name : state.expandedFiles)
        fs::remove(fs::path(name), ec);
    state.expandedFiles.clear();
    state.expansions.fill(expand::Expansion{});
}

void DeleteTempFiles(RunState& state) {
    RemoveExpandedFiles(state);
    for (text::RecordFile& f : state.recordFiles)
        f.close();
    state.RecordFilesCreated = false;
    if (state.TempDir.empty())
        return;
    std::error_code ec;
    for (TempFile f : kDeleteOrder) {
        const fs::path path = state.TempDir + std::string(TempFileName(f));
        const auto status = fs::symlink_status(path, ec);
        if (fs::exists(status) && !fs::is_directory(status))
            fs::remove(path, ec);
    }
    fs::remove(fs::path(state.TempDir), ec); // only an empty folder goes
}

} // namespace scan
