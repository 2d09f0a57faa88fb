#ifndef PAPERPRINTER_H
#define PAPERPRINTER_H

#include "lrpackedpages.h"
#include "lrrenderedpage.h"

class QPrinter;

namespace LimeReport {

// Puts rendered pages on a printer at 1:1, each sheet exactly the page's own size
// and without the printer's margins: the pages the printer's range asks for (the
// current one being currentPage, from 1), as many copies as it asks for, collated
// or not, unless the printing system makes the copies itself.
class PaperPrinter
{
public:
    static bool print(const ReportPages& pages, QPrinter* printer, int currentPage = 0);
    static bool print(const PackedPages& pages, QPrinter* printer, int currentPage = 0);
    // The indexes of the pages to print, in printing order.
    static QVector<int> sheetOrder(int pageCount, const QPrinter& printer, int currentPage);
};

} // namespace LimeReport

#endif // PAPERPRINTER_H
