#ifndef DOCUMENTENCODER_H
#define DOCUMENTENCODER_H

#include <QByteArray>
#include <QList>
#include <QString>

// The issuer side of the document format: zips data sets and encrypts the result the
// way the decoder expects, segment by segment.
class DocumentEncoder
{
public:
    struct Entry
    {
        QString name;
        QByteArray data;
    };

    // A zip archive of the entries in order, deflated, or stored when level is 0.
    // Empty if QuaZip refuses.
    static QByteArray zipArchive(const QList<Entry>& entries, int level = 6);

    // The document for a payload. With a marker the metadata text (for example
    // "minVer=1.2.0", at most 999 UTF-8 bytes) precedes the payload. Empty when the
    // password gives no AES key size or the metadata is too long.
    static QByteArray encode(const QByteArray& payload, const QString& password, bool withMarker,
                             const QString& metadata = QString());
};

#endif // DOCUMENTENCODER_H
