#pragma once

#include <QString>

#include "core/update/echoclient.h"

namespace setforge {

// The update dialog's echo: the system's ICMP echo of the core where an ICMP socket (or on
// Windows the ICMP API) is available, else one run of the system's ping program through
// QProcess; an echo that can be sent neither way is an Error.
class SystemEchoClient : public EchoClient {
public:
    // `useSockets` false goes straight to the ping program `pingProgram` (looked up in PATH).
    explicit SystemEchoClient(bool useSockets = true, QString pingProgram = "ping")
        : m_useSockets(useSockets), m_pingProgram(std::move(pingProgram))
    {
    }
    EchoStatus echo(const std::string& address, int timeoutMs, const std::function<void()>& idle) override;

private:
    bool m_useSockets;
    QString m_pingProgram;
};

} // namespace setforge
