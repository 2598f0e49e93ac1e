#include "core/report/csvreport.h"

namespace setforge {

namespace {

constexpr const char* kLineEnd = "\r\n";

// The state and start registers of ParGen.xml carry no byte of a CAN message.
bool hasSourceBytes(ClaimSource source)
{
    return source != ClaimSource::NodeGuarding && source != ClaimSource::NetworkStart;
}

// The mnemonic column: the row's own, or for a register of ParGen.xml what it is for.
std::string mnemonicOf(const RegisterMapEntry& e)
{
    if (e.source == ClaimSource::NodeGuarding)
        return e.subNumber == 1 ? "node guarding state, first" : "node guarding state, second";
    return e.mnemonic;
}

} // namespace

std::string csvTextField(std::string_view text)
{
    if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos) {
        std::string quoted = "'"; // appended: GCC 12 at -O3 reports a false overlap in "'" + text
        quoted += text;
        return csvField(quoted);
    }
    return csvField(text);
}

std::string csvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string renderCsvReport(const std::vector<RegisterMapEntry>& entries)
{
    std::string csv = std::string(kRegisterMapCsvHeader) + kLineEnd;
    csv.reserve(csv.size() + entries.size() * 96);
    for (const RegisterMapEntry& e : entries) {
        csv += std::to_string(e.reg);
        csv += ',' + hex4(e.reg);
        csv += ',' + std::string(registerAccessName(e.access));
        csv += ',' + csvField(claimSourceName(e.source));
        csv += ',' + csvTextField(e.file);
        csv += ',' + csvField(e.row);
        csv += ',' + (e.nodeId ? std::to_string(*e.nodeId) : std::string());
        csv += ',' + csvTextField(e.object);
        csv += ',' + (e.cobId ? hexCobId(static_cast<unsigned>(*e.cobId)) : std::string());
        csv += ',' + (hasSourceBytes(e.source) ? std::to_string(e.highByte) : std::string());
        csv += ',' + (hasSourceBytes(e.source) ? std::to_string(e.lowByte) : std::string());
        csv += ',' + csvTextField(mnemonicOf(e));
        csv += ',' + std::string(e.conflict ? "yes" : "");
        csv += kLineEnd;
    }
    return csv;
}

} // namespace setforge
