#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>

#include "core/image/binarylayout.h"

namespace setforge {

// The eight tables of the banked image's second bank, in their order in the bank.
enum class BankTable { Sdo, Rpdo, RpdoMapping, Tpdo, TpdoMapping, NodeGuarding, Emcy, EmcyWord };

// Where a table lies in the bank, how many entries it holds and how each entry is stored.
struct TableLayout {
    BankTable table;
    const char* name;           // "RPDO mapping table", as messages name it
    std::size_t offset;         // from the start of the bank
    std::size_t capacity;       // entries
    std::size_t directoryEntry; // k of the table directory in the parameter block
    RecordLayout entry;         // little-endian fields
};

// The fields of each table's entries, little-endian.
namespace BankTableFields {
inline constexpr Field kSdoFields[] = {{"IndexA", 0, FieldType::U16LE}, {"conf", 2, FieldType::U8},
                                       {"devIDB", 3, FieldType::U8},    {"IndexB", 4, FieldType::U16LE},
                                       {"SubindexB", 6, FieldType::U8}, {"nbyteB", 7, FieldType::U8}};
inline constexpr Field kRpdoFields[] = {
    {"TimeOut", 0, FieldType::U32LE}, {"cobid", 4, FieldType::U16LE}, {"dimension", 6, FieldType::U8}};
inline constexpr Field kRpdoMappingFields[] = {{"index", 0, FieldType::U16LE},
                                               {"high byte", 2, FieldType::U8},
                                               {"low byte", 3, FieldType::U8},
                                               {"RPDO", 4, FieldType::U8}};
inline constexpr Field kTpdoFields[] = {{"Timer", 0, FieldType::U32LE},
                                        {"COB-ID", 4, FieldType::U16LE},
                                        {"Dimension", 6, FieldType::U8},
                                        {"OnChange", 7, FieldType::U8}};
inline constexpr Field kTpdoMappingFields[] = {{"Index", 0, FieldType::U16LE},
                                               {"high byte", 2, FieldType::U8},
                                               {"low byte", 3, FieldType::U8},
                                               {"TPDO", 4, FieldType::U8},
                                               {"Send_on_Write", 5, FieldType::U8}};
inline constexpr Field kNodeGuardFields[] = {
    {"GuardTime", 0, FieldType::U16LE}, {"NodeID", 2, FieldType::U8}, {"LifeTimeFactor", 3, FieldType::U8}};
inline constexpr Field kEmcyFields[] = {{"EMCY_Error_Code", 0, FieldType::U16LE},
                                        {"ID_EMCY", 2, FieldType::U8},
                                        {"Error_Register", 3, FieldType::U8}};
inline constexpr Field kEmcyWordFields[] = {{"Dati_Word", 0, FieldType::U16LE},
                                            {"high byte", 2, FieldType::U8},
                                            {"low byte", 3, FieldType::U8},
                                            {"EMCY", 4, FieldType::U8}};
} // namespace BankTableFields

// The size of the second bank.
inline constexpr std::size_t kBankSize = 30720;

// The eight tables in bank order, as data, so that offsets elsewhere can be derived from them.
inline constexpr TableLayout kBankTables[] = {
    {BankTable::Sdo, "SDO table", 0x0000, 1536, 0, {"SDO entry", BankTableFields::kSdoFields, 8}},
    {BankTable::Rpdo, "RPDO table", 0x3000, 64, 3, {"RPDO entry", BankTableFields::kRpdoFields, 8}},
    {BankTable::RpdoMapping,
     "RPDO mapping table",
     0x3200,
     512,
     4,
     {"RPDO mapping entry", BankTableFields::kRpdoMappingFields, 8}},
    {BankTable::Tpdo, "TPDO table", 0x4200, 32, 5, {"TPDO entry", BankTableFields::kTpdoFields, 8}},
    {BankTable::TpdoMapping,
     "TPDO mapping table",
     0x4300,
     512,
     6,
     {"TPDO mapping entry", BankTableFields::kTpdoMappingFields, 8}},
    {BankTable::NodeGuarding,
     "node guarding table",
     0x5300,
     64,
     7,
     {"node guarding entry", BankTableFields::kNodeGuardFields, 4}},
    {BankTable::Emcy, "EMCY table", 0x5400, 128, 8, {"EMCY entry", BankTableFields::kEmcyFields, 8}},
    {BankTable::EmcyWord,
     "EMCY word table",
     0x5800,
     1024,
     9,
     {"EMCY word entry", BankTableFields::kEmcyWordFields, 8}},
};

// The tables fill the bank exactly, one after the other.
constexpr bool tablesTileTheBank()
{
    std::size_t end = 0;
    for (const TableLayout& layout : kBankTables) {
        if (layout.offset != end)
            return false;
        end = layout.offset + layout.capacity * layout.entry.size;
    }
    return end == kBankSize;
}
static_assert(tablesTileTheBank(), "the eight tables must fill the 30,720-byte bank without gaps");

// Every table is listed at the place of its BankTable value, so tableLayout() can index.
constexpr bool tablesInEnumOrder()
{
    for (std::size_t i = 0; i < std::size(kBankTables); ++i)
        if (static_cast<std::size_t>(kBankTables[i].table) != i)
            return false;
    return true;
}
static_assert(tablesInEnumOrder(), "kBankTables must list the tables in the order of BankTable");

// Each entry's fields fit in the entry and do not overlap.
constexpr bool entriesHoldTheirFields()
{
    for (const TableLayout& layout : kBankTables)
        if (!fieldsFitRecord(layout.entry.fields, layout.entry.size))
            return false;
    return true;
}
static_assert(entriesHoldTheirFields(), "a bank table entry's fields overflow or overlap");

// The eight tables in bank order.
std::span<const TableLayout> tableLayouts();
const TableLayout& tableLayout(BankTable table);

// The second bank of the banked image: 30,720 bytes, eight tables with fixed places and
// capacities, no header. Entries beyond a table's count are zero.
class TableArea {
public:
    static constexpr std::size_t kSize = kBankSize;

    TableArea() { clear(); }

    // Every byte 0, every count 0.
    void clear();

    // Adds the next entry of `table`, `values` in the order of its layout's fields. Beyond the
    // capacity nothing is written, but the entry is still counted in wanted(). A list that does
    // not hold one value per field is refused: false, nothing written or counted.
    bool append(BankTable table, std::initializer_list<std::uint32_t> values);

    // Entries written into the table (never more than its capacity).
    std::uint32_t count(BankTable table) const;
    // Entries the project asked for, those beyond the capacity included.
    std::uint32_t wanted(BankTable table) const { return m_wanted[static_cast<std::size_t>(table)]; }

    const std::array<std::uint8_t, kSize>& bytes() const { return m_bytes; }

private:
    std::array<std::uint8_t, kSize> m_bytes{};
    std::array<std::uint32_t, 8> m_wanted{};
};

} // namespace setforge
