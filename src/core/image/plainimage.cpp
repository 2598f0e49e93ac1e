#include "core/image/plainimage.h"

#include <algorithm>
#include <string>

#include "core/base/textint.h"
#include "core/base/xmlfile.h"
#include "core/image/compilestop.h"
#include "core/image/emcylists.h"
#include "core/image/imagetext.h"
#include "core/mapping/mappingformat.h"
#include "core/tables/nodeguardtable.h"
#include "core/tables/pargenelements.h"
#include "core/tables/pdoreceivetable.h"
#include "core/tables/pdotransmittable.h"
#include "core/tables/sdoclienttable.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

namespace PG = ParGenName;

namespace {

using FT = FieldType;
using File = ProjectDocuments::File;

constexpr Field kHeaderFields[] = {{"SDO section", 0, FT::U32LE},
                                   {"EMCY section", 4, FT::U32LE},
                                   {"EMCY word section", 8, FT::U32LE},
                                   {"RPDO section", 12, FT::U32LE},
                                   {"RPDO mapping section", 16, FT::U32LE},
                                   {"TPDO section", 20, FT::U32LE},
                                   {"node guarding section", 24, FT::U32LE},
                                   {"parameter section", 28, FT::U32LE}};
constexpr Field kSdoFields[] = {{kSdoConfAttribute, 0, FT::U8}, {"IndexA", 1, FT::U16BE},
                                {"devIDB", 3, FT::U8},          {"IndexB", 4, FT::U16BE},
                                {"SubindexB", 6, FT::U8},       {"nbyteB", 7, FT::U8}};
constexpr Field kRpdoFields[] = {{"cobid", 0, FT::U16BE}, {"dimension", 2, FT::U8}};
constexpr Field kRpdoMapFields[] = {{"index", 0, FT::U16BE}, {"nrpdo", 2, FT::U8}, {"poscomp", 3, FT::U8}};
constexpr Field kTpdoFields[] = {{"COB-ID", 0, FT::U16BE}, {"Dimension", 2, FT::U8}, {"SMA", 3, FT::U16BE}};
constexpr Field kNodeGuardFields[] = {
    {"NodeID", 0, FT::U8}, {"GuardTime", 1, FT::U16BE}, {"LifeTimeFactor", 3, FT::U8}};
constexpr Field kParameterFields[] = {{"CAN_id", 0, FT::U8},
                                      {"CAN_Baud (kbit/s)", 1, FT::U16BE},
                                      {"CAN_timeoutsdo", 3, FT::U16BE},
                                      {"M_baud", 5, FT::U8},
                                      {"M_parity", 6, FT::U8},
                                      {"serial interface (1 RS232)", 7, FT::U8},
                                      {"M_devid", 8, FT::U8},
                                      {"operational at start", 9, FT::U8},
                                      {"network start", 10, FT::U8},
                                      {"network start on Modbus", 11, FT::U8},
                                      {"network start register", 12, FT::U16BE},
                                      {"network start delay (s)", 14, FT::U8},
                                      {"node guarding", 15, FT::U8},
                                      {"node guarding register 1", 16, FT::U16BE},
                                      {"node guarding register 2", 18, FT::U16BE},
                                      {"Ser_Prot", 20, FT::U8},
                                      {"SDO count", 21, FT::U16LE},
                                      {"EMCY count", 23, FT::U16LE},
                                      {"EMCY word count", 25, FT::U16LE},
                                      {"RPDO count", 27, FT::U16LE},
                                      {"RPDO mapping count", 29, FT::U16LE},
                                      {"TPDO count", 31, FT::U16LE},
                                      {"node guarding count", 33, FT::U16LE},
                                      {"SYNC producer", 35, FT::U8},
                                      {"SYNC time (ms)", 36, FT::U32BE}};

std::string lowerAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

class PlainCompiler {
public:
    PlainCompiler(ProjectDocuments& docs, const MessageSink& sink) : m_docs(docs), m_sink(sink) {}

