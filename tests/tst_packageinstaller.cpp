// The installer on its own: an entry reaches its place only when it is the file the
// signed manifest names, whole and within its size.

#include "filecontent.h"
#include "packagebuilder.h"
#include "packageinstaller.h"
#include "versionregistry.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QtTest>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace {

QString appPath(const QString& relative)
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + relative;
}

QByteArray sha256(const QByteArray& content)
{
    return QCryptographicHash::hash(content, QCryptographicHash::Sha256);
}

} // namespace

class TestPackageInstaller : public QObject
{
    Q_OBJECT

    // Opens the one entry of a package held in memory, as the updater reads it.
    static void openFirstEntry(QuaZip* zip, QuaZipFile* file)
    {
        QVERIFY(zip->open(QuaZip::mdUnzip));
        QVERIFY(zip->goToFirstFile());
        QVERIFY(file->open(QIODevice::ReadOnly));
    }

private slots:
    void init()
    {
        for (const QString& dir :
             {QStringLiteral("update"), QStringLiteral("documents"), QStringLiteral("config")})
            QDir(appPath(dir)).removeRecursively();
        QVERIFY(
            FileContent::write(appPath(QStringLiteral("documents/manual.lrxml")), "old manual"));
    }

    void cleanupTestCase() { init(); }

    void entry_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("signedHash");
        QTest::addColumn<qint64>("cap");
        QTest::addColumn<QString>("failure");
        const QByteArray manual = "new manual";
        QTest::newRow("the signed file")
            << manual << sha256(manual) << qint64(1 << 20) << QString();
        QTest::newRow("another file than the signed one")
            << manual << sha256("new manuaL") << qint64(1 << 20)
            << "is not the file that was signed";
        QTest::newRow("not in the manifest")
            << manual << QByteArray() << qint64(1 << 20) << "is not in the signed manifest";
        QTest::newRow("over the entry cap")
            << manual << sha256(manual) << qint64(4) << "is larger than 4 bytes";
    }

    // The entry is checked as it streams to its temporary file; only a good one is
    // renamed into place and installed, and the installed file stays otherwise.
    void entry()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, signedHash);
        QFETCH(qint64, cap);
        QFETCH(QString, failure);
        QByteArray archive = PackageBuilder::archive({{QStringLiteral("kvManual"), content}});
        QBuffer buffer(&archive);
        QuaZip zip(&buffer);
        QuaZipFile file(&zip);
        openFirstEntry(&zip, &file);
        if (QTest::currentTestFailed())
            return;

        VersionRegistry registry(appPath(QStringLiteral("config/version.cfg")));
        registry.load();
        PackageInstaller installer(registry, appPath(QStringLiteral("update")), [] {});
        PackageVerifier::Result verified;
        verified.outcome = PackageVerifier::Accepted;
        if (!signedHash.isEmpty())
            verified.manifest = {{QStringLiteral("kvManual"), signedHash}};
        PackageLimits limits;
        limits.entry = cap;
        installer.begin(verified, limits);

        QString reason;
        QVERIFY(installer.install(QStringLiteral("kvManual"), file, &reason));
        QVERIFY2(failure.isEmpty() ? reason.isEmpty() : reason.contains(failure),
                 qPrintable(reason));
        QCOMPARE(FileContent::read(appPath(QStringLiteral("documents/manual.lrxml"))),
                 failure.isEmpty() ? content : QByteArray("old manual"));
        QCOMPARE(QFileInfo::exists(appPath(QStringLiteral("update/manual.lrxml"))),
                 failure.isEmpty());
    }

    void unknownEntry()
    {
        QByteArray archive = PackageBuilder::archive({{QStringLiteral("kvOther"), "?"}});
        QBuffer buffer(&archive);
        QuaZip zip(&buffer);
        QuaZipFile file(&zip);
        openFirstEntry(&zip, &file);
        if (QTest::currentTestFailed())
            return;
        VersionRegistry registry(appPath(QStringLiteral("config/version.cfg")));
        PackageInstaller installer(registry, appPath(QStringLiteral("update")), [] {});
        QString reason;
        QVERIFY(!installer.install(QStringLiteral("kvOther"), file, &reason));
        QVERIFY(!QFileInfo::exists(appPath(QStringLiteral("update/kvOther"))));
    }
};

QTEST_GUILESS_MAIN(TestPackageInstaller)
#include "tst_packageinstaller.moc"
