#include <QAbstractItemModel>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QtTest>

#include "recentfilesstore.h"
#include "simplecrypt.h"
#include "sortfilterproxymodel.h"
#include "uiutils.h"

// Stands in for the main window: the screens only call its slots, so the test
// records each call and answers with canned data.
class FakeMainWindow : public QObject
{
    Q_OBJECT
public:
    QStringList calls;
    int tabCount = 0;
    QVariantList recentFiles;

public slots:
    void setTabCurrentIndex(int index) { calls << QString("setTabCurrentIndex %1").arg(index); }
    void openTab(QString filename, QString reportFilename, QString taviFilename)
    {
        calls << QString("openTab %1|%2|%3").arg(filename, reportFilename, taviFilename);
    }
    int getTabCount() { return tabCount; }
    void closeAllTab() { calls << "closeAllTab"; }
    QVariantList getRecentFilesData()
    {
        calls << "getRecentFilesData";
        QVariantList shown;
        for (const QVariant& record : qAsConst(recentFiles))
            shown << RecentFilesStore::withShownTime(record.toMap());
        return shown;
    }
    void addRecentFile(QString filename) { calls << "addRecentFile " + filename; }
    void emptyRecentFile() { calls << "emptyRecentFile"; }
    void updateOffline() { calls << "updateOffline"; }
    void checkUpdateStatus(bool showIntroMessage)
    {
        calls << QString("checkUpdateStatus %1").arg(showIntroMessage);
    }
};

// The settings file as the screens see it through "utils", kept in memory so that
// the order of the writes can be checked. The cipher is the real one.
class FakeSettings : public QObject
{
    Q_OBJECT
public:
    QMap<QString, QString> values;
    QList<QPair<QString, QString>> writes;

    Q_INVOKABLE QString getSettingValue(QString key) { return values.value(key); }
    Q_INVOKABLE void setSettingValue(QString key, QString value)
    {
        values.insert(key, value);
        writes << qMakePair(key, value);
    }
    Q_INVOKABLE QString encryptValue(QString value) { return UIUtils::encryptValue(value); }
    Q_INVOKABLE QString decryptValue(QString value) { return UIUtils::decryptValue(value); }
};

namespace {

QVariantMap record(const QString& filename, const QString& size, const QString& date)
{
    return QVariantMap{{"filename", filename}, {"size", size}, {"dateViewed", date}};
}

QVariantList sampleRecords()
{
    // As text the times sort otherwise than as times: 4:33:19 PM comes before
    // 4:33:4 PM, and 10:0:0 AM before both.
    return {record("C:/docs/zeta.vardo", "2 KBs", "01-Jan-2024 9:5:1 AM"),
            record("C:/docs/abc-lower.vardo", "10 KBs", "03-Jan-2024 4:33:4 PM"),
            record("C:/docs/ABC-upper.vardo", "1,50 KBs", "03-Jan-2024 4:33:19 PM"),
            record("C:/docs/Beta.vardo", "512 bytes", "03-Jan-2024 10:0:0 AM")};
}

} // namespace

class TestQmlScreens : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void screenLoadsWithoutWarnings_data();
    void screenLoadsWithoutWarnings();
    void tableShowsRecentFilesSortedByName();
    void fileNamesShownAsWritten();
    void searchIgnoresCase_data();
    void searchIgnoresCase();
    void emptyTableSaysWhy();
    void enterOpensCurrentRow();
    void escapeClearsSearch();
    void sortFollowsIndicator_data();
    void sortFollowsIndicator();
    void clearListEmptiesStore();
    void clearingListAsksFirst_data();
    void clearingListAsksFirst();
    void openingFromTableOpensTabAndRefreshes_data();
    void openingFromTableOpensTabAndRefreshes();
    void closeAllFollowsTabCount_data();
    void closeAllFollowsTabCount();
    void closeAllQuestionClosesTabs();
    void shellReportsVisibleScreen();
    void toolsMenuActions_data();
    void toolsMenuActions();
    void settingsLoadDecryptsSecrets();
    void settingsSaveWritesKeysInOrder_data();
    void settingsSaveWritesKeysInOrder();
    void differingConfirmationIsNotSaved();
    void iconButtonsHaveAccessibleNames_data();
    void iconButtonsHaveAccessibleNames();
    void keyboardFocusIsVisible();
    void togglingUsernameClearsSecrets();
    void confirmationFrameColour_data();
    void confirmationFrameColour();
    void aboutShowsFiveVersions();

