#ifndef FILECONTENT_H
#define FILECONTENT_H

#include <QByteArray>
#include <QString>

// Whole-file reads and writes for tests that compare files on disk.
class FileContent
{
public:
    // The file's bytes, or "<missing>" when it cannot be read, so that a
    // comparison with expected content fails visibly.
    static QByteArray read(const QString& path);
    // Creates missing parent directories; true when every byte was written.
    static bool write(const QString& path, const QByteArray& content);
};

#endif // FILECONTENT_H
