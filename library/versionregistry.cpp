#include "versionregistry.h"

#include "common.h"
#include "uiutils.h"
#include "vardoversion.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>
#include <QtDebug>

VersionRegistry::VersionRegistry(const QString& versionFile) : m_versionFile(versionFile) {}

const QStringList& VersionRegistry::componentKeys()
{
    static const QStringList keys = {QStringLiteral("kvApplication"), QStringLiteral("kvLibrary"),
                                     QStringLiteral("kvManual"), QStringLiteral("kvFAQ"),
                                     QStringLiteral("kvConfig")};
    return keys;
}

void VersionRegistry::load()
{
    if (!QFile::exists(m_versionFile)) {
        initStatuses();
        sync();
    }
    QString content;
    QFile file(m_versionFile);
    if (file.open(QIODevice::ReadOnly)) {
        content = QString::fromUtf8(file.readAll());
        file.close();
    }
    const QString decrypted = UIUtils::decryptValue(content);
    qDebug() << "version content " << decrypted;
    const QJsonDocument document = QJsonDocument::fromJson(decrypted.toUtf8());
    setJson(document.object());
    // A file that decrypts to something other than a version object is as unreadable
    // as one that does not decrypt at all.
    if (decrypted.isEmpty() || !document.isObject()) {
        initStatuses();
        sync();
    }
}

void VersionRegistry::sync()
{
    const QByteArray json = QJsonDocument(jsonObject()).toJson(QJsonDocument::Compact);
    qDebug() << " sync() version " << json;
    const QByteArray encrypted = UIUtils::encryptValue(QString::fromUtf8(json)).toUtf8();
    Common::prepareDirectory(QFileInfo(m_versionFile).absolutePath());
    // Written through a temporary file: a crash mid-write must not cost the versions.
    QSaveFile file(m_versionFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(encrypted) != encrypted.size() ||
        !file.commit())
        qWarning() << "the version file cannot be written:" << file.errorString();
    qDebug() << " sync() complete";
}

void VersionRegistry::initStatuses()
{
    const QStringList defaults = {QStringLiteral(VARDO_VERSION), QStringLiteral("1.0.3"),
                                  QStringLiteral("1.0.0"), QStringLiteral("1.0.0"),
                                  QStringLiteral("1.0.0")};
    m_registry.clear();
    for (int i = 0; i < componentKeys().size(); ++i) {
        ApplicationObject entry;
        entry.version = defaults.at(i);
        entry.secondVersion = defaults.at(i);
        m_registry.insert(componentKeys().at(i), entry);
    }
}

QString VersionRegistry::value(const QString& key)
{
    return m_registry[key].version;
}

void VersionRegistry::setValue(const QString& key, const QString& version)
{
    m_registry[key].version = version;
}

void VersionRegistry::backupValue(const QString& key)
{
    ApplicationObject& component = m_registry[key];
    component.backupVersion = component.version;
}

void VersionRegistry::restoreValue(const QString& key)
{
    ApplicationObject& component = m_registry[key];
    // Without a backup there is nothing to go back to; blanking the version would
    // make the component look uninstalled.
    if (!component.backupVersion.isEmpty())
        component.version = component.backupVersion;
}

ApplicationObject& VersionRegistry::entry(const QString& key)
{
    return m_registry[key];
}

QJsonObject VersionRegistry::jsonObject()
{
    QJsonObject object;
    for (const QString& key : componentKeys())
        object.insert(key, m_registry[key].version);
    return object;
}

void VersionRegistry::setJson(const QJsonObject& object)
{
    for (const QString& key : componentKeys())
        setValue(key, object.value(key).toString());
}

QMap<QString, QString> VersionRegistry::versions()
{
    QMap<QString, QString> versions;
    for (const QString& key : componentKeys())
        versions.insert(key, m_registry[key].version);
    return versions;
}
