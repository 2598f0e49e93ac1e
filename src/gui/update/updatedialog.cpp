#include "gui/update/updatedialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/app/appstate.h"
#include "core/base/paths.h"
#include "core/lang/textid.h"
#include "core/update/ipaddress.h"
#include "core/update/updatefiles.h"
#include "gui/app/ipaddressedit.h"
#include "gui/app/messageservice.h"
#include "gui/app/qtext.h"
#include "gui/update/systemechoclient.h"

namespace setforge {

namespace {

constexpr int kClientWidth = 449;
constexpr int kTitleHeight = 69;
constexpr int kSerialHeight = 51;
constexpr int kIpAddressHeight = 49;
constexpr int kOptionsHeight = 72;
constexpr int kButtonHeight = 40;
constexpr int kIpFieldWidth = 41;

QFrame* panel(QWidget* parent, const char* name, int height)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->resize(kClientWidth, height);
    return frame;
}

template <typename T> T* control(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* widget = new T(parent);
    widget->setObjectName(name);
    widget->setGeometry(left, top, width, height);
    return widget;
}

// The dialog's launcher as the update's process starter: the wait keeps the window painting and
// shows the seconds on `tick`, starting at 0.
class LauncherRunner : public ProcessRunner {
public:
    LauncherRunner(UpdaterLauncher& launcher, UpdaterTick tick)
        : m_launcher(launcher), m_tick(std::move(tick))
    {
    }
    ProcessOutcome runAndWait(const std::string& program, const std::string& argumentText,
                              int timeoutMs) override
    {
        m_tick(0);
        return m_launcher.start(program, argumentText, timeoutMs, m_tick);
    }

private:
    UpdaterLauncher& m_launcher;
    UpdaterTick m_tick;
};

} // namespace

UpdateDialog::UpdateDialog(AppState& state, QWidget* parent) : SetforgeDialog(state, parent)
{
    setObjectName("FBoot");
    buildLayout();
}

UpdateDialog::~UpdateDialog() = default;

void UpdateDialog::buildLayout()
{
    m_title = panel(this, "P_Title", kTitleHeight);
    m_swCode = control<QLabel>(m_title, "L_SW_Code", 12, 8, 420, 24);
    QFont codeFont = m_swCode->font();
    codeFont.setBold(true);
    codeFont.setPointSize(14);
    m_swCode->setFont(codeFont);
    m_swDesc = control<QLabel>(m_title, "L_SW_Desc", 12, 38, 420, 20);

    m_serial = panel(this, "P_Serial", kSerialHeight);
    m_comPortLabel = control<QLabel>(m_serial, "L_COM_Port", 12, 2, 420, 18);
    m_comPort = control<QComboBox>(m_serial, "CB_COM_Port", 12, 22, 200, 24);
    m_comPort->setEditable(false); // choose from the list only
    m_comList = control<QPushButton>(m_serial, "Btn_COM_List", 218, 21, 26, 26);
    m_comList->setText(QString::fromUtf8("\u21BB"));
    connect(m_comList, &QPushButton::clicked, this, &UpdateDialog::refreshComPorts);

    m_ipAddress = panel(this, "P_IP_Address", kIpAddressHeight);
    m_ipLabel = control<QLabel>(m_ipAddress, "L_IP_Address", 12, 2, 420, 18);
    auto* ip = new IpAddressEdit("E_IP", QSize(kIpFieldWidth, 24), true, m_ipAddress);
    ip->move(12, 21);
    ip->setParts({"0", "0", "0", "0"});
    for (int i = 0; i < 4; ++i)
        m_ip[i] = ip->field(i);
    // Device_IP stays in the fields, since a device may still answer at its factory address;
    // the project's own address is one click away.
    const int projectIpLeft = ip->x() + ip->width() + 12;
    m_projectIp = control<QPushButton>(m_ipAddress, "Btn_Project_IP", projectIpLeft, 20,
                                       kClientWidth - 12 - projectIpLeft, 26);
    m_projectIp->setAutoDefault(false);
    connect(m_projectIp, &QPushButton::clicked, this, &UpdateDialog::onProjectIpClicked);

    m_options = panel(this, "P_Options", kOptionsHeight);
    m_optionLabel = control<QLabel>(m_options, "L_Update_Option", 12, 4, 420, 18);
    m_updateOptions = control<QComboBox>(m_options, "CB_Update_Options", 12, 24, 232, 24);
    m_updateOptions->setEditable(false);
    m_readBack = control<QCheckBox>(m_options, "CB_Update_Option_Read_Back", 12, 50, 232, 20);
    // Beside the choices: the seconds of the updater's wait, then how it ended.
    m_status = control<QLabel>(m_options, "L_Update_Status", 252, 24, 185, 44);
    m_status->setWordWrap(true);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_buttons = panel(this, "P_Button", kButtonHeight);
    m_cancel = control<QPushButton>(m_buttons, "Btn_Cancel", 12, 7, 150, 27);
    m_update = control<QPushButton>(m_buttons, "Btn_Update", kClientWidth - 12 - 200, 7, 200, 27);
    m_update->setAutoDefault(false);
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_update, &QPushButton::clicked, this, &UpdateDialog::onExecuteClicked);

    m_serial->hide();
    m_ipAddress->hide();
    m_options->hide();
    setFixedSize(kClientWidth, kTitleHeight + kOptionsHeight + kButtonHeight);
}

