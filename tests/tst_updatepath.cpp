// The whole update path with real processes on installed application
// directories: the viewer finds an update on the local test server, downloads
// it and hands over to the updater, which applies it; the user then starts the
// viewer again or rolls the update back. The clicks a user would make come
// from the window driver plugin, injected into the unchanged programs through
// Qt's generic plugin mechanism.

#include "filecontent.h"
#include "platform.h"
#include "uiutils.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestUpdatePath : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir root;
    QProcess server;
    QString port;
    QString library;
    QByteArray oldViewer;
    QByteArray oldLibrary;
    QByteArray newViewer;
    QByteArray newLibrary;
    QByteArray settings;
    QByteArray newSettings;

    QString path(const QString& relative) const { return root.filePath(relative); }
    static QString viewerName() { return QString::fromLatin1(Platform::viewerProgram); }
    static QString updaterName() { return QString::fromLatin1(Platform::updaterProgram); }

    // The driver's log of one application directory, as "program<TAB>event<TAB>detail".
    QStringList driverLog(const QString& app) const
    {
        return QString::fromUtf8(FileContent::read(app + QStringLiteral(".driver.log")))
            .split(QLatin1Char('\n'));
    }
    static QString entry(const QString& program, const char* event, const QString& detail)
    {
        return QFileInfo(program).completeBaseName() + QLatin1Char('\t') + QLatin1String(event) +
               QLatin1Char('\t') + detail;
    }

    static QJsonObject installedVersions(const QString& app)
    {
        const QString cipherText =
            QString::fromUtf8(FileContent::read(app + QStringLiteral("/config/version.cfg")));
        return QJsonDocument::fromJson(UIUtils::decryptValue(cipherText).toUtf8()).object();
    }

    static void compareVersions(const QString& app, const QStringList& expected)
    {
        const QJsonObject versions = installedVersions(app);
        const QStringList keys = {QStringLiteral("kvApplication"), QStringLiteral("kvLibrary"),
                                  QStringLiteral("kvConfig"), QStringLiteral("kvManual")};
        QStringList actual;
        for (const QString& key : keys)
            actual << versions.value(key).toString();
        QCOMPARE(actual, expected);
    }

    QProcessEnvironment drivenEnvironment(const QString& app, const QString& button) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
        env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("vardowindowdriver"));
        env.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(VARDO_TEST_PLUGIN_DIR));
        env.insert(QStringLiteral("VARDO_DRIVER_LOG"), app + QStringLiteral(".driver.log"));
        env.insert(QStringLiteral("VARDO_DRIVER_CLICK"), button);
        env.insert(QStringLiteral("VARDO_DRIVER_GATE"), app + QStringLiteral(".gate"));
        env.insert(QStringLiteral("VARDO_DRIVER_QUIT"), path(QStringLiteral("quit")));
        return env;
    }

    // Installs into a staging prefix and moves the application directory to `name`:
    // moved as a whole, the programs must still find their library.
    void install(const QString& name)
    {
        const QString staging = path(name + QStringLiteral("-staging"));
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(QStringLiteral(VARDO_CMAKE_COMMAND),
                      {QStringLiteral("--install"), QStringLiteral(VARDO_BUILD_DIR),
                       QStringLiteral("--prefix"), staging});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAll().constData());
#if defined(Q_OS_LINUX)
        // The desktop entry holds under any prefix: it names the command, not a path.
        const QString desktop = QString::fromUtf8(FileContent::read(
            staging + QStringLiteral("/share/applications/vardo-viewer.desktop")));
        QVERIFY(desktop.contains(QStringLiteral("MimeType=application/x-vardo;")));
        QVERIFY(desktop.contains(QStringLiteral("\nExec=vardo-viewer %f\n")));
        QVERIFY(!desktop.contains(staging));
        QCOMPARE(QFileInfo(staging + QStringLiteral("/bin/vardo-viewer")).canonicalFilePath(),
                 QFileInfo(staging + QStringLiteral("/lib/vardo-viewer/") + viewerName())
                     .canonicalFilePath());
        QVERIFY(FileContent::read(staging + QStringLiteral("/share/mime/packages/vardo-viewer.xml"))
                    .contains("pattern=\"*.vardo\""));
        const QString application = staging + QStringLiteral("/lib/vardo-viewer");
#else
        const QString application = staging;
