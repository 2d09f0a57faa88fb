#include "applicationversion.h"
#include "crypto.h"
#include "filecontent.h"
#include "packagebuilder.h"
#include "platform.h"
#include "uiutils.h"
#include "updateconnection.h"
#include "updateserver.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QtTest>

namespace {

const QByteArray defaultJson =
    R"({"kvApplication":"1.0.10","kvConfig":"1.0.0","kvFAQ":"1.0.0","kvLibrary":"1.0.3","kvManual":"1.0.0"})";
const QString connectionFailure = QStringLiteral("Failed to Connect to Server : ");

QString appDir()
{
    return QCoreApplication::applicationDirPath();
}

QByteArray decryptedVersionFile(const ApplicationVersion& versions)
{
    return crypto.decryptToByteArray(
        QString::fromUtf8(FileContent::read(versions.configFilename())));
}

QByteArray validPackage(const QByteArray& marker)
{
    return PackageBuilder()
        .add(QStringLiteral("kvManual"), marker)
        .add(QStringLiteral("header.xml"),
             PackageBuilder::header({{QStringLiteral("kvManual"), QStringLiteral("1.1.0")}}))
        .zip();
}

} // namespace

class TestApplicationVersion : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanupTestCase();
    void firstStartWritesDefaults();
    void versionFileContent_data();
    void versionFileContent();
    void versionBookkeeping();
    void baseUrl_data();
    void baseUrl();
    void componentNames_data();
    void componentNames();
    void offlinePackageRefused_data();
    void offlinePackageRefused();
    void slowTransferIsGivenUp_data();
    void slowTransferIsGivenUp();
    void requestsGoThroughTheProxy_data();
    void requestsGoThroughTheProxy();
    void cancelledDownloadKeepsPackage();
    void statusCheck_data();
    void statusCheck();
    void statusCheckFailure_data();
    void statusCheckFailure();
    void checkInBackground();
    void destroyedWhileChecking();
    void download();
    void secondDownloadReplacesPackage();
    void failedDownloadKeepsPackage_data();
    void failedDownloadKeepsPackage();
    void offlinePackage();

private:
    void pointSettingsAt(const UpdateServer& server, const QString& path = QString());
};

void TestApplicationVersion::init()
{
    for (const char* dir : {"config", "update", "log"})
        QDir(appDir() + QLatin1Char('/') + QLatin1String(dir)).removeRecursively();
}

void TestApplicationVersion::cleanupTestCase()
{
    init();
}

void TestApplicationVersion::pointSettingsAt(const UpdateServer& server, const QString& path)
{
    UIUtils::setSettingValue(QStringLiteral("update-online/server.address"), server.address());
    UIUtils::setSettingValue(QStringLiteral("update-online/port"), QString::number(server.port()));
    UIUtils::setSettingValue(QStringLiteral("update-online/is.ssl"), QStringLiteral("false"));
    UIUtils::setSettingValue(QStringLiteral("update-online/path"), path);
}

void TestApplicationVersion::firstStartWritesDefaults()
{
    ApplicationVersion versions;
    QCOMPARE(versions.configFilename(), appDir() + QStringLiteral("/config/version.cfg"));
    const QByteArray stored = FileContent::read(versions.configFilename());
    QVERIFY(!stored.contains(defaultJson));
    QVERIFY(!stored.endsWith('\n'));
    QCOMPARE(decryptedVersionFile(versions), defaultJson);
    QCOMPARE(versions.getApplicationVersion(), QStringLiteral("1.0.10"));
    QCOMPARE(versions.getCurrentVersion(QStringLiteral("kvLibrary")), QStringLiteral("1.0.3"));
    QCOMPARE(versions.getJson(), defaultJson);
}

