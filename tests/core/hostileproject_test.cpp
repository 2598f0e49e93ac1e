// Projects a user can really end up with by hand-editing files or by a broken disk. Each case
// goes through every reader that meets it: the table loads and checks, the ParGen check, the
// three mapping models, and the CLI commands compile, eds and check run in-process. Nothing may
// crash, every reader must give its own clear message, and no project file may change except
// the images a successful compile writes.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "cli/cli.h"
#include "core/base/paths.h"
#include "core/base/projectfiles.h"
#include "core/image/compileimages.h"
#include "core/lang/uitexts.h"
#include "core/mapping/mappingformat.h"
#include "core/mapping/mappingmodel.h"
#include "core/tables/grid.h"
#include "core/tables/pargencheck.h"
#include "core/tables/pargenfile.h"
#include "core/tables/tablecatalog.h"
#include "core/tables/tablecheck.h"
#include "core/tables/tabledefinition.h"
#include "core/tables/tablefile.h"
#include "testutil.h"

namespace setforge {

namespace {

namespace fs = std::filesystem;

// Every entry below a project directory: files with their bytes and time, directories by name.
struct Entry {
    bool directory = false;
    std::string bytes;
    fs::file_time_type time;
    bool operator==(const Entry& other) const
    {
        return directory == other.directory && bytes == other.bytes && time == other.time;
    }
};
using Snapshot = std::map<std::string, Entry>;

Snapshot snapshotOf(const fs::path& dir)
{
    Snapshot snapshot;
    for (const fs::directory_entry& item : fs::recursive_directory_iterator(dir)) {
        Entry entry;
        entry.directory = item.is_directory();
        if (!entry.directory) {
            entry.bytes = readTestFile(pathToUtf8(item.path()));
            entry.time = item.last_write_time();
        }
        snapshot[fs::relative(item.path(), dir).generic_string()] = entry;
    }
    return snapshot;
}

bool isImageOutput(const std::string& relative)
{
    return relative == "bin" || relative == "bin/bank.bin" || relative == "bin/bank1_ESP32.bin" ||
           relative == "bin/bank2_ESP32.bin";
}

// The differences between two snapshots, leaving out the image files when `imagesWritten`.
std::vector<std::string> changes(const Snapshot& before, const Snapshot& after, bool imagesWritten)
{
    std::vector<std::string> found;
    for (const auto& [name, entry] : before) {
        if (imagesWritten && isImageOutput(name))
            continue;
        const auto it = after.find(name);
        if (it == after.end())
            found.push_back("removed " + name);
        else if (!(it->second == entry))
            found.push_back("changed " + name);
    }
    for (const auto& [name, entry] : after)
        if (!before.count(name) && !(imagesWritten && isImageOutput(name)))
            found.push_back("added " + name);
    return found;
}

// A reader's expected outcome: "" = no message at all, otherwise a fragment of its message.
struct Outcome {
    int code = 0;
    const char* fragment = "";
};

struct HostileCase {
    const char* name; // also the fixture folder tests/data/hostile/<name>, when there is one
    std::function<void(const fs::path&)> make; // builds what is too big or cannot be committed
    // Table files whose load/check gives a message, with its fragment; all other tables pass.
    std::vector<std::pair<const char*, const char*>> tables;
    const char* parGen;                 // fragment of the ParGen.xml check's first message, "" = passes
    std::array<const char*, 3> mapping; // receive, transmit, emergency model load: "" = ok
    Outcome compile;
    Outcome eds;
    Outcome check;
};

// Names the case in failure reports instead of dumping its bytes.
void PrintTo(const HostileCase& c, std::ostream* os)
{
    *os << c.name;
}

void writeRows(const fs::path& file, const std::string& root, int rows, const std::string& rowOf,
               std::size_t padTo = 0)
{
    std::string text = "<" + root + ">";
    for (int i = 0; i < rows; ++i)
        text += "<row conf=\"65\" IndexA=\"" + std::to_string(100 + i) + rowOf;
    if (padTo > text.size())
        text += "<!--" + std::string(padTo - text.size(), 'x') + "-->";
    text += "</" + root + "><!--SW_VERSION = 2.001-->";
    writeTestFile(pathToUtf8(file), text);
}

const std::string kSdoRowTail =
    "\" SubindexA=\"0\" devIDB=\"2\" IndexB=\"0x6041\" SubindexB=\"0\" nbyteB=\"2\" mnemonico=\"m\"/>";

void makeBigTable(const fs::path& dir)
{
    writeRows(dir / "sdo.xml", "sdo", 10000, kSdoRowTail);
}

// 50 MB: a few hundred thousand rows, then a long comment.
void makeBigFile(const fs::path& dir)
{
    writeRows(dir / "sdo.xml", "sdo", 300000, kSdoRowTail, 50u * 1024u * 1024u);
}

void replaceByDirectory(const fs::path& file)
{
    fs::remove(file);
    fs::create_directories(file / "inside");
}

const std::vector<HostileCase>& hostileCases()
{
    const char* none = "";
    static const std::vector<HostileCase> cases = {
        {"not_xml_sdo",
         nullptr,
         {{"sdo.xml", "No document element found"}},
         none,
         {none, none, none},
         {1, "sdo.xml: No document element found"},
         {0, "EDS written"},
         {1, "error: sdo.xml: "}},
        {"not_xml_pargen",
         nullptr,
         {},
         "No document element found",
         {none, none, none},
         {1, "ParGen.xml: No document element found"},
         {0, "EDS written"},
         {1, "error: ParGen.xml: "}},
        {"empty_rpdodef",
         nullptr,
         {{"rpdodef.xml", "No document element found"}},
         none,
         {"rpdodef.xml", none, none},
         {1, "rpdodef.xml: No document element found"},
         {1, "rpdodef.xml: No document element found"},
         {1, "error: rpdodef.xml: "}},
        {"truncated_emcyword",
         nullptr,
         {},
         none,
         {none, none, "emcyword.xml"},
         {1, "emcyword.xml: Error parsing start element tag"},
         {0, "EDS written"},
         {1, "error: compile: "}},
        {"wrong_root",
         nullptr,
         {},
         none,
         {none, none, none},
         {0, "Device type: 1"},
         {0, "EDS written"},
         {0, "0 error(s)"}},
        {"missing_attributes",
         nullptr,
         {},
         none,
         {none, none, none},
         {1, "Invalid number \"\" for Dati_Byte in emcyword.xml"},
         {1, "Invalid number \"\" for cobid in rpdodef.xml"},
         {1, "Invalid number \"\" for Dati_Byte"}},
        // A blank first cell ends the rows a table dialog uses: its check sees an empty table.
        // The compile still reads every row, as the image formats say.
        {"blank_first_cells",
         nullptr,
         {},
         none,
         {none, none, none},
         {0, "Device type: 1"},
         {0, "EDS written"},
         {0, "0 error(s)"}},
        {"number_forms",
         nullptr,
         {},
         none,
         {none, none, none},
         {0, "Device type: 1"},
         {0, "EDS written"},
         {0, "0 error(s)"}},
        {"trailing_blank",
         nullptr,
         {{"sdo.xml", "Error row 2!! Address must be between 0 and 65535"},
          {"NodeGuard.xml", "Error row 1!! Device ID must be between 1 and 127"}},
         none,
         {none, none, none},
         {0, "Device type: 1"},
         {0, "EDS written"},
         {1, "error: sdo.xml: Error row 2!!"}},
        {"pargen_numbers",
         nullptr,
         {},
         "Error CANopen!! ID Device must be between 1 and 127",
         {none, none, none},
         {0, "Device type: 1"},
         {0, "EDS written"},
         {1, "error: ParGen.xml: Error CANopen!! ID Device"}},
        {"mapping_frames",
         nullptr,
         {},
         none,
         {none, none, none},
         {0, "Device type: 1"},
         {0, "EDS written"},
         {0, "0 error(s)"}},
        {"nibbles_emcy",
         nullptr,
         {},
         none,
         {none, none, none},
         {1, "Invalid byte selector 0x66 (102) in emcyword.xml"},
         {0, "EDS written"},
         {1, "error: compile: Invalid byte selector 0x66"}},
        {"nibbles_pdo",
         nullptr,
         {},
         none,
         {none, none, none},
         {0, "Device type: 1"},
         {0, "EDS written"},
         {0, "0 error(s)"}},
        {"big_table",
         makeBigTable,
         {},
         none,
         {none, none, none},
         {1, "Too many entries in the SDO table: 10000 (at most 1536)"},
         {0, "EDS written"},
         {1, "error: compile: Too many entries in the SDO table"}},
        {"big_file",
         makeBigFile,
         {},
         none,
         {none, none, none},
         {1, "The configuration image bank.bin is too long"},
         {0, "EDS written"},
         {1, "error: compile: The configuration image bank.bin is too long"}},
        {"sdo_directory",
         [](const fs::path& dir) { replaceByDirectory(dir / "sdo.xml"); },
         {{"sdo.xml", "Is a directory"}},
         none,
         {none, none, none},
         {1, "Is a directory"},
         {0, "EDS written"},
         {1, "error: sdo.xml: Is a directory"}},
        {"pargen_directory",
         [](const fs::path& dir) { replaceByDirectory(dir / "ParGen.xml"); },
         {},
         "Is a directory",
         {none, none, none},
         {1, "Is a directory"},
         {0, "EDS written"},
         {1, "error: ParGen.xml: Is a directory"}},
        {"rpdodef_directory",
         [](const fs::path& dir) { replaceByDirectory(dir / "rpdodef.xml"); },
         {{"rpdodef.xml", "Is a directory"}},
         none,
         {"Is a directory", none, none},
         {1, "Is a directory"},
         {1, "Is a directory"},
         {1, "error: rpdodef.xml: Is a directory"}},
        {"emcyword_directory",
         [](const fs::path& dir) { replaceByDirectory(dir / "emcyword.xml"); },
         {},
         none,
         {none, none, "Is a directory"},
         {1, "Is a directory"},
         {0, "EDS written"},
         {1, "error: compile: "}},
        {"bin_is_a_file",
         [](const fs::path& dir) { writeTestFile(pathToUtf8(dir / "bin"), "not a folder"); },
         {},
         none,
         {none, none, none},
         {1, "The image file could not be written"},
         {0, "EDS written"},
         {0, "0 error(s)"}},
        {"bank_bin_directory",
         [](const fs::path& dir) {
             fs::create_directories(dir / "bin" / "bank.bin");
             writeTestFile(pathToUtf8(dir / "bin" / "bank2_ESP32.bin"), "old bank 2");
         },
         {},
         none,
         {none, none, none},
         {1, "The image file could not be written"},
         {0, "EDS written"},
         {0, "0 error(s)"}},
        {"bank1_directory",
         [](const fs::path& dir) {
             writeTestFile(pathToUtf8(dir / "bin" / "bank.bin"), "old plain image");
             fs::create_directories(dir / "bin" / "bank1_ESP32.bin");
         },
         {},
         none,
         {none, none, none},
         {1, "The image file could not be written"},
         {0, "EDS written"},
         {0, "0 error(s)"}},
        {"bank2_directory",
         [](const fs::path& dir) { fs::create_directories(dir / "bin" / "bank2_ESP32.bin"); },
         {},
         none,
         {none, none, none},
         {1, "The image file could not be written"},
         {0, "EDS written"},
         {0, "0 error(s)"}},
    };
    return cases;
}

const UiTexts& texts()
{
    static const UiTexts t;
    return t;
}

bool contains(const std::string& text, const char* fragment)
{
    return text.find(fragment) != std::string::npos;
}

class HostileProject : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileProject, EveryReaderGivesItsMessageAndNothingChanges)
{
    const HostileCase& c = GetParam();
    TempDir temp;
    const fs::path dir = temp.path() / "P";
    fs::copy(fs::path(SETFORGE_SOURCE_DIR) / "workspace" / "PROJECTS" / "Demo", dir,
             fs::copy_options::recursive);
    if (fs::exists(fs::path(SETFORGE_TEST_DATA) / "hostile" / c.name))
        copyFixture(std::string("hostile/") + c.name, dir);
    if (c.make)
        c.make(dir);
    const std::string project = pathToUtf8(dir);
    const ProjectFiles files = makeProjectFiles(project);
    const Snapshot before = snapshotOf(dir);

