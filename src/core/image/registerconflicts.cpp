#include "core/image/registerconflicts.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "core/base/textint.h"
#include "core/base/xmlfile.h"
#include "core/tables/pargenelements.h"

namespace setforge {

namespace PG = ParGenName;
using File = ProjectDocuments::File;

namespace {

// Where a claim stands among the claims of one register in a conflict message: the order in
// which the parts of the project are listed there, which is not the map's order.
int claimRank(const RegisterMapEntry& entry)
{
    switch (entry.source) {
    case ClaimSource::Sdo:
        return 0;
    case ClaimSource::Rpdo:
        return 1;
    case ClaimSource::Emcy:
        return 2;
    case ClaimSource::Tpdo:
        return entry.file == ProjectDocuments::fileName(File::TransmitPdo) ? 3 : 4;
    case ClaimSource::NetworkStart:
        return 5;
    case ClaimSource::NodeGuarding:
        break;
    }
    return 6;
}

std::string rowText(const char* table, const RegisterMapEntry& entry)
{
    return std::string(table) + " (" + entry.file + " row " + std::to_string(entry.rowNumber) + ")";
}

// How a conflict message names the part of the project behind `entry`.
std::string claimantText(const RegisterMapEntry& entry)
{
    switch (entry.source) {
    case ClaimSource::Sdo:
        return rowText("SDO table", entry);
    case ClaimSource::Rpdo:
        return rowText("RPDO mapping", entry);
    case ClaimSource::Emcy:
        return "EMCY words (" + entry.file + " emergency " + std::to_string(entry.rowNumber) + " word " +
               std::to_string(entry.subNumber) + ")";
    case ClaimSource::Tpdo:
        return claimRank(entry) == 3 ? rowText("TPDO register block", entry) : rowText("TPDO mapping", entry);
    case ClaimSource::NetworkStart:
        return "network start register (" + entry.file + ")";
    case ClaimSource::NodeGuarding:
        break;
    }
    return std::string(entry.subNumber == 1 ? "first" : "second") + " node guarding state register (" +
           entry.file + ")";
}

} // namespace

std::vector<RegisterClaim> claimsOfRegisterMap(const std::vector<RegisterMapEntry>& map)
{
    std::vector<const RegisterMapEntry*> ordered;
    ordered.reserve(map.size());
    for (const RegisterMapEntry& entry : map)
        ordered.push_back(&entry);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const RegisterMapEntry* a, const RegisterMapEntry* b) {
                         const int rankA = claimRank(*a);
                         const int rankB = claimRank(*b);
                         return std::tie(a->reg, rankA, a->rowNumber, a->subNumber) <
                                std::tie(b->reg, rankB, b->rowNumber, b->subNumber);
                     });
    std::vector<RegisterClaim> claims;
    claims.reserve(ordered.size());
    for (const RegisterMapEntry* entry : ordered)
        claims.push_back({entry->reg, claimantText(*entry)});
    return claims;
}

std::vector<RegisterClaim> collectRegisterClaims(const ProjectFiles& files)
{
    return claimsOfRegisterMap(buildRegisterMap(files));
}

std::vector<RegisterConflict> findRegisterConflicts(const std::vector<RegisterClaim>& claims)
{
    std::map<std::uint16_t, std::vector<std::string>> byRegister;
    for (const RegisterClaim& c : claims)
        byRegister[c.reg].push_back(c.claimant);
    std::vector<RegisterConflict> conflicts;
    for (auto& [reg, claimants] : byRegister) {
        // One TPDO row claims each register of its block once; a row never conflicts with itself.
        if (claimants.size() > 1)
            conflicts.push_back({reg, std::move(claimants)});
    }
    return conflicts;
}

std::string describeConflict(const RegisterConflict& conflict)
{
    std::string text = "Register " + std::to_string(conflict.reg) + " is claimed by: ";
    for (std::size_t i = 0; i < conflict.claimants.size(); ++i) {
        if (i > 0)
            text += ", ";
        text += conflict.claimants[i];
    }
    return text;
}

std::vector<std::string> plainImageWarnings(const ProjectFiles& files)
{
    ProjectDocuments docs(files);
    return plainImageWarnings(docs);
}

std::vector<std::string> plainImageWarnings(ProjectDocuments& docs)
{
    std::vector<std::string> warnings;
    const pugi::xml_node root = docs.get(File::ParGen).root;
    if (!root)
        return warnings;
    const std::string timeoutText = childText(root, PG::kSdoTimeout);
    const std::int32_t timeout = textToInt(timeoutText, -1);
    if (timeout > 65535 && timeout <= 100000)
        warnings.push_back("ParGen.xml: the SDO client timeout " + std::to_string(timeout) +
                           " is cut to 16 bits in bank.bin (stored as " + std::to_string(timeout & 0xFFFF) +
                           "); set a timeout of 65535 ms or less");
    return warnings;
}

} // namespace setforge
