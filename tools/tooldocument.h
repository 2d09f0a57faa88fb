#ifndef TOOLDOCUMENT_H
#define TOOLDOCUMENT_H

#include "openresult.h"

#include <QString>
#include <QStringList>

#include <memory>

class QCommandLineParser;

// Opens the document a report command works on, as the viewer of this version does.
class ToolDocument
{
public:
    // Parses a command that takes the password options and exactly one FILE.vardo:
    // proceed with password and path set, or the exit code after help or an error.
    static int parse(QCommandLineParser& parser, const QStringList& args, QString* password,
                     QString* path);
    // The opened document (path "-" reads it from standard input), or null after the
    // reason has been printed; exitCode then holds the document's result code, or
    // exitNoInput when there is no file to read.
    static std::unique_ptr<OpenResult> open(const QStringList& args, const QString& path,
                                            const QString& password, int* exitCode,
                                            const QString& viewerVersion);
    // open, as the viewer of this version.
    static std::unique_ptr<OpenResult> open(const QStringList& args, const QString& path,
                                            const QString& password, int* exitCode);
};

#endif // TOOLDOCUMENT_H
