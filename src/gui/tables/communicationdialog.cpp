#include "gui/tables/communicationdialog.h"

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "core/app/appstate.h"
#include "core/base/devicevariant.h"
#include "core/lang/textid.h"
#include "core/tables/pargencheck.h"
#include "core/tables/pargenfile.h"
#include "gui/app/messageservice.h"
#include "gui/app/qtext.h"
#include "gui/app/windowfactory.h"
#include "gui/tables/collapsiblepanel.h"

namespace setforge {

namespace {

constexpr int kTitleBandHeight = 56;
constexpr int kButtonBandHeight = 52;
constexpr int kPanelWidth = 436;
constexpr int kPanelGap = 2;

// Inside a panel's body.
constexpr int kTopMargin = 8;
constexpr int kControlHeight = 22;
constexpr int kBottomMargin = 12; // below the last visible control, as the caption bar is above
constexpr int kLeft = 8;
constexpr int kValueLeft = 290;
constexpr int kValueWidth = 130;
constexpr int kCaptionWidth = kValueLeft - kLeft - 4;
constexpr int kDeviceListLeft = 120;
constexpr int kAddressLabelWidth = 120;
constexpr int kAddressLeft = 132;
constexpr int kAddressPitch = 72;
constexpr int kAddressWidth = 60;

int rowTop(int row)
{
    return kTopMargin + row * CommunicationDialog::kRowPitch;
}

void place(QWidget* widget, int row, int left, int width)
{
    widget->setGeometry(left, rowTop(row), width, kControlHeight);
}

// A panel ends below its last visible control: that control's bottom, the caption bar, a margin.
int panelHeight(const QWidget* lastVisible)
{
    return lastVisible->geometry().bottom() + 1 + CollapsiblePanel::kHeaderHeight + kBottomMargin;
}

template <std::size_t N>
QComboBox* addList(QWidget* body, const char* name, const std::array<const char*, N>& items)
{
    auto* list = new QComboBox(body);
    list->setObjectName(name);
    list->setEditable(false);
    for (const char* item : items)
        list->addItem(QString::fromUtf8(item));
    return list;
}

QLineEdit* addEdit(QWidget* body, const QString& name)
{
    auto* edit = new QLineEdit(body);
    edit->setObjectName(name);
    return edit;
}

QLabel* addLabel(QWidget* body, const char* name)
{
    auto* label = new QLabel(body);
    label->setObjectName(name);
    return label;
}

QCheckBox* addCheck(QWidget* body, const char* name)
{
    auto* check = new QCheckBox(body);
    check->setObjectName(name);
    return check;
}

void setList(QComboBox* list, int index)
{
    // An index outside the list (a hand-edited file) leaves the list without a selection.
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

void takeList(const QComboBox* list, int& target)
{
    if (list->currentIndex() >= 0)
        target = list->currentIndex();
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
    for (CollapsiblePanel* panel : m_panels)
        panel->hide();
    orderPanels();
    layoutPanels();
    applyTexts();
    trackChanges();
}

void CommunicationDialog::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* title = new QWidget(this);
    title->setObjectName("P_Title");
    title->setFixedHeight(kTitleBandHeight);
    m_swCode = new QLabel(title);
    m_swCode->setObjectName("L_SW_Code");
    m_swCode->setGeometry(12, 6, 200, 22);
    QFont bold = m_swCode->font();
    bold.setBold(true);
    m_swCode->setFont(bold);
    m_swDesc = new QLabel(title);
    m_swDesc->setObjectName("L_SW_Desc");
    m_swDesc->setGeometry(12, 28, kClientWidth - 24, 22);
    layout->addWidget(title);

    m_panelGroup = new QScrollArea(this);
    m_panelGroup->setObjectName("CPG_Panels");
    m_panelGroup->setWidgetResizable(false);
    m_panelGroup->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_panelGroup->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_panelStack = new QWidget;
    m_panelStack->setObjectName("CPG_Panels_Stack");
    m_panelStack->resize(kPanelWidth, 0);
    m_panelGroup->setWidget(m_panelStack);
    layout->addWidget(m_panelGroup, 1);

    auto* buttons = new QWidget(this);
    buttons->setObjectName("P_Button");
    buttons->setFixedHeight(kButtonBandHeight);
    m_ok = new QPushButton(buttons);
    m_ok->setObjectName("Btn_OK");
    m_ok->setGeometry(kClientWidth / 2 - 130, 12, 110, 28);
    m_cancel = new QPushButton(buttons);
    m_cancel->setObjectName("Btn_Cancel");
    m_cancel->setGeometry(kClientWidth / 2 + 20, 12, 110, 28);
    // Enter in a field must not save the form behind the user's back.
    m_ok->setAutoDefault(false);
    m_cancel->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &CommunicationDialog::onOkClicked);
    connect(m_cancel, &QPushButton::clicked, this, &CommunicationDialog::onCancelClicked);
    layout->addWidget(buttons);

