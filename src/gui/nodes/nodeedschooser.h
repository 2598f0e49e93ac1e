#pragma once

#include <optional>

#include <QString>

class QWidget;

namespace setforge {

// The two questions of "Add EDS…": which file, and which node it describes. Behind an
// interface so a test can answer them.
class NodeEdsChooser {
public:
    virtual ~NodeEdsChooser() = default;

    // Asks for an EDS or DCF file to open; `filterName` names the file kind. Returns the full
    // path, or an empty text when the user cancels.
    virtual QString chooseEdsFile(QWidget* parent, const QString& filterName) = 0;
    // Asks for a node ID from 1 to 127 with `label`, proposing `suggested`. Nothing on cancel.
    virtual std::optional<int> chooseNodeId(QWidget* parent, const QString& label, int suggested) = 0;

    // The chooser in use: the real dialogs unless a test installed another.
    static NodeEdsChooser& instance();
    // Installs `chooser` (nullptr restores the real dialogs). The caller keeps ownership.
    static void setInstance(NodeEdsChooser* chooser);
};

} // namespace setforge