private:
    bool load(const QString& file);
    QObject* find(const QString& name) const;
    QStringList shownFilenames() const;

    QScopedPointer<QQuickView> view;
    QScopedPointer<FakeMainWindow> window;
    QScopedPointer<FakeSettings> settings;
    QStringList warnings;
};

void TestQmlScreens::initTestCase()
{
    Q_INIT_RESOURCE(qml);
    qmlRegisterType<UIUtils>("qrv.utils", 1, 0, "UIUtils");
    qmlRegisterType<SortFilterProxyModel>("qrv.kora.libraries", 1, 0, "SortFilterProxyModel");
}

void TestQmlScreens::init()
{
    warnings.clear();
    window.reset(new FakeMainWindow);
    window->recentFiles = sampleRecords();
    settings.reset(new FakeSettings);
    view.reset(new QQuickView);
    view->setResizeMode(QQuickView::SizeRootObjectToView);
    view->resize(1000, 700);
    connect(view->engine(), &QQmlEngine::warnings, this, [this](const QList<QQmlError>& list) {
        for (const QQmlError& error : list)
            warnings << error.toString();
    });
    QQmlContext* context = view->rootContext();
    context->setContextProperty("utils", settings.data());
    context->setContextProperty("mainWindow", window.data());
    context->setContextProperty("verKvApplication", "1.0.10");
    context->setContextProperty("verKvLibrary", "1.0.3");
    context->setContextProperty("verKvManual", "1.0.1");
    context->setContextProperty("verKvFAQ", "1.0.2");
    context->setContextProperty("verKvConfig", "1.0.4");
}

void TestQmlScreens::cleanup()
{
    view.reset();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
}

bool TestQmlScreens::load(const QString& file)
{
    view->setSource(QUrl("qrc:/" + file));
    view->show();
    QTest::qWait(20);
    return view->status() == QQuickView::Ready && view->rootObject();
}

QObject* TestQmlScreens::find(const QString& name) const
{
    QObject* root = view->rootObject();
    if (root && root->objectName() == name)
        return root;
    return root ? root->findChild<QObject*>(name) : nullptr;
}

QStringList TestQmlScreens::shownFilenames() const
{
    auto* model = qobject_cast<QAbstractItemModel*>(find("proxyModel"));
    if (!model)
        return {"no model"};
    const int role = model->roleNames().key("filename", -1);
    QStringList names;
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, 0).data(role).toString().section('/', -1);
    return names;
}

void TestQmlScreens::screenLoadsWithoutWarnings_data()
{
    QTest::addColumn<QString>("file");
    for (const char* file : {"Main.qml", "Home.qml", "Tools.qml", "ToolsMain.qml",
                             "ToolsConfig.qml", "AboutConfig.qml"})
        QTest::newRow(file) << file;
}

void TestQmlScreens::screenLoadsWithoutWarnings()
{
    QFETCH(QString, file);
    QVERIFY2(load(file), qPrintable(warnings.join('\n')));
}

void TestQmlScreens::tableShowsRecentFilesSortedByName()
{
    QVERIFY(load("Main.qml"));
    QVERIFY(window->calls.contains("getRecentFilesData"));
    QCOMPARE(shownFilenames(),
             QStringList({"abc-lower.vardo", "ABC-upper.vardo", "Beta.vardo", "zeta.vardo"}));
}

// A file name that looks like markup is shown as it is written, not as a heading.
void TestQmlScreens::fileNamesShownAsWritten()
{
    window->recentFiles.append(
        record("C:/docs/<h1>PERINGATAN</h1>.vardo", "1 KBs", "05-Jan-2024 8:0:0 AM"));
    QVERIFY(load("Main.qml"));
    QList<QQuickItem*> pending{view->rootObject()};
    int shown = 0;
    while (!pending.isEmpty()) {
        QQuickItem* item = pending.takeLast();
        pending += item->childItems();
        if (item->property("text").toString().contains("<h1>PERINGATAN</h1>")) {
            ++shown;
            // Text.PlainText
            QCOMPARE(item->property("textFormat").toInt(), 0);
        }
    }
    QVERIFY(shown > 0);
}

