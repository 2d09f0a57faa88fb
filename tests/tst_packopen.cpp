#include <QtTest>

// vardotool pack and open, run as a user or a script runs them.
class TestPackOpen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void roundTrip_data();
    void roundTrip();
    void failures_data();
    void failures();
    void dump();
    void unusablePassword();
    void bundledSample();

private:
    struct Run
    {
        int code;
        QString out;
        QString err;
    };
    Run vardotool(const QStringList& args) const;
    QString path(const QString& name) const { return dir.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const;

    QTemporaryDir dir;
    QStringList dataSets;
};

TestPackOpen::Run TestPackOpen::vardotool(const QStringList& args) const
{
    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral(TEST_BIN_DIR "/vardotool"), args);
    if (!process.waitForFinished(60000))
        return {-1, QString(), QStringLiteral("did not finish")};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

void TestPackOpen::write(const QString& name, const QByteArray& bytes) const
{
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void TestPackOpen::initTestCase()
{
    QVERIFY(dir.isValid());
    write("a.json", "{\"satu\": 1}\n");
    write("b.json", QByteArray(300000, 'b'));
    write("pass.txt", "kata sandi\r\nsecond line\n");
    write("other.txt", "salah\n");
    dataSets = QStringList{path("a.json"), path("b.json")};
}

void TestPackOpen::roundTrip_data()
{
    QTest::addColumn<QStringList>("packOptions");
    QTest::addColumn<QStringList>("openOptions");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");

    const QStringList byFile = {"--password-file", "pass.txt"};
    const QStringList byArgument = {"-p", "kata sandi"};
    const QString tooOld =
        "Versi Vardo Viewer tidak valid! Minimum versi 1.2.0. Silahkan download versi baru!";
    QTest::newRow("file, then argument") << byFile << byArgument << 0 << "";
    QTest::newRow("argument, then file") << byArgument << byFile << 0 << "";
    QTest::newRow("wrong password")
        << byFile << QStringList{"--password-file", "other.txt"} << 3 << "Invalid Password";
    QTest::newRow("min-ver met") << (byFile + QStringList{"--min-ver", "1.2.0"})
                                 << (byFile + QStringList{"--viewer-version", "1.2.0"}) << 0 << "";
    QTest::newRow("default viewer version too old")
        << (byFile + QStringList{"--min-ver", "1.2.0"}) << byFile << 2 << tooOld;
    QTest::newRow("no marker") << (byFile + QStringList{"--no-marker"})
                               << (byFile + QStringList{"--viewer-version", "0.0.1"}) << 0 << "";
}

void TestPackOpen::roundTrip()
{
    QFETCH(QStringList, packOptions);
    QFETCH(QStringList, openOptions);
    QFETCH(int, code);
    QFETCH(QString, message);

    const Run pack = vardotool(QStringList{"pack", "-o", "doc.vardo"} + packOptions + dataSets);
    QCOMPARE(pack.code, 0);
    const Run open =
        vardotool(QStringList{"open", "--list"} + openOptions + QStringList{"doc.vardo"});
    QCOMPARE(open.code, code);
    if (code == 0) {
        QCOMPARE(open.out, QStringLiteral("a.json\t12\nb.json\t300000\n"));
    } else {
        QCOMPARE(open.out, QString());
        QCOMPARE(open.err.trimmed(), "vardotool open: " + message);
    }
}

void TestPackOpen::failures_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("error");

    const QStringList doc = {"good.vardo"};
    QTest::newRow("no password") << (QStringList{"open"} + doc) << 64
                                 << "either -p or --password-file";
    QTest::newRow("both passwords")
        << (QStringList{"open", "-p", "x", "--password-file", "pass.txt"} + doc) << 64
        << "either -p or --password-file";
    QTest::newRow("missing password file")
        << (QStringList{"open", "--password-file", "nothing.txt"} + doc) << 66 << "cannot read";
    QTest::newRow("list and dump")
        << (QStringList{"open", "-p", "x", "--list", "--dump", "d"} + doc) << 64 << "not both";
    QTest::newRow("unknown option") << QStringList{"open", "--frobnicate"} << 64 << "frobnicate";
    QTest::newRow("damaged document") << QStringList{"open", "-p", "kata sandi", "cut.vardo"} << 4
                                      << "File Vardo rusak atau tidak valid.";
    QTest::newRow("missing document") << QStringList{"open", "-p", "kata sandi", "none.vardo"} << 66
                                      << "cannot read none.vardo: no such file";
    QTest::newRow("pack without files")
        << QStringList{"pack", "-p", "x", "-o", "x.vardo"} << 64 << "at least one FILE";
    QTest::newRow("pack min-ver without marker")
        << QStringList{"pack",  "-p", "x",       "--no-marker", "--min-ver",
                       "1.0.0", "-o", "x.vardo", "a.json"}
        << 64 << "needs the marker";
    QTest::newRow("pack bad min-ver")
        << QStringList{"pack", "-p", "x", "--min-ver", "1.x", "-o", "x.vardo", "a.json"} << 64
        << "X.Y.Z";
    QTest::newRow("pack missing file")
        << QStringList{"pack", "-p", "x", "-o", "x.vardo", "no.json"} << 66 << "cannot read";
}

void TestPackOpen::failures()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, error);

    QCOMPARE(vardotool(QStringList{"pack", "-p", "kata sandi", "-o", "good.vardo"} + dataSets).code,
             0);
    QFile good(path("good.vardo"));
    QVERIFY(good.open(QIODevice::ReadOnly));
    write("cut.vardo", good.readAll().chopped(48));

    const Run run = vardotool(args);
    QCOMPARE(run.code, code);
    QVERIFY2(run.err.contains(error), qPrintable(run.err));
    QVERIFY(!QFile::exists(path("x.vardo")));
}

void TestPackOpen::dump()
{
    QCOMPARE(vardotool(QStringList{"pack", "-p", "k", "-o", "dump.vardo"} + dataSets).code, 0);
    const Run run = vardotool({"open", "-p", "k", "--dump", "out/sets", "dump.vardo"});
    QCOMPARE(run.code, 0);
    for (const QString& name : {QStringLiteral("a.json"), QStringLiteral("b.json")}) {
        QFile original(path(name));
        QFile dumped(path("out/sets/" + name));
        QVERIFY(original.open(QIODevice::ReadOnly) && dumped.open(QIODevice::ReadOnly));
        QCOMPARE(dumped.readAll(), original.readAll());
    }
}

// "kataé" padded to 16 characters is 17 bytes of UTF-8: no AES key, so nothing is written.
void TestPackOpen::unusablePassword()
{
    const Run run = vardotool(
        QStringList{"pack", "-p", QString::fromUtf8("kataé"), "-o", "bad.vardo"} + dataSets);
    QCOMPARE(run.code, 1);
    QVERIFY(run.err.contains("no AES key"));
    QVERIFY(!QFile::exists(path("bad.vardo")));
}

// The README's first command opens this document with this password.
void TestPackOpen::bundledSample()
{
    const Run run = vardotool({"open", "-p", "sampel2024", "--list", SAMPLE_DOCUMENT});
    QCOMPARE(run.code, 0);
    QDir samples(TEST_SAMPLES);
    QStringList expected;
    for (const QFileInfo& info : samples.entryInfoList({"*.json"}, QDir::Files, QDir::Name))
        expected << info.fileName() + "\t" + QString::number(info.size());
    QVERIFY(!expected.isEmpty());
    QCOMPARE(run.out.split('\n', Qt::SkipEmptyParts), expected);
}

QTEST_GUILESS_MAIN(TestPackOpen)
#include "tst_packopen.moc"
