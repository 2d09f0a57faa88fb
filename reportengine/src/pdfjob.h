#ifndef PDFJOB_H
#define PDFJOB_H

#include "lrpackedpages.h"
#include "pdfwriter.h"

#include <QFileDevice>
#include <QObject>

#include <memory>

class QThread;

namespace LimeReport {

// Writes pages to a PDF file away from the thread that asked, so that a window
// showing them stays live however long the report is. The packed pages are shared
// with the caller, not copied, and unpacked one at a time as they are written.
class PdfJob : public QObject
{
    Q_OBJECT
public:
    PdfJob(const PackedPages& pages, const QString& fileName, const PdfDocument& document,
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
    PackedPages m_pages;
    QString m_fileName;
    PdfDocument m_document;
    std::unique_ptr<QThread> m_thread;
    bool m_written = false;
    QFileDevice::FileError m_error = QFileDevice::NoError;
    QString m_errorText;
};

} // namespace LimeReport

#endif // PDFJOB_H