    // The table dialogs' load and OK checks.
    const DeviceVariant variant = readTableVariant(files.parGen);
    for (const TableDefinition* table : tableDefinitions()) {
        const std::string& path = files.*(table->projectFile);
        const char* expected = "";
        for (const auto& [file, fragment] : c.tables)
            if (std::string(file) == table->fileName)
                expected = fragment;
        Grid grid(table->rowCount, table->columnCount());
        const Result<void> loaded = loadTableFile(*table, path, grid);
        const std::vector<std::string> messages = checkTableFile(*table, path, variant, texts());
        if (*expected == '\0') {
            EXPECT_TRUE(loaded) << table->fileName << ": " << loaded.error().text;
            EXPECT_TRUE(messages.empty()) << table->fileName << ": " << messages.front();
        } else {
            ASSERT_EQ(messages.size(), 1u) << table->fileName;
            EXPECT_TRUE(contains(messages.front(), expected)) << table->fileName << ": " << messages.front();
            if (!loaded) {
                EXPECT_TRUE(contains(loaded.error().text, expected)) << loaded.error().text;
            }
        }
    }

    // The communication parameters.
    const ParGenFileCheck parGen = checkParGenFile(files.parGen, texts());
    if (*c.parGen == '\0') {
        EXPECT_TRUE(parGen.passed()) << (parGen.read ? "" : parGen.read.error().text)
                                     << (parGen.messages.empty() ? "" : parGen.messages.front());
    } else {
        EXPECT_FALSE(parGen.passed());
        const std::string first = !parGen.messages.empty() ? parGen.messages.front()
                                  : parGen.read            ? std::string()
                                                           : parGen.read.error().text;
        EXPECT_TRUE(contains(first, c.parGen)) << first;
    }

