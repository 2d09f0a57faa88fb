#include "applicationversion.h"
#include "filecontent.h"
#include "packagebuilder.h"
#include "permissions.h"
#include "platform.h"
#include "updatesigning.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QtTest>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace {

QString appPath(const QString& relative)
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + relative;
}

QString libraryFile()
{
    return QStringLiteral("liba") +
           QString::fromLatin1(Platform::libraryPattern).remove(QLatin1Char('*'));
}

// The installed files an update may replace, by path under the application directory.
QMap<QString, QByteArray> installation()
{
    return {{QString::fromLatin1(Platform::viewerProgram), "old program"},
            {libraryFile(), "old library"},
            {QStringLiteral("documents/manual.lrxml"), "old manual"},
            {QStringLiteral("documents/faq.lrxml"), "old faq"},
            {QStringLiteral("config/config.ini"), "[proxy]\nip.address=old\n"}};
}

QByteArray libraryArchive(const QList<QPair<QString, QByteArray>>& entries)
{
    return PackageBuilder::archive(entries);
}

} // namespace

class TestBadPackage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanupTestCase();
    void brokenEntryKeepsTheInstallation_data();
    void brokenEntryKeepsTheInstallation();
    void libraryNameLeavingItsDirectory();
    void readOnlyInstallation_data();
    void readOnlyInstallation();
    void zeroFilledGiantEntry();
};

void TestBadPackage::init()
{
    for (const QString& dir : {QString(), QStringLiteral("config"), QStringLiteral("update"),
                               QStringLiteral("documents")})
        Permissions::setDirectoryWritable(appPath(dir), true);
    for (const QString& dir : {QStringLiteral("config"), QStringLiteral("update"),
                               QStringLiteral("documents"), QStringLiteral("log")})
        QDir(appPath(dir)).removeRecursively();
    const QMap<QString, QByteArray> files = installation();
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        QVERIFY(FileContent::write(appPath(it.key()), it.value()));
    QFile::remove(appPath(QStringLiteral("x.dll")));
}

void TestBadPackage::cleanupTestCase()
{
    init();
    for (const QString& file : installation().keys())
        QFile::remove(appPath(file));
}

void TestBadPackage::brokenEntryKeepsTheInstallation_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QByteArray>("content");
    // A library archive that is no archive cannot be signed file by file: the package
    // is refused as a whole before anything is applied.
    QTest::addColumn<bool>("refusedWhole");

    QTest::newRow("empty program") << "kvApplication" << QByteArray() << false;
    QTest::newRow("empty library archive") << "kvLibrary" << QByteArray() << true;
    QTest::newRow("empty library in the archive")
        << "kvLibrary" << libraryArchive({{libraryFile(), QByteArray()}}) << false;
    QTest::newRow("empty manual") << "kvManual" << QByteArray() << false;
    QTest::newRow("empty FAQ") << "kvFAQ" << QByteArray() << false;
    QTest::newRow("empty settings") << "kvConfig" << QByteArray() << false;
}

// An entry that cannot be a component is refused: every installed file stays as it
// was, its component keeps the version it had, and the updater is told why.
void TestBadPackage::brokenEntryKeepsTheInstallation()
{
    QFETCH(QString, entry);
    QFETCH(QByteArray, content);
    QFETCH(bool, refusedWhole);

    ApplicationVersion versions;
    const QString before = versions.getValue(entry);
    PackageBuilder package;
    package.add(QStringLiteral("header.xml"),
                PackageBuilder::header({{entry, QStringLiteral("9.9.9")}}));
    package.add(entry, content);
    QVERIFY(package.writeTo(versions.updateFilename()));

    QSignalSpy failed(&versions, &ApplicationVersion::singleFileUpdateFailed);
    QSignalSpy refused(&versions, &ApplicationVersion::updatePackageRefused);
    versions.applyUpdate();

    QCOMPARE(refused.count(), refusedWhole ? 1 : 0);
    QCOMPARE(failed.count(), refusedWhole ? 0 : 1);
    if (!refusedWhole) {
        QCOMPARE(failed.first().at(0).toInt(), 1);
        QVERIFY(!failed.first().at(2).toString().isEmpty());
    }
    QCOMPARE(versions.getValue(entry), before);
    QCOMPARE(ApplicationVersion().getValue(entry), before);
    const QMap<QString, QByteArray> files = installation();
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        QCOMPARE(FileContent::read(appPath(it.key())), it.value());
}

