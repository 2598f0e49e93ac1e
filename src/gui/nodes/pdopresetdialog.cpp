#include "gui/nodes/pdopresetdialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/app/appstate.h"
#include "core/lang/textid.h"
#include "core/nodes/edsvalue.h"
#include "core/nodes/pdorowfill.h"
#include "gui/app/qtext.h"
#include "gui/nodes/nodechooser.h"

namespace setforge {

PdoPresetDialog::PdoPresetDialog(AppState& state, bool nodeTransmits, QWidget* parent)
    : SetforgeDialog(state, parent), m_nodeTransmits(nodeTransmits)
{
    setObjectName("TFPdoPreset");
    m_chooser = new NodeChooser(state, this);
    m_list = new QTreeWidget(this);
    m_list->setObjectName("TV_Pdos");
    m_list->setColumnCount(5);
    m_list->setRootIsDecorated(false);
    m_list->header()->setStretchLastSection(true);
    m_ok = new QPushButton(this);
    m_ok->setObjectName("Btn_OK");
    m_ok->setDefault(true);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName("Btn_Cancel");
    m_cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_chooser);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    connect(m_chooser, &NodeChooser::deviceChanged, this, &PdoPresetDialog::fillList);
    connect(m_list, &QTreeWidget::currentItemChanged, this,
            [this] { m_ok->setEnabled(chosenPdo().has_value()); });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (chosenPdo())
            accept();
    });
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(640, 320);
    applyTexts();
    m_chooser->reload();
}

void PdoPresetDialog::applyTexts()
{
    setWindowTitle(text(TextId::NodePdoCaption));
    m_chooser->applyTexts();
    m_list->setHeaderLabels({text(TextId::NodePdoColumnPdo), text(TextId::NodePdoColumnCobId),
                             text(TextId::NodePdoColumnType), text(TextId::NodePdoColumnBytes),
                             text(TextId::NodePdoColumnMapped)});
    m_ok->setText(text(TextId::NodeOk));
    m_cancel->setText(text(TextId::NodeCancel));
}

void PdoPresetDialog::fillList()
{
    m_list->clear();
    m_pdos.clear();
    if (const EdsDevice* device = m_chooser->device())
        m_pdos = listDefaultPdos(*device, m_nodeTransmits, m_chooser->nodeId());
    for (std::size_t i = 0; i < m_pdos.size(); ++i) {
        const RemotePdo& pdo = m_pdos[i];
        auto* item = new QTreeWidgetItem(m_list);
        const QString reason = qs(pdoUnusableReason(pdo, m_state.texts));
        QString name = QString(pdo.transmit ? "TPDO%1" : "RPDO%1").arg(pdo.number);
        if (!reason.isEmpty())
            name += ' ' + text(TextId::NodePdoOffMark);
        item->setText(0, name);
        item->setText(1, qs(hexText(pdo.cobId)));
        item->setText(2, pdo.transmissionType >= 0 ? QString::number(pdo.transmissionType) : QString("-"));
        item->setText(3, QString::number(pdo.bytes()));
        item->setText(4, qs(pdo.mappedNames()));
        item->setData(0, Qt::UserRole, static_cast<int>(i));
        QStringList bytes;
        for (const std::string& line : describePdoBytes(pdo))
            bytes << qs(line);
        if (!reason.isEmpty())
            bytes.prepend(reason);
        for (int c = 0; c < 5; ++c)
            item->setToolTip(c, bytes.join('\n'));
        if (!reason.isEmpty()) {
            // Shown, with why, but it cannot be chosen: filling a row from it gives a frame the
            // node never sends or takes.
            item->setFlags(item->flags() & ~(Qt::ItemIsSelectable | Qt::ItemIsEnabled));
        }
    }
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        if (m_list->topLevelItem(i)->flags() & Qt::ItemIsEnabled) {
            m_list->setCurrentItem(m_list->topLevelItem(i));
            break;
        }
    }
    m_ok->setEnabled(chosenPdo().has_value());
    for (int c = 0; c < 4; ++c)
        m_list->resizeColumnToContents(c);
}

std::optional<RemotePdo> PdoPresetDialog::chosenPdo() const
{
    const QTreeWidgetItem* item = m_list->currentItem();
    if (item == nullptr)
        return std::nullopt;
    const int i = item->data(0, Qt::UserRole).toInt();
    if (i < 0 || i >= static_cast<int>(m_pdos.size()) || !m_pdos[i].usable())
        return std::nullopt;
    return m_pdos[i];
}

int PdoPresetDialog::nodeId() const
{
    return m_chooser->nodeId();
}

} // namespace setforge
