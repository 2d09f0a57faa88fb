#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QJsonDocument>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
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
#include "hostilezip.h"
#include "mainwindow.h"
#include "packagebuilder.h"
#include "passworddialog.h"
#include "permissions.h"
#include "recentfilesstore.h"
#include "reportwidget.h"
#include "simplecrypt.h"
#include "smalldisk.h"
#include "tabbutton.h"
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
    // How each message box lays out its text, in the order of messages.
    QList<Qt::TextFormat> formats;
    // A question starting with this is answered Yes.
    QString agreeTo;
    // What a file or folder dialog chooses; run just before it does.
    QString choose;
    std::function<void()> beforeChoosing;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Show)
            return false;
        if (auto* input = qobject_cast<PasswordDialog*>(watched)) {
            ++prompts;
            QTimer::singleShot(0, input, [input] {
                input->passwordField()->setText(password);
                input->accept();
            });
        } else if (auto* files = qobject_cast<QFileDialog*>(watched)) {
            QTimer::singleShot(0, files, [this, files] {
                files->selectFile(choose);
                if (beforeChoosing)
                    beforeChoosing();
                QMetaObject::invokeMethod(files, "accept");
            });
        } else if (auto* box = qobject_cast<QMessageBox*>(watched)) {
            messages << box->text();
            formats << box->textFormat();
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
    void hostileEntryNames_data();
    void hostileEntryNames();
    void textExportOverEarlierFiles_data();
    void textExportOverEarlierFiles();
    void exportToAFullDisk_data();
    void exportToAFullDisk();
    void pdfExportToAFolderThatIsGone();
    void exportToAReadOnlyFolder_data();
    void exportToAReadOnlyFolder();
    void readOnlyApplicationDirectory();

private:
    MainWindow* makeWindow();
    ReportWidget* currentReport() const;
    // Opens a document of these data sets in the window.
    void openInWindow(const QList<QPair<QString, QByteArray>>& entries);
    // Presses a button of the current report's toolbar.
    void press(const QString& button);

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

    const auto needing = [](const QString& minVer) {
        return Maker([minVer](const QString& directory) {
            const QString path = directory + QStringLiteral("/baru.vardo");
            FileContent::write(
                path, DocumentEncoder::encode(DocumentEncoder::zipArchive(
                                                  {{QStringLiteral("a.json"), sampleDataSet()}}),
                                              password, true, QStringLiteral("minVer=") + minVer));
            return path;
        });
    };
    const auto tooOld = [](const QString& minVer) {
        return QStringList{QStringLiteral("Versi Vardo Viewer tidak valid! Minimum versi ") +
                           minVer + QStringLiteral(". Silahkan download versi baru!")};
    };
    // Read as 0, this opened on every viewer.
    const QString huge = QStringLiteral("99999999999.0.0");
    QTest::newRow("minimum version beyond an int") << needing(huge) << 1 << tooOld(huge);
    // Shown as written, not as a heading and a phone number inside a trusted box.
    const QString markup =
        QStringLiteral("99.0.0 <h1>PERINGATAN</h1><b>Hubungi 0800-1234</b><u>di sini</u>");
    QTest::newRow("minimum version with markup") << needing(markup) << 1 << tooOld(markup);
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
    for (Qt::TextFormat format : answerer->formats)
        QCOMPARE(format, Qt::PlainText);
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
    // default server, which this machine cannot reach, and says so only on the home screen.
    QTest::newRow("settings not INI")
        << "config/config.ini" << garbage + "\n[[[\n=\n\xc3\x28" << none;
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
    const QString tooLarge = QStringLiteral("melebihi ukuran yang diizinkan");
    if (download) {
        // The download was asked for: the user is told in a box.
        QTRY_COMPARE_WITH_TIMEOUT(answerer->messages.size(), 2, 30000);
        QVERIFY(answerer->messages.first().startsWith(downloadQuestion));
        const QString shown = answerer->messages.last();
        QVERIFY2(shown.startsWith(failure) && shown.contains(tooLarge), qPrintable(shown));
    } else {
        // The silent check leaves a note on the home screen.
        QObject* note =
            window->shellView()->rootObject()->findChild<QObject*>(QStringLiteral("updateNote"));
        QVERIFY(note);
        QTRY_VERIFY_WITH_TIMEOUT(note->property("text").toString().contains(tooLarge), 30000);
        QCOMPARE(answerer->messages, QStringList());
    }
    QCOMPARE(FileContent::read(paths.updateFilename()), waiting);

    const QString path = dir->filePath(QStringLiteral("baik.vardo"));
    QVERIFY(FileContent::write(path, document({{QStringLiteral("a.json"), sampleDataSet()}})));
    window->openTab(QStringLiteral("baik.vardo"), QStringLiteral("faq"), path);
    QCOMPARE(window->getTabCount(), 1);
    QTRY_VERIFY(!currentReport()->isLayingOut());
    QVERIFY(currentReport()->getPageCount() > 0);
    QFile::remove(paths.updateFilename());
}

