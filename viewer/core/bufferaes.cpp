#include "bufferaes.h"

#include "aesblockcipher.h"

namespace {

constexpr int blockSize = AesBlockCipher::blockSize;

// The length left after removing up to p trailing bytes of value p, p being the last byte
// read as signed. Nothing is checked beyond that: the decoder tells a wrong key by content
// instead.
qint64 unpaddedLength(const char* plain, qint64 length)
{
    if (length == 0)
        return 0;
    const int p = static_cast<signed char>(plain[length - 1]);
    for (int i = 0; i < p && length > 0 && plain[length - 1] == static_cast<char>(p); ++i)
        --length;
    return length;
}

} // namespace

QByteArray BufferAES::defaultIv()
{
    return QByteArray(blockSize, 'K');
}

QByteArray BufferAES::encrypt(const QByteArray& data, const QByteArray& key, const QByteArray& iv)
{
    const AesBlockCipher cipher(key);
    if (!cipher.isValid() || iv.size() != blockSize)
        return QByteArray();

    const int padding = blockSize - data.size() % blockSize;
    QByteArray out = data;
    out.append(padding, static_cast<char>(padding));

    auto* blocks = reinterpret_cast<unsigned char*>(out.data());
    cipher.encryptCbc(reinterpret_cast<const unsigned char*>(iv.constData()), blocks, blocks,
                      std::size_t(out.size() / blockSize));
    return out;
}

QByteArray BufferAES::encrypt(const QByteArray& data, const QByteArray& key)
{
    return encrypt(data, key, defaultIv());
}

QByteArray BufferAES::decrypt(const QByteArray& data, const QByteArray& key, const QByteArray& iv)
{
    QByteArray out(data.size(), Qt::Uninitialized);
    const qint64 length = decryptInto(data.constData(), data.size(), key, iv, out.data());
    if (length < 0)
        return QByteArray();
    out.truncate(int(length));
    return out;
}

QByteArray BufferAES::decrypt(const QByteArray& data, const QByteArray& key)
{
    return decrypt(data, key, defaultIv());
}

qint64 BufferAES::decryptInto(const char* data, qint64 size, const QByteArray& key,
                              const QByteArray& iv, char* out)
{
    const AesBlockCipher cipher(key);
    if (!cipher.isValid() || iv.size() != blockSize || size % blockSize != 0)
        return -1;
    cipher.decryptCbc(reinterpret_cast<const unsigned char*>(iv.constData()),
                      reinterpret_cast<const unsigned char*>(data),
                      reinterpret_cast<unsigned char*>(out), std::size_t(size / blockSize));
    return unpaddedLength(out, size);
}
