#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QHash>
#include <QMainWindow>
#include <QMutex>
#include <QStringList>
#include <QVariantList>

#include <functional>

#include "applicationversion.h"
#include "recentfilesstore.h"

class OpenResult;
class QKeySequence;
class QProgressDialog;
class QToolButton;
class QQuickView;
class QTimer;
class TabContent;

namespace Ui {
class MainWindow;
}

// The viewer's one window: a strip of tabs over a page stack whose first page is the
// QML shell (home and tools screens) and whose further pages are the open documents.
// Its public slots are what the QML screens call through "mainWindow".
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // `arguments` is the command line, program name first; a document named as the
    // first argument is opened before the constructor returns.
    explicit MainWindow(const QStringList& arguments = QStringList(), QWidget* parent = nullptr);
    ~MainWindow() override;

    QQuickView* shellView() const;
    QString currentTabName() const;

signals:
    void hasUpdate(QString status);
    void toogleTabHighlighted(QString tabName);
    void closeTab(QString tabName);

public slots:
    void checkUpdateStatus(bool showIntroMessage = false);
    void updateOffline();
    QVariantList getRecentFilesData();
    void addRecentFile(QString filename);
    void emptyRecentFile();
    void setTabCurrentIndex(int index);
    void openTab(QString filename, QString reportFilename, QString taviFilename);
    void closeAllTab();
    void addNewTab(QString filename, QString reportFilename, QString taviFilename);
    void onlineUpdateConnectionFailed(QString error);
    int getTabCount();
    void tabClicked(QString tabName);
    void tabClosed(QString tabName);

private slots:
    void confirmStatusUpdate(QString status);
    void updateStatusReturned(QString status);
    void downloadProgress(qint64 bytes, qint64 totalBytes);
    void downloadFinished();
    void updatePackageRefused(QString message);
    void clickHomeTab();
    void clickToolsTab();
    void home();
    void reloadTabLabelSlot();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Remembers the window's size, place and state for the next start.
    void closeEvent(QCloseEvent* event) override;
    // Keeps Tab inside the shell until its last control, then hands it to the window.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void prepareSettingsDefaults();
    void setUpShell();
    void addShortcuts();
    void addShortcut(const QKeySequence& keys, Qt::ShortcutContext context,
                     const std::function<void()>& action);
    // The open tabs' names in the order of the strip, left to right.
    QStringList tabOrder() const;
    void showNeighbourTab(int step);
    void fillOpenTabsMenu();
    void updateWindowTitle();
    // Runs a toolbar command of the report on screen, if a report is on screen.
    void runReportCommand(const QString& command);
    void toggleFullScreen();
    void restoreWindowGeometry();
    void showTab(QString tabName);
    void showShellPage(int index);
    void showShellScreen(int index);
    void callShell(const char* function, const QVariant& argument = QVariant());
    void refreshTabCount();
    bool askPassword(QString documentPath, OpenResult* result);
    void validatePassword(QString documentPath, QString password, OpenResult* result);
    void reloadTabLabels();
    void markLabelsDirty();
    // The open tab that shows `documentPath`, or the free name under which it can be
    // opened beside another document of the same file name.
    QString tabNameFor(const QString& filename, const QString& documentPath) const;
    void openFileDialog();
    void closeCurrentTab();
    void printCurrentTab();
    void askToApplyUpdate();
    // Whether this installation updates itself, or the package manager updates it.
    static bool updatesItself();
    static QString packageManagerUpdates();
    void showInformation(const QString& text);

    QHash<QString, TabContent*> tabs;
    int tabCount = 0;
    Ui::MainWindow* ui;
    QQuickView* view = nullptr;
    QWidget* shellContainer = nullptr;
    ApplicationVersion appVersion;
    QProgressDialog* progressDialog = nullptr;
    RecentFilesStore recents;
    QTimer* labelTimer = nullptr;
    // At the end of the strip: every open document by its whole name, for when the
    // tabs are too narrow to tell them apart.
    QToolButton* openTabsButton = nullptr;
    bool labelsDirty = false;
    QMutex labelsMutex;
    // The update check or download running was asked for by the user, who then
    // wants to hear how it ended; the silent start-up check only leaves a note.
    bool updateRequested = false;
};

#endif // MAINWINDOW_H
