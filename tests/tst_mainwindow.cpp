#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPrintDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickView>
#include <QSettings>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "connectionfailure.h"
#include "documentencoder.h"
#include "lrpreviewreportwidget.h"
#include "mainwindow.h"
#include "passworddialog.h"
#include "qttranslation.h"
#include "recentfilesstore.h"
#include "reportwidget.h"
#include "simplecrypt.h"
#include "tabbutton.h"
#include "uiutils.h"
#include "updateserver.h"

namespace {

const QString wrongPassword =
    QStringLiteral("Password yang anda masukkan salah, file Vardo tidak dapat dibuka.");
const QString password = QStringLiteral("rahasia");
const QString cancel = QStringLiteral("<cancel>");

QString appPath(const QString& relative)
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + relative;
}

bool writeAll(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(content) == content.size();
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// Answers the window's modal dialogs the way a user would: it types each queued
// password into the real input dialog, or cancels it, and answers message boxes,
// keeping a log of everything it saw.
class DialogDriver : public QObject
{
    Q_OBJECT
public:
    QStringList passwords;
    // What to choose in a file dialog; empty cancels it.
    QString fileChoice;
    bool answerYes = false;
    QStringList seen;
    // Information boxes whose text would be read as rich text.
    QStringList richBoxes;
    // Per password prompt: the file it names and its note about the last try.
    QStringList promptNotes;
    std::function<void()> onQuestion;

    DialogDriver()
    {
        connect(&timer, &QTimer::timeout, this, &DialogDriver::poll);
        timer.start(10);
    }

    int prompts() const { return seen.count(QStringLiteral("prompt")); }
    QStringList messages() const
    {
        QStringList list = seen;
        list.removeAll(QStringLiteral("prompt"));
        return list;
    }

private:
    void poll()
    {
        QWidget* widget = QApplication::activeModalWidget();
        if (!widget || !widget->isVisible() || widget == handled)
            return;
        if (auto* input = qobject_cast<PasswordDialog*>(widget)) {
            handled = widget;
            seen << QStringLiteral("prompt");
            promptNotes << input->fileText() + QStringLiteral(" | ") + input->failureText();
            const QString answer = passwords.isEmpty() ? cancel : passwords.takeFirst();
            auto* buttons = input->findChild<QDialogButtonBox*>();
            if (input->windowTitle() != QLatin1String("Password") ||
                input->promptText() != QLatin1String("Masukkan Password:") ||
                input->passwordField()->echoMode() != QLineEdit::Password ||
                !input->passwordField()->text().isEmpty() ||
                buttons->button(QDialogButtonBox::Cancel)->text() != QLatin1String("Batal"))
                seen << QStringLiteral("unexpected prompt");
            if (answer == cancel) {
                input->reject();
                return;
            }
            QTest::keyClicks(input->passwordField(), answer);
            buttons->button(QDialogButtonBox::Ok)->click();
        } else if (auto* print = qobject_cast<QPrintDialog*>(widget)) {
            handled = widget;
            seen << QStringLiteral("print dialog");
            print->reject();
        } else if (auto* files = qobject_cast<QFileDialog*>(widget)) {
            handled = widget;
            seen << QStringLiteral("file dialog: ") + files->windowTitle();
            if (fileChoice.isEmpty()) {
                files->reject();
                return;
            }
            files->selectFile(fileChoice);
            QMetaObject::invokeMethod(files, "accept");
        } else if (auto* box = qobject_cast<QMessageBox*>(widget)) {
            handled = widget;
            seen << box->windowTitle() + QStringLiteral(": ") + box->text();
            if (box->button(QMessageBox::Yes)) {
                if (onQuestion)
                    onQuestion();
                box->button(answerYes ? QMessageBox::Yes : QMessageBox::No)->click();
            } else {
                if (box->textFormat() != Qt::PlainText)
                    richBoxes << box->text();
                box->button(QMessageBox::Ok)->click();
            }
        }
    }

    QTimer timer;
    QPointer<QWidget> handled;
};

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsOnHomeScreen();
    void markupInFileNameIsShownAsWritten();
    void passwordPrompts_data();
    void passwordPrompts();
    void passwordPromptTellsFileAndTriesLeft();
    void passwordCanBeShown();
    void refusedDocumentAsksOnce_data();
    void refusedDocumentAsksOnce();
    void missingDocumentIsDroppedFromRecentFiles();
    void sameDocumentTwiceShowsItsTab();
    void sameNameFromTwoFolders();
    void closingTabsShowsAnotherThenHome();
    void closeAllTabsHidesEveryButton();
    void closeButtonClosesItsTab();
    void manualReopensAfterClose();
    void labelsElideAfterResize();
    void commandLine_data();
    void commandLine();
    void settingsDefaults_data();
    void settingsDefaults();
    void silentCheckWithoutUpdateShowsNothing();
    void updateIsOfferedOncePerAnswer();
    void serverDownShowsFailure_data();
    void serverDownShowsFailure();
    void connectionFailureIsToldInIndonesian_data();
    void connectionFailureIsToldInIndonesian();
    void failedDownloadIsNotReportedReady();
    void downloadedPackageIsCheckedBeforeItIsOffered();
    void serverTextIsShownAsPlainText();
    void cancelStopsTheDownload();
    void offlinePackage_data();
    void offlinePackage();
    void droppedDocumentOpensAndIsRemembered();
    void shortcutsCloseTabPrintAndOpenDialog();
    void closeAllFollowsEveryTab_data();
    void tabsCycleWithCtrlTabAndNameTheWindow();
    void middleClickClosesTab();
    void tabWalksTheHomeScreen_data();
    void tabWalksTheHomeScreen();
    void openTabsListNamesEveryDocument();
    void windowSizeIsRemembered();
    void reportKeys();
    // Last: the translation stays installed for the rest of the run.
    void qtTextsAreIndonesian_data();
    void qtTextsAreIndonesian();
    void closeAllFollowsEveryTab();

private:
    MainWindow* makeWindow(const QStringList& arguments = QStringList());
    QString makeDocument(const QString& name,
                         const QString& metadata = QStringLiteral("minVer=1.0.0"),
                         bool damaged = false);
    void writeServerConfig(quint16 port);
    void waitForRequests(int count);
    QStackedWidget* pages() const;
    QPushButton* button(const char* name) const;
    QList<TabButton*> stripButtons() const;

    UpdateServer server;
    QScopedPointer<QTemporaryDir> dir;
    QScopedPointer<MainWindow> window;
    QScopedPointer<DialogDriver> driver;
};

void TestMainWindow::initTestCase()
{
    qmlRegisterType<UIUtils>("qrv.utils", 1, 0, "UIUtils");
    QVERIFY(server.listen());
}

