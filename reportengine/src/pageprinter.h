#ifndef PAGEPRINTER_H
#define PAGEPRINTER_H

#include "lrrenderedpage.h"

#include <functional>

class QPagedPaintDevice;

namespace LimeReport {

// Puts rendered pages on a paged device at 1:1, each sheet exactly the page's own
// size and without margins.
class PagePrinter
{
public:
    // Page units are 0.1 mm, so 254 dots per inch make one device dot per unit.
    static constexpr int unitsPerInch = 254;
    // A PDF point is 1/72 inch.
    static constexpr qreal pointsPerUnit = 72.0 / unitsPerInch;

    // The pages are asked for one at a time, by index, as they are painted.
    using PageAt = std::function<RenderedPage(int index)>;
    static bool paintAll(int count, const PageAt& pageAt, QPagedPaintDevice* device,
                         qreal dotsPerUnit);
};

} // namespace LimeReport

#endif // PAGEPRINTER_H
