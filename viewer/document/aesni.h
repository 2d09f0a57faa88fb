#ifndef AESNI_H
#define AESNI_H

#include <cstddef>
#include <cstdint>

// The AES rounds in the processor's own instructions, for x86 processors that have them.
// Round keys are the words of the FIPS-197 schedule, first byte most significant; the
// decryption keys are those of the equivalent inverse cipher, in order of use.
namespace AesNi {

// True when this build can use the instructions and the processor running it has them.
bool available();

#if defined(__x86_64__) || defined(__i386__) || defined(_M_X64) || defined(_M_IX86)
#define VARDO_AESNI_BUILT 1
// blocks blocks of 16 bytes each; in and out may be the same buffer.
void encryptCbc(const std::uint32_t* roundKeys, int rounds, const unsigned char* iv,
                const unsigned char* in, unsigned char* out, std::size_t blocks);
void decryptCbc(const std::uint32_t* roundKeys, int rounds, const unsigned char* iv,
                const unsigned char* in, unsigned char* out, std::size_t blocks);
#else
#define VARDO_AESNI_BUILT 0
#endif

} // namespace AesNi

#endif // AESNI_H
