#ifndef UPDATESERVER_H
#define UPDATESERVER_H

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTcpServer>

#include <optional>

class QTcpSocket;

// A stand-in for the update server on 127.0.0.1: it answers the status check with a
// "payload" object and the download with a package, or misbehaves on request, and
// keeps every request it got so that tests can check what the client sent.
class UpdateServer : public QObject
{
    Q_OBJECT
public:
    enum Mode
    {
        Normal,      // the answers the client expects
        ServerError, // HTTP 500 with a short text body
        NotJson,     // HTTP 200 whose body is not JSON (for the download: not a zip either)
        Reset,       // the connection is dropped without an answer
        Stall,       // the request is read and never answered
        HugeBody,    // HTTP 200 announcing 3 GiB of body, sent as long as it is read
        EndlessBody, // the same without a length: the body ends only when the client goes
        Trickle,     // HTTP 200 announcing 1000 bytes of body, sent one byte each 100 ms
        HtmlError    // HTTP 503 whose reason phrase is a heading and a link
    };
    Q_ENUM(Mode)

    struct Request
    {
        QByteArray method;
        QByteArray target;
        QByteArray contentType;
        QByteArray body;
    };

    explicit UpdateServer(QObject* parent = nullptr);

    // Port 0 picks a free one.
    bool listen(quint16 port = 0);
    quint16 port() const;
    QString address() const;

    void setMode(Mode mode);
    // The mode for package downloads alone; status checks keep the one of setMode.
    void setDownloadMode(Mode mode);
    // Components named here are reported as out of date; all others as latest.
    void setOutdated(const QStringList& componentKeys);
    void setPackage(const QByteArray& package);
    // Answers the status check with exactly this body instead (empty: the generated one).
    void setStatusBody(const QByteArray& body);

    QList<Request> requests() const;
    static QStringList componentKeys();
    static Mode modeFromName(const QString& name, bool* ok);

signals:
    void requestReceived();

private:
    void readRequest(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const Request& request);
    static void streamBody(QTcpSocket* socket, bool announced);
    static void trickleBody(QTcpSocket* socket);
    QJsonObject statusAnswer(const QByteArray& registry) const;

    QTcpServer m_server;
    Mode m_mode = Normal;
    std::optional<Mode> m_downloadMode;
    QStringList m_outdated;
    QByteArray m_package;
    QByteArray m_statusBody;
    QList<Request> m_requests;
};

#endif // UPDATESERVER_H
