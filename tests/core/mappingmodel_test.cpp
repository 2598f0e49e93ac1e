#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/base/atomicfile.h"
#include "core/base/paths.h"
#include "core/base/xmlfile.h"
#include "core/lang/uitexts.h"
#include "core/mapping/emcyframe.h"
#include "core/mapping/mappingmodel.h"
#include "core/mapping/pdoframe.h"

namespace setforge {

namespace fs = std::filesystem;

namespace {

using Outcome = MappingEditResult::Outcome;

const std::string kData = std::string(SETFORGE_TEST_DATA) + "/mapping";

// A fresh folder that the fixtures are copied into before anything writes; removed at the end.
class ScratchDir {
public:
    ScratchDir()
    {
        std::mt19937_64 random(
            static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()));
        m_path = fs::temp_directory_path() / ("setforge_mapping_" + std::to_string(random()));
        fs::create_directories(m_path);
    }
    ~ScratchDir()
    {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    std::string path(const std::string& name) const { return pathToUtf8(m_path / name); }
    // Copies the fixture `name` in and returns its path here.
    std::string copy(const std::string& name) const
    {
        fs::copy_file(pathFromUtf8(kData + "/" + name), m_path / name, fs::copy_options::overwrite_existing);
        return path(name);
    }
    void write(const std::string& name, const std::string& content) const
    {
        ASSERT_TRUE(writeFileAtomic(path(name), content));
    }

private:
    fs::path m_path;
};

std::string fileText(const std::string& path)
{
    const Result<std::string> read = readWholeFile(path);
    EXPECT_TRUE(read) << read.error().text;
    return read ? *read : std::string();
}

std::string serialized(const MappingModel& model)
{
    pugi::xml_document doc;
    model.buildDocument(doc);
    return serializeXml(doc);
}

// A receive model of two PDOs, 8 and 2 bytes long, with the entry "16" on the first.
MappingModel receiveModelWith16()
{
    MappingModel model(kReceivePdoMapping);
    model.appendFrame(std::make_unique<PdoFrame>("0x181", "8"));
    model.appendFrame(std::make_unique<PdoFrame>("0x182", "2"));
    UiTexts texts;
    EXPECT_TRUE(model.addEntry(0, {"16", 1, 0, 0}, texts).done());
    return model;
}

RegisterEntry entryAt(const MappingModel& model, int frame, int entry)
{
    return model.frame(frame).entries.at(static_cast<std::size_t>(entry));
}

// One register index may appear once per editor, whatever its spelling.
TEST(MappingModel, RegisterInUseComparesIntegers)
{
    struct Case {
        const char* what;
        bool modify; // modify entry 0 of frame 0 instead of creating
        int frame;
        const char* index;
        Outcome expected;
    };
    const Case kCases[] = {
        {"same spelling, same frame", false, 0, "16", Outcome::Refused},
        {"hex, same frame", false, 0, "0x10", Outcome::Refused},
        {"hex, other frame", false, 1, "0x10", Outcome::Refused},
        {"dollar hex, other frame", false, 1, "$10", Outcome::Refused},
        {"leading blank, other frame", false, 1, " 16", Outcome::Refused},
        {"another register", false, 1, "17", Outcome::Done},
        {"the entry itself under another spelling", true, 0, "0x10", Outcome::Done},
    };
    UiTexts texts;
    for (const Case& c : kCases) {
        MappingModel model = receiveModelWith16();
        const MappingEditResult result = c.modify ? model.modifyEntry(0, 0, {c.index, 2, 0, 0}, texts)
                                                  : model.addEntry(c.frame, {c.index, 0, 0, 0}, texts);
        EXPECT_EQ(result.outcome, c.expected) << c.what;
        if (c.expected == Outcome::Refused) {
            EXPECT_EQ(result.message, "Error!! Index of Modbus Register is already used") << c.what;
        }
    }
}

TEST(MappingModel, ModifyIsCheckedAgainstTheOtherEntries)
{
    MappingModel model = receiveModelWith16();
    UiTexts texts;
    ASSERT_TRUE(model.addEntry(1, {"20", 1, 2, 0}, texts).done());
    // Moving the second entry onto the first one's register is refused and changes nothing.
    EXPECT_EQ(model.modifyEntry(1, 0, {"0x10", 0, 0, 0}, texts).outcome, Outcome::Refused);
    EXPECT_EQ(entryAt(model, 1, 0).registerIndex, "20");
    EXPECT_EQ(entryAt(model, 1, 0).highPart, 1);
    EXPECT_EQ(entryAt(model, 1, 0).lowPart, 2);
}

// Every editor refuses an index outside 0..65535 with its own text and keeps the text as typed.
TEST(MappingModel, IndexTextsAreCheckedAndKeptAsTyped)
{
    struct Case {
        const char* index;
        bool accepted;
    };
    const Case kCases[] = {{"65536", false}, {"-1", false},    {"abc", false},  {"", false},
                           {"100 ", false},  {"0x", false},    {" 100", true},  {"0", true},
                           {"65535", true},  {"0xFFFF", true}, {"$0010", true}, {"0x10000", false}};
    const MappingFormat* formats[] = {&kReceivePdoMapping, &kTransmitPdoMapping, &kEmergencyMapping};
    for (const MappingFormat* format : formats) {
        UiTexts texts;
        const int rangeText = format->textIndex(MappingText::IndexRange);
        texts.set(rangeText, "range text " + std::to_string(rangeText));
        for (const Case& c : kCases) {
            MappingModel model(*format);
            model.appendFrame(std::make_unique<EmcyFrame>("1", "0x1000", "1"));
            const MappingEditResult result = model.addEntry(0, {c.index, 1, 0, 1}, texts);
            if (c.accepted) {
                ASSERT_TRUE(result.done()) << rangeText << " \"" << c.index << "\"";
                EXPECT_EQ(entryAt(model, 0, 0).registerIndex, c.index);
            } else {
                EXPECT_EQ(result.outcome, Outcome::Refused) << "\"" << c.index << "\"";
                EXPECT_EQ(result.message, texts[rangeText]);
                EXPECT_TRUE(model.frame(0).entries.empty());
            }
        }
    }
}

TEST(MappingModel, TextBlocksOfTheThreeEditors)
{
    struct Case {
        const MappingFormat* format;
        MappingText text;
        int index;
    };
    const Case kCases[] = {
        {&kReceivePdoMapping, MappingText::Caption, 1000},
        {&kReceivePdoMapping, MappingText::LowPartDesc2, 1011},
        {&kReceivePdoMapping, MappingText::SendOnWrite, -1},
        {&kReceivePdoMapping, MappingText::Create, 1012},
        {&kReceivePdoMapping, MappingText::IndexRange, 1019},
        {&kReceivePdoMapping, MappingText::BytePrefix, 1022},
        {&kTransmitPdoMapping, MappingText::SendOnWrite, 1212},
        {&kTransmitPdoMapping, MappingText::WriteTrue, 1214},
        {&kTransmitPdoMapping, MappingText::Create, 1215},
        {&kTransmitPdoMapping, MappingText::IndexUsed, 1223},
        {&kTransmitPdoMapping, MappingText::BytePrefix, 1225},
        {&kEmergencyMapping, MappingText::Caption, 800},
        {&kEmergencyMapping, MappingText::WriteFalse, -1},
        {&kEmergencyMapping, MappingText::Cancel, 818},
        {&kEmergencyMapping, MappingText::ByteNone, 821},
    };
    for (const Case& c : kCases)
        EXPECT_EQ(c.format->textIndex(c.text), c.index) << static_cast<int>(c.text);
}

// The byte selector: high part in the upper four bits, low part in the lower four.
TEST(MappingModel, ByteSelectorBothWays)
{
    ScratchDir dir;
    const std::string frames = dir.copy("rpdodef.xml");
    dir.write("sdopdo.xml", R"(<sdopdo><row index="5" subindex="0" nrpdo="1" poscomp="33"/></sdopdo>)");
    MappingModel model(kReceivePdoMapping);
    ASSERT_TRUE(model.load(frames, dir.path("sdopdo.xml")));
    EXPECT_EQ(entryAt(model, 0, 0).highPart, 2);
    EXPECT_EQ(entryAt(model, 0, 0).lowPart, 1);

    MappingModel created(kReceivePdoMapping);
    created.appendFrame(std::make_unique<PdoFrame>("0x181", "8"));
    UiTexts texts;
    ASSERT_TRUE(created.addEntry(0, {"5", 2, 1, 0}, texts).done());
    ASSERT_TRUE(created.addEntry(0, {"6", 0, 0, 0}, texts).done());
    EXPECT_EQ(serialized(created), "<sdopdo><row index=\"5\" subindex=\"0\" nrpdo=\"1\" poscomp=\"33\"/>"
                                   "<row index=\"6\" subindex=\"0\" nrpdo=\"1\" poscomp=\"0\"/>"
                                   "</sdopdo><!--SW_VERSION = 2.001-->");
}

TEST(MappingModel, SelectorValuesOutOfRangeAreSplitIntoNibbles)
{
    struct Case {
        int selector;
        int hi;
        int lo;
    };
    const Case kCases[] = {{0, 0, 0},     {33, 2, 1},     {18, 1, 2},  {84, 5, 4},
                           {255, 15, 15}, {0x1234, 3, 4}, {-1, 15, 15}};
    for (const Case& c : kCases) {
        int hi = -9;
        int lo = -9;
        unpackByteSelector(c.selector, hi, lo);
        EXPECT_EQ(hi, c.hi) << c.selector;
        EXPECT_EQ(lo, c.lo) << c.selector;
    }
}

TEST(MappingModel, BytesOfferedByAFrame)
{
    struct Case {
        const char* dimension;
        int offered;
    };
    // Dimensions beyond 15 are capped: a selector half cannot name byte 16 or more.
    const Case kCases[] = {{"2", 2},   {"8", 8}, {"abc", 8}, {"", 8},    {"8 ", 8},
                           {"0x4", 4}, {"0", 0}, {"-3", 0},  {"15", 15}, {"20", 15}};
    UiTexts texts;
    for (const Case& c : kCases) {
        MappingModel model(kReceivePdoMapping);
        model.appendFrame(std::make_unique<PdoFrame>("0x181", c.dimension));
        EXPECT_EQ(model.offeredBytes(0), c.offered) << c.dimension;
        EXPECT_EQ(model.byteChoices(0, texts).size(), static_cast<std::size_t>(c.offered) + 1) << c.dimension;
    }
    MappingModel model(kReceivePdoMapping);
    model.appendFrame(std::make_unique<PdoFrame>("0x181", "2"));
    EXPECT_EQ(model.byteChoices(0, texts), (std::vector<std::string>{"None", "Byte 1", "Byte 2"}));
    EXPECT_EQ(model.byteChoices(-1, texts), (std::vector<std::string>{"None"}));
}

TEST(MappingModel, EmergenciesAlwaysOfferFiveBytes)
{
    ScratchDir dir;
    dir.write("emcydef.xml",
              R"(<EMCY><row ID_EMCY="1" EMCY_Error_Code="0" Error_Register="0" Mnemonic=""/>)"
              R"(<row ID_EMCY="abc" EMCY_Error_Code="" Error_Register="x" Mnemonic="8"/></EMCY>)");
    MappingModel model(kEmergencyMapping);
    ASSERT_TRUE(model.load(dir.path("emcydef.xml"), dir.path("emcyword.xml")));
    ASSERT_EQ(model.frameCount(), 2);
    UiTexts texts;
    for (int i = 0; i < model.frameCount(); ++i) {
        EXPECT_EQ(model.frame(i).byteCount, 5);
        EXPECT_EQ(model.byteChoices(i, texts).back(), "Byte 5");
    }
    EXPECT_EQ(model.frame(1).listLine(), "abc\t\tx");
}

// Rows naming no frame are dropped; comments, PIs and text between elements are no rows.
TEST(MappingModel, ReceiveLoadSkipsRowsWithoutFrameAndSavesWhatIsLeft)
{
    ScratchDir dir;
    MappingModel model(kReceivePdoMapping);
    const Result<void> loaded = model.load(dir.copy("rpdodef.xml"), dir.copy("sdopdo.xml"));
    ASSERT_TRUE(loaded) << loaded.error().text;
    ASSERT_EQ(model.frameCount(), 3);
    EXPECT_EQ(model.frame(0).listLine(), "0x181\t8");
    EXPECT_EQ(model.frame(2).listLine(), "$183\tabc");
    EXPECT_EQ(model.frame(2).byteCount, 8);
    ASSERT_EQ(model.frame(0).entries.size(), 2u);
    EXPECT_EQ(entryAt(model, 0, 1).registerIndex, " 101");
    EXPECT_TRUE(model.frame(1).entries.empty());
    ASSERT_EQ(model.frame(2).entries.size(), 1u);

    ASSERT_TRUE(model.save(dir.path("sdopdo.xml")));
    EXPECT_EQ(fileText(dir.path("sdopdo.xml")), fileText(kData + "/golden/sdopdo.xml"));
}

TEST(MappingModel, TransmitLoadReadsWriteAndSavesCapitalisedRows)
{
    ScratchDir dir;
    ProjectFiles files;
    files.transmitPdo = dir.copy("Transmit_Pdo.xml");
    files.transmitPdoDefine = dir.copy("Transmit_PDO_Define.xml");
    MappingModel model(kTransmitPdoMapping);
    ASSERT_TRUE(model.load(files));
    ASSERT_EQ(model.frameCount(), 2);
    EXPECT_EQ(model.frame(1).listLine(), "0x202\t4");
    EXPECT_EQ(entryAt(model, 0, 0).sendOnWrite, 1);
    // A missing Send_on_Write and one that is no number load as "False".
    EXPECT_EQ(entryAt(model, 1, 0).sendOnWrite, 0);
    EXPECT_EQ(entryAt(model, 1, 1).sendOnWrite, 0);

    ASSERT_TRUE(model.save(files));
    EXPECT_EQ(fileText(files.transmitPdoDefine), fileText(kData + "/golden/Transmit_PDO_Define.xml"));
}

TEST(MappingModel, NewEntriesSaveInEachShape)
{
    struct Case {
        const MappingFormat* format;
        RegisterEntry entry;
        const char* expected;
    };
    const Case kCases[] = {
        {&kTransmitPdoMapping,
         {"200", 1, 2, 1},
         "<Transmit_PDO_Define><row Index=\"200\" NrPdo=\"2\" PosComp=\"18\" Send_on_Write=\"1\"/>"
         "</Transmit_PDO_Define><!--SW_VERSION = 2.001-->"},
        {&kEmergencyMapping,
         {"300", 5, 4, 0},
         "<EMCY_Word><EMCY_ROW/><EMCY_ROW><Dati Dati_Word=\"300\" Dati_Byte=\"84\"/></EMCY_ROW>"
         "</EMCY_Word><!--SW_VERSION = 2.001-->"},
        // Write belongs to the transmit editor only: the others never store it.
        {&kReceivePdoMapping,
         {"0x64", 1, 0, 1},
         "<sdopdo><row index=\"0x64\" subindex=\"0\" nrpdo=\"2\" poscomp=\"16\"/>"
         "</sdopdo><!--SW_VERSION = 2.001-->"},
    };
    UiTexts texts;
    for (const Case& c : kCases) {
        MappingModel model(*c.format);
        model.appendFrame(std::make_unique<EmcyFrame>("1", "0", "0"));
        model.appendFrame(std::make_unique<EmcyFrame>("2", "0", "0"));
        ASSERT_TRUE(model.addEntry(1, c.entry, texts).done());
        EXPECT_EQ(entryAt(model, 1, 0).sendOnWrite, c.format->hasWrite ? 1 : 0);
        EXPECT_EQ(serialized(model), c.expected);
    }
}

TEST(MappingModel, EmergencyRowsAreNestedAndEmptyRowsKept)
{
    ScratchDir dir;
    ProjectFiles files;
    files.emcyDef = dir.copy("emcydef.xml");
    files.emcyWord = dir.copy("emcyword.xml");
    MappingModel model(kEmergencyMapping);
    ASSERT_TRUE(model.load(files));
    ASSERT_EQ(model.frameCount(), 3);
    EXPECT_EQ(model.frame(0).listLine(), "0x05\t0x8130\t0x11");
    EXPECT_TRUE(model.frame(0).entries.empty());
    ASSERT_EQ(model.frame(1).entries.size(), 2u);
    EXPECT_EQ(entryAt(model, 1, 0).highPart, 5);
    EXPECT_EQ(entryAt(model, 1, 0).lowPart, 4);
    EXPECT_TRUE(model.frame(2).entries.empty()); // the fourth EMCY_ROW has no emergency

    ASSERT_TRUE(model.save(files));
    const std::string golden = fileText(kData + "/golden/emcyword.xml");
    EXPECT_EQ(fileText(files.emcyWord), golden);

    // Loading the saved file puts the entries back on the second emergency only.
    MappingModel again(kEmergencyMapping);
    ASSERT_TRUE(again.load(files));
    EXPECT_TRUE(again.frame(0).entries.empty());
    EXPECT_EQ(again.frame(1).entries.size(), 2u);
    EXPECT_TRUE(again.frame(2).entries.empty());
    EXPECT_EQ(serialized(again), golden);
}

// Without frames no entry can be kept: the saved file holds the root and the comment only.
TEST(MappingModel, EmptyFrameTableSavesFileWithoutRows)
{
    struct Case {
        const MappingFormat* format;
        const char* frameFile; // nullptr: the frame file does not exist
        const char* expected;
    };
    const Case kCases[] = {
        {&kReceivePdoMapping, nullptr, "<sdopdo/><!--SW_VERSION = 2.001-->"},
        {&kReceivePdoMapping, "<rpdodef><!-- none --></rpdodef>", "<sdopdo/><!--SW_VERSION = 2.001-->"},
        {&kTransmitPdoMapping, "<Trasmit_PDO/>", "<Transmit_PDO_Define/><!--SW_VERSION = 2.001-->"},
        {&kEmergencyMapping, nullptr, "<EMCY_Word/><!--SW_VERSION = 2.001-->"},
    };
    for (const Case& c : kCases) {
        ScratchDir dir;
        if (c.frameFile)
            dir.write("frames.xml", c.frameFile);
        // Entries of the earlier table are there; they belong to no frame, so the save leaves them out.
        dir.write("map.xml",
                  "<old><row index=\"1\" nrpdo=\"1\"/><EMCY_ROW><Dati Dati_Word=\"1\"/></EMCY_ROW></old>");
        MappingModel model(*c.format);
        ASSERT_TRUE(model.load(dir.path("frames.xml"), dir.path("map.xml")));
        EXPECT_EQ(model.frameCount(), 0);
        ASSERT_TRUE(model.save(dir.path("map.xml")));
        EXPECT_EQ(fileText(dir.path("map.xml")), c.expected);
    }
}

TEST(MappingModel, MissingMappingFileGivesFramesWithoutEntries)
{
    ScratchDir dir;
    MappingModel model(kReceivePdoMapping);
    ASSERT_TRUE(model.load(dir.copy("rpdodef.xml"), dir.path("sdopdo.xml")));
    EXPECT_EQ(model.frameCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(model.frame(i).entries.empty());
}

// A file that is not XML is reported, and the model stays empty so nothing can be saved over it.
TEST(MappingModel, BrokenFilesAreReportedAndLeaveNoFrames)
{
    ScratchDir dir;
    dir.write("broken.xml", "<sdopdo><row index=\"1\"</sdopdo>");
    MappingModel model(kReceivePdoMapping);
    Result<void> loaded = model.load(dir.path("broken.xml"), dir.path("none.xml"));
    ASSERT_FALSE(loaded);
    EXPECT_NE(loaded.error().text.find("broken.xml"), std::string::npos) << loaded.error().text;
    EXPECT_EQ(model.frameCount(), 0);

    loaded = model.load(dir.copy("rpdodef.xml"), dir.path("broken.xml"));
    ASSERT_FALSE(loaded);
    EXPECT_NE(loaded.error().text.find("broken.xml"), std::string::npos) << loaded.error().text;
    EXPECT_EQ(model.frameCount(), 0);

    // A directory where the frame file should be cannot be read.
    fs::create_directory(pathFromUtf8(dir.path("dir.xml")));
    EXPECT_FALSE(model.load(dir.path("dir.xml"), dir.path("none.xml")));
}

TEST(MappingModel, SaveIntoMissingFolderFails)
{
    ScratchDir dir;
    MappingModel model(kReceivePdoMapping);
    const Result<void> saved = model.save(dir.path("no such folder/sdopdo.xml"));
    EXPECT_FALSE(saved);
    EXPECT_FALSE(saved.error().text.empty());
}

TEST(MappingModel, OperationsWithoutSelectionDoNothing)
{
    struct Case {
        int frame;
        int entry;
    };
    const Case kCases[] = {{-1, 0}, {2, 0}, {0, -1}, {0, 1}, {1, 0}};
    UiTexts texts;
    for (const Case& c : kCases) {
        MappingModel model = receiveModelWith16();
        const std::string before = serialized(model);
        EXPECT_EQ(model.modifyEntry(c.frame, c.entry, {"99", 0, 0, 0}, texts).outcome, Outcome::NoSelection);
        EXPECT_EQ(model.deleteEntry(c.frame, c.entry).outcome, Outcome::NoSelection);
        EXPECT_EQ(model.copyEntry(c.frame, c.entry).outcome, Outcome::NoSelection);
        EXPECT_EQ(model.copyBuffer().registerIndex, "");
        EXPECT_EQ(serialized(model), before);
    }
    MappingModel model = receiveModelWith16();
    EXPECT_EQ(model.addEntry(-1, {"99", 0, 0, 0}, texts).outcome, Outcome::NoSelection);
    EXPECT_EQ(model.addEntry(2, {"99", 0, 0, 0}, texts).outcome, Outcome::NoSelection);
}

TEST(MappingModel, DeleteAndModifyKeepTheOrder)
{
    MappingModel model(kTransmitPdoMapping);
    model.appendFrame(std::make_unique<PdoFrame>("0x201", "8"));
    UiTexts texts;
    for (const char* index : {"3", "1", "2"})
        ASSERT_TRUE(model.addEntry(0, {index, 0, 0, 0}, texts).done());
    ASSERT_TRUE(model.modifyEntry(0, 1, {"10", 3, 4, 1}, texts).done());
    ASSERT_TRUE(model.deleteEntry(0, 0).done());
    ASSERT_EQ(model.frame(0).entries.size(), 2u);
    EXPECT_EQ(entryAt(model, 0, 0).registerIndex, "10");
    EXPECT_EQ(entryAt(model, 0, 0).sendOnWrite, 1);
    EXPECT_EQ(entryAt(model, 0, 1).registerIndex, "2");
    // The deleted register is free again.
    EXPECT_TRUE(model.addEntry(0, {"3", 0, 0, 0}, texts).done());
}

// A copied byte that the target frame does not offer is pasted as "None", and Create or Modify
// never store a byte beyond what the frame offers.
TEST(MappingModel, PasteAndStoreOnlyOfferedBytes)
{
    MappingModel model(kTransmitPdoMapping);
    model.appendFrame(std::make_unique<PdoFrame>("0x201", "8"));
    model.appendFrame(std::make_unique<PdoFrame>("0x202", "2"));
    UiTexts texts;

    RegisterEntry pasted = model.pasteEntry(0);
    EXPECT_EQ(pasted.registerIndex, "");
    EXPECT_EQ(pasted.highPart, 0);
    EXPECT_EQ(pasted.lowPart, 0);
    EXPECT_EQ(pasted.sendOnWrite, 0);

    ASSERT_TRUE(model.addEntry(0, {"40", 8, 2, 1}, texts).done());
    ASSERT_TRUE(model.copyEntry(0, 0).done());
    EXPECT_EQ(model.copyBuffer().highPart, 8);

    pasted = model.pasteEntry(1);
    EXPECT_EQ(pasted.registerIndex, "40");
    EXPECT_EQ(pasted.highPart, 0);
    EXPECT_EQ(pasted.lowPart, 2);
    EXPECT_EQ(pasted.sendOnWrite, 1);
    pasted = model.pasteEntry(0);
    EXPECT_EQ(pasted.highPart, 8);
    pasted = model.pasteEntry(-1);
    EXPECT_EQ(pasted.registerIndex, "40");
    EXPECT_EQ(pasted.highPart, 0);
    EXPECT_EQ(pasted.lowPart, 0);

    ASSERT_TRUE(model.addEntry(1, {"41", 3, 9, 7}, texts).done());
    EXPECT_EQ(entryAt(model, 1, 0).highPart, 0);
    EXPECT_EQ(entryAt(model, 1, 0).lowPart, 0);
    EXPECT_EQ(entryAt(model, 1, 0).sendOnWrite, 0);
    ASSERT_TRUE(model.modifyEntry(1, 0, {"41", 2, -1, 1}, texts).done());
    EXPECT_EQ(entryAt(model, 1, 0).highPart, 2);
    EXPECT_EQ(entryAt(model, 1, 0).lowPart, 0);
}

// Entries keep their byte numbers when the frame became shorter since they were made.
TEST(MappingModel, LoadedBytesBeyondTheFrameAreKept)
{
    ScratchDir dir;
    dir.write("rpdodef.xml", R"(<rpdodef><row cobid="0x181" dimension="2"/></rpdodef>)");
    dir.write("sdopdo.xml", R"(<sdopdo><row index="7" subindex="0" nrpdo="1" poscomp="120"/></sdopdo>)");
    MappingModel model(kReceivePdoMapping);
    ASSERT_TRUE(model.load(dir.path("rpdodef.xml"), dir.path("sdopdo.xml")));
    EXPECT_EQ(entryAt(model, 0, 0).highPart, 7);
    EXPECT_EQ(entryAt(model, 0, 0).lowPart, 8);
    UiTexts texts;
    EXPECT_EQ(model.entryLine(entryAt(model, 0, 0), texts), "7; Byte 7; Byte 8;");
    EXPECT_EQ(model.fitPart(0, 7), 0);
    ASSERT_TRUE(model.save(dir.path("sdopdo.xml")));
    EXPECT_NE(fileText(dir.path("sdopdo.xml")).find("poscomp=\"120\""), std::string::npos);
}

TEST(MappingModel, BytesBeyondTheFrameAreNamedBeforeModify)
{
    MappingModel model = receiveModelWith16();
    UiTexts texts;
    struct Case {
        int hi, lo;                       // stored
        int typedHi, typedLo;             // chosen in the fields before Modify
        std::vector<std::string> dropped; // on the 4-byte frame
    };
    const Case kCases[] = {
        {2, 1, 0, 0, {}},
        {4, 0, 0, 0, {}},
        {6, 5, 0, 0, {"Byte 6", "Byte 5"}},
        {0, 7, 0, 0, {"Byte 7"}},
        {5, 3, 0, 3, {"Byte 5"}},
        // The user chose Byte 2 for the high half: Byte 4 of the stored entry is replaced by
        // Byte 2, not by None, so only the low half's Byte 5 is named.
        {6, 5, 2, 0, {"Byte 5"}},
        {6, 5, 2, 1, {}},
        // A typed byte the frame does not offer is stored as None.
        {6, 5, 7, 1, {"Byte 6"}},
    };
    for (const Case& c : kCases) {
        // An entry saved while the PDO was longer, loaded after its Dimension became 4.
        MappingModel shrunk(kReceivePdoMapping);
        ScratchDir dir;
        dir.write("rpdodef.xml", R"(<rpdodef><row cobid="0x181" dimension="4"/></rpdodef>)");
        dir.write("sdopdo.xml", R"(<sdopdo><row index="9" subindex="0" nrpdo="1" poscomp=")" +
                                    std::to_string(c.hi * 16 + c.lo) + R"("/></sdopdo>)");
        ASSERT_TRUE(shrunk.load(dir.path("rpdodef.xml"), dir.path("sdopdo.xml")));
        const RegisterEntry typed{"9", c.typedHi, c.typedLo, 0};
        EXPECT_EQ(shrunk.bytesBeyondFrame(0, 0, typed, texts), c.dropped)
            << c.hi << "/" << c.lo << " typed " << c.typedHi << "/" << c.typedLo;
    }
    EXPECT_TRUE(model.bytesBeyondFrame(0, 5, {}, texts).empty());
    EXPECT_TRUE(model.bytesBeyondFrame(-1, 0, {}, texts).empty());
}

TEST(MappingModel, FillFrameMapsConsecutiveRegisters)
{
    UiTexts texts;
    const std::string inUse = "In use: ";
    struct Case {
        const char* dimension;
        int first;
        Outcome outcome;
        std::vector<std::string> lines; // entries of the frame afterwards
        std::string message;
    };
    const Case kCases[] = {
        {"8",
         100,
         Outcome::Done,
         {"100; Byte 2; Byte 1;", "101; Byte 4; Byte 3;", "102; Byte 6; Byte 5;", "103; Byte 8; Byte 7;"},
         ""},
        {"3", 0, Outcome::Done, {"0; Byte 2; Byte 1;", "1; None; Byte 3;"}, ""},
        {"8", 14, Outcome::Refused, {}, "In use: 16, 17"},
        {"2", 65535, Outcome::Done, {"65535; Byte 2; Byte 1;"}, ""},
        {"4", 65535, Outcome::Refused, {}, "Error!! Index of Modbus Register must be between 0 and 65535"},
        {"4", -1, Outcome::Refused, {}, "Error!! Index of Modbus Register must be between 0 and 65535"},
        {"0", 5, Outcome::NoSelection, {}, ""},
    };
    for (const Case& c : kCases) {
        MappingModel model(kReceivePdoMapping);
        model.appendFrame(std::make_unique<PdoFrame>("0x181", c.dimension));
        model.appendFrame(std::make_unique<PdoFrame>("0x182", "8"));
        ASSERT_TRUE(model.addEntry(1, {"16", 1, 0, 0}, texts).done());
        ASSERT_TRUE(model.addEntry(1, {"0x11", 1, 0, 0}, texts).done());
        const MappingEditResult result = model.fillFrame(0, c.first, 0, texts, inUse);
        EXPECT_EQ(result.outcome, c.outcome) << c.dimension << " from " << c.first;
        EXPECT_EQ(result.message, c.message) << c.dimension << " from " << c.first;
        std::vector<std::string> lines;
        for (const RegisterEntry& entry : model.frame(0).entries)
            lines.push_back(model.entryLine(entry, texts));
        EXPECT_EQ(lines, c.lines) << c.dimension << " from " << c.first;
    }
}

TEST(MappingModel, EntryLineUsesTheEditorsTexts)
{
    struct Case {
        RegisterEntry entry;
        const char* line;
    };
    const Case kCases[] = {{{"100", 1, 0, 0}, "100; Byte 1; None;"},
                           {{" 0x10", 0, 0, 1}, " 0x10; None; None;"},
                           {{"5", 15, 12, 0}, "5; Byte 15; Byte 12;"}};
    UiTexts texts;
    MappingModel model(kEmergencyMapping);
    for (const Case& c : kCases)
        EXPECT_EQ(model.entryLine(c.entry, texts), c.line);
    texts.set(821, "Nessuno");
    texts.set(822, "B");
    EXPECT_EQ(model.entryLine({"9", 0, 3, 0}, texts), "9; Nessuno; B3;");
}

TEST(MappingModel, EntryLineShowsSendOnWriteInTheTransmitEditorOnly)
{
    UiTexts texts;
    const MappingModel transmit(kTransmitPdoMapping);
    const MappingModel receive(kReceivePdoMapping);
    EXPECT_EQ(transmit.entryLine({"7", 2, 1, 1}, texts), "7; Byte 2; Byte 1; Send on Write;");
    EXPECT_EQ(transmit.entryLine({"7", 2, 1, 0}, texts), "7; Byte 2; Byte 1;");
    // A receive entry never sends, whatever a hand-edited value says.
    EXPECT_EQ(receive.entryLine({"7", 2, 1, 1}, texts), "7; Byte 2; Byte 1;");
}

// A frame table that lost rows since the mapping was made: entries beyond the (now shorter)
// frame and entries of the deleted frames are shown and named before a save drops them.
TEST(MappingModel, EntriesOutsideTheirFramesAreMarkedAndDroppedOnlyOnRequest)
{
    struct Case {
        const MappingFormat* format;
        const char* frames;
        const char* map;
    };
    const Case kCases[] = {
        {&kTransmitPdoMapping, R"(<Trasmit_PDO><row COB-ID="0x202" Dimension="4"/></Trasmit_PDO>)",
         R"(<Transmit_PDO_Define><row Index="202" NrPdo="1" PosComp="101" Send_on_Write="0"/>)"
         R"(<row Index="203" NrPdo="1" PosComp="33" Send_on_Write="1"/>)"
         R"(<row Index="300" NrPdo="3" PosComp="33" Send_on_Write="0"/>)"
         R"(<row Index="301" NrPdo="3" PosComp="67" Send_on_Write="0"/></Transmit_PDO_Define>)"},
        // The emergency file names its frames by position: the third group has no frame.
        {&kEmergencyMapping, R"(<emcydef><row/></emcydef>)",
         R"(<EMCY_Word><EMCY_ROW><Dati Dati_Word="202" Dati_Byte="101"/><Dati Dati_Word="203" Dati_Byte="33"/>)"
         R"(</EMCY_ROW><EMCY_ROW/><EMCY_ROW><Dati Dati_Word="300" Dati_Byte="33"/>)"
         R"(<Dati Dati_Word="301" Dati_Byte="67"/></EMCY_ROW></EMCY_Word>)"},
    };
    UiTexts texts;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.map);
        ScratchDir dir;
        dir.write("frames.xml", c.frames);
        dir.write("map.xml", c.map);
        MappingModel model(*c.format);
        ASSERT_TRUE(model.load(dir.path("frames.xml"), dir.path("map.xml")));
        ASSERT_EQ(model.frameCount(), 1);
        ASSERT_EQ(model.frame(0).entries.size(), 2u);
        const int bytes = model.offeredBytes(0);
        // 0x65 is Byte 6 / Byte 5: beyond four bytes, within the emergency's five only in part.
        EXPECT_FALSE(model.entryFits(0, entryAt(model, 0, 0)));
        EXPECT_TRUE(model.entryFits(0, entryAt(model, 0, 1)));
        EXPECT_EQ(model.markedEntryLine(0, 0, texts), "202; Byte 6; Byte 5; << beyond the frame");
        EXPECT_EQ(model.markedEntryLine(0, 1, texts).find("<<"), std::string::npos);
        ASSERT_EQ(model.missingFrames().size(), 1u);
        EXPECT_EQ(model.missingFrameLine(0, texts), "Missing frame 3");
        EXPECT_EQ(model.missingEntryLine(0, 1, texts), "301; Byte 4; Byte 3; << its frame is missing");
        EXPECT_EQ(model.missingEntryLine(0, 2, texts), "");
        EXPECT_EQ(model.missingFrameLine(1, texts), "");
        const std::vector<std::string> named = model.entriesDroppedOnSave(texts);
        const std::vector<std::string> expected = {"Frame 1: 202; Byte 6; Byte 5; << beyond the frame",
                                                   "Frame 3: 300; Byte 2; Byte 1; << its frame is missing",
                                                   "Frame 3: 301; Byte 4; Byte 3; << its frame is missing"};
        EXPECT_EQ(named, expected) << bytes;
        // Loading alone changes nothing the user would be asked to save.
        EXPECT_FALSE(model.hasUnsavedChanges());

