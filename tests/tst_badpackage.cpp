#include "applicationversion.h"
#include "filecontent.h"
#include "packagebuilder.h"
#include "platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QtTest>

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
    PackageBuilder archive;
    for (const auto& entry : entries)
        archive.add(entry.first, entry.second);
    return archive.zip();
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
};

void TestBadPackage::init()
{
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

    QTest::newRow("empty program") << "kvApplication" << QByteArray();
    QTest::newRow("empty library archive") << "kvLibrary" << QByteArray();
    QTest::newRow("empty library in the archive")
        << "kvLibrary" << libraryArchive({{libraryFile(), QByteArray()}});
    QTest::newRow("empty manual") << "kvManual" << QByteArray();
    QTest::newRow("empty FAQ") << "kvFAQ" << QByteArray();
    QTest::newRow("empty settings") << "kvConfig" << QByteArray();
}

// An entry that cannot be a component is refused: every installed file stays as it
// was, its component keeps the version it had, and the updater is told why.
void TestBadPackage::brokenEntryKeepsTheInstallation()
{
    QFETCH(QString, entry);
    QFETCH(QByteArray, content);

    ApplicationVersion versions;
    const QString before = versions.getValue(entry);
    PackageBuilder package;
    package.add(QStringLiteral("header.xml"),
                PackageBuilder::header({{entry, QStringLiteral("9.9.9")}}));
    package.add(entry, content);
    QVERIFY(package.writeTo(versions.updateFilename()));

    QSignalSpy failed(&versions, &ApplicationVersion::singleFileUpdateFailed);
    versions.applyUpdate();

    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.first().at(0).toInt(), 1);
    QVERIFY(!failed.first().at(2).toString().isEmpty());
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

QTEST_MAIN(TestBadPackage)
#include "tst_badpackage.moc"
