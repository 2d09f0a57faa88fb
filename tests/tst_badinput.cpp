#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QInputDialog>
#include <QJsonDocument>
#include <QMessageBox>
#include <QPushButton>
#include <QQmlEngine>
#include <QSettings>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

#include "applicationversion.h"
#include "crypto.h"
#include "datalocation.h"
#include "documentdecoder.h"
#include "documentencoder.h"
#include "filecontent.h"
#include "mainwindow.h"
#include "packagebuilder.h"
#include "permissions.h"
#include "recentfilesstore.h"
#include "reportwidget.h"
#include "simplecrypt.h"
#include "textexport.h"
#include "uiutils.h"
#include "updateserver.h"

namespace {

const QString password = QStringLiteral("rahasia");
const QString wrongPassword =
    QStringLiteral("Password yang anda masukkan salah, file Vardo tidak dapat dibuka.");
const QString damaged = QStringLiteral("File Vardo rusak atau tidak valid.");

QString appPath(const QString& relative)
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + relative;
}

QByteArray sampleDataSet()
{
    return FileContent::read(QStringLiteral(TEST_SAMPLES "/individual-basic.json"));
}

QByteArray document(const QList<DocumentEncoder::Entry>& entries)
{
    return DocumentEncoder::encode(DocumentEncoder::zipArchive(entries), password, true,
                                   QStringLiteral("minVer=1.0.0"));
}

// The sample data set with one identity field replaced by `value`, verbatim.
QByteArray withName(const QByteArray& value)
{
    QByteArray json = sampleDataSet();
    const QByteArray field = "\"identityNumberName\": \"";
    const int at = json.indexOf(field) + field.size();
    return json.replace(at, json.indexOf('"', at) - at, value);
}

using Maker = std::function<QString(const QString& directory)>;

// Answers the modal dialogs the moment they are shown: each password prompt gets the
// password, each message box is noted and confirmed, each question answered No.
class DialogAnswerer : public QObject
{
public:
    DialogAnswerer() { qApp->installEventFilter(this); }
    ~DialogAnswerer() override { qApp->removeEventFilter(this); }

    int prompts = 0;
    QStringList messages;
    // A question starting with this is answered Yes.
    QString agreeTo;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Show)
            return false;
        if (auto* input = qobject_cast<QInputDialog*>(watched)) {
            ++prompts;
            QTimer::singleShot(0, input, [input] {
                input->setTextValue(password);
                input->accept();
            });
        } else if (auto* box = qobject_cast<QMessageBox*>(watched)) {
            messages << box->text();
            QTimer::singleShot(0, box, [this, box] {
                QAbstractButton* answer = box->button(QMessageBox::No);
                if (answer && !agreeTo.isEmpty() && box->text().startsWith(agreeTo))
                    answer = box->button(QMessageBox::Yes);
                if (!answer)
                    answer = box->button(QMessageBox::Ok);
                answer->click();
            });
        }
        return false;
    }
};

} // namespace

Q_DECLARE_METATYPE(Maker)

class TestBadInput : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void badDocument_data();
    void badDocument();
    void badDataSet_data();
    void badDataSet();
    void damagedStore_data();
    void damagedStore();
    void storedValueClaimingGigabytes();
    void hugeServerAnswer_data();
    void hugeServerAnswer();
    void readOnlyApplicationDirectory();

private:
    MainWindow* makeWindow();
    ReportWidget* currentReport() const;

    UpdateServer server;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<DialogAnswerer> answerer;
    std::unique_ptr<MainWindow> window;
};

void TestBadInput::initTestCase()
{
    qmlRegisterType<UIUtils>("qrv.utils", 1, 0, "UIUtils");
    QVERIFY(server.listen());
}

