// vardotool open: opens a document as the viewer does and lists or writes its entries.

#include "exportfilenames.h"
#include "toolcommon.h"
#include "tooldocument.h"

#include <QCommandLineParser>
#include <QDir>
#include <QSaveFile>
#include <QTextStream>

#include <memory>

namespace {

bool dump(const QMap<QString, QByteArray>& files, const QString& directory, QString* error)
{
    QDir dir(directory);
    if (!dir.mkpath(QStringLiteral("."))) {
        *error = QStringLiteral("cannot create %1").arg(directory);
        return false;
    }
    const QMap<QString, QString> names =
        ExportFileNames::forEntries(files.keys(), ExportFileNames::entryOwn());
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        QSaveFile file(dir.filePath(names.value(it.key())));
        if (!file.open(QIODevice::WriteOnly) || file.write(it.value()) != it.value().size() ||
            !file.flush() || !file.commit()) {
            *error = QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
            return false;
        }
    }
    return true;
}

} // namespace

int runOpen(const QStringList& args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Opens a .vardo document as the viewer does. Exits with the result code: 0 opened, "
        "2 viewer too old, 3 invalid password, 4 damaged document, 66 no such file."));
    const QCommandLineOption viewerVersion(
        QStringLiteral("viewer-version"),
        QStringLiteral("Open as this viewer version (default %1).")
            .arg(ToolCommon::applicationVersion()),
        QStringLiteral("X.Y.Z"), ToolCommon::applicationVersion());
    const QCommandLineOption list(QStringLiteral("list"),
                                  QStringLiteral("Print each entry's name and size in bytes."));
    const QCommandLineOption dumpTo(QStringLiteral("dump"),
                                    QStringLiteral("Write the entries into DIR."),
                                    QStringLiteral("DIR"));
    parser.addOptions({viewerVersion, list, dumpTo});
    QString password;
    QString path;
    const int parsed = ToolDocument::parse(parser, args, &password, &path);
    if (parsed != ToolCommon::proceed)
        return parsed;
    if (parser.isSet(list) && parser.isSet(dumpTo))
        return ToolCommon::usageError(args, QStringLiteral("give --list or --dump, not both"));

    int exitCode = 0;
    const std::unique_ptr<OpenResult> result =
        ToolDocument::open(args, path, password, &exitCode, parser.value(viewerVersion));
    if (!result)
        return exitCode;

    QTextStream& out = ToolCommon::out();
    if (parser.isSet(dumpTo)) {
        QString error;
        if (!dump(*result->files, parser.value(dumpTo), &error))
            return ToolCommon::fail(args, error);
    } else if (parser.isSet(list)) {
        for (auto it = result->files->cbegin(); it != result->files->cend(); ++it)
            out << it.key() << "\t" << it.value().size() << "\n";
    } else {
        out << result->fileName << ": " << result->files->size() << " data set(s)\n";
    }
    out.flush();
    return 0;
}
