#include "updatesigning.h"

#include "minisignature.h"
#include "updatemanifest.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <sodium.h>

namespace {

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

QByteArray sha256(const QByteArray& content)
{
    return QCryptographicHash::hash(content, QCryptographicHash::Sha256);
}

bool libraryLines(const QByteArray& archive, QList<UpdateManifest::Line>* lines, QString* error)
{
    QBuffer buffer;
    buffer.setData(archive);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdUnzip))
        return fail(error, QStringLiteral("kvLibrary is not a zip archive"));
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        const QString name = zip.getCurrentFileName();
        // The updater installs only libraries lying flat in the archive.
        if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
            name == QLatin1String(".."))
            continue;
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::ReadOnly))
            return fail(error,
                        QStringLiteral("kvLibrary: cannot read ") + zip.getCurrentFileName());
        lines->append({UpdateManifest::libraryPrefix + name, sha256(file.readAll())});
    }
    return true;
}

// The fields of an unprotected secret key file, after its Base64 line is decoded:
// algorithm, key derivation (none), checksum algorithm, salt and limits, then key
// id, the 64-byte secret key and a checksum.
constexpr int secretKeySize = 158;
constexpr int keyIdOffset = 54;
constexpr int secretOffset = keyIdOffset + 8;

} // namespace

QByteArray UpdateSigning::manifestFor(const QList<QPair<QString, QByteArray>>& entries,
                                      QString* error)
{
    QList<UpdateManifest::Line> lines;
    for (const auto& entry : entries) {
        lines.append({entry.first, sha256(entry.second)});
        if (entry.first == QLatin1String("kvLibrary") && !libraryLines(entry.second, &lines, error))
            return QByteArray();
    }
    return UpdateManifest::format(lines);
}

QByteArray UpdateSigning::sign(const QByteArray& message, const QString& keyFile,
                               const QString& trustedComment, QString* error)
{
    QFile file(keyFile);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(error, QStringLiteral("cannot read %1: %2").arg(keyFile, file.errorString()));
        return QByteArray();
    }
    const QList<QByteArray> keyLines = file.readAll().split('\n');
    const QByteArray::FromBase64Result decoded = QByteArray::fromBase64Encoding(
        keyLines.value(1).trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    const QByteArray key = decoded.decoded;
    if (!decoded || key.size() != secretKeySize || !key.startsWith("Ed")) {
        fail(error, keyFile + QStringLiteral(" is not an Ed25519 secret key file"));
        return QByteArray();
    }
    if (key.mid(2, 2) != QByteArray(2, '\0')) {
        fail(error,
             keyFile +
                 QStringLiteral(" is protected by a password; sign with a key saved without one"));
        return QByteArray();
    }
    if (sodium_init() < 0) {
        fail(error, QStringLiteral("the signature library cannot start"));
        return QByteArray();
    }
    const QByteArray keyId = key.mid(keyIdOffset, 8);
    const auto* secret = reinterpret_cast<const unsigned char*>(key.constData() + secretOffset);

    auto signDetached = [secret](const QByteArray& bytes) {
        QByteArray signature(crypto_sign_BYTES, Qt::Uninitialized);
        crypto_sign_detached(reinterpret_cast<unsigned char*>(signature.data()), nullptr,
                             reinterpret_cast<const unsigned char*>(bytes.constData()),
                             quint64(bytes.size()), secret);
        return signature;
    };
    const QByteArray signature = signDetached(Minisignature::prehash(message));
    const QByteArray comment = trustedComment.toUtf8();
    const QByteArray global = signDetached(signature + comment);
    return "untrusted comment: signature from vardotool secret key\n" +
           (QByteArray("ED") + keyId + signature).toBase64() + "\ntrusted comment: " + comment +
           '\n' + global.toBase64() + '\n';
}
