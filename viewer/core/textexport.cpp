#include "textexport.h"

#include "datasetjson.h"
#include "exportfilenames.h"
#include "openresult.h"
#include "tavids.h"

#include <QDir>
#include <QFileInfo>

QMap<QString, QString> TextExport::targetPaths(const OpenResult& document, const QString& directory)
{
    QMap<QString, QString> paths;
    if (!document.files)
        return paths;
    const QDir dir(directory);
    const QMap<QString, QString> names =
        ExportFileNames::forEntries(document.files->keys(), ExportFileNames::text());
    for (auto it = names.cbegin(); it != names.cend(); ++it)
        paths.insert(it.key(), dir.filePath(it.value()));
    return paths;
}

TextExport::Result TextExport::exportAll(const OpenResult& document, const QString& directory)
{
    Result result;
    if (!QFileInfo(directory).isDir()) {
        result.failures.append({directory, QStringLiteral("Direktori tidak ditemukan")});
        return result;
    }
    const QMap<QString, QString> paths = targetPaths(document, directory);
    for (auto it = paths.cbegin(); it != paths.cend(); ++it) {
        const QString& path = it.value();
        const QVariantMap map = DataSetJson::parse(document.files->value(it.key()));
        TAVIDs tavids;
        tavids.fillDataSets(map, true);
        QString error;
        if (tavids.writeExportFile(map, path, &error))
            result.written.append(path);
        else
            result.failures.append({path, error});
    }
    return result;
}
