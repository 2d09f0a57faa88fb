#include "lrpreviewreportwidget.h"

#include "lrreportengine.h"
#include "pagegraphicsitem.h"
#include "paperprinter.h"
#include "pdfjob.h"
#include "textselector.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace LimeReport {

// Scene units between two sheets and around all of them.
static const qreal pageGap = 20;
static const qreal sceneBorder = 100;
static const int minimumPercent = 10;

static QString& lastPdfDirectory()
{
    static QString directory = QDir::homePath();
    return directory;
}

QString PreviewReportWidget::pdfDirectory()
{
    return lastPdfDirectory();
}

PreviewReportWidget::PreviewReportWidget(ReportEngine* report, QWidget* parent)
    : QWidget(parent), m_report(report), m_view(new QGraphicsView(this)),
      m_scene(new QGraphicsScene(this)), m_resizeTimer(new QTimer(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_scene->setBackgroundBrush(QColor(0xe0, 0xe0, 0xe0));
    m_view->setScene(m_scene);
    m_view->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setRenderHint(QPainter::TextAntialiasing);
    m_view->viewport()->installEventFilter(this);
    m_resizeTimer->setSingleShot(true);
    m_resizeTimer->setInterval(100);
    connect(m_resizeTimer, &QTimer::timeout, this, &PreviewReportWidget::rescale);
    connect(m_view->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { followScroll(); });
    m_selector = new TextSelector(this);
}

QGraphicsItem* PreviewReportWidget::pageItem(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items.at(index) : nullptr;
}

// The selector filters the viewport's events, and the viewport goes only after this
// object has already been taken apart down to a plain widget: the selector goes first.
PreviewReportWidget::~PreviewReportWidget()
{
    delete m_selector;
    // PDFs still being written are finished first; their end is told to nobody.
    for (PdfJob* job : qAsConst(m_pdfJobs)) {
        delete job;
        QGuiApplication::restoreOverrideCursor();
    }
}

void PreviewReportWidget::clearPages()
{
    m_scene->clear();
    m_items.clear();
    m_pages.clear();
    m_pageTops.clear();
    if (!m_outline.isEmpty()) {
        m_outline.clear();
        emit outlineChanged();
    }
    m_sceneWidth = 0;
    m_announcedCount = 0;
    m_currentPage = 0;
}

// A page already shown takes its pending texts, written again, where they are; a new
// one goes below the last.
void PreviewReportWidget::placePage(int index, const RenderedPage& page)
{
    if (index < m_items.size()) {
        m_pages.takePending(index, page);
        m_items.at(index)->pageChanged();
        return;
    }
    const qreal y =
        m_pageTops.isEmpty()
            ? sceneBorder
            : m_pageTops.last() + m_pages.pageSize(m_pages.size() - 1).height() + pageGap;
    m_pages.append(page);
    auto* item = new PageGraphicsItem(&m_pages, m_pages.size() - 1);
    item->setPos(sceneBorder, y);
    m_scene->addItem(item);
    m_items << item;
    m_pageTops << y;
    m_sceneWidth = std::max(m_sceneWidth, page.size().width());
    m_scene->setSceneRect(0, 0, m_sceneWidth + 2 * sceneBorder,
                          y + page.size().height() + sceneBorder);
}

void PreviewReportWidget::setPages(const ReportPages& pages)
{
    clearPages();
    for (int i = 0; i < pages.size(); ++i)
        placePage(i, pages.at(i));
    if (m_pages.isEmpty())
        m_scene->setSceneRect(0, 0, 2 * sceneBorder, 2 * sceneBorder);
    m_currentPage = m_pages.isEmpty() ? 0 : 1;
    rescale();
    goToPage(m_currentPage, false);
    m_announcedCount = m_pages.size();
    emit pagesSet(m_pages.size());
}

void PreviewReportWidget::refreshPages()
{
    if (!m_report || m_rendering)
        return;
    m_rendering = true;
    m_cancelRequested = false;
    emit renderingChanged(true);
    clearPages();
    // Long enough for the layout to get on, short enough for input to feel instant.
    constexpr int sliceMs = 40;
    QElapsedTimer slice;
    slice.start();
    const auto announce = [this] {
        if (m_pages.size() == m_announcedCount)
            return;
        if (m_announcedCount == 0) {
            m_currentPage = 1;
            rescale();
            goToPage(1, false);
        }
        m_announcedCount = m_pages.size();
        takeOutline();
        emit pagesAdded(m_announcedCount);
    };
    m_report->renderPagesTo([this](int index, const RenderedPage& page) { placePage(index, page); },
                            [&] {
                                if (slice.elapsed() >= sliceMs ||
                                    (m_announcedCount == 0 && !m_pages.isEmpty())) {
                                    announce();
                                    QCoreApplication::processEvents();
                                    slice.restart();
                                }
                                return !m_cancelRequested;
                            });
    m_rendering = false;
    if (!m_pages.isEmpty()) {
        announce();
        takeOutline();
        emit pagesSet(m_pages.size());
    }
    // Last: a listener may let go of the engine and of this widget here.
    emit renderingChanged(false);
}

// The engine's entries so far; those of pages not yet shown wait for their pages.
void PreviewReportWidget::takeOutline()
{
    if (!m_report)
        return;
    ReportOutline outline = m_report->outline();
    const auto shown = std::find_if(outline.begin(), outline.end(), [this](const OutlineEntry& e) {
        return e.page >= m_pages.size();
    });
    outline.erase(shown, outline.end());
    if (outline.size() == m_outline.size())
        return;
    m_outline = outline;
    emit outlineChanged();
}

void PreviewReportWidget::cancelRender()
{
    if (m_rendering)
        m_cancelRequested = true;
}

bool PreviewReportWidget::writePdf(const QString& fileName)
{
    if (m_pages.isEmpty() || m_rendering)
        return false;
    const PdfDocument document{m_report ? m_report->pdfMetadata() : PdfMetadata(), m_outline};
    auto* job = new PdfJob(m_pages, fileName, document, this);
    m_pdfJobs << job;
    connect(job, &PdfJob::finished, this,
            [this, job](bool written, QFileDevice::FileError error, const QString& errorText) {
                m_pdfJobs.removeOne(job);
                job->deleteLater();
                QGuiApplication::restoreOverrideCursor();
                if (written)
                    emit pdfWritten(job->fileName());
                else
                    emit pdfWriteFailed(job->fileName(), error, errorText);
            });
    // The window stays live; the cursor tells that something is under way.
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    job->start();
    return true;
}

void PreviewReportWidget::print()
{
    if (m_pages.isEmpty() || m_rendering)
        return;
    QPrinter printer(QPrinter::HighResolution);
    // Dialogs belong to the window, not to this view: whatever style sheets the
    // view's owner gives it, a dialog looks as dialogs do everywhere else.
    QPrintDialog dialog(&printer, window());
    dialog.setMinMax(1, m_pages.size());
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage);
    if (dialog.exec() == QDialog::Accepted)
        PaperPrinter::print(m_pages, &printer, m_currentPage);
}

