#include "cli/simulateserver.h"

#include <chrono>
#include <cstdint>
#include <cstring>
#include <vector>

#ifdef SETFORGE_WITH_MODBUS
#include <cerrno>
#include <modbus.h>
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif
#endif

namespace setforge {

std::int64_t wallClockUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

#ifdef SETFORGE_WITH_MODBUS

namespace {

constexpr int kPollMs = 10;     // how often the clock moves when no request comes
constexpr int kMaxClients = 64; // further connections are accepted and closed at once
constexpr std::size_t kReadChunk = 4096;

// The few socket calls that differ between Winsock and POSIX.
#ifdef _WIN32
using Socket = SOCKET;
using PollEntry = WSAPOLLFD;
const Socket kNoSocket = INVALID_SOCKET;
int pollSockets(PollEntry* entries, std::size_t count, int timeoutMs)
{
    if (count == 0) { // WSAPoll refuses an empty set; the serial line waits by itself
        ::Sleep(static_cast<DWORD>(timeoutMs));
        return 0;
    }
    return ::WSAPoll(entries, static_cast<ULONG>(count), timeoutMs);
}
void closeSocket(Socket socket)
{
    ::closesocket(socket);
}
void makeNonBlocking(Socket socket)
{
    u_long on = 1;
    ::ioctlsocket(socket, FIONBIO, &on);
}
bool interruptedOrWouldBlock()
{
    const int code = ::WSAGetLastError();
    return code == WSAEWOULDBLOCK || code == WSAEINTR;
}
std::string socketErrorText()
{
    return "Winsock error " + std::to_string(::WSAGetLastError());
}
constexpr int kSendFlags = 0;
#else
using Socket = int;
using PollEntry = pollfd;
constexpr Socket kNoSocket = -1;
int pollSockets(PollEntry* entries, std::size_t count, int timeoutMs)
{
    return ::poll(entries, count, timeoutMs);
}
void closeSocket(Socket socket)
{
    ::close(socket);
}
void makeNonBlocking(Socket socket)
{
    ::fcntl(socket, F_SETFL, ::fcntl(socket, F_GETFL) | O_NONBLOCK);
}
bool interruptedOrWouldBlock()
{
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
}
std::string socketErrorText()
{
    return std::strerror(errno);
}
constexpr int kSendFlags = MSG_NOSIGNAL; // a client gone is a closed connection, not a signal
#endif

struct Client {
    Socket fd = kNoSocket;
    std::string name;
    ModbusTcpFramer framer;
};

bool sendAll(Socket fd, const std::vector<std::uint8_t>& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto n = ::send(fd, reinterpret_cast<const char*>(bytes.data() + done),
                              static_cast<int>(bytes.size() - done), kSendFlags);
        if (n < 0 && interruptedOrWouldBlock())
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

struct SimulateServer::Impl {
    VirtualConverter& converter;
    SimulateOptions options;
    std::function<void(const std::string&)> log;
    Socket listenFd = kNoSocket;
    modbus_t* rtu = nullptr;
    // The serial line's descriptor, polled with the sockets; Windows cannot poll a serial
    // handle, so there libmodbus waits on the line itself, briefly, once per turn.
    int rtuFd = -1;
    std::vector<Client> clients;
    int nextClient = 1;

    Impl(VirtualConverter& c, SimulateOptions o, std::function<void(const std::string&)> l)
        : converter(c), options(std::move(o)), log(std::move(l))
    {
    }

    ~Impl()
    {
        for (Client& client : clients)
            closeSocket(client.fd);
        if (listenFd != kNoSocket)
            closeSocket(listenFd);
        if (rtu) {
            modbus_close(rtu);
            modbus_free(rtu);
        }
    }

    void say(const std::string& line)
    {
        if (!options.quiet && log)
            log(line);
    }

    void acceptClient()
    {
        sockaddr_in address{};
        socklen_t length = sizeof address;
        const Socket fd = ::accept(listenFd, reinterpret_cast<sockaddr*>(&address), &length);
        if (fd == kNoSocket)
            return;
        if (static_cast<int>(clients.size()) >= kMaxClients) {
            closeSocket(fd);
            return;
        }
        makeNonBlocking(fd);
        const int yes = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&yes),
                     sizeof yes); // one answer, sent at once
        char host[INET_ADDRSTRLEN] = "?";
        ::inet_ntop(AF_INET, &address.sin_addr, host, sizeof host);
        Client client;
        client.fd = fd;
        client.name = "tcp#" + std::to_string(nextClient++) + " " + host + ":" +
                      std::to_string(ntohs(address.sin_port));
        say("modbus " + client.name + " connected");
        clients.push_back(std::move(client));
    }

