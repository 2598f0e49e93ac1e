#include "core/image/variantswitch.h"

#include <string_view>
#include <vector>

#include "core/base/devicevariant.h"
#include "core/base/textint.h"
#include "core/base/xmlfile.h"
#include "core/lang/textid.h"
#include "core/lang/uitexts.h"
#include "core/mapping/mappingformat.h"
#include "core/mapping/mappingmodel.h"
#include "core/tables/pdoreceivetable.h"
#include "core/tables/pdotransmittable.h"
#include "core/tables/tabledefinition.h"

namespace setforge {

namespace {

using File = ProjectDocuments::File;

bool blank(std::string_view text)
{
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

bool ticked(std::string_view text)
{
    return text == "Y" || text == "y";
}

// The 1-based numbers of the rows of `file` for which `pick` holds.
template <typename Pick> std::vector<int> rowsWhere(ProjectDocuments& docs, File file, Pick&& pick)
{
    std::vector<int> rows;
    forEachElement(docs.get(file).root, [&](const pugi::xml_node& row, std::size_t i) {
        if (pick(row, static_cast<int>(i)))
            rows.push_back(static_cast<int>(i) + 1);
    });
    return rows;
}

// "- <item>" and, with rows, ": rows 1, 4"; a long list stops after twelve numbers.
std::string itemLine(const UiTexts& texts, int item, const std::vector<int>& rows)
{
    constexpr std::size_t kNamed = 12;
    std::string line = "- " + texts[item];
    if (rows.empty())
        return line;
    line += ": " + texts[TextId::VariantRows];
    for (std::size_t k = 0; k < rows.size() && k < kNamed; ++k)
        line += (k == 0 ? "" : ", ") + std::to_string(rows[k]);
    if (rows.size() > kNamed)
        line += ", ...";
    return line;
}

} // namespace

VariantSwitchNotice variantSwitchNotice(ProjectDocuments& docs, int oldType, int newType,
                                        const UiTexts& texts)
{
    const bool ethernet = hasEthernet(variantForTables(newType));
    if (ethernet == hasEthernet(variantForTables(oldType)))
        return {};

    const TableDefinition& rpdo = pdoReceiveTable();
    const TableDefinition& tpdo = pdoTransmitTable();
    const auto cell = [](const pugi::xml_node& row, const TableDefinition& table, int column) {
        return std::string_view(row.attribute(table.attributeOf(column)).value());
    };
    // The transmit mapping as saved; a missing or broken file maps nothing.
    MappingModel mapping(kTransmitPdoMapping);
    (void)mapping.load(docs.files());
    const auto mapped = [&mapping](int frame) {
        return mapping.hasFrame(frame) && !mapping.frame(frame).entries.empty();
    };

    const std::vector<int> noTimeout = rowsWhere(docs, File::RpdoDef, [&](const pugi::xml_node& row, int) {
        return blank(cell(row, rpdo, RpdoColumn::Timeout));
    });
    const std::vector<int> timeout = rowsWhere(docs, File::RpdoDef, [&](const pugi::xml_node& row, int) {
        return textToInt(cell(row, rpdo, RpdoColumn::Timeout), 0) != 0;
    });
    const std::vector<int> noTrigger =
        rowsWhere(docs, File::TransmitPdo, [&](const pugi::xml_node& row, int) {
            return !ticked(cell(row, tpdo, TpdoColumn::OnChange)) &&
                   !ticked(cell(row, tpdo, TpdoColumn::OnTimer));
        });
    const std::vector<int> trigger = rowsWhere(docs, File::TransmitPdo, [&](const pugi::xml_node& row, int) {
        return ticked(cell(row, tpdo, TpdoColumn::OnChange)) || ticked(cell(row, tpdo, TpdoColumn::OnTimer));
    });
    const std::vector<int> unmapped =
        rowsWhere(docs, File::TransmitPdo, [&](const pugi::xml_node&, int i) { return !mapped(i); });
    const std::vector<int> withMapping =
        rowsWhere(docs, File::TransmitPdo, [&](const pugi::xml_node&, int i) { return mapped(i); });
    const std::vector<int> noStart = rowsWhere(docs, File::TransmitPdo, [&](const pugi::xml_node& row, int) {
        return blank(cell(row, tpdo, TpdoColumn::AddressStart));
    });
    const std::vector<int> start = rowsWhere(docs, File::TransmitPdo, [&](const pugi::xml_node& row, int) {
        return !blank(cell(row, tpdo, TpdoColumn::AddressStart));
    });

    VariantSwitchNotice notice;
    std::string& text = notice.text;
    // Appended piece by piece: GCC 12 at -O3 reports a false overlap in "\n" + std::string.
    const auto add = [&text](const char* separator, const std::string& piece) {
        text += separator;
        text += piece;
    };
    text = texts[TextId::VariantSwitched];
    add("\n\n", texts[TextId::VariantNeeds]);
    if (ethernet) {
        add("\n", itemLine(texts, TextId::VariantRpdoTimeouts, noTimeout));
        add("\n", itemLine(texts, TextId::VariantTpdoTriggers, noTrigger));
        add("\n", itemLine(texts, TextId::VariantTpdoMapping, unmapped));
        add("\n\n", texts[TextId::VariantHides]);
        add("\n", itemLine(texts, TextId::VariantAddressStarts, start));
        for (int frame = 0; frame < mapping.frameCount(); ++frame)
            if (mapping.frame(frame).blockStart() && !mapped(frame))
                notice.offersMapping = true;
    } else {
        add("\n", itemLine(texts, TextId::VariantAddressStarts, noStart));
        add("\n\n", texts[TextId::VariantHides]);
        add("\n", itemLine(texts, TextId::VariantRpdoTimeouts, timeout));
        add("\n", itemLine(texts, TextId::VariantTpdoTriggers, trigger));
        add("\n", itemLine(texts, TextId::VariantTpdoMapping, withMapping));
    }
    return notice;
}

} // namespace setforge
