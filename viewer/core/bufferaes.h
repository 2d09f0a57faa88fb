#ifndef BUFFERAES_H
#define BUFFERAES_H

#include <QByteArray>

// AES-CBC over whole buffers. Encryption pads with PKCS#7; decryption unpads leniently
// and never validates, so a wrong key yields a plaintext of (nearly) full length that
// callers recognise by its content. Every refusal is an empty QByteArray.
// Working memory is on the heap, so any buffer size is safe to hand over.
class BufferAES
{
public:
    // "KKKKKKKKKKKKKKKK", the IV of the two-argument operations.
    static QByteArray defaultIv();

    static QByteArray encrypt(const QByteArray& data, const QByteArray& key, const QByteArray& iv);
    static QByteArray encrypt(const QByteArray& data, const QByteArray& key);
    // Refuses data whose length is not a multiple of the block size.
    static QByteArray decrypt(const QByteArray& data, const QByteArray& key, const QByteArray& iv);
    static QByteArray decrypt(const QByteArray& data, const QByteArray& key);
    // As decrypt, for a caller that decrypts many buffers into one: writes into out, which
    // holds at least size bytes, and allocates nothing. The blocks go in order, so out may
    // be data itself or start before it. Returns the length of the unpadded plaintext at
    // out, or -1 on refusal.
    static qint64 decryptInto(const char* data, qint64 size, const QByteArray& key,
                              const QByteArray& iv, char* out);
};

#endif // BUFFERAES_H
