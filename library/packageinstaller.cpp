#include "packageinstaller.h"

#include "common.h"
#include "platform.h"
#include "uiutils.h"
#include "versionregistry.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QtDebug>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace {

const QString headerEntry = QStringLiteral("header.xml");
constexpr qint64 headerCap = 1 << 20;

struct PackageEntry
{
    QString entry;
    QString fileName;
    QString category;
};

const QList<PackageEntry>& packageEntries()
{
    static const QList<PackageEntry> entries = {
        {QStringLiteral("kvApplication"), QLatin1String(Platform::viewerProgram),
         QStringLiteral("File Aplikasi")},
        {QStringLiteral("kvLibrary"), QStringLiteral("kvLibrary.zip"), QStringLiteral("Library")},
        {QStringLiteral("kvManual"), QStringLiteral("manual.lrxml"), QStringLiteral("Buku Manual")},
        {QStringLiteral("kvFAQ"), QStringLiteral("faq.lrxml"), QStringLiteral("FAQ")},
        {QStringLiteral("kvConfig"), QStringLiteral("config.ini"), QStringLiteral("Konfigurasi")},
        {headerEntry, headerEntry, QStringLiteral("Header")},
    };
    return entries;
}

PackageEntry findPackageEntry(const QString& entry)
{
    for (const PackageEntry& known : packageEntries()) {
        if (known.entry == entry)
            return known;
    }
    return {};
}

bool writeWholeFile(const QString& path, const QByteArray& content)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() &&
           file.commit();
}

// The versions from before an update, kept in its work directory: a rollback may run
// in a later process than the apply (the updater can be stopped in between), and a
// second run of the same package finds the new versions already installed. Like the
// backups, they belong to one package and go when another one arrives.
QString backupVersionsPath(const QString& updateDir)
{
    return updateDir + QStringLiteral("/versions.bak");
}

QJsonObject readBackupVersions(const QString& updateDir)
{
    QFile file(backupVersionsPath(updateDir));
    if (!file.open(QIODevice::ReadOnly))
        return QJsonObject();
    return QJsonDocument::fromJson(
               UIUtils::decryptValue(QString::fromUtf8(file.readAll())).toUtf8())
        .object();
}

bool writeBackupVersions(const QString& updateDir, const QJsonObject& versions)
{
    const QString json = QString::fromUtf8(QJsonDocument(versions).toJson(QJsonDocument::Compact));
    return writeWholeFile(backupVersionsPath(updateDir), UIUtils::encryptValue(json).toUtf8());
}

// Streams `file` into `path` and keeps it only when it is the file the manifest
// signed; `length` receives its size. Empty on success, else the reason.
QString extractVerified(QuaZipFile& file, const QString& path, const QByteArray& expected,
                        qint64 cap, qint64* length)
{
    if (expected.isEmpty())
        return QStringLiteral("%1 is not in the signed manifest").arg(file.getActualFileName());
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return QStringLiteral("could not write %1: %2").arg(path, out.errorString());
    QByteArray sha256;
    QString error;
    if (!file.isOpen() || !PackageVerifier::streamEntry(file, cap, &sha256, &out, &error, length))
        return error.isEmpty() ? QStringLiteral("could not read ") + path : error;
    if (sha256 != expected)
        return QStringLiteral("%1 is not the file that was signed").arg(path);
    if (!out.commit())
        return QStringLiteral("could not write %1: %2").arg(path, out.errorString());
    return QString();
}

} // namespace

PackageInstaller::PackageInstaller(VersionRegistry& registry, const QString& updateDir,
                                   std::function<void()> waitForViewer)
    : m_registry(registry), m_updateDir(updateDir), m_waitForViewer(std::move(waitForViewer))
{
}

QString PackageInstaller::fileName(const QString& entry)
{
    return findPackageEntry(entry).fileName;
}

QString PackageInstaller::category(const QString& entry)
{
    return findPackageEntry(entry).category;
}

void PackageInstaller::begin(const PackageVerifier::Result& verified,
                             const PackageVerifier::Limits& limits)
{
    m_verified = verified;
    m_limits = limits;
    m_failedComponents.clear();
    m_advancedComponents.clear();
}

void PackageInstaller::forgetBackups()
{
    Common::removeDirectoryRecursively(m_updateDir + QStringLiteral("/backup"));
    QFile::remove(backupVersionsPath(m_updateDir));
}

