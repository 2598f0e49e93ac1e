#include "core/nodes/sdoobjectpick.h"

#include <set>

#include "core/base/textint.h"
#include "core/nodes/edsdatatype.h"
#include "core/nodes/edsvalue.h"
#include "core/tables/grid.h"
#include "core/tables/rowoperations.h"
#include "core/tables/sdoclienttable.h"

namespace setforge {

namespace {

constexpr std::int32_t kLastAddress = 65535;

std::set<std::int32_t> usedAddresses(const Grid& grid)
{
    std::set<std::int32_t> used;
    for (int r = 1; r <= grid.rowCount(); ++r) {
        const std::int32_t address = textToInt(grid.cell(r, SdoColumn::Address), -1);
        if (address >= 0 && address <= kLastAddress)
            used.insert(address);
    }
    return used;
}

// The first address from `from` up that no row holds, or -1.
std::int32_t firstFreeFrom(const std::set<std::int32_t>& used, std::int32_t from)
{
    for (std::int32_t address = std::max<std::int32_t>(from, 0); address <= kLastAddress; ++address)
        if (used.count(address) == 0)
            return address;
    return -1;
}

void fillRow(Grid& grid, int row, const EdsEntry& entry, int nodeId, const char* hi, const char* lo,
             const std::string& mnemonic)
{
    grid.setCell(row, SdoColumn::HiByte, hi);
    grid.setCell(row, SdoColumn::LoByte, lo);
    grid.setCell(row, SdoColumn::ReadWrite, entry.readOnly() ? "ReadOnly" : "ReadWrite");
    grid.setCell(row, SdoColumn::DeviceId, std::to_string(nodeId));
    grid.setCell(row, SdoColumn::Index, hexText(entry.index, 4));
    grid.setCell(row, SdoColumn::SubIndex, std::to_string(entry.subIndex));
    grid.setCell(row, SdoColumn::NByte, std::to_string(entry.bytes()));
    grid.setCell(row, SdoColumn::Mnemonic, mnemonic);
}

} // namespace

SdoFit sdoFit(const EdsEntry& entry)
{
    if (entry.dataType == 0x000F)
        return SdoFit::Domain;
    if (isEdsStringType(entry.dataType))
        return SdoFit::Text;
    const int bytes = entry.bytes();
    if (bytes != 1 && bytes != 2 && bytes != 4)
        return SdoFit::Size;
    // Both R/W settings read the object, which a write-only object refuses.
    return entry.access == "wo" ? SdoFit::WriteOnly : SdoFit::Fits;
}

SdoPickOutcome fillSdoRows(Grid& grid, int row, const EdsEntry& entry, int nodeId, bool alsoHighWord,
                           const std::string& highWordSuffix)
{
    return fillSdoRows(grid, row, std::vector<EdsEntry>{entry}, nodeId, alsoHighWord, highWordSuffix);
}

SdoPickOutcome fillSdoRows(Grid& grid, int row, const std::vector<EdsEntry>& entries, int nodeId,
                           bool alsoHighWord, const std::string& highWordSuffix)
{
    if (entries.empty() || row < 1 || row > grid.rowCount())
        return SdoPickOutcome::DoesNotFit;
    int rowsNeeded = 0;
    for (const EdsEntry& entry : entries) {
        if (sdoFit(entry) != SdoFit::Fits)
            return SdoPickOutcome::DoesNotFit;
        rowsNeeded += alsoHighWord && entry.bytes() == 4 ? 2 : 1;
    }
    // Every row after the first is inserted below `row`, pushing the last rows out of the grid.
    const int inserted = rowsNeeded - 1;
    if (row + inserted > grid.rowCount())
        return SdoPickOutcome::NoRoomBelow;
    for (int r = grid.rowCount() - inserted + 1; r <= grid.rowCount(); ++r)
        if (!isBlankCell(grid.cell(r, SdoColumn::Address)))
            return SdoPickOutcome::NoRoomBelow;

    std::set<std::int32_t> used = usedAddresses(grid);
    std::vector<std::int32_t> addresses;
    std::int32_t address = textToInt(grid.cell(row, SdoColumn::Address), -1);
    const bool needsAddress = isBlankCell(grid.cell(row, SdoColumn::Address));
    if (needsAddress)
        address = firstFreeFrom(used, used.empty() ? 0 : *used.rbegin() + 1);
    for (int k = 0; k < rowsNeeded; ++k) {
        if (k > 0)
            address =
                firstFreeFrom(used, address >= 0 ? address + 1 : (used.empty() ? 0 : *used.rbegin() + 1));
        if (address < 0 && (k > 0 || needsAddress))
            return SdoPickOutcome::NoFreeAddress;
        if (address >= 0)
            used.insert(address);
        addresses.push_back(address);
    }

    int at = row;
    std::size_t next = 0;
    for (const EdsEntry& entry : entries) {
        if (at > row)
            insertGridRow(at, grid);
        if (at > row || needsAddress)
            grid.setCell(at, SdoColumn::Address, std::to_string(addresses[next]));
        ++next;
        const int bytes = entry.bytes();
        fillRow(grid, at, entry, nodeId, bytes == 1 ? "0" : "2", "1", entry.name);
        ++at;
        if (alsoHighWord && bytes == 4) {
            insertGridRow(at, grid);
            grid.setCell(at, SdoColumn::Address, std::to_string(addresses[next++]));
            fillRow(grid, at, entry, nodeId, "4", "3", entry.name + highWordSuffix);
            ++at;
        }
    }
    return SdoPickOutcome::Filled;
}

} // namespace setforge
