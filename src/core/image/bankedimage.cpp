#include "core/image/bankedimage.h"

#include <cstdint>
#include <string>

#include "core/base/textint.h"
#include "core/image/compilestop.h"
#include "core/image/imagetext.h"

namespace setforge {

namespace {

using File = ProjectDocuments::File;

// Blanks around a hand-edited number are read past as the plain image does, so that both
// images compiled from one file agree ("101 " is 101 in each, not the default in one).
std::uint32_t value(const pugi::xml_node& row, const char* name, std::int32_t def)
{
    return static_cast<std::uint32_t>(textToInt(trimBlanks(row.attribute(name).value()), def));
}

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
    if (sdo.exists)
        forEachElement(sdo.root, [&](const pugi::xml_node& row, std::size_t) {
            area.append(BankTable::Sdo,
                        {value(row, "IndexA", 0), value(row, "conf", 0), value(row, "devIDB", 0),
                         value(row, "IndexB", 0), value(row, "SubindexB", 0), value(row, "nbyteB", 0)});
        });

    const auto& rpdo = readProjectFile(docs, File::RpdoDef);
    if (rpdo.exists)
        forEachElement(rpdo.root, [&](const pugi::xml_node& row, std::size_t) {
            area.append(BankTable::Rpdo,
                        {value(row, "TimeOut", 0), value(row, "cobid", 385), value(row, "dimension", 8)});
        });

    const std::uint32_t rpdoCount = area.wanted(BankTable::Rpdo);
    if (rpdoCount > 0) {
        const auto& mapping = readProjectFile(docs, File::SdoPdo);
        if (mapping.exists)
            forEachElement(mapping.root, [&](const pugi::xml_node& row, std::size_t) {
                const std::int64_t p = pdoPosition(row, "nrpdo", rpdoCount);
                if (p < 0)
                    return;
                const std::uint32_t selector = value(row, "poscomp", 0);
                area.append(BankTable::RpdoMapping, {value(row, "index", 100), high(selector), low(selector),
                                                     static_cast<std::uint32_t>(p)});
            });
    }

    const auto& tpdo = readProjectFile(docs, File::TransmitPdo);
    if (tpdo.exists)
        forEachElement(tpdo.root, [&](const pugi::xml_node& row, std::size_t) {
            const std::uint32_t timer = upperIsY(row, "OnTimer") ? value(row, "Timer", 0) : 0;
            area.append(BankTable::Tpdo, {timer, value(row, "COB-ID", 513), value(row, "Dimension", 8),
                                          upperIsY(row, "OnChange") ? 1u : 0u});
        });

    const std::uint32_t tpdoCount = area.wanted(BankTable::Tpdo);
    if (tpdoCount > 0) {
        const auto& mapping = readProjectFile(docs, File::TransmitPdoDefine);
        if (mapping.exists)
            forEachElement(mapping.root, [&](const pugi::xml_node& row, std::size_t) {
                const std::int64_t p = pdoPosition(row, "NrPdo", tpdoCount);
                if (p < 0)
                    return;
                const std::uint32_t selector = value(row, "PosComp", 0);
                area.append(BankTable::TpdoMapping,
                            {value(row, "Index", 100), high(selector), low(selector),
                             static_cast<std::uint32_t>(p), value(row, "Send_on_Write", 0)});
            });
    }

    const auto& guard = readProjectFile(docs, File::NodeGuard);
    if (guard.exists)
        forEachElement(guard.root, [&](const pugi::xml_node& row, std::size_t) {
            area.append(BankTable::NodeGuarding, {value(row, "GuardTime", 1000), value(row, "NodeID", 1),
                                                  value(row, "LifeTimeFactor", 4)});
        });

    const auto& emcy = readProjectFile(docs, File::EmcyDef);
    if (emcy.exists)
        forEachElement(emcy.root, [&](const pugi::xml_node& row, std::size_t) {
            area.append(BankTable::Emcy, {value(row, "EMCY_Error_Code", 258), value(row, "ID_EMCY", 1),
                                          value(row, "Error_Register", 1)});
        });

    const std::uint32_t emcyCount = area.wanted(BankTable::Emcy);
    if (emcyCount > 0) {
        const auto& words = readProjectFile(docs, File::EmcyWord);
        if (words.exists)
            forEachElement(words.root, [&](const pugi::xml_node& message, std::size_t i) {
                if (i >= emcyCount)
                    return;
                forEachElement(message, [&](const pugi::xml_node& word, std::size_t) {
                    const std::uint32_t selector = value(word, "Dati_Byte", 0);
                    area.append(BankTable::EmcyWord, {value(word, "Dati_Word", 100), high(selector),
                                                      low(selector), static_cast<std::uint32_t>(i)});
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
