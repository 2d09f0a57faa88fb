#include "viewercommandline.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

// Which document the viewer opens at start, and what it answers before it starts.
class TestViewerCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void answerOptions_data();
    void answerOptions();
    void resolveDocument_data();
    void resolveDocument();
    void documentFromInput();
    void unreadableInput_data();
    void unreadableInput();

private:
    QTemporaryDir dir;
    QString document;
};

void TestViewerCommandLine::initTestCase()
{
    QVERIFY(dir.isValid());
    document = dir.filePath(QStringLiteral("laporan.vardo"));
    QFile file(document);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("isi");
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.vardo")));
}

void TestViewerCommandLine::answerOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    QTest::newRow("nothing") << QStringList{"run"} << ViewerCommandLine::proceed << ""
                             << "";
    QTest::newRow("a document") << QStringList{"run", "a.vardo"} << ViewerCommandLine::proceed << ""
                                << "";
    QTest::newRow("standard input") << QStringList{"run", "-"} << ViewerCommandLine::proceed << ""
                                    << "";
    QTest::newRow("help") << QStringList{"/opt/x/run", "--help"} << 0 << "Penggunaan: run [opsi]"
                          << "";
    QTest::newRow("short version") << QStringList{"run", "-v"} << 0 << "Vardo Viewer "
                                   << "";
    QTest::newRow("unknown option")
        << QStringList{"run", "a.vardo", "--x"} << ViewerCommandLine::exitUsage << ""
        << "run: opsi tidak dikenal: --x";
    QTest::newRow("first mistake wins")
        << QStringList{"run", "--x", "--help"} << ViewerCommandLine::exitUsage << ""
        << "--x";
    QTest::newRow("after the end of options")
        << QStringList{"run", "--", "--help"} << ViewerCommandLine::proceed << ""
        << "";
}

void TestViewerCommandLine::answerOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);

    QString outText;
    QString errText;
    QTextStream outStream(&outText);
    QTextStream errStream(&errText);
    QCOMPARE(ViewerCommandLine::answerOptions(arguments, outStream, errStream), exitCode);
    QCOMPARE(outText.isEmpty(), out.isEmpty());
    QVERIFY2(outText.contains(out), qPrintable(outText));
    QCOMPARE(errText.isEmpty(), err.isEmpty());
    QVERIFY2(errText.contains(err), qPrintable(errText));
}

void TestViewerCommandLine::resolveDocument_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("windowArguments");

    const QString missing = dir.filePath(QStringLiteral("tidak-ada.vardo"));
    const QString folder = dir.filePath(QStringLiteral("folder.vardo"));
    QTest::newRow("nothing") << QStringList{"run"} << ViewerCommandLine::proceed
                             << QStringList{"run"};
    QTest::newRow("a document") << QStringList{"run", document} << ViewerCommandLine::proceed
                                << QStringList{"run", document};
    QTest::newRow("only the first document")
        << QStringList{"run", document, missing} << ViewerCommandLine::proceed
        << QStringList{"run", document};
    QTest::newRow("missing document")
        << QStringList{"run", missing} << ViewerCommandLine::exitNoInput << QStringList{"run"};
    QTest::newRow("a folder") << QStringList{"run", folder} << ViewerCommandLine::exitNoInput
                              << QStringList{"run"};
    QTest::newRow("after the end of options")
        << QStringList{"run", "--", document} << ViewerCommandLine::proceed
        << QStringList{"run", document};
}

void TestViewerCommandLine::resolveDocument()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QStringList, windowArguments);

    ViewerCommandLine commandLine;
    QBuffer noInput;
    QCOMPARE(commandLine.resolveDocument(arguments, &noInput), code);
    QCOMPARE(commandLine.windowArguments(), windowArguments);
    QCOMPARE(commandLine.error().isEmpty(), code == ViewerCommandLine::proceed);
    if (code == ViewerCommandLine::exitNoInput)
        QVERIFY(commandLine.error().contains(arguments.last()));
}

// The document read from input is opened from a copy that goes with the command line.
void TestViewerCommandLine::documentFromInput()
{
    QByteArray bytes(100000, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char(i * 7);
    QBuffer input(&bytes);
    QVERIFY(input.open(QIODevice::ReadOnly));
    QString copy;
    {
        ViewerCommandLine commandLine;
        QCOMPARE(commandLine.resolveDocument({"run", "-"}, &input), ViewerCommandLine::proceed);
        QCOMPARE(commandLine.windowArguments().size(), 2);
        copy = commandLine.windowArguments().at(1);
        QCOMPARE(QFileInfo(copy).fileName(), QStringLiteral("stdin.vardo"));
        QFile file(copy);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes);
    }
    QVERIFY(!QFileInfo::exists(copy));
}

void TestViewerCommandLine::unreadableInput_data()
{
    QTest::addColumn<bool>("open");
    QTest::newRow("empty input") << true;
    QTest::newRow("closed input") << false;
}

void TestViewerCommandLine::unreadableInput()
{
    QFETCH(bool, open);
    QByteArray nothing;
    QBuffer input(&nothing);
    if (open)
        QVERIFY(input.open(QIODevice::ReadOnly));
    ViewerCommandLine commandLine;
    QCOMPARE(commandLine.resolveDocument({"run", "-"}, &input), ViewerCommandLine::exitNoInput);
    QCOMPARE(commandLine.windowArguments(), QStringList{"run"});
    QVERIFY(commandLine.error().contains(QStringLiteral("masukan standar")));
}

QTEST_GUILESS_MAIN(TestViewerCommandLine)
#include "tst_viewercommandline.moc"
