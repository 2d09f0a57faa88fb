#include <QApplication>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QItemSelectionModel>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QShortcut>
#include <QStackedWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

#include "filecontent.h"
#include "lrpreviewreportwidget.h"
#include "mainwindow.h"
#include "reportwidget.h"
#include "tabbutton.h"
#include "tabcycle.h"
#include "uiutils.h"
#include "updateserver.h"

namespace {

const QString password = QStringLiteral("siklus2024");

// What a user does with an open tab, ending with closing it.
using CloseAction = std::function<void(MainWindow*, TabCycle&)>;

// Everything that an open tab adds and that must be gone again once it is closed.
struct Level
{
    int widgets = 0;
    int windowObjects = 0;
    int windows = 0;
    int topLevelWidgets = 0;
    int shellObjects = 0;
    int pages = 0;
    int tabs = 0;

    bool operator==(const Level& other) const
    {
        return widgets == other.widgets && windowObjects == other.windowObjects &&
               windows == other.windows && topLevelWidgets == other.topLevelWidgets &&
               shellObjects == other.shellObjects && pages == other.pages && tabs == other.tabs;
    }
};

Level levelOf(MainWindow* window)
{
    Level level;
    level.widgets = QApplication::allWidgets().size();
    level.windowObjects = window->findChildren<QObject*>().size();
    level.windows = QGuiApplication::allWindows().size();
    level.topLevelWidgets = QApplication::topLevelWidgets().size();
    level.shellObjects = window->shellView()->rootObject()->findChildren<QObject*>().size();
    level.pages = window->findChild<QStackedWidget*>(QStringLiteral("tabContents"))->count();
    level.tabs = window->getTabCount();
    return level;
}

void flushDeletions()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

Q_DECLARE_METATYPE(CloseAction)

namespace QTest {
template <> char* toString(const Level& level)
{
    return toString(
        QStringLiteral("widgets %1, window objects %2, windows %3, top-level widgets %4, "
                       "shell objects %5, pages %6, tabs %7")
            .arg(level.widgets)
            .arg(level.windowObjects)
            .arg(level.windows)
            .arg(level.topLevelWidgets)
            .arg(level.shellObjects)
            .arg(level.pages)
            .arg(level.tabs));
}
} // namespace QTest

class TestTabCycle : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void closedTabGivesEverythingBack_data();
    void closedTabGivesEverythingBack();
    void everyTabDrawsTheSameIcons();

private:
    UpdateServer server;
    QTemporaryDir dir;
    QString document;
    std::unique_ptr<MainWindow> window;
};

void TestTabCycle::initTestCase()
{
    qmlRegisterType<UIUtils>("qrv.utils", 1, 0, "UIUtils");
    QVERIFY(dir.isValid());
    QVERIFY(server.listen());
    QVERIFY(TabCycle::useLocalUpdateServer(server.port()));
    document = dir.filePath(QStringLiteral("siklus.vardo"));
    QVERIFY(FileContent::write(document, TabCycle::sampleDocument(TEST_SAMPLES, password)));
}

void TestTabCycle::cleanup()
{
    window.reset();
}

void TestTabCycle::closedTabGivesEverythingBack_data()
{
    QTest::addColumn<CloseAction>("close");

    QTest::newRow("Ctrl+W") << CloseAction([](MainWindow* window, TabCycle&) {
        for (QShortcut* shortcut : window->findChildren<QShortcut*>()) {
            if (shortcut->key() == QKeySequence(QStringLiteral("Ctrl+W")))
                emit shortcut->activated();
        }
    });
    QTest::newRow("close button") << CloseAction([](MainWindow* window, TabCycle& cycle) {
        for (TabButton* button : window->findChildren<TabButton*>()) {
            // The close button is the one without a label of its own.
            if (button->getTabName() == cycle.tabName() && button->getLabel().isEmpty())
                QTest::mouseClick(button, Qt::LeftButton);
        }
    });
    QTest::newRow("close all") << CloseAction(
        [](MainWindow* window, TabCycle&) { window->closeAllTab(); });
    // Another data set loads a new preview and new data sources into the same tab.
    QTest::newRow("other data set, then Ctrl+W")
        << CloseAction([](MainWindow* window, TabCycle& cycle) {
               auto* table = window->findChild<QStackedWidget*>(QStringLiteral("tabContents"))
                                 ->currentWidget()
                                 ->findChild<QTableView*>();
               if (table)
                   table->selectionModel()->setCurrentIndex(table->model()->index(1, 0),
                                                            QItemSelectionModel::ClearAndSelect);
               cycle.close();
           });
}

// Opening and closing the same document again and again must leave the window as the
// first close left it: a tab that keeps anything after it is closed would grow the
// viewer with every document the user looks at.
void TestTabCycle::closedTabGivesEverythingBack()
{
    QFETCH(CloseAction, close);

    window = std::make_unique<MainWindow>(QStringList(QStringLiteral("run")));
    TabCycle cycle(window.get(), document, password);
    Level afterFirstClose;
    for (int round = 0; round < 6; ++round) {
        ReportWidget* report = cycle.open();
        QVERIFY2(report, qPrintable(cycle.messages().join(QLatin1Char('\n'))));
        QPointer<ReportWidget> openedReport = report;
        QPointer<LimeReport::PreviewReportWidget> preview = report->getPreview();
        QVERIFY(preview);
        QPointer<QGraphicsScene> scene = preview->view()->scene();
        QVERIFY(scene);
        const Level open = levelOf(window.get());
        close(window.get(), cycle);
        flushDeletions();

        QCOMPARE(window->getTabCount(), 0);
        QVERIFY(!openedReport);
        QVERIFY(!preview);
        QVERIFY(!scene);
        const Level closed = levelOf(window.get());
        QVERIFY(closed.widgets < open.widgets);
        if (round == 0)
            afterFirstClose = closed;
        else
            QCOMPARE(closed, afterFirstClose);
    }
    QCOMPARE(cycle.messages(), QStringList());
}

// Each icon a tab draws is kept in the application's pixmap cache under the key of the
// pixmap it came from; a tab that drew its icons from pixmaps of its own would leave a
// new set behind every time it closed.
void TestTabCycle::everyTabDrawsTheSameIcons()
{
    window = std::make_unique<MainWindow>(QStringList(QStringLiteral("run")));
    TabCycle cycle(window.get(), document, password);
    const auto drawn = [this] {
        QMap<QString, qint64> keys;
        for (TabButton* button : window->findChildren<TabButton*>()) {
            if (button->getIconPixmap().isNull())
                continue;
            // Painted, so that the icon is the faded one a user sees.
            button->grab();
            keys.insert(button->getTabName() + QLatin1Char('/') + button->objectName(),
                        button->icon().pixmap(button->iconSize()).cacheKey());
        }
        return keys;
    };
    QVERIFY(cycle.open());
    const QMap<QString, qint64> first = drawn();
    // The toolbar's buttons and the tab's close button.
    QVERIFY(first.size() > 10);
    cycle.close();
    QVERIFY(cycle.open());
    QCOMPARE(drawn(), first);
    cycle.close();
}

QTEST_MAIN(TestTabCycle)
#include "tst_tabcycle.moc"
