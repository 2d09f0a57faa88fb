#include "pageprinter.h"

#include "pagepainter.h"
#include "pdfwriter.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QSaveFile>

namespace LimeReport {

static QPageLayout layoutFor(const RenderedPage& page)
{
    const QSizeF mm = page.size() / 10.0;
    const bool landscape = mm.width() > mm.height();
    const QPageSize size(landscape ? mm.transposed() : mm, QPageSize::Millimeter, QString(),
                         QPageSize::ExactMatch);
    return QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(), QPageLayout::Millimeter);
}

bool PagePrinter::paintAll(const ReportPages& pages, QPagedPaintDevice* device, qreal dotsPerUnit,
                           const Written& written, const Continuation& keepGoing)
{
    if (pages.isEmpty())
        return false;
    device->setPageLayout(layoutFor(pages.first()));
    QPainter painter;
    if (!painter.begin(device))
        return false;
    for (int i = 0; i < pages.size(); ++i) {
        if (keepGoing && !keepGoing()) {
            painter.end();
            return false;
        }
        if (i > 0) {
            device->setPageLayout(layoutFor(pages.at(i)));
            device->newPage();
        }
        painter.resetTransform();
        painter.scale(dotsPerUnit, dotsPerUnit);
        PagePainter::paint(&painter, pages.at(i));
        if (written)
            written(i, pages.size());
    }
    return painter.end();
}

namespace {

// Passes the PDF on to its file and keeps the first failure. The PDF writer looks at
// no write's result, and the file's own error is reset by every later seek or flush.
class FailureKeepingDevice : public QIODevice
{
public:
    explicit FailureKeepingDevice(QFileDevice* file) : m_file(file) { open(QIODevice::WriteOnly); }

    bool failed() const { return m_error != QFileDevice::NoError; }
    QFileDevice::FileError error() const { return m_error; }
    QString errorText() const { return m_errorText; }

    // Writes out what the file still holds; false once anything failed.
    bool flushFile()
    {
        if (!failed() && !m_file->flush())
            keepFailure();
        return !failed();
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override
    {
        if (failed())
            return -1;
        for (qint64 done = 0; done < length;) {
            const qint64 written = m_file->write(data + done, length - done);
            if (written <= 0) {
                keepFailure();
                return -1;
            }
            done += written;
        }
        return length;
    }

private:
    void keepFailure()
    {
        // A write that fills the disk is taken in part and fails without a cause; what
        // is left, tried once more, fails with it.
        m_file->flush();
        m_error =
            m_file->error() == QFileDevice::NoError ? QFileDevice::WriteError : m_file->error();
        m_errorText = m_file->errorString();
    }

    QFileDevice* m_file;
    QFileDevice::FileError m_error = QFileDevice::NoError;
    QString m_errorText;
};

} // namespace

bool PagePrinter::writePdf(const ReportPages& pages, const QString& fileName,
                           QFileDevice::FileError* error, QString* errorText,
                           const Written& written, const Continuation& keepGoing,
                           const PdfDocument& document)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.error();
        *errorText = file.errorString();
        return false;
    }
    FailureKeepingDevice device(&file);
    bool painted = !pages.isEmpty();
    {
        PdfWriter writer(&device);
        for (int i = 0; painted && i < pages.size() && !device.failed(); ++i) {
            if (keepGoing && !keepGoing()) {
                painted = false;
                break;
            }
            writer.addPage(pages.at(i));
            if (written)
                written(i, pages.size());
        }
        if (painted)
            writer.finish(document);
    }
    if (!device.flushFile()) {
        *error = device.error();
        *errorText = device.errorText();
        return false;
    }
    if (!painted) {
        *error = QFileDevice::WriteError;
        *errorText = QStringLiteral("The pages could not be painted");
        return false;
    }
    if (!file.commit()) {
        *error = file.error() == QFileDevice::NoError ? QFileDevice::WriteError : file.error();
        *errorText = file.errorString();
        return false;
    }
    return true;
}

} // namespace LimeReport