void TestBadInput::openInWindow(const QList<QPair<QString, QByteArray>>& entries)
{
    const QString path = dir->filePath(QStringLiteral("ekspor.vardo"));
    QVERIFY(
        FileContent::write(path, DocumentEncoder::encode(HostileZip::archive(entries), password,
                                                         true, QStringLiteral("minVer=1.0.0"))));
    makeWindow();
    window->openTab(QStringLiteral("ekspor.vardo"), QStringLiteral("faq"), path);
    QCOMPARE(window->getTabCount(), 1);
    QVERIFY(currentReport());
    QCOMPARE(answerer->prompts, 1);
    // Saving waits for the pages: the export buttons are idle while the layout runs.
    QTRY_VERIFY(!currentReport()->isLayingOut());
    answerer->messages.clear();
    answerer->formats.clear();
}

void TestBadInput::press(const QString& button)
{
    auto* target = currentReport()->findChild<TabButton*>(button);
    QVERIFY2(target, qPrintable(button));
    QTest::mouseClick(target, Qt::LeftButton);
}

namespace {

using Entries = QList<QPair<QString, QByteArray>>;

QString nul()
{
    return QString(QChar(0));
}

QString successText(int files, const QString& directory)
{
    return QStringLiteral("Ekspor file sukses: %1 file disimpan di %2.")
        .arg(files)
        .arg(QDir::toNativeSeparators(directory));
}

QString failureText(const QString& path, const QString& reason)
{
    return QStringLiteral("File '%1' tidak dapat disimpan: %2.")
        .arg(QDir::toNativeSeparators(path), reason);
}

// The files in a folder, hidden ones and temporary copies included.
QStringList filesIn(const QString& directory)
{
    return QDir(directory).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

const QString diskFull = QStringLiteral("disk penuh");
const QString folderGone =
    QStringLiteral("folder tujuan tidak ditemukan (mungkin sudah dihapus, dipindah atau diskanya "
                   "dilepas)");

} // namespace

void TestBadInput::hostileEntryNames_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("files");

    QTest::newRow("NUL hides the rest of a name")
        << QStringList{"aaaa" + nul() + "bbbb.json"} << QStringList{"aaaa_bbbb.json.txt"};
    QTest::newRow("NUL merges three data sets into two files, one a .bat")
        << QStringList{"laporan.bat" + nul() + ".json", "b.json.txt", "b.json.txt" + nul() + "x"}
        << QStringList{"b.json.txt", "b.json.txt_x.txt", "laporan.bat_.json.txt"};
    QTest::newRow("control characters")
        << QStringList{"a\x01\x1b[2J\n.json"} << QStringList{"a__[2J_.json.txt"};
    QTest::newRow("right-to-left override disguises the extension")
        << QStringList{QString::fromUtf8("DEWI\u202Efdp.exe")} << QStringList{"DEWI_fdp.exe.txt"};
    QTest::newRow("reserved device names") << QStringList{"CON", "nul.json", "COM1.txt"}
                                           << QStringList{"_COM1.txt", "_CON.txt", "_nul.json.txt"};
    QTest::newRow("same name but for case") << QStringList{"Budi.json", "BUDI.json"}
                                            << QStringList{"BUDI.json.txt", "Budi.json (2).txt"};
}

