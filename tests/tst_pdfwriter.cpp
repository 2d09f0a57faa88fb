// The engine's own PDF writer: a page in the PDF looks as the page painter draws it,
// its text can be found and copied with its places, and fonts go in cut to the glyphs
// used.

#include "pagepainter.h"
#include "pageprinter.h"
#include "pdfwriter.h"
#include "programrun.h"
#include "truetypesubset.h"

#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using LimeReport::RenderedItem;
using LimeReport::RenderedPage;

namespace {

RenderedItem textItem(const QString& text, const QRectF& rect, int alignment,
                      const QFont& font = QFont("Arial"))
{
    RenderedItem item;
    item.kind = RenderedItem::Text;
    item.text = text;
    item.rect = rect;
    item.font = font;
    item.font.setPixelSize(40);
    item.lineHeight = 50;
    item.color = Qt::black;
    item.flags = alignment | Qt::AlignTop;
    return item;
}

RenderedItem shapeItem(RenderedItem::Kind kind, const QRectF& rect, const QColor& fill,
                       Qt::BrushStyle brush)
{
    RenderedItem item;
    item.kind = kind;
    item.rect = rect;
    item.color = QColor("#1f4e79");
    item.fillColor = fill;
    item.brush = brush;
    item.penWidth = 6;
    return item;
}

// One of everything a page can hold, spread over an A5 sheet.
RenderedPage everyKindOfItem()
{
    RenderedPage page(QSizeF(1480, 2100));
    QVector<RenderedItem>& items = page.items();
    items << shapeItem(RenderedItem::Fill, QRectF(100, 100, 1280, 200), QColor("#f2f2f2"),
                       Qt::SolidPattern);
    items << textItem("Kiri: SUMBER REJEKI", QRectF(120, 120, 1240, 50), Qt::AlignLeft);
    items << textItem("Kanan 17.000.000,00", QRectF(120, 170, 1240, 50), Qt::AlignRight);
    QFont bold("Arial");
    bold.setBold(true);
    items << textItem("Tengah Plafon Efektif", QRectF(120, 220, 1240, 50), Qt::AlignHCenter, bold);
    QFont italic("Arial");
    italic.setItalic(true);
    italic.setUnderline(true);
    items << textItem(QStringLiteral("Nguyễn Văn Żółć\nbaris kedua"), QRectF(120, 350, 1240, 100),
                      Qt::AlignLeft, italic);
    items << shapeItem(RenderedItem::Fill, QRectF(100, 500, 600, 300), QColor("#c00000"),
                       Qt::SolidPattern);
    RenderedItem line =
        shapeItem(RenderedItem::Line, QRectF(100, 900, 1280, 0), Qt::black, Qt::NoBrush);
    line.penStyle = Qt::DashLine;
    items << line;
    RenderedItem rounded = shapeItem(RenderedItem::Rect, QRectF(800, 500, 580, 300),
                                     QColor("#9e9e9e"), Qt::SolidPattern);
    rounded.radius = 60;
    items << rounded;
    RenderedItem ellipse = shapeItem(RenderedItem::Ellipse, QRectF(100, 1000, 600, 400),
                                     QColor("#2e7d32"), Qt::SolidPattern);
    ellipse.opacity = 0.5;
    items << ellipse;
    QImage picture(40, 20, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        painter.fillRect(0, 0, 20, 20, QColor("#ff8f00"));
        painter.fillRect(20, 0, 20, 10, Qt::blue);
    }
    RenderedItem image;
    image.kind = RenderedItem::Image;
    image.rect = QRectF(800, 1000, 580, 290);
    image.image = picture;
    items << image;
    return page;
}

// The sheet as the page painter draws it.
QImage painted(const RenderedPage& page, int dotsPerInch)
{
    const qreal scale = qreal(dotsPerInch) / LimeReport::PagePrinter::unitsPerInch;
    QImage image((page.size() * scale).toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    LimeReport::PagePainter::paint(&painter, page);
    return image;
}

// The mean colour of each block of 16 by 16 dots: blocks forgive the edges that two
// rasterisers smooth differently, and still see a shape or a word out of place.
QVector<QColor> blocks(const QImage& image)
{
    QVector<QColor> means;
    for (int by = 0; by + 16 <= image.height(); by += 16) {
        for (int bx = 0; bx + 16 <= image.width(); bx += 16) {
            int r = 0;
            int g = 0;
            int b = 0;
            for (int y = by; y < by + 16; ++y) {
                for (int x = bx; x < bx + 16; ++x) {
                    const QRgb rgb = image.pixel(x, y);
                    r += qRed(rgb);
                    g += qGreen(rgb);
                    b += qBlue(rgb);
                }
            }
            means << QColor(r / 256, g / 256, b / 256);
        }
    }
    return means;
}

QByteArray fontTable(const QRawFont& font, const char* tag)
{
    return font.fontTable(tag);
}

} // namespace

class tst_PdfWriter : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void pageLooksAsPainted();
    void patternFillsDotForDot();
    void textIsFoundWhereItIsDrawn();
    void pendingTextIsWrittenLaterInItsPlace();
    void fontsAreEmbeddedAsSubsets();
    void subsetKeepsTheGlyphsUsed();

private:
    QString write(const QString& name, const QVector<RenderedPage>& pages);

