#ifndef PAGEPRINTER_H
#define PAGEPRINTER_H

#include "lrrenderedpage.h"
#include "pdfwriter.h"

#include <QFileDevice>

#include <functional>

class QPagedPaintDevice;

namespace LimeReport {

// Puts rendered pages on a paged device or into a PDF file at 1:1, each sheet exactly
// the page's own size and without margins.
class PagePrinter
{
public:
    // Page units are 0.1 mm, so 254 dots per inch make one device dot per unit.
    static const int unitsPerInch = 254;

    // Writes the PDF beside fileName and renames it into place only once it is whole
    // and flushed: on failure, or when the program is killed meanwhile, a file of that
    // name is left as it was. The failure's kind and the system's text come back.
    // Told after each page (index, count); asked before each whether to go on.
    using Written = std::function<void(int index, int count)>;
    using Continuation = std::function<bool()>;

    // The document's outline and information, when given, go in as well.
    static bool writePdf(const ReportPages& pages, const QString& fileName,
                         QFileDevice::FileError* error, QString* errorText,
                         const Written& written = {}, const Continuation& keepGoing = {},
                         const PdfDocument& document = {});
    // The pages are asked for one at a time, by index, as they are painted.
    using PageAt = std::function<RenderedPage(int index)>;
    static bool paintAll(int count, const PageAt& pageAt, QPagedPaintDevice* device,
                         qreal dotsPerUnit);
};

} // namespace LimeReport

#endif // PAGEPRINTER_H
