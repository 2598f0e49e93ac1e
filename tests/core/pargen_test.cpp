#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>

#include "core/base/atomicfile.h"
#include "core/lang/uitexts.h"
#include "core/tables/pargencheck.h"
#include "core/tables/pargenfile.h"

namespace setforge {

namespace fs = std::filesystem;

namespace {

// A fresh folder per test, removed afterwards.
class ParGenFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("pargen_test_" + std::to_string(std::random_device{}()));
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(m_dir, ec);
    }
    std::string path(const char* name) const { return (m_dir / name).string(); }
    std::string write(const char* name, const std::string& content) const
    {
        EXPECT_TRUE(writeFileAtomic(path(name), content));
        return path(name);
    }
    ParGenValues loadText(const std::string& content) const
    {
        const Result<ParGenValues> loaded = loadParGen(write("ParGen.xml", content));
        EXPECT_TRUE(loaded) << loaded.error().text;
        return loaded ? *loaded : ParGenValues{};
    }

    fs::path m_dir;
};

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string fixture(const char* name)
{
    return std::string(SETFORGE_TEST_DATA) + "/pargen/" + name;
}

// The values of tests/data/pargen/saved.xml: nothing at its default, and with every check box
// that guards them unticked, several values that would fail their checks.
ParGenValues goldenValues()
{
    ParGenValues v;
    v.deviceType = 0;
    v.canId = "5";
    v.canBaud = 4; // "125K"
    v.operationalAtStart = true;
    v.networkStart = false;
    v.networkStartDelay = "300";
    v.startOnModbus = true;
    v.startOnModbusAddress = "100";
    v.sdoTimeout = "0x186A0";
    v.syncEnable = false;
    v.syncTime = "0";
    v.nodeguardEnable = true;
    v.nodeguardAddress1 = "20";
    v.nodeguardAddress2 = "21";
    v.modbusSerial = 1;
    v.modbusBaud = 3;
    v.modbusParity = 2;
    v.modbusStopBits = 1;
    v.modbusId = "17";
    v.modbusProtocol = 4;
    v.inactivityEnable = true;
    v.inactivityTimeout = "5000";
    v.ip = {"10", "0", "0", "300"};
    v.subnetMask = {"255", "255", "0", "0"};
    v.gatewayEnable = false;
    v.gateway = {"10", "0", "0", "1"};
    return v;
}

TEST_F(ParGenFiles, NoFileGivesTheDefaultsOfANewProject)
{
    const Result<ParGenValues> loaded = loadParGen(path("ParGen.xml"));
    ASSERT_TRUE(loaded);
    const ParGenValues& v = *loaded;
    EXPECT_EQ(v.deviceType, 1);
    EXPECT_EQ(v.canId, "1");
    EXPECT_EQ(kCanBaudItems[static_cast<std::size_t>(v.canBaud)], std::string("1000K"));
    EXPECT_FALSE(v.operationalAtStart || v.networkStart || v.startOnModbus || v.syncEnable ||
                 v.nodeguardEnable || v.inactivityEnable || v.gatewayEnable);
    EXPECT_EQ(v.networkStartDelay, "10");
    EXPECT_EQ(v.startOnModbusAddress, "11");
    EXPECT_EQ(v.sdoTimeout, "10000");
    EXPECT_EQ(v.syncTime, "1000");
    EXPECT_EQ(v.nodeguardAddress1, "12");
    EXPECT_EQ(v.nodeguardAddress2, "13");
    EXPECT_EQ(v.modbusSerial, 0);
    EXPECT_EQ(kModbusBaudItems[static_cast<std::size_t>(v.modbusBaud)], std::string("115200"));
    EXPECT_EQ(v.modbusParity, 0);
    EXPECT_EQ(v.modbusStopBits, 0);
    EXPECT_EQ(v.modbusId, "1");
    EXPECT_EQ(v.modbusProtocol, 0);
    EXPECT_EQ(v.inactivityTimeout, "10000");
    EXPECT_EQ(v.ip, (std::array<std::string, 4>{"192", "168", "0", "5"}));
    EXPECT_EQ(v.subnetMask, (std::array<std::string, 4>{"255", "255", "255", "0"}));
    EXPECT_EQ(v.gateway, (std::array<std::string, 4>{"192", "168", "0", "1"}));
    EXPECT_EQ(firstParGenFailure(v), 0);
}

