#include "filecontent.h"
#include "vardoversion.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The command-line conventions of the programs a user types: help on standard output,
// the version, and exit codes of their own for mistakes and missing files.
class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void conventions_data();
    void conventions();
    void viewerReportsMissingDocument();
    void viewerStartsWithoutOpenGL();

private:
    struct Result
    {
        bool finished = false;
        int exitCode = -1;
        QString out;
        QString err;
    };
    Result start(const QString& program, const QStringList& args, const QByteArray& input,
                 const QProcessEnvironment& environment, int timeout = 60000) const;
    // The viewer with the window driver, which answers its message boxes and ends it
    // once the file quit exists.
    QProcessEnvironment drivenViewer() const;
    QStringList driverLog() const;

    QTemporaryDir dir;
    QByteArray sample;
};

void TestCommandLine::initTestCase()
{
    QVERIFY(dir.isValid());
    sample = FileContent::read(QStringLiteral(SAMPLE_DOCUMENT));
    QVERIFY(!sample.isEmpty());
}

TestCommandLine::Result TestCommandLine::start(const QString& program, const QStringList& args,
                                               const QByteArray& input,
                                               const QProcessEnvironment& environment,
                                               int timeout) const
{
    Result result;
    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TEST_BIN_DIR "/") + program, args);
    if (!process.waitForStarted(timeout))
        return result;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(timeout)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.finished = process.exitStatus() == QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QProcessEnvironment TestCommandLine::drivenViewer() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("vardowindowdriver"));
    env.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(VARDO_TEST_PLUGIN_DIR));
    env.insert(QStringLiteral("VARDO_DRIVER_LOG"), dir.filePath(QStringLiteral("driver.log")));
    env.insert(QStringLiteral("VARDO_DRIVER_QUIT"), dir.filePath(QStringLiteral("quit")));
    return env;
}

QStringList TestCommandLine::driverLog() const
{
    return QString::fromUtf8(FileContent::read(dir.filePath(QStringLiteral("driver.log"))))
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void TestCommandLine::conventions_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("sampleOnInput");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    const QString version = QStringLiteral(VARDO_VERSION);
    const QStringList password = {"-p", "sampel2024"};
    // An empty expected text means that stream stays empty.
    QTest::newRow("tool help") << "vardotool" << QStringList{"--help"} << false << 0
                               << "usage: vardotool"
                               << "";
    QTest::newRow("tool help word")
        << "vardotool" << QStringList{"help"} << false << 0 << "66 input file missing"
        << "";
    QTest::newRow("tool without command") << "vardotool" << QStringList() << false << 64 << ""
                                          << "usage: vardotool";
    QTest::newRow("tool version") << "vardotool" << QStringList{"--version"} << false << 0
                                  << "vardotool " + version << "";
    QTest::newRow("command version") << "vardotool" << QStringList{"open", "--version"} << false
                                     << 0 << "vardotool " + version << "";
    QTest::newRow("command help") << "vardotool" << QStringList{"open", "--help"} << false << 0
                                  << "vardotool open"
                                  << "";
    QTest::newRow("tool unknown option")
        << "vardotool" << QStringList{"--frobnicate"} << false << 64 << ""
        << "unknown option \"--frobnicate\"";
    QTest::newRow("tool unknown command")
        << "vardotool" << QStringList{"frobnicate"} << false << 64 << ""
        << "unknown command \"frobnicate\"";
    QTest::newRow("open missing document")
        << "vardotool" << (QStringList{"open"} + password + QStringList{"none.vardo"}) << false
        << 66 << ""
        << "cannot read none.vardo: no such file";
    QTest::newRow("open a directory")
        << "vardotool" << (QStringList{"open"} + password + QStringList{"."}) << false << 66 << ""
        << "not a file";
    QTest::newRow("export missing document")
        << "vardotool"
        << (QStringList{"export", "--text", "out"} + password + QStringList{"none.vardo"}) << false
        << 66 << ""
        << "cannot read none.vardo";
    QTest::newRow("dump-sources missing document")
        << "vardotool" << (QStringList{"dump-sources"} + password + QStringList{"none.vardo"})
        << false << 66 << ""
        << "cannot read none.vardo";
    QTest::newRow("render missing template")
        << "vardotool" << QStringList{"render", "-o", "x.pdf", "none.lrxml"} << false << 66 << ""
        << "cannot read none.lrxml";
    QTest::newRow("missing password file")
        << "vardotool" << QStringList{"open", "--password-file", "none.txt", "-"} << true << 66
        << ""
        << "cannot read none.txt";
    QTest::newRow("open from standard input")
        << "vardotool" << (QStringList{"open"} + password + QStringList{"-"}) << true << 0
        << "stdin: 3 data set(s)"
        << "";
    QTest::newRow("wrong password from standard input")
        << "vardotool" << QStringList{"open", "-p", "salah", "-"} << true << 3 << ""
        << "Invalid Password";
    QTest::newRow("export from standard input")
        << "vardotool"
        << (QStringList{"export", "--text", "stdin-text"} + password + QStringList{"-"}) << true
        << 0 << "stdin-text/"
        << "";
    QTest::newRow("viewer help") << "run" << QStringList{"--help"} << false << 0
                                 << "Penggunaan: run"
                                 << "";
    QTest::newRow("viewer help after a document")
        << "run" << QStringList{"none.vardo", "-h"} << false << 0 << "66 dokumen"
        << "";
    QTest::newRow("viewer version")
        << "run" << QStringList{"--version"} << false << 0 << "Vardo Viewer " + version << "";
    QTest::newRow("viewer unknown option")
        << "run" << QStringList{"--frobnicate"} << false << 64 << ""
        << "opsi tidak dikenal: --frobnicate";
}

