#include "paperprinter.h"

#include "pageprinter.h"

#include <QPrinter>

#include <algorithm>

namespace LimeReport {

QVector<int> PaperPrinter::sheetOrder(int pageCount, const QPrinter& printer, int currentPage)
{
    int first = 1;
    int last = pageCount;
    if (printer.printRange() == QPrinter::PageRange) {
        // A range reaching past the end stops at the last page; 0 leaves its end open.
        first = std::max(1, printer.fromPage());
        if (printer.toPage() > 0)
            last = std::min(pageCount, printer.toPage());
    } else if (printer.printRange() == QPrinter::CurrentPage && currentPage > 0) {
        first = last = std::min(currentPage, pageCount);
    }
    QVector<int> range;
    for (int page = first; page <= last; ++page)
        range << page - 1;
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    QVector<int> order;
    if (printer.collateCopies()) {
        for (int copy = 0; copy < copies; ++copy)
            order += range;
    } else {
        for (int index : range)
            order += QVector<int>(copies, index);
    }
    return order;
}

template <typename Pages>
static bool printSheets(const Pages& pages, QPrinter* printer, int currentPage)
{
    const QVector<int> order = PaperPrinter::sheetOrder(pages.size(), *printer, currentPage);
    printer->setFullPage(true);
    return PagePrinter::paintAll(
        order.size(), [&](int sheet) { return pages.at(order.at(sheet)); }, printer,
        printer->resolution() / qreal(PagePrinter::unitsPerInch));
}

bool PaperPrinter::print(const ReportPages& pages, QPrinter* printer, int currentPage)
{
    return printSheets(pages, printer, currentPage);
}

// Packed pages are unpacked one at a time as they are printed.
bool PaperPrinter::print(const PackedPages& pages, QPrinter* printer, int currentPage)
{
    return printSheets(pages, printer, currentPage);
}

} // namespace LimeReport
