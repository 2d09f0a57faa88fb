#include "lrreportengine.h"

#include "datasourcemanager.h"
#include "pageprinter.h"
#include "reportrenderer.h"
#include "templatereader.h"

#include <QFile>
#include <QFileInfo>

namespace LimeReport {

class ReportEnginePrivate
{
public:
    template <typename Text> bool load(const Text& xml, bool requireReportRoot);

    DataSourceManager data;
    std::unique_ptr<ReportTemplate> report;
    QString lastError;
    bool busy = false;
    ReportEngine::PageHandler laidOut;
    ReportEngine::WriteHandler written;
    std::function<bool()> keepGoing;
    ReportOutline outline;
    PdfMetadata pdfMetadata;
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
    if (d->busy || !d->report)
        return ReportPages();
    d->busy = true;
    emit renderStarted();
    d->outline.clear();
    ReportRenderer renderer(*d->report, d->data);
    renderer.setOutlineSink(&d->outline);
    ReportPages pages = renderer.render(onPage, keepGoing);
    d->busy = false;
    emit renderFinished();
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
    const ReportPages pages = renderPages(d->laidOut, d->keepGoing);
    if (pages.isEmpty()) {
        d->lastError = !d->report ? QStringLiteral("No template is loaded")
                       : d->keepGoing && !d->keepGoing()
                           ? QStringLiteral("Stopped")
                           : QStringLiteral("The report has no pages");
        return false;
    }
    QFileDevice::FileError error = QFileDevice::NoError;
    QString errorText;
    if (!PagePrinter::writePdf(pages, target, &error, &errorText, d->written, d->keepGoing,
                               {d->pdfMetadata, d->outline})) {
        d->lastError = d->keepGoing && !d->keepGoing()
                           ? QStringLiteral("Stopped")
                           : QStringLiteral("Cannot write %1: %2").arg(target, errorText);
        return false;
    }
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