void TestMainWindow::init()
{
    dir.reset(new QTemporaryDir);
    QVERIFY(dir->isValid());
    QDir(appPath(QStringLiteral("config"))).removeRecursively();
    QDir(appPath(QStringLiteral("update"))).removeRecursively();
    writeServerConfig(server.port());
    server.setMode(UpdateServer::Normal);
    server.setOutdated({});
    driver.reset(new DialogDriver);
}

void TestMainWindow::cleanup()
{
    window.reset();
    driver.reset();
}

void TestMainWindow::writeServerConfig(quint16 port)
{
    QVERIFY(writeAll(
        appPath(QStringLiteral("config/config.ini")),
        QStringLiteral("[update-online]\nserver.address=127.0.0.1\nport=%1\n").arg(port).toUtf8()));
}

MainWindow* TestMainWindow::makeWindow(const QStringList& arguments)
{
    window.reset(new MainWindow(QStringList(QStringLiteral("run")) + arguments));
    return window.data();
}

QString TestMainWindow::makeDocument(const QString& name, const QString& metadata, bool damaged)
{
    const QByteArray json = readAll(QStringLiteral(TEST_SAMPLES "/individual-basic.json"));
    const QByteArray payload =
        damaged ? QByteArray("no archive in here, only text")
                : DocumentEncoder::zipArchive({{QStringLiteral("individual-basic.json"), json}});
    const QString path = dir->filePath(name);
    writeAll(path, DocumentEncoder::encode(payload, password, true, metadata));
    return path;
}

void TestMainWindow::waitForRequests(int count)
{
    QTRY_VERIFY_WITH_TIMEOUT(server.requests().size() >= count, 10000);
}

QStackedWidget* TestMainWindow::pages() const
{
    return window->findChild<QStackedWidget*>(QStringLiteral("tabContents"));
}

QPushButton* TestMainWindow::button(const char* name) const
{
    return window->findChild<QPushButton*>(QLatin1String(name));
}

// The tab and close buttons of the strip, not the report views' toolbar buttons.
QList<TabButton*> TestMainWindow::stripButtons() const
{
    QList<TabButton*> buttons;
    for (TabButton* tab : window->findChildren<TabButton*>()) {
        if (!pages()->isAncestorOf(tab))
            buttons << tab;
    }
    return buttons;
}

void TestMainWindow::startsOnHomeScreen()
{
    makeWindow();
    QCOMPARE(window->windowTitle(), QStringLiteral("Vardo Viewer"));
    QVERIFY(window->isMaximized());
    QVERIFY(button("homeTab")->isChecked());
    QVERIFY(!button("toolsTab")->isChecked());
    QCOMPARE(pages()->currentIndex(), 0);
    QVERIFY(window->shellView()->rootObject());
    QVERIFY(window->menuBar()->isHidden());
    // The About page's versions, as the version file had them at start-up.
    QCOMPARE(window->shellView()->rootContext()->contextProperty("verKvApplication").toString(),
             QStringLiteral("1.0.10"));
    QCOMPARE(window->shellView()->rootContext()->contextProperty("verKvLibrary").toString(),
             QStringLiteral("1.0.3"));
    waitForRequests(1);
    QCOMPARE(server.requests().first().target, QByteArray("/pub/kv/cekVersion"));
}

// A file named like markup shows its name as written in the tab's tool tip, not as a
// heading.
void TestMainWindow::markupInFileNameIsShownAsWritten()
{
    makeWindow();
    const QString name = QStringLiteral("<h1>PERINGATAN</h1>.vardo");
    const QString path = makeDocument(name);
    driver->passwords = QStringList{password};
    window->openTab(name, QStringLiteral("faq"), path);
    QCOMPARE(window->getTabCount(), 1);
    QStringList shown;
    for (TabButton* tab : stripButtons()) {
        if (!tab->toolTip().isEmpty()) {
            QTextDocument rendered;
            rendered.setHtml(tab->toolTip());
            shown << rendered.toPlainText();
        }
    }
    QVERIFY2(shown.contains(path), qPrintable(shown.join(QLatin1Char('|'))));
}

void TestMainWindow::passwordPrompts_data()
{
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<int>("prompts");
    QTest::addColumn<QStringList>("messages");

    const QStringList none;
    const QStringList wrong = {QStringLiteral("Informasi: ") + wrongPassword};
    QTest::newRow("right at once") << QStringList{password} << true << 1 << none;
    QTest::newRow("wrong twice, then right")
        << QStringList{"salah", "keliru", password} << true << 3 << none;
    QTest::newRow("wrong three times")
        << QStringList{"salah", "keliru", "lagi"} << false << 3 << wrong;
    QTest::newRow("wrong, then cancel") << QStringList{"salah", cancel} << false << 2 << none;
    QTest::newRow("wrong twice, then cancel")
        << QStringList{"salah", "keliru", cancel} << false << 3 << wrong;
    QTest::newRow("cancel at once") << QStringList{cancel} << false << 1 << none;
    QTest::newRow("empty, then right") << QStringList{"", password} << true << 2 << none;
    QTest::newRow("empty three times") << QStringList{"", "", ""} << false << 3 << wrong;
}

void TestMainWindow::passwordPrompts()
{
    QFETCH(QStringList, answers);
    QFETCH(bool, opened);
    QFETCH(int, prompts);
    QFETCH(QStringList, messages);

    makeWindow();
    const QString path = makeDocument(QStringLiteral("laporan.vardo"));
    driver->passwords = answers;
    window->openTab(QStringLiteral("laporan.vardo"), QStringLiteral("faq"), path);

    QCOMPARE(driver->prompts(), prompts);
    QCOMPARE(driver->messages(), messages);
    QCOMPARE(window->getTabCount(), opened ? 1 : 0);
    if (opened) {
        QCOMPARE(window->currentTabName(), QStringLiteral("laporan.vardo"));
        auto* report = qobject_cast<ReportWidget*>(pages()->currentWidget());
        QVERIFY(report);
        QCOMPARE(report->getSelectedFilename(), QStringLiteral("individual-basic.json"));
    } else {
        QCOMPARE(pages()->count(), 1);
    }
}

void TestMainWindow::passwordPromptTellsFileAndTriesLeft()
{
    makeWindow();
    const QString path = makeDocument(QStringLiteral("laporan-cabang-surabaya.vardo"));
    driver->passwords = QStringList{"salah", "", password};
    window->openTab(QStringLiteral("laporan-cabang-surabaya.vardo"), QStringLiteral("faq"), path);

    QCOMPARE(window->getTabCount(), 1);
    const QString file = QStringLiteral("Berkas: laporan-cabang-surabaya.vardo | ");
    QCOMPARE(driver->promptNotes,
             QStringList({file, file + "Password yang anda masukkan salah. Sisa percobaan: 2 kali.",
                          file + "Password belum diisi. Sisa percobaan: 1 kali."}));
    QVERIFY(!driver->seen.contains(QStringLiteral("unexpected prompt")));
}

