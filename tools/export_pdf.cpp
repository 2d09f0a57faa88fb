#include "export_pdf.h"

#include "openresult.h"
#include "reportpopulation.h"
#include "tavids.h"
#include "toolcommon.h"

#include <LimeReport>

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

// Entry names come from the document's archive: only their last part names the file,
// so that directories or ".." in a name cannot write outside the chosen directory.
QString pdfFileName(const QString& entryName)
{
    const QString name =
        QFileInfo(QString(entryName).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return QString();
    return name + QStringLiteral(".pdf");
}

} // namespace

int exportPdf(const QStringList& args, const OpenResult& document, const QString& directory)
{
    if (!document.files)
        return 0;
    const QDir dir(directory);
    int exitCode = 0;
    for (auto it = document.files->cbegin(); it != document.files->cend(); ++it) {
        const QString fileName = pdfFileName(it.key());
        if (fileName.isEmpty()) {
            exitCode = ToolCommon::fail(args, it.key() + QStringLiteral(": no usable file name"));
            continue;
        }
        const QString path = dir.filePath(fileName);
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
