// The updater's window and flow. The update manager works on the directory of
// the running executable, so this test first copies itself into a fresh
// application directory and runs there; a copy of it named like the viewer
// program stands in for the viewer, recording how it was started.

#include "applicationversion.h"
#include "filecontent.h"
#include "mainwindow.h"
#include "packagebuilder.h"
#include "platform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QThread>
#include <QtTest>

namespace {

const char* const relocatedVariable = "VARDO_TEST_APPDIR";

QString appPath(const QString& relative)
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + relative;
}

QString viewerPath()
{
    return appPath(QString::fromLatin1(Platform::viewerProgram));
}

QString updaterPath()
{
    return appPath(QString::fromLatin1(Platform::updaterProgram));
}

// A library file name the platform's library pattern matches.
QString libraryName()
{
    QString name = QString::fromLatin1(Platform::libraryPattern);
    name.replace(0, 1, QStringLiteral("libextra"));
    return name.remove(QLatin1Char('*'));
}

QString startRecordPath()
{
    return appPath(QStringLiteral("viewer-started.txt"));
}

QString holdPath()
{
    return appPath(QStringLiteral("viewer-hold"));
}

// Every start of the stand-in viewer, each as its list of arguments.
QList<QStringList> viewerStarts()
{
    QList<QStringList> starts;
    const QList<QByteArray> lines = FileContent::read(startRecordPath()).split('\n');
    for (const QByteArray& line : lines) {
        const QJsonDocument json = QJsonDocument::fromJson(line);
        if (!json.isArray())
            continue;
        QStringList args;
        for (const QJsonValue& value : json.array())
            args << value.toString();
        starts << args;
    }
    return starts;
}

// The stand-in viewer: records its arguments, then stays running while the
// hold file exists, so that its program file is busy as a real viewer's is.
int runAsViewer(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QFile record(startRecordPath());
    if (record.open(QIODevice::Append)) {
        const QJsonArray args = QJsonArray::fromStringList(app.arguments().mid(1));
        record.write(QJsonDocument(args).toJson(QJsonDocument::Compact) + '\n');
        record.close();
    }
    QElapsedTimer limit;
    limit.start();
    while (QFile::exists(holdPath()) && limit.elapsed() < 120000)
        QThread::msleep(20);
    return 0;
}

int runInFreshApplicationDirectory(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString copy = dir.filePath(QFileInfo(app.applicationFilePath()).fileName());
    if (!dir.isValid() || !QFile::copy(app.applicationFilePath(), copy)) {
        qCritical("cannot prepare an application directory");
        return 1;
    }
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(relocatedVariable), dir.path());
    child.setProcessEnvironment(env);
    child.start(copy, app.arguments().mid(1));
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit)
        return 1;
    return child.exitCode();
}

} // namespace

