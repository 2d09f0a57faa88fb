#ifndef PAGEGRAPHICSITEM_H
#define PAGEGRAPHICSITEM_H

#include "lrrenderedpage.h"

#include <QGraphicsItem>

namespace LimeReport {

// One sheet of the preview: paints its rendered page when the view exposes it.
class PageGraphicsItem : public QGraphicsItem
{
public:
    explicit PageGraphicsItem(const RenderedPage& page);

    void setPage(const RenderedPage& page);

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    RenderedPage m_page;
};

} // namespace LimeReport

#endif // PAGEGRAPHICSITEM_H
