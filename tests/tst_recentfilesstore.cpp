#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include "common.h"
#include "crypto.h"
#include "recentfilesstore.h"

namespace {

QString readStore(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(file.readAll());
}

QString writeFile(const QString& path, int size)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QByteArray(size, 'x'));
    return path;
}

QStringList filenames(const RecentFilesStore& store)
{
    QStringList names;
    for (const QVariant& record : store.toVariantList())
        names << record.toMap().value("filename").toString();
    return names;
}

} // namespace

class TestRecentFilesStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void storeHoldsEncryptedCompactJson();
    void storeDecryptsWithTheTool();
    void keepsTheTwentyNewest();
    void addingAgainMovesToTop();
    void sameFileGivesOneRecord_data();
    void sameFileGivesOneRecord();
    void nonAsciiPathSurvivesReload();
    void recordSizeAndTime_data();
    void recordSizeAndTime();
    void clearStoresEmptyArray();
    void unreadableStoreGivesEmptyList_data();
    void unreadableStoreGivesEmptyList();
    void removeDropsOnlyExactPath();

private:
    QScopedPointer<QTemporaryDir> dir;
    QString storePath() const { return dir->filePath("recents.dat"); }
};

void TestRecentFilesStore::init()
{
    dir.reset(new QTemporaryDir);
    QVERIFY(dir->isValid());
}

void TestRecentFilesStore::storeHoldsEncryptedCompactJson()
{
    RecentFilesStore store(storePath());
    store.add(writeFile(dir->filePath("a.vardo"), 10));

    const QString cipher = readStore(storePath());
    QVERIFY(!cipher.isEmpty());
    QVERIFY(!cipher.contains("a.vardo"));
    QVERIFY(!cipher.contains('\n'));

    const QString plain = crypto.decryptToString(cipher);
    const QJsonArray records = QJsonDocument::fromJson(plain.toUtf8()).array();
    QCOMPARE(records.size(), 1);
    QCOMPARE(plain, QString::fromUtf8(QJsonDocument(records).toJson(QJsonDocument::Compact)));
    QVERIFY(plain.startsWith("[{\"dateViewed\":\""));
    const QJsonObject record = records.first().toObject();
    QCOMPARE(record.keys(), QStringList({"dateViewed", "filename", "size"}));
    QCOMPARE(record.value("filename").toString(), dir->filePath("a.vardo"));
}

void TestRecentFilesStore::storeDecryptsWithTheTool()
{
    RecentFilesStore store(storePath());
    store.add(dir->filePath(QString::fromUtf8("débitur.vardo")));

    QProcess tool;
    tool.start(QStringLiteral(TEST_BIN_DIR "/vardotool"), {"crypt", "--decrypt"});
    QVERIFY(tool.waitForStarted());
    tool.write(readStore(storePath()).toLatin1());
    tool.closeWriteChannel();
    QVERIFY(tool.waitForFinished());
    QCOMPARE(tool.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(tool.readAllStandardOutput()).trimmed(),
             QString::fromUtf8(QJsonDocument(store.records()).toJson(QJsonDocument::Compact)));
}

void TestRecentFilesStore::keepsTheTwentyNewest()
{
    RecentFilesStore store(storePath());
    for (int i = 1; i <= 21; ++i)
        store.add(dir->filePath(QString("f%1.vardo").arg(i)));

    RecentFilesStore reread(storePath());
    reread.load();
    const QStringList names = filenames(reread);
    QCOMPARE(names.size(), 20);
    QCOMPARE(names.first(), dir->filePath("f21.vardo"));
    QCOMPARE(names.last(), dir->filePath("f2.vardo"));
    QVERIFY(!names.contains(dir->filePath("f1.vardo")));
}

void TestRecentFilesStore::addingAgainMovesToTop()
{
    RecentFilesStore store(storePath());
    const QString a = writeFile(dir->filePath("a.vardo"), 10);
    store.add(a);
    store.add(dir->filePath("b.vardo"));
    writeFile(a, 2048);
    store.add(a);

    QCOMPARE(filenames(store), QStringList({a, dir->filePath("b.vardo")}));
    QCOMPARE(store.toVariantList().first().toMap().value("size").toString(),
             QStringLiteral("2 KBs"));
}

