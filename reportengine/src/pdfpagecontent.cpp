#include "pdfpagecontent.h"

#include "itemline.h"
#include "pageprinter.h"
#include "pdffont.h"
#include "pdfresources.h"
#include "pdfsyntax.h"
#include "shapedlines.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QPen>

#include <cmath>

namespace LimeReport {

namespace {

// The glyphs' places drift from the PDF's own advances by rounding only; a
// correction is written once the drift would show, at a twentieth of a dot.
const qreal driftAllowed = 0.05;

// The characters each glyph of the run shows, when the run is one glyph per
// character, as the text of a line in one face mostly is; otherwise the glyphs
// that the face's character map gives for a character show it.
QVector<QString> glyphTexts(const ShapedLine::Run& run, const QString& text)
{
    QVector<QString> texts(run.glyphs.size());
    const QVector<uint> codes = text.toUcs4();
    if (codes.size() == run.glyphs.size()) {
        for (int i = 0; i < codes.size(); ++i)
            texts[i] = QString::fromUcs4(&codes.at(i), 1);
        return texts;
    }
    for (uint code : codes) {
        const QString character = QString::fromUcs4(&code, 1);
        const QVector<quint32> mapped = run.font.glyphIndexesForString(character);
        if (mapped.size() != 1)
            continue;
        const int at = run.glyphs.indexOf(mapped.first());
        if (at >= 0 && texts.at(at).isEmpty())
            texts[at] = character;
    }
    return texts;
}

} // namespace

PdfPageContent::PdfPageContent(PdfResources* resources, ShapedLines* shapes)
    : m_resources(resources), m_shapes(shapes)
{
}

PdfPageContent::PdfPageContent(const RenderedPage& page, PdfResources* resources,
                               ShapedLines* shapes, const QVector<QByteArray>& forms)
    : PdfPageContent(resources, shapes)
{
    m_ops.reserve(32 * 1024);
    // The scale needs more digits than a position on the page.
    const QByteArray factor = QByteArray::number(PagePrinter::pointsPerUnit, 'f', 9);
    m_ops += "q " + factor + " 0 0 -" + factor + " 0 ";
    number(sheetSize(page).height());
    // The painter draws with square caps and bevelled joins.
    m_ops += " cm 2 J 2 j\n1 1 1 rg 0 0 ";
    numbers({page.size().width(), page.size().height()});
    m_ops += "re f\n";
    m_fill = qRgb(255, 255, 255);
    m_fillKnown = true;
    const QVector<RenderedItem>& items = page.items();
    const QVector<RenderedPage::Range>& pending = page.pending();
    int range = 0;
    for (int i = 0; i <= items.size(); ++i) {
        // A pending range is drawn by its form, in its place among the items.
        while (range < pending.size() && range < forms.size() && pending.at(range).first == i) {
            m_ops += '/' + forms.at(range) + " Do\n";
            i = pending.at(range).end;
            ++range;
        }
        if (i < items.size())
            item(items.at(i));
    }
    m_ops += "Q\n";
}

QByteArray PdfPageContent::form(const RenderedPage& page, const RenderedPage::Range& range,
                                PdfResources* resources, ShapedLines* shapes)
{
    PdfPageContent content(resources, shapes);
    // A form starts in whatever state the page left; it sets all it relies on.
    content.m_ops += '/' + resources->alpha(1, 1) + " gs 0 0 0 rg 0 0 0 RG 1 w [] 0 d\n";
    content.m_fill = content.m_stroke = qRgb(0, 0, 0);
    content.m_fillKnown = content.m_strokeKnown = true;
    for (int i = range.first; i < range.end && i < page.items().size(); ++i)
        content.item(page.items().at(i));
    return content.m_ops;
}

// Whole points, as sheets are named in print settings: an A4 page is 595 x 842.
QSize PdfPageContent::sheetSize(const RenderedPage& page)
{
    return (page.size() * PagePrinter::pointsPerUnit).toSize();
}

void PdfPageContent::item(const RenderedItem& item)
{
    switch (item.kind) {
    case RenderedItem::Text:
        text(item);
        break;
    case RenderedItem::Fill:
        fill(item.rect, item.fillColor, item.brush, item.opacity);
        break;
    case RenderedItem::Line: {
        if (item.penStyle == Qt::NoPen)
            break;
        setStroke(item);
        setAlpha(m_fillAlpha, item.opacity * item.color.alphaF());
        numbers({item.rect.left(), item.rect.top()});
        m_ops += "m ";
        numbers({item.rect.right(), item.rect.bottom()});
        m_ops += "l S\n";
        break;
    }
    case RenderedItem::Rect: {
        QPainterPath outline;
        if (item.radius > 0)
            outline.addRoundedRect(item.rect, item.radius, item.radius);
        else
            outline.addRect(item.rect);
        shape(outline, item);
        break;
    }
    case RenderedItem::Ellipse: {
        QPainterPath outline;
        outline.addEllipse(item.rect);
        shape(outline, item);
        break;
    }
    case RenderedItem::Image:
        image(item);
        break;
    }
}

void PdfPageContent::text(const RenderedItem& item)
{
    const qreal alpha = item.opacity * item.color.alphaF();
    const bool decorated = item.font.underline() || item.font.strikeOut();
    const QStringList lines = item.text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString& text = lines.at(i);
        if (text.trimmed().isEmpty() && !(decorated && !text.isEmpty()))
            continue;
        const ShapedLine& shaped = m_shapes->shape(item.font, text);
        const QPointF origin = ItemLine::origin(item, i, shaped.advance);
        setFill(item.color);
        setAlpha(alpha, m_strokeAlpha);
        for (const ShapedLine::Run& run : shaped.runs)
            glyphs(run, origin, text, alpha);
        if (!decorated)
            continue;
        const QFontMetricsF metrics(item.font);
        const qreal baseline = origin.y() + shaped.ascent;
        const qreal thickness = std::max(metrics.lineWidth(), 0.1);
        if (item.font.underline())
            fill(QRectF(origin.x(), baseline + metrics.underlinePos(), shaped.advance, thickness),
                 item.color, Qt::SolidPattern, item.opacity);
        if (item.font.strikeOut())
            fill(QRectF(origin.x(), baseline - metrics.strikeOutPos(), shaped.advance, thickness),
                 item.color, Qt::SolidPattern, item.opacity);
    }
}

