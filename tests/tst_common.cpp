#include "common.h"
#include "filecontent.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString logFile(const QDate& date)
{
    return Common::logDirectory() + QLatin1Char('/') + date.toString(QStringLiteral("yyyyMMdd")) +
           QStringLiteral(".log");
}

// Root ignores permissions, so on Linux the immutable attribute comes first; a
// read-only directory serves everywhere else and for other users.
bool lockAgainstRemoval(const QString& file, bool lock)
{
#ifdef Q_OS_LINUX
    if (QProcess::execute(QStringLiteral("chattr"),
                          {lock ? QStringLiteral("+i") : QStringLiteral("-i"), file}) == 0)
        return true;
#endif
    const QString dir = QFileInfo(file).absolutePath();
    const QFile::Permissions writable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    return QFile::setPermissions(dir, lock ? writable & ~QFile::Permissions(QFile::WriteOwner)
                                           : writable);
}

} // namespace

class TestCommon : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanupTestCase();
    void logLineFormat_data();
    void logLineFormat();
    void logDaysGoToTheirOwnFiles();
    void handlerWritesFrameworkMessages();
    void oldLogsRemoved_data();
    void oldLogsRemoved();
    void oldLogsRemovedAtStart();
    void fileSizeText_data();
    void fileSizeText();
    void copyWithWildcard();
    void copyWithNoMatchCreatesDestination();
    void copyKeepingExisting();
    void removeMissingDirectory();
    void removeTree();
    void removeStopsAtLockedFile();
    void removeDoesNotFollowLinks();
    void writableCheck();
};

void TestCommon::init()
{
    QDir(Common::logDirectory()).removeRecursively();
}

void TestCommon::cleanupTestCase()
{
    qInstallMessageHandler(nullptr);
    QDir(Common::logDirectory()).removeRecursively();
}

void TestCommon::logLineFormat_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("expected");
    QTest::newRow("debug") << int(QtDebugMsg) << "05-Mar-2024 14:07:09 INFO: pesan satu\r\n";
    QTest::newRow("warning") << int(QtWarningMsg) << "05-Mar-2024 14:07:09 WARN: pesan satu\r\n";
    QTest::newRow("critical") << int(QtCriticalMsg) << "05-Mar-2024 14:07:09 CRIT: pesan satu\r\n";
    QTest::newRow("info has no level word")
        << int(QtInfoMsg) << "05-Mar-2024 14:07:09 : pesan satu\r\n";
}

void TestCommon::logLineFormat()
{
    QFETCH(int, type);
    QFETCH(QString, expected);
    const QDateTime now(QDate(2024, 3, 5), QTime(14, 7, 9));
    QVERIFY(!QDir(Common::logDirectory()).exists());
    Common::writeLogLine(QtMsgType(type), QStringLiteral("pesan satu"), now);
    QCOMPARE(QString::fromUtf8(FileContent::read(logFile(now.date()))), expected);
}

void TestCommon::logDaysGoToTheirOwnFiles()
{
    const QDateTime before(QDate(2024, 1, 31), QTime(23, 59, 59));
    const QDateTime after(QDate(2024, 2, 1), QTime(0, 0, 0));
    Common::writeLogLine(QtDebugMsg, QStringLiteral("sebelum"), before);
    Common::writeLogLine(QtDebugMsg, QStringLiteral("sesudah"), after);
    Common::writeLogLine(QtDebugMsg, QStringLiteral("lagi"), after);
    QCOMPARE(QFileInfo(logFile(before.date())).fileName(), QStringLiteral("20240131.log"));
    QCOMPARE(FileContent::read(logFile(before.date())),
             QByteArray("31-Jan-2024 23:59:59 INFO: sebelum\r\n"));
    QCOMPARE(
        FileContent::read(logFile(after.date())),
        QByteArray("01-Feb-2024 00:00:00 INFO: sesudah\r\n01-Feb-2024 00:00:00 INFO: lagi\r\n"));
}

void TestCommon::handlerWritesFrameworkMessages()
{
    Common::setEnvironment();
    qDebug() << "Common test" << 1;
    qWarning("peringatan %d", 2);
    qInstallMessageHandler(nullptr);
    const QStringList lines = QString::fromUtf8(FileContent::read(logFile(QDate::currentDate())))
                                  .split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 3);
    QVERIFY2(lines.at(0).endsWith(QStringLiteral(" INFO: Common test 1")), qPrintable(lines.at(0)));
    QVERIFY2(lines.at(1).endsWith(QStringLiteral(" WARN: peringatan 2")), qPrintable(lines.at(1)));
    QVERIFY(lines.at(2).isEmpty());
}

