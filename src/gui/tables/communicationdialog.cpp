#include "gui/tables/communicationdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>

#include "core/app/appstate.h"
#include "core/base/devicevariant.h"
#include "core/image/variantswitch.h"
#include "core/lang/textid.h"
#include "core/mapping/mappingmodel.h"
#include "core/tables/pargencheck.h"
#include "core/tables/pargenfile.h"
#include "gui/app/ipaddressedit.h"
#include "gui/app/messageservice.h"
#include "gui/app/qtext.h"
#include "gui/app/windowfactory.h"
#include "gui/tables/collapsiblepanel.h"
#include "gui/tables/collapsiblepanelgroup.h"
#include "gui/tables/communicationfields.h"

namespace setforge {

namespace {

using namespace CommunicationForm;

constexpr int kTitleBandHeight = 56;
constexpr int kButtonBandHeight = 52;
constexpr int kPanelWidth = 436;
// Inside a panel's body.
constexpr int kControlHeight = 22;
constexpr int kMargin = 8;
constexpr int kBottomMargin = 12; // below the last visible row, as the caption bar is above
constexpr int kColumnGap = 4;
constexpr int kAddressFieldWidth = 60;

using F = CommunicationForm::Field;
using V = ParGenValues;

bool startsRow(const F& field)
{
    return field.control == Control::Label || field.control == Control::Check;
}

QWidget* makeControl(const F& field, QWidget* body)
{
    const PanelShape& shape = kPanels[field.panel];
    QWidget* widget = nullptr;
    switch (field.control) {
    case Control::Label:
        widget = new QLabel(body);
        break;
    case Control::Check:
        widget = new QCheckBox(body);
        break;
    case Control::Edit:
        widget = new QLineEdit(body);
        break;
    case Control::List: {
        auto* list = new QComboBox(body);
        list->setEditable(false);
        for (const char* item : field.items)
            list->addItem(QString::fromUtf8(item));
        widget = list;
        break;
    }
    case Control::Address:
        return new IpAddressEdit(field.name, QSize(kAddressFieldWidth, kControlHeight), false, body);
    }
    widget->setObjectName(field.name);
    widget->setFixedSize(startsRow(field) ? shape.captionWidth : shape.valueWidth, kControlHeight);
    return widget;
}

void setList(QComboBox* list, int index)
{
    // An index outside the list (a hand-edited file) leaves the list without a selection.
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

} // namespace

SetforgeDialog* createCommunicationWindow(AppState& state, QWidget* parent)
{
    return new CommunicationDialog(state, parent);
}

CommunicationDialog::CommunicationDialog(AppState& state, QWidget* parent) : SetforgeDialog(state, parent)
{
    setObjectName("TFParGen");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    buildControls();
    m_swCode->setText(qs(kSoftwareCode));
    setMinimumWidth(kClientWidth);
    setMaximumWidth(kClientWidth);
    resize(kClientWidth, kClientHeight);
    layoutPanels();
    applyTexts();
}

void CommunicationDialog::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* title = new QWidget(this);
    title->setObjectName("P_Title");
    title->setFixedHeight(kTitleBandHeight);
    auto* titleLines = new QVBoxLayout(title);
    titleLines->setContentsMargins(12, 6, 12, 6);
    titleLines->setSpacing(0);
    m_swCode = new QLabel(title);
    m_swCode->setObjectName("L_SW_Code");
    QFont bold = m_swCode->font();
    bold.setBold(true);
    m_swCode->setFont(bold);
    m_swDesc = new QLabel(title);
    m_swDesc->setObjectName("L_SW_Desc");
    for (QLabel* line : {m_swCode, m_swDesc}) {
        line->setFixedHeight(kControlHeight);
        titleLines->addWidget(line);
    }
    layout->addWidget(title);

    m_panelGroup = new CollapsiblePanelGroup("CPG_Panels", kPanelWidth, this);
    layout->addWidget(m_panelGroup, 1);

    auto* buttons = new QWidget(this);
    buttons->setObjectName("P_Button");
    buttons->setFixedHeight(kButtonBandHeight);
    auto* buttonRow = new QHBoxLayout(buttons);
    buttonRow->setContentsMargins(0, 12, 0, 12);
    buttonRow->setSpacing(40);
    m_ok = new QPushButton(buttons);
    m_ok->setObjectName("Btn_OK");
    m_cancel = new QPushButton(buttons);
    m_cancel->setObjectName("Btn_Cancel");
    buttonRow->addStretch();
    for (QPushButton* button : {m_ok, m_cancel}) {
        button->setFixedSize(110, 28);
        // Enter in a field must not save the form behind the user's back.
        button->setAutoDefault(false);
        buttonRow->addWidget(button);
    }
    buttonRow->addStretch();
    connect(m_ok, &QPushButton::clicked, this, &CommunicationDialog::onOkClicked);
    connect(m_cancel, &QPushButton::clicked, this, &CommunicationDialog::onCancelClicked);
    layout->addWidget(buttons);

    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        m_panels[i] = m_panelGroup->addPanel(kPanels[i].name);
        m_forms[i] = new QFormLayout(m_panels[i]->body());
        m_forms[i]->setContentsMargins(kMargin, kMargin, kMargin, kBottomMargin);
        m_forms[i]->setHorizontalSpacing(kColumnGap);
        m_forms[i]->setVerticalSpacing(kRowPitch - kControlHeight);
    }