void PdfPageContent::glyphs(const ShapedLine::Run& run, const QPointF& origin, const QString& text,
                            qreal alpha)
{
    const QVector<quint32>& indexes = run.glyphs;
    const QVector<QPointF>& positions = run.positions;
    if (indexes.isEmpty())
        return;
    const PdfResources::Font font = m_resources->font(run.font);
    if (!font.face->embeddable()) {
        QPainterPath outlines;
        for (int i = 0; i < indexes.size(); ++i)
            outlines.addPath(
                run.font.pathForGlyph(indexes.at(i)).translated(origin + positions.at(i)));
        outlines.setFillRule(Qt::WindingFill);
        setAlpha(alpha, m_strokeAlpha);
        path(outlines);
        m_ops += "f\n";
        return;
    }
    QVector<QString> texts;
    const qreal size = run.font.pixelSize();
    m_ops += "BT /" + font.name + ' ';
    number(size);
    m_ops += " Tf ";
    qreal penX = 0;
    qreal lineY = std::nan("");
    for (int i = 0; i < indexes.size(); ++i) {
        const quint32 glyph = indexes.at(i);
        font.face->use(glyph);
        if (!font.face->hasText(glyph)) {
            if (texts.isEmpty())
                texts = glyphTexts(run, text);
            font.face->setText(glyph, texts.at(i));
        }
        const QPointF at = origin + positions.at(i);
        if (at.y() != lineY) {
            if (i > 0)
                m_ops += ">] TJ\n";
            numbers({1, 0, 0, -1, at.x(), at.y()});
            m_ops += "Tm [<";
            lineY = at.y();
            penX = at.x();
        }
        const qreal drift = at.x() - penX;
        if (std::abs(drift) > driftAllowed) {
            // A positive number in the array moves the next glyph back.
            m_ops += '>';
            number(-drift * 1000 / size);
            m_ops += '<';
            penX = at.x();
        }
        m_ops += PdfSyntax::hex4(glyph);
        penX += font.face->width(glyph) * size / 1000;
    }
    m_ops += ">] TJ ET\n";
}

void PdfPageContent::fill(const QRectF& rect, const QColor& color, Qt::BrushStyle brush,
                          qreal opacity)
{
    if (brush == Qt::NoBrush)
        return;
    if (brush == Qt::SolidPattern)
        setFill(color);
    else
        setPatternFill(color, brush);
    setAlpha(opacity * color.alphaF(), m_strokeAlpha);
    numbers({rect.x(), rect.y(), rect.width(), rect.height()});
    m_ops += "re f\n";
}

void PdfPageContent::shape(const QPainterPath& outline, const RenderedItem& item)
{
    const bool stroked = item.penStyle != Qt::NoPen;
    const bool filled = item.brush != Qt::NoBrush;
    if (!stroked && !filled)
        return;
    if (stroked)
        setStroke(item);
    if (item.brush == Qt::SolidPattern)
        setFill(item.fillColor);
    else if (filled)
        setPatternFill(item.fillColor, item.brush);
    setAlpha(filled ? item.opacity * item.fillColor.alphaF() : m_fillAlpha,
             stroked ? item.opacity * item.color.alphaF() : m_strokeAlpha);
    path(outline);
    m_ops += stroked && filled ? "B\n" : stroked ? "S\n" : "f\n";
}

