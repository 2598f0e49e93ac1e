#include "core/sim/virtualconverter.h"

#include <algorithm>
#include <cstdio>

#include "core/base/textint.h"

namespace setforge {

namespace {

constexpr std::uint32_t kNmtId = 0x000;
constexpr std::uint32_t kSyncId = 0x080;
constexpr std::uint32_t kEmcyBase = 0x080;
constexpr std::uint32_t kSdoRequestBase = 0x600;
constexpr std::uint32_t kSdoAnswerBase = 0x580;
constexpr std::uint32_t kGuardBase = 0x700;
constexpr std::uint8_t kNmtStart = 0x01;
constexpr std::uint8_t kNmtStop = 0x02;
constexpr std::uint8_t kNmtEnterPreOperational = 0x80;
constexpr std::uint8_t kNmtResetNode = 0x81;
constexpr std::uint8_t kNmtResetCommunication = 0x82;
constexpr std::int64_t kUsPerMs = 1000;
// A clock jump longer than this many periods leaves the missed periodic frames out, with a note,
// instead of writing them all (a trace may start at 0 and jump to today).
constexpr std::int64_t kMaxCatchUpPeriods = 10000;

std::uint8_t byteOf(const std::vector<std::uint8_t>& bytes, int oneBased)
{
    if (oneBased < 1 || static_cast<std::size_t>(oneBased) > bytes.size())
        return 0;
    return bytes[static_cast<std::size_t>(oneBased) - 1];
}

void putByte(std::vector<std::uint8_t>& bytes, int oneBased, std::uint8_t value)
{
    if (oneBased >= 1 && static_cast<std::size_t>(oneBased) <= bytes.size())
        bytes[static_cast<std::size_t>(oneBased) - 1] = value;
}

// "0x6041:0" to index and sub-index.
bool splitObject(const std::string& object, std::uint16_t& index, std::uint8_t& sub)
{
    const std::size_t colon = object.find(':');
    if (colon == std::string::npos)
        return false;
    const std::int32_t i = textToInt(object.substr(0, colon), -1);
    const std::int32_t s = textToInt(object.substr(colon + 1), -1);
    if (i < 0 || i > 0xFFFF || s < 0 || s > 0xFF)
        return false;
    index = static_cast<std::uint16_t>(i);
    sub = static_cast<std::uint8_t>(s);
    return true;
}

CanFrame sdoFrame(std::uint32_t id, std::uint8_t command, std::uint16_t index, std::uint8_t sub,
                  const std::vector<std::uint8_t>& payload)
{
    CanFrame frame;
    frame.id = id;
    frame.data = {
        command, static_cast<std::uint8_t>(index & 0xFF), static_cast<std::uint8_t>(index >> 8), sub, 0, 0, 0,
        0};
    for (std::size_t i = 0; i < payload.size() && i < 4; ++i)
        frame.data[4 + i] = payload[i];
    return frame;
}

std::vector<std::uint8_t> abortPayload(std::uint32_t code)
{
    return {static_cast<std::uint8_t>(code), static_cast<std::uint8_t>(code >> 8),
            static_cast<std::uint8_t>(code >> 16), static_cast<std::uint8_t>(code >> 24)};
}

std::string hex(std::uint32_t value, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, static_cast<unsigned>(value));
    return text;
}

// Moves a periodic schedule past a long jump of the clock; returns how many periods were left out.
std::int64_t skipBacklog(std::int64_t& next, std::int64_t period, std::int64_t to)
{
    if (period <= 0 || to - next <= kMaxCatchUpPeriods * period)
        return 0;
    const std::int64_t missed = (to - next) / period;
    next += missed * period;
    return missed;
}

} // namespace

