#pragma once

#include "expand/Expand.h"

#include "text/Diagnostics.h"
#include "text/RecordFile.h"
#include "text/ScanObserver.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace scan {

/// The files of the temporary folder: the ten binary record files in their order of creation,
/// then the six header exports.
enum class TempFile {
    RinexEpochs,
    ExtEventRecsXA,
    ExtEventRecsXB,
    EventRecs,
    EphemGPSRecs,
    EphemGLORecs,
    Meteo,
    EphemGEORecs,
    EphemGALRecs,
    ObsRecs,
    Header,
    HeaderGPS,
    HeaderGLO,
    HeaderMeteo,
    HeaderGEO,
    HeaderGAL,
};

inline constexpr std::size_t kTempFileCount = 16;
inline constexpr std::size_t kRecordFileCount = 10; // the binary ones, RinexEpochs to ObsRecs

struct TempFileSpec {
    TempFile file;
    std::string_view name;
    std::size_t recordSize; // 0 for the text exports
};

inline constexpr std::array<TempFileSpec, kTempFileCount> kTempFiles = {{
    {TempFile::RinexEpochs, "RinexEpochs.dat", 640},
    {TempFile::ExtEventRecsXA, "ExtEventRecsXA.dat", 48},
    {TempFile::ExtEventRecsXB, "ExtEventRecsXB.dat", 48},
    {TempFile::EventRecs, "EventRecs.dat", 48},
    {TempFile::EphemGPSRecs, "EphemGPSRecs.dat", 184},
    {TempFile::EphemGLORecs, "EphemGLORecs.dat", 128},
    {TempFile::Meteo, "Meteo.dat", 1040},
    {TempFile::EphemGEORecs, "EphemGEORecs.dat", 128},
    {TempFile::EphemGALRecs, "EphemGALRecs.dat", 208},
    {TempFile::ObsRecs, "ObsRecs.dat", 16},
    {TempFile::Header, "Header.dat", 0},
    {TempFile::HeaderGPS, "HeaderGPS.dat", 0},
    {TempFile::HeaderGLO, "HeaderGLO.dat", 0},
    {TempFile::HeaderMeteo, "HeaderMeteo.dat", 0},
    {TempFile::HeaderGEO, "HeaderGEO.dat", 0},
    {TempFile::HeaderGAL, "HeaderGAL.dat", 0},
}};

constexpr std::size_t tempFileIndex(TempFile f) noexcept {
    return static_cast<std::size_t>(f);
}
constexpr std::string_view TempFileName(TempFile f) noexcept {
    return kTempFiles[tempFileIndex(f)].name;
}

/// The companion files in the order a scan looks for them: N, G, H, L, M.
inline constexpr std::array<text::FileKind, 5> kCompanionKinds = {
    text::FileKind::N, text::FileKind::G, text::FileKind::H, text::FileKind::L, text::FileKind::M};

/// The position of a companion kind in kCompanionKinds; asserts on the observation kind.
std::size_t companionIndex(text::FileKind kind) noexcept;
/// The last letter of a file of this kind: 'O', 'N', 'G', 'M', 'H' or 'L'.
char kindLetter(text::FileKind kind) noexcept;

/// The file-system side of one program run, held by the main window. Not copyable: it owns the
/// open record files.
struct RunState {
    std::string DecSep;   // the user's decimal separator, "." when it cannot be read
    std::string StartDir; // the working directory at start-up, ending in a separator
    std::string TempDir;  // StartDir + folder name + separator

    /// The file the user chose; companions are named after it, also once it was converted.
    std::string chosenFileName;
    /// The observation file in use: after opening, the converted copy when there was one.
    std::string observationFileName;
    /// Per companion in kCompanionKinds order: after a search, the name actually read.
    std::array<std::string, 5> companionNames;
    /// Per companion: it exists and was opened for this scan.
    std::array<bool, 5> CompanionFound{};

    /// Per file kind (indexed by text::FileKind): what the expansion of its file did; not
    /// expanded for a plain file or a file not read in this scan.
    std::array<expand::Expansion, 6> expansions;
    /// The expanded texts written into TempDir in this run, removed before each scan and at
    /// close.
    std::vector<std::string> expandedFiles;

    /// True once all ten record files were created; false again after a failed creation, so
    /// the next call tries again.
    bool RecordFilesCreated = false;
    /// TempDir + fixed name, in kTempFiles order; empty until the record files are created.
    std::array<std::string, kTempFileCount> recordFileNames;
    /// The ten binary record files, open for appending once created.
    std::array<text::RecordFile, kRecordFileCount> recordFiles;

    RunState() = default;
    RunState(const RunState&) = delete;
    RunState& operator=(const RunState&) = delete;

    /// A binary record file (RinexEpochs ... ObsRecs).
    text::RecordFile& recordFile(TempFile f) noexcept;
    const std::string& recordFileName(TempFile f) const noexcept {
        return recordFileNames[tempFileIndex(f)];
    }
    std::string& companionName(text::FileKind kind) noexcept {
        return companionNames[companionIndex(kind)];
    }
    bool& companionFound(text::FileKind kind) noexcept {
        return CompanionFound[companionIndex(kind)];
    }
    expand::Expansion& expansion(text::FileKind kind) noexcept {
        return expansions[static_cast<std::size_t>(kind)];
    }
    const expand::Expansion& expansion(text::FileKind kind) const noexcept {
        return expansions[static_cast<std::size_t>(kind)];
    }
};

/// The decimal separator of the user's LC_NUMERIC setting (LC_ALL, LC_NUMERIC, LANG), read
/// without touching the process's locale. "." when the setting names no usable locale.
std::string ReadDecSep();
/// The decimal separator of a named locale; "." when there is no such locale.
std::string DecSepOfLocale(const char* localeName);

/// The folder with a path separator at its end ("" stays "").
std::string StartDirOf(const std::filesystem::path& workingDir);

/// Chooses and creates the temporary folder under startDir: "TempQuillon", or when that name
/// is taken (by a folder or a file) the first free "TempQuillon_0" ... "TempQuillon_99999".
/// With every name taken the last one is returned, not created. A folder that cannot be
/// created is returned all the same; the record files then report it.
std::string ChooseTempDir(const std::string& startDir);

/// The start-up set-up: DecSep, StartDir and TempDir (created), record file names cleared.
void SetUpRun(RunState& state, std::string decSep, const std::filesystem::path& workingDir);
/// SetUpRun with the user's separator and the process's working directory.
void SetUpRun(RunState& state);

/// Creates the ten binary record files empty in TempDir (creating TempDir again when it is
/// gone), in their order, and fills the 16 record file names. At the first file that cannot
/// be created: "Error Opening File " + its fixed name + " ! ", no further file is created,
/// RecordFilesCreated stays false and the result is false.
bool CreateRecordFiles(RunState& state, text::ScanObserver& observer);

/// Empties all ten record files again so that a scan starts from nothing; creates them when
/// they were never created or an earlier creation failed. Failures as CreateRecordFiles.
bool EmptyRecordFiles(RunState& state, text::ScanObserver& observer);

/// Deletes the expanded texts of the run and forgets what was expanded.
void RemoveExpandedFiles(RunState& state);

/// At close: removes the expanded texts, closes the record files, deletes the 16 files of TempDir
/// that exist and removes TempDir when it is then empty. Nothing is reported; what cannot be
/// removed stays.
void DeleteTempFiles(RunState& state);

} // namespace scan
