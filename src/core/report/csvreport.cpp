#include "core/report/csvreport.h"

namespace setforge {

namespace {

constexpr const char* kLineEnd = "\r\n";

// The state and start registers of ParGen.xml carry no byte of a CAN message.
bool hasSourceBytes(ClaimSource source)
{
    return source != ClaimSource::NodeGuarding && source != ClaimSource::NetworkStart;
}

} // namespace

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
        csv += ',' + csvField(e.file);
        csv += ',' + csvField(e.row);
        csv += ',' + (e.nodeId ? std::to_string(*e.nodeId) : std::string());
        csv += ',' + csvField(e.object);
        csv += ',' + (e.cobId ? hexCobId(static_cast<unsigned>(*e.cobId)) : std::string());
        csv += ',' + (hasSourceBytes(e.source) ? std::to_string(e.highByte) : std::string());
        csv += ',' + (hasSourceBytes(e.source) ? std::to_string(e.lowByte) : std::string());
        csv += ',' + csvField(e.mnemonic);
        csv += ',' + std::string(e.conflict ? "yes" : "");
        csv += kLineEnd;
    }
    return csv;
}

} // namespace setforge