VirtualConverter::VirtualConverter(SimConfig config) : m_config(std::move(config))
{
    m_claimOfRegister.assign(0x10000, 0);
    m_objects.resize(m_config.claims.size());
    m_access.resize(m_config.claims.size());
    for (std::size_t i = 0; i < m_config.claims.size(); ++i) {
        const RegisterMapEntry& e = m_config.claims[i].entry;
        if (m_claimOfRegister[e.reg] == 0)
            m_claimOfRegister[e.reg] = static_cast<std::uint32_t>(i + 1);
        ObjectRef& ref = m_objects[i];
        ref.valid = e.source == ClaimSource::Sdo && splitObject(e.object, ref.index, ref.sub);
    }
    for (const SimTpdo& tpdo : m_config.tpdos)
        m_tpdoData.emplace_back(static_cast<std::size_t>(std::clamp(tpdo.dimension, 1, 8)), 0);
    m_guards.resize(m_config.guarded.size());
    m_tpdoNext.assign(m_config.tpdos.size(), 0);
    for (const auto& [id, dictionary] : m_config.nodes)
        m_nodeStates[id] = NodeState();
}

void VirtualConverter::setSilent(int nodeId, bool silent)
{
    node(nodeId).silent = silent;
}

void VirtualConverter::start(std::int64_t timeUs)
{
    m_now = timeUs;
    m_started = true;
    m_nextSync = timeUs + static_cast<std::int64_t>(m_config.syncTimeMs) * kUsPerMs;
    for (std::size_t i = 0; i < m_guards.size(); ++i) {
        m_guards[i].next = timeUs + static_cast<std::int64_t>(m_config.guarded[i].guardTimeMs) * kUsPerMs;
        m_guards[i].lastAnswer = timeUs;
    }
    for (std::size_t i = 0; i < m_tpdoNext.size(); ++i)
        m_tpdoNext[i] = timeUs + static_cast<std::int64_t>(m_config.tpdos[i].timerMs) * kUsPerMs;
    if (m_config.networkStart)
        m_networkStartAt = timeUs + static_cast<std::int64_t>(m_config.networkStartDelayS) * 1000000;
    updateGuardRegisters();
}

void VirtualConverter::advanceTo(std::int64_t timeUs)
{
    if (!m_started)
        start(timeUs);
    if (timeUs <= m_now)
        return;
    std::int64_t missed = 0;
    if (m_config.syncOn)
        missed += skipBacklog(m_nextSync, static_cast<std::int64_t>(m_config.syncTimeMs) * kUsPerMs, timeUs);
    for (std::size_t i = 0; i < m_guards.size(); ++i)
        if (m_config.guardOn)
            missed +=
                skipBacklog(m_guards[i].next,
                            static_cast<std::int64_t>(m_config.guarded[i].guardTimeMs) * kUsPerMs, timeUs);
    for (std::size_t i = 0; i < m_tpdoNext.size(); ++i)
        if (m_config.tpdos[i].onTimer)
            missed += skipBacklog(m_tpdoNext[i],
                                  static_cast<std::int64_t>(m_config.tpdos[i].timerMs) * kUsPerMs, timeUs);
    if (missed > 0) {
        m_now = timeUs;
        note("clock jumped; " + std::to_string(missed) + " periodic frames left out");
    }
    for (;;) {
        // The earliest event due by `timeUs`; ties go SYNC, guarding, TPDO timers, network start.
        std::int64_t due = timeUs + 1;
        int kind = -1;
        std::size_t which = 0;
        if (m_config.syncOn && m_config.syncTimeMs > 0 && m_nextSync < due) {
            due = m_nextSync;
            kind = 0;
        }
        for (std::size_t i = 0; m_config.guardOn && i < m_guards.size(); ++i)
            if (m_config.guarded[i].nodeId != 0 && m_config.guarded[i].guardTimeMs > 0 &&
                m_guards[i].next < due) {
                due = m_guards[i].next;
                kind = 1;
                which = i;
            }
        for (std::size_t i = 0; i < m_tpdoNext.size(); ++i)
            if (m_config.tpdos[i].onTimer && m_config.tpdos[i].timerMs > 0 && m_tpdoNext[i] < due) {
                due = m_tpdoNext[i];
                kind = 2;
                which = i;
            }
        if (m_networkStartAt && *m_networkStartAt < due) {
            due = *m_networkStartAt;
            kind = 3;
        }
        if (kind < 0)
            break;
        m_now = std::max(m_now, due);
        switch (kind) {
        case 0: {
            CanFrame sync;
            sync.id = kSyncId;
            putOnBus(sync);
            m_nextSync += static_cast<std::int64_t>(m_config.syncTimeMs) * kUsPerMs;
            break;
        }
        case 1:
            guardNode(which);
            m_guards[which].next += static_cast<std::int64_t>(m_config.guarded[which].guardTimeMs) * kUsPerMs;
            break;
        case 2:
            sendTpdo(which);
            m_tpdoNext[which] += static_cast<std::int64_t>(m_config.tpdos[which].timerMs) * kUsPerMs;
            break;
        default: {
            CanFrame nmt;
            nmt.id = kNmtId;
            nmt.data = {kNmtStart, 0};
            putOnBus(nmt);
            m_networkStartAt.reset();
            break;
        }
        }
    }
    m_now = timeUs;
}

