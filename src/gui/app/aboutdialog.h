#pragma once

#include "gui/app/setforgedialog.h"

class QLabel;

namespace setforge {

// About window: the program's codes and version, whose texts are fixed, and the workspace
// folder in use, whose caption is translated.
class AboutDialog : public SetforgeDialog {
    Q_OBJECT
public:
    AboutDialog(AppState& state, QWidget* parent);
    void applyTexts() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* m_workspaceCaption = nullptr;
    QLabel* m_workspaceDir = nullptr;
};

} // namespace setforge
