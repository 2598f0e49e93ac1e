#pragma once

#include <optional>
#include <vector>

#include "core/nodes/remotepdo.h"
#include "gui/app/setforgedialog.h"

class QPushButton;
class QTreeWidget;

namespace setforge {

class NodeChooser;

// "Fill from a Node's Transmit PDO…" (receive PDO table) and "Fill from a Node's Receive
// PDO…" (transmit PDO table): the default PDOs of a catalogue node with their COB-ID resolved
// for the node, transmission type, length and mapped objects. A PDO the node has switched off
// (COB-ID bit 31) or that maps nothing is marked, says why in its tooltip, and cannot be chosen.
class PdoPresetDialog : public SetforgeDialog {
    Q_OBJECT
public:
    // `nodeTransmits`: list the node's transmit PDOs (for the receive table), else its receive PDOs.
    PdoPresetDialog(AppState& state, bool nodeTransmits, QWidget* parent);

    void applyTexts() override;

    // The PDO chosen on OK, or nothing (also for a PDO that cannot be chosen).
    std::optional<RemotePdo> chosenPdo() const;
    // The node whose PDO was chosen, 0 when none.
    int nodeId() const;

    NodeChooser* nodeChooser() const { return m_chooser; }
    QTreeWidget* list() const { return m_list; }

private:
    void fillList();

    bool m_nodeTransmits;
    NodeChooser* m_chooser = nullptr;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    std::vector<RemotePdo> m_pdos;
};

} // namespace setforge
