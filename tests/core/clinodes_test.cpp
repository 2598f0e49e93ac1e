#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "testutil.h"

namespace setforge {

namespace {

std::string fixture(const char* name)
{
    return std::string(SETFORGE_TEST_DATA) + "/eds/" + name;
}

// The line of `csv` that starts with `prefix`, or "".
std::string lineStarting(const std::string& csv, const std::string& prefix)
{
    std::istringstream in(csv);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(prefix, 0) == 0)
            return line;
    return "";
}

TEST(CliObjects, CsvRowsFollowTheContract)
{
    const CliRun run = runCliInProcess({"objects", fixture("drive.eds"), "--format", "csv"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')),
              "index,sub_index,name,object_type,data_type,bytes,access,pdo_mapping,default");
    struct Case {
        const char* prefix;
        const char* line;
    };
    const Case kCases[] = {
        {"0x6041,", "0x6041,0,Statusword,0x7,0x0006,2,ro,1,"},
        {"0x6040,", "0x6040,0,Controlword,0x7,0x0006,2,rww,1,0"},
        {"0x6064,", "0x6064,0,Position actual value,0x7,0x0004,4,ro,1,"},
        {"0x1008,", "0x1008,0,Manufacturer device name,0x7,0x0009,,const,0,OMD-200"},
        {"0x1800,1,", "0x1800,1,COB-ID used by TPDO,0x9,0x0007,4,rw,0,$NODEID+0x180"},
        {"0x2000,1,", "0x2000,1,\"Rated current, mA\",0x9,0x0007,4,rw,0,012000"},
    };
    for (const Case& c : kCases)
        EXPECT_EQ(lineStarting(run.out, c.prefix), c.line) << c.prefix;
}

TEST(CliObjects, NodeResolvesDefaults)
{
    const CliRun run = runCliInProcess({"objects", fixture("drive.eds"), "--node", "5", "--format", "csv"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(lineStarting(run.out, "0x1800,1,"), "0x1800,1,COB-ID used by TPDO,0x9,0x0007,4,rw,0,0x185");
    EXPECT_EQ(lineStarting(run.out, "0x1401,1,"), "0x1401,1,COB-ID used by RPDO,0x9,0x0007,4,rw,0,0x305");
    // Values without $NODEID stay as written.
    EXPECT_EQ(lineStarting(run.out, "0x1000,"), "0x1000,0,Device type,0x7,0x0007,4,ro,0,0x00020192");
}

TEST(CliObjects, TextListsEveryEntry)
{
    const CliRun run = runCliInProcess({"objects", fixture("iomodule.eds")});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("Supply voltage"), std::string::npos);
    EXPECT_NE(run.out.find("0x6401  3    ARRAY   INTEGER16"), std::string::npos) << run.out;
}

TEST(CliPdos, ListsTheNodesPdos)
{
    const CliRun run = runCliInProcess({"pdos", fixture("drive.eds"), "--node", "5"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "pdo     cob-id  type  bytes  mapped\n"
                       "RPDO1   0x205   255   2      Controlword\n"
                       "RPDO2   0x305   1     6      Controlword, Target velocity\n"
                       "TPDO1   0x185   255   2      Statusword\n"
                       "TPDO2   0x285   1     6      Statusword, Position actual value\n");
}

TEST(CliNodes, ExitCodes)
{
    TempDir dir;
    const std::string broken = dir.file("broken.eds");
    writeTestFile(broken, "[DeviceInfo]\nVendorName=x\n\n[6041]\nParameterName=Statusword\nAccessType=ro\n");
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* err;
    };
    const Case kCases[] = {
        {{"objects", broken}, 1, "line 4: [6041] has no DataType"},
        {{"pdos", broken, "--node", "3"}, 1, "line 4:"},
        {{"objects", fixture("none.eds")}, 1, "none.eds"},
        {{"objects"}, 2, "EDS_FILE is missing"},
        {{"objects", fixture("drive.eds"), "--format", "xml"}, 2, "--format"},
        {{"objects", fixture("drive.eds"), "--node", "0"}, 2, "1 to 127"},
        {{"objects", fixture("drive.eds"), "--node", "128"}, 2, "1 to 127"},
        {{"objects", fixture("drive.eds"), "--node"}, 2, "needs a value"},
        {{"objects", fixture("drive.eds"), "extra"}, 2, "one EDS_FILE"},
        {{"pdos", fixture("drive.eds")}, 2, "--node"},
        {{"pdos", fixture("drive.eds"), "--node", "5", "--format", "csv"}, 2, "--format"},
        {{"objects", "--help"}, 0, ""},
    };
    for (const Case& c : kCases) {
        const CliRun run = runCliInProcess(c.args);
        EXPECT_EQ(run.code, c.code) << c.args[0] << " " << (c.args.size() > 1 ? c.args[1] : "");
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    }
}

} // namespace

} // namespace setforge