void TestMainWindow::passwordCanBeShown()
{
    const QString longName = QStringLiteral("laporan-debitur-perorangan-surabaya-pertama.vardo");
    PasswordDialog prompt(dir->filePath(longName));
    prompt.show();
    QVERIFY(QTest::qWaitForWindowExposed(&prompt));
    QVERIFY(prompt.width() >= 420);
    // The whole file name fits on its line.
    auto* fileLabel = prompt.findChild<QLabel*>(QStringLiteral("fileLabel"));
    QVERIFY(fileLabel);
    QCOMPARE(fileLabel->text(), QStringLiteral("Berkas: ") + longName);
    QVERIFY(fileLabel->width() >= fileLabel->fontMetrics().horizontalAdvance(fileLabel->text()));

    QTest::keyClicks(prompt.passwordField(), QStringLiteral("rahasia"));
    QCOMPARE(prompt.passwordField()->echoMode(), QLineEdit::Password);
    prompt.showPasswordBox()->click();
    QCOMPARE(prompt.passwordField()->echoMode(), QLineEdit::Normal);
    prompt.showPasswordBox()->click();
    QCOMPARE(prompt.passwordField()->echoMode(), QLineEdit::Password);
    QCOMPARE(prompt.password(), QStringLiteral("rahasia"));
}

void TestMainWindow::refusedDocumentAsksOnce_data()
{
    QTest::addColumn<QString>("metadata");
    QTest::addColumn<bool>("damaged");

    QTest::newRow("needs a newer viewer") << "minVer=99.0.0" << false;
    QTest::newRow("damaged") << "minVer=1.0.0" << true;
}

void TestMainWindow::refusedDocumentAsksOnce()
{
    QFETCH(QString, metadata);
    QFETCH(bool, damaged);

    makeWindow();
    const QString path = makeDocument(QStringLiteral("laporan.vardo"), metadata, damaged);
    driver->passwords = QStringList{password, password, password};
    window->openTab(QStringLiteral("laporan.vardo"), QStringLiteral("faq"), path);

    QCOMPARE(driver->prompts(), 1);
    QCOMPARE(driver->messages().size(), 1);
    QVERIFY(driver->messages().first().startsWith(QStringLiteral("Informasi: ")));
    QVERIFY(!driver->messages().first().contains(wrongPassword));
    QVERIFY(driver->messages().first().size() > QStringLiteral("Informasi: ").size());
    QCOMPARE(window->getTabCount(), 0);
}

void TestMainWindow::missingDocumentIsDroppedFromRecentFiles()
{
    makeWindow();
    const QString path = dir->filePath(QStringLiteral("hilang.vardo"));
    window->addRecentFile(path);
    window->addRecentFile(makeDocument(QStringLiteral("ada.vardo")));
    QCOMPARE(window->getRecentFilesData().size(), 2);

    window->openTab(QStringLiteral("hilang.vardo"), QStringLiteral("faq"),
                    QUrl::fromLocalFile(path).toString());

    QCOMPARE(driver->prompts(), 0);
    QCOMPARE(driver->messages(), QStringList(QStringLiteral("Informasi: File '") + path +
                                             QStringLiteral("' tidak ditemukan!")));
    const QVariantList left = window->getRecentFilesData();
    QCOMPARE(left.size(), 1);
    QCOMPARE(left.first().toMap().value("filename").toString(),
             dir->filePath(QStringLiteral("ada.vardo")));
}

void TestMainWindow::sameDocumentTwiceShowsItsTab()
{
    makeWindow();
    const QString path = makeDocument(QStringLiteral("a.vardo"));
    driver->passwords = QStringList{password};
    window->openTab(QStringLiteral("a.vardo"), QStringLiteral("faq"),
                    QUrl::fromLocalFile(path).toString());
    window->openTab(QStringLiteral("a.vardo"), QStringLiteral("faq"), path);

    QCOMPARE(driver->prompts(), 1);
    QCOMPARE(window->getTabCount(), 1);
    QCOMPARE(window->currentTabName(), QStringLiteral("a.vardo"));
}

void TestMainWindow::sameNameFromTwoFolders()
{
    makeWindow();
    QVERIFY(QDir(dir->path()).mkpath(QStringLiteral("x")));
    QVERIFY(QDir(dir->path()).mkpath(QStringLiteral("y")));
    const QString first = makeDocument(QStringLiteral("x/a.vardo"));
    const QString second = makeDocument(QStringLiteral("y/a.vardo"));
    driver->passwords = QStringList{password, password};

    window->openTab(QStringLiteral("a.vardo"), QStringLiteral("faq"), first);
    window->openTab(QStringLiteral("a.vardo"), QStringLiteral("faq"), second);
    QCOMPARE(driver->prompts(), 2);
    QCOMPARE(window->getTabCount(), 2);
    QCOMPARE(window->currentTabName(), QStringLiteral("a (2).vardo"));

    // Each path comes back to its own tab, without a prompt.
    window->openTab(QStringLiteral("a.vardo"), QStringLiteral("faq"), first);
    QCOMPARE(window->currentTabName(), QStringLiteral("a.vardo"));
    window->openTab(QStringLiteral("a.vardo"), QStringLiteral("faq"), second);
    QCOMPARE(window->currentTabName(), QStringLiteral("a (2).vardo"));
    QCOMPARE(driver->prompts(), 2);
    QCOMPARE(window->getTabCount(), 2);
}

void TestMainWindow::closingTabsShowsAnotherThenHome()
{
    makeWindow();
    const QStringList names = {QStringLiteral("a.vardo"), QStringLiteral("b.vardo"),
                               QStringLiteral("c.vardo")};
    for (const QString& name : names) {
        driver->passwords = QStringList{password};
        window->openTab(name, QStringLiteral("faq"), makeDocument(name));
    }
    QCOMPARE(window->getTabCount(), 3);
    QCOMPARE(window->currentTabName(), QStringLiteral("c.vardo"));
    QVERIFY(!button("homeTab")->isChecked());

    window->tabClosed(QStringLiteral("c.vardo"));
    QCOMPARE(window->getTabCount(), 2);
    const QString shown = window->currentTabName();
    QVERIFY(shown == QStringLiteral("a.vardo") || shown == QStringLiteral("b.vardo"));
    int highlighted = 0;
    for (TabButton* tab : stripButtons()) {
        if (tab->getTabName() == QLatin1String("c.vardo"))
            continue;
        const bool current = tab->getTabName() == shown;
        QCOMPARE(tab->styleSheet(),
                 current ? TabButton::highlightStyleSheet : TabButton::normalStyleSheet);
        highlighted += current ? 1 : 0;
    }
    QCOMPARE(highlighted, 2);

    window->tabClosed(shown);
    window->tabClosed(window->currentTabName());
    QCOMPARE(window->getTabCount(), 0);
    QCOMPARE(pages()->count(), 1);
    QVERIFY(button("homeTab")->isChecked());
    // Closing a name that is no longer open changes nothing.
    window->tabClosed(QStringLiteral("a.vardo"));
    QCOMPARE(window->getTabCount(), 0);
    // Closed tabs give their buttons back.
    QTRY_COMPARE(stripButtons().size(), 0);
}

