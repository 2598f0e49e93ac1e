#pragma once

#include <QString>
#include <map>
#include <memory>

#include "core/sim/modbusrequest.h"
#include "gui/app/setforgedialog.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTcpServer;
class QTcpSocket;
class QTimer;

namespace setforge {

class VirtualConverter;

// The "Virtual Converter" window: serves the open project's register map to Modbus TCP masters
// on 127.0.0.1, shows every claimed register with its live value and last access, and logs the
// requests and CAN frames. Not modal; Qt's event loop drives the sockets and a timer the clock,
// so the window never waits. All the logic is the core's VirtualConverter.
class VirtualConverterWindow : public SetforgeDialog {
    Q_OBJECT
public:
    VirtualConverterWindow(AppState& state, QWidget* parent);
    ~VirtualConverterWindow() override;

    void applyTexts() override;

    // Starts serving the open project on the port in the port field (0: a free one, then shown
    // there); false, with an error message, when the project or the port cannot be used.
    bool start();
    // Stops serving and closes every connection; the trace stays until the next start.
    void stop();
    bool isRunning() const;
    // The port listened on, 0 when stopped.
    int port() const;

    // Replays the candump log at `path` into the running simulation (starting it when needed),
    // every frame at the present time; false with an error message when it cannot be read.
    bool loadTrace(const QString& path);
    // Writes the trace to `path` through the atomic-write helper; false with an error message.
    bool saveTrace(const QString& path);

private:
    void acceptClients();
    void serveClient(QTcpSocket* socket);
    void tick();
    void fillTable();
    void refreshValues();
    void appendLog(const QString& line);
    void updateButtons();

    QLabel* m_portLabel = nullptr;
    QSpinBox* m_port = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_load = nullptr;
    QPushButton* m_save = nullptr;
    QTableWidget* m_table = nullptr;
    QPlainTextEdit* m_log = nullptr;
    QTcpServer* m_server = nullptr;
    QTimer* m_clock = nullptr;
    std::unique_ptr<VirtualConverter> m_sim;
    std::map<QTcpSocket*, ModbusTcpFramer> m_clients;
};

} // namespace setforge
