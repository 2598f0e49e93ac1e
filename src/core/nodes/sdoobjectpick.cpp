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
    return bytes == 1 || bytes == 2 || bytes == 4 ? SdoFit::Fits : SdoFit::Size;
}

SdoPickOutcome fillSdoRows(Grid& grid, int row, const EdsEntry& entry, int nodeId, bool alsoHighWord,
                           const std::string& highWordSuffix)
{
    if (sdoFit(entry) != SdoFit::Fits)
        return SdoPickOutcome::DoesNotFit;
    const bool highWord = alsoHighWord && entry.bytes() == 4;
    if (highWord && (row >= grid.rowCount() || !isBlankCell(grid.cell(grid.rowCount(), SdoColumn::Address))))
        return SdoPickOutcome::NoRoomBelow;

    std::set<std::int32_t> used = usedAddresses(grid);
    std::int32_t address = textToInt(grid.cell(row, SdoColumn::Address), -1);
    const bool needsAddress = isBlankCell(grid.cell(row, SdoColumn::Address));
    if (needsAddress) {
        address = firstFreeFrom(used, used.empty() ? 0 : *used.rbegin() + 1);
        if (address < 0)
            return SdoPickOutcome::NoFreeAddress;
        used.insert(address);
    }
    std::int32_t highAddress = -1;
    if (highWord) {
        highAddress =
            firstFreeFrom(used, address >= 0 ? address + 1 : (used.empty() ? 0 : *used.rbegin() + 1));
        if (highAddress < 0)
            return SdoPickOutcome::NoFreeAddress;
    }

    if (needsAddress)
        grid.setCell(row, SdoColumn::Address, std::to_string(address));
    const int bytes = entry.bytes();
    fillRow(grid, row, entry, nodeId, bytes == 1 ? "0" : "2", "1", entry.name);
    if (highWord) {
        insertGridRow(row + 1, grid);
        grid.setCell(row + 1, SdoColumn::Address, std::to_string(highAddress));
        fillRow(grid, row + 1, entry, nodeId, "4", "3", entry.name + highWordSuffix);
    }
    return SdoPickOutcome::Filled;
}

} // namespace setforge
