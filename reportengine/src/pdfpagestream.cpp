#include "pdfpagestream.h"

namespace LimeReport {

namespace {

// Pages laid out but not yet written; enough to keep the writer busy, few enough
// that memory does not follow the report's length.
const size_t pagesQueued = 16;

} // namespace

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

PdfPageStream::PdfPageStream(const QString& fileName) : m_file(fileName) {}

PdfPageStream::~PdfPageStream()
{
    stop();
}

bool PdfPageStream::open(QFileDevice::FileError* error, QString* errorText)
{
    if (!m_file.open(QIODevice::WriteOnly)) {
        *error = m_file.error();
        *errorText = m_file.errorString();
        return false;
    }
    m_device = std::make_unique<FailureKeepingDevice>(&m_file);
    m_writer = std::make_unique<PdfWriter>(m_device.get());
    m_thread = std::thread([this] { run(); });
    return true;
}

void PdfPageStream::take(int index, const RenderedPage& page)
{
    if (!m_thread.joinable())
        return;
    m_pages = std::max(m_pages, index + 1);
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queue.size() < pagesQueued; });
    m_queue.push_back(Task{index, page});
    m_changed.notify_all();
}

// Pages come in order, each once laid out; a page seen before comes final. The
// fonts a writer finds belong to the thread that found them, so the file is finished
// on this thread too.
void PdfPageStream::run()
{
    for (;;) {
        Task task;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_changed.wait(lock, [this] { return m_closing || !m_queue.empty(); });
            if (m_queue.empty()) {
                if (m_document && !m_device->failed() && m_writer->pageCount() > 0)
                    m_writer->finish(*m_document);
                m_writer.reset();
                return;
            }
            task = std::move(m_queue.front());
            m_queue.pop_front();
            m_changed.notify_all();
        }
        if (m_device->failed())
            continue;
        if (task.index < m_writer->pageCount())
            m_writer->completePage(task.index, task.page);
        else
            m_writer->addPage(task.page);
        m_failed = m_device->failed();
    }
}

void PdfPageStream::stop()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_closing = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

bool PdfPageStream::finish(const PdfDocument& document, QFileDevice::FileError* error,
                           QString* errorText)
{
    if (!m_thread.joinable())
        return false;
    const bool empty = m_pages == 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_document = std::make_unique<PdfDocument>(document);
    }
    stop();
    if (empty) {
        *error = QFileDevice::WriteError;
        *errorText = QStringLiteral("The report has no pages");
        return false;
    }
    if (!m_device->flushFile()) {
        *error = m_device->error();
        *errorText = m_device->errorText();
        return false;
    }
    if (!m_file.commit()) {
        *error = m_file.error() == QFileDevice::NoError ? QFileDevice::WriteError : m_file.error();
        *errorText = m_file.errorString();
        return false;
    }
    return true;
}

} // namespace LimeReport
