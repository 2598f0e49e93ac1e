#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <sstream>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "cli/cli.h"
#include "core/image/parameterblock.h"
#include "imagetestproject.h"
#include "testutil.h"

namespace setforge {

namespace {

// `text` in double quotes, for a shell command.
std::string quoted(const std::string& text)
{
    std::string result(1, '"');
    result += text;
    result += '"';
    return result;
}

// Runs `command` through the system's shell and returns the program's exit code.
int runShell(const std::string& command)
{
#ifdef _WIN32
    // cmd.exe drops the first and the last quote of a command line that begins with one.
    return std::system(quoted(command).c_str());
#else
    const int status = std::system(command.c_str());
    return status == -1 ? -1 : WEXITSTATUS(status);
#endif
}

// The command-line tool's path in the shell's own spelling.
std::string cliPath()
{
    return pathToUtf8(std::filesystem::path(SETFORGE_CLI_PATH).make_preferred());
}

void copyDemo(const TempProject& project)
{
    const std::filesystem::path demo =
        std::filesystem::path(SETFORGE_SOURCE_DIR) / "workspace" / "PROJECTS" / "Demo";
    std::filesystem::copy(demo, pathFromUtf8(project.dir()),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
}

std::string binFile(const TempProject& project, const char* name)
{
    return joinPath(joinPath(project.dir(), "bin"), name);
}

TEST(CliCompile, EmptyProjectPrintsEachMessageOnItsOwnLine)
{
    TempProject project;
    const CliRun run = runCliInProcess({"compile", project.dir()});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(
        run.err,
        "File EMCY xml not found\nFile definition RPDO xml not found\nFile RPDO xml not found\n"
        "File Transmit PDO xml not found\nFile NodeGuard xml not found\nFile Parametres xml not found\n");
    EXPECT_NE(run.out.find("Device type: 0"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("bin/bank.bin: 32 bytes"), std::string::npos) << run.out;
    EXPECT_EQ(fileBytes(binFile(project, "bank.bin")).size(), 32u);
    EXPECT_EQ(fileBytes(binFile(project, "bank1_ESP32.bin")).size(), 2048u);
    EXPECT_EQ(fileBytes(binFile(project, "bank2_ESP32.bin")).size(), 30720u);
}

TEST(CliCompile, DemoCompilesSilently)
{
    TempProject project;
    copyDemo(project);
    const CliRun run = runCliInProcess({"compile", project.dir()});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.err, "");
    const std::string expected =
        "Device type: 1 (with Ethernet port)\n"
        "SDO table: 6 entries\nRPDO table: 2 entries\nRPDO mapping table: 6 entries\n"
        "TPDO table: 2 entries\nTPDO mapping table: 3 entries\nnode guarding table: 2 entries\n"
        "EMCY table: 2 entries\nEMCY word table: 3 entries\n"
        "bin/bank.bin: 205 bytes\nbin/bank1_ESP32.bin: 2048 bytes\nbin/bank2_ESP32.bin: 30720 bytes\n";
    EXPECT_EQ(run.out, expected);
}

// A stopped update must leave the set of images the device got last time as it was.
TEST(CliCompile, StoppedUpdateChangesNoImageFile)
{
    TempProject project;
    copyDemo(project);
    ASSERT_EQ(runCliInProcess({"compile", project.dir()}).code, 0);
    const auto bank = fileBytes(binFile(project, "bank.bin"));
    const auto bank1 = fileBytes(binFile(project, "bank1_ESP32.bin"));
    project.table("sdo.xml", "sdo",
                  "<row conf=\"0\" IndexA=\"7\" devIDB=\"1\" IndexB=\"4096\" SubindexB=\"0\" nbyteB=\"1\"/>");
    project.table("emcydef.xml", "EMCY", "<row ID_EMCY=\"2 \" EMCY_Error_Code=\"1\" Error_Register=\"1\"/>");
    const CliRun run = runCliInProcess({"compile", project.dir()});
    EXPECT_EQ(run.code, 1);
    // The failed table check comes first, as a warning, then the compile's reason for stopping.
    EXPECT_EQ(run.err, "warning: emcydef.xml: Error row 1!! Device ID must be between 1 and 127\n"
                       "Invalid number \"2 \" for ID_EMCY in emcydef.xml\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(fileBytes(binFile(project, "bank.bin")), bank);
    EXPECT_EQ(fileBytes(binFile(project, "bank1_ESP32.bin")), bank1);
}

// An empty receive PDO TimeOut passes the compile as 0, but every dialog refuses it: compile
// says so and still writes; --strict writes nothing and fails.
TEST(CliCompile, FailedChecksAreWarningsOrStopWithStrict)
{
    TempProject project;
    copyDemo(project);
    const std::string rpdo = joinPath(project.dir(), "rpdodef.xml");
    std::string text = readTestFile(rpdo);
    const std::string timeout = "TimeOut=\"1000\"";
    text.replace(text.find(timeout), timeout.size(), "TimeOut=\"\"");
    writeTestFile(rpdo, text);
    const std::string failed = "rpdodef.xml: Error row 1!! TimeOut must be between 0 and 100000000 ms\n";

    const CliRun strict = runCliInProcess({"compile", "--strict", project.dir()});
    EXPECT_EQ(strict.code, 1);
    EXPECT_EQ(strict.err, "error: " + failed +
                              "setforge-cli compile: 1 check(s) failed; nothing was written (--strict)\n");
    EXPECT_EQ(strict.out, "");
    EXPECT_FALSE(pathExists(binFile(project, "bank.bin")));
    EXPECT_FALSE(pathExists(binFile(project, "bank2_ESP32.bin")));

    const CliRun plain = runCliInProcess({"compile", project.dir()});
    EXPECT_EQ(plain.code, 0);
    EXPECT_EQ(plain.err, "warning: " + failed);
    EXPECT_TRUE(pathExists(binFile(project, "bank2_ESP32.bin")));

    // A project that passes every check compiles the same with --strict.
    TempProject demo;
    copyDemo(demo);
    const CliRun clean = runCliInProcess({"compile", demo.dir(), "--strict"});
    EXPECT_EQ(clean.code, 0);
    EXPECT_EQ(clean.err, "");
    EXPECT_TRUE(pathExists(binFile(demo, "bank.bin")));
}

TEST(CliCompile, UsageAndErrors)
{
    EXPECT_EQ(runCliInProcess({"compile"}).code, 2);
    EXPECT_EQ(runCliInProcess({"compile", "a", "b"}).code, 2);
    EXPECT_EQ(runCliInProcess({"compile", "--strict"}).code, 2);
    EXPECT_EQ(runCliInProcess({"compile", "--strcit", "a"}).code, 2);
    const CliRun help = runCliInProcess({"compile", "--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out.rfind("Usage: setforge-cli compile [--strict] PROJECT_DIR", 0), 0u) << help.out;
    TempProject project;
    const CliRun missing = runCliInProcess({"compile", joinPath(project.dir(), "nothing")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("not a project directory"), std::string::npos);
    for (const char* command : {"eds", "dump", "check"}) {
        EXPECT_EQ(runCliInProcess({command, "--help"}).code, 0) << command;
        EXPECT_EQ(runCliInProcess({command}).code, 2) << command;
    }
}

TEST(CliEds, SourceDateEpochStampsTheFile)
{
    TempProject project;
    copyDemo(project);
    const std::string out = joinPath(project.base(), "demo.eds");
    useUtcAsLocalTime();
    setTestEnv("SOURCE_DATE_EPOCH", "1710000000"); // 9 March 2024, 16:00 UTC
    const CliRun run = runCliInProcess({"eds", project.dir(), out});
    setTestEnv("SOURCE_DATE_EPOCH", nullptr);
    EXPECT_EQ(run.code, 0) << run.err;
    const auto bytes = fileBytes(out);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("\r\nCreationTime=04:00PM\r\nCreationDate=03-09-2024\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nNrOfRXPDO=2\r\nNrOfTXPDO=2\r\n"), std::string::npos);
}

TEST(CliEds, ErrorWritesNoFile)
{
    TempProject project;
    project.table("rpdodef.xml", "rpdodef", "<row cobid=\"0x181\" dimension=\"abc\"/>");
    const std::string out = joinPath(project.base(), "bad.eds");
    const CliRun run = runCliInProcess({"eds", project.dir(), out});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "Invalid number \"abc\" for dimension in rpdodef.xml\n");
    EXPECT_FALSE(pathExists(out));
    setTestEnv("SOURCE_DATE_EPOCH", "yesterday");
    const CliRun badEpoch = runCliInProcess({"eds", project.dir(), out});
    setTestEnv("SOURCE_DATE_EPOCH", nullptr);
    EXPECT_EQ(badEpoch.code, 1);
    EXPECT_FALSE(pathExists(out));
}

TEST(CliDump, DecodesAndVerifiesEachImage)
{
    TempProject project;
    copyDemo(project);
    ASSERT_EQ(runCliInProcess({"compile", project.dir()}).code, 0);

    const CliRun plain = runCliInProcess({"dump", binFile(project, "bank.bin")});
    EXPECT_EQ(plain.code, 0) << plain.err;
    EXPECT_NE(
        plain.out.find(
            "SDO record 1: conf=65 IndexA=100 (0x0064) devIDB=2 IndexB=24641 (0x6041) SubindexB=0 nbyteB=2"),
        std::string::npos);
    EXPECT_NE(plain.out.find("List_Word 2: ID_Word=401 (0x0191) ID_Byte_Hi=3 (0x0003) ID_Byte_Lo=2 (0x0002)"),
              std::string::npos);
    EXPECT_NE(plain.out.find("parameter SYNC time (ms) = 100"), std::string::npos);

    const CliRun bank1 = runCliInProcess({"dump", binFile(project, "bank1_ESP32.bin")});
    EXPECT_EQ(bank1.code, 0) << bank1.err;
    EXPECT_NE(bank1.out.find("0x000 CAN bit rate (bit/s) = 500000"), std::string::npos) << bank1.out;
    EXPECT_NE(bank1.out.find("directory 4: RPDO mapping table, 6 entries at 0x313200"), std::string::npos);

    const CliRun bank2 = runCliInProcess({"dump", binFile(project, "bank2_ESP32.bin")});
    EXPECT_EQ(bank2.code, 0) << bank2.err;
    EXPECT_NE(bank2.out.find("TPDO mapping table at 0x4300: 3 of 512 entries"), std::string::npos)
        << bank2.out;
    EXPECT_NE(bank2.out.find("  EMCY word entry 3: Dati_Word=410 (0x019A) high byte=2 low byte=1 EMCY=1"),
              std::string::npos);
}

// Both images spell out each byte selection in the same words: an SDO's conf by its parts
// (object bytes), a PDO's mapping by frame bytes, an emergency's by the editor's EMCY bytes
// with their message byte, 0 as none.
TEST(CliDump, SpellsOutByteSelectionsAlikeInBothImages)
{
    TempProject project;
    copyDemo(project);
    ASSERT_EQ(runCliInProcess({"compile", project.dir()}).code, 0);
    const CliRun plain = runCliInProcess({"dump", binFile(project, "bank.bin")});
    const CliRun banked = runCliInProcess({"dump", binFile(project, "bank2_ESP32.bin")});
    ASSERT_EQ(plain.code, 0) << plain.err;
    ASSERT_EQ(banked.code, 0) << banked.err;

    struct Case {
        const std::string* dump;
        const char* line;
    };
    const Case cases[] = {
        {&plain.out,
         "SDO record 1: conf=65 IndexA=100 (0x0064) devIDB=2 IndexB=24641 (0x6041) SubindexB=0 "
         "nbyteB=2 | conf 0x41 (Hi Byte: object byte 2, Lo Byte: object byte 1, R/W: ReadOnly)\n"},
        {&banked.out,
         "  SDO entry 1: IndexA=100 (0x0064) conf=65 devIDB=2 IndexB=24641 (0x6041) SubindexB=0 "
         "nbyteB=2 | conf 0x41 (Hi Byte: object byte 2, Lo Byte: object byte 1, R/W: ReadOnly)\n"},
        // conf 131 sets Lo 3 and Hi 4 with read-only.
        {&plain.out,
         "SDO record 3: conf=131 IndexA=102 (0x0066) devIDB=2 IndexB=24676 (0x6064) SubindexB=0 "
         "nbyteB=4 | conf 0x83 (Hi Byte: object byte 4, Lo Byte: object byte 3, R/W: ReadOnly)\n"},
        {&banked.out,
         "  SDO entry 3: IndexA=102 (0x0066) conf=131 devIDB=2 IndexB=24676 (0x6064) SubindexB=0 "
         "nbyteB=4 | conf 0x83 (Hi Byte: object byte 4, Lo Byte: object byte 3, R/W: ReadOnly)\n"},
        // The plain image packs the selector, the banked one splits it: the same words.
        {&plain.out, "RPDO mapping record 4: index=203 (0x00CB) nrpdo=1 poscomp=135 | poscomp 0x87 (Hi Byte: "
                     "frame byte 8, Lo Byte: frame byte 7)\n"},
        {&banked.out, "  RPDO mapping entry 4: index=203 (0x00CB) high byte=8 low byte=7 RPDO=0 | Hi Byte: "
                      "frame byte 8, Lo Byte: frame byte 7\n"},
        {&banked.out,
         "  TPDO mapping entry 3: Index=311 (0x0137) high byte=4 low byte=3 TPDO=1 Send_on_Write=0 | "
         "Hi Byte: frame byte 4, Lo Byte: frame byte 3\n"},
        {&plain.out,
         "  word 2: NWord=1 (0x0001) Bytes=52 | Bytes 0x34 (Hi Byte: EMCY byte 3 (message byte 6), Lo "
         "Byte: EMCY byte 4 (message byte 7))\n"},
        {&banked.out, "  EMCY word entry 2: Dati_Word=401 (0x0191) high byte=3 low byte=4 EMCY=0 | Hi Byte: "
                      "EMCY byte 3 (message byte 6), Lo Byte: EMCY byte 4 (message byte 7)\n"},
        {&plain.out, "slot of EMCY 1, List_Word 1: Hi Byte: EMCY byte 1 (message byte 4) -> slot 1, Lo Byte: "
                     "EMCY byte 2 (message byte 5) -> slot 0\n"},
    };
    for (const Case& c : cases)
        EXPECT_NE(c.dump->find(c.line), std::string::npos) << c.line << "\n" << *c.dump;
    // Records without a selection get no note.
    EXPECT_NE(plain.out.find("TPDO record 1: COB-ID=514 (0x0202) Dimension=2 SMA=300 (0x012C)\n"),
              std::string::npos);
    EXPECT_NE(banked.out.find("  RPDO entry 1: TimeOut=1000 (0x000003E8) cobid=386 (0x0182) dimension=8\n"),
              std::string::npos);
}

TEST(CliDump, ReportsWrongChecksumAndOffsets)
{
    TempProject project;
    copyDemo(project);
    ASSERT_EQ(runCliInProcess({"compile", project.dir()}).code, 0);
    auto block = fileBytes(binFile(project, "bank1_ESP32.bin"));
    block[0x09C] ^= 1;
    const std::string badBlock = joinPath(project.base(), "bank1_ESP32.bin");
    ASSERT_TRUE(writeFileAtomic(badBlock, std::string(block.begin(), block.end())));
    const CliRun checksum = runCliInProcess({"dump", badBlock});
    EXPECT_EQ(checksum.code, 1);
    EXPECT_NE(checksum.out.find("WRONG: checksum at 0x7FC is "), std::string::npos) << checksum.out;

    auto plain = fileBytes(binFile(project, "bank.bin"));
    plain[12] = 0xFF; // RPDO section offset past the end of the file
    const std::string badPlain = joinPath(project.base(), "bank.bin");
    ASSERT_TRUE(writeFileAtomic(badPlain, std::string(plain.begin(), plain.end())));
    const CliRun offsets = runCliInProcess({"dump", badPlain});
    EXPECT_EQ(offsets.code, 1);
    EXPECT_NE(offsets.err.find(
                  "header 12: the RPDO section offset 255 is out of order or beyond the end of the file"),
              std::string::npos)
        << offsets.err;

    const CliRun missing = runCliInProcess({"dump", joinPath(project.base(), "none.bin")});
    EXPECT_EQ(missing.code, 1);
}

TEST(CliCheck, DemoPassesAndConflictsFail)
{
    TempProject project;
    copyDemo(project);
    const CliRun demo = runCliInProcess({"check", project.dir()});
    EXPECT_EQ(demo.code, 0) << demo.out;
    // Demo has the Ethernet port, yet keeps the serial variant's register blocks.
    const std::string demoWarnings =
        "warning: Transmit_Pdo.xml row 1: Address Start 300 is hidden with the Ethernet port but still goes "
        "into bank.bin; clear Address Start, or choose the device without Ethernet port\n"
        "warning: Transmit_Pdo.xml row 2: Address Start 310 is hidden with the Ethernet port but still goes "
        "into bank.bin; clear Address Start, or choose the device without Ethernet port\n";
    EXPECT_EQ(demo.out, demoWarnings + "0 error(s), 2 warning(s)\n");

    project.table(
        "sdo.xml", "sdo",
        "<row conf=\"65\" IndexA=\"200\" devIDB=\"2\" IndexB=\"0x6041\" SubindexB=\"0\" nbyteB=\"2\"/>");
    const CliRun conflict = runCliInProcess({"check", project.dir()});
    EXPECT_EQ(conflict.code, 1);
    EXPECT_EQ(
        conflict.out,
        demoWarnings +
            "error: Register 200 is claimed by: SDO table (sdo.xml row 1), RPDO mapping (sdopdo.xml row 1)\n"
            "1 error(s), 2 warning(s)\n");
}

// The dialogs' own checks, with their messages prefixed by the file name.
TEST(CliCheck, TableAndCommunicationChecksAsTheDialogsMakeThem)
{
    struct Case {
        const char* file;
        const char* root;
        const char* rows;
        const char* expected;
    };
    const Case cases[] = {
        {"NodeGuard.xml", "Node_Guarding",
         "<row NodeID=\"2\" GuardTime=\"100\" LifeTimeFactor=\"3\" Mnemonic=\"\"/>"
         "<row NodeID=\"128\" GuardTime=\"100\" LifeTimeFactor=\"3\" Mnemonic=\"\"/>",
         "error: NodeGuard.xml: Error row 2!! Device ID must be between 1 and 127\n"},
        {"ParGen.xml", "Par_Gen", "<CAN_id>0</CAN_id>",
         "error: ParGen.xml: Error CANopen!! ID Device must be between 1 and 127\n"},
        {"sdo.xml", "sdo", "<row", "error: sdo.xml: "},
        {"ParGen.xml", "Par_Gen", "<Par_Gen", "error: ParGen.xml: "},
    };
    for (const Case& c : cases) {
        TempProject project;
        copyDemo(project);
        if (std::string(c.rows) == "<row")
            project.write(c.file, "<sdo><row");
        else if (std::string(c.rows) == "<Par_Gen")
            project.write(c.file, "<Par_Gen><CAN_id>1</CAN_id>");
        else if (std::string(c.file) == "ParGen.xml")
            project.write(c.file,
                          "<Par_Gen><Select_Device_Type>1</Select_Device_Type><CAN_id>0</CAN_id></Par_Gen>");
        else
            project.table(c.file, c.root, c.rows);
        const CliRun run = runCliInProcess({"check", project.dir()});
        EXPECT_EQ(run.code, 1) << c.file;
        EXPECT_NE(run.out.find(c.expected), std::string::npos) << c.file << ":\n" << run.out;
        // The file is named once, by its name, not again by its full path.
        EXPECT_EQ(run.out.find(project.dir()), std::string::npos) << run.out;
    }
}

TEST(CliCheck, WarningsAloneDoNotFail)
{
    TempProject project;
    project.write("ParGen.xml", "<Par_Gen><CAN_timeoutsdo>70000</CAN_timeoutsdo></Par_Gen>");
    const CliRun run = runCliInProcess({"check", project.dir()});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "warning: ParGen.xml: the SDO client timeout 70000 is cut to 16 bits in bank.bin "
                       "(stored as 4464); set a timeout of 65535 ms or less\n"
                       "0 error(s), 1 warning(s)\n");
}

// The real program, end to end: exit code and files.
TEST(CliEndToEnd, CompileAndDumpWithTheBinary)
{
    TempProject project;
    copyDemo(project);
    const std::string log = joinPath(project.base(), "log.txt");
    const std::string cli = quoted(cliPath());
    EXPECT_EQ(runShell(cli + " compile " + quoted(project.dir()) + " > " + quoted(log) + " 2>&1"), 0);
    EXPECT_EQ(fileBytes(binFile(project, "bank1_ESP32.bin")).size(), ParameterBlock::kSize);
    EXPECT_EQ(runShell(cli + " dump " + quoted(binFile(project, "bank1_ESP32.bin")) + " > " + quoted(log) +
                       " 2>&1"),
              0);
    const auto text = fileBytes(log);
    EXPECT_NE(std::string(text.begin(), text.end()).find("is right"), std::string::npos);
    const std::string usage = cli + " compile > " + quoted(log) + " 2>&1";
    EXPECT_EQ(runShell(usage), 2);
}

} // namespace

} // namespace setforge
