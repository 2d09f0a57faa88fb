#ifndef PDFFILE_H
#define PDFFILE_H

#include <QByteArray>
#include <QVector>

class QIODevice;

namespace LimeReport {

// The object layer of a PDF file written front to back: numbered objects and
// streams as they come, then the cross-reference table and trailer. Objects may be
// numbered before they are written, so that a page can point to fonts that are
// written once the last page has used them.
class PdfFile
{
public:
    explicit PdfFile(QIODevice* device);
    ~PdfFile();

    int reserve();
    void object(int number, const QByteArray& body);
    // A stream object; entries go into its dictionary beside its length.
    void stream(int number, const QByteArray& entries, const QByteArray& data,
                bool compress = true);
    // Writes the cross-reference table and the trailer; every reserved object must
    // have been written.
    void finish(int root, int info);

    static QByteArray reference(int number);

private:
    void put(const char* data, int size);
    void put(const QByteArray& data) { put(data.constData(), data.size()); }
    void flush();

    QIODevice* m_device;
    QByteArray m_buffer;
    qint64 m_written = 0;
    QVector<qint64> m_offsets{0};
};

} // namespace LimeReport

#endif // PDFFILE_H