    QTemporaryDir m_dir;
};

void tst_PdfWriter::initTestCase()
{
    QVERIFY(m_dir.isValid());
    for (const char* tool : {"pdftoppm", "pdftotext", "pdffonts", "mutool"})
        QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(), tool);
}

QString tst_PdfWriter::write(const QString& name, const QVector<RenderedPage>& pages)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    LimeReport::PdfWriter writer(&file);
    for (const RenderedPage& page : pages)
        writer.addPage(page);
    writer.finish({});
    return path;
}

void tst_PdfWriter::pageLooksAsPainted()
{
    const RenderedPage page = everyKindOfItem();
    const QString pdf = write("kinds.pdf", {page});
    QVERIFY(!pdf.isEmpty());
    const ProgramRun raster = ProgramRun::run(
        "pdftoppm", {"-r", "100", "-png", "-singlefile", pdf, m_dir.filePath("kinds")});
    QCOMPARE(raster.exitCode, 0);
    const QImage expected = painted(page, 100);
    // The sheet is whole points, up to half a point more than the page.
    const QImage sheet(m_dir.filePath("kinds.png"));
    QVERIFY(qAbs(sheet.width() - expected.width()) <= 1 &&
            qAbs(sheet.height() - expected.height()) <= 1);
    const QImage fromPdf = sheet.copy(QRect(QPoint(0, 0), expected.size()));

    const QVector<QColor> got = blocks(fromPdf.convertToFormat(QImage::Format_RGB32));
    const QVector<QColor> want = blocks(expected);
    int differing = 0;
    for (int i = 0; i < got.size(); ++i) {
        const int distance = qAbs(got.at(i).red() - want.at(i).red()) +
                             qAbs(got.at(i).green() - want.at(i).green()) +
                             qAbs(got.at(i).blue() - want.at(i).blue());
        if (distance > 30)
            ++differing;
    }
    // A shape, a colour or a picture gone wrong shows in dozens of blocks; where the
    // words are is checked to the point by the test below.
    QVERIFY2(differing <= 8,
             qPrintable(QStringLiteral("%1 of %2 blocks differ").arg(differing).arg(got.size())));
}

