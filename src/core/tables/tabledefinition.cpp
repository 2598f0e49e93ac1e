#include "core/tables/tabledefinition.h"

#include <pugixml.hpp>

#include "core/base/asciitext.h"
#include "core/base/xmlfile.h"
#include "core/tables/pargenfile.h"

namespace setforge {

DeviceVariant readTableVariant(std::string_view parGenPath)
{
    return variantForTables(readDeviceType(parGenPath));
}

Result<DeviceVariant> readTableVariantOrError(std::string_view parGenPath)
{
    pugi::xml_document doc;
    const Result<XmlFile> loaded = loadXmlFile(parGenPath, doc);
    if (!loaded)
        return loaded.error();
    return readTableVariant(parGenPath);
}

bool TableColumn::isShown(DeviceVariant variant) const
{
    switch (shown) {
    case ColumnShown::Always:
        return true;
    case ColumnShown::WithEthernet:
        return variant == DeviceVariant::WithEthernet;
    case ColumnShown::WithoutEthernet:
        return variant == DeviceVariant::WithoutEthernet;
    }
    return true;
}

int TableColumn::widthFor(DeviceVariant variant) const
{
    if (variant == DeviceVariant::WithEthernet && widthWithEthernet > 0)
        return widthWithEthernet;
    return width;
}

std::optional<std::string> TableColumn::pastedText(std::string_view text) const
{
    switch (editor) {
    case ColumnEditor::Text:
        return std::string(text);
    case ColumnEditor::CheckBox:
        // Anything else would be saved as typed and read as "not ticked".
        if (text.empty())
            return std::string();
        if (text.size() == 1 && (upperAscii(text[0]) == 'Y' || upperAscii(text[0]) == 'N'))
            return std::string(1, upperAscii(text[0]));
        return std::nullopt;
    case ColumnEditor::DropDown:
        for (const std::string& item : items)
            if (equalsIgnoringAsciiCase(item, text))
                return item;
        return std::nullopt;
    }
    return std::nullopt;
}

TableColumn TableColumn::text(int width, ColumnShown shown, int widthWithEthernet)
{
    TableColumn column;
    column.width = width;
    column.widthWithEthernet = widthWithEthernet;
    column.shown = shown;
    return column;
}

TableColumn TableColumn::dropDown(int width, std::vector<std::string> items)
{
    TableColumn column = text(width);
    column.editor = ColumnEditor::DropDown;
    column.items = std::move(items);
    return column;
}

TableColumn TableColumn::checkBox(int width, ColumnShown shown)
{
    TableColumn column = text(width, shown);
    column.editor = ColumnEditor::CheckBox;
    return column;
}

TableAttribute TableAttribute::cell(const char* name, int column, std::int32_t imageDefault)
{
    TableAttribute attribute;
    attribute.name = name;
    attribute.column = column;
    attribute.imageDefault = imageDefault;
    return attribute;
}

TableAttribute TableAttribute::fixed(const char* name, const char* value)
{
    TableAttribute attribute;
    attribute.name = name;
    attribute.constant = value;
    return attribute;
}

TableAttribute TableAttribute::computed(const char* name, std::string (*compute)(const Grid&, int),
                                        void (*spread)(std::string_view, Grid&, int))
{
    TableAttribute attribute;
    attribute.name = name;
    attribute.compute = compute;
    attribute.spread = spread;
    return attribute;
}

namespace {

TableCheck makeCheck(CheckKind kind, int column, int message)
{
    TableCheck check;
    check.kind = kind;
    check.column = column;
    check.message = message;
    return check;
}

} // namespace

TableCheck TableCheck::range(int column, int message, std::int32_t lo, std::int32_t hi)
{
    TableCheck check = makeCheck(CheckKind::Range, column, message);
    check.lo = lo;
    check.hi = hi;
    return check;
}

TableCheck TableCheck::unique(int column, int message)
{
    return makeCheck(CheckKind::Unique, column, message);
}

TableCheck TableCheck::notBlank(int column, int message)
{
    return makeCheck(CheckKind::NotBlank, column, message);
}

TableCheck TableCheck::oneOf(int column, int message, std::vector<std::int32_t> values)
{
    TableCheck check = makeCheck(CheckKind::OneOf, column, message);
    check.values = std::move(values);
    return check;
}

TableCheck TableCheck::blockEnd(int column, int message, std::int32_t hi, int dimensionColumn)
{
    TableCheck check = makeCheck(CheckKind::BlockEnd, column, message);
    check.hi = hi;
    check.otherColumn = dimensionColumn;
    return check;
}

TableCheck TableCheck::blockUnique(int column, int message, int dimensionColumn)
{
    TableCheck check = makeCheck(CheckKind::BlockUnique, column, message);
    check.otherColumn = dimensionColumn;
    return check;
}

TableCheck TableCheck::rangeWhenTicked(int column, int message, std::int32_t lo, std::int32_t hi,
                                       int tickColumn)
{
    TableCheck check = range(column, message, lo, hi);
    check.kind = CheckKind::RangeWhenTicked;
    check.otherColumn = tickColumn;
    return check;
}

const char* TableDefinition::attributeOf(int column) const
{
    for (const TableAttribute& attribute : attributes)
        if (attribute.column == column)
            return attribute.name;
    return "";
}

std::int32_t TableDefinition::imageDefaultOf(int column) const
{
    for (const TableAttribute& attribute : attributes)
        if (attribute.column == column)
            return attribute.imageDefault;
    return 0;
}

} // namespace setforge
