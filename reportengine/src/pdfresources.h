#ifndef PDFRESOURCES_H
#define PDFRESOURCES_H

#include <QByteArray>
#include <QHash>
#include <QString>

#include <memory>
#include <vector>

class QImage;
class QRawFont;

namespace LimeReport {

class PdfFile;
class PdfFont;

// What the pages of a PDF draw with, named once for all of them: fonts, pictures,
// transparency and fill patterns. Every page points to the one resource dictionary,
// which is written last, when the fonts know every glyph the pages used.
class PdfResources
{
public:
    explicit PdfResources(PdfFile* file);
    ~PdfResources();

    int dictionaryObject() const { return m_dictionary; }

    struct Font
    {
        QByteArray name;
        PdfFont* face = nullptr;
    };
    Font font(const QRawFont& font);
    // A picture is written at once, and again only if it is another picture.
    QByteArray image(const QImage& image);
    // A name for the form object of that number, among the pictures.
    QByteArray form(int object);
    // The graphics state for fill and stroke alpha (0 to 1).
    QByteArray alpha(qreal fill, qreal stroke);
    // An uncoloured tiling pattern for a brush style other than solid; the colour
    // comes with its use.
    QByteArray pattern(int brushStyle);

    // The fonts and the dictionary.
    void write();

private:
    struct FontEntry
    {
        QByteArray name;
        int object = 0;
        std::unique_ptr<PdfFont> face;
    };

    PdfFile* m_file;
    int m_dictionary;
    std::vector<FontEntry> m_fonts;
    QHash<QString, int> m_fontIndex;
    QHash<qint64, QByteArray> m_imageNames;
    QByteArray m_images;
    QHash<int, QByteArray> m_alphaNames;
    QByteArray m_alphas;
    QHash<int, QByteArray> m_patternNames;
    QByteArray m_patterns;
};

} // namespace LimeReport

#endif // PDFRESOURCES_H
