#ifndef RECENTFILESSTORE_H
#define RECENTFILESSTORE_H

#include <QJsonArray>
#include <QString>
#include <QVariantList>

// The documents last opened through the home screen, newest first, without
// duplicates, kept encrypted in one file so that they survive restarts. Every change
// is written at once; the in-memory list is a cache that each load replaces.
class RecentFilesStore
{
public:
    explicit RecentFilesStore(const QString& path, int maxRecentFiles = 20);

    QString path() const;
    int maxRecentFiles() const;
    QJsonArray records() const;

    // Rereads the store; a missing, undecryptable or unparsable file gives an empty list.
    void load();
    void save() const;
    // Moves the file to the top with its current size and a fresh time; `filename`
    // may be a file URL.
    void add(const QString& filename);
    void clear();
    // Drops the record of `path`, if any, and writes the store either way.
    void remove(const QString& path);
    // One map per record, in list order, with the keys "filename", "size" and "dateViewed".
    QVariantList toVariantList() const;

    static const QString dateFormat;

private:
    int indexOf(const QString& path) const;

    QString storePath;
    int maxFiles;
    QJsonArray recentFiles;
};

#endif // RECENTFILESSTORE_H
