// vardotool export --pdf on the bundled sample document: one report per data set,
// through the viewer's templates, headless.

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run
{
    int code = -1;
    QString out;
    QString err;
};

Run run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    Run result;
    if (!process.waitForFinished(120000))
        return result;
    result.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

Run vardotool(const QStringList& args)
{
    return run(QStringLiteral(TEST_BIN_DIR "/vardotool"), args);
}

QString pdfText(const QString& pdf)
{
    return run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).out;
}

} // namespace

class TestExportPdf : public QObject
{
    Q_OBJECT

private slots:
    void writesOneReportPerDataSet_data();
    void writesOneReportPerDataSet();
    void fileThatFailsIsNamed();

private:
    QTemporaryDir dir;
};

void TestExportPdf::writesOneReportPerDataSet_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("absent");
    QTest::newRow("corporate") << "corporate-basic.json.pdf"
                               << QStringList{"Pemilik / Pengurus", "SUMBER REJEKI ABADI MAKMUR"}
                               << "Nama Sesuai Identitas";
    QTest::newRow("individual") << "individual-basic.json.pdf"
                                << QStringList{"Nama Sesuai Identitas", "DEWI ANGGRAINI SAPUTRI"}
                                << "Pemilik / Pengurus";
    QTest::newRow("individual without data")
        << "individual-empty.json.pdf"
        << QStringList{"Ringkasan Fasilitas", "RAHMAT HIDAYAT NASUTION"} << "Data Pokok Debitur";
}

void TestExportPdf::writesOneReportPerDataSet()
{
    QFETCH(QString, file);
    QFETCH(QStringList, present);
    QFETCH(QString, absent);
    const QString out = dir.filePath(QStringLiteral("pdf"));
    if (!QDir(out).exists()) {
        const Run result = vardotool({"export", "-p", "sampel2024", "--pdf", out, SAMPLE_DOCUMENT});
        QVERIFY2(result.code == 0, qPrintable(result.err));
        QCOMPARE(result.out.count('\n'), 3);
        QCOMPARE(QDir(out).entryList(QDir::Files).size(), 3);
    }
    const QString text = pdfText(QDir(out).filePath(file));
    QVERIFY2(text.contains(QStringLiteral("Informasi Debitur")), qPrintable(file));
    for (const QString& word : present)
        QVERIFY2(text.contains(word), qPrintable(word));
    QVERIFY(!text.contains(absent));
}

void TestExportPdf::fileThatFailsIsNamed()
{
    const QString out = dir.filePath(QStringLiteral("blocked"));
    QVERIFY(QDir().mkpath(out + QStringLiteral("/individual-basic.json.pdf")));
    const Run result = vardotool({"export", "-p", "sampel2024", "--pdf", out, SAMPLE_DOCUMENT});
    QCOMPARE(result.code, 1);
    QVERIFY2(result.err.contains(QStringLiteral("individual-basic.json.pdf")),
             qPrintable(result.err));
    QCOMPARE(result.out.count('\n'), 2);
    QVERIFY(QFileInfo(out + QStringLiteral("/corporate-basic.json.pdf")).isFile());
    QVERIFY(QFileInfo(out + QStringLiteral("/individual-empty.json.pdf")).isFile());
}

QTEST_GUILESS_MAIN(TestExportPdf)
#include "tst_exportpdf.moc"
