#include "core/report/canidentifiers.h"

#include <map>
#include <set>

#include "core/base/textint.h"
#include "core/base/xmlfile.h"
#include "core/image/registermap.h"
#include "core/tables/emcyaccesstable.h"
#include "core/tables/nodeguardtable.h"
#include "core/tables/pdoreceivetable.h"
#include "core/tables/pdotransmittable.h"
#include "core/tables/sdoclienttable.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

namespace {

// The CiA 301 predefined connection set.
constexpr int kNmtCobId = 0x000;
constexpr int kSyncCobId = 0x080;
constexpr int kTimeCobId = 0x100;
constexpr int kEmcyBase = 0x080;
constexpr int kSdoResponseBase = 0x580;
constexpr int kSdoRequestBase = 0x600;
constexpr int kNodeGuardingBase = 0x700;
constexpr int kMinNode = 1;
constexpr int kMaxNode = 127;

// The distinct node IDs of a table's column, in increasing order.
std::set<int> tableNodes(const pugi::xml_node& root, const char* attribute)
{
    std::set<int> nodes;
    forEachElement(root, [&](const pugi::xml_node& row, std::size_t) {
        const std::int32_t n = textToInt(row.attribute(attribute).value(), -1);
        if (n >= kMinNode && n <= kMaxNode)
            nodes.insert(n);
    });
    return nodes;
}

struct Pdo {
    int cobId;
    std::string name; // "receive PDO 1 (rpdodef.xml row 1)"
};

void readPdos(const pugi::xml_node& root, const char* attribute, const char* kind, const char* file,
              std::vector<Pdo>& pdos)
{
    forEachElement(root, [&](const pugi::xml_node& row, std::size_t i) {
        const std::int32_t cobId = textToInt(row.attribute(attribute).value(), -1);
        if (cobId < 0)
            return;
        const std::string number = std::to_string(i + 1);
        pdos.push_back({cobId, std::string(kind) + " " + number + " (" + file + " row " + number + ")"});
    });
}

} // namespace

std::vector<std::string> canIdentifierWarnings(const ProjectFiles& files)
{
    ProjectDocuments docs(files);
    return canIdentifierWarnings(docs);
}

std::vector<std::string> canIdentifierWarnings(ProjectDocuments& docs)
{
    using File = ProjectDocuments::File;
    const auto root = [&docs](File file) { return docs.get(file).root; };
    std::vector<Pdo> pdos;
    readPdos(root(File::RpdoDef), pdoReceiveTable().attributeOf(RpdoColumn::CobId), "receive PDO",
             ProjectDocuments::fileName(File::RpdoDef), pdos);
    readPdos(root(File::TransmitPdo), pdoTransmitTable().attributeOf(TpdoColumn::CobId), "transmit PDO",
             ProjectDocuments::fileName(File::TransmitPdo), pdos);

    std::vector<std::string> warnings;
    std::map<int, std::vector<const Pdo*>> byCobId;
    for (const Pdo& pdo : pdos)
        byCobId[pdo.cobId].push_back(&pdo);
    for (const auto& [cobId, users] : byCobId) {
        if (users.size() < 2)
            continue;
        std::string text =
            "COB-ID " + hexCobId(static_cast<unsigned>(cobId)) + " is used by more than one PDO: ";
        for (std::size_t k = 0; k < users.size(); ++k)
            text += (k > 0 ? ", " : "") + users[k]->name;
        warnings.push_back(text + "; give each PDO a COB-ID of its own");
    }

    // Each predefined identifier the project's nodes bring, with what it is.
    std::multimap<int, std::string> reserved = {{kNmtCobId, "the NMT identifier"},
                                                {kSyncCobId, "the SYNC identifier"},
                                                {kTimeCobId, "the TIME identifier"}};
    for (const int node : tableNodes(root(File::Sdo), sdoClientTable().attributeOf(SdoColumn::DeviceId))) {
        const std::string of = " of node " + std::to_string(node) + " (sdo.xml)";
        reserved.emplace(kSdoRequestBase + node, "the SDO request identifier" + of);
        reserved.emplace(kSdoResponseBase + node, "the SDO response identifier" + of);
    }
    for (const int node :
         tableNodes(root(File::EmcyDef), emcyAccessTable().attributeOf(EmcyColumn::DeviceId)))
        reserved.emplace(kEmcyBase + node,
                         "the EMCY identifier of node " + std::to_string(node) + " (emcydef.xml)");
    for (const int node :
         tableNodes(root(File::NodeGuard), nodeGuardTable().attributeOf(NodeGuardColumn::NodeId)))
        reserved.emplace(kNodeGuardingBase + node,
                         "the node guarding identifier of node " + std::to_string(node) + " (NodeGuard.xml)");
    for (const Pdo& pdo : pdos) {
        const auto [first, last] = reserved.equal_range(pdo.cobId);
        for (auto it = first; it != last; ++it)
            warnings.push_back(pdo.name + ": COB-ID " + hexCobId(static_cast<unsigned>(pdo.cobId)) + " is " +
                               it->second + "; choose another COB-ID");
    }
    return warnings;
}

} // namespace setforge