    m_panels = {new CollapsiblePanel("CP_Select_Device", m_panelStack),
                new CollapsiblePanel("CP_CANopen", m_panelStack),
                new CollapsiblePanel("CP_Modbus_Slave", m_panelStack),
                new CollapsiblePanel("CP_Ethernet", m_panelStack)};
    for (CollapsiblePanel* panel : m_panels) {
        panel->resize(kPanelWidth, CollapsiblePanel::kHeaderHeight);
        connect(panel, &CollapsiblePanel::heightChanged, this, &CommunicationDialog::stackPanels);
    }

    QWidget* body = m_panels[0]->body();
    m_deviceLabel = addLabel(body, "L_Select_Device_Device");
    m_device = addList(body, "CB_Select_Device_Device", kDeviceTypeItems);

    body = m_panels[1]->body();
    m_canIdLabel = addLabel(body, "L_CANopen_IDDevice");
    m_canId = addEdit(body, "E_CANopen_IDDevice");
    m_canBaudLabel = addLabel(body, "L_CANopen_Baudrate");
    m_canBaud = addList(body, "CB_CANopen_Baudrate", kCanBaudItems);
    m_operationalAtStart = addCheck(body, "CB_CANopen_SetOpe");
    m_networkStart = addCheck(body, "CB_CANopen_NetOpe");
    m_networkStartDelay = addEdit(body, "E_CANopen_NetOpe_Delay");
    m_startOnModbus = addCheck(body, "CB_CANopen_Start_On_Modbus");
    m_startOnModbusAddress = addEdit(body, "E_CANopen_Start_On_Modbus");
    m_sdoTimeoutLabel = addLabel(body, "L_CANopen_SDO_Timeout");
    m_sdoTimeout = addEdit(body, "E_CANopen_SDO_Timeout");
    m_sync = addCheck(body, "CB_CANopen_Enable_SYNC");
    m_syncTime = addEdit(body, "E_CANopen_Enable_SYNC_Time");
    m_nodeguard = addCheck(body, "CB_CANopen_Enable_Nodeguard");
    m_nodeguard1Label = addLabel(body, "L_CANopen_Nodeguard_Mod_Add_1");
    m_nodeguard1 = addEdit(body, "E_CANopen_Nodeguard_Mod_Add_1");
    m_nodeguard2Label = addLabel(body, "L_CANopen_Nodeguard_Mod_Add_2");
    m_nodeguard2 = addEdit(body, "E_CANopen_Nodeguard_Mod_Add_2");

