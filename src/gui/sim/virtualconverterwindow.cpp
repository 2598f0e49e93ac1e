#include "gui/sim/virtualconverterwindow.h"

#include <QDateTime>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QVBoxLayout>
#include <chrono>

#include "core/app/appstate.h"
#include "core/lang/textid.h"
#include "core/sim/canframe.h"
#include "core/sim/simconfig.h"
#include "core/sim/virtualconverter.h"
#include "gui/app/messageservice.h"
#include "gui/app/qtext.h"

namespace setforge {

namespace {

// The window's block of UI_Texts.
constexpr int kColumns = 6;
constexpr int kClockMs = 100;
constexpr int kMaxLogLines = 5000;

enum Column { Register, Hex, Decimal, Source, CanSide, LastAccess };

std::int64_t nowUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The CANopen end of a claim, as the register map report names it.
QString canSide(const RegisterMapEntry& e)
{
    QString text;
    if (e.nodeId)
        text = QString("node %1 ").arg(*e.nodeId);
    if (!e.object.empty())
        text += qs(e.object);
    else if (e.cobId)
        text += qs(hexCobId(static_cast<unsigned>(*e.cobId)));
    if (e.highByte != 0 || e.lowByte != 0)
        text += QString(" [%1|%2]").arg(e.highByte).arg(e.lowByte);
    return text.trimmed();
}

} // namespace

VirtualConverterWindow::VirtualConverterWindow(AppState& state, QWidget* parent)
    : SetforgeDialog(state, parent)
{
    setObjectName("VirtualConverter");
    setModal(false);
    resize(760, 560);
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    m_portLabel = new QLabel(this);
    m_port = new QSpinBox(this);
    m_port->setObjectName("E_Sim_Port");
    m_port->setRange(0, 65535);
    m_port->setValue(1502);
    m_start = new QPushButton(this);
    m_start->setObjectName("Btn_Sim_Start");
    m_stop = new QPushButton(this);
    m_stop->setObjectName("Btn_Sim_Stop");
    m_load = new QPushButton(this);
    m_load->setObjectName("Btn_Sim_LoadTrace");
    m_save = new QPushButton(this);
    m_save->setObjectName("Btn_Sim_SaveTrace");
    bar->addWidget(m_portLabel);
    bar->addWidget(m_port);
    bar->addWidget(m_start);
    bar->addWidget(m_stop);
    bar->addStretch();
    bar->addWidget(m_load);
    bar->addWidget(m_save);
    layout->addLayout(bar);
    m_table = new QTableWidget(0, kColumns, this);
    m_table->setObjectName("Grid_Sim_Registers");
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_table, 3);
    m_log = new QPlainTextEdit(this);
    m_log->setObjectName("Memo_Sim_Log");
    m_log->setReadOnly(true);
    m_log->setMaximumBlockCount(kMaxLogLines);
    layout->addWidget(m_log, 2);

    m_server = new QTcpServer(this);
    m_clock = new QTimer(this);
    m_clock->setInterval(kClockMs);
    connect(m_server, &QTcpServer::newConnection, this, &VirtualConverterWindow::acceptClients);
    connect(m_clock, &QTimer::timeout, this, &VirtualConverterWindow::tick);
    connect(m_start, &QPushButton::clicked, this, [this] { start(); });
    connect(m_stop, &QPushButton::clicked, this, &VirtualConverterWindow::stop);
    connect(m_load, &QPushButton::clicked, this, [this] {
        const QString path =
            QFileDialog::getOpenFileName(this, text(TextId::SimLoadTrace), QString(), "*.log");
        if (!path.isEmpty())
            loadTrace(path);
    });
    connect(m_save, &QPushButton::clicked, this, [this] {
        const QString path =
            QFileDialog::getSaveFileName(this, text(TextId::SimSaveTrace), "trace.log", "*.log");
        if (!path.isEmpty())
            saveTrace(path);
    });
    applyTexts();
    updateButtons();
}

VirtualConverterWindow::~VirtualConverterWindow()
{
    stop();
}

void VirtualConverterWindow::applyTexts()
{
    setWindowTitle(text(TextId::SimCaption));
    m_portLabel->setText(text(TextId::SimPort));
    m_start->setText(text(TextId::SimStart));
    m_stop->setText(text(TextId::SimStop));
    m_load->setText(text(TextId::SimLoadTrace));
    m_save->setText(text(TextId::SimSaveTrace));
    QStringList headers;
    for (int c = 0; c < kColumns; ++c)
        headers << text(TextId::SimFirstColumn + c);
    m_table->setHorizontalHeaderLabels(headers);
    if (m_sim)
        refreshValues();
}

bool VirtualConverterWindow::isRunning() const
{
    return m_server->isListening();
}

int VirtualConverterWindow::port() const
{
    return isRunning() ? m_server->serverPort() : 0;
}

