// The virtual converter: candump traces, the Modbus request handling, and the converter served
// from the Demo project (registers, simulated nodes, PDOs, emergencies, SYNC, guarding).
#include <gtest/gtest.h>

#ifndef _WIN32
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <filesystem>

#include "core/base/paths.h"
#include "core/sim/canframe.h"
#include "core/sim/modbusrequest.h"
#include "core/sim/simconfig.h"
#include "core/sim/virtualconverter.h"
#include "testutil.h"

namespace setforge {

namespace {

constexpr std::int64_t kT0 = 1700000000000000; // 2023-11-14, microseconds
constexpr std::int64_t kMs = 1000;

std::vector<std::uint8_t> bytes(std::initializer_list<int> list)
{
    std::vector<std::uint8_t> out;
    for (const int b : list)
        out.push_back(static_cast<std::uint8_t>(b));
    return out;
}

// The Demo project copied into a temporary folder, so a test may change it.
struct DemoProject {
    TempDir dir;
    DemoProject()
    {
        std::filesystem::copy(std::filesystem::path(SETFORGE_SOURCE_DIR) / "workspace/PROJECTS/Demo",
                              dir.path(), std::filesystem::copy_options::recursive);
    }
    std::string path() const { return dir.utf8(); }
};

SimConfig loadOrFail(const std::string& project)
{
    Result<SimConfig> config = loadSimConfig(project);
    EXPECT_TRUE(config) << (config ? "" : config.error().describe());
    return config ? std::move(config.value()) : SimConfig();
}

// The frames of the trace with identifier `id`, as candump lines without time and interface.
std::vector<std::string> framesWithId(const VirtualConverter& sim, std::uint32_t id)
{
    std::vector<std::string> out;
    for (const SimTraceLine& line : sim.trace())
        if (line.note.empty() && line.frame.id == id) {
            const std::string text = formatCandumpLine(line.frame);
            out.push_back(text.substr(text.find(' ', text.find(' ') + 1) + 1));
        }
    return out;
}

std::vector<std::string> notes(const VirtualConverter& sim)
{
    std::vector<std::string> out;
    for (const SimTraceLine& line : sim.trace())
        if (!line.note.empty())
            out.push_back(line.note);
    return out;
}

std::uint16_t read1(VirtualConverter& sim, std::uint16_t reg)
{
    std::vector<std::uint16_t> values;
    EXPECT_EQ(sim.readRegisters(reg, 1, values), 0) << "register " << reg;
    return values.empty() ? 0xDEAD : values[0];
}

CanFrame frameAt(std::int64_t t, std::uint32_t id, std::vector<std::uint8_t> data)
{
    CanFrame f;
    f.timeUs = t;
    f.id = id;
    f.data = std::move(data);
    return f;
}

} // namespace

// ---- candump log lines ----

struct CandumpCase {
    const char* line;
    bool ok;
    std::uint32_t id;
    bool rtr;
    int rtrLength;
    std::vector<std::uint8_t> data;
    std::int64_t timeUs;
};

TEST(SimCandump, ParsesLinesAndRefusesBrokenOnes)
{
    const std::vector<CandumpCase> cases = {
        {"(1700000000.000000) sim 182#0102030405060708", true, 0x182, false, 0,
         bytes({1, 2, 3, 4, 5, 6, 7, 8}), kT0},
        {"(1700000000.5) can0 080#", true, 0x080, false, 0, {}, kT0 + 500000},
        {"(1700000000.000001) vcan0 701#R1", true, 0x701, true, 1, {}, kT0 + 1},
        {"(1700000000.000001) vcan0 701#r", true, 0x701, true, 0, {}, kT0 + 1},
        {"(0.000000) x 1FFFFFFF#aa T", true, 0x1FFFFFFF, false, 0, bytes({0xAA}), 0},
        {"(1.000000123) x 7FF#00 R", true, 0x7FF, false, 0, bytes({0}), 1000000},
        {"(1700000000.000000) sim 800#00", false, 0, false, 0, {}, 0},                 // 11-bit id too big
        {"(1700000000.000000) sim 182#010", false, 0, false, 0, {}, 0},                // odd digits
        {"(1700000000.000000) sim 182#010203040506070809", false, 0, false, 0, {}, 0}, // 9 bytes
        {"(1700000000.000000) sim 182##10102", false, 0, false, 0, {}, 0},             // CAN FD
        {"(1700000000.000000) sim 182#R9", false, 0, false, 0, {}, 0},
        {"1700000000.000000 sim 182#01", false, 0, false, 0, {}, 0}, // no brackets
        {"(17000x0000.0) sim 182#01", false, 0, false, 0, {}, 0},
        {"(1700000000.000000) sim", false, 0, false, 0, {}, 0},
        {"(1700000000.000000) sim 182#01 X", false, 0, false, 0, {}, 0},
        {"(1700000000.000000) sim #01", false, 0, false, 0, {}, 0},
        {"(1700000000.000000) sim 18G#01", false, 0, false, 0, {}, 0},
    };
    for (const CandumpCase& c : cases) {
        SCOPED_TRACE(c.line);
        const Result<CanFrame> frame = parseCandumpLine(c.line);
        ASSERT_EQ(static_cast<bool>(frame), c.ok) << (frame ? "" : frame.error().text);
        if (!c.ok)
            continue;
        EXPECT_EQ(frame->id, c.id);
        EXPECT_EQ(frame->rtr, c.rtr);
        EXPECT_EQ(frame->rtrLength, c.rtrLength);
        EXPECT_EQ(frame->data, c.data);
        EXPECT_EQ(frame->timeUs, c.timeUs);
    }
}

TEST(SimCandump, WritesWhatItReads)
{
    for (const char* line : {"(1700000000.000000) sim 182#0102030405060708", "(1700000000.123456) sim 701#R1",
                             "(1700000000.000007) sim 080#", "(1700000000.000000) sim 1FFFFFFF#AB",
                             "(1700000000.000000) sim 000#0100"}) {
        const Result<CanFrame> frame = parseCandumpLine(line);
        ASSERT_TRUE(frame) << line;
        EXPECT_EQ(formatCandumpLine(*frame), line);
    }
}

TEST(SimCandump, TraceSkipsNotesAndNamesTheBadLine)
{
    const Result<std::vector<CanFrame>> ok =
        readCandumpText("# a note\n\n(1.0) sim 182#01\r\n  (2.0) sim 183#02  \n", "in.log");
    ASSERT_TRUE(ok);
    ASSERT_EQ(ok->size(), 2u);
    EXPECT_EQ((*ok)[1].timeUs, 2000000);

    const Result<std::vector<CanFrame>> bad =
        readCandumpText("(1.0) sim 182#01\n\n(2.0) sim 182#0\n", "in.log");
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.error().file, "in.log");
    EXPECT_EQ(bad.error().line, 3u);
    EXPECT_NE(bad.error().describe().find("in.log:3"), std::string::npos);
}

