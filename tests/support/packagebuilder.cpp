#include "packagebuilder.h"

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

QByteArray PackageBuilder::zip() const
{
    QBuffer buffer;
    QuaZip archive(&buffer);
    if (!archive.open(QuaZip::mdCreate))
        return QByteArray();
    for (const auto& entry : m_entries) {
        QuaZipFile file(&archive);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(entry.first)))
            return QByteArray();
        file.write(entry.second);
        file.close();
    }
    archive.close();
    return buffer.data();
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
