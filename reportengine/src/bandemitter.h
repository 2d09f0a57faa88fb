#ifndef BANDEMITTER_H
#define BANDEMITTER_H

#include "lrrendereditem.h"
#include "renderedband.h"

#include <functional>

namespace LimeReport {

class DesignObject;

// Turns the part of a rendered band between two heights into page primitives.
class BandEmitter
{
public:
    // Finishes deferred content on the page being emitted.
    using Finisher = std::function<QString(const QString& prepared)>;

    BandEmitter(QVector<RenderedItem>& out, const Finisher& finisher);

    void emitBand(const RenderedBand& band, qreal top, qreal bottom, const QPointF& offset);

private:
    void emitFrame(const BandElement& element, const QRectF& part);
    void emitText(const BandElement& element, const QRectF& part, qreal top, qreal bottom,
                  const QPointF& shift);
    void emitShape(const BandElement& element, const QRectF& rect);
    void emitImage(const BandElement& element, const QPointF& shift);
    // Draws the fill, if any, beneath the borders.
    void emitBorders(const BandElement& element, const QRectF& part, bool withTop, bool withBottom,
                     RenderedItem* fill);
    static bool background(const DesignObject* design, int defaultMode, const QRectF& rect,
                           RenderedItem* fill);

    QVector<RenderedItem>& m_out;
    const Finisher& m_finisher;
};

} // namespace LimeReport

#endif // BANDEMITTER_H
