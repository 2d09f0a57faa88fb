#ifndef RENDEREDBAND_H
#define RENDEREDBAND_H

#include <QImage>
#include <QRectF>
#include <QStringList>
#include <QVector>

namespace LimeReport {

class DesignObject;
struct ItemStyle;

// One laid-out piece of a band: its place in the band, what it shows, and the
// style of the design object that gives its font, colours and borders.
struct BandElement
{
    enum Kind
    {
        Frame,
        Text,
        Image,
        Shape
    };

    Kind kind = Text;
    const DesignObject* design = nullptr;
    const ItemStyle* style = nullptr;
    QRectF rect;
    QStringList lines;
    QImage image;
    QRectF imageRect;
    // Content to finish once page numbers are known; empty when final.
    QString deferred;
};

} // namespace LimeReport

// Plain data and implicitly shared Qt values: moved, not copied, as a band's list grows.
Q_DECLARE_TYPEINFO(LimeReport::BandElement, Q_MOVABLE_TYPE);

namespace LimeReport {

// A band after its items were expanded and laid out, before it is put on a page.
class RenderedBand
{
public:
    const DesignObject* design = nullptr;
    qreal height = 0;
    bool empty = true;
    QVector<BandElement> elements;
    // The band's outline text for these rows; empty when it adds no outline entry.
    QString outlineTitle;
    int outlineLevel = 0;

    // The largest height, not above available, at which the band can be cut
    // without cutting through an image, a shape or a text line; 0 if none.
    qreal cutFor(qreal available) const;
};

} // namespace LimeReport

#endif // RENDEREDBAND_H