void PdfPageContent::image(const RenderedItem& item)
{
    if (item.image.isNull())
        return;
    const QByteArray name = m_resources->image(item.image);
    setAlpha(item.opacity, m_strokeAlpha);
    m_ops += "q ";
    numbers({item.rect.width(), 0, 0, -item.rect.height(), item.rect.left(), item.rect.bottom()});
    m_ops += "cm /" + name + " Do Q\n";
}

void PdfPageContent::setFill(const QColor& color)
{
    const QRgb rgb = color.rgb();
    if (m_fillKnown && rgb == m_fill)
        return;
    numbers({qRed(rgb) / 255.0, qGreen(rgb) / 255.0, qBlue(rgb) / 255.0});
    m_ops += "rg\n";
    m_fill = rgb;
    m_fillKnown = true;
}

void PdfPageContent::setPatternFill(const QColor& color, Qt::BrushStyle brush)
{
    const QByteArray name = m_resources->pattern(brush);
    const QRgb rgb = color.rgb();
    m_ops += "/PCs cs ";
    numbers({qRed(rgb) / 255.0, qGreen(rgb) / 255.0, qBlue(rgb) / 255.0});
    m_ops += '/' + name + " scn\n";
    m_fillKnown = false;
}

void PdfPageContent::setStroke(const RenderedItem& item)
{
    const QRgb rgb = item.color.rgb();
    if (!m_strokeKnown || rgb != m_stroke) {
        numbers({qRed(rgb) / 255.0, qGreen(rgb) / 255.0, qBlue(rgb) / 255.0});
        m_ops += "RG\n";
        m_stroke = rgb;
        m_strokeKnown = true;
    }
    if (item.penWidth != m_lineWidth) {
        number(item.penWidth);
        m_ops += " w\n";
        m_lineWidth = item.penWidth;
    }
    if (item.penStyle != m_penStyle || item.penWidth != m_dashUnit) {
        // Dashes are multiples of the pen's width, as Qt's pens measure them.
        const qreal unit = item.penWidth < 0.001 ? 1 : item.penWidth;
        m_ops += '[';
        for (qreal length : QPen(Qt::black, item.penWidth, item.penStyle).dashPattern())
            numbers({length * unit});
        m_ops += "] 0 d\n";
        m_penStyle = item.penStyle;
        m_dashUnit = item.penWidth;
    }
}

void PdfPageContent::setAlpha(qreal fill, qreal stroke)
{
    if (qFuzzyCompare(fill, m_fillAlpha) && qFuzzyCompare(stroke, m_strokeAlpha))
        return;
    m_ops += '/' + m_resources->alpha(fill, stroke) + " gs\n";
    m_fillAlpha = fill;
    m_strokeAlpha = stroke;
}

void PdfPageContent::path(const QPainterPath& outline)
{
    for (int i = 0; i < outline.elementCount(); ++i) {
        const QPainterPath::Element e = outline.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            numbers({e.x, e.y});
            m_ops += "m\n";
            break;
        case QPainterPath::LineToElement:
            numbers({e.x, e.y});
            m_ops += "l\n";
            break;
        case QPainterPath::CurveToElement: {
            const QPainterPath::Element c2 = outline.elementAt(i + 1);
            const QPainterPath::Element end = outline.elementAt(i + 2);
            numbers({e.x, e.y, c2.x, c2.y, end.x, end.y});
            m_ops += "c\n";
            i += 2;
            break;
        }
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
}

// Numbers are written with at most three decimals, which is a ten-thousandth of a
// millimetre on the page, and without the cost of a general number format.
void PdfPageContent::number(qreal value)
{
    qint64 scaled = qRound64(value * 1000);
    if (scaled < 0) {
        m_ops += '-';
        scaled = -scaled;
    }
    qint64 whole = scaled / 1000;
    const int fraction = int(scaled % 1000);
    char digits[24];
    int count = 0;
    do {
        digits[count++] = char('0' + whole % 10);
        whole /= 10;
    } while (whole > 0);
    while (count > 0)
        m_ops += digits[--count];
    if (fraction == 0)
        return;
    m_ops += '.';
    m_ops += char('0' + fraction / 100);
    if (fraction % 100 == 0)
        return;
    m_ops += char('0' + fraction / 10 % 10);
    if (fraction % 10 != 0)
        m_ops += char('0' + fraction % 10);
}

void PdfPageContent::numbers(std::initializer_list<qreal> values)
{
    for (qreal value : values) {
        number(value);
        m_ops += ' ';
    }
}

} // namespace LimeReport
