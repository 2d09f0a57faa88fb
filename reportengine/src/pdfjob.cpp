#include "pdfjob.h"

#include "pageprinter.h"

#include <QThread>

namespace LimeReport {

PdfJob::PdfJob(const ReportPages& pages, const QString& fileName, const PdfDocument& document,
               QObject* parent)
    : QObject(parent), m_pages(pages), m_fileName(fileName), m_document(document)
{
}

PdfJob::~PdfJob()
{
    if (m_thread)
        m_thread->wait();
}

void PdfJob::start()
{
    if (m_thread)
        return;
    m_thread.reset(QThread::create([this] {
        m_written =
            PagePrinter::writePdf(m_pages, m_fileName, &m_error, &m_errorText, {}, {}, m_document);
    }));
    // The thread's end is told in this object's thread, where the results are read.
    connect(m_thread.get(), &QThread::finished, this,
            [this] { emit finished(m_written, m_error, m_errorText); });
    m_thread->start();
}

} // namespace LimeReport
