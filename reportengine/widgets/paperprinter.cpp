#include "paperprinter.h"

#include "pageprinter.h"

#include <QPrinter>

namespace LimeReport {

bool PaperPrinter::print(const ReportPages& pages, QPrinter* printer)
{
    printer->setFullPage(true);
    return PagePrinter::paintAll(pages, printer,
                                 printer->resolution() / qreal(PagePrinter::unitsPerInch));
}

} // namespace LimeReport