TEST_F(ParGenFiles, EmptyRootGivesTheDefaultsButVariantZero)
{
    ParGenValues expected;
    expected.deviceType = 0;
    EXPECT_EQ(loadText("<Par_Gen/>"), expected);
    // The root's name is not looked at, and a comment or declaration before it is skipped.
    EXPECT_EQ(loadText("<?xml version=\"1.0\"?><!-- by hand --><Other/>"), expected);
}

TEST_F(ParGenFiles, CommentsBeforeTheRootAndBetweenElementsAreSkipped)
{
    const ParGenValues v = loadText("<!-- edited --><Par_Gen>\n  <!-- id --><CAN_id>42</CAN_id>\n"
                                    "  <Select_Device_Type>1</Select_Device_Type><!-- x -->"
                                    "<M_baud><!-- c -->4</M_baud></Par_Gen>");
    EXPECT_EQ(v.canId, "42");
    EXPECT_EQ(v.deviceType, 1);
    EXPECT_EQ(v.modbusBaud, 4);
}

TEST_F(ParGenFiles, EachFieldFallsBackOnItsOwn)
{
    // Elements in another order, one without its attribute, lists holding no number.
    const ParGenValues v = loadText("<Par_Gen><M_devid>9</M_devid><sync_producer enable_sync=\"true\"/>"
                                    "<M_baud>fast</M_baud><M_parity>two</M_parity>"
                                    "<send_frame_nodeguard add_word_2=\"77\"/></Par_Gen>");
    EXPECT_EQ(v.modbusId, "9");
    EXPECT_TRUE(v.syncEnable);
    EXPECT_EQ(v.syncTime, "");    // element there, attribute missing: empty text
    EXPECT_EQ(v.modbusBaud, 7);   // not a number: 115200
    EXPECT_EQ(v.modbusParity, 0); // not a number: first item
    EXPECT_FALSE(v.nodeguardEnable);
    EXPECT_EQ(v.nodeguardAddress1, ""); // attribute missing on a present element
    EXPECT_EQ(v.nodeguardAddress2, "77");
    EXPECT_EQ(v.canId, "1"); // element missing: default
    EXPECT_EQ(v.deviceType, 0);
}

TEST_F(ParGenFiles, FlagsAreTickedOnlyByTheExactText)
{
    struct Case {
        const char* xml;
        bool ParGenValues::*flag;
        bool ticked;
    };
    const Case cases[] = {
        {"<operational_at_start start=\"true\"/>", &ParGenValues::operationalAtStart, true},
        {"<operational_at_start start=\"True\"/>", &ParGenValues::operationalAtStart, false},
        {"<operational_at_start start=\"1\"/>", &ParGenValues::operationalAtStart, false},
        {"<network_start start=\"TRUE\"/>", &ParGenValues::networkStart, false},
        {"<sync_producer enable_sync=\"true\"/>", &ParGenValues::syncEnable, true},
        {"<MODBUS_SLAVE_EN_TIMEOUT_INACTIVITY>1</MODBUS_SLAVE_EN_TIMEOUT_INACTIVITY>",
         &ParGenValues::inactivityEnable, true},
        {"<MODBUS_SLAVE_EN_TIMEOUT_INACTIVITY>true</MODBUS_SLAVE_EN_TIMEOUT_INACTIVITY>",
         &ParGenValues::inactivityEnable, false},
        {"<Ethernet_EN_GAT>01</Ethernet_EN_GAT>", &ParGenValues::gatewayEnable, false},
        {"<Ethernet_EN_GAT>1</Ethernet_EN_GAT>", &ParGenValues::gatewayEnable, true},
    };
    for (const Case& c : cases) {
        const ParGenValues v = loadText(std::string("<Par_Gen>") + c.xml + "</Par_Gen>");
        EXPECT_EQ(v.*c.flag, c.ticked) << c.xml;
    }
}

TEST(ParGenBaud, ConversionsBothWays)
{
    struct Case {
        const char* fileText;
        const char* item;
    };
    const Case cases[] = {{"10", "10K"},     {"20", "20K"},     {"50", "50K"},   {"100", "100K"},
                          {"125", "125K"},   {"250", "250K"},   {"500", "500K"}, {"800", "800K"},
                          {"1000", "1000K"}, {"9999", "1000K"}, {"", "1000K"},   {"125K", "1000K"},
                          {" 125", "1000K"}, {"0x7D", "1000K"}};
    for (const Case& c : cases)
        EXPECT_EQ(kCanBaudItems[static_cast<std::size_t>(canBaudIndex(c.fileText))], std::string(c.item))
            << c.fileText;
    for (std::size_t i = 0; i < kCanBaudItems.size(); ++i)
        EXPECT_EQ(canBaudIndex(canBaudFileText(kCanBaudItems[i])), static_cast<int>(i));
    EXPECT_EQ(canBaudFileText("1000K"), "1000");
    EXPECT_EQ(canBaudFileText("125K"), "125");
    EXPECT_EQ(canBaudFileText("125"), "250");
    EXPECT_EQ(canBaudFileText(""), "250");
}

