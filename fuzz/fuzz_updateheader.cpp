// The version header of an update package: applied to the version registry, which
// must stay readable whatever the header held, because the viewer takes its own
// version from it before it opens any document.
#include "applicationversion.h"
#include "crypto.h"
#include "documentencoder.h"
#include "fuzzsupport.h"

#include <QBuffer>
#include <QFile>
#include <QJsonDocument>

#include <quazip.h>
#include <quazipfile.h>

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzSupport::initialise(argc, argv, FuzzSupport::App::Core);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray package = DocumentEncoder::zipArchive(
        {{QStringLiteral("header.xml"), FuzzSupport::bytes(data, size)}}, 0);
    QBuffer buffer(&package);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdUnzip) || !zip.goToFirstFile())
        std::abort();
    QuaZipFile entry(&zip);
    entry.open(QIODevice::ReadOnly);

    ApplicationVersion registry;
    registry.extractFile(QStringLiteral("header.xml"), entry);
    entry.close();

    QFile file(registry.configFilename());
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    const QString stored = crypto.decryptToString(QString::fromUtf8(file.readAll()));
    if (!QJsonDocument::fromJson(stored.toUtf8()).isObject())
        std::abort();
    // Start from the same registry every time, so that one input cannot steer the next.
    QFile::remove(registry.configFilename());
    return 0;
}
