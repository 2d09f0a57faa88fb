#include "pagegraphicsitem.h"

#include "pagepainter.h"

#include <QPainter>

namespace LimeReport {

PageGraphicsItem::PageGraphicsItem(const RenderedPage& page) : m_page(page) {}

void PageGraphicsItem::setPage(const RenderedPage& page)
{
    prepareGeometryChange();
    m_page = page;
    update();
}

QRectF PageGraphicsItem::boundingRect() const
{
    return QRectF(QPointF(0, 0), m_page.size());
}

void PageGraphicsItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    PagePainter::paint(painter, m_page);
    painter->setPen(QPen(Qt::gray, 0));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(boundingRect());
}

} // namespace LimeReport