void TestQmlScreens::searchIgnoresCase_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("lower case") << "abc" << QStringList{"abc-lower.vardo", "ABC-upper.vardo"};
    QTest::newRow("upper case") << "ABC" << QStringList{"abc-lower.vardo", "ABC-upper.vardo"};
    QTest::newRow("mixed case") << "bEtA" << QStringList{"Beta.vardo"};
    QTest::newRow("size text") << "kbs"
                               << QStringList{"abc-lower.vardo", "ABC-upper.vardo", "zeta.vardo"};
    QTest::newRow("time as shown") << "16:33:04" << QStringList{"abc-lower.vardo"};
    QTest::newRow("no match") << "xyz" << QStringList{};
    QTest::newRow("empty") << ""
                           << QStringList{"abc-lower.vardo", "ABC-upper.vardo", "Beta.vardo",
                                          "zeta.vardo"};
}

void TestQmlScreens::searchIgnoresCase()
{
    QFETCH(QString, search);
    QFETCH(QStringList, shown);

    QVERIFY(load("Main.qml"));
    QObject* field = find("searchField");
    QVERIFY(field);
    field->setProperty("text", search);
    QCOMPARE(shownFilenames(), shown);
}

void TestQmlScreens::emptyTableSaysWhy()
{
    QVERIFY(load("Main.qml"));
    QObject* note = find("emptyNote");
    QVERIFY(note);
    QVERIFY(!note->property("visible").toBool());
    find("searchField")->setProperty("text", "Dewi");
    QCOMPARE(note->property("text").toString(), QStringLiteral("Berkas \"Dewi\" tidak ditemukan."));
    QVERIFY(note->property("visible").toBool());
    find("searchField")->setProperty("text", "");
    QVERIFY(!note->property("visible").toBool());

    QVERIFY(QMetaObject::invokeMethod(find("recentFiles"), "clearFiles"));
    QVERIFY(note->property("text").toString().startsWith(
        QStringLiteral("Belum ada berkas yang dibuka. Pilih \"Buka Berkas\"")));
}

void TestQmlScreens::enterOpensCurrentRow()
{
    QVERIFY(load("Main.qml"));
    auto* table = qobject_cast<QQuickItem*>(find("recentFiles"));
    QVERIFY(table);
    QVERIFY(QTest::qWaitForWindowExposed(view.data()));
    view->requestActivate();
    // Sorted by name: row 2 is Beta.vardo.
    table->setProperty("currentRow", 2);
    table->forceActiveFocus();
    QTRY_VERIFY(table->hasActiveFocus());
    window->calls.clear();
    QTest::keyClick(view.data(), Qt::Key_Return);
    QCOMPARE(window->calls.value(0), QStringLiteral("openTab Beta.vardo|faq|C:/docs/Beta.vardo"));
}

void TestQmlScreens::escapeClearsSearch()
{
    QVERIFY(load("Main.qml"));
    auto* field = qobject_cast<QQuickItem*>(find("searchField"));
    QVERIFY(field);
    QVERIFY(QTest::qWaitForWindowExposed(view.data()));
    view->requestActivate();
    QTRY_VERIFY(field->hasActiveFocus());
    for (char key : {'a', 'b', 'c'})
        QTest::keyClick(view.data(), key);
    QCOMPARE(field->property("text").toString(), QStringLiteral("abc"));
    QCOMPARE(shownFilenames().size(), 2);
    QTest::keyClick(view.data(), Qt::Key_Escape);
    QCOMPARE(field->property("text").toString(), QString());
    QCOMPARE(shownFilenames().size(), 4);
}

