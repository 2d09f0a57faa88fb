#include "documentencoder.h"

#include "bufferaes.h"
#include "documentformat.h"

#include <QBuffer>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

QByteArray DocumentEncoder::zipArchive(const QList<Entry>& entries, int level)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QuaZip zip(&buffer);
    zip.setUtf8Enabled(true);
    if (!zip.open(QuaZip::mdCreate))
        return QByteArray();
    for (const Entry& entry : entries) {
        QuaZipFile file(&zip);
        const int method = level == 0 ? 0 : Z_DEFLATED;
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(entry.name), nullptr, 0, method,
                       level) ||
            file.write(entry.data) != entry.data.size())
            return QByteArray();
        file.close();
        if (file.getZipError() != UNZ_OK)
            return QByteArray();
    }
    zip.close();
    if (zip.getZipError() != UNZ_OK)
        return QByteArray();
    return bytes;
}

QByteArray DocumentEncoder::encode(const QByteArray& payload, const QString& password,
                                   bool withMarker, const QString& metadata)
{
    const QByteArray key = DocumentFormat::keyFromPassword(password);
    const QByteArray metadataBytes = metadata.toUtf8();
    if (metadataBytes.size() > DocumentFormat::maxMetadataLength)
        return QByteArray();

    QByteArray plain = DocumentFormat::checkValue();
    if (withMarker) {
        plain += DocumentFormat::metadataMarker();
        plain += DocumentFormat::lengthField(metadataBytes.size());
        plain += metadataBytes;
    }
    plain += payload;

    QByteArray document;
    document.reserve(plain.size() + plain.size() / DocumentFormat::segmentPlainSize * 16 + 16);
    for (int start = 0; start < plain.size(); start += DocumentFormat::segmentPlainSize) {
        const int length = qMin(DocumentFormat::segmentPlainSize, plain.size() - start);
        const QByteArray segment =
            BufferAES::encrypt(QByteArray::fromRawData(plain.constData() + start, length), key);
        if (segment.isEmpty())
            return QByteArray();
        document += segment;
    }
    return document;
}
