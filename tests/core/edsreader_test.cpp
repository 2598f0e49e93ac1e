#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/base/paths.h"
#include "core/nodes/edsdatatype.h"
#include "core/nodes/edsreader.h"
#include "core/nodes/edsvalue.h"
#include "core/nodes/remotepdo.h"
#include "testutil.h"

namespace setforge {

namespace {

std::string fixture(const char* name)
{
    return std::string(SETFORGE_TEST_DATA) + "/eds/" + name;
}

TEST(EdsValue, ReadsCanopenNumberForms)
{
    struct Case {
        const char* text;
        int node;
        bool ok;
        unsigned long long value;
    };
    const Case kCases[] = {
        {"100", 0, true, 100},
        {"0x1A", 0, true, 26},
        {"0X1a", 0, true, 26},
        {"010", 0, true, 8}, // a leading 0 means octal in an EDS
        {"0", 0, true, 0},
        {" 7 ", 0, true, 7},
        {"$NODEID+0x180", 5, true, 0x185},
        {"0x180 + $nodeid", 5, true, 0x185},
        {"$NODEID", 127, true, 127},
        {"0xFFFFFFFFFFFFFFFF", 0, true, 0xFFFFFFFFFFFFFFFFull},
        {"-4", 0, true, 4}, // magnitude; `negative` is checked below
        {"0x10000000000000000", 0, false, 0},
        {"09", 0, false, 0}, // 9 is no octal digit
        {"0x", 0, false, 0},
        {"", 0, false, 0},
        {"12abc", 0, false, 0},
        {"$NODEID+$NODEID", 5, false, 0},
        {"0x$NODEID", 5, false, 0},
        {"$NODEID0x180", 5, false, 0},
        {"$NODEID+", 5, false, 0},
        {"+0x180", 5, false, 0},
        {"-$NODEID", 5, false, 0},
        {"$NODEID-1", 5, false, 0},
    };
    for (const Case& c : kCases) {
        const Result<EdsNumber> number = readEdsNumber(c.text, c.node);
        EXPECT_EQ(static_cast<bool>(number), c.ok) << c.text;
        if (c.ok && number) {
            EXPECT_EQ(number->value, c.value) << c.text;
        } else if (!number) {
            EXPECT_FALSE(number.error().text.empty()) << c.text;
        }
    }
    EXPECT_TRUE(readEdsNumber("-4", std::nullopt)->negative);
    EXPECT_TRUE(readEdsNumber("$NODEID+1", std::nullopt)->usesNodeId);
}

TEST(EdsDataType, SizesInBytes)
{
    struct Case {
        std::uint16_t code;
        const char* name;
        int bytes;
    };
    const Case kCases[] = {
        {0x0001, "BOOLEAN", 1},      {0x0002, "INTEGER8", 1},       {0x0003, "INTEGER16", 2},
        {0x0010, "INTEGER24", 3},    {0x0004, "INTEGER32", 4},      {0x0012, "INTEGER40", 5},
        {0x0013, "INTEGER48", 6},    {0x0014, "INTEGER56", 7},      {0x0015, "INTEGER64", 8},
        {0x0005, "UNSIGNED8", 1},    {0x0006, "UNSIGNED16", 2},     {0x0016, "UNSIGNED24", 3},
        {0x0007, "UNSIGNED32", 4},   {0x0018, "UNSIGNED40", 5},     {0x001B, "UNSIGNED64", 8},
        {0x0008, "REAL32", 4},       {0x0011, "REAL64", 8},         {0x0009, "VISIBLE_STRING", 0},
        {0x000A, "OCTET_STRING", 0}, {0x000B, "UNICODE_STRING", 0}, {0x000F, "DOMAIN", 0},
        {0x0042, "0x0042", 0},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(edsDataTypeName(c.code), c.name);
        EXPECT_EQ(edsDataTypeBytes(c.code), c.bytes) << c.name;
    }
}

TEST(EdsReader, ReadsTheDrive)
{
    const Result<EdsRead> result = readEdsFile(fixture("drive.eds"), 5);
    ASSERT_TRUE(result) << edsErrorMessage(result.error());
    const EdsDevice& device = result->device;
    EXPECT_EQ(device.vendorName, "Orbel Motion");
    EXPECT_EQ(device.productName, "OMD-200 Drive");
    EXPECT_EQ(device.nrOfRxPdo, 2);
    EXPECT_EQ(device.nrOfTxPdo, 2);

    const EdsEntry* status = device.findEntry(0x6041, 0);
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->name, "Statusword");
    EXPECT_EQ(status->dataType, 0x0006);
    EXPECT_EQ(status->bytes(), 2);
    EXPECT_EQ(status->access, "ro");
    EXPECT_TRUE(status->readOnly());
    EXPECT_TRUE(status->pdoMapping);