    body = m_panels[2]->body();
    m_serialLabel = addLabel(body, "L_ModbusSlave_Serial");
    m_serial = addList(body, "CB_ModbusSlave_Serial", kModbusSerialItems);
    m_modbusBaudLabel = addLabel(body, "L_ModbusSlave_Baudrate");
    m_modbusBaud = addList(body, "CB_ModbusSlave_Baudrate", kModbusBaudItems);
    m_parityLabel = addLabel(body, "L_ModbusSlave_Parity");
    m_parity = addList(body, "CB_ModbusSlave_Parity", kModbusParityItems);
    m_stopBitsLabel = addLabel(body, "L_ModbusSlave_StopBits");
    m_stopBits = addList(body, "CB_ModbusSlave_StopBits", kModbusStopBitsItems);
    m_modbusIdLabel = addLabel(body, "L_ModbusSlave_IDDevice");
    m_modbusId = addEdit(body, "E_ModbusSlave_IDDevice");
    m_protocolLabel = addLabel(body, "L_ModbusSlave_Protocol");
    m_protocol = addList(body, "CB_ModbusSlave_Protocol", kModbusProtocolItems);
    m_inactivity = addCheck(body, "CB_ModbusSlave_Modbus_Inactivity_TimeOut");
    m_inactivityTimeout = addEdit(body, "E_ModbusSlave_Modbus_Inactivity_TimeOut");

    body = m_panels[3]->body();
    m_ipLabel = addLabel(body, "L_Ethernet_IP");
    m_maskLabel = addLabel(body, "L_Ethernet_SM");
    m_gatewayEnable = addCheck(body, "CB_Ethernet_En_GAT");
    const char* groups[] = {"IP", "SM", "GAT"};
    for (int g = 0; g < 3; ++g)
        for (int b = 0; b < 4; ++b) {
            QLineEdit* field = addEdit(body, QString("E_Ethernet_%1%2").arg(groups[g]).arg(b + 1));
            field->installEventFilter(this);
            m_address[static_cast<std::size_t>(g * 4 + b)] = field;
        }

    // Captions and hints by UI_Texts index, applied by applyTexts.
    m_lang = {
        {m_deviceLabel, TextId::DeviceType, m_device, TextId::DeviceTypeHint},
        {m_canIdLabel, TextId::CanopenId, m_canId, TextId::CanopenIdHint},
        {m_canBaudLabel, TextId::CanopenBaud, m_canBaud, TextId::CanopenBaudHint},
        {m_operationalAtStart, TextId::OperationalAtStart, m_operationalAtStart,
         TextId::OperationalAtStartHint},
        {m_networkStart, TextId::NetworkStart, m_networkStart, TextId::NetworkStartHint},
        {nullptr, TextId::None, m_networkStartDelay, TextId::NetworkStartDelayHint},
        {m_startOnModbus, TextId::StartOnModbus, m_startOnModbus, TextId::StartOnModbusHint},
        {nullptr, TextId::None, m_startOnModbusAddress, TextId::StartOnModbusAddressHint},
        {m_sdoTimeoutLabel, TextId::SdoTimeout, m_sdoTimeout, TextId::SdoTimeoutHint},
        {m_sync, TextId::Sync, m_sync, TextId::SyncHint},
        {nullptr, TextId::None, m_syncTime, TextId::SyncTimeHint},
        {m_nodeguard, TextId::Nodeguard, m_nodeguard, TextId::NodeguardHint},
        {m_nodeguard1Label, TextId::NodeguardAddress1, m_nodeguard1, TextId::NodeguardAddress1Hint},
        {m_nodeguard2Label, TextId::NodeguardAddress2, m_nodeguard2, TextId::NodeguardAddress2Hint},
        {m_serialLabel, TextId::ModbusSerial, m_serial, TextId::ModbusSerialHint},
        {m_modbusBaudLabel, TextId::ModbusBaud, m_modbusBaud, TextId::ModbusBaudHint},
        {m_parityLabel, TextId::ModbusParity, m_parity, TextId::ModbusParityHint},
        {m_stopBitsLabel, TextId::ModbusStopBits, m_stopBits, TextId::ModbusStopBitsHint},
        {m_modbusIdLabel, TextId::ModbusId, m_modbusId, TextId::ModbusIdHint},
        {m_protocolLabel, TextId::ModbusProtocol, m_protocol, TextId::ModbusProtocolHint},
        {m_inactivity, TextId::ModbusInactivity, m_inactivity, TextId::ModbusInactivityHint},
        {nullptr, TextId::None, m_inactivityTimeout, TextId::ModbusInactivityTimeoutHint},
        {m_ipLabel, TextId::EthernetIp, nullptr, TextId::None},
        {m_maskLabel, TextId::EthernetMask, nullptr, TextId::None},
        {m_gatewayEnable, TextId::EthernetGateway, m_gatewayEnable, TextId::EthernetGatewayHint},
    };
    for (int b = 0; b < 4; ++b) {
        m_lang.push_back(
            {nullptr, -1, m_address[static_cast<std::size_t>(b)], TextId::EthernetFirstIpByteHint + b});
        m_lang.push_back(
            {nullptr, -1, m_address[static_cast<std::size_t>(4 + b)], TextId::EthernetFirstMaskByteHint + b});
        m_lang.push_back({nullptr, -1, m_address[static_cast<std::size_t>(8 + b)],
                          TextId::EthernetFirstGatewayByteHint + b});
    }

