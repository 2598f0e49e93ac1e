#pragma once

#include <QStringList>

#include "gui/app/setforgedialog.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace setforge {

// Open configuration dialog: lists the project directories and returns the chosen name.
class OpenProjectDialog : public SetforgeDialog {
    Q_OBJECT
public:
    OpenProjectDialog(AppState& state, QWidget* parent);
    void applyTexts() override;

    // The chosen project name (empty: none).
    QString chosenProject() const { return m_chosenProject; }
    // The names listed at the last showing.
    const QStringList& listedProjects() const { return m_list; }

    // Refills the list from PROJECTS and preselects the open project, or the first entry.
    void refreshProjectList();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QStringList m_list;
    QString m_chosenProject;
    QLabel* m_desc = nullptr;
    QLabel* m_listLabel = nullptr;
    QListWidget* m_box = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace setforge