// ---- Modbus requests without sockets ----

namespace {

// Registers 10..19 exist; 15 refuses writes with 04; reads and writes are recorded.
class FakeBank : public ModbusRegisterBank {
public:
    std::uint8_t readRegisters(std::uint16_t start, std::uint16_t count,
                               std::vector<std::uint16_t>& values) override
    {
        for (std::uint32_t r = start; r < start + count; ++r) {
            if (r < 10 || r > 19)
                return kModbusIllegalDataAddress;
            values.push_back(static_cast<std::uint16_t>(0x1100 + r));
        }
        return 0;
    }
    std::uint8_t writeRegisters(std::uint16_t start, const std::vector<std::uint16_t>& values) override
    {
        for (std::size_t i = 0; i < values.size(); ++i)
            if (start + i < 10 || start + i > 19)
                return kModbusIllegalDataAddress;
        if (start <= 15 && start + values.size() > 15)
            return kModbusDeviceFailure;
        writes.emplace_back(start, values);
        return 0;
    }
    std::vector<std::pair<std::uint16_t, std::vector<std::uint16_t>>> writes;
};

} // namespace

TEST(SimModbus, AnswersEachFunctionAndException)
{
    struct Case {
        const char* what;
        std::vector<std::uint8_t> request;
        std::vector<std::uint8_t> response;
    };
    const std::vector<Case> cases = {
        {"read 2 holding", bytes({3, 0, 10, 0, 2}), bytes({3, 4, 0x11, 10, 0x11, 11})},
        {"read input", bytes({4, 0, 19, 0, 1}), bytes({4, 2, 0x11, 19})},
        {"unclaimed", bytes({3, 0, 20, 0, 1}), bytes({0x83, 2})},
        {"half claimed", bytes({3, 0, 18, 0, 3}), bytes({0x83, 2})},
        {"count 0", bytes({3, 0, 10, 0, 0}), bytes({0x83, 3})},
        {"count 126", bytes({3, 0, 10, 0, 126}), bytes({0x83, 3})},
        {"past 65535", bytes({3, 0xFF, 0xFF, 0, 2}), bytes({0x83, 2})},
        {"short read", bytes({3, 0, 10, 0}), bytes({0x83, 3})},
        {"long read", bytes({3, 0, 10, 0, 1, 0}), bytes({0x83, 3})},
        {"write single", bytes({6, 0, 12, 0xAB, 0xCD}), bytes({6, 0, 12, 0xAB, 0xCD})},
        {"write refused", bytes({6, 0, 15, 0, 1}), bytes({0x86, 4})},
        {"write unclaimed", bytes({6, 0, 9, 0, 1}), bytes({0x86, 2})},
        {"write multiple", bytes({16, 0, 10, 0, 2, 4, 0, 1, 0, 2}), bytes({16, 0, 10, 0, 2})},
        {"byte count wrong", bytes({16, 0, 10, 0, 2, 3, 0, 1, 0}), bytes({0x90, 3})},
        {"data missing", bytes({16, 0, 10, 0, 2, 4, 0, 1}), bytes({0x90, 3})},
        {"count 124", bytes({16, 0, 10, 0, 124, 248}), bytes({0x90, 3})},
        {"unknown function", bytes({0x2B, 14, 1, 0}), bytes({0xAB, 1})},
        {"exception bit set", bytes({0x83, 0, 10, 0, 1}), bytes({0x83, 1})},
        {"empty", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeBank bank;
        EXPECT_EQ(handleModbusRequest(bank, c.request.data(), c.request.size()), c.response);
    }
    FakeBank bank;
    const auto request = bytes({16, 0, 18, 0, 2, 4, 0xAA, 0xBB, 0xCC, 0xDD});
    handleModbusRequest(bank, request.data(), request.size());
    ASSERT_EQ(bank.writes.size(), 1u);
    EXPECT_EQ(bank.writes[0].second, (std::vector<std::uint16_t>{0xAABB, 0xCCDD}));
}

TEST(SimModbus, TcpFramerCutsRequestsAtTheMbapLength)
{
    ModbusTcpFramer framer;
    const auto two = bytes({0, 7, 0, 0, 0, 6, 1, 3, 0, 100, 0, 6, 0, 8, 0, 0, 0, 3, 9, 0x2B, 14});
    framer.append(two.data(), 5); // a header cut in the middle
    EXPECT_FALSE(framer.next());
    framer.append(two.data() + 5, two.size() - 5 - 1);
    auto first = framer.next();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->transaction, 7);
    EXPECT_EQ(first->unit, 1);
    EXPECT_EQ(first->pdu, bytes({3, 0, 100, 0, 6}));
    EXPECT_FALSE(framer.next()); // the second lacks its last byte
    framer.append(two.data() + two.size() - 1, 1);
    auto second = framer.next();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->unit, 9);
    EXPECT_EQ(second->pdu, bytes({0x2B, 14}));
    EXPECT_EQ(modbusTcpResponse(*second, bytes({0xAB, 1})), bytes({0, 8, 0, 0, 0, 3, 9, 0xAB, 1}));

    for (const auto& header :
         {bytes({0, 1, 0, 1, 0, 6, 1}), bytes({0, 1, 0, 0, 0, 1, 1}), bytes({0, 1, 0, 0, 0x01, 0x00, 1})}) {
        ModbusTcpFramer broken;
        broken.append(header.data(), header.size());
        EXPECT_FALSE(broken.next());
        EXPECT_TRUE(broken.broken());
    }
}