void TestApplicationVersion::versionFileContent_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("loaded");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("warns");
    const QByteArray custom =
        R"({"kvApplication":"2.0.1","kvConfig":"1.0.4","kvFAQ":"1.0.2","kvLibrary":"1.0.9","kvManual":"1.1.0"})";
    const QByteArray missingFaq =
        R"({"kvApplication":"2.0.1","kvConfig":"1.0.4","kvLibrary":"1.0.9","kvManual":"1.1.0"})";
    const QByteArray missingFaqLoaded =
        R"({"kvApplication":"2.0.1","kvConfig":"1.0.4","kvFAQ":"","kvLibrary":"1.0.9","kvManual":"1.1.0"})";
    QTest::newRow("stored versions")
        << crypto.encryptToString(QString::fromUtf8(custom)).toUtf8() << custom << custom << false;
    QTest::newRow("missing key loads empty")
        << crypto.encryptToString(QString::fromUtf8(missingFaq)).toUtf8() << missingFaqLoaded
        << missingFaq << false;
    QTest::newRow("garbage is replaced")
        << QByteArray("this is not a cipher text at all, and it is long").repeated(20)
        << defaultJson << defaultJson << true;
    QTest::newRow("empty file is replaced") << QByteArray() << defaultJson << defaultJson << false;
    QTest::newRow("not JSON is replaced")
        << crypto.encryptToString(QStringLiteral("1.0.10")).toUtf8() << defaultJson << defaultJson
        << false;
}

void TestApplicationVersion::versionFileContent()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, loaded);
    QFETCH(QByteArray, stored);
    QFETCH(bool, warns);
    QVERIFY(FileContent::write(appDir() + QStringLiteral("/config/version.cfg"), content));
    if (warns)
        QTest::ignoreMessage(QtWarningMsg, "Invalid version or not a cyphertext.");
    ApplicationVersion versions;
    QCOMPARE(versions.getJson(), loaded);
    QCOMPARE(decryptedVersionFile(versions), stored);
}

void TestApplicationVersion::versionBookkeeping()
{
    ApplicationVersion versions;
    // Restoring without a backup keeps the installed version.
    versions.restoreValue(QStringLiteral("kvManual"));
    QCOMPARE(versions.getValue(QStringLiteral("kvManual")), QStringLiteral("1.0.0"));

    versions.backupValue(QStringLiteral("kvManual"));
    versions.setValue(QStringLiteral("kvManual"), QStringLiteral("1.2.0"));
    versions.sync();
    QCOMPARE(ApplicationVersion().getValue(QStringLiteral("kvManual")), QStringLiteral("1.2.0"));
    versions.restoreValue(QStringLiteral("kvManual"));
    QCOMPARE(versions.getValue(QStringLiteral("kvManual")), QStringLiteral("1.0.0"));

    // Keys outside the five components never reach the file or the server.
    versions.setValue(QStringLiteral("kvOther"), QStringLiteral("9"));
    QVERIFY(!versions.getJson().contains("kvOther"));
}

void TestApplicationVersion::baseUrl_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("ssl");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("url");
    const QString fallback = ApplicationVersion::defaultServerAddress();
    QTest::newRow("http on 80") << "10.0.0.5"
                                << "80"
                                << "false"
                                << ""
                                << "http://10.0.0.5";
    QTest::newRow("https on 443") << "update.example"
                                  << "443"
                                  << "true"
                                  << ""
                                  << "https://update.example";
    QTest::newRow("port and path") << "10.0.0.5"
                                   << "8080"
                                   << "false"
                                   << "api"
                                   << "http://10.0.0.5:8080/api";
    QTest::newRow("port 0 omitted") << "10.0.0.5"
                                    << "0"
                                    << "false"
                                    << ""
                                    << "http://10.0.0.5";
    QTest::newRow("443 without ssl kept") << "10.0.0.5"
                                          << "443"
                                          << "false"
                                          << ""
                                          << "http://10.0.0.5:443";
    QTest::newRow("80 with ssl kept") << "10.0.0.5"
                                      << "80"
                                      << "true"
                                      << ""
                                      << "https://10.0.0.5:80";
    QTest::newRow("empty address uses default") << ""
                                                << "80"
                                                << "false"
                                                << ""
                                                << "http://" + fallback;
    QTest::newRow("nothing set") << QString() << QString() << QString() << QString()
                                 << "http://" + fallback;
}

void TestApplicationVersion::baseUrl()
{
    QFETCH(QString, address);
    QFETCH(QString, port);
    QFETCH(QString, ssl);
    QFETCH(QString, path);
    QFETCH(QString, url);
    const QStringList keys = {QStringLiteral("server.address"), QStringLiteral("port"),
                              QStringLiteral("is.ssl"), QStringLiteral("path")};
    const QStringList values = {address, port, ssl, path};
    for (int i = 0; i < keys.size(); ++i) {
        if (!values.at(i).isNull())
            UIUtils::setSettingValue(QStringLiteral("update-online/") + keys.at(i), values.at(i));
    }
    QVERIFY(!ApplicationVersion::defaultServerAddress().isEmpty());
    QCOMPARE(ApplicationVersion().configBaseUpdateUrl(), url);
}