    // Reads what a client sent and answers every whole request; false when it is to be closed.
    bool serveClient(Client& client)
    {
        std::uint8_t buffer[kReadChunk];
        const auto n = ::recv(client.fd, reinterpret_cast<char*>(buffer), static_cast<int>(sizeof buffer), 0);
        if (n < 0 && interruptedOrWouldBlock())
            return true;
        if (n <= 0)
            return false;
        client.framer.append(buffer, static_cast<std::size_t>(n));
        while (auto adu = client.framer.next()) {
            std::vector<std::uint8_t> response;
            const int unit = options.unitId;
            if (adu->unit == unit || adu->unit == 0 || adu->unit == 0xFF) {
                converter.advanceTo(wallClockUs() + clockOffset);
                response = handleModbusRequest(converter, adu->pdu.data(), adu->pdu.size());
            } else {
                response = {static_cast<std::uint8_t>(adu->pdu.empty() ? 0x80 : adu->pdu[0] | 0x80),
                            kModbusGatewayTargetFailed};
            }
            if (!options.quiet)
                say("modbus " + client.name + " unit " + std::to_string(adu->unit) + " " +
                    describeModbusExchange(adu->pdu, response));
            if (!response.empty() && !sendAll(client.fd, modbusTcpResponse(*adu, response)))
                return false;
        }
        if (client.framer.broken()) {
            say("modbus " + client.name + " sent a malformed MBAP header; closing");
            return false;
        }
        return true;
    }

    void serveRtu()
    {
        std::uint8_t adu[MODBUS_RTU_MAX_ADU_LENGTH];
        const int length = modbus_receive(rtu, adu);
        if (length <= 0) {
            // On Windows a time-out only says that nothing came within the turn's wait.
            if (length < 0 && !(rtuFd < 0 && errno == ETIMEDOUT))
                say(std::string("modbus rtu: ") + modbus_strerror(errno) + "; request dropped");
            return;
        }
        // adu: address, PDU, CRC (2 bytes).
        if (length < 4)
            return;
        converter.advanceTo(wallClockUs() + clockOffset);
        const std::vector<std::uint8_t> pdu(adu + 1, adu + length - 2);
        const std::vector<std::uint8_t> response = handleModbusRequest(converter, pdu.data(), pdu.size());
        if (!options.quiet)
            say("modbus rtu unit " + std::to_string(adu[0]) + " " + describeModbusExchange(pdu, response));
        if (adu[0] == 0 || response.empty())
            return; // a broadcast is not answered
        std::vector<std::uint8_t> raw = {adu[0]};
        raw.insert(raw.end(), response.begin(), response.end());
        if (modbus_send_raw_request(rtu, raw.data(), static_cast<int>(raw.size())) < 0)
            say(std::string("modbus rtu: ") + modbus_strerror(errno));
    }