        model.dropEntriesOutsideFrames();
        EXPECT_TRUE(model.entriesDroppedOnSave(texts).empty());
        EXPECT_TRUE(model.missingFrames().empty());
        ASSERT_EQ(model.frame(0).entries.size(), 1u);
        EXPECT_EQ(entryAt(model, 0, 0).registerIndex, "203");
        EXPECT_TRUE(model.hasUnsavedChanges());
    }
}

TEST(MappingModel, EntriesOfADeletedOnlyFrameAreStillShown)
{
    ScratchDir dir;
    dir.write("rpdodef.xml", "<rpdodef/>");
    dir.write("sdopdo.xml", R"(<sdopdo><row index="5" subindex="0" nrpdo="1" poscomp="33"/>)"
                            R"(<row index="6" subindex="0" nrpdo="x" poscomp="33"/></sdopdo>)");
    MappingModel model(kReceivePdoMapping);
    ASSERT_TRUE(model.load(dir.path("rpdodef.xml"), dir.path("sdopdo.xml")));
    EXPECT_EQ(model.frameCount(), 0);
    ASSERT_EQ(model.missingFrames().size(), 2u);
    UiTexts texts;
    EXPECT_EQ(model.missingFrameLine(0, texts), "Missing frame 1");
    // A frame number that is no number is named as the file spells it.
    EXPECT_EQ(model.missingFrameLine(1, texts), "Missing frame x");
    EXPECT_EQ(model.entriesDroppedOnSave(texts).size(), 2u);
}

