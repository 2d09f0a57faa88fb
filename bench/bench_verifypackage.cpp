// How long the check of a signed update package takes: a plain program, run as
// bench_verifypackage [MEGABYTES] [RUNS]. It writes a package of that size (a program
// entry of incompressible bytes, a library archive and the header), signed with the
// test key, and prints the time of each check and the throughput.

#include "packageverifier.h"
#include "updatemanifest.h"
#include "updatesigning.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace {

QByteArray zipOf(const QList<QPair<QString, QByteArray>>& entries)
{
    QBuffer buffer;
    QuaZip zip(&buffer);
    zip.open(QuaZip::mdCreate);
    for (const auto& entry : entries) {
        QuaZipFile file(&zip);
        file.open(QIODevice::WriteOnly, QuaZipNewInfo(entry.first));
        file.write(entry.second);
        file.close();
    }
    zip.close();
    return buffer.data();
}

QByteArray randomBytes(qint64 size)
{
    QByteArray bytes(int(size), Qt::Uninitialized);
    QRandomGenerator generator(42);
    generator.fillRange(reinterpret_cast<quint32*>(bytes.data()), int(size / 4));
    return bytes;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 50;
    const int runs = argc > 2 ? QByteArray(argv[2]).toInt() : 5;

    const QByteArray header = "<updateHeader><components><component><key>kvApplication</key>"
                              "<version>1.0.11</version></component></components></updateHeader>";
    const QList<QPair<QString, QByteArray>> entries = {
        {QStringLiteral("kvApplication"), randomBytes((megabytes << 20) - (4 << 20))},
        {QStringLiteral("kvLibrary"),
         zipOf({{QStringLiteral("tavi-viewer.dll"), randomBytes(4 << 20)}})},
        {QStringLiteral("header.xml"), header}};
    QString error;
    const QByteArray manifest = UpdateSigning::manifestFor(entries, &error);
    const QByteArray signature = UpdateSigning::sign(
        manifest, QStringLiteral(BENCH_KEY_DIR "/test.key"), QStringLiteral("bench"), &error);
    if (signature.isEmpty()) {
        out << "cannot sign: " << error << "\n";
        return 1;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.kvu"));
    QFile file(path);
    QList<QPair<QString, QByteArray>> all = entries;
    all.append({UpdateManifest::fileName, manifest});
    all.append({UpdateManifest::signatureName, signature});
    if (!file.open(QIODevice::WriteOnly) || file.write(zipOf(all)) < 0)
        return 1;
    file.close();

    QFile keyFile(QStringLiteral(BENCH_KEY_DIR "/test.pub"));
    keyFile.open(QIODevice::ReadOnly);
    const PackageVerifier verifier(QString::fromLatin1(keyFile.readAll().split('\n').value(1)));
    const double size = double(QFile(path).size()) / (1 << 20);
    out << "package " << QString::number(size, 'f', 1) << " MiB, " << runs << " checks\n";
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        const PackageVerifier::Result result = verifier.verify(path, {});
        const qint64 elapsed = clock.elapsed();
        out << "check " << run + 1 << ": " << elapsed << " ms, "
            << QString::number(size * 1000.0 / qMax<qint64>(elapsed, 1), 'f', 0) << " MiB/s"
            << (result.accepted() ? "" : " (refused: " + result.detail + ")") << "\n";
        out.flush();
    }
    return 0;
}