void TestCommon::oldLogsRemoved_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("kept");

    // Today is 31 March 2024; thirty days back is 1 March.
    QTest::newRow("today") << "20240331.log" << true;
    QTest::newRow("thirty days old") << "20240301.log" << true;
    QTest::newRow("thirty-one days old") << "20240229.log" << false;
    QTest::newRow("last year") << "20230315.log" << false;
    QTest::newRow("dated later") << "20240401.log" << true;
    QTest::newRow("not a date") << "catatan.log" << true;
    QTest::newRow("impossible date") << "20240231.log" << true;
    QTest::newRow("other extension") << "20230101.txt" << true;
    QTest::newRow("a directory") << "20230101.log/" << true;
}

// Only the handler's own daily files are pruned, by the day their name gives.
void TestCommon::oldLogsRemoved()
{
    QFETCH(QString, name);
    QFETCH(bool, kept);

    QVERIFY(QDir().mkpath(Common::logDirectory()));
    const QString path = Common::logDirectory() + QLatin1Char('/') + name;
    if (name.endsWith(QLatin1Char('/')))
        QVERIFY(QDir().mkpath(path));
    else
        QVERIFY(FileContent::write(path, "31-Jan-2024 23:59:59 INFO: lama\r\n"));
    QCOMPARE(Common::removeOldLogs(QDate(2024, 3, 31)), kept ? 0 : 1);
    QCOMPARE(QFileInfo::exists(path), kept);
}

void TestCommon::oldLogsRemovedAtStart()
{
    const QDate today = QDate::currentDate();
    const QString old = logFile(today.addDays(-31));
    const QString recent = logFile(today.addDays(-30));
    QVERIFY(QDir().mkpath(Common::logDirectory()));
    QVERIFY(FileContent::write(old, "lama"));
    QVERIFY(FileContent::write(recent, "baru"));
    Common::setEnvironment();
    qInstallMessageHandler(nullptr);
    QVERIFY(!QFileInfo::exists(old));
    QCOMPARE(FileContent::read(recent), QByteArray("baru"));
}

void TestCommon::fileSizeText_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << qint64(0) << "0 byte";
    QTest::newRow("one") << qint64(1) << "1 byte";
    QTest::newRow("two") << qint64(2) << "2 bytes";
    QTest::newRow("1024 stays bytes") << qint64(1024) << "1024 bytes";
    QTest::newRow("1025") << qint64(1025) << "1 KBs";
    QTest::newRow("1536") << qint64(1536) << "1,50 KBs";
    QTest::newRow("2048") << qint64(2048) << "2 KBs";
    QTest::newRow("1 MiB stays KB") << qint64(1048576) << "1024 KBs";
    QTest::newRow("1.5 MiB") << qint64(1572864) << "1,50 MBs";
    QTest::newRow("3 GiB") << qint64(3) * 1024 * 1024 * 1024 << "3 GBs";
    QTest::newRow("negative") << qint64(-5) << "-5 byte";
}

void TestCommon::fileSizeText()
{
    QFETCH(qint64, size);
    QFETCH(QString, expected);
    QCOMPARE(Common::getFileSizeInString(size), expected);
}