void UpdateDialog::applyTexts()
{
    if (isSerialLayout()) {
        setWindowTitle(text(TextId::UpdateSerialTitle));
        m_swDesc->setText(text(TextId::UpdateSerialDescription));
    } else if (isEthernetLayout()) {
        setWindowTitle(text(TextId::UpdateEthernetTitle));
        m_swDesc->setText(text(TextId::UpdateEthernetDescription));
    }
    m_ipLabel->setText(text(TextId::UpdateIpAddress));
    m_comPortLabel->setText(text(TextId::UpdateComPort));
    m_optionLabel->setText(text(TextId::UpdateOptions));
    m_updateOptions->clear();
    m_updateOptions->addItems({text(TextId::UpdateFirmwareAndConfiguration), text(TextId::UpdateFirmware),
                               text(TextId::UpdateConfiguration)});
    m_updateOptions->setCurrentIndex(0);
    m_readBack->setText(text(TextId::UpdateReadBack));
    m_cancel->setText(text(TextId::UpdateCancel));
    m_update->setText(text(TextId::UpdateExecute));
    for (int i = 0; i < 4; ++i)
        m_ip[i]->setToolTip(text(TextId::UpdateFirstIpByteHint + i));
    m_comPort->setToolTip(text(TextId::UpdateComPortHint));
    m_comList->setToolTip(text(TextId::UpdateComListHint));
    m_updateOptions->setToolTip(text(TextId::UpdateOptionsHint));
    m_readBack->setToolTip(text(TextId::UpdateReadBackHint));
    m_cancel->setToolTip(text(TextId::UpdateCancelHint));
    m_update->setToolTip(text(TextId::UpdateExecuteHint));
    m_projectIp->setText(text(TextId::UpdateProjectIp).arg(qs(m_projectIpText)));
    m_projectIp->setToolTip(text(TextId::UpdateProjectIpHint));
}

void UpdateDialog::showEvent(QShowEvent* event)
{
    arrangeLayout();
    SetforgeDialog::showEvent(event);
}

void UpdateDialog::arrangeLayout()
{
    m_projectIpText = isEthernetLayout() ? projectIpAddress(m_state.files) : std::string();
    m_projectIp->setVisible(!m_projectIpText.empty());
    applyTexts();
    m_status->clear();
    m_swCode->setText(kSoftwareCode);
    m_ipAddress->hide();
    m_options->hide();
    m_serial->hide();

    QFrame* input = nullptr;
    if (isSerialLayout())
        input = m_serial;
    else if (isEthernetLayout())
        input = m_ipAddress;
    m_title->move(0, 0);
    if (!input) {
        // Nothing to choose: the title stays readable and the buttons sit right below it.
        m_buttons->move(0, kTitleHeight);
        setFixedSize(kClientWidth, kTitleHeight + kButtonHeight);
        return;
    }

    // Panels stacked from the top: title, input, options, buttons.
    input->move(0, kTitleHeight);
    m_options->move(0, kTitleHeight + input->height());
    m_buttons->move(0, kTitleHeight + input->height() + kOptionsHeight);
    input->show();
    m_options->show();
    setFixedSize(kClientWidth, kTitleHeight + input->height() + kOptionsHeight + kButtonHeight);

    const int option = m_state.updateOption;
    m_updateOptions->setCurrentIndex(option >= 0 && option <= 2 ? option : 0);
    m_readBack->setChecked(m_state.readBack);

    if (isSerialLayout()) {
        setTabOrder(m_comPort, m_comList);
        setTabOrder(m_comList, m_updateOptions);
        setTabOrder(m_updateOptions, m_readBack);
        setTabOrder(m_readBack, m_cancel);
        setTabOrder(m_cancel, m_update);
        refreshComPorts();
        m_comPort->setFocus();
    } else {
        setTabOrder(m_ip[0], m_ip[1]);
        setTabOrder(m_ip[1], m_ip[2]);
        setTabOrder(m_ip[2], m_ip[3]);
        setTabOrder(m_ip[3], m_updateOptions);
        setTabOrder(m_updateOptions, m_readBack);
        setTabOrder(m_readBack, m_cancel);
        setTabOrder(m_cancel, m_update);
        if (!m_state.deviceIp.empty()) {
            const IpParts split = splitIpText(m_state.deviceIp);
            if (split.ok)
                for (int i = 0; i < 4; ++i)
                    m_ip[i]->setText(qs(split.parts[i]));
        }
        m_ip[0]->setFocus();
    }
}

