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
#include "core/tables/pargencheck.h"
#include "core/tables/pargenfile.h"
#include "gui/app/messageservice.h"
#include "gui/app/qtext.h"
#include "gui/app/windowfactory.h"
#include "gui/tables/collapsiblepanel.h"

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
    return kTopMargin + row * TFParGen::kRowPitch;
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

SetforgeDialog* createParGenWindow(AppState& state, QWidget* parent)
{
    return new TFParGen(state, parent);
}

TFParGen::TFParGen(AppState& state, QWidget* parent) : SetforgeDialog(state, parent)
{
    setObjectName("TFParGen");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    buildControls();
    m_swCode->setText(qs(Software_Code));
    setMinimumWidth(kClientWidth);
    setMaximumWidth(kClientWidth);
    resize(kClientWidth, kClientHeight);
    for (CollapsiblePanel* panel : m_panels)
        panel->hide();
    Order_TAB_Panels();
    Move_GroupBoxs();
    Set_Lang();
    trackChanges();
}

void TFParGen::buildControls()
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
    connect(m_ok, &QPushButton::clicked, this, &TFParGen::Btn_OKClick);
    connect(m_cancel, &QPushButton::clicked, this, &TFParGen::Btn_CancelClick);
    layout->addWidget(buttons);

    m_panels = {new CollapsiblePanel("CP_Select_Device", m_panelStack),
                new CollapsiblePanel("CP_CANopen", m_panelStack),
                new CollapsiblePanel("CP_Modbus_Slave", m_panelStack),
                new CollapsiblePanel("CP_Ethernet", m_panelStack)};
    for (CollapsiblePanel* panel : m_panels) {
        panel->resize(kPanelWidth, CollapsiblePanel::kHeaderHeight);
        connect(panel, &CollapsiblePanel::heightChanged, this, &TFParGen::stackPanels);
    }

    QWidget* body = m_panels[0]->body();
    m_deviceLabel = addLabel(body, "L_Select_Device_Device");
    m_device = addList(body, "CB_Select_Device_Device", kDeviceTypeItems);

    body = m_panels[1]->body();
    m_canIdLabel = addLabel(body, "L_CANopen_IDDevice");
    m_canId = addEdit(body, "E_CANopen_IDDevice");
    m_canBaudLabel = addLabel(body, "L_CANopen_Baudrate");
    m_canBaud = addList(body, "CB_CANopen_Baudrate", kCanBaudItems);
    m_setOpe = addCheck(body, "CB_CANopen_SetOpe");
    m_netOpe = addCheck(body, "CB_CANopen_NetOpe");
    m_netOpeDelay = addEdit(body, "E_CANopen_NetOpe_Delay");
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

    // Captions and hints by UI_Texts index, applied by Set_Lang.
    m_lang = {
        {m_deviceLabel, 407, m_device, 408},
        {m_canIdLabel, 410, m_canId, 411},
        {m_canBaudLabel, 412, m_canBaud, 413},
        {m_setOpe, 414, m_setOpe, 415},
        {m_netOpe, 416, m_netOpe, 417},
        {nullptr, -1, m_netOpeDelay, 418},
        {m_startOnModbus, 419, m_startOnModbus, 420},
        {nullptr, -1, m_startOnModbusAddress, 421},
        {m_sdoTimeoutLabel, 422, m_sdoTimeout, 423},
        {m_sync, 424, m_sync, 425},
        {nullptr, -1, m_syncTime, 426},
        {m_nodeguard, 427, m_nodeguard, 428},
        {m_nodeguard1Label, 429, m_nodeguard1, 430},
        {m_nodeguard2Label, 431, m_nodeguard2, 432},
        {m_serialLabel, 434, m_serial, 435},
        {m_modbusBaudLabel, 436, m_modbusBaud, 437},
        {m_parityLabel, 438, m_parity, 439},
        {m_stopBitsLabel, 440, m_stopBits, 441},
        {m_modbusIdLabel, 442, m_modbusId, 443},
        {m_protocolLabel, 444, m_protocol, 445},
        {m_inactivity, 490, m_inactivity, 491},
        {nullptr, -1, m_inactivityTimeout, 492},
        {m_ipLabel, 447, nullptr, -1},
        {m_maskLabel, 452, nullptr, -1},
        {m_gatewayEnable, 457, m_gatewayEnable, 458},
    };
    for (int b = 0; b < 4; ++b) {
        m_lang.push_back({nullptr, -1, m_address[static_cast<std::size_t>(b)], 448 + b});
        m_lang.push_back({nullptr, -1, m_address[static_cast<std::size_t>(4 + b)], 453 + b});
        m_lang.push_back({nullptr, -1, m_address[static_cast<std::size_t>(8 + b)], 459 + b});
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
void TFParGen::trackChanges()
{
    connect(m_device, &QComboBox::currentIndexChanged, this, [this] {
        On_Change();
        Move_GroupBoxs();
    });
    for (QCheckBox* check :
         {m_setOpe, m_netOpe, m_startOnModbus, m_sync, m_nodeguard, m_inactivity, m_gatewayEnable})
        connect(check, &QCheckBox::toggled, this, &TFParGen::On_Click);
    for (QComboBox* list : {m_serial, m_modbusBaud, m_parity, m_stopBits, m_protocol})
        connect(list, &QComboBox::currentIndexChanged, this, &TFParGen::On_Change);
    connect(m_modbusId, &QLineEdit::textChanged, this, &TFParGen::On_Change);
    for (QLineEdit* field : m_address)
        connect(field, &QLineEdit::textChanged, this, &TFParGen::On_Change);
}

void TFParGen::Order_TAB_Panels()
{
    Order_TAB_Panels_40917();
}

// The captions are composed here only, so they keep the language active at creation.
void TFParGen::Order_TAB_Panels_40917()
{
    const int captions[] = {406, 409, 433, 446};
    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        m_panels[i]->setCaption(QString("%1. ").arg(i + 1) + text(captions[i]));
        m_panels[i]->show();
    }
    for (std::size_t i = 0; i + 1 < m_panels.size(); ++i)
        setTabOrder(m_panels[i], m_panels[i + 1]);
    stackPanels();
}

