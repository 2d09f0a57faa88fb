#include <QProcess>
#include <QtTest>

// vardotool export and dump-sources on the bundled sample document.
class TestExportCommand : public QObject
{
    Q_OBJECT

private slots:
    void exportsEveryDataSet();
    void failures_data();
    void failures();
    void fileThatFailsIsNamed();
    void dumpSources();

private:
    struct Run
    {
        int code = -1;
        QString out;
        QString err;
    };
    Run vardotool(const QStringList& args) const;

    QTemporaryDir dir;
};

TestExportCommand::Run TestExportCommand::vardotool(const QStringList& args) const
{
    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral(TEST_BIN_DIR "/vardotool"), args);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

void TestExportCommand::exportsEveryDataSet()
{
    const QString out = dir.filePath("text");
    const Run run = vardotool({"export", "-p", "sampel2024", "--text", out, SAMPLE_DOCUMENT});
    QVERIFY2(run.code == 0, qPrintable(run.err));
    const QStringList expected{"corporate-basic.json.txt", "individual-basic.json.txt",
                               "individual-empty.json.txt"};
    QCOMPARE(QDir(out).entryList(QDir::Files), expected);
    QCOMPARE(run.out.count('\n'), 3);
    for (const QString& name : expected) {
        QVERIFY(run.out.contains(name));
        QFile file(QDir(out).filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(QJsonDocument::fromJson(file.readAll()).isObject());
    }
}

void TestExportCommand::failures_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("wrong password")
        << QStringList{"-p", "salah", "--text", "wrong", SAMPLE_DOCUMENT} << 3
        << "Invalid Password";
    QTest::newRow("nothing to export")
        << QStringList{"-p", "sampel2024", SAMPLE_DOCUMENT} << 64 << "--text";
}

void TestExportCommand::failures()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, message);
    const Run run = vardotool(QStringList{"export"} + args);
    QCOMPARE(run.code, code);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
}

void TestExportCommand::fileThatFailsIsNamed()
{
    const QString out = dir.filePath("blocked");
    QVERIFY(QDir().mkpath(out + "/individual-basic.json.txt"));
    const Run run = vardotool({"export", "-p", "sampel2024", "--text", out, SAMPLE_DOCUMENT});
    QCOMPARE(run.code, 1);
    QVERIFY2(run.err.contains("individual-basic.json.txt"), qPrintable(run.err));
    QCOMPARE(run.out.count('\n'), 2);
    QVERIFY(QFileInfo(out + "/corporate-basic.json.txt").isFile());
    QVERIFY(QFileInfo(out + "/individual-empty.json.txt").isFile());
}

void TestExportCommand::dumpSources()
{
    const Run run = vardotool({"dump-sources", "-p", "sampel2024", SAMPLE_DOCUMENT});
    QVERIFY2(run.code == 0, qPrintable(run.err));
    const QStringList lines = run.out.split('\n');
    QCOMPARE(lines.first(), QStringLiteral("data set corporate-basic.json"));
    QStringList masters;
    for (const QString& line : lines) {
        if (!line.isEmpty() && !line.startsWith(' ') && !line.startsWith("data set"))
            masters << line;
    }
    QCOMPARE(masters,
             QStringList({"header", "corporateDebtors", "offclsSharehldrGroups", "securities",
                          "facilitySummary", "credits", "lcs", "bankGuarantees", "others"}));
    QVERIFY(lines.contains(
        "  member=611\tmemberDesc=PT Bank Sentosa Raya Tbk\tupdatedDatetime=31 Januari 2024"));
    const int group = lines.indexOf(
        "  member=523\tmemberDesc=PT Bank Cahaya Nusantara\tupdatedDatetime=15 Desember 2023");
    QVERIFY(group > 0);
    QCOMPARE(lines.at(group + 1), QStringLiteral("    offclsSharehldrs"));
    QVERIFY(lines.at(group + 2).startsWith("      identityNumberName=BUDI HARTONO WIJAYA\t"));
    QVERIFY(run.out.contains("\n    credits_col\n      collateralType="));
    QVERIFY(run.out.contains("dataSetNumberOfTotal=bagian ke 2 dari 3"));
}

QTEST_GUILESS_MAIN(TestExportCommand)
#include "tst_exportcommand.moc"
