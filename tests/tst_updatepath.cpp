// The whole update path with real processes on an installed application
// directory: the viewer finds an update on the local test server, downloads
// it and hands over to the updater, which applies it and starts the viewer
// again. The clicks a user would make come from the window driver plugin,
// injected into the unchanged programs through Qt's generic plugin mechanism.

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
    QString app;
    QProcess server;
    QString port;

    QString path(const QString& relative) const { return root.filePath(relative); }
    QString appFile(const QString& relative) const { return app + QLatin1Char('/') + relative; }
    QString viewerName() const { return QString::fromLatin1(Platform::viewerProgram); }
    QString updaterName() const { return QString::fromLatin1(Platform::updaterProgram); }

    // The driver's log lines as "program<TAB>event<TAB>detail".
    QStringList driverLog() const
    {
        return QString::fromUtf8(FileContent::read(path(QStringLiteral("driver.log"))))
            .split(QLatin1Char('\n'));
    }
    static QString entry(const QString& program, const char* event, const QString& detail)
    {
        return QFileInfo(program).completeBaseName() + QLatin1Char('\t') + QLatin1String(event) +
               QLatin1Char('\t') + detail;
    }

    QJsonObject installedVersions() const
    {
        const QString cipherText =
            QString::fromUtf8(FileContent::read(appFile(QStringLiteral("config/version.cfg"))));
        return QJsonDocument::fromJson(UIUtils::decryptValue(cipherText).toUtf8()).object();
    }

    QStringList libraryFiles() const
    {
        return QDir(app).entryList(QStringList{QString::fromLatin1(Platform::libraryPattern)},
                                   QDir::Files);
    }

    QProcessEnvironment drivenEnvironment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
        env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("vardowindowdriver"));
        env.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(VARDO_TEST_PLUGIN_DIR));
        env.insert(QStringLiteral("VARDO_DRIVER_LOG"), path(QStringLiteral("driver.log")));
        env.insert(QStringLiteral("VARDO_DRIVER_CLICK"), QStringLiteral("testButton"));
        env.insert(QStringLiteral("VARDO_DRIVER_GATE"), path(QStringLiteral("gate")));
        env.insert(QStringLiteral("VARDO_DRIVER_QUIT"), path(QStringLiteral("quit")));
        return env;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(root.isValid());
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(QStringLiteral(VARDO_CMAKE_COMMAND),
                      {QStringLiteral("--install"), QStringLiteral(VARDO_BUILD_DIR),
                       QStringLiteral("--prefix"), path(QStringLiteral("installed"))});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAll().constData());
#if defined(Q_OS_LINUX)
        const QString desktop = QString::fromUtf8(FileContent::read(
            path(QStringLiteral("installed/share/applications/vardo-viewer.desktop"))));
        QVERIFY(desktop.contains(QStringLiteral("MimeType=application/x-vardo;")));
        QVERIFY(desktop.contains(QStringLiteral("Exec=\"") +
                                 path(QStringLiteral("installed/VardoViewer")) +
                                 QStringLiteral("\" %f")));
        QVERIFY(FileContent::read(
                    path(QStringLiteral("installed/share/mime/packages/vardo-viewer.xml")))
                    .contains("pattern=\"*.vardo\""));
