#include "gui/nodes/nodeedschooser.h"

#include <QFileDialog>
#include <QInputDialog>

namespace setforge {

namespace {

class DialogEdsChooser : public NodeEdsChooser {
public:
    QString chooseEdsFile(QWidget* parent, const QString& filterName) override
    {
        return QFileDialog::getOpenFileName(parent, QString(), QString(),
                                            filterName + " (*.eds *.dcf *.EDS *.DCF)");
    }

    std::optional<int> chooseNodeId(QWidget* parent, const QString& label, int suggested) override
    {
        bool ok = false;
        const int id = QInputDialog::getInt(parent, QString(), label, suggested, 1, 127, 1, &ok);
        return ok ? std::optional<int>(id) : std::nullopt;
    }
};

NodeEdsChooser* g_installed = nullptr;

} // namespace

NodeEdsChooser& NodeEdsChooser::instance()
{
    static DialogEdsChooser real;
    return g_installed ? *g_installed : real;
}

void NodeEdsChooser::setInstance(NodeEdsChooser* chooser)
{
    g_installed = chooser;
}

} // namespace setforge