void TestBadInput::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    QDir(appPath(QStringLiteral("config"))).removeRecursively();
    // The background check on start-up asks the local server, which has no update.
    QVERIFY(
        FileContent::write(appPath(QStringLiteral("config/config.ini")),
                           QStringLiteral("[update-online]\nserver.address=127.0.0.1\nport=%1\n")
                               .arg(server.port())
                               .toUtf8()));
    server.setMode(UpdateServer::Normal);
    server.setDownloadMode(UpdateServer::Normal);
    server.setOutdated({});
    answerer = std::make_unique<DialogAnswerer>();
}

void TestBadInput::cleanup()
{
    window.reset();
    answerer.reset();
    for (const QString& directory : {QString(), QStringLiteral("config"), QStringLiteral("update")})
        Permissions::setDirectoryWritable(appPath(directory), true);
}

MainWindow* TestBadInput::makeWindow()
{
    window = std::make_unique<MainWindow>(QStringList(QStringLiteral("run")));
    return window.get();
}

ReportWidget* TestBadInput::currentReport() const
{
    auto* pages = window->findChild<QStackedWidget*>(QStringLiteral("tabContents"));
    return pages ? qobject_cast<ReportWidget*>(pages->currentWidget()) : nullptr;
}

void TestBadInput::badDocument_data()
{
    QTest::addColumn<Maker>("make");
    QTest::addColumn<int>("prompts");
    QTest::addColumn<QStringList>("messages");

    const QStringList askedThreeTimes{wrongPassword};
    const auto truncatedTo = [](std::function<int(int)> length) {
        return Maker([length](const QString& directory) {
            const QByteArray whole = document({{QStringLiteral("a.json"), sampleDataSet()}});
            const QString path = directory + QStringLiteral("/terpotong.vardo");
            FileContent::write(path, whole.left(length(whole.size())));
            return path;
        });
    };
    QTest::newRow("truncated inside a block")
        << truncatedTo([](int size) { return size - 5; }) << 1 << QStringList{damaged};
    QTest::newRow("truncated at a block")
        << truncatedTo([](int size) { return size / 32 * 16; }) << 1 << QStringList{damaged};
    QTest::newRow("only the first block")
        << truncatedTo([](int) { return 16; }) << 3 << askedThreeTimes;
    QTest::newRow("0 bytes") << Maker([](const QString& directory) {
        const QString path = directory + QStringLiteral("/kosong.vardo");
        FileContent::write(path, QByteArray());
        return path;
    }) << 3 << askedThreeTimes;
    QTest::newRow("a directory") << Maker([](const QString& directory) {
        const QString path = directory + QStringLiteral("/folder.vardo");
        QDir().mkpath(path);
        return path;
    }) << 3 << askedThreeTimes;
    // Sparse: it takes no room on disk, and the decoder must not try to hold it.
    QTest::newRow("2 GB") << Maker([](const QString& directory) {
        const QString path = directory + QStringLiteral("/besar.vardo");
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.resize(qint64(2) << 30);
        return path;
    }) << 3 << askedThreeTimes;
    // The password is right, but the document is more than can be held at once.
    QTest::newRow("2 GB behind a right first block") << Maker([](const QString& directory) {
        const QString path = directory + QStringLiteral("/besar-berisi.vardo");
        QFile file(path);
        if (file.open(QIODevice::WriteOnly) &&
            file.write(document({{QStringLiteral("a.json"), sampleDataSet()}})) > 0)
            file.resize(qint64(2) << 30);
        return path;
    }) << 1 << QStringList{damaged};
}