    const EdsEntry* mode = device.findEntry(0x6060, 0);
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->lowLimit, "-4");
    EXPECT_EQ(mode->highLimit, "10");

    const EdsObject* motor = device.findObject(0x2000);
    ASSERT_NE(motor, nullptr);
    EXPECT_EQ(motor->objectType, kObjectRecord);
    ASSERT_EQ(motor->entries.size(), 3u);
    EXPECT_EQ(motor->entries[1].name, "Rated current, mA");
    EXPECT_EQ(motor->entries[1].defaultValue, "012000"); // octal, kept as written
    EXPECT_EQ(motor->entries[2].bytes(), 8);

    // Objects come ordered by index, whatever the file's order ([2000] stands last in it).
    for (std::size_t i = 1; i < device.objects.size(); ++i)
        EXPECT_LT(device.objects[i - 1].index, device.objects[i].index);
    EXPECT_EQ(resolvedDefault(*device.findEntry(0x1800, 1), 5), "0x185");
    EXPECT_EQ(resolvedDefault(*device.findEntry(0x1000, 0), 5), "0x00020192");
}

TEST(EdsReader, CompactSubObjectsTakeNamesAndValuesFromTheirSections)
{
    const Result<EdsRead> result = readEdsFile(fixture("iomodule.eds"));
    ASSERT_TRUE(result) << edsErrorMessage(result.error());
    const EdsObject* analogue = result->device.findObject(0x6401);
    ASSERT_NE(analogue, nullptr);
    ASSERT_EQ(analogue->entries.size(), 4u);
    EXPECT_EQ(analogue->entries[0].defaultValue, "3"); // sub-index 0 holds the count
    EXPECT_EQ(analogue->entries[0].dataType, 0x0005);
    EXPECT_EQ(analogue->entries[1].name, "Supply voltage");
    EXPECT_EQ(analogue->entries[2].name, "Read analogue input 2"); // not named in [6401Name]
    EXPECT_EQ(analogue->entries[3].name, "Temperature");
    EXPECT_EQ(analogue->entries[3].dataType, 0x0003);
    EXPECT_EQ(analogue->entries[3].access, "ro");
    EXPECT_TRUE(analogue->entries[3].pdoMapping);

    const EdsEntry* output = result->device.findEntry(0x6200, 1);
    ASSERT_NE(output, nullptr);
    EXPECT_EQ(output->defaultValue, "0x0F"); // from [6200Value], not the object's 0
    EXPECT_EQ(output->access, "rw");
}