void TestCommandLine::conventions()
{
    QFETCH(QString, program);
    QFETCH(QStringList, args);
    QFETCH(bool, sampleOnInput);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);

    // The viewer answers these without a display: no platform is offered to it.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("none"));
    if (program == QLatin1String("vardotool"))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const Result result = start(program, args, sampleOnInput ? sample : QByteArray(), env);
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, exitCode);
    if (out.isEmpty())
        QCOMPARE(result.out, QString());
    else
        QVERIFY2(result.out.contains(out), qPrintable(result.out));
    if (err.isEmpty())
        QCOMPARE(result.err, QString());
    else
        QVERIFY2(result.err.contains(err), qPrintable(result.err));
}

// Started from the desktop the user sees no terminal, so the viewer says it in a box too.
void TestCommandLine::viewerReportsMissingDocument()
{
    const QString missing = dir.filePath(QStringLiteral("tidak-ada.vardo"));
    const Result result = start(QStringLiteral("run"), {missing}, QByteArray(), drivenViewer());
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, 66);
    const QString message = "File '" + missing + "' tidak ditemukan!";
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QVERIFY2(driverLog().contains("run\tanswered\t" + message), qPrintable(driverLog().join('\n')));
}

// The offscreen platform offers no OpenGL; the viewer draws its shell in software and
// runs until it is told to end, rather than aborting at the first frame.
void TestCommandLine::viewerStartsWithoutOpenGL()
{
    QProcessEnvironment env = drivenViewer();
    env.remove(QStringLiteral("QT_QUICK_BACKEND"));
    env.remove(QStringLiteral("DISPLAY"));
    QProcess viewer;
    viewer.setWorkingDirectory(dir.path());
    viewer.setProcessEnvironment(env);
    viewer.start(QStringLiteral(TEST_BIN_DIR "/run"), QStringList());
    QVERIFY(viewer.waitForStarted(30000));
    QTRY_VERIFY_WITH_TIMEOUT(driverLog().contains(QStringLiteral("run\tstart\t[]")), 30000);
    // Long enough for the first frames, which are where a missing OpenGL would abort.
    QTest::qWait(2000);
    QVERIFY(FileContent::write(dir.filePath(QStringLiteral("quit")), QByteArray()));
    QVERIFY(viewer.waitForFinished(30000));
    QCOMPARE(viewer.exitStatus(), QProcess::NormalExit);
    QCOMPARE(viewer.exitCode(), 0);
    QVERIFY(driverLog().contains(QStringLiteral("run\tquit\t")));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