    // The three mapping editors' models.
    const MappingFormat* formats[] = {&kReceivePdoMapping, &kTransmitPdoMapping, &kEmergencyMapping};
    for (std::size_t i = 0; i < 3; ++i) {
        MappingModel model(*formats[i]);
        const Result<void> loaded = model.load(files);
        if (*c.mapping[i] == '\0') {
            EXPECT_TRUE(loaded) << "mapping " << i << ": " << loaded.error().text;
        } else {
            ASSERT_FALSE(loaded) << "mapping " << i;
            EXPECT_TRUE(contains(loaded.error().text, c.mapping[i]))
                << "mapping " << i << ": " << loaded.error().text;
            EXPECT_EQ(model.frameCount(), 0);
        }
    }

    // The command line, as the buttons run the same core.
    const CliRun compiled = runCliInProcess({"compile", project});
    EXPECT_EQ(compiled.code, c.compile.code) << compiled.all();
    EXPECT_TRUE(contains(compiled.all(), c.compile.fragment)) << compiled.all();
    const CliRun eds = runCliInProcess({"eds", project, temp.file("out.eds")});
    EXPECT_EQ(eds.code, c.eds.code) << eds.all();
    EXPECT_TRUE(contains(eds.all(), c.eds.fragment)) << eds.all();
    EXPECT_EQ(fs::exists(temp.path() / "out.eds"), c.eds.code == 0);
    const CliRun checked = runCliInProcess({"check", project});
    EXPECT_EQ(checked.code, c.check.code) << checked.all();
    EXPECT_TRUE(contains(checked.all(), c.check.fragment)) << checked.all();

