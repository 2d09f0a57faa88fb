#include "aesblockcipher.h"
#include "bufferaes.h"

#include <QtTest>

class TestBufferAES : public QObject
{
    Q_OBJECT

private slots:
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
    void roundTripWithDefaultIv();
};

static QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

static const char* const appendixPlain = "00112233445566778899aabbccddeeff";

// FIPS-197 appendices B and C.
void TestBufferAES::knownAnswerBlocks_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("cipher");

    QTest::newRow("B AES-128") << hex("2b7e151628aed2a6abf7158809cf4f3c")
                               << hex("3243f6a8885a308d313198a2e0370734")
                               << hex("3925841d02dc09fbdc118597196a0b32");
    QTest::newRow("C.1 AES-128") << hex("000102030405060708090a0b0c0d0e0f") << hex(appendixPlain)
                                 << hex("69c4e0d86a7b0430d8cdb78070b4c55a");
    QTest::newRow("C.2 AES-192") << hex("000102030405060708090a0b0c0d0e0f1011121314151617")
                                 << hex(appendixPlain) << hex("dda97ca4864cdfe06eaf70a0ec0d7191");
    QTest::newRow("C.3 AES-256")
        << hex("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f")
        << hex(appendixPlain) << hex("8ea2b7ca516745bfeafc49904b496089");
}

void TestBufferAES::knownAnswerBlocks()
{
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
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("cipher");

    QTest::newRow("CBC-AES128") << hex("2b7e151628aed2a6abf7158809cf4f3c")
                                << hex("7649abac8119b246cee98e9b12e9197d"
                                       "5086cb9b507219ee95db113a917678b2"
                                       "73bed6b8e3c1743b7116e69e22229516"
                                       "3ff1caa1681fac09120eca307586e1a7");
    QTest::newRow("CBC-AES192") << hex("8e73b0f7da0e6452c810f32b809079e562f8ead2522c6b7b")
                                << hex("4f021db243bc633d7178183a9fa071e8"
                                       "b4d9ada9ad7dedf4e5e738763f69145a"
                                       "571b242012fb7ae07fa9baac3df102e0"
                                       "08b0e27988598881d920a9e64f5615cd");
    QTest::newRow("CBC-AES256")
        << hex("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4")
        << hex("f58c4c04d6e5f1ba779eabfb5f7bfbd6"
               "9cfc4e967edb808d679f777bc6702c7d"
               "39f23369a9d9bacfa530e26304231461"
               "b2eb05e2c39be9fcda6c19078c6a9d1b");
}

void TestBufferAES::cbcVectors()
{
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

void TestBufferAES::roundTripWithDefaultIv()
{
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

QTEST_APPLESS_MAIN(TestBufferAES)
#include "tst_bufferaes.moc"
