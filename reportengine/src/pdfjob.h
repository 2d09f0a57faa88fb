#ifndef PDFJOB_H
#define PDFJOB_H

#include "lrrenderedpage.h"
#include "pdfwriter.h"

#include <QFileDevice>
#include <QObject>

#include <memory>

class QThread;

namespace LimeReport {

// Writes pages to a PDF file away from the thread that asked, so that a window
// showing them stays live however long the report is. The pages are shared with
// the caller, not copied, and stay as they are while the job runs.
class PdfJob : public QObject
{
    Q_OBJECT
public:
    PdfJob(const ReportPages& pages, const QString& fileName, const PdfDocument& document,
           QObject* parent = nullptr);
    // Waits for the file: a job that is let go while writing still leaves a whole
    // file or none.
    ~PdfJob() override;

    void start();
    QString fileName() const { return m_fileName; }

signals:
    // In the thread the job belongs to.
    void finished(bool written, QFileDevice::FileError error, const QString& errorText);

private:
    ReportPages m_pages;
    QString m_fileName;
    PdfDocument m_document;
    std::unique_ptr<QThread> m_thread;
    bool m_written = false;
    QFileDevice::FileError m_error = QFileDevice::NoError;
    QString m_errorText;
};

} // namespace LimeReport

#endif // PDFJOB_H