// A document that cannot be opened costs the user nothing: the message says why, the
// document already open stays open, and the bad file itself is left as it was.
void TestBadInput::badDocument()
{
    QFETCH(Maker, make);
    QFETCH(int, prompts);
    QFETCH(QStringList, messages);

    makeWindow();
    const QString good = dir->filePath(QStringLiteral("baik.vardo"));
    QVERIFY(FileContent::write(good, document({{QStringLiteral("a.json"), sampleDataSet()}})));
    window->openTab(QStringLiteral("baik.vardo"), QStringLiteral("faq"), good);
    QCOMPARE(window->getTabCount(), 1);

    const QString bad = make(dir->path());
    const QFileInfo before(bad);
    answerer->prompts = 0;
    window->openTab(before.fileName(), QStringLiteral("faq"), bad);

    QCOMPARE(answerer->prompts, prompts);
    QCOMPARE(answerer->messages, messages);
    QCOMPARE(window->getTabCount(), 1);
    QCOMPARE(window->currentTabName(), QStringLiteral("baik.vardo"));
    QVERIFY(currentReport());
    QTRY_VERIFY(!currentReport()->isLayingOut());
    QVERIFY(currentReport()->getPageCount() > 0);
    const QFileInfo after(bad);
    QCOMPARE(after.isDir(), before.isDir());
    QCOMPARE(after.size(), before.size());
    QCOMPARE(after.lastModified(), before.lastModified());
}

void TestBadInput::badDataSet_data()
{
    QTest::addColumn<QByteArray>("dataSet");

    QTest::newRow("not JSON") << QByteArray("<html>bukan JSON</html>");
    QTest::newRow("deeply nested") << QByteArray(100000, '[') + QByteArray(100000, ']');
    QTest::newRow("deeply nested in a field")
        << withName(QByteArray("\", \"x\": ") + QByteArray(5000, '[') + QByteArray(5000, ']') +
                    QByteArray(", \"y\": \""));
    QTest::newRow("50 MB string") << withName(QByteArray(50 << 20, 'A'));
    QTest::newRow("invalid UTF-8") << withName(QByteArray("RAHMAT \xc3\x28 \xff\xfe \xed\xa0\x80"));
}

// A data set the viewer cannot make sense of is shown as far as it goes; it never
// takes the other data sets of the document with it, on screen or in the text export.
void TestBadInput::badDataSet()
{
    QFETCH(QByteArray, dataSet);

    const QString path = dir->filePath(QStringLiteral("campur.vardo"));
    QVERIFY(FileContent::write(path, document({{QStringLiteral("a-rusak.json"), dataSet},
                                               {QStringLiteral("b-baik.json"), sampleDataSet()}})));
    makeWindow();
    window->openTab(QStringLiteral("campur.vardo"), QStringLiteral("faq"), path);

    QCOMPARE(answerer->prompts, 1);
    QCOMPARE(answerer->messages, QStringList());
    QCOMPARE(window->getTabCount(), 1);
    QVERIFY(currentReport());
    QCOMPARE(currentReport()->getSelectedFilename(), QStringLiteral("a-rusak.json"));
    QTRY_VERIFY(!currentReport()->isLayingOut());
    QVERIFY(currentReport()->getPageCount() > 0);

    std::unique_ptr<OpenResult> opened(
        openDocument(1, 0, 10, password, path, QStringLiteral("./tmp"), true));
    QCOMPARE(opened->code, 0);
    const QString exportDir = dir->filePath(QStringLiteral("ekspor"));
    QVERIFY(QDir().mkpath(exportDir));
    const TextExport::Result exported = TextExport::exportAll(*opened, exportDir);
    QVERIFY(exported.succeeded());
    QCOMPARE(exported.written.size(), 2);
    for (const QString& file : exported.written)
        QVERIFY2(QJsonDocument::fromJson(FileContent::read(file)).isObject(), qPrintable(file));
    const QJsonObject good =
        QJsonDocument::fromJson(FileContent::read(exportDir + QStringLiteral("/b-baik.json.txt")))
            .object();
    QVERIFY(!good.isEmpty());
}

void TestBadInput::damagedStore_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    // The start of the one message the user sees; empty when there is none.
    QTest::addColumn<QString>("message");

    const QByteArray garbage("\x00\x01\xffsampah\x7f\x80 AwJ===", 18);
    const QString none;
    QTest::newRow("recents store with garbage") << "config/recents.dat" << garbage << none;
    QTest::newRow("recents store of another cipher text")
        << "config/recents.dat" << crypto.encryptToByteArray(QByteArray("[{\"filename\": 7}"))
        << none;
    QTest::newRow("version file with garbage") << "config/version.cfg" << garbage << none;
    QTest::newRow("version file of a JSON array")
        << "config/version.cfg" << crypto.encryptToByteArray(QByteArray("[1, 2, 3]")) << none;
    // The server address goes with the rest of the settings: the start-up check asks the
    // default server, which this machine cannot reach.
    QTest::newRow("settings not INI")
        << "config/config.ini" << garbage + "\n[[[\n=\n\xc3\x28"
        << "Gagal melakukan koneksi ke server untuk keperluan update online!, Detail: ";
}