    // Each number field's hint ends with its unit and the range its check accepts.
    const std::pair<QWidget*, int> unitRanges[] = {
        {m_canId, 250},      {m_canBaud, 251},  {m_networkStartDelay, 252}, {m_startOnModbusAddress, 253},
        {m_sdoTimeout, 254}, {m_syncTime, 255}, {m_nodeguard1, 253},        {m_nodeguard2, 253},
        {m_modbusBaud, 256}, {m_modbusId, 257}, {m_inactivityTimeout, 258},
    };
    for (LangEntry& entry : m_lang) {
        for (const auto& [field, unitRange] : unitRanges)
            if (entry.hintOwner == field)
                entry.unitRange = unitRange;
        for (QLineEdit* field : m_address)
            if (entry.hintOwner == field)
                entry.unitRange = 259;
    }

    // A wheel turn anywhere over the panel group scrolls the group, even over a list that
    // would otherwise take the turn as a change of its value.
    m_panelGroup->viewport()->installEventFilter(this);
    m_panelGroup->verticalScrollBar()->installEventFilter(this);
    m_panelStack->installEventFilter(this);
    for (QWidget* child : m_panelStack->findChildren<QWidget*>())
        child->installEventFilter(this);
}

// Only these controls make Cancel ask; the CANopen numbers and the inactivity time do not.
void CommunicationDialog::trackChanges()
{
    connect(m_device, &QComboBox::currentIndexChanged, this, [this] {
        markChanged();
        layoutPanels();
    });
    for (QCheckBox* check : {m_operationalAtStart, m_networkStart, m_startOnModbus, m_sync, m_nodeguard,
                             m_inactivity, m_gatewayEnable})
        connect(check, &QCheckBox::toggled, this, &CommunicationDialog::markChanged);
    for (QComboBox* list : {m_serial, m_modbusBaud, m_parity, m_stopBits, m_protocol})
        connect(list, &QComboBox::currentIndexChanged, this, &CommunicationDialog::markChanged);
    connect(m_modbusId, &QLineEdit::textChanged, this, &CommunicationDialog::markChanged);
    for (QLineEdit* field : m_address)
        connect(field, &QLineEdit::textChanged, this, &CommunicationDialog::markChanged);
}

// The captions are composed here only, so they keep the language active at creation.
void CommunicationDialog::orderPanels()
{
    const int captions[] = {TextId::DevicePanel, TextId::CanopenPanel, TextId::ModbusPanel,
                            TextId::EthernetPanel};
    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        m_panels[i]->setCaption(QString("%1. ").arg(i + 1) + text(captions[i]));
        m_panels[i]->show();
    }
    for (std::size_t i = 0; i + 1 < m_panels.size(); ++i)
        setTabOrder(m_panels[i], m_panels[i + 1]);
    stackPanels();
}

