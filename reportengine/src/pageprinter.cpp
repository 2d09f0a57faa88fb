#include "pageprinter.h"

#include "pagepainter.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

namespace LimeReport {

static QPageLayout layoutFor(const RenderedPage& page)
{
    const QSizeF mm = page.size() / 10.0;
    const bool landscape = mm.width() > mm.height();
    const QPageSize size(landscape ? mm.transposed() : mm, QPageSize::Millimeter, QString(),
                         QPageSize::ExactMatch);
    return QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(), QPageLayout::Millimeter);
}

bool PagePrinter::paintAll(int count, const PageAt& pageAt, QPagedPaintDevice* device,
                           qreal dotsPerUnit)
{
    if (count <= 0)
        return false;
    RenderedPage page = pageAt(0);
    device->setPageLayout(layoutFor(page));
    QPainter painter;
    if (!painter.begin(device))
        return false;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            page = pageAt(i);
            device->setPageLayout(layoutFor(page));
            device->newPage();
        }
        painter.resetTransform();
        painter.scale(dotsPerUnit, dotsPerUnit);
        PagePainter::paint(&painter, page);
    }
    return painter.end();
}

} // namespace LimeReport
