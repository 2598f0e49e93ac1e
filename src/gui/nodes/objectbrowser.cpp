#include "gui/nodes/objectbrowser.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/app/appstate.h"
#include "core/lang/textid.h"
#include "core/nodes/edsdatatype.h"
#include "core/nodes/edsvalue.h"
#include "core/nodes/sdoobjectpick.h"
#include "gui/app/qtext.h"
#include "gui/nodes/nodechooser.h"

namespace setforge {

namespace {

enum Column { IndexColumn, SubColumn, NameColumn, TypeColumn, AccessColumn, PdoColumn, ColumnCount };
constexpr int kIndexRole = Qt::UserRole;      // object index
constexpr int kSubRole = Qt::UserRole + 1;    // sub-index, -1 for an ARRAY/RECORD head
constexpr int kReasonRole = Qt::UserRole + 2; // UI_Texts index of why it does not fit, 0 when it fits

int unfitText(const EdsEntry& entry)
{
    switch (sdoFit(entry)) {
    case SdoFit::Fits:
        return 0;
    case SdoFit::Text:
        return TextId::NodeUnfitText;
    case SdoFit::Domain:
        return TextId::NodeUnfitDomain;
    case SdoFit::Size:
        return TextId::NodeUnfitSize;
    case SdoFit::WriteOnly:
        return TextId::NodeUnfitWriteOnly;
    }
    return TextId::NodeUnfitSize;
}

} // namespace

ObjectBrowser::ObjectBrowser(AppState& state, QWidget* parent) : SetforgeDialog(state, parent)
{
    setObjectName("TFObjectBrowser");
    m_chooser = new NodeChooser(state, this);
    m_filterLabel = new QLabel(this);
    m_filter = new QLineEdit(this);
    m_filter->setObjectName("E_Filter");
    m_filter->setClearButtonEnabled(true);
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName("TV_Objects");
    m_tree->setColumnCount(ColumnCount);
    m_tree->setUniformRowHeights(true);
    m_tree->setAlternatingRowColors(true);
    // Several objects at once, each becoming its own row or rows.
    m_tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_tree->header()->setStretchLastSection(false);
    m_tree->header()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    m_reason = new QLabel(this);
    m_reason->setObjectName("L_Reason");
    m_highWord = new QCheckBox(this);
    m_highWord->setObjectName("CB_HighWord");
    m_ok = new QPushButton(this);
    m_ok->setObjectName("Btn_OK");
    m_ok->setDefault(true);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName("Btn_Cancel");
    m_cancel->setAutoDefault(false);

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(m_filterLabel);
    filterRow->addWidget(m_filter, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_highWord);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_chooser);
    layout->addLayout(filterRow);
    layout->addWidget(m_tree, 1);
    layout->addWidget(m_reason);
    layout->addLayout(buttons);

    connect(m_chooser, &NodeChooser::deviceChanged, this, &ObjectBrowser::fillTree);
    connect(m_filter, &QLineEdit::textChanged, this, &ObjectBrowser::applyFilter);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &ObjectBrowser::currentChanged);
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &ObjectBrowser::currentChanged);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (m_ok->isEnabled())
            accept();
    });
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(760, 480);
    applyTexts();
    m_chooser->reload();
}

void ObjectBrowser::applyTexts()
{
    setWindowTitle(text(TextId::NodeBrowserCaption));
    m_chooser->applyTexts();
    m_filterLabel->setText(text(TextId::NodeFilter));
    m_tree->setHeaderLabels({text(TextId::NodeColumnIndex), text(TextId::NodeColumnSub),
                             text(TextId::NodeColumnName), text(TextId::NodeColumnDataType),
                             text(TextId::NodeColumnAccess), text(TextId::NodeColumnPdo)});
    m_highWord->setText(text(TextId::NodeHighWord));
    m_ok->setText(text(TextId::NodeOk));
    m_cancel->setText(text(TextId::NodeCancel));
    currentChanged();
}

