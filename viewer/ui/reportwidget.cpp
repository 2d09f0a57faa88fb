#include "reportwidget.h"

#include "findbar.h"
#include "lrpreviewreportwidget.h"
#include "openresult.h"
#include "outlinepanel.h"
#include "plainmessage.h"
#include "reportmetadata.h"
#include "reportpopulation.h"
#include "tabbutton.h"
#include "tavids.h"
#include "textexport.h"
#include "writefailure.h"

#include <LimeReport>

#include <QComboBox>
#include <QCoreApplication>
#include <QDebug>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QMovie>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QShortcut>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

static void initReportResources()
{
    Q_INIT_RESOURCE(reports);
    Q_INIT_RESOURCE(reportimages);
}

namespace {

const QString buttonStyle = QStringLiteral("background-color: \"#f0f0f0\";");
// The toolbar's buttons show their icons at full strength while they can be used, and
// answer the mouse with a darker ground; only a disabled button is faded.
const QString toolButtonStyle =
    QStringLiteral("QPushButton { background-color: \"#f0f0f0\"; border: none; } "
                   "QPushButton:hover { background-color: \"#dcdcdc\"; } "
                   "QPushButton:focus { border: 1px solid \"#1f6fbf\"; }");
// A toolbar button whose panel is open keeps a darker ground.
const QString openToolButtonStyle =
    QStringLiteral("QPushButton { background-color: \"#cfd8e3\"; border: none; } "
                   "QPushButton:focus { border: 1px solid \"#1f6fbf\"; }");
const QString changedStyle = QStringLiteral("background-color: #cecece; ");
const QString failedTitle = QStringLiteral("Gagal");
const QString faqName = QStringLiteral("FAQ");
// The list shows an entry's name made visible; the name itself stays under this role.
constexpr int entryNameRole = Qt::UserRole + 1;
const QString manualName = QStringLiteral("MANUAL");

} // namespace

ReportWidget::ReportWidget(const QString& filename, const QString& reportFilename,
                           const QString& taviFilename, OpenResult* openResult)
    : QWidget(nullptr), filename(filename), reportFilename(reportFilename),
      taviFilename(taviFilename), openResult(openResult)
{
    initReportResources();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        screenWidth = screen->geometry().width();
    buildMainLayout();
    buildToolbar();
    buildFindBar();
    addReport();
}

ReportWidget::~ReportWidget()
{
    // Tearing down the list must not look like the user choosing another data set.
    if (dataSetSelection)
        dataSetSelection->disconnect(this);
    releaseWhileRendering();
    qDebug() << "ReportWidget::~ReportWidget() 1";
    delete scaleBox;
    qDebug() << "ReportWidget::~ReportWidget() 2";
    delete pageBox;
    qDebug() << "ReportWidget::~ReportWidget() 3";
    if (preview) {
        // Unhooked first: the engine goes below, before the deferred deletion runs.
        preview->disconnect(this);
        preview->deleteLater();
    }
    qDebug() << "ReportWidget::~ReportWidget() 4";
    delete dataSources;
    qDebug() << "ReportWidget::~ReportWidget() 5";
    // Destroys the callback sources that the data sources released above.
    delete engine;
    engine = nullptr;
    qDebug() << "ReportWidget::~ReportWidget() 6";
    delete mainLayout;
    qDebug() << "ReportWidget::~ReportWidget() 7";
    delete toolbarLayout;
    qDebug() << "ReportWidget::~ReportWidget() 8";
    delete toolbarFrame;
    qDebug() << "ReportWidget::~ReportWidget() 9";
    delete contentLayout;
    qDebug() << "ReportWidget::~ReportWidget() 10";
    if (dataSetTable)
        dataSetTable->setModel(nullptr);
    delete dataSetModel;
    qDebug() << "ReportWidget::~ReportWidget() 11";
    delete dataSetTable;
    qDebug() << "ReportWidget::~ReportWidget() 12";
    delete openResult;
    qDebug() << "ReportWidget::~ReportWidget() 13";
}

