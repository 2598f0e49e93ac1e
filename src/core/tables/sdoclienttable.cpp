#include "core/tables/sdoclienttable.h"

#include "core/base/asciitext.h"
#include "core/base/textint.h"
#include "core/lang/textid.h"
#include "core/tables/grid.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

namespace {

constexpr const char* kReadOnly = "ReadOnly";
constexpr const char* kReadWrite = "ReadWrite";

std::string confText(const Grid& grid, int row)
{
    return std::to_string(sdoConfByte(grid.cell(row, SdoColumn::HiByte), grid.cell(row, SdoColumn::LoByte),
                                      grid.cell(row, SdoColumn::ReadWrite)));
}

// Hi Byte, R/W and Lo Byte come back from the conf byte for every row, whatever it holds;
// a missing conf reads as 0.
void spreadConf(std::string_view text, Grid& grid, int row)
{
    const SdoConfParts parts = splitSdoConf(static_cast<std::uint8_t>(textToInt(text, 0) & 0xFF));
    grid.setCell(row, SdoColumn::HiByte, std::to_string(parts.hiByte));
    grid.setCell(row, SdoColumn::LoByte, std::to_string(parts.loByte));
    grid.setCell(row, SdoColumn::ReadWrite, sdoReadWriteText(parts.readWrite));
}

TableDefinition makeTable()
{
    TableDefinition t;
    t.objectName = "TFSDOClient";
    t.fileName = "sdo.xml";
    t.projectFile = &ProjectFiles::sdo;
    t.rootName = "sdo";
    t.rowCount = 1500;
    t.clientWidth = 800;
    t.firstText = TextId::SdoFirst;
    t.lastText = TextId::SdoLast;
    using C = TableColumn;
    t.columns = {C::text(40), C::text(70), C::text(70), C::text(70), C::dropDown(95, {kReadOnly, kReadWrite}),
                 C::text(70), C::text(70), C::text(70), C::text(70), C::text(148)};
    using A = TableAttribute;
    t.attributes = {
        A::computed(kSdoConfAttribute, confText, spreadConf),
        A::cell("IndexA", SdoColumn::Address),
        A::fixed("SubindexA", "0"),
        A::cell("devIDB", SdoColumn::DeviceId),
        A::cell("IndexB", SdoColumn::Index),
        A::cell("SubindexB", SdoColumn::SubIndex),
        A::cell("nbyteB", SdoColumn::NByte),
        A::cell("mnemonico", SdoColumn::Mnemonic),
    };
    using K = TableCheck;
    t.checks = {
        K::range(SdoColumn::Address, TextId::SdoAddressRange, 0, 65535),
        K::unique(SdoColumn::Address, TextId::SdoAddressUsed),
        K::range(SdoColumn::HiByte, TextId::SdoHiByteRange, 0, 4),
        K::range(SdoColumn::LoByte, TextId::SdoLoByteRange, 0, 4),
        K::notBlank(SdoColumn::ReadWrite, TextId::SdoReadWriteBlank),
        K::range(SdoColumn::DeviceId, TextId::SdoDeviceIdRange, 1, 127),
        K::range(SdoColumn::Index, TextId::SdoIndexRange, 0x1000, 0xFFFF),
        K::range(SdoColumn::SubIndex, TextId::SdoSubIndexRange, 0, 255),
        K::oneOf(SdoColumn::NByte, TextId::SdoNByteChoice, {1, 2, 4}),
    };
    t.columnTips = {TextId::TipRowNumber, TextId::TipSdoAddress,   TextId::TipSdoHiByte,
                    TextId::TipSdoLoByte, TextId::TipSdoReadWrite, TextId::TipSdoDeviceId,
                    TextId::TipSdoIndex,  TextId::TipSdoSubIndex,  TextId::TipSdoNByte,
                    TextId::TipMnemonic};
    return t;
}

} // namespace

std::uint8_t sdoConfByte(const std::string& hiByte, const std::string& loByte, const std::string& readWrite)
{
    const std::int32_t rw = equalsIgnoringAsciiCase(readWrite, "READWRITE") ? 1 : 0;
    // Unsigned arithmetic keeps the modulo well defined for any typed value.
    const std::uint32_t conf = static_cast<std::uint32_t>(textToInt(hiByte, 0)) * 32u +
                               static_cast<std::uint32_t>(rw) * 16u +
                               static_cast<std::uint32_t>(textToInt(loByte, 0));
    return static_cast<std::uint8_t>(conf & 0xFFu);
}

SdoConfParts splitSdoConf(std::uint8_t conf)
{
    SdoConfParts parts;
    parts.hiByte = (conf >> 5) & 7u;
    parts.readWrite = (conf & 0x10u) != 0;
    parts.bit3 = (conf & 0x08u) != 0;
    parts.loByte = conf & 7u;
    return parts;
}

const char* sdoReadWriteText(bool readWrite)
{
    return readWrite ? kReadWrite : kReadOnly;
}

const TableDefinition& sdoClientTable()
{
    static const TableDefinition table = makeTable();
    return table;
}

} // namespace setforge