// The INI rules, each on a small text: the entry 0x6041 must read the same whatever the form.
TEST(EdsReader, IniSyntaxVariants)
{
    struct Case {
        const char* what;
        std::string text;
        const char* name;
        const char* access;
    };
    const Case kCases[] = {
        {"LF", "[6041]\nParameterName=Statusword\nDataType=0x0006\nAccessType=ro\n", "Statusword", "ro"},
        {"CRLF", "[6041]\r\nParameterName=Statusword\r\nDataType=0x0006\r\nAccessType=ro\r\n", "Statusword",
         "ro"},
        {"byte order mark", "\xEF\xBB\xBF[6041]\nParameterName=Statusword\nDataType=0x0006\nAccessType=ro",
         "Statusword", "ro"},
        {"letter case and blanks",
         "  [6041]  \n  parametername =  Statusword \nDATATYPE= 0x0006\naccesstype =RO\n", "Statusword",
         "ro"},
        {"comments",
         "; head\n[6041]\n;ParameterName=Wrong\nParameterName=Statusword\nDataType=6\nAccessType=ro\n",
         "Statusword", "ro"},
        {"duplicate key, last wins",
         "[6041]\nParameterName=First\nDataType=6\nAccessType=rw\nParameterName=Last\n"
         "AccessType=ro\n",
         "Last", "ro"},
        {"Latin-1 name", "[6041]\nParameterName=Zustandsw\xF6rt\nDataType=6\nAccessType=ro\n",
         "Zustandsw\xC3\xB6rt", "ro"},
        {"UTF-8 name kept", "[6041]\nParameterName=Zustandsw\xC3\xB6rt\nDataType=6\nAccessType=ro\n",
         "Zustandsw\xC3\xB6rt", "ro"},
        {"lower-case hex section",
         "[6041]\nDataType=6\nAccessType=ro\nParameterName=Statusword\n[1a00]\nDataType=7\n"
         "AccessType=rw\n",
         "Statusword", "ro"},
    };
    for (const Case& c : kCases) {
        const Result<EdsRead> result = readEdsText(c.text);
        ASSERT_TRUE(result) << c.what << ": " << edsErrorMessage(result.error());
        const EdsEntry* entry = result->device.findEntry(0x6041, 0);
        ASSERT_NE(entry, nullptr) << c.what;
        EXPECT_EQ(entry->name, c.name) << c.what;
        EXPECT_EQ(entry->access, c.access) << c.what;
        EXPECT_EQ(entry->bytes(), 2) << c.what;
    }
}

// Each broken text gives its reason and the line where it is found.
TEST(EdsReader, BrokenTextsGiveReasonAndLine)
{
    struct Case {
        const char* what;
        std::string text;
        int line;
        const char* reason;
    };
    const Case kCases[] = {
        {"sub-object without its object", "[1000]\nDataType=7\nAccessType=ro\n\n[2000sub1]\nDataType=7\n", 5,
         "without its object"},
        {"missing DataType", "[6041]\nParameterName=Statusword\nAccessType=ro\n", 1, "has no DataType"},
        {"DataType not a number", "[6041]\nDataType=UNSIGNED16\nAccessType=ro\n", 2, "not a number"},
        {"DataType with $NODEID", "[6041]\nDataType=$NODEID\nAccessType=ro\n", 2, "plain number"},
        {"DataType beyond 16 bits", "[6041]\nDataType=0x10006\nAccessType=ro\n", 2, "out of range"},
        {"unknown ObjectType", "[6041]\nObjectType=0x4\nDataType=6\n", 2, "ObjectType"},
        {"unknown AccessType", "\n[6041]\nDataType=6\nAccessType=readonly\n", 4, "AccessType"},
        {"$NODEID twice",
         "[1800]\nObjectType=0x9\n[1800sub1]\nDataType=7\nAccessType=rw\n"
         "DefaultValue=$NODEID+$NODEID\n",
         6, "twice"},
        {"$NODEID inside a number",
         "[1800]\nObjectType=0x9\n[1800sub1]\nDataType=7\nAccessType=rw\n"
         "DefaultValue=0x18$NODEID\n",
         6, "$NODEID"},
        {"$NODEID in a limit", "[2000]\nDataType=7\nAccessType=rw\nHighLimit=$NODEID-1\n", 4, "not a number"},
        {"$NODEID in a compact value",
         "[6200]\nObjectType=0x8\nCompactSubObj=1\nDataType=5\nAccessType=rw\n"
         "[6200Value]\n1=$NODEIDx\n",
         7, "not a number"},
        {"line without =", "[6041]\nDataType 6\n", 2, "key=value"},
        {"key before a section", "DataType=6\n[6041]\n", 1, "before the first"},
        {"unclosed section", "[6041\nDataType=6\n", 1, "']'"},
        {"NUL byte", std::string("[6041]\nData\0Type=6\n", 19), 2, "NUL"},
        {"PDOMapping not 0 or 1", "[6041]\nDataType=6\nAccessType=ro\nPDOMapping=2\n", 4, "out of range"},
        {"sub-object of a VAR", "[6041]\nDataType=6\nAccessType=ro\n[6041sub1]\nDataType=6\nAccessType=ro\n",
         4, "of a VAR"},
        {"names of no object", "[6041]\nDataType=6\nAccessType=ro\n[7000Name]\n1=x\n", 4, "no object"},
    };
    for (const Case& c : kCases) {
        const Result<EdsRead> result = readEdsText(c.text, 5);
        ASSERT_FALSE(result) << c.what;
        EXPECT_EQ(static_cast<int>(result.error().line.value_or(0)), c.line)
            << c.what << ": " << edsErrorMessage(result.error());
        EXPECT_NE(result.error().text.find(c.reason), std::string::npos)
            << c.what << ": " << edsErrorMessage(result.error());
        EXPECT_EQ(edsErrorMessage(result.error()).rfind("line " + std::to_string(c.line) + ": ", 0), 0u)
            << edsErrorMessage(result.error());
    }
}