// A tab closed while its report is being laid out is destroyed from inside the
// layout's event slices: the engine, its data sources and the preview are still in
// use further down the stack. They are handed over to be let go once the render,
// told to stop, has returned.
void ReportWidget::releaseWhileRendering()
{
    if (!preview || !preview->isRendering())
        return;
    preview->disconnect(this);
    if (outlinePanel)
        outlinePanel->setPreview(nullptr);
    contentLayout->removeWidget(preview);
    preview->hide();
    preview->setParent(nullptr);
    LimeReport::PreviewReportWidget* const leftPreview = preview;
    LimeReport::ReportEngine* const leftEngine = engine;
    TAVIDs* const leftSources = dataSources;
    OpenResult* const leftResult = openResult;
    connect(leftPreview, &LimeReport::PreviewReportWidget::renderingChanged, leftPreview,
            [=](bool rendering) {
                if (rendering)
                    return;
                delete leftSources;
                delete leftEngine;
                delete leftResult;
                leftPreview->deleteLater();
            });
    leftPreview->cancelRender();
    preview = nullptr;
    engine = nullptr;
    dataSources = nullptr;
    openResult = nullptr;
}

bool ReportWidget::isLayingOut() const
{
    return renderScheduled || (preview && preview->isRendering()) || reloadPending;
}

void ReportWidget::buildMainLayout()
{
    setStyleSheet(QStringLiteral("QWidget { background-color: \"#f0f0f0\"; padding: 0; "
                                 "border-bottom: 2px solid \"#f0f0f0\"; }"));
    mainLayout = new QVBoxLayout(this);
    mainLayout->setContentsMargins(0, 0, 0, 0);
    mainLayout->setSpacing(0);
    mainLayout->setSizeConstraint(QLayout::SetMaximumSize);
}

void ReportWidget::toolbarGap()
{
    auto* gap = new QFrame(toolbarFrame);
    gap->setFixedSize(15, 40);
    toolbarLayout->addWidget(gap);
}

TabButton* ReportWidget::addToolbarButton(const QString& name, const QString& tooltip,
                                          const QString& iconPath)
{
    auto* button = new TabButton(toolbarFrame, name);
    button->setObjectName(name);
    button->setIconOpacity(1.0f);
    button->setStyleSheet(toolButtonStyle);
    button->setToolTip(tooltip);
    // The icon says nothing to a screen reader: the tooltip's words name the button.
    button->setAccessibleName(tooltip);
    button->installEventFilter(this);
    // Every toolbar button is an icon without text.
    button->setText(QString());
    button->setIconSize(QSize(25, 25));
    button->setIconFile(iconPath, QSize(25, 25));
    button->setFixedSize(40, 40);
    toolbarLayout->addWidget(button);
    return button;
}

