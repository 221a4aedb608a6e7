#pragma once

#include <QHash>
#include <QObject>
#include <QTcpServer>

namespace torvane::test {

// A web server on 127.0.0.1 for tests: answers each request with the bytes set for its
// path (the whole answer: status line, headers and body; "Connection: close" in it closes
// the connection after it), or stays silent; records the request lines it receives.
class HttpServer final : public QObject {
public:
    HttpServer();

    QString root() const; // "http://127.0.0.1:PORT/"

    // Answers by path ("/software/misc/updatecheck.xml"); a path without one is never
    // answered, the connection left open.
    QHash<QByteArray, QByteArray> answers;
    QList<QByteArray> requestLines;

    static QByteArray ok(const QByteArray& body);
    static QByteArray redirect(const QByteArray& location);

private:
    QHash<QObject*, QByteArray> m_pending; // before the server: its sockets go first
    QTcpServer m_server;
};

} // namespace torvane::test
