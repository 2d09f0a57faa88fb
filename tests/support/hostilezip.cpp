#include "hostilezip.h"

#include "documentencoder.h"

namespace HostileZip {

QByteArray archive(const QList<QPair<QString, QByteArray>>& entries)
{
    QList<DocumentEncoder::Entry> standIns;
    QList<QPair<QByteArray, QByteArray>> patches;
    for (const auto& entry : entries) {
        const QString standIn = QString(entry.first).replace(QChar(0), QLatin1Char('#'));
        if (standIn != entry.first)
            patches.append({standIn.toUtf8(), entry.first.toUtf8()});
        standIns.append({standIn, entry.second});
    }
    QByteArray bytes = DocumentEncoder::zipArchive(standIns, 0);
    for (const auto& patch : patches)
        bytes.replace(patch.first, patch.second);
    return bytes;
}

} // namespace HostileZip