    const std::vector<std::string> changed = changes(before, snapshotOf(dir), compiled.code == 0);
    EXPECT_TRUE(changed.empty()) << ::testing::PrintToString(changed);
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileProject, ::testing::ValuesIn(hostileCases()),
                         [](const ::testing::TestParamInfo<HostileCase>& info) { return info.param.name; });

} // namespace

namespace {

// A Demo copy with the fixture `name` laid over it, in a temporary folder.
struct HostileFixture {
    TempDir temp;
    fs::path dir;
    explicit HostileFixture(const char* name)
    {
        dir = temp.path() / "P";
        fs::copy(fs::path(SETFORGE_SOURCE_DIR) / "workspace" / "PROJECTS" / "Demo", dir,
                 fs::copy_options::recursive);
        if (*name)
            copyFixture(std::string("hostile/") + name, dir);
    }
    std::string project() const { return pathToUtf8(dir); }
    ProjectFiles files() const { return makeProjectFiles(project()); }
};

std::vector<std::string> registersOf(const MappingModel& model, int frame)
{
    std::vector<std::string> registers;
    for (const RegisterEntry& entry : model.frame(frame).entries)
        registers.push_back(entry.registerIndex);
    return registers;
}

// Frame numbers 0, -1 and 65 name no PDO: the editors and the banked image drop those rows,
// keeping the one row that names PDO 1. (The plain image copies mapping rows as written.)
TEST(HostileMapping, FrameNumbersOutsideTheTableAreSkipped)
{
    const HostileFixture fixture("mapping_frames");
    MappingModel receive(kReceivePdoMapping);
    ASSERT_TRUE(receive.load(fixture.files()));
    ASSERT_EQ(receive.frameCount(), 2);
    EXPECT_EQ(registersOf(receive, 0), std::vector<std::string>{"200"});
    EXPECT_TRUE(registersOf(receive, 1).empty());
    MappingModel transmit(kTransmitPdoMapping);
    ASSERT_TRUE(transmit.load(fixture.files()));
    ASSERT_EQ(transmit.frameCount(), 2);
    EXPECT_EQ(registersOf(transmit, 0), std::vector<std::string>{"300"});
    EXPECT_TRUE(registersOf(transmit, 1).empty());

    // A third EMCY_ROW under two emergencies belongs to none.
    MappingModel emergency(kEmergencyMapping);
    ASSERT_TRUE(emergency.load(fixture.files()));
    ASSERT_EQ(emergency.frameCount(), 2);
    EXPECT_EQ(registersOf(emergency, 0), std::vector<std::string>{"400"});
    EXPECT_EQ(registersOf(emergency, 1), std::vector<std::string>{"410"});

    const CompiledImages images = compileImages(fixture.files(), nullptr);
    ASSERT_TRUE(images.ok);
    EXPECT_EQ(images.banked.tables.count(BankTable::EmcyWord), 2u);
    EXPECT_EQ(images.banked.tables.count(BankTable::RpdoMapping), 1u);
    EXPECT_EQ(images.banked.tables.count(BankTable::TpdoMapping), 1u);
}

// Selector halves above what the frame offers (0xF9 on a 4-byte PDO, 0xFF on a 2-byte one) are
// kept as read: loading and saving again through the editor model loses nothing.
TEST(HostileMapping, SelectorHalvesAboveTheFrameSurviveLoadAndSave)
{
    const HostileFixture fixture("nibbles_pdo");
    MappingModel receive(kReceivePdoMapping);
    ASSERT_TRUE(receive.load(fixture.files()));
    ASSERT_EQ(receive.frame(1).entries.size(), 1u);
    EXPECT_EQ(receive.frame(1).entries[0].highPart, 15);
    EXPECT_EQ(receive.frame(1).entries[0].lowPart, 9);
    pugi::xml_document doc;
    receive.buildDocument(doc);
    EXPECT_NE(serializeXml(doc).find("nrpdo=\"2\" poscomp=\"249\""), std::string::npos) << serializeXml(doc);

    MappingModel transmit(kTransmitPdoMapping);
    ASSERT_TRUE(transmit.load(fixture.files()));
    transmit.buildDocument(doc);
    EXPECT_NE(serializeXml(doc).find("PosComp=\"255\""), std::string::npos) << serializeXml(doc);
}

// The emergency editor offers bytes 1 to 5; a selector 0x66 is shown as read and stops the
// compile with a message naming it, before any image file is written.
TEST(HostileMapping, EmergencySelectorAboveFiveStopsTheCompileOnly)
{
    const HostileFixture fixture("nibbles_emcy");
    MappingModel emergency(kEmergencyMapping);
    ASSERT_TRUE(emergency.load(fixture.files()));
    ASSERT_EQ(emergency.frame(0).entries.size(), 2u);
    EXPECT_EQ(emergency.frame(0).entries[1].highPart, 6);
    EXPECT_EQ(emergency.frame(0).entries[1].lowPart, 6);
    const CliRun run = runCliInProcess({"compile", fixture.project()});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err,
              "Invalid byte selector 0x66 (102) in emcyword.xml: an emergency offers bytes 1 to 5 only\n");
    EXPECT_FALSE(fs::exists(fixture.dir / "bin"));
}

