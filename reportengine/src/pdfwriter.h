#ifndef PDFWRITER_H
#define PDFWRITER_H

#include "lroutline.h"
#include "lrpdfmetadata.h"
#include "lrrenderedpage.h"
#include "pdffile.h"
#include "pdfresources.h"
#include "shapedlines.h"

class QIODevice;

namespace LimeReport {

// What a PDF carries beside its pages.
struct PdfDocument
{
    PdfMetadata metadata;
    ReportOutline outline;
};

// Writes rendered pages as a PDF, each page as soon as it is given, so that a
// report of any length goes out without its pages being kept: only the fonts'
// used glyphs and a number per page stay until the end. A page is drawn as the page
// painter draws it, sheet for sheet the page's own size.
class PdfWriter
{
public:
    explicit PdfWriter(QIODevice* device);

    // A page's pending ranges are left to forms, which completePage() writes.
    void addPage(const RenderedPage& page);
    // The page of that index once more, final: what its pending ranges show now.
    void completePage(int index, const RenderedPage& page);
    int pageCount() const { return m_pages.size(); }
    // Writes the fonts, the page tree, the outline and the document information,
    // and the file's tables; no page may follow.
    void finish(const PdfDocument& document);

private:
    struct Page
    {
        int object = 0;
        qreal height = 0;   // in points
        QVector<int> forms; // not yet written
    };

    void writeForm(int object, const QSizeF& size, const QByteArray& operators);
    int writeOutline(const ReportOutline& outline);
    QByteArray destination(const Page& page, qreal y) const;

    PdfFile m_file;
    PdfResources m_resources;
    ShapedLines m_shapes;
    int m_pageTree;
    QVector<Page> m_pages;
};

} // namespace LimeReport

#endif // PDFWRITER_H
