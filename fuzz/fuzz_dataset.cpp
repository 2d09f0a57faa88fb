// One data set's JSON as a document carries it: filled into the data sources, shown
// through the debtor report templates, and written as the text export.
#include "fuzzsupport.h"
#include "reportpopulation.h"
#include "tavids.h"

#include <LimeReport>

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cstdlib>

namespace {
QTemporaryDir* exportDir = nullptr;
}

// Outside any namespace: the resource initialiser is declared where it is used.
static void loadTemplates()
{
    Q_INIT_RESOURCE(reports);
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzSupport::initialise(argc, argv, FuzzSupport::App::Gui);
    loadTemplates();
    exportDir = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray json = FuzzSupport::bytes(data, size);
    {
        LimeReport::ReportEngine engine;
        TAVIDs sources;
        if (populateDesignAndData(&engine, json, &sources))
            engine.renderPages();
    }

    const QVariantMap document = QJsonDocument::fromJson(json).object().toVariantMap();
    TAVIDs exporter;
    exporter.fillDataSets(document, true);
    const QString path = exportDir->filePath(QStringLiteral("export.txt"));
    QString error;
    if (!exporter.writeExportFile(document, path, &error))
        std::abort();
    // Whatever the document held, the export must stay one readable JSON object.
    QFile written(path);
    if (!written.open(QIODevice::ReadOnly) ||
        !QJsonDocument::fromJson(written.readAll()).isObject())
        std::abort();
    return 0;
}
