#ifndef AESBLOCKCIPHER_H
#define AESBLOCKCIPHER_H

#include <QByteArray>

#include <array>
#include <cstdint>

// The FIPS-197 block cipher for one expanded key: AES-128, AES-192 or AES-256 chosen by
// the key length. Both schedules are expanded once at construction, so a buffer of many
// blocks pays for the expansion only once.
class AesBlockCipher
{
public:
    static constexpr int blockSize = 16;

    explicit AesBlockCipher(const QByteArray& key);

    // False for a key that is not 16, 24 or 32 bytes long; no block operation runs then.
    bool isValid() const { return rounds != 0; }

    // Both operations work on exactly blockSize bytes; in and out may be the same block.
    void encryptBlock(const unsigned char* in, unsigned char* out) const;
    void decryptBlock(const unsigned char* in, unsigned char* out) const;

private:
    static constexpr int maxRoundKeyWords = 4 * (14 + 1);

    int rounds = 0;
    std::array<std::uint32_t, maxRoundKeyWords> encryptionKeys{};
    // Laid out for the equivalent inverse cipher: in order of use, with InvMixColumns
    // already applied to the middle rounds.
    std::array<std::uint32_t, maxRoundKeyWords> decryptionKeys{};
};

#endif // AESBLOCKCIPHER_H
