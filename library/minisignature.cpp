#include "minisignature.h"

#include <QList>

#include <sodium.h>

namespace {

const QByteArray trustedPrefix = "trusted comment: ";
const QByteArray untrustedPrefix = "untrusted comment: ";

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

// Strict Base64: anything the decoder would silently skip makes the line unreadable.
bool decodeBase64(const QByteArray& text, QByteArray* bytes)
{
    const QByteArray::FromBase64Result result =
        QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
    if (!result)
        return false;
    *bytes = result.decoded;
    return true;
}

bool sodiumReady()
{
    // Safe to call again and from several threads; negative only when no
    // random source or CPU feature probe works at all.
    return sodium_init() >= 0;
}

} // namespace

MinisignPublicKey MinisignPublicKey::fromBase64(const QString& line, QString* error)
{
    MinisignPublicKey key;
    QByteArray bytes;
    if (line.trimmed().isEmpty()) {
        fail(error, QStringLiteral("no public key is given"));
        return key;
    }
    if (!decodeBase64(line.trimmed().toLatin1(), &bytes) || bytes.size() != 42) {
        fail(error, QStringLiteral("the public key is not the Base64 of 42 bytes"));
        return key;
    }
    if (!bytes.startsWith("Ed")) {
        fail(error, QStringLiteral("the public key is not an Ed25519 key"));
        return key;
    }
    key.m_keyId = bytes.mid(2, 8);
    key.m_key = bytes.mid(10, 32);
    return key;
}

QString MinisignPublicKey::keyIdText() const
{
    QByteArray bigEndian;
    for (int i = m_keyId.size() - 1; i >= 0; --i)
        bigEndian.append(m_keyId.at(i));
    return QString::fromLatin1(bigEndian.toHex().toUpper());
}

bool Minisignature::parse(const QByteArray& text, Minisignature* signature, QString* error)
{
    QList<QByteArray> lines = text.split('\n');
    // A final line end leaves one empty piece; line ends may also be CR LF.
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    if (lines.size() != 4)
        return fail(error, QStringLiteral("the signature file does not have four lines"));
    if (!lines.at(0).startsWith(untrustedPrefix))
        return fail(error, QStringLiteral("the signature file does not begin with a comment"));
    if (!lines.at(2).startsWith(trustedPrefix))
        return fail(error, QStringLiteral("the signature file has no trusted comment"));

    QByteArray signatureLine;
    QByteArray globalLine;
    if (!decodeBase64(lines.at(1), &signatureLine) || signatureLine.size() != 74)
        return fail(error, QStringLiteral("the signature line is not the Base64 of 74 bytes"));
    if (!decodeBase64(lines.at(3), &globalLine) || globalLine.size() != 64)
        return fail(error, QStringLiteral("the global signature is not the Base64 of 64 bytes"));
    const QByteArray algorithm = signatureLine.left(2);
    if (algorithm != "ED" && algorithm != "Ed")
        return fail(error, QStringLiteral("the signature algorithm is unknown"));

    signature->m_algorithm = algorithm;
    signature->m_keyId = signatureLine.mid(2, 8);
    signature->m_signature = signatureLine.mid(10, 64);
    signature->m_trustedComment = lines.at(2).mid(trustedPrefix.size());
    signature->m_globalSignature = globalLine;
    return true;
}

QByteArray Minisignature::prehash(const QByteArray& message)
{
    QByteArray hash(crypto_generichash_BYTES_MAX, Qt::Uninitialized);
    if (!sodiumReady())
        return QByteArray();
    crypto_generichash(reinterpret_cast<unsigned char*>(hash.data()), size_t(hash.size()),
                       reinterpret_cast<const unsigned char*>(message.constData()),
                       quint64(message.size()), nullptr, 0);
    return hash;
}

bool Minisignature::verify(const MinisignPublicKey& key, const QByteArray& message,
                           QString* error) const
{
    if (!key.isValid())
        return fail(error, QStringLiteral("no valid public key"));
    if (!sodiumReady())
        return fail(error, QStringLiteral("the signature library cannot start"));
    if (m_keyId != key.keyId())
        return fail(error, QStringLiteral("signed with another key than %1").arg(key.keyIdText()));

    const QByteArray signedMessage = isPrehashed() ? prehash(message) : message;
    const auto* publicKey = reinterpret_cast<const unsigned char*>(key.key().constData());
    if (crypto_sign_verify_detached(
            reinterpret_cast<const unsigned char*>(m_signature.constData()),
            reinterpret_cast<const unsigned char*>(signedMessage.constData()),
            quint64(signedMessage.size()), publicKey) != 0)
        return fail(error, QStringLiteral("the signature does not match the signed file"));

    const QByteArray global = m_signature + m_trustedComment;
    if (crypto_sign_verify_detached(
            reinterpret_cast<const unsigned char*>(m_globalSignature.constData()),
            reinterpret_cast<const unsigned char*>(global.constData()), quint64(global.size()),
            publicKey) != 0)
        return fail(error, QStringLiteral("the trusted comment is not signed"));
    return true;
}
