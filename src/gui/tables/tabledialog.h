#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/tables/grid.h"
#include "core/tables/tabledefinition.h"
#include "gui/app/setforgedialog.h"

class QAction;
class QFrame;
class QKeySequence;
class QLabel;
class QPushButton;

namespace setforge {

class TableGrid;
class TableModel;

// The one table dialog: given a table definition it is TFSDOClient, TFEMCYAccess,
// TFNodeGuard, TFPDOReceive or TFPDOTransmit (its objectName). It loads the table file each
// time it is shown, validates every used row on OK and rewrites the whole file; Cancel writes
// nothing. All reading, checking and writing is the core's; the dialog moves texts and shows
// what the core returns.
class TableDialog : public SetforgeDialog {
    Q_OBJECT
public:
    TableDialog(const TableDefinition& table, AppState& state, QWidget* parent);

    void applyTexts() override;
    // The next showing starts at the finding's row and column (see SetforgeDialog).
    void startAt(const FindingLocation& location) override;

    // Loads the table and the device variant, then shows the dialog modally. When the table
    // file cannot be read or is not well-formed, its error text is shown instead and the
    // dialog is not opened, so nothing can overwrite the file with an empty table.
    int exec() override;

    // Clears the grid, reads the device variant (PDO tables), lays out the columns, applies
    // the two table options and loads the table file. False (message shown) when the file
    // could not be read.
    bool reload();
    // Validates the used rows; shows the first failure's message, then makes the failing cell
    // current and scrolls it into view, and returns false.
    bool validate();

    // True when a cell differs from what the last showing loaded.
    bool hasChanges() const;

    // Lets an add-on offer an action on the rows: it is in the grid's context menu and runs on
    // `shortcut` while the grid or one of its editors has the focus. Its caption is text
    // `textIndex` of UI_Texts, renewed with the dialog's other texts; `objectName` names the
    // action for tests. With `buttonName`, a button of that name in the button row runs it too,
    // so the action is seen without knowing the menu. The dialog owns the action.
    QAction* addRowAction(int textIndex, const char* objectName, const QKeySequence& shortcut,
                          std::function<void()> run, const char* buttonName = nullptr);
    // The grid row (1..N) of the current cell; row 1 when there is none.
    int currentGridRow() const;

    const TableDefinition& table() const { return m_table; }
    const Grid& grid() const { return m_grid; }
    DeviceVariant variant() const { return m_variant; }
    TableModel* model() const { return m_model; }
    TableGrid* view() const { return m_view; }

public slots:
    void onOkClicked();
    void onDeleteRowClicked();
    void onInsertRowClicked();
    // Cancel, Escape and the title-bar close: with changes, asks "Discard the changes?" first
    // and stays open on No.
    void reject() override;

private:
    void buildLayout();
    std::string filePath() const;
    // Makes the cell of grid row `row` current in `column` (kept when hidden or 0: the current
    // column, else the first data column), scrolls it into view and gives the grid the focus.
    void focusCell(int row, int column);

    const TableDefinition& m_table;
    Grid m_grid;
    Grid m_loaded; // the grid as loaded, to tell whether anything was changed
    DeviceVariant m_variant = DeviceVariant::WithoutEthernet;
    int m_startRow = 0; // the row the next showing makes current; 0 for the first
    int m_startColumn = 0;
    TableModel* m_model = nullptr;
    TableGrid* m_view = nullptr;
    QFrame* m_title = nullptr;
    QLabel* m_swCode = nullptr;
    QLabel* m_swDesc = nullptr;
    QLabel* m_note = nullptr; // a warning over the grid, shown only when it applies
    QFrame* m_buttons = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_delRow = nullptr;
    QPushButton* m_insRow = nullptr;
    std::vector<std::pair<QAction*, int>> m_rowActions;     // each add-on action and its text index
    std::vector<std::pair<QPushButton*, int>> m_rowButtons; // each add-on button and its text index
};

} // namespace setforge