// ---- the converter, served from the Demo project ----

TEST(SimConverter, ServesDemoSdoRegistersFromTheValuesFile)
{
    DemoProject demo;
    SimConfig config = loadOrFail(demo.path());
    std::map<int, bool> silent;
    ASSERT_TRUE(applySimValues("node,index,sub_index,value\n2,0x6041,0,0x0237\n2,0x6064,0,0x12345678\n"
                               "3,0x6064,0,0xFFFFFFFE\n3,0,0,0\n",
                               "v.csv", config, silent));
    EXPECT_EQ(silent, (std::map<int, bool>{{3, true}}));
    EXPECT_EQ(config.modbus.baud, 19200);
    EXPECT_EQ(config.modbus.parity, 'N');
    VirtualConverter sim(std::move(config));
    sim.start(kT0);
    std::vector<std::uint16_t> values;
    ASSERT_EQ(sim.readRegisters(100, 6, values), 0);
    EXPECT_EQ(values, (std::vector<std::uint16_t>{0x0237, 0x5678, 0x1234, 0, 0xFFFE, 0xFFFF}));
    EXPECT_EQ(sim.readRegisters(99, 2, values), kModbusIllegalDataAddress);
    EXPECT_EQ(sim.readRegisters(500, 1, values), kModbusIllegalDataAddress);
    ASSERT_TRUE(sim.lastAccess(100));
    EXPECT_FALSE(sim.lastAccess(100)->write);
    EXPECT_FALSE(sim.lastAccess(99));
}