void PreviewReportWidget::printToPDF()
{
    if (m_pages.isEmpty() || m_rendering)
        return;
    const QString suggested =
        m_documentName.isEmpty()
            ? QString()
            : QDir(lastPdfDirectory()).filePath(m_documentName + QLatin1String(".pdf"));
    QString fileName = QFileDialog::getSaveFileName(
        window(), tr("Ekspor PDF"), suggested.isEmpty() ? lastPdfDirectory() : suggested,
        tr("PDF (*.pdf)"));
    if (fileName.isEmpty())
        return;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QLatin1String(".pdf");
    lastPdfDirectory() = QFileInfo(fileName).absolutePath();
    writePdf(fileName);
}

void PreviewReportWidget::zoomIn()
{
    setScalePercent(m_scalePercent / 10 * 10 + 10);
}

void PreviewReportWidget::zoomOut()
{
    setScalePercent(std::max(minimumPercent, m_scalePercent / 10 * 10 - 10));
}

void PreviewReportWidget::setScalePercent(int percent)
{
    m_fit = Fit::None;
    applyScale(percent);
}

void PreviewReportWidget::applyScale(int percent)
{
    // A zero or negative scale would leave nothing to see and no way to map
    // the viewport back onto the pages.
    percent = std::max(1, percent);
    const int anchorPage = m_currentPage;
    // The scroll bar moves while the scale changes. That is no scrolling by the
    // user: the page shown before stays the current one, and nobody is told of
    // the page that happened to pass the top of the view meanwhile.
    m_changingPage = true;
    m_view->resetTransform();
    m_view->scale(percent / 100.0, percent / 100.0);
    m_changingPage = false;
    m_scalePercent = percent;
    if (anchorPage > 0)
        goToPage(anchorPage, false);
    emit scalePercentChanged(percent);
}

