#include "core/sim/simconfig.h"

#include "core/base/asciitext.h"
#include "core/base/paths.h"
#include "core/base/projectfiles.h"
#include "core/base/textint.h"
#include "core/base/xmlfile.h"
#include "core/image/compilestop.h"
#include "core/nodes/edsreader.h"
#include "core/nodes/nodecatalog.h"
#include "core/tables/pargenfile.h"
#include "core/tables/pargenvalues.h"
#include "core/tables/projectdocuments.h"

namespace setforge {

namespace {

constexpr const char* kTpdoFile = "Transmit_Pdo.xml";
constexpr const char* kTpdoDefineFile = "Transmit_PDO_Define.xml";

// Every element below `root`, in order.
std::vector<pugi::xml_node> rowsOf(const pugi::xml_node& root)
{
    std::vector<pugi::xml_node> rows;
    forEachElement(root, [&](const pugi::xml_node& row, std::size_t) { rows.push_back(row); });
    return rows;
}

bool ticked(const pugi::xml_node& row, const char* name)
{
    return upperAscii(trimSpacesAndTabs(row.attribute(name).value())) == "Y";
}

int boundedInt(std::string_view text, int low, int high, int fallback)
{
    const std::int32_t v = textToInt(text, fallback);
    return v < low || v > high ? fallback : static_cast<int>(v);
}

// Parses a decimal or 0x-hexadecimal number of the values file.
std::optional<std::uint64_t> csvNumber(std::string_view text)
{
    text = trimSpacesAndTabs(text);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > (base == 16 ? 16u : 20u))
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        int d = -1;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        if (d < 0)
            return std::nullopt;
        const std::uint64_t next = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
        if (next / static_cast<std::uint64_t>(base) != value)
            return std::nullopt;
        value = next;
    }
    return value;
}

std::vector<std::string_view> splitCsv(std::string_view line)
{
    std::vector<std::string_view> cells;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        cells.push_back(trimSpacesAndTabs(line.substr(start, comma - start)));
        if (comma == std::string_view::npos)
            return cells;
        start = comma + 1;
    }
}

} // namespace

std::vector<RegisterMapEntry> simRegisterClaims(std::string_view projectDir, std::vector<std::string>& errors)
{
    ProjectDocuments docs(makeProjectFiles(projectDir));
    std::vector<RegisterMapEntry> entries = buildRegisterMap(docs);
    // The map skips a file it cannot read; the simulation refuses to serve a project half read.
    for (int file = 0; file < ProjectDocuments::kFileCount; ++file) {
        const ProjectDocuments::Entry& entry = docs.get(static_cast<ProjectDocuments::File>(file));
        if (!entry.error.empty())
            errors.push_back(entry.error);
    }
    return entries;
}