TEST(SimConverter, RefusesWritesToRegistersTheMasterOnlyReads)
{
    DemoProject demo;
    VirtualConverter sim(loadOrFail(demo.path()));
    sim.start(kT0);
    // SDO ReadOnly, RPDO, EMCY, node guarding; a block with an unclaimed register; nothing changes.
    for (const std::uint16_t reg : {100, 200, 400, 12}) {
        SCOPED_TRACE(reg);
        EXPECT_EQ(sim.writeRegisters(reg, {7}), kModbusIllegalDataAddress);
    }
    EXPECT_EQ(sim.writeRegisters(299, {1, 2}), kModbusIllegalDataAddress);
    EXPECT_EQ(read1(sim, 300), 0);
    EXPECT_TRUE(sim.trace().empty());
}

TEST(SimConverter, SendsTransmitPdosOnWriteOnChangeAndOnTimer)
{
    DemoProject demo;
    VirtualConverter sim(loadOrFail(demo.path()));
    sim.start(kT0);
    // TPDO 1 (0x202): register 300 with send on write, and On Change: one frame per request.
    ASSERT_EQ(sim.writeRegisters(300, {0x1234}), 0);
    EXPECT_EQ(framesWithId(sim, 0x202), (std::vector<std::string>{"202#3412"}));
    EXPECT_EQ(read1(sim, 300), 0x1234);
    ASSERT_EQ(sim.writeRegisters(300, {0x1234}), 0); // unchanged, but sent on write
    EXPECT_EQ(framesWithId(sim, 0x202).size(), 2u);

    // TPDO 2 (0x203): 310 and 311 without send on write, On Timer 100 ms.
    ASSERT_EQ(sim.writeRegisters(310, {0x0102, 0x0304}), 0);
    EXPECT_TRUE(framesWithId(sim, 0x203).empty());
    sim.advanceTo(kT0 + 99 * kMs);
    EXPECT_TRUE(framesWithId(sim, 0x203).empty());
    sim.advanceTo(kT0 + 300 * kMs);
    EXPECT_EQ(framesWithId(sim, 0x203),
              (std::vector<std::string>{"203#02010403", "203#02010403", "203#02010403"}));
    EXPECT_EQ(sim.trace().back().frame.timeUs, kT0 + 300 * kMs);
}

TEST(SimConverter, VariantWithoutEthernetSendsTheRegisterBlockOnEveryWrite)
{
    DemoProject demo;
    std::string parGen = readTestFile(demo.dir.file("ParGen.xml"));
    parGen.replace(parGen.find("<Select_Device_Type>1"), 21, "<Select_Device_Type>0");
    writeTestFile(demo.dir.file("ParGen.xml"), parGen);
    VirtualConverter sim(loadOrFail(demo.path()));
    sim.start(kT0);
    // Transmit_Pdo row 2: Address Start 310, Dimension 4: registers 310, 311, low byte first.
    ASSERT_EQ(sim.writeRegisters(311, {0xA1B2}), 0);
    EXPECT_EQ(framesWithId(sim, 0x203), (std::vector<std::string>{"203#0000B2A1"}));
    sim.advanceTo(kT0 + 1000 * kMs); // no timer in this variant
    EXPECT_EQ(framesWithId(sim, 0x203).size(), 1u);
}