void TestApplicationVersion::componentNames_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("category");
    QTest::newRow("application") << "kvApplication" << QString::fromLatin1(Platform::viewerProgram)
                                 << "File Aplikasi";
    QTest::newRow("library") << "kvLibrary"
                             << "kvLibrary.zip"
                             << "Library";
    QTest::newRow("manual") << "kvManual"
                            << "manual.lrxml"
                            << "Buku Manual";
    QTest::newRow("faq") << "kvFAQ"
                         << "faq.lrxml"
                         << "FAQ";
    QTest::newRow("config") << "kvConfig"
                            << "config.ini"
                            << "Konfigurasi";
    QTest::newRow("header") << "header.xml"
                            << "header.xml"
                            << "Header";
    QTest::newRow("unknown") << "kvOther"
                             << ""
                             << "";
}

void TestApplicationVersion::componentNames()
{
    QFETCH(QString, entry);
    QFETCH(QString, fileName);
    QFETCH(QString, category);
    QCOMPARE(ApplicationVersion::getActualFileName(entry), fileName);
    QCOMPARE(ApplicationVersion::getFileCategory(entry), category);
}

void TestApplicationVersion::statusCheck_data()
{
    QTest::addColumn<QStringList>("outdated");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("hasUpdate");
    QTest::addColumn<QStringList>("statusKeys");
    QStringList all = UpdateServer::componentKeys();
    all.sort();
    QTest::newRow("all latest") << QStringList() << QByteArray() << false << all;
    QTest::newRow("one outdated") << QStringList{QStringLiteral("kvFAQ")} << QByteArray() << true
                                  << all;
    QTest::newRow("missing latestStatus counts as outdated")
        << QStringList()
        << QByteArray(R"({"payload":{"kvApplication":{"latestStatus":true},"kvFAQ":{}}})") << true
        << QStringList{QStringLiteral("kvApplication"), QStringLiteral("kvFAQ")};
    QTest::newRow("no payload") << QStringList() << QByteArray(R"({"status":"OK"})") << false
                                << QStringList();
    QTest::newRow("not JSON") << QStringList() << QByteArray("<html>maintenance</html>") << false
                              << QStringList();
}

void TestApplicationVersion::statusCheck()
{
    QFETCH(QStringList, outdated);
    QFETCH(QByteArray, body);
    QFETCH(bool, hasUpdate);
    QFETCH(QStringList, statusKeys);
    UpdateServer server;
    QVERIFY(server.listen());
    server.setOutdated(outdated);
    server.setStatusBody(body);
    pointSettingsAt(server, QStringLiteral("kora"));

    ApplicationVersion versions;
    QSignalSpy returned(&versions, &ApplicationVersion::statusReturned);
    QSignalSpy failed(&versions, &ApplicationVersion::onlineUpdateConnectionFailed);
    versions.checkStatus();
    QVERIFY(returned.wait(5000));
    QCOMPARE(failed.count(), 0);

    QCOMPARE(server.requests().size(), 1);
    const UpdateServer::Request request = server.requests().first();
    QCOMPARE(request.method, QByteArray("POST"));
    QCOMPARE(request.target, QByteArray("/kora/pub/kv/cekVersion"));
    QCOMPARE(request.contentType, QByteArray("application/json"));
    QCOMPARE(request.body, defaultJson);

    const QString status = returned.first().first().toString();
    QCOMPARE(status, versions.lastStatus());
    const QJsonDocument payload = QJsonDocument::fromJson(status.toUtf8());
    QVERIFY(payload.isObject());
    QCOMPARE(payload.object().keys(), statusKeys);
    // The status goes back to the server as it came, so it is kept readable.
    QVERIFY(status.contains(QLatin1Char('\n')));
    QCOMPARE(versions.isHasUpdate(), hasUpdate);
}

