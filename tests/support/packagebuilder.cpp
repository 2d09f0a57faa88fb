#include "packagebuilder.h"

#include "updatemanifest.h"
#include "updatesigning.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

PackageBuilder& PackageBuilder::add(const QString& name, const QByteArray& content)
{
    m_entries.append({name, content});
    return *this;
}

PackageBuilder& PackageBuilder::replace(const QString& name, const QByteArray& content)
{
    for (auto& entry : m_entries) {
        if (entry.first == name)
            entry.second = content;
    }
    return *this;
}

PackageBuilder& PackageBuilder::remove(const QString& name)
{
    for (int i = m_entries.size() - 1; i >= 0; --i) {
        if (m_entries.at(i).first == name)
            m_entries.removeAt(i);
    }
    return *this;
}

PackageBuilder& PackageBuilder::signNow(const QString& secretKeyFile)
{
    m_manifest = manifest();
    m_signature = UpdateSigning::sign(m_manifest, secretKeyFile, QStringLiteral("test package"));
    return *this;
}

PackageBuilder& PackageBuilder::withoutSignature()
{
    m_signed = false;
    return *this;
}

PackageBuilder& PackageBuilder::setManifest(const QByteArray& manifest)
{
    if (m_signature.isEmpty())
        signNow();
    m_manifest = manifest;
    return *this;
}

QByteArray PackageBuilder::manifest() const
{
    return UpdateSigning::manifestFor(m_entries);
}

QByteArray PackageBuilder::archive(const QList<QPair<QString, QByteArray>>& entries)
{
    QBuffer buffer;
    QuaZip archive(&buffer);
    if (!archive.open(QuaZip::mdCreate))
        return QByteArray();
    for (const auto& entry : entries) {
        QuaZipFile file(&archive);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(entry.first)))
            return QByteArray();
        file.write(entry.second);
        file.close();
    }
    archive.close();
    return buffer.data();
}

QByteArray PackageBuilder::zip() const
{
    QList<QPair<QString, QByteArray>> entries = m_entries;
    if (m_signed) {
        QByteArray manifestText = m_manifest;
        QByteArray signature = m_signature;
        if (signature.isEmpty()) {
            manifestText = manifest();
            signature =
                UpdateSigning::sign(manifestText, testSecretKey(), QStringLiteral("test package"));
        }
        entries.append({UpdateManifest::fileName, manifestText});
        entries.append({UpdateManifest::signatureName, signature});
    }
    return archive(entries);
}

bool PackageBuilder::writeTo(const QString& path) const
{
    const QByteArray bytes = zip();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return !bytes.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray PackageBuilder::header(const QList<QPair<QString, QString>>& versions)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<updateHeader>\n  <components>\n";
    for (const auto& version : versions) {
        xml += "    <component><key>" + version.first.toUtf8() + "</key><version>" +
               version.second.toUtf8() + "</version></component>\n";
    }
    xml += "  </components>\n</updateHeader>\n";
    return xml;
}

QString PackageBuilder::testSecretKey()
{
    return QStringLiteral(VARDO_TEST_KEY_DIR "/test.key");
}

QString PackageBuilder::testPublicKey()
{
    QFile file(QStringLiteral(VARDO_TEST_KEY_DIR "/test.pub"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(file.readAll().split('\n').value(1).trimmed());
}

QString PackageBuilder::otherSecretKey()
{
    return QStringLiteral(VARDO_TEST_KEY_DIR "/other.key");
}
