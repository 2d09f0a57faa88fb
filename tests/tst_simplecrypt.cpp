#include "crypto.h"
#include "simplecrypt.h"

#include <QtTest>

namespace {

QStringList capturedWarnings;

void captureWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtWarningMsg)
        capturedWarnings << message;
}

// Runs `action` and returns the warnings it wrote.
template <typename Action> QStringList warningsOf(Action action)
{
    capturedWarnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureWarnings);
    action();
    qInstallMessageHandler(previous);
    return capturedWarnings;
}

} // namespace

class TestSimpleCrypt : public QObject
{
    Q_OBJECT

private slots:
    void storedCipherTextsStayReadable_data();
    void storedCipherTextsStayReadable();
    void roundTrip_data();
    void roundTrip();
    void encryptionIsSalted();
    void cipherTextLayout_data();
    void cipherTextLayout();
    void integrityModesDetectTampering_data();
    void integrityModesDetectTampering();
    void wrongVersionIsRejected();
    void tooShortIsEmptyWithoutWarning_data();
    void tooShortIsEmptyWithoutWarning();
    void noKeySet();
    void wrongKeyFailsIntegrity();
};

void TestSimpleCrypt::storedCipherTextsStayReadable_data()
{
    QTest::addColumn<QString>("cipherText");
    QTest::addColumn<QString>("plain");
    // Written by an earlier build with the shared key; every later build must read them.
    QTest::newRow("plain payload") << "AwLtwyu0UBJOTdqmnT3NkY6yZB4kn1gdR1qI8g=="
                                   << "Kunci tetap VardoViewer";
    QTest::newRow("compressed payload")
        << "AwNXTscTgq4hM16lskoTEGXDJ2dw6bKypOMG/laNbpb6YM5yjlopkZVG"
        << QString("Laporan debitur KORA. ").repeated(8);
}

void TestSimpleCrypt::storedCipherTextsStayReadable()
{
    QFETCH(QString, cipherText);
    QFETCH(QString, plain);
    QCOMPARE(crypto.decryptToString(cipherText), plain);
    QCOMPARE(crypto.lastError(), SimpleCrypt::ErrorNoError);
}

void TestSimpleCrypt::roundTrip_data()
{
    QTest::addColumn<QString>("plain");
    QTest::newRow("empty") << QString();
    QTest::newRow("ascii") << "proxy-user";
    QTest::newRow("non-ascii") << QString::fromUtf8("Pérusahaan \xE2\x82\xAC 日本 ✓");
    QTest::newRow("json") << R"({"kvApplication":"1.0.10","kvConfig":"1.0.0"})";
    QTest::newRow("long") << QString("abc").repeated(5000);
}

void TestSimpleCrypt::roundTrip()
{
    QFETCH(QString, plain);
    SimpleCrypt cipher(Q_UINT64_C(0x0123456789abcdef));
    const QString encrypted = cipher.encryptToString(plain);
    QVERIFY(!encrypted.isEmpty());
    QCOMPARE(cipher.decryptToString(encrypted), plain);
    QCOMPARE(cipher.lastError(), SimpleCrypt::ErrorNoError);
    // The raw forms agree with the string forms.
    const QByteArray raw = cipher.encryptToByteArray(plain);
    QCOMPARE(cipher.decryptToString(raw), plain);
    QCOMPARE(cipher.decryptToByteArray(raw), plain.toUtf8());
}

void TestSimpleCrypt::encryptionIsSalted()
{
    const QString first = crypto.encryptToString(QStringLiteral("rahasia"));
    QString second;
    // One byte of salt: two encryptions match by chance once in 256 tries.
    for (int i = 0; i < 8 && (second.isEmpty() || second == first); ++i)
        second = crypto.encryptToString(QStringLiteral("rahasia"));
    QVERIFY(first != second);
    QCOMPARE(crypto.decryptToString(first), QStringLiteral("rahasia"));
    QCOMPARE(crypto.decryptToString(second), QStringLiteral("rahasia"));
}

void TestSimpleCrypt::cipherTextLayout_data()
{
    QTest::addColumn<int>("compression");
    QTest::addColumn<int>("protection");
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("size");
    const QByteArray shortText = "pendek";
    const QByteArray longText = QByteArray("ulang ").repeated(100);
    const int compressedLong = qCompress(longText, 9).size();
    QTest::newRow("auto, short stays plain")
        << 0 << 1 << shortText << 0x02 << 2 + 1 + 2 + shortText.size();
    QTest::newRow("auto, repetitive is compressed")
        << 0 << 1 << longText << 0x03 << 2 + 1 + 2 + compressedLong;
    QTest::newRow("always") << 1 << 1 << shortText << 0x03
                            << 2 + 1 + 2 + qCompress(shortText, 9).size();
    QTest::newRow("never") << 2 << 1 << longText << 0x02 << 2 + 1 + 2 + longText.size();
    QTest::newRow("hash") << 2 << 2 << shortText << 0x04 << 2 + 1 + 20 + shortText.size();
    QTest::newRow("no protection") << 2 << 0 << shortText << 0x00 << 2 + 1 + shortText.size();
}