void TestApplicationVersion::statusCheckFailure_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("listening");
    // Part of the reason the message gives; empty for any.
    QTest::addColumn<QString>("reason");
    QTest::newRow("server error") << int(UpdateServer::ServerError) << true << QString();
    QTest::newRow("connection reset") << int(UpdateServer::Reset) << true << QString();
    QTest::newRow("stalled answer") << int(UpdateServer::Stall) << true << "no answer within";
    QTest::newRow("nobody listening") << int(UpdateServer::Normal) << false << QString();
    QTest::newRow("3 GB announced") << int(UpdateServer::HugeBody) << true << "larger than";
    QTest::newRow("endless body") << int(UpdateServer::EndlessBody) << true << "larger than";
}

void TestApplicationVersion::statusCheckFailure()
{
    QFETCH(int, mode);
    QFETCH(bool, listening);
    QFETCH(QString, reason);
    UpdateServer server;
    QVERIFY(server.listen());
    server.setMode(UpdateServer::Mode(mode));
    pointSettingsAt(server);
    if (!listening) {
        UpdateServer closed;
        QVERIFY(closed.listen());
        pointSettingsAt(closed);
    }

    ApplicationVersion versions;
    versions.setTransferTimeout(300);
    QSignalSpy returned(&versions, &ApplicationVersion::statusReturned);
    QSignalSpy failed(&versions, &ApplicationVersion::onlineUpdateConnectionFailed);
    versions.checkStatus();
    QVERIFY(returned.wait(5000));
    QCOMPARE(failed.count(), 1);
    const QString error = failed.first().first().toString();
    QVERIFY2(error.startsWith(connectionFailure), qPrintable(error));
    QVERIFY2(error.size() > connectionFailure.size(), qPrintable(error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    QCOMPARE(QJsonDocument::fromJson(returned.first().first().toString().toUtf8()).object(),
             QJsonObject());
    QVERIFY(!versions.isHasUpdate());
}

void TestApplicationVersion::checkInBackground()
{
    UpdateServer server;
    QVERIFY(server.listen());
    server.setOutdated({QStringLiteral("kvApplication")});
    server.setPackage(validPackage("online"));
    pointSettingsAt(server);

    ApplicationVersion versions;
    QThread* emittedOn = nullptr;
    connect(
        &versions, &ApplicationVersion::statusReturned, this,
        [&] { emittedOn = QThread::currentThread(); }, Qt::DirectConnection);
    QStringList received;
    connect(&versions, &ApplicationVersion::statusReturned, this, [&](const QString& status) {
        QCOMPARE(QThread::currentThread(), thread());
        received << status;
    });

    for (int round = 1; round <= 2; ++round) {
        versions.checkStatusInBackground();
        QTRY_COMPARE_WITH_TIMEOUT(received.size(), round, 5000);
        QVERIFY(emittedOn && emittedOn != thread());
        // Back home once the job is done, so the owner can go on calling it.
        QTRY_COMPARE(versions.thread(), thread());
    }
    QCOMPARE(server.requests().size(), 2);
    QVERIFY(versions.isHasUpdate());

    // Asked again while a check is still on its way: the one answer serves both.
    server.setMode(UpdateServer::Stall);
    versions.setTransferTimeout(300);
    versions.checkStatusInBackground();
    versions.checkStatusInBackground();
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), 3, 5000);
    QTest::qWait(400);
    QCOMPARE(received.size(), 3);
    QCOMPARE(server.requests().size(), 3);
    QTRY_COMPARE(versions.thread(), thread());
    server.setMode(UpdateServer::Normal);

    QSignalSpy finished(&versions, qOverload<>(&ApplicationVersion::downloadFinished));
    versions.downloadUpdateOnline(received.last());
    QVERIFY(finished.wait(5000));
    QCOMPARE(server.requests().last().body, received.last().toUtf8());
}

void TestApplicationVersion::destroyedWhileChecking()
{
    UpdateServer server;
    QVERIFY(server.listen());
    server.setMode(UpdateServer::Stall);
    pointSettingsAt(server);
    auto* versions = new ApplicationVersion;
    QSignalSpy asked(&server, &UpdateServer::requestReceived);
    versions->checkStatusInBackground();
    QVERIFY(asked.wait(5000));
    QElapsedTimer timer;
    timer.start();
    delete versions;
    // Gone at once: the pending request does not hold the owner until it times out.
    QVERIFY(timer.elapsed() < ApplicationVersion::defaultTransferTimeout / 2);
}

