#include "recentfilesstore.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QSaveFile>
#include <QTextStream>

#include "common.h"
#include "crypto.h"
#include "documentpath.h"

const QString RecentFilesStore::dateFormat = QStringLiteral("dd-MMM-yyyy h:m:s AP");

RecentFilesStore::RecentFilesStore(const QString& path, int maxRecentFiles)
    : storePath(path), maxFiles(maxRecentFiles)
{
}

QString RecentFilesStore::path() const
{
    return storePath;
}

int RecentFilesStore::maxRecentFiles() const
{
    return maxFiles;
}

QJsonArray RecentFilesStore::records() const
{
    return recentFiles;
}

void RecentFilesStore::load()
{
    // Opening for reading and writing leaves an empty store behind on a fresh
    // installation, as the store has always done.
    QFile file(storePath);
    QString cipher;
    if (file.open(QIODevice::ReadWrite | QIODevice::Text))
        cipher = QString::fromLatin1(file.readAll());
    file.close();
    const QString plain = crypto.decryptToString(cipher);
    recentFiles = QJsonDocument::fromJson(plain.toUtf8()).array();
}

void RecentFilesStore::save() const
{
    const QByteArray json = QJsonDocument(recentFiles).toJson(QJsonDocument::Compact);
    // Written beside the store and renamed over it, so that an interrupted save
    // leaves the previous list rather than half a cipher text.
    QSaveFile file(storePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    QTextStream stream(&file);
    stream << crypto.encryptToString(json);
    stream.flush();
    file.commit();
}

void RecentFilesStore::add(const QString& filename)
{
    const QString path = DocumentPath::fromUrlOrPath(filename);
    const int existing = indexOf(path);
    if (existing >= 0)
        recentFiles.removeAt(existing);

    QJsonObject record;
    record.insert(QStringLiteral("filename"), path);
    record.insert(QStringLiteral("size"), Common::getFileSizeInString(QFileInfo(path).size()));
    record.insert(QStringLiteral("dateViewed"),
                  QLocale::system().toString(QDateTime::currentDateTime(), dateFormat));
    recentFiles.insert(0, record);
    while (recentFiles.size() > maxFiles)
        recentFiles.removeLast();
    save();
}

void RecentFilesStore::clear()
{
    recentFiles = QJsonArray();
    save();
}

void RecentFilesStore::remove(const QString& path)
{
    const int index = indexOf(path);
    if (index >= 0)
        recentFiles.removeAt(index);
    save();
}

QVariantList RecentFilesStore::toVariantList() const
{
    QVariantList list;
    for (const QJsonValue& value : recentFiles) {
        const QJsonObject record = value.toObject();
        QVariantMap map;
        map.insert(QStringLiteral("filename"), record.value(QStringLiteral("filename")).toString());
        map.insert(QStringLiteral("size"), record.value(QStringLiteral("size")).toString());
        map.insert(QStringLiteral("dateViewed"),
                   record.value(QStringLiteral("dateViewed")).toString());
        list << map;
    }
    return list;
}

int RecentFilesStore::indexOf(const QString& path) const
{
    for (int i = 0; i < recentFiles.size(); ++i) {
        if (recentFiles.at(i).toObject().value(QStringLiteral("filename")).toString() == path)
            return i;
    }
    return -1;
}