void VirtualConverter::receiveFrame(const CanFrame& frame)
{
    advanceTo(frame.timeUs);
    CanFrame copy = frame;
    copy.timeUs = m_now;
    putOnBus(copy);
    if (frame.rtr)
        return;
    if (frame.id == kNmtId)
        applyNmt(frame);
    else if (frame.id > kEmcyBase && frame.id <= kEmcyBase + 127)
        applyEmergency(frame);
    applyRpdo(frame);
}

const SimClaim* VirtualConverter::claimOf(std::uint16_t reg) const
{
    const std::uint32_t slot = m_claimOfRegister[reg];
    return slot == 0 ? nullptr : &m_config.claims[slot - 1];
}

std::optional<std::uint16_t> VirtualConverter::valueOf(const SimClaim& claim) const
{
    const RegisterMapEntry& e = claim.entry;
    switch (e.source) {
    case ClaimSource::Sdo: {
        const ObjectRef& ref = m_objects[claimIndex(claim)];
        if (!e.nodeId || !ref.valid)
            return std::nullopt;
        const auto dictionary = m_config.nodes.find(*e.nodeId);
        if (dictionary == m_config.nodes.end())
            return std::nullopt;
        const ObjectDictionary::Object* object = dictionary->second.find(ref.index, ref.sub);
        if (!object)
            return std::nullopt;
        return static_cast<std::uint16_t>((byteOf(object->bytes, e.highByte) << 8) |
                                          byteOf(object->bytes, e.lowByte));
    }
    case ClaimSource::Tpdo:
        if (claim.tpdo < 0)
            return 0;
        return static_cast<std::uint16_t>(
            (byteOf(m_tpdoData[static_cast<std::size_t>(claim.tpdo)], e.highByte) << 8) |
            byteOf(m_tpdoData[static_cast<std::size_t>(claim.tpdo)], e.lowByte));
    default: {
        const auto it = m_stored.find(e.reg);
        return it == m_stored.end() ? 0 : it->second;
    }
    }
}

std::optional<std::uint16_t> VirtualConverter::peekRegister(std::uint16_t reg) const
{
    const SimClaim* claim = claimOf(reg);
    if (!claim)
        return std::nullopt;
    return valueOf(*claim);
}

std::optional<VirtualConverter::Access> VirtualConverter::lastAccess(std::uint16_t reg) const
{
    const SimClaim* claim = claimOf(reg);
    return claim ? m_access[claimIndex(*claim)] : std::nullopt;
}

std::uint8_t VirtualConverter::readRegisters(std::uint16_t start, std::uint16_t count,
                                             std::vector<std::uint16_t>& values)
{
    values.clear();
    values.reserve(count);
    for (std::uint32_t reg = start; reg < static_cast<std::uint32_t>(start) + count; ++reg)
        if (!claimOf(static_cast<std::uint16_t>(reg)))
            return kModbusIllegalDataAddress;
    for (std::uint32_t reg = start; reg < static_cast<std::uint32_t>(start) + count; ++reg) {
        const auto value = valueOf(*claimOf(static_cast<std::uint16_t>(reg)));
        if (!value)
            return kModbusDeviceFailure;
        values.push_back(*value);
    }
    for (std::uint32_t reg = start; reg < static_cast<std::uint32_t>(start) + count; ++reg)
        m_access[claimIndex(*claimOf(static_cast<std::uint16_t>(reg)))] = Access{m_now, false};
    return 0;
}