void TestApplicationVersion::download()
{
    UpdateServer server;
    QVERIFY(server.listen());
    const QByteArray package = validPackage(QByteArray(200000, 'm'));
    server.setPackage(package);
    pointSettingsAt(server);
    QVERIFY(FileContent::write(appDir() + QStringLiteral("/update/backup/run.exe"),
                               "from an earlier update"));

    ApplicationVersion versions;
    QSignalSpy finished(&versions, qOverload<>(&ApplicationVersion::downloadFinished));
    QSignalSpy progress(&versions, &ApplicationVersion::downloadProgressReturned);
    QSignalSpy failed(&versions, &ApplicationVersion::onlineUpdateConnectionFailed);
    const QString status =
        QStringLiteral("{\n    \"kvManual\": {\n        \"latestStatus\": false\n    }\n}\n");
    versions.downloadUpdateOnline(status);
    QVERIFY(finished.wait(5000));
    QCOMPARE(failed.count(), 0);

    const UpdateServer::Request request = server.requests().first();
    QCOMPARE(request.target, QByteArray("/pub/kv/updateOnline?osCode=") + Platform::osCode);
    QCOMPARE(request.contentType, QByteArray("application/json"));
    QCOMPARE(request.body, status.toUtf8());

    QCOMPARE(versions.updateFilename(), appDir() + QStringLiteral("/update/tavi-viewer.kvu"));
    QCOMPARE(FileContent::read(versions.updateFilename()), package);
    QVERIFY(!progress.isEmpty());
    QCOMPARE(progress.last().at(0).toLongLong(), qint64(package.size()));
    QCOMPARE(progress.last().at(1).toLongLong(), qint64(package.size()));
    // A new package starts a new update; old backups would mislead its rollback.
    QVERIFY(!QFileInfo::exists(appDir() + QStringLiteral("/update/backup")));
    // No temporary files are left beside the package.
    QCOMPARE(QDir(versions.updateDirname()).entryList(QDir::Files),
             QStringList{QStringLiteral("tavi-viewer.kvu")});
}

void TestApplicationVersion::secondDownloadReplacesPackage()
{
    UpdateServer server;
    QVERIFY(server.listen());
    pointSettingsAt(server);
    ApplicationVersion versions;
    QSignalSpy finished(&versions, qOverload<>(&ApplicationVersion::downloadFinished));
    server.setPackage(validPackage(QByteArray(5000, 'a')));
    versions.downloadUpdateOnline(QString());
    QVERIFY(finished.wait(5000));
    const QByteArray second = validPackage("b");
    server.setPackage(second);
    versions.downloadUpdateOnline(QString());
    QVERIFY(finished.wait(5000));
    QCOMPARE(FileContent::read(versions.updateFilename()), second);
}

void TestApplicationVersion::failedDownloadKeepsPackage_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("package");
    QTest::addColumn<QString>("errorStart");
    // The largest package taken; the streamed body must pass it to be refused.
    QTest::addColumn<qint64>("maximumSize");
    // Whether the answer arrived and was refused as a package, rather than lost on the way.
    QTest::addColumn<bool>("refusedPackage");
    const qint64 usual = ApplicationVersion::defaultMaximumPackageSize;
    const QByteArray noHeader = PackageBuilder().add(QStringLiteral("kvManual"), "manual").zip();
    const QString notAuthentic = QStringLiteral("Paket update tidak asli");
    QTest::newRow("server error") << int(UpdateServer::ServerError) << validPackage("x")
                                  << connectionFailure << usual << false;
    QTest::newRow("connection reset")
        << int(UpdateServer::Reset) << validPackage("x") << connectionFailure << usual << false;
    QTest::newRow("stalled") << int(UpdateServer::Stall) << validPackage("x") << connectionFailure
                             << usual << false;
    QTest::newRow("body not a zip")
        << int(UpdateServer::NotJson) << validPackage("x") << notAuthentic << usual << true;
    QTest::newRow("zip without header")
        << int(UpdateServer::Normal) << noHeader << notAuthentic << usual << true;
    QTest::newRow("unsigned package")
        << int(UpdateServer::Normal)
        << PackageBuilder()
               .add(QStringLiteral("header.xml"),
                    PackageBuilder::header({{QStringLiteral("kvManual"), QStringLiteral("1.1.0")}}))
               .withoutSignature()
               .zip()
        << notAuthentic << usual << true;
    QTest::newRow("empty body") << int(UpdateServer::Normal) << QByteArray() << notAuthentic
                                << usual << true;
    const QString tooLarge =
        connectionFailure + QStringLiteral("the update package is larger than");
    QTest::newRow("3 GB announced")
        << int(UpdateServer::HugeBody) << QByteArray() << tooLarge << usual << false;
    QTest::newRow("endless body over the limit")
        << int(UpdateServer::EndlessBody) << QByteArray() << tooLarge << qint64(4 << 20) << false;
}

