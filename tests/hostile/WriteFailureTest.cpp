#include "HostileSupport.h"

#include <gtest/gtest.h>

using namespace hostile;
using scan::Colour;
using scan::TempFile;
using text::FileKind;

namespace {

/// Replaces a record file of the run by a link to /dev/full, which Linux opens but whose every
/// write fails with ENOSPC: a full disk under the record file's own name. The scan's reset
/// opens it again through the link.
bool fillDisk(Rig& rig, TempFile f) {
    const fs::path path = rig.driver.run().recordFileName(f);
    std::error_code ec;
    fs::remove(path, ec);
    fs::create_symlink("/dev/full", path, ec);
    return !ec;
}

std::string meteoFile(int epochs) {
    Lines data;
    for (int n = 0; n < epochs; ++n)
        data.push_back(meteoLine(n));
    return fileOf({meteoHeader(), data});
}

} // namespace

TEST(DiskFull, ARefusedObservationRecordEndsTheStepRedAndTheCompanionsStillRun) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full on this system";
    Rig rig("full-obs");
    // 2000 epochs of three lines: the epochs file's 1 MiB buffer goes to the disk at 1639.
    const std::string obs = rig.put("site0010.09o", fileOf({obsHeader(), obsEpochs(2000)}));
    rig.put("site0010.09n", fileOf({gpsHeader(), gpsRecord(" 5")}));
    ASSERT_TRUE(rig.choose(obs));
    ASSERT_TRUE(fillDisk(rig, TempFile::RinexEpochs));
    ASSERT_TRUE(rig.driver.BBScanClick());
    EXPECT_EQ(rig.observer.notices,
              std::vector<std::string>{"Error Writing File RinexEpochs.dat ! "});
    EXPECT_EQ(rig.w().file(FileKind::O).data, Colour::Red);
    EXPECT_EQ(rig.w().STSumNumEp, "Epochs           1638");
    EXPECT_EQ(rig.w().ST_NFileStr, std::to_string(10 + 3 * 1639)); // read no further
    // What was written before stays: the observations of the 1638 epochs.
    EXPECT_EQ(rig.recordBytes(TempFile::ObsRecs), 1638u * 2u * 2u * 16u);
    EXPECT_EQ(rig.w().file(FileKind::N).data, Colour::Lime);
    EXPECT_EQ(rig.recordBytes(TempFile::EphemGPSRecs), 184u);
    const std::string temp = rig.driver.run().TempDir;
    rig.driver.FormClose();
    EXPECT_FALSE(fs::exists(temp));
    EXPECT_TRUE(fs::exists("/dev/full")); // the link went, not what it points to
}

TEST(DiskFull, ARefusedCompanionRecordTurnsItsDataRed) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full on this system";
    const struct {
        FileKind kind;
        TempFile records;
        std::string_view name;
        std::function<std::string()> content;
    } kCases[] = {
        {FileKind::N, TempFile::EphemGPSRecs, "EphemGPSRecs.dat",
         [] {
             return fileOf({gpsHeader(), gpsRecord(" 5"), gpsRecord(" 7")});
         }},
        {FileKind::M, TempFile::Meteo, "Meteo.dat", [] { return meteoFile(3); }},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.name));
        Rig rig("full-comp");
        const std::string obs = rig.put("site0010.09o", fileOf({obsHeader(), obsEpochs(2)}));
        rig.put(std::string("site0010.09") + scan::kindLetter(c.kind), c.content());
        ASSERT_TRUE(rig.choose(obs));
        ASSERT_TRUE(fillDisk(rig, c.records));
        ASSERT_TRUE(rig.driver.BBScanClick());
        EXPECT_EQ(rig.observer.notices,
                  std::vector<std::string>{"Error Writing File " + std::string(c.name) + " ! "});
        EXPECT_EQ(rig.w().file(c.kind).header, Colour::Lime);
        EXPECT_EQ(rig.w().file(c.kind).data, Colour::Red);
        EXPECT_EQ(rig.w().file(FileKind::O).data, Colour::Lime);
    }
}

TEST(DiskFull, AMeteoFileEndsAtTheRefusedRecord) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full on this system";
    Rig rig("full-meteo");
    // 1040-byte records: the 1 MiB buffer goes to the disk at record 1009; a junk line follows
    // that only a scan going on would list.
    std::string meteo = meteoFile(1500) + "junk\r\n";
    const std::string obs = rig.put("site0010.09o", fileOf({obsHeader(), obsEpochs(2)}));
    rig.put("site0010.09m", meteo);
    ASSERT_TRUE(rig.choose(obs));
    ASSERT_TRUE(fillDisk(rig, TempFile::Meteo));
    ASSERT_TRUE(rig.driver.BBScanClick());
    EXPECT_EQ(rig.observer.notices, std::vector<std::string>{"Error Writing File Meteo.dat ! "});
    EXPECT_EQ(rig.w().file(FileKind::M).data, Colour::Red);
    EXPECT_TRUE(rig.driver.lists().data(FileKind::M).empty());
    EXPECT_EQ(rig.driver.meteoFileM()->MeteoRecordsWritten(), 1008);
}

TEST(LowDisk, ToldOnceTheRecordsBeforeKeptAndTheStepRed) {
    Rig rig("lowdisk", [](const fs::path&) -> std::uint64_t { return 5u << 20; });
    const std::string obs = rig.put("site0010.09o", fileOf({obsHeader(), obsEpochs(5)}));
    rig.put("site0010.09n", fileOf({gpsHeader(), gpsRecord(" 5")}));
    ASSERT_TRUE(rig.scan(obs));
    EXPECT_EQ(rig.observer.notices,
              std::vector<std::string>{"Disk space is less then 10 MB on drive " +
                                       rig.driver.run().TempDir.substr(0, 1)});
    // The check comes before each record, the stop before the next line: epoch 1 is written.
    EXPECT_EQ(rig.w().STSumNumEp, "Epochs           1");
    EXPECT_EQ(rig.recordBytes(TempFile::RinexEpochs), 640u);
    EXPECT_EQ(rig.recordBytes(TempFile::ObsRecs), 2u * 2u * 16u);
    EXPECT_EQ(rig.w().ST_NFileStr, "13");
    EXPECT_EQ(rig.w().file(FileKind::O).data, Colour::Red);
    // Navigation files write without the check: theirs is the observation scan's rule.
    EXPECT_EQ(rig.w().file(FileKind::N).data, Colour::Lime);
    EXPECT_EQ(rig.recordBytes(TempFile::EphemGPSRecs), 184u);
}