void TestQmlScreens::sortFollowsIndicator_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("order");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("name descending")
        << 0 << int(Qt::DescendingOrder)
        << QStringList{"zeta.vardo", "Beta.vardo", "ABC-upper.vardo", "abc-lower.vardo"};
    QTest::newRow("time ascending")
        << 2 << int(Qt::AscendingOrder)
        << QStringList{"zeta.vardo", "Beta.vardo", "abc-lower.vardo", "ABC-upper.vardo"};
    QTest::newRow("time descending")
        << 2 << int(Qt::DescendingOrder)
        << QStringList{"ABC-upper.vardo", "abc-lower.vardo", "Beta.vardo", "zeta.vardo"};
    QTest::newRow("size ascending")
        << 1 << int(Qt::AscendingOrder)
        << QStringList{"ABC-upper.vardo", "abc-lower.vardo", "zeta.vardo", "Beta.vardo"};
}

void TestQmlScreens::sortFollowsIndicator()
{
    QFETCH(int, column);
    QFETCH(int, order);
    QFETCH(QStringList, shown);

    QVERIFY(load("Main.qml"));
    QObject* table = find("recentFiles");
    QVERIFY(table);
    table->setProperty("sortIndicatorColumn", column);
    table->setProperty("sortIndicatorOrder", order);
    QCOMPARE(shownFilenames(), shown);
}

void TestQmlScreens::clearListEmptiesStore()
{
    QVERIFY(load("Main.qml"));
    QObject* table = find("recentFiles");
    QVERIFY(QMetaObject::invokeMethod(table, "clearFiles"));
    QVERIFY(window->calls.contains("emptyRecentFile"));
    QCOMPARE(shownFilenames(), QStringList());
}

void TestQmlScreens::clearingListAsksFirst_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestQmlScreens::clearingListAsksFirst()
{
    QFETCH(bool, yes);

    QVERIFY(load("Main.qml"));
    QObject* dialog = find("clearListDialog");
    QVERIFY(dialog);
    QCOMPARE(dialog->property("title").toString(), QStringLiteral("Konfirmasi"));
    QCOMPARE(dialog->property("text").toString(),
             QStringLiteral("Apakah anda yakin ingin menghapus daftar berkas?"));
    QVERIFY(QMetaObject::invokeMethod(dialog, yes ? "yes" : "no"));
    QCOMPARE(window->calls.contains("emptyRecentFile"), yes);
    QCOMPARE(shownFilenames().size(), yes ? 0 : 4);
}

void TestQmlScreens::openingFromTableOpensTabAndRefreshes_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("tabName");

    QTest::newRow("stored path") << "C:/docs/zeta.vardo"
                                 << "zeta.vardo";
    QTest::newRow("path with backslashes") << "C:\\docs\\zeta.vardo"
                                           << "zeta.vardo";
    QTest::newRow("file URL") << "file:///C:/docs/zeta.vardo"
                              << "zeta.vardo";
    QTest::newRow("URL with an escape") << "file:///home/budi/laporan%23%201.vardo"
                                        << "laporan# 1.vardo";
}

void TestQmlScreens::openingFromTableOpensTabAndRefreshes()
{
    QFETCH(QString, file);
    QFETCH(QString, tabName);

    QVERIFY(load("Main.qml"));
    window->calls.clear();
    window->recentFiles.removeFirst();
    QObject* table = find("recentFiles");
    QVERIFY(QMetaObject::invokeMethod(table, "openFile", Q_ARG(QString, file)));
    QCOMPARE(window->calls,
             QStringList({"openTab " + tabName + "|faq|" + file, "getRecentFilesData"}));
    QCOMPARE(shownFilenames().size(), 3);
}

void TestQmlScreens::closeAllFollowsTabCount_data()
{
    QTest::addColumn<int>("tabs");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<double>("opacity");

    QTest::newRow("no tab") << 0 << false << 0.5;
    QTest::newRow("two tabs") << 2 << true << 1.0;
}

void TestQmlScreens::closeAllFollowsTabCount()
{
    QFETCH(int, tabs);
    QFETCH(bool, enabled);
    QFETCH(double, opacity);

    window->tabCount = 1 - tabs;
    QVERIFY(load("Main.qml"));
    QObject* button = find("closeAllButton");
    QCOMPARE(button->property("enabled").toBool(), !enabled);
    window->tabCount = tabs;
    QVERIFY(QMetaObject::invokeMethod(view->rootObject(), "checkTabCount"));
    QCOMPARE(button->property("enabled").toBool(), enabled);
    QCOMPARE(button->property("contentOpacity").toDouble(), opacity);
}

