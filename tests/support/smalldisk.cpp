#include "smalldisk.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStorageInfo>

namespace {

bool runMount(const QString& program, const QStringList& args, QString* output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    if (!process.waitForFinished(30000)) {
        *output = program + QStringLiteral(": ") + process.errorString();
        return false;
    }
    *output = QString::fromLocal8Bit(process.readAll()).trimmed();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

SmallDisk::SmallDisk(const QString& directory, int kilobytes) : directory(directory)
{
    if (!QDir().mkpath(directory)) {
        reason = QStringLiteral("cannot make %1").arg(directory);
        return;
    }
    QString output;
    mounted =
        runMount(QStringLiteral("mount"),
                 {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                  QStringLiteral("size=%1k").arg(kilobytes), QStringLiteral("tmpfs"), directory},
                 &output);
    if (!mounted)
        reason = QStringLiteral("a small file system cannot be mounted here: ") + output;
}

SmallDisk::~SmallDisk()
{
    QString output;
    if (mounted && !runMount(QStringLiteral("umount"), {directory}, &output))
        qWarning("SmallDisk: %s", qPrintable(output));
}

bool SmallDisk::leaveFree(qint64 bytes)
{
    QFile filler(QDir(directory).filePath(QStringLiteral(".pengisi")));
    if (!filler.open(QIODevice::WriteOnly))
        return false;
    const QByteArray block(4096, 'x');
    QStorageInfo storage(directory);
    while (storage.bytesAvailable() > bytes + block.size()) {
        if (filler.write(block) != block.size() || !filler.flush())
            return false;
        storage.refresh();
    }
    return true;
}
