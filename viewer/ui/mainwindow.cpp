#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QDebug>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
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
#include <QSettings>
#include <QShortcut>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "datalocation.h"
#include "documentdecoder.h"
#include "documentformat.h"
#include "documentpath.h"
#include "lrpreviewreportwidget.h"
#include "openresult.h"
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
    showMaximized();
    setWindowTitle(QStringLiteral("Vardo Viewer"));
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

    QWidget* container = QWidget::createWindowContainer(view, this);
    container->setLayout(new QVBoxLayout);
    container->setFocusPolicy(Qt::TabFocus);
    view->setSource(QUrl(QStringLiteral("qrc:/Main.qml")));
    ui->tabContents->addWidget(container);

    setAcceptDrops(true);
    addShortcuts();
}

void MainWindow::addShortcuts()
{
    // Application-wide, so that they also work while the QML shell has the focus.
    const auto add = [this](const char* keys, void (MainWindow::*action)()) {
        QShortcut* shortcut = new QShortcut(QKeySequence(QLatin1String(keys)), this);
        shortcut->setContext(Qt::ApplicationShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    add("Ctrl+O", &MainWindow::openFileDialog);
    add("Ctrl+W", &MainWindow::closeCurrentTab);
    add("Ctrl+P", &MainWindow::printCurrentTab);
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
    tabButton->setToolTip(documentPath.isEmpty() ? filename : documentPath);
    QFont font = tabButton->font();
    font.setPixelSize(14);
    tabButton->setFont(font);
    tabButton->setFixedHeight(40);
    tabButton->setMinimumWidth(50);

    TabButton* closeButton = new TabButton(tabButton);
    closeButton->setFixedSize(20, 40);
    closeButton->setIconFile(QStringLiteral(":images/close.png"), QSize(10, 10));
    closeButton->setIconOpacity(0.2f);
    tabButton->setCloseButton(closeButton);

    emit toogleTabHighlighted(filename);

    connect(tabButton, &TabButton::tabClicked, this, &MainWindow::tabClicked);
    connect(tabButton, &TabButton::tabClosed, this, &MainWindow::tabClosed);
    connect(this, &MainWindow::toogleTabHighlighted, tabButton, &TabButton::toogleHighlight);
    connect(this, &MainWindow::toogleTabHighlighted, closeButton, &TabButton::toogleHighlight);
    connect(this, &MainWindow::closeTab, closeButton, &TabButton::close);
    connect(this, &MainWindow::closeTab, tabButton, &TabButton::close);

    ui->tabBar->addWidget(tabButton);
    ui->tabBar->addWidget(closeButton);

    ReportWidget* report = new ReportWidget(filename, reportFilename, documentPath, result);
    connect(report, &ReportWidget::home, this, &MainWindow::home);
    ui->tabContents->addWidget(report);

    tabs.insert(filename, new TabContent(tabButton, report, documentPath));
    showTab(filename);
    ++tabCount;

    busy.reset();
    markLabelsDirty();
}

bool MainWindow::askPassword(QString documentPath, OpenResult* result)
{
    const QString wrongPassword =
        QStringLiteral("Password yang anda masukkan salah, file Vardo tidak dapat dibuka.");
    for (int attempt = 1; attempt <= 3; ++attempt) {
        bool accepted = false;
        const QString password = QInputDialog::getText(this, QStringLiteral("Password"),
                                                       QStringLiteral("Masukkan Password:"),
                                                       QLineEdit::Password, QString(), &accepted);
        if (!accepted) {
            if (attempt == 3)
                showInformation(wrongPassword);
            return false;
        }
        if (password.isEmpty())
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
    connect(this, &MainWindow::hasUpdate, this, &MainWindow::confirmStatusUpdate,
            Qt::UniqueConnection);
    appVersion.checkStatusInBackground();
}

void MainWindow::updateStatusReturned(QString status)
{
    if (appVersion.isHasUpdate())
        emit hasUpdate(status);
}

void MainWindow::onlineUpdateConnectionFailed(QString error)
{
    // A failed download ends here too: its progress dialog has nothing more to show.
    if (progressDialog)
        progressDialog->close();
    showInformation(
        QStringLiteral(
            "Gagal melakukan koneksi ke server untuk keperluan update online!, Detail: ") +
        error);
}

void MainWindow::confirmStatusUpdate(QString status)
{
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, updateQuestionTitle,
                              QStringLiteral("Versi terbaru dari aplikasi KORA Viewer tersedia, "
                                             "apakah anda ingin melakukan download update?"),
                              QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    connect(&appVersion, &ApplicationVersion::downloadProgressReturned, this,
            &MainWindow::downloadProgress, Qt::UniqueConnection);
    connect(&appVersion, qOverload<>(&ApplicationVersion::downloadFinished), this,
            &MainWindow::downloadFinished, Qt::UniqueConnection);
    appVersion.downloadUpdateOnline(status);

    delete progressDialog;
    progressDialog =
        new QProgressDialog(QStringLiteral("Sedang melakukan koneksi ke Server KORA...."),
                            QStringLiteral("Batal"), 0, 100);
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
        showInformation(QStringLiteral("File update '") + path +
                        QStringLiteral("' tidak dapat disiapkan."));
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
    if (box.exec() != QMessageBox::Yes)
        return;
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
    QMessageBox::information(this, informationTitle, text, QMessageBox::Ok);
}
