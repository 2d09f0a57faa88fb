#ifndef PDFUPDATE_H
#define PDFUPDATE_H

#include "lroutline.h"
#include "lrpdfmetadata.h"
#include "lrrenderedpage.h"

#include <QByteArray>
#include <QString>

namespace LimeReport {

// What a PDF carries beside its pages.
struct PdfDocument
{
    PdfMetadata metadata;
    ReportOutline outline;

    bool isEmpty() const { return metadata.isEmpty() && outline.isEmpty(); }
};

// The PDF writer in use can give a document neither bookmarks nor its own producer.
// Both come in a revision appended to the finished file, as any PDF may be updated:
// the catalog again with the outline and opening it, new document information and a
// cross-reference section for these that points back to the original one.
class PdfUpdate
{
public:
    // The bytes to append to pdf, whose pages are these; empty, with the reason in
    // error, when the file is not as expected.
    static QByteArray build(const QByteArray& pdf, const ReportPages& pages,
                            const PdfDocument& document, QString* error);
};

} // namespace LimeReport

#endif // PDFUPDATE_H
