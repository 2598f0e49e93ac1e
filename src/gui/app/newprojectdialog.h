#pragma once

#include "gui/app/setforgedialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace setforge {

// New configuration dialog: creates a project directory under PROJECTS and opens it.
class NewProjectDialog : public SetforgeDialog {
    Q_OBJECT
public:
    NewProjectDialog(AppState& state, QWidget* parent);
    void applyTexts() override;

public slots:
    // Creates the project named in E_New_Proj, or reports why not and stays open.
    void onOkClicked();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* m_desc = nullptr;
    QLabel* m_nameLabel = nullptr;
    QLineEdit* m_name = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace setforge
