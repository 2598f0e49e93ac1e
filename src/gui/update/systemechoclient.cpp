#include "gui/update/systemechoclient.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QProcess>

#include "gui/app/qtext.h"

EchoStatus SystemEchoClient::echo(const std::string& address, int timeoutMs,
                                  const std::function<void()>& idle)
{
#ifndef Q_OS_WIN
    if (!IcmpSocketEchoClient::usable()) {
        QHostAddress target;
        if (!target.setAddress(qs(address)) || target.protocol() != QAbstractSocket::IPv4Protocol)
            return EchoStatus::Error;
        QProcess ping;
        ping.setProgram("ping");
        ping.setArguments({"-c", "1", "-W", "1", target.toString()});
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
