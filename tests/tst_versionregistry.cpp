// The version registry on its own: what it reads from the version file, what it
// writes, and the backup versions that a rollback restores.

#include "crypto.h"
#include "filecontent.h"
#include "versionregistry.h"

#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

class TestVersionRegistry : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString file() const { return dir.filePath(QStringLiteral("config/version.cfg")); }

private slots:
    void init() { QFile::remove(file()); }

    void load_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("application");
        QTest::addColumn<QString>("manual");
        const QByteArray own =
            crypto.encryptToString(QByteArray("{\"kvApplication\":\"2.0.0\"}")).toUtf8();
        QTest::newRow("no file: the defaults") << QByteArray() << "1.0.10"
                                               << "1.0.0";
        QTest::newRow("garbage: the defaults") << QByteArray("not a cipher text") << "1.0.10"
                                               << "1.0.0";
        QTest::newRow("one key: the others empty") << own << "2.0.0"
                                                   << "";
    }

    void load()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, application);
        QFETCH(QString, manual);
        if (!stored.isEmpty())
            QVERIFY(FileContent::write(file(), stored));
        VersionRegistry registry(file());
        registry.load();
        QCOMPARE(registry.value(QStringLiteral("kvApplication")), application);
        QCOMPARE(registry.value(QStringLiteral("kvManual")), manual);
        // What is in use is also what is stored.
        const QJsonObject written =
            QJsonDocument::fromJson(
                crypto.decryptToByteArray(QString::fromUtf8(FileContent::read(file()))))
                .object();
        QCOMPARE(written.value(QStringLiteral("kvApplication")).toString(), application);
    }

    void backupAndRestore()
    {
        VersionRegistry registry(file());
        registry.load();
        // Nothing backed up yet: a restore leaves the version as it is.
        registry.restoreValue(QStringLiteral("kvFAQ"));
        QCOMPARE(registry.value(QStringLiteral("kvFAQ")), QStringLiteral("1.0.0"));
        registry.backupValue(QStringLiteral("kvFAQ"));
        registry.setValue(QStringLiteral("kvFAQ"), QStringLiteral("1.2.0"));
        registry.sync();
        VersionRegistry reread(file());
        reread.load();
        QCOMPARE(reread.value(QStringLiteral("kvFAQ")), QStringLiteral("1.2.0"));
        registry.restoreValue(QStringLiteral("kvFAQ"));
        QCOMPARE(registry.value(QStringLiteral("kvFAQ")), QStringLiteral("1.0.0"));
        QCOMPARE(registry.versions().size(), 5);
    }
};

QTEST_GUILESS_MAIN(TestVersionRegistry)
#include "tst_versionregistry.moc"