TEST(EdsReader, BinaryGarbageIsRefused)
{
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 131 + 7) % 256);
    const Result<EdsRead> result = readEdsText(garbage);
    EXPECT_FALSE(result);
    EXPECT_FALSE(result.error().text.empty());
    EXPECT_GT(result.error().line.value_or(0), 0u);
}

TEST(EdsReader, FileBeyondSixteenMebibytesIsRefusedBeforeReading)
{
    TempDir dir;
    const std::string path = dir.file("huge.eds");
    {
        // 50 MB of valid-looking lines, made here rather than kept in the repository.
        std::string block;
        while (block.size() < 1024 * 1024)
            block += "; padding line of a very large file\n";
        std::ofstream out(pathFromUtf8(path), std::ios::binary);
        for (int i = 0; i < 50; ++i)
            out << block;
    }
    const Result<EdsRead> result = readEdsFile(path);
    EXPECT_FALSE(result);
    EXPECT_NE(result.error().text.find("16 MiB"), std::string::npos) << result.error().text;

    const std::string justOver(kMaxEdsBytes + 1, '\n');
    EXPECT_NE(readEdsText(justOver).error().text.find("16 MiB"), std::string::npos);
    std::string justAtLimit = "[FileInfo]\nFileName=big.eds\n";
    justAtLimit.resize(kMaxEdsBytes, '\n');
    EXPECT_TRUE(readEdsText(justAtLimit));
}

// A device or a pipe has no size to check first: the limit holds while reading.
TEST(EdsReader, EndlessInputStopsAtTheLimit)
{
    if (!std::filesystem::exists("/dev/zero"))
        GTEST_SKIP() << "no /dev/zero on this system";
    const Result<EdsRead> result = readEdsFile("/dev/zero");
    ASSERT_FALSE(result);
    EXPECT_NE(result.error().text.find("more than 16 MiB"), std::string::npos) << result.error().text;
}

// A text without anything an EDS is made of is refused, with the line where the reader gave up.
TEST(EdsReader, TextsWithoutAnEdsAreRefused)
{
    struct Case {
        const char* what;
        std::string text;
        int line;
        const char* reason;
    };
    const Case kCases[] = {
        {"empty", "", 1, "no [section]"},
        {"comments only", "; nothing\n\n; here\n", 3, "no [section]"},
        {"device info only", "[DeviceInfo]\nVendorName=x\nProductName=y\n", 3,
         "neither [FileInfo] nor any object"},
        {"comment section", "[Comments]\nLines=0\n[DummyUsage]\nDummy0001=0\n", 4, "neither [FileInfo]"},
    };
    for (const Case& c : kCases) {
        const Result<EdsRead> result = readEdsText(c.text);
        ASSERT_FALSE(result) << c.what;
        EXPECT_EQ(static_cast<int>(result.error().line.value_or(0)), c.line) << c.what;
        EXPECT_NE(result.error().text.find(c.reason), std::string::npos)
            << c.what << ": " << result.error().text;
    }
    // Either part makes it an EDS: a file description without objects, or objects without one.
    EXPECT_TRUE(readEdsText("[FileInfo]\nFileName=x.eds\n"));
    EXPECT_TRUE(readEdsText("[6041]\nDataType=6\nAccessType=ro\n"));
}

