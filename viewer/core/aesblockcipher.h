#ifndef AESBLOCKCIPHER_H
#define AESBLOCKCIPHER_H

#include <QByteArray>

#include <QVector>

#include <array>
#include <cstddef>
#include <cstdint>

// The FIPS-197 block cipher for one expanded key: AES-128, AES-192 or AES-256 chosen by
// the key length. Both schedules are expanded once at construction, so a buffer of many
// blocks pays for the expansion only once.
class AesBlockCipher
{
public:
    static constexpr int blockSize = 16;

    // How the rounds are computed. Both give the same bytes; the processor's AES
    // instructions are many times faster where they exist, the look-up tables run anywhere.
    enum class Engine
    {
        Portable,
        AesNi
    };

    // The engines this processor can run, Portable first.
    static QVector<Engine> availableEngines();
    // The engine of ciphers made from now on: the fastest one available, unless
    // setDefaultEngine chose another (so that tests can run every vector on each engine).
    static Engine defaultEngine();
    // Refuses, and changes nothing, for an engine this processor cannot run.
    static bool setDefaultEngine(Engine engine);

    explicit AesBlockCipher(const QByteArray& key);

    // False for a key that is not 16, 24 or 32 bytes long; no block operation runs then.
    bool isValid() const { return rounds != 0; }
    Engine engine() const { return usedEngine; }

    // Both operations work on exactly blockSize bytes; in and out may be the same block.
    void encryptBlock(const unsigned char* in, unsigned char* out) const;
    void decryptBlock(const unsigned char* in, unsigned char* out) const;

    // CBC over blocks whole blocks, the chain starting from the blockSize bytes of iv.
    // in and out may be the same buffer.
    void encryptCbc(const unsigned char* iv, const unsigned char* in, unsigned char* out,
                    std::size_t blocks) const;
    void decryptCbc(const unsigned char* iv, const unsigned char* in, unsigned char* out,
                    std::size_t blocks) const;

private:
    static constexpr int maxRoundKeyWords = 4 * (14 + 1);

    int rounds = 0;
    Engine usedEngine = Engine::Portable;
    std::array<std::uint32_t, maxRoundKeyWords> encryptionKeys{};
    // Laid out for the equivalent inverse cipher: in order of use, with InvMixColumns
    // already applied to the middle rounds.
    std::array<std::uint32_t, maxRoundKeyWords> decryptionKeys{};
};

#endif // AESBLOCKCIPHER_H
