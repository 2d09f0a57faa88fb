#include "textlines.h"

#include <QFontMetricsF>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace LimeReport {

QStringList TextLines::breakLines(const QString& text, const QFont& font, qreal width)
{
    QStringList lines;
    const QFontMetricsF metrics(font);
    const QStringList paragraphs =
        QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).split(QLatin1Char('\n'));
    for (const QString& paragraph : paragraphs) {
        if (metrics.horizontalAdvance(paragraph) <= width) {
            lines << paragraph;
            continue;
        }
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(std::max<qreal>(width, 1));
            QString piece = paragraph.mid(line.textStart(), line.textLength());
            while (piece.endsWith(QLatin1Char(' ')))
                piece.chop(1);
            lines << piece;
        }
        layout.endLayout();
    }
    return lines;
}

qreal TextLines::lineHeight(const QFont& font)
{
    return QFontMetricsF(font).height();
}

QFont TextLines::sceneFont(const QFont& designFont)
{
    QFont font(designFont);
    const qreal points = designFont.pointSizeF() > 0 ? designFont.pointSizeF() : 10;
    // No page is taller than an A0 sheet: a larger size comes from a damaged template and
    // would overflow the pixel size.
    constexpr qreal largestPixelSize = 11890;
    font.setPixelSize(std::max(1, int(std::min(points * 3.5, largestPixelSize))));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

} // namespace LimeReport
