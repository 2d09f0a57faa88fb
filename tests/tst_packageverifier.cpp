// The check that decides whether an update package may be installed, on packages
// signed by this project's tools and by the release signing tool itself.

#include "filecontent.h"
#include "packagebuilder.h"
#include "packageverifier.h"
#include "updatemanifest.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Versions = QList<QPair<QString, QString>>;

QString fixture(const QString& name)
{
    return QStringLiteral(TEST_FIXTURES "/update/") + name;
}

QString publicKey(const QString& name)
{
    return QString::fromLatin1(FileContent::read(fixture(name)).split('\n').value(1));
}

PackageBuilder basicPackage(const QString& version = QStringLiteral("1.0.11"))
{
    PackageBuilder package;
    package.add(QStringLiteral("kvApplication"), "new program")
        .add(QStringLiteral("kvLibrary"),
             PackageBuilder::archive({{QStringLiteral("liba.dll"), "new library"}}))
        .add(QStringLiteral("kvManual"), "new manual")
        .add(QStringLiteral("header.xml"),
             PackageBuilder::header({{QStringLiteral("kvApplication"), version},
                                     {QStringLiteral("kvLibrary"), QStringLiteral("1.0.4")}}));
    return package;
}

const QMap<QString, QString> installed = {
    {QStringLiteral("kvApplication"), QStringLiteral("1.0.10")},
    {QStringLiteral("kvLibrary"), QStringLiteral("1.0.3")}};

} // namespace

Q_DECLARE_METATYPE(PackageVerifier::Outcome)

