#include "applicationversion.h"
#include "common.h"
#include "crypto.h"
#include "filecontent.h"
#include "packagebuilder.h"
#include "platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QMutex>
#include <QProcess>
#include <QtTest>

#include <atomic>
#include <thread>

namespace {

using Versions = QList<QPair<QString, QString>>;

QString appDir()
{
    return QCoreApplication::applicationDirPath();
}

QString appPath(const QString& relative)
{
    return appDir() + QLatin1Char('/') + relative;
}

QString program()
{
    return QString::fromLatin1(Platform::viewerProgram);
}

// "liba" becomes the platform's library file name, so the library pattern finds it.
QString library(const QString& base)
{
    return base + QString::fromLatin1(Platform::libraryPattern).remove(QLatin1Char('*'));
}

QByteArray storedVersions(const ApplicationVersion& versions)
{
    return crypto.decryptToByteArray(
        QString::fromUtf8(FileContent::read(versions.configFilename())));
}

using Signals = QList<QPair<int, QString>>;

Signals received(const QSignalSpy& spy)
{
    Signals list;
    for (const QList<QVariant>& arguments : spy)
        list.append({arguments.at(0).toInt(), arguments.at(1).toString()});
    return list;
}

const Versions allNew = {{QStringLiteral("kvApplication"), QStringLiteral("1.0.11")},
                         {QStringLiteral("kvLibrary"), QStringLiteral("1.0.4")},
                         {QStringLiteral("kvManual"), QStringLiteral("1.1.0")},
                         {QStringLiteral("kvFAQ"), QStringLiteral("1.0.1")},
                         {QStringLiteral("kvConfig"), QStringLiteral("1.0.2")}};

} // namespace

class TestUpdatePackage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanupTestCase();
    void headerOnly();
    void applyAndRollBack();
    void entryList();
    void unknownEntryUsesUpPosition();
    void notAZip();
    void failedComponentKeepsItsVersion_data();
    void failedComponentKeepsItsVersion();
    void programWaitsForViewerToExit();
    void rollbackWaitsForRunningApply();
    void cleanUp();

private:
    void installOldFiles();
    QProcess* startBusyViewer();
};

void TestUpdatePackage::init()
{
    for (const QString& dir : {QStringLiteral("config"), QStringLiteral("update"),
                               QStringLiteral("documents"), QStringLiteral("log")})
        QDir(appPath(dir)).removeRecursively();
    QFile::remove(appPath(QStringLiteral("documents")));
    QFile::remove(appPath(program()));
    for (const QString& name :
         QDir(appDir(), QString::fromLatin1(Platform::libraryPattern)).entryList(QDir::Files))
        QFile::remove(appPath(name));
}

void TestUpdatePackage::cleanupTestCase()
{
    init();
}

void TestUpdatePackage::installOldFiles()
{
    QVERIFY(FileContent::write(appPath(program()), "old program"));
    QFile::setPermissions(appPath(program()),
                          QFile::permissions(appPath(program())) | QFile::ExeOwner);
    QVERIFY(FileContent::write(appPath(library(QStringLiteral("liba"))), "old a"));
    QVERIFY(FileContent::write(appPath(library(QStringLiteral("libkeep"))), "old keep"));
    QVERIFY(FileContent::write(appPath(QStringLiteral("documents/manual.lrxml")), "old manual"));
    QVERIFY(FileContent::write(appPath(QStringLiteral("documents/faq.lrxml")), "old faq"));
    QVERIFY(FileContent::write(appPath(QStringLiteral("config/config.ini")),
                               "[proxy]\nip.address=old\n"));
    QVERIFY(FileContent::write(appPath(QStringLiteral("config/other.ini")), "other"));
}

QProcess* TestUpdatePackage::startBusyViewer()
{
    // Any program of ours that keeps running will do as the viewer; the test server does.
    const QString viewer = appPath(program());
    QFile::remove(viewer);
    if (!QFile::copy(QStringLiteral(TEST_BIN_DIR "/vardo-test-updateserver"), viewer))
        return nullptr;
    QFile::setPermissions(viewer, QFile::permissions(viewer) | QFile::ExeOwner);
    auto* process = new QProcess(this);
    process->start(viewer, {QStringLiteral("--port"), QStringLiteral("0")});
    if (!process->waitForStarted(5000))
        return nullptr;
    return process;
}

