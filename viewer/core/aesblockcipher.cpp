#include "aesblockcipher.h"

#include "aesni.h"

#include <QtEndian>

#include <atomic>
#include <cstring>

namespace {

using Word = std::uint32_t;
using ByteTable = std::array<std::uint8_t, 256>;
using WordTable = std::array<Word, 256>;

// Multiplication by x in GF(2^8) modulo the AES polynomial x^8 + x^4 + x^3 + x + 1.
constexpr std::uint8_t xtime(std::uint8_t b)
{
    return static_cast<std::uint8_t>((b << 1) ^ ((b & 0x80) ? 0x1b : 0x00));
}

constexpr std::uint8_t gfMultiply(std::uint8_t a, std::uint8_t b)
{
    std::uint8_t product = 0;
    while (b) {
        if (b & 1)
            product ^= a;
        a = xtime(a);
        b >>= 1;
    }
    return product;
}

constexpr std::uint8_t rotateLeft(std::uint8_t b, int n)
{
    return static_cast<std::uint8_t>((b << n) | (b >> (8 - n)));
}

// The S-box as FIPS-197 5.1.1 defines it: the multiplicative inverse (0 maps to 0)
// followed by the affine transformation. Powers of the generator 3 walk every non-zero
// element once, which gives each inverse without a search.
constexpr ByteTable makeSbox()
{
    ByteTable exp{};
    ByteTable log{};
    std::uint8_t x = 1;
    for (int i = 0; i < 255; ++i) {
        exp[i] = x;
        log[x] = static_cast<std::uint8_t>(i);
        x = gfMultiply(x, 3);
    }
    ByteTable sbox{};
    for (int v = 0; v < 256; ++v) {
        std::uint8_t inverse = v == 0 ? 0 : exp[(255 - log[v]) % 255];
        sbox[v] =
            static_cast<std::uint8_t>(inverse ^ rotateLeft(inverse, 1) ^ rotateLeft(inverse, 2) ^
                                      rotateLeft(inverse, 3) ^ rotateLeft(inverse, 4) ^ 0x63);
    }
    return sbox;
}

constexpr ByteTable makeInverse(const ByteTable& table)
{
    ByteTable inverse{};
    for (int v = 0; v < 256; ++v)
        inverse[table[v]] = static_cast<std::uint8_t>(v);
    return inverse;
}

constexpr Word word(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3)
{
    return (Word(b0) << 24) | (Word(b1) << 16) | (Word(b2) << 8) | Word(b3);
}

constexpr Word rotateRight(Word w, int n)
{
    return n == 0 ? w : (w >> n) | (w << (32 - n));
}

// Round tables: SubBytes and one column of MixColumns (or their inverses) in one look-up.
// The tables for the other three rows are the same words rotated by one byte each.
constexpr WordTable makeRoundTable(const ByteTable& sbox, std::uint8_t c0, std::uint8_t c1,
                                   std::uint8_t c2, std::uint8_t c3, int rotation)
{
    WordTable table{};
    for (int v = 0; v < 256; ++v) {
        std::uint8_t s = sbox[v];
        table[v] = rotateRight(
            word(gfMultiply(s, c0), gfMultiply(s, c1), gfMultiply(s, c2), gfMultiply(s, c3)),
            rotation);
    }
    return table;
}

constexpr ByteTable sbox = makeSbox();
constexpr ByteTable inverseSbox = makeInverse(sbox);

constexpr WordTable te0 = makeRoundTable(sbox, 2, 1, 1, 3, 0);
constexpr WordTable te1 = makeRoundTable(sbox, 2, 1, 1, 3, 8);
constexpr WordTable te2 = makeRoundTable(sbox, 2, 1, 1, 3, 16);
constexpr WordTable te3 = makeRoundTable(sbox, 2, 1, 1, 3, 24);

constexpr WordTable td0 = makeRoundTable(inverseSbox, 14, 9, 13, 11, 0);
constexpr WordTable td1 = makeRoundTable(inverseSbox, 14, 9, 13, 11, 8);
constexpr WordTable td2 = makeRoundTable(inverseSbox, 14, 9, 13, 11, 16);
constexpr WordTable td3 = makeRoundTable(inverseSbox, 14, 9, 13, 11, 24);

constexpr std::uint8_t byteOf(Word w, int index)
{
    return static_cast<std::uint8_t>(w >> (24 - 8 * index));
}

Word subWord(Word w)
{
    return word(sbox[byteOf(w, 0)], sbox[byteOf(w, 1)], sbox[byteOf(w, 2)], sbox[byteOf(w, 3)]);
}

// InvMixColumns of one word: the S-box undoes the inverse S-box folded into td*.
Word inverseMixColumn(Word w)
{
    return td0[sbox[byteOf(w, 0)]] ^ td1[sbox[byteOf(w, 1)]] ^ td2[sbox[byteOf(w, 2)]] ^
           td3[sbox[byteOf(w, 3)]];
}

Word load(const unsigned char* p)
{
    return qFromBigEndian<Word>(p);
}

void store(Word w, unsigned char* p)
{
    qToBigEndian<Word>(w, p);
}

void encryptWithTables(const Word* rk, int rounds, const unsigned char* in, unsigned char* out)
{
    Word s0 = load(in) ^ rk[0];
    Word s1 = load(in + 4) ^ rk[1];
    Word s2 = load(in + 8) ^ rk[2];
    Word s3 = load(in + 12) ^ rk[3];
    for (int round = 1; round < rounds; ++round) {
        rk += 4;
        const Word t0 =
            te0[s0 >> 24] ^ te1[(s1 >> 16) & 0xff] ^ te2[(s2 >> 8) & 0xff] ^ te3[s3 & 0xff] ^ rk[0];
        const Word t1 =
            te0[s1 >> 24] ^ te1[(s2 >> 16) & 0xff] ^ te2[(s3 >> 8) & 0xff] ^ te3[s0 & 0xff] ^ rk[1];
        const Word t2 =
            te0[s2 >> 24] ^ te1[(s3 >> 16) & 0xff] ^ te2[(s0 >> 8) & 0xff] ^ te3[s1 & 0xff] ^ rk[2];
        const Word t3 =
            te0[s3 >> 24] ^ te1[(s0 >> 16) & 0xff] ^ te2[(s1 >> 8) & 0xff] ^ te3[s2 & 0xff] ^ rk[3];
        s0 = t0;
        s1 = t1;
        s2 = t2;
        s3 = t3;
    }
    rk += 4;
    // The last round has no MixColumns: plain SubBytes after ShiftRows.
    store(word(sbox[s0 >> 24], sbox[(s1 >> 16) & 0xff], sbox[(s2 >> 8) & 0xff], sbox[s3 & 0xff]) ^
              rk[0],
          out);
    store(word(sbox[s1 >> 24], sbox[(s2 >> 16) & 0xff], sbox[(s3 >> 8) & 0xff], sbox[s0 & 0xff]) ^
              rk[1],
          out + 4);
    store(word(sbox[s2 >> 24], sbox[(s3 >> 16) & 0xff], sbox[(s0 >> 8) & 0xff], sbox[s1 & 0xff]) ^
              rk[2],
          out + 8);
    store(word(sbox[s3 >> 24], sbox[(s0 >> 16) & 0xff], sbox[(s1 >> 8) & 0xff], sbox[s2 & 0xff]) ^
              rk[3],
          out + 12);
}

void decryptWithTables(const Word* rk, int rounds, const unsigned char* in, unsigned char* out)
{
    Word s0 = load(in) ^ rk[0];
    Word s1 = load(in + 4) ^ rk[1];
    Word s2 = load(in + 8) ^ rk[2];
    Word s3 = load(in + 12) ^ rk[3];
    for (int round = 1; round < rounds; ++round) {
        rk += 4;
        const Word t0 =
            td0[s0 >> 24] ^ td1[(s3 >> 16) & 0xff] ^ td2[(s2 >> 8) & 0xff] ^ td3[s1 & 0xff] ^ rk[0];
        const Word t1 =
            td0[s1 >> 24] ^ td1[(s0 >> 16) & 0xff] ^ td2[(s3 >> 8) & 0xff] ^ td3[s2 & 0xff] ^ rk[1];
        const Word t2 =
            td0[s2 >> 24] ^ td1[(s1 >> 16) & 0xff] ^ td2[(s0 >> 8) & 0xff] ^ td3[s3 & 0xff] ^ rk[2];
        const Word t3 =
            td0[s3 >> 24] ^ td1[(s2 >> 16) & 0xff] ^ td2[(s1 >> 8) & 0xff] ^ td3[s0 & 0xff] ^ rk[3];
        s0 = t0;
        s1 = t1;
        s2 = t2;
        s3 = t3;
    }
    rk += 4;
    store(word(inverseSbox[s0 >> 24], inverseSbox[(s3 >> 16) & 0xff], inverseSbox[(s2 >> 8) & 0xff],
               inverseSbox[s1 & 0xff]) ^
              rk[0],
          out);
    store(word(inverseSbox[s1 >> 24], inverseSbox[(s0 >> 16) & 0xff], inverseSbox[(s3 >> 8) & 0xff],
               inverseSbox[s2 & 0xff]) ^
              rk[1],
          out + 4);
    store(word(inverseSbox[s2 >> 24], inverseSbox[(s1 >> 16) & 0xff], inverseSbox[(s0 >> 8) & 0xff],
               inverseSbox[s3 & 0xff]) ^
              rk[2],
          out + 8);
    store(word(inverseSbox[s3 >> 24], inverseSbox[(s2 >> 16) & 0xff], inverseSbox[(s1 >> 8) & 0xff],
               inverseSbox[s0 & 0xff]) ^
              rk[3],
          out + 12);
}

void xorBlock(unsigned char* target, const unsigned char* other)
{
    for (int i = 0; i < AesBlockCipher::blockSize; ++i)
        target[i] ^= other[i];
}

std::atomic<AesBlockCipher::Engine>& chosenEngine()
{
    static std::atomic<AesBlockCipher::Engine> engine{
        AesNi::available() ? AesBlockCipher::Engine::AesNi : AesBlockCipher::Engine::Portable};
    return engine;
}

// The instructions' CBC of one block from a zero chain is the bare block operation.
constexpr unsigned char zeroChain[AesBlockCipher::blockSize] = {};

} // namespace