// A document whose data sets are named to hide, disguise or merge files: every data
// set is written to a file of its own, whose name shows what it is, and the message
// says how many files went where.
void TestBadInput::hostileEntryNames()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, files);
    Entries dataSets;
    for (const QString& entry : entries)
        dataSets.append({entry, sampleDataSet()});
    openInWindow(dataSets);
    const QString target = dir->filePath(QStringLiteral("ekspor"));
    QVERIFY(QDir().mkpath(target));

    answerer->choose = target;
    press(QStringLiteral("Ekspor ke text"));

    QCOMPARE(answerer->messages, QStringList{successText(entries.size(), target)});
    QCOMPARE(answerer->formats, QList<Qt::TextFormat>{Qt::PlainText});
    QStringList written = filesIn(target);
    written.sort();
    files.sort();
    QCOMPARE(written, files);
    for (const QString& file : files) {
        const QJsonObject written =
            QJsonDocument::fromJson(FileContent::read(target + QLatin1Char('/') + file)).object();
        QVERIFY2(written.contains(QStringLiteral("individual")), qPrintable(file));
    }
}

void TestBadInput::textExportOverEarlierFiles_data()
{
    QTest::addColumn<bool>("replace");
    QTest::newRow("user keeps the earlier files") << false;
    QTest::newRow("user replaces them") << true;
}

// Files of the same names in the chosen folder are the user's: the export asks once
// for all of them, and without a yes leaves them, and everything else, as it was.
void TestBadInput::textExportOverEarlierFiles()
{
    QFETCH(bool, replace);
    openInWindow({{QStringLiteral("a.json"), sampleDataSet()},
                  {QStringLiteral("b.json"), sampleDataSet()},
                  {QStringLiteral("c.json"), sampleDataSet()}});
    const QString target = dir->filePath(QStringLiteral("ekspor"));
    const QByteArray mine("catatan pengguna, bukan hasil ekspor");
    QVERIFY(FileContent::write(target + QStringLiteral("/a.json.txt"), mine));
    QVERIFY(FileContent::write(target + QStringLiteral("/c.json.txt"), mine));

    const QString question =
        QStringLiteral("2 file sudah ada di %1 dan akan diganti:\na.json.txt\nc.json.txt\n\n"
                       "Ganti file tersebut?")
            .arg(QDir::toNativeSeparators(target));
    answerer->choose = target;
    if (replace)
        answerer->agreeTo = question;
    press(QStringLiteral("Ekspor ke text"));

    if (!replace) {
        QCOMPARE(answerer->messages, QStringList{question});
        QCOMPARE(filesIn(target), QStringList({"a.json.txt", "c.json.txt"}));
        QCOMPARE(FileContent::read(target + QStringLiteral("/a.json.txt")), mine);
        QCOMPARE(FileContent::read(target + QStringLiteral("/c.json.txt")), mine);
        return;
    }
    QCOMPARE(answerer->messages, QStringList({question, successText(3, target)}));
    QCOMPARE(filesIn(target), QStringList({"a.json.txt", "b.json.txt", "c.json.txt"}));
    for (const QString& file : filesIn(target))
        QVERIFY(QJsonDocument::fromJson(FileContent::read(target + QLatin1Char('/') + file))
                    .isObject());
}

void TestBadInput::exportToAFullDisk_data()
{
    QTest::addColumn<bool>("pdf");
    QTest::newRow("text export") << false;
    QTest::newRow("PDF export") << true;
}

// On a full disk the user is told which file could not be saved and that the disk is
// full; an earlier file of that name stays whole, and no part of the new one is left.
void TestBadInput::exportToAFullDisk()
{
    QFETCH(bool, pdf);
    SmallDisk disk(dir->filePath(QStringLiteral("disk")), 512);
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.why()));
    openInWindow({{QStringLiteral("besar.json"), sampleDataSet()},
                  {QStringLiteral("kecil.json"), QByteArray("{}")}});
    const QString target = disk.path() + QStringLiteral("/ekspor");
    const QString earlierName =
        pdf ? QStringLiteral("laporan.pdf") : QStringLiteral("besar.json.txt");
    const QString earlier = target + QLatin1Char('/') + earlierName;
    const QByteArray earlierContent = pdf ? QByteArray("%PDF-1.4 laporan sebelumnya\n%%EOF\n")
                                          : QByteArray("{\"ekspor\": \"sebelumnya\"}");
    QVERIFY(FileContent::write(earlier, earlierContent));
    QVERIFY(disk.leaveFree(4096));

    // Yes to replacing the earlier file: the question is not what is tested here.
    answerer->agreeTo = pdf ? earlierName : QStringLiteral("1 file sudah ada");
    if (pdf) {
        answerer->choose = earlier;
        press(QStringLiteral("Save"));
        // The PDF is written in the background; its failure is told when it ends.
        QTRY_COMPARE_WITH_TIMEOUT(answerer->messages.size(), 2, 10000);
        QCOMPARE(answerer->messages.last(), failureText(earlier, diskFull));
        QCOMPARE(filesIn(target), QStringList{earlierName});
    } else {
        answerer->choose = target;
        press(QStringLiteral("Ekspor ke text"));
        QCOMPARE(answerer->messages.size(), 2);
        // The small data set fits, and is said to.
        QCOMPARE(answerer->messages.last(),
                 failureText(earlier, diskFull) + QLatin1Char('\n') +
                     QStringLiteral("1 file lainnya berhasil disimpan di %1.")
                         .arg(QDir::toNativeSeparators(target)));
        QCOMPARE(filesIn(target), QStringList({earlierName, "kecil.json.txt"}));
        QVERIFY(
            QJsonDocument::fromJson(FileContent::read(target + QStringLiteral("/kecil.json.txt")))
                .isObject());
    }
    QCOMPARE(answerer->formats.last(), Qt::PlainText);
    QCOMPARE(FileContent::read(earlier), earlierContent);
}