TEST(MappingModel, FillFrameStartsAtTheAddressStartOrTheFirstFreeBlock)
{
    struct Case {
        const char* addressStart;       // of the transmit PDO filled (frame 1, 4 bytes: two registers)
        std::vector<const char*> taken; // registers of frame 2
        int start;
    };
    const Case kCases[] = {
        {"40", {}, 40},
        {"0x20", {"0", "1"}, 32},
        // The Address Start wins even over a register in use: the fill then says it is taken.
        {"1", {"1"}, 1},
        {"", {}, 0},
        {"", {"0", "1"}, 2},
        // A single free register between taken ones is too small for a two-register frame.
        {"", {"0", "2", "5"}, 3},
        {"", {"1", "0x2"}, 3},
        {"70000", {"0"}, 1},
        {"abc", {"1"}, 2},
    };
    for (const Case& c : kCases) {
        MappingModel model(kTransmitPdoMapping);
        auto frame = std::make_unique<PdoFrame>("0x181", "4");
        frame->addressStart = c.addressStart;
        model.appendFrame(std::move(frame));
        model.appendFrame(std::make_unique<PdoFrame>("0x182", "8"));
        UiTexts texts;
        for (const char* reg : c.taken)
            ASSERT_TRUE(model.addEntry(1, {reg, 1, 0, 0}, texts).done());
        EXPECT_EQ(model.fillFrameStart(0), c.start) << c.addressStart << " with " << c.taken.size();
    }
    // A receive PDO has no Address Start.
    MappingModel receive(kReceivePdoMapping);
    receive.appendFrame(std::make_unique<PdoFrame>("0x181", "1"));
    UiTexts texts;
    ASSERT_TRUE(receive.addEntry(0, {"0", 1, 0, 0}, texts).done());
    EXPECT_EQ(receive.fillFrameStart(0), 1);
    EXPECT_EQ(receive.fillFrameStart(3), 0);
}

