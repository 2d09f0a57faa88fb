#ifndef TEXTEXPORT_H
#define TEXTEXPORT_H

#include <QList>
#include <QString>
#include <QStringList>

class OpenResult;

// Writes every data set of an opened document as a text file of its own into one
// directory, and tells which files were written and which failed, so that the
// caller never reports success for a file that is not there.
class TextExport
{
public:
    struct Failure
    {
        QString path;
        QString reason;
    };
    struct Result
    {
        QStringList written;
        QList<Failure> failures;
        bool succeeded() const { return failures.isEmpty(); }
    };

    // The file an entry is exported to: its name, with ".txt" appended unless it
    // already ends in "txt"; empty when the name leaves nothing to write to.
    static QString outputFileName(const QString& entryName);
    static Result exportAll(const OpenResult& document, const QString& directory);
};

#endif // TEXTEXPORT_H
