#include "transferguard.h"

#include <QNetworkReply>
#include <QVariant>

namespace {
const char* const reasonProperty = "vardoGivenUp";
}

TransferGuard::TransferGuard(QNetworkReply* reply, int deadlineMilliseconds,
                             qint64 minimumBytesPerSecond, int windowMilliseconds)
    : QObject(reply), m_reply(reply),
      m_minimumBytes(minimumBytesPerSecond * windowMilliseconds / 1000)
{
    connect(reply, &QNetworkReply::downloadProgress, this,
            [this](qint64 bytes, qint64) { m_received = bytes; });
    connect(reply, &QNetworkReply::finished, this, [this] {
        m_deadline.stop();
        m_window.stop();
    });
    if (deadlineMilliseconds > 0) {
        m_deadline.setSingleShot(true);
        connect(&m_deadline, &QTimer::timeout, this, [this, deadlineMilliseconds] {
            giveUp(m_reply, QStringLiteral("no complete answer within %1 s")
                                .arg(deadlineMilliseconds / 1000.0));
        });
        m_deadline.start(deadlineMilliseconds);
    }
    if (windowMilliseconds > 0 && m_minimumBytes > 0) {
        connect(&m_window, &QTimer::timeout, this, &TransferGuard::checkRate);
        m_window.start(windowMilliseconds);
    }
}

void TransferGuard::checkRate()
{
    if (m_received - m_receivedAtWindowStart < m_minimumBytes) {
        giveUp(m_reply, QStringLiteral("the transfer is slower than %1 bytes in %2 s")
                            .arg(m_minimumBytes)
                            .arg(m_window.interval() / 1000.0));
        return;
    }
    m_receivedAtWindowStart = m_received;
}

void TransferGuard::giveUp(QNetworkReply* reply, const QString& reason)
{
    if (isGivenUp(reply))
        return;
    reply->setProperty(reasonProperty, reason);
    reply->abort();
}

QString TransferGuard::reason(const QNetworkReply* reply)
{
    return reply->property(reasonProperty).toString();
}

bool TransferGuard::isGivenUp(const QNetworkReply* reply)
{
    return !reply->property(reasonProperty).isNull();
}
