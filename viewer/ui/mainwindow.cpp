#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMovie>
#include <QMutexLocker>
#include <QPixmapCache>
#include <QProcess>
#include <QProgressDialog>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QScopedPointer>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "connectionfailure.h"
#include "datalocation.h"
#include "documentdecoder.h"
#include "documentformat.h"
#include "documentpath.h"
#include "lrpreviewreportwidget.h"
#include "openresult.h"
#include "passworddialog.h"
#include "plainmessage.h"
#include "platform.h"
#include "reportwidget.h"
#include "sortfilterproxymodel.h"
#include "tabbutton.h"
#include "tabcontent.h"
#include "uiutils.h"

namespace {

const QString informationTitle = QStringLiteral("Informasi");
const QString updateQuestionTitle = QStringLiteral("Konfirmasi Update Aplikasi");
const QString documentSuffix = QStringLiteral(".vardo");
// The one name the user reads for the program, in the title and everywhere else.
const QString productName = QStringLiteral("Vardo Viewer");
// Where the window's size, place and state are kept between runs.
const QString geometryKey = QStringLiteral("window/geometry");

bool isDocumentUrl(const QUrl& url)
{
    return url.isLocalFile() && url.toLocalFile().endsWith(documentSuffix, Qt::CaseInsensitive);
}

} // namespace

MainWindow::MainWindow(const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent), ui(new Ui::MainWindow),
      recents(DataLocation::directory() + QStringLiteral("/config/recents.dat"))
{
    Q_INIT_RESOURCE(qml);
    // The style caches what it draws under keys that hold the widget's palette, and the
    // style sheets of a tab give each of its widgets a palette of its own. The cache
    // keeps every key it was given, even after clear(), so each tab opened would add
    // keys that outlive it. Drawing the toolbar and scroll bars again costs little.
    QPixmapCache::setCacheLimit(0);
    prepareSettingsDefaults();
    ui->setupUi(this);
    setUpShell();

    // Only the first argument after the program name is looked at.
    const QString document = arguments.value(1);
    if (!document.isEmpty() && QFile::exists(document))
        openTab(QFileInfo(document).fileName(), QString(), document);
    else
        checkUpdateStatus(false);

    labelTimer = new QTimer(this);
    connect(labelTimer, &QTimer::timeout, this, &MainWindow::reloadTabLabelSlot);
    labelTimer->setInterval(1000);
    labelTimer->start();
}

MainWindow::~MainWindow()
{
    // Parentless, so that it can stay on screen on its own; the window owns it still.
    delete progressDialog;
    delete ui;
}

QQuickView* MainWindow::shellView() const
{
    return view;
}

QString MainWindow::currentTabName() const
{
    QWidget* page = ui->tabContents->currentWidget();
    for (auto it = tabs.constBegin(); it != tabs.constEnd(); ++it) {
        if (it.value()->reportWidget == page)
            return it.key();
    }
    return QString();
}