void TestSimpleCrypt::cipherTextLayout()
{
    QFETCH(int, compression);
    QFETCH(int, protection);
    QFETCH(QByteArray, plain);
    QFETCH(int, flags);
    QFETCH(int, size);
    SimpleCrypt cipher(Q_UINT64_C(0x1122334455667788));
    cipher.setCompressionMode(SimpleCrypt::CompressionMode(compression));
    cipher.setIntegrityProtectionMode(SimpleCrypt::IntegrityProtectionMode(protection));
    const QByteArray encrypted = cipher.encryptToByteArray(plain);
    QCOMPARE(int(encrypted.at(0)), 3);
    QCOMPARE(int(encrypted.at(1)), flags);
    QCOMPARE(encrypted.size(), size);
    QCOMPARE(cipher.decryptToByteArray(encrypted), plain);
}

void TestSimpleCrypt::integrityModesDetectTampering_data()
{
    QTest::addColumn<int>("protection");
    QTest::newRow("checksum") << int(SimpleCrypt::ProtectionChecksum);
    QTest::newRow("hash") << int(SimpleCrypt::ProtectionHash);
}

void TestSimpleCrypt::integrityModesDetectTampering()
{
    QFETCH(int, protection);
    SimpleCrypt cipher(Q_UINT64_C(0x1122334455667788));
    cipher.setIntegrityProtectionMode(SimpleCrypt::IntegrityProtectionMode(protection));
    const QByteArray encrypted = cipher.encryptToByteArray(QByteArray("nama pengguna proxy"));
    // Every byte of the block after the salt is covered; the salt byte chains into
    // all the others, so flipping it breaks the check too.
    for (int i = 2; i < encrypted.size(); ++i) {
        QByteArray tampered = encrypted;
        tampered[i] = char(tampered.at(i) ^ 0x20);
        QVERIFY2(cipher.decryptToByteArray(tampered).isEmpty(), qPrintable(QString::number(i)));
        QCOMPARE(cipher.lastError(), SimpleCrypt::ErrorIntegrityFailed);
    }
}

void TestSimpleCrypt::wrongVersionIsRejected()
{
    QByteArray encrypted = crypto.encryptToByteArray(QByteArray("nilai"));
    encrypted[0] = 2;
    QByteArray result;
    const QStringList warnings = warningsOf([&] { result = crypto.decryptToByteArray(encrypted); });
    QVERIFY(result.isEmpty());
    QCOMPARE(warnings, QStringList{QStringLiteral("Invalid version or not a cyphertext.")});
    QCOMPARE(crypto.lastError(), SimpleCrypt::ErrorUnknownVersion);
}

void TestSimpleCrypt::tooShortIsEmptyWithoutWarning_data()
{
    QTest::addColumn<QByteArray>("cipher");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one byte") << QByteArray("\x03", 1);
    QTest::newRow("two bytes") << QByteArray("\x03\x02", 2);
}

void TestSimpleCrypt::tooShortIsEmptyWithoutWarning()
{
    QFETCH(QByteArray, cipher);
    QByteArray result = "unchanged";
    const QStringList warnings = warningsOf([&] { result = crypto.decryptToByteArray(cipher); });
    QVERIFY(result.isEmpty());
    QVERIFY(warnings.isEmpty());
}

void TestSimpleCrypt::noKeySet()
{
    SimpleCrypt cipher;
    QVERIFY(!cipher.hasKey());
    QByteArray encrypted = "x";
    QString decrypted = QStringLiteral("x");
    const QStringList warnings = warningsOf([&] {
        encrypted = cipher.encryptToByteArray(QByteArray("nilai"));
        decrypted = cipher.decryptToString(crypto.encryptToString(QStringLiteral("nilai")));
    });
    QVERIFY(encrypted.isEmpty());
    QVERIFY(decrypted.isEmpty());
    QCOMPARE(warnings, (QStringList{QStringLiteral("No key set."), QStringLiteral("No key set.")}));
    QCOMPARE(cipher.lastError(), SimpleCrypt::ErrorNoKeySet);
}

void TestSimpleCrypt::wrongKeyFailsIntegrity()
{
    SimpleCrypt other(Q_UINT64_C(0x6a3f2c91d45e08b6));
    QVERIFY(other.decryptToString(crypto.encryptToString(QStringLiteral("rahasia"))).isEmpty());
    QCOMPARE(other.lastError(), SimpleCrypt::ErrorIntegrityFailed);
}

QTEST_GUILESS_MAIN(TestSimpleCrypt)
#include "tst_simplecrypt.moc"
