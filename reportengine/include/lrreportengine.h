#ifndef LRREPORTENGINE_H
#define LRREPORTENGINE_H

#include "lroutline.h"
#include "lrpdfmetadata.h"
#include "lrrenderedpage.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace LimeReport {

class IDataSourceManager;
class PreviewReportWidget;
class ReportEnginePrivate;

// Loads a template, renders it against the registered data sources and shows,
// prints or exports the pages. Every render starts the data sources from First.
class ReportEngine : public QObject
{
    Q_OBJECT
public:
    explicit ReportEngine(QObject* parent = nullptr);
    ~ReportEngine() override;

    // Replaces the current template. Data sources and variables survive.
    bool loadFromFile(const QString& fileName, bool autoLoadPreviewOnChange = false);
    bool loadFromString(const QString& xml, const QString& name = QString());
    bool loadFromByteArray(QByteArray* data, const QString& name = QString());
    QString lastError() const;

    IDataSourceManager* dataManager() const;

    // Renders the loaded template from scratch. Empty while another render runs
    // or when nothing is loaded.
    ReportPages renderPages();
    // The same, handing each page to onPage as soon as it is drawn (and once more
    // when its page counters change at the end), and asking keepGoing after every
    // band whether to go on: the caller can let its events run there. A false
    // answer stops the render, which then returns no pages.
    using PageHandler = std::function<void(int index, const RenderedPage& page)>;
    ReportPages renderPages(const PageHandler& onPage, const std::function<bool()>& keepGoing);
    // As renderPages(), but the pages are only handed to onPage, for a caller that
    // keeps them its own way: a page seen again at the end (its page counters written
    // again) then holds only its pending items, its ranges pointing into those (see
    // RenderedPage::takePending).
    void renderPagesTo(const PageHandler& onPage, const std::function<bool()>& keepGoing);
    bool isBusy() const;
    // The outline entries of the last render, or of the one running so far: they
    // grow as pages are drawn, each page's entries before onPage sees the page.
    ReportOutline outline() const;

    // These two need widgets and come with the reportengine-widgets library.
    // Renders at once; the caller connects and then calls refreshPages().
    PreviewReportWidget* createPreviewWidget(QWidget* parent = nullptr);
    // A null printer asks the user for one the first time.
    bool printReport(QPrinter* printer = nullptr);

    // Appends ".pdf" when the name has no suffix. Asking the user for a name is the
    // preview widget's part (PreviewReportWidget::printToPDF).
    bool printToPDF(const QString& fileName);
    // What every PDF written from this engine says about itself; its outline is
    // the render's.
    void setPdfMetadata(const PdfMetadata& metadata);
    PdfMetadata pdfMetadata() const;
    // What printToPDF() tells as it goes: each page laid out (a page whose page
    // counters are written again at the end comes once more then), the file written
    // whole (the last index and the count), and whether to go on; a stop writes no
    // file. Pages are written beside the layout, each as soon as it is laid out.
    using WriteHandler = std::function<void(int index, int count)>;
    void setProgressHandlers(const PageHandler& laidOut, const WriteHandler& written,
                             const std::function<bool()>& keepGoing);

signals:
    void loadFinished();
    void renderStarted();
    void renderFinished();
    void printedToPDF(const QString& fileName);

private:
    std::unique_ptr<ReportEnginePrivate> d;
};

} // namespace LimeReport

#endif // LRREPORTENGINE_H
