#ifndef PDFPAGESTREAM_H
#define PDFPAGESTREAM_H

#include "lrrenderedpage.h"
#include "pdfwriter.h"

#include <QFileDevice>
#include <QSaveFile>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace LimeReport {

class FailureKeepingDevice;

// Writes a PDF file from pages handed over one by one, on a thread of its own: the
// next pages are laid out while the last ones are written, and a page is let go as
// soon as it is. The file is written beside its name and renamed into place only
// when it is whole; without finish(), or on any failure, a file of that name is left
// as it was.
class PdfPageStream
{
public:
    explicit PdfPageStream(const QString& fileName);
    ~PdfPageStream();

    bool open(QFileDevice::FileError* error, QString* errorText);
    // A page as the renderer hands it over: once laid out, and once more if its pending
    // ranges were written again at the end. Waits while many pages are still unwritten.
    void take(int index, const RenderedPage& page);
    int pageCount() const { return m_pages; }
    // Whether writing has failed already (a full disk): pages given from then on are
    // not written, and finish() tells why.
    bool failed() const { return m_failed; }
    // Writes what is left and the file's tables once every page given is written;
    // false, with the kind of failure and the system's text, when the file could not
    // be written whole. No page may follow.
    bool finish(const PdfDocument& document, QFileDevice::FileError* error, QString* errorText);

private:
    struct Task
    {
        int index = 0;
        RenderedPage page;
    };

    void run();
    void stop();

    QSaveFile m_file;
    std::unique_ptr<FailureKeepingDevice> m_device;
    std::unique_ptr<PdfWriter> m_writer;
    int m_pages = 0;
    // Given by finish(): the thread then writes the rest of the file and ends.
    std::unique_ptr<PdfDocument> m_document;

    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Task> m_queue;
    bool m_closing = false;
    std::atomic<bool> m_failed{false};
};

} // namespace LimeReport

#endif // PDFPAGESTREAM_H
