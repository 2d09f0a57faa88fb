#ifndef WRITEFAILURE_H
#define WRITEFAILURE_H

#include <QFileDevice>
#include <QString>

// Says in the user's words why an export file could not be written. The system's
// own text is in the system's language and names no remedy, so the cause is told
// from the kind of error and from what the target folder looks like now.
class WriteFailure
{
public:
    static QString reason(const QString& path, QFileDevice::FileError error,
                          const QString& systemText);
    static QString reason(const QString& path, const QFileDevice& file);
    // The whole sentence for a message: which file, and why.
    static QString message(const QString& path, const QString& reason);
};

#endif // WRITEFAILURE_H
