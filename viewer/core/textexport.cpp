#include "textexport.h"

#include "datasetjson.h"
#include "exportfilenames.h"
#include "openresult.h"
#include "subjectrecords.h"
#include "tavids.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace {

// The document as the export writer reads it: the writer takes the facility lists from
// the data sources, which can then prepare them in place as their only holder.
QVariantMap withoutFacilityLists(QVariantMap document)
{
    const QString key = SubjectRecords::subjectKey(document);
    if (!document.contains(key))
        return document;
    QVariantMap subject = document.take(key).toMap();
    subject.remove(QStringLiteral("facility"));
    document.insert(key, subject);
    return document;
}

} // namespace

QMap<QString, QString> TextExport::targetPaths(const OpenResult& document, const QString& directory)
{
    return document.files ? targetPaths(document.files->keys(), directory)
                          : QMap<QString, QString>();
}

QMap<QString, QString> TextExport::targetPaths(const QStringList& entries, const QString& directory)
{
    QMap<QString, QString> paths;
    const QDir dir(directory);
    const QMap<QString, QString> names =
        ExportFileNames::forEntries(entries, ExportFileNames::text());
    for (auto it = names.cbegin(); it != names.cend(); ++it)
        paths.insert(it.key(), dir.filePath(it.value()));
    return paths;
}

TextExport::Result TextExport::exportAll(const OpenResult& document, const QString& directory)
{
    return exportAll(document.files ? *document.files : QMap<QString, QByteArray>(), directory);
}

TextExport::Result TextExport::exportAll(QMap<QString, QByteArray> files, const QString& directory)
{
    Result result;
    if (!QFileInfo(directory).isDir()) {
        result.failures.append({directory, QStringLiteral("Direktori tidak ditemukan")});
        return result;
    }
    const QMap<QString, QString> paths = targetPaths(files.keys(), directory);
    for (auto it = paths.cbegin(); it != paths.cend(); ++it) {
        const QString& path = it.value();
        QVariantMap map = DataSetJson::parse(files.take(it.key()));
        const QVariantMap written = withoutFacilityLists(map);
        TAVIDs tavids;
        tavids.fillDataSets(std::move(map), true);
        QString error;
        if (tavids.writeExportFile(written, path, &error))
            result.written.append(path);
        else
            result.failures.append({path, error});
    }
    return result;
}
