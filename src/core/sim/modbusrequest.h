#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace setforge {

// Modbus exception codes the virtual converter answers with.
inline constexpr std::uint8_t kModbusIllegalFunction = 0x01;
inline constexpr std::uint8_t kModbusIllegalDataAddress = 0x02;
inline constexpr std::uint8_t kModbusIllegalDataValue = 0x03;
inline constexpr std::uint8_t kModbusDeviceFailure = 0x04;
inline constexpr std::uint8_t kModbusGatewayTargetFailed = 0x0B;

// What serves the holding and input registers of a Modbus request; returns 0 or an exception code.
class ModbusRegisterBank {
public:
    virtual ~ModbusRegisterBank() = default;
    // Fills `values` with `count` registers from `start` (functions 03 and 04 alike).
    virtual std::uint8_t readRegisters(std::uint16_t start, std::uint16_t count,
                                       std::vector<std::uint16_t>& values) = 0;
    // Writes `values` to the registers from `start` (functions 06 and 16).
    virtual std::uint8_t writeRegisters(std::uint16_t start, const std::vector<std::uint16_t>& values) = 0;
};

// Handles one request PDU (function code and data, without address, header or CRC) and
// returns the response PDU: 03/04 read 1..125 registers, 06 writes one, 16 writes 1..123.
// Any other function answers exception 01; a malformed length or count exception 03; the bank's
// exception otherwise. An empty PDU gives an empty response (nothing to answer).
std::vector<std::uint8_t> handleModbusRequest(ModbusRegisterBank& bank, const std::uint8_t* pdu,
                                              std::size_t size);

// One line for the log: "fc 03 reg 100 count 6: ok" or "fc 06 reg 300: exception 02".
std::string describeModbusExchange(const std::vector<std::uint8_t>& request,
                                   const std::vector<std::uint8_t>& response);

// One Modbus TCP request: the MBAP header's transaction and unit, and the PDU.
struct ModbusTcpAdu {
    std::uint16_t transaction = 0;
    std::uint8_t unit = 0;
    std::vector<std::uint8_t> pdu;
};

// Cuts the byte stream of one Modbus TCP connection into requests. The MBAP header is a
// transaction id (2 bytes), protocol id (2, must be 0), length (2, 2..254: unit + PDU) and the
// unit; all big-endian. A header that breaks these rules makes the stream broken: the server
// closes such a connection, since no later frame boundary can be trusted.
class ModbusTcpFramer {
public:
    // Appends received bytes.
    void append(const std::uint8_t* data, std::size_t size);
    // The next whole request, or nothing when more bytes are needed or the stream is broken.
    std::optional<ModbusTcpAdu> next();
    bool broken() const { return m_broken; }

private:
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_start = 0;
    bool m_broken = false;
};

// The MBAP header and `pdu` of a response to `request`.
std::vector<std::uint8_t> modbusTcpResponse(const ModbusTcpAdu& request,
                                            const std::vector<std::uint8_t>& pdu);

} // namespace setforge