std::uint8_t VirtualConverter::writeRegisters(std::uint16_t start, const std::vector<std::uint16_t>& values)
{
    // Every register must be claimed and writable before anything changes.
    for (std::size_t i = 0; i < values.size(); ++i) {
        const SimClaim* claim = claimOf(static_cast<std::uint16_t>(start + i));
        if (!claim || claim->entry.access == RegisterAccess::Read)
            return kModbusIllegalDataAddress;
    }
    std::vector<std::vector<std::uint8_t>> before = m_tpdoData;
    std::vector<bool> sendNow(m_config.tpdos.size(), false);
    std::uint8_t result = 0;
    for (std::size_t i = 0; i < values.size() && result == 0; ++i) {
        const std::uint16_t reg = static_cast<std::uint16_t>(start + i);
        result = writeClaim(*claimOf(reg), values[i], sendNow);
        if (result == 0)
            m_access[claimIndex(*claimOf(reg))] = Access{m_now, true};
    }
    // One frame per touched PDO and request, after all its registers are in.
    for (std::size_t p = 0; p < m_config.tpdos.size(); ++p) {
        const bool changed = before[p] != m_tpdoData[p];
        if (sendNow[p] || (m_config.tpdos[p].onChange && changed))
            sendTpdo(p);
    }
    return result;
}

std::uint8_t VirtualConverter::writeClaim(const SimClaim& claim, std::uint16_t value,
                                          std::vector<bool>& sendNow)
{
    const RegisterMapEntry& e = claim.entry;
    switch (e.source) {
    case ClaimSource::Sdo:
        return sdoDownload(claim, value);
    case ClaimSource::Tpdo: {
        if (claim.tpdo < 0)
            return kModbusIllegalDataAddress;
        const std::size_t p = static_cast<std::size_t>(claim.tpdo);
        putByte(m_tpdoData[p], e.highByte, static_cast<std::uint8_t>(value >> 8));
        putByte(m_tpdoData[p], e.lowByte, static_cast<std::uint8_t>(value & 0xFF));
        if (m_config.tpdos[p].registerBlock || claim.sendOnWrite)
            sendNow[p] = true;
        return 0;
    }
    case ClaimSource::NetworkStart: {
        m_stored[e.reg] = value;
        CanFrame nmt;
        nmt.id = kNmtId;
        nmt.data = {kNmtStart, 0};
        putOnBus(nmt);
        for (auto& [id, state] : m_nodeStates)
            state.nmtState = kNmtOperational;
        return 0;
    }
    default:
        return kModbusIllegalDataAddress;
    }
}

