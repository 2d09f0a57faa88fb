#ifndef PAGEPRINTER_H
#define PAGEPRINTER_H

#include "lrrenderedpage.h"

#include <QFileDevice>

class QPagedPaintDevice;
class QPrinter;

namespace LimeReport {

// Puts rendered pages on paper or into a PDF file at 1:1, each sheet exactly the
// page's own size and without printer margins.
class PagePrinter
{
public:
    static bool print(const ReportPages& pages, QPrinter* printer);
    // Writes the PDF beside fileName and renames it into place only once it is whole
    // and flushed: on failure, or when the program is killed meanwhile, a file of that
    // name is left as it was. The failure's kind and the system's text come back.
    static bool writePdf(const ReportPages& pages, const QString& fileName,
                         QFileDevice::FileError* error, QString* errorText);

private:
    static bool paintAll(const ReportPages& pages, QPagedPaintDevice* device, qreal dotsPerUnit);
};

} // namespace LimeReport

#endif // PAGEPRINTER_H
