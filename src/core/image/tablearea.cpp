#include "core/image/tablearea.h"

#include <algorithm>

namespace setforge {

std::span<const TableLayout> tableLayouts()
{
    return kBankTables;
}

const TableLayout& tableLayout(BankTable table)
{
    return kBankTables[static_cast<std::size_t>(table)];
}

void TableArea::clear()
{
    m_bytes.fill(0);
    m_wanted.fill(0);
}

bool TableArea::append(BankTable table, std::initializer_list<std::uint32_t> values)
{
    const TableLayout& layout = tableLayout(table);
    if (values.size() != layout.entry.fields.size())
        return false;
    std::uint32_t& n = m_wanted[static_cast<std::size_t>(table)];
    if (n < layout.capacity)
        putRecord(m_bytes.data() + layout.offset + n * layout.entry.size, layout.entry, values);
    ++n;
    return true;
}

std::uint32_t TableArea::count(BankTable table) const
{
    return std::min<std::uint32_t>(wanted(table), static_cast<std::uint32_t>(tableLayout(table).capacity));
}

} // namespace setforge
