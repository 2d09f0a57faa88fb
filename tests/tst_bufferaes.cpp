#include "aesblockcipher.h"
#include "bufferaes.h"

#include <QtTest>

Q_DECLARE_METATYPE(AesBlockCipher::Engine)

using Engine = AesBlockCipher::Engine;

class TestBufferAES : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void engineChosenAtRunTime();
    void knownAnswerBlocks_data();
    void knownAnswerBlocks();
    void cbcVectors_data();
    void cbcVectors();
    void padding_data();
    void padding();
    void lenientUnpadding_data();
    void lenientUnpadding();
    void refusals_data();
    void refusals();
    void roundTripWithDefaultIv_data();
    void roundTripWithDefaultIv();
    void enginesAgree_data();
    void enginesAgree();
    void decryptIntoOverlappingBuffer_data();
    void decryptIntoOverlappingBuffer();

private:
    Engine startEngine = Engine::Portable;
};

static QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

static const char* const appendixPlain = "00112233445566778899aabbccddeeff";

static QString engineName(Engine engine)
{
    return engine == Engine::AesNi ? QStringLiteral("AES-NI") : QStringLiteral("portable");
}

// Adds the column every engine test starts with; each case is then added once per engine
// this processor runs, so the portable tables are checked even where AES-NI is used.
static void addEngineColumn()
{
    QTest::addColumn<Engine>("engine");
}

static QTestData& newEngineRow(const QString& name, Engine engine)
{
    return QTest::newRow(qPrintable(name + QLatin1Char(' ') + engineName(engine))) << engine;
}

// Selects the engine of the row for every cipher the test makes from here on.
#define USE_ROW_ENGINE()                                                                           \
    QFETCH(Engine, engine);                                                                        \
    QVERIFY(AesBlockCipher::setDefaultEngine(engine));                                             \
    QCOMPARE(AesBlockCipher(QByteArray(16, 'k')).engine(), engine)

static QByteArray randomBytes(int size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(seed);
    for (char& b : bytes)
        b = static_cast<char>(random.bounded(256));
    return bytes;
}

void TestBufferAES::initTestCase()
{
    startEngine = AesBlockCipher::defaultEngine();
}

void TestBufferAES::cleanup()
{
    AesBlockCipher::setDefaultEngine(startEngine);
}

// The engine is the processor's own AES where it has it, which the system lists too.
void TestBufferAES::engineChosenAtRunTime()
{
    const QVector<Engine> engines = AesBlockCipher::availableEngines();
    QCOMPARE(engines.first(), Engine::Portable);
    QCOMPARE(startEngine, engines.last());

    QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
    if (!cpuinfo.open(QIODevice::ReadOnly | QIODevice::Text))
        QSKIP("this system does not list processor features in /proc/cpuinfo");
    bool listed = false;
    for (QByteArray line = cpuinfo.readLine(); !line.isEmpty(); line = cpuinfo.readLine()) {
        if (line.startsWith("flags")) {
            listed = line.simplified().split(' ').contains("aes");
            break;
        }
    }
    QCOMPARE(engines.contains(Engine::AesNi), listed);
}

// FIPS-197 appendices B and C.
void TestBufferAES::knownAnswerBlocks_data()
{
    addEngineColumn();
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("cipher");

    for (Engine engine : AesBlockCipher::availableEngines()) {
        newEngineRow("B AES-128", engine)
            << hex("2b7e151628aed2a6abf7158809cf4f3c") << hex("3243f6a8885a308d313198a2e0370734")
            << hex("3925841d02dc09fbdc118597196a0b32");
        newEngineRow("C.1 AES-128", engine)
            << hex("000102030405060708090a0b0c0d0e0f") << hex(appendixPlain)
            << hex("69c4e0d86a7b0430d8cdb78070b4c55a");
        newEngineRow("C.2 AES-192", engine)
            << hex("000102030405060708090a0b0c0d0e0f1011121314151617") << hex(appendixPlain)
            << hex("dda97ca4864cdfe06eaf70a0ec0d7191");
        newEngineRow("C.3 AES-256", engine)
            << hex("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f")
            << hex(appendixPlain) << hex("8ea2b7ca516745bfeafc49904b496089");
    }
}

