#include "core/update/echoclient.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <cstring>

#include "core/update/processstart.h"

#ifdef _WIN32
// libstdc++ defines NOMINMAX itself.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
// The ICMP headers use windows.h types without including it, and winsock2.h must come before
// windows.h: this order is the one that builds.
// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>
// clang-format on
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace setforge {

namespace {

constexpr std::size_t kEchoDataSize = 24;

std::int64_t steadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

#ifndef _WIN32

// ICMP echo message: type, code, checksum, identifier, sequence, then the data.
constexpr std::uint8_t kEchoRequest = 8;
constexpr std::uint8_t kEchoReply = 0;
constexpr std::size_t kIcmpHeaderSize = 8;

std::uint16_t internetChecksum(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        sum += static_cast<std::uint32_t>(data[i] << 8 | data[i + 1]);
    if (size % 2)
        sum += static_cast<std::uint32_t>(data[size - 1] << 8);
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum);
}

// One socket per echo, so a late reply to an earlier echo never counts for this one.
class IcmpSocket {
public:
    IcmpSocket()
    {
        // The unprivileged kind first; the raw kind needs privileges.
        m_fd = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_ICMP);
        if (m_fd < 0) {
            m_fd = ::socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
            m_raw = m_fd >= 0;
        }
    }
    ~IcmpSocket()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    IcmpSocket(const IcmpSocket&) = delete;
    IcmpSocket& operator=(const IcmpSocket&) = delete;

    bool open() const { return m_fd >= 0; }
    bool raw() const { return m_raw; }
    int fd() const { return m_fd; }

private:
    int m_fd = -1;
    bool m_raw = false;
};

std::uint16_t nextIdentifier()
{
    static std::uint16_t counter = 0;
    return static_cast<std::uint16_t>((static_cast<unsigned>(::getpid()) * 31u) ^ ++counter);
}

// True when `packet` (as the socket delivered it) is the reply to our echo `identifier`.
bool isOurReply(const std::uint8_t* packet, std::size_t size, bool raw, std::uint16_t identifier)
{
    if (raw) {
        // A raw socket hands over the IP header too, and every ICMP message of the host.
        if (size < 20)
            return false;
        const std::size_t headerSize = static_cast<std::size_t>(packet[0] & 0x0F) * 4;
        if (size < headerSize)
            return false;
        packet += headerSize;
        size -= headerSize;
    }
    if (size < kIcmpHeaderSize + kEchoDataSize || packet[0] != kEchoReply)
        return false;
    // The unprivileged socket sets the identifier itself and only passes its own replies.
    if (raw && static_cast<std::uint16_t>(packet[4] << 8 | packet[5]) != identifier)
        return false;
    return std::memcmp(packet + kIcmpHeaderSize, kEchoData, kEchoDataSize) == 0;
}

#endif

} // namespace

#ifdef _WIN32

bool IcmpSocketEchoClient::usable()
{
    HANDLE handle = IcmpCreateFile();
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    IcmpCloseHandle(handle);
    return true;
}

EchoStatus IcmpSocketEchoClient::echo(const std::string& address, int timeoutMs,
                                      const std::function<void()>& idle)
{
    IN_ADDR target{};
    if (inet_pton(AF_INET, address.c_str(), &target) != 1)
        return EchoStatus::Error;
    HANDLE handle = IcmpCreateFile();
    if (handle == INVALID_HANDLE_VALUE)
        return EchoStatus::Error;
    HANDLE done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!done) {
        IcmpCloseHandle(handle);
        return EchoStatus::Error;
    }
    // The reply buffer must outlive the request, which runs while we keep the window alive.
    std::array<char, sizeof(ICMP_ECHO_REPLY) + kEchoDataSize + 8 + 64> reply{};
    char data[kEchoDataSize];
    std::memcpy(data, kEchoData, kEchoDataSize);
    EchoStatus status = EchoStatus::Error;
    const DWORD sent = IcmpSendEcho2(handle, done, nullptr, nullptr, target.S_un.S_addr, data,
                                     static_cast<WORD>(kEchoDataSize), nullptr, reply.data(),
                                     static_cast<DWORD>(reply.size()), static_cast<DWORD>(timeoutMs));
    if (sent != 0 || GetLastError() == ERROR_IO_PENDING) {
        const std::int64_t start = steadyMs();
        // A margin over the time-out: the system reports the time-out itself.
        while (WaitForSingleObject(done, 10) == WAIT_TIMEOUT && steadyMs() - start < timeoutMs + 1000) {
            if (idle)
                idle();
        }
        const DWORD count = IcmpParseReplies(reply.data(), static_cast<DWORD>(reply.size()));
        if (count > 0) {
            const auto* first = reinterpret_cast<const ICMP_ECHO_REPLY*>(reply.data());
            status = first->Status == IP_SUCCESS ? EchoStatus::Reply : EchoStatus::NoReply;
        } else {
            const DWORD error = GetLastError();
            status =
                error == IP_REQ_TIMED_OUT || error == WAIT_TIMEOUT ? EchoStatus::NoReply : EchoStatus::Error;
        }
    }
    // Closing the handle cancels a request still pending, before the buffer goes away.
    IcmpCloseHandle(handle);
    CloseHandle(done);
    return status;
}

