#pragma once

#include <QDialog>

#include "core/report/findinglocation.h"

namespace setforge {

struct AppState;

// Base of every window created once at start: it keeps the process-wide state and puts
// the texts of its UI_Texts block on its controls in applyTexts.
class SetforgeDialog : public QDialog {
    Q_OBJECT
public:
    SetforgeDialog(AppState& state, QWidget* parent);

    // Puts the window's texts, read from UI_Texts by index, on its controls.
    virtual void applyTexts() = 0;
    // Where the next showing starts, for a finding of the project checks that names this
    // window's file: a table dialog makes that row and column current, a mapping editor selects
    // that entry. Windows without rows ignore it.
    virtual void startAt(const FindingLocation& location) { (void)location; }

protected:
    // The text at `index` of UI_Texts, as a QString.
    QString text(int index) const;
    AppState& m_state;
};

} // namespace setforge