// A failed image write must leave the device's previous set whole: bank.bin, already replaced
// when bank1_ESP32.bin turns out to be a directory, gets its old bytes and time back, and a
// bank.bin that did not exist before is removed again.
TEST(HostileImages, FailedLaterImageLeavesTheEarlierOnesAsTheyWere)
{
    const HostileFixture fixture("");
    fs::create_directories(fixture.dir / "bin" / kBank2Name);
    writeTestFile(pathToUtf8(fixture.dir / "bin" / kBank1Name), "old bank 1");
    const auto oldTime = fs::last_write_time(fixture.dir / "bin" / kBank1Name) - std::chrono::hours(24);
    fs::last_write_time(fixture.dir / "bin" / kBank1Name, oldTime);

    std::vector<CompileMessage> messages;
    EXPECT_FALSE(compileAndWriteImages(fixture.project(),
                                       [&messages](const CompileMessage& m) { messages.push_back(m); }));
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().kind, CompileMessage::Kind::Error);
    EXPECT_NE(messages.back().text.find(kBank2Name), std::string::npos) << messages.back().text;
    EXPECT_FALSE(fs::exists(fixture.dir / "bin" / kPlainImageName));
    EXPECT_EQ(readTestFile(pathToUtf8(fixture.dir / "bin" / kBank1Name)), "old bank 1");
    EXPECT_EQ(fs::last_write_time(fixture.dir / "bin" / kBank1Name), oldTime);
}

