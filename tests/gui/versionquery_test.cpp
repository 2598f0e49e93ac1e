#include <QtTest>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "core/app/appstate.h"
#include "core/app/makerlinks.h"
#include "core/lang/versioncheck.h"
#include "gui/lang/httpversionquery.h"
#include "gui/lang/versionquery.h"
#include "support/installedquery.h"
#include "support/localhttpserver.h"

namespace setforge {

class VersionQueryTest : public QObject {
    Q_OBJECT
private slots:
    void answers_data();
    void answers();
    void requestShape();
    void noCookiesKept();
    void refusedConnection();
    void waitShowsABusyCursorAndDropsInput();
    void defaultGoesToMakerHost();
};

namespace {

constexpr const char* kPath = "/home/download/GetversionSW.asp";

} // namespace

void VersionQueryTest::answers_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("location");
    QTest::addColumn<bool>("newer");

    QTest::newRow("newer") << 200 << QByteArray("VER. 2.105") << QByteArray() << true;
    QTest::newRow("same") << 200 << QByteArray("VER. 2.001") << QByteArray() << false;
    QTest::newRow("unknown code") << 200 << QByteArray("VER. 0.000") << QByteArray() << false;
    QTest::newRow("line end") << 200 << QByteArray("VER. 2.105\r\n") << QByteArray() << true;
    QTest::newRow("not found") << 404 << QByteArray("VER. 2.105") << QByteArray() << false;
    QTest::newRow("server error") << 500 << QByteArray("VER. 2.105") << QByteArray() << false;
    // A redirect is not followed, even to an answer that names a newer version.
    QTest::newRow("redirect") << 302 << QByteArray("VER. 2.105") << QByteArray("/moved") << false;
    // The body limit: exactly 4 KiB is still read, one byte more is not a version answer.
    QTest::newRow("4 KiB") << 200 << QByteArray("VER. 2.105").leftJustified(4096, ' ') << QByteArray()
                           << true;
    QTest::newRow("over 4 KiB") << 200 << QByteArray("VER. 2.105").leftJustified(4097, ' ') << QByteArray()
                                << false;
    QTest::newRow("empty") << 200 << QByteArray() << QByteArray() << false;
}

void VersionQueryTest::answers()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, location);
    QFETCH(bool, newer);

    LocalHttpServer server;
    QVERIFY(server.isListening());
    LocalHttpServer::Reply reply{status, body, {}, false};
    if (!location.isEmpty()) {
        reply.headers.append({"Location", server.baseUrl().toUtf8() + location});
        server.setReply(location, LocalHttpServer::Reply{200, "VER. 9.999", {}, false});
    }
    server.setReply(kPath, reply);
    InstalledQuery installed(server.baseUrl());

    QCOMPARE(isNewerVersionAvailable(), newer);
    QCOMPARE(server.requests().size(), 1);
}

void VersionQueryTest::requestShape()
{
    LocalHttpServer server;
    server.setReply(kPath, LocalHttpServer::Reply{200, "VER. 2.105", {}, false});
    HttpVersionQuery query(server.baseUrl());
    QCOMPARE(query.answer(), std::string("VER. 2.105"));

    QCOMPARE(server.requests().size(), 1);
    const QByteArray head = server.requests().first();
    QVERIFY2(head.startsWith("GET "), head.constData());
    QCOMPARE(LocalHttpServer::target(head), QByteArray("/home/download/GetversionSW.asp?nomesw=KX40917"));
    QCOMPARE(LocalHttpServer::header(head, "Accept"),
             QByteArray("text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8"));
    QCOMPARE(LocalHttpServer::header(head, "User-Agent"),
             QByteArray("Mozilla/3.0 (compatible; Indy Library)"));
    QVERIFY(LocalHttpServer::header(head, "Cookie").isNull());
}

void VersionQueryTest::noCookiesKept()
{
    LocalHttpServer server;
    server.setReply(
        kPath, LocalHttpServer::Reply{200, "VER. 2.105", {{"Set-Cookie", "session=abc; Path=/"}}, false});
    HttpVersionQuery query(server.baseUrl());
    QCOMPARE(query.answer(), std::string("VER. 2.105"));
    QCOMPARE(query.answer(), std::string("VER. 2.105"));
    QCOMPARE(server.requests().size(), 2);
    QVERIFY(LocalHttpServer::header(server.requests().at(1), "Cookie").isNull());
}

void VersionQueryTest::refusedConnection()
{
    quint16 port = 0;
    {
        LocalHttpServer closed;
        port = closed.port();
    }
    HttpVersionQuery query(QString("http://127.0.0.1:%1").arg(port));
    QCOMPARE(query.answer(), std::string());
}

void VersionQueryTest::defaultGoesToMakerHost()
{
    QCOMPARE(
        HttpVersionQuery().url(),
        QString::fromStdString("http://" + makerHost() + "/home/download/GetversionSW.asp?nomesw=KX40917"));
}

// Up to 5 s without an answer: a busy cursor, the windows still served, typing dropped.
void VersionQueryTest::waitShowsABusyCursorAndDropsInput()
{
    LocalHttpServer server;
    QVERIFY(server.isListening());
    server.setReply(kPath, LocalHttpServer::Reply{200, "VER. 2.105", {}, true});
    HttpVersionQuery query(server.baseUrl(), 600);
    QLineEdit field;
    field.show();
    bool fired = false;
    Qt::CursorShape shape = Qt::ArrowCursor;
    QTimer::singleShot(200, &field, [&] {
        fired = true;
        if (const QCursor* cursor = QApplication::overrideCursor())
            shape = cursor->shape();
        QCoreApplication::postEvent(&field, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
    });
    QCOMPARE(query.answer(), std::string());
    QVERIFY(fired);
    QCOMPARE(shape, Qt::WaitCursor);
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QTest::qWait(100);
    QCOMPARE(field.text(), QString());
}

} // namespace setforge

QTEST_MAIN(setforge::VersionQueryTest)
#include "versionquery_test.moc"