void TestMainWindow::closeAllTabsHidesEveryButton()
{
    makeWindow();
    for (const QString& name : {QStringLiteral("a.vardo"), QStringLiteral("b.vardo")}) {
        driver->passwords = QStringList{password};
        window->openTab(name, QStringLiteral("faq"), makeDocument(name));
    }
    window->openTab(QStringLiteral("MANUAL"), QStringLiteral("manual"), QString());
    QCOMPARE(window->getTabCount(), 3);
    QList<QPointer<TabButton>> buttons;
    for (TabButton* tab : stripButtons())
        buttons << tab;
    QCOMPARE(buttons.size(), 6);

    window->closeAllTab();
    QCOMPARE(window->getTabCount(), 0);
    QCOMPARE(pages()->count(), 1);
    QCOMPARE(pages()->currentIndex(), 0);
    for (const QPointer<TabButton>& tab : buttons)
        QVERIFY(!tab || tab->isHidden());
    QTRY_COMPARE(stripButtons().size(), 0);
}

void TestMainWindow::closeButtonClosesItsTab()
{
    makeWindow();
    driver->passwords = QStringList{password};
    window->openTab(QStringLiteral("a.vardo"), QStringLiteral("faq"),
                    makeDocument(QStringLiteral("a.vardo")));
    QPointer<QWidget> report = pages()->currentWidget();
    TabButton* closeButton = nullptr;
    for (TabButton* tab : stripButtons()) {
        if (tab->getLabel().isEmpty())
            closeButton = tab;
    }
    QVERIFY(closeButton);
    QCOMPARE(closeButton->getTabName(), QStringLiteral("a.vardo"));

    QTest::mouseClick(closeButton, Qt::LeftButton);
    QCOMPARE(window->getTabCount(), 0);
    QVERIFY(report.isNull());
    QVERIFY(button("homeTab")->isChecked());
    QTRY_COMPARE(stripButtons().size(), 0);
}

void TestMainWindow::manualReopensAfterClose()
{
    makeWindow();
    window->openTab(QStringLiteral("MANUAL"), QStringLiteral("manual"), QString());
    QPointer<QWidget> firstView = pages()->currentWidget();
    window->openTab(QStringLiteral("MANUAL"), QStringLiteral("manual"), QString());
    QCOMPARE(window->getTabCount(), 1);
    QCOMPARE(pages()->currentWidget(), firstView.data());
    QCOMPARE(driver->prompts(), 0);

    window->tabClosed(QStringLiteral("MANUAL"));
    QVERIFY(firstView.isNull());
    window->openTab(QStringLiteral("MANUAL"), QStringLiteral("manual"), QString());
    QCOMPARE(window->getTabCount(), 1);
    QVERIFY(qobject_cast<ReportWidget*>(pages()->currentWidget()));
    QCOMPARE(window->currentTabName(), QStringLiteral("MANUAL"));
}

void TestMainWindow::labelsElideAfterResize()
{
    makeWindow();
    // Long enough that three of them cannot fit beside the report toolbar, which
    // sets the narrowest width of the window.
    const QStringList names = {
        QStringLiteral("laporan-informasi-debitur-perorangan-cabang-surabaya-pertama.vardo"),
        QStringLiteral("laporan-informasi-debitur-perorangan-cabang-surabaya-kedua.vardo"),
        QStringLiteral("laporan-informasi-debitur-perorangan-cabang-surabaya-ketiga.vardo")};
    for (const QString& name : names) {
        driver->passwords = QStringList{password};
        window->openTab(name, QStringLiteral("faq"), makeDocument(name));
    }
    QList<TabButton*> tabsShown;
    for (TabButton* tab : stripButtons()) {
        if (!tab->getLabel().isEmpty())
            tabsShown << tab;
    }
    QCOMPARE(tabsShown.size(), 3);

    // The labels follow the width once a second; the wait allows for a loaded machine
    // running the sanitizer build.
    window->setWindowState(Qt::WindowNoState);
    window->resize(420, 400);
    QTRY_VERIFY_WITH_TIMEOUT(std::all_of(tabsShown.begin(), tabsShown.end(),
                                         [](TabButton* tab) {
                                             tab->repaint();
                                             return tab->text() != tab->getLabel() &&
                                                    tab->fontMetrics().horizontalAdvance(
                                                        tab->text()) <= tab->width();
                                         }),
                             10000);

    window->resize(4000, 400);
    QTRY_VERIFY_WITH_TIMEOUT(std::all_of(tabsShown.begin(), tabsShown.end(),
                                         [](TabButton* tab) {
                                             tab->repaint();
                                             return tab->text() == tab->getLabel();
                                         }),
                             10000);
}

void TestMainWindow::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("openedTab");
    QTest::addColumn<bool>("checksForUpdates");

    QTest::newRow("no argument") << QStringList() << QString() << true;
    QTest::newRow("missing file") << QStringList{"<missing>"} << QString() << true;
    QTest::newRow("a document") << QStringList{"<first>"} << "pertama.vardo" << false;
    QTest::newRow("two documents")
        << QStringList{"<first>", "<second>"} << "pertama.vardo" << false;
}

void TestMainWindow::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, openedTab);
    QFETCH(bool, checksForUpdates);

    arguments.replaceInStrings(QStringLiteral("<first>"),
                               makeDocument(QStringLiteral("pertama.vardo")));
    arguments.replaceInStrings(QStringLiteral("<second>"),
                               makeDocument(QStringLiteral("kedua.vardo")));
    arguments.replaceInStrings(QStringLiteral("<missing>"),
                               dir->filePath(QStringLiteral("tidak-ada.vardo")));
    driver->passwords = QStringList{password, password};
    const int before = server.requests().size();
    makeWindow(arguments);

    QCOMPARE(window->getTabCount(), openedTab.isEmpty() ? 0 : 1);
    QCOMPARE(window->currentTabName(), openedTab);
    QCOMPARE(driver->prompts(), openedTab.isEmpty() ? 0 : 1);
    if (checksForUpdates) {
        waitForRequests(before + 1);
    } else {
        QTest::qWait(300);
        QCOMPARE(server.requests().size(), before);
    }
    QVERIFY(driver->messages().isEmpty());
}

