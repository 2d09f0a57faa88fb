// The version header of an update package: applied to the version registry, which
// must stay readable whatever the header held, because the viewer takes its own
// version from it before it opens any document.
#include "applicationversion.h"
#include "crypto.h"
#include "documentencoder.h"
#include "fuzzsupport.h"
#include "packageinstaller.h"
#include "versionregistry.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QCryptographicHash>
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
    const QByteArray header = FuzzSupport::bytes(data, size);
    QByteArray package = DocumentEncoder::zipArchive({{QStringLiteral("header.xml"), header}}, 0);
    QBuffer buffer(&package);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdUnzip) || !zip.goToFirstFile())
        std::abort();
    QuaZipFile entry(&zip);
    entry.open(QIODevice::ReadOnly);

    // Installed as the header of a package whose signed manifest lists it, which is
    // the only way a header reaches the registry.
    const QString versionFile = ApplicationVersion().configFilename();
    VersionRegistry registry(versionFile);
    registry.load();
    PackageVerifier::Result verified;
    verified.outcome = PackageVerifier::Accepted;
    verified.manifest = {{QStringLiteral("header.xml"),
                          QCryptographicHash::hash(header, QCryptographicHash::Sha256)}};
    PackageInstaller installer(
        registry, QCoreApplication::applicationDirPath() + QStringLiteral("/update"), [] {});
    installer.begin(verified, PackageLimits());
    installer.install(QStringLiteral("header.xml"), entry, nullptr);

    QFile file(versionFile);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    const QString stored = crypto.decryptToString(QString::fromUtf8(file.readAll()));
    if (!QJsonDocument::fromJson(stored.toUtf8()).isObject())
        std::abort();
    // Start from the same registry every time, so that one input cannot steer the next.
    QFile::remove(versionFile);
    return 0;
}