// A patterned fill repeats the brush's own dots, one to a page unit, as the painter
// draws it at one device dot per unit: the same share of the area is coloured.
void tst_PdfWriter::patternFillsDotForDot()
{
    RenderedPage page(QSizeF(400, 400));
    page.items() << shapeItem(RenderedItem::Fill, QRectF(100, 100, 200, 200), QColor("#c00000"),
                              Qt::CrossPattern);
    const QString pdf = write("pattern.pdf", {page});
    // Poppler thins the dots of tiling patterns; the other reader draws them whole.
    QCOMPARE(ProgramRun::run("mutool",
                             {"draw", "-r", "254", "-o", m_dir.filePath("pattern.png"), pdf, "1"})
                 .exitCode,
             0);
    const auto coverage = [](const QImage& image) {
        qreal ink = 0;
        for (int y = 120; y < 280; ++y) {
            for (int x = 120; x < 280; ++x)
                ink += (255 - qGreen(image.pixel(x, y))) / 255.0;
        }
        return ink / (160 * 160);
    };
    const qreal want = coverage(painted(page, LimeReport::PagePrinter::unitsPerInch));
    const qreal got = coverage(QImage(m_dir.filePath("pattern.png")));
    QVERIFY2(want > 0.1 && want < 0.5, qPrintable(QString::number(want)));
    QVERIFY2(qAbs(got - want) < 0.03,
             qPrintable(QStringLiteral("%1 instead of %2").arg(got).arg(want)));
}

// Text comes back whole, in any script, and each word starts where the layout the
// painter uses puts it.
void tst_PdfWriter::textIsFoundWhereItIsDrawn()
{
    const RenderedPage page = everyKindOfItem();
    const QString pdf = write("text.pdf", {page, page});
    const QString text = ProgramRun::output("pdftotext", {pdf, "-"});
    for (const QString& expected :
         {QStringLiteral("Kiri: SUMBER REJEKI"), QStringLiteral("Kanan 17.000.000,00"),
          QStringLiteral("Tengah Plafon Efektif"), QStringLiteral("Nguyễn Văn Żółć"),
          QStringLiteral("baris kedua")})
        QVERIFY2(text.count(expected) == 2, qPrintable(expected + " in:\n" + text));

    const QString boxes =
        ProgramRun::output("pdftotext", {"-bbox", "-f", "1", "-l", "1", pdf, "-"});
    const qreal points = LimeReport::PagePrinter::pointsPerUnit;
    const struct
    {
        const char* word;
        int item;
    } words[] = {{"Kiri:", 1}, {"Kanan", 2}, {"Tengah", 3}};
    for (const auto& word : words) {
        const QRegularExpression box(QStringLiteral("xMin=\"([0-9.]+)\"[^>]*>%1<").arg(word.word));
        const QRegularExpressionMatch match = box.match(boxes);
        QVERIFY2(match.hasMatch(), word.word);
        const RenderedItem& item = page.items().at(word.item);
        QFontMetricsF metrics(item.font);
        const qreal advance = metrics.horizontalAdvance(item.text);
        qreal left = item.rect.left();
        if (item.flags & Qt::AlignRight)
            left = item.rect.right() - advance;
        else if (item.flags & Qt::AlignHCenter)
            left += (item.rect.width() - advance) / 2;
        // The first glyph's ink may start a little right of its origin.
        const qreal found = match.captured(1).toDouble();
        QVERIFY2(found >= left * points - 0.05 && found <= left * points + 1.0,
                 qPrintable(QStringLiteral("%1 at %2, drawn at %3")
                                .arg(word.word)
                                .arg(found)
                                .arg(left * points)));
    }
}

