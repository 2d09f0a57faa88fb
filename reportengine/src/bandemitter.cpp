#include "bandemitter.h"

#include "designobject.h"
#include "itemstyle.h"
#include "textlines.h"

#include <algorithm>
#include <limits>

namespace LimeReport {

static const qreal tolerance = 0.01;

BandEmitter::BandEmitter(QVector<RenderedItem>& out, const Finisher& finisher)
    : m_out(out), m_finisher(finisher)
{
}

void BandEmitter::emitBand(const RenderedBand& band, qreal top, qreal bottom, const QPointF& offset,
                           QVector<DeferredText>* deferred)
{
    const QPointF shift = offset - QPointF(0, top);
    // Only a real cut limits what is drawn: a whole band also shows items
    // that reach below its height.
    const qreal from = top <= tolerance ? -std::numeric_limits<qreal>::infinity() : top;
    const qreal to =
        bottom >= band.height - tolerance ? std::numeric_limits<qreal>::infinity() : bottom;
    for (int index = 0; index < band.elements.size(); ++index) {
        const BandElement& element = band.elements.at(index);
        const QRectF& r = element.rect;
        if (element.kind == BandElement::Frame) {
            emitFrame(element, QRectF(r.left(), top, r.width(), bottom - top).translated(shift));
            continue;
        }
        // Text may be cut between its lines; anything else belongs wholly to
        // the part its top is in.
        if (element.kind == BandElement::Text) {
            if (r.bottom() <= from + tolerance || r.top() >= to - tolerance)
                continue;
            const QRectF part(r.left(), std::max(r.top(), from), r.width(),
                              std::min(r.bottom(), to) - std::max(r.top(), from));
            const int firstItem = m_out.size();
            emitText(element, part, from, to, shift);
            if (deferred && !element.deferred.isEmpty())
                *deferred << DeferredText{index, part, from, to, shift, firstItem, m_out.size()};
        } else if (r.top() >= from - tolerance && r.top() < to - tolerance) {
            if (element.kind == BandElement::Shape)
                emitShape(element, r.translated(shift));
            else
                emitImage(element, shift);
        }
    }
}

int BandEmitter::reemit(const RenderedBand& band, const DeferredText& text)
{
    QVector<RenderedItem> items;
    BandEmitter emitter(items, m_finisher);
    emitter.emitText(band.elements.at(text.element), text.part, text.from, text.to, text.shift);
    const int before = text.endItem - text.firstItem;
    // A counter written again mostly takes as many items as before: they are replaced
    // where they are.
    if (items.size() == before) {
        std::copy(items.cbegin(), items.cend(), m_out.begin() + text.firstItem);
        return 0;
    }
    m_out.erase(m_out.begin() + text.firstItem, m_out.begin() + text.endItem);
    for (int i = 0; i < items.size(); ++i)
        m_out.insert(text.firstItem + i, items.at(i));
    return items.size() - before;
}

void BandEmitter::emitFrame(const BandElement& element, const QRectF& part)
{
    emitBorders(*element.style, part, true, true, 0);
}

bool BandEmitter::filled(const ItemStyle& style, int defaultMode)
{
    return (style.hasBackgroundMode ? style.backgroundMode : defaultMode) == 1;
}

RenderedItem BandEmitter::background(const ItemStyle& style, const QRectF& rect)
{
    RenderedItem fill;
    fill.kind = RenderedItem::Fill;
    fill.name = style.name;
    fill.rect = rect;
    fill.fillColor = style.backgroundColor;
    fill.brush = Qt::BrushStyle(style.backgroundBrush);
    fill.opacity = style.backgroundOpacity;
    return fill;
}

void BandEmitter::emitText(const BandElement& element, const QRectF& part, qreal top, qreal bottom,
                           const QPointF& shift)
{
    const ItemStyle& style = *element.style;
    const QRectF& r = element.rect;
    const QRectF placed = part.translated(shift);
    const bool withTop = part.top() <= r.top() + tolerance;
    const bool withBottom = part.bottom() >= r.bottom() - tolerance;
    emitBorders(style, placed, withTop, withBottom, 1);

    const qreal margin = style.margin;
    QStringList lines = element.lines;
    if (!element.deferred.isEmpty()) {
        QString finished = m_finisher(element.deferred);
        if (style.trimValue)
            finished = finished.trimmed();
        lines = TextLines::breakLines(finished, style.font, r.width() - 2 * margin);
    }
    const int alignment = style.alignment;
    const qreal lh = style.lineHeight;
    const qreal block = lines.size() * lh;
    qreal first = r.top();
    if (block < r.height()) {
        if (alignment & Qt::AlignBottom)
            first = r.bottom() - block;
        else if (alignment & Qt::AlignVCenter)
            first = r.top() + (r.height() - block) / 2;
    }
    // Lines belong to the part their top is in; lines below the item are clipped.
    int from = -1;
    int to = -1;
    for (int i = 0; i < lines.size(); ++i) {
        const qreal lineTop = first + i * lh;
        if (lineTop + lh > r.bottom() + lh / 2)
            break;
        if (lineTop >= top - tolerance && lineTop < bottom - tolerance) {
            if (from < 0)
                from = i;
            to = i;
        }
    }
    if (from >= 0) {
        RenderedItem text;
        text.kind = RenderedItem::Text;
        text.name = style.name;
        text.rect = QRectF(r.left() + margin, first + from * lh, r.width() - 2 * margin,
                           (to - from + 1) * lh)
                        .translated(shift);
        // Most texts are one line, handed on as it is rather than joined into a new text.
        text.text =
            from == to ? lines.at(from) : lines.mid(from, to - from + 1).join(QLatin1Char('\n'));
        text.font = style.font;
        text.lineHeight = lh;
        text.color = style.fontColor;
        text.opacity = style.foregroundOpacity;
        const int horizontal = alignment & (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter);
        text.flags = (horizontal ? horizontal : int(Qt::AlignLeft)) | Qt::AlignTop;
        m_out.append(std::move(text));
    }
}

void BandEmitter::emitShape(const BandElement& element, const QRectF& rect)
{
    const DesignObject* d = element.design;
    RenderedItem shape;
    shape.name = d->name();
    shape.color = d->colorValue(QStringLiteral("shapeColor"), Qt::black);
    shape.fillColor = d->colorValue(QStringLiteral("shapeBrushColor"), Qt::black);
    shape.brush = Qt::BrushStyle(d->intValue(QStringLiteral("shapeBrush"), 0));
    shape.penWidth = d->realValue(QStringLiteral("lineWidth"), 1);
    shape.penStyle = ItemStyle::penStyle(d->intValue(QStringLiteral("penStyle"), 1));
    shape.radius = d->intValue(QStringLiteral("cornerRadius"), 0);
    shape.opacity = d->intValue(QStringLiteral("opacity"), 100) / 100.0;
    switch (d->intValue(QStringLiteral("shape"), 0)) {
    case 1:
        shape.kind = RenderedItem::Line;
        shape.rect = QRectF(QPointF(rect.center().x(), rect.top()),
                            QPointF(rect.center().x(), rect.bottom()));
        break;
    case 2:
        shape.kind = RenderedItem::Ellipse;
        shape.rect = rect;
        break;
    case 3:
        shape.kind = RenderedItem::Rect;
        shape.rect = rect;
        break;
    default:
        shape.kind = RenderedItem::Line;
        shape.rect = QRectF(QPointF(rect.left(), rect.center().y()),
                            QPointF(rect.right(), rect.center().y()));
        break;
    }
    m_out.append(std::move(shape));
}

void BandEmitter::emitImage(const BandElement& element, const QPointF& shift)
{
    RenderedItem image;
    image.kind = RenderedItem::Image;
    image.name = element.style->name;
    image.rect = element.imageRect.translated(shift);
    image.image = element.image;
    image.opacity = element.design->intValue(QStringLiteral("opacity"), 100) / 100.0;
    m_out.append(std::move(image));
    emitBorders(*element.style, element.rect.translated(shift), true, true, -1);
}

void BandEmitter::emitBorders(const ItemStyle& style, const QRectF& part, bool withTop,
                              bool withBottom, int backgroundMode)
{
    const bool fill = backgroundMode >= 0 && filled(style, backgroundMode);
    const int sides = style.borders;
    if (!sides || style.borderStyle == Qt::NoPen) {
        if (fill)
            m_out.append(background(style, part));
        return;
    }
    const qreal width = style.borderLineSize + 1;
    // A closed frame is one rectangle, with the fill inside it: pages of
    // table cells stay a third of the size.
    if (sides == 15 && withTop && withBottom) {
        RenderedItem frame = fill ? background(style, part) : RenderedItem();
        frame.kind = RenderedItem::Rect;
        frame.name = style.name;
        frame.rect = part;
        frame.color = style.borderColor;
        frame.penWidth = width;
        frame.penStyle = style.borderStyle;
        m_out.append(std::move(frame));
        return;
    }
    if (fill)
        m_out.append(background(style, part));
    RenderedItem line;
    line.kind = RenderedItem::Line;
    line.name = style.name;
    line.color = style.borderColor;
    line.penWidth = width;
    line.penStyle = style.borderStyle;
    const auto add = [&](const QPointF& from, const QPointF& to) {
        line.rect = QRectF(from, to);
        m_out << line;
    };
    if ((sides & 1) && withTop)
        add(part.topLeft(), part.topRight());
    if ((sides & 2) && withBottom)
        add(part.bottomLeft(), part.bottomRight());
    if (sides & 4)
        add(part.topLeft(), part.bottomLeft());
    if (sides & 8)
        add(part.topRight(), part.bottomRight());
}

} // namespace LimeReport
