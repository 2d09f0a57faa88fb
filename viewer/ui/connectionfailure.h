#ifndef CONNECTIONFAILURE_H
#define CONNECTIONFAILURE_H

#include <QString>

// The update manager words its failures for the log, in English and with the
// network layer's own details. The user reads them in Indonesian, as one sentence
// about what went wrong rather than how.
class ConnectionFailure
{
public:
    static QString describe(const QString& error);
};

#endif // CONNECTIONFAILURE_H
