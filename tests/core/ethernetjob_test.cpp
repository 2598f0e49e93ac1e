#include <gtest/gtest.h>

#include <filesystem>

#include "core/base/paths.h"
#include "core/update/ethernetjob.h"

namespace setforge {

namespace {

EthernetJob windowsJob(int option, bool readBack)
{
    EthernetJob job;
    job.ipAddress = "127.0.0.1";
    job.updateOption = option;
    job.readBack = readBack;
    job.masterDir = "C:\\Setforge\\MASTER";
    job.projectDir = "C:\\Setforge\\PROJECTS\\Plant 1";
    job.separator = '\\';
    return job;
}

std::string golden(const std::string& name)
{
    const Result<std::string> read = readWholeFile(std::string(SETFORGE_TEST_DATA) + "/update/" + name);
    EXPECT_TRUE(read) << read.error().text;
    return read ? *read : std::string();
}

} // namespace

TEST(EthernetJob, MatchesTheGoldenFileForEveryOption)
{
    struct Case {
        int option;
        bool readBack;
        const char* file;
    };
    const Case kCases[] = {
        {0, true, "Ethernet_Update_both_readback.xml"},
        {0, false, "Ethernet_Update_both_noreadback.xml"},
        {1, true, "Ethernet_Update_firmware_readback.xml"},
        {1, false, "Ethernet_Update_firmware_noreadback.xml"},
        {2, true, "Ethernet_Update_configuration_readback.xml"},
        {2, false, "Ethernet_Update_configuration_noreadback.xml"},
    };
    for (const Case& c : kCases)
        EXPECT_EQ(ethernetJobXml(windowsJob(c.option, c.readBack)), golden(c.file)) << c.file;
}

TEST(EthernetJob, WritesTheFileWholeAndReplacesAnOldOne)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "setforge_job_test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string path = pathToUtf8(dir / "Ethernet_Update.xml");
    ASSERT_TRUE(writeFileAtomic(path, "old job, much longer than anything else written here ......"));
    ASSERT_TRUE(writeEthernetJob(windowsJob(2, false), path));
    const Result<std::string> read = readWholeFile(path);
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, golden("Ethernet_Update_configuration_noreadback.xml"));
    std::filesystem::remove_all(dir);
}

TEST(EthernetJob, ReportsAFolderThatCannotBeWritten)
{
    const Result<void> result =
        writeEthernetJob(windowsJob(0, true), "/nonexistent-folder/x/Ethernet_Update.xml");
    EXPECT_FALSE(result);
    EXPECT_FALSE(result.error().text.empty());
}

TEST(EthernetJob, PlatformJobJoinsWithTheNativeSeparator)
{
    const EthernetJob job = makeEthernetJob("127.0.0.1", 1, true, "M", "P");
    const std::string text = ethernetJobXml(job);
    const char sep = static_cast<char>(std::filesystem::path::preferred_separator);
    EXPECT_NE(text.find(std::string("<Ope_FileName>M") + sep + "sim40917K.sim</Ope_FileName>"),
              std::string::npos);
    EXPECT_NE(text.find(std::string("<Ope_FileName>M") + sep + "sim40917_ESP32.sim</Ope_FileName>"),
              std::string::npos);
}

} // namespace setforge
