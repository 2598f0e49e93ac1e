#include "core/report/registermap.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <tuple>

#include "core/base/textint.h"
#include "core/base/xmlfile.h"
#include "core/image/compilestop.h"
#include "core/mapping/registerentry.h"
#include "core/tables/pargenfile.h"
#include "core/tables/sdoclienttable.h"

namespace setforge {

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

std::vector<FrameRow> pdoRows(const pugi::xml_node& root, const char* cobIdAttribute)
{
    std::vector<FrameRow> rows;
    forEachElement(root, [&](const pugi::xml_node& row, std::size_t) {
        rows.push_back({intValue(row.attribute(cobIdAttribute).value()), std::nullopt, "",
                        row.attribute("Mnemonic").value()});
    });
    return rows;
}

std::vector<FrameRow> emcyRows(const pugi::xml_node& root)
{
    std::vector<FrameRow> rows;
    forEachElement(root, [&](const pugi::xml_node& row, std::size_t) {
        FrameRow frame;
        frame.nodeId = intValue(row.attribute("ID_EMCY").value());
        if (frame.nodeId)
            frame.cobId = kEmcyCobIdBase + *frame.nodeId;
        if (const auto code = intValue(row.attribute("EMCY_Error_Code").value()))
            frame.object = hex4(static_cast<unsigned>(*code));
        frame.mnemonic = row.attribute("Mnemonic").value();
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
    forEachElement(root, [&](const pugi::xml_node& row, std::size_t i) {
        const SdoConfParts conf =
            splitSdoConf(static_cast<std::uint8_t>(textToInt(row.attribute("conf").value(), 0)));
        const RegisterAccess access = conf.readWrite ? RegisterAccess::ReadWrite : RegisterAccess::Read;
        RegisterMapEntry* entry =
            map.add(row.attribute("IndexA").value(), ClaimSource::Sdo, "sdo.xml", i + 1, access);
        if (!entry)
            return;
        entry->highByte = static_cast<int>(conf.hiByte);
        entry->lowByte = static_cast<int>(conf.loByte);
        entry->nodeId = intValue(row.attribute("devIDB").value());
        const auto index = intValue(row.attribute("IndexB").value());
        const auto sub = intValue(row.attribute("SubindexB").value());
        if (index && sub)
            entry->object = hex4(static_cast<unsigned>(*index)) + ":" + std::to_string(*sub);
        entry->mnemonic = row.attribute("mnemonico").value();
    });
}

// Without an Ethernet port a TPDO carries consecutive registers, two frame bytes each. As in the
// mapping editors' usual layout, a register's low byte is the earlier frame byte (CANopen data
// are little-endian); the last register of an odd Dimension has no high byte.
void addTpdoBlockClaims(MapBuilder& map, const pugi::xml_node& root, const std::vector<FrameRow>& frames)
{
    forEachElement(root, [&](const pugi::xml_node& row, std::size_t i) {
        const auto start = registerValue(row.attribute("SMA").value());
        const std::int32_t dimension = textToInt(row.attribute("Dimension").value(), -1);
        if (!start || dimension < 1 || dimension > 8)
            return;
        const std::int32_t registers = (dimension + 1) / 2;
        for (std::int32_t k = 0; k < registers && *start + k <= 65535; ++k) {
            RegisterMapEntry* entry =
                map.addRegister(static_cast<std::uint16_t>(*start + k), ClaimSource::Tpdo, "Transmit_Pdo.xml",
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

} // namespace

std::vector<RegisterMapEntry> buildRegisterMap(const ProjectFiles& files, std::vector<std::string>* errors)
{
    std::vector<RegisterMapEntry> entries;
    MapBuilder map(entries);

    pugi::xml_document sdo;
    addSdoClaims(map, loadXmlRoot(files.sdo, sdo, errors));

    pugi::xml_document rpdo;
    pugi::xml_document rpdoMap;
    const std::vector<FrameRow> rpdoFrames = pdoRows(loadXmlRoot(files.rpdoDef, rpdo, errors), "cobid");
    forEachElement(loadXmlRoot(files.sdoPdo, rpdoMap, errors), [&](const pugi::xml_node& row, std::size_t i) {
        const FrameRow* frame = namedFrame(rpdoFrames, row.attribute("nrpdo").value());
        if (!frame)
            return;
        if (RegisterMapEntry* entry = map.add(row.attribute("index").value(), ClaimSource::Rpdo, "sdopdo.xml",
                                              i + 1, RegisterAccess::Read))
            fillFrame(*entry, *frame, row.attribute("poscomp").value());
    });

    pugi::xml_document emcy;
    pugi::xml_document emcyWords;
    const std::vector<FrameRow> emcyFrames = emcyRows(loadXmlRoot(files.emcyDef, emcy, errors));
    forEachElement(
        loadXmlRoot(files.emcyWord, emcyWords, errors), [&](const pugi::xml_node& message, std::size_t i) {
            if (i >= emcyFrames.size())
                return;
            forEachElement(message, [&](const pugi::xml_node& word, std::size_t j) {
                RegisterMapEntry* entry = map.add(word.attribute("Dati_Word").value(), ClaimSource::Emcy,
                                                  "emcyword.xml", i + 1, RegisterAccess::Read);
                if (!entry)
                    return;
                entry->subNumber = j + 1;
                entry->row = std::to_string(i + 1) + "." + std::to_string(j + 1);
                fillFrame(*entry, emcyFrames[i], word.attribute("Dati_Byte").value());
            });
        });

    pugi::xml_document tpdo;
    const pugi::xml_node tpdoRoot = loadXmlRoot(files.transmitPdo, tpdo, errors);
    const std::vector<FrameRow> tpdoFrames = pdoRows(tpdoRoot, "COB-ID");
    if (readDeviceType(files.parGen) == 0)
        addTpdoBlockClaims(map, tpdoRoot, tpdoFrames);
    pugi::xml_document tpdoMap;
    forEachElement(
        loadXmlRoot(files.transmitPdoDefine, tpdoMap, errors), [&](const pugi::xml_node& row, std::size_t i) {
            const FrameRow* frame = namedFrame(tpdoFrames, row.attribute("NrPdo").value());
            if (!frame)
                return;
            if (RegisterMapEntry* entry = map.add(row.attribute("Index").value(), ClaimSource::Tpdo,
                                                  "Transmit_PDO_Define.xml", i + 1, RegisterAccess::Write))
                fillFrame(*entry, *frame, row.attribute("PosComp").value());
        });

    pugi::xml_document parGen;
    const pugi::xml_node root = loadXmlRoot(files.parGen, parGen, errors);
    const pugi::xml_node startOnModbus = childElement(root, "network_start_modbus");
    if (std::string(startOnModbus.attribute("start").value()) == "true")
        map.add(nextElement(startOnModbus).attribute("address").value(), ClaimSource::NetworkStart,
                "ParGen.xml", 0, RegisterAccess::Write);
    const pugi::xml_node guard = childElement(root, "send_frame_nodeguard");
    if (std::string(guard.attribute("enable").value()) == "true") {
        // The two state registers are told apart by their order: first, then second.
        if (RegisterMapEntry* first =
                map.add(guard.attribute("add_word_1").value(), ClaimSource::NodeGuarding, "ParGen.xml", 0,
                        RegisterAccess::Read))
            first->subNumber = 1;
        if (RegisterMapEntry* second =
                map.add(guard.attribute("add_word_2").value(), ClaimSource::NodeGuarding, "ParGen.xml", 0,
                        RegisterAccess::Read))
            second->subNumber = 2;
    }

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
