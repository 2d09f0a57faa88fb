// One data set's JSON as a document carries it: filled into the report's data sources
// and written as the text export.
#include "fuzzsupport.h"
#include "tavids.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cstdlib>

namespace {
QTemporaryDir* exportDir = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzSupport::initialise(argc, argv, FuzzSupport::App::Core);
    exportDir = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray json = FuzzSupport::bytes(data, size);
    // Loading and rendering the debtor templates is left to the template fuzzer: under
    // the sanitizers it costs a second per input.
    const QVariantMap document = QJsonDocument::fromJson(json).object().toVariantMap();
    TAVIDs onScreen;
    onScreen.fillDataSets(document, false);

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