// A library named "../x.dll" in kvLibrary.zip is never written outside the update's
// own library directory, and the libraries beside it are still installed.
void TestBadPackage::libraryNameLeavingItsDirectory()
{
    ApplicationVersion versions;
    PackageBuilder package;
    package.add(QStringLiteral("header.xml"),
                PackageBuilder::header({{QStringLiteral("kvLibrary"), QStringLiteral("9.9.9")}}));
    package.add(QStringLiteral("kvLibrary"),
                libraryArchive({{QStringLiteral("../x.dll"), "escaped"},
                                {QStringLiteral("..\\x.dll"), "escaped"},
                                {libraryFile(), "new library"}}));
    QVERIFY(package.writeTo(versions.updateFilename()));

    QSignalSpy failed(&versions, &ApplicationVersion::singleFileUpdateFailed);
    versions.applyUpdate();

    QCOMPARE(failed.count(), 0);
    QCOMPARE(FileContent::read(appPath(libraryFile())), QByteArray("new library"));
    QCOMPARE(versions.getValue(QStringLiteral("kvLibrary")), QStringLiteral("9.9.9"));
    QDirIterator files(QCoreApplication::applicationDirPath(), {QStringLiteral("*x.dll")},
                       QDir::Files, QDirIterator::Subdirectories);
    QVERIFY2(!files.hasNext(), qPrintable(files.hasNext() ? files.next() : QString()));
}

void TestBadPackage::readOnlyInstallation_data()
{
    // Directories under the application directory made read-only ("" is itself).
    QTest::addColumn<QStringList>("readOnly");
    QTest::addColumn<QStringList>("failing");

    const QStringList all = {QStringLiteral("kvApplication"), QStringLiteral("kvLibrary"),
                             QStringLiteral("kvManual"), QStringLiteral("kvFAQ"),
                             QStringLiteral("kvConfig")};
    // Not even the header can be unpacked, so the versions cannot move.
    QTest::newRow("everything read-only")
        << QStringList{QString(), QStringLiteral("config"), QStringLiteral("documents"),
                       QStringLiteral("update")}
        << QStringList{QStringLiteral("header.xml")} + all;
    // The update directory alone can be written: the program must not wait for ever
    // for a file it can never replace.
    QTest::newRow("program directory read-only")
        << QStringList{QString()}
        << QStringList{QStringLiteral("kvApplication"), QStringLiteral("kvLibrary")};
}

// An update into an installation the user may not change fails component by component
// without waiting, says so, and leaves every file and version as it was.
void TestBadPackage::readOnlyInstallation()
{
    QFETCH(QStringList, readOnly);
    QFETCH(QStringList, failing);
    QString why;
    if (!Permissions::obeyFilePermissions(&why))
        QSKIP(qPrintable(why));

    const QStringList keys = {QStringLiteral("kvApplication"), QStringLiteral("kvLibrary"),
                              QStringLiteral("kvManual"), QStringLiteral("kvFAQ"),
                              QStringLiteral("kvConfig")};
    QMap<QString, QString> before;
    QList<QPair<QString, QString>> header;
    for (const QString& key : keys) {
        before.insert(key, ApplicationVersion().getValue(key));
        header.append({key, QStringLiteral("9.9.9")});
    }
    PackageBuilder package;
    package.add(QStringLiteral("header.xml"), PackageBuilder::header(header));
    package.add(QStringLiteral("kvApplication"), "new program");
    package.add(QStringLiteral("kvLibrary"), libraryArchive({{libraryFile(), "new library"}}));
    package.add(QStringLiteral("kvManual"), "new manual");
    package.add(QStringLiteral("kvFAQ"), "new faq");
    package.add(QStringLiteral("kvConfig"), "[proxy]\nip.address=new\n");
    QVERIFY(package.writeTo(ApplicationVersion().updateFilename()));
    for (const QString& dir : readOnly)
        QVERIFY(Permissions::setDirectoryWritable(appPath(dir), false));

    ApplicationVersion versions;
    QSignalSpy failed(&versions, &ApplicationVersion::singleFileUpdateFailed);
    versions.applyUpdate();
    for (const QString& dir : readOnly)
        Permissions::setDirectoryWritable(appPath(dir), true);

    QStringList failedCategories;
    for (const QList<QVariant>& failure : failed)
        failedCategories << failure.at(1).toString();
    QStringList expected;
    for (const QString& key : failing)
        expected << ApplicationVersion::getFileCategory(key);
    QCOMPARE(failedCategories, expected);

    const QMap<QString, QString> files = {
        {QStringLiteral("kvApplication"), QString::fromLatin1(Platform::viewerProgram)},
        {QStringLiteral("kvLibrary"), libraryFile()}};
    const QMap<QString, QByteArray> installed = installation();
    ApplicationVersion stored;
    for (const QString& key : failing) {
        if (!keys.contains(key))
            continue;
        QCOMPARE(stored.getValue(key), before.value(key));
        if (files.contains(key))
            QCOMPARE(FileContent::read(appPath(files.value(key))),
                     installed.value(files.value(key)));
    }
    if (readOnly.contains(QStringLiteral("documents"))) {
        QCOMPARE(FileContent::read(appPath(QStringLiteral("documents/manual.lrxml"))),
                 QByteArray("old manual"));
        QCOMPARE(FileContent::read(appPath(QStringLiteral("config/config.ini"))),
                 installed.value(QStringLiteral("config/config.ini")));
    }
}

