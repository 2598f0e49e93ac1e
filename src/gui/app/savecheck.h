#pragma once

#include <QStringList>

#include "core/report/projectcheck.h"

class QWidget;

namespace setforge {

struct AppState;

// The project checks around the save of one table dialog or mapping editor: made before the
// save, they tell afterwards which findings the edit brought. The findings never stop the save.
class SaveCheck {
public:
    // Checks the project as its files are now, before the dialog writes its file.
    explicit SaveCheck(const AppState& state);

    // Checks again after the save and lists the findings that are new (newFindings), except the
    // lines that start with one of `alreadyShown`, in a box with "Go back" and "OK". True for OK or when
    // nothing is new: the dialog may close; false for Go back: the dialog stays open.
    bool reviewAfterSave(QWidget* parent, const QStringList& alreadyShown = {}) const;

private:
    const AppState& m_state;
    ProjectFindings m_before;
};

} // namespace setforge
