#include "core/mapping/mappingformat.h"

#include "core/lang/textid.h"
#include "core/mapping/emcyframe.h"
#include "core/mapping/pdoframe.h"
#include "core/tables/emcyaccesstable.h"
#include "core/tables/pdoreceivetable.h"
#include "core/tables/pdotransmittable.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

namespace {

// The cell of `column` in a row of the frame table `table`.
const char* cellOf(const pugi::xml_node& row, const TableDefinition& table, int column)
{
    return row.attribute(table.attributeOf(column)).value();
}

std::unique_ptr<MappingFrame> readReceivePdo(const pugi::xml_node& row)
{
    const TableDefinition& table = pdoReceiveTable();
    return std::make_unique<PdoFrame>(cellOf(row, table, RpdoColumn::CobId),
                                      cellOf(row, table, RpdoColumn::Dimension));
}

std::unique_ptr<MappingFrame> readTransmitPdo(const pugi::xml_node& row)
{
    const TableDefinition& table = pdoTransmitTable();
    auto frame = std::make_unique<PdoFrame>(cellOf(row, table, TpdoColumn::CobId),
                                            cellOf(row, table, TpdoColumn::Dimension));
    frame->addressStart = cellOf(row, table, TpdoColumn::AddressStart);
    return frame;
}

std::unique_ptr<MappingFrame> readEmergency(const pugi::xml_node& row)
{
    const TableDefinition& table = emcyAccessTable();
    return std::make_unique<EmcyFrame>(cellOf(row, table, EmcyColumn::DeviceId),
                                       cellOf(row, table, EmcyColumn::ErrorCode),
                                       cellOf(row, table, EmcyColumn::ErrorRegister));
}

} // namespace

const MappingFormat kReceivePdoMapping = {
    MappingKind::ReceivePdo,
    &ProjectFiles::rpdoDef,
    &ProjectFiles::sdoPdo,
    readReceivePdo,
    "sdopdo",
    nullptr,
    "row",
    {{{MapField::Index, "index"},
      {MapField::Subindex, "subindex"},
      {MapField::FrameNumber, "nrpdo"},
      {MapField::Selector, "poscomp"}}},
    4,
    false,
    TextId::ReceivePdoMappingFirst,
};

const MappingFormat kTransmitPdoMapping = {
    MappingKind::TransmitPdo,
    &ProjectFiles::transmitPdo,
    &ProjectFiles::transmitPdoDefine,
    readTransmitPdo,
    "Transmit_PDO_Define",
    nullptr,
    "row",
    {{{MapField::Index, "Index"},
      {MapField::FrameNumber, "NrPdo"},
      {MapField::Selector, "PosComp"},
      {MapField::Write, "Send_on_Write"}}},
    4,
    true,
    TextId::TransmitPdoMappingFirst,
};

const MappingFormat kEmergencyMapping = {
    MappingKind::Emergency,
    &ProjectFiles::emcyDef,
    &ProjectFiles::emcyWord,
    readEmergency,
    "EMCY_Word",
    "EMCY_ROW",
    "Dati",
    {{{MapField::Index, "Dati_Word"}, {MapField::Selector, "Dati_Byte"}, {}, {}}},
    2,
    false,
    TextId::EmcyMappingFirst,
};

int MappingFormat::textIndex(MappingText text) const
{
    const int offset = static_cast<int>(text);
    if (hasWrite)
        return textBase + offset;
    const int firstWriteText = static_cast<int>(MappingText::SendOnWrite);
    const int writeTexts = static_cast<int>(MappingText::Create) - firstWriteText;
    if (offset < firstWriteText)
        return textBase + offset;
    if (offset < firstWriteText + writeTexts)
        return -1;
    return textBase + offset - writeTexts;
}

const char* MappingFormat::attributeName(MapField field) const
{
    for (int i = 0; i < attributeCount; ++i)
        if (attributes[static_cast<std::size_t>(i)].field == field)
            return attributes[static_cast<std::size_t>(i)].name;
    return nullptr;
}

} // namespace setforge
