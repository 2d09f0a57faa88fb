#include "archivereader.h"

#include <QBuffer>
#include <QDebug>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipfileinfo.h>

namespace {

bool readEntry(QuaZip& zip, qint64 declaredSize, QByteArray* data)
{
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    data->resize(static_cast<int>(declaredSize));
    qint64 done = 0;
    while (done < declaredSize) {
        const qint64 got = file.read(data->data() + done, declaredSize - done);
        if (got <= 0)
            break;
        done += got;
    }
    char extra;
    const bool overrun = file.read(&extra, 1) > 0;
    file.close();
    // close() is where the CRC of a fully read entry is compared.
    return done == declaredSize && !overrun && file.getZipError() == UNZ_OK;
}

} // namespace

ArchiveReader::ArchiveReader(qint64 maxTotalSize, qint64 maxRatio)
    : maxTotalSize(maxTotalSize), maxRatio(maxRatio)
{
}

QString ArchiveReader::entryFileName(const QString& entryName)
{
    const int slash =
        qMax(entryName.lastIndexOf(QLatin1Char('/')), entryName.lastIndexOf(QLatin1Char('\\')));
    const QString name = entryName.mid(slash + 1);
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QString();
    return name;
}

bool ArchiveReader::read(const QByteArray& archive, QMap<QString, QByteArray>* files) const
{
    files->clear();
    QByteArray bytes = archive;
    QBuffer buffer(&bytes);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdUnzip)) {
        qWarning() << "ArchiveReader::read no zip archive" << zip.getZipError();
        return false;
    }

    const QList<QuaZipFileInfo64> infos = zip.getFileInfoList64();
    qint64 total = 0;
    for (const QuaZipFileInfo64& info : infos) {
        const qint64 size = static_cast<qint64>(info.uncompressedSize);
        const qint64 packed = qMax<qint64>(static_cast<qint64>(info.compressedSize), 1);
        if (size < 0 || size > maxTotalSize - total) {
            qWarning() << "ArchiveReader::read archive expands too far";
            return false;
        }
        if (size > ratioFloor && size > maxRatio * packed) {
            qWarning() << "ArchiveReader::read entry compressed beyond the bound" << info.name;
            return false;
        }
        total += size;
    }

    QMap<QString, QByteArray> entries;
    bool more = zip.goToFirstFile();
    for (int index = 0; more; ++index, more = zip.goToNextFile()) {
        QuaZipFileInfo64 info;
        // The listing above is the same central directory in the same order.
        if (!zip.getCurrentFileInfo(&info) || index >= infos.size() ||
            info.uncompressedSize != infos.at(index).uncompressedSize)
            return false;
        const QString name = entryFileName(info.name);
        if (name.isEmpty())
            continue;
        QByteArray data;
        if (!readEntry(zip, static_cast<qint64>(info.uncompressedSize), &data)) {
            qWarning() << "ArchiveReader::read damaged entry" << info.name;
            return false;
        }
        entries.insert(name, data.replace("\r\n", "\n"));
    }
    if (zip.getZipError() != UNZ_OK || entries.isEmpty()) {
        qWarning() << "ArchiveReader::read no data set in the archive";
        return false;
    }
    *files = entries;
    return true;
}