void TestCommon::copyWithWildcard()
{
    QTemporaryDir dir;
    QVERIFY(FileContent::write(dir.filePath("src/a.dll"), "new a"));
    QVERIFY(FileContent::write(dir.filePath("src/b.dll"), "new b"));
    QVERIFY(FileContent::write(dir.filePath("src/c.txt"), "other"));
    QDir(dir.filePath("src")).mkdir(QStringLiteral("sub.dll"));
    QVERIFY(FileContent::write(dir.filePath("dst/a.dll"), "old a, longer than the new one"));
    QVERIFY(FileContent::write(dir.filePath("dst/sub.dll"), "old sub"));

    const bool allCopied = Common::copyFileWithWildcard(
        dir.filePath("src"), QStringLiteral("*.dll"), dir.filePath("dst"));

    QCOMPARE(FileContent::read(dir.filePath("dst/a.dll")), QByteArray("new a"));
    QCOMPARE(FileContent::read(dir.filePath("dst/b.dll")), QByteArray("new b"));
    QVERIFY(!QFile::exists(dir.filePath("dst/c.txt")));
    // A directory that matches the pattern is not copied, and that is reported; the
    // file it would have replaced is still there, whole.
    QCOMPARE(FileContent::read(dir.filePath("dst/sub.dll")), QByteArray("old sub"));
    QVERIFY(!allCopied);
    QCOMPARE(QDir(dir.filePath("dst")).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

void TestCommon::copyWithNoMatchCreatesDestination()
{
    QTemporaryDir dir;
    QVERIFY(FileContent::write(dir.filePath("src/a.txt"), "a"));
    QVERIFY(Common::copyFileWithWildcard(dir.filePath("src"), QStringLiteral("*.dll"),
                                         dir.filePath("dst/deep")));
    QVERIFY(QFileInfo(dir.filePath("dst/deep")).isDir());
    QVERIFY(QDir(dir.filePath("dst/deep")).isEmpty());
}

void TestCommon::copyKeepingExisting()
{
    QTemporaryDir dir;
    QVERIFY(FileContent::write(dir.filePath("src/a.ini"), "new a"));
    QVERIFY(FileContent::write(dir.filePath("src/b.ini"), "new b"));
    QVERIFY(FileContent::write(dir.filePath("dst/a.ini"), "first a"));
    QVERIFY(Common::copyFileWithWildcard(dir.filePath("src"), QStringLiteral("*.ini"),
                                         dir.filePath("dst"), Common::KeepExisting));
    QCOMPARE(FileContent::read(dir.filePath("dst/a.ini")), QByteArray("first a"));
    QCOMPARE(FileContent::read(dir.filePath("dst/b.ini")), QByteArray("new b"));
}

void TestCommon::removeMissingDirectory()
{
    QTemporaryDir dir;
    QVERIFY(Common::removeDirectoryRecursively(dir.filePath("nothing/here")));
}

void TestCommon::removeTree()
{
    QTemporaryDir dir;
    QVERIFY(FileContent::write(dir.filePath("tree/a.txt"), "a"));
    QVERIFY(FileContent::write(dir.filePath("tree/.hidden"), "h"));
    QVERIFY(FileContent::write(dir.filePath("tree/sub/deeper/b.txt"), "b"));
    QVERIFY(Common::removeDirectoryRecursively(dir.filePath("tree")));
    QVERIFY(!QFileInfo::exists(dir.filePath("tree")));
}

void TestCommon::removeStopsAtLockedFile()
{
    QTemporaryDir dir;
    const QString locked = dir.filePath("tree/locked/file.bin");
    QVERIFY(FileContent::write(locked, "keep"));
    QVERIFY(FileContent::write(dir.filePath("tree/other.txt"), "o"));
    QVERIFY(lockAgainstRemoval(locked, true));
    const bool removed = Common::removeDirectoryRecursively(dir.filePath("tree"));
    QVERIFY(lockAgainstRemoval(locked, false));
    QVERIFY(!removed);
    QCOMPARE(FileContent::read(locked), QByteArray("keep"));
    // Directories come first, so the file after the failure was not reached.
    QVERIFY(QFile::exists(dir.filePath("tree/other.txt")));
}

void TestCommon::removeDoesNotFollowLinks()
{
    QTemporaryDir dir;
    QVERIFY(FileContent::write(dir.filePath("outside/precious.txt"), "precious"));
    QVERIFY(FileContent::write(dir.filePath("tree/a.txt"), "a"));
    if (!QFile::link(dir.filePath("outside"), dir.filePath("tree/link")))
        QSKIP("this file system has no links");
    QVERIFY(Common::removeDirectoryRecursively(dir.filePath("tree")));
    QVERIFY(!QFileInfo::exists(dir.filePath("tree")));
    QCOMPARE(FileContent::read(dir.filePath("outside/precious.txt")), QByteArray("precious"));
}

void TestCommon::writableCheck()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.exe");
    QVERIFY(Common::checkFileIsWriteAble(missing));
    QVERIFY(!QFileInfo::exists(missing));
    QVERIFY(!Common::isFileExists(missing));

    const QString existing = dir.filePath("existing.exe");
    QVERIFY(FileContent::write(existing, "program bytes"));
    const QDateTime modified = QFileInfo(existing).lastModified();
    QVERIFY(Common::checkFileIsWriteAble(existing));
    QVERIFY(Common::isFileExists(existing));
    QCOMPARE(FileContent::read(existing), QByteArray("program bytes"));
    QCOMPARE(QFileInfo(existing).lastModified(), modified);
}

QTEST_GUILESS_MAIN(TestCommon)
#include "tst_common.moc"
