#include "documentencoder.h"
#include "filecontent.h"
#include "hostilezip.h"
#include "permissions.h"
#include "smalldisk.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QtTest>

#include <functional>

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
    void hostileEntryNames();
    void fullDiskKeepsEarlierExports_data();
    void fullDiskKeepsEarlierExports();
    void killedExportLeavesNoPartialFile();
    void readOnlyFolderKeepsEarlierExports_data();
    void readOnlyFolderKeepsEarlierExports();

private:
    // Writes earlier exports of every data set of the sample into `directory`, exports
    // again with `format`, and checks that each file is either a whole new export the
    // tool named on standard output, or the earlier one untouched and named on
    // standard error with `reason`; nothing else is left in the directory.
    void exportOverEarlierFiles(const QString& directory, const QString& format,
                                const QString& reason, std::function<void()> beforeExport);
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

namespace {

const QStringList sampleEntries{"corporate-basic.json", "individual-basic.json",
                                "individual-empty.json"};

// A new export as the tool writes it: a JSON object, or a PDF with its trailer.
bool isWholeExport(const QByteArray& content, const QString& format)
{
    if (format == QLatin1String("--text"))
        return QJsonDocument::fromJson(content).isObject();
    return content.startsWith("%PDF") && content.trimmed().endsWith("%%EOF");
}

} // namespace

void TestExportCommand::exportOverEarlierFiles(const QString& directory, const QString& format,
                                               const QString& reason,
                                               std::function<void()> beforeExport)
{
    const QString extension = format == QLatin1String("--text") ? ".txt" : ".pdf";
    QMap<QString, QByteArray> earlier;
    for (const QString& entry : sampleEntries) {
        earlier.insert(entry + extension, "ekspor sebelumnya dari " + entry.toUtf8());
        QVERIFY(FileContent::write(QDir(directory).filePath(entry + extension),
                                   earlier.value(entry + extension)));
    }
    beforeExport();
    const Run run = vardotool({"export", "-p", "sampel2024", format, directory, SAMPLE_DOCUMENT});
    QCOMPARE(run.code, 1);
    QCOMPARE(QDir(directory).entryList(QDir::Files | QDir::Hidden), earlier.keys());
    int failed = 0;
    for (auto it = earlier.cbegin(); it != earlier.cend(); ++it) {
        const QByteArray now = FileContent::read(QDir(directory).filePath(it.key()));
        if (run.out.contains(it.key())) {
            QVERIFY2(isWholeExport(now, format), qPrintable(it.key()));
            continue;
        }
        ++failed;
        QCOMPARE(now, it.value());
        const QString line = QDir(directory).filePath(it.key()) + QStringLiteral(": ");
        QVERIFY2(run.err.contains(line) && run.err.contains(reason), qPrintable(run.err));
    }
    QVERIFY(failed > 0);
}

// Entries named to hide, spoof or merge files: each data set still gets a file of its
// own, under a name that shows what it is, with the export's extension.
void TestExportCommand::hostileEntryNames()
{
    const QByteArray sample =
        FileContent::read(QStringLiteral(TEST_SAMPLES "/individual-empty.json"));
    const QString nul(QChar(0));
    // Entry name, and the file's name without the export's extension.
    const QList<QPair<QString, QString>> names{
        {"aaaa" + nul + "bbbb.json", "aaaa_bbbb.json"},
        {"laporan.bat" + nul + ".json", "laporan.bat_.json"},
        {"b.json.txt" + nul + "x", "b.json.txt_x"},
        {QString::fromUtf8("DEWI\u202Efdp.exe"), "DEWI_fdp.exe"},
        {"CON", "_CON"},
        {"a\x01\x1b[2J.json", "a__[2J.json"},
        {"x<>:|?*.json", "x______.json"},
    };
    QList<QPair<QString, QByteArray>> entries;
    for (const auto& name : names)
        entries.append({name.first, sample});
    // Ends in "txt" already: the text export keeps its name.
    entries.append({"b.json.txt", sample});
    const QString document = dir.filePath("nama-aneh.vardo");
    QVERIFY(FileContent::write(document, DocumentEncoder::encode(HostileZip::archive(entries),
                                                                 "sandi", true, "minVer=1.0.0")));

    for (const QString& format : {QStringLiteral("--text"), QStringLiteral("--pdf")}) {
        const QString extension = format == QLatin1String("--text") ? ".txt" : ".pdf";
        QStringList expected;
        for (const auto& name : names)
            expected << name.second + extension;
        expected << (format == QLatin1String("--text") ? "b.json.txt" : "b.json.txt.pdf");
        expected.sort();
        const QString out = dir.filePath("nama-aneh" + extension);
        const Run run = vardotool({"export", "-p", "sandi", format, out, document});
        QVERIFY2(run.code == 0, qPrintable(run.err));
        QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
        QCOMPARE(run.out.count('\n'), expected.size());
        for (const QString& file : expected) {
            QVERIFY2(run.out.contains(QDir(out).filePath(file) + "\n"), qPrintable(file));
            QVERIFY2(isWholeExport(FileContent::read(QDir(out).filePath(file)), format),
                     qPrintable(file));
        }
    }
}

