#include "http_server.h"

#include <QTcpSocket>

namespace torvane::test {

HttpServer::HttpServer()
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        QTcpSocket* socket = m_server.nextPendingConnection();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            const QByteArray request = socket->peek(64 * 1024);
            if (!request.contains("\r\n\r\n"))
                return;
            socket->readAll();
            const QByteArray line = request.left(request.indexOf("\r\n"));
            requestLines.append(line);
            const QByteArray path = line.split(' ').value(1).split('?').value(0);
            if (!answers.contains(path))
                return;
            socket->write(answers.value(path));
            socket->disconnectFromHost();
        });
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
           QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

QByteArray HttpServer::redirect(const QByteArray& location)
{
    return "HTTP/1.1 302 Found\r\nLocation: " + location +
           "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
}

} // namespace torvane::test
