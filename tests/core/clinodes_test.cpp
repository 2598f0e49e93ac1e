#include <gtest/gtest.h>

#include <sstream>
#include <vector>

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

TEST(CliPdos, CsvListsTheSamePdos)
{
    const CliRun run = runCliInProcess({"pdos", fixture("drive.eds"), "--node", "5", "--format", "csv"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "pdo,cob_id,transmission_type,bytes,mapped,valid\n"
                       "RPDO1,0x205,255,2,Controlword,1\n"
                       "RPDO2,0x305,1,6,\"Controlword, Target velocity\",1\n"
                       "TPDO1,0x185,255,2,Statusword,1\n"
                       "TPDO2,0x285,1,6,\"Statusword, Position actual value\",1\n");
}

// A default longer than its column keeps a blank before the name, and every line puts the name
// in the same column.
TEST(CliObjects, LongDefaultsKeepTheNameColumn)
{
    TempDir dir;
    const std::string eds = dir.file("long.eds");
    writeTestFile(eds, "[FileInfo]\nFileName=long.eds\n"
                       "[1008]\nParameterName=Manufacturer device name\nDataType=0x0009\nAccessType=const\n"
                       "DefaultValue=A very long device name from the maker\n"
                       "[6041]\nParameterName=Statusword\nDataType=0x0006\nAccessType=ro\nDefaultValue=0\n");
    const CliRun run = runCliInProcess({"objects", eds});
    ASSERT_EQ(run.code, 0) << run.err;
    std::istringstream in(run.out);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 3u) << run.out;
    const std::size_t nameColumn = lines[0].find("name");
    EXPECT_EQ(lines[1].substr(nameColumn), "Manufacturer device name") << run.out;
    EXPECT_EQ(lines[2].substr(nameColumn), "Statusword") << run.out;
    EXPECT_NE(lines[1].find("from the maker  Manufacturer"), std::string::npos) << run.out;
}

// A name a spreadsheet would run as a formula gets an apostrophe; so does a string default, but
// not a negative number.
TEST(CliObjects, CsvTextsThatLookLikeFormulasAreDefused)
{
    TempDir dir;
    const std::string eds = dir.file("formula.eds");
    writeTestFile(eds, "[FileInfo]\nFileName=formula.eds\n"
                       "[2000]\nParameterName==HYPERLINK(\"x\")\nDataType=0x0009\nAccessType=ro\n"
                       "DefaultValue=@SUM(A1)\n"
                       "[2001]\nParameterName=-Offset\nDataType=0x0003\nAccessType=rw\nDefaultValue=-5\n"
                       "[2002]\nParameterName=Plain\nDataType=0x0005\nAccessType=rw\nDefaultValue=1\n");
    const CliRun run = runCliInProcess({"objects", eds, "--format", "csv"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(lineStarting(run.out, "0x2000,"),
              "0x2000,0,\"'=HYPERLINK(\"\"x\"\")\",0x7,0x0009,,ro,0,'@SUM(A1)");
    EXPECT_EQ(lineStarting(run.out, "0x2001,"), "0x2001,0,'-Offset,0x7,0x0003,2,rw,0,-5");
    EXPECT_EQ(lineStarting(run.out, "0x2002,"), "0x2002,0,Plain,0x7,0x0005,1,rw,0,1");
}

TEST(CliObjects, RecordWithoutSubObjectsIsListedWithANote)
{
    TempDir dir;
    const std::string eds = dir.file("empty-record.eds");
    writeTestFile(eds, "[FileInfo]\nFileName=empty-record.eds\n"
                       "[2000]\nParameterName=Spare record\nObjectType=0x9\n");
    const CliRun run = runCliInProcess({"objects", eds});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("0x2000  -    RECORD  -"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Spare record (no sub-objects)\n"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("warning: line 3: [2000] is a RECORD without sub-objects"), std::string::npos)
        << run.err;
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
        {{"objects", "/dev/zero"}, 1, "/dev/zero holds more than 16 MiB"},
        {{"objects"}, 2, "EDS_FILE is missing"},
        {{"objects", fixture("drive.eds"), "--format", "xml"}, 2, "--format"},
        {{"objects", fixture("drive.eds"), "--node", "0"}, 2, "1 to 127"},
        {{"objects", fixture("drive.eds"), "--node", "128"}, 2, "1 to 127"},
        {{"objects", fixture("drive.eds"), "--node"}, 2, "needs a value"},
        {{"objects", fixture("drive.eds"), "extra"}, 2, "one EDS_FILE"},
        {{"pdos", fixture("drive.eds")}, 2, "--node"},
        {{"pdos", fixture("drive.eds"), "--node", "5", "--format", "xml"}, 2, "--format must be text or csv"},
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
