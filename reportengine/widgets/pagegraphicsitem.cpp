#include "pagegraphicsitem.h"

#include "pagepainter.h"

#include <QPainter>

namespace LimeReport {

PageGraphicsItem::PageGraphicsItem(const PackedPages* pages, int index)
    : m_pages(pages), m_index(index)
{
}

void PageGraphicsItem::pageChanged()
{
    prepareGeometryChange();
    update();
}

QRectF PageGraphicsItem::boundingRect() const
{
    return QRectF(QPointF(0, 0), m_pages->pageSize(m_index));
}

void PageGraphicsItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    PagePainter::paint(painter, m_pages->at(m_index));
    painter->setPen(QPen(Qt::gray, 0));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(boundingRect());
}

} // namespace LimeReport
