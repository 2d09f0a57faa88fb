#ifndef TRANSFERGUARD_H
#define TRANSFERGUARD_H

#include <QObject>
#include <QString>
#include <QTimer>

#include "libglobal.h"

class QNetworkReply;

// Gives up a request that takes too long: one that has not ended by its deadline, or
// one that receives less than a minimum number of bytes within each window of time.
// A given-up reply is aborted and carries the reason (see reason()).
class TAVI_VIEWER_EXPORT TransferGuard : public QObject
{
    Q_OBJECT
public:
    // The guard belongs to `reply` and goes with it. A deadline or window of 0 is none.
    TransferGuard(QNetworkReply* reply, int deadlineMilliseconds, qint64 minimumBytesPerSecond,
                  int windowMilliseconds);

    // Aborts `reply`, recording why.
    static void giveUp(QNetworkReply* reply, const QString& reason);
    // Why `reply` was given up; empty when it was not.
    static QString reason(const QNetworkReply* reply);
    static bool isGivenUp(const QNetworkReply* reply);

private:
    void checkRate();

    QNetworkReply* m_reply;
    QTimer m_deadline;
    QTimer m_window;
    qint64 m_minimumBytes;
    qint64 m_received = 0;
    qint64 m_receivedAtWindowStart = 0;
};

#endif // TRANSFERGUARD_H
