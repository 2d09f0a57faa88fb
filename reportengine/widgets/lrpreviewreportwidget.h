#ifndef LRPREVIEWREPORTWIDGET_H
#define LRPREVIEWREPORTWIDGET_H

#include "lroutline.h"
#include "lrpackedpages.h"
#include "lrrenderedpage.h"

#include <QFileDevice>
#include <QPair>
#include <QPointer>
#include <QWidget>

class QGraphicsItem;
class QGraphicsScene;
class QGraphicsView;
class QTimer;

namespace LimeReport {

class PageGraphicsItem;
class PdfJob;
class ReportEngine;
class TextSelector;

// Shows rendered pages as a vertical scroll of sheets, the current page following
// the scroll position. It renders through its engine only on refreshPages().
class PreviewReportWidget : public QWidget
{
    Q_OBJECT
public:
    explicit PreviewReportWidget(ReportEngine* report, QWidget* parent = nullptr);
    ~PreviewReportWidget() override;

    void setPages(const ReportPages& pages);
    // Held packed: a page asked for is unpacked.
    const PackedPages& pages() const { return m_pages; }
    int pageCount() const { return m_pages.size(); }
    // True from the start of refreshPages() until its render has returned.
    bool isRendering() const { return m_rendering; }
    bool isWritingPdf() const { return !m_pdfJobs.isEmpty(); }
    int currentPage() const { return m_currentPage; }
    // The outline entries of the pages shown; they follow the pages as they come.
    const ReportOutline& outline() const { return m_outline; }
    // The page (from 1) at the top of the view, and how far down it the view
    // starts, in page units; page 0 while there are no pages.
    QPair<int, qreal> topPosition() const;
    int scalePercent() const { return m_scalePercent; }
    // How the scale follows the view's size: a fitted scale fits again whenever the
    // view changes size (a side panel opening, the window resized); a chosen
    // percentage stays.
    enum class Fit
    {
        None,
        Width,
        Page
    };
    Fit fit() const { return m_fit; }
    QGraphicsView* view() const { return m_view; }
    // The sheet of a page (0-based) in the view's scene, for what is drawn over it; null
    // for a page that is not there.
    QGraphicsItem* pageItem(int index) const;
    // Text selection with the mouse and copying it.
    TextSelector* selector() const { return m_selector; }
    // The file name the PDF export suggests, without folder and suffix.
    void setDocumentName(const QString& name) { m_documentName = name; }
    QString documentName() const { return m_documentName; }
    // The folder the PDF export starts in: the one last saved into, in this program run.
    static QString pdfDirectory();

public slots:
    // Renders the report again. Pages show as soon as they are drawn, and the
    // application's events run between slices of the layout, so the window stays
    // live; pagesAdded follows the growing count, pagesSet the final one.
    void refreshPages();
    // Stops a running render after its current band; the pages so far stay.
    void cancelRender();
    // Writes the pages on screen to a PDF file in the background, without laying the
    // report out again, and tells pdfWritten or pdfWriteFailed when done; false when
    // there is nothing to write.
    bool writePdf(const QString& fileName);
    void print();
    void printToPDF();
    void zoomIn();
    void zoomOut();
    void setScalePercent(int percent);
    void fitWidth();
    void fitPage();
    void firstPage();
    void priorPage();
    void nextPage();
    void lastPage();
    void pageNavigatorChanged(int page);
    // Scrolls so that the place y (page units) on the page (from 1) is at the top.
    void goToPosition(int page, qreal y);

signals:
    void pagesSet(int pageCount);
    void pagesAdded(int pageCount);
    void renderingChanged(bool rendering);
    void scalePercentChanged(int percent);
    void pageChanged(int page);
    void outlineChanged();
    void pdfWritten(const QString& fileName);
    // The PDF could not be written; nothing was left under that name.
    void pdfWriteFailed(const QString& fileName, QFileDevice::FileError error,
                        const QString& errorText);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void goToPage(int page, bool announce);
    void applyScale(int percent);
    // The scale again after the pages or the view's size changed, as the fit says.
    void rescale();
    void placePage(int index, const RenderedPage& page);
    void clearPages();
    void followScroll();
    void takeOutline();
    int pageAt(qreal sceneY) const;

    QPointer<ReportEngine> m_report;
    QGraphicsView* m_view;
    QGraphicsScene* m_scene;
    QTimer* m_resizeTimer;
    PackedPages m_pages;
    ReportOutline m_outline;
    QVector<qreal> m_pageTops;
    QVector<PageGraphicsItem*> m_items;
    qreal m_sceneWidth = 0;
    int m_announcedCount = 0;
    bool m_rendering = false;
    bool m_cancelRequested = false;
    int m_currentPage = 0;
    int m_scalePercent = 50;
    Fit m_fit = Fit::None;
    bool m_changingPage = false;
    QString m_documentName;
    TextSelector* m_selector;
    QVector<PdfJob*> m_pdfJobs;
};

} // namespace LimeReport

#endif // LRPREVIEWREPORTWIDGET_H
