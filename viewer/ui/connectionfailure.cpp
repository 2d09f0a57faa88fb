#include "connectionfailure.h"

#include <QList>
#include <QPair>

QString ConnectionFailure::describe(const QString& error)
{
    // The first pattern found in the text decides; the order puts the more
    // particular causes first (a proxy that refuses is about the proxy).
    static const QList<QPair<QString, QString>> causes = {
        {QStringLiteral("proxy"), QStringLiteral("Koneksi melalui server proxy gagal.")},
        {QStringLiteral("not found"), QStringLiteral("Alamat server update tidak ditemukan.")},
        {QStringLiteral("refused"), QStringLiteral("Server update menolak koneksi.")},
        {QStringLiteral("no answer within"),
         QStringLiteral("Server update tidak menjawab dalam batas waktu.")},
        {QStringLiteral("timed out"),
         QStringLiteral("Server update tidak menjawab dalam batas waktu.")},
        {QStringLiteral("ssl"), QStringLiteral("Koneksi aman (SSL) ke server update gagal.")},
        {QStringLiteral("larger than"),
         QStringLiteral("Jawaban server update melebihi ukuran yang diizinkan.")},
        {QStringLiteral("HTTP status"),
         QStringLiteral("Server update tidak dapat melayani permintaan saat ini.")},
        {QStringLiteral("could not be stored"),
         QStringLiteral("File update tidak dapat disimpan di komputer ini.")},
    };
    for (const auto& cause : causes) {
        if (error.contains(cause.first, Qt::CaseInsensitive))
            return cause.second;
    }
    return QStringLiteral("Server update tidak dapat dihubungi.");
}
