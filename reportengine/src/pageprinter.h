#ifndef PAGEPRINTER_H
#define PAGEPRINTER_H

#include "lrrenderedpage.h"

class QPagedPaintDevice;
class QPrinter;

namespace LimeReport {

// Puts rendered pages on paper or into a PDF file at 1:1, each sheet exactly the
// page's own size and without printer margins.
class PagePrinter
{
public:
    static bool print(const ReportPages& pages, QPrinter* printer);
    static bool writePdf(const ReportPages& pages, const QString& fileName);

private:
    static bool paintAll(const ReportPages& pages, QPagedPaintDevice* device, qreal dotsPerUnit);
};

} // namespace LimeReport

#endif // PAGEPRINTER_H
