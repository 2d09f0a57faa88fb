#include "simplecrypt.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QtDebug>
#include <QtEndian>

namespace {

constexpr char cipherVersion = 3;
constexpr int checksumSize = 2;
constexpr int hashSize = 20;

QByteArray checksumBytes(const QByteArray& payload)
{
    const quint16 crc = qChecksum(payload.constData(), uint(payload.size()), Qt::ChecksumIso3309);
    QByteArray bytes(checksumSize, '\0');
    bytes[0] = char(crc >> 8);
    bytes[1] = char(crc & 0xff);
    return bytes;
}

QByteArray hashBytes(const QByteArray& payload)
{
    return QCryptographicHash::hash(payload, QCryptographicHash::Sha1);
}

// qUncompress reserves the size a block declares in its first four bytes before it
// inflates anything, so a damaged value could claim gigabytes. Deflate never expands
// more than about 1032 times; a larger claim cannot be a compressed value.
bool plausibleCompressedSize(const QByteArray& block)
{
    constexpr qint64 maxDeflateRatio = 1032;
    if (block.size() < 4)
        return true;
    const quint32 declared = qFromBigEndian<quint32>(block.constData());
    return qint64(declared) <= (qint64(block.size()) - 4) * maxDeflateRatio;
}

} // namespace

SimpleCrypt::SimpleCrypt() = default;

SimpleCrypt::SimpleCrypt(quint64 key)
{
    setKey(key);
}

void SimpleCrypt::setKey(quint64 key)
{
    m_key = key;
    splitKey();
}

void SimpleCrypt::splitKey()
{
    m_keyParts.resize(8);
    for (int i = 0; i < 8; ++i)
        m_keyParts[i] = char((m_key >> (8 * i)) & 0xff);
}

QByteArray SimpleCrypt::encryptToByteArray(const QString& plaintext)
{
    return encryptToByteArray(plaintext.toUtf8());
}

QByteArray SimpleCrypt::encryptToByteArray(QByteArray plaintext)
{
    if (m_keyParts.isEmpty()) {
        qWarning() << "No key set.";
        m_lastError = ErrorNoKeySet;
        return QByteArray();
    }

    QByteArray payload = plaintext;
    char flags = CryptoFlagNone;
    if (m_compressionMode == CompressionAlways) {
        payload = qCompress(payload, 9);
        flags |= CryptoFlagCompression;
    } else if (m_compressionMode == CompressionAuto) {
        const QByteArray compressed = qCompress(payload, 9);
        if (compressed.size() < payload.size()) {
            payload = compressed;
            flags |= CryptoFlagCompression;
        }
    }

    QByteArray integrity;
    if (m_protectionMode == ProtectionChecksum) {
        flags |= CryptoFlagChecksum;
        integrity = checksumBytes(payload);
    } else if (m_protectionMode == ProtectionHash) {
        flags |= CryptoFlagHash;
        integrity = hashBytes(payload);
    }

    // The random first byte makes equal values encrypt differently; it only salts
    // the chain, so the global generator (thread-safe) serves better than a seeded one.
    QByteArray block;
    block.reserve(1 + integrity.size() + payload.size());
    block.append(char(QRandomGenerator::global()->bounded(256)));
    block.append(integrity);
    block.append(payload);

    char previous = 0;
    for (int i = 0; i < block.size(); ++i) {
        block[i] = char(block.at(i) ^ m_keyParts.at(i % 8) ^ previous);
        previous = block.at(i);
    }

    QByteArray result;
    result.reserve(2 + block.size());
    result.append(cipherVersion);
    result.append(flags);
    result.append(block);
    m_lastError = ErrorNoError;
    return result;
}

QString SimpleCrypt::encryptToString(const QString& plaintext)
{
    return encryptToString(plaintext.toUtf8());
}

QString SimpleCrypt::encryptToString(QByteArray plaintext)
{
    return QString::fromLatin1(encryptToByteArray(plaintext).toBase64());
}

QString SimpleCrypt::decryptToString(const QString& cyphertext)
{
    return QString::fromUtf8(decryptToByteArray(cyphertext));
}

QString SimpleCrypt::decryptToString(QByteArray cypher)
{
    return QString::fromUtf8(decryptToByteArray(cypher));
}

QByteArray SimpleCrypt::decryptToByteArray(const QString& cyphertext)
{
    return decryptToByteArray(QByteArray::fromBase64(cyphertext.toLatin1()));
}

QByteArray SimpleCrypt::decryptToByteArray(QByteArray cypher)
{
    if (m_keyParts.isEmpty()) {
        qWarning() << "No key set.";
        m_lastError = ErrorNoKeySet;
        return QByteArray();
    }
    if (cypher.size() < 3)
        return QByteArray();
    if (cypher.at(0) != cipherVersion) {
        m_lastError = ErrorUnknownVersion;
        qWarning() << "Invalid version or not a cyphertext.";
        return QByteArray();
    }

    const char flags = cypher.at(1);
    QByteArray block = cypher.mid(2);
    char previous = 0;
    for (int i = 0; i < block.size(); ++i) {
        const char current = block.at(i);
        block[i] = char(current ^ previous ^ m_keyParts.at(i % 8));
        previous = current;
    }
    block.remove(0, 1);

    bool intact = true;
    if (flags & CryptoFlagChecksum) {
        if (block.size() < checksumSize) {
            m_lastError = ErrorIntegrityFailed;
            return QByteArray();
        }
        const QByteArray stored = block.left(checksumSize);
        block.remove(0, checksumSize);
        intact = stored == checksumBytes(block);
    } else if (flags & CryptoFlagHash) {
        if (block.size() < hashSize) {
            m_lastError = ErrorIntegrityFailed;
            return QByteArray();
        }
        const QByteArray stored = block.left(hashSize);
        block.remove(0, hashSize);
        intact = stored == hashBytes(block);
    }
    if (!intact) {
        m_lastError = ErrorIntegrityFailed;
        return QByteArray();
    }

    if (flags & CryptoFlagCompression) {
        if (!plausibleCompressedSize(block)) {
            m_lastError = ErrorIntegrityFailed;
            return QByteArray();
        }
        block = qUncompress(block);
    }

    m_lastError = ErrorNoError;
    return block;
}