void ReportWidget::buildToolbar()
{
    toolbarFrame = new QFrame(this);
    toolbarFrame->setFixedHeight(40);
    if (screenWidth > 0)
        toolbarFrame->setMaximumWidth(screenWidth);
    toolbarFrame->setStyleSheet(buttonStyle);
    toolbarLayout = new QHBoxLayout(toolbarFrame);
    toolbarLayout->setContentsMargins(0, 0, 0, 0);
    toolbarLayout->setAlignment(Qt::AlignLeft);

    toolbarGap();
    addToolbarButton(QStringLiteral("Home"), QStringLiteral("Beranda"),
                     QStringLiteral(":images/home.png"));
    saveButton = addToolbarButton(QStringLiteral("Save"), QStringLiteral("Ekspor PDF"),
                                  QStringLiteral(":images/export-pdf.png"));
    if (filename != faqName && filename != manualName)
        exportButton =
            addToolbarButton(QStringLiteral("Ekspor ke text"), QStringLiteral("Ekspor ke text"),
                             QStringLiteral(":images/export-txt.png"));
    printButton = addToolbarButton(QStringLiteral("Print"), QStringLiteral("Cetak"),
                                   QStringLiteral(":images/print.png"));
    outlineButton = addToolbarButton(QStringLiteral("Outline"), QStringLiteral("Daftar Isi"),
                                     QStringLiteral(":images/outline.png"));
    toolbarGap();

    addToolbarButton(QStringLiteral("Zoom In"), QStringLiteral("Perbesar"),
                     QStringLiteral(":images/zoom-in.png"));
    addToolbarButton(QStringLiteral("Zoom Out"), QStringLiteral("Perkecil"),
                     QStringLiteral(":images/zoom-out.png"));
    scaleBox = new QComboBox(toolbarFrame);
    scaleBox->setEditable(true);
    // A typed scale is applied, not added to the list: the list stays the steps of
    // ten it offers, and only numbers can be typed.
    scaleBox->setInsertPolicy(QComboBox::NoInsert);
    scaleBox->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\s*\\d{1,3}\\s*%?\\s*")), scaleBox));
    scaleBox->setFixedSize(70, 25);
    scaleBox->setToolTip(QStringLiteral("Skala tampilan"));
    scaleBox->setAccessibleName(QStringLiteral("Skala tampilan"));
    for (int percent = 10; percent <= 300; percent += 10)
        scaleBox->addItem(QStringLiteral("%1%").arg(percent));
    scaleBox->setCurrentIndex(4);
    connect(scaleBox, QOverload<int>::of(&QComboBox::activated), this,
            [this](int index) { scaleComboboxChanged(scaleBox->itemText(index)); });
    connect(scaleBox->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { scaleComboboxChanged(scaleBox->currentText()); });
    toolbarLayout->addWidget(scaleBox);
    addToolbarButton(QStringLiteral("One to One"), QStringLiteral("1:1"),
                     QStringLiteral(":images/one-one.png"));
    addToolbarButton(QStringLiteral("Fit Width"), QStringLiteral("Sesuai Lebar"),
                     QStringLiteral(":images/fit-width.png"));
    addToolbarButton(QStringLiteral("Fit Page"), QStringLiteral("Sesuai Halaman"),
                     QStringLiteral(":images/fit-page.png"));
    toolbarGap();

    firstButton = addToolbarButton(QStringLiteral("First Page"), QStringLiteral("Hal. Pertama"),
                                   QStringLiteral(":images/first-page.png"));
    priorButton = addToolbarButton(QStringLiteral("Prior Page"), QStringLiteral("Hal. Sebelumnya"),
                                   QStringLiteral(":images/prev-page.png"));
    pageBox = new QSpinBox(toolbarFrame);
    // Wide enough for "Hal. : 999 / 999": the prefix and the page count must stay readable.
    pageBox->setFixedWidth(120);
    pageBox->setPrefix(tr("Hal. : "));
    pageBox->setAccessibleName(QStringLiteral("Halaman"));
    pageBox->setValue(1);
    connect(pageBox, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &ReportWidget::slotPageNavigatorChanged);
    toolbarLayout->addWidget(pageBox);
    nextButton = addToolbarButton(QStringLiteral("Next Page"), QStringLiteral("Hal. Selanjutnya"),
                                  QStringLiteral(":images/next-page.png"));
    lastButton = addToolbarButton(QStringLiteral("Last Page"), QStringLiteral("Hal. Akhir"),
                                  QStringLiteral(":images/last-page.png"));
    toolbarGap();
    addToolbarButton(QStringLiteral("Find"), QStringLiteral("Cari (Ctrl+F)"),
                     QStringLiteral(":images/find.png"));
    toolbarGap();
    // Shown while a report is laid out: how far it got, and a way to stop it.
    progressLabel = new QLabel(toolbarFrame);
    progressLabel->setObjectName(QStringLiteral("layoutProgress"));
    progressLabel->hide();
    toolbarLayout->addWidget(progressLabel);
    cancelButton = new QPushButton(tr("Batal"), toolbarFrame);
    cancelButton->setObjectName(QStringLiteral("cancelLayout"));
    cancelButton->setToolTip(tr("Hentikan penyusunan halaman"));
    cancelButton->hide();
    connect(cancelButton, &QPushButton::clicked, this, [this] {
        if (preview)
            preview->cancelRender();
    });
    toolbarLayout->addWidget(cancelButton);
    setNavigationState(1);
    mainLayout->addWidget(toolbarFrame);
}

void ReportWidget::buildFindBar()
{
    findBar = new LimeReport::FindBar(this);
    findBar->setStyleSheet(
        QStringLiteral("QLineEdit { background-color: white; border: 1px solid #a0a0a0; "
                       "padding: 2px; } QToolButton { border: none; }"));
    mainLayout->addWidget(findBar);
    // Wherever the focus is in the window, as long as this tab is the one shown: the
    // tabs hidden behind it do not answer.
    auto* find = new QShortcut(QKeySequence::Find, this);
    find->setContext(Qt::WindowShortcut);
    connect(find, &QShortcut::activated, findBar, &LimeReport::FindBar::open);
}

