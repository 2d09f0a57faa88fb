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
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("sections");
    QTest::newRow("corporate") << "corporate-basic.json.pdf"
                               << QStringList{"Pemilik / Pengurus", "SUMBER REJEKI ABADI MAKMUR"}
                               << "Nama Sesuai Identitas"
                               << "SUMBER REJEKI ABADI MAKMUR - Laporan 24041800009133070002"
                               << QStringList{"Data Pokok Debitur",  "Pemilik / Pengurus",
                                              "Ringkasan Fasilitas", "Kredit/Pembiayaan",
                                              "Irrevocable L/C",     "Garansi Yang Diberikan",
                                              "Surat Berharga",      "Fasilitas Lain"};
    QTest::newRow("individual") << "individual-basic.json.pdf"
                                << QStringList{"Nama Sesuai Identitas", "DEWI ANGGRAINI SAPUTRI"}
                                << "Pemilik / Pengurus"
                                << "DEWI ANGGRAINI SAPUTRI - Laporan 24031800004578120001"
                                << QStringList{"Data Pokok Debitur",     "Ringkasan Fasilitas",
                                               "Kredit/Pembiayaan",      "Irrevocable L/C",
                                               "Garansi Yang Diberikan", "Fasilitas Lain"};
    QTest::newRow("individual without data")
        << "individual-empty.json.pdf"
        << QStringList{"Ringkasan Fasilitas", "RAHMAT HIDAYAT NASUTION"} << "Data Pokok Debitur"
        << "RAHMAT HIDAYAT NASUTION - Laporan 24050600001204480001"
        << QStringList{"Ringkasan Fasilitas"};
}

void TestExportPdf::writesOneReportPerDataSet()
{
    QFETCH(QString, file);
    QFETCH(QStringList, present);
    QFETCH(QString, absent);
    QFETCH(QString, title);
    QFETCH(QStringList, sections);
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

    // Titled after the debtor and the report, with the report's sections as bookmarks
    // and each facility under its section.
    const QString pdf = QDir(out).filePath(file);
    const QString info = run(QStringLiteral("pdfinfo"), {pdf}).out;
    QVERIFY2(
        info.contains(QRegularExpression("Title:\\s+" + QRegularExpression::escape(title) + "\\n")),
        qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression("Producer:\\s+Vardo Viewer \\d")), qPrintable(info));
    QStringList topLevel;
    int facilities = 0;
    const Run outline = run(QStringLiteral("mutool"), {"show", pdf, "outline"});
    QCOMPARE(outline.code, 0);
    const QRegularExpression bookmark("^[|+-](\\t+)\"([^\"]*)\"");
    for (const QString& line : outline.out.split('\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = bookmark.match(line);
        QVERIFY2(match.hasMatch(), qPrintable(line));
        if (match.captured(1).size() == 1)
            topLevel << match.captured(2);
        else
            ++facilities;
    }
    QCOMPARE(topLevel, sections);
    QCOMPARE(facilities > 0, sections.size() > 1);
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
