#include "applicationversion.h"
#include "common.h"
#include "programrun.h"
#include "uiutils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString appPath(const QString& relative)
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + relative;
}

// The updater's build of the same sources, beside this test so both share the
// application directory.
ProgramRun runUpdaterCopy(const QStringList& args)
{
    return ProgramRun::run(appPath(QStringLiteral("vardo-test-updatercopy")), args);
}

QString todaysLog()
{
    QFile file(Common::logDirectory() + QLatin1Char('/') +
               QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".log"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TestUpdaterCopy : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanupTestCase();
    void versionFileWrittenByLibrary();
    void versionFileWrittenByUpdater();
    void secrets_data();
    void secrets();
    void onlyUpdaterLogsCopyStatus();
    void fatalMessageIsLoggedThenAborts();
};

void TestUpdaterCopy::init()
{
    QDir(appPath(QStringLiteral("config"))).removeRecursively();
    QDir(appPath(QStringLiteral("log"))).removeRecursively();
}

void TestUpdaterCopy::cleanupTestCase()
{
    init();
}

void TestUpdaterCopy::versionFileWrittenByLibrary()
{
    {
        ApplicationVersion versions;
        versions.setValue(QStringLiteral("kvApplication"), QStringLiteral("2.3.4"));
        versions.setValue(QStringLiteral("kvFAQ"), QStringLiteral("1.0.9"));
        versions.sync();
    }
    const ProgramRun run = runUpdaterCopy({QStringLiteral("read-version")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QString::fromUtf8(run.out).trimmed(),
             QStringLiteral(R"({"kvApplication":"2.3.4","kvConfig":"1.0.0","kvFAQ":"1.0.9",)"
                            R"("kvLibrary":"1.0.3","kvManual":"1.0.0"})"));
}

void TestUpdaterCopy::versionFileWrittenByUpdater()
{
    const QString json =
        QStringLiteral(R"({"kvApplication":"3.0.0","kvConfig":"1.0.7","kvFAQ":"1.0.6",)"
                       R"("kvLibrary":"1.0.5","kvManual":"1.0.4"})");
    QCOMPARE(runUpdaterCopy({QStringLiteral("write-version"), json}).exitCode, 0);
    ApplicationVersion versions;
    QCOMPARE(QString::fromUtf8(versions.getJson()), json);
}

void TestUpdaterCopy::secrets_data()
{
    QTest::addColumn<bool>("libraryWrites");
    QTest::addColumn<QString>("secret");
    QTest::newRow("library writes") << true << QString::fromUtf8("pengguna-\xC3\xA9");
    QTest::newRow("updater writes") << false << "sandi rahasia 123";
}

void TestUpdaterCopy::secrets()
{
    QFETCH(bool, libraryWrites);
    QFETCH(QString, secret);
    const QString key = QStringLiteral("proxy/password");
    if (libraryWrites) {
        UIUtils::setSettingValue(key, UIUtils::encryptValue(secret));
        const ProgramRun run = runUpdaterCopy({QStringLiteral("read-secret"), key});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QString::fromUtf8(run.out).trimmed(), secret);
    } else {
        QCOMPARE(runUpdaterCopy({QStringLiteral("write-secret"), key, secret}).exitCode, 0);
        const QString stored = UIUtils::getSettingValue(key);
        QVERIFY(!stored.isEmpty() && stored != secret);
        QCOMPARE(UIUtils::decryptValue(stored), secret);
    }
}

void TestUpdaterCopy::onlyUpdaterLogsCopyStatus()
{
    QTemporaryDir dir;
    QFile source(dir.filePath(QStringLiteral("a.ini")));
    QVERIFY(source.open(QIODevice::WriteOnly));
    source.write("a");
    source.close();
    QDir(dir.path()).mkdir(QStringLiteral("b.ini"));

    QCOMPARE(runUpdaterCopy(
                 {QStringLiteral("copy"), dir.path(), QStringLiteral("*.ini"), dir.filePath("out")})
                 .exitCode,
             1);
    const QString updaterLog = todaysLog();
    QVERIFY2(updaterLog.contains(QStringLiteral("INFO: copyStatus  true")), qPrintable(updaterLog));
    QVERIFY2(updaterLog.contains(QStringLiteral("INFO: copyStatus  false")),
             qPrintable(updaterLog));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("out/a.ini"))));

    QDir(Common::logDirectory()).removeRecursively();
    Common::setEnvironment();
    Common::copyFileWithWildcard(dir.path(), QStringLiteral("*.ini"), dir.filePath("again"));
    qInstallMessageHandler(nullptr);
    const QString libraryLog = todaysLog();
    QVERIFY(libraryLog.contains(QStringLiteral("Common::copyFileWithWildcard detail source:")));
    QVERIFY(!libraryLog.contains(QStringLiteral("copyStatus")));
}

void TestUpdaterCopy::fatalMessageIsLoggedThenAborts()
{
    const ProgramRun run =
        runUpdaterCopy({QStringLiteral("fatal"), QStringLiteral("berhenti total")});
    QVERIFY(run.finished);
    QVERIFY(run.crashed);
    QVERIFY2(todaysLog().endsWith(QStringLiteral(" EROR: berhenti total\r\n")),
             qPrintable(todaysLog()));
}

QTEST_GUILESS_MAIN(TestUpdaterCopy)
#include "tst_updatercopy.moc"
