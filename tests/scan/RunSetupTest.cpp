#include "scan/RunSetup.h"

#include "RecordingObserver.h"

#include "header/HeaderExport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <locale.h>
#include <optional>

namespace fs = std::filesystem;
using scantest::RecordingObserver;
using scantest::ScratchFolder;
using scantest::writeBytes;

namespace {

/// Sets an environment variable for one test and puts the old value back afterwards.
class EnvironmentValue {
public:
    EnvironmentValue(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        ::setenv(name, value, 1);
    }
    ~EnvironmentValue() {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }
    EnvironmentValue(const EnvironmentValue&) = delete;
    EnvironmentValue& operator=(const EnvironmentValue&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

/// The first installed locale whose decimal separator is a comma, if the machine has one.
std::optional<std::string> commaLocale() {
    for (const char* name :
         {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8", "es_ES.UTF-8",
          "it_IT.UTF-8", "ru_RU.UTF-8", "de_DE", "fr_FR"}) {
        locale_t l = ::newlocale(LC_NUMERIC_MASK, name, locale_t{});
        if (l == locale_t{})
            continue;
        ::freelocale(l);
        return name;
    }
    return std::nullopt;
}

std::vector<std::string> namesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(ChooseTempDir, LeftoverFoldersLeadToTheNextNumber) {
    ScratchFolder start("tempdir");
    EXPECT_EQ(scan::ChooseTempDir(start.dir()), start.dir() + "TempQuillon/");
    EXPECT_TRUE(fs::is_directory(start.path / "TempQuillon"));

    // The folder of the run above is left over: the next run takes number 0.
    EXPECT_EQ(scan::ChooseTempDir(start.dir()), start.dir() + "TempQuillon_0/");
    EXPECT_TRUE(fs::is_directory(start.path / "TempQuillon_0"));

    fs::create_directory(start.path / "TempQuillon_1");
    writeBytes(start.file("TempQuillon_2"), "a file takes the name too");
    EXPECT_EQ(scan::ChooseTempDir(start.dir()), start.dir() + "TempQuillon_3/");
    EXPECT_TRUE(fs::is_directory(start.path / "TempQuillon_3"));
}

TEST(ChooseTempDir, AFileNamedTempQuillonIsPassedBy) {
    ScratchFolder start("tempfile");
    writeBytes(start.file("TempQuillon"), "");
    EXPECT_EQ(scan::ChooseTempDir(start.dir()), start.dir() + "TempQuillon_0/");
    EXPECT_TRUE(fs::is_directory(start.path / "TempQuillon_0"));
}

TEST(StartDirOf, EndsInASeparator) {
    EXPECT_EQ(scan::StartDirOf("/home/user/gnss"), "/home/user/gnss/");
    EXPECT_EQ(scan::StartDirOf("/home/user/gnss/"), "/home/user/gnss/");
    EXPECT_EQ(scan::StartDirOf("/"), "/");
    EXPECT_EQ(scan::StartDirOf(""), "");
}

TEST(SetUpRun, SetsTheRunFolders) {
    ScratchFolder start("setup");
    scan::RunState state;
    state.recordFileNames[0] = "left from before";
    scan::SetUpRun(state, ",", start.path);
    EXPECT_EQ(state.DecSep, ",");
    EXPECT_EQ(state.StartDir, start.dir());
    EXPECT_EQ(state.TempDir, start.dir() + "TempQuillon/");
    EXPECT_TRUE(fs::is_directory(state.TempDir));
    EXPECT_FALSE(state.RecordFilesCreated);
    for (const std::string& name : state.recordFileNames)
        EXPECT_EQ(name, "");
}

TEST(CreateRecordFiles, CreatesTheTenFilesEmpty) {
    ScratchFolder start("records");
    scan::RunState state;
    scan::SetUpRun(state, ".", start.path);
    fs::remove(state.TempDir); // gone meanwhile: created again
    RecordingObserver observer;
    ASSERT_TRUE(scan::CreateRecordFiles(state, observer));
    EXPECT_TRUE(observer.notices.empty());
    EXPECT_TRUE(state.RecordFilesCreated);

    constexpr struct {
        scan::TempFile file;
        const char* name;
        std::size_t size;
    } kFiles[] = {
        {scan::TempFile::RinexEpochs, "RinexEpochs.dat", 640},
        {scan::TempFile::ExtEventRecsXA, "ExtEventRecsXA.dat", 48},
        {scan::TempFile::ExtEventRecsXB, "ExtEventRecsXB.dat", 48},
        {scan::TempFile::EventRecs, "EventRecs.dat", 48},
        {scan::TempFile::EphemGPSRecs, "EphemGPSRecs.dat", 184},
        {scan::TempFile::EphemGLORecs, "EphemGLORecs.dat", 128},
        {scan::TempFile::Meteo, "Meteo.dat", 1040},
        {scan::TempFile::EphemGEORecs, "EphemGEORecs.dat", 128},
        {scan::TempFile::EphemGALRecs, "EphemGALRecs.dat", 208},
        {scan::TempFile::ObsRecs, "ObsRecs.dat", 16},
    };
    for (const auto& f : kFiles) {
        SCOPED_TRACE(f.name);
        const std::string path = state.TempDir + f.name;
        EXPECT_EQ(state.recordFileName(f.file), path);
        EXPECT_TRUE(state.recordFile(f.file).isOpen());
        EXPECT_EQ(state.recordFile(f.file).recordSize(), f.size);
        EXPECT_EQ(fs::file_size(path), 0u);
    }
    EXPECT_EQ(state.recordFileName(scan::TempFile::Header), state.TempDir + "Header.dat");
    EXPECT_EQ(state.recordFileName(scan::TempFile::HeaderGAL), state.TempDir + "HeaderGAL.dat");
    EXPECT_EQ(namesIn(state.TempDir).size(), 10u); // the header exports come with their steps
}

TEST(CreateRecordFiles, EmptiedAgainBeforeAScan) {
    ScratchFolder start("empty");
    scan::RunState state;
    scan::SetUpRun(state, ".", start.path);
    RecordingObserver observer;
    ASSERT_TRUE(scan::CreateRecordFiles(state, observer));
    text::RecordFile& obs = state.recordFile(scan::TempFile::ObsRecs);
    ASSERT_TRUE(obs.append(std::array<std::byte, 16>{}));
    ASSERT_TRUE(obs.flush());
    ASSERT_EQ(fs::file_size(state.recordFileName(scan::TempFile::ObsRecs)), 16u);

    ASSERT_TRUE(scan::EmptyRecordFiles(state, observer));
    EXPECT_EQ(fs::file_size(state.recordFileName(scan::TempFile::ObsRecs)), 0u);
    EXPECT_EQ(obs.recordCount(), 0u);
    ASSERT_TRUE(obs.append(std::array<std::byte, 16>{})); // still open for appending
    EXPECT_TRUE(observer.notices.empty());
}

TEST(CreateRecordFiles, StopsAtTheFirstFileThatCannotBeCreatedAndRetriesLater) {
    ScratchFolder start("blocked");
    scan::RunState state;
    scan::SetUpRun(state, ".", start.path);
    fs::create_directory(state.TempDir + "EphemGPSRecs.dat"); // stands in the way
    RecordingObserver observer;
    EXPECT_FALSE(scan::CreateRecordFiles(state, observer));
    EXPECT_EQ(observer.notices, std::vector<std::string>{"Error Opening File EphemGPSRecs.dat ! "});
    EXPECT_FALSE(state.RecordFilesCreated);
    EXPECT_TRUE(fs::exists(state.TempDir + "EventRecs.dat"));
    EXPECT_FALSE(fs::exists(state.TempDir + "EphemGLORecs.dat")); // no further file
    EXPECT_FALSE(fs::exists(state.TempDir + "ObsRecs.dat"));
    for (const text::RecordFile& f : state.recordFiles)
        EXPECT_FALSE(f.isOpen()); // nothing can be written into a part of the set

    fs::remove(state.TempDir + "EphemGPSRecs.dat");
    observer.notices.clear();
    ASSERT_TRUE(scan::EmptyRecordFiles(state, observer)); // the next reset tries again
    EXPECT_TRUE(state.RecordFilesCreated);
    EXPECT_TRUE(state.recordFile(scan::TempFile::ObsRecs).isOpen());
    EXPECT_TRUE(observer.notices.empty());
}

TEST(CreateRecordFiles, FailureWhileEmptyingIsTold) {
    ScratchFolder start("emptyfail");
    scan::RunState state;
    scan::SetUpRun(state, ".", start.path);
    RecordingObserver observer;
    ASSERT_TRUE(scan::CreateRecordFiles(state, observer));
    fs::remove(state.TempDir + "Meteo.dat");
    fs::create_directory(state.TempDir + "Meteo.dat");
    EXPECT_FALSE(scan::EmptyRecordFiles(state, observer));
    EXPECT_EQ(observer.notices, std::vector<std::string>{"Error Opening File Meteo.dat ! "});
    EXPECT_FALSE(state.RecordFilesCreated);
    EXPECT_FALSE(state.recordFile(scan::TempFile::RinexEpochs).isOpen());
}

TEST(DeleteTempFiles, RemovesTheFilesAndTheFolder) {
    ScratchFolder start("delete");
    scan::RunState state;
    scan::SetUpRun(state, ".", start.path);
    RecordingObserver observer;
    ASSERT_TRUE(scan::CreateRecordFiles(state, observer));
    ASSERT_TRUE(state.recordFile(scan::TempFile::RinexEpochs).append(std::array<std::byte, 640>{}));
    ASSERT_TRUE(header::SaveHeaderFile(header::THeaderData{},
                                       state.recordFileName(scan::TempFile::Header), "."));
    ASSERT_TRUE(header::SaveHeaderFile(header::THeaderDataMeteo{},
                                       state.recordFileName(scan::TempFile::HeaderMeteo), "."));
    scan::DeleteTempFiles(state);
    EXPECT_FALSE(fs::exists(state.TempDir));
    EXPECT_FALSE(state.recordFile(scan::TempFile::RinexEpochs).isOpen());
    EXPECT_TRUE(fs::is_directory(start.path)); // only its own folder goes
}

TEST(DeleteTempFiles, AForeignFileKeepsTheFolder) {
    ScratchFolder start("deleteforeign");
    scan::RunState state;
    scan::SetUpRun(state, ".", start.path);
    RecordingObserver observer;
    ASSERT_TRUE(scan::CreateRecordFiles(state, observer));
    writeBytes(state.TempDir + "notes.txt", "not ours");
    scan::DeleteTempFiles(state);
    EXPECT_EQ(namesIn(state.TempDir), std::vector<std::string>{"notes.txt"});
}

TEST(DecSep, ReadFromANamedLocale) {
    EXPECT_EQ(scan::DecSepOfLocale("C.UTF-8"), ".");
    EXPECT_EQ(scan::DecSepOfLocale("POSIX"), ".");
    EXPECT_EQ(scan::DecSepOfLocale("xx_NOWHERE.UTF-8"), "."); // no such locale
}

TEST(DecSep, ReadFromTheEnvironment) {
    {
        const EnvironmentValue all("LC_ALL", "C.UTF-8");
        EXPECT_EQ(scan::ReadDecSep(), ".");
    }
    {
        const EnvironmentValue all("LC_ALL", "xx_NOWHERE.UTF-8");
        EXPECT_EQ(scan::ReadDecSep(), "."); // unreadable: digits still get a point
    }
}

TEST(DecSep, CommaLocaleLeavesTheProcessLocaleAlone) {
    const auto comma = commaLocale();
    if (!comma)
        GTEST_SKIP() << "no locale with a decimal comma is installed (see locale -a)";
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    {
        const EnvironmentValue all("LC_ALL", comma->c_str());
        EXPECT_EQ(scan::ReadDecSep(), ",");
    }
    EXPECT_EQ(scan::DecSepOfLocale(comma->c_str()), ",");
    EXPECT_EQ(std::setlocale(LC_NUMERIC, nullptr), before);
    EXPECT_STREQ(std::localeconv()->decimal_point, ".");
}