void TestApplicationVersion::failedDownloadKeepsPackage()
{
    QFETCH(int, mode);
    QFETCH(QByteArray, package);
    QFETCH(QString, errorStart);
    QFETCH(qint64, maximumSize);
    QFETCH(bool, refusedPackage);
    UpdateServer server;
    QVERIFY(server.listen());
    server.setMode(UpdateServer::Mode(mode));
    server.setPackage(package);
    pointSettingsAt(server);
    const QByteArray earlier = validPackage("earlier");
    QVERIFY(FileContent::write(appDir() + QStringLiteral("/update/tavi-viewer.kvu"), earlier));

    ApplicationVersion versions;
    versions.setTransferTimeout(300);
    versions.setMaximumPackageSize(maximumSize);
    QTemporaryDir userTemp;
    qputenv("TMPDIR", QFile::encodeName(userTemp.path()));
    QSignalSpy finished(&versions, qOverload<>(&ApplicationVersion::downloadFinished));
    QSignalSpy failed(&versions, &ApplicationVersion::onlineUpdateConnectionFailed);
    QSignalSpy refused(&versions, &ApplicationVersion::updatePackageRefused);
    versions.downloadUpdateOnline(QString());
    QTRY_VERIFY_WITH_TIMEOUT(failed.count() + refused.count() > 0, 5000);
    QSignalSpy& reported = refusedPackage ? refused : failed;
    QCOMPARE(reported.count(), 1);
    QVERIFY2(reported.first().first().toString().startsWith(errorStart),
             qPrintable(reported.first().first().toString()));
    QTest::qWait(50);
    QCOMPARE(finished.count(), 0);
    QCOMPARE(failed.count() + refused.count(), 1);
    QCOMPARE(FileContent::read(versions.updateFilename()), earlier);
    QCOMPARE(QDir(versions.updateDirname()).entryList(QDir::Files),
             QStringList{QStringLiteral("tavi-viewer.kvu")});
    // Nor is what arrived of the refused one left behind.
    QCOMPARE(QDir(userTemp.path()).entryList(QDir::Files), QStringList());
    qunsetenv("TMPDIR");
}

void TestApplicationVersion::offlinePackage()
{
    QTemporaryDir dir;
    const QString offline = dir.filePath(QStringLiteral("paket.kvu"));
    // Built once: the archive stamps its entries with the time it was made.
    const QByteArray package = validPackage("offline");
    QVERIFY(FileContent::write(offline, package));
    QVERIFY(
        FileContent::write(appDir() + QStringLiteral("/update/tavi-viewer.kvu"), "older package"));
    ApplicationVersion versions;
    QVERIFY(versions.prepareOfflineUpdate(offline));
    QCOMPARE(FileContent::read(versions.updateFilename()), package);
    // Offering the package itself again must not destroy it.
    QVERIFY(versions.prepareOfflineUpdate(versions.updateFilename()));
    QCOMPARE(FileContent::read(versions.updateFilename()), package);
    // A file that cannot be read leaves the package in place.
    QVERIFY(!versions.prepareOfflineUpdate(dir.filePath(QStringLiteral("missing.kvu"))));
    QCOMPARE(FileContent::read(versions.updateFilename()), package);
    QVERIFY(versions.packageRefusal().isEmpty());
}