void CommunicationDialog::layoutPanels()
{
    layoutDevicePanel();
    layoutCanopenPanel();
    layoutModbusPanel();
    layoutEthernetPanel();
    stackPanels();
}

void CommunicationDialog::layoutDevicePanel()
{
    place(m_deviceLabel, 0, kLeft, kDeviceListLeft - kLeft - 4);
    place(m_device, 0, kDeviceListLeft, kValueLeft + kValueWidth - kDeviceListLeft);
    m_panels[0]->setExpandedHeight(panelHeight(m_device));
}

void CommunicationDialog::layoutCanopenPanel()
{
    place(m_canIdLabel, 0, kLeft, kCaptionWidth);
    place(m_canId, 0, kValueLeft, kValueWidth);
    place(m_canBaudLabel, 1, kLeft, kCaptionWidth);
    place(m_canBaud, 1, kValueLeft, kValueWidth);
    place(m_operationalAtStart, 2, kLeft, kCaptionWidth);
    place(m_networkStart, 3, kLeft, kCaptionWidth);
    place(m_networkStartDelay, 3, kValueLeft, kValueWidth);
    place(m_startOnModbus, 4, kLeft, kCaptionWidth);
    place(m_startOnModbusAddress, 4, kValueLeft, kValueWidth);
    place(m_sdoTimeoutLabel, 5, kLeft, kCaptionWidth);
    place(m_sdoTimeout, 5, kValueLeft, kValueWidth);
    place(m_sync, 6, kLeft, kCaptionWidth);
    place(m_syncTime, 6, kValueLeft, kValueWidth);
    place(m_nodeguard, 7, kLeft, kCaptionWidth);
    place(m_nodeguard1Label, 8, kLeft, kCaptionWidth);
    place(m_nodeguard1, 8, kValueLeft, kValueWidth);
    place(m_nodeguard2Label, 9, kLeft, kCaptionWidth);
    place(m_nodeguard2, 9, kValueLeft, kValueWidth);
    m_panels[1]->setExpandedHeight(panelHeight(m_nodeguard2));
}

void CommunicationDialog::layoutModbusPanel()
{
    const bool ethernet = hasEthernet(variantForSteps(variantShown()));
    place(m_serialLabel, 0, kLeft, kCaptionWidth);
    place(m_serial, 0, kValueLeft, kValueWidth);
    place(m_modbusBaudLabel, 1, kLeft, kCaptionWidth);
    place(m_modbusBaud, 1, kValueLeft, kValueWidth);
    place(m_parityLabel, 2, kLeft, kCaptionWidth);
    place(m_parity, 2, kValueLeft, kValueWidth);
    place(m_stopBitsLabel, 3, kLeft, kCaptionWidth);
    place(m_stopBits, 3, kValueLeft, kValueWidth);
    m_stopBitsLabel->setVisible(ethernet);
    m_stopBits->setVisible(ethernet);

    // Without the Ethernet port the ID moves up into the Stop Bits row.
    const int idRow = ethernet ? 4 : 3;
    place(m_modbusIdLabel, idRow, kLeft, kCaptionWidth);
    place(m_modbusId, idRow, kValueLeft, kValueWidth);

    place(m_protocolLabel, idRow + 1, kLeft, kCaptionWidth);
    place(m_protocol, idRow + 1, kValueLeft, kValueWidth);
    m_protocolLabel->setVisible(!ethernet);
    m_protocol->setVisible(!ethernet);

    place(m_inactivity, idRow + 1, kLeft, kCaptionWidth);
    place(m_inactivityTimeout, idRow + 1, kValueLeft, kValueWidth);
    m_inactivity->setVisible(ethernet);
    m_inactivityTimeout->setVisible(ethernet);

    m_panels[2]->setExpandedHeight(
        panelHeight(ethernet ? static_cast<QWidget*>(m_inactivityTimeout) : m_protocol));
}

