#pragma once

#include <optional>
#include <vector>

#include "core/nodes/edsdevice.h"
#include "gui/app/setforgedialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace setforge {

class NodeChooser;

// "Pick Object from EDS…": a node of the catalogue, a tree of its objects and sub-objects
// (index, sub-index, name, data type, access, PDO-mappable) and a filter on name or index.
// Entries no SDO row can hold (write-only ones among them, since every row reads) are greyed,
// with the reason, and cannot be selected; several entries can be taken at once.
class ObjectBrowser : public SetforgeDialog {
    Q_OBJECT
public:
    ObjectBrowser(AppState& state, QWidget* parent);

    void applyTexts() override;

    // Shows only the entries whose name or index ("0x6041") contains `text`, letters in any
    // case, with the objects they belong to; an object that matches shows all its entries.
    void applyFilter(const QString& text);

    // The node whose entry was taken, 0 when none.
    int nodeId() const;
    // The first entry taken on OK, or nothing.
    std::optional<EdsEntry> chosenEntry() const;
    // The entries taken on OK, in the tree's order: the selected ones that fit and are shown,
    // else the current one when it fits.
    std::vector<EdsEntry> chosenEntries() const;
    // True when "also the high word" is ticked.
    bool alsoHighWord() const;

    NodeChooser* nodeChooser() const { return m_chooser; }
    QTreeWidget* tree() const { return m_tree; }

private:
    void fillTree();
    void currentChanged();
    const EdsEntry* entryOf(const QTreeWidgetItem* item) const;

    NodeChooser* m_chooser = nullptr;
    QLabel* m_filterLabel = nullptr;
    QLineEdit* m_filter = nullptr;
    QTreeWidget* m_tree = nullptr;
    QLabel* m_reason = nullptr;
    QCheckBox* m_highWord = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    std::optional<EdsDevice> m_device;
};

} // namespace setforge
