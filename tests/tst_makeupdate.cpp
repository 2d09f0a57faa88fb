#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <QBuffer>
#include <QCryptographicHash>
#include <QDomDocument>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray entryContent(QuaZip& zip, const QString& name)
{
    if (!zip.setCurrentFile(name))
        return QByteArray();
    QuaZipFile entry(&zip);
    if (!entry.open(QIODevice::ReadOnly))
        return QByteArray();
    return entry.readAll();
}

// Reads the header the way the updater does: element names are not examined,
// the root's first child element is the list, each record is key then version.
QList<QPair<QString, QString>> headerVersions(const QByteArray& xml)
{
    QDomDocument document;
    document.setContent(xml);
    QList<QPair<QString, QString>> versions;
    const QDomNodeList records = document.documentElement().firstChildElement().childNodes();
    for (int i = 0; i < records.size(); ++i) {
        const QDomElement key = records.at(i).firstChildElement();
        versions << qMakePair(key.text(), key.nextSiblingElement().text());
    }
    return versions;
}

} // namespace

class TestMakeUpdate : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    QString path(const QString& name) const { return dir.filePath(name); }

    int runTool(const QStringList& args, QString* errorOutput = nullptr)
    {
        QProcess tool;
        tool.start(QStringLiteral(TEST_BIN_DIR "/vardotool"),
                   QStringList{QStringLiteral("make-update")} + args);
        if (!tool.waitForFinished(30000))
            return -1;
        if (errorOutput)
            *errorOutput = QString::fromLocal8Bit(tool.readAllStandardError());
        return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    }

    void writeFile(const QString& name, const QByteArray& content)
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        QDir().mkpath(path(QStringLiteral("other")));
        writeFile(QStringLiteral("run.exe"), "program bytes");
        writeFile(QStringLiteral("a.dll"), "library a");
        writeFile(QStringLiteral("b.dll"), "library b");
        writeFile(QStringLiteral("other/a.dll"), "another a");
        writeFile(QStringLiteral("manual.lrxml"), "<manual/>");
        writeFile(QStringLiteral("faq.lrxml"), "<faq/>");
        writeFile(QStringLiteral("config.ini"), "[update-online]\n");
    }

    void writesComponentsInOrderAndHeaderLast()
    {
        const QString out = path(QStringLiteral("full.kvu"));
        // Given in an order unlike the package's, to show the tool sorts them.
        QCOMPARE(runTool({QStringLiteral("--config"), path(QStringLiteral("config.ini")),
                          QStringLiteral("--library"), path(QStringLiteral("a.dll")),
                          path(QStringLiteral("b.dll")), QStringLiteral("--faq"),
                          path(QStringLiteral("faq.lrxml")), QStringLiteral("--manual"),
                          path(QStringLiteral("manual.lrxml")), QStringLiteral("--application"),
                          path(QStringLiteral("run.exe")), QStringLiteral("-o"), out,
                          QStringLiteral("--version"), QStringLiteral("kvApplication=1.0.11"),
                          QStringLiteral("kvLibrary=1.0.4")}),
                 0);

        QuaZip zip(out);
        QVERIFY(zip.open(QuaZip::mdUnzip));
        QCOMPARE(zip.getFileNameList(),
                 QStringList({QStringLiteral("kvApplication"), QStringLiteral("kvLibrary"),
                              QStringLiteral("kvManual"), QStringLiteral("kvFAQ"),
                              QStringLiteral("kvConfig"), QStringLiteral("header.xml"),
                              QStringLiteral("manifest.txt")}));
        QCOMPARE(entryContent(zip, QStringLiteral("kvApplication")), QByteArray("program bytes"));
        QCOMPARE(entryContent(zip, QStringLiteral("kvManual")), QByteArray("<manual/>"));
        QCOMPARE(entryContent(zip, QStringLiteral("kvFAQ")), QByteArray("<faq/>"));
        QCOMPARE(entryContent(zip, QStringLiteral("kvConfig")), QByteArray("[update-online]\n"));

        QByteArray library = entryContent(zip, QStringLiteral("kvLibrary"));
        QBuffer libraryBuffer(&library);
        QuaZip inner(&libraryBuffer);
        QVERIFY(inner.open(QuaZip::mdUnzip));
        QCOMPARE(inner.getFileNameList(),
                 QStringList({QStringLiteral("a.dll"), QStringLiteral("b.dll")}));
        QCOMPARE(entryContent(inner, QStringLiteral("b.dll")), QByteArray("library b"));

        const QList<QPair<QString, QString>> expected = {
            {QStringLiteral("kvApplication"), QStringLiteral("1.0.11")},
            {QStringLiteral("kvLibrary"), QStringLiteral("1.0.4")}};
        QCOMPARE(headerVersions(entryContent(zip, QStringLiteral("header.xml"))), expected);

        // One line per entry in archive order, the library's files after it, as the
        // hash tool prints them.
        auto line = [](const QByteArray& content, const QString& name) {
            return QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex() + "  " +
                   name.toUtf8() + '\n';
        };
        QByteArray manifest = line(entryContent(zip, QStringLiteral("kvApplication")),
                                   QStringLiteral("kvApplication")) +
                              line(library, QStringLiteral("kvLibrary"));
        for (const QString& name : {QStringLiteral("a.dll"), QStringLiteral("b.dll")})
            manifest += line(entryContent(inner, name), QStringLiteral("kvLibrary/") + name);
        for (const QString& name : {QStringLiteral("kvManual"), QStringLiteral("kvFAQ"),
                                    QStringLiteral("kvConfig"), QStringLiteral("header.xml")})
            manifest += line(entryContent(zip, name), name);
        QCOMPARE(entryContent(zip, QStringLiteral("manifest.txt")), manifest);
    }

    void headerOnlyPackage()
    {
        const QString out = path(QStringLiteral("header-only.kvu"));
        QCOMPARE(runTool({QStringLiteral("-o"), out, QStringLiteral("--version"),
                          QStringLiteral("kvConfig=2.0.0")}),
                 0);
        QuaZip zip(out);
        QVERIFY(zip.open(QuaZip::mdUnzip));
        QCOMPARE(zip.getFileNameList(),
                 (QStringList{QStringLiteral("header.xml"), QStringLiteral("manifest.txt")}));
    }

    // --sign adds the signature in the release tool's own format: the tool accepts
    // it, and so does the package check with the matching key and no other.
    void signedPackage()
    {
        const QString out = path(QStringLiteral("signed.kvu"));
        QCOMPARE(runTool({QStringLiteral("-o"), out, QStringLiteral("--manual"),
                          path(QStringLiteral("manual.lrxml")), QStringLiteral("--version"),
                          QStringLiteral("kvManual=1.0.1"), QStringLiteral("--sign"),
                          QStringLiteral(TEST_FIXTURES "/update/test.key")}),
                 0);
        QuaZip zip(out);
        QVERIFY(zip.open(QuaZip::mdUnzip));
        QCOMPARE(
            zip.getFileNameList().mid(2),
            (QStringList{QStringLiteral("manifest.txt"), QStringLiteral("manifest.txt.minisig")}));
        writeFile(QStringLiteral("manifest.txt"),
                  entryContent(zip, QStringLiteral("manifest.txt")));
        writeFile(QStringLiteral("manifest.txt.minisig"),
                  entryContent(zip, QStringLiteral("manifest.txt.minisig")));
        QProcess minisign;
        minisign.start(QStringLiteral("minisign"),
                       {QStringLiteral("-V"), QStringLiteral("-p"),
                        QStringLiteral(TEST_FIXTURES "/update/test.pub"), QStringLiteral("-m"),
                        path(QStringLiteral("manifest.txt"))});
        QVERIFY(minisign.waitForFinished(30000));
        const QByteArray said = minisign.readAll();
        QVERIFY2(minisign.exitCode() == 0, said.constData());
        QVERIFY2(said.contains("Trusted comment: vardo update kvManual=1.0.1"), said.constData());

        for (const QString& key : {QStringLiteral("test.pub"), QStringLiteral("other.pub")}) {
            QFile pub(QStringLiteral(TEST_FIXTURES "/update/") + key);
            QVERIFY(pub.open(QIODevice::ReadOnly));
            QProcess verify;
            verify.start(QStringLiteral(TEST_BIN_DIR "/vardotool"),
                         {QStringLiteral("verify-update"), QStringLiteral("--public-key"),
                          QString::fromLatin1(pub.readAll().split('\n').value(1)), out});
            QVERIFY(verify.waitForFinished(30000));
            QCOMPARE(verify.exitCode(), key == QLatin1String("test.pub") ? 0 : 1);
        }
    }

    // The programs built here do not trust the test key: a package signed with it is
    // refused by the built-in key, with the reason.
    void builtInKeyRefusesTestPackages()
    {
        const QString out = path(QStringLiteral("test-signed.kvu"));
        QCOMPARE(runTool({QStringLiteral("-o"), out, QStringLiteral("--version"),
                          QStringLiteral("kvManual=1.0.1"), QStringLiteral("--sign"),
                          QStringLiteral(TEST_FIXTURES "/update/test.key")}),
                 0);
        QProcess verify;
        verify.start(QStringLiteral(TEST_BIN_DIR "/vardotool"),
                     {QStringLiteral("verify-update"), out});
        QVERIFY(verify.waitForFinished(30000));
        QCOMPARE(verify.exitCode(), 1);
        QVERIFY(!verify.readAllStandardError().isEmpty());
    }

    void rejectsBadArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("withOutput");
        QTest::addColumn<QString>("message");
        const QString ver = QStringLiteral("--version");
        QTest::newRow("no output") << QStringList{ver, QStringLiteral("kvConfig=1.0.1")} << false
                                   << QStringLiteral("-o OUT.kvu");
        QTest::newRow("no version")
            << QStringList{QStringLiteral("--config"), QStringLiteral("config.ini")} << true
            << QStringLiteral("--version");
        QTest::newRow("unknown key") << QStringList{ver, QStringLiteral("kvOther=1.0.0")} << true
                                     << QStringLiteral("kvOther");
        QTest::newRow("empty version")
            << QStringList{ver, QStringLiteral("kvFAQ=")} << true << QStringLiteral("kvFAQ=");
        QTest::newRow("version twice")
            << QStringList{ver, QStringLiteral("kvFAQ=1"), QStringLiteral("kvFAQ=2")} << true
            << QStringLiteral("twice");
        QTest::newRow("missing file")
            << QStringList{QStringLiteral("--manual"), QStringLiteral("absent.lrxml"), ver,
                           QStringLiteral("kvManual=1.0.1")}
            << true << QStringLiteral("absent.lrxml");
        QTest::newRow("library names clash")
            << QStringList{QStringLiteral("--library"), QStringLiteral("a.dll"),
                           QStringLiteral("other/a.dll"), ver, QStringLiteral("kvLibrary=1.0.4")}
            << true << QStringLiteral("a.dll");
        QTest::newRow("password-protected or missing key")
            << QStringList{ver, QStringLiteral("kvFAQ=1"), QStringLiteral("--sign"),
                           QStringLiteral("absent.key")}
            << true << QStringLiteral("absent.key");
        QTest::newRow("option without value")
            << QStringList{ver, QStringLiteral("kvFAQ=1"), QStringLiteral("--faq")} << true
            << QStringLiteral("--faq");
    }

    void rejectsBadArguments()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, withOutput);
        QFETCH(QString, message);
        const QString out = path(QStringLiteral("rejected.kvu"));
        QStringList full;
        for (const QString& arg : args)
            full << (QFile::exists(path(arg)) ? path(arg) : arg);
        if (withOutput)
            full << QStringLiteral("-o") << out;

        QString error;
        QVERIFY(runTool(full, &error) > 0);
        QVERIFY2(error.contains(message), qPrintable(error));
        QVERIFY(!QFile::exists(out));
    }
};

QTEST_GUILESS_MAIN(TestMakeUpdate)
#include "tst_makeupdate.moc"