// A damaged file under config/ does not stop the viewer: it starts without a word,
// opens documents, and the next change writes the file whole again.
void TestBadInput::damagedStore()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);

    QVERIFY(FileContent::write(appPath(file), content));
    makeWindow();
    const QString path = dir->filePath(QStringLiteral("baik.vardo"));
    QVERIFY(FileContent::write(path, document({{QStringLiteral("a.json"), sampleDataSet()}})));
    window->addRecentFile(path);
    window->openTab(QStringLiteral("baik.vardo"), QStringLiteral("faq"), path);

    if (message.isEmpty()) {
        QCOMPARE(answerer->messages, QStringList());
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(answerer->messages.size(), 1, 30000);
        QVERIFY2(answerer->messages.first().startsWith(message),
                 qPrintable(answerer->messages.first()));
    }
    QCOMPARE(window->getTabCount(), 1);
    QTRY_VERIFY(!currentReport()->isLayingOut());
    QVERIFY(currentReport()->getPageCount() > 0);

    const QVariantList recent = window->getRecentFilesData();
    QCOMPARE(recent.size(), 1);
    QCOMPARE(recent.first().toMap().value(QStringLiteral("filename")).toString(), path);
    ApplicationVersion versions;
    QVERIFY(!versions.getApplicationVersion().isEmpty());
    QVERIFY(QJsonDocument::fromJson(crypto.decryptToByteArray(QString::fromUtf8(
                                        FileContent::read(versions.configFilename()))))
                .isObject());
}

// A stored value (a setting, the version file, the recent files) whose block claims
// to inflate to 2 GB is refused as damaged before anything is reserved for it.
void TestBadInput::storedValueClaimingGigabytes()
{
    SimpleCrypt cipher(0x5eedULL);
    cipher.setCompressionMode(SimpleCrypt::CompressionNever);
    cipher.setIntegrityProtectionMode(SimpleCrypt::ProtectionNone);
    QByteArray value = cipher.encryptToByteArray(QByteArray("\x7f\xff\xff\xf0 no deflate", 15));
    // The flags byte is outside the chained block: this turns the value into one that
    // asks to be inflated.
    value[1] = char(SimpleCrypt::CryptoFlagCompression);

    QCOMPARE(cipher.decryptToByteArray(value), QByteArray());
    QCOMPARE(cipher.lastError(), SimpleCrypt::ErrorIntegrityFailed);
}

void TestBadInput::hugeServerAnswer_data()
{
    QTest::addColumn<bool>("download");
    QTest::newRow("status check answering 3 GB") << false;
    QTest::newRow("package download answering 3 GB") << true;
}

