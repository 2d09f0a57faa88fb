#include "bandemitter.h"

#include "designobject.h"
#include "textlines.h"

#include <algorithm>
#include <limits>

namespace LimeReport {

static const qreal tolerance = 0.01;

static Qt::PenStyle penStyle(int style)
{
    switch (style) {
    case 0:
        return Qt::NoPen;
    case 2:
        return Qt::DashLine;
    case 3:
        return Qt::DotLine;
    case 4:
        return Qt::DashDotLine;
    case 5:
        return Qt::DashDotDotLine;
    default:
        return Qt::SolidLine;
    }
}

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
    RenderedItem fill;
    const bool filled = background(element.design, 0, part, &fill);
    emitBorders(element, part, true, true, filled ? &fill : nullptr);
}

bool BandEmitter::background(const DesignObject* d, int defaultMode, const QRectF& rect,
                             RenderedItem* fill)
{
    if (d->intValue(QStringLiteral("backgroundMode"), defaultMode) != 1)
        return false;
    fill->kind = RenderedItem::Fill;
    fill->name = d->name();
    fill->rect = rect;
    fill->fillColor = d->colorValue(QStringLiteral("backgroundColor"), Qt::white);
    fill->brush = Qt::BrushStyle(d->intValue(QStringLiteral("backgroundBrushStyle"), 1));
    fill->opacity = d->intValue(QStringLiteral("backgroundOpacity"), 100) / 100.0;
    return true;
}

void BandEmitter::emitText(const BandElement& element, const QRectF& part, qreal top, qreal bottom,
                           const QPointF& shift)
{
    const DesignObject* d = element.design;
    const QRectF& r = element.rect;
    const QRectF placed = part.translated(shift);
    RenderedItem fill;
    const bool filled = background(d, 1, placed, &fill);
    const bool withTop = part.top() <= r.top() + tolerance;
    const bool withBottom = part.bottom() >= r.bottom() - tolerance;
    emitBorders(element, placed, withTop, withBottom, filled ? &fill : nullptr);

    const qreal margin = d->intValue(QStringLiteral("margin"), 4);
    QStringList lines = element.lines;
    if (!element.deferred.isEmpty()) {
        QString finished = m_finisher(element.deferred);
        if (d->boolValue(QStringLiteral("trimValue"), true))
            finished = finished.trimmed();
        lines = TextLines::breakLines(finished, element.font, r.width() - 2 * margin);
    }
    const int alignment = d->intValue(QStringLiteral("alignment"), Qt::AlignLeft | Qt::AlignTop);
    const qreal lh = element.lineHeight;
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
        text.name = d->name();
        text.rect = QRectF(r.left() + margin, first + from * lh, r.width() - 2 * margin,
                           (to - from + 1) * lh)
                        .translated(shift);
        text.text = lines.mid(from, to - from + 1).join(QLatin1Char('\n'));
        text.font = element.font;
        text.lineHeight = lh;
        text.color = d->colorValue(QStringLiteral("fontColor"), Qt::black);
        text.opacity = d->intValue(QStringLiteral("foregroundOpacity"), 100) / 100.0;
        const int horizontal = alignment & (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter);
        text.flags = (horizontal ? horizontal : int(Qt::AlignLeft)) | Qt::AlignTop;
        m_out << text;
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
    shape.penStyle = penStyle(d->intValue(QStringLiteral("penStyle"), 1));
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
    m_out << shape;
}

void BandEmitter::emitImage(const BandElement& element, const QPointF& shift)
{
    RenderedItem image;
    image.kind = RenderedItem::Image;
    image.name = element.design->name();
    image.rect = element.imageRect.translated(shift);
    image.image = element.image;
    image.opacity = element.design->intValue(QStringLiteral("opacity"), 100) / 100.0;
    m_out << image;
    emitBorders(element, element.rect.translated(shift), true, true, nullptr);
}

void BandEmitter::emitBorders(const BandElement& element, const QRectF& part, bool withTop,
                              bool withBottom, RenderedItem* fill)
{
    const DesignObject* d = element.design;
    const int sides = d->intValue(QStringLiteral("borders"), 0);
    const Qt::PenStyle style = penStyle(d->intValue(QStringLiteral("borderStyle"), 1));
    if (!sides || style == Qt::NoPen) {
        if (fill)
            m_out << *fill;
        return;
    }
    const QColor color = d->colorValue(QStringLiteral("borderColor"), Qt::black);
    const qreal width = d->realValue(QStringLiteral("borderLineSize"), 1) + 1;
    // A closed frame is one rectangle, with the fill inside it: pages of
    // table cells stay a third of the size.
    if (sides == 15 && withTop && withBottom) {
        RenderedItem frame = fill ? *fill : RenderedItem();
        frame.kind = RenderedItem::Rect;
        frame.name = d->name();
        frame.rect = part;
        frame.color = color;
        frame.penWidth = width;
        frame.penStyle = style;
        m_out << frame;
        return;
    }
    if (fill)
        m_out << *fill;
    RenderedItem line;
    line.kind = RenderedItem::Line;
    line.name = d->name();
    line.color = color;
    line.penWidth = width;
    line.penStyle = style;
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
