#include "core/report/edschecks.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <string_view>

#include <pugixml.hpp>

#include "core/base/paths.h"
#include "core/base/textint.h"
#include "core/base/xmlfile.h"
#include "core/nodes/edsreader.h"
#include "core/nodes/nodecatalog.h"
#include "core/nodes/remotepdo.h"
#include "core/tables/pargenelements.h"
#include "core/tables/pdoreceivetable.h"
#include "core/tables/pdotransmittable.h"
#include "core/tables/sdoclienttable.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

namespace {

using File = ProjectDocuments::File;

// A catalogued node whose EDS reads.
struct CataloguedNode {
    std::string file; // the EDS's name in the project's EDS folder
    EdsDevice device;
};

std::map<int, CataloguedNode> readCatalogue(const ProjectDocuments& docs)
{
    const std::string projectDir = pathToUtf8(pathFromUtf8(docs.files().parGen).parent_path());
    NodeCatalog catalog;
    std::map<int, CataloguedNode> nodes;
    if (!catalog.load(projectDir))
        return nodes;
    for (const NodeCatalog::Node& node : catalog.nodes()) {
        Result<EdsRead> read = readEdsFile(NodeCatalog::edsPath(projectDir, node), node.nodeId);
        if (read)
            nodes[node.nodeId] = {node.file, std::move(read->device)};
    }
    return nodes;
}

std::string hex4(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", value & 0xFFFFu);
    return text;
}

std::string hexCobId(std::uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
    return text;
}

std::string rowOf(std::string_view file, int row)
{
    return std::string(file) + " row " + std::to_string(row) + ": ";
}

std::string nodeEds(int nodeId, const CataloguedNode& node)
{
    return "node " + std::to_string(nodeId) + "'s EDS (" + node.file + ")";
}

// "0x6041 Statusword", or "0x6041 sub 2 Name" for a sub-object.
std::string entryName(const EdsEntry& entry)
{
    std::string text = hex4(entry.index);
    if (entry.subIndex != 0)
        text += " sub " + std::to_string(entry.subIndex);
    return entry.name.empty() ? text : text + " " + entry.name;
}

void sdoWarnings(ProjectDocuments& docs, const std::map<int, CataloguedNode>& nodes,
                 std::vector<std::string>& warnings)
{
    const TableDefinition& sdo = sdoClientTable();
    const char* nodeName = sdo.attributeOf(SdoColumn::DeviceId);
    const char* indexName = sdo.attributeOf(SdoColumn::Index);
    const char* subName = sdo.attributeOf(SdoColumn::SubIndex);
    const char* nbyteName = sdo.attributeOf(SdoColumn::NByte);
    forEachElement(docs.get(File::Sdo).root, [&](const pugi::xml_node& row, std::size_t i) {
        const int number = static_cast<int>(i) + 1;
        const auto node = nodes.find(textToInt(row.attribute(nodeName).value(), 0));
        const int index = textToInt(row.attribute(indexName).value(), -1);
        const int sub = textToInt(row.attribute(subName).value(), -1);
        if (node == nodes.end() || index < 0 || index > 0xFFFF || sub < 0 || sub > 0xFF)
            return; // no EDS, or a value the table check reports
        const std::string where = rowOf("sdo.xml", number);
        const std::string eds = nodeEds(node->first, node->second);
        const EdsObject* object = node->second.device.findObject(static_cast<std::uint16_t>(index));
        if (!object) {
            warnings.push_back(where + eds + " has no object " + hex4(static_cast<unsigned>(index)) +
                               "; correct Index, or pick the object from the EDS");
            return;
        }
        const EdsEntry* entry =
            node->second.device.findEntry(static_cast<std::uint16_t>(index), static_cast<std::uint8_t>(sub));
        if (!entry) {
            warnings.push_back(where + eds + " has no SubIndex " + std::to_string(sub) + " in object " +
                               hex4(static_cast<unsigned>(index)) +
                               "; correct SubIndex, or pick the object from the EDS");
            return;
        }
        const int nbyte = textToInt(row.attribute(nbyteName).value(), 0);
        if (entry->bytes() != 0 && nbyte >= 1 && nbyte != entry->bytes())
            warnings.push_back(where + "NByte " + std::to_string(nbyte) + " is not the " +
                               std::to_string(entry->bytes()) + " byte(s) of " + entryName(*entry) + " in " +
                               eds + "; set NByte to " + std::to_string(entry->bytes()));
        const bool readWrite =
            splitSdoConf(static_cast<std::uint8_t>(textToInt(row.attribute(kSdoConfAttribute).value(), 0)))
                .readWrite;
        if (readWrite && entry->readOnly())
            warnings.push_back(where + "R/W is ReadWrite, but " + entryName(*entry) + " is " + entry->access +
                               " in " + eds + ", so the node refuses the write; set R/W to ReadOnly");
        if (entry->access == "wo")
            warnings.push_back(where + entryName(*entry) + " is wo in " + eds +
                               ", so the node refuses the read every row makes; map a readable object, or "
                               "delete the row");
    });
}

// The PDOs of every catalogued node, each with its node.
struct NodePdo {
    int nodeId = 0;
    RemotePdo pdo;
};

std::map<std::uint32_t, NodePdo> nodePdos(const std::map<int, CataloguedNode>& nodes, bool transmit)
{
    std::map<std::uint32_t, NodePdo> pdos;
    for (const auto& [nodeId, node] : nodes)
        for (RemotePdo& pdo : listDefaultPdos(node.device, transmit, nodeId))
            if (pdo.valid)
                pdos.emplace(pdo.cobId, NodePdo{nodeId, std::move(pdo)}); // the first node keeps it
    return pdos;
}

// Compares each row of one of the project's PDO tables with the node PDO of its COB-ID.
struct PdoSide {
    File file;
    const TableDefinition& table;
    int cobIdColumn;
    int dimensionColumn;
    const char* nodePdoKind;     // "TPDO" for the project's receive PDOs
    const char* syncConsequence; // what a SYNC that never comes does to it
};

void pdoWarnings(ProjectDocuments& docs, const PdoSide& side, const std::map<std::uint32_t, NodePdo>& pdos,
                 bool syncOff, std::vector<std::string>& warnings)
{
    const char* fileName = ProjectDocuments::fileName(side.file);
    forEachElement(docs.get(side.file).root, [&](const pugi::xml_node& row, std::size_t i) {
        const std::int32_t cobId =
            textToInt(row.attribute(side.table.attributeOf(side.cobIdColumn)).value(), -1);
        if (cobId < 0)
            return;
        const auto found = pdos.find(static_cast<std::uint32_t>(cobId));
        if (found == pdos.end())
            return;
        const NodePdo& node = found->second;
        const std::string where = rowOf(fileName, static_cast<int>(i) + 1);
        const std::string what = "COB-ID " + hexCobId(node.pdo.cobId) + " is " + side.nodePdoKind +
                                 std::to_string(node.pdo.number) + " of node " + std::to_string(node.nodeId);
        const int dimension =
            textToInt(row.attribute(side.table.attributeOf(side.dimensionColumn)).value(), 0);
        if (node.pdo.bits > 0 && dimension >= 1 && dimension != node.pdo.bytes())
            warnings.push_back(where + what + ", which its EDS gives " + std::to_string(node.pdo.bytes()) +
                               " byte(s), not the Dimension " + std::to_string(dimension) +
                               "; set Dimension to " + std::to_string(node.pdo.bytes()) +
                               " or change the node's PDO mapping");
        if (syncOff && node.pdo.transmissionType >= 0 && node.pdo.transmissionType <= 240)
            warnings.push_back(where + what + ", synchronous in its EDS (transmission type " +
                               std::to_string(node.pdo.transmissionType) +
                               "), but the SYNC producer is off, so " + side.syncConsequence +
                               "; turn the SYNC producer on in the communication parameters, or make the "
                               "node's PDO event-driven");
    });
}

// True when ParGen.xml reads and its SYNC producer is not enabled.
bool syncProducerOff(ProjectDocuments& docs)
{
    const ProjectDocuments::Entry& parGen = docs.get(File::ParGen);
    if (!parGen.exists)
        return false;
    const pugi::xml_node sync = childElement(parGen.root, ParGenName::kSyncProducer);
    return std::string_view(sync.attribute(ParGenName::kSyncEnable).value()) != "true";
}

} // namespace

std::vector<std::string> edsCatalogueWarnings(ProjectDocuments& docs)
{
    const std::map<int, CataloguedNode> nodes = readCatalogue(docs);
    if (nodes.empty())
        return {};
    std::vector<std::string> warnings;
    sdoWarnings(docs, nodes, warnings);
    const bool syncOff = syncProducerOff(docs);
    pdoWarnings(docs,
                {File::RpdoDef, pdoReceiveTable(), RpdoColumn::CobId, RpdoColumn::Dimension, "TPDO",
                 "the node never sends it"},
                nodePdos(nodes, true), syncOff, warnings);
    pdoWarnings(docs,
                {File::TransmitPdo, pdoTransmitTable(), TpdoColumn::CobId, TpdoColumn::Dimension, "RPDO",
                 "the node never applies it"},
                nodePdos(nodes, false), syncOff, warnings);
    return warnings;
}

} // namespace setforge