QVector<AesBlockCipher::Engine> AesBlockCipher::availableEngines()
{
    QVector<Engine> engines{Engine::Portable};
    if (AesNi::available())
        engines.append(Engine::AesNi);
    return engines;
}

AesBlockCipher::Engine AesBlockCipher::defaultEngine()
{
    return chosenEngine().load();
}

bool AesBlockCipher::setDefaultEngine(Engine engine)
{
    if (!availableEngines().contains(engine))
        return false;
    chosenEngine().store(engine);
    return true;
}

AesBlockCipher::AesBlockCipher(const QByteArray& key) : usedEngine(defaultEngine())
{
    const int keyWords = key.size() / 4;
    if (key.size() != 16 && key.size() != 24 && key.size() != 32)
        return;
    rounds = keyWords + 6;
    const int totalWords = 4 * (rounds + 1);

    const auto* keyBytes = reinterpret_cast<const unsigned char*>(key.constData());
    for (int i = 0; i < keyWords; ++i)
        encryptionKeys[i] = load(keyBytes + 4 * i);
    std::uint8_t roundConstant = 0x01;
    for (int i = keyWords; i < totalWords; ++i) {
        Word temp = encryptionKeys[i - 1];
        if (i % keyWords == 0) {
            temp = subWord(rotateRight(temp, 24)) ^ (Word(roundConstant) << 24);
            roundConstant = xtime(roundConstant);
        } else if (keyWords > 6 && i % keyWords == 4) {
            temp = subWord(temp);
        }
        encryptionKeys[i] = encryptionKeys[i - keyWords] ^ temp;
    }

    for (int round = 0; round <= rounds; ++round) {
        for (int c = 0; c < 4; ++c) {
            Word w = encryptionKeys[4 * (rounds - round) + c];
            const bool middle = round != 0 && round != rounds;
            decryptionKeys[4 * round + c] = middle ? inverseMixColumn(w) : w;
        }
    }
}

