#include "core/tables/tablevalidator.h"

#include <algorithm>

#include "core/base/textint.h"
#include "core/lang/uitexts.h"
#include "core/tables/grid.h"

namespace setforge {

namespace {

std::int32_t cellValue(const Grid& grid, int row, int column)
{
    return textToInt(grid.cell(row, column), -1);
}

bool isTicked(std::string_view text)
{
    return text.size() == 1 && (text[0] == 'Y' || text[0] == 'y');
}

// Registers taken by a PDO of `dimension` data bytes, two bytes per register.
std::int32_t registersOf(std::int32_t dimension)
{
    return (dimension + 1) / 2;
}

} // namespace

TableValidator::TableValidator(const TableDefinition& table, DeviceVariant variant)
    : m_table(table), m_variant(variant)
{
}

std::optional<CheckFailure> TableValidator::firstFailure(const Grid& grid)
{
    m_accepted.reset();
    const int used = grid.usedRowCount();
    for (int row = 1; row <= used; ++row) {
        for (const TableCheck& check : m_table.checks) {
            if (check.column < 0 || check.column >= m_table.columnCount() ||
                !m_table.columns[check.column].isShown(m_variant))
                continue;
            if (!passes(check, grid, row))
                return CheckFailure{row, check.message, check.column};
        }
    }
    return std::nullopt;
}

bool TableValidator::passes(const TableCheck& check, const Grid& grid, int row)
{
    const std::int32_t value = cellValue(grid, row, check.column);
    switch (check.kind) {
    case CheckKind::Range:
        return value >= check.lo && value <= check.hi;
    case CheckKind::Unique:
        if (m_accepted.isUsed(value))
            return false;
        m_accepted.add(value);
        return true;
    case CheckKind::NotBlank:
        return !isBlankCell(grid.cell(row, check.column));
    case CheckKind::OneOf:
        return std::find(check.values.begin(), check.values.end(), value) != check.values.end();
    case CheckKind::BlockEnd: {
        // 64-bit so that no start value can overflow the sum.
        const std::int64_t last =
            std::int64_t{value} + registersOf(cellValue(grid, row, check.otherColumn)) - 1;
        return last <= check.hi;
    }
    case CheckKind::BlockUnique: {
        const std::int32_t registers = registersOf(cellValue(grid, row, check.otherColumn));
        for (std::int32_t k = 0; k < registers; ++k) {
            if (m_accepted.isUsed(value + k))
                return false;
            m_accepted.add(value + k);
        }
        return true;
    }
    case CheckKind::RangeWhenTicked:
        if (!isTicked(grid.cell(row, check.otherColumn)))
            return true;
        return value >= check.lo && value <= check.hi;
    }
    return true;
}

std::string checkMessage(const TableDefinition& table, const CheckFailure& failure, const UiTexts& texts)
{
    return texts[table.rowErrorText()] + std::to_string(failure.row) + texts[failure.message];
}

std::optional<std::string> validateTable(const TableDefinition& table, const Grid& grid,
                                         DeviceVariant variant, const UiTexts& texts)
{
    TableValidator validator(table, variant);
    if (const std::optional<CheckFailure> failure = validator.firstFailure(grid))
        return checkMessage(table, *failure, texts);
    return std::nullopt;
}

} // namespace setforge