    PlainImage run()
    {
        m_image.bytes.assign(kPlainHeader.size, 0);
        startSection(PlainSection::Sdo);
        sdoSection();
        emcySections();
        startSection(PlainSection::Rpdo);
        rowSection(File::RpdoDef, "File definition RPDO xml not found", 3, [this](const pugi::xml_node& row) {
            // Each attribute is read in record order, so messages come in that order too.
            const TableDefinition& table = pdoReceiveTable();
            const std::uint32_t cobid = word(row, table.attributeOf(RpdoColumn::CobId));
            appendRecord(m_image.bytes, kPlainRpdoRecord,
                         {cobid, word(row, table.attributeOf(RpdoColumn::Dimension))});
        });
        startSection(PlainSection::RpdoMapping);
        rowSection(File::SdoPdo, "File RPDO xml not found", 4, [this](const pugi::xml_node& row) {
            const MappingFormat& format = kReceivePdoMapping;
            const std::uint32_t index = word(row, format.attributeName(MapField::Index));
            const std::uint32_t pdo = word(row, format.attributeName(MapField::FrameNumber));
            appendRecord(m_image.bytes, kPlainRpdoMapRecord,
                         {index, pdo, word(row, format.attributeName(MapField::Selector))});
        });
        startSection(PlainSection::Tpdo);
        rowSection(
            File::TransmitPdo, "File Transmit PDO xml not found", 5, [this](const pugi::xml_node& row) {
                const TableDefinition& table = pdoTransmitTable();
                const std::uint32_t cobid = word(row, table.attributeOf(TpdoColumn::CobId));
                const std::uint32_t dimension = word(row, table.attributeOf(TpdoColumn::Dimension));
                appendRecord(m_image.bytes, kPlainTpdoRecord,
                             {cobid, dimension, word(row, table.attributeOf(TpdoColumn::AddressStart))});
            });
        startSection(PlainSection::NodeGuarding);
        rowSection(File::NodeGuard, "File NodeGuard xml not found", 6, [this](const pugi::xml_node& row) {
            const TableDefinition& table = nodeGuardTable();
            const std::uint32_t node = word(row, table.attributeOf(NodeGuardColumn::NodeId));
            const std::uint32_t guardTime = word(row, table.attributeOf(NodeGuardColumn::GuardTime));
            appendRecord(m_image.bytes, kPlainNodeGuardRecord,
                         {node, guardTime, word(row, table.attributeOf(NodeGuardColumn::LifeTimeFactor))});
        });
        startSection(PlainSection::Parameters);
        parameterSection();
        if (m_image.bytes.size() > kPlainImageMaxSize)
            throw CompileStopped{
                "The configuration image bank.bin is too long: " + std::to_string(m_image.bytes.size()) +
                " bytes (at most " + std::to_string(kPlainImageMaxSize) + ")"};
        return std::move(m_image);
    }

private:
    void startSection(PlainSection section)
    {
        putField(m_image.bytes.data(), kPlainHeader.fields[static_cast<std::size_t>(section)],
                 static_cast<std::uint32_t>(m_image.bytes.size()));
    }

    std::uint32_t word(const pugi::xml_node& node, const char* name)
    {
        return textToWord(node.attribute(name).value(), m_sink);
    }

    void tell(const char* text) const
    {
        if (m_sink)
            m_sink({CompileMessage::Kind::Information, text});
    }

    void sdoSection()
    {
        const auto& sdo = readProjectFile(m_docs, File::Sdo);
        if (!sdo.exists)
            return;
        for (pugi::xml_node row : sdo.root.children()) {
            if (row.type() != pugi::node_element)
                continue;
            const TableDefinition& table = sdoClientTable();
            const pugi::xml_attribute conf = row.attribute(kSdoConfAttribute);
            // A present but empty conf ends the table, whatever follows it.
            if (conf && conf.value()[0] == '\0')
                break;
            const std::uint32_t c = word(row, kSdoConfAttribute);
            const std::uint32_t indexA = word(row, table.attributeOf(SdoColumn::Address));
            const std::uint32_t dev = word(row, table.attributeOf(SdoColumn::DeviceId));
            const std::uint32_t indexB = word(row, table.attributeOf(SdoColumn::Index));
            const std::uint32_t sub = word(row, table.attributeOf(SdoColumn::SubIndex));
            appendRecord(m_image.bytes, kPlainSdoRecord,
                         {c, indexA, dev, indexB, sub, word(row, table.attributeOf(SdoColumn::NByte))});
            ++m_image.counts[0];
        }
    }