// An update server gone wrong cannot fill the memory or the disk: the answer is cut
// off once it is larger than any real one, the user is told the update failed, and
// the package already waiting stays as it was.
void TestBadInput::hugeServerAnswer()
{
    QFETCH(bool, download);
    const QString downloadQuestion = QStringLiteral("Versi terbaru dari aplikasi");
    const QString failure = QStringLiteral(
        "Gagal melakukan koneksi ke server untuk keperluan update online!, Detail: ");
    if (download) {
        server.setOutdated(UpdateServer::componentKeys());
        server.setDownloadMode(UpdateServer::HugeBody);
        answerer->agreeTo = downloadQuestion;
    } else {
        server.setMode(UpdateServer::HugeBody);
    }
    ApplicationVersion paths;
    const QByteArray waiting("paket yang sudah ada");
    QVERIFY(FileContent::write(paths.updateFilename(), waiting));

    makeWindow();
    QTRY_COMPARE_WITH_TIMEOUT(answerer->messages.size(), download ? 2 : 1, 30000);
    if (download)
        QVERIFY(answerer->messages.first().startsWith(downloadQuestion));
    const QString shown = answerer->messages.last();
    QVERIFY2(shown.startsWith(failure) && shown.contains(QStringLiteral("larger than")),
             qPrintable(shown));
    QCOMPARE(FileContent::read(paths.updateFilename()), waiting);

    const QString path = dir->filePath(QStringLiteral("baik.vardo"));
    QVERIFY(FileContent::write(path, document({{QStringLiteral("a.json"), sampleDataSet()}})));
    window->openTab(QStringLiteral("baik.vardo"), QStringLiteral("faq"), path);
    QCOMPARE(window->getTabCount(), 1);
    QTRY_VERIFY(!currentReport()->isLayingOut());
    QVERIFY(currentReport()->getPageCount() > 0);
    QFile::remove(paths.updateFilename());
}

namespace {
// Every file and directory under `root` with its size and time, to show nothing changed.
QStringList listing(const QString& root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        entries << entry.filePath() + QLatin1Char(' ') + QString::number(entry.size()) +
                       QLatin1Char(' ') + entry.lastModified().toString(Qt::ISODateWithMs);
    }
    entries.sort();
    return entries;
}
} // namespace

// A per-user installation whose folder the user can no longer write while the viewer
// runs: it still opens and shows documents; what it cannot keep (the recent files, a
// downloaded update) is given up, and an update that cannot be stored is reported
// rather than announced. (A folder read-only from the start is a system installation,
// see tst_systeminstall.)
void TestBadInput::readOnlyApplicationDirectory()
{
    QString why;
    if (!Permissions::obeyFilePermissions(&why))
        QSKIP(qPrintable(why));
    server.setOutdated(UpdateServer::componentKeys());
    server.setPackage(
        PackageBuilder()
            .add(QStringLiteral("header.xml"),
                 PackageBuilder::header({{QStringLiteral("kvManual"), QStringLiteral("9.9.9")}}))
            .add(QStringLiteral("kvManual"), "manual")
            .zip());
    answerer->agreeTo = QStringLiteral("Versi terbaru dari aplikasi");
    QDir(appPath(QStringLiteral("log"))).removeRecursively();
    QVERIFY(QDir().mkpath(appPath(QStringLiteral("update"))));
    QVERIFY(DataLocation::isProgramFolderWritable());
    for (const QString& directory : {QStringLiteral("config"), QStringLiteral("update"), QString()})
        QVERIFY(Permissions::setDirectoryWritable(appPath(directory), false));
    const QStringList installed = listing(QCoreApplication::applicationDirPath());

    makeWindow();
    QTRY_COMPARE_WITH_TIMEOUT(answerer->messages.size(), 2, 30000);
    const QString shown = answerer->messages.last();
    QVERIFY2(shown.startsWith(QStringLiteral("Gagal melakukan koneksi ke server")) &&
                 shown.contains(QStringLiteral("could not be stored")),
             qPrintable(shown));

    const QString path = dir->filePath(QStringLiteral("baik.vardo"));
    QVERIFY(FileContent::write(path, document({{QStringLiteral("a.json"), sampleDataSet()}})));
    const QByteArray content = FileContent::read(path);
    window->addRecentFile(path);
    window->openTab(QStringLiteral("baik.vardo"), QStringLiteral("faq"), path);
    QCOMPARE(window->getTabCount(), 1);
    QTRY_VERIFY(!currentReport()->isLayingOut());
    QVERIFY(currentReport()->getPageCount() > 0);
    QCOMPARE(answerer->messages.size(), 2);
    window.reset();

    QCOMPARE(listing(QCoreApplication::applicationDirPath()), installed);
    QCOMPARE(FileContent::read(path), content);
}

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
