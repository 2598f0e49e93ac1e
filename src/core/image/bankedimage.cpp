#include "core/image/bankedimage.h"

#include <cstdint>
#include <string>

#include "core/base/textint.h"
#include "core/image/compilestop.h"
#include "core/image/imagetext.h"
#include "core/mapping/mappingformat.h"
#include "core/tables/emcyaccesstable.h"
#include "core/tables/nodeguardtable.h"
#include "core/tables/pdoreceivetable.h"
#include "core/tables/pdotransmittable.h"
#include "core/tables/sdoclienttable.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

namespace {

using File = ProjectDocuments::File;

// Blanks around a hand-edited number are read past as the plain image does, so that both
// images compiled from one file agree ("101 " is 101 in each, not the default in one).
std::uint32_t value(const pugi::xml_node& row, const char* name, std::int32_t def)
{
    return static_cast<std::uint32_t>(textToInt(trimBlanks(row.attribute(name).value()), def));
}

// The cell of `column` as the row of `table` holds it, with the table's default for the image.
std::uint32_t cell(const pugi::xml_node& row, const TableDefinition& table, int column)
{
    return value(row, table.attributeOf(column), table.imageDefaultOf(column));
}

// A mapping entry's attribute of `field`, or `def`.
std::uint32_t mapValue(const pugi::xml_node& entry, const MappingFormat& format, MapField field,
                       std::int32_t def)
{
    return value(entry, format.attributeName(field), def);
}

// A mapping entry's register when its attribute is missing or not a number.
constexpr std::int32_t kMappedRegisterDefault = 100;

bool upperIsY(const pugi::xml_node& row, const char* name)
{
    const std::string text = row.attribute(name).value();
    return text == "Y" || text == "y";
}

// The 0-based PDO position a mapping row names, or -1 when it names none of `count` PDOs.
std::int64_t pdoPosition(const pugi::xml_node& row, const char* name, std::uint32_t count)
{
    const std::int64_t p =
        static_cast<std::int64_t>(textToInt(trimBlanks(row.attribute(name).value()), -1)) - 1;
    return (p < 0 || p >= static_cast<std::int64_t>(count)) ? -1 : p;
}

std::uint32_t high(std::uint32_t selector)
{
    return (selector >> 4) & 15u;
}

std::uint32_t low(std::uint32_t selector)
{
    return selector & 15u;
}

void readTables(ProjectDocuments& docs, TableArea& area)
{
    const auto& sdo = readProjectFile(docs, File::Sdo);
    const TableDefinition& sdoTable = sdoClientTable();
    if (sdo.exists)
        forEachElement(sdo.root, [&](const pugi::xml_node& row, std::size_t) {
            using namespace SdoColumn;
            area.append(BankTable::Sdo, {cell(row, sdoTable, Address), value(row, kSdoConfAttribute, 0),
                                         cell(row, sdoTable, DeviceId), cell(row, sdoTable, Index),
                                         cell(row, sdoTable, SubIndex), cell(row, sdoTable, NByte)});
        });

    const auto& rpdo = readProjectFile(docs, File::RpdoDef);
    const TableDefinition& rpdoTable = pdoReceiveTable();
    if (rpdo.exists)
        forEachElement(rpdo.root, [&](const pugi::xml_node& row, std::size_t) {
            using namespace RpdoColumn;
            area.append(BankTable::Rpdo, {cell(row, rpdoTable, Timeout), cell(row, rpdoTable, CobId),
                                          cell(row, rpdoTable, Dimension)});
        });

    const std::uint32_t rpdoCount = area.wanted(BankTable::Rpdo);
    if (rpdoCount > 0) {
        const auto& mapping = readProjectFile(docs, File::SdoPdo);
        if (mapping.exists)
            forEachElement(mapping.root, [&](const pugi::xml_node& row, std::size_t) {
                const MappingFormat& format = kReceivePdoMapping;
                const std::int64_t p =
                    pdoPosition(row, format.attributeName(MapField::FrameNumber), rpdoCount);
                if (p < 0)
                    return;
                const std::uint32_t selector = mapValue(row, format, MapField::Selector, 0);
                area.append(BankTable::RpdoMapping,
                            {mapValue(row, format, MapField::Index, kMappedRegisterDefault), high(selector),
                             low(selector), static_cast<std::uint32_t>(p)});
            });
    }

    const auto& tpdo = readProjectFile(docs, File::TransmitPdo);
    const TableDefinition& tpdoTable = pdoTransmitTable();
    if (tpdo.exists)
        forEachElement(tpdo.root, [&](const pugi::xml_node& row, std::size_t) {
            using namespace TpdoColumn;
            const std::uint32_t timer =
                upperIsY(row, tpdoTable.attributeOf(OnTimer)) ? cell(row, tpdoTable, Timer) : 0;
            area.append(BankTable::Tpdo, {timer, cell(row, tpdoTable, CobId), cell(row, tpdoTable, Dimension),
                                          upperIsY(row, tpdoTable.attributeOf(OnChange)) ? 1u : 0u});
        });

    const std::uint32_t tpdoCount = area.wanted(BankTable::Tpdo);
    if (tpdoCount > 0) {
        const auto& mapping = readProjectFile(docs, File::TransmitPdoDefine);
        if (mapping.exists)
            forEachElement(mapping.root, [&](const pugi::xml_node& row, std::size_t) {
                const MappingFormat& format = kTransmitPdoMapping;
                const std::int64_t p =
                    pdoPosition(row, format.attributeName(MapField::FrameNumber), tpdoCount);
                if (p < 0)
                    return;
                const std::uint32_t selector = mapValue(row, format, MapField::Selector, 0);
                area.append(BankTable::TpdoMapping,
                            {mapValue(row, format, MapField::Index, kMappedRegisterDefault), high(selector),
                             low(selector), static_cast<std::uint32_t>(p),
                             mapValue(row, format, MapField::Write, 0)});
            });
    }

    const auto& guard = readProjectFile(docs, File::NodeGuard);
    const TableDefinition& guardTable = nodeGuardTable();
    if (guard.exists)
        forEachElement(guard.root, [&](const pugi::xml_node& row, std::size_t) {
            using namespace NodeGuardColumn;
            area.append(BankTable::NodeGuarding,
                        {cell(row, guardTable, GuardTime), cell(row, guardTable, NodeId),
                         cell(row, guardTable, LifeTimeFactor)});
        });

    const auto& emcy = readProjectFile(docs, File::EmcyDef);
    const TableDefinition& emcyTable = emcyAccessTable();
    if (emcy.exists)
        forEachElement(emcy.root, [&](const pugi::xml_node& row, std::size_t) {
            using namespace EmcyColumn;
            area.append(BankTable::Emcy, {cell(row, emcyTable, ErrorCode), cell(row, emcyTable, DeviceId),
                                          cell(row, emcyTable, ErrorRegister)});
        });

    const std::uint32_t emcyCount = area.wanted(BankTable::Emcy);
    if (emcyCount > 0) {
        const auto& words = readProjectFile(docs, File::EmcyWord);
        if (words.exists)
            forEachElement(words.root, [&](const pugi::xml_node& message, std::size_t i) {
                if (i >= emcyCount)
                    return;
                forEachElement(message, [&](const pugi::xml_node& word, std::size_t) {
                    const MappingFormat& format = kEmergencyMapping;
                    const std::uint32_t selector = mapValue(word, format, MapField::Selector, 0);
                    area.append(BankTable::EmcyWord,
                                {mapValue(word, format, MapField::Index, kMappedRegisterDefault),
                                 high(selector), low(selector), static_cast<std::uint32_t>(i)});
                });
            });
    }
}

} // namespace

std::string tooManyEntriesMessage(const char* tableName, std::size_t wanted, std::size_t capacity)
{
    return "Too many entries in the " + std::string(tableName) + ": " + std::to_string(wanted) +
           " (at most " + std::to_string(capacity) + ")";
}

BankedImage compileBankedImage(ProjectDocuments& docs)
{
    BankedImage image;
    image.parameters.setDefaults();
    image.tables.clear();
    const auto& parGen = readProjectFile(docs, File::ParGen);
    if (parGen.exists)
        image.deviceType = image.parameters.readParGen(parGen.root);
    readTables(docs, image.tables);
    for (const TableLayout& layout : tableLayouts()) {
        // Dropping entries would leave the device with a table the user never made.
        if (image.tables.wanted(layout.table) > layout.capacity)
            throw CompileStopped{
                tooManyEntriesMessage(layout.name, image.tables.wanted(layout.table), layout.capacity)};
        image.parameters.setTableCount(layout.directoryEntry, image.tables.count(layout.table));
    }
    image.parameters.pack();
    return image;
}

} // namespace setforge