void MainWindow::setUpShell()
{
    // Large enough for the report's whole toolbar and the home screen's panes with a
    // few rows of the table; small enough for a 1366 x 768 screen at 125 % and a
    // 1920 x 1080 one at 150 %.
    setMinimumSize(880, 480);
    restoreWindowGeometry();
    setWindowTitle(productName);
    setWindowIcon(QIcon(QStringLiteral(":/images/VardoViewer.ico")));
    ui->menuBar->hide();
    ui->mainToolBar->hide();
    ui->statusBar->hide();
    setTabCurrentIndex(0);
    connect(ui->homeTab, &QPushButton::released, this, &MainWindow::clickHomeTab);
    connect(ui->toolsTab, &QPushButton::released, this, &MainWindow::clickToolsTab);
    // Their natural widths: the window may already have stretched them across the
    // strip, and the strip's free room belongs to the document tabs.
    ui->toolsTab->setFixedWidth(ui->toolsTab->sizeHint().width());
    ui->homeTab->setFixedWidth(ui->homeTab->sizeHint().width());
    ui->tabBar->setAlignment(Qt::AlignLeft);
    ui->homeTab->setAccessibleName(QStringLiteral("Beranda"));
    ui->homeTab->setToolTip(QStringLiteral("Beranda"));
    ui->toolsTab->setAccessibleName(QStringLiteral("Tools"));

    openTabsButton = new QToolButton(this);
    openTabsButton->setObjectName(QStringLiteral("openTabsButton"));
    openTabsButton->setArrowType(Qt::DownArrow);
    openTabsButton->setPopupMode(QToolButton::InstantPopup);
    openTabsButton->setFixedSize(30, 40);
    openTabsButton->setToolTip(QStringLiteral("Daftar berkas terbuka"));
    openTabsButton->setAccessibleName(QStringLiteral("Daftar berkas terbuka"));
    openTabsButton->setAccessibleDescription(
        QStringLiteral("Menampilkan semua berkas yang sedang dibuka dengan nama lengkapnya"));
    // The arrow is the button; the menu needs no second arrow beside it.
    openTabsButton->setStyleSheet(QStringLiteral(
        "QToolButton { border: none; } QToolButton::menu-indicator { image: none; }"));
    openTabsButton->setMenu(new QMenu(openTabsButton));
    connect(openTabsButton->menu(), &QMenu::aboutToShow, this, &MainWindow::fillOpenTabsMenu);
    openTabsButton->hide();
    ui->tabBar->addWidget(openTabsButton);

    view = new QQuickView;
    view->setResizeMode(QQuickView::SizeRootObjectToView);
    qmlRegisterType<SortFilterProxyModel>("qrv.kora.libraries", 1, 0, "SortFilterProxyModel");
    // A child of the view, so that it outlives every QML object that calls it.
    UIUtils* utils = new UIUtils(view);
    QQmlContext* context = view->rootContext();
    context->setContextProperty(QStringLiteral("utils"), utils);
    context->setContextProperty(QStringLiteral("mainWindow"), this);
    context->setContextProperty(QStringLiteral("verKvApplication"),
                                appVersion.getValue(QStringLiteral("kvApplication")));
    context->setContextProperty(QStringLiteral("verKvLibrary"),
                                appVersion.getValue(QStringLiteral("kvLibrary")));
    context->setContextProperty(QStringLiteral("verKvManual"),
                                appVersion.getValue(QStringLiteral("kvManual")));
    context->setContextProperty(QStringLiteral("verKvFAQ"),
                                appVersion.getValue(QStringLiteral("kvFAQ")));
    context->setContextProperty(QStringLiteral("verKvConfig"),
                                appVersion.getValue(QStringLiteral("kvConfig")));

    shellContainer = QWidget::createWindowContainer(view, this);
    shellContainer->setLayout(new QVBoxLayout);
    shellContainer->setFocusPolicy(Qt::TabFocus);
    shellContainer->installEventFilter(this);
    view->installEventFilter(this);
    view->setSource(QUrl(QStringLiteral("qrc:/Main.qml")));
    ui->tabContents->addWidget(shellContainer);

    setAcceptDrops(true);
    addShortcuts();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    QQuickItem* root = view->rootObject();
    if (!root)
        return QMainWindow::eventFilter(watched, event);
    // Coming in from the window's buttons, the walk starts at the screen's first or
    // last control, not wherever the focus was left.
    if (watched == shellContainer && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        const char* end = reason == Qt::TabFocusReason       ? "firstFocus"
                          : reason == Qt::BacktabFocusReason ? "lastFocus"
                                                             : nullptr;
        if (end) {
            if (auto* item = root->property(end).value<QQuickItem*>())
                item->forceActiveFocus(reason);
        }
    }
    if (watched == view && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = !(key->modifiers() & ~Qt::ShiftModifier);
        const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
        const bool backward = key->key() == Qt::Key_Backtab;
        const char* end = forward ? "lastFocus" : backward ? "firstFocus" : nullptr;
        auto* item = end && plain ? root->property(end).value<QQuickItem*>() : nullptr;
        if (item && item->hasActiveFocus()) {
            activateWindow();
            shellContainer->setFocus(Qt::OtherFocusReason);
            focusNextPrevChild(forward);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::addShortcut(const QKeySequence& keys, Qt::ShortcutContext context,
                             const std::function<void()>& action)
{
    QShortcut* shortcut = new QShortcut(keys, this);
    shortcut->setContext(context);
    connect(shortcut, &QShortcut::activated, this, action);
}

void MainWindow::addShortcuts()
{
    // Application-wide, so that they also work while the QML shell has the focus.
    const Qt::ShortcutContext everywhere = Qt::ApplicationShortcut;
    addShortcut(QKeySequence(QStringLiteral("Ctrl+O")), everywhere, [this] { openFileDialog(); });
    addShortcut(QKeySequence(QStringLiteral("Ctrl+W")), everywhere, [this] { closeCurrentTab(); });
    addShortcut(QKeySequence(QStringLiteral("Ctrl+P")), everywhere, [this] { printCurrentTab(); });
    addShortcut(QKeySequence(QStringLiteral("Ctrl+Tab")), everywhere,
                [this] { showNeighbourTab(1); });
    // Shift turns Tab into Backtab on some platforms and not on others.
    for (const char* keys : {"Ctrl+Shift+Tab", "Ctrl+Shift+Backtab", "Ctrl+Backtab"})
        addShortcut(QKeySequence(QLatin1String(keys)), everywhere,
                    [this] { showNeighbourTab(-1); });
    addShortcut(QKeySequence(Qt::Key_F11), everywhere, [this] { toggleFullScreen(); });

    // The reports are widgets of this window: their keys need not reach into the shell,
    // whose text fields keep their own meaning of Ctrl+Home and the like.
    const Qt::ShortcutContext reports = Qt::WindowShortcut;
    const QList<QPair<QStringList, QString>> reportKeys = {
        {{"Ctrl+Home"}, QStringLiteral("First Page")},
        {{"Ctrl+End"}, QStringLiteral("Last Page")},
        {{"Ctrl++", "Ctrl+="}, QStringLiteral("Zoom In")},
        {{"Ctrl+-"}, QStringLiteral("Zoom Out")},
        {{"Ctrl+0"}, QStringLiteral("One to One")},
    };
    for (const auto& entry : reportKeys) {
        for (const QString& keys : entry.first) {
            const QString command = entry.second;
            addShortcut(QKeySequence(keys), reports,
                        [this, command] { runReportCommand(command); });
        }
    }
}

void MainWindow::runReportCommand(const QString& command)
{
    if (TabContent* tab = tabs.value(currentTabName()))
        tab->reportWidget->runCommand(command);
}

void MainWindow::restoreWindowGeometry()
{
    QScopedPointer<QSettings> settings(UIUtils::getSettings());
    if (restoreGeometry(settings->value(geometryKey).toByteArray())) {
        show();
        return;
    }
    // First start: maximized, and a restored window of a sensible size in the middle.
    QRect normal(QPoint(0, 0), QSize(1280, 800));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        normal.setSize(
            normal.size().boundedTo(available.size() * 9 / 10).expandedTo(minimumSize()));
        normal.moveCenter(available.center());
    }
    setGeometry(normal);
    showMaximized();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    QScopedPointer<QSettings> settings(UIUtils::getSettings());
    settings->setValue(geometryKey, saveGeometry());
    QMainWindow::closeEvent(event);
}

void MainWindow::toggleFullScreen()
{
    // Back from full screen the window is as it was, maximized or not.
    setWindowState(windowState() ^ Qt::WindowFullScreen);
}

QStringList MainWindow::tabOrder() const
{
    QStringList names;
    for (int i = 0; i < ui->tabBar->count(); ++i) {
        auto* button = qobject_cast<TabButton*>(ui->tabBar->itemAt(i)->widget());
        if (button && !button->getLabel().isEmpty() && tabs.contains(button->getTabName()))
            names << button->getTabName();
    }
    return names;
}

void MainWindow::showNeighbourTab(int step)
{
    const QStringList names = tabOrder();
    if (names.isEmpty())
        return;
    const int current = names.indexOf(currentTabName());
    int next = 0;
    if (current < 0)
        next = step > 0 ? 0 : names.size() - 1;
    else
        next = (current + step + names.size()) % names.size();
    tabClicked(names.at(next));
}

void MainWindow::fillOpenTabsMenu()
{
    QMenu* menu = openTabsButton->menu();
    menu->clear();
    const QString current = currentTabName();
    for (const QString& name : tabOrder()) {
        QAction* action = menu->addAction(name);
        action->setCheckable(true);
        action->setChecked(name == current);
        action->setToolTip(PlainMessage::toolTip(tabs.value(name)->documentPath));
        connect(action, &QAction::triggered, this, [this, name] { tabClicked(name); });
    }
}

void MainWindow::updateWindowTitle()
{
    const QString current = currentTabName();
    setWindowTitle(current.isEmpty() ? productName : current + QStringLiteral(" - ") + productName);
}

// ---- tabs and opening

void MainWindow::openTab(QString filename, QString reportFilename, QString taviFilename)
{
    ui->homeTab->setChecked(false);
    ui->toolsTab->setChecked(false);
    const QString name = tabNameFor(filename, DocumentPath::fromUrlOrPath(taviFilename));
    if (tabs.contains(name))
        showTab(name);
    else
        addNewTab(name, reportFilename, taviFilename);
}

QString MainWindow::tabNameFor(const QString& filename, const QString& documentPath) const
{
    // A tab is known by its name, but two documents of the same file name from
    // different folders are different reports: the second gets a name of its own
    // rather than the first one's tab.
    const QString wanted =
        documentPath.isEmpty() ? QString() : QFileInfo(documentPath).absoluteFilePath();
    const auto showsWanted = [&](const TabContent* tab) {
        const QString shown = tab->documentPath.isEmpty()
                                  ? QString()
                                  : QFileInfo(tab->documentPath).absoluteFilePath();
        return shown == wanted;
    };
    const TabContent* sameName = tabs.value(filename);
    if (!sameName || showsWanted(sameName))
        return filename;
    for (auto it = tabs.constBegin(); it != tabs.constEnd(); ++it) {
        if (!wanted.isEmpty() && showsWanted(it.value()))
            return it.key();
    }
    const int dot = filename.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? filename.left(dot) : filename;
    const QString suffix = dot > 0 ? filename.mid(dot) : QString();
    for (int n = 2;; ++n) {
        const QString candidate = QStringLiteral("%1 (%2)%3").arg(base).arg(n).arg(suffix);
        if (!tabs.contains(candidate))
            return candidate;
    }
}

void MainWindow::addNewTab(QString filename, QString reportFilename, QString taviFilename)
{
    const QString documentPath = DocumentPath::fromUrlOrPath(taviFilename);
    if (!taviFilename.isEmpty() && !QFile::exists(documentPath)) {
        showInformation(QStringLiteral("File '") + documentPath +
                        QStringLiteral("' tidak ditemukan!"));
        recents.remove(documentPath);
        return;
    }

    OpenResult* result = new OpenResult(OpenResult::Initial, QStringLiteral("INIT"));
    if (!taviFilename.isEmpty() && !askPassword(documentPath, result)) {
        delete result;
        markLabelsDirty();
        return;
    }

    QMovie movie(QStringLiteral(":/images/busy.gif"));
    movie.start();
    QScopedPointer<QDialog> busy(new QDialog(this));
    busy->setAttribute(Qt::WA_NoSystemBackground);
    busy->setAttribute(Qt::WA_TranslucentBackground);
    busy->setWindowModality(Qt::WindowModal);
    busy->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    QLabel* busyLabel = new QLabel(busy.data());
    busyLabel->setMovie(&movie);
    busyLabel->setMinimumHeight(200);
    busyLabel->setMinimumWidth(300);
    busyLabel->setAlignment(Qt::AlignCenter);
    busy->show();
    QCoreApplication::processEvents();

    TabButton* tabButton = new TabButton(this, filename);
    tabButton->setToolTip(PlainMessage::toolTip(documentPath.isEmpty() ? filename : documentPath));
    QFont font = tabButton->font();
    font.setPixelSize(14);
    tabButton->setFont(font);
    tabButton->setFixedHeight(40);
    tabButton->setMinimumWidth(50);

    TabButton* closeButton = new TabButton(tabButton);
    closeButton->setFixedSize(20, 40);
    closeButton->setIconFile(QStringLiteral(":images/close.svg"), QSize(10, 10));
    // Visible enough to be found without hovering; the hover brings it to full strength.
    closeButton->setIconOpacity(0.6f);
    closeButton->setToolTip(QStringLiteral("Tutup"));
    closeButton->setAccessibleName(QStringLiteral("Tutup ") + filename);
    tabButton->setAccessibleName(filename);
    tabButton->setAccessibleDescription(documentPath.isEmpty() ? filename : documentPath);
    tabButton->setCloseButton(closeButton);

    emit toogleTabHighlighted(filename);

    connect(tabButton, &TabButton::tabClicked, this, &MainWindow::tabClicked);
    connect(tabButton, &TabButton::tabClosed, this, &MainWindow::tabClosed);
    connect(this, &MainWindow::toogleTabHighlighted, tabButton, &TabButton::toogleHighlight);
    connect(this, &MainWindow::toogleTabHighlighted, closeButton, &TabButton::toogleHighlight);
    connect(this, &MainWindow::closeTab, closeButton, &TabButton::close);
    connect(this, &MainWindow::closeTab, tabButton, &TabButton::close);

    const int listPlace = ui->tabBar->indexOf(openTabsButton);
    ui->tabBar->insertWidget(listPlace, tabButton);
    ui->tabBar->insertWidget(listPlace + 1, closeButton);

    ReportWidget* report = new ReportWidget(filename, reportFilename, documentPath, result);
    connect(report, &ReportWidget::home, this, &MainWindow::home);
    ui->tabContents->addWidget(report);

    tabs.insert(filename, new TabContent(tabButton, report, documentPath));
    showTab(filename);
    ++tabCount;

    busy.reset();
    openTabsButton->show();
    // However the tab came to be (file dialog, command line, drop, manual, FAQ),
    // the home screen's close-all button is to know of it.
    refreshTabCount();
    markLabelsDirty();
}

bool MainWindow::askPassword(QString documentPath, OpenResult* result)
{
    const QString wrongPassword =
        QStringLiteral("Password yang anda masukkan salah, file Vardo tidak dapat dibuka.");
    const int tries = 3;
    bool failed = false;
    bool wasEmpty = false;
    for (int attempt = 1; attempt <= tries; ++attempt) {
        PasswordDialog prompt(documentPath, this);
        if (failed)
            prompt.setLastTryFailed(wasEmpty, tries - attempt + 1);
        if (prompt.exec() != QDialog::Accepted) {
            if (attempt == tries)
                showInformation(wrongPassword);
            return false;
        }
        const QString password = prompt.password();
        failed = true;
        wasEmpty = password.isEmpty();
        if (wasEmpty)
            continue;
        validatePassword(documentPath, password, result);
        if (result->code == OpenResult::Success)
            return true;
        // A document that needs a newer viewer, or one that is damaged, does not
        // open with any password: one message, and no further prompt.
        if (result->code != OpenResult::InvalidPasswordCode) {
            showInformation(result->message);
            return false;
        }
    }
    showInformation(wrongPassword);
    return false;
}

void MainWindow::validatePassword(QString documentPath, QString password, OpenResult* result)
{
    qDebug() << "MainWindow::validatePassword 1";
    const QString path = DocumentPath::fromUrlOrPath(documentPath);
    const VersionTriple version =
        DocumentFormat::versionFromText(appVersion.getApplicationVersion());
    OpenResult* r = openDocument(version.major, version.minor, version.patch, password, path,
                                 QStringLiteral("./tmp"), true);
    result->code = r->code;
    result->message = r->message;
    if (r->code == OpenResult::Success) {
        result->fileName = r->fileName;
        delete result->files;
        delete result->extra;
        result->files = r->files;
        result->extra = r->extra;
        r->files = nullptr;
        r->extra = nullptr;
    }
    qDebug() << "MainWindow::validatePassword 2";
    delete r;
    qDebug() << "MainWindow::validatePassword 3 " << static_cast<void*>(result->extra);
}

void MainWindow::showTab(QString tabName)
{
    emit toogleTabHighlighted(tabName);
    if (TabContent* tab = tabs.value(tabName))
        ui->tabContents->setCurrentWidget(tab->reportWidget);
    updateWindowTitle();
}

void MainWindow::callShell(const char* function, const QVariant& argument)
{
    QObject* root = view ? view->rootObject() : nullptr;
    if (!root)
        return;
    // The shell's functions answer nothing the window needs.
    QVariant ignored;
    if (argument.isValid())
        QMetaObject::invokeMethod(root, function, Q_RETURN_ARG(QVariant, ignored),
                                  Q_ARG(QVariant, argument));
    else
        QMetaObject::invokeMethod(root, function, Q_RETURN_ARG(QVariant, ignored));
}

void MainWindow::showShellPage(int index)
{
    callShell("setCurrentIndex", index);
}

void MainWindow::refreshTabCount()
{
    callShell("checkTabCount");
}

void MainWindow::tabClicked(QString tabName)
{
    showTab(tabName);
    ui->homeTab->setChecked(false);
    ui->toolsTab->setChecked(false);
}

void MainWindow::tabClosed(QString tabName)
{
    if (TabContent* tab = tabs.take(tabName)) {
        ui->tabBar->removeWidget(tab->tabButton);
        if (TabButton* closeButton = tab->tabButton->getCloseButton())
            ui->tabBar->removeWidget(closeButton);
        ui->tabContents->removeWidget(tab->reportWidget);
        // Every closed tab is destroyed, so that no decoded document stays in memory
        // after its tab is gone, whatever its name.
        delete tab;
        --tabCount;
        if (tabCount > 0)
            showTab(tabs.keys().last());
        else
            setTabCurrentIndex(0);
    }
    openTabsButton->setVisible(tabCount > 0);
    updateWindowTitle();
    refreshTabCount();
    markLabelsDirty();
}

void MainWindow::closeAllTab()
{
    const QStringList names = tabs.keys();
    for (const QString& name : names) {
        tabClosed(name);
        emit closeTab(name);
    }
}

int MainWindow::getTabCount()
{
    return tabCount;
}

void MainWindow::setTabCurrentIndex(int index)
{
    ui->homeTab->setChecked(index == 0);
    ui->toolsTab->setChecked(index == 1);
}

void MainWindow::clickHomeTab()
{
    showShellScreen(0);
}

void MainWindow::clickToolsTab()
{
    showShellScreen(1);
}

void MainWindow::showShellScreen(int index)
{
    setTabCurrentIndex(index);
    ui->tabContents->setCurrentIndex(0);
    showShellPage(index);
    emit toogleTabHighlighted(QString());
    updateWindowTitle();
}

void MainWindow::home()
{
    clickHomeTab();
}

void MainWindow::openFileDialog()
{
    callShell("openFileDialog");
}

void MainWindow::closeCurrentTab()
{
    const QString name = currentTabName();
    if (name.isEmpty())
        return;
    tabClosed(name);
    emit closeTab(name);
}

void MainWindow::printCurrentTab()
{
    if (TabContent* tab = tabs.value(currentTabName())) {
        if (LimeReport::PreviewReportWidget* preview = tab->reportWidget->getPreview())
            preview->print();
    }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), isDocumentUrl))
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    // Handed to the shell, so that a dropped document takes the file dialog's road:
    // opened, then added to the recent files.
    for (const QUrl& url : event->mimeData()->urls()) {
        if (isDocumentUrl(url))
            callShell("openFile", url.toString());
    }
    event->acceptProposedAction();
}