bool VirtualConverterWindow::start()
{
    if (isRunning())
        return true;
    if (!m_state.hasProject()) {
        messages().error(this, text(TextId::SimNoProject));
        return false;
    }
    Result<SimConfig> config = loadSimConfig(m_state.projectDir);
    if (!config) {
        messages().error(this, qs(config.error().describe()));
        return false;
    }
    // The window serves this machine only; `setforge-cli simulate --tcp` can listen wider.
    if (!m_server->listen(QHostAddress::LocalHost, static_cast<quint16>(m_port->value()))) {
        messages().error(this, text(TextId::SimPortError) + m_server->errorString());
        return false;
    }
    m_port->setValue(m_server->serverPort());
    m_sim = std::make_unique<VirtualConverter>(std::move(config.value()));
    m_sim->setLog([this](const std::string& line) { appendLog(qs(line)); });
    m_sim->start(nowUs());
    m_log->clear();
    appendLog(QString("listening on 127.0.0.1:%1").arg(m_server->serverPort()));
    fillTable();
    m_clock->start();
    updateButtons();
    return true;
}

void VirtualConverterWindow::stop()
{
    m_clock->stop();
    for (auto& [socket, framer] : m_clients) {
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
    m_clients.clear();
    if (m_server->isListening()) {
        m_server->close();
        appendLog("simulation ended");
    }
    updateButtons();
}

bool VirtualConverterWindow::loadTrace(const QString& path)
{
    Result<std::vector<CanFrame>> frames = readCandumpFile(us(path));
    if (!frames) {
        messages().error(this, qs(frames.error().describe()));
        return false;
    }
    if (!isRunning() && !start())
        return false;
    for (CanFrame frame : frames.value()) {
        frame.timeUs = nowUs();
        m_sim->receiveFrame(frame);
    }
    refreshValues();
    return true;
}

bool VirtualConverterWindow::saveTrace(const QString& path)
{
    if (!m_sim)
        return false;
    const Result<void> written = m_sim->saveTrace(us(path));
    if (!written) {
        messages().error(this, qs(written.error().text));
        return false;
    }
    return true;
}

void VirtualConverterWindow::acceptClients()
{
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        m_clients[socket] = ModbusTcpFramer();
        appendLog(
            QString("modbus %1:%2 connected").arg(socket->peerAddress().toString()).arg(socket->peerPort()));
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serveClient(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_clients.erase(socket);
            socket->deleteLater();
        });
    }
}

void VirtualConverterWindow::serveClient(QTcpSocket* socket)
{
    const auto it = m_clients.find(socket);
    if (it == m_clients.end() || !m_sim)
        return;
    const QByteArray bytes = socket->readAll();
    ModbusTcpFramer& framer = it->second;
    framer.append(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                  static_cast<std::size_t>(bytes.size()));
    m_sim->advanceTo(nowUs());
    while (auto adu = framer.next()) {
        // The window answers every unit: it has one converter to offer.
        const std::vector<std::uint8_t> answer =
            handleModbusRequest(*m_sim, adu->pdu.data(), adu->pdu.size());
        appendLog(
            QString("modbus unit %1 %2").arg(adu->unit).arg(qs(describeModbusExchange(adu->pdu, answer))));
        const std::vector<std::uint8_t> frame = modbusTcpResponse(*adu, answer);
        socket->write(reinterpret_cast<const char*>(frame.data()), static_cast<qint64>(frame.size()));
    }
    if (framer.broken())
        socket->abort();
    refreshValues();
}

void VirtualConverterWindow::tick()
{
    if (!m_sim)
        return;
    m_sim->advanceTo(nowUs());
    refreshValues();
}

void VirtualConverterWindow::fillTable()
{
    const auto& claims = m_sim->config().claims;
    m_table->setRowCount(static_cast<int>(claims.size()));
    for (int row = 0; row < static_cast<int>(claims.size()); ++row) {
        const RegisterMapEntry& e = claims[static_cast<std::size_t>(row)].entry;
        auto set = [&](int column, const QString& value) {
            m_table->setItem(row, column, new QTableWidgetItem(value));
        };
        set(Register, QString::number(e.reg));
        set(Hex, QString());
        set(Decimal, QString());
        set(Source, QString::fromLatin1(claimSourceName(e.source)));
        set(CanSide, canSide(e));
        set(LastAccess, QString());
    }
    m_table->resizeColumnsToContents();
    refreshValues();
}

void VirtualConverterWindow::refreshValues()
{
    if (!m_sim)
        return;
    const auto& claims = m_sim->config().claims;
    for (int row = 0; row < m_table->rowCount() && row < static_cast<int>(claims.size()); ++row) {
        const std::uint16_t reg = claims[static_cast<std::size_t>(row)].entry.reg;
        const auto value = m_sim->peekRegister(reg);
        m_table->item(row, Hex)->setText(value ? qs(hex4(*value)) : QString("-"));
        m_table->item(row, Decimal)->setText(value ? QString::number(*value) : QString("-"));
        const auto access = m_sim->lastAccess(reg);
        QString when;
        if (access)
            when = text(access->write ? TextId::SimWrite : TextId::SimRead) + " " +
                   QDateTime::fromMSecsSinceEpoch(access->timeUs / 1000).toString("HH:mm:ss.zzz");
        m_table->item(row, LastAccess)->setText(when);
    }
}

void VirtualConverterWindow::appendLog(const QString& line)
{
    m_log->appendPlainText(line);
}

void VirtualConverterWindow::updateButtons()
{
    const bool running = isRunning();
    m_start->setEnabled(!running);
    m_stop->setEnabled(running);
    m_port->setEnabled(!running);
    m_save->setEnabled(m_sim != nullptr);
}

} // namespace setforge
