#include "updateserver.h"

#include <QTimer>

#include <QJsonDocument>
#include <QMetaEnum>
#include <QTcpSocket>

#include <memory>

namespace {

// The base URL may carry a path of its own in front of these.
const char* const statusPath = "/pub/kv/cekVersion";
const char* const downloadPath = "/pub/kv/updateOnline?osCode=";
const qint64 hugeBodySize = qint64(3) << 30;

QByteArray response(int status, const QByteArray& reason, const QByteArray& contentType,
                    const QByteArray& body)
{
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason +
           "\r\nContent-Type: " + contentType +
           "\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

} // namespace

UpdateServer::UpdateServer(QObject* parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

bool UpdateServer::listen(quint16 port)
{
    return m_server.listen(QHostAddress::LocalHost, port);
}

quint16 UpdateServer::port() const
{
    return m_server.serverPort();
}

QString UpdateServer::address() const
{
    return QStringLiteral("127.0.0.1");
}

void UpdateServer::setMode(Mode mode)
{
    m_mode = mode;
}

void UpdateServer::setDownloadMode(Mode mode)
{
    m_downloadMode = mode;
}

void UpdateServer::setOutdated(const QStringList& componentKeys)
{
    m_outdated = componentKeys;
}

void UpdateServer::setPackage(const QByteArray& package)
{
    m_package = package;
}

void UpdateServer::setStatusBody(const QByteArray& body)
{
    m_statusBody = body;
}

QList<UpdateServer::Request> UpdateServer::requests() const
{
    return m_requests;
}

QStringList UpdateServer::componentKeys()
{
    return {QStringLiteral("kvApplication"), QStringLiteral("kvLibrary"),
            QStringLiteral("kvManual"), QStringLiteral("kvFAQ"), QStringLiteral("kvConfig")};
}

UpdateServer::Mode UpdateServer::modeFromName(const QString& name, bool* ok)
{
    const QMetaEnum modes = QMetaEnum::fromType<Mode>();
    int value = modes.keyToValue(name.toLatin1().constData(), ok);
    return *ok ? Mode(value) : Normal;
}

void UpdateServer::readRequest(QTcpSocket* socket)
{
    // Requests are small; collect the whole of one before answering.
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    socket->setProperty("buffer", buffer);
    const int headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;

    Request request;
    int contentLength = 0;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request.method = requestLine.value(0);
    request.target = requestLine.value(1);
    for (int i = 1; i < lines.size(); ++i) {
        const int colon = lines.at(i).indexOf(':');
        const QByteArray name = lines.at(i).left(colon).trimmed().toLower();
        const QByteArray value = lines.at(i).mid(colon + 1).trimmed();
        if (name == "content-length")
            contentLength = value.toInt();
        else if (name == "content-type")
            request.contentType = value;
    }
    if (buffer.size() < headerEnd + 4 + contentLength)
        return;
    request.body = buffer.mid(headerEnd + 4, contentLength);
    socket->setProperty("buffer", QByteArray());
    m_requests.append(request);
    emit requestReceived();
    answer(socket, request);
}

QJsonObject UpdateServer::statusAnswer(const QByteArray& registry) const
{
    const QJsonObject installed = QJsonDocument::fromJson(registry).object();
    QJsonObject payload;
    for (const QString& key : componentKeys()) {
        QJsonObject component;
        component.insert(QStringLiteral("latestStatus"), !m_outdated.contains(key));
        component.insert(QStringLiteral("currentVersion"), installed.value(key));
        payload.insert(key, component);
    }
    QJsonObject answer;
    answer.insert(QStringLiteral("status"), QStringLiteral("OK"));
    answer.insert(QStringLiteral("payload"), payload);
    return answer;
}

// Zeros, written only as fast as the client takes them, so that the server holds no
// more than a few chunks whatever the size.
void UpdateServer::streamBody(QTcpSocket* socket, bool announced)
{
    QByteArray head = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n";
    if (announced)
        head += "Content-Length: " + QByteArray::number(hugeBodySize) + "\r\n";
    socket->write(head + "Connection: close\r\n\r\n");
    const QByteArray chunk(64 * 1024, '\0');
    auto sent = std::make_shared<qint64>(0);
    const auto more = [socket, chunk, sent] {
        while (socket->bytesToWrite() < 4 * chunk.size() && *sent < hugeBodySize) {
            socket->write(chunk);
            *sent += chunk.size();
        }
        if (*sent >= hugeBodySize)
            socket->disconnectFromHost();
    };
    connect(socket, &QTcpSocket::bytesWritten, socket, more);
    more();
}

void UpdateServer::trickleBody(QTcpSocket* socket)
{
    socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 1000\r\n"
                  "Connection: close\r\n\r\n");
    auto* timer = new QTimer(socket);
    connect(timer, &QTimer::timeout, socket, [socket] { socket->write(" "); });
    timer->start(100);
}

void UpdateServer::answer(QTcpSocket* socket, const Request& request)
{
    const Mode mode =
        request.target.contains(downloadPath) && m_downloadMode ? *m_downloadMode : m_mode;
    switch (mode) {
    case Stall:
        return;
    case Trickle:
        trickleBody(socket);
        return;
    case HugeBody:
    case EndlessBody:
        streamBody(socket, mode == HugeBody);
        return;
    case Reset:
        socket->abort();
        return;
    case ServerError:
        socket->write(response(500, "Internal Server Error", "text/plain", "server failure"));
        break;
    case NotJson:
        socket->write(response(200, "OK", "text/html", "<html>maintenance</html>"));
        break;
    case HtmlError:
        socket->write(response(503,
                               "<h1>Maintenance</h1><a href=\"http://example.invalid/\">klik</a>",
                               "text/html", "<html>maintenance</html>"));
        break;
    case Normal:
        if (request.method != "POST") {
            socket->write(response(405, "Method Not Allowed", "text/plain", ""));
        } else if (request.target.endsWith(statusPath)) {
            const QByteArray body =
                m_statusBody.isEmpty()
                    ? QJsonDocument(statusAnswer(request.body)).toJson(QJsonDocument::Compact)
                    : m_statusBody;
            socket->write(response(200, "OK", "application/json", body));
        } else if (request.target.contains(downloadPath)) {
            socket->write(response(200, "OK", "application/octet-stream", m_package));
        } else {
            socket->write(response(404, "Not Found", "text/plain", ""));
        }
        break;
    }
    socket->disconnectFromHost();
}