    void emcySections()
    {
        startSection(PlainSection::Emcy);
        const auto& def = readProjectFile(m_docs, File::EmcyDef);
        EmcyLists lists;
        if (!def.exists) {
            tell("File EMCY xml not found");
        } else {
            const auto& words = readProjectFile(m_docs, File::EmcyWord);
            if (!words.exists)
                tell("File EMCY Word xml not found");
            else
                lists = buildEmcyLists(def.root, words.root);
        }
        const std::size_t emcyStart = m_image.bytes.size();
        appendEmcySections(m_image.bytes, lists);
        std::size_t wordStart = emcyStart;
        for (const EmcyMessage& message : lists.messages)
            wordStart += kEmcyMessageHead.size + kEmcyWordRef.size * message.words.size();
        putField(m_image.bytes.data(), kPlainHeader.fields[static_cast<std::size_t>(PlainSection::EmcyWord)],
                 static_cast<std::uint32_t>(wordStart));
        m_image.counts[1] = static_cast<std::uint32_t>(lists.messages.size());
        m_image.counts[2] = static_cast<std::uint32_t>(lists.words.size());
    }

    template <typename Record>
    void rowSection(File file, const char* missingMessage, std::size_t countIndex, Record&& record)
    {
        const auto& doc = readProjectFile(m_docs, file);
        if (!doc.exists) {
            tell(missingMessage);
            return;
        }
        forEachElement(doc.root, [&](const pugi::xml_node& row, std::size_t) {
            record(row);
            ++m_image.counts[countIndex];
        });
    }

    void parameterSection()
    {
        const auto& parGen = readProjectFile(m_docs, File::ParGen);
        if (!parGen.exists) {
            tell("File Parametres xml not found");
            return;
        }
        const pugi::xml_node root = parGen.root;
        const auto text = [&root](const char* name) { return std::string(root.child(name).text().get()); };
        const auto flag = [&root](const char* element, const char* attribute) -> std::uint32_t {
            return lowerAscii(root.child(element).attribute(attribute).value()) == "true" ? 1 : 0;
        };
        // Values of an element that may be missing as a whole: 0 then.
        const auto optionalWord = [this, &root](const char* element, const char* attribute) -> std::uint32_t {
            const pugi::xml_node node = root.child(element);
            if (!node)
                return 0;
            return attribute ? textToWord(node.attribute(attribute).value(), m_sink)
                             : textToWord(node.text().get(), m_sink);
        };

        const std::uint32_t canId = textToWord(text(PG::kCanId), m_sink);
        const std::uint32_t canBaud = textToWord(text(PG::kCanBaud), m_sink);
        const std::uint32_t sdoTimeout = textToWord(text(PG::kSdoTimeout), m_sink);
        const std::uint32_t serialBaud = textToWord(text(PG::kModbusBaud), m_sink);
        const std::uint32_t parity = textToWord(text(PG::kModbusParity), m_sink);
        const std::uint32_t serial = textToWord(text(PG::kModbusSerial), m_sink) == 1 ? 0 : 1;
        const std::uint32_t devId = textToWord(text(PG::kModbusId), m_sink);
        const std::uint32_t operational = flag(PG::kOperationalAtStart, PG::kStart);
        const std::uint32_t networkStart = flag(PG::kNetworkStart, PG::kStart);
        const pugi::xml_node startOnModbus = root.child(PG::kNetworkStartModbus);
        const std::uint32_t onModbus =
            std::string(startOnModbus.attribute(PG::kStart).value()) == "true" ? 1 : 0;
        // The register is on the element after the first one of that name; without one it reads
        // as an empty text.
        const pugi::xml_node registerElement = startOnModbus ? nextElement(startOnModbus) : pugi::xml_node();
        const std::uint32_t startRegister =
            textToWord(registerElement.attribute(PG::kAddress).value(), m_sink);
        const std::uint32_t delay = optionalWord(PG::kNetworkStartDelay, PG::kDelay);
        const std::uint32_t guarding = flag(PG::kNodeGuardFrame, PG::kGuardEnable);
        const std::uint32_t guardRegister1 = optionalWord(PG::kNodeGuardFrame, PG::kGuardRegister1);
        const std::uint32_t guardRegister2 = optionalWord(PG::kNodeGuardFrame, PG::kGuardRegister2);
        const std::uint32_t protocol = optionalWord(PG::kModbusProtocol, nullptr);
        const std::uint32_t syncOn = flag(PG::kSyncProducer, PG::kSyncEnable);
        const pugi::xml_node sync = root.child(PG::kSyncProducer);
        const std::uint32_t syncTime =
            sync ? static_cast<std::uint32_t>(textToInt(sync.attribute(PG::kSyncTime).value(), 1000)) : 1000;
        const auto& c = m_image.counts;
        appendRecord(m_image.bytes, kPlainParameters,
                     {canId,         canBaud, sdoTimeout,  serialBaud,     parity,
                      serial,        devId,   operational, networkStart,   onModbus,
                      startRegister, delay,   guarding,    guardRegister1, guardRegister2,
                      protocol,      c[0],    c[1],        c[2],           c[3],
                      c[4],          c[5],    c[6],        syncOn,         syncTime});
    }

