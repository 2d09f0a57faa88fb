#include "hostilezip.h"

#include <QBuffer>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

namespace HostileZip {

QByteArray archive(const QList<QPair<QString, QByteArray>>& entries)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QuaZip zip(&buffer);
    zip.setUtf8Enabled(true);
    if (!zip.open(QuaZip::mdCreate))
        return QByteArray();
    QList<QPair<QByteArray, QByteArray>> patches;
    for (const auto& entry : entries) {
        const QString standIn = QString(entry.first).replace(QChar(0), QLatin1Char('#'));
        if (standIn != entry.first)
            patches.append({standIn.toUtf8(), entry.first.toUtf8()});
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(standIn), nullptr, 0, 0, 0) ||
            file.write(entry.second) != entry.second.size())
            return QByteArray();
        file.close();
    }
    zip.close();
    if (zip.getZipError() != UNZ_OK)
        return QByteArray();
    for (const auto& patch : patches)
        bytes.replace(patch.first, patch.second);
    return bytes;
}

} // namespace HostileZip
