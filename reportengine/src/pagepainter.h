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
    static void paint(QPainter* painter, const RenderedPage& page);
    static void paintItem(QPainter* painter, const RenderedItem& item);

private:
    static void paintText(QPainter* painter, const RenderedItem& item);
};

} // namespace LimeReport

#endif // PAGEPAINTER_H
