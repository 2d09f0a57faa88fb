#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// vardotool find over the sample document and a second document of one data set.
class TestFindCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void findsInEveryDocument();
    void sameRulesAsTheView_data();
    void sameRulesAsTheView();
    void nothingFound();
    void failures_data();
    void failures();
    void failingDocumentDoesNotHideMatches();

private:
    struct Run
    {
        int code = -1;
        QString out;
        QString err;
    };
    Run vardotool(const QStringList& args) const;
    // The output's lines, each split into its tab-separated fields.
    static QList<QStringList> fields(const QString& out);

    QTemporaryDir dir;
    QString second;
};

TestFindCommand::Run TestFindCommand::vardotool(const QStringList& args) const
{
    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral(TEST_BIN_DIR "/vardotool"), args);
    Run run;
    if (!process.waitForFinished(120000))
        return run;
    run.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QList<QStringList> TestFindCommand::fields(const QString& out)
{
    QList<QStringList> lines;
    for (const QString& line : out.split('\n', Qt::SkipEmptyParts))
        lines << line.split('\t');
    return lines;
}

void TestFindCommand::initTestCase()
{
    QVERIFY(dir.isValid());
    second = dir.filePath("kedua.vardo");
    const Run pack = vardotool({"pack", "-p", "sampel2024", "--min-ver", "1.0.0", "-o", second,
                                TEST_SAMPLES "/individual-basic.json"});
    QVERIFY2(pack.code == 0, qPrintable(pack.err));
}

void TestFindCommand::findsInEveryDocument()
{
    // The debtor of individual-basic.json is in both documents; the corporate data set
    // and the empty one do not name her.
    const Run run = vardotool({"find", "-p", "sampel2024", "anggraini", SAMPLE_DOCUMENT, second});
    QVERIFY2(run.code == 0, qPrintable(run.err));
    const QList<QStringList> lines = fields(run.out);
    QVERIFY(!lines.isEmpty());
    QSet<QString> files;
    for (const QStringList& line : lines) {
        QCOMPARE(line.size(), 4);
        files << line.at(0);
        QCOMPARE(line.at(1), QStringLiteral("individual-basic.json"));
        bool number = false;
        QVERIFY(line.at(2).toInt(&number) >= 1 && number);
        QVERIFY2(line.at(3).contains("ANGGRAINI", Qt::CaseInsensitive), qPrintable(line.at(3)));
    }
    QCOMPARE(files, (QSet<QString>{SAMPLE_DOCUMENT, second}));
    // Both documents hold the same data set: the same matches, the sample's first.
    QCOMPARE(lines.size() % 2, 0);
    for (int i = 0; i < lines.size() / 2; ++i) {
        QCOMPARE(lines.at(i).at(0), QStringLiteral(SAMPLE_DOCUMENT));
        QCOMPARE(lines.at(i).mid(1), lines.at(i + lines.size() / 2).mid(1));
    }
    // Her name heads the report: the first match is on page 1, and pages only go up.
    QCOMPARE(lines.first().at(2), QStringLiteral("1"));
    for (int i = 1; i < lines.size() / 2; ++i)
        QVERIFY(lines.at(i - 1).at(2).toInt() <= lines.at(i).at(2).toInt());
}

void TestFindCommand::sameRulesAsTheView_data()
{
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("typed");
    QTest::newRow("case and accents") << "sumber rejeki"
                                      << "SUMBÈR Rejéki";
    QTest::newRow("spaces") << "sumber rejeki"
                            << "  sumber   rejeki ";
}

void TestFindCommand::sameRulesAsTheView()
{
    QFETCH(QString, plain);
    QFETCH(QString, typed);
    const Run expected = vardotool({"find", "-p", "sampel2024", plain, SAMPLE_DOCUMENT});
    QVERIFY2(expected.code == 0, qPrintable(expected.err));
    const QList<QStringList> lines = fields(expected.out);
    QVERIFY(!lines.isEmpty());
    for (const QStringList& line : lines) {
        QCOMPARE(line.at(1), QStringLiteral("corporate-basic.json"));
        QVERIFY2(line.at(3).contains("SUMBER REJEKI", Qt::CaseInsensitive), qPrintable(line.at(3)));
    }
    const Run run = vardotool({"find", "-p", "sampel2024", typed, SAMPLE_DOCUMENT});
    QCOMPARE(run.code, 0);
    QCOMPARE(run.out, expected.out);
}

void TestFindCommand::nothingFound()
{
    const Run run =
        vardotool({"find", "-p", "sampel2024", "tidak ada di laporan", SAMPLE_DOCUMENT, second});
    QCOMPARE(run.code, 1);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(!run.err.contains("find:"), qPrintable(run.err));
}

void TestFindCommand::failures_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("wrong password")
        << QStringList{"-p", "salah", "anggraini", SAMPLE_DOCUMENT} << 3 << "Invalid Password";
    QTest::newRow("missing document")
        << QStringList{"-p", "sampel2024", "anggraini", "hilang.vardo"} << 66 << "hilang.vardo";
    QTest::newRow("no document") << QStringList{"-p", "sampel2024", "anggraini"} << 64
                                 << "FILE.vardo";
    QTest::newRow("blank text") << QStringList{"-p", "sampel2024", "  ", SAMPLE_DOCUMENT} << 64
                                << "blank";
    QTest::newRow("no password") << QStringList{"anggraini", SAMPLE_DOCUMENT} << 64
                                 << "--password-file";
}

void TestFindCommand::failures()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, message);
    const Run run = vardotool(QStringList{"find"} + args);
    QCOMPARE(run.code, code);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
}

// A document that cannot be opened is named and decides the exit code; the others are
// still searched, and the password may come from a file.
void TestFindCommand::failingDocumentDoesNotHideMatches()
{
    const QString passwordFile = dir.filePath("sandi.txt");
    QFile file(passwordFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("sampel2024\n");
    file.close();
    const Run run =
        vardotool({"find", "--password-file", passwordFile, "anggraini", "hilang.vardo", second});
    QCOMPARE(run.code, 66);
    QVERIFY2(run.err.contains("hilang.vardo"), qPrintable(run.err));
    const QList<QStringList> lines = fields(run.out);
    QVERIFY(!lines.isEmpty());
    for (const QStringList& line : lines)
        QCOMPARE(line.first(), second);
}

QTEST_GUILESS_MAIN(TestFindCommand)
#include "tst_findcommand.moc"
