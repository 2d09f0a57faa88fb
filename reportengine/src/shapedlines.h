#ifndef SHAPEDLINES_H
#define SHAPEDLINES_H

#include <QFont>
#include <QHash>
#include <QPointF>
#include <QRawFont>
#include <QString>
#include <QVector>

#include <utility>
#include <vector>

namespace LimeReport {

// A line of text as glyphs: each run in the face the text layout chose for it, the
// glyph positions from the line's top-left, the advance and the ascent.
struct ShapedLine
{
    struct Run
    {
        QRawFont font;
        QVector<quint32> glyphs;
        QVector<QPointF> positions;
    };
    QVector<Run> runs;
    qreal advance = 0;
    qreal ascent = 0;
};

// Shapes each line of text once per font: a report repeats its labels on every
// page and many values on every row, and shaping is the dearest step of drawing.
class ShapedLines
{
public:
    // Valid until the next call.
    const ShapedLine& shape(const QFont& font, const QString& text);

private:
    static ShapedLine shaped(const QFont& font, const QString& text);

    std::vector<std::pair<QFont, QHash<QString, ShapedLine>>> m_fonts;
    int m_lines = 0;
    ShapedLine m_long;
};

} // namespace LimeReport

#endif // SHAPEDLINES_H