void TestQmlScreens::closeAllQuestionClosesTabs()
{
    window->tabCount = 2;
    QVERIFY(load("Main.qml"));
    QObject* dialog = find("closeAllDialog");
    QCOMPARE(dialog->property("title").toString(), QStringLiteral("Konfirmasi"));
    QVERIFY(QMetaObject::invokeMethod(dialog, "yes"));
    QVERIFY(window->calls.contains("closeAllTab"));
}

void TestQmlScreens::shellReportsVisibleScreen()
{
    QVERIFY(load("Main.qml"));
    window->calls.clear();
    QVERIFY(QMetaObject::invokeMethod(view->rootObject(), "setCurrentIndex", Q_ARG(QVariant, 1)));
    QCOMPARE(find("swipeView")->property("currentIndex").toInt(), 1);
    QVERIFY(QMetaObject::invokeMethod(view->rootObject(), "setCurrentIndex", Q_ARG(QVariant, 0)));
    QCOMPARE(window->calls, QStringList({"setTabCurrentIndex 1", "setTabCurrentIndex 0"}));
}

void TestQmlScreens::toolsMenuActions_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("page");

    QTest::newRow("settings") << "settingsButton"
                              << ""
                              << "toolsConfigPage";
    QTest::newRow("offline update") << "offlineButton"
                                    << "updateOffline"
                                    << "toolsMainPage";
    QTest::newRow("online update") << "onlineButton"
                                   << "checkUpdateStatus 1"
                                   << "toolsMainPage";
    QTest::newRow("FAQ") << "faqButton"
                         << "openTab FAQ|faq|"
                         << "toolsMainPage";
    QTest::newRow("manual") << "manualButton"
                            << "openTab MANUAL|manual|"
                            << "toolsMainPage";
    QTest::newRow("about") << "aboutButton"
                           << ""
                           << "aboutConfigPage";
}

void TestQmlScreens::toolsMenuActions()
{
    QFETCH(QString, button);
    QFETCH(QString, call);
    QFETCH(QString, page);

    QVERIFY(load("Tools.qml"));
    window->calls.clear();
    QObject* menu = find("toolsMainPage");
    QVERIFY(menu);
    QVERIFY(QMetaObject::invokeMethod(menu->findChild<QObject*>(button), "clicked"));
    QCOMPARE(window->calls, call.isEmpty() ? QStringList() : QStringList(call));
    QTRY_COMPARE(view->rootObject()->property("currentItem").value<QObject*>()->objectName(), page);
    if (page == "toolsMainPage")
        return;

    QVERIFY(QMetaObject::invokeMethod(view->rootObject(), "viewChanged", Q_ARG(int, 0)));
    QTRY_COMPARE(view->rootObject()->property("currentItem").value<QObject*>()->objectName(),
                 QStringLiteral("toolsMainPage"));
    QCOMPARE(view->rootObject()->property("depth").toInt(), 1);
}

void TestQmlScreens::settingsLoadDecryptsSecrets()
{
    settings->values = {{"proxy/ip.address", "10.1.2.3"},
                        {"proxy/port", "3128"},
                        {"proxy/is.secured", "true"},
                        {"proxy/username", UIUtils::encryptValue("budi")},
                        {"proxy/password", UIUtils::encryptValue("rahasia")}};
    QVERIFY(load("ToolsConfig.qml"));
    QCOMPARE(find("addressField")->property("text").toString(), QStringLiteral("10.1.2.3"));
    QCOMPARE(find("portField")->property("text").toString(), QStringLiteral("3128"));
    QCOMPARE(find("securedBox")->property("checked").toBool(), true);
    QCOMPARE(find("securedBox")->property("text").toString(), QStringLiteral("Ya"));
    QCOMPARE(find("usernameField")->property("text").toString(), QStringLiteral("budi"));
    QCOMPARE(find("passwordField")->property("text").toString(), QStringLiteral("rahasia"));
    QCOMPARE(find("confirmationField")->property("text").toString(), QStringLiteral("rahasia"));
    QVERIFY(find("usernameField")->property("visible").toBool());
    QVERIFY(settings->writes.isEmpty());
}

