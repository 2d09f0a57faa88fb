#include "aesni.h"

#if VARDO_AESNI_BUILT
#if defined(_MSC_VER)
#include <intrin.h>
#else
#include <cpuid.h>
#endif
#include <wmmintrin.h>
#endif

// GCC and Clang compile the instructions only into functions that ask for them, so the
// rest of the program still runs on processors without them; MSVC allows them anywhere.
#if defined(__GNUC__) || defined(__clang__)
#define VARDO_TARGET_AES __attribute__((target("aes,sse2")))
#else
#define VARDO_TARGET_AES
#endif

namespace {

#if VARDO_AESNI_BUILT

bool processorHasAes()
{
    constexpr unsigned aesBit = 1u << 25; // CPUID leaf 1, ECX
#if defined(_MSC_VER)
    int registers[4] = {};
    __cpuid(registers, 1);
    return (static_cast<unsigned>(registers[2]) & aesBit) != 0;
#else
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    return __get_cpuid(1, &eax, &ebx, &ecx, &edx) && (ecx & aesBit) != 0;
#endif
}

constexpr int maxRounds = 14;
// CBC decryption has no chain between blocks until the final XOR, so this many blocks go
// through the rounds side by side and keep the AES unit busy while each one waits on the
// latency of the previous round.
constexpr int lanes = 8;

VARDO_TARGET_AES __m128i load(const unsigned char* p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

VARDO_TARGET_AES void store(unsigned char* p, __m128i v)
{
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

// The instructions take a round key as the 16 bytes of the state in memory order.
VARDO_TARGET_AES void loadRoundKeys(const std::uint32_t* words, int rounds, __m128i* keys)
{
    for (int round = 0; round <= rounds; ++round) {
        unsigned char bytes[16];
        for (int i = 0; i < 16; ++i)
            bytes[i] = static_cast<unsigned char>(words[4 * round + i / 4] >> (24 - 8 * (i % 4)));
        keys[round] = load(bytes);
    }
}

VARDO_TARGET_AES __m128i decryptOne(__m128i block, const __m128i* keys, int rounds)
{
    block = _mm_xor_si128(block, keys[0]);
    for (int round = 1; round < rounds; ++round)
        block = _mm_aesdec_si128(block, keys[round]);
    return _mm_aesdeclast_si128(block, keys[rounds]);
}

#endif

} // namespace

bool AesNi::available()
{
#if VARDO_AESNI_BUILT
    static const bool has = processorHasAes();
    return has;
#else
    return false;
#endif
}

#if VARDO_AESNI_BUILT

VARDO_TARGET_AES void AesNi::encryptCbc(const std::uint32_t* roundKeys, int rounds,
                                        const unsigned char* iv, const unsigned char* in,
                                        unsigned char* out, std::size_t blocks)
{
    __m128i keys[maxRounds + 1];
    loadRoundKeys(roundKeys, rounds, keys);
    __m128i chain = load(iv);
    for (std::size_t b = 0; b < blocks; ++b) {
        chain = _mm_xor_si128(_mm_xor_si128(load(in + 16 * b), chain), keys[0]);
        for (int round = 1; round < rounds; ++round)
            chain = _mm_aesenc_si128(chain, keys[round]);
        chain = _mm_aesenclast_si128(chain, keys[rounds]);
        store(out + 16 * b, chain);
    }
}

VARDO_TARGET_AES void AesNi::decryptCbc(const std::uint32_t* roundKeys, int rounds,
                                        const unsigned char* iv, const unsigned char* in,
                                        unsigned char* out, std::size_t blocks)
{
    __m128i keys[maxRounds + 1];
    loadRoundKeys(roundKeys, rounds, keys);
    __m128i chain = load(iv);
    std::size_t b = 0;
    for (; blocks - b >= lanes; b += lanes) {
        // Every cipher block is read before any plaintext is written, so in may be out.
        __m128i cipher[lanes];
        __m128i state[lanes];
        for (int i = 0; i < lanes; ++i) {
            cipher[i] = load(in + 16 * (b + i));
            state[i] = _mm_xor_si128(cipher[i], keys[0]);
        }
        for (int round = 1; round < rounds; ++round) {
            const __m128i key = keys[round];
            for (int i = 0; i < lanes; ++i)
                state[i] = _mm_aesdec_si128(state[i], key);
        }
        for (int i = 0; i < lanes; ++i)
            state[i] = _mm_aesdeclast_si128(state[i], keys[rounds]);
        store(out + 16 * b, _mm_xor_si128(state[0], chain));
        for (int i = 1; i < lanes; ++i)
            store(out + 16 * (b + i), _mm_xor_si128(state[i], cipher[i - 1]));
        chain = cipher[lanes - 1];
    }
    for (; b < blocks; ++b) {
        const __m128i cipher = load(in + 16 * b);
        store(out + 16 * b, _mm_xor_si128(decryptOne(cipher, keys, rounds), chain));
        chain = cipher;
    }
}

#endif