void CommunicationDialog::layoutEthernetPanel()
{
    place(m_ipLabel, 0, kLeft, kAddressLabelWidth);
    place(m_maskLabel, 1, kLeft, kAddressLabelWidth);
    place(m_gatewayEnable, 2, kLeft, kAddressLabelWidth);
    for (int g = 0; g < 3; ++g)
        for (int b = 0; b < 4; ++b)
            place(m_address[static_cast<std::size_t>(g * 4 + b)], g, kAddressLeft + b * kAddressPitch,
                  kAddressWidth);
    m_panels[3]->setExpandedHeight(panelHeight(m_address[11]));
    m_panels[3]->setVisible(hasEthernet(variantForSteps(variantShown())));
}

void CommunicationDialog::stackPanels()
{
    int top = 0;
    for (CollapsiblePanel* panel : m_panels) {
        if (panel->isHidden())
            continue;
        panel->move(0, top);
        panel->resize(kPanelWidth, panel->height());
        top += panel->height() + kPanelGap;
    }
    m_panelStack->resize(kPanelWidth, top);
}

void CommunicationDialog::applyTexts()
{
    setWindowTitle(text(TextId::CommunicationTitle));
    m_swDesc->setText(text(TextId::CommunicationDescription));
    m_ok->setText(text(TextId::CommunicationOk));
    m_cancel->setText(text(TextId::CommunicationCancel));
    m_ok->setToolTip(text(TextId::CommunicationOkHint));
    m_cancel->setToolTip(text(TextId::CommunicationCancelHint));
    for (const LangEntry& entry : m_lang) {
        if (auto* label = qobject_cast<QLabel*>(entry.captionOwner))
            label->setText(text(entry.caption));
        else if (auto* check = qobject_cast<QCheckBox*>(entry.captionOwner))
            check->setText(text(entry.caption));
        if (entry.hintOwner)
            entry.hintOwner->setToolTip(
                entry.unitRange < 0 ? text(entry.hint) : text(entry.hint) + "\n" + text(entry.unitRange));
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
    const ParGenLoadResult loaded = loadParGen(m_state.files.parGen);
    if (!loaded.xml.ok() && loaded.xml.status != XmlLoadResult::Status::Missing) {
        // The file cannot be shown; closing keeps OK from writing other values over it.
        messages().error(this, qs(loaded.xml.error));
        m_isChange = false;
        QMetaObject::invokeMethod(
            this, [this] { QDialog::reject(); }, Qt::QueuedConnection);
        return;
    }
    m_loaded = loaded.values;
    showValues(m_loaded);
    m_isChange = false; // filling the controls is not a change
    layoutPanels();
}

void CommunicationDialog::showValues(const ParGenValues& v)
{
    setList(m_device, v.deviceType);
    m_canId->setText(qs(v.canId));
    setList(m_canBaud, v.canBaud);
    m_operationalAtStart->setChecked(v.operationalAtStart);
    m_networkStart->setChecked(v.networkStart);
    m_networkStartDelay->setText(qs(v.networkStartDelay));
    m_startOnModbus->setChecked(v.startOnModbus);
    m_startOnModbusAddress->setText(qs(v.startOnModbusAddress));
    m_sdoTimeout->setText(qs(v.sdoTimeout));
    m_sync->setChecked(v.syncEnable);
    m_syncTime->setText(qs(v.syncTime));
    m_nodeguard->setChecked(v.nodeguardEnable);
    m_nodeguard1->setText(qs(v.nodeguardAddress1));
    m_nodeguard2->setText(qs(v.nodeguardAddress2));
    setList(m_serial, v.modbusSerial);
    setList(m_modbusBaud, v.modbusBaud);
    setList(m_parity, v.modbusParity);
    setList(m_stopBits, v.modbusStopBits);
    m_modbusId->setText(qs(v.modbusId));
    setList(m_protocol, v.modbusProtocol);
    m_inactivity->setChecked(v.inactivityEnable);
    m_inactivityTimeout->setText(qs(v.inactivityTimeout));
    for (std::size_t b = 0; b < 4; ++b) {
        m_address[b]->setText(qs(v.ip[b]));
        m_address[4 + b]->setText(qs(v.subnetMask[b]));
        m_address[8 + b]->setText(qs(v.gateway[b]));
    }
    m_gatewayEnable->setChecked(v.gatewayEnable);
}

ParGenValues CommunicationDialog::valuesFromControls() const
{
    // Starting from what was loaded keeps a list index the list cannot show.
    ParGenValues v = m_loaded;
    takeList(m_device, v.deviceType);
    v.canId = us(m_canId->text());
    takeList(m_canBaud, v.canBaud);
    v.operationalAtStart = m_operationalAtStart->isChecked();
    v.networkStart = m_networkStart->isChecked();
    v.networkStartDelay = us(m_networkStartDelay->text());
    v.startOnModbus = m_startOnModbus->isChecked();
    v.startOnModbusAddress = us(m_startOnModbusAddress->text());
    v.sdoTimeout = us(m_sdoTimeout->text());
    v.syncEnable = m_sync->isChecked();
    v.syncTime = us(m_syncTime->text());
    v.nodeguardEnable = m_nodeguard->isChecked();
    v.nodeguardAddress1 = us(m_nodeguard1->text());
    v.nodeguardAddress2 = us(m_nodeguard2->text());
    takeList(m_serial, v.modbusSerial);
    takeList(m_modbusBaud, v.modbusBaud);
    takeList(m_parity, v.modbusParity);
    takeList(m_stopBits, v.modbusStopBits);
    v.modbusId = us(m_modbusId->text());
    takeList(m_protocol, v.modbusProtocol);
    v.inactivityEnable = m_inactivity->isChecked();
    v.inactivityTimeout = us(m_inactivityTimeout->text());
    for (std::size_t b = 0; b < 4; ++b) {
        v.ip[b] = us(m_address[b]->text());
        v.subnetMask[b] = us(m_address[4 + b]->text());
        v.gateway[b] = us(m_address[8 + b]->text());
    }
    v.gatewayEnable = m_gatewayEnable->isChecked();
    return v;
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
    const Result<void> written = saveParGen(valuesFromControls(), m_state.files.parGen);
    if (!written) {
        messages().error(this, qs(written.error().text));
        return;
    }
    m_isChange = false;
    accept();
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

bool CommunicationDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* field = qobject_cast<QLineEdit*>(watched);
        if (field && std::find(m_address.begin(), m_address.end(), field) != m_address.end())
            return handleAddressKey(field, static_cast<QKeyEvent*>(event));
    } else if (event->type() == QEvent::Wheel && isOverPanelGroup(watched)) {
        return scrollPanels(static_cast<QWheelEvent*>(event));
    }
    return SetforgeDialog::eventFilter(watched, event);
}

// "." in an address field never enters a dot: it moves on to the next byte field.
bool CommunicationDialog::handleAddressKey(QLineEdit* field, QKeyEvent* event)
{
    if (event->text() != QLatin1String("."))
        return false;
    const auto at = std::find(m_address.begin(), m_address.end(), field);
    const auto next = at + 1;
    if (next != m_address.end()) {
        QLineEdit* target = *next;
        if (target->isVisible() && target->isEnabled() && (target->focusPolicy() & Qt::TabFocus))
            target->setFocus(Qt::TabFocusReason);
    }
    return true;
}

bool CommunicationDialog::isOverPanelGroup(QObject* watched) const
{
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget && (widget == m_panelGroup || m_panelGroup->isAncestorOf(widget));
}

// One line step per wheel line the system sets, down unless the wheel turned up.
bool CommunicationDialog::scrollPanels(QWheelEvent* event)
{
    QScrollBar* bar = m_panelGroup->verticalScrollBar();
    const bool up = event->angleDelta().y() > 0;
    const int lines = std::max(1, QApplication::wheelScrollLines());
    for (int i = 0; i < lines; ++i)
        bar->triggerAction(up ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd);
    event->accept();
    return true;
}

} // namespace setforge