TEST_F(ParGenFiles, CanBaudLoadsThroughTheListItems)
{
    EXPECT_EQ(loadText("<Par_Gen><CAN_Baud>125</CAN_Baud></Par_Gen>").canBaud, 4);
    EXPECT_EQ(loadText("<Par_Gen><CAN_Baud>9999</CAN_Baud></Par_Gen>").canBaud, 8);
}

TEST_F(ParGenFiles, StartRegisterComesFromTheElementAfterTheFirstStartElement)
{
    struct Case {
        const char* body;
        const char* address;
    };
    const Case cases[] = {
        // The usual pair.
        {"<network_start_modbus start=\"true\"/><network_start_modbus address=\"500\"/>", "500"},
        // Comments and text between the two are not the element that follows.
        {"<network_start_modbus start=\"true\"/><!-- x -->\n  stray<network_start_modbus address=\"99\"/>",
         "99"},
        // Second one missing: whatever element follows gives its address attribute...
        {"<network_start_modbus start=\"true\"/><CAN_timeoutsdo address=\"7\">5</CAN_timeoutsdo>", "7"},
        // ... or the empty text when it has none.
        {"<network_start_modbus start=\"true\"/><CAN_timeoutsdo>5</CAN_timeoutsdo>", ""},
        // Nothing follows: the default.
        {"<CAN_id>3</CAN_id><network_start_modbus start=\"true\"/>", "11"},
        {"<CAN_id>3</CAN_id><network_start_modbus start=\"true\"/><!-- last -->", "11"},
        // No start element at all: the default, whatever else carries an address.
        {"<delay_network_start address=\"8\"/>", "11"},
    };
    for (const Case& c : cases) {
        const ParGenValues v = loadText(std::string("<Par_Gen>") + c.body + "</Par_Gen>");
        EXPECT_EQ(v.startOnModbusAddress, c.address) << c.body;
    }
    // The tick is read from the first start element only.
    EXPECT_TRUE(loadText("<Par_Gen><network_start_modbus start=\"true\"/>"
                         "<network_start_modbus start=\"false\" address=\"1\"/></Par_Gen>")
                    .startOnModbus);
}

TEST_F(ParGenFiles, OutOfListIndexIsKeptAsTheNumber)
{
    const ParGenValues v =
        loadText("<Par_Gen><M_baud>9</M_baud><Select_Device_Type>2</Select_Device_Type></Par_Gen>");
    EXPECT_EQ(v.modbusBaud, 9);
    EXPECT_EQ(v.deviceType, 2);
    ASSERT_TRUE(saveParGen(v, path("out.xml")));
    EXPECT_NE(readFile(path("out.xml")).find("<M_baud>9</M_baud>"), std::string::npos);
    EXPECT_NE(readFile(path("out.xml")).find("<Select_Device_Type>2</Select_Device_Type>"),
              std::string::npos);
}