// A 3 GiB entry of zeros packs into a few megabytes. It is over the size a package
// entry may have, so the whole package is refused before anything is written: no
// truncated file is installed and reported as applied.
void TestBadPackage::zeroFilledGiantEntry()
{
    const qint64 size = qint64(3) << 30;
    const QByteArray zeros(1 << 20, '\0');
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (qint64 written = 0; written < size; written += zeros.size())
        hash.addData(zeros);
    const QByteArray header =
        PackageBuilder::header({{QStringLiteral("kvManual"), QStringLiteral("9.9.9")}});
    const QByteArray manifest =
        hash.result().toHex() + "  kvManual\n" +
        QCryptographicHash::hash(header, QCryptographicHash::Sha256).toHex() + "  header.xml\n";

    ApplicationVersion versions;
    QDir().mkpath(versions.updateDirname());
    QuaZip zip(versions.updateFilename());
    QVERIFY(zip.open(QuaZip::mdCreate));
    QuaZipFile entry(&zip);
    QVERIFY(entry.open(QIODevice::WriteOnly, QuaZipNewInfo(QStringLiteral("kvManual")), nullptr, 0,
                       Z_DEFLATED, 1));
    for (qint64 written = 0; written < size; written += zeros.size())
        QCOMPARE(entry.write(zeros), qint64(zeros.size()));
    entry.close();
    const QList<QPair<QString, QByteArray>> rest = {
        {QStringLiteral("header.xml"), header},
        {QStringLiteral("manifest.txt"), manifest},
        {QStringLiteral("manifest.txt.minisig"),
         UpdateSigning::sign(manifest, PackageBuilder::testSecretKey(), QStringLiteral("giant"))}};
    for (const auto& item : rest) {
        QuaZipFile file(&zip);
        QVERIFY(file.open(QIODevice::WriteOnly, QuaZipNewInfo(item.first)));
        file.write(item.second);
        file.close();
    }
    zip.close();
    QVERIFY(QFileInfo(versions.updateFilename()).size() < (qint64(32) << 20));

    QSignalSpy applied(&versions, &ApplicationVersion::singleFileUpdateFinished);
    QSignalSpy refused(&versions, &ApplicationVersion::updatePackageRefused);
    versions.applyUpdate();
    QCOMPARE(applied.count(), 0);
    QCOMPARE(refused.count(), 1);
    QVERIFY(refused.first().first().toString().contains(QStringLiteral("batas ukuran")));
    QCOMPARE(FileContent::read(appPath(QStringLiteral("documents/manual.lrxml"))),
             QByteArray("old manual"));
    QCOMPARE(versions.getValue(QStringLiteral("kvManual")), QStringLiteral("1.0.0"));
    QVERIFY(!QFileInfo::exists(versions.updateFilename()));
    QVERIFY(!QFileInfo::exists(appPath(QStringLiteral("update/manual.lrxml"))));
}

QTEST_MAIN(TestBadPackage)
#include "tst_badpackage.moc"
