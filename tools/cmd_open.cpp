// vardotool open: opens a document as the viewer does and lists or writes its entries.

#include "documentdecoder.h"
#include "documentformat.h"
#include "exportfilenames.h"
#include "toolcommon.h"

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
        "2 viewer too old, 3 invalid password, 4 damaged document."));
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
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The document."),
                                 QStringLiteral("FILE.vardo"));
    QString password;
    const int parsed = ToolCommon::parseWithPassword(parser, args, &password);
    if (parsed != ToolCommon::proceed)
        return parsed;
    if (parser.positionalArguments().size() != 1)
        return ToolCommon::usageError(args, QStringLiteral("need exactly one FILE.vardo"));
    if (parser.isSet(list) && parser.isSet(dumpTo))
        return ToolCommon::usageError(args, QStringLiteral("give --list or --dump, not both"));

    const VersionTriple viewer = DocumentFormat::versionFromText(parser.value(viewerVersion));
    std::unique_ptr<OpenResult> result(openDocument(viewer.major, viewer.minor, viewer.patch,
                                                    password, parser.positionalArguments().first(),
                                                    QStringLiteral("./tmp"), true));
    if (result->code != OpenResult::Success)
        return ToolCommon::fail(args, result->message, result->code);

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