// The EDS goes to a path the user picks; a directory there or a missing folder is reported and
// nothing is created.
TEST(HostileEds, OutputPathThatCannotBeWritten)
{
    const HostileFixture fixture("");
    fs::create_directories(fixture.temp.path() / "out.eds");
    struct Row {
        fs::path out;
        const char* fragment;
    };
    const Row rows[] = {{fixture.temp.path() / "out.eds", "out.eds"},
                        {fixture.temp.path() / "missing" / "out.eds", "out.eds"}};
    for (const Row& row : rows) {
        const CliRun run = runCliInProcess({"eds", fixture.project(), pathToUtf8(row.out)});
        EXPECT_EQ(run.code, 1) << run.all();
        EXPECT_TRUE(contains(run.all(), row.fragment)) << run.all();
    }
    EXPECT_TRUE(fs::is_directory(fixture.temp.path() / "out.eds"));
    EXPECT_FALSE(fs::exists(fixture.temp.path() / "missing"));
}

// Permission bits: a read-only bin folder. Root writes through them, so the case only means
// something for an ordinary user (the cases above make the failure real for root too).
TEST(HostileImages, ReadOnlyBinFolder)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows ignores the read-only attribute of a folder; read-only files are "
                    "covered by the atomic-write test";
#else
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root: permission bits do not stop writes";
    const HostileFixture fixture("");
    fs::create_directories(fixture.dir / "bin");
    writeTestFile(pathToUtf8(fixture.dir / "bin" / kPlainImageName), "old plain image");
    ::chmod(pathToUtf8(fixture.dir / "bin").c_str(), 0555);
    const CliRun run = runCliInProcess({"compile", fixture.project()});
    ::chmod(pathToUtf8(fixture.dir / "bin").c_str(), 0755);
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(contains(run.err, "The image file could not be written")) << run.err;
    EXPECT_EQ(readTestFile(pathToUtf8(fixture.dir / "bin" / kPlainImageName)), "old plain image");