TEST_F(ParGenFiles, SaveWritesEveryElementInOrderByteForByte)
{
    // Variant 0 with IP byte "300": the dialog's OK lets it through and saves it as typed.
    EXPECT_EQ(firstParGenFailure(goldenValues()), 0);
    const std::string out = path("ParGen.xml");
    const Result<void> written = saveParGen(goldenValues(), out);
    ASSERT_TRUE(written) << written.error().text;
    EXPECT_EQ(readFile(out), readFile(fixture("saved.xml")));

    // And it loads back to the same values.
    const Result<ParGenValues> loaded = loadParGen(fixture("saved.xml"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(*loaded, goldenValues());
}

TEST_F(ParGenFiles, SaveOfTheDefaultsRoundTrips)
{
    const std::string out = path("ParGen.xml");
    ASSERT_TRUE(saveParGen(ParGenValues{}, out));
    const std::string text = readFile(out);
    EXPECT_EQ(text.rfind("<Par_Gen><Select_Device_Type>1</Select_Device_Type><CAN_id>1</CAN_id>"
                         "<CAN_Baud>1000</CAN_Baud>",
                         0),
              0u);
    const Result<ParGenValues> back = loadParGen(out);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, ParGenValues{});
}

TEST_F(ParGenFiles, BrokenFileReportsTheParserErrorAndWriteFailureTheSystemError)
{
    const std::string brokenPath = write("ParGen.xml", "<Par_Gen><CAN_id>5</Par_Gen>");
    const Result<ParGenValues> broken = loadParGen(brokenPath);
    ASSERT_FALSE(broken);
    EXPECT_EQ(broken.error().text.rfind(brokenPath + ": ", 0), 0u) << broken.error().text;

    const std::string inMissingDir = (m_dir / "no_such_dir" / "ParGen.xml").string();
    const Result<void> failed = saveParGen(ParGenValues{}, inMissingDir);
    EXPECT_FALSE(failed);
    EXPECT_FALSE(failed.error().text.empty());
    EXPECT_FALSE(fs::exists(inMissingDir));
}

// --- Checks -----------------------------------------------------------------------------

struct CheckCase {
    const char* name;
    std::function<std::string&(ParGenValues&)> field;
    std::function<void(ParGenValues&)> enable; // makes the check's condition true
    long long lo;
    long long hi;
    int message;
};

void none(ParGenValues&) {}

const std::vector<CheckCase>& checkCases()
{
    static const std::vector<CheckCase> cases = {
        {"CAN id", [](ParGenValues& v) -> std::string& { return v.canId; }, none, 1, 127, 467},
        {"delay", [](ParGenValues& v) -> std::string& { return v.networkStartDelay; },
         [](ParGenValues& v) { v.networkStart = true; }, 0, 255, 468},
        {"start register", [](ParGenValues& v) -> std::string& { return v.startOnModbusAddress; },
         [](ParGenValues& v) { v.startOnModbus = true; }, 0, 65535, 469},
        {"SDO timeout", [](ParGenValues& v) -> std::string& { return v.sdoTimeout; }, none, 0, 100000, 470},
        {"SYNC time", [](ParGenValues& v) -> std::string& { return v.syncTime; },
         [](ParGenValues& v) { v.syncEnable = true; }, 1, 4200000, 471},
        {"nodeguard 1", [](ParGenValues& v) -> std::string& { return v.nodeguardAddress1; },
         [](ParGenValues& v) { v.nodeguardEnable = true; }, 0, 65535, 472},
        {"nodeguard 2", [](ParGenValues& v) -> std::string& { return v.nodeguardAddress2; },
         [](ParGenValues& v) { v.nodeguardEnable = true; }, 0, 65535, 473},
        {"Modbus id", [](ParGenValues& v) -> std::string& { return v.modbusId; }, none, 1, 247, 474},
        {"inactivity", [](ParGenValues& v) -> std::string& { return v.inactivityTimeout; },
         [](ParGenValues& v) { v.inactivityEnable = true; }, 1000, 1000000000, 493},
    };
    static std::vector<CheckCase> all;
    if (all.empty()) {
        all = cases;
        for (int i = 0; i < 4; ++i) {
            all.push_back({"IP",
                           [i](ParGenValues& v) -> std::string& { return v.ip[static_cast<std::size_t>(i)]; },
                           none, 0, 255, 475 + i});
            all.push_back(
                {"mask",
                 [i](ParGenValues& v) -> std::string& { return v.subnetMask[static_cast<std::size_t>(i)]; },
                 none, 0, 255, 479 + i});
            all.push_back(
                {"gateway",
                 [i](ParGenValues& v) -> std::string& { return v.gateway[static_cast<std::size_t>(i)]; },
                 [](ParGenValues& v) { v.gatewayEnable = true; }, 0, 255, 483 + i});
        }
    }
    return all;
}

TEST(ParGenChecks, EachCheckAtItsBounds)
{
    for (const CheckCase& c : checkCases()) {
        ParGenValues v; // the defaults, variant 1, pass every check
        c.enable(v);
        const auto firstWith = [&](const std::string& text) {
            ParGenValues changed = v;
            c.field(changed) = text;
            return firstParGenFailure(changed);
        };
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.message));
        EXPECT_EQ(firstWith(std::to_string(c.lo)), 0);
        EXPECT_EQ(firstWith(std::to_string(c.hi)), 0);
        EXPECT_EQ(firstWith(std::to_string(c.lo - 1)), c.message);
        EXPECT_EQ(firstWith(std::to_string(c.hi + 1)), c.message);
        EXPECT_EQ(firstWith(""), c.message);
        EXPECT_EQ(firstWith("12abc"), c.message);
        EXPECT_EQ(firstWith(std::to_string(c.hi) + " "), c.message);
    }
}

