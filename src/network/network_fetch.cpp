#include "network_fetch.h"

#include <QNetworkReply>
#include <QNetworkRequest>

namespace torvane {

NetworkFetch::NetworkFetch(Listener listener)
    : m_listener(std::move(listener))
{
    m_network.setRedirectPolicy(QNetworkRequest::UserVerifiedRedirectPolicy);
}

NetworkFetch::~NetworkFetch()
{
    cancel();
}

void NetworkFetch::get(const Request& request)
{
    cancel();
    m_ended = nullptr;
    QNetworkRequest asked{request.url};
    if (request.fresh)
        asked.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                           QNetworkRequest::AlwaysNetwork);
    asked.setTransferTimeout(request.timeout);
    asked.setMaximumRedirectsAllowed(request.mostRedirects);
    QNetworkReply* reply = m_network.get(asked);
    reply->setReadBufferSize(request.bufferSize);
    m_running = reply;
    QObject::connect(reply, &QNetworkReply::redirected, &m_connections,
                     [this, reply](const QUrl& location) {
                         if (m_listener.redirected(location))
                             Q_EMIT reply->redirectAllowed();
                         else
                             reply->abort();
                     });
    QObject::connect(reply, &QNetworkReply::readyRead, &m_connections,
                     [this] { m_listener.readyRead(); });
    QObject::connect(reply, &QNetworkReply::finished, &m_connections, [this, reply] {
        m_running = nullptr;
        m_ended = reply;
        reply->deleteLater();
        m_listener.finished();
    });
}

void NetworkFetch::cancel()
{
    if (QNetworkReply* reply = m_running) {
        m_running = nullptr;
        reply->disconnect(&m_connections);
        reply->abort();
        reply->deleteLater();
    }
}

void NetworkFetch::abort()
{
    if (m_running)
        m_running->abort();
}

QNetworkReply* NetworkFetch::current() const
{
    return m_running ? m_running.data() : m_ended.data();
}

QByteArray NetworkFetch::read(qint64 most)
{
    QNetworkReply* reply = current();
    return reply ? reply->read(most) : QByteArray();
}

bool NetworkFetch::answered() const
{
    // A document or an error page from the server; no answer, or a redirect not followed,
    // is none.
    const QNetworkReply* reply = current();
    if (!reply)
        return false;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return ((status >= 200 && status < 300) || (status >= 400 && status < 600)) &&
           (reply->error() == QNetworkReply::NoError ||
            reply->error() >= QNetworkReply::ContentAccessDenied);
}

int NetworkFetch::error() const
{
    const QNetworkReply* reply = current();
    return reply ? reply->error() : QNetworkReply::UnknownNetworkError;
}

QString NetworkFetch::errorString() const
{
    const QNetworkReply* reply = current();
    return reply ? reply->errorString() : QString();
}

} // namespace torvane

torvane::HttpFetch* torvaneMakeHttpFetch(const torvane::HttpFetch::Listener* listener)
{
    return new torvane::NetworkFetch(*listener);
}
