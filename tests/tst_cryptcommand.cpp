#include "crypto.h"
#include "programrun.h"

#include <QtTest>

namespace {

ProgramRun vardotool(const QStringList& args, const QByteArray& input)
{
    return ProgramRun::run(QStringLiteral(TEST_BIN_DIR "/vardotool"), args, input);
}

} // namespace

class TestCryptCommand : public QObject
{
    Q_OBJECT

private slots:
    void encrypt_data();
    void encrypt();
    void decrypt();
    void decryptFailure_data();
    void decryptFailure();
    void usage();
};

void TestCryptCommand::encrypt_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("plain");
    QTest::newRow("final line break dropped") << QByteArray("budi\n") << "budi";
    QTest::newRow("windows line break dropped") << QByteArray("budi\r\n") << "budi";
    QTest::newRow("no line break") << QByteArray("budi") << "budi";
    QTest::newRow("only the last break") << QByteArray("a\nb\n\n") << "a\nb\n";
    QTest::newRow("non-ascii") << QByteArray("sandi \xC3\xA9\n")
                               << QString::fromUtf8("sandi \xC3\xA9");
}

void TestCryptCommand::encrypt()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, plain);
    const ProgramRun result =
        vardotool({QStringLiteral("crypt"), QStringLiteral("--encrypt")}, input);
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.out.endsWith('\n'));
    QCOMPARE(crypto.decryptToString(QString::fromLatin1(result.out.trimmed())), plain);
}

void TestCryptCommand::decrypt()
{
    const QString versionFile =
        crypto.encryptToString(QStringLiteral(R"({"kvApplication":"1.0.10","kvConfig":"1.0.0"})"));
    const ProgramRun result =
        vardotool({QStringLiteral("crypt"), QStringLiteral("--decrypt")}, versionFile.toLatin1());
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QByteArray(R"({"kvApplication":"1.0.10","kvConfig":"1.0.0"})"
                                    "\n"));
}

void TestCryptCommand::decryptFailure_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("reason");
    QByteArray tampered = crypto.encryptToByteArray(QByteArray("rahasia"));
    tampered[4] = char(tampered.at(4) ^ 1);
    QTest::newRow("not a cipher text")
        << QByteArray("plain text\n") << QByteArray("not a cipher text");
    QTest::newRow("damaged") << tampered.toBase64() << QByteArray("integrity check failed");
    QTest::newRow("too short") << QByteArray("AwI=") << QByteArray("too short");
    QTest::newRow("empty") << QByteArray() << QByteArray("too short");
}

void TestCryptCommand::decryptFailure()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, reason);
    const ProgramRun result =
        vardotool({QStringLiteral("crypt"), QStringLiteral("--decrypt")}, input);
    QVERIFY(result.exitCode > 0);
    QVERIFY(result.out.isEmpty());
    QVERIFY2(result.err.contains(reason), result.err.constData());
}

void TestCryptCommand::usage()
{
    const ProgramRun result = vardotool({QStringLiteral("crypt")}, QByteArray());
    QCOMPARE(result.exitCode, 2);
    QVERIFY(result.err.contains("--encrypt|--decrypt"));
}

QTEST_GUILESS_MAIN(TestCryptCommand)
#include "tst_cryptcommand.moc"
