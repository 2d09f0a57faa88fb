#ifndef LRRENDEREDITEM_H
#define LRRENDEREDITEM_H

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>

namespace LimeReport {

// One drawing primitive of a rendered page, in page coordinates of 0.1 mm.
// Kept as plain data so that hundreds of pages stay cheap.
struct RenderedItem
{
    enum Kind
    {
        Text,
        Fill,
        Line,
        Rect,
        Ellipse,
        Image
    };

    Kind kind = Text;
    QRectF rect;          // Line: from topLeft to bottomRight
    QString text;         // Text only; one line per '\n'
    qreal lineHeight = 0; // Text only: distance between line tops
    QString name;         // objectName of the design item it came from
    QFont font;           // Text only, pixel size in 0.1 mm
    QColor color;         // text or pen colour
    QColor fillColor;     // Fill, Rect, Ellipse
    Qt::BrushStyle brush = Qt::NoBrush;
    Qt::PenStyle penStyle = Qt::SolidLine;
    qreal penWidth = 1;
    qreal radius = 0;
    qreal opacity = 1;
    int flags = 0; // Text: horizontal Qt::Alignment of each line
    QImage image;
};

} // namespace LimeReport

// Every member is plain data or an implicitly shared Qt value, so a page's item list
// grows by moving its memory rather than copying each item.
Q_DECLARE_TYPEINFO(LimeReport::RenderedItem, Q_MOVABLE_TYPE);

#endif // LRRENDEREDITEM_H
