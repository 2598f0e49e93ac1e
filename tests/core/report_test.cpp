#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

#include "cli/cli.h"
#include "core/image/registerconflicts.h"
#include "core/image/registermap.h"
#include "core/report/csvreport.h"
#include "core/report/htmlreport.h"
#include "imagetestproject.h"
#include "maximalproject.h"
#include "testutil.h"

namespace setforge {

namespace {

// Fixes the report's time stamp for the test's duration, as a reproducible build would.
class SourceDateEpoch {
public:
    explicit SourceDateEpoch(const char* value) { setTestEnv("SOURCE_DATE_EPOCH", value); }
    ~SourceDateEpoch() { setTestEnv("SOURCE_DATE_EPOCH", nullptr); }
};

void copyDemo(const TempProject& project)
{
    std::filesystem::copy(std::filesystem::path(SETFORGE_SOURCE_DIR) / "workspace" / "PROJECTS" / "Demo",
                          pathFromUtf8(project.dir()),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
}

std::string golden(const char* name)
{
    return readTestFile((std::filesystem::path(SETFORGE_TEST_DATA) / "report" / name).string());
}

// The Demo report is the hand-over engineers compare against; any change to it must be deliberate.
// Regenerate with: SOURCE_DATE_EPOCH=1765324800 setforge-cli report workspace/PROJECTS/Demo OUT
TEST(ReportCommand, DemoMatchesTheGoldenFiles)
{
    const SourceDateEpoch epoch("1765324800");
    TempProject project;
    copyDemo(project);
    const struct {
        const char* format;
        const char* golden;
    } cases[] = {{"html", "Demo.html"}, {"csv", "Demo.csv"}};
    for (const auto& c : cases) {
        const std::string out = joinPath(project.base(), c.golden);
        const CliRun run = runCliInProcess({"report", project.dir(), out, "--format", c.format});
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(readTestFile(out), golden(c.golden)) << c.format;
    }
    // HTML is the default format.
    const std::string byDefault = joinPath(project.base(), "default.html");
    EXPECT_EQ(runCliInProcess({"report", project.dir(), byDefault}).code, 0);
    EXPECT_EQ(readTestFile(byDefault), golden("Demo.html"));
}

TEST(ReportCommand, UsageAndErrorsWriteNothing)
{
    TempProject project;
    copyDemo(project);
    const std::string out = joinPath(project.base(), "map.html");
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* message;
    };
    const Case cases[] = {
        {{"report", project.dir()}, 2, "Usage: setforge-cli report"},
        {{"report", project.dir(), out, "--format", "pdf"}, 2, "--format must be html or csv"},
        {{"report", project.dir(), out, "--format"}, 2, "unknown option '--format'"},
        {{"report", project.dir(), out, "--colour"}, 2, "unknown option '--colour'"},
        {{"report", joinPath(project.base(), "none"), out}, 1, "not a project directory"},
        {{"report", project.dir(), joinPath(joinPath(project.base(), "no-such-dir"), "map.html")},
         1,
         "setforge-cli report: "},
    };
    for (const Case& c : cases) {
        const CliRun run = runCliInProcess(c.args);
        EXPECT_EQ(run.code, c.code) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(pathFromUtf8(out))) << c.message;
    }
    {
        const SourceDateEpoch epoch("yesterday");
        const CliRun run = runCliInProcess({"report", project.dir(), out});
        EXPECT_EQ(run.code, 1);
        EXPECT_FALSE(std::filesystem::exists(pathFromUtf8(out)));
    }
    EXPECT_EQ(runCliInProcess({"report", "--help"}).code, 0);
}

// A mnemonic is whatever the user typed; in the page it must stay text, never markup.
TEST(ReportCommand, UserTextsAreEscapedInHtmlAndQuotedInCsv)
{
    TempProject project;
    copyDemo(project);
    project.table(
        "sdo.xml", "sdo",
        "<row conf=\"65\" IndexA=\"100\" devIDB=\"2\" IndexB=\"0x6041\" SubindexB=\"0\" nbyteB=\"2\" "
        "mnemonico=\"&lt;script&gt;alert(1)&lt;/script&gt; &quot;A&quot;, &amp;B\"/>");
    const std::string html = joinPath(project.base(), "map.html");
    ASSERT_EQ(runCliInProcess({"report", project.dir(), html}).code, 0);
    const std::string page = readTestFile(html);
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt; &quot;A&quot;, &amp;B"), std::string::npos);

    const std::string csv = joinPath(project.base(), "map.csv");
    ASSERT_EQ(runCliInProcess({"report", project.dir(), csv, "--format=csv"}).code, 0);
    EXPECT_NE(readTestFile(csv).find(",\"<script>alert(1)</script> \"\"A\"\", &B\","), std::string::npos);
    EXPECT_EQ(escapeHtml("a'b"), "a&#39;b");
}

// A report of a project that cannot be read whole would hand over a wrong map: it is refused.
TEST(ReportCommand, UnreadableOrMissingProjectWritesNothing)
{
    struct Case {
        const char* what;
        const char* file; // written with `content` into a copy of Demo; "" for a folder with no project file
        const char* content;
        const char* message;
    };
    const Case cases[] = {
        {"SDO table not XML", "sdo.xml", "this is not XML", "sdo.xml cannot be read"},
        {"mapping not well-formed", "sdopdo.xml", "<sdopdo><row index=\"6\"></sdopdo>",
         "sdopdo.xml cannot be read"},
        {"ParGen.xml not XML", "ParGen.xml", "\x01\x02", "ParGen.xml cannot be read"},
        {"folder of projects", "", "", "holds neither ParGen.xml nor a table file"},
    };
    for (const Case& c : cases) {
        TempProject project;
        if (*c.file) {
            copyDemo(project);
            project.write(c.file, c.content);
        } else {
            // Like PROJECTS itself: project folders inside, no project file of its own.
            std::filesystem::create_directories(pathFromUtf8(joinPath(project.dir(), "Demo")));
        }
        for (const char* format : {"html", "csv"}) {
            const std::string out = joinPath(project.base(), std::string("map.") + format);
            const CliRun run = runCliInProcess({"report", project.dir(), out, "--format", format});
            EXPECT_EQ(run.code, 1) << c.what << " " << format;
            EXPECT_NE(run.err.find(c.message), std::string::npos) << c.what << ": " << run.err;
            EXPECT_FALSE(std::filesystem::exists(pathFromUtf8(out))) << c.what << " " << format;
        }
    }
    // A serial project never uses the TPDO mapping, so a broken one does not stop its report.
    TempProject serial;
    serial.write("ParGen.xml", "<Par_Gen><Select_Device_Type>0</Select_Device_Type></Par_Gen>");
    serial.write("Transmit_PDO_Define.xml", "broken");
    EXPECT_EQ(runCliInProcess({"report", serial.dir(), joinPath(serial.base(), "map.html")}).code, 0);
}

// The (label, value) rows of the page's communication parameters.
std::map<std::string, std::string> parameterRows(const std::string& page)
{
    std::map<std::string, std::string> rows;
    const std::string head = "<tr><th scope=\"row\">";
    for (std::size_t at = page.find(head); at != std::string::npos; at = page.find(head, at + 1)) {
        const std::size_t labelEnd = page.find("</th><td>", at);
        const std::size_t valueEnd = page.find("</td>", labelEnd);
        rows[page.substr(at + head.size(), labelEnd - at - head.size())] =
            page.substr(labelEnd + 9, valueEnd - labelEnd - 9);
    }
    return rows;
}

// A value the project does not hold is shown as the default it is, never as the project's.
TEST(ReportCommand, DefaultsOfMissingElementsAreMarked)
{
    const std::string mark = " (default: not in ParGen.xml)";
    {
        // No ParGen.xml at all: every parameter, and the device variant, is a default.
        TempProject project;
        project.table("sdo.xml", "sdo", "<row conf=\"65\" IndexA=\"100\"/>");
        const std::string out = joinPath(project.base(), "map.html");
        ASSERT_EQ(runCliInProcess({"report", project.dir(), out}).code, 0);
        const std::map<std::string, std::string> rows = parameterRows(readTestFile(out));
        EXPECT_EQ(rows.at("CANopen node ID"), "1" + mark);
        EXPECT_EQ(rows.at("Device"), "Device Without Ethernet Port" + mark);
        for (const auto& [label, value] : rows) {
            if (label != "Project" && label != "Made by" && label != "Made on") {
                EXPECT_NE(value.find(mark), std::string::npos) << label;
            }
        }
    }
    {
        // Two elements missing from Demo's file: only their rows are marked.
        TempProject project;
        copyDemo(project);
        std::string parGen = readTestFile(joinPath(project.dir(), "ParGen.xml"));
        for (const char* element : {"<CAN_id>", "<M_devid>"}) {
            const std::size_t start = parGen.find(element);
            ASSERT_NE(start, std::string::npos) << element;
            const std::string close = std::string("</") + (element + 1);
            parGen.erase(start, parGen.find(close, start) + close.size() - start);
        }
        project.write("ParGen.xml", parGen);
        const std::string out = joinPath(project.base(), "map.html");
        ASSERT_EQ(runCliInProcess({"report", project.dir(), out}).code, 0);
        const std::map<std::string, std::string> rows = parameterRows(readTestFile(out));
        EXPECT_EQ(rows.at("CANopen node ID"), "1" + mark);
        EXPECT_EQ(rows.at("Modbus slave ID"), "1" + mark);
        for (const auto& [label, value] : rows) {
            if (label != "CANopen node ID" && label != "Modbus slave ID") {
                EXPECT_EQ(value.find(mark), std::string::npos) << label << ": " << value;
            }
        }
    }
}

// Text cells that a spreadsheet would run as formulas get an apostrophe in the CSV; the page
// keeps them as typed.
TEST(ReportCommand, FormulaLikeMnemonicsAreDefusedInCsvOnly)
{
    const struct {
        const char* mnemonic; // as the XML attribute holds it
        const char* csv;      // the CSV field
        const char* html;     // the page's cell
    } cases[] = {
        {"=1+2", "'=1+2", "=1+2"},
        {"+49 line", "'+49 line", "+49 line"},
        {"-speed", "'-speed", "-speed"},
        {"@SUM(A1)", "'@SUM(A1)", "@SUM(A1)"},
        {"&#9;tab", "'\ttab", "\ttab"},
        {"&#13;cr", "\"'\rcr\"", "\rcr"},
        {"=HYPERLINK(&quot;x&quot;,1)", "\"'=HYPERLINK(\"\"x\"\",1)\"", "=HYPERLINK(&quot;x&quot;,1)"},
        {"speed=1", "speed=1", "speed=1"},
        {"Drive -1", "Drive -1", "Drive -1"},
    };
    for (const auto& c : cases) {
        TempProject project;
        copyDemo(project);
        project.table("sdo.xml", "sdo",
                      std::string("<row conf=\"65\" IndexA=\"100\" devIDB=\"2\" IndexB=\"0x6041\" "
                                  "SubindexB=\"0\" nbyteB=\"2\" mnemonico=\"") +
                          c.mnemonic + "\"/>");
        const std::string csv = joinPath(project.base(), "map.csv");
        ASSERT_EQ(runCliInProcess({"report", project.dir(), csv, "--format=csv"}).code, 0);
        EXPECT_NE(readTestFile(csv).find(std::string(",0x6041:0,,2,1,") + c.csv + ",\r\n"), std::string::npos)
            << c.csv << "\n"
            << readTestFile(csv);
        const std::string html = joinPath(project.base(), "map.html");
        ASSERT_EQ(runCliInProcess({"report", project.dir(), html}).code, 0);
        EXPECT_NE(readTestFile(html).find(std::string("<td>") + c.html + "</td><td></td></tr>"),
                  std::string::npos)
            << c.html;
    }
}

std::string mapLine(const RegisterMapEntry& e)
{
    return std::to_string(e.reg) + " " + claimSourceName(e.source) + " " + e.file + ":" + e.row + " " +
           registerAccessName(e.access) + " hi " + std::to_string(e.highByte) + " lo " +
           std::to_string(e.lowByte) + (e.cobId ? " cob " + hexCobId(static_cast<unsigned>(*e.cobId)) : "") +
           (e.conflict ? " conflict" : "");
}

// Without an Ethernet port each TPDO register of the block is its own claim; the last register
// of an odd Dimension has no high byte. Access follows the master's view of each source.
TEST(RegisterMap, SerialVariantBlocksAccessAndConflicts)
{
    TempProject project;
    project.write("ParGen.xml", "<Par_Gen><Select_Device_Type>0</Select_Device_Type><network_start_modbus "
                                "start=\"true\"/><network_start_modbus address=\"21\"/></Par_Gen>");
    project.table("sdo.xml", "sdo", "<row conf=\"148\" IndexA=\"22\"/><row conf=\"65\" IndexA=\"5\"/>");
    project.table("Transmit_Pdo.xml", "Trasmit_PDO", "<row COB-ID=\"0x201\" Dimension=\"5\" SMA=\"20\"/>");
    project.table("rpdodef.xml", "rpdodef", "<row cobid=\"0x181\" dimension=\"2\"/>");
    project.table("sdopdo.xml", "sdopdo",
                  "<row index=\"6\" nrpdo=\"1\" poscomp=\"18\"/><row index=\"7\" nrpdo=\"2\"/>");
    // The serial images never hold the TPDO mapping: register 5 stays the SDO row's alone.
    project.table("Transmit_PDO_Define.xml", "Transmit_PDO_Define",
                  "<row Index=\"5\" NrPdo=\"1\" PosComp=\"18\"/>");
    std::vector<std::string> lines;
    for (const RegisterMapEntry& e : buildRegisterMap(project.files()))
        lines.push_back(mapLine(e));
    const std::vector<std::string> expected = {
        "5 SDO sdo.xml:2 read hi 2 lo 1",
        "6 RPDO sdopdo.xml:1 read hi 1 lo 2 cob 0x181",
        "20 TPDO Transmit_Pdo.xml:1 write hi 2 lo 1 cob 0x201",
        "21 TPDO Transmit_Pdo.xml:1 write hi 4 lo 3 cob 0x201 conflict",
        "21 network start ParGen.xml: write hi 0 lo 0 conflict",
        "22 SDO sdo.xml:1 read/write hi 4 lo 4 conflict",
        "22 TPDO Transmit_Pdo.xml:1 write hi 0 lo 5 cob 0x201 conflict",
    };
    EXPECT_EQ(lines, expected);
}

TEST(RegisterMap, CsvFieldsFollowRfc4180)
{
    const struct {
        const char* text;
        const char* field;
    } cases[] = {{"plain", "plain"},
                 {"a,b", "\"a,b\""},
                 {"say \"hi\"", "\"say \"\"hi\"\"\""},
                 {"two\nlines", "\"two\nlines\""},
                 {"", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(csvField(c.text), c.field) << c.text;
    EXPECT_EQ(renderCsvReport({}), std::string(kRegisterMapCsvHeader) + "\r\n");
    // The two node-guarding state registers are told apart by their mnemonic.
    RegisterMapEntry first;
    first.reg = 12;
    first.source = ClaimSource::NodeGuarding;
    first.file = "ParGen.xml";
    first.subNumber = 1;
    RegisterMapEntry second = first;
    second.reg = 13;
    second.subNumber = 2;
    EXPECT_EQ(renderCsvReport({first, second}),
              std::string(kRegisterMapCsvHeader) + "\r\n" +
                  "12,0x000C,read,node guarding,ParGen.xml,,,,,,,\"node guarding state, first\",\r\n"
                  "13,0x000D,read,node guarding,ParGen.xml,,,,,,,\"node guarding state, second\",\r\n");
}

} // namespace

namespace {

// The case that used to pass silently: receive PDO row 1 of Demo deleted, its mapping left as it was.
TEST(CheckCommand, WarnsAboutMappingsLeftBehindByADeletedPdo)
{
    TempProject project;
    copyDemo(project);
    project.table(
        "rpdodef.xml", "rpdodef",
        "<row cobid=\"0x183\" id_dev_orig=\"1\" dimension=\"4\" posind=\"0\" n_tpdo=\"0\" TimeOut=\"1000\" "
        "Mnemonic=\"Drive 3 TPDO1\"/>");
    const CliRun run = runCliInProcess({"check", project.dir()});
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_EQ(
        run.out,
        "warning: sdopdo.xml row 3: byte 6 (high) and byte 5 (low) beyond the Dimension 4 of receive PDO 1; "
        "choose a byte within the Dimension, or raise the Dimension\n"
        "warning: sdopdo.xml row 4: byte 8 (high) and byte 7 (low) beyond the Dimension 4 of receive PDO 1; "
        "choose a byte within the Dimension, or raise the Dimension\n"
        "warning: sdopdo.xml row 5: receive PDO 2 does not exist (rpdodef.xml has 1); bank.bin keeps the "
        "row, bank2_ESP32.bin drops it; point the entry at an existing receive PDO, or delete it\n"
        "warning: sdopdo.xml row 6: receive PDO 2 does not exist (rpdodef.xml has 1); bank.bin keeps the "
        "row, bank2_ESP32.bin drops it; point the entry at an existing receive PDO, or delete it\n"
        "warning: Transmit_Pdo.xml row 1: Address Start 300 is hidden with the Ethernet port but still goes "
        "into bank.bin; clear Address Start, or choose the device without Ethernet port\n"
        "warning: Transmit_Pdo.xml row 2: Address Start 310 is hidden with the Ethernet port but still goes "
        "into bank.bin; clear Address Start, or choose the device without Ethernet port\n"
        "0 error(s), 6 warning(s)\n");
}

} // namespace

} // namespace setforge
