// vardotool crypt: encrypts or decrypts a value with the library's shared cipher, so
// that stored files such as config/version.cfg and config/recents.dat can be read
// and written by hand.

#include "crypto.h"
#include "simplecrypt.h"

#include <QFile>
#include <QTextStream>

namespace {

int usage(QTextStream& err)
{
    err << "usage: vardotool crypt --encrypt|--decrypt\n"
           "Reads the text from standard input (one final line break is dropped) and writes\n"
           "the cipher text (Base64) or the decrypted text to standard output.\n";
    return 2;
}

QByteArray readInput()
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return QByteArray();
    QByteArray text = input.readAll();
    if (text.endsWith('\n'))
        text.chop(1);
    if (text.endsWith('\r'))
        text.chop(1);
    return text;
}

QString decryptFailure(const QByteArray& cipherText)
{
    if (QByteArray::fromBase64(cipherText).size() < 3)
        return QStringLiteral("too short to be a cipher text");
    switch (crypto.lastError()) {
    case SimpleCrypt::ErrorNoError:
        return QString();
    case SimpleCrypt::ErrorNoKeySet:
        return QStringLiteral("no key set");
    case SimpleCrypt::ErrorUnknownVersion:
        return QStringLiteral("unknown version or not a cipher text");
    case SimpleCrypt::ErrorIntegrityFailed:
        return QStringLiteral("integrity check failed (wrong key or damaged text)");
    }
    return QString();
}

} // namespace

int runCrypt(const QStringList& args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setCodec("UTF-8");
    err.setCodec("UTF-8");
    const QStringList options = args.mid(1);
    if (options.size() != 1)
        return usage(err);

    const QString mode = options.first();
    if (mode == QLatin1String("--encrypt")) {
        out << crypto.encryptToString(readInput()) << "\n";
        return 0;
    }
    if (mode == QLatin1String("--decrypt")) {
        const QByteArray cipherText = readInput();
        const QString plain = crypto.decryptToString(QString::fromLatin1(cipherText));
        const QString failure = decryptFailure(cipherText);
        if (!failure.isEmpty()) {
            err << "vardotool crypt: cannot decrypt: " << failure << "\n";
            return 1;
        }
        out << plain << "\n";
        return 0;
    }
    return usage(err);
}