TEST(SimConverter, StartRegisterSendsNmtStartAndSyncAndNetworkStartRunOnTheClock)
{
    DemoProject demo;
    VirtualConverter sim(loadOrFail(demo.path()));
    sim.start(kT0);
    ASSERT_EQ(sim.writeRegisters(11, {1}), 0);
    EXPECT_EQ(framesWithId(sim, 0x000), (std::vector<std::string>{"000#0100"}));
    sim.advanceTo(kT0 + 1000 * kMs);
    EXPECT_EQ(framesWithId(sim, 0x080).size(), 10u); // SYNC every 100 ms
    EXPECT_EQ(framesWithId(sim, 0x000).size(), 1u);
    sim.advanceTo(kT0 + 5000 * kMs); // network start 5 s after the start
    EXPECT_EQ(framesWithId(sim, 0x000).size(), 2u);
}

TEST(SimConverter, GuardingAnswersWithToggleAndTheStateRegistersFollow)
{
    DemoProject demo;
    VirtualConverter sim(loadOrFail(demo.path()));
    sim.start(kT0);
    EXPECT_EQ(read1(sim, 12), 0);
    sim.advanceTo(kT0 + 1000 * kMs);
    // Node 3 every 500 ms, node 2 every 1000 ms; each request followed by the answer.
    EXPECT_EQ(framesWithId(sim, 0x703), (std::vector<std::string>{"703#R1", "703#05", "703#R1", "703#85"}));
    EXPECT_EQ(framesWithId(sim, 0x702), (std::vector<std::string>{"702#R1", "702#05"}));
    EXPECT_EQ(read1(sim, 12), 0b11);
    EXPECT_EQ(read1(sim, 13), 0);

    sim.setSilent(3, true);
    sim.advanceTo(kT0 + 1500 * kMs); // 500 ms without an answer: within 2 x 500 ms life time
    EXPECT_EQ(read1(sim, 12), 0b11);
    sim.advanceTo(kT0 + 2000 * kMs);
    EXPECT_EQ(read1(sim, 12), 0b01);
    EXPECT_EQ(notes(sim), (std::vector<std::string>{"node 3 guarding lost"}));

    // A stop command from the bus: node 2 answers stopped, so its bit goes too.
    sim.receiveFrame(frameAt(kT0 + 2100 * kMs, 0x000, bytes({0x02, 2})));
    sim.advanceTo(kT0 + 3000 * kMs);
    EXPECT_EQ(framesWithId(sim, 0x702),
              (std::vector<std::string>{"702#R1", "702#05", "702#R1", "702#85", "702#R1", "702#04"}));
    EXPECT_EQ(read1(sim, 12), 0);
}

