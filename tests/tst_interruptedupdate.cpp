#include "applicationversion.h"
#include "common.h"
#include "crypto.h"
#include "filecontent.h"
#include "packagebuilder.h"
#include "platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

#include <cstdio>

namespace {

const char* const applyCommand = "--apply";
const char* const rollbackCommand = "--rollback";
// Stands in for a running viewer: this program, copied over the viewer's file, waits
// there until it is killed.
const char* const lingerCommand = "--linger";

QString appPath(const QString& relative)
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + relative;
}

QString libraryFile()
{
    return QStringLiteral("liba") +
           QString::fromLatin1(Platform::libraryPattern).remove(QLatin1Char('*'));
}

struct Component
{
    QString key;
    QString file;
    QString oldVersion;
    QString newVersion;
    QByteArray oldContent;
    QByteArray newContent;
};

// Big enough that a kill often lands while a file is being written.
QByteArray bulk(char fill, const QByteArray& tag)
{
    return tag + QByteArray(6 << 20, fill);
}

const QList<Component>& components()
{
    static const QList<Component> list = {
        {QStringLiteral("kvApplication"), QString::fromLatin1(Platform::viewerProgram),
         QStringLiteral("1.0.10"), QStringLiteral("1.0.11"), bulk('o', "old program"),
         bulk('n', "new program")},
        {QStringLiteral("kvLibrary"), libraryFile(), QStringLiteral("1.0.3"),
         QStringLiteral("1.0.4"), bulk('o', "old library"), bulk('n', "new library")},
        {QStringLiteral("kvManual"), QStringLiteral("documents/manual.lrxml"),
         QStringLiteral("1.0.0"), QStringLiteral("1.1.0"), "old manual", "new manual"},
        {QStringLiteral("kvFAQ"), QStringLiteral("documents/faq.lrxml"), QStringLiteral("1.0.0"),
         QStringLiteral("1.0.1"), "old faq", "new faq"},
        {QStringLiteral("kvConfig"), QStringLiteral("config/config.ini"), QStringLiteral("1.0.0"),
         QStringLiteral("1.0.2"), "[proxy]\nip.address=old\n", "[proxy]\nip.address=new\n"},
    };
    return list;
}

QByteArray package()
{
    QList<QPair<QString, QString>> versions;
    for (const Component& c : components())
        versions.append({c.key, c.newVersion});
    PackageBuilder builder;
    builder.add(QStringLiteral("header.xml"), PackageBuilder::header(versions));
    for (const Component& c : components()) {
        if (c.key == QLatin1String("kvLibrary"))
            builder.add(c.key, PackageBuilder().add(c.file, c.newContent).zip());
        else
            builder.add(c.key, c.newContent);
    }
    return builder.zip();
}

// The versions as a later start reads them; empty when the file is unreadable.
QJsonObject storedVersions()
{
    const QByteArray stored = FileContent::read(appPath(QStringLiteral("config/version.cfg")));
    return QJsonDocument::fromJson(crypto.decryptToByteArray(QString::fromUtf8(stored))).object();
}

QString versionOf(const QJsonObject& versions, const QString& key)
{
    return versions.value(key).toString();
}

int runUpdater(const char* command, int killAfterMs = -1)
{
    QProcess updater;
    updater.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    updater.start(QCoreApplication::applicationFilePath(), {QLatin1String(command)});
    if (!updater.waitForStarted(10000))
        return -2;
    if (killAfterMs >= 0 && !updater.waitForFinished(killAfterMs)) {
        updater.kill();
        updater.waitForFinished(10000);
        return -1;
    }
    updater.waitForFinished(120000);
    return updater.exitCode();
}

} // namespace

class TestInterruptedUpdate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void killedApply_data();
    void killedApply();
    void killedWhileWaitingForViewer_data();
    void killedWhileWaitingForViewer();

private:
    void install();
    void verifyEachFileOldOrNew();

    qint64 applyDuration = 0;
};

void TestInterruptedUpdate::install()
{
    for (const QString& dir : {QStringLiteral("config"), QStringLiteral("update"),
                               QStringLiteral("documents"), QStringLiteral("log")})
        QDir(appPath(dir)).removeRecursively();
    for (const Component& c : components())
        QVERIFY(FileContent::write(appPath(c.file), c.oldContent));
    ApplicationVersion versions;
    QVERIFY(FileContent::write(versions.updateFilename(), package()));
}

void TestInterruptedUpdate::initTestCase()
{
    install();
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(runUpdater(applyCommand), 0);
    applyDuration = timer.elapsed();
    for (const Component& c : components()) {
        QCOMPARE(FileContent::read(appPath(c.file)), c.newContent);
        QCOMPARE(versionOf(storedVersions(), c.key), c.newVersion);
    }
}

void TestInterruptedUpdate::cleanupTestCase()
{
    install();
    for (const Component& c : components())
        QFile::remove(appPath(c.file));
    QDir(appPath(QStringLiteral("update"))).removeRecursively();
}

