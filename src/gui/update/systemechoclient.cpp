#include "gui/update/systemechoclient.h"

#ifndef _WIN32
#include <arpa/inet.h>
#endif

#include <QElapsedTimer>
#include <QProcess>

#include "gui/app/qtext.h"

namespace setforge {

EchoStatus SystemEchoClient::echo(const std::string& address, int timeoutMs,
                                  const std::function<void()>& idle)
{
#ifndef Q_OS_WIN
    if (!m_useSockets || !IcmpSocketEchoClient::usable()) {
        // Only a full dotted address: QHostAddress would also take short forms such as "127.1".
        in_addr target{};
        if (::inet_pton(AF_INET, address.c_str(), &target) != 1)
            return EchoStatus::Error;
        QProcess ping;
        ping.setProgram(m_pingProgram);
        ping.setArguments({"-c", "1", "-W", "1", qs(address)});
        ping.setStandardOutputFile(QProcess::nullDevice());
        ping.setStandardErrorFile(QProcess::nullDevice());
        ping.start();
        if (!ping.waitForStarted(-1))
            return EchoStatus::Error;
        // ping waits whole seconds: give it its second and a margin to end.
        QElapsedTimer elapsed;
        elapsed.start();
        while (!ping.waitForFinished(10)) {
            if (idle)
                idle();
            if (elapsed.elapsed() > 3000) {
                ping.kill();
                ping.waitForFinished(1000);
                return EchoStatus::NoReply;
            }
        }
        (void)timeoutMs;
        if (ping.exitStatus() != QProcess::NormalExit)
            return EchoStatus::Error;
        // ping ends with 1 when no reply came, with other codes when it could not send.
        if (ping.exitCode() == 0)
            return EchoStatus::Reply;
        return ping.exitCode() == 1 ? EchoStatus::NoReply : EchoStatus::Error;
    }
#endif
    IcmpSocketEchoClient socket;
    return socket.echo(address, timeoutMs, idle);
}

} // namespace setforge