void TestApplicationVersion::offlinePackageRefused_data()
{
    QTest::addColumn<QByteArray>("package");
    QTest::addColumn<QString>("message");
    QTest::newRow("not a zip") << QByteArray("just some text") << "Paket update tidak asli";
    QTest::newRow("signed by another key")
        << PackageBuilder()
               .add(QStringLiteral("header.xml"),
                    PackageBuilder::header({{QStringLiteral("kvManual"), QStringLiteral("1.1.0")}}))
               .signNow(PackageBuilder::otherSecretKey())
               .zip()
        << "Paket update tidak asli";
    QTest::newRow("downgrade")
        << PackageBuilder()
               .add(QStringLiteral("header.xml"),
                    PackageBuilder::header(
                        {{QStringLiteral("kvApplication"), QStringLiteral("1.0.9")}}))
               .zip()
        << "Paket update tidak dapat digunakan: versi 1.0.9 untuk kvApplication lebih rendah";
}

// An offline file that is not a trusted package never reaches update/: the waiting
// package stays, and the user learns why.
void TestApplicationVersion::offlinePackageRefused()
{
    QFETCH(QByteArray, package);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString offline = dir.filePath(QStringLiteral("paket.kvu"));
    QVERIFY(FileContent::write(offline, package));
    const QByteArray waiting = validPackage("waiting");
    QVERIFY(FileContent::write(appDir() + QStringLiteral("/update/tavi-viewer.kvu"), waiting));
    ApplicationVersion versions;
    QVERIFY(!versions.prepareOfflineUpdate(offline));
    QVERIFY2(versions.packageRefusal().startsWith(message), qPrintable(versions.packageRefusal()));
    QCOMPARE(FileContent::read(versions.updateFilename()), waiting);
    QCOMPARE(QDir(versions.updateDirname()).entryList(QDir::Files),
             QStringList{QStringLiteral("tavi-viewer.kvu")});
}

void TestApplicationVersion::slowTransferIsGivenUp_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("download");
    QTest::addColumn<int>("deadline");
    QTest::addColumn<qint64>("minimumRate");
    QTest::addColumn<QString>("reason");
    const QString late = QStringLiteral("no complete answer within");
    const QString slow = QStringLiteral("the transfer is slower than");
    // A byte each 100 ms keeps the connection alive but never ends the answer.
    QTest::newRow("status trickling, past the deadline")
        << int(UpdateServer::Trickle) << false << 1500 << qint64(0) << late;
    QTest::newRow("status trickling, below the rate")
        << int(UpdateServer::Trickle) << false << 0 << qint64(100) << slow;
    QTest::newRow("status never answered, below the rate")
        << int(UpdateServer::Stall) << false << 0 << qint64(100) << slow;
    QTest::newRow("download trickling, below the rate")
        << int(UpdateServer::Trickle) << true << 0 << qint64(100) << slow;
}

// A request that keeps its connection but does not come to an end is given up with
// the reason, and the failure is reported; nothing else follows.
void TestApplicationVersion::slowTransferIsGivenUp()
{
    QFETCH(int, mode);
    QFETCH(bool, download);
    QFETCH(int, deadline);
    QFETCH(qint64, minimumRate);
    QFETCH(QString, reason);
    UpdateServer server;
    QVERIFY(server.listen());
    server.setMode(UpdateServer::Mode(mode));
    pointSettingsAt(server);
    const QByteArray earlier = validPackage("earlier");
    QVERIFY(FileContent::write(appDir() + QStringLiteral("/update/tavi-viewer.kvu"), earlier));

    ApplicationVersion versions;
    versions.setTransferTimeout(60000);
    versions.setCheckDeadline(deadline);
    versions.setMinimumTransferRate(minimumRate, 1000);
    QSignalSpy failed(&versions, &ApplicationVersion::onlineUpdateConnectionFailed);
    QSignalSpy finished(&versions, qOverload<>(&ApplicationVersion::downloadFinished));
    QElapsedTimer clock;
    clock.start();
    if (download)
        versions.downloadUpdateOnline(QString());
    else
        versions.checkStatus();
    QTRY_VERIFY_WITH_TIMEOUT(failed.count() > 0, 10000);
    QVERIFY(clock.elapsed() < 8000);
    const QString message = failed.first().first().toString();
    QVERIFY2(message.startsWith(connectionFailure + reason), qPrintable(message));
    QTest::qWait(300);
    QCOMPARE(finished.count(), 0);
    QCOMPARE(FileContent::read(versions.updateFilename()), earlier);
}

