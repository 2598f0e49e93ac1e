#include "gui/nodes/nodechooser.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "core/app/appstate.h"
#include "core/base/paths.h"
#include "core/base/textint.h"
#include "core/lang/textid.h"
#include "core/nodes/edsreader.h"
#include "core/nodes/nodecatalog.h"
#include "core/tables/pargenfile.h"
#include "gui/app/messageservice.h"
#include "gui/app/qtext.h"
#include "gui/nodes/nodeedschooser.h"

namespace setforge {

NodeChooser::NodeChooser(AppState& state, QWidget* parent) : QWidget(parent), m_state(state)
{
    m_label = new QLabel(this);
    m_nodes = new QComboBox(this);
    m_nodes->setObjectName("CB_Node");
    m_nodes->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_add = new QPushButton(this);
    m_add->setObjectName("Btn_AddEds");
    m_add->setAutoDefault(false);
    m_remove = new QPushButton(this);
    m_remove->setObjectName("Btn_RemoveNode");
    m_remove->setAutoDefault(false);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_label);
    layout->addWidget(m_nodes, 1);
    layout->addWidget(m_add);
    layout->addWidget(m_remove);
    connect(m_nodes, &QComboBox::currentIndexChanged, this, [this] { readChosenDevice(); });
    connect(m_add, &QPushButton::clicked, this, &NodeChooser::addEds);
    connect(m_remove, &QPushButton::clicked, this, &NodeChooser::removeNode);
    applyTexts();
}

QString NodeChooser::text(int index) const
{
    return qs(m_state.texts.at(index));
}

void NodeChooser::applyTexts()
{
    m_label->setText(text(TextId::NodeLabel));
    m_add->setText(text(TextId::NodeAddEds));
    m_remove->setText(text(TextId::NodeRemove));
}

int NodeChooser::nodeId() const
{
    return m_nodes->currentIndex() < 0 ? 0 : m_nodes->currentData().toInt();
}

void NodeChooser::reload(int nodeId)
{
    NodeCatalog catalog;
    const Result<std::vector<std::string>> loaded = catalog.load(m_state.projectDir);
    if (!loaded)
        messages().error(this, text(TextId::NodeCatalogueUnreadable) + qs(loaded.error().text));
    else if (!loaded->empty()) {
        QStringList problems;
        for (const std::string& problem : *loaded)
            problems << qs(problem);
        messages().warning(this, problems.join('\n'));
    }
    const QSignalBlocker block(m_nodes);
    m_nodes->clear();
    for (const NodeCatalog::Node& node : catalog.nodes())
        m_nodes->addItem(QString("%1 (%2)").arg(node.nodeId).arg(qs(node.file)), node.nodeId);
    const int found = m_nodes->findData(nodeId);
    m_nodes->setCurrentIndex(found >= 0 ? found : (m_nodes->count() > 0 ? 0 : -1));
    m_remove->setEnabled(m_nodes->count() > 0);
    readChosenDevice();
}

void NodeChooser::readChosenDevice()
{
    m_device.reset();
    const int id = nodeId();
    if (id > 0) {
        NodeCatalog catalog;
        (void)catalog.load(m_state.projectDir);
        if (const NodeCatalog::Node* node = catalog.find(id)) {
            Result<EdsRead> read = readEdsFile(NodeCatalog::edsPath(m_state.projectDir, *node), id);
            if (read) {
                m_device = std::move(read->device);
                const int index = m_nodes->currentIndex();
                m_nodes->setItemText(
                    index, QString("%1 \u2013 %2 %3 (%4)")
                               .arg(id)
                               .arg(qs(m_device->vendorName), qs(m_device->productName), qs(node->file)));
            } else {
                messages().error(this, text(TextId::NodeEdsUnreadable) +
                                           qs(node->file + ": " + edsErrorMessage(read.error())));
            }
        }
    }
    emit deviceChanged();
}

void NodeChooser::addEds()
{
    NodeEdsChooser& chooser = NodeEdsChooser::instance();
    const QString path = chooser.chooseEdsFile(this, text(TextId::NodeEdsFileKind));
    if (path.isEmpty())
        return;
    // The catalogue first: a broken Nodes.xml is named as such, and is never saved over.
    NodeCatalog catalog;
    if (const Result<std::vector<std::string>> loaded = catalog.load(m_state.projectDir); !loaded) {
        messages().error(this, text(TextId::NodeCatalogueUnreadable) + qs(loaded.error().text));
        return;
    }
    int suggested = 1;
    while (suggested < 127 && catalog.find(suggested))
        ++suggested;
    const std::optional<int> id = chooser.chooseNodeId(this, text(TextId::NodeIdQuestion), suggested);
    if (!id)
        return;
    const std::string fileName = pathToUtf8(pathFromUtf8(us(path)).filename());
    if (const Result<EdsRead> eds = NodeCatalog::readNodeEds(us(path), *id); !eds) {
        const Error& error = eds.error();
        const QString reason = error.textId != 0 ? text(error.textId) : qs(edsErrorMessage(error));
        messages().error(this, text(TextId::NodeEdsUnreadable) + qs(fileName) + ": " + reason);
        return;
    }
    const std::optional<int> ownId = converterNodeId();
    if (ownId && *ownId == *id && !messages().question(this, text(TextId::NodeOwnNodeId).arg(*id)))
        return;
    if (const NodeCatalog::Node* existing = catalog.find(*id);
        existing != nullptr &&
        !messages().question(this,
                             text(TextId::NodeReplaceEds).arg(*id).arg(qs(existing->file), qs(fileName))))
        return;
    const Result<std::string> added = NodeCatalog::addNodeEds(m_state.projectDir, *id, us(path));
    if (!added) {
        messages().error(this, qs(added.error().text));
        return;
    }
    reload(*id);
}

std::optional<int> NodeChooser::converterNodeId() const
{
    const Result<ParGenValues> values = loadParGen(m_state.files.parGen);
    if (!values)
        return std::nullopt;
    const std::int32_t id = textToInt(values->canId, -1);
    return id >= 1 && id <= 127 ? std::optional<int>(id) : std::nullopt;
}

void NodeChooser::removeNode()
{
    const int id = nodeId();
    if (id == 0 || !messages().question(this, text(TextId::NodeRemoveQuestion) + QString::number(id)))
        return;
    NodeCatalog catalog;
    const Result<std::vector<std::string>> loaded = catalog.load(m_state.projectDir);
    if (!loaded) {
        messages().error(this, text(TextId::NodeCatalogueUnreadable) + qs(loaded.error().text));
        return;
    }
    catalog.removeNode(id);
    const Result<void> saved = catalog.save(m_state.projectDir);
    if (!saved)
        messages().error(this, qs(saved.error().text));
    reload();
}

} // namespace setforge