void TestMainWindow::settingsDefaults_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("empty file") << QByteArray() << QStringList{"update-online/server.address=",
                                                               "update-online/is.ssl=false",
                                                               "update-online/port=80",
                                                               "update-online/path=",
                                                               "proxy/ip.address=",
                                                               "proxy/port=",
                                                               "proxy/is.secured=false"};
    QTest::newRow("SSL without port")
        << QByteArray("[update-online]\nis.ssl=true\nserver.address=u.example\n")
        << QStringList{"update-online/server.address=u.example", "update-online/is.ssl=true",
                       "update-online/port=443"};
    QTest::newRow("port zero") << QByteArray("[update-online]\nport=0\n")
                               << QStringList{"update-online/port=80"};
    QTest::newRow("port kept") << QByteArray("[update-online]\nport=8080\n")
                               << QStringList{"update-online/port=8080"};
    QTest::newRow("proxy kept") << QByteArray(
                                       "[proxy]\nip.address=10.0.0.1\nport=3128\nis.secured=true\n")
                                << QStringList{"proxy/ip.address=10.0.0.1", "proxy/port=3128",
                                               "proxy/is.secured=true"};
}

void TestMainWindow::settingsDefaults()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expected);

    QVERIFY(writeAll(appPath(QStringLiteral("config/config.ini")), content));
    // A file on the command line keeps the window from asking the update server,
    // which these settings may not name.
    const QString notADocument = dir->filePath(QStringLiteral("bukan.vardo"));
    QVERIFY(writeAll(notADocument, "plain text"));
    driver->passwords = QStringList{cancel};
    makeWindow({notADocument});

    QSettings settings(appPath(QStringLiteral("config/config.ini")), QSettings::IniFormat);
    for (const QString& entry : expected) {
        const QString key = entry.section(QLatin1Char('='), 0, 0);
        QVERIFY2(settings.contains(key), qPrintable(key));
        QCOMPARE(settings.value(key).toString(), entry.section(QLatin1Char('='), 1));
    }
}

void TestMainWindow::silentCheckWithoutUpdateShowsNothing()
{
    makeWindow();
    waitForRequests(1);
    QTest::qWait(500);
    QVERIFY(driver->seen.isEmpty());
}

void TestMainWindow::updateIsOfferedOncePerAnswer()
{
    server.setOutdated({QStringLiteral("kvApplication")});
    makeWindow();
    const QString offer =
        QStringLiteral("Konfirmasi Update Aplikasi: Versi terbaru dari aplikasi Vardo Viewer "
                       "tersedia, apakah anda ingin melakukan download update?");
    QTRY_COMPARE_WITH_TIMEOUT(driver->seen.count(offer), 1, 10000);

    // Two checks asked for by the user: two announcements, one offer per answer.
    window->checkUpdateStatus(true);
    QTRY_COMPARE_WITH_TIMEOUT(driver->seen.count(offer), 2, 10000);
    window->checkUpdateStatus(true);
    QTRY_COMPARE_WITH_TIMEOUT(driver->seen.count(offer), 3, 10000);
    QTest::qWait(500);
    QCOMPARE(driver->seen.count(offer), 3);
    QCOMPARE(driver->seen.filter(QStringLiteral("Pengecekan status aplikasi")).size(), 2);
}

void TestMainWindow::serverDownShowsFailure_data()
{
    QTest::addColumn<bool>("asked");
    QTest::newRow("silent check at start-up") << false;
    QTest::newRow("check asked for by the user") << true;
}

void TestMainWindow::serverDownShowsFailure()
{
    QFETCH(bool, asked);

    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    writeServerConfig(port);
    // A document on the command line keeps the start-up check from running, so
    // that only the check under test reaches the closed port.
    driver->passwords = QStringList{password};
    makeWindow(asked ? QStringList{makeDocument(QStringLiteral("a.vardo"))} : QStringList());
    QObject* note =
        window->shellView()->rootObject()->findChild<QObject*>(QStringLiteral("updateNote"));
    QVERIFY(note);

    if (!asked) {
        // Nothing over the screen: a note on the home screen, in Indonesian.
        QTRY_VERIFY_WITH_TIMEOUT(!note->property("text").toString().isEmpty(), 10000);
        QCOMPARE(note->property("text").toString(),
                 QStringLiteral("Pengecekan update online gagal: Server update menolak koneksi."));
        QTest::qWait(300);
        QVERIFY(driver->messages().isEmpty());
        return;
    }
    window->checkUpdateStatus(true);
    QTRY_COMPARE_WITH_TIMEOUT(driver->messages().size(), 2, 10000);
    QCOMPARE(driver->messages().last(),
             QStringLiteral("Informasi: Gagal melakukan koneksi ke server untuk keperluan update "
                            "online!, Detail: Server update menolak koneksi."));
    QVERIFY(note->property("text").toString().isEmpty());
    QTest::qWait(300);
    QCOMPARE(driver->messages().size(), 2);
}

void TestMainWindow::connectionFailureIsToldInIndonesian_data()
{
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("told");

    const QString prefix = QStringLiteral("Failed to Connect to Server : ");
    QTest::newRow("unknown host") << prefix + "Host update.example not found"
                                  << "Alamat server update tidak ditemukan.";
    QTest::newRow("refused") << prefix + "Connection refused"
                             << "Server update menolak koneksi.";
    QTest::newRow("time-out") << prefix + "no answer within 30000 ms"
                              << "Server update tidak menjawab dalam batas waktu.";
    QTest::newRow("proxy refused") << prefix + "Proxy connection refused"
                                   << "Koneksi melalui server proxy gagal.";
    QTest::newRow("TLS") << prefix + "SSL handshake failed"
                         << "Koneksi aman (SSL) ke server update gagal.";
    QTest::newRow("server error") << prefix + "the server answered with HTTP status 500"
                                  << "Server update tidak dapat melayani permintaan saat ini.";
    QTest::newRow("anything else") << prefix + "Network unreachable"
                                   << "Server update tidak dapat dihubungi.";
}

void TestMainWindow::connectionFailureIsToldInIndonesian()
{
    QFETCH(QString, error);
    QFETCH(QString, told);
    QCOMPARE(ConnectionFailure::describe(error), told);
}