Result<SimConfig> loadSimConfig(std::string_view projectDir)
{
    if (!isDirectory(projectDir))
        return makeError(std::string(projectDir) + ": not a project folder", std::string(projectDir));
    const ProjectFiles files = makeProjectFiles(projectDir);
    std::vector<std::string> errors;
    std::vector<RegisterMapEntry> entries = simRegisterClaims(projectDir, errors);

    SimConfig config;
    pugi::xml_document parGenDoc;
    const ParGenValues parGen = parGenFromRoot(loadXmlRoot(files.parGen, parGenDoc, &errors));
    pugi::xml_document sdoDoc;
    const std::vector<pugi::xml_node> sdoRows = rowsOf(loadXmlRoot(files.sdo, sdoDoc, &errors));
    pugi::xml_document tpdoDoc;
    const std::vector<pugi::xml_node> tpdoRows = rowsOf(loadXmlRoot(files.transmitPdo, tpdoDoc, &errors));
    pugi::xml_document defineDoc;
    const std::vector<pugi::xml_node> defineRows =
        rowsOf(loadXmlRoot(files.transmitPdoDefine, defineDoc, &errors));
    pugi::xml_document guardDoc;
    const std::vector<pugi::xml_node> guardRows = rowsOf(loadXmlRoot(files.nodeGuard, guardDoc, &errors));
    pugi::xml_document emcyDoc;
    const std::vector<pugi::xml_node> emcyRows = rowsOf(loadXmlRoot(files.emcyDef, emcyDoc, &errors));
    if (!errors.empty())
        return makeError(errors.front());

    const bool ethernet = parGen.deviceType != 0;
    for (const pugi::xml_node& row : tpdoRows) {
        SimTpdo tpdo;
        tpdo.cobId = static_cast<std::uint32_t>(boundedInt(row.attribute("COB-ID").value(), 0, 0x7FF, 0));
        tpdo.dimension = boundedInt(row.attribute("Dimension").value(), 1, 8, 8);
        tpdo.registerBlock = !ethernet;
        if (ethernet) {
            tpdo.onChange = ticked(row, "OnChange");
            tpdo.onTimer = ticked(row, "OnTimer");
            tpdo.timerMs = boundedInt(row.attribute("Timer").value(), 0, 100000000, 0);
        }
        config.tpdos.push_back(tpdo);
    }

    for (RegisterMapEntry& entry : entries) {
        SimClaim claim;
        if (entry.source == ClaimSource::Sdo && entry.rowNumber >= 1 && entry.rowNumber <= sdoRows.size()) {
            const pugi::xml_node row = sdoRows[entry.rowNumber - 1];
            claim.objectBytes = boundedInt(row.attribute("nbyteB").value(), 1, 4, 4);
        }
        if (entry.source == ClaimSource::Tpdo) {
            if (entry.file == kTpdoFile) {
                claim.tpdo = static_cast<int>(entry.rowNumber) - 1;
            } else if (entry.file == kTpdoDefineFile && entry.rowNumber >= 1 &&
                       entry.rowNumber <= defineRows.size()) {
                const pugi::xml_node row = defineRows[entry.rowNumber - 1];
                claim.tpdo = textToInt(row.attribute("NrPdo").value(), 0) - 1;
                claim.sendOnWrite = textToInt(row.attribute("Send_on_Write").value(), 0) != 0;
            }
            if (claim.tpdo < 0 || static_cast<std::size_t>(claim.tpdo) >= config.tpdos.size())
                claim.tpdo = -1;
        }
        claim.entry = std::move(entry);
        config.claims.push_back(std::move(claim));
    }

    config.syncOn = parGen.syncEnable;
    config.syncTimeMs = boundedInt(parGen.syncTime, 1, 4200000, 1000);
    config.guardOn = parGen.nodeguardEnable;
    for (const pugi::xml_node& row : guardRows) {
        SimGuardedNode node;
        node.nodeId = boundedInt(row.attribute("NodeID").value(), 1, 127, 0);
        node.guardTimeMs = boundedInt(row.attribute("GuardTime").value(), 1, 65535, 0);
        node.lifeTimeFactor = boundedInt(row.attribute("LifeTimeFactor").value(), 1, 255, 1);
        config.guarded.push_back(node);
    }
    config.networkStart = parGen.networkStart;
    config.networkStartDelayS = boundedInt(parGen.networkStartDelay, 0, 1000000, 0);

    static constexpr int kBauds[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
    if (parGen.modbusBaud >= 0 && parGen.modbusBaud < 8)
        config.modbus.baud = kBauds[parGen.modbusBaud];
    config.modbus.parity = parGen.modbusParity == 1 ? 'E' : (parGen.modbusParity == 2 ? 'O' : 'N');
    config.modbus.stopBits = parGen.modbusStopBits == 1 ? 2 : 1;
    config.modbus.unitId = boundedInt(parGen.modbusId, 1, 247, 1);

    // The nodes the project names: SDO partners, emergency senders, guarded nodes.
    std::vector<int> nodeIds;
    for (const SimClaim& claim : config.claims)
        if (claim.entry.nodeId && *claim.entry.nodeId >= 1 && *claim.entry.nodeId <= 127)
            nodeIds.push_back(*claim.entry.nodeId);
    for (const pugi::xml_node& row : emcyRows)
        if (const int id = boundedInt(row.attribute("ID_EMCY").value(), 1, 127, 0))
            nodeIds.push_back(id);
    for (const SimGuardedNode& node : config.guarded)
        if (node.nodeId != 0)
            nodeIds.push_back(node.nodeId);

    NodeCatalog catalog;
    const Result<std::vector<std::string>> catalogLoad = catalog.load(projectDir);
    const std::string catalogPath = joinPath(projectDir, NodeCatalog::kFileName);
    if (!catalogLoad)
        return makeError(catalogPath + ": " + catalogLoad.error().text, catalogPath);
    for (const int id : nodeIds) {
        if (config.nodes.count(id) != 0)
            continue;
        const NodeCatalog::Node* node = catalog.find(id);
        if (!node) {
            config.nodes[id] = ObjectDictionary();
            continue;
        }
        const std::string path = NodeCatalog::edsPath(projectDir, *node);
        const Result<EdsRead> eds = readEdsFile(path, id);
        if (!eds) {
            const std::optional<std::size_t> line = eds.error().line;
            return makeError(path + (line ? ":" + std::to_string(*line) : std::string()) + ": " +
                                 eds.error().text,
                             path, line);
        }
        config.nodes[id] = ObjectDictionary::fromEds(eds->device, id);
    }
    // A node without an EDS holds the objects its SDO rows name, starting at 0.
    for (const SimClaim& claim : config.claims) {
        if (claim.entry.source != ClaimSource::Sdo || !claim.entry.nodeId)
            continue;
        const auto node = config.nodes.find(*claim.entry.nodeId);
        if (node == config.nodes.end() || node->second.fromEdsFile())
            continue;
        const std::size_t colon = claim.entry.object.find(':');
        if (colon == std::string::npos)
            continue;
        const std::int32_t index = textToInt(claim.entry.object.substr(0, colon), -1);
        const std::int32_t sub = textToInt(claim.entry.object.substr(colon + 1), -1);
        if (index < 0 || index > 0xFFFF || sub < 0 || sub > 0xFF)
            continue;
        node->second.addZeroObject(static_cast<std::uint16_t>(index), static_cast<std::uint8_t>(sub),
                                   claim.objectBytes);
    }
    return config;
}

Result<void> applySimValues(std::string_view csv, std::string_view fileName, SimConfig& config,
                            std::map<int, bool>& silentNodes)
{
    const std::string file(fileName);
    std::size_t lineNumber = 0;
    bool header = false;
    auto fail = [&](const std::string& text) {
        return makeError(file + ":" + std::to_string(lineNumber) + ": " + text, file, lineNumber);
    };
    while (!csv.empty()) {
        ++lineNumber;
        const std::size_t end = csv.find('\n');
        std::string_view line = csv.substr(0, end);
        csv.remove_prefix(end == std::string_view::npos ? csv.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (lineNumber == 1 && line.size() >= 3 && line.substr(0, 3) == "\xEF\xBB\xBF")
            line.remove_prefix(3);
        if (trimSpacesAndTabs(line).empty())
            continue;
        const std::vector<std::string_view> cells = splitCsv(line);
        if (!header) {
            if (cells.size() != 4 || lowerAscii(cells[0]) != "node" || lowerAscii(cells[1]) != "index" ||
                lowerAscii(cells[2]) != "sub_index" || lowerAscii(cells[3]) != "value")
                return fail("expected the header node,index,sub_index,value");
            header = true;
            continue;
        }
        if (cells.size() != 4)
            return fail("expected 4 fields: node,index,sub_index,value");
        const auto node = csvNumber(cells[0]);
        const auto index = csvNumber(cells[1]);
        const auto sub = csvNumber(cells[2]);
        const auto value = csvNumber(cells[3]);
        if (!node || !index || !sub || !value)
            return fail("not a decimal or 0x-hexadecimal number");
        if (*node < 1 || *node > 127 || *index > 0xFFFF || *sub > 0xFF)
            return fail("node must be 1..127, index 0..0xFFFF, sub_index 0..0xFF");
        const auto dictionary = config.nodes.find(static_cast<int>(*node));
        if (dictionary == config.nodes.end())
            return fail("node " + std::to_string(*node) + " is not named by the project");
        if (*index == 0 && *sub == 0) {
            if (*value > 1)
                return fail("index 0 sets whether the node answers: 0 silent, 1 answering");
            silentNodes[static_cast<int>(*node)] = *value == 0;
            continue;
        }
        const Result<void> set = dictionary->second.setValue(static_cast<std::uint16_t>(*index),
                                                             static_cast<std::uint8_t>(*sub), *value);
        if (!set)
            return fail("node " + std::to_string(*node) + " object " + hex4(static_cast<unsigned>(*index)) +
                        ":" + std::to_string(*sub) + ": " + set.error().text);
    }
    if (!header)
        return makeError(file + ": empty; expected the header node,index,sub_index,value", file);
    return {};
}

} // namespace setforge
