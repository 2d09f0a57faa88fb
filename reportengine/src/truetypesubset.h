#ifndef TRUETYPESUBSET_H
#define TRUETYPESUBSET_H

#include <QByteArray>
#include <QSet>

#include <functional>

namespace LimeReport {

// A TrueType font program cut down to the glyphs a document uses, for embedding.
// Glyph numbers stay as they were, so text written with the full font's glyph
// numbers shows the same glyphs; the outlines of the other glyphs are left out,
// which is what makes a font of hundreds of kilobytes a few kilobytes.
class TrueTypeSubset
{
public:
    // A table of the font by its tag ("glyf", "head", …); empty when it has none.
    using TableReader = std::function<QByteArray(const char* tag)>;

    // False when the font has no TrueType outlines (a font of another kind) or its
    // tables are not as the format says.
    static bool canSubset(const TableReader& table);
    // The font file, or empty on the same grounds. Glyph 0 and the parts of
    // composite glyphs are always kept.
    static QByteArray build(const TableReader& table, const QSet<quint32>& glyphs);
};

} // namespace LimeReport

#endif // TRUETYPESUBSET_H