void ReportWidget::addReport()
{
    contentWidget = new QWidget(this);
    contentLayout = new QHBoxLayout(contentWidget);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->setSpacing(0);
    contentLayout->setAlignment(Qt::AlignLeft);
    if (!taviFilename.isEmpty()) {
        dataSetModel = new QStandardItemModel(0, 1);
        dataSetModel->setHorizontalHeaderLabels({QStringLiteral("Debitur")});
        if (openResult && openResult->files) {
            for (auto it = openResult->files->constBegin(); it != openResult->files->constEnd();
                 ++it) {
                auto* item = new QStandardItem(PlainMessage::visibleText(it.key()));
                item->setData(it.key(), entryNameRole);
                dataSetModel->appendRow(item);
            }
        }
        dataSetTable = new QTableView(contentWidget);
        dataSetTable->setModel(dataSetModel);
        dataSetTable->verticalHeader()->hide();
        dataSetTable->setFixedWidth(300);
        dataSetTable->setColumnWidth(0, 300);
        QFont headerFont = dataSetTable->horizontalHeader()->font();
        headerFont.setPixelSize(14);
        dataSetTable->horizontalHeader()->setFont(headerFont);
        dataSetTable->horizontalHeader()->setFixedHeight(40);
        dataSetTable->setSelectionMode(QAbstractItemView::SingleSelection);
        dataSetTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
        dataSetTable->setStyleSheet(
            QStringLiteral("QTableView { background-color: white; selection-background-color: "
                           "\"lightgray\"; selection-color: black; } "
                           "QHeaderView::section { background-color: #f0f0f0; border: none; }"));
        contentLayout->addWidget(dataSetTable);
        dataSetSelection = dataSetTable->selectionModel();
        connect(dataSetSelection, &QItemSelectionModel::currentChanged, this,
                &ReportWidget::currentRowChanged);
        // Highlighted only: the first data set is loaded below, so it must not reload on selection.
        if (dataSetModel->rowCount() > 0)
            dataSetSelection->select(dataSetModel->index(0, 0), QItemSelectionModel::Select);
    }
    // Between the list and the pages, shown on request.
    outlinePanel = new OutlinePanel(contentWidget);
    outlinePanel->setObjectName(QStringLiteral("outlinePanel"));
    outlinePanel->setFixedWidth(300);
    outlinePanel->hide();
    contentLayout->addWidget(outlinePanel);
    mainLayout->addWidget(contentWidget);
    initReport();
}

bool ReportWidget::isDocument() const
{
    return openResult && openResult->files;
}

void ReportWidget::clearDataSources()
{
    LimeReport::IDataSourceManager* manager = engine->dataManager();
    for (const QString& name : TAVIDs::dataSourceNames()) {
        if (manager->containsDatasource(name))
            manager->removeModel(name);
    }
}

void ReportWidget::loadBuiltInDocument()
{
    const QString applicationDir = QCoreApplication::applicationDirPath();
    if (filename == faqName) {
        const QString local = applicationDir + QStringLiteral("/documents/faq.lrxml");
        reportFilename = QFileInfo::exists(local) ? local : QStringLiteral(":reports/faq.lrxml");
    } else if (filename == manualName) {
        const QString local = applicationDir + QStringLiteral("/documents/manual.lrxml");
        reportFilename = QFileInfo::exists(local) ? local : QStringLiteral(":reports/manual.lrxml");
    }
    QFile file(reportFilename);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qWarning() << "ReportWidget::initReport() cannot read" << reportFilename;
        return;
    }
    engine->loadFromString(QString::fromUtf8(file.readAll()));
    engine->setPdfMetadata(
        ReportMetadata::forDocument(filename == faqName ? QStringLiteral("Tanya Jawab (FAQ)")
                                                        : QStringLiteral("Petunjuk Penggunaan")));
}

