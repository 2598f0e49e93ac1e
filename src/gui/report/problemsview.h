#pragma once

#include <functional>
#include <vector>

#include "core/report/findinglocation.h"
#include "gui/app/setforgedialog.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace setforge {

// The Problems view: every line `setforge-cli check` prints for the open project, errors and
// warnings, each with its file, row and column. A double-click on a line opens the table or
// mapping editor of its file at that row, through the opener the main window gives; the list
// is checked again when that window closes.
class ProblemsView : public SetforgeDialog {
    Q_OBJECT
public:
    // `open` shows the window of a location's file there (modally) and returns when it closes.
    ProblemsView(AppState& state, QWidget* parent, std::function<void(const FindingLocation&)> open);

    void applyTexts() override;
    // Runs the project checks and lists their lines; without a project the list is empty.
    void refresh();
    // Opens the window of line `line` (from 0) of the list; does nothing for a line naming no file.
    void openLine(int line);

    // What the last refresh found, in the order of the list.
    const std::vector<FindingLocation>& locations() const { return m_locations; }

private:
    void buildLayout();

    std::function<void(const FindingLocation&)> m_open;
    std::vector<FindingLocation> m_locations;
    QLabel* m_hint = nullptr;
    QTableWidget* m_list = nullptr;
    QPushButton* m_checkAgain = nullptr;
    QPushButton* m_close = nullptr;
};

} // namespace setforge