QString PackageInstaller::componentFailed(const QString& entry, const QString& reason)
{
    qDebug() << "ApplicationVersion::extractFile failed" << entry << reason;
    m_failedComponents.insert(entry);
    // The header came first and already advanced this component: take that back.
    if (m_advancedComponents.remove(entry)) {
        m_registry.restoreValue(entry);
        m_registry.sync();
    }
    return reason;
}

bool PackageInstaller::install(const QString& entry, QuaZipFile& file, QString* failure)
{
    const QString actual = fileName(entry);
    if (actual.isEmpty())
        return false;
    Common::prepareDirectory(m_updateDir);
    const QString extracted = m_updateDir + QLatin1Char('/') + actual;
    const QByteArray expected = m_verified.hashOf(entry);
    QString reason;

    if (entry == headerEntry) {
        QBuffer content;
        content.open(QIODevice::WriteOnly);
        QByteArray sha256;
        if (!file.isOpen() || !PackageVerifier::streamEntry(file, headerCap, &sha256, &content) ||
            sha256 != expected || !writeWholeFile(extracted, content.data()))
            reason = QStringLiteral("header.xml could not be extracted");
        else if (!applyHeader(content.data()))
            reason = QStringLiteral("header.xml is not a version header");
    } else {
        qint64 length = 0;
        const QString extractFailure =
            extractVerified(file, extracted, expected, m_limits.entry, &length);
        reason = extractFailure.isEmpty() ? installComponent(entry, extracted, length)
                                          : componentFailed(entry, extractFailure);
    }
    if (failure)
        *failure = reason;
    return true;
}

QString PackageInstaller::installComponent(const QString& entry, const QString& extracted,
                                           qint64 length)
{
    const bool program = fileName(entry) == QLatin1String(Platform::viewerProgram);
    if (program)
        QFile::setPermissions(extracted, QFile::permissions(extracted) | QFile::ExeOwner |
                                             QFile::ExeGroup | QFile::ExeOther);
    // No component is ever an empty file: installing one would leave the viewer
    // without its program, its documents or its settings.
    if (length == 0)
        return componentFailed(entry, QStringLiteral("%1 is empty").arg(fileName(entry)));
    // The wait for the viewer to exit would never end: its file cannot be replaced
    // even once it is free.
    if (program && !Common::isDirectoryWritable(QCoreApplication::applicationDirPath()))
        return componentFailed(entry, QStringLiteral("cannot write in ") +
                                          QCoreApplication::applicationDirPath());
    // Without a complete backup the old files could not be restored: keep them.
    if (!backup(entry))
        return componentFailed(
            entry,
            QStringLiteral("could not back up the files replaced by %1").arg(fileName(entry)));
    if (program)
        m_waitForViewer();
    if (entry == QLatin1String("kvLibrary") && !extractLibraryArchive())
        return componentFailed(entry,
                               QStringLiteral("kvLibrary.zip does not hold the signed libraries"));
    if (!replace(entry))
        return componentFailed(
            entry, QStringLiteral("could not replace the files of %1").arg(fileName(entry)));
    return QString();
}

bool PackageInstaller::applyHeader(const QByteArray& content)
{
    QList<QPair<QString, QString>> records;
    if (!PackageVerifier::readHeader(content, &records))
        return false;
    QJsonObject saved = readBackupVersions(m_updateDir);
    for (const auto& record : records) {
        if (m_failedComponents.contains(record.first)) {
            qDebug() << "keep version '" << record.first << "' because its files were not replaced";
            continue;
        }
        m_registry.backupValue(record.first);
        ApplicationObject& component = m_registry.entry(record.first);
        if (saved.contains(record.first))
            component.backupVersion = saved.value(record.first).toString();
        else
            saved.insert(record.first, component.backupVersion);
        m_registry.setValue(record.first, record.second);
        m_advancedComponents.insert(record.first);
        qDebug() << "set version '" << record.first << "'='" << record.second << "'";
    }
    // Kept before the new versions are written, so that no moment exists in which the
    // new versions are stored and the old ones are not.
    if (!writeBackupVersions(m_updateDir, saved))
        qWarning() << "the versions before this update could not be kept for a rollback";
    m_registry.sync();
    return true;
}

