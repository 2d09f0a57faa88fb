#ifndef FILECONTENT_H
#define FILECONTENT_H

#include <QByteArray>
#include <QString>
#include <QStringList>

// Whole-file reads and writes for tests that compare files on disk.
class FileContent
{
public:
    // The file's bytes, or "<missing>" when it cannot be read, so that a
    // comparison with expected content fails visibly.
    static QByteArray read(const QString& path);
    // Creates missing parent directories; true when every byte was written.
    static bool write(const QString& path, const QByteArray& content);
    // Every file and directory under root with its size and time, sorted: two listings
    // compare equal only when nothing there was written.
    static QStringList listing(const QString& root);
};

#endif // FILECONTENT_H
