#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/devicevariant.h"
#include "core/base/projectfiles.h"
#include "core/base/result.h"

namespace setforge {

class Grid;

// The variant for the table dialogs from a communication parameters file: WithEthernet only
// when its Select_Device_Type reads as 1; a missing or unreadable file, a missing element,
// a text that is not a number or any other value give WithoutEthernet.
DeviceVariant readTableVariant(std::string_view parGenPath);

// The variant as readTableVariant reads it, unless the file exists and cannot be read or is
// not well-formed XML: then the loader's Error (its text naming the file), and the variant is
// unknown. A missing file or element still reads as WithoutEthernet.
Result<DeviceVariant> readTableVariantOrError(std::string_view parGenPath);

// When a column is shown (and therefore checked).
enum class ColumnShown { Always, WithEthernet, WithoutEthernet };

// How a cell is edited. Every kind holds plain text.
enum class ColumnEditor {
    Text,     // free text
    DropDown, // a fixed list of items (TableColumn::items)
    CheckBox  // "Y" when ticked, "N" when not, "" when never touched
};

// One grid column (column 0, the row number, included).
struct TableColumn {
    int width = 0;             // pixels
    int widthWithEthernet = 0; // pixels on the device with Ethernet port; 0: same as width
    ColumnEditor editor = ColumnEditor::Text;
    ColumnShown shown = ColumnShown::Always;
    std::vector<std::string> items; // DropDown items, in list order

    bool isShown(DeviceVariant variant) const;
    int widthFor(DeviceVariant variant) const;
    // The text a cell of this column stores when `text` is pasted into it, or nothing when the
    // cell refuses it. Free text takes anything as is. A check box takes "Y", "N" in either
    // case (stored upper-case) or "". A drop-down takes one of its items, compared without
    // regard to ASCII case and stored in the item's own spelling.
    std::optional<std::string> pastedText(std::string_view text) const;

    static TableColumn text(int width, ColumnShown shown = ColumnShown::Always, int widthWithEthernet = 0);
    static TableColumn dropDown(int width, std::vector<std::string> items);
    static TableColumn checkBox(int width, ColumnShown shown);
};

// One attribute of a `row` element, in file order. Exactly one source applies: a cell
// (column >= 1), a constant, or a computed value with its own reading.
struct TableAttribute {
    const char* name = "";
    int column = -1;                // the cell this attribute holds, as typed
    const char* constant = nullptr; // written as is, never read back
    // Computed: the text to write for a used row, and how a loaded text fills the row's cells.
    std::string (*compute)(const Grid& grid, int row) = nullptr;
    void (*spread)(std::string_view text, Grid& grid, int row) = nullptr;
    // The value the banked image takes for a cell attribute that is missing or not a number.
    std::int32_t imageDefault = 0;

    static TableAttribute cell(const char* name, int column, std::int32_t imageDefault = 0);
    static TableAttribute fixed(const char* name, const char* value);
    static TableAttribute computed(const char* name, std::string (*compute)(const Grid&, int),
                                   void (*spread)(std::string_view, Grid&, int));
};

// The kinds of row checks. Numbers are read with textToInt(cell, -1).
enum class CheckKind {
    Range,          // cell in lo..hi
    Unique,         // cell value not accepted before in this validation; then accepted
    NotBlank,       // cell not blank
    OneOf,          // cell value among `values`
    BlockEnd,       // cell + registers(otherColumn) - 1 <= hi
    BlockUnique,    // none of the registers cell .. cell + registers(otherColumn) - 1 accepted
                    // before; each accepted in turn
    RangeWhenTicked // cell in lo..hi, examined only when otherColumn upper-cased is "Y"
};

// One check of a used row. It runs only while its column is shown.
struct TableCheck {
    CheckKind kind = CheckKind::Range;
    int column = 1;
    int message = 0; // UI_Texts index of the message that starts with "!!"
    std::int32_t lo = 0;
    std::int32_t hi = 0;
    int otherColumn = 0;              // Dimension for the block checks, the tick for RangeWhenTicked
    std::vector<std::int32_t> values; // OneOf

    static TableCheck range(int column, int message, std::int32_t lo, std::int32_t hi);
    static TableCheck unique(int column, int message);
    static TableCheck notBlank(int column, int message);
    static TableCheck oneOf(int column, int message, std::vector<std::int32_t> values);
    static TableCheck blockEnd(int column, int message, std::int32_t hi, int dimensionColumn);
    static TableCheck blockUnique(int column, int message, int dimensionColumn);
    static TableCheck rangeWhenTicked(int column, int message, std::int32_t lo, std::int32_t hi,
                                      int tickColumn);
};

// Everything that sets one table dialog apart from the others: its grid, its file shape, its
// checks and its block of UI texts. The five definitions are built once and never change.
struct TableDefinition {
    const char* objectName = "";                      // the dialog's name, "TFSDOClient"
    const char* fileName = "";                        // "sdo.xml"
    std::string ProjectFiles::*projectFile = nullptr; // where the project keeps its path
    const char* rootName = "";                        // root element written on save (any name is read)
    int rowCount = 0;                                 // data rows N
    int clientWidth = 700;
    int clientHeight = 337;
    int firstText = 0;                      // first index B of the UI_Texts block
    int lastText = 0;                       // last index: the delete-confirmation prefix
    bool readsDeviceVariant = false;        // columns depend on the device variant
    std::vector<TableColumn> columns;       // C columns, column 0 ("N") first
    std::vector<TableAttribute> attributes; // in file order
    std::vector<TableCheck> checks;         // in the order they run on a row
    // UI_Texts index of each column header's tooltip (meaning, unit, range), column 0 first.
    std::vector<int> columnTips;

    int columnCount() const { return static_cast<int>(columns.size()); }
    int captionText() const { return firstText; }
    int descriptionText() const { return firstText + 1; }
    // Captions of Btn_OK, Btn_Cancel, Btn_DelRow, Btn_InsRow for k = 0..3.
    int buttonText(int k) const { return firstText + 2 + k; }
    int columnTitleText(int column) const { return firstText + 6 + column; }
    // The tooltip text index of a column's header, or -1 when it has none.
    int columnTipText(int column) const
    {
        return column >= 0 && column < static_cast<int>(columnTips.size()) ? columnTips[column] : -1;
    }
    int rowErrorText() const { return firstText + 6 + columnCount(); }
    // The name of the attribute that holds `column`'s cell in the table file; "" for a column
    // the file does not hold (the row number, or a column folded into a computed attribute).
    const char* attributeOf(int column) const;
    // The banked image's value for `column` when its attribute is missing or not a number.
    std::int32_t imageDefaultOf(int column) const;
    int deleteText() const { return lastText; }
};

} // namespace setforge