TEST(MappingModel, FillFrameTakesTheSendOnWriteChoice)
{
    UiTexts texts;
    for (const int write : {0, 1}) {
        MappingModel transmit(kTransmitPdoMapping);
        transmit.appendFrame(std::make_unique<PdoFrame>("0x181", "3"));
        ASSERT_TRUE(transmit.fillFrame(0, 10, write, texts, "in use").done());
        ASSERT_EQ(transmit.frame(0).entries.size(), 2u);
        for (const RegisterEntry& entry : transmit.frame(0).entries)
            EXPECT_EQ(entry.sendOnWrite, write);
    }
    MappingModel receive(kReceivePdoMapping);
    receive.appendFrame(std::make_unique<PdoFrame>("0x181", "2"));
    ASSERT_TRUE(receive.fillFrame(0, 10, 1, texts, "in use").done());
    EXPECT_EQ(entryAt(receive, 0, 0).sendOnWrite, 0);
}

// Turning to the Ethernet variant: each Address Start block becomes the frame's entries.
TEST(MappingModel, BlockStartsBecomeEntries)
{
    ScratchDir dir;
    dir.write(
        "Transmit_Pdo.xml",
        R"(<Trasmit_PDO><row COB-ID="0x201" Dimension="4" SMA="100"/><row COB-ID="0x202" Dimension="2" SMA=""/>)"
        R"(<row COB-ID="0x203" Dimension="3" SMA="7"/><row COB-ID="0x204" Dimension="2" SMA="200"/>)"
        R"(<row COB-ID="0x205" Dimension="2" SMA="300"/></Trasmit_PDO>)");
    // Frame 4 is mapped already and keeps its entries; register 8 is taken by it.
    dir.write(
        "Transmit_PDO_Define.xml",
        R"(<Transmit_PDO_Define><row Index="8" NrPdo="4" PosComp="33" Send_on_Write="0"/></Transmit_PDO_Define>)");
    MappingModel model(kTransmitPdoMapping);
    ASSERT_TRUE(model.load(dir.path("Transmit_Pdo.xml"), dir.path("Transmit_PDO_Define.xml")));
    UiTexts texts;
    const auto [filled, refused] = model.fillFromBlockStarts(texts, "Not filled. Registers already in use: ");
    EXPECT_EQ(filled, 2);
    EXPECT_EQ(refused, std::vector<std::string>{"Frame 3: Not filled. Registers already in use: 8"});
    std::vector<std::string> lines;
    for (int j = 0; j < model.frameCount(); ++j)
        for (const RegisterEntry& entry : model.frame(j).entries)
            lines.push_back(std::to_string(j + 1) + ": " + model.entryLine(entry, texts));
    const std::vector<std::string> expected = {"1: 100; Byte 2; Byte 1;", "1: 101; Byte 4; Byte 3;",
                                               "4: 8; Byte 2; Byte 1;", "5: 300; Byte 2; Byte 1;"};
    EXPECT_EQ(lines, expected);
}

