#include "renderedband.h"

#include "itemstyle.h"

#include <cmath>

namespace LimeReport {

static const qreal tolerance = 0.01;

qreal RenderedBand::cutFor(qreal available) const
{
    qreal cut = std::min(available, height);
    bool moved = true;
    while (moved && cut > 0) {
        moved = false;
        for (const BandElement& element : elements) {
            if (element.kind == BandElement::Frame)
                continue;
            const QRectF& r = element.rect;
            if (r.top() >= cut - tolerance || r.bottom() <= cut + tolerance)
                continue;
            qreal allowed = r.top();
            const qreal lineHeight =
                element.kind == BandElement::Text ? element.style->lineHeight : 0;
            if (lineHeight > 0) {
                const qreal fitting = std::floor((cut - r.top()) / lineHeight + tolerance);
                if (fitting >= 1)
                    allowed = r.top() + fitting * lineHeight;
            }
            if (allowed < cut - tolerance) {
                cut = allowed;
                moved = true;
            }
        }
    }
    return cut > tolerance ? cut : 0;
}

} // namespace LimeReport