// ---- tab labels

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    markLabelsDirty();
}

void MainWindow::markLabelsDirty()
{
    QMutexLocker lock(&labelsMutex);
    labelsDirty = true;
}

void MainWindow::reloadTabLabelSlot()
{
    bool dirty = false;
    {
        QMutexLocker lock(&labelsMutex);
        dirty = labelsDirty;
        labelsDirty = false;
    }
    if (dirty)
        reloadTabLabels();
}

void MainWindow::reloadTabLabels()
{
    for (TabContent* tab : qAsConst(tabs))
        tab->tabButton->setText(tab->tabButton->getLabel());
}

// ---- recent files

QVariantList MainWindow::getRecentFilesData()
{
    recents.load();
    return recents.toVariantList();
}

void MainWindow::addRecentFile(QString filename)
{
    recents.add(filename);
}

void MainWindow::emptyRecentFile()
{
    recents.clear();
}

// ---- updates

void MainWindow::checkUpdateStatus(bool showIntroMessage)
{
    if (!updatesItself()) {
        if (showIntroMessage)
            showInformation(packageManagerUpdates());
        return;
    }
    updateRequested = showIntroMessage;
    callShell("showUpdateNote", QString());
    if (showIntroMessage)
        showInformation(QStringLiteral(
            "Pengecekan status aplikasi akan dilakukan secara background, jangan tutup aplikasi "
            "anda dan silahkan lakukan aktivitas lain apabila dibutuhkan."));
    // Connected before the check starts, so that no answer can come back before
    // anyone listens; each connection is made once however often the user asks.
    connect(&appVersion, &ApplicationVersion::statusReturned, this,
            &MainWindow::updateStatusReturned, Qt::UniqueConnection);
    connect(&appVersion, &ApplicationVersion::onlineUpdateConnectionFailed, this,
            &MainWindow::onlineUpdateConnectionFailed, Qt::UniqueConnection);
    connect(&appVersion, &ApplicationVersion::updatePackageRefused, this,
            &MainWindow::updatePackageRefused, Qt::UniqueConnection);
    connect(this, &MainWindow::hasUpdate, this, &MainWindow::confirmStatusUpdate,
            Qt::UniqueConnection);
    appVersion.checkStatusInBackground();
}

