// A table file of any bytes, for any of the five tables and either device variant. The first
// byte picks the table (modulo 5) and the variant (the next bit); the rest is the file.
// What must hold: the file loads as the table dialog loads it; the dialog's checks either pass
// or name a used row; the saved text is a well-formed document with the table's root first,
// one `row` per used row (never more than the table's rows) carrying every attribute in the
// table's order, and the version comment last; the saved text loads to the same grid, and
// saving that grid gives the same text again.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "core/base/xmlfile.h"
#include "core/lang/uitexts.h"
#include "core/tables/grid.h"
#include "core/tables/tablecatalog.h"
#include "core/tables/tabledefinition.h"
#include "core/tables/tablefile.h"
#include "core/tables/tablevalidator.h"
#include "fuzz/support/fuzzcheck.h"
#include "fuzz/support/savedshape.h"

namespace setforge {

namespace {

const UiTexts& defaultTexts()
{
    static const UiTexts texts = [] {
        UiTexts t;
        t.loadDefaults();
        return t;
    }();
    return texts;
}

// True when rows 1..used of both grids hold the same texts (after them, the grids are cleared
// and filled from no element, so they hold nothing but row numbers).
bool sameUsedRows(const Grid& a, const Grid& b, int used)
{
    for (int row = 1; row <= used; ++row)
        for (int column = 0; column < a.columnCount(); ++column)
            if (b.cell(row, column) != a.cell(row, column))
                return false;
    return true;
}

// Two grids per table, kept from one input to the next: every load clears its grid first,
// and building a grid of 1,500 rows for every input would cost more than the input itself.
Grid& scratchGrid(const TableDefinition& table, int which)
{
    static std::map<std::pair<const TableDefinition*, int>, Grid> grids;
    const auto key = std::make_pair(&table, which);
    auto found = grids.find(key);
    if (found == grids.end())
        found = grids.emplace(key, Grid(table.rowCount, table.columnCount())).first;
    return found->second;
}

void checkSavedShape(const TableDefinition& table, const std::string& saved, int used)
{
    pugi::xml_document doc;
    FUZZ_CHECK(loadXmlText(saved, doc), "the saved table must be well-formed");
    const pugi::xml_node first = documentRoot(doc);
    FUZZ_CHECK(startsWithRoot(saved, table.rootName) && std::string_view(first.name()) == table.rootName,
               "the table's root must be the saved document's first node");
    FUZZ_CHECK(endsWithVersionComment(saved), "the version comment must end the saved document");

    int rows = 0;
    for (pugi::xml_node row : first.children()) {
        FUZZ_CHECK(row.type() == pugi::node_element && std::string_view(row.name()) == "row",
                   "the root must hold only row elements");
        std::size_t k = 0;
        for (pugi::xml_attribute attribute : row.attributes()) {
            FUZZ_CHECK(k < table.attributes.size(), "a row must carry no attribute beyond the table's");
            FUZZ_CHECK(std::string_view(attribute.name()) == table.attributes[k].name,
                       "a row's attributes must follow the table's order");
            ++k;
        }
        FUZZ_CHECK(k == table.attributes.size(), "a row must carry every attribute of the table");
        ++rows;
    }
    FUZZ_CHECK(rows == used, "the saved rows must be the used rows");
    FUZZ_CHECK(rows <= table.rowCount, "no more rows may be saved than the table holds");
}

} // namespace

} // namespace setforge

using namespace setforge;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const auto& tables = tableDefinitions();
    const TableDefinition& table = *tables[data[0] % tables.size()];
    const DeviceVariant variant =
        (data[0] / tables.size()) % 2 == 1 ? DeviceVariant::WithEthernet : DeviceVariant::WithoutEthernet;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    // As the dialog loads it: a file that is not well-formed leaves the grid cleared.
    Grid& grid = scratchGrid(table, 0);
    grid.clear();
    pugi::xml_document doc;
    if (loadXmlText(text, doc))
        fillGridFromDocument(table, doc, grid);

    const int used = grid.usedRowCount();
    FUZZ_CHECK(used >= 0 && used <= table.rowCount, "the used rows must lie within the table");

    TableValidator validator(table, variant);
    if (const auto failure = validator.firstFailure(grid)) {
        FUZZ_CHECK(failure->row >= 1 && failure->row <= used, "a failing check must name a used row");
        FUZZ_CHECK(failure->message > table.firstText && failure->message < table.lastText,
                   "a failing check's message must come from the table's text block");
        const auto message = validateTable(table, grid, variant, defaultTexts());
        FUZZ_CHECK(message.has_value(), "the dialog's check must fail where the validator fails");
        FUZZ_CHECK(*message == checkMessage(table, *failure, defaultTexts()),
                   "the dialog must show the first failure");
    } else {
        FUZZ_CHECK(!validateTable(table, grid, variant, defaultTexts()).has_value(),
                   "the dialog's check must pass where the validator passes");
    }

    const std::string saved = tableFileText(table, grid);
    checkSavedShape(table, saved, used);

    Grid& reloaded = scratchGrid(table, 1);
    pugi::xml_document savedDoc;
    FUZZ_CHECK(loadXmlText(saved, savedDoc), "the saved table must load");
    fillGridFromDocument(table, savedDoc, reloaded);
    FUZZ_CHECK(reloaded.usedRowCount() == used, "the saved table must load to the same used rows");
    FUZZ_CHECK(sameUsedRows(grid, reloaded, used), "the saved table must load to the same grid");
    FUZZ_CHECK(tableFileText(table, reloaded) == saved, "saving the reloaded grid must give the same text");
    return 0;
}
