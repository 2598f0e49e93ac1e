#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>

#include "core/image/binarylayout.h"

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

// The eight tables in bank order.
std::span<const TableLayout> tableLayouts();
const TableLayout& tableLayout(BankTable table);

// The second bank of the banked image: 30,720 bytes, eight tables with fixed places and
// capacities, no header. Entries beyond a table's count are zero.
class TableArea {
public:
    static constexpr std::size_t kSize = 30720;

    TableArea() { clear(); }

    // Every byte 0, every count 0.
    void clear();

    // Adds the next entry of `table`, `values` in the order of its layout's fields. Beyond the
    // capacity nothing is written, but the entry is still counted in wanted().
    void append(BankTable table, std::initializer_list<std::uint32_t> values);

    // Entries written into the table (never more than its capacity).
    std::uint32_t count(BankTable table) const;
    // Entries the project asked for, those beyond the capacity included.
    std::uint32_t wanted(BankTable table) const { return m_wanted[static_cast<std::size_t>(table)]; }

    const std::array<std::uint8_t, kSize>& bytes() const { return m_bytes; }

private:
    std::array<std::uint8_t, kSize> m_bytes{};
    std::array<std::uint32_t, 8> m_wanted{};
};
