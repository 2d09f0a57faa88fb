#include "pdfjob.h"

#include "pdfpagestream.h"

#include <QThread>

namespace LimeReport {

PdfJob::PdfJob(const PackedPages& pages, const QString& fileName, const PdfDocument& document,
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
        PdfPageStream stream(m_fileName);
        if (!stream.open(&m_error, &m_errorText))
            return;
        for (int i = 0; i < m_pages.size(); ++i)
            stream.take(i, m_pages.at(i));
        m_written = stream.finish(m_document, &m_error, &m_errorText);
    }));
    // The thread's end is told in this object's thread, where the results are read.
    connect(m_thread.get(), &QThread::finished, this,
            [this] { emit finished(m_written, m_error, m_errorText); });
    m_thread->start();
}

} // namespace LimeReport