void ObjectBrowser::fillTree()
{
    m_tree->clear();
    const EdsDevice* device = m_chooser->device();
    m_device = device ? std::optional<EdsDevice>(*device) : std::nullopt;
    if (!m_device) {
        m_reason->setText(m_chooser->nodeId() == 0 ? text(TextId::NodeNoNodeYet) : QString());
        currentChanged();
        return;
    }
    const QString yes = text(TextId::NodeYes);
    const QString no = text(TextId::NodeNo);
    const QBrush grey = palette().brush(QPalette::Disabled, QPalette::Text);
    auto describe = [&](QTreeWidgetItem* item, const EdsEntry& entry) {
        item->setText(IndexColumn, qs(hexText(entry.index, 4)));
        item->setText(SubColumn, QString::number(entry.subIndex));
        item->setText(NameColumn, qs(entry.name));
        item->setText(TypeColumn, qs(edsDataTypeName(entry.dataType)));
        item->setText(AccessColumn, qs(entry.access));
        item->setText(PdoColumn, entry.pdoMapping ? yes : no);
        item->setData(0, kIndexRole, entry.index);
        item->setData(0, kSubRole, entry.subIndex);
        const int reason = unfitText(entry);
        item->setData(0, kReasonRole, reason);
        if (reason != 0) {
            // Greyed and left out of a selection; it can still be made current to read why.
            item->setFlags(item->flags() & ~Qt::ItemIsSelectable);
            for (int c = 0; c < ColumnCount; ++c) {
                item->setForeground(c, grey);
                item->setToolTip(c, text(reason));
            }
        }
    };
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<int>(m_device->objects.size()));
    for (const EdsObject& object : m_device->objects) {
        auto* top = new QTreeWidgetItem;
        if (object.objectType == kObjectVar && object.entries.size() == 1) {
            describe(top, object.entries.front());
        } else {
            top->setText(IndexColumn, qs(hexText(object.index, 4)));
            top->setText(NameColumn, qs(object.name));
            top->setData(0, kIndexRole, object.index);
            top->setData(0, kSubRole, -1);
            top->setFlags(top->flags() & ~Qt::ItemIsSelectable);
            for (const EdsEntry& entry : object.entries) {
                auto* child = new QTreeWidgetItem(top);
                describe(child, entry);
            }
        }
        items.push_back(top);
    }
    m_tree->addTopLevelItems(items);
    m_tree->resizeColumnToContents(IndexColumn);
    m_tree->resizeColumnToContents(TypeColumn);
    applyFilter(m_filter->text());
    currentChanged();
}

void ObjectBrowser::applyFilter(const QString& filterText)
{
    const QString wanted = filterText.trimmed();
    auto matches = [&](const QTreeWidgetItem* item) {
        return wanted.isEmpty() || item->text(NameColumn).contains(wanted, Qt::CaseInsensitive) ||
               item->text(IndexColumn).contains(wanted, Qt::CaseInsensitive);
    };
    m_tree->setUpdatesEnabled(false);
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* top = m_tree->topLevelItem(i);
        const bool topMatches = matches(top);
        bool anyChild = false;
        for (int k = 0; k < top->childCount(); ++k) {
            QTreeWidgetItem* child = top->child(k);
            const bool shown = topMatches || matches(child);
            child->setHidden(!shown);
            anyChild = anyChild || shown;
        }
        top->setHidden(!topMatches && !anyChild);
        // Open an object when the filter found it through one of its entries.
        if (!wanted.isEmpty() && anyChild && !topMatches)
            top->setExpanded(true);
    }
    m_tree->setUpdatesEnabled(true);
}

const EdsEntry* ObjectBrowser::entryOf(const QTreeWidgetItem* item) const
{
    if (item == nullptr || !m_device || item->data(0, kSubRole).toInt() < 0)
        return nullptr;
    return m_device->findEntry(static_cast<std::uint16_t>(item->data(0, kIndexRole).toUInt()),
                               static_cast<std::uint8_t>(item->data(0, kSubRole).toUInt()));
}

void ObjectBrowser::currentChanged()
{
    const QTreeWidgetItem* item = m_tree->currentItem();
    const EdsEntry* entry = entryOf(item);
    const int reason = item ? item->data(0, kReasonRole).toInt() : 0;
    m_ok->setEnabled(!chosenEntries().empty() || (entry != nullptr && reason == 0));
    if (m_device)
        m_reason->setText(reason != 0 ? text(reason) : QString());
}

int ObjectBrowser::nodeId() const
{
    return m_chooser->nodeId();
}

std::optional<EdsEntry> ObjectBrowser::chosenEntry() const
{
    const std::vector<EdsEntry> entries = chosenEntries();
    return entries.empty() ? std::nullopt : std::optional<EdsEntry>(entries.front());
}

std::vector<EdsEntry> ObjectBrowser::chosenEntries() const
{
    std::vector<EdsEntry> entries;
    auto take = [&](const QTreeWidgetItem* item) {
        if (item->isSelected() && !item->isHidden())
            if (const EdsEntry* entry = entryOf(item); entry != nullptr && sdoFit(*entry) == SdoFit::Fits)
                entries.push_back(*entry);
    };
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* top = m_tree->topLevelItem(i);
        take(top);
        for (int k = 0; k < top->childCount(); ++k)
            take(top->child(k));
    }
    // A current entry that fits counts when nothing is selected (the keyboard moves the
    // current item without selecting in some styles).
    if (entries.empty())
        if (const EdsEntry* entry = entryOf(m_tree->currentItem());
            entry != nullptr && sdoFit(*entry) == SdoFit::Fits)
            entries.push_back(*entry);
    return entries;
}

bool ObjectBrowser::alsoHighWord() const
{
    return m_highWord->isChecked();
}

} // namespace setforge