class TestUpdater : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir sources;
    QByteArray oldViewer;
    QByteArray newViewer;

    QString source(const QString& name) const { return sources.filePath(name); }

    void makePackage(const QStringList& args)
    {
        QDir().mkpath(ApplicationVersion().updateDirname());
        QProcess tool;
        tool.start(QStringLiteral(TEST_BIN_DIR "/vardotool"),
                   QStringList{QStringLiteral("make-update"), QStringLiteral("-o"),
                               ApplicationVersion().updateFilename(), QStringLiteral("--sign"),
                               PackageBuilder::testSecretKey()} +
                       args);
        QVERIFY(tool.waitForFinished(30000));
        QVERIFY2(tool.exitCode() == 0, tool.readAllStandardError().constData());
    }

    // Three components followed by the header.
    void makeFullPackage()
    {
        makePackage({QStringLiteral("--application"), source(QStringLiteral("run")),
                     QStringLiteral("--library"), source(libraryName()), QStringLiteral("--config"),
                     source(QStringLiteral("config.ini")), QStringLiteral("--version"),
                     QStringLiteral("kvApplication=1.0.11"), QStringLiteral("kvLibrary=1.0.4"),
                     QStringLiteral("kvConfig=1.0.1")});
    }

    static QProgressBar* progressBar(MainWindow& w)
    {
        return w.findChild<QProgressBar*>(QStringLiteral("progressBar"));
    }
    static QPushButton* button(MainWindow& w, const char* name)
    {
        return w.findChild<QPushButton*>(QLatin1String(name));
    }
    static QString text(MainWindow& w, const char* name)
    {
        if (auto* label = w.findChild<QLabel*>(QLatin1String(name)))
            return label->text();
        return w.findChild<QTextBrowser*>(QLatin1String(name))->toPlainText();
    }
    static QString itemHtml(MainWindow& w)
    {
        return w.findChild<QTextBrowser*>(QStringLiteral("itemList"))->toHtml();
    }

    // Lines of the item list in order, each as its text and the image it shows.
    static QStringList itemLines(MainWindow& w)
    {
        QStringList lines;
        QTextDocument* document =
            w.findChild<QTextBrowser*>(QStringLiteral("itemList"))->document();
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            QString image;
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                if (it.fragment().charFormat().isImageFormat())
                    image = it.fragment().charFormat().toImageFormat().name();
            }
            const QString line = block.text().remove(QChar::ObjectReplacementCharacter).trimmed();
            if (!line.isEmpty())
                lines << line + QStringLiteral(" | ") + image;
        }
        return lines;
    }

    static void waitForApplyEnd(MainWindow& w)
    {
        QTRY_VERIFY_WITH_TIMEOUT(button(w, "rollbackButton")->isEnabled(), 20000);
    }

    // Closes every message box the updater shows with OK, keeping its text.
    QStringList boxes;
    QTimer boxCloser;
    void closeBoxes()
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box && box->isVisible()) {
                boxes << box->windowTitle() + QStringLiteral(": ") + box->text();
                box->button(QMessageBox::Ok)->click();
            }
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(qEnvironmentVariableIsSet(relocatedVariable),
                 "runs only in its own application directory");
        QVERIFY(sources.isValid());
        oldViewer = FileContent::read(QCoreApplication::applicationFilePath());
        // Trailing bytes keep the program runnable and tell the versions apart.
        newViewer = oldViewer + "\nnew viewer build\n";
        QVERIFY(FileContent::write(source(QStringLiteral("run")), newViewer));
        QVERIFY(FileContent::write(source(libraryName()), "new library"));
        QVERIFY(FileContent::write(source(QStringLiteral("config.ini")),
                                   "[update-online]\nport=8080\n"));
        // The tests' build of the updater, which trusts the test key.
        QFile::remove(updaterPath());
        QVERIFY(QFile::copy(QStringLiteral(VARDO_TEST_KEY_BIN_DIR "/") +
                                QString::fromLatin1(Platform::updaterProgram),
                            updaterPath()));
        connect(&boxCloser, &QTimer::timeout, this, &TestUpdater::closeBoxes);
        boxCloser.start(50);
    }

    void init()
    {
        for (const QString& dir :
             {QStringLiteral("update"), QStringLiteral("config"), QStringLiteral("log")})
            QDir(appPath(dir)).removeRecursively();
        QFile::remove(startRecordPath());
        QFile::remove(holdPath());
        boxes.clear();
        QFile::remove(viewerPath());
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), viewerPath()));
        QVERIFY(FileContent::write(appPath(libraryName()), "old library"));
        QVERIFY(FileContent::write(appPath(QStringLiteral("config/config.ini")),
                                   "[update-online]\nport=80\n"));
    }

    void applyShowsEachComponent()
    {
        makeFullPackage();
        MainWindow w;
        QVERIFY(w.isVisible());
        QCOMPARE(w.size(), QSize(756, 410));
        QCOMPARE(w.windowTitle(), QStringLiteral("Vardo Viewer"));
        QVERIFY(!button(w, "rollbackButton")->isEnabled());
        QList<int> values;
        connect(progressBar(w), &QProgressBar::valueChanged, this,
                [&values](int v) { values << v; });
        // The header entry comes after the last component has reached 100 %:
        // launching (which removes the update directory) must wait for it.
        bool launchBeforeHeaderDone = true;
        QTextBrowser* items = w.findChild<QTextBrowser*>(QStringLiteral("itemList"));
        connect(items, &QTextBrowser::textChanged, this, [&]() {
            if (items->toPlainText().contains(QStringLiteral("Header")))
                launchBeforeHeaderDone = button(w, "testButton")->isEnabled();
        });

        waitForApplyEnd(w);
        QTRY_VERIFY(itemHtml(w).contains(QStringLiteral("Header")));
        QCOMPARE(values, QList<int>({33, 66, 100}));
        QVERIFY(!launchBeforeHeaderDone);
        QCOMPARE(progressBar(w)->value(), 100);
        QCOMPARE(text(w, "currentItem"), QStringLiteral("Selesai."));
        QCOMPARE(text(w, "textBrowser"), QStringLiteral("Update Aplikasi Selesai."));
        QVERIFY(button(w, "testButton")->isEnabled());
        const QString tick = QStringLiteral(":/images/tick.png");
        QCOMPARE(itemLines(w), QStringList({QStringLiteral("Update File Aplikasi | ") + tick,
                                            QStringLiteral("Update Library | ") + tick,
                                            QStringLiteral("Update Konfigurasi | ") + tick,
                                            QStringLiteral("Update Header | ") + tick}));

        QCOMPARE(FileContent::read(viewerPath()), newViewer);
        QCOMPARE(FileContent::read(appPath(libraryName())), QByteArray("new library"));
        QCOMPARE(FileContent::read(appPath(QStringLiteral("config/config.ini"))),
                 FileContent::read(source(QStringLiteral("config.ini"))));
        QCOMPARE(FileContent::read(appPath(QStringLiteral("update/backup/")) +
                                   QString::fromLatin1(Platform::viewerProgram)),
                 oldViewer);
        QCOMPARE(FileContent::read(appPath(QStringLiteral("update/backup/")) + libraryName()),
                 QByteArray("old library"));
        QCOMPARE(FileContent::read(appPath(QStringLiteral("update/backup/config.ini"))),
                 QByteArray("[update-online]\nport=80\n"));

        ApplicationVersion versions;
        QCOMPARE(versions.getValue(QStringLiteral("kvApplication")), QStringLiteral("1.0.11"));
        QCOMPARE(versions.getValue(QStringLiteral("kvLibrary")), QStringLiteral("1.0.4"));
        QCOMPARE(versions.getValue(QStringLiteral("kvConfig")), QStringLiteral("1.0.1"));
        QCOMPARE(versions.getValue(QStringLiteral("kvManual")), QStringLiteral("1.0.0"));
    }

    void rollbackRestoresFilesAndVersions()
    {
        makeFullPackage();
        MainWindow w;
        waitForApplyEnd(w);
        QTRY_VERIFY(itemHtml(w).contains(QStringLiteral("Header")));
        QList<int> values;
        connect(progressBar(w), &QProgressBar::valueChanged, this,
                [&values](int v) { values << v; });

        QTest::mouseClick(button(w, "rollbackButton"), Qt::LeftButton);
        QCOMPARE(values, QList<int>({66, 33, 0}));
        QCOMPARE(text(w, "currentItem"), QStringLiteral("Selesai."));
        QCOMPARE(text(w, "textBrowser"), QStringLiteral("Pembatalan Update Aplikasi Selesai."));
        QVERIFY(!button(w, "rollbackButton")->isEnabled());
        const QStringList lines = itemLines(w);
        QCOMPARE(lines.size(), 8);
        const QString undo = QStringLiteral(":/images/undo.png");
        QCOMPARE(lines.mid(4),
                 QStringList({QStringLiteral("Pembatalan Update File Aplikasi | ") + undo,
                              QStringLiteral("Pembatalan Update Library | ") + undo,
                              QStringLiteral("Pembatalan Update Konfigurasi | ") + undo,
                              QStringLiteral("Pembatalan Update Header | ") + undo}));

        QCOMPARE(FileContent::read(viewerPath()), oldViewer);
        QCOMPARE(FileContent::read(appPath(libraryName())), QByteArray("old library"));
        QCOMPARE(FileContent::read(appPath(QStringLiteral("config/config.ini"))),
                 QByteArray("[update-online]\nport=80\n"));
        ApplicationVersion versions;
        QCOMPARE(versions.getValue(QStringLiteral("kvApplication")), QStringLiteral("1.0.10"));
        QCOMPARE(versions.getValue(QStringLiteral("kvLibrary")), QStringLiteral("1.0.3"));
        QCOMPARE(versions.getValue(QStringLiteral("kvConfig")), QStringLiteral("1.0.0"));
    }

    // A settings "file" that is a directory can be neither backed up nor replaced.
    void failedComponentIsMarked()
    {
        QVERIFY(QFile::remove(appPath(QStringLiteral("config/config.ini"))));
        QVERIFY(QDir().mkpath(appPath(QStringLiteral("config/config.ini"))));
        makeFullPackage();
        MainWindow w;
        waitForApplyEnd(w);
        QTRY_VERIFY(itemHtml(w).contains(QStringLiteral("Header")));

        const QString tick = QStringLiteral(":/images/tick.png");
        QCOMPARE(itemLines(w),
                 QStringList({QStringLiteral("Update File Aplikasi | ") + tick,
                              QStringLiteral("Update Library | ") + tick,
                              QStringLiteral("Update Konfigurasi | :/images/failure.png"),
                              QStringLiteral("Update Header | ") + tick}));
        QCOMPARE(progressBar(w)->value(), 100);
        QCOMPARE(text(w, "textBrowser"),
                 QStringLiteral("Update Aplikasi Gagal, silahkan lakukan Batalkan Update."));
        QVERIFY(button(w, "rollbackButton")->isEnabled());
        ApplicationVersion versions;
        QCOMPARE(versions.getValue(QStringLiteral("kvConfig")), QStringLiteral("1.0.0"));
        QCOMPARE(versions.getValue(QStringLiteral("kvApplication")), QStringLiteral("1.0.11"));

        QTest::mouseClick(button(w, "rollbackButton"), Qt::LeftButton);
        QCOMPARE(text(w, "textBrowser"), QStringLiteral("Pembatalan Update Aplikasi Selesai."));
        QCOMPARE(FileContent::read(viewerPath()), oldViewer);
        QCOMPARE(ApplicationVersion().getValue(QStringLiteral("kvApplication")),
                 QStringLiteral("1.0.10"));
    }

    void refusedPackage_data()
    {
        QTest::addColumn<QByteArray>("package");
        QTest::addColumn<QString>("message");
        const QString notAuthentic = QStringLiteral("Paket update tidak asli");
        const QByteArray header =
            PackageBuilder::header({{QStringLiteral("kvApplication"), QStringLiteral("1.0.11")}});
        QTest::newRow("not a zip") << QByteArray("this is not a zip archive") << notAuthentic;
        QTest::newRow("unsigned") << PackageBuilder()
                                         .add(QStringLiteral("kvApplication"), "new program")
                                         .add(QStringLiteral("header.xml"), header)
                                         .withoutSignature()
                                         .zip()
                                  << notAuthentic;
        QTest::newRow("one byte changed after signing")
            << PackageBuilder()
                   .add(QStringLiteral("kvApplication"), "new program")
                   .add(QStringLiteral("header.xml"), header)
                   .signNow()
                   .replace(QStringLiteral("kvApplication"), "new programme")
                   .zip()
            << notAuthentic;
        QTest::newRow("downgrade")
            << PackageBuilder()
                   .add(QStringLiteral("kvApplication"), "old program")
                   .add(QStringLiteral("header.xml"),
                        PackageBuilder::header(
                            {{QStringLiteral("kvApplication"), QStringLiteral("1.0.9")}}))
                   .zip()
            << QStringLiteral("Paket update tidak dapat digunakan: versi 1.0.9");
    }

    // A package that may not be installed ends the job at once: the window says why,
    // an information box too, the package is gone, nothing was replaced, and the
    // launch button starts the viewer with the document the updater was given.
    void refusedPackage()
    {
        QFETCH(QByteArray, package);
        QFETCH(QString, message);
        QVERIFY(FileContent::write(ApplicationVersion().updateFilename(), package));
        MainWindow w;
        QTRY_VERIFY_WITH_TIMEOUT(button(w, "testButton")->isEnabled(), 20000);
        QTRY_COMPARE(boxes.size(), 1);
        QVERIFY2(boxes.first().startsWith(QStringLiteral("Informasi: ") + message),
                 qPrintable(boxes.first()));
        QVERIFY(text(w, "textBrowser").startsWith(message));
        QVERIFY(!button(w, "rollbackButton")->isEnabled());
        QCOMPARE(itemLines(w), QStringList());
        QCOMPARE(FileContent::read(viewerPath()), oldViewer);
        QVERIFY(!QFileInfo::exists(ApplicationVersion().updateFilename()));
        QCOMPARE(ApplicationVersion().getValue(QStringLiteral("kvApplication")),
                 QStringLiteral("1.0.10"));
    }

    // An entry the updater does not know is skipped; the job still ends at 100 %.
    void unknownEntryDoesNotStopTheJob()
    {
        QVERIFY(PackageBuilder()
                    .add(QStringLiteral("kvOther"), "?")
                    .add(QStringLiteral("kvConfig"), "[update-online]\nport=8080\n")
                    .add(QStringLiteral("header.xml"),
                         PackageBuilder::header(
                             {{QStringLiteral("kvConfig"), QStringLiteral("1.0.1")}}))
                    .writeTo(ApplicationVersion().updateFilename()));
        MainWindow w;
        waitForApplyEnd(w);
        QVERIFY(button(w, "testButton")->isEnabled());
        QCOMPARE(progressBar(w)->value(), 100);
        QCOMPARE(text(w, "textBrowser"), QStringLiteral("Update Aplikasi Selesai."));
        QCOMPARE(ApplicationVersion().getValue(QStringLiteral("kvConfig")),
                 QStringLiteral("1.0.1"));
    }

    // A package the user declined is not applied at the next start: the viewer gets
    // the document at once, and the package waits for the viewer to offer it again.
    void declinedPackageIsLeftAlone()
    {
        makeFullPackage();
        const QByteArray package = FileContent::read(ApplicationVersion().updateFilename());
        ApplicationVersion().declineUpdate();
        const QString document = QStringLiteral("/data/Laporan Debitur 01.vardo");
        QProcess updater;
        updater.start(updaterPath(), {document});
        QVERIFY(updater.waitForFinished(10000));
        QCOMPARE(updater.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(viewerStarts(), QList<QStringList>({{document}}), 10000);
        QCOMPARE(FileContent::read(viewerPath()), oldViewer);
        QCOMPARE(FileContent::read(ApplicationVersion().updateFilename()), package);
        QCOMPARE(ApplicationVersion().getValue(QStringLiteral("kvApplication")),
                 QStringLiteral("1.0.10"));
    }

    // A package placed later, by an administrator, is nobody's declined one.
    void newPackageAfterDeclineIsApplied()
    {
        makeFullPackage();
        ApplicationVersion().declineUpdate();
        makePackage({QStringLiteral("--config"), source(QStringLiteral("config.ini")),
                     QStringLiteral("--version"), QStringLiteral("kvConfig=1.0.1")});
        QVERIFY(!ApplicationVersion().isUpdateDeclined());
        MainWindow w;
        waitForApplyEnd(w);
        QCOMPARE(ApplicationVersion().getValue(QStringLiteral("kvConfig")),
                 QStringLiteral("1.0.1"));
    }

    void launchRemovesUpdateDirectory()
    {
        makeFullPackage();
        MainWindow w;
        waitForApplyEnd(w);
        QTRY_VERIFY(itemHtml(w).contains(QStringLiteral("Header")));

        QTest::mouseClick(button(w, "testButton"), Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QVERIFY(!QFileInfo::exists(appPath(QStringLiteral("update"))));
        QTRY_COMPARE_WITH_TIMEOUT(viewerStarts(), QList<QStringList>({QStringList()}), 10000);
    }

    // Without a package the updater only hands over to the viewer, passing on
    // the first argument.
    void handsOverWithoutPackage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("passed");
        const QString document = QStringLiteral("/data/Laporan Debitur \"01\".vardo");
        QTest::newRow("document with blanks") << QStringList{document} << QStringList{document};
        QTest::newRow("no argument") << QStringList() << QStringList();
        QTest::newRow("first argument only")
            << QStringList{QStringLiteral("a.vardo"), QStringLiteral("b.vardo")}
            << QStringList{QStringLiteral("a.vardo")};
    }

    void handsOverWithoutPackage()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, passed);
        QProcess updater;
        updater.start(updaterPath(), args);
        QVERIFY(updater.waitForFinished(10000));
        QCOMPARE(updater.exitStatus(), QProcess::NormalExit);
        QCOMPARE(updater.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(viewerStarts(), QList<QStringList>({passed}), 10000);
    }

    // On the target platform a running program file cannot be written; the
    // updater must wait for the viewer to end before replacing it.
    void waitsForRunningViewer()
    {
        makePackage({QStringLiteral("--application"), source(QStringLiteral("run")),
                     QStringLiteral("--version"), QStringLiteral("kvApplication=1.0.11")});
        QVERIFY(FileContent::write(holdPath(), "hold"));
        QProcess viewer;
        viewer.start(viewerPath(), QStringList{QStringLiteral("still-open.vardo")});
        QTRY_COMPARE_WITH_TIMEOUT(viewerStarts().size(), 1, 10000);

        QProcess updater;
        updater.start(updaterPath(), QStringList());
        QVERIFY(updater.waitForStarted(10000));
        const QString backup = appPath(QStringLiteral("update/backup/")) +
                               QString::fromLatin1(Platform::viewerProgram);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(backup), 10000);
        QTest::qWait(1500);
        QCOMPARE(updater.state(), QProcess::Running);
        QCOMPARE(FileContent::read(viewerPath()), oldViewer);
        QCOMPARE(ApplicationVersion().getValue(QStringLiteral("kvApplication")),
                 QStringLiteral("1.0.10"));

        QFile::remove(holdPath());
        QVERIFY(viewer.waitForFinished(10000));
        QTRY_COMPARE_WITH_TIMEOUT(FileContent::read(viewerPath()), newViewer, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(ApplicationVersion().getValue(QStringLiteral("kvApplication")),
                                  QStringLiteral("1.0.11"), 10000);
        QCOMPARE(FileContent::read(backup), oldViewer);
        QCOMPARE(updater.state(), QProcess::Running);
        updater.kill();
        updater.waitForFinished(10000);
    }
};

int main(int argc, char* argv[])
{
    if (QFileInfo(QString::fromLocal8Bit(argv[0])).completeBaseName() ==
        QFileInfo(QString::fromLatin1(Platform::viewerProgram)).completeBaseName())
        return runAsViewer(argc, argv);
    if (!qEnvironmentVariableIsSet(relocatedVariable))
        return runInFreshApplicationDirectory(argc, argv);
    QApplication app(argc, argv);
    TestUpdater test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_updater.moc"
