#include "pdfresources.h"

#include "pageprinter.h"
#include "pdffile.h"
#include "pdffont.h"

#include <QBrush>
#include <QImage>
#include <QPainter>
#include <QRawFont>

#include <algorithm>

namespace LimeReport {

namespace {

// Qt's brush patterns repeat every eight device dots, and a dot of the page is
// 0.1 mm.
const int patternSize = 8;

} // namespace

PdfResources::PdfResources(PdfFile* file) : m_file(file), m_dictionary(file->reserve()) {}

PdfResources::~PdfResources() = default;

PdfResources::Font PdfResources::font(const QRawFont& font)
{
    const QString key = PdfFont::faceKey(font);
    auto it = m_fontIndex.constFind(key);
    if (it == m_fontIndex.constEnd()) {
        FontEntry entry;
        entry.name = "F" + QByteArray::number(int(m_fonts.size()) + 1);
        entry.face = std::make_unique<PdfFont>(font);
        // Glyphs of a face that cannot be embedded are drawn as shapes.
        entry.object = entry.face->embeddable() ? m_file->reserve() : 0;
        m_fonts.push_back(std::move(entry));
        it = m_fontIndex.insert(key, int(m_fonts.size()) - 1);
    }
    const FontEntry& entry = m_fonts.at(size_t(*it));
    return Font{entry.name, entry.face.get()};
}

QByteArray PdfResources::image(const QImage& image)
{
    auto it = m_imageNames.constFind(image.cacheKey());
    if (it != m_imageNames.constEnd())
        return *it;
    const QByteArray name = "Im" + QByteArray::number(m_imageNames.size() + 1);
    const int object = m_file->reserve();
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    QByteArray pixels;
    pixels.reserve(rgb.width() * rgb.height() * 3);
    for (int y = 0; y < rgb.height(); ++y)
        pixels.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 3);
    const QByteArray size = " /Width " + QByteArray::number(image.width()) + " /Height " +
                            QByteArray::number(image.height()) + " /BitsPerComponent 8";
    QByteArray mask;
    if (image.hasAlphaChannel()) {
        const QImage alpha = image.convertToFormat(QImage::Format_Alpha8);
        QByteArray values;
        values.reserve(alpha.width() * alpha.height());
        for (int y = 0; y < alpha.height(); ++y)
            values.append(reinterpret_cast<const char*>(alpha.constScanLine(y)), alpha.width());
        const int maskObject = m_file->reserve();
        m_file->stream(maskObject, " /Type /XObject /Subtype /Image /ColorSpace /DeviceGray" + size,
                       values);
        mask = " /SMask " + PdfFile::reference(maskObject);
    }
    m_file->stream(object, " /Type /XObject /Subtype /Image /ColorSpace /DeviceRGB" + size + mask,
                   pixels);
    m_images += " /" + name + ' ' + PdfFile::reference(object);
    m_imageNames.insert(image.cacheKey(), name);
    return name;
}

QByteArray PdfResources::form(int object)
{
    const QByteArray name = "Fm" + QByteArray::number(object);
    m_images += " /" + name + ' ' + PdfFile::reference(object);
    return name;
}

QByteArray PdfResources::alpha(qreal fill, qreal stroke)
{
    const int fillKey = qRound(qBound(0.0, fill, 1.0) * 1000);
    const int strokeKey = qRound(qBound(0.0, stroke, 1.0) * 1000);
    const int key = fillKey * 1001 + strokeKey;
    auto it = m_alphaNames.constFind(key);
    if (it != m_alphaNames.constEnd())
        return *it;
    const QByteArray name = "A" + QByteArray::number(m_alphaNames.size() + 1);
    m_alphas += " /" + name + " << /Type /ExtGState /ca " + QByteArray::number(fillKey / 1000.0) +
                " /CA " + QByteArray::number(strokeKey / 1000.0) + " >>";
    m_alphaNames.insert(key, name);
    return name;
}

QByteArray PdfResources::pattern(int brushStyle)
{
    auto it = m_patternNames.constFind(brushStyle);
    if (it != m_patternNames.constEnd())
        return *it;
    // The tile is Qt's own pattern, drawn once and copied dot by dot.
    QImage tile(patternSize, patternSize, QImage::Format_RGB32);
    tile.fill(Qt::white);
    {
        QPainter painter(&tile);
        painter.fillRect(tile.rect(), QBrush(Qt::black, Qt::BrushStyle(brushStyle)));
    }
    // Runs of dots in a row, and a run repeated in the rows below it, are one rectangle,
    // so that no seam shows between neighbouring dots.
    struct Run
    {
        int x, y, width, height;
    };
    QVector<Run> runs;
    for (int y = 0; y < patternSize; ++y) {
        for (int x = 0; x < patternSize;) {
            if (qGray(tile.pixel(x, y)) >= 128) {
                ++x;
                continue;
            }
            int end = x;
            while (end < patternSize && qGray(tile.pixel(end, y)) < 128)
                ++end;
            auto above = std::find_if(runs.begin(), runs.end(), [&](const Run& run) {
                return run.x == x && run.width == end - x && run.y + run.height == y;
            });
            if (above != runs.end())
                ++above->height;
            else
                runs << Run{x, y, end - x, 1};
            x = end;
        }
    }
    QByteArray dots;
    for (const Run& run : runs) {
        // Pattern space counts upwards, the page downwards.
        dots += QByteArray::number(run.x) + ' ' +
                QByteArray::number(patternSize - run.y - run.height) + ' ' +
                QByteArray::number(run.width) + ' ' + QByteArray::number(run.height) + " re\n";
    }
    const QByteArray scale = QByteArray::number(PagePrinter::pointsPerUnit, 'f', 6);
    const int object = m_file->reserve();
    m_file->stream(object,
                   " /Type /Pattern /PatternType 1 /PaintType 2 /TilingType 1 /BBox [0 0 8 8]"
                   " /XStep 8 /YStep 8 /Resources << >> /Matrix [" +
                       scale + " 0 0 " + scale + " 0 0]",
                   dots + "f\n");
    const QByteArray name = "P" + QByteArray::number(m_patternNames.size() + 1);
    m_patterns += " /" + name + ' ' + PdfFile::reference(object);
    m_patternNames.insert(brushStyle, name);
    return name;
}

void PdfResources::write()
{
    QByteArray fonts;
    for (const FontEntry& entry : m_fonts) {
        if (!entry.face->embeddable())
            continue;
        entry.face->write(m_file, entry.object);
        fonts += " /" + entry.name + ' ' + PdfFile::reference(entry.object);
    }
    m_file->object(m_dictionary, "<< /ProcSet [/PDF /Text /ImageB /ImageC]"
                                 " /ColorSpace << /PCs [/Pattern /DeviceRGB] >>"
                                 " /Font <<" +
                                     fonts + " >> /XObject <<" + m_images + " >> /ExtGState <<" +
                                     m_alphas + " >> /Pattern <<" + m_patterns + " >> >>");
}

} // namespace LimeReport