void TFParGen::Move_GroupBoxs()
{
    RePosition_Objects_40917();
}

void TFParGen::RePosition_Objects_40917()
{
    RePosition_Object_Select_Device();
    RePosition_Object_CANopen();
    RePosition_Object_Modbus_Slave();
    RePosition_Object_Ethernet();
    stackPanels();
}

void TFParGen::RePosition_Object_Select_Device()
{
    place(m_deviceLabel, 0, kLeft, kDeviceListLeft - kLeft - 4);
    place(m_device, 0, kDeviceListLeft, kValueLeft + kValueWidth - kDeviceListLeft);
    m_panels[0]->setExpandedHeight(panelHeight(m_device));
}

void TFParGen::RePosition_Object_CANopen()
{
    place(m_canIdLabel, 0, kLeft, kCaptionWidth);
    place(m_canId, 0, kValueLeft, kValueWidth);
    place(m_canBaudLabel, 1, kLeft, kCaptionWidth);
    place(m_canBaud, 1, kValueLeft, kValueWidth);
    place(m_setOpe, 2, kLeft, kCaptionWidth);
    place(m_netOpe, 3, kLeft, kCaptionWidth);
    place(m_netOpeDelay, 3, kValueLeft, kValueWidth);
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

void TFParGen::RePosition_Object_Modbus_Slave()
{
    const bool ethernet = variantShown() != 0;
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

void TFParGen::RePosition_Object_Ethernet()
{
    place(m_ipLabel, 0, kLeft, kAddressLabelWidth);
    place(m_maskLabel, 1, kLeft, kAddressLabelWidth);
    place(m_gatewayEnable, 2, kLeft, kAddressLabelWidth);
    for (int g = 0; g < 3; ++g)
        for (int b = 0; b < 4; ++b)
            place(m_address[static_cast<std::size_t>(g * 4 + b)], g, kAddressLeft + b * kAddressPitch,
                  kAddressWidth);
    m_panels[3]->setExpandedHeight(panelHeight(m_address[11]));
    m_panels[3]->setVisible(variantShown() != 0);
}

void TFParGen::stackPanels()
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

void TFParGen::Set_Lang()
{
    setWindowTitle(text(400));
    m_swDesc->setText(text(401));
    m_ok->setText(text(402));
    m_cancel->setText(text(403));
    m_ok->setToolTip(text(404));
    m_cancel->setToolTip(text(405));
    for (const LangEntry& entry : m_lang) {
        if (auto* label = qobject_cast<QLabel*>(entry.captionOwner))
            label->setText(text(entry.caption));
        else if (auto* check = qobject_cast<QCheckBox*>(entry.captionOwner))
            check->setText(text(entry.caption));
        if (entry.hintOwner)
            entry.hintOwner->setToolTip(text(entry.hint));
    }
}

void TFParGen::showEvent(QShowEvent* event)
{
    SetforgeDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFParGen::FormShow()
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
    Move_GroupBoxs();
}

void TFParGen::showValues(const ParGenValues& v)
{
    setList(m_device, v.deviceType);
    m_canId->setText(qs(v.canId));
    setList(m_canBaud, v.canBaud);
    m_setOpe->setChecked(v.operationalAtStart);
    m_netOpe->setChecked(v.networkStart);
    m_netOpeDelay->setText(qs(v.networkStartDelay));
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

ParGenValues TFParGen::valuesFromControls() const
{
    // Starting from what was loaded keeps a list index the list cannot show.
    ParGenValues v = m_loaded;
    takeList(m_device, v.deviceType);
    v.canId = us(m_canId->text());
    takeList(m_canBaud, v.canBaud);
    v.operationalAtStart = m_setOpe->isChecked();
    v.networkStart = m_netOpe->isChecked();
    v.networkStartDelay = us(m_netOpeDelay->text());
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

int TFParGen::variantShown() const
{
    return m_device->currentIndex() >= 0 ? m_device->currentIndex() : m_loaded.deviceType;
}

bool TFParGen::Controllo_Dati()
{
    const int failure = firstParGenFailure(valuesFromControls());
    if (failure == 0)
        return true;
    messages().error(this, text(failure));
    return false;
}

void TFParGen::Btn_OKClick()
{
    if (!Controllo_Dati())
        return;
    const WriteResult written = saveParGen(valuesFromControls(), m_state.files.parGen);
    if (!written) {
        messages().error(this, qs(written.error));
        return;
    }
    m_isChange = false;
    accept();
}

void TFParGen::Btn_CancelClick()
{
    if (m_isChange && !messages().question(this, text(489)))
        return;
    QDialog::reject();
}

void TFParGen::reject()
{
    Btn_CancelClick();
}

void TFParGen::On_Change()
{
    m_isChange = true;
}

void TFParGen::On_Click()
{
    m_isChange = true;
}

void TFParGen::resizeEvent(QResizeEvent* event)
{
    SetforgeDialog::resizeEvent(event);
    // The width stays fixed whatever the window manager offers; only the height is free.
    if (event->size().width() != kClientWidth)
        resize(kClientWidth, event->size().height());
}

bool TFParGen::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* field = qobject_cast<QLineEdit*>(watched);
        if (field && std::find(m_address.begin(), m_address.end(), field) != m_address.end())
            return KeyPress(field, static_cast<QKeyEvent*>(event));
    } else if (event->type() == QEvent::Wheel && isOverPanelGroup(watched)) {
        return FormMouseWheel(static_cast<QWheelEvent*>(event));
    }
    return SetforgeDialog::eventFilter(watched, event);
}

// "." in an address field never enters a dot: it moves on to the next byte field.
bool TFParGen::KeyPress(QLineEdit* field, QKeyEvent* event)
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

bool TFParGen::isOverPanelGroup(QObject* watched) const
{
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget && (widget == m_panelGroup || m_panelGroup->isAncestorOf(widget));
}

// One line step per wheel line the system sets, down unless the wheel turned up.
bool TFParGen::FormMouseWheel(QWheelEvent* event)
{
    QScrollBar* bar = m_panelGroup->verticalScrollBar();
    const bool up = event->angleDelta().y() > 0;
    const int lines = std::max(1, QApplication::wheelScrollLines());
    for (int i = 0; i < lines; ++i)
        bar->triggerAction(up ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd);
    event->accept();
    return true;
}
