#ifndef AESNI_H
#define AESNI_H

#include <cstddef>
#include <cstdint>

#if defined(__x86_64__) || defined(__i386__) || defined(_M_X64) || defined(_M_IX86)
#define VARDO_AESNI_BUILT 1
#else
#define VARDO_AESNI_BUILT 0
#endif

// The AES rounds in the processor's own instructions, for x86 processors that have them.
// Round keys are the words of the FIPS-197 schedule, first byte most significant; the
// decryption keys are those of the equivalent inverse cipher, in order of use.
namespace AesNi {

// True when this build can use the instructions and the processor running it has them.
bool available();

#if VARDO_AESNI_BUILT
// CBC over blocks blocks of 16 bytes from the chain iv. The blocks go in order and each
// is read before its plaintext is written, so out may be in itself or start before it.
void encryptCbc(const std::uint32_t* roundKeys, int rounds, const unsigned char* iv,
                const unsigned char* in, unsigned char* out, std::size_t blocks);
void decryptCbc(const std::uint32_t* roundKeys, int rounds, const unsigned char* iv,
                const unsigned char* in, unsigned char* out, std::size_t blocks);
#endif

} // namespace AesNi

#endif // AESNI_H
