#ifndef PAGEPAINTER_H
#define PAGEPAINTER_H

#include "lrrenderedpage.h"

class QPainter;

namespace LimeReport {

// Draws a rendered page in its own units (0.1 mm); the caller sets the transform
// from those units to the device.
class PagePainter
{
public:
    // Leaves the painter's state as it found it.
    static void paint(QPainter* painter, const RenderedPage& page);

private:
    // Sets the opacity, pen, brush and font it draws with, and leaves them so: only
    // paint(), which keeps the state once for the whole page, may call it.
    static void paintItem(QPainter* painter, const RenderedItem& item);
    static void paintText(QPainter* painter, const RenderedItem& item);
};

} // namespace LimeReport

#endif // PAGEPAINTER_H
