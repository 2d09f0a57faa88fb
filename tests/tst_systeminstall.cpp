#include "common.h"
#include "datalocation.h"
#include "filecontent.h"
#include "mainwindow.h"
#include "permissions.h"
#include "uiutils.h"
#include "updateserver.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

// Notes each message box as it is shown and confirms it.
class MessageAnswerer : public QObject
{
public:
    MessageAnswerer() { qApp->installEventFilter(this); }
    ~MessageAnswerer() override { qApp->removeEventFilter(this); }

    QStringList messages;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (box && event->type() == QEvent::Show) {
            messages << box->text();
            QTimer::singleShot(0, box, [box] { box->button(QMessageBox::Ok)->click(); });
        }
        return false;
    }
};

} // namespace

// Installed by the system's package manager, the program folder is read-only for the
// user: what the viewer keeps goes to the user's data folder, and updates are left to
// the package manager. This test runs from a folder of its own, read-only from the start.
class TestSystemInstall : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void logsGoToUserFolder();
    void settingsAndRecentFilesGoToUserFolder();
    void updatesLeftToPackageManager();
    void programFolderUntouched();

private:
    QString userFolder() const { return home.filePath(QStringLiteral("data/vardo-viewer")); }

    QTemporaryDir home;
    UpdateServer server;
    QStringList installed;
};

void TestSystemInstall::initTestCase()
{
    QString why;
    if (!Permissions::obeyFilePermissions(&why))
        QSKIP(qPrintable(why));
    QVERIFY(home.isValid());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    qmlRegisterType<UIUtils>("qrv.utils", 1, 0, "UIUtils");
    QVERIFY(server.listen());
    server.setOutdated(UpdateServer::componentKeys());
    const QString programFolder = QCoreApplication::applicationDirPath();
    QVERIFY(Permissions::setDirectoryWritable(programFolder, false));
    installed = FileContent::listing(programFolder);
    QVERIFY(FileContent::write(home.filePath(QStringLiteral("dokumen.vardo")), "isi"));
}

void TestSystemInstall::cleanupTestCase()
{
    Permissions::setDirectoryWritable(QCoreApplication::applicationDirPath(), true);
}

void TestSystemInstall::logsGoToUserFolder()
{
    QVERIFY(!DataLocation::isProgramFolderWritable());
    QCOMPARE(DataLocation::directory(), userFolder());
    Common::setEnvironment();
    qDebug() << "pasang sistem";
    qInstallMessageHandler(nullptr);
    const QString log = userFolder() + QStringLiteral("/log/") +
                        QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) +
                        QStringLiteral(".log");
    QVERIFY2(FileContent::read(log).contains(" INFO: pasang sistem\r\n"), qPrintable(log));
}

void TestSystemInstall::settingsAndRecentFilesGoToUserFolder()
{
    QVERIFY(QDir().mkpath(userFolder() + QStringLiteral("/config")));
    QVERIFY(
        FileContent::write(userFolder() + QStringLiteral("/config/config.ini"),
                           QStringLiteral("[update-online]\nserver.address=127.0.0.1\nport=%1\n")
                               .arg(server.port())
                               .toUtf8()));
    MessageAnswerer answerer;
    {
        MainWindow window(QStringList(QStringLiteral("run")));
        window.addRecentFile(home.filePath(QStringLiteral("dokumen.vardo")));
        QCOMPARE(window.getRecentFilesData().size(), 1);
    }
    QCOMPARE(UIUtils::settingsFilePath(), userFolder() + QStringLiteral("/config/config.ini"));
    // The defaults the window fills in are kept beside what was there.
    const QByteArray settings = FileContent::read(UIUtils::settingsFilePath());
    QVERIFY2(settings.contains("[proxy]") && settings.contains("server.address=127.0.0.1"),
             settings.constData());
    MainWindow again(QStringList(QStringLiteral("run")));
    QCOMPARE(again.getRecentFilesData().size(), 1);
    QVERIFY(QFileInfo::exists(userFolder() + QStringLiteral("/config/recents.dat")));
    QCOMPARE(answerer.messages, QStringList());
}

// The updater could not replace anything here: the viewer neither asks the update
// server nor takes an update file, and says who updates this installation.
void TestSystemInstall::updatesLeftToPackageManager()
{
    MessageAnswerer answerer;
    MainWindow window(QStringList(QStringLiteral("run")));
    window.checkUpdateStatus(true);
    window.updateOffline();
    QTest::qWait(1000);
    QCOMPARE(answerer.messages.size(), 2);
    for (const QString& message : answerer.messages)
        QVERIFY2(message.contains(QStringLiteral("pengelola paket distribusi")),
                 qPrintable(message));
    QCOMPARE(server.requests().size(), 0);
}

void TestSystemInstall::programFolderUntouched()
{
    QCOMPARE(FileContent::listing(QCoreApplication::applicationDirPath()), installed);
}

QTEST_MAIN(TestSystemInstall)
#include "tst_systeminstall.moc"
