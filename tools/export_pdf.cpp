#include "export_pdf.h"

#include "exportfilenames.h"
#include "openresult.h"
#include "reportpopulation.h"
#include "tavids.h"
#include "toolcommon.h"

#include <LimeReport>

#include <QDir>
#include <QTextStream>

int exportPdf(const QStringList& args, const OpenResult& document, const QString& directory)
{
    if (!document.files)
        return 0;
    const QDir dir(directory);
    const QMap<QString, QString> names =
        ExportFileNames::forEntries(document.files->keys(), ExportFileNames::pdf());
    int exitCode = 0;
    for (auto it = document.files->cbegin(); it != document.files->cend(); ++it) {
        const QString path = dir.filePath(names.value(it.key()));
        // One engine per data set, as each report view has its own.
        LimeReport::ReportEngine engine;
        TAVIDs dataSources;
        if (!populateDesignAndData(&engine, it.value(), &dataSources)) {
            exitCode = ToolCommon::fail(args, path + QStringLiteral(": ") + engine.lastError());
            continue;
        }
        if (!engine.printToPDF(path)) {
            exitCode = ToolCommon::fail(args, path + QStringLiteral(": cannot write: ") +
                                                  engine.lastError());
            continue;
        }
        ToolCommon::out() << path << "\n";
        ToolCommon::out().flush();
    }
    return exitCode;
}
