#ifndef PDFFONT_H
#define PDFFONT_H

#include <QRawFont>
#include <QString>
#include <QVector>

namespace LimeReport {

class PdfFile;

// One font face as a PDF embeds it: a composite font whose codes are the face's own
// glyph numbers, the TrueType program cut to the glyphs used, their widths, and a
// map from glyphs back to text so that the PDF's text can be found and copied.
class PdfFont
{
public:
    explicit PdfFont(const QRawFont& font);

    // Faces are told apart by name and style: the raw fonts of one face at two sizes
    // are one PDF font.
    static QString faceKey(const QRawFont& font);

    // Whether the face has TrueType outlines to embed; glyphs of other faces are
    // drawn as shapes.
    bool embeddable() const { return m_embeddable; }
    // The glyph's advance in whole thousandths of the font size, as the PDF gives it.
    int width(quint32 glyph) const;
    void use(quint32 glyph);
    // Whether the text the glyph shows is known; the first text given stays.
    bool hasText(quint32 glyph) const
    {
        return glyph < quint32(m_texts.size()) && !m_texts.at(int(glyph)).isNull();
    }
    void setText(quint32 glyph, const QString& text);

    // Writes the font's objects, the composite font itself as number.
    void write(PdfFile* file, int number) const;

private:
    QList<quint32> usedGlyphs() const;
    QByteArray baseName() const;
    QByteArray widths() const;
    QByteArray toUnicode() const;

    QRawFont m_font;
    bool m_embeddable = false;
    int m_unitsPerEm = 1000;
    QVector<quint16> m_advances;
    // Indexed by glyph; a face has at most 65,536 of them.
    QVector<bool> m_used;
    QVector<QString> m_texts;
};

} // namespace LimeReport

#endif // PDFFONT_H