    IpAddressEdit* previousAddress = nullptr;
    for (const F& field : fields()) {
        QFormLayout* form = m_forms[field.panel];
        QWidget* widget = makeControl(field, m_panels[field.panel]->body());
        if (startsRow(field))
            form->addRow(widget, static_cast<QWidget*>(nullptr));
        else
            form->setWidget(form->rowCount() - 1, QFormLayout::FieldRole, widget);
        m_bound.push_back({&field, widget, form});

        if (auto* address = qobject_cast<IpAddressEdit*>(widget)) {
            // "." runs on through the address, the mask and the gateway.
            if (previousAddress)
                previousAddress->chainTo(address);
            previousAddress = address;
        }
        // Connected once the lists hold their items, so filling them is no change.
        if (field.tracked) {
            if (auto* check = qobject_cast<QCheckBox*>(widget))
                connect(check, &QCheckBox::toggled, this, &CommunicationDialog::markChanged);
            else if (auto* address = qobject_cast<IpAddressEdit*>(widget))
                connect(address, &IpAddressEdit::edited, this, &CommunicationDialog::markChanged);
            else if (auto* list = qobject_cast<QComboBox*>(widget))
                connect(list, &QComboBox::currentIndexChanged, this, &CommunicationDialog::markChanged);
            else if (auto* line = qobject_cast<QLineEdit*>(widget))
                connect(line, &QLineEdit::textChanged, this, &CommunicationDialog::markChanged);
        }
        if (field.index == &V::deviceType)
            m_device = qobject_cast<QComboBox*>(widget);
    }
    // The variant decides which rows and panels show.
    connect(m_device, &QComboBox::currentIndexChanged, this, &CommunicationDialog::layoutPanels);

    m_panelGroup->finishPanels();
    // The captions are composed here only, so they keep the language active at creation.
    for (std::size_t i = 0; i < m_panels.size(); ++i)
        m_panels[i]->setCaption(QString("%1. ").arg(i + 1) + text(kPanels[i].caption));
}

void CommunicationDialog::layoutPanels()
{
    const bool ethernet = hasEthernet(variantForSteps(variantShown()));
    for (const Bound& bound : m_bound)
        if (bound.field->shown != Shown::Always)
            bound.form->setRowVisible(bound.widget, (bound.field->shown == Shown::WithEthernet) == ethernet);
    // A panel ends below its last visible row: the caption bar, the form and its margins.
    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        m_forms[i]->activate();
        m_panels[i]->setExpandedHeight(CollapsiblePanel::kHeaderHeight + m_forms[i]->sizeHint().height());
    }
    m_panels[kEthernetPanel]->setVisible(ethernet);
    m_panelGroup->stackPanels();
}

void CommunicationDialog::applyTexts()
{
    setWindowTitle(text(TextId::CommunicationTitle));
    m_swDesc->setText(text(TextId::CommunicationDescription));
    m_ok->setText(text(TextId::CommunicationOk));
    m_cancel->setText(text(TextId::CommunicationCancel));
    m_ok->setToolTip(text(TextId::CommunicationOkHint));
    m_cancel->setToolTip(text(TextId::CommunicationCancelHint));
    const auto hint = [this](int hint, int unitRange) {
        return unitRange == TextId::None ? text(hint) : text(hint) + "\n" + text(unitRange);
    };
    for (const Bound& bound : m_bound) {
        const F& field = *bound.field;
        if (auto* label = qobject_cast<QLabel*>(bound.widget))
            label->setText(text(field.caption));
        else if (auto* check = qobject_cast<QCheckBox*>(bound.widget))
            check->setText(text(field.caption));
        if (auto* address = qobject_cast<IpAddressEdit*>(bound.widget)) {
            for (int b = 0; b < 4; ++b)
                address->field(b)->setToolTip(hint(field.hint + b, field.unitRange));
        } else if (field.hint != TextId::None) {
            bound.widget->setToolTip(hint(field.hint, field.unitRange));
        }
    }
}

