#ifndef COMMON_H
#define COMMON_H

#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include "libglobal.h"

// Process-wide log handler and the small file helpers of the update manager.
class TAVI_VIEWER_EXPORT Common
{
public:
    enum CopyMode
    {
        Overwrite,
        KeepExisting
    };

    static void setEnvironment();
    static void standarMessageHandler(QtMsgType type, const QMessageLogContext& context,
                                      const QString& message);
    // The handler's work for a given moment; the clock is a parameter so that the
    // day boundary can be tried without waiting for midnight.
    static void writeLogLine(QtMsgType type, const QString& message, const QDateTime& now);
    // The log files live in the directory log of DataLocation::directory().
    static QString logDirectory();
    // Removes the daily log files dated more than keepDays before today; returns how
    // many. setEnvironment does this at every start.
    static int removeOldLogs(const QDate& today, int keepDays = 30);

    static void prepareDirectory(QString path);
    static QString getFileSizeInString(qint64 size);
    // Returns whether every matching entry was copied; each destination is always
    // either its old file or the complete new one. KeepExisting leaves a file that
    // is already in `destDir` alone.
    static bool copyFileWithWildcard(QString sourceDir, QString pattern, QString destDir,
                                     CopyMode mode = Overwrite);
    // Replaces `destination` with a copy of `source` through a temporary file beside it.
    static bool replaceFileContent(const QString& source, const QString& destination);
    static bool removeDirectoryRecursively(QString path);
    static bool isFileExists(QString path);
    static bool checkFileIsWriteAble(QString path);
    // Whether a new file can be made in the directory, tried rather than read off the
    // permissions, which neither tell of read-only file systems nor of access lists.
    static bool isDirectoryWritable(const QString& path);
};

#endif // COMMON_H