void TestBufferAES::knownAnswerBlocks()
{
    USE_ROW_ENGINE();
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, cipher);

    const AesBlockCipher aes(key);
    QVERIFY(aes.isValid());
    QByteArray block(16, '\0');
    auto* out = reinterpret_cast<unsigned char*>(block.data());
    aes.encryptBlock(reinterpret_cast<const unsigned char*>(plain.constData()), out);
    QCOMPARE(block.toHex(), cipher.toHex());
    aes.decryptBlock(reinterpret_cast<const unsigned char*>(cipher.constData()), out);
    QCOMPARE(block.toHex(), plain.toHex());

    // Through CBC with a zero IV the first cipher block is the bare block encryption.
    const QByteArray zeroIv(16, '\0');
    QCOMPARE(BufferAES::encrypt(plain, key, zeroIv).left(16).toHex(), cipher.toHex());
}

// NIST SP 800-38A F.2.1, F.2.3 and F.2.5.
void TestBufferAES::cbcVectors_data()
{
    addEngineColumn();
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("cipher");

    for (Engine engine : AesBlockCipher::availableEngines()) {
        newEngineRow("CBC-AES128", engine) << hex("2b7e151628aed2a6abf7158809cf4f3c")
                                           << hex("7649abac8119b246cee98e9b12e9197d"
                                                  "5086cb9b507219ee95db113a917678b2"
                                                  "73bed6b8e3c1743b7116e69e22229516"
                                                  "3ff1caa1681fac09120eca307586e1a7");
        newEngineRow("CBC-AES192", engine)
            << hex("8e73b0f7da0e6452c810f32b809079e562f8ead2522c6b7b")
            << hex("4f021db243bc633d7178183a9fa071e8"
                   "b4d9ada9ad7dedf4e5e738763f69145a"
                   "571b242012fb7ae07fa9baac3df102e0"
                   "08b0e27988598881d920a9e64f5615cd");
        newEngineRow("CBC-AES256", engine)
            << hex("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4")
            << hex("f58c4c04d6e5f1ba779eabfb5f7bfbd6"
                   "9cfc4e967edb808d679f777bc6702c7d"
                   "39f23369a9d9bacfa530e26304231461"
                   "b2eb05e2c39be9fcda6c19078c6a9d1b");
    }
}

void TestBufferAES::cbcVectors()
{
    USE_ROW_ENGINE();
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, cipher);
    const QByteArray iv = hex("000102030405060708090a0b0c0d0e0f");
    const QByteArray plain = hex("6bc1bee22e409f96e93d7e117393172a"
                                 "ae2d8a571e03ac9c9eb76fac45af8e51"
                                 "30c81c46a35ce411e5fbc1191a0a52ef"
                                 "f69f2445df4f9b17ad2b417be66c3710");

    const QByteArray encrypted = BufferAES::encrypt(plain, key, iv);
    QCOMPARE(encrypted.size(), plain.size() + 16);
    QCOMPARE(encrypted.left(plain.size()).toHex(), cipher.toHex());
    QCOMPARE(BufferAES::decrypt(encrypted, key, iv).toHex(), plain.toHex());

    // Without its padding block the vector's last byte, 0x10, looks like padding of
    // length 16 followed by 0x37, so lenient unpadding drops exactly that one byte.
    QCOMPARE(BufferAES::decrypt(cipher, key, iv).toHex(), plain.chopped(1).toHex());

    // The vector twice over, chained on from its own last block, is long enough for the
    // blocks that are decrypted side by side, and its second half has a known answer too.
    const QByteArray twice = cipher + BufferAES::encrypt(plain, key, cipher.right(16)).left(64);
    QCOMPARE(
        BufferAES::decrypt(twice + BufferAES::encrypt(QByteArray(), key, twice.right(16)), key, iv)
            .toHex(),
        (plain + plain).toHex());
}

void TestBufferAES::padding_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("cipherLength");

    QTest::newRow("empty") << 0 << 16;
    QTest::newRow("one byte") << 1 << 16;
    QTest::newRow("fifteen") << 15 << 16;
    QTest::newRow("one block") << 16 << 32;
    QTest::newRow("seventeen") << 17 << 32;
}