std::uint8_t VirtualConverter::sdoDownload(const SimClaim& claim, std::uint16_t value)
{
    const RegisterMapEntry& e = claim.entry;
    const ObjectRef& ref = m_objects[claimIndex(claim)];
    if (!e.nodeId || !ref.valid)
        return kModbusDeviceFailure;
    const std::uint16_t index = ref.index;
    const std::uint8_t sub = ref.sub;
    const int nodeId = *e.nodeId;
    const int size = std::clamp(claim.objectBytes, 1, 4);
    auto dictionary = m_config.nodes.find(nodeId);
    ObjectDictionary::Object* object =
        dictionary == m_config.nodes.end() ? nullptr : dictionary->second.find(index, sub);

    // The converter's request holds the whole object: its present bytes with the register's two in place.
    std::vector<std::uint8_t> payload(static_cast<std::size_t>(size), 0);
    if (object)
        for (int i = 0; i < size && static_cast<std::size_t>(i) < object->bytes.size(); ++i)
            payload[static_cast<std::size_t>(i)] = object->bytes[static_cast<std::size_t>(i)];
    putByte(payload, e.highByte, static_cast<std::uint8_t>(value >> 8));
    putByte(payload, e.lowByte, static_cast<std::uint8_t>(value & 0xFF));
    const std::uint8_t command = static_cast<std::uint8_t>(0x23 | ((4 - size) << 2));
    putOnBus(sdoFrame(kSdoRequestBase + static_cast<std::uint32_t>(nodeId), command, index, sub, payload));

    if (node(nodeId).silent) {
        // No answer: the converter gives up and aborts the transfer itself.
        putOnBus(sdoFrame(kSdoRequestBase + static_cast<std::uint32_t>(nodeId), 0x80, index, sub,
                          abortPayload(kSdoAbortTimeout)));
        return kModbusDeviceFailure;
    }
    std::uint32_t abort = 0;
    if (!object)
        abort = kSdoAbortNoObject;
    else if (object->readOnly)
        abort = kSdoAbortReadOnly;
    else if (object->bytes.size() != static_cast<std::size_t>(size))
        abort = kSdoAbortLength;
    const std::uint32_t answerId = kSdoAnswerBase + static_cast<std::uint32_t>(nodeId);
    if (abort != 0) {
        putOnBus(sdoFrame(answerId, 0x80, index, sub, abortPayload(abort)));
        return kModbusDeviceFailure;
    }
    object->bytes = payload;
    putOnBus(sdoFrame(answerId, 0x60, index, sub, {}));
    return 0;
}

void VirtualConverter::putOnBus(CanFrame frame)
{
    frame.timeUs = m_now;
    if (m_log)
        m_log("CAN " + formatCandumpLine(frame));
    m_trace.push_back(SimTraceLine{std::move(frame), {}});
}

void VirtualConverter::note(const std::string& text)
{
    SimTraceLine line;
    line.frame.timeUs = m_now;
    line.note = text;
    if (m_log)
        m_log("note: " + text);
    m_trace.push_back(std::move(line));
}

void VirtualConverter::sendTpdo(std::size_t index)
{
    CanFrame frame;
    frame.id = m_config.tpdos[index].cobId;
    frame.data = m_tpdoData[index];
    putOnBus(frame);
}

void VirtualConverter::guardNode(std::size_t row)
{
    const int nodeId = m_config.guarded[row].nodeId;
    CanFrame request;
    request.id = kGuardBase + static_cast<std::uint32_t>(nodeId);
    request.rtr = true;
    request.rtrLength = 1;
    putOnBus(request);
    NodeState& state = node(nodeId);
    GuardState& guard = m_guards[row];
    if (!state.silent) {
        CanFrame answer;
        answer.id = request.id;
        answer.data = {static_cast<std::uint8_t>((state.toggle ? 0x80 : 0x00) | state.nmtState)};
        state.toggle = !state.toggle;
        putOnBus(answer);
        guard.lastAnswer = m_now;
        guard.alive = state.nmtState == kNmtOperational;
    } else {
        const std::int64_t lifeTime = static_cast<std::int64_t>(m_config.guarded[row].guardTimeMs) *
                                      m_config.guarded[row].lifeTimeFactor * kUsPerMs;
        if (guard.alive && m_now - guard.lastAnswer >= lifeTime) {
            guard.alive = false;
            note("node " + std::to_string(nodeId) + " guarding lost");
        }
    }
    updateGuardRegisters();
}

void VirtualConverter::updateGuardRegisters()
{
    // Bit k of the first register is row k+1 of the node guarding table (rows 1..16), bit k of
    // the second row k+17 (rows 17..32); a bit is 1 while that node answers operational.
    std::uint16_t words[2] = {0, 0};
    for (std::size_t i = 0; i < m_guards.size() && i < 32; ++i)
        if (m_guards[i].alive)
            words[i / 16] = static_cast<std::uint16_t>(words[i / 16] | (1u << (i % 16)));
    for (const SimClaim& claim : m_config.claims)
        if (claim.entry.source == ClaimSource::NodeGuarding &&
            (claim.entry.subNumber == 1 || claim.entry.subNumber == 2))
            m_stored[claim.entry.reg] = words[claim.entry.subNumber - 1];
}

