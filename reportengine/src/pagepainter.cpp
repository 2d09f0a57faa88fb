#include "pagepainter.h"

#include <QPainter>

namespace LimeReport {

// The painter's state is kept once around the page rather than around each item: each
// item sets what it draws with, and a PDF then holds one pen or colour change where
// another is needed instead of a saved and restored state for every item.
void PagePainter::paint(QPainter* painter, const RenderedPage& page)
{
    painter->save();
    painter->fillRect(QRectF(QPointF(0, 0), page.size()), Qt::white);
    for (const RenderedItem& item : page.items())
        paintItem(painter, item);
    painter->restore();
}

// Lines were broken at render time; each is drawn where the layout put it.
void PagePainter::paintText(QPainter* painter, const RenderedItem& item)
{
    const QStringList lines = item.text.split(QLatin1Char('\n'));
    const qreal height = item.lineHeight > 0 ? item.lineHeight : item.rect.height() / lines.size();
    for (int i = 0; i < lines.size(); ++i) {
        const QRectF line(item.rect.left(), item.rect.top() + i * height, item.rect.width(),
                          height);
        painter->drawText(line, item.flags | Qt::TextDontClip, lines.at(i));
    }
}

void PagePainter::paintItem(QPainter* painter, const RenderedItem& item)
{
    painter->setOpacity(item.opacity);
    QPen pen(item.color, item.penWidth, item.penStyle);
    pen.setCapStyle(Qt::SquareCap);
    switch (item.kind) {
    case RenderedItem::Text:
        painter->setFont(item.font);
        painter->setPen(item.color);
        paintText(painter, item);
        break;
    case RenderedItem::Fill:
        painter->fillRect(item.rect, QBrush(item.fillColor, item.brush));
        break;
    case RenderedItem::Line:
        painter->setPen(pen);
        painter->drawLine(item.rect.topLeft(), item.rect.bottomRight());
        break;
    case RenderedItem::Rect:
        painter->setPen(item.penStyle == Qt::NoPen ? QPen(Qt::NoPen) : pen);
        painter->setBrush(QBrush(item.fillColor, item.brush));
        if (item.radius > 0)
            painter->drawRoundedRect(item.rect, item.radius, item.radius);
        else
            painter->drawRect(item.rect);
        break;
    case RenderedItem::Ellipse:
        painter->setPen(item.penStyle == Qt::NoPen ? QPen(Qt::NoPen) : pen);
        painter->setBrush(QBrush(item.fillColor, item.brush));
        painter->drawEllipse(item.rect);
        break;
    case RenderedItem::Image:
        painter->drawImage(item.rect, item.image);
        break;
    }
}

} // namespace LimeReport