void TestBufferAES::padding()
{
    QFETCH(int, length);
    QFETCH(int, cipherLength);
    const QByteArray key = hex("000102030405060708090a0b0c0d0e0f");
    const QByteArray plain(length, 'a');

    const QByteArray encrypted = BufferAES::encrypt(plain, key);
    QCOMPARE(encrypted.size(), cipherLength);

    // What was encrypted is the data followed by PKCS#7 padding, byte for byte.
    const AesBlockCipher aes(key);
    QByteArray raw(encrypted.size(), '\0');
    QByteArray chain = BufferAES::defaultIv();
    for (int offset = 0; offset < encrypted.size(); offset += 16) {
        aes.decryptBlock(reinterpret_cast<const unsigned char*>(encrypted.constData()) + offset,
                         reinterpret_cast<unsigned char*>(raw.data()) + offset);
        for (int i = 0; i < 16; ++i)
            raw[offset + i] = static_cast<char>(raw[offset + i] ^ chain[i]);
        chain = encrypted.mid(offset, 16);
    }
    const int pad = cipherLength - length;
    QCOMPARE(raw.toHex(), (plain + QByteArray(pad, static_cast<char>(pad))).toHex());
    QCOMPARE(BufferAES::decrypt(encrypted, key), plain);
}

// Plaintexts are encrypted with the padding they end in already in place, then one more
// full padding block that a correct unpadding removes first; the remainder shows what
// the lenient rule does with the tail that is left.
void TestBufferAES::lenientUnpadding_data()
{
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray body(13, 'x');
    QTest::newRow("0x80 kept") << body + hex("000080") << body + hex("000080");
    QTest::newRow("0xff kept") << body + hex("0102ff") << body + hex("0102ff");
    QTest::newRow("zero kept") << body + hex("030300") << body + hex("030300");
    QTest::newRow("03 03 03 removed") << body + hex("030303") << body;
    QTest::newRow("05 03 loses only 03") << body + hex("780503") << body + hex("7805");
    QTest::newRow("run shorter than value") << body + hex("780404") << body + hex("78");
    QTest::newRow("value longer than buffer") << QByteArray(16, '\x7f') << QByteArray();
}

void TestBufferAES::lenientUnpadding()
{
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, expected);
    const QByteArray key(16, 'k');
    QCOMPARE(plain.size() % 16, 0);

    // Encrypting a block-aligned buffer appends one whole padding block; dropping it
    // leaves ciphertext whose plaintext ends exactly in the bytes under test.
    const QByteArray cipher = BufferAES::encrypt(plain, key).chopped(16);
    QCOMPARE(BufferAES::decrypt(cipher, key).toHex(), expected.toHex());
}

void TestBufferAES::refusals_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("iv");
    QTest::addColumn<int>("dataLength");
    QTest::addColumn<bool>("encryptRefused");

    const QByteArray goodIv(16, 'K');
    QTest::newRow("key 17 bytes") << QByteArray(17, 'k') << goodIv << 32 << true;
    QTest::newRow("key 15 bytes") << QByteArray(15, 'k') << goodIv << 32 << true;
    QTest::newRow("key empty") << QByteArray() << goodIv << 32 << true;
    QTest::newRow("iv 15 bytes") << QByteArray(16, 'k') << QByteArray(15, 'K') << 32 << true;
    QTest::newRow("data 33 bytes") << QByteArray(24, 'k') << goodIv << 33 << false;
    QTest::newRow("data 8 bytes") << QByteArray(32, 'k') << goodIv << 8 << false;
}

void TestBufferAES::refusals()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, iv);
    QFETCH(int, dataLength);
    QFETCH(bool, encryptRefused);
    const QByteArray data(dataLength, 'd');

    QVERIFY(BufferAES::decrypt(data, key, iv).isEmpty());
    QCOMPARE(BufferAES::encrypt(data, key, iv).isEmpty(), encryptRefused);
}

void TestBufferAES::roundTripWithDefaultIv_data()
{
    addEngineColumn();
    for (Engine engine : AesBlockCipher::availableEngines())
        newEngineRow(QStringLiteral("one segment"), engine);
}