void CommunicationDialog::showEvent(QShowEvent* event)
{
    SetforgeDialog::showEvent(event);
    if (!event->spontaneous())
        reload();
}

void CommunicationDialog::reload()
{
    const Result<ParGenValues> loaded = loadParGen(m_state.files.parGen);
    if (!loaded) {
        // The file cannot be shown; closing keeps OK from writing other values over it.
        messages().error(this, qs(loaded.error().text));
        m_isChange = false;
        QMetaObject::invokeMethod(
            this, [this] { QDialog::reject(); }, Qt::QueuedConnection);
        return;
    }
    m_loaded = *loaded;
    showValues(m_loaded);
    m_isChange = false; // filling the controls is not a change
    layoutPanels();
}

void CommunicationDialog::showValues(const ParGenValues& values)
{
    for (const Bound& bound : m_bound) {
        const F& field = *bound.field;
        if (field.flag)
            static_cast<QCheckBox*>(bound.widget)->setChecked(values.*field.flag);
        else if (field.text)
            static_cast<QLineEdit*>(bound.widget)->setText(qs(values.*field.text));
        else if (field.index)
            setList(static_cast<QComboBox*>(bound.widget), values.*field.index);
        else if (field.address)
            static_cast<IpAddressEdit*>(bound.widget)->setParts(values.*field.address);
    }
}

ParGenValues CommunicationDialog::valuesFromControls() const
{
    // Starting from what was loaded keeps a list index the list cannot show.
    ParGenValues values = m_loaded;
    for (const Bound& bound : m_bound) {
        const F& field = *bound.field;
        if (field.flag) {
            values.*field.flag = static_cast<QCheckBox*>(bound.widget)->isChecked();
        } else if (field.text) {
            values.*field.text = us(static_cast<QLineEdit*>(bound.widget)->text());
        } else if (field.index) {
            const int index = static_cast<QComboBox*>(bound.widget)->currentIndex();
            if (index >= 0)
                values.*field.index = index;
        } else if (field.address) {
            values.*field.address = static_cast<IpAddressEdit*>(bound.widget)->parts();
        }
    }
    return values;
}

int CommunicationDialog::variantShown() const
{
    return m_device->currentIndex() >= 0 ? m_device->currentIndex() : m_loaded.deviceType;
}

bool CommunicationDialog::validate()
{
    const int failure = firstParGenFailure(valuesFromControls());
    if (failure == 0)
        return true;
    messages().error(this, text(failure));
    return false;
}

void CommunicationDialog::onOkClicked()
{
    if (!validate())
        return;
    const ParGenValues values = valuesFromControls();
    const Result<void> written = saveParGen(values, m_state.files.parGen);
    if (!written) {
        messages().error(this, qs(written.error().text));
        return;
    }
    m_isChange = false;
    explainVariantSwitch(m_loaded.deviceType, values.deviceType);
    accept();
}

void CommunicationDialog::explainVariantSwitch(int oldType, int newType)
{
    ProjectDocuments docs(m_state.files);
    const VariantSwitchNotice notice = variantSwitchNotice(docs, oldType, newType, m_state.texts);
    if (notice.text.empty())
        return;
    if (!notice.offersMapping) {
        messages().information(this, qs(notice.text));
        return;
    }
    if (!messages().question(this, qs(notice.text) + "\n\n" + text(TextId::VariantOfferMapping)))
        return;
    MappingModel mapping(kTransmitPdoMapping);
    const Result<void> loaded = mapping.load(m_state.files);
    if (!loaded) {
        messages().error(this, qs(loaded.error().text));
        return;
    }
    const auto [filled, refused] =
        mapping.fillFromBlockStarts(m_state.texts, m_state.texts[TextId::FillFrameInUse]);
    const Result<void> saved = mapping.save(m_state.files);
    if (!saved) {
        messages().error(this, qs(saved.error().text));
        return;
    }
    QString report = text(TextId::VariantMappingFilled).arg(filled);
    if (!refused.empty()) {
        report += "\n\n" + text(TextId::VariantMappingNotFilled);
        for (const std::string& line : refused)
            report += "\n" + qs(line);
    }
    messages().information(this, report);
}

void CommunicationDialog::onCancelClicked()
{
    if (m_isChange && !messages().question(this, text(TextId::ExitWithoutSaving)))
        return;
    QDialog::reject();
}

void CommunicationDialog::reject()
{
    onCancelClicked();
}

void CommunicationDialog::markChanged()
{
    m_isChange = true;
}

void CommunicationDialog::resizeEvent(QResizeEvent* event)
{
    SetforgeDialog::resizeEvent(event);
    // The width stays fixed whatever the window manager offers; only the height is free.
    if (event->size().width() != kClientWidth)
        resize(kClientWidth, event->size().height());
}

} // namespace setforge
