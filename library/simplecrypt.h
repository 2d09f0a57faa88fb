#ifndef SIMPLECRYPT_H
#define SIMPLECRYPT_H

#include <QByteArray>
#include <QString>
#include <QVector>

#include "libglobal.h"

// Light value cipher for stored secrets: a version byte, a flags byte, then a block
// of one random byte, an optional CRC-16 or SHA-1 of the payload and the (optionally
// qCompress'ed) payload, XOR-chained with the 64-bit key. It hides values from casual
// reading; it is not meant to withstand an attacker.
class TAVI_VIEWER_EXPORT SimpleCrypt
{
public:
    enum CompressionMode
    {
        CompressionAuto = 0,
        CompressionAlways = 1,
        CompressionNever = 2
    };
    enum IntegrityProtectionMode
    {
        ProtectionNone = 0,
        ProtectionChecksum = 1,
        ProtectionHash = 2
    };
    enum Error
    {
        ErrorNoError = 0,
        ErrorNoKeySet = 1,
        ErrorUnknownVersion = 2,
        ErrorIntegrityFailed = 3
    };

    SimpleCrypt();
    explicit SimpleCrypt(quint64 key);

    void setKey(quint64 key);
    bool hasKey() const { return !m_keyParts.isEmpty(); }

    void setCompressionMode(CompressionMode mode) { m_compressionMode = mode; }
    CompressionMode compressionMode() const { return m_compressionMode; }
    void setIntegrityProtectionMode(IntegrityProtectionMode mode) { m_protectionMode = mode; }
    IntegrityProtectionMode integrityProtectionMode() const { return m_protectionMode; }
    Error lastError() const { return m_lastError; }

    QString encryptToString(const QString& plaintext);
    QString encryptToString(QByteArray plaintext);
    QByteArray encryptToByteArray(const QString& plaintext);
    QByteArray encryptToByteArray(QByteArray plaintext);

    QString decryptToString(const QString& cyphertext);
    QString decryptToString(QByteArray cypher);
    QByteArray decryptToByteArray(const QString& cyphertext);
    QByteArray decryptToByteArray(QByteArray cypher);

    enum CryptoFlag
    {
        CryptoFlagNone = 0,
        CryptoFlagCompression = 0x01,
        CryptoFlagChecksum = 0x02,
        CryptoFlagHash = 0x04
    };

private:
    void splitKey();

    quint64 m_key = 0;
    QVector<char> m_keyParts;
    CompressionMode m_compressionMode = CompressionAuto;
    IntegrityProtectionMode m_protectionMode = ProtectionChecksum;
    Error m_lastError = ErrorNoError;
};

#endif // SIMPLECRYPT_H
