#include "pdffile.h"

#include <QIODevice>

namespace LimeReport {

namespace {

// Streams of text compress well at a low level already; higher ones cost much
// time for a few per cent of the file.
const int compressionLevel = 3;

const int bufferSize = 1 << 16;

} // namespace

PdfFile::PdfFile(QIODevice* device) : m_device(device)
{
    m_buffer.reserve(bufferSize);
    // The second line's high bytes tell transfer programs that the file is binary.
    put("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
}

PdfFile::~PdfFile()
{
    flush();
}

QByteArray PdfFile::reference(int number)
{
    return QByteArray::number(number) + " 0 R";
}

int PdfFile::reserve()
{
    m_offsets << -1;
    return m_offsets.size() - 1;
}

void PdfFile::object(int number, const QByteArray& body)
{
    m_offsets[number] = m_written + m_buffer.size();
    put(QByteArray::number(number) + " 0 obj\n");
    put(body);
    put("\nendobj\n");
}

void PdfFile::stream(int number, const QByteArray& entries, const QByteArray& data, bool compress)
{
    m_offsets[number] = m_written + m_buffer.size();
    // qCompress puts the length in front of the zlib stream a PDF filter reads.
    const QByteArray packed = compress ? qCompress(data, compressionLevel) : QByteArray();
    const char* bytes = compress ? packed.constData() + 4 : data.constData();
    const int size = compress ? packed.size() - 4 : data.size();
    put(QByteArray::number(number) + " 0 obj\n<<" + entries + " /Length " +
        QByteArray::number(size) + (compress ? " /Filter /FlateDecode" : "") + ">>\nstream\n");
    put(bytes, size);
    put("\nendstream\nendobj\n");
}

void PdfFile::finish(int root, int info)
{
    const qint64 xref = m_written + m_buffer.size();
    put("xref\n0 " + QByteArray::number(m_offsets.size()) + "\n0000000000 65535 f\r\n");
    for (int i = 1; i < m_offsets.size(); ++i)
        put(QByteArray::number(m_offsets.at(i)).rightJustified(10, '0') + " 00000 n\r\n");
    put("trailer\n<< /Size " + QByteArray::number(m_offsets.size()) + " /Root " + reference(root) +
        " /Info " + reference(info) + " >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n");
    flush();
}

void PdfFile::put(const char* data, int size)
{
    if (m_buffer.size() + size > bufferSize)
        flush();
    if (size > bufferSize) {
        m_device->write(data, size);
        m_written += size;
        return;
    }
    m_buffer.append(data, size);
}

void PdfFile::flush()
{
    if (m_buffer.isEmpty())
        return;
    m_device->write(m_buffer);
    m_written += m_buffer.size();
    m_buffer.resize(0); // keeps the reserved room
}

} // namespace LimeReport
