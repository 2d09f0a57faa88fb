#ifndef BANDEMITTER_H
#define BANDEMITTER_H

#include "lrrendereditem.h"
#include "renderedband.h"

#include <functional>

namespace LimeReport {

struct ItemStyle;

// Turns the part of a rendered band between two heights into page primitives.
class BandEmitter
{
public:
    // Finishes deferred content on the page being emitted.
    using Finisher = std::function<QString(const QString& prepared)>;

    // Where a text finished with the page counters went, so that it can be written
    // again once the counters are final: its element and the items it became.
    struct DeferredText
    {
        int element = 0;
        QRectF part;
        qreal from = 0;
        qreal to = 0;
        QPointF shift;
        int firstItem = 0;
        int endItem = 0;
    };

    BandEmitter(QVector<RenderedItem>& out, const Finisher& finisher);

    // With deferred, the deferred texts of the band are noted there.
    void emitBand(const RenderedBand& band, qreal top, qreal bottom, const QPointF& offset,
                  QVector<DeferredText>* deferred = nullptr);
    // Writes a noted text again, finished as things stand now, in place of what it
    // became before; returns how many items more (or fewer) the page now has.
    int reemit(const RenderedBand& band, const DeferredText& text);

private:
    void emitFrame(const BandElement& element, const QRectF& part);
    void emitText(const BandElement& element, const QRectF& part, qreal top, qreal bottom,
                  const QPointF& shift);
    void emitShape(const BandElement& element, const QRectF& rect);
    void emitImage(const BandElement& element, const QPointF& shift);
    // Draws the background beneath the borders when the style's mode, or backgroundMode
    // where the style names none, asks for one; a backgroundMode of -1 draws none.
    void emitBorders(const ItemStyle& style, const QRectF& part, bool withTop, bool withBottom,
                     int backgroundMode);
    static bool filled(const ItemStyle& style, int defaultMode);
    static RenderedItem background(const ItemStyle& style, const QRectF& rect);

    QVector<RenderedItem>& m_out;
    const Finisher& m_finisher;
};

} // namespace LimeReport

#endif // BANDEMITTER_H
