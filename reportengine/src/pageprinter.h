#ifndef PAGEPRINTER_H
#define PAGEPRINTER_H

#include "lrrenderedpage.h"

#include <functional>

class QPagedPaintDevice;
class QPrinter;

namespace LimeReport {

// Puts rendered pages on paper or into a PDF file at 1:1, each sheet exactly the
// page's own size and without printer margins.
class PagePrinter
{
public:
    // Told after each page (index, count); asked before each whether to go on.
    using Written = std::function<void(int index, int count)>;
    using Continuation = std::function<bool()>;

    static bool print(const ReportPages& pages, QPrinter* printer, const Written& written = {},
                      const Continuation& keepGoing = {});
    static bool writePdf(const ReportPages& pages, const QString& fileName,
                         const Written& written = {}, const Continuation& keepGoing = {});

private:
    static bool paintAll(const ReportPages& pages, QPagedPaintDevice* device, qreal dotsPerUnit,
                         const Written& written, const Continuation& keepGoing);
};

} // namespace LimeReport

#endif // PAGEPRINTER_H
