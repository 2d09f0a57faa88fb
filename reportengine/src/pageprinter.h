#ifndef PAGEPRINTER_H
#define PAGEPRINTER_H

#include "lrrenderedpage.h"

class QPagedPaintDevice;

namespace LimeReport {

// Puts rendered pages on a paged device or into a PDF file at 1:1, each sheet exactly
// the page's own size and without margins.
class PagePrinter
{
public:
    // Page units are 0.1 mm, so 254 dots per inch make one device dot per unit.
    static const int unitsPerInch = 254;

    static bool writePdf(const ReportPages& pages, const QString& fileName);
    static bool paintAll(const ReportPages& pages, QPagedPaintDevice* device, qreal dotsPerUnit);
};

} // namespace LimeReport

#endif // PAGEPRINTER_H
