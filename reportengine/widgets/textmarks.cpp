#include "textmarks.h"

#include <QPainter>

namespace LimeReport {

namespace {

// Multiplied into the sheet, so that the text stays black on its marker.
QColor colour(TextMarks::Layer layer)
{
    switch (layer) {
    case TextMarks::Found:
        return QColor(0xff, 0xee, 0x58);
    case TextMarks::Current:
        return QColor(0xff, 0x98, 0x30);
    case TextMarks::Selected:
        return QColor(0x9c, 0xc4, 0xf0);
    }
    return Qt::transparent;
}

} // namespace

TextMarks::TextMarks(QGraphicsItem* sheet) : QGraphicsItem(sheet) {}

TextMarks* TextMarks::existing(QGraphicsItem* sheet)
{
    if (!sheet)
        return nullptr;
    for (QGraphicsItem* child : sheet->childItems()) {
        if (child->type() == Type)
            return static_cast<TextMarks*>(child);
    }
    return nullptr;
}

TextMarks* TextMarks::of(QGraphicsItem* sheet)
{
    TextMarks* marks = existing(sheet);
    return marks || !sheet ? marks : new TextMarks(sheet);
}

void TextMarks::setLayer(Layer layer, const QVector<QRectF>& rects)
{
    if (rects.isEmpty() && !m_layers.contains(layer))
        return;
    if (rects.isEmpty())
        m_layers.remove(layer);
    else
        m_layers.insert(layer, rects);
    update();
}

QRectF TextMarks::boundingRect() const
{
    return parentItem() ? parentItem()->boundingRect() : QRectF();
}

void TextMarks::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setCompositionMode(QPainter::CompositionMode_Multiply);
    for (auto it = m_layers.cbegin(); it != m_layers.cend(); ++it) {
        painter->setBrush(colour(it.key()));
        for (const QRectF& rect : it.value())
            painter->drawRect(rect);
    }
    painter->restore();
}

} // namespace LimeReport