TEST(ParGenChecks, ConditionalChecksIgnoreTheirFieldWhenOff)
{
    for (const CheckCase& c : checkCases()) {
        ParGenValues off; // every check box unticked
        c.field(off) = "junk";
        ParGenValues on = off;
        c.enable(on);
        const bool conditional = on != off;
        EXPECT_EQ(firstParGenFailure(off), conditional ? 0 : c.message) << c.name << " " << c.message;
        EXPECT_EQ(firstParGenFailure(on), c.message) << c.name << " " << c.message;
    }
}

TEST(ParGenChecks, VariantDecidesTheEthernetAndInactivityChecks)
{
    ParGenValues v;
    v.ip[0] = "300";
    v.inactivityEnable = true;
    v.inactivityTimeout = "999";
    v.gatewayEnable = true;
    v.gateway[3] = "256";

    v.deviceType = 0; // no Ethernet port: neither the address nor the inactivity field counts
    EXPECT_TRUE(parGenFailures(v).empty());
    v.deviceType = 1;
    EXPECT_EQ(parGenFailures(v), (std::vector<int>{493, 475, 486}));
    v.deviceType = 2; // a hand-edited variant shows the Ethernet rows but checks only inactivity
    EXPECT_EQ(parGenFailures(v), (std::vector<int>{493}));
}

TEST(ParGenChecks, AllFailuresInTheirOrder)
{
    ParGenValues v;
    v.networkStart = v.startOnModbus = v.syncEnable = v.nodeguardEnable = true;
    v.inactivityEnable = v.gatewayEnable = true;
    for (const CheckCase& c : checkCases())
        c.field(v) = "-1";
    EXPECT_EQ(parGenFailures(v), (std::vector<int>{467, 468, 469, 470, 471, 472, 473, 474, 493, 475, 476,
                                                   477, 478, 479, 480, 481, 482, 483, 484, 485, 486}));
    EXPECT_EQ(firstParGenFailure(v), 467);
}

TEST(ParGenChecks, HexadecimalSdoTimeoutAndUntickedSyncTime)
{
    ParGenValues v;
    v.sdoTimeout = "0x186A0";
    EXPECT_EQ(firstParGenFailure(v), 0);
    v.sdoTimeout = "100001";
    EXPECT_EQ(firstParGenFailure(v), 470);
    v.sdoTimeout = "10000";
    v.syncTime = "0";
    EXPECT_EQ(firstParGenFailure(v), 0);
    v.syncEnable = true;
    EXPECT_EQ(firstParGenFailure(v), 471);
}

TEST_F(ParGenFiles, CheckOfAFileGivesTheDialogsMessages)
{
    UiTexts texts;
    // IP "300" passes while the device has no Ethernet port and fails once it has one.
    const std::string variant0 = write(
        "v0.xml",
        "<Par_Gen><Select_Device_Type>0</Select_Device_Type><Ethernet_IP1>300</Ethernet_IP1></Par_Gen>");
    const ParGenFileCheck passed = checkParGenFile(variant0, texts);
    EXPECT_TRUE(passed.read);
    EXPECT_TRUE(passed.messages.empty());
    EXPECT_TRUE(passed.passed());

    const std::string variant1 =
        write("v1.xml", "<Par_Gen><Select_Device_Type>1</Select_Device_Type>"
                        "<M_devid>0</M_devid><Ethernet_IP1>300</Ethernet_IP1></Par_Gen>");
    const ParGenFileCheck failed = checkParGenFile(variant1, texts);
    EXPECT_FALSE(failed.passed());
    EXPECT_EQ(failed.messages,
              (std::vector<std::string>{"Error Modbus Slave!! ID Device must be between 1 and 247",
                                        "Error Ethernet!! IP Address 1 must be between 0 and 255"}));

    // The messages follow the loaded language.
    texts.set(474, "Modbus-ID falsch");
    EXPECT_EQ(checkParGenFile(variant1, texts).messages.front(), "Modbus-ID falsch");

    const ParGenFileCheck missing = checkParGenFile(path("none.xml"), texts);
    EXPECT_TRUE(missing.read);
    EXPECT_TRUE(missing.passed());

    const ParGenFileCheck broken = checkParGenFile(write("bad.xml", "<Par_Gen>"), texts);
    EXPECT_FALSE(broken.read);
    EXPECT_FALSE(broken.passed());
    EXPECT_TRUE(broken.messages.empty());
}

} // namespace

} // namespace setforge