#endif
}

} // namespace

namespace {

// Image files a disk or a hand can break, through dump: each is refused with its reason.
TEST(HostileDump, BrokenImageFilesAreRefusedWithTheirReason)
{
    TempDir temp;
    fs::create_directories(temp.path() / "folder" / kPlainImageName);
    writeTestFile(temp.file(std::string("empty_") + kPlainImageName), "");
    fs::create_directories(temp.path() / "short");
    writeTestFile(pathToUtf8(temp.path() / "short" / kPlainImageName), "abc");
    fs::create_directories(temp.path() / "offsets");
    writeTestFile(pathToUtf8(temp.path() / "offsets" / kPlainImageName), std::string(32, '\xFF'));
    fs::create_directories(temp.path() / "big");
    writeTestFile(pathToUtf8(temp.path() / "big" / kBank1Name), std::string(50u * 1024u * 1024u, '\0'));
    struct Row {
        fs::path file;
        const char* fragment;
    };
    const Row rows[] = {
        {temp.path() / "folder" / kPlainImageName, "Is a directory"},
        {temp.path() / "missing.bin", "No such file"},
        {temp.path() / "short" / kPlainImageName, "shorter than its 32-byte header"},
        {temp.path() / "offsets" / kPlainImageName, "WRONG"},
        {temp.path() / "big" / kBank1Name, "the block must be 2048 bytes"},
    };
    for (const Row& row : rows) {
        const CliRun run = runCliInProcess({"dump", pathToUtf8(row.file)});
        EXPECT_EQ(run.code, 1) << row.file;
        EXPECT_TRUE(contains(run.all(), row.fragment)) << row.file << ": " << run.all().substr(0, 2000);
    }
}

} // namespace

namespace {

// The table dialogs refuse "101 " and "1 ", but a hand-edited file can hold them. The plain
// image reads them past their blanks; the banked images must read the same numbers, not the
// defaults (register 0, node ID 1 by chance).
TEST(HostileImages, BlanksAroundNumbersAreReadAlikeInBothImages)
{
    const HostileFixture blanks("trailing_blank");
    fs::copy(fs::path(SETFORGE_TEST_DATA) / "hostile" / "pargen_numbers" / "ParGen.xml",
             blanks.dir / "ParGen.xml", fs::copy_options::overwrite_existing);
    // CAN_id "1 " would pass as the default 1: make it "7 ".
    const std::string parGen = pathToUtf8(blanks.dir / "ParGen.xml");
    std::string text = readTestFile(parGen);
    const std::size_t at = text.find("<CAN_id>1 <");
    ASSERT_NE(at, std::string::npos);
    text[at + 8] = '7';
    writeTestFile(parGen, text);
    const CliRun compiled = runCliInProcess({"compile", blanks.project()});
    ASSERT_EQ(compiled.code, 0) << compiled.all();

    const CliRun plain = runCliInProcess({"dump", pathToUtf8(blanks.dir / "bin" / kPlainImageName)});
    EXPECT_TRUE(contains(plain.out, "SDO record 2: conf=65 IndexA=101 (0x0065)")) << plain.out;
    EXPECT_TRUE(contains(plain.out, "parameter CAN_id = 7")) << plain.out;
    const CliRun banked = runCliInProcess({"dump", pathToUtf8(blanks.dir / "bin" / kBank2Name)});
    EXPECT_TRUE(contains(banked.out, "SDO entry 2: IndexA=101 (0x0065)")) << banked.out;
    const CliRun parameters = runCliInProcess({"dump", pathToUtf8(blanks.dir / "bin" / kBank1Name)});
    EXPECT_TRUE(contains(parameters.out, "CANopen node ID = 7 (0x00000007)")) << parameters.out;
    EXPECT_TRUE(contains(parameters.out, "Modbus device ID = 1 (0x00000001)")) << parameters.out;
}

} // namespace

} // namespace setforge
