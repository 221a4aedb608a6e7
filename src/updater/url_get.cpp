#include "url_get.h"

#include <QNetworkReply>
#include <QNetworkRequest>

#include <limits>

using namespace Qt::StringLiterals;

namespace torvane {

UrlGet::UrlGet(QObject* parent)
    : QObject(parent)
{
    m_network.setRedirectPolicy(QNetworkRequest::UserVerifiedRedirectPolicy);
}

void UrlGet::start(const QString& url, int mode)
{
    if (url.isEmpty())
        return;
    if (m_busy)
        cancel();
    m_duration = 0;
    m_busy = true;
    m_tooLarge = false;
    m_bytes.clear();
    m_clock.start();
    QNetworkRequest request{QUrl(url)};
    if (mode & FreshCopy)
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                             QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(m_timeout);
    request.setMaximumRedirectsAllowed(5);
    QNetworkReply* reply = m_network.get(request);
    reply->setReadBufferSize(MostBytes + 1);
    m_reply = reply;
    // A redirect stays on the host it started from, and never goes from https to http.
    connect(reply, &QNetworkReply::redirected, this,
            [reply, last = QUrl(url)](const QUrl& location) mutable {
                const QUrl to = last.resolved(location);
                if (to.host() != last.host() || to.port() != last.port() ||
                    (last.scheme() == u"https" && to.scheme() != u"https")) {
                    reply->abort();
                    return;
                }
                last = to;
                Q_EMIT reply->redirectAllowed();
            });
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { received(reply); });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { finished(reply); });
}

void UrlGet::cancel()
{
    if (QNetworkReply* reply = m_reply) {
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void UrlGet::received(QNetworkReply* reply)
{
    if (reply != m_reply)
        return;
    m_bytes += reply->read(MostBytes + 1 - m_bytes.size());
    if (m_bytes.size() > MostBytes) {
        // Enough: the rest is never read, and the transfer ends as a failure.
        m_tooLarge = true;
        m_bytes.truncate(MostBytes);
        reply->abort();
        return;
    }
    Q_EMIT progressed(static_cast<qint32>(m_bytes.size()));
}

void UrlGet::finished(QNetworkReply* reply)
{
    if (reply != m_reply)
        return;
    m_reply = nullptr;
    reply->deleteLater();
    if (!m_tooLarge)
        m_bytes += reply->read(MostBytes + 1 - m_bytes.size());
    m_duration = static_cast<qint32>(
        std::min<qint64>(m_clock.elapsed(), std::numeric_limits<qint32>::max()));
    m_busy = false;
    // An answer from the server, an error page included, is the document; no answer, a
    // redirect not followed, or an answer too large is a failure.
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool answered = ((status >= 200 && status < 300) || (status >= 400 && status < 600)) &&
                          (reply->error() == QNetworkReply::NoError ||
                           reply->error() >= QNetworkReply::ContentAccessDenied);
    if (m_tooLarge || m_bytes.size() > MostBytes) {
        m_bytes.clear();
        Q_EMIT failed(TooLarge, u"The answer is longer than %1 bytes"_s.arg(MostBytes));
    } else if (!answered) {
        m_bytes.clear();
        Q_EMIT failed(reply->error(), reply->errorString());
    } else {
        Q_EMIT completed(static_cast<qint32>(m_bytes.size()));
    }
}

} // namespace torvane
