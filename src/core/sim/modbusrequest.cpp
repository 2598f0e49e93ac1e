#include "core/sim/modbusrequest.h"

#include <cstdio>

namespace setforge {

namespace {

constexpr std::uint8_t kReadHolding = 0x03;
constexpr std::uint8_t kReadInput = 0x04;
constexpr std::uint8_t kWriteSingle = 0x06;
constexpr std::uint8_t kWriteMultiple = 0x10;
constexpr std::uint16_t kMaxReadCount = 125;
constexpr std::uint16_t kMaxWriteCount = 123;
constexpr std::size_t kMbapHeaderBytes = 7;
constexpr std::uint16_t kMaxMbapLength = 254; // unit + the largest PDU, 253 bytes

std::uint16_t word(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

void putWord(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

std::vector<std::uint8_t> exception(std::uint8_t function, std::uint8_t code)
{
    return {static_cast<std::uint8_t>(function | 0x80), code};
}

} // namespace

std::vector<std::uint8_t> handleModbusRequest(ModbusRegisterBank& bank, const std::uint8_t* pdu,
                                              std::size_t size)
{
    if (size == 0)
        return {};
    const std::uint8_t function = pdu[0];
    switch (function) {
    case kReadHolding:
    case kReadInput: {
        if (size != 5)
            return exception(function, kModbusIllegalDataValue);
        const std::uint16_t start = word(pdu + 1);
        const std::uint16_t count = word(pdu + 3);
        if (count < 1 || count > kMaxReadCount)
            return exception(function, kModbusIllegalDataValue);
        if (static_cast<std::uint32_t>(start) + count > 0x10000)
            return exception(function, kModbusIllegalDataAddress);
        std::vector<std::uint16_t> values;
        if (const std::uint8_t code = bank.readRegisters(start, count, values))
            return exception(function, code);
        std::vector<std::uint8_t> out = {function, static_cast<std::uint8_t>(2 * count)};
        for (std::uint16_t i = 0; i < count; ++i)
            putWord(out, i < values.size() ? values[i] : 0);
        return out;
    }
    case kWriteSingle: {
        if (size != 5)
            return exception(function, kModbusIllegalDataValue);
        const std::uint16_t reg = word(pdu + 1);
        if (const std::uint8_t code = bank.writeRegisters(reg, {word(pdu + 3)}))
            return exception(function, code);
        return std::vector<std::uint8_t>(pdu, pdu + 5);
    }
    case kWriteMultiple: {
        if (size < 6)
            return exception(function, kModbusIllegalDataValue);
        const std::uint16_t start = word(pdu + 1);
        const std::uint16_t count = word(pdu + 3);
        const std::uint8_t bytes = pdu[5];
        if (count < 1 || count > kMaxWriteCount || bytes != 2 * count || size != 6u + bytes)
            return exception(function, kModbusIllegalDataValue);
        if (static_cast<std::uint32_t>(start) + count > 0x10000)
            return exception(function, kModbusIllegalDataAddress);
        std::vector<std::uint16_t> values;
        for (std::uint16_t i = 0; i < count; ++i)
            values.push_back(word(pdu + 6 + 2 * i));
        if (const std::uint8_t code = bank.writeRegisters(start, values))
            return exception(function, code);
        return std::vector<std::uint8_t>(pdu, pdu + 5);
    }
    default:
        return exception(function, kModbusIllegalFunction);
    }
}

std::string describeModbusExchange(const std::vector<std::uint8_t>& request,
                                   const std::vector<std::uint8_t>& response)
{
    char text[96];
    if (request.empty())
        return "empty request";
    const unsigned function = request[0];
    if (request.size() >= 5)
        std::snprintf(text, sizeof text, "fc %02X reg %u", function, (request[1] << 8) | request[2]);
    else
        std::snprintf(text, sizeof text, "fc %02X (%u bytes)", function,
                      static_cast<unsigned>(request.size()));
    std::string line = text;
    if (request.size() >= 5 && function != kWriteSingle)
        line += " count " + std::to_string((request[3] << 8) | request[4]);
    if (request.size() >= 5 && function == kWriteSingle)
        line += " value " + std::to_string((request[3] << 8) | request[4]);
    if (response.size() == 2 && (response[0] & 0x80) != 0) {
        std::snprintf(text, sizeof text, ": exception %02X", static_cast<unsigned>(response[1]));
        line += text;
    } else {
        line += ": ok";
    }
    return line;
}

void ModbusTcpFramer::append(const std::uint8_t* data, std::size_t size)
{
    if (m_broken)
        return;
    // Drop what was handed out before growing, so a long-lived connection stays small.
    if (m_start > 0 && m_start == m_buffer.size()) {
        m_buffer.clear();
        m_start = 0;
    } else if (m_start > 4096) {
        m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(m_start));
        m_start = 0;
    }
    m_buffer.insert(m_buffer.end(), data, data + size);
}

std::optional<ModbusTcpAdu> ModbusTcpFramer::next()
{
    if (m_broken)
        return std::nullopt;
    const std::size_t available = m_buffer.size() - m_start;
    if (available < kMbapHeaderBytes)
        return std::nullopt;
    const std::uint8_t* head = m_buffer.data() + m_start;
    const std::uint16_t protocol = word(head + 2);
    const std::uint16_t length = word(head + 4);
    if (protocol != 0 || length < 2 || length > kMaxMbapLength) {
        m_broken = true;
        return std::nullopt;
    }
    if (available < 6u + length)
        return std::nullopt;
    ModbusTcpAdu adu;
    adu.transaction = word(head);
    adu.unit = head[6];
    adu.pdu.assign(head + kMbapHeaderBytes, head + 6 + length);
    m_start += 6u + length;
    return adu;
}

std::vector<std::uint8_t> modbusTcpResponse(const ModbusTcpAdu& request, const std::vector<std::uint8_t>& pdu)
{
    std::vector<std::uint8_t> out;
    out.reserve(kMbapHeaderBytes + pdu.size());
    putWord(out, request.transaction);
    putWord(out, 0);
    putWord(out, static_cast<std::uint16_t>(pdu.size() + 1));
    out.push_back(request.unit);
    out.insert(out.end(), pdu.begin(), pdu.end());
    return out;
}

} // namespace setforge