#endif
        QVERIFY(QDir().rename(application, path(name)));
        for (const QString& entry :
             {viewerName(), updaterName(), QStringLiteral("documents"), QStringLiteral("config")})
            QVERIFY2(QFileInfo::exists(path(name) + QLatin1Char('/') + entry), qPrintable(entry));
        // The installed programs trust only the release key; the tests' own builds of
        // the library and the updater, which trust the test key, take their places.
        const QDir testBuilds(QStringLiteral(VARDO_TEST_KEY_BIN_DIR));
        const QStringList replaced = testBuilds.entryList(
            {QString::fromLatin1(Platform::libraryPattern), updaterName()}, QDir::Files);
        QCOMPARE(replaced.size(), 2);
        for (const QString& file : replaced) {
            const QString target = path(name) + QLatin1Char('/') + file;
            QVERIFY2(QFile::remove(target), qPrintable(target));
            QVERIFY(QFile::copy(testBuilds.filePath(file), target));
        }
    }

    void startServer(const QStringList& args)
    {
        server.start(QStringLiteral(TEST_BIN_DIR "/vardo-test-updateserver"), args);
        QVERIFY(server.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(server.canReadLine(), 10000);
        port = QString::fromLatin1(server.readLine().trimmed());
        QVERIFY(port.toInt() > 0);
    }

    // Starts the updater with a document, as a double-click does, and waits until the
    // viewer has been started with it.
    void handOver(const QString& app, const QString& document)
    {
        QProcess updater;
        updater.setProcessEnvironment(drivenEnvironment(app, QString()));
        updater.start(app + QLatin1Char('/') + updaterName(), {document});
        QVERIFY(updater.waitForFinished(10000));
        QCOMPARE(updater.exitCode(), 0);
        const QString started =
            QString::fromUtf8(QJsonDocument(QJsonArray{document}).toJson(QJsonDocument::Compact));
        QTRY_VERIFY_WITH_TIMEOUT(driverLog(app).contains(entry(viewerName(), "start", started)),
                                 30000);
    }

    // Drives the viewer from its start-up check to the updater's finished apply,
    // where the updater offers `button`, and checks the state at that point.
    void updateUntilOffered(const QString& app, const QString& button)
    {
        QVERIFY(FileContent::write(app + QStringLiteral("/config/config.ini"), settings));
        QProcess viewer;
        viewer.setProcessEnvironment(drivenEnvironment(app, button));
        viewer.start(app + QLatin1Char('/') + viewerName(), QStringList());
        QVERIFY(viewer.waitForStarted(10000));

        QTRY_VERIFY_WITH_TIMEOUT(driverLog(app).contains(entry(updaterName(), "ready", button)),
                                 90000);
        QTRY_COMPARE_WITH_TIMEOUT(viewer.state(), QProcess::NotRunning, 10000);
        const QStringList log = driverLog(app);
        QVERIFY(log.contains(entry(viewerName(), "start", QStringLiteral("[]"))));
        QVERIFY(
            log.contains(entry(viewerName(), "answered",
                               QStringLiteral("Versi terbaru dari aplikasi Vardo Viewer tersedia, "
                                              "apakah anda ingin melakukan download update?"))));
        QVERIFY(log.contains(entry(viewerName(), "answered",
                                   QStringLiteral("Update Aplikasi siap dilaksanakan, Apakah anda "
                                                  "ingin melakukan update saat ini juga?"))));
        QVERIFY(log.contains(entry(updaterName(), "start", QStringLiteral("[]"))));
        const QByteArray requests = server.readAllStandardError();
        QVERIFY2(requests.contains("POST /pub/kv/cekVersion"), requests.constData());
        QVERIFY2(
            requests.contains(QByteArray("POST /pub/kv/updateOnline?osCode=") + Platform::osCode),
            requests.constData());

        const QString backup = app + QStringLiteral("/update/backup/");
        QCOMPARE(FileContent::read(app + QLatin1Char('/') + viewerName()), newViewer);
        QCOMPARE(FileContent::read(app + QLatin1Char('/') + library), newLibrary);
        QCOMPARE(FileContent::read(app + QStringLiteral("/config/config.ini")), newSettings);
        QCOMPARE(FileContent::read(backup + viewerName()), oldViewer);
        QCOMPARE(FileContent::read(backup + library), oldLibrary);
        // The viewer adds its defaults to the settings at start-up, before the backup.
        QSettings backupSettings(backup + QStringLiteral("config.ini"), QSettings::IniFormat);
        QCOMPARE(backupSettings.value(QStringLiteral("update-online/port")).toString(), port);
        QVERIFY(!backupSettings.contains(QStringLiteral("package/from.update")));
        compareVersions(app, {QStringLiteral("1.0.11"), QStringLiteral("1.0.4"),
                              QStringLiteral("1.0.1"), QStringLiteral("1.0.0")});
    }

private slots:
    void initTestCase()
    {
        QVERIFY(root.isValid());
        for (const QString& name : {QStringLiteral("restarted"), QStringLiteral("rolledback"),
                                    QStringLiteral("declined")}) {
            install(name);
            if (QTest::currentTestFailed())
                return;
        }
        const QString app = path(QStringLiteral("restarted"));
        const QStringList libraries = QDir(app).entryList(
            QStringList{QString::fromLatin1(Platform::libraryPattern)}, QDir::Files);
        QVERIFY(!libraries.isEmpty());
        library = libraries.first();
        oldViewer = FileContent::read(app + QLatin1Char('/') + viewerName());
        oldLibrary = FileContent::read(app + QLatin1Char('/') + library);
        // Trailing bytes leave program and library usable and tell them apart.
        newViewer = oldViewer + "\nupdated viewer\n";
        newLibrary = oldLibrary + "\nupdated library\n";

        // The server program reads its package at start, and the package's
        // settings name the server's port: learn a free port first.
        startServer(QStringList());
        server.kill();
        server.waitForFinished(10000);
        settings = "[update-online]\nserver.address=127.0.0.1\nport=" + port.toLatin1() +
                   "\nis.ssl=false\npath=\n";
        newSettings = settings + "\n[package]\nfrom.update=1.0.1\n";
        QVERIFY(FileContent::write(path(QStringLiteral("src/") + viewerName()), newViewer));
        QVERIFY(FileContent::write(path(QStringLiteral("src/") + library), newLibrary));
        QVERIFY(FileContent::write(path(QStringLiteral("src/config.ini")), newSettings));
        QProcess tool;
        tool.start(QStringLiteral(TEST_BIN_DIR "/vardotool"),
                   {QStringLiteral("make-update"), QStringLiteral("-o"),
                    path(QStringLiteral("package.kvu")), QStringLiteral("--sign"),
                    QStringLiteral(TEST_FIXTURES "/update/test.key"),
                    QStringLiteral("--application"), path(QStringLiteral("src/") + viewerName()),
                    QStringLiteral("--library"), path(QStringLiteral("src/") + library),
                    QStringLiteral("--config"), path(QStringLiteral("src/config.ini")),
                    QStringLiteral("--version"), QStringLiteral("kvApplication=1.0.11"),
                    QStringLiteral("kvLibrary=1.0.4"), QStringLiteral("kvConfig=1.0.1")});
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitCode(), 0);
        const QString learnedPort = port;
        startServer({QStringLiteral("--port"), learnedPort, QStringLiteral("--package"),
                     path(QStringLiteral("package.kvu")), QStringLiteral("--outdated"),
                     QStringLiteral("kvApplication,kvLibrary,kvConfig")});
        QCOMPARE(port, learnedPort);
    }

    void cleanupTestCase()
    {
        FileContent::write(path(QStringLiteral("quit")), "quit");
        QTest::qWait(1000);
        server.kill();
        server.waitForFinished(10000);
    }

    void downloadApplyAndRestart()
    {
        const QString app = path(QStringLiteral("restarted"));
        updateUntilOffered(app, QStringLiteral("testButton"));
        if (QTest::currentTestFailed())
            return;

        // The user starts the updated viewer: the update directory goes, the viewer comes.
        QVERIFY(FileContent::write(app + QStringLiteral(".gate"), "go"));
        QTRY_COMPARE_WITH_TIMEOUT(
            driverLog(app).count(entry(viewerName(), "start", QStringLiteral("[]"))), 2, 30000);
        QVERIFY(!QFileInfo::exists(app + QStringLiteral("/update")));

        // A document opened from the desktop goes through the updater to the viewer.
        const QString document = path(QStringLiteral("Laporan Debitur 01.vardo"));
        handOver(app, document);
        if (QTest::currentTestFailed())
            return;
    }

    void downloadApplyAndRollBack()
    {
        const QString app = path(QStringLiteral("rolledback"));
        updateUntilOffered(app, QStringLiteral("rollbackButton"));
        if (QTest::currentTestFailed())
            return;
        const QByteArray settingsBeforeUpdate =
            FileContent::read(app + QStringLiteral("/update/backup/config.ini"));

        QVERIFY(FileContent::write(app + QStringLiteral(".gate"), "go"));
        QTRY_VERIFY_WITH_TIMEOUT(driverLog(app).contains(entry(updaterName(), "pressed",
                                                               QStringLiteral("rollbackButton"))),
                                 30000);
        QTRY_COMPARE_WITH_TIMEOUT(
            installedVersions(app).value(QStringLiteral("kvConfig")).toString(),
            QStringLiteral("1.0.0"), 30000);
        compareVersions(app, {QStringLiteral("1.0.10"), QStringLiteral("1.0.3"),
                              QStringLiteral("1.0.0"), QStringLiteral("1.0.0")});
        QCOMPARE(FileContent::read(app + QLatin1Char('/') + viewerName()), oldViewer);
        QCOMPARE(FileContent::read(app + QLatin1Char('/') + library), oldLibrary);
        QCOMPARE(FileContent::read(app + QStringLiteral("/config/config.ini")),
                 settingsBeforeUpdate);
        // The package stays: the next start of the updater would apply it again.
        QVERIFY(QFileInfo::exists(app + QStringLiteral("/update/tavi-viewer.kvu")));
        QCOMPARE(driverLog(app).count(entry(viewerName(), "start", QStringLiteral("[]"))), 1);
    }

    // Behind a proxy, the user downloads the update but does not want it now. A
    // document opened later through the updater goes straight to the viewer; the
    // package waits, untouched, for the viewer to offer it again.
    void declinedUpdateLetsTheDocumentThrough()
    {
        const QString app = path(QStringLiteral("declined"));
        // The server's own name does not resolve: only the proxy reaches it.
        QVERIFY(FileContent::write(app + QStringLiteral("/config/config.ini"),
                                   "[update-online]\nserver.address=update.kora.invalid\nport=80\n"
                                   "is.ssl=false\npath=\n[proxy]\nip.address=127.0.0.1\nport=" +
                                       port.toLatin1() + "\nis.secured=false\n"));
        QProcessEnvironment env = drivenEnvironment(app, QString());
        env.insert(QStringLiteral("VARDO_DRIVER_DECLINE"), QStringLiteral("siap dilaksanakan"));
        server.readAllStandardError();
        QProcess viewer;
        viewer.setProcessEnvironment(env);
        viewer.start(app + QLatin1Char('/') + viewerName(), QStringList());
        QVERIFY(viewer.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(driverLog(app).contains(entry(
                                     viewerName(), "declined",
                                     QStringLiteral("Update Aplikasi siap dilaksanakan, Apakah "
                                                    "anda ingin melakukan update saat ini juga?"))),
                                 90000);
        const QByteArray requests = server.readAllStandardError();
        QVERIFY2(requests.contains("POST http://update.kora.invalid/pub/kv/cekVersion"),
                 requests.constData());
        QVERIFY2(requests.contains("POST http://update.kora.invalid/pub/kv/updateOnline"),
                 requests.constData());
        // The answer is remembered once the question has closed.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(app + QStringLiteral("/update/declined")),
                                 10000);
        const QByteArray package =
            FileContent::read(app + QStringLiteral("/update/tavi-viewer.kvu"));
        QCOMPARE(package, FileContent::read(path(QStringLiteral("package.kvu"))));
        viewer.kill();
        viewer.waitForFinished(10000);

        const QString document = path(QStringLiteral("Laporan Debitur 02.vardo"));
        handOver(app, document);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(FileContent::read(app + QLatin1Char('/') + viewerName()), oldViewer);
        QCOMPARE(FileContent::read(app + QStringLiteral("/update/tavi-viewer.kvu")), package);
        compareVersions(app, {QStringLiteral("1.0.10"), QStringLiteral("1.0.3"),
                              QStringLiteral("1.0.0"), QStringLiteral("1.0.0")});
    }
};

QTEST_GUILESS_MAIN(TestUpdatePath)
#include "tst_updatepath.moc"
