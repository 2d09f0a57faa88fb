#include "pdffont.h"

#include "pdffile.h"
#include "pdfsyntax.h"
#include "truetypesubset.h"

#include <QtEndian>

#include <algorithm>

namespace LimeReport {

namespace {

int read16(const QByteArray& table, int at, bool isSigned = false)
{
    if (table.size() < at + 2)
        return 0;
    const quint16 value =
        qFromBigEndian<quint16>(reinterpret_cast<const uchar*>(table.constData()) + at);
    return isSigned ? int(qint16(value)) : int(value);
}

} // namespace

PdfFont::PdfFont(const QRawFont& font) : m_font(font)
{
    m_embeddable =
        TrueTypeSubset::canSubset([this](const char* tag) { return m_font.fontTable(tag); });
    m_unitsPerEm = std::max(16, read16(m_font.fontTable("head"), 18));
    const int metrics = read16(m_font.fontTable("hhea"), 34);
    const QByteArray hmtx = m_font.fontTable("hmtx");
    for (int i = 0; i < metrics && i * 4 + 2 <= hmtx.size(); ++i)
        m_advances << quint16(read16(hmtx, i * 4));
}

QString PdfFont::faceKey(const QRawFont& font)
{
    return font.familyName() + QLatin1Char('\n') + font.styleName();
}

int PdfFont::width(quint32 glyph) const
{
    if (m_advances.isEmpty()) {
        const QVector<QPointF> advance =
            m_font.advancesForGlyphIndexes(QVector<quint32>{glyph}, QRawFont::UseDesignMetrics);
        return advance.isEmpty() ? 0 : qRound(advance.first().x() * 1000 / m_font.pixelSize());
    }
    const quint16 units = m_advances.at(std::min(int(glyph), m_advances.size() - 1));
    return qRound(units * 1000.0 / m_unitsPerEm);
}

void PdfFont::use(quint32 glyph)
{
    if (glyph >= quint32(m_used.size()))
        m_used.resize(int(glyph) + 1);
    m_used[int(glyph)] = true;
}

void PdfFont::setText(quint32 glyph, const QString& text)
{
    if (glyph >= quint32(m_texts.size()))
        m_texts.resize(int(glyph) + 1);
    if (m_texts.at(int(glyph)).isNull())
        m_texts[int(glyph)] = text;
}

QList<quint32> PdfFont::usedGlyphs() const
{
    QList<quint32> glyphs;
    for (int i = 0; i < m_used.size(); ++i) {
        if (m_used.at(i))
            glyphs << quint32(i);
    }
    return glyphs;
}

QByteArray PdfFont::baseName() const
{
    QByteArray name;
    for (const QChar c : m_font.familyName() + QLatin1Char('-') + m_font.styleName()) {
        if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
            (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
            (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-'))
            name += char(c.unicode());
    }
    // A subset is named after its glyphs, so two subsets of one face differ in name.
    uint seed = 0;
    for (quint32 glyph : usedGlyphs())
        seed = seed * 31 + glyph;
    QByteArray tag;
    for (int i = 0; i < 6; ++i, seed /= 26)
        tag += char('A' + seed % 26);
    return tag + '+' + name;
}

QByteArray PdfFont::widths() const
{
    const QList<quint32> glyphs = usedGlyphs();
    QByteArray array = "[";
    for (int i = 0; i < glyphs.size();) {
        array += QByteArray::number(glyphs.at(i)) + " [";
        quint32 next = glyphs.at(i);
        for (; i < glyphs.size() && glyphs.at(i) == next; ++i, ++next)
            array += QByteArray::number(width(glyphs.at(i))) + ' ';
        array += "] ";
    }
    return array + ']';
}

QByteArray PdfFont::toUnicode() const
{
    QList<quint32> glyphs;
    for (quint32 glyph : usedGlyphs()) {
        if (hasText(glyph) && !m_texts.at(int(glyph)).isEmpty())
            glyphs << glyph;
    }
    QByteArray map = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                     "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                     "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                     "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    // A section holds at most a hundred entries.
    for (int i = 0; i < glyphs.size(); i += 100) {
        const int count = std::min(100, glyphs.size() - i);
        map += QByteArray::number(count) + " beginbfchar\n";
        for (int j = i; j < i + count; ++j)
            map += '<' + PdfSyntax::hex4(glyphs.at(j)) + "> <" +
                   PdfSyntax::utf16Hex(m_texts.at(int(glyphs.at(j)))) + ">\n";
        map += "endbfchar\n";
    }
    return map + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
}

void PdfFont::write(PdfFile* file, int number) const
{
    const int descendant = file->reserve();
    const int descriptor = file->reserve();
    const int program = file->reserve();
    const int unicode = file->reserve();
    const QByteArray name = '/' + baseName();

    const QList<quint32> used = usedGlyphs();
    const QSet<quint32> glyphs(used.begin(), used.end());
    const QByteArray subset =
        TrueTypeSubset::build([this](const char* tag) { return m_font.fontTable(tag); }, glyphs);
    file->stream(program, " /Length1 " + QByteArray::number(subset.size()), subset);

    const QByteArray head = m_font.fontTable("head");
    const QByteArray hhea = m_font.fontTable("hhea");
    const QByteArray os2 = m_font.fontTable("OS/2");
    const auto scaled = [this](int units) {
        return QByteArray::number(qRound(units * 1000.0 / m_unitsPerEm));
    };
    const int ascent = read16(hhea, 4, true);
    const int capHeight = read16(os2, 0) >= 2 ? read16(os2, 88, true) : ascent;
    const bool italic = m_font.style() != QFont::StyleNormal;
    const bool fixedPitch = read16(m_font.fontTable("post"), 12) != 0;
    file->object(
        descriptor,
        "<< /Type /FontDescriptor /FontName " + name + " /Flags " +
            QByteArray::number(32 | (italic ? 64 : 0) | (fixedPitch ? 1 : 0)) + " /FontBBox [" +
            scaled(read16(head, 36, true)) + ' ' + scaled(read16(head, 38, true)) + ' ' +
            scaled(read16(head, 40, true)) + ' ' + scaled(read16(head, 42, true)) +
            "] /ItalicAngle " + QByteArray(italic ? "-12" : "0") + " /Ascent " + scaled(ascent) +
            " /Descent " + scaled(read16(hhea, 6, true)) + " /CapHeight " + scaled(capHeight) +
            " /StemV 80 /FontFile2 " + PdfFile::reference(program) + " >>");
    file->object(descendant, "<< /Type /Font /Subtype /CIDFontType2 /BaseFont " + name +
                                 " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) "
                                 "/Supplement 0 >> /FontDescriptor " +
                                 PdfFile::reference(descriptor) + " /CIDToGIDMap /Identity /W " +
                                 widths() + " >>");
    file->stream(unicode, QByteArray(), toUnicode());
    file->object(number, "<< /Type /Font /Subtype /Type0 /BaseFont " + name +
                             " /Encoding /Identity-H /DescendantFonts [" +
                             PdfFile::reference(descendant) + "] /ToUnicode " +
                             PdfFile::reference(unicode) + " >>");
}

} // namespace LimeReport
