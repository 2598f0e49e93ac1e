#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace setforge {

// What one ICMP echo came back with.
enum class EchoStatus {
    Reply,   // the device answered
    NoReply, // nothing came back within the time-out
    Error,   // the echo could not be sent: unusable address, no way to send
};

// Sends ICMP echo requests. The update dialog and the command line each hold one; tests
// replace it with a double.
class EchoClient {
public:
    virtual ~EchoClient() = default;
    // Sends one echo to the dotted IPv4 `address` and waits up to `timeoutMs` for its reply,
    // calling `idle` between short waits so a window keeps processing its messages.
    virtual EchoStatus echo(const std::string& address, int timeoutMs, const std::function<void()>& idle) = 0;
};

// The data every echo carries.
inline constexpr const char* kEchoData = "abcdefghijklmnopqrstuvwa";

// The system's echo: the ICMP API on Windows; elsewhere an unprivileged ICMP socket where
// the system allows one, else a raw socket, else one run of the system's ping program.
// When none of them can be used every echo returns Error.
std::unique_ptr<EchoClient> makeSystemEchoClient();

// The socket part of the above alone (no ping program): Error when neither socket can be opened.
// `usable()` says whether a socket could be opened at all.
class IcmpSocketEchoClient : public EchoClient {
public:
    EchoStatus echo(const std::string& address, int timeoutMs, const std::function<void()>& idle) override;
    // True when an ICMP socket (unprivileged or raw) can be opened here.
    static bool usable();
};

#ifndef _WIN32
// One run of `ping -c 1 -W 1 ADDRESS` per echo, for systems that allow no ICMP socket: exit 0
// is a reply, 1 no reply, anything else (or no program) an Error. `program` is looked up in PATH.
class PingProgramEchoClient : public EchoClient {
public:
    explicit PingProgramEchoClient(std::string program = "ping") : m_program(std::move(program)) {}
    EchoStatus echo(const std::string& address, int timeoutMs, const std::function<void()>& idle) override;

private:
    std::string m_program;
};
#endif

} // namespace setforge