void MainWindow::updateStatusReturned(QString status)
{
    if (appVersion.isHasUpdate())
        emit hasUpdate(status);
    // A package the user declined earlier is offered again, now that he asks or the
    // viewer checks; a newer one from the server would take its place.
    else if (QFile::exists(appVersion.updateFilename()) && appVersion.isUpdateDeclined())
        askToApplyUpdate();
}

void MainWindow::onlineUpdateConnectionFailed(QString error)
{
    // A failed download ends here too: its progress dialog has nothing more to show.
    if (progressDialog)
        progressDialog->close();
    qWarning() << "MainWindow::onlineUpdateConnectionFailed" << error;
    const QString cause = ConnectionFailure::describe(error);
    if (!updateRequested) {
        callShell("showUpdateNote", QStringLiteral("Pengecekan update online gagal: ") + cause);
        return;
    }
    showInformation(
        QStringLiteral(
            "Gagal melakukan koneksi ke server untuk keperluan update online!, Detail: ") +
        cause);
}

void MainWindow::confirmStatusUpdate(QString status)
{
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, updateQuestionTitle,
                              QStringLiteral("Versi terbaru dari aplikasi Vardo Viewer tersedia, "
                                             "apakah anda ingin melakukan download update?"),
                              QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    updateRequested = true;
    connect(&appVersion, &ApplicationVersion::downloadProgressReturned, this,
            &MainWindow::downloadProgress, Qt::UniqueConnection);
    connect(&appVersion, qOverload<>(&ApplicationVersion::downloadFinished), this,
            &MainWindow::downloadFinished, Qt::UniqueConnection);
    appVersion.downloadUpdateOnline(status);

    delete progressDialog;
    progressDialog =
        new QProgressDialog(QStringLiteral("Sedang melakukan koneksi ke Server KORA...."),
                            QStringLiteral("Batal"), 0, 100);
    // "Batal" stops the download itself; the package from before stays as it was.
    connect(progressDialog, &QProgressDialog::canceled, this,
            [this] { appVersion.cancelDownload(); });
    progressDialog->setWindowTitle(QStringLiteral("Download Update Aplikasi"));
    progressDialog->setMinimumWidth(500);
    progressDialog->setWindowIcon(windowIcon());
    progressDialog->setValue(0);
    progressDialog->show();
}