void ReportWidget::initReport()
{
    qDebug() << "ReportWidget::initReport() 1";
    if (preview && preview->isRendering()) {
        // The running layout reads the data sources about to be replaced: it stops
        // first, and the load follows once it has.
        reloadPending = true;
        preview->cancelRender();
        return;
    }
    reloadPending = false;
    renderScheduled = false;
    pageCount = 0;
    if (preview) {
        contentLayout->removeWidget(preview);
        delete preview;
        preview = nullptr;
    }
    qDebug() << "ReportWidget::initReport() 2 delete before reinitialized!";
    delete dataSources;
    dataSources = nullptr;
    if (engine) {
        qDebug() << "ReportWidget::initReport() 3 clearDataSources";
        clearDataSources();
    }
    qDebug() << "ReportWidget::initReport() 4 new TAVIDs";
    dataSources = new TAVIDs();
    const bool firstLoad = !engine;
    if (firstLoad) {
        qDebug() << "ReportWidget::initReport() 5 new engine";
        engine = new LimeReport::ReportEngine();
    }
    if (isDocument()) {
        if (selectedFilename.isEmpty() && !openResult->files->isEmpty())
            selectedFilename = openResult->files->firstKey();
        if (openResult->files->contains(selectedFilename))
            populateDesignAndData(engine, openResult->files->value(selectedFilename), dataSources);
    } else if (firstLoad) {
        loadBuiltInDocument();
    }
    qDebug() << "ReportWidget::initReport() 6 new viewer";
    // Built directly rather than by the engine's createPreviewWidget, which renders once
    // before its signals can be connected and so made every load render twice.
    preview = new LimeReport::PreviewReportWidget(engine, contentWidget);
    preview->setDocumentName(pdfName());
    outlinePanel->setPreview(preview);
    connect(preview, &LimeReport::PreviewReportWidget::pagesSet, this, &ReportWidget::slotPagesSet);
    connect(preview, &LimeReport::PreviewReportWidget::scalePercentChanged, this,
            &ReportWidget::slotScalePercentChanged);
    connect(preview, &LimeReport::PreviewReportWidget::pageChanged, this,
            &ReportWidget::slotPageChanged);
    connect(preview, &LimeReport::PreviewReportWidget::pagesAdded, this,
            &ReportWidget::slotPagesAdded);
    connect(preview, &LimeReport::PreviewReportWidget::renderingChanged, this,
            &ReportWidget::slotRenderingChanged);
    connect(preview, &LimeReport::PreviewReportWidget::pdfWriteFailed, this,
            &ReportWidget::reportWriteFailure);
    findBar->setPreview(preview);
    loading = true;
    contentLayout->addWidget(preview);
    if (isVisible()) {
        preview->refreshPages();
    } else {
        // A new tab is laid out once it is on screen, so that its first page shows
        // while the rest is still being laid out.
        renderScheduled = true;
        QTimer::singleShot(0, this, [this] {
            renderScheduled = false;
            if (preview)
                preview->refreshPages();
        });
    }
    qDebug() << "ReportWidget::initReport() 7";
}

QString ReportWidget::pdfName() const
{
    // The document's name, and for a document of several data sets the one shown.
    const QString document = QFileInfo(filename).completeBaseName();
    if (!isDocument() || openResult->files->size() < 2 || selectedFilename.isEmpty())
        return document;
    return document + QLatin1Char('-') + QFileInfo(selectedFilename).completeBaseName();
}

void ReportWidget::setNavigationState(int page)
{
    firstButton->setEnabled(page != 1);
    priorButton->setEnabled(page != 1);
    nextButton->setEnabled(page != pageCount);
    lastButton->setEnabled(page != pageCount);
}

bool ReportWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* button = qobject_cast<TabButton*>(watched);
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // A release outside the button cancels the click, as it does for any push button.
        if (button && button->isEnabled() && button->rect().contains(mouse->pos()))
            runCommand(button->getTabName());
    }
    return QWidget::eventFilter(watched, event);
}

