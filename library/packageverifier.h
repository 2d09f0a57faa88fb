#ifndef PACKAGEVERIFIER_H
#define PACKAGEVERIFIER_H

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

#include "libglobal.h"
#include "minisignature.h"
#include "updatemanifest.h"

class QIODevice;
class QuaZipFile;

// How large an update package and each of its entries may be, unpacked.
struct PackageLimits
{
    qint64 entry = qint64(1) << 30;
    qint64 package = qint64(2) << 30;
};

// Decides whether an update package may be installed: its manifest signed by the
// trusted key, every entry listed once with its SHA-256, the sizes within bounds,
// and no component older than the installed one. Entries are hashed while they
// stream, never held whole in memory.
class TAVI_VIEWER_EXPORT PackageVerifier
{
public:
    enum Outcome
    {
        Accepted,
        NotAuthentic, // not signed by the trusted key, or not what was signed
        Refused       // authentic, but it must not be installed here
    };

    using Limits = PackageLimits;

    struct Result
    {
        Outcome outcome = NotAuthentic;
        // For the log and the command line.
        QString detail;
        // Why a Refused package is refused, in the user's language.
        QString userReason;
        QList<UpdateManifest::Line> manifest;
        QList<QPair<QString, QString>> versions;

        bool accepted() const { return outcome == Accepted; }
        // What the user reads about a package that is not accepted.
        QString message() const;
        QByteArray hashOf(const QString& name) const;
    };

    // The key the programs trust, fixed when they are built; empty when the build
    // was given none, in which case every package is refused.
    static QString builtInKey();

    explicit PackageVerifier(const QString& publicKey = builtInKey(), Limits limits = Limits());

    // `installed` maps component keys to the installed versions.
    Result verify(const QString& packagePath, const QMap<QString, QString>& installed) const;

    // Reads an entry to its end into `sink` (when given), hashing it; false when it is
    // longer than `cap` or its CRC does not match.
    static bool streamEntry(QuaZipFile& file, qint64 cap, QByteArray* sha256,
                            QIODevice* sink = nullptr, QString* error = nullptr,
                            qint64* streamed = nullptr);
    // The records of a version header: component key and new version, in order.
    static bool readHeader(const QByteArray& content, QList<QPair<QString, QString>>* records);
    // Compares dotted versions part by part as numbers; `ok` is false when a part is
    // not a number.
    static int compareVersions(const QString& a, const QString& b, bool* ok);

private:
    // Declared before the key, which its initialisation writes to.
    QString m_keyError;
    MinisignPublicKey m_key;
    Limits m_limits;
};

#endif // PACKAGEVERIFIER_H
