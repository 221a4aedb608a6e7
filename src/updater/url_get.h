#pragma once

#include "updater/http_fetch.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>

namespace torvane {

// Fetches one web address into memory without blocking the window, and tells of it by
// signals. The answer is treated as hostile: at most MostBytes are kept (more ends the
// transfer as a failure), a transfer that hears nothing for 30 s fails, and at most 5
// redirects are followed, each on the same host and port and never from https to http.
// Qt Network, in the network module, is loaded at the first start.
class UrlGet final : public QObject {
    Q_OBJECT

public:
    // The network module is the program's own unless another is named (without the "lib"
    // and ".so" of its file name).
    explicit UrlGet(QObject* parent = nullptr, QString networkModule = networkModulePath());
    ~UrlGet() override;

    // The read option that asks for a fresh copy, never a cached one.
    static constexpr int FreshCopy = 16;
    static constexpr qint64 MostBytes = 64 * 1024;
    // How long a transfer may hear nothing before it fails (30 s unless set otherwise).
    void setTransferTimeout(int milliseconds) { m_timeout = milliseconds; }
    // The error number of an answer longer than MostBytes.
    static constexpr qint32 TooLarge = -1;
    // The error number of a transfer that could not start: the network module is missing.
    static constexpr qint32 NoNetwork = -2;

    // Starts fetching the address (nothing for an empty one); a transfer still running is
    // cancelled first, so that only the new one's signals arrive.
    void start(const QString& url, int mode = 0);
    // Cancels the running transfer; it raises nothing more. Busy stays as it is until the
    // next start, as a transfer cancelled never completes.
    void cancel();

    bool busy() const { return m_busy; }
    QByteArray bytes() const { return m_bytes; }
    // Milliseconds from the start to the end of the last transfer; 0 while one runs.
    qint32 duration() const { return m_duration; }

Q_SIGNALS:
    void completed(qint32 nBytes);
    void failed(qint32 errNum, const QString& errDesc);
    void progressed(qint32 nBytes);

private:
    bool mayRedirect(const QUrl& location);
    void received();
    void finished();
    void end();

    QString m_module;
    std::unique_ptr<HttpFetch> m_fetch;
    QUrl m_last;            // where the transfer stands, for the next redirect
    quint32 m_transfer = 0; // counts the starts and the cancels
    QElapsedTimer m_clock;
    QByteArray m_bytes;
    bool m_busy = false;
    bool m_tooLarge = false;
    qint32 m_duration = 0;
    int m_timeout = 30'000;
};

} // namespace torvane
