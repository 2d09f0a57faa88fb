#include "textexport.h"

#include "openresult.h"
#include "tavids.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

QString TextExport::outputFileName(const QString& entryName)
{
    // Entry names come from the document's archive; only their last part is used,
    // so that a name with directories or ".." cannot write outside the directory.
    QString name =
        QFileInfo(QString(entryName).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return QString();
    if (!name.endsWith(QLatin1String("txt")))
        name += QStringLiteral(".txt");
    return name;
}

TextExport::Result TextExport::exportAll(const OpenResult& document, const QString& directory)
{
    Result result;
    if (!QFileInfo(directory).isDir()) {
        result.failures.append({directory, QStringLiteral("Direktori tidak ditemukan")});
        return result;
    }
    if (!document.files)
        return result;
    const QDir dir(directory);
    for (auto it = document.files->cbegin(); it != document.files->cend(); ++it) {
        const QString fileName = outputFileName(it.key());
        if (fileName.isEmpty()) {
            result.failures.append({it.key(), QStringLiteral("Nama data tidak dapat dipakai")});
            continue;
        }
        const QString path = dir.filePath(fileName);
        const QVariantMap map = QJsonDocument::fromJson(it.value()).object().toVariantMap();
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
