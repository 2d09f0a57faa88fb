#include "openresult.h"
#include "reportsample.h"
#include "textexport.h"

#include <QtTest>

namespace {

OpenResult documentWith(const QMap<QString, QByteArray>& entries)
{
    return OpenResult(OpenResult::Success, QString(), QStringLiteral("doc.vardo"),
                      new QMap<QString, QByteArray>(entries), nullptr);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList fileNames(const QStringList& paths)
{
    QStringList names;
    for (const QString& path : paths)
        names << QFileInfo(path).fileName();
    return names;
}

} // namespace

class TestTextExport : public QObject
{
    Q_OBJECT

private slots:
    void outputFileName_data();
    void outputFileName();
    void everyEntryWritten();
    void entriesHandedOverOrKept();
    void exportTwiceReplaces();
    void missingDirectory_data();
    void missingDirectory();
    void failedFileIsReported();
    void notJsonIsExportedEmpty();
    void nothingToExport();
};

void TestTextExport::outputFileName_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "A"
                           << "A.txt";
    QTest::newRow("ends in txt") << "C.txt"
                                 << "C.txt";
    QTest::newRow("ends in txt, no dot") << "Atxt"
                                         << "Atxt";
    QTest::newRow("case-sensitive") << "C.TXT"
                                    << "C.TXT.txt";
    QTest::newRow("json entry") << "data.json"
                                << "data.json.txt";
    QTest::newRow("in a folder") << "sub/dir/B"
                                 << "B.txt";
    QTest::newRow("climbing out") << "../../etc/x"
                                  << "x.txt";
    QTest::newRow("backslashes") << "..\\evil"
                                 << "evil.txt";
    QTest::newRow("empty") << ""
                           << "data.txt";
    QTest::newRow("dot-dot") << ".."
                             << "data.txt";
    QTest::newRow("folder only") << "sub/"
                                 << "data.txt";
}

void TestTextExport::outputFileName()
{
    QFETCH(QString, entry);
    QFETCH(QString, expected);
    const QMap<QString, QString> paths =
        TextExport::targetPaths(documentWith({{entry, "{}"}}), QStringLiteral("/ziel"));
    QCOMPARE(paths.keys(), QStringList{entry});
    QCOMPARE(paths.value(entry), QStringLiteral("/ziel/") + expected);
}

void TestTextExport::everyEntryWritten()
{
    QTemporaryDir dir;
    const OpenResult document = documentWith({{"A", sampleText("individual-basic.json")},
                                              {"B", sampleText("corporate-basic.json")},
                                              {"C.txt", sampleText("individual-empty.json")}});
    const TextExport::Result result = TextExport::exportAll(document, dir.path());
    QVERIFY(result.succeeded());
    QCOMPARE(fileNames(result.written), QStringList({"A.txt", "B.txt", "C.txt"}));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"A.txt", "B.txt", "C.txt"}));
    QVERIFY(readFile(dir.filePath("A.txt")).contains("\"individual\": {"));
    QVERIFY(readFile(dir.filePath("B.txt")).contains("\"perusahaan\": {"));
    QVERIFY(readFile(dir.filePath("C.txt")).contains("RAHMAT HIDAYAT NASUTION"));
}

// Entries handed over are exported as entries kept, and kept ones are left as they were.
void TestTextExport::entriesHandedOverOrKept()
{
    const QMap<QString, QByteArray> entries{{"A", sampleText("individual-basic.json")},
                                            {"B", sampleText("corporate-basic.json")}};
    QTemporaryDir fromDocument;
    QVERIFY(TextExport::exportAll(documentWith(entries), fromDocument.path()).succeeded());
    QTemporaryDir fromKept;
    const QMap<QString, QByteArray> kept = entries;
    QVERIFY(TextExport::exportAll(kept, fromKept.path()).succeeded());
    QCOMPARE(kept, entries);
    QTemporaryDir fromHanded;
    QMap<QString, QByteArray> handed = entries;
    QVERIFY(TextExport::exportAll(std::move(handed), fromHanded.path()).succeeded());
    for (const QString name : {"A.txt", "B.txt"}) {
        const QByteArray expected = readFile(QDir(fromDocument.path()).filePath(name));
        QVERIFY(expected.size() > 1000);
        QCOMPARE(readFile(QDir(fromKept.path()).filePath(name)), expected);
        QCOMPARE(readFile(QDir(fromHanded.path()).filePath(name)), expected);
    }
}

void TestTextExport::exportTwiceReplaces()
{
    QTemporaryDir dir;
    QVERIFY(
        TextExport::exportAll(documentWith({{"A", sampleText("corporate-basic.json")}}), dir.path())
            .succeeded());
    const QByteArray longer = readFile(dir.filePath("A.txt"));
    QVERIFY(TextExport::exportAll(documentWith({{"A", sampleText("individual-empty.json")}}),
                                  dir.path())
                .succeeded());
    const QByteArray shorter = readFile(dir.filePath("A.txt"));
    QVERIFY(shorter.size() < longer.size());
    QVERIFY(shorter.endsWith("}"));
    QVERIFY(!shorter.contains("perusahaan"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"A.txt"}));
}

void TestTextExport::missingDirectory_data()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("missing") << "missing";
    QTest::newRow("a regular file") << "plain";
}

void TestTextExport::missingDirectory()
{
    QFETCH(QString, relative);
    QTemporaryDir dir;
    QFile plain(dir.filePath("plain"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    const TextExport::Result result =
        TextExport::exportAll(documentWith({{"A", "{}"}}), dir.filePath(relative));
    QVERIFY(!result.succeeded());
    QVERIFY(result.written.isEmpty());
    QCOMPARE(result.failures.size(), 1);
    QCOMPARE(result.failures.first().reason, QStringLiteral("Direktori tidak ditemukan"));
}

void TestTextExport::failedFileIsReported()
{
    // Root writes into read-only directories, so the file that cannot be written is
    // one whose name is taken by a directory.
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("B.txt"));
    const OpenResult document = documentWith({{"A", "{}"}, {"B", "{}"}, {"C", "{}"}, {"..", "{}"}});
    const TextExport::Result result = TextExport::exportAll(document, dir.path());
    QVERIFY(!result.succeeded());
    QCOMPARE(fileNames(result.written), QStringList({"data.txt", "A.txt", "C.txt"}));
    QCOMPARE(result.failures.size(), 1);
    QCOMPARE(QFileInfo(result.failures[0].path).fileName(), QStringLiteral("B.txt"));
    QCOMPARE(result.failures[0].reason, QStringLiteral("sudah ada folder dengan nama yang sama"));
    QVERIFY(QFileInfo(dir.filePath("B.txt")).isDir());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"A.txt", "C.txt", "data.txt"}));
}

void TestTextExport::notJsonIsExportedEmpty()
{
    QTemporaryDir dir;
    QVERIFY(TextExport::exportAll(documentWith({{"A", "not json"}}), dir.path()).succeeded());
    const QJsonObject root = QJsonDocument::fromJson(readFile(dir.filePath("A.txt"))).object();
    QCOMPARE(root.keys(), QStringList({"header", "perusahaan"}));
}

void TestTextExport::nothingToExport()
{
    QTemporaryDir dir;
    const OpenResult none;
    QVERIFY(TextExport::exportAll(none, dir.path()).succeeded());
    QVERIFY(TextExport::exportAll(documentWith({}), dir.path()).written.isEmpty());
    QVERIFY(QDir(dir.path()).isEmpty());
}

QTEST_GUILESS_MAIN(TestTextExport)
#include "tst_textexport.moc"