// What the reader reads past is said, each with its line, in line order.
TEST(EdsReader, WarningsNameTheirLines)
{
    const std::string text = "[FileInfo]\n"                  // 1
                             "FileName=a.eds\n"              // 2
                             "[6041]\n"                      // 3
                             "DataType=6\n"                  // 4
                             "AccessType=ro\n"               // 5
                             "[2000]\n"                      // 6
                             "ObjectType=0x9\n"              // 7
                             "ParameterName=Empty record\n"  // 8
                             "[2001]\n"                      // 9
                             "ObjectType=0x8\n"              // 10
                             "[6041]\n"                      // 11
                             "AccessType=rw\n"               // 12
                             "[2002]\n"                      // 13
                             "DataType=5\n"                  // 14
                             "AccessType=rw\n"               // 15
                             "DefaultValue=$NODEID+250\n"    // 16
                             "DefaultValue=$NODEID+250\n"    // 17
                             "[2003]\n"                      // 18
                             "DataType=3\n"                  // 19
                             "AccessType=rw\n"               // 20
                             "LowLimit=-32768\n"             // 21
                             "HighLimit=0xFFFF\n"            // 22
                             "DefaultValue=-40000\n"         // 23
                             "[2004]\n"                      // 24
                             "DataType=1\n"                  // 25
                             "AccessType=rw\n"               // 26
                             "DefaultValue=2\n"              // 27
                             "[2005]\n"                      // 28
                             "DataType=7\n"                  // 29
                             "AccessType=rw\n"               // 30
                             "DefaultValue=$NODEID+0x180\n"; // 31
    const std::vector<std::string> expected = {
        "line 6: [2000] is a RECORD without sub-objects",
        "line 9: [2001] is an ARRAY without sub-objects",
        "line 11: [6041] again (first on line 3); its keys are added to the first",
        "line 12: [6041] AccessType again (first on line 5); the last value counts",
        "line 17: [2002] DefaultValue again (first on line 16); the last value counts",
        "line 17: [2002] DefaultValue '$NODEID+250' is beyond UNSIGNED8 (0 to 255) for node 127",
        "line 23: [2003] DefaultValue '-40000' is beyond INTEGER16 (-32768 to 32767)",
        "line 27: [2004] DefaultValue '2' is beyond BOOLEAN (0 to 1)",
    };
    const Result<EdsRead> result = readEdsText(text);
    ASSERT_TRUE(result) << edsErrorMessage(result.error());
    EXPECT_EQ(result->warnings, expected);
    // The objects are still there for the listing, the record and the array without entries.
    ASSERT_NE(result->device.findObject(0x2000), nullptr);
    EXPECT_TRUE(result->device.findObject(0x2000)->entries.empty());
    EXPECT_EQ(result->device.findEntry(0x6041, 0)->access, "rw");

    // With the node given, the sum is checked for that node: node 5 fits, as 255 does.
    const Result<EdsRead> node5 =
        readEdsText("[2002]\nDataType=5\nAccessType=rw\nDefaultValue=$NODEID+250\n", 5);
    ASSERT_TRUE(node5);
    EXPECT_TRUE(node5->warnings.empty()) << node5->warnings.front();
    const Result<EdsRead> node6 =
        readEdsText("[2002]\nDataType=5\nAccessType=rw\nDefaultValue=$NODEID+250\n", 6);
    ASSERT_TRUE(node6);
    EXPECT_EQ(node6->warnings,
              std::vector<std::string>{
                  "line 4: [2002] DefaultValue '$NODEID+250' is beyond UNSIGNED8 (0 to 255) for node 6"});
}

TEST(EdsReader, MissingFileGivesSystemText)
{
    const Result<EdsRead> result = readEdsFile(fixture("no-such.eds"));
    EXPECT_FALSE(result);
    EXPECT_NE(result.error().text.find("no-such.eds"), std::string::npos) << result.error().text;
}

