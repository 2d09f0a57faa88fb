#include "writefailure.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

QString WriteFailure::reason(const QString& path, QFileDevice::FileError error,
                             const QString& systemText)
{
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir())
        return QStringLiteral("folder tujuan tidak ditemukan (mungkin sudah dihapus, dipindah "
                              "atau diskanya dilepas)");
    if (target.isDir())
        return QStringLiteral("sudah ada folder dengan nama yang sama");
    // Asked while the unfinished copy may still take the room it got.
    const QStorageInfo storage(folder.absoluteFilePath());
    if (error == QFileDevice::ResourceError || (storage.isValid() && storage.bytesAvailable() == 0))
        return QStringLiteral("disk penuh");
    if (target.exists() && !target.isWritable())
        return QStringLiteral("tidak ada izin untuk mengganti file tersebut");
    if (error == QFileDevice::OpenError || error == QFileDevice::PermissionsError ||
        error == QFileDevice::RenameError || !folder.isWritable())
        return QStringLiteral("tidak ada izin untuk menulis di folder tujuan");
    return QStringLiteral("kesalahan saat menulis (%1)").arg(systemText);
}

QString WriteFailure::reason(const QString& path, const QFileDevice& file)
{
    return reason(path, file.error(), file.errorString());
}

QString WriteFailure::message(const QString& path, const QString& reason)
{
    return QStringLiteral("File '%1' tidak dapat disimpan: %2.")
        .arg(QDir::toNativeSeparators(path), reason);
}
