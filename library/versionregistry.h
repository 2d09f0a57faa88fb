#ifndef VERSIONREGISTRY_H
#define VERSIONREGISTRY_H

#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QStringList>

#include "applicationobject.h"
#include "libglobal.h"

// The installed version of each component, kept encrypted in the version file.
class TAVI_VIEWER_EXPORT VersionRegistry
{
public:
    explicit VersionRegistry(const QString& versionFile);

    // The five component keys, in the order the version file lists them.
    static const QStringList& componentKeys();

    // Reads the version file; a missing or unreadable one is replaced by the defaults.
    void load();
    // Writes the versions to the file, whole or not at all.
    void sync();
    void initStatuses();

    QString value(const QString& key);
    void setValue(const QString& key, const QString& version);
    void backupValue(const QString& key);
    void restoreValue(const QString& key);
    ApplicationObject& entry(const QString& key);

    QJsonObject jsonObject();
    void setJson(const QJsonObject& object);
    // Component key to installed version.
    QMap<QString, QString> versions();

private:
    QString m_versionFile;
    QMap<QString, ApplicationObject> m_registry;
};

#endif // VERSIONREGISTRY_H