void ReportWidget::runCommand(const QString& name)
{
    if (name == QLatin1String("Home")) {
        emit home();
        return;
    }
    if (name == QLatin1String("Ekspor ke text")) {
        exportToText();
        return;
    }
    if (name == QLatin1String("Find")) {
        findBar->open();
        return;
    }
    if (name == QLatin1String("Outline")) {
        toggleOutline();
        return;
    }
    if (!preview)
        return;
    if (name == QLatin1String("Save"))
        preview->printToPDF();
    else if (name == QLatin1String("Print"))
        preview->print();
    else if (name == QLatin1String("Zoom In"))
        preview->zoomIn();
    else if (name == QLatin1String("Zoom Out"))
        preview->zoomOut();
    else if (name == QLatin1String("One to One"))
        preview->setScalePercent(100);
    else if (name == QLatin1String("Fit Width"))
        preview->fitWidth();
    else if (name == QLatin1String("Fit Page"))
        preview->fitPage();
    else if (name == QLatin1String("First Page"))
        preview->firstPage();
    else if (name == QLatin1String("Prior Page"))
        preview->priorPage();
    else if (name == QLatin1String("Next Page"))
        preview->nextPage();
    else if (name == QLatin1String("Last Page"))
        preview->lastPage();
}

void ReportWidget::toggleOutline()
{
    const bool open = outlinePanel->isHidden();
    outlinePanel->setVisible(open);
    outlineButton->setStyleSheet(open ? openToolButtonStyle : toolButtonStyle);
    outlineButton->setToolTip(open ? QStringLiteral("Tutup Daftar Isi")
                                   : QStringLiteral("Daftar Isi"));
}

void ReportWidget::scaleComboboxChanged(const QString& text)
{
    QString number = text.trimmed();
    if (number.endsWith(QLatin1Char('%')))
        number.chop(1);
    bool ok = false;
    const int percent = number.toInt(&ok, 10);
    // A typo must not collapse the preview to nothing.
    if (!ok || percent <= 0 || !preview)
        return;
    preview->setScalePercent(percent);
}

void ReportWidget::slotScalePercentChanged(int percent)
{
    scaleBox->setEditText(QStringLiteral("%1%").arg(percent));
    scaleBox->setStyleSheet(changedStyle);
    if (!loading) {
        keptPercent = percent;
        keptFit = preview ? preview->fit() : keptFit;
    }
}

void ReportWidget::slotPageNavigatorChanged(int pageNumber)
{
    if (preview)
        preview->pageNavigatorChanged(pageNumber);
    // The preview does not announce a page it was sent to, so the buttons follow here.
    setNavigationState(pageNumber);
}

void ReportWidget::slotPagesSet(int pagesCount)
{
    slotPagesAdded(pagesCount);
    emit pagesSet(pagesCount);
}

// The page box follows the count as the layout goes on; the page the user is on stays.
void ReportWidget::slotPagesAdded(int pagesCount)
{
    const bool first = pageCount == 0;
    pageCount = pagesCount;
    pageBox->setSuffix(tr(" / %1").arg(pagesCount));
    pageBox->setRange(1, pagesCount);
    if (first) {
        pageBox->setValue(1);
        pageBox->setStyleSheet(changedStyle);
        QTimer::singleShot(2, this, &ReportWidget::restoreZoom);
    }
    setNavigationState(pageBox->value());
    progressLabel->setText(tr("Menyusun halaman: %1").arg(pagesCount));
}

void ReportWidget::slotRenderingChanged(bool rendering)
{
    progressLabel->setText(tr("Menyusun halaman..."));
    progressLabel->setVisible(rendering);
    cancelButton->setVisible(rendering);
    // Pages still being laid out cannot be printed or saved whole: the buttons say so
    // rather than ignoring a click.
    saveButton->setEnabled(!rendering);
    printButton->setEnabled(!rendering);
    if (!rendering && reloadPending)
        QTimer::singleShot(0, this, &ReportWidget::initReport);
}

void ReportWidget::slotPageChanged(int pageNumber)
{
    const QSignalBlocker blocker(pageBox);
    pageBox->setValue(pageNumber);
    setNavigationState(pageNumber);
    emit pageChanged(pageNumber);
}

void ReportWidget::restoreZoom()
{
    loading = false;
    if (!preview)
        return;
    using Fit = LimeReport::PreviewReportWidget::Fit;
    if (keptFit == Fit::Width)
        preview->fitWidth();
    else if (keptFit == Fit::Page)
        preview->fitPage();
    else
        preview->setScalePercent(keptPercent);
}