void TestQmlScreens::settingsSaveWritesKeysInOrder_data()
{
    QTest::addColumn<bool>("secured");
    QTest::addColumn<QString>("confirmation");

    QTest::newRow("with user name") << true << "rahasia";
    QTest::newRow("without user name") << false << "";
}

void TestQmlScreens::settingsSaveWritesKeysInOrder()
{
    QFETCH(bool, secured);
    QFETCH(QString, confirmation);

    QVERIFY(load("ToolsConfig.qml"));
    QSignalSpy back(view->rootObject(), SIGNAL(viewChanged(int)));
    find("addressField")->setProperty("text", "proxy.local");
    find("portField")->setProperty("text", "8080");
    find("securedBox")->setProperty("checked", secured);
    if (secured) {
        find("usernameField")->setProperty("text", "budi");
        find("passwordField")->setProperty("text", "rahasia");
        find("confirmationField")->setProperty("text", confirmation);
    }
    QVERIFY(QMetaObject::invokeMethod(find("saveDialog"), "yes"));

    QStringList keys;
    for (const auto& write : settings->writes)
        keys << write.first;
    QCOMPARE(keys, QStringList({"proxy/ip.address", "proxy/port", "proxy/is.secured",
                                "proxy/username", "proxy/password"}));
    QCOMPARE(settings->values.value("proxy/ip.address"), QStringLiteral("proxy.local"));
    QCOMPARE(settings->values.value("proxy/port"), QStringLiteral("8080"));
    QCOMPARE(settings->values.value("proxy/is.secured"),
             secured ? QStringLiteral("true") : QStringLiteral("false"));
    if (secured) {
        QVERIFY(settings->values.value("proxy/username") != "budi");
        QCOMPARE(UIUtils::decryptValue(settings->values.value("proxy/username")),
                 QStringLiteral("budi"));
        QVERIFY(settings->values.value("proxy/password") != "rahasia");
        QCOMPARE(UIUtils::decryptValue(settings->values.value("proxy/password")),
                 QStringLiteral("rahasia"));
    } else {
        QCOMPARE(settings->values.value("proxy/username"), QString());
        QCOMPARE(settings->values.value("proxy/password"), QString());
    }
    // The user is told it was saved, and the page goes back once that is read.
    QObject* saved = find("savedDialog");
    QVERIFY(saved->property("visible").toBool());
    QCOMPARE(saved->property("text").toString(),
             QStringLiteral("Pengaturan aplikasi berhasil disimpan."));
    QCOMPARE(back.count(), 0);
    QVERIFY(QMetaObject::invokeMethod(saved, "accept"));
    QCOMPARE(back.count(), 1);
    QCOMPARE(back.first().first().toInt(), 0);
}

void TestQmlScreens::differingConfirmationIsNotSaved()
{
    QVERIFY(load("ToolsConfig.qml"));
    find("securedBox")->setProperty("checked", true);
    find("usernameField")->setProperty("text", "budi");
    find("passwordField")->setProperty("text", "rahasia");
    find("confirmationField")->setProperty("text", "rahasi");
    QVERIFY(QMetaObject::invokeMethod(view->rootObject(), "askToSave"));
    QVERIFY(find("mismatchDialog")->property("visible").toBool());
    QVERIFY(!find("saveDialog")->property("visible").toBool());
    // Nor does a confirmed save take it.
    QVERIFY(QMetaObject::invokeMethod(find("saveDialog"), "yes"));
    QVERIFY(settings->writes.isEmpty());
    QVERIFY(!find("savedDialog")->property("visible").toBool());
}

void TestQmlScreens::iconButtonsHaveAccessibleNames_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("name");

    QTest::newRow("open") << "Main.qml"
                          << "openButton"
                          << "Buka Berkas";
    QTest::newRow("close all") << "Main.qml"
                               << "closeAllButton"
                               << "Tutup Semua Berkas";
    QTest::newRow("save") << "ToolsConfig.qml"
                          << "saveButton"
                          << "Simpan";
    QTest::newRow("reset") << "ToolsConfig.qml"
                           << "resetButton"
                           << "Reset";
    QTest::newRow("back") << "AboutConfig.qml"
                          << "backButton"
                          << "Kembali";
    QTest::newRow("settings") << "ToolsMain.qml"
                              << "settingsButton"
                              << "Pengaturan Aplikasi";
    QTest::newRow("about") << "ToolsMain.qml"
                           << "aboutButton"
                           << "About";
}