// The folder chosen for the PDF disappears before the file is written (a USB disk
// pulled out, a folder deleted meanwhile): the user is told so.
void TestBadInput::pdfExportToAFolderThatIsGone()
{
    openInWindow({{QStringLiteral("a.json"), sampleDataSet()}});
    const QString target = dir->filePath(QStringLiteral("sebentar"));
    QVERIFY(QDir().mkpath(target));
    const QString pdf = target + QStringLiteral("/laporan.pdf");
    answerer->choose = pdf;
    answerer->beforeChoosing = [target] { QDir(target).removeRecursively(); };
    press(QStringLiteral("Save"));
    QTRY_COMPARE_WITH_TIMEOUT(answerer->messages, QStringList{failureText(pdf, folderGone)}, 10000);
    QVERIFY(!QFileInfo::exists(target));
}

void TestBadInput::exportToAReadOnlyFolder_data()
{
    QTest::addColumn<bool>("pdf");
    QTest::newRow("text export") << false;
    QTest::newRow("PDF export") << true;
}

// A folder the user may not write to: the message says so, and nothing in it changes.
void TestBadInput::exportToAReadOnlyFolder()
{
    QFETCH(bool, pdf);
    QString why;
    if (!Permissions::obeyFilePermissions(&why))
        QSKIP(qPrintable(why));
    openInWindow({{QStringLiteral("a.json"), sampleDataSet()}});
    const QString target = dir->filePath(QStringLiteral("hanya-baca"));
    const QString other = target + QStringLiteral("/lain.txt");
    QVERIFY(FileContent::write(other, "milik orang lain"));
    QVERIFY(Permissions::setDirectoryWritable(target, false));

    const QString file =
        target + (pdf ? QStringLiteral("/laporan.pdf") : QStringLiteral("/a.json.txt"));
    answerer->choose = pdf ? file : target;
    press(pdf ? QStringLiteral("Save") : QStringLiteral("Ekspor ke text"));
    // A PDF is written in the background: the folder stays closed until it has failed.
    QTRY_VERIFY_WITH_TIMEOUT(!answerer->messages.isEmpty(), 10000);
    QVERIFY(Permissions::setDirectoryWritable(target, true));

    QCOMPARE(answerer->messages,
             QStringList{failureText(
                 file, QStringLiteral("tidak ada izin untuk menulis di folder tujuan"))});
    QCOMPARE(filesIn(target), QStringList{"lain.txt"});
    QCOMPARE(FileContent::read(other), QByteArray("milik orang lain"));
}

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
    const QStringList installed = FileContent::listing(QCoreApplication::applicationDirPath());

    makeWindow();
    QTRY_COMPARE_WITH_TIMEOUT(answerer->messages.size(), 2, 30000);
    const QString shown = answerer->messages.last();
    QVERIFY2(shown.startsWith(QStringLiteral("Gagal melakukan koneksi ke server")) &&
                 shown.contains(QStringLiteral("tidak dapat disimpan")),
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

    QCOMPARE(FileContent::listing(QCoreApplication::applicationDirPath()), installed);
    QCOMPARE(FileContent::read(path), content);
}

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