void ReportWidget::currentRowChanged(const QModelIndex& current, const QModelIndex& previous)
{
    Q_UNUSED(previous)
    if (!current.isValid())
        return;
    const QString name =
        dataSetModel->data(dataSetModel->index(current.row(), 0), entryNameRole).toString();
    if (name == selectedFilename) {
        qDebug() << "file not change";
        return;
    }
    selectedFilename = name;
    reloadWithBusyIndicator();
}

void ReportWidget::reloadWithBusyIndicator()
{
    auto* busy = new QDialog(this, Qt::FramelessWindowHint | Qt::Dialog);
    busy->setObjectName(QStringLiteral("busyIndicator"));
    busy->setWindowModality(Qt::WindowModal);
    busy->setAttribute(Qt::WA_TranslucentBackground);
    busy->setAttribute(Qt::WA_NoSystemBackground);
    auto* layout = new QVBoxLayout(busy);
    auto* label = new QLabel(busy);
    label->setMinimumHeight(200);
    auto* movie = new QMovie(QStringLiteral(":/images/busy.gif"), QByteArray(), label);
    label->setMovie(movie);
    layout->addWidget(label);
    movie->start();
    busy->show();
    // One pass of the event loop so that the indicator paints before the synchronous reload.
    QCoreApplication::processEvents();
    initReport();
    busy->close();
    delete busy;
}

void ReportWidget::exportToText()
{
    const QString dir = QFileDialog::getExistingDirectory(window(), tr("Pilih Direktori"),
                                                          QString(), QFileDialog::ShowDirsOnly);
    if (dir.isEmpty())
        return;
    exportToDirectory(dir);
}

void ReportWidget::exportToDirectory(const QString& dir)
{
    if (!QDir(dir).exists()) {
        PlainMessage::show(window(), QMessageBox::Warning, failedTitle,
                           QStringLiteral("Direktori tidak ditemukan"), QMessageBox::Ok,
                           QMessageBox::Ok);
        return;
    }
    if (!isDocument())
        return;
    if (!mayReplace(TextExport::targetPaths(*openResult, dir).values()))
        return;
    const TextExport::Result result = TextExport::exportAll(*openResult, dir);
    const QString where = QDir::toNativeSeparators(dir);
    if (!result.succeeded()) {
        QStringList lines;
        for (const TextExport::Failure& failure : result.failures)
            lines << WriteFailure::message(failure.path, failure.reason);
        if (!result.written.isEmpty())
            lines << QStringLiteral("%1 file lainnya berhasil disimpan di %2.")
                         .arg(result.written.size())
                         .arg(where);
        PlainMessage::show(window(), QMessageBox::Warning, failedTitle,
                           lines.join(QLatin1Char('\n')), QMessageBox::Ok, QMessageBox::Ok);
        return;
    }
    PlainMessage::show(window(), QMessageBox::Information, QStringLiteral("Sukses"),
                       QStringLiteral("Ekspor file sukses: %1 file disimpan di %2.")
                           .arg(result.written.size())
                           .arg(where),
                       QMessageBox::Ok, QMessageBox::Ok);
}

bool ReportWidget::mayReplace(const QStringList& paths)
{
    QStringList existing;
    for (const QString& path : paths) {
        // A folder in the way is not replaced; its file fails and says so.
        const QFileInfo file(path);
        if (file.exists() && !file.isDir())
            existing << file.fileName();
    }
    if (existing.isEmpty())
        return true;
    // Asked once for the whole export: the user decides about the folder, not file by file.
    const QString question =
        QStringLiteral("%1 file sudah ada di %2 dan akan diganti:\n%3\n\nGanti file tersebut?")
            .arg(existing.size())
            .arg(QDir::toNativeSeparators(QFileInfo(paths.first()).absolutePath()),
                 existing.join(QLatin1Char('\n')));
    return PlainMessage::show(window(), QMessageBox::Question, QStringLiteral("Konfirmasi"),
                              question, QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) == QMessageBox::Yes;
}

void ReportWidget::reportWriteFailure(const QString& path, QFileDevice::FileError error,
                                      const QString& errorText)
{
    PlainMessage::show(window(), QMessageBox::Warning, failedTitle,
                       WriteFailure::message(path, WriteFailure::reason(path, error, errorText)),
                       QMessageBox::Ok, QMessageBox::Ok);
}
