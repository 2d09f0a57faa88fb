#ifndef UPDATESIGNING_H
#define UPDATESIGNING_H

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// The release side of signed update packages: the manifest of a package's entries
// and its signature with a secret key of the release tools (one saved without a
// password), in the tools' own pre-hashed format.
class UpdateSigning
{
public:
    // The manifest of `entries` (name and content, in archive order), with the files
    // inside a "kvLibrary" archive listed after it. Empty (and `error` set) when the
    // library archive cannot be read.
    static QByteArray manifestFor(const QList<QPair<QString, QByteArray>>& entries,
                                  QString* error = nullptr);

    // The signature file for `message` made with the secret key in `keyFile`; empty
    // (and `error` set) when the key cannot be used.
    static QByteArray sign(const QByteArray& message, const QString& keyFile,
                           const QString& trustedComment, QString* error = nullptr);
};

#endif // UPDATESIGNING_H