void TestRecentFilesStore::sameFileGivesOneRecord_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<int>("records");

    const QString path = QDir::temp().filePath("x/a.vardo");
    QTest::newRow("URL and path") << QUrl::fromLocalFile(path).toString() << path << 1;
    QTest::newRow("path and URL") << path << QUrl::fromLocalFile(path).toString() << 1;
    QTest::newRow("escaped URL")
        << QUrl::fromLocalFile(QDir::temp().filePath("x/a b.vardo")).toString(QUrl::FullyEncoded)
        << QDir::temp().filePath("x/a b.vardo") << 1;
    QTest::newRow("case differs") << QDir::temp().filePath("x/a.vardo")
                                  << QDir::temp().filePath("x/A.vardo") << 2;
}

void TestRecentFilesStore::sameFileGivesOneRecord()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(int, records);

    RecentFilesStore store(storePath());
    store.add(first);
    store.add(second);
    QCOMPARE(store.records().size(), records);
    QVERIFY(!filenames(store).first().startsWith("file:"));
}

void TestRecentFilesStore::nonAsciiPathSurvivesReload()
{
    const QString path = dir->filePath(QString::fromUtf8("laporan débitur ñ 報告.vardo"));
    RecentFilesStore store(storePath());
    store.add(writeFile(path, 3));

    RecentFilesStore reread(storePath());
    reread.load();
    QCOMPARE(filenames(reread), QStringList(path));
    QCOMPARE(reread.toVariantList().first().toMap().value("size").toString(),
             QStringLiteral("3 bytes"));
}

void TestRecentFilesStore::recordSizeAndTime_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("sizeText");

    QTest::newRow("missing file") << -1 << "0 byte";
    QTest::newRow("1536 bytes") << 1536 << "1,50 KBs";
}

void TestRecentFilesStore::recordSizeAndTime()
{
    QFETCH(int, size);
    QFETCH(QString, sizeText);

    const QString path = dir->filePath("s.vardo");
    if (size >= 0)
        writeFile(path, size);
    RecentFilesStore store(storePath());
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    store.add(path);

    const QVariantMap record = store.toVariantList().first().toMap();
    QCOMPARE(record.value("size").toString(), sizeText);
    const QDateTime viewed = QLocale::system().toDateTime(record.value("dateViewed").toString(),
                                                          RecentFilesStore::dateFormat);
    QVERIFY2(viewed.isValid(), qPrintable(record.value("dateViewed").toString()));
    QVERIFY(viewed >= before.addSecs(-1) && viewed <= QDateTime::currentDateTime().addSecs(1));
}

void TestRecentFilesStore::clearStoresEmptyArray()
{
    RecentFilesStore store(storePath());
    store.add(dir->filePath("a.vardo"));
    store.clear();
    QCOMPARE(crypto.decryptToString(readStore(storePath())), QStringLiteral("[]"));

    RecentFilesStore reread(storePath());
    reread.load();
    QVERIFY(reread.toVariantList().isEmpty());
}

void TestRecentFilesStore::unreadableStoreGivesEmptyList_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("exists");

    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("not a cipher text") << QByteArray("bm90IGVuY3J5cHRlZA==") << true;
    QTest::newRow("cipher of an object")
        << crypto.encryptToString(QByteArray("{\"a\":1}")).toLatin1() << true;
    QTest::newRow("plain JSON") << QByteArray("[{\"filename\":\"a\"}]") << true;
}

void TestRecentFilesStore::unreadableStoreGivesEmptyList()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);

    // The in-memory list is replaced, not kept, when the store cannot be read.
    RecentFilesStore store(storePath());
    store.add(dir->filePath("old.vardo"));
    if (exists) {
        QFile file(storePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    } else {
        QFile::remove(storePath());
    }
    store.load();
    QVERIFY(store.toVariantList().isEmpty());
    // The first load of a fresh installation leaves an empty store behind.
    QVERIFY(QFile::exists(storePath()));
}

void TestRecentFilesStore::removeDropsOnlyExactPath()
{
    RecentFilesStore store(storePath());
    store.add(dir->filePath("a.vardo"));
    store.add(dir->filePath("b.vardo"));
    store.remove(dir->filePath("A.vardo"));
    QCOMPARE(store.records().size(), 2);
    store.remove(dir->filePath("a.vardo"));

    RecentFilesStore reread(storePath());
    reread.load();
    QCOMPARE(filenames(reread), QStringList(dir->filePath("b.vardo")));
}

QTEST_GUILESS_MAIN(TestRecentFilesStore)
#include "tst_recentfilesstore.moc"