// A text the page count decides is drawn by a form written once the count is known:
// the final text shows, over what was drawn before it and under what came after.
void tst_PdfWriter::pendingTextIsWrittenLaterInItsPlace()
{
    RenderedPage first(QSizeF(1000, 400));
    first.items() << shapeItem(RenderedItem::Fill, QRectF(0, 0, 1000, 400), QColor("#9e9e9e"),
                               Qt::SolidPattern);
    first.items() << textItem("halaman 1 dari 1", QRectF(100, 100, 800, 50), Qt::AlignLeft);
    first.items() << shapeItem(RenderedItem::Fill, QRectF(500, 0, 500, 400), Qt::white,
                               Qt::SolidPattern);
    first.setPending({{1, 2}});
    RenderedPage final = first;
    final.items()[1].text = QStringLiteral("halaman 1 dari 12");
    RenderedPage second(QSizeF(1000, 400));
    second.items() << textItem("lain", QRectF(100, 100, 800, 50), Qt::AlignLeft);

    const QString pdf = m_dir.filePath("pending.pdf");
    {
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::WriteOnly));
        LimeReport::PdfWriter writer(&file);
        writer.addPage(first);
        writer.addPage(second);
        writer.completePage(0, final);
        writer.finish({});
    }
    const QString text = ProgramRun::output("pdftotext", {"-f", "1", "-l", "1", pdf, "-"});
    QVERIFY2(text.contains("halaman 1 dari 12") && !text.contains("dari 1\n"), qPrintable(text));
    QCOMPARE(ProgramRun::run("pdftoppm", {"-r", "254", "-f", "1", "-l", "1", "-png", "-singlefile",
                                          pdf, m_dir.filePath("pending")})
                 .exitCode,
             0);
    const QImage sheet(m_dir.filePath("pending.png"));
    const auto darkDots = [&](int from, int to) {
        int dark = 0;
        for (int y = 100; y < 150; ++y) {
            for (int x = from; x < to; ++x)
                dark += qGray(sheet.pixel(x, y)) < 80;
        }
        return dark;
    };
    // The words start on the grey ground and run under the white fill that came after.
    QVERIFY(darkDots(100, 480) > 100);
    QCOMPARE(darkDots(520, 900), 0);
}

void tst_PdfWriter::fontsAreEmbeddedAsSubsets()
{
    const QString pdf = write("fonts.pdf", {everyKindOfItem()});
    const QString fonts = ProgramRun::output("pdffonts", {pdf});
    const QStringList lines = fonts.split('\n', Qt::SkipEmptyParts).mid(2);
    // Regular, bold and italic.
    QCOMPARE(lines.size(), 3);
    for (const QString& line : lines)
        QVERIFY2(
            line.contains(QRegularExpression("^[A-Z]{6}\\+\\S+\\s+CID TrueType\\s+Identity-H\\s+"
                                             "yes\\s+yes\\s+yes\\b")),
            qPrintable(line));
    // A few dozen glyphs of three faces of hundreds of kilobytes each.
    QVERIFY2(QFileInfo(pdf).size() < 100 * 1024,
             qPrintable(QString::number(QFileInfo(pdf).size())));
}

// Glyphs kept draw as in the whole font, composite ones with their parts; the rest
// are empty.
void tst_PdfWriter::subsetKeepsTheGlyphsUsed()
{
    QFont font("Arial");
    font.setPixelSize(100);
    const QRawFont whole = QRawFont::fromFont(font);
    QVERIFY(LimeReport::TrueTypeSubset::canSubset(
        [&](const char* tag) { return fontTable(whole, tag); }));
    const QVector<quint32> used = whole.glyphIndexesForString(QStringLiteral("Aé"));
    const QVector<quint32> unused = whole.glyphIndexesForString(QStringLiteral("Zq"));
    const QByteArray data = LimeReport::TrueTypeSubset::build(
        [&](const char* tag) { return fontTable(whole, tag); }, {used.at(0), used.at(1)});
    QVERIFY(!data.isEmpty());
    const QRawFont subset(data, 100);
    QVERIFY(subset.isValid());
    for (quint32 glyph : used) {
        QVERIFY(!whole.pathForGlyph(glyph).isEmpty());
        QCOMPARE(subset.pathForGlyph(glyph), whole.pathForGlyph(glyph));
    }
    for (quint32 glyph : unused)
        QVERIFY(subset.pathForGlyph(glyph).isEmpty());
    QVERIFY2(data.size() < whole.fontTable("glyf").size() / 4,
             qPrintable(QString::number(data.size())));
}

QTEST_MAIN(tst_PdfWriter)
#include "tst_pdfwriter.moc"