// The copy buffer belongs to the editor, not to what it loaded.
TEST(MappingModel, CopyBufferOutlivesReload)
{
    ScratchDir dir;
    ProjectFiles files;
    files.transmitPdo = dir.copy("Transmit_Pdo.xml");
    files.transmitPdoDefine = dir.copy("Transmit_PDO_Define.xml");
    MappingModel model(kTransmitPdoMapping);
    ASSERT_TRUE(model.load(files));
    ASSERT_TRUE(model.copyEntry(0, 0).done());
    ASSERT_TRUE(model.load(files));
    EXPECT_EQ(model.copyBuffer().registerIndex, "300");
    EXPECT_EQ(model.copyBuffer().sendOnWrite, 1);
}

// Unsaved changes follow the entries, not the edits: what the file would hold decides.
TEST(MappingModel, UnsavedChangesFollowTheEntries)
{
    ScratchDir dir;
    ProjectFiles files;
    files.transmitPdo = dir.copy("Transmit_Pdo.xml");
    files.transmitPdoDefine = dir.copy("Transmit_PDO_Define.xml");
    const UiTexts texts;
    // Frame 0 holds 300 (Byte 1 / Byte 2, Write 1); frame 1 holds 301 (None / Byte 3) and 303.
    struct Case {
        const char* what;
        std::function<void(MappingModel&)> edit;
        bool changed;
        bool marksSaved = false;
    };
    const Case kCases[] = {
        {"nothing", [](MappingModel&) {}, false},
        {"copy only", [](MappingModel& m) { m.copyEntry(0, 0); }, false},
        {"last entry deleted and created again alike",
         [&](MappingModel& m) {
             m.deleteEntry(1, 1);
             m.addEntry(1, {"303", 0, 0, 0}, texts);
         },
         false},
        {"first entry deleted and created again: the order moved",
         [&](MappingModel& m) {
             m.deleteEntry(1, 0);
             m.addEntry(1, {"301", 0, 3, 0}, texts);
         },
         true},
        {"modified to what it was",
         [&](MappingModel& m) {
             m.modifyEntry(0, 0, {"300", 1, 2, 1}, texts);
         },
         false},
        {"Write changed",
         [&](MappingModel& m) {
             m.modifyEntry(0, 0, {"300", 1, 2, 0}, texts);
         },
         true},
        {"same register spelled otherwise",
         [&](MappingModel& m) {
             m.modifyEntry(0, 0, {"0x12C", 1, 2, 1}, texts);
         },
         true},
        {"byte changed",
         [&](MappingModel& m) {
             m.modifyEntry(0, 0, {"300", 2, 2, 1}, texts);
         },
         true},
        {"frame filled", [&](MappingModel& m) { m.fillFrame(1, 500, 0, texts, "in use"); }, true},
        {"deleted, then marked saved",
         [](MappingModel& m) {
             m.deleteEntry(0, 0);
             m.markSaved();
         },
         false, true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        MappingModel model(kTransmitPdoMapping);
        ASSERT_TRUE(model.load(files));
        const std::string before = serialized(model);
        ASSERT_FALSE(model.hasUnsavedChanges());
        c.edit(model);
        EXPECT_EQ(model.hasUnsavedChanges(), c.changed);
        // Without markSaved, the same answer as comparing what the file would hold.
        if (!c.marksSaved) {
            EXPECT_EQ(serialized(model) != before, c.changed);
        }
        // A new load is the saved state again.
        ASSERT_TRUE(model.load(files));
        EXPECT_FALSE(model.hasUnsavedChanges());
    }
}

TEST(MappingModel, UnsavedChangesWithoutAMappingFile)
{
    ScratchDir dir;
    const UiTexts texts;
    MappingModel model(kReceivePdoMapping);
    ASSERT_TRUE(model.load(dir.copy("rpdodef.xml"), dir.path("sdopdo.xml")));
    EXPECT_FALSE(model.hasUnsavedChanges());
    ASSERT_TRUE(model.addEntry(2, {"7", 1, 0, 0}, texts).done());
    EXPECT_TRUE(model.hasUnsavedChanges());
    ASSERT_TRUE(model.deleteEntry(2, 0).done());
    EXPECT_FALSE(model.hasUnsavedChanges());

    // A model built without files starts with nothing saved.
    MappingModel built = receiveModelWith16();
    EXPECT_TRUE(built.hasUnsavedChanges());
    built.markSaved();
    EXPECT_FALSE(built.hasUnsavedChanges());
}

// The COB-ID a frame hands to the editor's add-ons: numbers as the tables read them, nothing else.
TEST(MappingModel, FrameCobIdAsNumber)
{
    struct Case {
        const char* text;
        std::optional<std::uint32_t> number;
    };
    const Case kCases[] = {
        {"0x285", 0x285u},     {"645", 645u},      {"$183", 0x183u},     {" 0x181", 0x181u},
        {"abc", std::nullopt}, {"", std::nullopt}, {"-1", std::nullopt},
    };
    for (const Case& c : kCases)
        EXPECT_EQ(PdoFrame(c.text, "8").cobIdNumber(), c.number) << c.text;
    EXPECT_EQ(EmcyFrame("0x05", "0x8130", "0x11").cobIdNumber(), std::nullopt);
}

// Each entry operation is one undo step on its frame; a refused one leaves none, and a reload
// forgets them. Fill Frame goes back whole, whatever else was done before it.
TEST(MappingModel, UndoPutsBackOneOperationAtATime)
{
    const UiTexts texts;
    MappingModel model(kReceivePdoMapping);
    model.appendFrame(std::make_unique<PdoFrame>("0x181", "8"));
    model.appendFrame(std::make_unique<PdoFrame>("0x182", "4"));
    auto lines = [&](int frame) {
        std::vector<std::string> out;
        for (const RegisterEntry& entry : model.frame(frame).entries)
            out.push_back(model.entryLine(entry, texts));
        return out;
    };
    EXPECT_FALSE(model.canUndo());
    EXPECT_EQ(model.undo(), -1);
    ASSERT_TRUE(model.addEntry(1, {"7", 2, 1, 0}, texts).done());
    ASSERT_TRUE(model.addEntry(1, {"8", 4, 3, 0}, texts).done());
    ASSERT_TRUE(model.modifyEntry(1, 0, {"9", 2, 1, 0}, texts).done());
    const std::vector<std::string> frame1 = lines(1);
    ASSERT_TRUE(model.fillFrame(0, 100, 0, texts, "in use ").done());
    ASSERT_EQ(lines(0).size(), 4u);
    // A refused Fill Frame (8 is taken) and a Delete without an entry leave no step.
    EXPECT_EQ(model.fillFrame(1, 8, 0, texts, "in use ").outcome, Outcome::Refused);
    EXPECT_EQ(model.deleteEntry(1, 5).outcome, Outcome::NoSelection);

    EXPECT_EQ(model.undo(), 0);
    EXPECT_TRUE(lines(0).empty());
    EXPECT_EQ(lines(1), frame1);
    EXPECT_EQ(model.undo(), 1); // the Modify
    EXPECT_EQ(lines(1), (std::vector<std::string>{"7; Byte 2; Byte 1;", "8; Byte 4; Byte 3;"}));
    ASSERT_TRUE(model.deleteEntry(1, 0).done());
    EXPECT_EQ(model.undo(), 1); // the Delete
    EXPECT_EQ(lines(1).size(), 2u);
    EXPECT_EQ(model.undo(), 1);
    EXPECT_EQ(model.undo(), 1);
    EXPECT_TRUE(lines(1).empty());
    EXPECT_FALSE(model.canUndo());

    ScratchDir dir;
    ProjectFiles files;
    files.transmitPdo = dir.copy("Transmit_Pdo.xml");
    files.transmitPdoDefine = dir.copy("Transmit_PDO_Define.xml");
    MappingModel loaded(kTransmitPdoMapping);
    ASSERT_TRUE(loaded.load(files));
    ASSERT_TRUE(loaded.deleteEntry(0, 0).done());
    ASSERT_TRUE(loaded.load(files));
    EXPECT_FALSE(loaded.canUndo());
}

} // namespace

} // namespace setforge
