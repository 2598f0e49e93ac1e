#pragma once

#include <optional>

#include <QWidget>

#include "core/nodes/edsdevice.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace setforge {

struct AppState;

// The node chooser of the object browser and the PDO presets: the nodes of the project's
// catalogue (Nodes.xml) with "Add EDS…" and "Remove Node". It reads the chosen node's EDS copy
// and announces it; problems with the catalogue or an EDS go through the message service and
// leave the chooser without a device.
class NodeChooser : public QWidget {
    Q_OBJECT
public:
    NodeChooser(AppState& state, QWidget* parent);

    // Reads the catalogue again and chooses `nodeId` when listed, else the first node.
    void reload(int nodeId = 0);
    // Puts the texts of UI_Texts on the label and buttons.
    void applyTexts();

    // The chosen node's ID, or 0.
    int nodeId() const;
    // The chosen node's device, or nullptr when none is chosen or its EDS could not be read.
    const EdsDevice* device() const { return m_device ? &*m_device : nullptr; }

    // Asks for an EDS and its node ID and adds them to the catalogue. An EDS the catalogue
    // refuses is named with the reason; the converter's own node ID and a node that has an
    // EDS already are asked about first. A catalogue that cannot be read is said so, and
    // nothing is added.
    void addEds();
    // Asks, then removes the chosen node from the catalogue (its EDS copy stays).
    void removeNode();

signals:
    void deviceChanged();

private:
    QString text(int index) const;
    void readChosenDevice();
    // The converter's own CANopen node ID from the communication parameters, when readable.
    std::optional<int> converterNodeId() const;

    AppState& m_state;
    QLabel* m_label = nullptr;
    QComboBox* m_nodes = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    std::optional<EdsDevice> m_device;
};

} // namespace setforge
