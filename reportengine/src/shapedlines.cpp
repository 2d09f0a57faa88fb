#include "shapedlines.h"

#include "itemline.h"

namespace LimeReport {

namespace {

// The labels and frequent values of a report are short lines; long ones seldom
// come twice. Past the count, lines are shaped afresh rather than held without end:
// at most some ten megabytes.
const int linesKept = 10000;
const int longestKept = 48;

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
    if (text.size() > longestKept) {
        m_long = shaped(font, text);
        return m_long;
    }
    if (m_lines >= linesKept) {
        for (auto& entry : m_fonts)
            entry.second.clear();
        m_lines = 0;
    }
    ++m_lines;
    return *lines.insert(text, shaped(font, text));
}

ShapedLine ShapedLines::shaped(const QFont& font, const QString& text)
{
    const ItemLine line(font, text);
    ShapedLine result;
    result.advance = line.width();
    result.ascent = line.ascent();
    for (const QGlyphRun& run : line.glyphRuns())
        result.runs << ShapedLine::Run{run.rawFont(), run.glyphIndexes(), run.positions()};
    return result;
}

} // namespace LimeReport