TEST(SimConverter, ReplayedReceivePdosAndEmergenciesFillTheirRegisters)
{
    DemoProject demo;
    VirtualConverter sim(loadOrFail(demo.path()));
    sim.start(kT0);
    sim.receiveFrame(frameAt(kT0 + 10 * kMs, 0x182, bytes({0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08})));
    std::vector<std::uint16_t> values;
    ASSERT_EQ(sim.readRegisters(200, 4, values), 0);
    // poscomp 33, 67, 101, 135: high byte 2k, low byte 2k-1.
    EXPECT_EQ(values, (std::vector<std::uint16_t>{0x0201, 0x0403, 0x0605, 0x0807}));

    sim.receiveFrame(frameAt(kT0 + 20 * kMs, 0x182, bytes({0xFF, 0xFF, 0xFF, 0xFF})));
    ASSERT_EQ(sim.readRegisters(200, 4, values), 0);
    EXPECT_EQ(values, (std::vector<std::uint16_t>{0x0201, 0x0403, 0x0605, 0x0807}));
    EXPECT_EQ(notes(sim),
              (std::vector<std::string>{"RPDO 0x182 has 4 bytes, its mapping needs 8; registers unchanged"}));

    // Emergency of node 2, code 0x8130 (little-endian), register 0x11, specific bytes A1..A5.
    // Word 400: selector 18 (high 1, low 2); 401: 52 (high 3, low 4).
    sim.receiveFrame(frameAt(kT0 + 30 * kMs, 0x082, bytes({0x30, 0x81, 0x11, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5})));
    ASSERT_EQ(sim.readRegisters(400, 2, values), 0);
    EXPECT_EQ(values, (std::vector<std::uint16_t>{0xA1A2, 0xA3A4}));
    // Another code of the same node, or the same code from node 3, fills nothing.
    sim.receiveFrame(frameAt(kT0 + 40 * kMs, 0x082, bytes({0x10, 0x32, 0, 1, 1, 1, 1, 1})));
    sim.receiveFrame(frameAt(kT0 + 50 * kMs, 0x083, bytes({0x30, 0x81, 0, 1, 1, 1, 1, 1})));
    ASSERT_EQ(sim.readRegisters(400, 2, values), 0);
    EXPECT_EQ(values, (std::vector<std::uint16_t>{0xA1A2, 0xA3A4}));
    // Input frames are part of the output trace, at their own time.
    EXPECT_EQ(framesWithId(sim, 0x182).size(), 2u);
    EXPECT_EQ(sim.now(), kT0 + 50 * kMs);
}

// A project whose node 2 has an EDS in the catalogue, with ReadWrite SDO rows.
struct EdsProject : DemoProject {
    EdsProject()
    {
        std::filesystem::create_directories(dir.path() / "EDS");
        std::filesystem::copy_file(std::filesystem::path(SETFORGE_TEST_DATA) / "eds/drive.eds",
                                   dir.path() / "EDS/drive.eds");
        writeTestFile(dir.file("Nodes.xml"), "<Nodes><row NodeID=\"2\" File=\"drive.eds\"/></Nodes>");
        // conf 0x30 | lo: Hi 1... rows: 120 -> 0x6040 rw (Hi 2, Lo 1); 121 -> 0x6041 ro;
        // 122 -> 0x1400:1 low word; 123 -> 0x6060 (1 byte) written as 2 bytes; 124 -> node 3.
        writeTestFile(
            dir.file("sdo.xml"),
            "<sdo><row conf=\"81\" IndexA=\"120\" devIDB=\"2\" IndexB=\"0x6040\" SubindexB=\"0\" "
            "nbyteB=\"2\"/>"
            "<row conf=\"81\" IndexA=\"121\" devIDB=\"2\" IndexB=\"0x6041\" SubindexB=\"0\" nbyteB=\"2\"/>"
            "<row conf=\"81\" IndexA=\"122\" devIDB=\"2\" IndexB=\"0x1400\" SubindexB=\"1\" nbyteB=\"4\"/>"
            "<row conf=\"81\" IndexA=\"123\" devIDB=\"2\" IndexB=\"0x6060\" SubindexB=\"0\" nbyteB=\"2\"/>"
            "<row conf=\"81\" IndexA=\"124\" devIDB=\"3\" IndexB=\"0x2000\" SubindexB=\"0\" nbyteB=\"1\"/>"
            "</sdo><!--SW_VERSION = 2.001-->");
    }
};