    ProjectDocuments& m_docs;
    const MessageSink& m_sink;
    PlainImage m_image;
};

} // namespace

constexpr RecordLayout kPlainHeader{"header", kHeaderFields, 32};
constexpr RecordLayout kPlainSdoRecord{"SDO record", kSdoFields, 8};
constexpr RecordLayout kPlainRpdoRecord{"RPDO record", kRpdoFields, 3};
constexpr RecordLayout kPlainRpdoMapRecord{"RPDO mapping record", kRpdoMapFields, 4};
constexpr RecordLayout kPlainTpdoRecord{"TPDO record", kTpdoFields, 5};
constexpr RecordLayout kPlainNodeGuardRecord{"node guarding record", kNodeGuardFields, 4};
constexpr RecordLayout kPlainParameters{"parameter section", kParameterFields, 40};

// Every record holds its fields, none overlapping.
static_assert(fieldsFitRecord(kPlainHeader.fields, kPlainHeader.size),
              "kPlainHeader: fields overflow or overlap");
static_assert(fieldsFitRecord(kPlainSdoRecord.fields, kPlainSdoRecord.size),
              "kPlainSdoRecord: fields overflow or overlap");
static_assert(fieldsFitRecord(kPlainRpdoRecord.fields, kPlainRpdoRecord.size),
              "kPlainRpdoRecord: fields overflow or overlap");
static_assert(fieldsFitRecord(kPlainRpdoMapRecord.fields, kPlainRpdoMapRecord.size),
              "kPlainRpdoMapRecord: fields overflow or overlap");
static_assert(fieldsFitRecord(kPlainTpdoRecord.fields, kPlainTpdoRecord.size),
              "kPlainTpdoRecord: fields overflow or overlap");
static_assert(fieldsFitRecord(kPlainNodeGuardRecord.fields, kPlainNodeGuardRecord.size),
              "kPlainNodeGuardRecord: fields overflow or overlap");
static_assert(fieldsFitRecord(kPlainParameters.fields, kPlainParameters.size),
              "kPlainParameters: fields overflow or overlap");

PlainImage compilePlainImage(ProjectDocuments& docs, const MessageSink& sink)
{
    return PlainCompiler(docs, sink).run();
}

} // namespace setforge
