#include "tooldocument.h"

#include "documentdecoder.h"
#include "documentformat.h"
#include "toolcommon.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <utility>

std::unique_ptr<OpenResult> ToolDocument::open(const QStringList& args, const QString& path,
                                               const QString& password, int* exitCode,
                                               const QString& viewerVersion)
{
    const VersionTriple viewer = DocumentFormat::versionFromText(viewerVersion);
    std::unique_ptr<OpenResult> result;
    if (ToolCommon::isStandardInput(path)) {
        QByteArray document;
        QString error;
        if (!ToolCommon::readInput(path, &document, &error)) {
            *exitCode = ToolCommon::inputError(args, error);
            return nullptr;
        }
        result.reset(openDocumentData(viewer.major, viewer.minor, viewer.patch, password,
                                      std::move(document), QStringLiteral("stdin")));
    } else {
        // The decoder cannot tell a missing file from a wrong password; the user can.
        const QFileInfo file(path);
        if (!file.isFile()) {
            *exitCode = ToolCommon::inputError(
                args, QStringLiteral("cannot read %1: %2")
                          .arg(path, file.exists() ? QStringLiteral("not a file")
                                                   : QStringLiteral("no such file")));
            return nullptr;
        }
        result.reset(openDocument(viewer.major, viewer.minor, viewer.patch, password, path,
                                  QStringLiteral("./tmp"), true));
    }
    if (result->code != OpenResult::Success || !result->files) {
        *exitCode = ToolCommon::fail(args, result->message,
                                     result->code == OpenResult::Success ? ToolCommon::exitFailure
                                                                         : result->code);
        return nullptr;
    }
    return result;
}

std::unique_ptr<OpenResult> ToolDocument::open(const QStringList& args, const QString& path,
                                               const QString& password, int* exitCode)
{
    return open(args, path, password, exitCode, ToolCommon::applicationVersion());
}

int ToolDocument::parse(QCommandLineParser& parser, const QStringList& args, QString* password,
                        QString* path)
{
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("The document; - reads it from standard input."),
                                 QStringLiteral("FILE.vardo"));
    const int parsed = ToolCommon::parseWithPassword(parser, args, password);
    if (parsed != ToolCommon::proceed)
        return parsed;
    if (parser.positionalArguments().size() != 1)
        return ToolCommon::usageError(args, QStringLiteral("need exactly one FILE.vardo"));
    *path = parser.positionalArguments().first();
    return ToolCommon::proceed;
}