TEST(SimConverter, SdoWritesDownloadExpeditedAndReadOnlyObjectsAbort)
{
    EdsProject project;
    VirtualConverter sim(loadOrFail(project.path()));
    sim.start(kT0);
    EXPECT_EQ(read1(sim, 122), 0x0202); // $NODEID+0x200 for node 2

    struct Case {
        std::uint16_t reg;
        std::uint16_t value;
        std::uint8_t exception;
        std::vector<std::string> frames; // 0x602 and 0x582/0x603 frames it adds
        std::uint16_t after;
    };
    const std::vector<Case> cases = {
        {120, 0x1234, 0, {"602#2B40600034120000", "582#6040600000000000"}, 0x1234},
        {121, 0x0001, kModbusDeviceFailure, {"602#2B41600001000000", "582#8041600002000106"}, 0},
        {122, 0x0382, 0, {"602#2300140182030000", "582#6000140100000000"}, 0x0382},
        {123, 0x0005, kModbusDeviceFailure, {"602#2B60600005000000", "582#8060600010000706"}, 0x0001},
        {124, 0x00AB, 0, {"603#2F002000AB000000", "583#6000200000000000"}, 0x00AB},
    };
    std::size_t seen = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reg);
        EXPECT_EQ(sim.writeRegisters(c.reg, {c.value}), c.exception);
        std::vector<std::string> added;
        for (std::size_t i = seen; i < sim.trace().size(); ++i) {
            const std::string text = formatCandumpLine(sim.trace()[i].frame);
            added.push_back(text.substr(text.find(' ', text.find(' ') + 1) + 1));
        }
        seen = sim.trace().size();
        EXPECT_EQ(added, c.frames);
        EXPECT_EQ(read1(sim, c.reg), c.after);
    }

    // A silent node never answers: the converter aborts with a time-out.
    sim.setSilent(2, true);
    EXPECT_EQ(sim.writeRegisters(120, {9}), kModbusDeviceFailure);
    EXPECT_EQ(framesWithId(sim, 0x602).back(), "602#8040600000000405");
    EXPECT_EQ(read1(sim, 120), 0x1234);
}

TEST(SimConfigFile, ValuesFileErrorsNameFileAndLine)
{
    DemoProject demo;
    struct Case {
        const char* csv;
        std::size_t line;
        const char* says;
    };
    const std::vector<Case> cases = {
        {"node,index,value\n", 1, "header"},
        {"node,index,sub_index,value\n2,0x6041,0\n", 2, "4 fields"},
        {"node,index,sub_index,value\n\n9,0x6041,0,1\n", 3, "not named by the project"},
        {"node,index,sub_index,value\n2,0x6041,0,0x10000\n", 2, "does not fit"},
        {"node,index,sub_index,value\n2,0x6041,0,12a\n", 2, "not a decimal"},
        {"node,index,sub_index,value\n2,0x7000,0,1\n", 2, "no such object"},
        {"node,index,sub_index,value\n2,0,0,2\n", 2, "0 silent, 1 answering"},
        {"node,index,sub_index,value\n200,0x6041,0,1\n", 2, "1..127"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.csv);
        SimConfig config = loadOrFail(demo.path());
        std::map<int, bool> silent;
        const Result<void> result = applySimValues(c.csv, "v.csv", config, silent);
        ASSERT_FALSE(result);
        EXPECT_EQ(result.error().file, "v.csv");
        EXPECT_EQ(result.error().line, c.line);
        EXPECT_NE(result.error().text.find(c.says), std::string::npos) << result.error().text;
    }
}

TEST(SimConfigFile, ProjectErrorsNameTheFile)
{
    const Result<SimConfig> missing = loadSimConfig("/nonexistent/project");
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.error().describe().find("/nonexistent/project"), std::string::npos);

    DemoProject demo;
    writeTestFile(demo.dir.file("sdopdo.xml"), "<sdopdo><row");
    const Result<SimConfig> broken = loadSimConfig(demo.path());
    ASSERT_FALSE(broken);
    EXPECT_NE(broken.error().describe().find("sdopdo.xml"), std::string::npos) << broken.error().describe();

    EdsProject eds;
    writeTestFile(eds.dir.file("EDS/drive.eds"), "[1000]\nDataType=zz\n");
    const Result<SimConfig> badEds = loadSimConfig(eds.path());
    ASSERT_FALSE(badEds);
    EXPECT_NE(badEds.error().describe().find("drive.eds:"), std::string::npos) << badEds.error().describe();
}

TEST(SimConverter, TraceTextReadsBackAndKeepsNotesAsComments)
{
    DemoProject demo;
    VirtualConverter sim(loadOrFail(demo.path()));
    sim.start(kT0);
    sim.receiveFrame(frameAt(kT0 + 1, 0x182, bytes({1})));
    ASSERT_EQ(sim.writeRegisters(300, {0xBEEF}), 0);
    TempDir out;
    ASSERT_TRUE(sim.saveTrace(out.file("t.log")));
    const std::string text = readTestFile(out.file("t.log"));
    EXPECT_EQ(text, "(1700000000.000001) sim 182#01\n"
                    "# (1700000000.000001) RPDO 0x182 has 1 bytes, its mapping needs 8; registers unchanged\n"
                    "(1700000000.000001) sim 202#EFBE\n");
    const Result<std::vector<CanFrame>> back = readCandumpText(text, "t.log");
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 2u);
    EXPECT_EQ((*back)[1], sim.trace()[2].frame);
}