void TestInterruptedUpdate::verifyEachFileOldOrNew()
{
    const QJsonObject versions = storedVersions();
    QVERIFY2(!versions.isEmpty(), "the version file is unreadable");
    for (const Component& c : components()) {
        const QByteArray content = FileContent::read(appPath(c.file));
        QVERIFY2(content == c.oldContent || content == c.newContent,
                 qPrintable(c.file + QStringLiteral(" is neither the old nor the new file")));
        const QString version = versionOf(versions, c.key);
        QVERIFY2(version == c.oldVersion || version == c.newVersion,
                 qPrintable(c.key + QStringLiteral(" has version '") + version + "'"));
    }
}

void TestInterruptedUpdate::killedApply_data()
{
    QTest::addColumn<int>("killAfterMs");
    QTest::addColumn<bool>("rollBack");
    // Spread over the whole apply, so that the kills fall after each entry and inside
    // the writing of each file.
    const int steps = 16;
    for (int step = 0; step < steps; ++step) {
        const int delay = int(applyDuration * step / steps);
        for (bool rollBack : {false, true})
            QTest::addRow("killed after %d ms, then %s", delay,
                          rollBack ? "rolled back" : "applied again")
                << delay << rollBack;
    }
}

// However the updater is stopped, each file is whole (old or new), the version file
// stays readable, and the next run of the updater brings everything to one state.
void TestInterruptedUpdate::killedApply()
{
    QFETCH(int, killAfterMs);
    QFETCH(bool, rollBack);

    install();
    runUpdater(applyCommand, killAfterMs);
    verifyEachFileOldOrNew();

    QCOMPARE(runUpdater(rollBack ? rollbackCommand : applyCommand), 0);
    verifyEachFileOldOrNew();
    for (const Component& c : components()) {
        QCOMPARE(FileContent::read(appPath(c.file)), rollBack ? c.oldContent : c.newContent);
        QCOMPARE(versionOf(storedVersions(), c.key), rollBack ? c.oldVersion : c.newVersion);
    }
}

void TestInterruptedUpdate::killedWhileWaitingForViewer_data()
{
    QTest::addColumn<bool>("rollBack");
    QTest::newRow("then rolled back") << true;
    QTest::newRow("then applied again") << false;
}

// The updater waits for the viewer to exit before it replaces the program. Stopped
// during that wait, it has replaced nothing the viewer runs from, and its next run
// completes the update or takes it back.
void TestInterruptedUpdate::killedWhileWaitingForViewer()
{
    QFETCH(bool, rollBack);

    install();
    const QString program = appPath(QString::fromLatin1(Platform::viewerProgram));
    const QByteArray viewer = FileContent::read(QCoreApplication::applicationFilePath());
    QVERIFY(FileContent::write(program, viewer));
    QVERIFY(QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner));
    QProcess running;
    running.start(program, {QLatin1String(lingerCommand)});
    QVERIFY(running.waitForReadyRead(10000));
    QVERIFY2(!Common::checkFileIsWriteAble(program), "a running program can be written here");

    QCOMPARE(runUpdater(applyCommand, int(applyDuration) + 1000), -1);
    QCOMPARE(FileContent::read(program), viewer);
    const QJsonObject versions = storedVersions();
    QVERIFY2(!versions.isEmpty(), "the version file is unreadable");
    for (const Component& c : components()) {
        if (c.file == QLatin1String(Platform::viewerProgram))
            continue;
        const QByteArray content = FileContent::read(appPath(c.file));
        QVERIFY2(content == c.oldContent || content == c.newContent, qPrintable(c.file));
    }

    running.kill();
    QVERIFY(running.waitForFinished(10000));
    QCOMPARE(runUpdater(rollBack ? rollbackCommand : applyCommand), 0);
    for (const Component& c : components()) {
        const bool isProgram = c.file == QLatin1String(Platform::viewerProgram);
        const QByteArray expected = rollBack ? (isProgram ? viewer : c.oldContent) : c.newContent;
        QCOMPARE(FileContent::read(appPath(c.file)), expected);
        QCOMPARE(versionOf(storedVersions(), c.key), rollBack ? c.oldVersion : c.newVersion);
    }
}

int main(int argc, char* argv[])
{
    const QByteArray command = argc == 2 ? QByteArray(argv[1]) : QByteArray();
    if (command == lingerCommand) {
        std::fputs("running\n", stdout);
        std::fflush(stdout);
        for (;;)
            QThread::sleep(60);
    }
    if (command == applyCommand || command == rollbackCommand) {
        QCoreApplication app(argc, argv);
        ApplicationVersion versions;
        if (command == applyCommand)
            versions.applyUpdate();
        else
            versions.rollbackUpdate();
        return 0;
    }
    QCoreApplication app(argc, argv);
    TestInterruptedUpdate test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_interruptedupdate.moc"
