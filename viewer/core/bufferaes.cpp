#include "bufferaes.h"

#include "aesblockcipher.h"

namespace {

constexpr int blockSize = AesBlockCipher::blockSize;

void xorBlock(unsigned char* target, const unsigned char* other)
{
    for (int i = 0; i < blockSize; ++i)
        target[i] ^= other[i];
}

// Removes up to p trailing bytes of value p, p being the last byte read as signed.
// Nothing is checked beyond that: the decoder tells a wrong key by content instead.
void unpadLeniently(QByteArray& plain)
{
    if (plain.isEmpty())
        return;
    const int p = static_cast<signed char>(plain.back());
    if (p < 1)
        return;
    for (int i = 0; i < p && !plain.isEmpty() && plain.back() == static_cast<char>(p); ++i)
        plain.chop(1);
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

    auto* block = reinterpret_cast<unsigned char*>(out.data());
    const auto* chain = reinterpret_cast<const unsigned char*>(iv.constData());
    for (int offset = 0; offset < out.size(); offset += blockSize, block += blockSize) {
        xorBlock(block, chain);
        cipher.encryptBlock(block, block);
        chain = block;
    }
    return out;
}

QByteArray BufferAES::encrypt(const QByteArray& data, const QByteArray& key)
{
    return encrypt(data, key, defaultIv());
}

QByteArray BufferAES::decrypt(const QByteArray& data, const QByteArray& key, const QByteArray& iv)
{
    const AesBlockCipher cipher(key);
    if (!cipher.isValid() || iv.size() != blockSize || data.size() % blockSize != 0)
        return QByteArray();

    QByteArray out(data.size(), Qt::Uninitialized);
    const auto* in = reinterpret_cast<const unsigned char*>(data.constData());
    auto* plain = reinterpret_cast<unsigned char*>(out.data());
    const auto* chain = reinterpret_cast<const unsigned char*>(iv.constData());
    for (int offset = 0; offset < data.size(); offset += blockSize) {
        cipher.decryptBlock(in + offset, plain + offset);
        xorBlock(plain + offset, chain);
        chain = in + offset;
    }
    unpadLeniently(out);
    return out;
}

QByteArray BufferAES::decrypt(const QByteArray& data, const QByteArray& key)
{
    return decrypt(data, key, defaultIv());
}