// ---- the command ----

#ifndef _WIN32 // the Windows build has no Modbus server yet

TEST(SimCommand, ExitCodesAndTheProjectStaysUntouched)
{
    DemoProject demo;
    TempDir out;
    auto snapshot = [&] {
        std::map<std::string, std::pair<std::string, std::filesystem::file_time_type>> files;
        for (const auto& e : std::filesystem::recursive_directory_iterator(demo.dir.path()))
            if (e.is_regular_file())
                files[e.path().string()] = {readTestFile(e.path().string()), e.last_write_time()};
        return files;
    };
    const auto before = snapshot();
    writeTestFile(out.file("v.csv"), "node,index,sub_index,value\n2,0x6041,0,5\n");
    writeTestFile(out.file("in.log"), "(1700000000.0) sim 182#0102030405060708\n");

    const CliRun ok = runCliInProcess({"simulate", demo.path(), "--tcp", "127.0.0.1:0", "--duration", "0",
                                       "--quiet", "--values", out.file("v.csv"), "--trace-in",
                                       out.file("in.log"), "--trace-out", out.file("out.log")});
    EXPECT_EQ(ok.code, 0) << ok.all();
    EXPECT_EQ(ok.all(), "");
    EXPECT_EQ(readTestFile(out.file("out.log")).rfind("(1700000000.000000) sim 182#0102030405060708\n", 0),
              0u);
    EXPECT_EQ(snapshot(), before);

    writeTestFile(out.file("bad.csv"), "node,index,sub_index,value\n2,0x6041,0,5\n2,0x6041\n");
    writeTestFile(out.file("bad.log"), "(1.0) sim 182#01\n(x) sim 1#\n");
    // A port another socket holds.
    const int holder = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(holder, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(holder, 1), 0);
    socklen_t length = sizeof address;
    ASSERT_EQ(::getsockname(holder, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const std::string busy = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* says;
    };
    const std::vector<Case> cases = {
        {{"simulate"}, 2, "Usage"},
        {{"simulate", demo.path(), "--tcp", "127.0.0.1"}, 2, "HOST:PORT"},
        {{"simulate", demo.path(), "--parity", "mark"}, 2, "--parity"},
        {{"simulate", demo.path(), "--bogus"}, 2, "unknown option"},
        {{"simulate", demo.path(), "--trace-out", demo.dir.file("sdo.xml")}, 2, "project"},
        {{"simulate", demo.path(), "--trace-out", demo.dir.file("bin/t.log")}, 2, "project"},
        {{"simulate", demo.path() + "/missing"}, 1, "not a project folder"},
        {{"simulate", demo.path(), "--values", out.file("bad.csv")}, 1, "bad.csv:3:"},
        {{"simulate", demo.path(), "--trace-in", out.file("bad.log")}, 1, "bad.log:2:"},
        {{"simulate", demo.path(), "--rtu", "/nonexistent/tty", "--duration", "0"}, 3, "/nonexistent/tty"},
        {{"simulate", demo.path(), "--tcp", "256.1.1.1:1502", "--duration", "0"}, 2, "IPv4"},
        {{"simulate", demo.path(), "--tcp", "localhost:1502", "--duration", "0"}, 2, "IPv4"},
        {{"simulate", demo.path(), "--tcp", "127.0.0.01:1502", "--duration", "0"}, 2, "IPv4"},
        {{"simulate", demo.path(), "--tcp", ":1502", "--duration", "0"}, 2, "IPv4"},
        {{"simulate", demo.path(), "--tcp", busy, "--duration", "0"}, 3, busy.c_str()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        const CliRun run = runCliInProcess(c.args);
        EXPECT_EQ(run.code, c.code) << run.all();
        EXPECT_NE(run.all().find(c.says), std::string::npos) << run.all();
    }
    ::close(holder);
    EXPECT_EQ(snapshot(), before);
}
#endif

} // namespace setforge