void TestExportCommand::fullDiskKeepsEarlierExports_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("reason");
    QTest::newRow("text") << "--text"
                          << "disk penuh";
    QTest::newRow("pdf") << "--pdf"
                         << "No space left on device";
}

// A full disk fails the files that do not fit and says why; an earlier export of the
// same name stays as it was, and no fragment is left under any name.
void TestExportCommand::fullDiskKeepsEarlierExports()
{
    QFETCH(QString, format);
    QFETCH(QString, reason);
    SmallDisk disk(dir.filePath(QStringLiteral("penuh-") + QTest::currentDataTag()), 512);
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.why()));
    const QString out = disk.path() + QStringLiteral("/ekspor");
    QVERIFY(QDir().mkpath(out));
    exportOverEarlierFiles(out, format, reason, [&] { QVERIFY(disk.leaveFree(8192)); });
}

// An export killed while it writes leaves nothing unfinished under a report's name: a
// file gets that name only once it is whole.
void TestExportCommand::killedExportLeavesNoPartialFile()
{
    const QString out = dir.filePath(QStringLiteral("terhenti"));
    QVERIFY(QDir().mkpath(out));
    QProcess process;
    process.start(QStringLiteral(TEST_BIN_DIR "/vardotool"),
                  {"export", "-p", "sampel2024", "--pdf", out, SAMPLE_DOCUMENT});
    QVERIFY(process.waitForStarted());
    QElapsedTimer waited;
    waited.start();
    // Killed the moment the first file of the export appears, under whatever name.
    while (process.state() == QProcess::Running && waited.elapsed() < 60000 && QDir(out).isEmpty())
        QThread::msleep(1);
    process.kill();
    QVERIFY(process.waitForFinished());
    QCOMPARE(process.exitStatus(), QProcess::CrashExit);
    QVERIFY(!QDir(out).isEmpty());
    for (const QString& file : QDir(out).entryList(QDir::Files | QDir::Hidden)) {
        if (file.endsWith(QLatin1String(".pdf")))
            QVERIFY2(isWholeExport(FileContent::read(QDir(out).filePath(file)), "--pdf"),
                     qPrintable(file));
    }
}

void TestExportCommand::readOnlyFolderKeepsEarlierExports_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("reason");
    QTest::newRow("text") << "--text"
                          << "tidak ada izin";
    QTest::newRow("pdf") << "--pdf"
                         << "is not writable";
}

void TestExportCommand::readOnlyFolderKeepsEarlierExports()
{
    QFETCH(QString, format);
    QFETCH(QString, reason);
    QString why;
    if (!Permissions::obeyFilePermissions(&why))
        QSKIP(qPrintable(why));
    const QString out = dir.filePath(QStringLiteral("hanya-baca-") + QTest::currentDataTag());
    QVERIFY(QDir().mkpath(out));
    exportOverEarlierFiles(out, format, reason,
                           [&] { QVERIFY(Permissions::setDirectoryWritable(out, false)); });
    QVERIFY(Permissions::setDirectoryWritable(out, true));
}

QTEST_GUILESS_MAIN(TestExportCommand)
#include "tst_exportcommand.moc"