    std::int64_t clockOffset = 0;
};

SimulateServer::SimulateServer(VirtualConverter& converter, SimulateOptions options,
                               std::function<void(const std::string&)> log)
    : m_impl(new Impl(converter, std::move(options), std::move(log)))
{
}

SimulateServer::~SimulateServer()
{
    delete m_impl;
}

bool SimulateServer::open(std::string& error)
{
    Impl& s = *m_impl;
    if (s.options.tcpHost) {
        // The listener is made here rather than by libmodbus, whose listen takes any address
        // beginning with '0' for all interfaces and an unreadable one for 255.255.255.255.
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(s.options.tcpPort));
        if (::inet_pton(AF_INET, s.options.tcpHost->c_str(), &address.sin_addr) != 1) {
            error = "not an IPv4 address: " + *s.options.tcpHost;
            return false;
        }
#ifdef _WIN32
        // Winsock is started once per process and left running until it ends.
        static const bool winsockStarted = [] {
            WSADATA data;
            return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
        }();
        if (!winsockStarted) {
            error = "cannot start Winsock: " + socketErrorText();
            return false;
        }
        s.listenFd = ::socket(AF_INET, SOCK_STREAM, 0);
        // Windows lets a second program bind a port in use under SO_REUSEADDR; exclusive use
        // makes a busy port an error as elsewhere.
        const int yes = 1;
        const int reuseOption = SO_EXCLUSIVEADDRUSE;
#else
        s.listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int yes = 1;
        const int reuseOption = SO_REUSEADDR;
#endif
        if (s.listenFd == kNoSocket ||
            ::setsockopt(s.listenFd, SOL_SOCKET, reuseOption, reinterpret_cast<const char*>(&yes),
                         sizeof yes) != 0 ||
            ::bind(s.listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(s.listenFd, 16) != 0) {
            error = "cannot listen on " + *s.options.tcpHost + ":" + std::to_string(s.options.tcpPort) +
                    ": " + socketErrorText();
            return false;
        }
        makeNonBlocking(s.listenFd);
        sockaddr_in bound{};
        socklen_t length = sizeof bound;
        if (::getsockname(s.listenFd, reinterpret_cast<sockaddr*>(&bound), &length) == 0)
            m_boundPort = ntohs(bound.sin_port);
    }
    if (s.options.rtuDevice) {
        s.rtu = modbus_new_rtu(s.options.rtuDevice->c_str(), s.options.baud, s.options.parity, 8,
                               s.options.stopBits);
        if (!s.rtu) {
            error = "cannot use serial line " + *s.options.rtuDevice + ": " + modbus_strerror(errno);
            return false;
        }
        modbus_set_slave(s.rtu, s.options.unitId);
        // Garbage on the line costs at most a short pause: the rest of a bad frame is flushed.
        modbus_set_error_recovery(s.rtu, MODBUS_ERROR_RECOVERY_PROTOCOL);
        modbus_set_byte_timeout(s.rtu, 0, 50000);
        modbus_set_response_timeout(s.rtu, 0, 50000);
        if (modbus_connect(s.rtu) < 0) {
            error = "cannot open serial line " + *s.options.rtuDevice + ": " + modbus_strerror(errno);
            return false;
        }
#ifdef _WIN32
        modbus_set_indication_timeout(s.rtu, 0, 1000);
#else
        s.rtuFd = modbus_get_socket(s.rtu);
#endif
    }
    return true;
}

void SimulateServer::run(const std::atomic<bool>& stop, std::int64_t clockStartUs)
{
    Impl& s = *m_impl;
    const std::int64_t realStart = wallClockUs();
    s.clockOffset = clockStartUs - realStart;
    // A plain bound instead of an optional: GCC 12 at -O3 warns falsely about its unset payload.
    const bool timed = s.options.durationS.has_value();
    const std::int64_t endAt =
        timed ? realStart + static_cast<std::int64_t>(*s.options.durationS * 1e6) : INT64_MAX;
    std::vector<PollEntry> fds;
    while (!stop.load()) {
        const std::int64_t now = wallClockUs();
        if (timed && now >= endAt)
            break;
        s.converter.advanceTo(now + s.clockOffset);
        fds.clear();
        if (s.listenFd != kNoSocket)
            fds.push_back({s.listenFd, POLLIN, 0});
        if (s.rtuFd >= 0)
            fds.push_back({static_cast<Socket>(s.rtuFd), POLLIN, 0});
        const std::size_t firstClient = fds.size();
        for (const Client& client : s.clients)
            fds.push_back({client.fd, POLLIN, 0});
        const int ready = pollSockets(fds.data(), fds.size(), kPollMs);
        if (s.rtu && s.rtuFd < 0)
            s.serveRtu(); // waits on the line itself, 1 ms at most
        if (ready <= 0)
            continue; // timeout, or a signal that may have asked to stop
        std::size_t i = 0;
        if (s.listenFd != kNoSocket) {
            if (fds[i].revents & POLLIN)
                s.acceptClient();
            ++i;
        }
        if (s.rtuFd >= 0) {
            if (fds[i].revents & (POLLIN | POLLERR | POLLHUP))
                s.serveRtu();
            ++i;
        }
        std::vector<Socket> closing;
        for (std::size_t k = firstClient; k < fds.size(); ++k) {
            if (fds[k].revents == 0)
                continue;
            Client& client = s.clients[k - firstClient];
            if (!s.serveClient(client))
                closing.push_back(client.fd);
        }
        for (const Socket fd : closing) {
            for (auto it = s.clients.begin(); it != s.clients.end(); ++it)
                if (it->fd == fd) {
                    s.say("modbus " + it->name + " closed");
                    closeSocket(fd);
                    s.clients.erase(it);
                    break;
                }
        }
    }
    s.converter.advanceTo(wallClockUs() + s.clockOffset);
}

#else

struct SimulateServer::Impl {};

SimulateServer::SimulateServer(VirtualConverter&, SimulateOptions, std::function<void(const std::string&)>)
    : m_impl(nullptr)
{
}

SimulateServer::~SimulateServer() = default;

bool SimulateServer::open(std::string& error)
{
    error = "this build of setforge-cli has no Modbus server (built without libmodbus)";
    return false;
}

void SimulateServer::run(const std::atomic<bool>&, std::int64_t) {}

#endif

} // namespace setforge
