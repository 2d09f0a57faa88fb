#ifndef PACKAGEBUILDER_H
#define PACKAGEBUILDER_H

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// Builds update packages (and the inner library archive) in memory, entries in the
// order they are added, so that tests can try every arrangement of a package.
//
// A package is signed with the test key unless told otherwise: its manifest and
// signature follow the entries. signNow() fixes manifest and signature at that
// moment, so that what is added or replaced afterwards is not what was signed.
class PackageBuilder
{
public:
    PackageBuilder& add(const QString& name, const QByteArray& content);
    // Gives the entry `name` new content, keeping its place.
    PackageBuilder& replace(const QString& name, const QByteArray& content);
    PackageBuilder& remove(const QString& name);
    PackageBuilder& signNow(const QString& secretKeyFile = testSecretKey());
    PackageBuilder& withoutSignature();
    // Replaces the signed manifest, keeping the signature of the old one.
    PackageBuilder& setManifest(const QByteArray& manifest);

    QByteArray zip() const;
    bool writeTo(const QString& path) const;
    // The manifest of the entries as they are now.
    QByteArray manifest() const;

    // A version header listing `versions` (component key, new version) in order.
    static QByteArray header(const QList<QPair<QString, QString>>& versions);
    // A plain zip archive of `entries`, such as the library archive.
    static QByteArray archive(const QList<QPair<QString, QByteArray>>& entries);
    static QString testSecretKey();
    static QString testPublicKey();
    static QString otherSecretKey();

private:
    QList<QPair<QString, QByteArray>> m_entries;
    bool m_signed = true;
    QByteArray m_manifest;
    QByteArray m_signature;
};

#endif // PACKAGEBUILDER_H
