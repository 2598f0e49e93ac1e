#include <gtest/gtest.h>

#include <vector>

#include "core/base/xmlfile.h"
#include "core/image/compileimages.h"
#include "core/image/parameterblock.h"
#include "imagetestproject.h"

namespace setforge {

namespace PF = ParameterField;

namespace {

ParameterBlock blockFrom(const std::string& inner, int* deviceType = nullptr)
{
    pugi::xml_document doc;
    EXPECT_TRUE(loadXmlText("<Par_Gen>" + inner + "</Par_Gen><!--SW_VERSION = 2.001-->", doc));
    ParameterBlock block;
    const int type = block.readParGen(documentRoot(doc));
    if (deviceType)
        *deviceType = type;
    return block;
}

// The non-zero bytes of the block of a project without files, worked out by hand from the
// defaults; every other byte must be 0. The device rejects a block whose checksum is off, so
// this pins the whole default block, its table directory and the checksum 4054 (D6 0F 00 00).
const std::vector<std::pair<std::size_t, std::vector<std::uint8_t>>> kDefaultBytes = {
    {0x000, {0x90, 0xD0, 0x03, 0x00}}, // 250000 bit/s
    {0x00C, {0x80, 0x25}},             // 9600
    {0x010, {0x08}},
    {0x028, {0xC0, 0xA8, 0x00, 0x0A}}, // 192.168.0.10
    {0x02C, {0xFF, 0xFF, 0xFF, 0x00}},
    {0x030, {0xFF, 0xFF, 0xFF, 0xFF}},
    {0x034, {0x10, 0x27}}, // constant 10000
    {0x03C, {0x80, 0x25}},
    {0x040, {0x08}},
    {0x09C, {0x0A}},       // node 10
    {0x0A8, {0x10, 0x27}}, // SDO timeout 10000
    {0x0AC, {0x01}},
    {0x0B0, {0x02}},
    {0x0B4, {0x03}},
    {0x0E0, {0x00, 0x00, 0x31, 0x00}},
    {0x0E4, {0x00, 0x30, 0x31, 0x00}},
    {0x0E8, {0x00, 0x30, 0x31, 0x00}},
    {0x0EC, {0x00, 0x30, 0x31, 0x00}},
    {0x0F0, {0x00, 0x32, 0x31, 0x00}},
    {0x0F4, {0x00, 0x42, 0x31, 0x00}},
    {0x0F8, {0x00, 0x43, 0x31, 0x00}},
    {0x0FC, {0x00, 0x53, 0x31, 0x00}},
    {0x100, {0x00, 0x54, 0x31, 0x00}},
    {0x104, {0x00, 0x58, 0x31, 0x00}},
    {0x7FC, {0xD6, 0x0F, 0x00, 0x00}},
};

TEST(ParameterBlock, EmptyProjectGivesTheDefaultBlockWithChecksum4054)
{
    TempProject project;
    const CompiledImages images = compileImages(project.files(), nullptr);
    ASSERT_TRUE(images.ok);
    EXPECT_EQ(images.deviceType, 0);
    std::vector<std::uint8_t> expected(ParameterBlock::kSize, 0);
    for (const auto& [offset, bytes] : kDefaultBytes)
        for (std::size_t i = 0; i < bytes.size(); ++i)
            expected[offset + i] = bytes[i];
    const auto& actual = images.banked.parameters.bytes();
    EXPECT_EQ(std::vector<std::uint8_t>(actual.begin(), actual.end()), expected);
    EXPECT_EQ(images.banked.parameters.get(PF::kChecksum), 4054u);
    const auto& tables = images.banked.tables.bytes();
    EXPECT_EQ(std::vector<std::uint8_t>(tables.begin(), tables.end()), std::vector<std::uint8_t>(30720, 0));
}

struct ParGenCase {
    const char* what;
    const char* inner;
    Field field;
    std::uint32_t expected;
};

// Every value is read on its own with its own default; these are the readings that differ
// from a plain number copy.
const ParGenCase kParGenCases[] = {
    {"CAN_Baud 125 in kbit/s", "<CAN_Baud>125</CAN_Baud>", PF::kCanBitRate, 125000},
    {"missing CAN_Baud reads 1000", "", PF::kCanBitRate, 1000000},
    {"M_baud 3", "<M_baud>3</M_baud>", PF::kSerialBitRate, 9600},
    {"M_baud 0", "<M_baud>0</M_baud>", PF::kSerialBitRate, 1200},
    {"M_baud outside the list", "<M_baud>9</M_baud>", PF::kSerialBitRate, 9600},
    {"M_baud negative", "<M_baud>-1</M_baud>", PF::kSerialBitRate, 9600},
    {"missing M_baud reads 7", "", PF::kSerialBitRate, 115200},
    {"missing M_baud, second copy", "", PF::kSerialBitRate2, 115200},
    {"parity even is device code 2", "<M_parity>1</M_parity>", PF::kSerialParity, 2},
    {"parity even, second copy", "<M_parity>1</M_parity>", PF::kSerialParity2, 2},
    {"parity odd is device code 1", "<M_parity>2</M_parity>", PF::kSerialParity, 1},
    {"parity odd, second copy", "<M_parity>2</M_parity>", PF::kSerialParity2, 1},
    {"parity none", "<M_parity>0</M_parity>", PF::kSerialParity, 0},
    {"delay 5 s", "<delay_network_start delay=\"5\"/>", PF::kNetworkStartDelay, 5000},
    {"empty delay reads 10 s", "<delay_network_start delay=\"\"/>", PF::kNetworkStartDelay, 10000},
    {"sync_time 20 ms", "<sync_producer enable_sync=\"true\" sync_time=\"20\"/>", PF::kSyncPeriod, 20000},
    {"sync on", "<sync_producer enable_sync=\"true\" sync_time=\"20\"/>", PF::kSyncEnable, 1},
    // 4,200,000,000 does not fit a signed 32-bit product: the field is unsigned.
    {"largest SYNC time in microseconds", "<sync_producer enable_sync=\"true\" sync_time=\"4200000\"/>",
     PF::kSyncPeriod, 4200000000u},
    {"constant 1000 with a ParGen.xml", "", PF::kConstant1000, 1000},
    {"gateway disabled", "<Ethernet_GAT1>10</Ethernet_GAT1><Ethernet_EN_GAT>0</Ethernet_EN_GAT>",
     PF::kGateway[0], 255},
    {"gateway enabled", "<Ethernet_GAT1>10</Ethernet_GAT1><Ethernet_EN_GAT>1</Ethernet_EN_GAT>",
     PF::kGateway[0], 10},
    {"gateway default when enabled", "<Ethernet_EN_GAT>1</Ethernet_EN_GAT>", PF::kGateway[2], 0},
    {"gateway without its switch", "<Ethernet_GAT1>10</Ethernet_GAT1>", PF::kGateway[0], 255},
    {"inactivity timeout off",
     "<MODBUS_SLAVE_EN_TIMEOUT_INACTIVITY>0</MODBUS_SLAVE_EN_TIMEOUT_INACTIVITY>"
     "<MODBUS_SLAVE_TIMEOUT_INACTIVITY>5000</MODBUS_SLAVE_TIMEOUT_INACTIVITY>",
     PF::kInactivityTimeout, 0},
    {"inactivity timeout on",
     "<MODBUS_SLAVE_EN_TIMEOUT_INACTIVITY>1</MODBUS_SLAVE_EN_TIMEOUT_INACTIVITY>"
     "<MODBUS_SLAVE_TIMEOUT_INACTIVITY>5000</MODBUS_SLAVE_TIMEOUT_INACTIVITY>",
     PF::kInactivityTimeout, 5000},
    {"IP byte keeps its low 8 bits", "<Ethernet_IP4>300</Ethernet_IP4>", PF::kIp[3], 44},
    {"IP default 192.168.0.5", "", PF::kIp[3], 5},
    {"operational flag needs lower-case true", "<operational_at_start start=\"True\"/>", PF::kStartFlags, 0},
    {"operational flag", "<operational_at_start start=\"true\"/>", PF::kStartFlags, kStartOperational},
    {"start on Modbus and its register on the next element",
     "<network_start_modbus start=\"true\"/><network_start_modbus address=\"40\"/>",
     PF::kNetworkStartRegister, 40},
    {"start on Modbus flag", "<network_start_modbus start=\"true\"/><network_start_modbus address=\"40\"/>",
     PF::kStartFlags, kStartOnModbus},
    {"register element missing: default 11",
     "<network_start_modbus start=\"true\"/><CAN_timeoutsdo>100</CAN_timeoutsdo>", PF::kNetworkStartRegister,
     11},
    {"register past a comment",
     "<network_start_modbus start=\"false\"/><!--x--><network_start_modbus address=\"41\"/>",
     PF::kNetworkStartRegister, 41},
    {"node guarding missing: 12", "", PF::kGuardStateRegister1, 12},
    {"node guarding missing: 13", "", PF::kGuardStateRegister2, 13},
    {"node guarding on", "<send_frame_nodeguard enable=\"true\" add_word_1=\"20\" add_word_2=\"21\"/>",
     PF::kStartFlags, kStartNodeGuarding},
    {"node guarding register 2",
     "<send_frame_nodeguard enable=\"true\" add_word_1=\"20\" add_word_2=\"21\"/>", PF::kGuardStateRegister2,
     21},
    {"RS232", "<M_ser>0</M_ser>", PF::kSerialFlags, 1},
    {"RS485", "<M_ser>1</M_ser>", PF::kSerialFlags, 0},
    {"missing M_devid reads 1", "", PF::kModbusDeviceId, 1},
    {"missing CAN_id reads 10", "", PF::kCanNodeId, 10},
    {"stop bits in both copies", "<MODBUS_SLAVE_STOPBITS>1</MODBUS_SLAVE_STOPBITS>", PF::kSerialStopBits2, 1},
    {"SDO timeout", "<CAN_timeoutsdo>0x186A0</CAN_timeoutsdo>", PF::kSdoTimeout, 100000},
};

TEST(ParameterBlock, ReadsParGenValues)
{
    for (const ParGenCase& c : kParGenCases)
        EXPECT_EQ(blockFrom(c.inner).get(c.field), c.expected) << c.what;
}

TEST(ParameterBlock, DeviceTypeComesFromSelectDeviceType)
{
    int type = -1;
    blockFrom("<Select_Device_Type>0x1</Select_Device_Type>", &type);
    EXPECT_EQ(type, 1);
    blockFrom("<Select_Device_Type>abc</Select_Device_Type>", &type);
    EXPECT_EQ(type, 0);
    blockFrom("", &type);
    EXPECT_EQ(type, 0);
}

TEST(ParameterBlock, ChecksumFollowsEveryByteChange)
{
    ParameterBlock block = blockFrom("<CAN_id>5</CAN_id>");
    block.pack();
    const std::uint32_t before = block.get(PF::kChecksum);
    block.set(PF::kSerialFlags, 0x41);
    block.pack();
    EXPECT_EQ(block.get(PF::kChecksum), before + 0x41);
    // The checksum's own bytes are not summed.
    EXPECT_EQ(ParameterBlock::computeChecksum(block.bytes()), block.get(PF::kChecksum));
}

TEST(ParameterBlock, ChecksumIsUnsigned32Bit)
{
    // 2044 bytes of 0xFF sum to 521,220; the sum never goes negative.
    std::vector<std::uint8_t> bytes(ParameterBlock::kSize, 0xFF);
    EXPECT_EQ(ParameterBlock::computeChecksum(bytes), 2044u * 255u);
}

TEST(ParameterBlock, DirectoryEntriesOneAndTwoStayEmpty)
{
    TempProject project;
    project.table("rpdodef.xml", "rpdodef", "<row cobid=\"0x181\" dimension=\"8\" TimeOut=\"0\"/>");
    const CompiledImages images = compileImages(project.files(), nullptr);
    ASSERT_TRUE(images.ok);
    const ParameterBlock& block = images.banked.parameters;
    EXPECT_EQ(block.get(PF::kTableCount[1]), 0u);
    EXPECT_EQ(block.get(PF::kTableCount[2]), 0u);
    EXPECT_EQ(block.get(PF::kTableCount[3]), 1u);
    EXPECT_EQ(block.get(PF::kTableAddress[1]), 0x313000u);
    EXPECT_EQ(block.get(PF::kTableAddress[2]), 0x313000u);
    EXPECT_EQ(block.get(PF::kConstant1000), 0u) << "no ParGen.xml";
}

} // namespace

} // namespace setforge
