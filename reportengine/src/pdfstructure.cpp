#include "pdfstructure.h"

#include <QList>

#include <algorithm>

namespace LimeReport {

// Readers look for the last "startxref" within the file's last kilobyte.
static const int tailLength = 1024;
// A page tree nests far less than this; deeper is a loop or a broken file.
static const int maximumTreeDepth = 64;
static const int maximumRevisions = 256;

bool PdfStructure::fail(const QString& error)
{
    m_error = error;
    return false;
}

bool PdfStructure::read(const QByteArray& pdf)
{
    m_pdf = &pdf;
    m_offsets.clear();
    m_pages.clear();
    m_pageTops.clear();
    m_error.clear();
    const int mark = pdf.lastIndexOf("startxref");
    if (mark < 0 || mark < pdf.size() - tailLength)
        return fail(QStringLiteral("no startxref at the end of the PDF"));
    int pos = mark + int(qstrlen("startxref"));
    if (!PdfSyntax::readInteger(pdf, &pos, &m_xrefOffset) || m_xrefOffset >= pdf.size())
        return fail(QStringLiteral("the startxref offset is not in the PDF"));
    if (!readXref(m_xrefOffset, &m_trailer))
        return false;
    // Earlier revisions: an object is as the latest table that lists it says.
    PdfSyntax::Dictionary trailer = m_trailer;
    for (int revision = 0; revision < maximumRevisions; ++revision) {
        const QByteArray previous = PdfSyntax::value(trailer, "Prev");
        if (previous.isEmpty())
            break;
        PdfSyntax::Dictionary older;
        int at = 0;
        qint64 offset = 0;
        if (!PdfSyntax::readInteger(previous, &at, &offset) || offset >= pdf.size() ||
            !readXref(offset, &older))
            return fail(QStringLiteral("an earlier cross-reference table cannot be read"));
        trailer = older;
    }
    m_size = PdfSyntax::value(m_trailer, "Size").toInt();
    m_root = PdfSyntax::reference(PdfSyntax::value(m_trailer, "Root"));
    m_info = PdfSyntax::reference(PdfSyntax::value(m_trailer, "Info"));
    if (m_size <= 0 || m_root < 0)
        return fail(QStringLiteral("the trailer names no size or no catalog"));
    if (!readObjectDictionary(m_root, &m_catalog))
        return fail(QStringLiteral("the catalog cannot be read"));
    if (m_info >= 0 && !readObjectDictionary(m_info, &m_infoDictionary))
        m_info = -1;
    const int pageRoot = PdfSyntax::reference(PdfSyntax::value(m_catalog, "Pages"));
    if (pageRoot < 0 || !collectPages(pageRoot, 0, QByteArray()))
        return fail(QStringLiteral("the page tree cannot be read"));
    return true;
}

bool PdfStructure::readXref(qint64 offset, PdfSyntax::Dictionary* trailer)
{
    const QByteArray& pdf = *m_pdf;
    int pos = PdfSyntax::skipWhite(pdf, int(offset));
    if (pdf.mid(pos, 4) != "xref")
        return fail(QStringLiteral("no cross-reference table where startxref points"));
    pos += 4;
    for (;;) {
        pos = PdfSyntax::skipWhite(pdf, pos);
        if (pdf.mid(pos, 7) == "trailer")
            break;
        qint64 first = 0;
        qint64 count = 0;
        if (!PdfSyntax::readInteger(pdf, &pos, &first) ||
            !PdfSyntax::readInteger(pdf, &pos, &count))
            return fail(QStringLiteral("a cross-reference section cannot be read"));
        for (qint64 i = 0; i < count; ++i) {
            qint64 objectOffset = 0;
            qint64 generation = 0;
            if (!PdfSyntax::readInteger(pdf, &pos, &objectOffset) ||
                !PdfSyntax::readInteger(pdf, &pos, &generation))
                return fail(QStringLiteral("a cross-reference entry cannot be read"));
            pos = PdfSyntax::skipWhite(pdf, pos);
            if (pos >= pdf.size() || (pdf.at(pos) != 'n' && pdf.at(pos) != 'f'))
                return fail(QStringLiteral("a cross-reference entry cannot be read"));
            const int number = int(first + i);
            // A later table has the say: it was read first.
            if (pdf.at(pos) == 'n' && !m_offsets.contains(number))
                m_offsets.insert(number, objectOffset);
            ++pos;
        }
    }
    if (!PdfSyntax::readDictionary(pdf, pos + 7, trailer))
        return fail(QStringLiteral("the trailer cannot be read"));
    return true;
}

bool PdfStructure::readObjectDictionary(int number, PdfSyntax::Dictionary* dictionary) const
{
    const QByteArray& pdf = *m_pdf;
    const qint64 offset = m_offsets.value(number, -1);
    if (offset < 0 || offset >= pdf.size())
        return false;
    int pos = int(offset);
    qint64 found = 0;
    qint64 generation = 0;
    if (!PdfSyntax::readInteger(pdf, &pos, &found) || found != number ||
        !PdfSyntax::readInteger(pdf, &pos, &generation))
        return false;
    pos = PdfSyntax::skipWhite(pdf, pos);
    if (pdf.mid(pos, 3) != "obj")
        return false;
    return PdfSyntax::readDictionary(pdf, pos + 3, dictionary);
}

// The upper edge of a media box "[x0 y0 x1 y1]"; -1 when it is none.
static qreal topOf(const QByteArray& mediaBox)
{
    const QByteArray inner = mediaBox.trimmed();
    if (!inner.startsWith('[') || !inner.endsWith(']'))
        return -1;
    const QList<QByteArray> numbers = inner.mid(1, inner.size() - 2).simplified().split(' ');
    bool ok = false;
    const qreal y0 = numbers.value(1).toDouble(&ok);
    if (numbers.size() != 4 || !ok)
        return -1;
    const qreal y1 = numbers.at(3).toDouble(&ok);
    return ok ? std::max(y0, y1) : -1;
}

bool PdfStructure::collectPages(int node, int depth, const QByteArray& inheritedMediaBox)
{
    if (depth > maximumTreeDepth)
        return false;
    PdfSyntax::Dictionary dictionary;
    if (!readObjectDictionary(node, &dictionary))
        return false;
    QByteArray mediaBox = PdfSyntax::value(dictionary, "MediaBox");
    if (mediaBox.isEmpty())
        mediaBox = inheritedMediaBox;
    const QByteArray type = PdfSyntax::value(dictionary, "Type");
    if (type == "/Page") {
        m_pages << node;
        m_pageTops << topOf(mediaBox);
        return true;
    }
    if (type != "/Pages")
        return false;
    for (int kid : PdfSyntax::references(PdfSyntax::value(dictionary, "Kids"))) {
        if (!collectPages(kid, depth + 1, mediaBox))
            return false;
    }
    return true;
}

} // namespace LimeReport
