#include "url_get.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace torvane {

UrlGet::UrlGet(QObject* parent, QString networkModule)
    : QObject(parent)
    , m_module(std::move(networkModule))
{}

UrlGet::~UrlGet() = default;

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
    ++m_transfer;
    if (!m_fetch) {
        QString why;
        m_fetch = loadHttpFetch(m_module,
                                {[this](const QUrl& location) { return mayRedirect(location); },
                                 [this] { received(); },
                                 [this] {
                                     finished();
                                 }},
                                why);
        if (!m_fetch) {
            // Told after the start, as any failure is; not once another start or a cancel
            // came first.
            QMetaObject::invokeMethod(
                this,
                [this, transfer = m_transfer, why] {
                    if (transfer != m_transfer)
                        return;
                    end();
                    Q_EMIT failed(NoNetwork, u"The network module cannot be loaded: "_s + why);
                },
                Qt::QueuedConnection);
            return;
        }
    }
    m_last = QUrl(url);
    HttpFetch::Request request;
    request.url = m_last;
    request.fresh = (mode & FreshCopy) != 0;
    request.timeout = m_timeout;
    request.mostRedirects = 5;
    request.bufferSize = MostBytes + 1;
    m_fetch->get(request);
}

void UrlGet::cancel()
{
    ++m_transfer;
    if (m_fetch)
        m_fetch->cancel();
}

bool UrlGet::mayRedirect(const QUrl& location)
{
    // A redirect stays on the host it started from, and never goes from https to http.
    const QUrl to = m_last.resolved(location);
    if (to.host() != m_last.host() || to.port() != m_last.port() ||
        (m_last.scheme() == u"https" && to.scheme() != u"https"))
        return false;
    m_last = to;
    return true;
}

void UrlGet::received()
{
    m_bytes += m_fetch->read(MostBytes + 1 - m_bytes.size());
    if (m_bytes.size() > MostBytes) {
        // Enough: the rest is never read, and the transfer ends as a failure.
        m_tooLarge = true;
        m_bytes.truncate(MostBytes);
        m_fetch->abort();
        return;
    }
    Q_EMIT progressed(static_cast<qint32>(m_bytes.size()));
}

void UrlGet::end()
{
    m_duration = static_cast<qint32>(
        std::min<qint64>(m_clock.elapsed(), std::numeric_limits<qint32>::max()));
    m_busy = false;
}

void UrlGet::finished()
{
    if (!m_tooLarge)
        m_bytes += m_fetch->read(MostBytes + 1 - m_bytes.size());
    end();
    // An answer from the server, an error page included, is the document; no answer, a
    // redirect not followed, or an answer too large is a failure.
    if (m_tooLarge || m_bytes.size() > MostBytes) {
        m_bytes.clear();
        Q_EMIT failed(TooLarge, u"The answer is longer than %1 bytes"_s.arg(MostBytes));
    } else if (!m_fetch->answered()) {
        m_bytes.clear();
        Q_EMIT failed(m_fetch->error(), m_fetch->errorString());
    } else {
        Q_EMIT completed(static_cast<qint32>(m_bytes.size()));
    }
}

} // namespace torvane
