#ifndef TEXTEXPORT_H
#define TEXTEXPORT_H

#include <QByteArray>
#include <QList>
#include <QMap>
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

    // Entry name -> path of the file it is exported to in `directory`, one distinct
    // file per data set.
    static QMap<QString, QString> targetPaths(const OpenResult& document, const QString& directory);
    static QMap<QString, QString> targetPaths(const QStringList& entries, const QString& directory);
    static Result exportAll(const OpenResult& document, const QString& directory);
    // As above, for the entries themselves (entry name -> JSON text). Entries handed over
    // (std::move) are let go one by one as each is read, so that the text of a large data
    // set is not held beside its map; entries the caller keeps stay as they are.
    static Result exportAll(QMap<QString, QByteArray> files, const QString& directory);
};

#endif // TEXTEXPORT_H
