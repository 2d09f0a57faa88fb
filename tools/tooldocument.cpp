#include "tooldocument.h"

#include "documentdecoder.h"
#include "documentformat.h"
#include "toolcommon.h"

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
