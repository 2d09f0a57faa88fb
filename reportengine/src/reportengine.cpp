#include "lrreportengine.h"

#include "datasourcemanager.h"
#include "pdfpagestream.h"
#include "reportrenderer.h"
#include "templatereader.h"

#include <QFile>
#include <QFileInfo>

namespace LimeReport {

class ReportEnginePrivate
{
public:
    template <typename Text> bool load(const Text& xml, bool requireReportRoot);
    ReportPages render(const ReportEngine::PageHandler& onPage,
                       const std::function<bool()>& keepGoing, bool keepPages);

    DataSourceManager data;
    std::unique_ptr<ReportTemplate> report;
    QString lastError;
    bool busy = false;
    ReportEngine::PageHandler laidOut;
    ReportEngine::WriteHandler written;
    std::function<bool()> keepGoing;
    ReportOutline outline;
    PdfMetadata pdfMetadata;
    ReportEngine* q = nullptr;
};

template <typename Text> bool ReportEnginePrivate::load(const Text& xml, bool requireReportRoot)
{
    report.reset();
    TemplateReader reader;
    report = reader.read(xml, requireReportRoot);
    lastError = reader.error();
    return report != nullptr;
}

ReportEngine::ReportEngine(QObject* parent)
    : QObject(parent), d(std::make_unique<ReportEnginePrivate>())
{
    d->q = this;
}

ReportEngine::~ReportEngine() = default;

bool ReportEngine::loadFromFile(const QString& fileName, bool)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        d->report.reset();
        d->lastError = QStringLiteral("File %1 not opened: %2").arg(fileName, file.errorString());
        return false;
    }
    const bool ok = d->load(file.readAll(), true);
    emit loadFinished();
    return ok;
}

bool ReportEngine::loadFromString(const QString& xml, const QString&)
{
    const bool ok = d->load(xml, false);
    emit loadFinished();
    return ok;
}

bool ReportEngine::loadFromByteArray(QByteArray* data, const QString&)
{
    const bool ok = data && d->load(*data, false);
    if (!data)
        d->lastError = QStringLiteral("Wrong file format: no data");
    emit loadFinished();
    return ok;
}

QString ReportEngine::lastError() const
{
    return d->lastError;
}

IDataSourceManager* ReportEngine::dataManager() const
{
    return &d->data;
}

ReportPages ReportEngine::renderPages()
{
    return renderPages(PageHandler(), std::function<bool()>());
}

ReportPages ReportEngine::renderPages(const PageHandler& onPage,
                                      const std::function<bool()>& keepGoing)
{
    return d->render(onPage, keepGoing, true);
}

void ReportEngine::renderPagesTo(const PageHandler& onPage, const std::function<bool()>& keepGoing)
{
    d->render(onPage, keepGoing, false);
}

ReportPages ReportEnginePrivate::render(const ReportEngine::PageHandler& onPage,
                                        const std::function<bool()>& keepGoing, bool keepPages)
{
    if (busy || !report)
        return ReportPages();
    busy = true;
    emit q->renderStarted();
    outline.clear();
    ReportRenderer renderer(*report, data);
    renderer.setOutlineSink(&outline);
    renderer.setKeepPages(keepPages);
    ReportPages pages = renderer.render(onPage, keepGoing);
    busy = false;
    emit q->renderFinished();
    return pages;
}

bool ReportEngine::isBusy() const
{
    return d->busy;
}

ReportOutline ReportEngine::outline() const
{
    return d->outline;
}

void ReportEngine::setPdfMetadata(const PdfMetadata& metadata)
{
    d->pdfMetadata = metadata;
}

PdfMetadata ReportEngine::pdfMetadata() const
{
    return d->pdfMetadata;
}

bool ReportEngine::printToPDF(const QString& fileName)
{
    QString target = fileName;
    if (target.isEmpty()) {
        d->lastError = QStringLiteral("No file name given");
        return false;
    }
    if (QFileInfo(target).suffix().isEmpty())
        target += QLatin1String(".pdf");
    // Pages go into the file as they are laid out, and are let go once written.
    PdfPageStream stream(target);
    QFileDevice::FileError error = QFileDevice::NoError;
    QString errorText;
    if (!stream.open(&error, &errorText)) {
        d->lastError = QStringLiteral("Cannot write %1: %2").arg(target, errorText);
        return false;
    }
    const PageHandler laidOut = d->laidOut;
    const std::function<bool()> keepGoing = d->keepGoing;
    // A file that can no longer be written (a full disk) ends the layout at once.
    d->render(
        [&](int index, const RenderedPage& page) {
            stream.take(index, page);
            if (laidOut)
                laidOut(index, page);
        },
        [&] { return !stream.failed() && (!keepGoing || keepGoing()); }, false);
    const bool stopped = d->keepGoing && !d->keepGoing();
    if (stopped || stream.pageCount() == 0) {
        d->lastError = !d->report ? QStringLiteral("No template is loaded")
                       : stopped  ? QStringLiteral("Stopped")
                                  : QStringLiteral("The report has no pages");
        return false;
    }
    if (!stream.finish({d->pdfMetadata, d->outline}, &error, &errorText)) {
        d->lastError = QStringLiteral("Cannot write %1: %2").arg(target, errorText);
        return false;
    }
    if (d->written)
        d->written(stream.pageCount() - 1, stream.pageCount());
    emit printedToPDF(target);
    return true;
}

void ReportEngine::setProgressHandlers(const PageHandler& laidOut, const WriteHandler& written,
                                       const std::function<bool()>& keepGoing)
{
    d->laidOut = laidOut;
    d->written = written;
    d->keepGoing = keepGoing;
}

} // namespace LimeReport
