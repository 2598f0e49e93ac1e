#include "core/image/registermap.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <tuple>

#include "core/base/devicevariant.h"
#include "core/base/textint.h"
#include "core/base/xmlfile.h"
#include "core/mapping/mappingformat.h"
#include "core/mapping/registerentry.h"
#include "core/tables/emcyaccesstable.h"
#include "core/tables/pargenelements.h"
#include "core/tables/pdoreceivetable.h"
#include "core/tables/pdotransmittable.h"
#include "core/tables/sdoclienttable.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

namespace PG = ParGenName;
using File = ProjectDocuments::File;

namespace {

constexpr int kEmcyCobIdBase = 0x80;

std::optional<std::uint16_t> registerValue(std::string_view text)
{
    const std::int32_t v = textToInt(text, -1);
    if (v < 0 || v > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(v);
}

std::optional<int> intValue(std::string_view text)
{
    const std::int32_t v = textToInt(text, -1);
    if (v < 0)
        return std::nullopt;
    return v;
}

// A PDO or emergency row as the mappings see it, by its 1-based position.
struct FrameRow {
    std::optional<int> cobId;
    std::optional<int> nodeId;
    std::string object;
    std::string mnemonic;
};

std::vector<FrameRow> pdoRows(const pugi::xml_node& root, const TableDefinition& table, int cobIdColumn,
                              int mnemonicColumn)
{
    std::vector<FrameRow> rows;
    forEachElement(root, [&](const pugi::xml_node& row, std::size_t) {
        rows.push_back({intValue(row.attribute(table.attributeOf(cobIdColumn)).value()), std::nullopt, "",
                        row.attribute(table.attributeOf(mnemonicColumn)).value()});
    });
    return rows;
}

std::vector<FrameRow> emcyRows(const pugi::xml_node& root)
{
    std::vector<FrameRow> rows;
    const TableDefinition& table = emcyAccessTable();
    forEachElement(root, [&](const pugi::xml_node& row, std::size_t) {
        FrameRow frame;
        frame.nodeId = intValue(row.attribute(table.attributeOf(EmcyColumn::DeviceId)).value());
        if (frame.nodeId)
            frame.cobId = kEmcyCobIdBase + *frame.nodeId;
        if (const auto code = intValue(row.attribute(table.attributeOf(EmcyColumn::ErrorCode)).value()))
            frame.object = hex4(static_cast<unsigned>(*code));
        frame.mnemonic = row.attribute(table.attributeOf(EmcyColumn::Mnemonic)).value();
        rows.push_back(std::move(frame));
    });
    return rows;
}

// The frame a mapping row names by its 1-based number, or nullptr when there is none.
const FrameRow* namedFrame(const std::vector<FrameRow>& frames, std::string_view number)
{
    const std::int32_t n = textToInt(number, -1);
    if (n < 1 || static_cast<std::size_t>(n) > frames.size())
        return nullptr;
    return &frames[static_cast<std::size_t>(n) - 1];
}

class MapBuilder {
public:
    explicit MapBuilder(std::vector<RegisterMapEntry>& entries) : m_entries(entries) {}

    // Adds an entry when `text` is a register; the entry is returned for the caller to fill.
    RegisterMapEntry* add(std::string_view text, ClaimSource source, const char* file, std::size_t row,
                          RegisterAccess access)
    {
        const auto reg = registerValue(text);
        if (!reg)
            return nullptr;
        return addRegister(*reg, source, file, row, access);
    }

    RegisterMapEntry* addRegister(std::uint16_t reg, ClaimSource source, const char* file, std::size_t row,
                                  RegisterAccess access)
    {
        RegisterMapEntry entry;
        entry.reg = reg;
        entry.source = source;
        entry.file = file;
        entry.rowNumber = row;
        entry.row = row == 0 ? std::string() : std::to_string(row);
        entry.access = access;
        m_entries.push_back(std::move(entry));
        return &m_entries.back();
    }

private:
    std::vector<RegisterMapEntry>& m_entries;
};

void fillFrame(RegisterMapEntry& entry, const FrameRow& frame, std::string_view selector)
{
    unpackByteSelector(textToInt(selector, 0), entry.highByte, entry.lowByte);
    entry.cobId = frame.cobId;
    entry.nodeId = frame.nodeId;
    entry.object = frame.object;
    entry.mnemonic = frame.mnemonic;
}

void addSdoClaims(MapBuilder& map, const pugi::xml_node& root)
{
    const TableDefinition& table = sdoClientTable();
    const auto text = [&table](const pugi::xml_node& row, int column) {
        return row.attribute(table.attributeOf(column)).value();
    };
    forEachElement(root, [&](const pugi::xml_node& row, std::size_t i) {
        const SdoConfParts conf =
            splitSdoConf(static_cast<std::uint8_t>(textToInt(row.attribute(kSdoConfAttribute).value(), 0)));
        const RegisterAccess access = conf.readWrite ? RegisterAccess::ReadWrite : RegisterAccess::Read;
        RegisterMapEntry* entry =
            map.add(text(row, SdoColumn::Address), ClaimSource::Sdo, table.fileName, i + 1, access);
        if (!entry)
            return;
        entry->highByte = static_cast<int>(conf.hiByte);
        entry->lowByte = static_cast<int>(conf.loByte);
        entry->nodeId = intValue(text(row, SdoColumn::DeviceId));
        const auto index = intValue(text(row, SdoColumn::Index));
        const auto sub = intValue(text(row, SdoColumn::SubIndex));
        if (index && sub)
            entry->object = hex4(static_cast<unsigned>(*index)) + ":" + std::to_string(*sub);
        entry->mnemonic = text(row, SdoColumn::Mnemonic);
    });
}

// Without an Ethernet port a TPDO carries consecutive registers, two frame bytes each. As in the
// mapping editors' usual layout, a register's low byte is the earlier frame byte (CANopen data
// are little-endian); the last register of an odd Dimension has no high byte.
void addTpdoBlockClaims(MapBuilder& map, const pugi::xml_node& root, const std::vector<FrameRow>& frames)
{
    const TableDefinition& table = pdoTransmitTable();
    forEachElement(root, [&](const pugi::xml_node& row, std::size_t i) {
        const auto start = registerValue(row.attribute(table.attributeOf(TpdoColumn::AddressStart)).value());
        const std::int32_t dimension =
            textToInt(row.attribute(table.attributeOf(TpdoColumn::Dimension)).value(), -1);
        if (!start || dimension < 1 || dimension > 8)
            return;
        const std::int32_t registers = (dimension + 1) / 2;
        for (std::int32_t k = 0; k < registers && *start + k <= 65535; ++k) {
            RegisterMapEntry* entry =
                map.addRegister(static_cast<std::uint16_t>(*start + k), ClaimSource::Tpdo, table.fileName,
                                i + 1, RegisterAccess::Write);
            entry->lowByte = 2 * k + 1;
            entry->highByte = 2 * k + 2 <= dimension ? 2 * k + 2 : 0;
            entry->cobId = frames[i].cobId;
            entry->mnemonic = frames[i].mnemonic;
        }
    });
}

void markConflicts(std::vector<RegisterMapEntry>& entries)
{
    std::map<std::uint16_t, std::size_t> counts;
    for (const RegisterMapEntry& e : entries)
        ++counts[e.reg];
    for (RegisterMapEntry& e : entries)
        e.conflict = counts[e.reg] > 1;
}

// The mapping rows of `format` that name an existing frame, each claiming its register.
void addMappingClaims(MapBuilder& map, const pugi::xml_node& root, const MappingFormat& format,
                      ClaimSource source, const char* fileName, RegisterAccess access,
                      const std::vector<FrameRow>& frames)
{
    const char* frameNumber = format.attributeName(MapField::FrameNumber);
    const char* index = format.attributeName(MapField::Index);
    const char* selector = format.attributeName(MapField::Selector);
    forEachElement(root, [&](const pugi::xml_node& row, std::size_t i) {
        const FrameRow* frame = namedFrame(frames, row.attribute(frameNumber).value());
        if (!frame)
            return;
        if (RegisterMapEntry* entry = map.add(row.attribute(index).value(), source, fileName, i + 1, access))
            fillFrame(*entry, *frame, row.attribute(selector).value());
    });
}

void addEmcyWordClaims(MapBuilder& map, const pugi::xml_node& root, const std::vector<FrameRow>& frames)
{
    const char* fileName = ProjectDocuments::fileName(File::EmcyWord);
    const char* index = kEmergencyMapping.attributeName(MapField::Index);
    const char* selector = kEmergencyMapping.attributeName(MapField::Selector);
    forEachElement(root, [&](const pugi::xml_node& message, std::size_t i) {
        if (i >= frames.size())
            return;
        forEachElement(message, [&](const pugi::xml_node& word, std::size_t j) {
            RegisterMapEntry* entry = map.add(word.attribute(index).value(), ClaimSource::Emcy, fileName,
                                              i + 1, RegisterAccess::Read);
            if (!entry)
                return;
            entry->subNumber = j + 1;
            entry->row = std::to_string(i + 1) + "." + std::to_string(j + 1);
            fillFrame(*entry, frames[i], word.attribute(selector).value());
        });
    });
}

void addParGenClaims(MapBuilder& map, const pugi::xml_node& root)
{
    const char* fileName = ProjectDocuments::fileName(File::ParGen);
    const pugi::xml_node startOnModbus = childElement(root, PG::kNetworkStartModbus);
    if (std::string(startOnModbus.attribute(PG::kStart).value()) == "true")
        map.add(nextElement(startOnModbus).attribute(PG::kAddress).value(), ClaimSource::NetworkStart,
                fileName, 0, RegisterAccess::Write);
    const pugi::xml_node guard = childElement(root, PG::kNodeGuardFrame);
    if (std::string(guard.attribute(PG::kGuardEnable).value()) == "true") {
        // The two state registers are told apart by their order: first, then second.
        if (RegisterMapEntry* first = map.add(guard.attribute(PG::kGuardRegister1).value(),
                                              ClaimSource::NodeGuarding, fileName, 0, RegisterAccess::Read))
            first->subNumber = 1;
        if (RegisterMapEntry* second = map.add(guard.attribute(PG::kGuardRegister2).value(),
                                               ClaimSource::NodeGuarding, fileName, 0, RegisterAccess::Read))
            second->subNumber = 2;
    }
}

} // namespace

std::vector<RegisterMapEntry> buildRegisterMap(ProjectDocuments& docs)
{
    std::vector<RegisterMapEntry> entries;
    MapBuilder map(entries);
    // Files that cannot be read have an empty root here and claim nothing.
    const auto root = [&docs](File file) { return docs.get(file).root; };

    addSdoClaims(map, root(File::Sdo));

    const TableDefinition& rpdoTable = pdoReceiveTable();
    const std::vector<FrameRow> rpdoFrames =
        pdoRows(root(File::RpdoDef), rpdoTable, RpdoColumn::CobId, RpdoColumn::Mnemonic);
    addMappingClaims(map, root(File::SdoPdo), kReceivePdoMapping, ClaimSource::Rpdo,
                     ProjectDocuments::fileName(File::SdoPdo), RegisterAccess::Read, rpdoFrames);

    addEmcyWordClaims(map, root(File::EmcyWord), emcyRows(root(File::EmcyDef)));

    const pugi::xml_node parGen = root(File::ParGen);
    const int deviceType = textToInt(elementText(childElement(parGen, PG::kDeviceType)), 0);
    const pugi::xml_node tpdoRoot = root(File::TransmitPdo);
    const std::vector<FrameRow> tpdoFrames =
        pdoRows(tpdoRoot, pdoTransmitTable(), TpdoColumn::CobId, TpdoColumn::Mnemonic);
    // Without an Ethernet port a transmit PDO sends its register block, and bank.bin has no TPDO
    // mapping: Transmit_PDO_Define.xml claims nothing then (the project warnings call it unused).
    if (!hasEthernet(variantForSteps(deviceType)))
        addTpdoBlockClaims(map, tpdoRoot, tpdoFrames);
    else
        addMappingClaims(map, root(File::TransmitPdoDefine), kTransmitPdoMapping, ClaimSource::Tpdo,
                         ProjectDocuments::fileName(File::TransmitPdoDefine), RegisterAccess::Write,
                         tpdoFrames);

    addParGenClaims(map, parGen);

    std::stable_sort(entries.begin(), entries.end(),
                     [](const RegisterMapEntry& a, const RegisterMapEntry& b) {
                         // Equal keys keep the order of the files: a TPDO register block before the TPDO
                         // mapping.
                         return std::tie(a.reg, a.source, a.rowNumber, a.subNumber) <
                                std::tie(b.reg, b.source, b.rowNumber, b.subNumber);
                     });
    markConflicts(entries);
    return entries;
}

std::vector<RegisterMapEntry> buildRegisterMap(const ProjectFiles& files)
{
    ProjectDocuments docs(files);
    return buildRegisterMap(docs);
}

const char* claimSourceName(ClaimSource source)
{
    switch (source) {
    case ClaimSource::Sdo:
        return "SDO";
    case ClaimSource::Rpdo:
        return "RPDO";
    case ClaimSource::Tpdo:
        return "TPDO";
    case ClaimSource::Emcy:
        return "EMCY";
    case ClaimSource::NodeGuarding:
        return "node guarding";
    case ClaimSource::NetworkStart:
        return "network start";
    }
    return "";
}

const char* registerAccessName(RegisterAccess access)
{
    switch (access) {
    case RegisterAccess::Read:
        return "read";
    case RegisterAccess::Write:
        return "write";
    case RegisterAccess::ReadWrite:
        return "read/write";
    }
    return "";
}

std::string hex4(unsigned value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

std::string hexCobId(unsigned value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%03X", value);
    return text;
}

} // namespace setforge