void TestMainWindow::failedDownloadIsNotReportedReady()
{
    server.setOutdated({QStringLiteral("kvManual")});
    driver->answerYes = true;
    driver->onQuestion = [this] { server.setMode(UpdateServer::ServerError); };
    makeWindow();

    QTRY_VERIFY_WITH_TIMEOUT(
        driver->messages().filter(QStringLiteral("Gagal melakukan koneksi")).size() == 1, 10000);
    QTest::qWait(300);
    QVERIFY(driver->messages().filter(QStringLiteral("siap dilaksanakan")).isEmpty());
    QVERIFY(!QFile::exists(appPath(QStringLiteral("update/tavi-viewer.kvu"))));
}

// The viewer built here trusts no test key, so a downloaded package (signed or not)
// is refused before it is offered: the user reads why, nothing is stored, and the
// progress dialog has gone. Trusted packages are offered in the update path test.
void TestMainWindow::downloadedPackageIsCheckedBeforeItIsOffered()
{
    const QByteArray package =
        DocumentEncoder::zipArchive({{QStringLiteral("header.xml"), QByteArray("<update/>")}});
    server.setPackage(package);
    server.setOutdated({QStringLiteral("kvFAQ")});
    driver->answerYes = true;
    makeWindow();

    QTRY_VERIFY_WITH_TIMEOUT(
        !driver->messages().filter(QStringLiteral("Paket update tidak asli")).isEmpty(), 10000);
    QVERIFY2(driver->messages().last().startsWith(
                 QStringLiteral("Informasi: Paket update tidak asli: tanda tangan atau isi paket "
                                "tidak sesuai.")),
             qPrintable(driver->messages().last()));
    QTest::qWait(300);
    QVERIFY(driver->messages().filter(QStringLiteral("siap dilaksanakan")).isEmpty());
    QVERIFY(!QFile::exists(appPath(QStringLiteral("update/tavi-viewer.kvu"))));
    QVERIFY(driver->richBoxes.isEmpty());
    QVERIFY(window->isVisible());

    QProgressDialog* progress = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QProgressDialog*>(top))
            progress = dialog;
    }
    QVERIFY(progress);
    QCOMPARE(progress->windowTitle(), QStringLiteral("Download Update Aplikasi"));
    QVERIFY(progress->isHidden());
}

// A server's error text never becomes a heading and a link: the box the user asked for
// tells the cause in Indonesian, as plain text, and the server's words go to the log.
void TestMainWindow::serverTextIsShownAsPlainText()
{
    server.setMode(UpdateServer::HtmlError);
    // A document on the command line keeps the silent start-up check from running.
    driver->passwords = QStringList{password};
    makeWindow(QStringList{makeDocument(QStringLiteral("a.vardo"))});
    window->checkUpdateStatus(true);
    QTRY_VERIFY_WITH_TIMEOUT(
        !driver->messages().filter(QStringLiteral("Gagal melakukan koneksi")).isEmpty(), 10000);
    const QString shown =
        driver->messages().filter(QStringLiteral("Gagal melakukan koneksi")).first();
    QVERIFY2(!shown.contains(QStringLiteral("<h1>")) && !shown.contains(QStringLiteral("<a ")),
             qPrintable(shown));
    QVERIFY(driver->richBoxes.isEmpty());
}

// "Batal" stops the download: no question and no message follow, however long the
// server would have taken, and the package from before stays.
void TestMainWindow::cancelStopsTheDownload()
{
    // A server of its own, whose downloads never end.
    UpdateServer slow;
    QVERIFY(slow.listen());
    slow.setOutdated({QStringLiteral("kvFAQ")});
    slow.setDownloadMode(UpdateServer::Trickle);
    writeServerConfig(slow.port());
    QVERIFY(writeAll(appPath(QStringLiteral("update/tavi-viewer.kvu")), "earlier package"));
    driver->answerYes = true;
    makeWindow();
    QProgressDialog* progress = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&progress] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (auto* dialog = qobject_cast<QProgressDialog*>(top);
                    dialog && dialog->isVisible())
                    progress = dialog;
            }
            return progress != nullptr;
        }(),
        10000);
    QTest::qWait(300);
    progress->cancel();
    const int seen = driver->messages().size();
    QTest::qWait(1500);
    QCOMPARE(driver->messages().size(), seen);
    QCOMPARE(readAll(appPath(QStringLiteral("update/tavi-viewer.kvu"))),
             QByteArray("earlier package"));
}

void TestMainWindow::offlinePackage_data()
{
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("copied");

    // Not signed by a key the viewer built here trusts: refused, never copied.
    QTest::newRow("a package") << "paket.kvu"
                               << "Informasi: Paket update tidak asli" << false;
    QTest::newRow("cancelled") << ""
                               << "" << false;
}

void TestMainWindow::offlinePackage()
{
    QFETCH(QString, choice);
    QFETCH(QString, message);
    QFETCH(bool, copied);

    makeWindow();
    waitForRequests(1);
    const QByteArray package =
        DocumentEncoder::zipArchive({{QStringLiteral("header.xml"), QByteArray("<update/>")}});
    QVERIFY(writeAll(dir->filePath(QStringLiteral("paket.kvu")), package));
    driver->fileChoice = choice.isEmpty() ? QString() : dir->filePath(choice);
    window->updateOffline();

    QCOMPARE(driver->seen.first(), QStringLiteral("file dialog: Buka File Update"));
    QCOMPARE(driver->messages().size(), message.isEmpty() ? 1 : 2);
    if (!message.isEmpty())
        QVERIFY2(driver->messages().last().contains(message),
                 qPrintable(driver->messages().last()));
    QCOMPARE(QFile::exists(appPath(QStringLiteral("update/tavi-viewer.kvu"))), copied);
    if (copied)
        QCOMPARE(readAll(appPath(QStringLiteral("update/tavi-viewer.kvu"))), package);
}

void TestMainWindow::droppedDocumentOpensAndIsRemembered()
{
    makeWindow();
    const QString path = makeDocument(QStringLiteral("jatuh.vardo"));
    driver->passwords = QStringList{password};
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path),
                  QUrl::fromLocalFile(dir->filePath(QStringLiteral("catatan.txt")))});

    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.data(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.data(), &drop);

    QCOMPARE(driver->prompts(), 1);
    QCOMPARE(window->getTabCount(), 1);
    QCOMPARE(window->currentTabName(), QStringLiteral("jatuh.vardo"));
    const QVariantList recent = window->getRecentFilesData();
    QCOMPARE(recent.size(), 1);
    QCOMPARE(recent.first().toMap().value("filename").toString(), path);

    // The home screen's close-all button follows the tabs, also when the last one closes.
    QObject* closeAll =
        window->shellView()->rootObject()->findChild<QObject*>(QStringLiteral("closeAllButton"));
    QVERIFY(closeAll);
    QVERIFY(closeAll->property("enabled").toBool());
    window->tabClosed(QStringLiteral("jatuh.vardo"));
    QVERIFY(!closeAll->property("enabled").toBool());

    // Something that is no document is not taken.
    QMimeData text;
    text.setUrls({QUrl::fromLocalFile(dir->filePath(QStringLiteral("catatan.txt")))});
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    refused.setAccepted(false);
    QApplication::sendEvent(window.data(), &refused);
    QVERIFY(!refused.isAccepted());
}

