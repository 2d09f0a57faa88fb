#include "tooldocument.h"

#include "documentdecoder.h"
#include "documentformat.h"
#include "toolcommon.h"

#include <QCommandLineParser>

std::unique_ptr<OpenResult> ToolDocument::open(const QStringList& args, const QString& path,
                                               const QString& password, int* exitCode)
{
    const VersionTriple viewer = DocumentFormat::versionFromText(ToolCommon::applicationVersion());
    std::unique_ptr<OpenResult> result(openDocument(viewer.major, viewer.minor, viewer.patch,
                                                    password, path, QStringLiteral("./tmp"), true));
    if (result->code != OpenResult::Success || !result->files) {
        *exitCode = ToolCommon::fail(args, result->message,
                                     result->code == OpenResult::Success ? ToolCommon::exitFailure
                                                                         : result->code);
        return nullptr;
    }
    return result;
}

int ToolDocument::parse(QCommandLineParser& parser, const QStringList& args, QString* password,
                        QString* path)
{
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The document."),
                                 QStringLiteral("FILE.vardo"));
    const int parsed = ToolCommon::parseWithPassword(parser, args, password);
    if (parsed != ToolCommon::proceed)
        return parsed;
    if (parser.positionalArguments().size() != 1)
        return ToolCommon::usageError(args, QStringLiteral("need exactly one FILE.vardo"));
    *path = parser.positionalArguments().first();
    return ToolCommon::proceed;
}
