#include "localhttpserver.h"

#include <QHostAddress>
#include <QTcpSocket>

namespace setforge {

LocalHttpServer::LocalHttpServer()
{
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            socket->setProperty("head", QByteArray());
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString LocalHttpServer::baseUrl() const
{
    return QString("http://127.0.0.1:%1").arg(port());
}

QByteArray LocalHttpServer::header(const QByteArray& head, const QByteArray& name)
{
    const QList<QByteArray> lines = head.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == name.toLower())
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

QByteArray LocalHttpServer::target(const QByteArray& head)
{
    const QList<QByteArray> parts = head.left(head.indexOf('\r')).split(' ');
    return parts.size() >= 2 ? parts[1] : QByteArray();
}

void LocalHttpServer::serve(QTcpSocket* socket)
{
    QByteArray head = socket->property("head").toByteArray() + socket->readAll();
    socket->setProperty("head", head);
    const qsizetype end = head.indexOf("\r\n\r\n");
    if (end < 0 || socket->property("answered").toBool())
        return;
    socket->setProperty("answered", true);
    head = head.left(end);
    m_requests.append(head);

    QByteArray path = target(head);
    if (const qsizetype q = path.indexOf('?'); q >= 0)
        path = path.left(q);
    const Reply reply = m_replies.value(path, Reply{404, "Not Found", {}, false});
    if (reply.silent)
        return;
    QByteArray response = "HTTP/1.0 " + QByteArray::number(reply.status) + " Canned\r\n";
    response += "Content-Type: text/html\r\n";
    response += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    response += "Connection: close\r\n";
    for (const auto& [name, value] : reply.headers)
        response += name + ": " + value + "\r\n";
    response += "\r\n" + reply.body;
    socket->write(response);
    socket->disconnectFromHost();
}

} // namespace setforge