void TestMainWindow::shortcutsCloseTabPrintAndOpenDialog()
{
    makeWindow();
    for (const QString& name : {QStringLiteral("a.vardo"), QStringLiteral("b.vardo")}) {
        driver->passwords = QStringList{password};
        window->openTab(name, QStringLiteral("faq"), makeDocument(name));
    }
    QCOMPARE(window->currentTabName(), QStringLiteral("b.vardo"));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.data()));
    QTest::keyClick(window.data(), Qt::Key_W, Qt::ControlModifier);
    QCOMPARE(window->getTabCount(), 1);
    QCOMPARE(window->currentTabName(), QStringLiteral("a.vardo"));

    QTest::keyClick(window.data(), Qt::Key_P, Qt::ControlModifier);
    QTRY_VERIFY(driver->seen.contains(QStringLiteral("print dialog")));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.data()));

    QObject* fileDialog =
        window->shellView()->rootObject()->findChild<QObject*>(QStringLiteral("fileDialog"));
    QVERIFY(fileDialog);
    // The shell's dialog is a widget dialog under a widget application; the driver
    // cancels it as soon as it shows.
    QTest::keyClick(window.data(), Qt::Key_O, Qt::ControlModifier);
    QTRY_VERIFY(driver->seen.contains(QStringLiteral("file dialog: Pilih File TAVI")));
    QCOMPARE(window->getTabCount(), 1);
    // Cancelled: nothing is remembered.
    QVERIFY(window->getRecentFilesData().isEmpty());
}

void TestMainWindow::closeAllFollowsEveryTab_data()
{
    QTest::addColumn<QString>("opening");
    QTest::newRow("command line") << "command line";
    QTest::newRow("manual") << "MANUAL";
    QTest::newRow("FAQ") << "FAQ";
}

void TestMainWindow::closeAllFollowsEveryTab()
{
    QFETCH(QString, opening);

    driver->passwords = QStringList{password};
    if (opening == QLatin1String("command line")) {
        makeWindow({makeDocument(QStringLiteral("a.vardo"))});
    } else {
        makeWindow();
        window->openTab(opening, opening.toLower(), QString());
    }
    QCOMPARE(window->getTabCount(), 1);
    QObject* closeAll =
        window->shellView()->rootObject()->findChild<QObject*>(QStringLiteral("closeAllButton"));
    QVERIFY(closeAll);
    QVERIFY(closeAll->property("enabled").toBool());
    QCOMPARE(closeAll->property("contentOpacity").toDouble(), 1.0);
    window->closeAllTab();
    QVERIFY(!closeAll->property("enabled").toBool());
}

void TestMainWindow::tabsCycleWithCtrlTabAndNameTheWindow()
{
    makeWindow();
    for (const QString& name :
         {QStringLiteral("a.vardo"), QStringLiteral("b.vardo"), QStringLiteral("c.vardo")}) {
        driver->passwords = QStringList{password};
        window->openTab(name, QStringLiteral("faq"), makeDocument(name));
    }
    QCOMPARE(window->windowTitle(), QStringLiteral("c.vardo - Vardo Viewer"));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.data()));

    const QList<QPair<Qt::KeyboardModifiers, QString>> steps = {
        {Qt::ControlModifier, "a.vardo"},
        {Qt::ControlModifier, "b.vardo"},
        {Qt::ControlModifier | Qt::ShiftModifier, "a.vardo"},
        {Qt::ControlModifier | Qt::ShiftModifier, "c.vardo"},
    };
    for (const auto& step : steps) {
        QTest::keyClick(window.data(),
                        step.first & Qt::ShiftModifier ? Qt::Key_Backtab : Qt::Key_Tab, step.first);
        QCOMPARE(window->currentTabName(), step.second);
        QCOMPARE(window->windowTitle(), step.second + QStringLiteral(" - Vardo Viewer"));
    }

    // Back on the home screen the title names the program alone.
    QMetaObject::invokeMethod(window.data(), "home");
    QCOMPARE(window->windowTitle(), QStringLiteral("Vardo Viewer"));
    QTest::keyClick(window.data(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(window->currentTabName(), QStringLiteral("a.vardo"));
    window->closeAllTab();
    QCOMPARE(window->windowTitle(), QStringLiteral("Vardo Viewer"));
}

// A keyboard user walks the home screen in the order it reads, sees where the focus
// is, and can leave it for the window's own buttons and come back.
void TestMainWindow::tabWalksTheHomeScreen_data()
{
    QTest::addColumn<int>("activation");
    QTest::newRow("space") << int(Qt::Key_Space);
    QTest::newRow("return") << int(Qt::Key_Return);
}

void TestMainWindow::tabWalksTheHomeScreen()
{
    QFETCH(int, activation);
    makeWindow();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.data()));
    QQuickView* view = window->shellView();
    auto item = [view](const char* name) {
        return view->rootObject()->findChild<QQuickItem*>(QLatin1String(name));
    };
    auto press = [](Qt::Key key) {
        QWindow* target = QGuiApplication::focusWindow();
        QVERIFY(target);
        QTest::keyClick(target, key);
    };
    QQuickItem* field = item("searchField");
    QQuickItem* clear = item("clearListButton");
    QVERIFY(field && clear);
    const QPointF middle = field->mapToScene(QPointF(field->width() / 2, field->height() / 2));
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, middle.toPoint());
    view->requestActivate();
    QTRY_VERIFY(field->hasActiveFocus());

    const QStringList forward = {"recentFiles", "clearListButton"};
    for (const QString& name : forward) {
        press(Qt::Key_Tab);
        QTRY_VERIFY2(item(qPrintable(name))->hasActiveFocus(), qPrintable(name));
    }
    QQuickItem* frame = nullptr;
    for (QQuickItem* child : clear->findChildren<QQuickItem*>()) {
        if (child->objectName() == QLatin1String("focusFrame"))
            frame = child;
    }
    QVERIFY(frame);
    QVERIFY(frame->isVisible());

    // Past the last control the focus goes to the window's buttons, and back again.
    press(Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), button("homeTab"));
    QVERIFY(!clear->hasActiveFocus());
    press(Qt::Key_Backtab);
    QTRY_VERIFY(clear->hasActiveFocus());
    press(Qt::Key_Backtab);
    QTRY_VERIFY(item("recentFiles")->hasActiveFocus());
    QVERIFY(!frame->isVisible());
    press(Qt::Key_Tab);
    QTRY_VERIFY(clear->hasActiveFocus());

    // The focused link, pressed from the keyboard, asks before anything is cleared; the
    // dialog driver answers the question as soon as it shows, so its record is the proof.
    const QString question =
        QStringLiteral("Konfirmasi: Apakah anda yakin ingin menghapus daftar berkas?");
    QVERIFY(!driver->messages().contains(question));
    // Straight to the shell, which holds the focused button whichever window the test
    // platform names as focused.
    QTest::keyClick(view, Qt::Key(activation));
    QTRY_COMPARE(driver->messages(), QStringList{question});
}