class TestPackageVerifier : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    // Signs `manifest` with the release tool; `legacy` asks for the older form that
    // signs the file itself rather than its hash.
    QByteArray toolSignature(const QByteArray& manifest, bool legacy)
    {
        const QString path = dir.filePath(QStringLiteral("manifest.txt"));
        QFile::remove(path + QStringLiteral(".minisig"));
        if (!FileContent::write(path, manifest))
            return QByteArray();
        QStringList args = {QStringLiteral("-S"),
                            QStringLiteral("-s"),
                            fixture(QStringLiteral("test.key")),
                            QStringLiteral("-m"),
                            path,
                            QStringLiteral("-t"),
                            QStringLiteral("release 1.0.11")};
        if (legacy)
            args << QStringLiteral("-l");
        QProcess tool;
        tool.start(QStringLiteral("minisign"), args);
        if (!tool.waitForFinished(30000) || tool.exitCode() != 0)
            return QByteArray();
        return FileContent::read(path + QStringLiteral(".minisig"));
    }

    QByteArray signedByTool(bool legacy)
    {
        PackageBuilder package = basicPackage();
        const QByteArray manifest = package.manifest();
        const QByteArray signature = toolSignature(manifest, legacy);
        if (signature.isEmpty())
            return QByteArray();
        return package.withoutSignature()
            .add(UpdateManifest::fileName, manifest)
            .add(UpdateManifest::signatureName, signature)
            .zip();
    }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void packages_data()
    {
        QTest::addColumn<QByteArray>("package");
        QTest::addColumn<QString>("key");
        QTest::addColumn<PackageVerifier::Outcome>("outcome");
        QTest::addColumn<QString>("detail");

        const QString test = publicKey(QStringLiteral("test.pub"));
        const QByteArray good = basicPackage().zip();
        QTest::newRow("signed package") << good << test << PackageVerifier::Accepted << QString();
        QTest::newRow("signed by the release tool")
            << signedByTool(false) << test << PackageVerifier::Accepted << QString();
        QTest::newRow("signed by the release tool, legacy form")
            << signedByTool(true) << test << PackageVerifier::Accepted << QString();
        QTest::newRow("same versions as installed")
            << basicPackage(QStringLiteral("1.0.10")).zip() << test << PackageVerifier::Accepted
            << QString();

        QTest::newRow("one byte of an entry changed")
            << basicPackage().signNow().replace(QStringLiteral("kvManual"), "new manuaL").zip()
            << test << PackageVerifier::NotAuthentic << "kvManual is not the file that was signed";
        QTest::newRow("entry added after signing")
            << basicPackage().signNow().add(QStringLiteral("kvConfig"), "[proxy]\n").zip() << test
            << PackageVerifier::NotAuthentic << "kvConfig is not in the manifest";
        QTest::newRow("listed entry missing")
            << basicPackage().signNow().remove(QStringLiteral("kvManual")).zip() << test
            << PackageVerifier::NotAuthentic << "kvManual is listed but missing";
        QTest::newRow("manifest changed after signing")
            << basicPackage()
                   .setManifest(basicPackage().manifest().replace("kvManual", "kvFAQ"))
                   .zip()
            << test << PackageVerifier::NotAuthentic << "signature does not match";
        QTest::newRow("signed by another key")
            << basicPackage().signNow(PackageBuilder::otherSecretKey()).zip() << test
            << PackageVerifier::NotAuthentic << "signed with another key";
        QTest::newRow("no signature") << basicPackage().withoutSignature().zip() << test
                                      << PackageVerifier::NotAuthentic << "no signed manifest";
        QTest::newRow("empty trusted key")
            << good << QString() << PackageVerifier::NotAuthentic << "no trusted key";
        QTest::newRow("not a zip archive") << QByteArray("PK\x03\x04 but nothing after") << test
                                           << PackageVerifier::NotAuthentic << "not a zip archive";
        QTest::newRow("no header")
            << PackageBuilder().add(QStringLiteral("kvManual"), "new manual").zip() << test
            << PackageVerifier::NotAuthentic << "no header.xml";

        // The first byte of kvManual's data, after its local header (30 bytes, then
        // the name and the extra field, whose length is at offset 28).
        QByteArray damaged = good;
        const int name = damaged.indexOf("kvManual");
        const int extra = quint8(damaged.at(name - 2)) | quint8(damaged.at(name - 1)) << 8;
        damaged[name + 8 + extra] = char(damaged.at(name + 8 + extra) ^ 0x55);
        QTest::newRow("stored bytes damaged")
            << damaged << test << PackageVerifier::NotAuthentic << "kvManual";

        PackageBuilder unlisted = basicPackage();
        const QByteArray withoutLibraryLine = unlisted.manifest().replace(
            QByteArray("kvLibrary/liba.dll"), QByteArray("kvLibrary/libb.dll"));
        QTest::newRow("library not named in the manifest")
            << unlisted.withoutSignature()
                   .add(UpdateManifest::fileName, withoutLibraryLine)
                   .add(UpdateManifest::signatureName, toolSignature(withoutLibraryLine, false))
                   .zip()
            << test << PackageVerifier::NotAuthentic << "liba.dll is not a library that was signed";
        QTest::newRow("downgrade") << basicPackage(QStringLiteral("1.0.9")).zip() << test
                                   << PackageVerifier::Refused << "lower than the installed 1.0.10";
        QTest::newRow("version part not a number")
            << basicPackage(QStringLiteral("1.0.x")).zip() << test << PackageVerifier::Refused
            << "not a version number";
    }

    // Each package is accepted or refused for the reason that it shows.
    void packages()
    {
        QFETCH(QByteArray, package);
        QFETCH(QString, key);
        QFETCH(PackageVerifier::Outcome, outcome);
        QFETCH(QString, detail);
        QVERIFY(!package.isEmpty());
        const QString path = dir.filePath(QStringLiteral("package.kvu"));
        QVERIFY(FileContent::write(path, package));

        const PackageVerifier::Result result = PackageVerifier(key).verify(path, installed);
        QVERIFY2(result.outcome == outcome, qPrintable(result.detail));
        QVERIFY2(result.detail.contains(detail), qPrintable(result.detail));
        if (outcome == PackageVerifier::Accepted)
            QCOMPARE(result.versions.value(0).second.isEmpty(), false);
        else
            QVERIFY(result.message().startsWith(QStringLiteral("Paket update tidak")));
    }

    // An entry over the cap is refused before any of it is read, by what the archive
    // says of it, and also when the archive claims less than the entry holds.
    void sizeLimits_data()
    {
        QTest::addColumn<qint64>("entryCap");
        QTest::addColumn<qint64>("packageCap");
        QTest::newRow("entry over its cap") << qint64(1000) << (qint64(1) << 30);
        QTest::newRow("package over its cap") << (qint64(1) << 30) << qint64(3000);
    }

    void sizeLimits()
    {
        QFETCH(qint64, entryCap);
        QFETCH(qint64, packageCap);
        const QString path = dir.filePath(QStringLiteral("large.kvu"));
        QVERIFY(basicPackage().add(QStringLiteral("kvFAQ"), QByteArray(2000, '\0')).writeTo(path));
        PackageLimits limits;
        limits.entry = entryCap;
        limits.package = packageCap;
        const PackageVerifier::Result result =
            PackageVerifier(publicKey(QStringLiteral("test.pub")), limits).verify(path, installed);
        QCOMPARE(result.outcome, PackageVerifier::Refused);
        QVERIFY(result.message().contains(QStringLiteral("batas ukuran")));
    }

    void versions_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("order");
        QTest::addColumn<bool>("ok");
        QTest::newRow("numeric, not textual") << "1.0.10"
                                              << "1.0.9" << 1 << true;
        QTest::newRow("equal") << "1.0.10"
                               << "1.0.10" << 0 << true;
        QTest::newRow("missing part is zero") << "1.2"
                                              << "1.2.0" << 0 << true;
        QTest::newRow("lower") << "1.0.3"
                               << "2.0.0" << -1 << true;
        QTest::newRow("letters") << "1.0.3a"
                                 << "1.0.3" << 0 << false;
        QTest::newRow("empty part") << "1..3"
                                    << "1.0.3" << 0 << false;
        QTest::newRow("sign") << "1.-1.3"
                              << "1.0.3" << 0 << false;
    }

    void versions()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, order);
        QFETCH(bool, ok);
        bool valid = !ok;
        QCOMPARE(PackageVerifier::compareVersions(a, b, &valid), order);
        QCOMPARE(valid, ok);
    }
};

QTEST_GUILESS_MAIN(TestPackageVerifier)
#include "tst_packageverifier.moc"
