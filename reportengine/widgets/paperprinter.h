#ifndef PAPERPRINTER_H
#define PAPERPRINTER_H

#include "lrrenderedpage.h"

class QPrinter;

namespace LimeReport {

// Puts rendered pages on a printer at 1:1, each sheet exactly the page's own size
// and without the printer's margins.
class PaperPrinter
{
public:
    static bool print(const ReportPages& pages, QPrinter* printer);
};

} // namespace LimeReport

#endif // PAPERPRINTER_H
