#pragma once

#include "updater/http_fetch.h"

#include <QNetworkAccessManager>
#include <QPointer>

class QNetworkReply;

namespace torvane {

// The fetch with Qt Network: one reply at a time, redirects offered to the listener, a
// transfer that hears nothing for the request's timeout fails.
class NetworkFetch final : public HttpFetch {
public:
    explicit NetworkFetch(Listener listener);
    ~NetworkFetch() override;

    void get(const Request& request) override;
    void cancel() override;
    void abort() override;
    QByteArray read(qint64 most) override;
    bool answered() const override;
    int error() const override;
    QString errorString() const override;

private:
    // The reply that read() and the rest are about: the running one, or the one whose end
    // is being told.
    QNetworkReply* current() const;

    Listener m_listener;
    QNetworkAccessManager m_network;
    QObject m_connections; // the receiver of every connection to a reply, to cut them at once
    QPointer<QNetworkReply> m_running;
    QPointer<QNetworkReply> m_ended;
};

} // namespace torvane

// The module's one entry: the program looks it up by this name.
extern "C" Q_DECL_EXPORT torvane::HttpFetch*
torvaneMakeHttpFetch(const torvane::HttpFetch::Listener* listener);