void TestApplicationVersion::requestsGoThroughTheProxy_data()
{
    QTest::addColumn<bool>("secured");
    QTest::newRow("open proxy") << false;
    QTest::newRow("proxy with user and password") << true;
}

// With an address on the settings page both requests go to the proxy, which here is
// the test server itself, answering requests for a server name that does not resolve.
void TestApplicationVersion::requestsGoThroughTheProxy()
{
    QFETCH(bool, secured);
    UpdateServer proxy;
    QVERIFY(proxy.listen());
    proxy.setOutdated({QStringLiteral("kvManual")});
    const QByteArray package = validPackage("through the proxy");
    proxy.setPackage(package);
    UIUtils::setSettingValue(QStringLiteral("update-online/server.address"),
                             QStringLiteral("update.kora.invalid"));
    UIUtils::setSettingValue(QStringLiteral("update-online/port"), QStringLiteral("80"));
    UIUtils::setSettingValue(QStringLiteral("proxy/ip.address"), proxy.address());
    UIUtils::setSettingValue(QStringLiteral("proxy/port"), QString::number(proxy.port()));
    UIUtils::setSettingValue(QStringLiteral("proxy/is.secured"),
                             secured ? QStringLiteral("true") : QStringLiteral("false"));
    UIUtils::setSettingValue(QStringLiteral("proxy/username"),
                             UIUtils::encryptValue(QStringLiteral("petugas")));
    UIUtils::setSettingValue(QStringLiteral("proxy/password"),
                             UIUtils::encryptValue(QStringLiteral("rahasia")));
    const QNetworkProxy configured = UpdateConnection::proxy();
    QCOMPARE(configured.hostName(), proxy.address());
    QCOMPARE(configured.port(), proxy.port());
    QCOMPARE(configured.user(), secured ? QStringLiteral("petugas") : QString());
    QCOMPARE(configured.password(), secured ? QStringLiteral("rahasia") : QString());

    ApplicationVersion versions;
    QSignalSpy returned(&versions, &ApplicationVersion::statusReturned);
    versions.checkStatus();
    QVERIFY(returned.wait(5000));
    QVERIFY(versions.isHasUpdate());
    QSignalSpy finished(&versions, qOverload<>(&ApplicationVersion::downloadFinished));
    versions.downloadUpdateOnline(versions.lastStatus());
    QVERIFY(finished.wait(5000));
    QCOMPARE(FileContent::read(versions.updateFilename()), package);

    QCOMPARE(proxy.requests().size(), 2);
    QCOMPARE(proxy.requests().at(0).target,
             QByteArray("http://update.kora.invalid/pub/kv/cekVersion"));
    QVERIFY(proxy.requests().at(1).target.startsWith(
        "http://update.kora.invalid/pub/kv/updateOnline?osCode="));
    UIUtils::setSettingValue(QStringLiteral("proxy/ip.address"), QString());
}

// "Batal" ends the download at once; the package from before stays, no message and no
// question follow.
void TestApplicationVersion::cancelledDownloadKeepsPackage()
{
    UpdateServer server;
    QVERIFY(server.listen());
    server.setMode(UpdateServer::Trickle);
    pointSettingsAt(server);
    const QByteArray earlier = validPackage("earlier");
    QVERIFY(FileContent::write(appDir() + QStringLiteral("/update/tavi-viewer.kvu"), earlier));

    ApplicationVersion versions;
    QSignalSpy failed(&versions, &ApplicationVersion::onlineUpdateConnectionFailed);
    QSignalSpy refused(&versions, &ApplicationVersion::updatePackageRefused);
    QSignalSpy finished(&versions, qOverload<>(&ApplicationVersion::downloadFinished));
    versions.downloadUpdateOnline(QString());
    QTRY_COMPARE_WITH_TIMEOUT(server.requests().size(), 1, 5000);
    QTest::qWait(300);
    versions.cancelDownload();
    QTest::qWait(500);
    QCOMPARE(failed.count() + refused.count() + finished.count(), 0);
    QCOMPARE(FileContent::read(versions.updateFilename()), earlier);
    QCOMPARE(QDir(versions.updateDirname()).entryList(QDir::Files),
             QStringList{QStringLiteral("tavi-viewer.kvu")});
}

QTEST_GUILESS_MAIN(TestApplicationVersion)
#include "tst_applicationversion.moc"