bool PackageInstaller::extractLibraryArchive()
{
    const QString libDir = m_updateDir + QStringLiteral("/lib");
    QuaZip archive(m_updateDir + QStringLiteral("/kvLibrary.zip"));
    if (!archive.open(QuaZip::mdUnzip))
        return false;
    Common::prepareDirectory(libDir);
    bool extracted = true;
    for (bool more = archive.goToFirstFile(); more; more = archive.goToNextFile()) {
        const QString name = archive.getCurrentFileName();
        // Libraries lie flat beside the program; a path in the name (including "..")
        // would write outside update/lib. The signed manifest names every library.
        if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
            name == QLatin1String(".."))
            continue;
        qDebug() << "library filename " << name;
        QuaZipFile file(&archive);
        file.open(QIODevice::ReadOnly);
        qint64 length = 0;
        const QString failure = extractVerified(
            file, libDir + QLatin1Char('/') + name,
            m_verified.hashOf(UpdateManifest::libraryPrefix + name), m_limits.entry, &length);
        // An empty library would replace a working one with nothing that loads.
        extracted = failure.isEmpty() && length > 0 && extracted;
        if (!failure.isEmpty())
            qDebug() << failure;
        qDebug() << "library filename " << name << " size " << length;
    }
    archive.close();
    return extracted;
}

PackageInstaller::ComponentFiles PackageInstaller::componentFiles(const QString& entry) const
{
    const QString appDir = QCoreApplication::applicationDirPath();
    const QString program = QLatin1String(Platform::viewerProgram);
    const QString libraries = QLatin1String(Platform::libraryPattern);
    if (entry == QLatin1String("kvApplication"))
        return {appDir, program, program, m_updateDir, QStringLiteral("**kvApplication**")};
    if (entry == QLatin1String("kvLibrary"))
        return {appDir, libraries, libraries, m_updateDir + QStringLiteral("/lib"),
                QStringLiteral("**kvLibrary**")};
    // The two documents share one pattern, so either entry installs both once extracted.
    if (entry == QLatin1String("kvManual") || entry == QLatin1String("kvFAQ"))
        return {appDir + QStringLiteral("/documents"), QStringLiteral("*.lrxml"),
                QStringLiteral("*.lrxml"), m_updateDir, QStringLiteral("**kvManual kvFAQ**")};
    if (entry == QLatin1String("kvConfig"))
        return {appDir + QStringLiteral("/config"), QStringLiteral("*.ini"),
                QStringLiteral("config.ini"), m_updateDir, QStringLiteral("**kvConfig**")};
    return {};
}

bool PackageInstaller::backup(const QString& entry)
{
    const ComponentFiles files = componentFiles(entry);
    if (files.installDir.isEmpty())
        return false;
    // The first copy of a file in this update is the one a rollback needs; a later
    // entry (or a second run of the same package) must not overwrite it with a file
    // this update already replaced.
    return Common::copyFileWithWildcard(files.installDir, files.backupPattern,
                                        m_updateDir + QStringLiteral("/backup"),
                                        Common::KeepExisting);
}

bool PackageInstaller::replace(const QString& entry)
{
    qDebug() << "ApplicationVersion::replaceFile" << entry;
    const ComponentFiles files = componentFiles(entry);
    if (files.installDir.isEmpty())
        return false;
    qDebug().noquote() << "ApplicationVersion::replaceFile " + files.label;
    return Common::copyFileWithWildcard(files.stagingDir, files.installPattern, files.installDir);
}

bool PackageInstaller::rollback(const QString& entry)
{
    if (entry == headerEntry) {
        QFile file(m_updateDir + QLatin1Char('/') + headerEntry);
        QList<QPair<QString, QString>> records;
        if (file.open(QIODevice::ReadOnly) &&
            PackageVerifier::readHeader(file.read(headerCap), &records)) {
            const QJsonObject saved = readBackupVersions(m_updateDir);
            for (const auto& record : records) {
                if (saved.contains(record.first))
                    m_registry.entry(record.first).backupVersion =
                        saved.value(record.first).toString();
                m_registry.restoreValue(record.first);
            }
            m_registry.sync();
        }
        return true;
    }
    const ComponentFiles files = componentFiles(entry);
    if (files.installDir.isEmpty())
        return false;
    Common::copyFileWithWildcard(m_updateDir + QStringLiteral("/backup"), files.installPattern,
                                 files.installDir);
    return true;
}