void AesBlockCipher::encryptBlock(const unsigned char* in, unsigned char* out) const
{
#if VARDO_AESNI_BUILT
    if (usedEngine == Engine::AesNi) {
        AesNi::encryptCbc(encryptionKeys.data(), rounds, zeroChain, in, out, 1);
        return;
    }
#endif
    encryptWithTables(encryptionKeys.data(), rounds, in, out);
}

void AesBlockCipher::decryptBlock(const unsigned char* in, unsigned char* out) const
{
#if VARDO_AESNI_BUILT
    if (usedEngine == Engine::AesNi) {
        AesNi::decryptCbc(decryptionKeys.data(), rounds, zeroChain, in, out, 1);
        return;
    }
#endif
    decryptWithTables(decryptionKeys.data(), rounds, in, out);
}

void AesBlockCipher::encryptCbc(const unsigned char* iv, const unsigned char* in,
                                unsigned char* out, std::size_t blocks) const
{
#if VARDO_AESNI_BUILT
    if (usedEngine == Engine::AesNi) {
        AesNi::encryptCbc(encryptionKeys.data(), rounds, iv, in, out, blocks);
        return;
    }
#endif
    const unsigned char* chain = iv;
    for (std::size_t b = 0; b < blocks; ++b) {
        unsigned char* block = out + blockSize * b;
        std::memmove(block, in + blockSize * b, blockSize);
        xorBlock(block, chain);
        encryptWithTables(encryptionKeys.data(), rounds, block, block);
        chain = block;
    }
}

void AesBlockCipher::decryptCbc(const unsigned char* iv, const unsigned char* in,
                                unsigned char* out, std::size_t blocks) const
{
#if VARDO_AESNI_BUILT
    if (usedEngine == Engine::AesNi) {
        AesNi::decryptCbc(decryptionKeys.data(), rounds, iv, in, out, blocks);
        return;
    }
#endif
    // The chain is kept apart from out, which may be overwriting the cipher text.
    unsigned char chain[blockSize];
    unsigned char cipher[blockSize];
    std::memcpy(chain, iv, blockSize);
    for (std::size_t b = 0; b < blocks; ++b) {
        std::memcpy(cipher, in + blockSize * b, blockSize);
        decryptWithTables(decryptionKeys.data(), rounds, cipher, out + blockSize * b);
        xorBlock(out + blockSize * b, chain);
        std::memcpy(chain, cipher, blockSize);
    }
}
