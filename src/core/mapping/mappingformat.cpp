#include "core/mapping/mappingformat.h"

#include "core/lang/textid.h"
#include "core/mapping/emcyframe.h"
#include "core/mapping/pdoframe.h"

namespace setforge {

namespace {

std::unique_ptr<MappingFrame> readReceivePdo(const pugi::xml_node& row)
{
    return std::make_unique<PdoFrame>(row.attribute("cobid").value(), row.attribute("dimension").value());
}

std::unique_ptr<MappingFrame> readTransmitPdo(const pugi::xml_node& row)
{
    return std::make_unique<PdoFrame>(row.attribute("COB-ID").value(), row.attribute("Dimension").value());
}

std::unique_ptr<MappingFrame> readEmergency(const pugi::xml_node& row)
{
    return std::make_unique<EmcyFrame>(row.attribute("ID_EMCY").value(),
                                       row.attribute("EMCY_Error_Code").value(),
                                       row.attribute("Error_Register").value());
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
