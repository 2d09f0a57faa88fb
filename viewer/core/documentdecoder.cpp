#include "documentdecoder.h"

#include "archivereader.h"
#include "bufferaes.h"
#include "documentformat.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstring>
#include <utility>

namespace {

QString successMessage()
{
    return QStringLiteral("Sukses");
}

OpenResult invalidPassword()
{
    return OpenResult(OpenResult::InvalidPasswordCode, QStringLiteral("Invalid Password"));
}

OpenResult damaged()
{
    return OpenResult(OpenResult::Damaged, QStringLiteral("File Vardo rusak atau tidak valid."));
}

QString versionText(const VersionTriple& v, const QString& separator)
{
    return QString::number(v.major) + separator + QString::number(v.minor) + separator +
           QString::number(v.patch);
}

QByteArray segmentOf(const QByteArray& document, int start, int length)
{
    return QByteArray::fromRawData(document.constData() + start, length);
}

// Whether the first blocks of a document of documentSize bytes decrypt to the check
// value. The probe stays block-aligned even for a document whose size is not, so that
// only a real check value tells a right password from a wrong one.
bool passwordOpens(const QByteArray& head, qint64 documentSize, const QByteArray& key)
{
    const int probeLength =
        int(qMin<qint64>(DocumentFormat::probeSize, documentSize - documentSize % 16));
    const QByteArray probe =
        BufferAES::decrypt(segmentOf(head, 0, qMin(probeLength, head.size())), key);
    qDebug() << "decrypt 3333";
    if (probe.size() < 20)
        return false;
    const QByteArray check = probe.left(DocumentFormat::checkValue().size());
    qDebug().noquote() << "checkPlainText" << QString::fromUtf8(check);
    return check == DocumentFormat::checkValue();
}

// The rest of the file is read only once its first blocks take the password: a wrong
// password, or a large file that is no document, then costs a few blocks, not its size.
OpenResult readDocument(const QString& path, const QString& password, QByteArray* document)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) ||
        !passwordOpens(file.read(DocumentFormat::probeSize), file.size(),
                       DocumentFormat::keyFromPassword(password)))
        return invalidPassword();
    // A document too large to hold in memory reads short, and so does a failing disk.
    if (!file.seek(0) || (*document = file.readAll()).size() != file.size())
        return damaged();
    return OpenResult(OpenResult::Success, successMessage());
}

} // namespace

OpenResult decryptDocumentData(int major, int minor, int patch, const QString& password,
                               QByteArray document, QByteArray* payload)
{
    payload->clear();
    const QByteArray key = DocumentFormat::keyFromPassword(password);
    qDebug() << "decrypt 1111";

    if (!passwordOpens(document, document.size(), key))
        return invalidPassword();
    if (document.size() % 16 != 0)
        return damaged();

    qDebug() << " data.length() " << document.size();
    // Every segment is decrypted over its own cipher text, moved left by the padding and
    // header dropped so far, so the payload needs no memory beside the document's: on a
    // large document, fresh memory costs more than the cipher.
    char* const bytes = document.data();
    const QByteArray iv = BufferAES::defaultIv();
    qint64 written = 0;
    int counter = 0;
    for (int start = 0; start < document.size(); start += DocumentFormat::segmentSize) {
        const int length = qMin(DocumentFormat::segmentSize, document.size() - start);
        const qint64 plainLength =
            BufferAES::decryptInto(bytes + start, length, key, iv, bytes + written);
        if (start == 0) {
            const QByteArray segment = QByteArray::fromRawData(bytes, int(plainLength));
            const int markerAt = DocumentFormat::checkValue().size();
            const int marker = DocumentFormat::metadataMarker().size();
            const bool hasMarker =
                segment.mid(markerAt, marker) == DocumentFormat::metadataMarker();
            qDebug() << (hasMarker ? "addcsQRV exist " : "addcsQRV nexist ");
            qint64 headerLength = markerAt;
            if (hasMarker) {
                const int fieldAt = markerAt + marker;
                const int metadataLength = DocumentFormat::lengthFromField(
                    segment.mid(fieldAt, DocumentFormat::lengthFieldSize));
                if (metadataLength < 0)
                    return damaged();
                const int metadataAt = fieldAt + DocumentFormat::lengthFieldSize;
                const QString metadata = QString::fromUtf8(segment.mid(metadataAt, metadataLength));
                qDebug().noquote() << "metadataString = " + metadata;
                const QString minVersionText = DocumentFormat::metadataFromText(metadata).value(
                    DocumentFormat::minVersionKey());
                const VersionTriple minVersion = DocumentFormat::versionFromText(minVersionText);
                const VersionTriple viewer{major, minor, patch};
                const int comparison = DocumentFormat::compareVersions(viewer, minVersion);
                qDebug().noquote() << "vardoMinVersion = " + versionText(minVersion, "-")
                                   << "appVersion = " + versionText(viewer, "-")
                                   << "versionCompare = " + QString::number(comparison);
                if (comparison < 0)
                    return OpenResult(
                        OpenResult::ViewerTooOld,
                        QStringLiteral("Versi Vardo Viewer tidak valid! Minimum versi ") +
                            minVersionText + QStringLiteral(". Silahkan download versi baru!"));
                headerLength = metadataAt + metadataLength;
            }
            headerLength = qMin(headerLength, plainLength);
            written = plainLength - headerLength;
            std::memmove(bytes, bytes + headerLength, size_t(written));
        } else {
            written += plainLength;
        }
        qDebug() << "decrypt " << counter++;
    }
    qDebug() << "decrypt 7777";
    document.truncate(int(written));
    *payload = std::move(document);
    return OpenResult(OpenResult::Success, successMessage());
}

OpenResult decryptDocument(int major, int minor, int patch, const QString& password,
                           const QString& sourcePath, const QString& targetPath)
{
    QByteArray document;
    OpenResult read = readDocument(sourcePath, password, &document);
    if (read.code != OpenResult::Success)
        return read;
    QByteArray payload;
    OpenResult result =
        decryptDocumentData(major, minor, patch, password, std::move(document), &payload);
    if (result.code != OpenResult::Success)
        return result;
    QSaveFile target(targetPath);
    if (!target.open(QIODevice::WriteOnly) || target.write(payload) != payload.size() ||
        !target.commit())
        return OpenResult(OpenResult::Damaged, target.errorString());
    return result;
}

OpenResult* openDocument(int major, int minor, int patch, const QString& password,
                         const QString& documentPath, const QString& tempDir, bool removeTemp)
{
    Q_UNUSED(tempDir)
    Q_UNUSED(removeTemp)
    QByteArray document;
    OpenResult read = readDocument(documentPath, password, &document);
    if (read.code != OpenResult::Success)
        return new OpenResult(read.code, read.message);
    return openDocumentData(major, minor, patch, password, std::move(document),
                            QFileInfo(documentPath).fileName());
}

OpenResult* openDocumentData(int major, int minor, int patch, const QString& password,
                             QByteArray document, const QString& fileName)
{
    // The archive takes the document's place: the entries will be the second copy.
    QByteArray archive;
    OpenResult decrypted =
        decryptDocumentData(major, minor, patch, password, std::move(document), &archive);
    if (decrypted.code != OpenResult::Success)
        return new OpenResult(decrypted.code, decrypted.message);
    auto* files = new QMap<QString, QByteArray>;
    if (!ArchiveReader().read(archive, files)) {
        delete files;
        return new OpenResult(damaged());
    }
    qDebug() << "taviMap.count() " << files->size();
    return new OpenResult(OpenResult::Success, QString(), fileName, files, nullptr);
}
