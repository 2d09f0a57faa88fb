#ifndef TEXTLINES_H
#define TEXTLINES_H

#include <QFont>
#include <QStringList>

namespace LimeReport {

// Breaks text into the lines it occupies at a given width: at word boundaries,
// inside a word only when the word alone is too wide. Lines are decided once,
// at render time, so screen, printer and PDF show the same lines.
class TextLines
{
public:
    static QStringList breakLines(const QString& text, const QFont& font, qreal width);
    static qreal lineHeight(const QFont& font);
    // The font as items draw it: point sizes become 0.1 mm pixel sizes.
    static QFont sceneFont(const QFont& designFont);
};

} // namespace LimeReport

#endif // TEXTLINES_H
