#include "core/image/tablearea.h"

#include <algorithm>

namespace {

using FT = FieldType;

constexpr Field kSdoFields[] = {{"IndexA", 0, FT::U16LE}, {"conf", 2, FT::U8},      {"devIDB", 3, FT::U8},
                                {"IndexB", 4, FT::U16LE}, {"SubindexB", 6, FT::U8}, {"nbyteB", 7, FT::U8}};
constexpr Field kRpdoFields[] = {
    {"TimeOut", 0, FT::U32LE}, {"cobid", 4, FT::U16LE}, {"dimension", 6, FT::U8}};
constexpr Field kRpdoMappingFields[] = {
    {"index", 0, FT::U16LE}, {"high byte", 2, FT::U8}, {"low byte", 3, FT::U8}, {"RPDO", 4, FT::U8}};
constexpr Field kTpdoFields[] = {
    {"Timer", 0, FT::U32LE}, {"COB-ID", 4, FT::U16LE}, {"Dimension", 6, FT::U8}, {"OnChange", 7, FT::U8}};
constexpr Field kTpdoMappingFields[] = {{"Index", 0, FT::U16LE},
                                        {"high byte", 2, FT::U8},
                                        {"low byte", 3, FT::U8},
                                        {"TPDO", 4, FT::U8},
                                        {"Send_on_Write", 5, FT::U8}};
constexpr Field kNodeGuardFields[] = {
    {"GuardTime", 0, FT::U16LE}, {"NodeID", 2, FT::U8}, {"LifeTimeFactor", 3, FT::U8}};
constexpr Field kEmcyFields[] = {
    {"EMCY_Error_Code", 0, FT::U16LE}, {"ID_EMCY", 2, FT::U8}, {"Error_Register", 3, FT::U8}};
constexpr Field kEmcyWordFields[] = {
    {"Dati_Word", 0, FT::U16LE}, {"high byte", 2, FT::U8}, {"low byte", 3, FT::U8}, {"EMCY", 4, FT::U8}};

constexpr TableLayout kTables[] = {
    {BankTable::Sdo, "SDO table", 0x0000, 1536, 0, {"SDO entry", kSdoFields, 8}},
    {BankTable::Rpdo, "RPDO table", 0x3000, 64, 3, {"RPDO entry", kRpdoFields, 8}},
    {BankTable::RpdoMapping,
     "RPDO mapping table",
     0x3200,
     512,
     4,
     {"RPDO mapping entry", kRpdoMappingFields, 8}},
    {BankTable::Tpdo, "TPDO table", 0x4200, 32, 5, {"TPDO entry", kTpdoFields, 8}},
    {BankTable::TpdoMapping,
     "TPDO mapping table",
     0x4300,
     512,
     6,
     {"TPDO mapping entry", kTpdoMappingFields, 8}},
    {BankTable::NodeGuarding,
     "node guarding table",
     0x5300,
     64,
     7,
     {"node guarding entry", kNodeGuardFields, 4}},
    {BankTable::Emcy, "EMCY table", 0x5400, 128, 8, {"EMCY entry", kEmcyFields, 8}},
    {BankTable::EmcyWord, "EMCY word table", 0x5800, 1024, 9, {"EMCY word entry", kEmcyWordFields, 8}},
};

// The tables fill the bank exactly, one after the other.
constexpr bool tablesTileTheBank()
{
    std::size_t end = 0;
    for (const TableLayout& layout : kTables) {
        if (layout.offset != end)
            return false;
        end = layout.offset + layout.capacity * layout.entry.size;
    }
    return end == TableArea::kSize;
}
static_assert(tablesTileTheBank(), "the eight tables must fill the 30,720-byte bank without gaps");

} // namespace

std::span<const TableLayout> tableLayouts()
{
    return kTables;
}

const TableLayout& tableLayout(BankTable table)
{
    return kTables[static_cast<std::size_t>(table)];
}

void TableArea::clear()
{
    m_bytes.fill(0);
    m_wanted.fill(0);
}

void TableArea::append(BankTable table, std::initializer_list<std::uint32_t> values)
{
    const TableLayout& layout = tableLayout(table);
    std::uint32_t& n = m_wanted[static_cast<std::size_t>(table)];
    if (n < layout.capacity)
        putRecord(m_bytes.data() + layout.offset + n * layout.entry.size, layout.entry, values);
    ++n;
}

std::uint32_t TableArea::count(BankTable table) const
{
    return std::min<std::uint32_t>(wanted(table), static_cast<std::uint32_t>(tableLayout(table).capacity));
}
