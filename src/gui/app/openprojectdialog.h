#pragma once

#include <QStringList>

#include "gui/app/setforgedialog.h"

class QLabel;
class QListWidget;
class QPushButton;

// Open configuration dialog: lists the project directories and returns the chosen name.
class TFOpenConf : public SetforgeDialog {
    Q_OBJECT
public:
    TFOpenConf(AppState& state, QWidget* parent);
    void Set_Lang() override;

    // The chosen project name (empty: none).
    QString Name_Conf() const { return m_nameConf; }
    // The names listed at the last showing.
    const QStringList& SL() const { return m_list; }

    // Refills the list from PROJECTS and preselects the open project, or the first entry.
    void Load_Existing_Configuration();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QStringList m_list;
    QString m_nameConf;
    QLabel* m_desc = nullptr;
    QLabel* m_listLabel = nullptr;
    QListWidget* m_box = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