void TestMainWindow::middleClickClosesTab()
{
    makeWindow();
    for (const QString& name : {QStringLiteral("a.vardo"), QStringLiteral("b.vardo")}) {
        driver->passwords = QStringList{password};
        window->openTab(name, QStringLiteral("faq"), makeDocument(name));
    }
    TabButton* first = nullptr;
    for (TabButton* tab : stripButtons()) {
        if (tab->getLabel().contains(QStringLiteral("a.vardo")))
            first = tab;
    }
    QVERIFY(first);
    // Any other button leaves the tab open.
    QTest::mouseClick(first, Qt::RightButton);
    QCOMPARE(window->getTabCount(), 2);
    QTest::mouseClick(first, Qt::MiddleButton);
    QCOMPARE(window->getTabCount(), 1);
    QCOMPARE(window->currentTabName(), QStringLiteral("b.vardo"));
}

void TestMainWindow::openTabsListNamesEveryDocument()
{
    makeWindow();
    auto* list = window->findChild<QToolButton*>(QStringLiteral("openTabsButton"));
    QVERIFY(list);
    QVERIFY(list->isHidden());
    QVERIFY(!list->accessibleName().isEmpty());
    const QStringList names = {
        QStringLiteral("laporan-debitur-cabang-surabaya-pertama.vardo"),
        QStringLiteral("laporan-debitur-cabang-surabaya-kedua.vardo"),
    };
    for (const QString& name : names) {
        driver->passwords = QStringList{password};
        window->openTab(name, QStringLiteral("faq"), makeDocument(name));
    }
    window->openTab(QStringLiteral("FAQ"), QStringLiteral("faq"), QString());
    QVERIFY(!list->isHidden());

    QMetaObject::invokeMethod(list->menu(), "aboutToShow");
    QStringList shown;
    for (QAction* action : list->menu()->actions())
        shown << action->text() + (action->isChecked() ? QStringLiteral(" *") : QString());
    QCOMPARE(shown, QStringList({names.at(0), names.at(1), QStringLiteral("FAQ *")}));

    list->menu()->actions().at(1)->trigger();
    QCOMPARE(window->currentTabName(), names.at(1));
    window->closeAllTab();
    QVERIFY(list->isHidden());
}

void TestMainWindow::windowSizeIsRemembered()
{
    makeWindow();
    QVERIFY(window->isMaximized());
    QCOMPARE(window->minimumSize(), QSize(880, 480));
    // Restored for the first time: no smaller than the window can be. (The
    // offscreen platform does not move windows; the size kept for restoring counts.)
    const QSize normal = window->normalGeometry().size();
    QVERIFY2(normal.width() >= 880 && normal.height() >= 480,
             qPrintable(QStringLiteral("%1x%2").arg(normal.width()).arg(normal.height())));
    window->showNormal();
    QVERIFY(!window->isMaximized());

    window->setGeometry(40, 50, 1000, 700);
    window->close();
    makeWindow();
    QVERIFY(!window->isMaximized());
    QCOMPARE(window->size(), QSize(1000, 700));

    window->showMaximized();
    window->close();
    makeWindow();
    QVERIFY(window->isMaximized());
}

void TestMainWindow::reportKeys()
{
    makeWindow();
    driver->passwords = QStringList{password};
    window->openTab(QStringLiteral("a.vardo"), QStringLiteral("faq"),
                    makeDocument(QStringLiteral("a.vardo")));
    auto* report = qobject_cast<ReportWidget*>(pages()->currentWidget());
    QVERIFY(report);
    LimeReport::PreviewReportWidget* preview = report->getPreview();
    QTRY_VERIFY(!report->isLayingOut());
    QVERIFY(report->getPageCount() > 1);
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.data()));

    QTest::keyClick(window.data(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(preview->currentPage(), report->getPageCount());
    QTest::keyClick(window.data(), Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(preview->currentPage(), 1);
    QTest::keyClick(window.data(), Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(preview->scalePercent(), 100);
    QTest::keyClick(window.data(), Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(preview->scalePercent(), 110);
    QTest::keyClick(window.data(), Qt::Key_Equal, Qt::ControlModifier);
    QCOMPARE(preview->scalePercent(), 120);
    QTest::keyClick(window.data(), Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(preview->scalePercent(), 110);

    QTest::keyClick(window.data(), Qt::Key_F11);
    QVERIFY(window->isFullScreen());
    QTest::keyClick(window.data(), Qt::Key_F11);
    QVERIFY(!window->isFullScreen());
    QVERIFY(window->isMaximized());
}

void TestMainWindow::qtTextsAreIndonesian_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("indonesian");

    QTest::newRow("cancel") << "QPlatformTheme"
                            << "Cancel"
                            << ""
                            << "Batal";
    QTest::newRow("no") << "QPlatformTheme"
                        << "&No"
                        << ""
                        << "&Tidak";
    QTest::newRow("file type column") << "QFileSystemModel"
                                      << "Type"
                                      << "All other platforms"
                                      << "Jenis";
    QTest::newRow("print button") << "QPrintDialog"
                                  << "&Print"
                                  << ""
                                  << "&Cetak";
    QTest::newRow("paste") << "QLineEdit"
                           << "&Paste"
                           << ""
                           << "T&empel";
}

void TestMainWindow::qtTextsAreIndonesian()
{
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, comment);
    QFETCH(QString, indonesian);

    static const bool installed = QtTranslation::install(qApp);
    QVERIFY(installed);
    QCOMPARE(QCoreApplication::translate(qPrintable(context), qPrintable(source),
                                         comment.isEmpty() ? nullptr : qPrintable(comment)),
             indonesian);

    // What the user sees: the buttons of a question and the labels of a file dialog.
    QMessageBox box(QMessageBox::Question, QStringLiteral("Konfirmasi"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Ya"));
    QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("&Tidak"));
    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    auto* lookIn = files.findChild<QLabel*>(QStringLiteral("lookInLabel"));
    QVERIFY(lookIn);
    QCOMPARE(lookIn->text(), QStringLiteral("Lihat di:"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