void TestBufferAES::roundTripWithDefaultIv()
{
    USE_ROW_ENGINE();
    QByteArray data;
    for (int i = 0; i < 524288 + 5; ++i)
        data.append(static_cast<char>((i * 131) ^ (i >> 7)));
    const QByteArray key = QByteArray("rahasia") + QByteArray(9, 'z');

    const QByteArray encrypted = BufferAES::encrypt(data, key);
    QCOMPARE(encrypted.size(), 524304);
    QCOMPARE(BufferAES::decrypt(encrypted, key), data);
    QCOMPARE(BufferAES::decrypt(encrypted, key, BufferAES::defaultIv()), data);
    QVERIFY(BufferAES::decrypt(encrypted, QByteArray(16, 'z')) != data);
    QCOMPARE(BufferAES::defaultIv(), QByteArray("KKKKKKKKKKKKKKKK"));
}

// The engines give the same bytes for every length around the number of blocks the
// instructions decrypt side by side, on all three key sizes.
void TestBufferAES::enginesAgree_data()
{
    QTest::addColumn<int>("keyLength");
    QTest::addColumn<int>("blocks");

    for (int keyLength : {16, 24, 32}) {
        for (int blocks : {1, 7, 8, 9, 16, 17, 67}) {
            QTest::newRow(
                qPrintable(QStringLiteral("key %1, %2 blocks").arg(keyLength).arg(blocks)))
                << keyLength << blocks;
        }
    }
}

void TestBufferAES::enginesAgree()
{
    QFETCH(int, keyLength);
    QFETCH(int, blocks);
    const QVector<Engine> engines = AesBlockCipher::availableEngines();
    if (engines.size() < 2)
        QSKIP("this processor runs the portable engine only");

    const QByteArray key = randomBytes(keyLength, quint32(keyLength));
    const QByteArray iv = randomBytes(16, quint32(blocks));
    // A whole number of blocks, so the cipher text ends in a block of padding.
    const QByteArray plain = randomBytes(16 * blocks - 16, quint32(keyLength * blocks));
    QVector<QByteArray> ciphers;
    for (Engine engine : engines) {
        QVERIFY(AesBlockCipher::setDefaultEngine(engine));
        ciphers.append(BufferAES::encrypt(plain, key, iv));
    }
    QCOMPARE(ciphers.first().size(), 16 * blocks);
    for (const QByteArray& cipher : ciphers)
        QCOMPARE(cipher.toHex(), ciphers.first().toHex());
    for (Engine engine : engines) {
        QVERIFY(AesBlockCipher::setDefaultEngine(engine));
        QCOMPARE(BufferAES::decrypt(ciphers.first(), key, iv).toHex(), plain.toHex());
    }
}

// The decoder decrypts each segment over its own cipher text, or a little before it once
// padding and header have been dropped; the blocks must still come out whole.
void TestBufferAES::decryptIntoOverlappingBuffer_data()
{
    addEngineColumn();
    QTest::addColumn<int>("shift");
    for (Engine engine : AesBlockCipher::availableEngines()) {
        newEngineRow(QStringLiteral("in place"), engine) << 0;
        newEngineRow(QStringLiteral("one byte before"), engine) << 1;
        newEngineRow(QStringLiteral("a block and a half before"), engine) << 24;
        newEngineRow(QStringLiteral("nine blocks before"), engine) << 144;
    }
}

void TestBufferAES::decryptIntoOverlappingBuffer()
{
    USE_ROW_ENGINE();
    QFETCH(int, shift);
    const QByteArray key = randomBytes(16, 7);
    const QByteArray plain = randomBytes(16 * 41 + 5, 8);
    const QByteArray cipher = BufferAES::encrypt(plain, key);

    QByteArray buffer = QByteArray(shift, '-') + cipher;
    const qint64 length = BufferAES::decryptInto(buffer.constData() + shift, cipher.size(), key,
                                                 BufferAES::defaultIv(), buffer.data());
    QCOMPARE(length, qint64(plain.size()));
    QCOMPARE(buffer.left(plain.size()).toHex(), plain.toHex());
    QCOMPARE(
        BufferAES::decryptInto(buffer.constData(), 33, key, BufferAES::defaultIv(), buffer.data()),
        qint64(-1));
}

QTEST_APPLESS_MAIN(TestBufferAES)
#include "tst_bufferaes.moc"
