#include "core/image/registerconflicts.h"

#include <map>
#include <optional>

#include "core/base/devicevariant.h"
#include "core/base/textint.h"
#include "core/base/xmlfile.h"
#include "core/image/compilestop.h"
#include "core/tables/pargenelements.h"
#include "core/tables/pargenfile.h"

namespace setforge {

namespace PG = ParGenName;

namespace {

std::optional<std::uint16_t> registerValue(std::string_view text)
{
    const std::int32_t v = textToInt(text, -1);
    if (v < 0 || v > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(v);
}

std::string rowText(const char* table, const char* file, std::size_t row)
{
    return std::string(table) + " (" + file + " row " + std::to_string(row + 1) + ")";
}

} // namespace

std::vector<RegisterClaim> collectRegisterClaims(const ProjectFiles& files, std::vector<std::string>* errors)
{
    std::vector<RegisterClaim> claims;
    const auto claim = [&claims](std::string_view text, std::string claimant) {
        if (const auto reg = registerValue(text))
            claims.push_back({*reg, std::move(claimant)});
    };

    pugi::xml_document sdo;
    forEachElement(loadXmlRoot(files.sdo, sdo, errors), [&](const pugi::xml_node& row, std::size_t i) {
        claim(row.attribute("IndexA").value(), rowText("SDO table", "sdo.xml", i));
    });

    pugi::xml_document rpdo;
    pugi::xml_document rpdoMap;
    const std::size_t rpdoCount = countElements(loadXmlRoot(files.rpdoDef, rpdo, errors));
    forEachElement(loadXmlRoot(files.sdoPdo, rpdoMap, errors), [&](const pugi::xml_node& row, std::size_t i) {
        const std::int32_t n = textToInt(row.attribute("nrpdo").value(), -1);
        if (n >= 1 && static_cast<std::size_t>(n) <= rpdoCount)
            claim(row.attribute("index").value(), rowText("RPDO mapping", "sdopdo.xml", i));
    });

    pugi::xml_document emcy;
    pugi::xml_document emcyWords;
    const std::size_t emcyCount = countElements(loadXmlRoot(files.emcyDef, emcy, errors));
    forEachElement(loadXmlRoot(files.emcyWord, emcyWords, errors),
                   [&](const pugi::xml_node& message, std::size_t i) {
                       if (i >= emcyCount)
                           return;
                       forEachElement(message, [&](const pugi::xml_node& word, std::size_t j) {
                           claim(word.attribute("Dati_Word").value(), "EMCY words (emcyword.xml emergency " +
                                                                          std::to_string(i + 1) + " word " +
                                                                          std::to_string(j + 1) + ")");
                       });
                   });

    const int deviceType = readDeviceType(files.parGen);
    pugi::xml_document tpdo;
    const pugi::xml_node tpdoRoot = loadXmlRoot(files.transmitPdo, tpdo, errors);
    if (!hasEthernet(variantForSteps(deviceType)))
        forEachElement(tpdoRoot, [&](const pugi::xml_node& row, std::size_t i) {
            const auto start = registerValue(row.attribute("SMA").value());
            const std::int32_t dimension = textToInt(row.attribute("Dimension").value(), -1);
            if (!start || dimension < 1 || dimension > 8)
                return;
            const std::int32_t registers = (dimension + 1) / 2;
            for (std::int32_t k = 0; k < registers && *start + k <= 65535; ++k)
                claims.push_back({static_cast<std::uint16_t>(*start + k),
                                  rowText("TPDO register block", "Transmit_Pdo.xml", i)});
        });
    const std::size_t tpdoCount = countElements(tpdoRoot);
    pugi::xml_document tpdoMap;
    forEachElement(
        loadXmlRoot(files.transmitPdoDefine, tpdoMap, errors), [&](const pugi::xml_node& row, std::size_t i) {
            const std::int32_t n = textToInt(row.attribute("NrPdo").value(), -1);
            if (n >= 1 && static_cast<std::size_t>(n) <= tpdoCount)
                claim(row.attribute("Index").value(), rowText("TPDO mapping", "Transmit_PDO_Define.xml", i));
        });

    pugi::xml_document parGen;
    const pugi::xml_node root = loadXmlRoot(files.parGen, parGen, errors);
    const pugi::xml_node startOnModbus = childElement(root, PG::kNetworkStartModbus);
    if (std::string(startOnModbus.attribute(PG::kStart).value()) == "true")
        claim(nextElement(startOnModbus).attribute(PG::kAddress).value(),
              "network start register (ParGen.xml)");
    const pugi::xml_node guard = childElement(root, PG::kNodeGuardFrame);
    if (std::string(guard.attribute(PG::kGuardEnable).value()) == "true") {
        claim(guard.attribute(PG::kGuardRegister1).value(),
              "first node guarding state register (ParGen.xml)");
        claim(guard.attribute(PG::kGuardRegister2).value(),
              "second node guarding state register (ParGen.xml)");
    }
    return claims;
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
    std::vector<std::string> warnings;
    pugi::xml_document doc;
    const pugi::xml_node root = loadXmlRoot(files.parGen, doc, nullptr);
    if (!root)
        return warnings;
    const std::string timeoutText = childText(root, PG::kSdoTimeout);
    const std::int32_t timeout = textToInt(timeoutText, -1);
    if (timeout > 65535 && timeout <= 100000)
        warnings.push_back("ParGen.xml: the SDO client timeout " + std::to_string(timeout) +
                           " is cut to 16 bits in bank.bin (stored as " + std::to_string(timeout & 0xFFFF) +
                           ")");
    return warnings;
}

} // namespace setforge
