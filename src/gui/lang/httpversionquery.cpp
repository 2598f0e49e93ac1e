#include "gui/lang/httpversionquery.h"

#include <utility>

#include <QApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include "core/app/makerlinks.h"
#include "gui/app/inputdropper.h"
#include "gui/app/qtext.h"

namespace setforge {

HttpVersionQuery::HttpVersionQuery(QString baseUrl, int timeoutMs)
    : m_baseUrl(std::move(baseUrl)), m_timeoutMs(timeoutMs)
{
}

QString HttpVersionQuery::url() const
{
    const QString base = m_baseUrl.isEmpty() ? qs("http://" + makerHost()) : m_baseUrl;
    return qs(versionQueryUrl(us(base)));
}

std::string HttpVersionQuery::answer()
{
    // A manager of its own per query: no cookie jar carries anything from one query to the next.
    QNetworkAccessManager manager;
    manager.setProxy(QNetworkProxy::NoProxy);
    manager.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);

    QNetworkRequest request{QUrl(url())};
    request.setRawHeader("Accept", kVersionQueryAccept);
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArray(kVersionQueryUserAgent));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);

    QNetworkReply* reply = manager.get(request);
    const qint64 limit = static_cast<qint64>(kVersionAnswerLimit);
    QByteArray body;
    bool tooLong = false;
    auto take = [&] {
        body += reply->read(limit + 1 - body.size());
        if (body.size() > limit && !tooLong) {
            tooLong = true;
            reply->abort();
        }
    };
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, take);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    deadline.start(m_timeoutMs);
    // The query is synchronous: the windows keep painting under a busy cursor, and input
    // during the wait is dropped rather than replayed once the answer is in.
    if (!reply->isFinished()) {
        InputDropper dropper;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        loop.exec();
        QApplication::restoreOverrideCursor();
    }
    deadline.stop();
    if (!tooLong && reply->error() == QNetworkReply::NoError)
        take();

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (tooLong || reply->error() != QNetworkReply::NoError || status < 200 || status > 299)
        return {};
    return body.toStdString();
}

} // namespace setforge
