// vardotool export: writes what the report view's export buttons write, for every
// data set of a document.

#include "export_pdf.h"
#include "textexport.h"
#include "toolcommon.h"
#include "tooldocument.h"

#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>

#include <utility>

namespace {

// One line per file written, one line on standard error per file that failed.
int exportText(const QStringList& args, QMap<QString, QByteArray> files, const QString& directory)
{
    const TextExport::Result result = TextExport::exportAll(std::move(files), directory);
    QTextStream& out = ToolCommon::out();
    for (const QString& path : result.written)
        out << path << "\n";
    out.flush();
    for (const TextExport::Failure& failure : result.failures)
        ToolCommon::fail(args, failure.path + QStringLiteral(": ") + failure.reason);
    return result.succeeded() ? 0 : ToolCommon::exitFailure;
}

} // namespace

int runExport(const QStringList& args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Exports every data set of a .vardo document. Exits non-zero when any file fails."));
    const QCommandLineOption text(QStringLiteral("text"),
                                  QStringLiteral("Write each data set as a text file into DIR."),
                                  QStringLiteral("DIR"));
    parser.addOption(text);
    const QCommandLineOption pdf(QStringLiteral("pdf"),
                                 QStringLiteral("Write each data set as a PDF report into DIR."),
                                 QStringLiteral("DIR"));
    parser.addOption(pdf);
    QString password;
    QString path;
    const int parsed = ToolDocument::parse(parser, args, &password, &path);
    if (parsed != ToolCommon::proceed)
        return parsed;
    if (!parser.isSet(text) && !parser.isSet(pdf))
        return ToolCommon::usageError(
            args, QStringLiteral("nothing to export: give --text DIR or --pdf DIR"));

    int exitCode = 0;
    const std::unique_ptr<OpenResult> document =
        ToolDocument::open(args, path, password, &exitCode);
    if (!document)
        return exitCode;
    if (parser.isSet(text)) {
        QDir().mkpath(parser.value(text));
        // With no report to follow, the export lets go of each data set's text once read.
        QMap<QString, QByteArray> files =
            parser.isSet(pdf) ? *document->files : std::move(*document->files);
        exitCode = qMax(exitCode, exportText(args, std::move(files), parser.value(text)));
    }
    if (parser.isSet(pdf)) {
        QDir().mkpath(parser.value(pdf));
        exitCode = qMax(exitCode, exportPdf(args, std::move(*document->files), parser.value(pdf)));
    }
    return exitCode;
}