void TestQmlScreens::iconButtonsHaveAccessibleNames()
{
    QFETCH(QString, file);
    QFETCH(QString, button);
    QFETCH(QString, name);

    QVERIFY(load(file));
    QObject* item = find(button);
    QVERIFY2(item, qPrintable(button));
    QObject* attached = nullptr;
    for (QObject* child : item->children()) {
        if (child->inherits("QQuickAccessibleAttached"))
            attached = child;
    }
    QVERIFY(attached);
    QCOMPARE(attached->property("name").toString(), name);
}

void TestQmlScreens::keyboardFocusIsVisible()
{
    QVERIFY(load("Main.qml"));
    QVERIFY(QTest::qWaitForWindowExposed(view.data()));
    view->requestActivate();
    auto* field = qobject_cast<QQuickItem*>(find("searchField"));
    QTRY_VERIFY(field->hasActiveFocus());
    auto* open = qobject_cast<QQuickItem*>(find("openButton"));
    QQuickItem* frame = nullptr;
    for (QQuickItem* item : open->findChildren<QQuickItem*>()) {
        if (item->objectName() == QLatin1String("focusFrame"))
            frame = item;
    }
    QVERIFY(frame);
    QVERIFY(!frame->isVisible());
    // Tab moves through the screen's controls; the one reached shows a frame.
    for (int i = 0; i < 10 && !open->hasActiveFocus(); ++i)
        QTest::keyClick(view.data(), Qt::Key_Tab);
    QVERIFY(open->hasActiveFocus());
    QVERIFY(frame->isVisible());
}

void TestQmlScreens::togglingUsernameClearsSecrets()
{
    settings->values = {{"proxy/is.secured", "true"},
                        {"proxy/username", UIUtils::encryptValue("budi")},
                        {"proxy/password", UIUtils::encryptValue("rahasia")}};
    QVERIFY(load("ToolsConfig.qml"));
    QObject* box = find("securedBox");
    box->setProperty("checked", false);
    QCOMPARE(box->property("text").toString(), QStringLiteral("Tidak"));
    QVERIFY(!find("usernameField")->property("visible").toBool());
    box->setProperty("checked", true);
    for (const char* field : {"usernameField", "passwordField", "confirmationField"})
        QCOMPARE(find(field)->property("text").toString(), QString());
}

void TestQmlScreens::confirmationFrameColour_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<QString>("colour");

    QTest::newRow("as loaded") << "rahasia"
                               << "rahasia"
                               << "lightgray";
    QTest::newRow("empty password") << ""
                                    << "abc"
                                    << "lightgray";
    QTest::newRow("new and equal") << "baru"
                                   << "baru"
                                   << "green";
    QTest::newRow("new and different") << "baru"
                                       << "lain"
                                       << "red";
    QTest::newRow("confirmation changed") << "rahasia"
                                          << "rahasi"
                                          << "red";
}

void TestQmlScreens::confirmationFrameColour()
{
    QFETCH(QString, password);
    QFETCH(QString, confirmation);
    QFETCH(QString, colour);

    settings->values = {{"proxy/is.secured", "true"},
                        {"proxy/password", UIUtils::encryptValue("rahasia")}};
    QVERIFY(load("ToolsConfig.qml"));
    find("passwordField")->setProperty("text", password);
    find("confirmationField")->setProperty("text", confirmation);
    QCOMPARE(find("confirmationField")->property("frameColor").value<QColor>(), QColor(colour));
}

void TestQmlScreens::aboutShowsFiveVersions()
{
    QVERIFY(load("AboutConfig.qml"));
    const QList<QPair<QString, QString>> expected = {{"applicationVersion", "1.0.10"},
                                                     {"libraryVersion", "1.0.3"},
                                                     {"manualVersion", "1.0.1"},
                                                     {"faqVersion", "1.0.2"},
                                                     {"configVersion", "1.0.4"}};
    for (const auto& version : expected)
        QCOMPARE(find(version.first)->property("value").toString(), version.second);
}

QTEST_MAIN(TestQmlScreens)
#include "tst_qmlscreens.moc"