void MainWindow::downloadProgress(qint64 bytes, qint64 totalBytes)
{
    if (!progressDialog)
        return;
    progressDialog->setLabelText(QStringLiteral("Download Aplikasi sedang berlangsung..."));
    if (totalBytes > 0)
        progressDialog->setValue(static_cast<int>(bytes * 100 / totalBytes));
}

void MainWindow::updatePackageRefused(QString message)
{
    if (progressDialog)
        progressDialog->close();
    showInformation(message);
}

void MainWindow::downloadFinished()
{
    if (progressDialog)
        progressDialog->close();
    askToApplyUpdate();
}

void MainWindow::updateOffline()
{
    if (!updatesItself()) {
        showInformation(packageManagerUpdates());
        return;
    }
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Buka File Update"),
                                                      UIUtils::getApplicationPath(),
                                                      QStringLiteral("Update Files (*.kvu)"));
    if (path.isEmpty())
        return;
    // Asking to apply a package that could not be put in place would promise an
    // update that cannot happen.
    if (!appVersion.prepareOfflineUpdate(path)) {
        const QString refusal = appVersion.packageRefusal();
        showInformation(refusal.isEmpty() ? QStringLiteral("File update '") + path +
                                                QStringLiteral("' tidak dapat disiapkan.")
                                          : refusal);
        return;
    }
    askToApplyUpdate();
}

