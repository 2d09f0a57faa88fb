#ifndef PACKAGEINSTALLER_H
#define PACKAGEINSTALLER_H

#include <QSet>
#include <QString>

#include <functional>

#include "libglobal.h"
#include "packageverifier.h"

class QuaZipFile;
class VersionRegistry;

// Installs the entries of a verified update package one by one: each entry streams
// to its file in the update directory, is checked against the signed manifest, the
// files it replaces are backed up, and then it takes their place. Rolls the same
// files back from the backups.
class TAVI_VIEWER_EXPORT PackageInstaller
{
public:
    // `waitForViewer` returns once the viewer's program file can be replaced.
    PackageInstaller(VersionRegistry& registry, const QString& updateDir,
                     std::function<void()> waitForViewer);

    static QString fileName(const QString& entry);
    static QString category(const QString& entry);

    // Starts an apply of the package that `verified` describes.
    void begin(const PackageVerifier::Result& verified, const PackageVerifier::Limits& limits);
    // False for an entry that is not a component or header; otherwise `failure`
    // receives why it could not be applied (empty when it was).
    bool install(const QString& entry, QuaZipFile& file, QString* failure);
    bool backup(const QString& entry);
    bool replace(const QString& entry);
    bool rollback(const QString& entry);
    // A new package starts a new update: backups of an earlier one do not belong to it.
    void forgetBackups();

private:
    struct ComponentFiles
    {
        QString installDir;
        QString backupPattern;
        QString installPattern;
        QString stagingDir;
        QString label;
    };
    ComponentFiles componentFiles(const QString& entry) const;
    QString installComponent(const QString& entry, const QString& extracted, qint64 length);
    QString componentFailed(const QString& entry, const QString& reason);
    bool applyHeader(const QByteArray& content);
    bool extractLibraryArchive();

    VersionRegistry& m_registry;
    QString m_updateDir;
    std::function<void()> m_waitForViewer;
    PackageVerifier::Result m_verified;
    PackageVerifier::Limits m_limits;
    // Within one apply: components whose files failed, and those the header advanced.
    QSet<QString> m_failedComponents;
    QSet<QString> m_advancedComponents;
};

#endif // PACKAGEINSTALLER_H
