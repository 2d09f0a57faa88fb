#include "common.h"

#include "datalocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QTextStream>
#include <QtDebug>

#include <cstdlib>

void Common::setEnvironment()
{
    qInstallMessageHandler(standarMessageHandler);
    removeOldLogs(QDate::currentDate());
}

void Common::standarMessageHandler(QtMsgType type, const QMessageLogContext& context,
                                   const QString& message)
{
    Q_UNUSED(context)
    writeLogLine(type, message, QDateTime::currentDateTime());
    if (type == QtFatalMsg)
        std::abort();
}

QString Common::logDirectory()
{
    return DataLocation::directory() + QStringLiteral("/log");
}

int Common::removeOldLogs(const QDate& today, int keepDays)
{
    const QDate oldestKept = today.addDays(-keepDays);
    int removed = 0;
    const QFileInfoList logs =
        QDir(logDirectory(), QStringLiteral("*.log")).entryInfoList(QDir::Files);
    for (const QFileInfo& log : logs) {
        // Only the handler's own files, dated by their name: a copy keeps its name but
        // not its modification time, and other files are the user's.
        const QDate day = QDate::fromString(log.completeBaseName(), QStringLiteral("yyyyMMdd"));
        if (day.isValid() && day < oldestKept && QFile::remove(log.filePath()))
            ++removed;
    }
    return removed;
}

void Common::writeLogLine(QtMsgType type, const QString& message, const QDateTime& now)
{
    const QString directory = logDirectory();
    QDir().mkpath(directory);

    QString level;
    switch (type) {
    case QtDebugMsg:
        level = QStringLiteral("INFO");
        break;
    case QtWarningMsg:
        level = QStringLiteral("WARN");
        break;
    case QtCriticalMsg:
        level = QStringLiteral("CRIT");
        break;
    case QtFatalMsg:
        level = QStringLiteral("EROR");
        break;
    default:
        break;
    }

    // The month name is the C locale's on every machine, so log lines read the same
    // whatever the user's regional settings.
    const QString stamp = QLocale::c().toString(now, QStringLiteral("dd-MMM-yyyy HH:mm:ss"));
    const QString line = QStringLiteral("%1 %3: %2").arg(stamp, message, level);

    QFile file(directory + QLatin1Char('/') + now.toString(QStringLiteral("yyyyMMdd")) +
               QStringLiteral(".log"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    QTextStream stream(&file);
    stream.setCodec("UTF-8");
    stream << line << "\r\n";
    stream.flush();
    file.close();
}

void Common::prepareDirectory(QString path)
{
    QDir().mkpath(path);
}

QString Common::getFileSizeInString(qint64 size)
{
    double value = double(size);
    int unitIndex = 0;
    if (value > 1) {
        int steps = 0;
        while (value > 1) {
            value *= 0.0009765625;
            ++steps;
        }
        value *= 1024;
        unitIndex = steps - 1;
    }
    const float number = float(value);

    static const char* const units[] = {" byte", " KB", " MB", " GB", " TB",
                                        " PB",   " EB", " ZB", " YB"};
    QString unit = QLatin1String(unitIndex <= 8 ? units[unitIndex] : units[0]);
    if (number > 1)
        unit += QLatin1Char('s');

    QString text = QString::number(double(number), 'f', 2);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    text.remove(QStringLiteral(",00"));
    return text + unit;
}

bool Common::replaceFileContent(const QString& source, const QString& destination)
{
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return false;
    const bool existed = QFileInfo::exists(destination);
    QSaveFile output(destination);
    if (!output.open(QIODevice::WriteOnly))
        return false;
    char buffer[64 * 1024];
    qint64 count;
    while ((count = input.read(buffer, sizeof buffer)) > 0) {
        if (output.write(buffer, count) != count) {
            output.cancelWriting();
            break;
        }
    }
    if (count < 0)
        output.cancelWriting();
    if (!output.commit())
        return false;
    // A replaced file keeps its own permissions (QSaveFile carries them over); a new
    // one takes the source's, as a plain copy would, so a program stays executable.
    if (!existed)
        QFile::setPermissions(destination, input.permissions());
    return true;
}

bool Common::copyFileWithWildcard(QString sourceDir, QString pattern, QString destDir,
                                  CopyMode mode)
{
    qDebug() << "Common::copyFileWithWildcard sourceDir:" << sourceDir << ";pattern:" << pattern
             << ";destDir:" << destDir;
    const QFileInfoList entries = QDir(sourceDir, pattern).entryInfoList();
    prepareDirectory(destDir);

    bool allCopied = true;
    for (const QFileInfo& entry : entries) {
        const QString destination = destDir + QLatin1Char('/') + entry.fileName();
        if (mode == KeepExisting && QFileInfo::exists(destination))
            continue;
        qDebug() << "source size " << entry.size();
        qDebug() << "Common::copyFileWithWildcard detail source:" << entry.filePath() << ";dest"
                 << destination;
        // The old file stays in place until the new one is complete: deleting it first
        // would leave nothing behind when the copy fails.
        const bool copied = entry.isFile() && replaceFileContent(entry.filePath(), destination);
#ifdef VARDO_UPDATER_BUILD
        qDebug() << "copyStatus " << copied;
#endif
        allCopied = allCopied && copied;
    }
    return allCopied;
}

bool Common::removeDirectoryRecursively(QString path)
{
    const QFileInfo root(path);
    if (!root.isDir() || root.isSymLink())
        return true;

    QDir directory(path);
    const QFileInfoList entries = directory.entryInfoList(
        QDir::Files | QDir::AllDirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDir::DirsFirst);
    for (const QFileInfo& entry : entries) {
        // A link is removed as itself: following it would delete whatever tree it points at.
        const bool removed = entry.isDir() && !entry.isSymLink()
                                 ? removeDirectoryRecursively(entry.absoluteFilePath())
                                 : QFile::remove(entry.absoluteFilePath());
        if (!removed)
            return false;
    }
    return directory.rmdir(directory.absolutePath());
}

bool Common::isFileExists(QString path)
{
    return QFileInfo::exists(path);
}

bool Common::checkFileIsWriteAble(QString path)
{
    QFile file(path);
    if (!file.exists())
        return true;
    // Append mode neither truncates nor creates; a running program file refuses it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    file.close();
    return true;
}

bool Common::isDirectoryWritable(const QString& path)
{
    // Hidden, so that no file pattern of an update picks it up should the process die
    // before it is removed again.
    QTemporaryFile probe(path + QStringLiteral("/.write-test-XXXXXX"));
    return probe.open();
}
