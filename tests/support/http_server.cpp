#include "http_server.h"

#include <QTcpSocket>

namespace torvane::test {

HttpServer::HttpServer()
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        QTcpSocket* socket = m_server.nextPendingConnection();
        // Requests one after another on the connection, each answered as it is complete.
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            QByteArray pending = m_pending.take(socket) + socket->readAll();
            for (qsizetype end; (end = pending.indexOf("\r\n\r\n")) >= 0;) {
                const QByteArray line = pending.left(pending.indexOf("\r\n"));
                pending.remove(0, end + 4);
                requestLines.append(line);
                const QByteArray path = line.split(' ').value(1).split('?').value(0);
                if (!answers.contains(path))
                    return;
                socket->write(answers.value(path));
                if (answers.value(path).contains("Connection: close")) {
                    socket->disconnectFromHost();
                    return;
                }
            }
            m_pending.insert(socket, pending);
        });
        connect(socket, &QTcpSocket::disconnected, this,
                [this, socket] { m_pending.remove(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    });
}

QString HttpServer::root() const
{
    return QStringLiteral("http://127.0.0.1:%1/").arg(m_server.serverPort());
}

QByteArray HttpServer::ok(const QByteArray& body)
{
    return "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

QByteArray HttpServer::redirect(const QByteArray& location)
{
    return "HTTP/1.1 302 Found\r\nLocation: " + location + "\r\nContent-Length: 0\r\n\r\n";
}

} // namespace torvane::test
