#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QTcpServer>

class QTcpSocket;

namespace setforge {

// A tiny HTTP server on 127.0.0.1 (a free port) for tests of the version query. It answers
// each request by its path (without query) from the canned replies, 404 when none is set,
// and keeps every request head it received.
class LocalHttpServer : public QObject {
    Q_OBJECT
public:
    struct Reply {
        int status = 200;
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers; // extra response headers
        bool silent = false;                          // accept, read, never answer
    };

    LocalHttpServer();

    bool isListening() const { return m_server.isListening(); }
    quint16 port() const { return m_server.serverPort(); }
    // "http://127.0.0.1:<port>"
    QString baseUrl() const;

    void setReply(const QByteArray& path, const Reply& reply) { m_replies[path] = reply; }
    // The request heads received so far (request line and headers, CR LF separated).
    const QList<QByteArray>& requests() const { return m_requests; }
    // The value of header `name` (any case) in request head `head`, or a null array.
    static QByteArray header(const QByteArray& head, const QByteArray& name);
    // The request target ("/path?query") of request head `head`.
    static QByteArray target(const QByteArray& head);

private:
    void serve(QTcpSocket* socket);

    QTcpServer m_server;
    QMap<QByteArray, Reply> m_replies;
    QList<QByteArray> m_requests;
};

} // namespace setforge