void VirtualConverter::applyRpdo(const CanFrame& frame)
{
    int needed = 0;
    bool mapped = false;
    for (const SimClaim& claim : m_config.claims)
        if (claim.entry.source == ClaimSource::Rpdo && claim.entry.cobId &&
            static_cast<std::uint32_t>(*claim.entry.cobId) == frame.id) {
            mapped = true;
            needed = std::max({needed, claim.entry.highByte, claim.entry.lowByte});
        }
    if (!mapped)
        return;
    if (frame.data.size() < static_cast<std::size_t>(needed)) {
        note("RPDO " + hex(frame.id, 3) + " has " + std::to_string(frame.data.size()) +
             " bytes, its mapping needs " + std::to_string(needed) + "; registers unchanged");
        return;
    }
    for (const SimClaim& claim : m_config.claims)
        if (claim.entry.source == ClaimSource::Rpdo && claim.entry.cobId &&
            static_cast<std::uint32_t>(*claim.entry.cobId) == frame.id)
            m_stored[claim.entry.reg] = static_cast<std::uint16_t>(
                (byteOf(frame.data, claim.entry.highByte) << 8) | byteOf(frame.data, claim.entry.lowByte));
}

void VirtualConverter::applyEmergency(const CanFrame& frame)
{
    const int nodeId = static_cast<int>(frame.id - kEmcyBase);
    if (frame.data.size() < 2)
        return;
    const int code = frame.data[0] | (frame.data[1] << 8);
    // Bytes 1..5 of the manufacturer-specific field are frame bytes 4..8.
    const std::vector<std::uint8_t> specific =
        frame.data.size() > 3 ? std::vector<std::uint8_t>(frame.data.begin() + 3, frame.data.end())
                              : std::vector<std::uint8_t>();
    bool matched = false;
    for (const SimClaim& claim : m_config.claims) {
        const RegisterMapEntry& e = claim.entry;
        if (e.source != ClaimSource::Emcy || !e.nodeId || *e.nodeId != nodeId ||
            textToInt(e.object, -1) != code)
            continue;
        if (!matched && frame.data.size() < 8)
            note("emergency " + hex(frame.id, 3) + " has " + std::to_string(frame.data.size()) +
                 " bytes; missing bytes read 0");
        matched = true;
        m_stored[e.reg] =
            static_cast<std::uint16_t>((byteOf(specific, e.highByte) << 8) | byteOf(specific, e.lowByte));
    }
}

void VirtualConverter::applyNmt(const CanFrame& frame)
{
    if (frame.data.size() < 2)
        return;
    const std::uint8_t command = frame.data[0];
    const int target = frame.data[1];
    for (auto& [id, state] : m_nodeStates) {
        if (target != 0 && target != id)
            continue;
        switch (command) {
        case kNmtStart:
            state.nmtState = kNmtOperational;
            break;
        case kNmtStop:
            state.nmtState = kNmtStopped;
            break;
        case kNmtEnterPreOperational:
            state.nmtState = kNmtPreOperational;
            break;
        case kNmtResetNode:
        case kNmtResetCommunication:
            // The simulated node leaves the bus: it answers nothing from here on.
            state.silent = true;
            break;
        default:
            break;
        }
    }
}

std::string VirtualConverter::traceText() const
{
    std::string text;
    for (const SimTraceLine& line : m_trace) {
        if (!line.note.empty()) {
            text += "# (" + candumpTimeText(line.frame.timeUs) + ") " + line.note + "\n";
        } else {
            text += formatCandumpLine(line.frame) + "\n";
        }
    }
    return text;
}

Result<void> VirtualConverter::saveTrace(std::string_view utf8Path) const
{
    return writeFileAtomic(utf8Path, traceText());
}

} // namespace setforge
