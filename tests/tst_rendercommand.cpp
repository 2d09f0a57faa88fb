#include "enginefixture.h"
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class tst_RenderCommand : public QObject
{
    Q_OBJECT
private slots:
    void render_data();
    void render();
};

void tst_RenderCommand::render_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("static manual") << engineFixture("manual.lrxml") << 0 << "manual.pdf: 2 page(s)";
    QTest::newRow("missing file") << engineFixture("absent.lrxml") << 66 << "no such file";
    QTest::newRow("not a template") << engineFixture("notxml.lrxml") << 1 << "Wrong file format";
    QTest::newRow("other root") << engineFixture("otherroot.lrxml") << 1
                                << "root element is not Report";
}

// The command writes the PDF of a template without data, and says why when it cannot.
void tst_RenderCommand::render()
{
    QFETCH(QString, input);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("manual.pdf");
    QProcess tool;
    tool.start(QStringLiteral(TEST_BIN_DIR "/vardotool"), {"render", input, "-o", pdf});
    QVERIFY(tool.waitForFinished(60000));
    const QString output =
        QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError());
    QCOMPARE(tool.exitCode(), exitCode);
    QVERIFY2(output.contains(message), qPrintable(output));
    QCOMPARE(QFileInfo(pdf).size() > 1000, exitCode == 0);
}

QTEST_GUILESS_MAIN(tst_RenderCommand)
#include "tst_rendercommand.moc"
