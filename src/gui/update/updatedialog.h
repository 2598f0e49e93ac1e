#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/base/devicevariant.h"
#include "core/flow/updateflow.h"
#include "core/update/echoclient.h"
#include "core/update/sendping.h"
#include "gui/app/setforgedialog.h"
#include "gui/update/serialportlister.h"
#include "gui/update/updaterlauncher.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace setforge {

// The update dialog: the serial port or the device's IP address, what to write and whether to
// read it back; Execute hands the job to the serial or the Ethernet updater.
class UpdateDialog : public SetforgeDialog {
    Q_OBJECT
public:
    UpdateDialog(AppState& state, QWidget* parent);
    ~UpdateDialog() override;

    // The layout for the device type the compile returned (variantForUpdate): 0 serial update,
    // 1 Ethernet update; any other value shows no input panel.
    void setFormType(int deviceType) { m_layout = variantForUpdate(deviceType); }
    // Result of the last reachability check.
    EchoResult pingResult() const { return m_pingResult; }

    void applyTexts() override;
    // Builds the layout for the form type; runs on every showing.
    void arrangeLayout();
    // Refills the serial port list and selects its first entry.
    void refreshComPorts();
    // Execute: starts the update for the form type; the dialog stays open.
    void onExecuteClicked();
    // "Project IP (a.b.c.d)": puts the project's own address into the four fields.
    void onProjectIpClicked();

    // Replaceable parts (not owned; null restores the system's own).
    void setPortLister(SerialPortLister* lister) { m_lister = lister; }
    void setEchoClient(EchoClient* echo) { m_echo = echo; }
    void setLauncher(UpdaterLauncher* launcher) { m_launcher = launcher; }
    // Clock of the reachability check in milliseconds; empty restores the steady clock.
    void setPingClock(std::function<std::int64_t()> nowMs) { m_nowMs = std::move(nowMs); }
    // The longest wait for the updater in milliseconds; 0 restores the updaters' 150 s.
    void setUpdaterWait(int waitMs) { m_waitMs = waitMs; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();
    std::string ipFieldsText() const;
    // The update the dialog's choices ask for, in the state's workspace and project.
    UpdateRequest requestFromChoices() const;
    // Shows how the update went: the updater's end in the status, a stop in a message box.
    void showRun(const UpdateRun& run);

    bool isSerialLayout() const { return m_layout == DeviceVariant::WithoutEthernet; }
    bool isEthernetLayout() const { return m_layout == DeviceVariant::WithEthernet; }

    std::optional<DeviceVariant> m_layout = DeviceVariant::WithoutEthernet;
    EchoResult m_pingResult = EchoNoneReceived;
    std::vector<SerialPortEntry> m_ports;
    SerialPortLister* m_lister = nullptr;
    EchoClient* m_echo = nullptr;
    UpdaterLauncher* m_launcher = nullptr;
    std::function<std::int64_t()> m_nowMs;
    int m_waitMs = 0;
    std::unique_ptr<SerialPortLister> m_systemLister;
    std::unique_ptr<EchoClient> m_systemEcho;
    std::unique_ptr<UpdaterLauncher> m_systemLauncher;

    QFrame* m_title = nullptr;
    QLabel* m_swCode = nullptr;
    QLabel* m_swDesc = nullptr;
    QFrame* m_serial = nullptr;
    QLabel* m_comPortLabel = nullptr;
    QComboBox* m_comPort = nullptr;
    QPushButton* m_comList = nullptr;
    QFrame* m_ipAddress = nullptr;
    QLabel* m_ipLabel = nullptr;
    QLineEdit* m_ip[4] = {};
    QPushButton* m_projectIp = nullptr;
    std::string m_projectIpText; // the project's own address when the dialog was shown
    QFrame* m_options = nullptr;
    QLabel* m_optionLabel = nullptr;
    QComboBox* m_updateOptions = nullptr;
    QCheckBox* m_readBack = nullptr;
    QLabel* m_status = nullptr;
    QFrame* m_buttons = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_update = nullptr;
};

} // namespace setforge
