#include "crypto.h"
#include "uiutils.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSettings>
#include <QtTest>

#include <memory>

class TestUIUtils : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanupTestCase();
    void missingSettingIsEmpty();
    void settingReachesFileAtOnce();
    void settingsSeeChangesOnDisk();
    void encryptedSettingRoundTrip_data();
    void encryptedSettingRoundTrip();
    void undecryptableValueIsEmpty_data();
    void undecryptableValueIsEmpty();
    void resourceFile();
    void invokableFromQml();
    void fadedPixmap_data();
    void fadedPixmap();
    void nullPixmapComesBack();
};

static QString configDir()
{
    return UIUtils::getApplicationPath() + QStringLiteral("/config");
}

void TestUIUtils::init()
{
    QDir(configDir()).removeRecursively();
}

void TestUIUtils::cleanupTestCase()
{
    QDir(configDir()).removeRecursively();
}

void TestUIUtils::missingSettingIsEmpty()
{
    QCOMPARE(UIUtils::getSettingValue(QStringLiteral("proxy/ip.address")), QString());
    UIUtils::setSettingValue(QStringLiteral("proxy/port"), QStringLiteral("8080"));
    QCOMPARE(UIUtils::getSettingValue(QStringLiteral("proxy/ip.address")), QString());
}

void TestUIUtils::settingReachesFileAtOnce()
{
    UIUtils::setSettingValue(QStringLiteral("update-online/server.address"),
                             QStringLiteral("10.1.2.3"));
    UIUtils::setSettingValue(QStringLiteral("proxy/is.secured"), QStringLiteral("false"));
    QFile file(UIUtils::settingsFilePath());
    QCOMPARE(file.fileName(), configDir() + QStringLiteral("/config.ini"));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY2(text.contains(QStringLiteral("[update-online]\nserver.address=10.1.2.3\n")),
             qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("[proxy]\nis.secured=false\n")), qPrintable(text));
    QCOMPARE(UIUtils::getSettingValue(QStringLiteral("update-online/server.address")),
             QStringLiteral("10.1.2.3"));
}

void TestUIUtils::settingsSeeChangesOnDisk()
{
    UIUtils::setSettingValue(QStringLiteral("update-online/path"), QStringLiteral("lama"));
    {
        const std::unique_ptr<QSettings> other(UIUtils::getSettings());
        other->setValue(QStringLiteral("update-online/path"), QStringLiteral("baru"));
    }
    QCOMPARE(UIUtils::getSettingValue(QStringLiteral("update-online/path")),
             QStringLiteral("baru"));
}

void TestUIUtils::encryptedSettingRoundTrip_data()
{
    QTest::addColumn<QString>("secret");
    QTest::newRow("user name") << "budi.santoso";
    QTest::newRow("password with symbols") << "p@ss=w0rd;#[x]";
    QTest::newRow("non-ascii") << QString::fromUtf8("kata sandi \xC3\xA9\xE2\x9C\x93");
    QTest::newRow("empty") << QString();
}

void TestUIUtils::encryptedSettingRoundTrip()
{
    QFETCH(QString, secret);
    const QString encrypted = UIUtils::encryptValue(secret);
    QVERIFY(encrypted != secret || secret.isEmpty());
    UIUtils::setSettingValue(QStringLiteral("proxy/password"), encrypted);
    const QString stored = UIUtils::getSettingValue(QStringLiteral("proxy/password"));
    QCOMPARE(stored, encrypted);
    QCOMPARE(UIUtils::decryptValue(stored), secret);
    QCOMPARE(UIUtils::decryptValue(stored), crypto.decryptToString(encrypted));
}

void TestUIUtils::undecryptableValueIsEmpty_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("warns");
    QTest::newRow("plain text") << "budi" << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("other version")
        << QString::fromLatin1(QByteArray("\x02\x02\x10\x20\x30").toBase64()) << true;
}

void TestUIUtils::undecryptableValueIsEmpty()
{
    QFETCH(QString, value);
    QFETCH(bool, warns);
    if (warns)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Invalid version")));
    QCOMPARE(UIUtils::decryptValue(value), QString());
}

void TestUIUtils::resourceFile()
{
    QCOMPARE(UIUtils::readResourceFile(QStringLiteral("greeting.txt")),
             QString::fromUtf8("Baris pertama\nBaris kedua: \xC3\xA9\n"));
    QTest::ignoreMessage(QtDebugMsg, "could not open file for read");
    QCOMPARE(UIUtils::readResourceFile(QStringLiteral("missing.qml")), QString());
}

void TestUIUtils::invokableFromQml()
{
    // The QML screens reach exactly these six, in this order.
    const QStringList expected = {
        QStringLiteral("getApplicationPath"), QStringLiteral("readResourceFile"),
        QStringLiteral("getSettingValue"),    QStringLiteral("setSettingValue"),
        QStringLiteral("encryptValue"),       QStringLiteral("decryptValue")};
    const QMetaObject& meta = UIUtils::staticMetaObject;
    QStringList invokable;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
        invokable << QString::fromLatin1(meta.method(i).name());
    QCOMPARE(invokable, expected);

    UIUtils utils;
    QString value;
    QVERIFY(QMetaObject::invokeMethod(&utils, "setSettingValue",
                                      Q_ARG(QString, QStringLiteral("proxy/port")),
                                      Q_ARG(QString, QStringLiteral("3128"))));
    QVERIFY(QMetaObject::invokeMethod(&utils, "getSettingValue", Q_RETURN_ARG(QString, value),
                                      Q_ARG(QString, QStringLiteral("proxy/port"))));
    QCOMPARE(value, QStringLiteral("3128"));
}

void TestUIUtils::fadedPixmap_data()
{
    QTest::addColumn<float>("opacity");
    QTest::addColumn<int>("alpha");
    QTest::newRow("opaque") << 1.0f << 255;
    QTest::newRow("half") << 0.5f << 128;
    QTest::newRow("invisible") << 0.0f << 0;
}

void TestUIUtils::fadedPixmap()
{
    QFETCH(float, opacity);
    QFETCH(int, alpha);
    QPixmap pixmap(4, 3);
    pixmap.fill(QColor(200, 10, 10));
    const QPixmap faded = UIUtils::setAlpha(pixmap, opacity);
    QCOMPARE(faded.size(), pixmap.size());
    const QImage image = faded.toImage().convertToFormat(QImage::Format_ARGB32);
    QVERIFY(qAbs(qAlpha(image.pixel(2, 1)) - alpha) <= 1);
    if (alpha > 0)
        QVERIFY(qAbs(QColor::fromRgba(image.pixel(2, 1)).red() - 200) <= 2);
}

void TestUIUtils::nullPixmapComesBack()
{
    QVERIFY(UIUtils::setAlpha(QPixmap(), 0.5f).isNull());
}

QTEST_MAIN(TestUIUtils)
#include "tst_uiutils.moc"
