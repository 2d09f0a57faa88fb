#ifndef PDFFONT_H
#define PDFFONT_H

#include <QHash>
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
    // Marks the glyph as used and, when text is given, as showing that text.
    void use(quint32 glyph, const QString& text = QString());

    // Writes the font's objects, the composite font itself as number.
    void write(PdfFile* file, int number) const;

private:
    QByteArray baseName() const;
    QByteArray widths() const;
    QByteArray toUnicode() const;

    QRawFont m_font;
    bool m_embeddable = false;
    int m_unitsPerEm = 1000;
    QVector<quint16> m_advances;
    QHash<quint32, QString> m_used;
};

} // namespace LimeReport

#endif // PDFFONT_H