void TestUpdatePackage::headerOnly()
{
    ApplicationVersion versions;
    const QByteArray header =
        PackageBuilder::header({{QStringLiteral("kvManual"), QStringLiteral("1.1.0")},
                                {QStringLiteral("kvFAQ"), QStringLiteral("1.0.5")}});
    QVERIFY(PackageBuilder()
                .add(QStringLiteral("header.xml"), header)
                .writeTo(versions.updateFilename()));
    const QStringList before = QDir(appDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    QSignalSpy applied(&versions, &ApplicationVersion::singleFileUpdateFinished);
    versions.applyUpdate();

    QCOMPARE(received(applied), (Signals{{0, QStringLiteral("Header")}}));
    QCOMPARE(versions.getValue(QStringLiteral("kvManual")), QStringLiteral("1.1.0"));
    QCOMPARE(versions.getValue(QStringLiteral("kvFAQ")), QStringLiteral("1.0.5"));
    QCOMPARE(versions.getValue(QStringLiteral("kvApplication")), QStringLiteral("1.0.10"));
    QCOMPARE(storedVersions(versions), versions.getJson());
    QCOMPARE(FileContent::read(appPath(QStringLiteral("update/header.xml"))), header);
    QCOMPARE(QDir(appDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QVERIFY(!QFileInfo::exists(appPath(QStringLiteral("update/backup"))));
}

void TestUpdatePackage::applyAndRollBack()
{
    installOldFiles();
    ApplicationVersion versions;
    const QByteArray originalVersions = versions.getJson();
    const QByteArray libraries =
        PackageBuilder()
            .add(library(QStringLiteral("liba")), "new a")
            .add(library(QStringLiteral("libnew")), "new library")
            .add(QStringLiteral("sub/") + library(QStringLiteral("libdeep")), "deep")
            .add(QStringLiteral("../") + library(QStringLiteral("libescape")), "escape")
            .add(QStringLiteral("readme.txt"), "not a library")
            .zip();
    QVERIFY(PackageBuilder()
                .add(QStringLiteral("kvApplication"), "new program")
                .add(QStringLiteral("kvLibrary"), libraries)
                .add(QStringLiteral("kvManual"), "new manual")
                .add(QStringLiteral("kvFAQ"), "new faq")
                .add(QStringLiteral("kvConfig"), "[proxy]\nip.address=new\n")
                .add(QStringLiteral("header.xml"), PackageBuilder::header(allNew))
                .writeTo(versions.updateFilename()));

    QSignalSpy applied(&versions, &ApplicationVersion::singleFileUpdateFinished);
    QSignalSpy failed(&versions, &ApplicationVersion::singleFileUpdateFailed);
    versions.applyUpdate();
    QCOMPARE(failed.count(), 0);
    const Signals expected = {{0, QStringLiteral("File Aplikasi")}, {1, QStringLiteral("Library")},
                              {2, QStringLiteral("Buku Manual")},   {3, QStringLiteral("FAQ")},
                              {4, QStringLiteral("Konfigurasi")},   {5, QStringLiteral("Header")}};
    QCOMPARE(received(applied), expected);

    QCOMPARE(FileContent::read(appPath(program())), QByteArray("new program"));
    QVERIFY(QFileInfo(appPath(program())).isExecutable());
    QCOMPARE(FileContent::read(appPath(library(QStringLiteral("liba")))), QByteArray("new a"));
    QCOMPARE(FileContent::read(appPath(library(QStringLiteral("libnew")))),
             QByteArray("new library"));
    QCOMPARE(FileContent::read(appPath(library(QStringLiteral("libkeep")))),
             QByteArray("old keep"));
    QCOMPARE(FileContent::read(appPath(QStringLiteral("documents/manual.lrxml"))),
             QByteArray("new manual"));
    QCOMPARE(FileContent::read(appPath(QStringLiteral("documents/faq.lrxml"))),
             QByteArray("new faq"));
    QCOMPARE(FileContent::read(appPath(QStringLiteral("config/config.ini"))),
             QByteArray("[proxy]\nip.address=new\n"));
    QCOMPARE(FileContent::read(appPath(QStringLiteral("config/other.ini"))), QByteArray("other"));

    // The inner archive lands flat in update/lib; names with a directory part stay out.
    QStringList extracted = QDir(appPath(QStringLiteral("update/lib")))
                                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    extracted.sort();
    QCOMPARE(extracted,
             (QStringList{library(QStringLiteral("liba")), library(QStringLiteral("libnew")),
                          QStringLiteral("readme.txt")}));
    QVERIFY(!QFileInfo::exists(appPath(library(QStringLiteral("libdeep")))));
    QVERIFY(!QFileInfo::exists(
        appPath(QStringLiteral("update/") + library(QStringLiteral("libescape")))));
    QVERIFY(!QFileInfo::exists(appPath(QStringLiteral("readme.txt"))));

    // Every replaced file is in the backup as it was before the update, even the manual,
    // which the FAQ entry's backup would otherwise have taken in its new form.
    const QString backup = appPath(QStringLiteral("update/backup/"));
    QCOMPARE(FileContent::read(backup + program()), QByteArray("old program"));
    QCOMPARE(FileContent::read(backup + library(QStringLiteral("liba"))), QByteArray("old a"));
    QCOMPARE(FileContent::read(backup + library(QStringLiteral("libkeep"))),
             QByteArray("old keep"));
    QCOMPARE(FileContent::read(backup + QStringLiteral("manual.lrxml")), QByteArray("old manual"));
    QCOMPARE(FileContent::read(backup + QStringLiteral("faq.lrxml")), QByteArray("old faq"));
    QCOMPARE(FileContent::read(backup + QStringLiteral("config.ini")),
             QByteArray("[proxy]\nip.address=old\n"));
    QCOMPARE(FileContent::read(backup + QStringLiteral("other.ini")), QByteArray("other"));

    for (const auto& version : allNew)
        QCOMPARE(versions.getValue(version.first), version.second);
    QCOMPARE(storedVersions(versions), versions.getJson());

    QSignalSpy rolledBack(&versions, &ApplicationVersion::rollbackFileUpdateFinished);
    versions.rollbackUpdate();
    QCOMPARE(received(rolledBack), expected);
    QCOMPARE(FileContent::read(appPath(program())), QByteArray("old program"));
    QCOMPARE(FileContent::read(appPath(library(QStringLiteral("liba")))), QByteArray("old a"));
    QCOMPARE(FileContent::read(appPath(QStringLiteral("documents/manual.lrxml"))),
             QByteArray("old manual"));
    QCOMPARE(FileContent::read(appPath(QStringLiteral("documents/faq.lrxml"))),
             QByteArray("old faq"));
    QCOMPARE(FileContent::read(appPath(QStringLiteral("config/config.ini"))),
             QByteArray("[proxy]\nip.address=old\n"));
    QCOMPARE(versions.getJson(), originalVersions);
    QCOMPARE(storedVersions(versions), originalVersions);

    // Applying the same package again (the updater restarted) keeps the first backups.
    versions.applyUpdate();
    QCOMPARE(FileContent::read(backup + QStringLiteral("manual.lrxml")), QByteArray("old manual"));
    QCOMPARE(FileContent::read(appPath(QStringLiteral("documents/manual.lrxml"))),
             QByteArray("new manual"));
}

void TestUpdatePackage::entryList()
{
    ApplicationVersion versions;
    QVERIFY(PackageBuilder()
                .add(QStringLiteral("kvManual"), "m")
                .add(QStringLiteral("header.xml"), PackageBuilder::header({}))
                .add(QStringLiteral("kvApplication"), "a")
                .writeTo(versions.updateFilename()));
    QCOMPARE(versions.getUpdateFilelist(),
             (QStringList{QStringLiteral("kvManual"), QStringLiteral("kvApplication")}));
}

void TestUpdatePackage::unknownEntryUsesUpPosition()
{
    ApplicationVersion versions;
    QVERIFY(
        PackageBuilder()
            .add(QStringLiteral("kvOther"), "?")
            .add(QStringLiteral("kvManual"), "new manual")
            .add(QStringLiteral("header.xml"),
                 PackageBuilder::header({{QStringLiteral("kvManual"), QStringLiteral("1.1.0")}}))
            .writeTo(versions.updateFilename()));
    QSignalSpy applied(&versions, &ApplicationVersion::singleFileUpdateFinished);
    versions.applyUpdate();
    QCOMPARE(received(applied),
             (Signals{{1, QStringLiteral("Buku Manual")}, {2, QStringLiteral("Header")}}));
    QCOMPARE(FileContent::read(appPath(QStringLiteral("documents/manual.lrxml"))),
             QByteArray("new manual"));
    QVERIFY(!QFileInfo::exists(appPath(QStringLiteral("update/kvOther"))));
}

void TestUpdatePackage::notAZip()
{
    installOldFiles();
    ApplicationVersion versions;
    QVERIFY(FileContent::write(versions.updateFilename(), "this is not a zip archive"));
    QVERIFY(versions.getUpdateFilelist().isEmpty());
    QSignalSpy applied(&versions, &ApplicationVersion::singleFileUpdateFinished);
    QSignalSpy rolledBack(&versions, &ApplicationVersion::rollbackFileUpdateFinished);
    versions.applyUpdate();
    versions.rollbackUpdate();
    QCOMPARE(applied.count(), 0);
    QCOMPARE(rolledBack.count(), 0);
    QCOMPARE(FileContent::read(appPath(program())), QByteArray("old program"));
    QCOMPARE(FileContent::read(appPath(QStringLiteral("documents/manual.lrxml"))),
             QByteArray("old manual"));
}

void TestUpdatePackage::failedComponentKeepsItsVersion_data()
{
    QTest::addColumn<bool>("headerFirst");
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<QByteArray>("manualAfter");
    // A file where a directory should be makes the copy fail, even for root.
    QTest::newRow("replace fails, header last") << false << "documents" << QByteArray();
    QTest::newRow("replace fails, header first") << true << "documents" << QByteArray();
    QTest::newRow("backup fails, header last")
        << false << "update/backup" << QByteArray("old manual");
    QTest::newRow("backup fails, header first")
        << true << "update/backup" << QByteArray("old manual");
}

void TestUpdatePackage::failedComponentKeepsItsVersion()
{
    QFETCH(bool, headerFirst);
    QFETCH(QString, obstacle);
    QFETCH(QByteArray, manualAfter);
    if (obstacle == QLatin1String("documents"))
        QVERIFY(FileContent::write(appPath(obstacle), "a file, not a directory"));
    else
        QVERIFY(
            FileContent::write(appPath(QStringLiteral("documents/manual.lrxml")), "old manual"));
    QVERIFY(FileContent::write(appPath(QStringLiteral("config/config.ini")), "old config"));

    ApplicationVersion versions;
    if (obstacle != QLatin1String("documents"))
        QVERIFY(FileContent::write(appPath(obstacle), "a file, not a directory"));
    const QByteArray header =
        PackageBuilder::header({{QStringLiteral("kvManual"), QStringLiteral("1.1.0")},
                                {QStringLiteral("kvConfig"), QStringLiteral("1.0.2")}});
    PackageBuilder package;
    if (headerFirst)
        package.add(QStringLiteral("header.xml"), header);
    package.add(QStringLiteral("kvManual"), "new manual");
    if (!headerFirst)
        package.add(QStringLiteral("header.xml"), header);
    QVERIFY(package.writeTo(versions.updateFilename()));

    QSignalSpy applied(&versions, &ApplicationVersion::singleFileUpdateFinished);
    QSignalSpy failed(&versions, &ApplicationVersion::singleFileUpdateFailed);
    versions.applyUpdate();

    const int manualPosition = headerFirst ? 1 : 0;
    const int headerPosition = headerFirst ? 0 : 1;
    QCOMPARE(received(applied), (Signals{{headerPosition, QStringLiteral("Header")}}));
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.first().at(0).toInt(), manualPosition);
    QCOMPARE(failed.first().at(1).toString(), QStringLiteral("Buku Manual"));
    QVERIFY(!failed.first().at(2).toString().isEmpty());

    QCOMPARE(versions.getValue(QStringLiteral("kvManual")), QStringLiteral("1.0.0"));
    QCOMPARE(versions.getValue(QStringLiteral("kvConfig")), QStringLiteral("1.0.2"));
    QCOMPARE(storedVersions(versions), versions.getJson());
    if (!manualAfter.isNull())
        QCOMPARE(FileContent::read(appPath(QStringLiteral("documents/manual.lrxml"))), manualAfter);
}

void TestUpdatePackage::programWaitsForViewerToExit()
{
    QProcess* viewer = startBusyViewer();
    QVERIFY(viewer);
    const QByteArray running = FileContent::read(appPath(program()));
    QVERIFY(!Common::checkFileIsWriteAble(appPath(program())));

    ApplicationVersion versions;
    QVERIFY(PackageBuilder()
                .add(QStringLiteral("kvApplication"), "new program")
                .add(QStringLiteral("header.xml"),
                     PackageBuilder::header(
                         {{QStringLiteral("kvApplication"), QStringLiteral("1.0.11")}}))
                .writeTo(versions.updateFilename()));
    QStringList applied;
    connect(&versions, &ApplicationVersion::singleFileUpdateFinished, this,
            [&](int, const QString& category) { applied << category; });
    versions.applyUpdateInBackground();

    QTest::qWait(300);
    QVERIFY(applied.isEmpty());
    QCOMPARE(FileContent::read(appPath(program())), running);
    // Backed up before the wait began.
    QCOMPARE(FileContent::read(appPath(QStringLiteral("update/backup/")) + program()), running);

    QElapsedTimer sinceExit;
    viewer->kill();
    QVERIFY(viewer->waitForFinished(5000));
    sinceExit.start();
    QTRY_COMPARE_WITH_TIMEOUT(
        applied, (QStringList{QStringLiteral("File Aplikasi"), QStringLiteral("Header")}), 5000);
    QVERIFY2(sinceExit.elapsed() < 2000, qPrintable(QString::number(sinceExit.elapsed())));
    QTRY_COMPARE(versions.thread(), thread());
    QCOMPARE(FileContent::read(appPath(program())), QByteArray("new program"));
    QVERIFY(QFileInfo(appPath(program())).isExecutable());
    QCOMPARE(versions.getApplicationVersion(), QStringLiteral("1.0.11"));
}

void TestUpdatePackage::rollbackWaitsForRunningApply()
{
    installOldFiles();
    QProcess* viewer = startBusyViewer();
    QVERIFY(viewer);
    const QByteArray running = FileContent::read(appPath(program()));
    ApplicationVersion versions;
    const QByteArray originalVersions = versions.getJson();
    QVERIFY(PackageBuilder()
                .add(QStringLiteral("kvApplication"), "new program")
                .add(QStringLiteral("kvManual"), "new manual")
                .add(QStringLiteral("header.xml"), PackageBuilder::header(allNew))
                .writeTo(versions.updateFilename()));

    QMutex lock;
    QStringList order;
    const auto record = [&](const QString& step) {
        QMutexLocker locker(&lock);
        order << step;
    };
    connect(
        &versions, &ApplicationVersion::singleFileUpdateFinished, this,
        [&](int position) { record(QStringLiteral("apply %1").arg(position)); },
        Qt::DirectConnection);
    connect(
        &versions, &ApplicationVersion::rollbackFileUpdateFinished, this,
        [&](int position) { record(QStringLiteral("rollback %1").arg(position)); },
        Qt::DirectConnection);

    versions.applyUpdateInBackground();
    std::atomic<bool> rolledBack{false};
    std::thread rollback([&] {
        versions.rollbackUpdate();
        rolledBack = true;
    });
    QTest::qWait(300);
    QVERIFY(!rolledBack);
    {
        QMutexLocker locker(&lock);
        QVERIFY(order.isEmpty());
    }
    viewer->kill();
    QVERIFY(viewer->waitForFinished(5000));
    QTRY_VERIFY_WITH_TIMEOUT(rolledBack.load(), 5000);
    rollback.join();

    QCOMPARE(order, (QStringList{QStringLiteral("apply 0"), QStringLiteral("apply 1"),
                                 QStringLiteral("apply 2"), QStringLiteral("rollback 0"),
                                 QStringLiteral("rollback 1"), QStringLiteral("rollback 2")}));
    QCOMPARE(FileContent::read(appPath(program())), running);
    QCOMPARE(FileContent::read(appPath(QStringLiteral("documents/manual.lrxml"))),
             QByteArray("old manual"));
    QCOMPARE(versions.getJson(), originalVersions);
}

void TestUpdatePackage::cleanUp()
{
    ApplicationVersion versions;
    QVERIFY(FileContent::write(appPath(QStringLiteral("update/backup/") + program()), "backup"));
    QVERIFY(FileContent::write(
        appPath(QStringLiteral("update/lib/") + library(QStringLiteral("liba"))), "lib"));
    QVERIFY(PackageBuilder()
                .add(QStringLiteral("header.xml"), PackageBuilder::header({}))
                .writeTo(versions.updateFilename()));
    versions.cleanUpUpdate();
    QVERIFY(!QFileInfo::exists(versions.updateDirname()));
}

QTEST_GUILESS_MAIN(TestUpdatePackage)
#include "tst_updatepackage.moc"