bool MainWindow::updatesItself()
{
    // The updater replaces files in the program folder; where it cannot, the
    // installation came from the system's package manager, which updates it.
    return DataLocation::isProgramFolderWritable();
}

QString MainWindow::packageManagerUpdates()
{
    return QStringLiteral("Vardo Viewer ini dipasang untuk seluruh sistem dan diperbarui "
                          "melalui pengelola paket distribusi (misalnya apt), bukan melalui "
                          "update online atau file update.");
}

void MainWindow::askToApplyUpdate()
{
    QMessageBox box(
        QMessageBox::Question, updateQuestionTitle,
        QStringLiteral(
            "Update Aplikasi siap dilaksanakan, Apakah anda ingin melakukan update saat ini juga?"),
        QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::NoButton);
    if (box.exec() != QMessageBox::Yes) {
        // Remembered, so that the updater, which a double-click on a document may
        // start, leaves the package alone and opens the document.
        appVersion.declineUpdate();
        return;
    }
    qDebug() << "re run VardoViewer.exe";
    QProcess::startDetached(UIUtils::getApplicationPath() + QLatin1Char('/') +
                                QLatin1String(Platform::updaterProgram),
                            QStringList());
    close();
    QCoreApplication::quit();
}

void MainWindow::prepareSettingsDefaults()
{
    QScopedPointer<QSettings> settings(UIUtils::getSettings());
    settings->beginGroup(QStringLiteral("update-online"));
    if (settings->value(QStringLiteral("server.address")).toString().isEmpty())
        settings->setValue(QStringLiteral("server.address"), QString());
    if (!settings->value(QStringLiteral("is.ssl")).toBool())
        settings->setValue(QStringLiteral("is.ssl"), false);
    // The port the URL builder leaves out of the address for the scheme in use:
    // 80 for plain HTTP, 443 with SSL.
    if (settings->value(QStringLiteral("port")).toInt() == 0)
        settings->setValue(QStringLiteral("port"),
                           settings->value(QStringLiteral("is.ssl")).toBool() ? 443 : 80);
    if (settings->value(QStringLiteral("path")).toString().isEmpty())
        settings->setValue(QStringLiteral("path"), QString());
    settings->endGroup();
    settings->sync();

    settings->beginGroup(QStringLiteral("proxy"));
    if (settings->value(QStringLiteral("ip.address")).toString().isEmpty()) {
        settings->setValue(QStringLiteral("ip.address"), QString());
        settings->setValue(QStringLiteral("port"), QString());
        settings->setValue(QStringLiteral("is.secured"), QStringLiteral("false"));
    }
    settings->endGroup();
    settings->sync();
}

void MainWindow::showInformation(const QString& text)
{
    PlainMessage::show(this, QMessageBox::Information, informationTitle, text);
}
