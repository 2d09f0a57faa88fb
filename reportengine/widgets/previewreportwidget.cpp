#include "lrpreviewreportwidget.h"

#include "lrreportengine.h"
#include "pagegraphicsitem.h"
#include "pageprinter.h"
#include "paperprinter.h"

#include <QFileDialog>
#include <QGraphicsScene>
#include <QGraphicsView>
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
    connect(m_resizeTimer, &QTimer::timeout, this, [this] { setScalePercent(m_scalePercent); });
    connect(m_view->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { followScroll(); });
}

PreviewReportWidget::~PreviewReportWidget() = default;

void PreviewReportWidget::setPages(const ReportPages& pages)
{
    m_scene->clear();
    m_pages = pages;
    m_pageTops.clear();
    qreal y = sceneBorder;
    qreal width = 0;
    for (const RenderedPage& page : m_pages) {
        auto* item = new PageGraphicsItem(page);
        item->setPos(sceneBorder, y);
        m_scene->addItem(item);
        m_pageTops << y;
        y += page.size().height() + pageGap;
        width = std::max(width, page.size().width());
    }
    m_scene->setSceneRect(0, 0, width + 2 * sceneBorder, y - pageGap + sceneBorder);
    m_currentPage = m_pages.isEmpty() ? 0 : 1;
    setScalePercent(m_scalePercent);
    goToPage(m_currentPage, false);
    emit pagesSet(m_pages.size());
}

void PreviewReportWidget::refreshPages()
{
    if (!m_report)
        return;
    const ReportPages pages = m_report->renderPages();
    if (!pages.isEmpty())
        setPages(pages);
}

void PreviewReportWidget::print()
{
    if (m_pages.isEmpty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        PaperPrinter::print(m_pages, &printer);
}

void PreviewReportWidget::printToPDF()
{
    if (m_pages.isEmpty())
        return;
    QString fileName =
        QFileDialog::getSaveFileName(this, tr("Ekspor PDF"), QString(), tr("PDF (*.pdf)"));
    if (fileName.isEmpty())
        return;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QLatin1String(".pdf");
    PagePrinter::writePdf(m_pages, fileName);
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
    // A zero or negative scale would leave nothing to see and no way to map
    // the viewport back onto the pages.
    percent = std::max(1, percent);
    const int anchorPage = m_currentPage;
    m_view->resetTransform();
    m_view->scale(percent / 100.0, percent / 100.0);
    m_scalePercent = percent;
    if (anchorPage > 0)
        goToPage(anchorPage, false);
    emit scalePercentChanged(percent);
}

void PreviewReportWidget::fitWidth()
{
    if (m_currentPage < 1)
        return;
    const qreal ratio = m_view->viewport()->width() / m_scene->sceneRect().width();
    setScalePercent(int(ratio * 100));
}

void PreviewReportWidget::fitPage()
{
    if (m_currentPage < 1)
        return;
    const qreal byWidth = m_view->viewport()->width() / m_scene->sceneRect().width();
    const qreal byHeight =
        m_view->viewport()->height() / m_pages.at(m_currentPage - 1).size().height();
    setScalePercent(int(std::min(byWidth, byHeight) * 100));
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

int PreviewReportWidget::pageAt(qreal sceneY) const
{
    const auto it = std::upper_bound(m_pageTops.begin(), m_pageTops.end(), sceneY + pageGap);
    return std::max(1, int(it - m_pageTops.begin()));
}

void PreviewReportWidget::followScroll()
{
    if (m_changingPage || m_pages.isEmpty())
        return;
    const int page = pageAt(m_view->mapToScene(0, 0).y());
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