void UpdateDialog::refreshComPorts()
{
    if (!m_lister && !m_systemLister)
        m_systemLister = std::make_unique<SystemSerialPortLister>();
    SerialPortLister& lister = m_lister ? *m_lister : *m_systemLister;
    m_ports = lister.ports();
    m_comPort->clear();
    for (const SerialPortEntry& port : m_ports)
        m_comPort->addItem(qs(port.name));
    m_comPort->setCurrentIndex(m_ports.empty() ? -1 : 0);
}

std::string UpdateDialog::ipFieldsText() const
{
    return joinIpParts({us(m_ip[0]->text()), us(m_ip[1]->text()), us(m_ip[2]->text()), us(m_ip[3]->text())});
}

void UpdateDialog::onExecuteClicked()
{
    // One update at a time: the check lets window messages through, so a second press could
    // otherwise start a second check inside the first.
    if (!m_update->isEnabled())
        return;
    if (!isSerialLayout() && !isEthernetLayout())
        return;
    const UpdateRequest request = requestFromChoices();
    const UpdateTransport transport = isSerialLayout() ? UpdateTransport::Serial : UpdateTransport::Ethernet;
    // The option is chosen here, after the project checks: a firmware file the option needs and
    // MASTER lacks stops the update before the updater is handed a file that does not exist.
    const std::vector<std::string> missing =
        missingFirmwareErrors(transport, request.option, request.masterDir);
    if (!missing.empty()) {
        QStringList lines;
        for (const std::string& line : missing)
            lines << qs(line);
        messages().error(this, lines.join('\n'));
        return;
    }
    m_update->setEnabled(false);

    if (!m_launcher && !m_systemLauncher)
        m_systemLauncher = std::make_unique<QProcessUpdaterLauncher>();
    if (!m_echo && !m_systemEcho)
        m_systemEcho = std::make_unique<SystemEchoClient>();
    LauncherRunner runner(m_launcher ? *m_launcher : *m_systemLauncher, [this](int elapsedMs) {
        m_status->setText(text(TextId::UpdaterWaiting).arg(elapsedMs / 1000));
    });
    UpdateServices services;
    services.echo = m_echo ? m_echo : m_systemEcho.get();
    services.nowMs = m_nowMs;
    services.idle = [] { QCoreApplication::processEvents(); };
    services.runner = &runner;
    services.waitMs = m_waitMs > 0 ? m_waitMs : kUpdaterWaitMs;
    // Cancel cannot stop the updater or its wait, so it must not look as if it could.
    m_cancel->setEnabled(false);
    const UpdateRun run = runUpdate(targetUpdate(transport, request), services);
    m_cancel->setEnabled(true);

    m_pingResult = run.ping.pingResult;
    if (keepsChoices(run)) {
        m_state.updateOption = request.option;
        m_state.readBack = request.readBack;
        if (transport == UpdateTransport::Ethernet)
            m_state.deviceIp = request.ipAddress;
    }
    showRun(run);
    m_update->setEnabled(true);
}

void UpdateDialog::onProjectIpClicked()
{
    const IpParts split = splitIpText(m_projectIpText);
    if (!split.ok)
        return;
    for (int i = 0; i < 4; ++i)
        m_ip[i]->setText(qs(split.parts[i]));
}

UpdateRequest UpdateDialog::requestFromChoices() const
{
    UpdateRequest request;
    request.projectDir = m_state.projectDir;
    request.workspaceDir = m_state.workspaceDir;
    request.masterDir = m_state.masterDir;
    request.option = m_updateOptions->currentIndex();
    request.readBack = m_readBack->isChecked();
    const int port = m_comPort->currentIndex();
    if (port >= 0 && port < static_cast<int>(m_ports.size()))
        request.serialDevice = m_ports[port].device;
    request.ipAddress = ipFieldsText();
    return request;
}

void UpdateDialog::showRun(const UpdateRun& run)
{
    // The code is the updater's own; it is shown, not read.
    if (run.outcome) {
        if (run.outcome->status != ProcessOutcome::Status::Exited) {
            m_status->setText(text(TextId::UpdaterStillRunning));
            return;
        }
        // The line stays in the dialog; a failure is also said in a box of its own.
        const UpdaterVerdict verdict = updaterVerdict(run.outcome->exitCode, m_state.texts);
        m_status->setText(qs(verdict.text));
        if (!verdict.success)
            messages().error(this, qs(verdict.text));
        return;
    }
    m_status->clear();
    const Error& error = run.outcome.error();
    switch (run.stop) {
    case UpdateStop::DeviceNotFound:
        messages().warning(this, text(error.textId));
        return;
    case UpdateStop::NotStarted: // the Error's file is the updater's path
        messages().error(this, tr("Cannot start the updater: %1").arg(qs(error.file)));
        return;
    case UpdateStop::NoSerialPort:
    case UpdateStop::AddressUnusable:
    case UpdateStop::JobNotWritten:
    case UpdateStop::None:
        break;
    }
    messages().error(this, error.textId != 0 ? text(error.textId) : qs(error.text));
}

} // namespace setforge
