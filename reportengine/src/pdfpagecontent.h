#ifndef PDFPAGECONTENT_H
#define PDFPAGECONTENT_H

#include "lrrenderedpage.h"
#include "shapedlines.h"

#include <QByteArray>
#include <QColor>

class QPainterPath;

namespace LimeReport {

class PdfResources;

// The drawing operators of one page, item by item as the page painter draws them:
// page units (0.1 mm, downwards) under one transform to PDF points, text as glyphs
// placed where the painter's text layout puts them.
class PdfPageContent
{
public:
    // The items of each of the page's pending ranges are left to the form named for it.
    PdfPageContent(const RenderedPage& page, PdfResources* resources, ShapedLines* shapes,
                   const QVector<QByteArray>& forms = {});

    QByteArray operators() const { return m_ops; }
    // The operators of a form that draws one range of the page's items, under the
    // transform of the page that shows the form.
    static QByteArray form(const RenderedPage& page, const RenderedPage::Range& range,
                           PdfResources* resources, ShapedLines* shapes);
    // The sheet the page is drawn on, in points; the page's top is the sheet's top.
    static QSize sheetSize(const RenderedPage& page);

private:
    PdfPageContent(PdfResources* resources, ShapedLines* shapes);

    void item(const RenderedItem& item);
    void text(const RenderedItem& item);
    void glyphs(const ShapedLine::Run& run, const QPointF& origin, const QString& text,
                qreal alpha);
    void fill(const QRectF& rect, const QColor& color, Qt::BrushStyle brush, qreal opacity);
    void shape(const QPainterPath& path, const RenderedItem& item);
    void image(const RenderedItem& item);

    void setFill(const QColor& color);
    void setPatternFill(const QColor& color, Qt::BrushStyle brush);
    void setStroke(const RenderedItem& item);
    void setAlpha(qreal fill, qreal stroke);
    void path(const QPainterPath& path);
    void number(qreal value);
    void numbers(std::initializer_list<qreal> values);

    PdfResources* m_resources;
    ShapedLines* m_shapes;
    QByteArray m_ops;
    // What the operators so far left in force, so that it is set only when it changes.
    QRgb m_fill = 0;
    bool m_fillKnown = false;
    QRgb m_stroke = 0;
    bool m_strokeKnown = false;
    qreal m_lineWidth = -1;
    Qt::PenStyle m_penStyle = Qt::SolidLine;
    qreal m_dashUnit = 1;
    qreal m_fillAlpha = 1;
    qreal m_strokeAlpha = 1;
};

} // namespace LimeReport

#endif // PDFPAGECONTENT_H