TEST(RemotePdo, DriveDefaultsResolvedForNode)
{
    const Result<EdsRead> result = readEdsFile(fixture("drive.eds"), 5);
    ASSERT_TRUE(result) << edsErrorMessage(result.error());
    const std::vector<RemotePdo> tpdos = listDefaultPdos(result->device, true, 5);
    ASSERT_EQ(tpdos.size(), 2u);
    EXPECT_EQ(tpdos[0].cobId, 0x185u);
    EXPECT_EQ(tpdos[0].transmissionType, 255);
    EXPECT_EQ(tpdos[0].bytes(), 2); // sub 0 says one object: the zero in sub 2 is not counted
    EXPECT_EQ(tpdos[0].mappedNames(), "Statusword");
    EXPECT_EQ(tpdos[1].cobId, 0x285u);
    EXPECT_EQ(tpdos[1].bytes(), 6);
    EXPECT_EQ(tpdos[1].mappedNames(), "Statusword, Position actual value");
    EXPECT_EQ(describePdoBytes(tpdos[1]), (std::vector<std::string>{"Byte 1\xE2\x80\x93"
                                                                    "2: 0x6041 Statusword",
                                                                    "Byte 3\xE2\x80\x93"
                                                                    "6: 0x6064 Position actual value"}));

    const std::vector<RemotePdo> rpdos = listDefaultPdos(result->device, false, 5);
    ASSERT_EQ(rpdos.size(), 2u);
    EXPECT_EQ(rpdos[0].cobId, 0x205u);
    EXPECT_EQ(rpdos[0].bytes(), 2);    // count 1 of 2 listed
    EXPECT_EQ(rpdos[1].cobId, 0x305u); // written "0x300+$NODEID"
    EXPECT_EQ(rpdos[1].transmissionType, 1);
    EXPECT_EQ(rpdos[1].mappedNames(), "Controlword, Target velocity");
}

TEST(RemotePdo, CompactMappingAndPredefinedCobId)
{
    const Result<EdsRead> result = readEdsFile(fixture("iomodule.eds"));
    ASSERT_TRUE(result) << edsErrorMessage(result.error());
    const std::vector<RemotePdo> tpdos = listDefaultPdos(result->device, true, 12);
    ASSERT_EQ(tpdos.size(), 1u);
    EXPECT_EQ(tpdos[0].cobId, 0x18Cu);
    EXPECT_EQ(tpdos[0].bytes(), 2);
    EXPECT_EQ(tpdos[0].mappedNames(), "Read input 8 bit 1, Read input 8 bit 2");
    EXPECT_EQ(tpdos[0].transmissionType, -1);

    // A communication object without a COB-ID takes the predefined connection set's.
    const Result<EdsRead> bare = readEdsText("[1401]\nObjectType=0x9\n[1401sub2]\nDataType=5\nAccessType=rw\n"
                                             "DefaultValue=254\n");
    ASSERT_TRUE(bare) << edsErrorMessage(bare.error());
    const std::vector<RemotePdo> rpdos = listDefaultPdos(bare->device, false, 3);
    ASSERT_EQ(rpdos.size(), 1u);
    EXPECT_EQ(rpdos[0].number, 2);
    EXPECT_EQ(rpdos[0].cobId, 0x303u);
    EXPECT_EQ(rpdos[0].transmissionType, 254);
}

TEST(RemotePdo, InvalidBitIsReported)
{
    const Result<EdsRead> result =
        readEdsText("[1800]\nObjectType=0x9\n[1800sub1]\nDataType=7\nAccessType=rw\n"
                    "DefaultValue=0x80000180+$NODEID\n");
    ASSERT_TRUE(result) << edsErrorMessage(result.error());
    const std::vector<RemotePdo> pdos = listDefaultPdos(result->device, true, 2);
    ASSERT_EQ(pdos.size(), 1u);
    EXPECT_FALSE(pdos[0].valid);
    EXPECT_EQ(pdos[0].cobId, 0x182u);
}

} // namespace

} // namespace setforge
