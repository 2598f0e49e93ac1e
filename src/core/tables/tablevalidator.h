#pragma once

#include <optional>
#include <string>

#include "core/tables/acceptedvalues.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

class Grid;
class UiTexts;

// The first check that failed: the data row, the UI_Texts index of the check's message and
// the column of the cell the check reads.
struct CheckFailure {
    int row = 0;
    int message = 0;
    int column = 1;
};

// Runs a table's checks over the used rows of a grid, row by row and check by check in the
// table's order, and stops at the first failure. A check runs only while its column is shown
// in the device variant. Keeps the accepted-values list of the uniqueness checks.
class TableValidator {
public:
    TableValidator(const TableDefinition& table, DeviceVariant variant);

    // The first failing check of the used rows of `grid`, or nothing when every used row passes.
    // The accepted-values list starts empty each time.
    std::optional<CheckFailure> firstFailure(const Grid& grid);

    // The accepted-values list as the last validation left it.
    const AcceptedValues& accepted() const { return m_accepted; }

private:
    bool passes(const TableCheck& check, const Grid& grid, int row);

    const TableDefinition& m_table;
    DeviceVariant m_variant;
    AcceptedValues m_accepted;
};

// The message a failure shows: the table's row-error prefix, the row in decimal and the
// check's message, with nothing between them ("Error row 3!! Device ID must be ...").
std::string checkMessage(const TableDefinition& table, const CheckFailure& failure, const UiTexts& texts);

// Validates the used rows of `grid`: the message of the first failing check, or nothing when
// all pass.
std::optional<std::string> validateTable(const TableDefinition& table, const Grid& grid,
                                         DeviceVariant variant, const UiTexts& texts);

} // namespace setforge
