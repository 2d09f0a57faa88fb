#ifndef ITEMLINE_H
#define ITEMLINE_H

#include "lrrendereditem.h"

#include <QGlyphRun>
#include <QTextLayout>

namespace LimeReport {

// One line of a text item laid out as QPainter::drawText lays out an unwrapped line in
// its rectangle: trailing spaces count towards the width and the alignment shifts the
// whole line. The page painter draws through QPainter; whatever else must put glyphs
// or marks where the painter does (a PDF, a highlight) lays the line out here.
class ItemLine
{
public:
    ItemLine(const RenderedItem& item, int line);
    // The line alone, its origin at (0, 0).
    ItemLine(const QFont& font, const QString& text);

    // The distance between the tops of an item's lines.
    static qreal lineHeight(const RenderedItem& item);
    // Where a line of the item whose advance is given is drawn.
    static QPointF origin(const RenderedItem& item, int line, qreal advance);

    // The x of the boundary before character i of the line, in page units.
    qreal x(int i) const { return m_origin.x() + m_line.cursorToX(i); }
    // The advance the alignment goes by; a last glyph whose ink reaches past its
    // advance, as an italic or bold "f" does, does not move the line.
    qreal width() const { return m_line.horizontalAdvance(); }
    // Where the layout's top-left is drawn; glyph positions count from there.
    QPointF origin() const { return m_origin; }
    qreal ascent() const { return m_line.ascent(); }
    QList<QGlyphRun> glyphRuns() const { return m_line.glyphRuns(); }
    QString text() const { return m_layout.text(); }

private:
    QTextLayout m_layout;
    QTextLine m_line;
    QPointF m_origin;
};

} // namespace LimeReport

#endif // ITEMLINE_H