std::unique_ptr<EchoClient> makeSystemEchoClient()
{
    return std::make_unique<IcmpSocketEchoClient>();
}

#else

bool IcmpSocketEchoClient::usable()
{
    return IcmpSocket().open();
}

EchoStatus IcmpSocketEchoClient::echo(const std::string& address, int timeoutMs,
                                      const std::function<void()>& idle)
{
    sockaddr_in target{};
    target.sin_family = AF_INET;
    if (::inet_pton(AF_INET, address.c_str(), &target.sin_addr) != 1)
        return EchoStatus::Error;
    IcmpSocket socket;
    if (!socket.open())
        return EchoStatus::Error;

    const std::uint16_t identifier = nextIdentifier();
    std::array<std::uint8_t, kIcmpHeaderSize + kEchoDataSize> request{};
    request[0] = kEchoRequest;
    request[4] = static_cast<std::uint8_t>(identifier >> 8);
    request[5] = static_cast<std::uint8_t>(identifier & 0xFF);
    // Sequence number 0 (bytes 6 and 7).
    std::memcpy(request.data() + kIcmpHeaderSize, kEchoData, kEchoDataSize);
    const std::uint16_t checksum = internetChecksum(request.data(), request.size());
    request[2] = static_cast<std::uint8_t>(checksum >> 8);
    request[3] = static_cast<std::uint8_t>(checksum & 0xFF);

    if (::sendto(socket.fd(), request.data(), request.size(), 0, reinterpret_cast<const sockaddr*>(&target),
                 sizeof(target)) < 0)
        return EchoStatus::Error;

    const std::int64_t start = steadyMs();
    std::array<std::uint8_t, 1500> packet{};
    for (;;) {
        const std::int64_t left = timeoutMs - (steadyMs() - start);
        if (left <= 0)
            return EchoStatus::NoReply;
        pollfd waiting{socket.fd(), POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(left < 10 ? left : 10));
        if (ready > 0) {
            const ssize_t size = ::recv(socket.fd(), packet.data(), packet.size(), 0);
            if (size > 0 &&
                isOurReply(packet.data(), static_cast<std::size_t>(size), socket.raw(), identifier))
                return EchoStatus::Reply;
        }
        if (idle)
            idle();
    }
}

EchoStatus PingProgramEchoClient::echo(const std::string& address, int timeoutMs,
                                       const std::function<void()>& idle)
{
    in_addr target{};
    if (::inet_pton(AF_INET, address.c_str(), &target) != 1)
        return EchoStatus::Error;
    // ping waits whole seconds: give it its second and a margin to end.
    (void)timeoutMs;
    const ProcessOutcome outcome =
        runProgram(m_program, {"-c", "1", "-W", "1", address}, 3000, true, true, idle);
    if (outcome.status != ProcessOutcome::Status::Exited)
        return EchoStatus::Error;
    if (outcome.exitCode == 0)
        return EchoStatus::Reply;
    // ping ends with 1 when no reply came, with other codes when it could not send.
    return outcome.exitCode == 1 ? EchoStatus::NoReply : EchoStatus::Error;
}

std::unique_ptr<EchoClient> makeSystemEchoClient()
{
    if (IcmpSocketEchoClient::usable())
        return std::make_unique<IcmpSocketEchoClient>();
    return std::make_unique<PingProgramEchoClient>();
}

#endif

} // namespace setforge
