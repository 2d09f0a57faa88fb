#ifndef DOCUMENTFORMAT_H
#define DOCUMENTFORMAT_H

#include <QByteArray>
#include <QMap>
#include <QString>

// Major, minor and patch of a viewer or of a document's minimum viewer.
struct VersionTriple
{
    int major = 0;
    int minor = 0;
    int patch = 0;
};

// The layout of a .vardo document shared by the decoder and the issuer-side encoder:
// segmented AES-CBC ciphertext of a check value, optional version metadata and a zip
// archive.
class DocumentFormat
{
public:
    // Ciphertext bytes per segment: 512 KiB of plaintext plus one block of padding.
    static constexpr int segmentSize = 524304;
    static constexpr int segmentPlainSize = segmentSize - 16;
    // The decoder tests the check value on this much ciphertext before anything else.
    static constexpr int probeSize = 128;
    static constexpr int lengthFieldSize = 4;
    static constexpr int maxMetadataLength = 999;

    static QByteArray checkValue() { return QByteArrayLiteral("1234567890"); }
    static QByteArray metadataMarker() { return QByteArrayLiteral("qRvOk"); }
    static QString minVersionKey() { return QStringLiteral("minVer"); }

    // The password right-padded with 'z' or cut to 16 characters, as UTF-8. Non-ASCII
    // characters lengthen the key, which then often fits no AES key size.
    static QByteArray keyFromPassword(const QString& password);
    // "1.2.0" -> 1, 2, 0; a missing part or one that is no number reads as 0.
    static VersionTriple versionFromText(const QString& text);
    // -1 when a is older than b, 0 when equal, 1 when newer; major first.
    static int compareVersions(const VersionTriple& a, const VersionTriple& b);
    // "key=value" -> one entry; text without "=" gives an empty map.
    static QMap<QString, QString> metadataFromText(const QString& text);
    // The length field: the decimal digits of the metadata length, Base64-encoded.
    static QByteArray lengthField(int metadataLength);
    // Reads a length field back; -1 when it holds no usable length.
    static int lengthFromField(const QByteArray& field);
};

#endif // DOCUMENTFORMAT_H
