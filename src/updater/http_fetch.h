#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

namespace torvane {

// One HTTP GET at a time, done with Qt Network by the network module (network/, a shared
// object of its own). The program loads the module when it first fetches something, so that
// a start does not load Qt Network and the libraries it needs.
class HttpFetch {
public:
    // What the fetch tells as it goes. A redirect is followed only when redirected answers
    // true; finished comes last, after an abort too.
    struct Listener {
        std::function<bool(const QUrl& location)> redirected;
        std::function<void()> readyRead;
        std::function<void()> finished;
    };
    struct Request {
        QUrl url;
        bool fresh = false;   // from the network, never from a cache
        int timeout = 30'000; // milliseconds without a word before it fails
        int mostRedirects = 5;
        qint64 bufferSize = 0; // what is held unread at most
    };

    virtual ~HttpFetch() = default;

    // Starts the request, after cancelling any transfer still running.
    virtual void get(const Request& request) = 0;
    // Ends the running transfer without a word more.
    virtual void cancel() = 0;
    // Ends the running transfer as failed; finished follows.
    virtual void abort() = 0;
    // Of the running or the finished transfer: what has come and is not read yet, at most
    // that many bytes; whether the server answered (a document or an error page); and the
    // error, as a number and as the platform describes it.
    virtual QByteArray read(qint64 most) = 0;
    virtual bool answered() const = 0;
    virtual int error() const = 0;
    virtual QString errorString() const = 0;
};

// What the network module exports by this name: a fetch that tells the listener.
using MakeHttpFetch = HttpFetch* (*)(const HttpFetch::Listener* listener);
inline constexpr char MakeHttpFetchName[] = "torvaneMakeHttpFetch";

// A fetch of the network module found at the path (without the "lib" and ".so" of its file
// name), loaded when first asked for; null, with the reason, when it cannot be loaded.
std::unique_ptr<HttpFetch> loadHttpFetch(const QString& module, const HttpFetch::Listener& listener,
                                         QString& why);

// The program's own network module.
QString networkModulePath();

} // namespace torvane
