#include "shapedlines.h"

#include "itemline.h"

namespace LimeReport {

namespace {

// Enough for the labels and frequent values of a long report; past it the lines
// are shaped afresh rather than held without end.
const int linesKept = 50000;

} // namespace

const ShapedLine& ShapedLines::shape(const QFont& font, const QString& text)
{
    auto fontEntry = m_fonts.begin();
    while (fontEntry != m_fonts.end() && !(fontEntry->first == font))
        ++fontEntry;
    if (fontEntry == m_fonts.end()) {
        m_fonts.emplace_back(font, QHash<QString, ShapedLine>());
        fontEntry = m_fonts.end() - 1;
    }
    QHash<QString, ShapedLine>& lines = fontEntry->second;
    auto found = lines.constFind(text);
    if (found != lines.constEnd())
        return *found;
    if (m_lines >= linesKept) {
        for (auto& entry : m_fonts)
            entry.second.clear();
        m_lines = 0;
    }
    const ItemLine line(font, text);
    ShapedLine shaped;
    shaped.advance = line.width();
    shaped.ascent = line.ascent();
    for (const QGlyphRun& run : line.glyphRuns())
        shaped.runs << ShapedLine::Run{run.rawFont(), run.glyphIndexes(), run.positions()};
    ++m_lines;
    return *lines.insert(text, shaped);
}

} // namespace LimeReport