void PreviewReportWidget::fitWidth()
{
    m_fit = Fit::Width;
    rescale();
}

void PreviewReportWidget::fitPage()
{
    m_fit = Fit::Page;
    rescale();
}

void PreviewReportWidget::rescale()
{
    if (m_fit == Fit::None || m_currentPage < 1) {
        applyScale(m_scalePercent);
        return;
    }
    const qreal byWidth = m_view->viewport()->width() / m_scene->sceneRect().width();
    if (m_fit == Fit::Width) {
        applyScale(int(byWidth * 100));
        return;
    }
    const qreal byHeight =
        m_view->viewport()->height() / m_pages.pageSize(m_currentPage - 1).height();
    applyScale(int(std::min(byWidth, byHeight) * 100));
}

void PreviewReportWidget::firstPage()
{
    if (m_currentPage > 1)
        goToPage(1, true);
}

void PreviewReportWidget::priorPage()
{
    if (m_currentPage > 1)
        goToPage(m_currentPage - 1, true);
}

void PreviewReportWidget::nextPage()
{
    if (m_currentPage < m_pages.size())
        goToPage(m_currentPage + 1, true);
}

void PreviewReportWidget::lastPage()
{
    if (m_currentPage < m_pages.size())
        goToPage(m_pages.size(), true);
}

void PreviewReportWidget::pageNavigatorChanged(int page)
{
    if (m_changingPage || page < 1 || page > m_pages.size())
        return;
    goToPage(page, false);
}

void PreviewReportWidget::goToPage(int page, bool announce)
{
    if (page < 1 || page > m_pages.size())
        return;
    m_changingPage = true;
    m_currentPage = page;
    const qreal top = m_pageTops.at(page - 1) - pageGap / 2;
    m_view->verticalScrollBar()->setValue(
        int(std::round(m_view->transform().map(QPointF(0, top)).y())));
    m_changingPage = false;
    if (announce)
        emit pageChanged(page);
}

void PreviewReportWidget::goToPosition(int page, qreal y)
{
    if (page < 1 || page > m_pages.size())
        return;
    m_changingPage = true;
    // A little of what comes before shows above it, as above a page.
    const qreal top = m_pageTops.at(page - 1) + std::max<qreal>(0, y - pageGap / 2);
    m_view->verticalScrollBar()->setValue(
        int(std::round(m_view->transform().map(QPointF(0, top)).y())));
    m_changingPage = false;
    if (page != m_currentPage) {
        m_currentPage = page;
        emit pageChanged(page);
    }
}

QPair<int, qreal> PreviewReportWidget::topPosition() const
{
    if (m_pages.isEmpty())
        return {0, 0};
    const qreal sceneY = m_view->mapToScene(0, 0).y();
    const int page = pageAt(sceneY);
    return {page, sceneY - m_pageTops.at(page - 1)};
}

int PreviewReportWidget::pageAt(qreal sceneY) const
{
    const auto it = std::upper_bound(m_pageTops.begin(), m_pageTops.end(), sceneY + pageGap);
    return std::max(1, int(it - m_pageTops.begin()));
}

void PreviewReportWidget::followScroll()
{
    if (m_changingPage || m_pages.isEmpty())
        return;
    // Scrolled to the end, the last page is the one being read even when the
    // page before it still reaches the top of the view.
    const QScrollBar* bar = m_view->verticalScrollBar();
    const int page = bar->maximum() > 0 && bar->value() >= bar->maximum()
                         ? m_pages.size()
                         : pageAt(m_view->mapToScene(0, 0).y());
    if (page != m_currentPage) {
        m_currentPage = page;
        emit pageChanged(page);
    }
}

void PreviewReportWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!m_pages.isEmpty())
        m_resizeTimer->start();
}

bool PreviewReportWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view->viewport() && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            if (wheel->angleDelta().y() > 0)
                zoomIn();
            else if (wheel->angleDelta().y() < 0)
                zoomOut();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace LimeReport
