#ifndef MINISIGNATURE_H
#define MINISIGNATURE_H

#include <QByteArray>
#include <QString>

#include "libglobal.h"

// An Ed25519 public key as the release tools write it: the Base64 line of 2 bytes
// algorithm ("Ed"), 8 bytes key id and 32 bytes key.
class TAVI_VIEWER_EXPORT MinisignPublicKey
{
public:
    // Invalid (and `error` says why) unless `line` is such a key.
    static MinisignPublicKey fromBase64(const QString& line, QString* error = nullptr);

    bool isValid() const { return m_key.size() == 32; }
    QByteArray keyId() const { return m_keyId; }
    QByteArray key() const { return m_key; }
    // The key id as the tools print it: 16 upper-case hex digits of the little-endian number.
    QString keyIdText() const;

private:
    QByteArray m_keyId;
    QByteArray m_key;
};

// A detached signature file: an untrusted comment, the signature line, the trusted
// comment and the global signature over signature and trusted comment.
class TAVI_VIEWER_EXPORT Minisignature
{
public:
    // False (and `error` says why) when `text` is not a signature file.
    static bool parse(const QByteArray& text, Minisignature* signature, QString* error = nullptr);

    // Whether `message` is signed by `key`, and the trusted comment with it. The
    // pre-hashed form signs the BLAKE2b-512 hash of the message, the legacy form the
    // message itself.
    bool verify(const MinisignPublicKey& key, const QByteArray& message,
                QString* error = nullptr) const;

    QString trustedComment() const { return QString::fromUtf8(m_trustedComment); }
    bool isPrehashed() const { return m_algorithm == "ED"; }
    // The hash that the pre-hashed form signs.
    static QByteArray prehash(const QByteArray& message);

private:
    QByteArray m_algorithm;
    QByteArray m_keyId;
    QByteArray m_signature;
    QByteArray m_trustedComment;
    QByteArray m_globalSignature;
};

#endif // MINISIGNATURE_H
