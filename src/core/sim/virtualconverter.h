#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/base/atomicfile.h"
#include "core/sim/canframe.h"
#include "core/sim/modbusrequest.h"
#include "core/sim/simconfig.h"

namespace setforge {

// One line of the output trace: a frame, or a note ("# ..." in the candump log).
struct SimTraceLine {
    CanFrame frame;
    std::string note; // non-empty for a note
};

// SDO abort codes the simulated nodes and the converter use.
inline constexpr std::uint32_t kSdoAbortTimeout = 0x05040000;
inline constexpr std::uint32_t kSdoAbortReadOnly = 0x06010002;
inline constexpr std::uint32_t kSdoAbortNoObject = 0x06020000;
inline constexpr std::uint32_t kSdoAbortLength = 0x06070010;

// NMT states a guarded node reports.
inline constexpr std::uint8_t kNmtStopped = 0x04;
inline constexpr std::uint8_t kNmtOperational = 0x05;
inline constexpr std::uint8_t kNmtPreOperational = 0x7F;

// A test double of the converter: it serves the project's register claims to a Modbus master
// and writes down every CAN frame it would send and every answer of its simulated nodes. Time is
// given from outside (microseconds since the epoch), so serving and replaying share one clock.
class VirtualConverter : public ModbusRegisterBank {
public:
    explicit VirtualConverter(SimConfig config);

    // Whether node `nodeId` answers node guarding and SDO requests.
    void setSilent(int nodeId, bool silent);

    // Starts the clock at `timeUs`: the periodic frames (SYNC, guard requests, timed TPDOs) and
    // the network start are counted from here.
    void start(std::int64_t timeUs);
    // Moves the clock forward to `timeUs`, sending every periodic frame due on the way; a time
    // before the clock's changes nothing.
    void advanceTo(std::int64_t timeUs);
    std::int64_t now() const { return m_now; }

    // A frame from the bus (an input trace): the clock moves to its time, then receive PDOs,
    // emergencies and NMT commands take effect. The frame goes into the output trace too.
    void receiveFrame(const CanFrame& frame);

    std::uint8_t readRegisters(std::uint16_t start, std::uint16_t count,
                               std::vector<std::uint16_t>& values) override;
    std::uint8_t writeRegisters(std::uint16_t start, const std::vector<std::uint16_t>& values) override;

    // The register's value as a read would give it, without counting as an access; nothing for an
    // unclaimed register or an SDO object that does not exist.
    std::optional<std::uint16_t> peekRegister(std::uint16_t reg) const;

    // The last access of a register: simulated time and "read" or "write"; nothing when none.
    struct Access {
        std::int64_t timeUs = 0;
        bool write = false;
    };
    std::optional<Access> lastAccess(std::uint16_t reg) const;

    const SimConfig& config() const { return m_config; }
    const std::vector<SimTraceLine>& trace() const { return m_trace; }
    // The output trace as a candump log, notes as "# " lines.
    std::string traceText() const;
    // Writes traceText() to `utf8Path` through the atomic-write helper.
    Result<void> saveTrace(std::string_view utf8Path) const;

    // Receives one line per frame and note as it goes into the trace.
    void setLog(std::function<void(const std::string&)> log) { m_log = std::move(log); }

private:
    struct NodeState {
        bool silent = false;
        std::uint8_t nmtState = kNmtOperational;
        bool toggle = false;
    };
    struct GuardState {
        std::int64_t next = 0;
        std::int64_t lastAnswer = 0;
        bool alive = false;
    };

    const SimClaim* claimOf(std::uint16_t reg) const;
    std::optional<std::uint16_t> valueOf(const SimClaim& claim) const;
    std::size_t claimIndex(const SimClaim& claim) const
    {
        return static_cast<std::size_t>(&claim - m_config.claims.data());
    }
    std::uint8_t writeClaim(const SimClaim& claim, std::uint16_t value, std::vector<bool>& sendNow);
    std::uint8_t sdoDownload(const SimClaim& claim, std::uint16_t value);
    void putOnBus(CanFrame frame);
    void note(const std::string& text);
    void sendTpdo(std::size_t index);
    void guardNode(std::size_t row);
    void updateGuardRegisters();
    void applyRpdo(const CanFrame& frame);
    void applyEmergency(const CanFrame& frame);
    void applyNmt(const CanFrame& frame);
    NodeState& node(int nodeId) { return m_nodeStates[nodeId]; }

    SimConfig m_config;
    // Register -> 1 + index of its serving claim, 0 for none: one look-up per register of a read.
    std::vector<std::uint32_t> m_claimOfRegister;
    // The object of each claim, parsed once (SDO claims only).
    struct ObjectRef {
        bool valid = false;
        std::uint16_t index = 0;
        std::uint8_t sub = 0;
    };
    std::vector<ObjectRef> m_objects;
    std::map<std::uint16_t, std::uint16_t> m_stored; // values of RPDO, EMCY, guard and start registers
    std::vector<std::vector<std::uint8_t>> m_tpdoData;
    std::map<int, NodeState> m_nodeStates;
    std::vector<GuardState> m_guards;
    std::vector<std::int64_t> m_tpdoNext;
    std::vector<std::optional<Access>> m_access; // per claim
    std::vector<SimTraceLine> m_trace;
    std::function<void(const std::string&)> m_log;
    std::int64_t m_now = 0;
    std::int64_t m_nextSync = 0;
    std::optional<std::int64_t> m_networkStartAt;
    bool m_started = false;
};

} // namespace setforge