#endif
        // Moved as a whole, the programs must still find their library.
        app = path(QStringLiteral("app"));
        QVERIFY(QDir().rename(path(QStringLiteral("installed")), app));
        for (const QString& name :
             {viewerName(), updaterName(), QStringLiteral("documents"), QStringLiteral("config")})
            QVERIFY2(QFileInfo::exists(appFile(name)), qPrintable(name));
        QVERIFY(!libraryFiles().isEmpty());

        server.setProcessChannelMode(QProcess::SeparateChannels);
        server.start(QStringLiteral(TEST_BIN_DIR "/vardo-test-updateserver"), QStringList());
        QVERIFY(server.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(server.canReadLine(), 10000);
        port = QString::fromLatin1(server.readLine().trimmed());
        QVERIFY(port.toInt() > 0);
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
        const QByteArray oldViewer = FileContent::read(appFile(viewerName()));
        const QString library = libraryFiles().first();
        const QByteArray oldLibrary = FileContent::read(appFile(library));
        // Trailing bytes leave program and library usable and tell them apart.
        const QByteArray newViewer = oldViewer + "\nupdated viewer\n";
        const QByteArray newLibrary = oldLibrary + "\nupdated library\n";
        const QByteArray settings =
            "[update-online]\nserver.address=127.0.0.1\nport=" + port.toLatin1() +
            "\nis.ssl=false\npath=\n";
        const QByteArray newSettings = settings + "\n[package]\nfrom.update=1.0.1\n";
        QVERIFY(FileContent::write(path(QStringLiteral("src/") + viewerName()), newViewer));
        QVERIFY(FileContent::write(path(QStringLiteral("src/") + library), newLibrary));
        QVERIFY(FileContent::write(path(QStringLiteral("src/config.ini")), newSettings));
        QVERIFY(FileContent::write(appFile(QStringLiteral("config/config.ini")), settings));

        QProcess tool;
        tool.start(QStringLiteral(TEST_BIN_DIR "/vardotool"),
                   {QStringLiteral("make-update"), QStringLiteral("-o"),
                    path(QStringLiteral("package.kvu")), QStringLiteral("--application"),
                    path(QStringLiteral("src/") + viewerName()), QStringLiteral("--library"),
                    path(QStringLiteral("src/") + library), QStringLiteral("--config"),
                    path(QStringLiteral("src/config.ini")), QStringLiteral("--version"),
                    QStringLiteral("kvApplication=1.0.11"), QStringLiteral("kvLibrary=1.0.4"),
                    QStringLiteral("kvConfig=1.0.1")});
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitCode(), 0);
        // The server program reads its package at start: start the one that serves it.
        server.kill();
        server.waitForFinished(10000);
        server.start(QStringLiteral(TEST_BIN_DIR "/vardo-test-updateserver"),
                     {QStringLiteral("--port"), port, QStringLiteral("--package"),
                      path(QStringLiteral("package.kvu")), QStringLiteral("--outdated"),
                      QStringLiteral("kvApplication,kvLibrary,kvConfig")});
        QTRY_VERIFY_WITH_TIMEOUT(server.canReadLine(), 10000);
        QCOMPARE(QString::fromLatin1(server.readLine().trimmed()), port);

        QProcess viewer;
        viewer.setProcessEnvironment(drivenEnvironment());
        viewer.start(appFile(viewerName()), QStringList());
        QVERIFY(viewer.waitForStarted(10000));

        // The updater has applied everything and offers to start the viewer.
        QTRY_VERIFY_WITH_TIMEOUT(
            driverLog().contains(entry(updaterName(), "ready", QStringLiteral("testButton"))),
            90000);
        QTRY_COMPARE_WITH_TIMEOUT(viewer.state(), QProcess::NotRunning, 10000);
        const QStringList log = driverLog();
        QVERIFY(log.contains(entry(viewerName(), "start", QStringLiteral("[]"))));
        QVERIFY(
            log.contains(entry(viewerName(), "answered",
                               QStringLiteral("Versi terbaru dari aplikasi KORA Viewer tersedia, "
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

        QCOMPARE(FileContent::read(appFile(viewerName())), newViewer);
        QCOMPARE(FileContent::read(appFile(library)), newLibrary);
        QCOMPARE(FileContent::read(appFile(QStringLiteral("config/config.ini"))), newSettings);
        QCOMPARE(FileContent::read(appFile(QStringLiteral("update/backup/")) + viewerName()),
                 oldViewer);
        QCOMPARE(FileContent::read(appFile(QStringLiteral("update/backup/")) + library),
                 oldLibrary);
        QSettings backupSettings(appFile(QStringLiteral("update/backup/config.ini")),
                                 QSettings::IniFormat);
        QCOMPARE(backupSettings.value(QStringLiteral("update-online/port")).toString(), port);
        QVERIFY(!backupSettings.contains(QStringLiteral("package/from.update")));
        const QJsonObject versions = installedVersions();
        QCOMPARE(versions.value(QStringLiteral("kvApplication")).toString(),
                 QStringLiteral("1.0.11"));
        QCOMPARE(versions.value(QStringLiteral("kvLibrary")).toString(), QStringLiteral("1.0.4"));
        QCOMPARE(versions.value(QStringLiteral("kvConfig")).toString(), QStringLiteral("1.0.1"));
        QCOMPARE(versions.value(QStringLiteral("kvManual")).toString(), QStringLiteral("1.0.0"));

        // The user starts the updated viewer: the update directory goes, the viewer comes.
        QVERIFY(FileContent::write(path(QStringLiteral("gate")), "go"));
        QTRY_COMPARE_WITH_TIMEOUT(
            driverLog().count(entry(viewerName(), "start", QStringLiteral("[]"))), 2, 30000);
        QVERIFY(!QFileInfo::exists(appFile(QStringLiteral("update"))));

        // A document opened from the desktop goes through the updater to the viewer.
        const QString document = path(QStringLiteral("Laporan Debitur 01.vardo"));
        QProcess handOver;
        handOver.setProcessEnvironment(drivenEnvironment());
        handOver.start(appFile(updaterName()), {document});
        QVERIFY(handOver.waitForFinished(10000));
        QCOMPARE(handOver.exitCode(), 0);
        const QString started =
            QString::fromUtf8(QJsonDocument(QJsonArray{document}).toJson(QJsonDocument::Compact));
        QTRY_VERIFY_WITH_TIMEOUT(driverLog().contains(entry(viewerName(), "start", started)),
                                 30000);
    }
};

QTEST_GUILESS_MAIN(TestUpdatePath)
#include "tst_updatepath.moc"
